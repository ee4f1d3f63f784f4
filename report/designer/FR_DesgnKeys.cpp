// Keyboard editing, the grid buttons, the alignment palette and the tool-bar
// state that follows the selection.
#include "report/designer/FR_Desgn.h"

#include "platform/gui/ComCtrls.h"
#include "platform/gui/Graphics.h"
#include "platform/gui/Menus.h"
#include "report/designer/FR_Combo.h"
#include "report/designer/FR_DsgPage.h"
#include "report/designer/FR_Insp.h"
#include "report/engine/FR_BandView.h"
#include "report/engine/FR_Class.h"
#include "report/engine/FR_Ctrls.h"
#include "report/engine/FR_Dock.h"
#include "report/engine/FR_Globals.h"
#include "report/engine/FR_MemoView.h"
#include "report/engine/FR_Page.h"

#include <QComboBox>
#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>
#include <climits>
#include <cmath>

namespace {

bool Restricted(const TfrView* View, uint16_t Bit)
{
    return (View->Restrictions() & Bit) != 0;
}

// The selected views in page order.
std::vector<TfrView*> SelectedViews(TfrPage* Page)
{
    std::vector<TfrView*> Views;
    for (int i = 0; Page && i < Page->Count(); ++i)
        if (Page->Objects(i)->Selected())
            Views.push_back(Page->Objects(i));
    return Views;
}

// Sorted by a coordinate; equal coordinates in reverse page order.
void SortBy(std::vector<TfrView*>& Views, TfrPage* Page, int (TfrView::*Coordinate)() const)
{
    std::vector<std::pair<TfrView*, int>> Keyed;
    for (TfrView* V : Views)
        Keyed.push_back({V, Page->FindObjectByID(V->ID())});
    std::sort(Keyed.begin(), Keyed.end(), [Coordinate](const auto& A, const auto& B) {
        const int CA = (A.first->*Coordinate)(), CB = (B.first->*Coordinate)();
        return CA != CB ? CA < CB : A.second > B.second;
    });
    for (size_t i = 0; i < Keyed.size(); ++i)
        Views[i] = Keyed[i].first;
}

// Nearest multiple of Step, halves to even.
int RoundToStep(int Value, int Step)
{
    return static_cast<int>(std::nearbyint(static_cast<double>(Value) / Step)) * Step;
}

// The glyph strip of the colour buttons: 32 x 16 per glyph, the enabled image
// then the disabled one; pure red marks the colour bar on row 13.
const QImage& GlyphStrip()
{
    static const QImage Strip = [] {
        QImage I(96, 16, QImage::Format_RGB32);
        I.fill(QColor(128, 128, 0));
        QPainter P(&I);
        for (int g = 0; g < 3; ++g) {
            for (int Half = 0; Half < 2; ++Half) {
                const int X = g * 32 + Half * 16;
                P.setPen(Half ? QColor(128, 128, 128) : QColor(0, 0, 0));
                if (g == 0) {   // font colour: a letter A
                    P.drawLine(X + 4, 11, X + 8, 1);
                    P.drawLine(X + 8, 1, X + 12, 11);
                    P.drawLine(X + 6, 7, X + 10, 7);
                } else if (g == 1) {   // fill: a tipped bucket
                    P.drawRect(X + 3, 3, 8, 7);
                    P.drawLine(X + 11, 5, X + 13, 9);
                } else {   // frame: a square outline
                    P.drawRect(X + 2, 1, 11, 10);
                    P.drawRect(X + 4, 3, 7, 6);
                }
                if (!Half)
                    P.fillRect(X + 1, 13, 14, 1, QColor(255, 0, 0));
            }
        }
        return I;
    }();
    return Strip;
}

} // namespace

uint16_t TfrDesignerForm::SetBits(uint16_t Word, bool On, uint16_t Mask)
{
    return On ? static_cast<uint16_t>(Word | Mask) : static_cast<uint16_t>(Word & ~Mask);
}

// ---------------------------------------------------------------- controls by name

// A combo box applied as if its text had been chosen: the formatting commands
// listen to its activated signal.
void TfrDesignerForm::ApplyCombo(QComboBox* Combo, const QString& Text)
{
    if (!Text.isNull()) {
        if (const int i = Combo->findText(Text); i >= 0)
            Combo->setCurrentIndex(i);
        Combo->setEditText(Text);
    }
    emit Combo->activated(Combo->currentIndex());
}

void TfrDesignerForm::ClickButton(TfrSpeedButton* Button, bool Toggle)
{
    if (!Button->isEnabled())
        return;
    if (Toggle)
        Button->SetDown(!Button->Down());
    Button->Click();
}

// ---------------------------------------------------------------- keys

void TfrDesignerForm::FormKeyDown(int& Key, TShiftState Shift)
{
    if (!Page)
        return;
    const bool Ctrl = Shift.Contains(ssCtrl), Sh = Shift.Contains(ssShift), Alt = Shift.Contains(ssAlt);
    const int Kind = SelectionKind();
    const bool Any = Kind & 15, CanEdit = Kind & 7;
    QWidget* Focus = focusWidget();
    auto Focused = [Focus](const QWidget* Control) {
        for (QWidget* W = Focus; W; W = W->parentWidget())
            if (W == Control)
                return true;
        return false;
    };

    if (Key == VK_ESCAPE && !PageView->Down) {
        PressTool(-1);
        PageView->MouseLeave();
        PageView->MouseMove(TShiftState(), 0, 0);
        PageView->DrawSelected(1);
        UnselectAll();
        RedrawPage();
        SelectionChanged();
    }
    if (Key == VK_F11 && InspForm)
        InspForm->Grow();
    if (Key == VK_RETURN && Focused(C3)) {
        Key = 0;
        ApplyCombo(C3, QString());
    }
    if (Key == VK_RETURN && Focused(C4)) {
        Key = 0;
        ApplyCombo(C4, QString());
    }
    if (Key == VK_INSERT && !Sh && !Ctrl && !Alt && FCurPageType == ptReport) {
        ShowFieldsWindow(true);
        Key = 0;
    }
    if (Key == VK_DELETE && !Sh && Any && !Focused(C3)) {
        DeleteSelection();
        Key = 0;
    }
    if (Key == VK_RETURN && CanEdit) {
        TfrView* V = Page->Objects(LastSelectedIndex());
        ShowViewEditor(V, Ctrl);
    }
    if (Ctrl && Key >= '1' && Key <= '9' && Any) {
        ApplyCombo(C4, QString(QChar(Key)));
        Key = 0;
    }
    if (Ctrl && Key == 'F' && Any) {
        ClickButton(FrB5, false);
        Key = 0;
    }
    if (Ctrl && Key == 'D' && Any) {
        ClickButton(FrB6, false);
        Key = 0;
    }
    if (Ctrl && Key == 'G') {
        SetShowGrid(!GridShow);
        Key = 0;
    }
    if (Ctrl && CanEdit && (Key == 'B' || Key == 'I' || Key == 'U'))
        ClickButton(Key == 'B' ? FnB1 : Key == 'I' ? FnB2 : FnB3, true);
    if (Key == VK_DELETE && Sh && Any)
        CutBClick();
    if (Key == VK_INSERT && Ctrl && Any)
        CopyBClick();
    if (Key == VK_INSERT && Sh && (Kind & 16))
        PstBClick();
    if (Key == VK_PRIOR || Key == VK_NEXT) {
        QScrollBar* Bar = ScrollBox1->verticalScrollBar();
        Bar->setValue(Bar->value() + (Key == VK_PRIOR ? -200 : 200));
        Key = 0;
    }
    if ((Key == VK_LEFT || Key == VK_RIGHT || Key == VK_UP || Key == VK_DOWN) && SelCount > 0) {
        const int DX = Key == VK_LEFT ? -1 : Key == VK_RIGHT ? 1 : 0;
        const int DY = Key == VK_UP ? -1 : Key == VK_DOWN ? 1 : 0;
        if (Ctrl)
            MoveOrResizeSelection(DX, DY, false);
        else if (Sh)
            MoveOrResizeSelection(DX, DY, true);
        else if (SelCount == 1)
            JumpToNearest(DX, DY, Alt);
    }
}

void TfrDesignerForm::MoveOrResizeSelection(int DX, int DY, bool Resize)
{
    AddUndoAction(acEdit);
    PageView->BuildSelectionRegion();
    // The repaint of the old region below covers the old handles; only a view
    // above the selection keeps its pixels there, and then they are taken off
    // first.
    const int Last = LastSelectedIndex();
    bool Kept = false;
    for (int i = Last + 1; i < Page->Count() && !Kept; ++i)
        Kept = Page->Objects(i)->GetClipRgn(false).intersects(PageView->SelRegion);
    if (Kept)
        PageView->DrawSelected(1);
    for (TfrView* V : SelectedViews(Page)) {
        // A keyboard resize stops at an empty view, and no step goes past
        // what the form reader takes back.
        if (Resize && !Restricted(V, frrfDontSize))
            frSetBoundsWithinLimits(V, V->Left(), V->Top(), std::max(0, V->Width() + DX), std::max(0, V->Height() + DY));
        else if (!Restricted(V, frrfDontMove))
            frSetBoundsWithinLimits(V, V->Left() + DX, V->Top() + DY, V->Width(), V->Height());
    }
    FillInspectorLater();
    UpdateStatus();
    PBox1->Invalidate();
    PageView->ComputeSelectionBounds();
    PageView->PaintViews(Last, &PageView->SelRegion);
    PageView->SelRegionStale = true;
    PageView->update();
}

void TfrDesignerForm::JumpToNearest(int DX, int DY, bool Snap)
{
    TfrView* C = Page->Objects(LastSelectedIndex());
    const int cL = C->Left(), cT = C->Top(), cR = cL + C->Width(), cB = cT + C->Height();
    TfrView* Best = nullptr;
    int BestScore = 10000;
    for (int i = 0; i < Page->Count(); ++i) {
        TfrView* V = Page->Objects(i);
        if (V->Selected() || V->ObjectType() == gtBand)
            continue;
        const int vL = V->Left(), vT = V->Top(), vR = vL + V->Width(), vB = vT + V->Height();
        int Score;
        if (DX != 0) {
            int G = vB < cT ? cT - vB : vT > cB ? vT - cB : (vT <= cT && vB >= cB) ? 0 : vT - cT;
            if (DX > 0 ? vL <= cL : vR >= cR)
                G = 10000;
            if (DX > 0)
                Score = G + (vL >= cR ? vL - cR : vL - cL);
            else
                Score = G + (vR <= cL ? cL - vR : cR - vR);
        } else {
            int H = vR < cL ? cL - vR : vL > cR ? vL - cR : (vL <= cL && vR >= cR) ? 0 : vL - cL;
            if (DY > 0 ? vT <= cT : vB >= cB)
                H = 10000;
            if (DY > 0)
                Score = H + (vT >= cB ? vT - cB : vT - cT);
            else
                Score = H + (vB <= cT ? cT - vB : cB - vB);
        }
        if (Score < BestScore) {
            BestScore = Score;
            Best = V;
        }
    }
    if (!Best)
        return;
    if (Snap) {
        if (!Restricted(C, frrfDontMove)) {
            const int wL = Best->Left(), wT = Best->Top(), wR = wL + Best->Width(), wB = wT + Best->Height();
            int L = cL, T = cT;
            if (DX > 0 && cR <= wL)
                L = wL - C->Width();
            else if (DY > 0 && cB < wT)
                T = wT - C->Height();
            else if (DX < 0 && wR <= cL)
                L = wR;
            else if (DY < 0 && wB <= cT)
                T = wB;
            // The snap is a change like any other and is recorded.
            if (L != cL || T != cT) {
                AddUndoAction(acEdit);
                C->SetLeft(L);
                C->SetTop(T);
            }
        }
        RedrawPage();
    } else {
        PageView->DrawSelected(1);
        UnselectAll();
        SetViewSelected(Best, true);
        SelCount = 1;
        PageView->ComputeSelectionBounds();
        PageView->SelRegionStale = true;
        PageView->DrawSelected(1);
    }
    SelectionChanged();
}

void TfrDesignerForm::RenameChildBandLinks(const QString& OldName, const QString& NewName)
{
    for (int i = 0; Page && i < Page->Count(); ++i)
        if (auto* Band = dynamic_cast<TfrBandView*>(Page->Objects(i)); Band && Band->ChildBand() == OldName)
            Band->SetChildBand(NewName);
}

void TfrDesignerForm::RecordDeletion()
{
    // The record holds the views removed and the bands whose child links
    // the removal clears.
    {
        std::vector<TfrUndoPair> Pairs;
        QStringList Children;
        for (int i = 0; i < Page->Count(); ++i) {
            TfrView* V = Page->Objects(i);
            if (V->Selected() && !Restricted(V, frrfDontDelete)) {
                Pairs.push_back({V, i, acDelete});
                if (auto* B = dynamic_cast<TfrBandView*>(V); B && B->BandType() == btChild)
                    Children << B->Name();
            }
        }
        for (int i = 0; i < Page->Count(); ++i) {
            auto* B = dynamic_cast<TfrBandView*>(Page->Objects(i));
            if (B && !(B->Selected() && !Restricted(B, frrfDontDelete)) && !B->ChildBand().isEmpty()
                && Children.contains(B->ChildBand()))
                Pairs.push_back({B, i, acEdit});
        }
        RecordChange(acDelete, std::move(Pairs));
    }
}

void TfrDesignerForm::DeleteSelection(bool Record)
{
    if (!Page)
        return;
    if (Record)
        RecordDeletion();
    PageView->BuildSelectionRegion();
    PageView->DrawSelected(1);
    for (int i = Page->Count() - 1; i >= 0; --i) {
        TfrView* V = Page->Objects(i);
        if (!V->Selected() || Restricted(V, frrfDontDelete))
            continue;
        if (auto* B = dynamic_cast<TfrBandView*>(V); B && B->BandType() == btChild)
            RenameChildBandLinks(B->Name(), QString());
        Page->Delete(i);
    }
    UpdatePageTabs();
    ResetSelection();
    RefView = nullptr;
    PageView->SelRegionStale = true;
    RedrawPage();
}

// ---------------------------------------------------------------- selection state

int TfrDesignerForm::SelectionKind() const
{
    int Kind = 0;
    if (SelCount == 1 && Page) {
        const TfrView* V = Page->Objects(LastSelectedIndex());
        Kind = V->ObjectType() == gtBand ? 1 : dynamic_cast<const TfrMemoView*>(V) ? 2 : 4;
    } else if (SelCount > 1) {
        Kind = 8;
    }
    if (CanPaste())
        Kind |= 16;
    return Kind;
}

QString TfrDesignerForm::SelectionText() const
{
    if (SelCount != 1 || !Page)
        return QString();
    const TfrView* V = Page->Objects(LastSelectedIndex());
    if (auto* Band = dynamic_cast<const TfrBandView*>(V))
        return V->Name() + QStringLiteral(": ") + frBandName(Band->BandType());
    if (V->Memo()->Count() > 0)
        return V->Name() + QStringLiteral(": ") + V->Memo()->Strings(0);
    return V->Name();
}

void TfrDesignerForm::SelectionChanged()
{
    ToolbarBusy = true;
    if (QWidget* W = findChild<QWidget*>(QStringLiteral("frColorSelector")))
        W->hide();
    LinePanel->hide();

    const int Kind = SelectionKind();
    const bool CanFrame = (Kind & 14) && FCurPageType != ptDialog;
    const bool CanFormatText = Kind & 10;
    const bool Any = Kind & 15;
    const bool CanEdit = Kind & 7;
    using L = std::initializer_list<QObject*>;
    for (QObject* C : L{FrB1, FrB2, FrB3, FrB4, FrB5, FrB6, ClB1, ClB3, C4, StB1})
        EnableControl(C, CanFrame);
    for (QObject* C : L{ClB2, C2, C3, FnB1, FnB2, FnB3, AlB1, AlB2, AlB3, AlB4, AlB5, AlB6, AlB7, AlB8, HlB1})
        EnableControl(C, CanFormatText);
    for (QObject* C : L{ZB1, ZB2, GB3, N32, N33, CutB, N11, N2, CopyB, N12, N1, N27, N5})
        EnableControl(C, Any);
    for (QObject* C : L{PstB, N13, N3})
        EnableControl(C, Kind & 16);
    for (QObject* C : L{N36, N6})
        EnableControl(C, CanEdit);
    PBoxRectShown = false;
    UpdateStatus();
    PBox1->Invalidate();

    auto SetDown = [](TfrSpeedButton* B, bool Down) { B->SetDown(Down); };
    auto SetText = [](QComboBox* Combo, const QString& Text) {
        if (Combo->currentText() != Text)
            Combo->setEditText(Text);
    };
    // The font boxes show the font of the one memo selected; anything else
    // would be a font that no view has and no new memo gets.
    if ((Kind & 15) != 2) {
        SetText(C2, QString());
        SetText(C3, QString());
    }
    if (SelCount == 1 && !(Kind & 1)) {
        const TfrView* V = Page->Objects(LastSelectedIndex());
        SetDown(FrB1, V->FrameTyp() & frbTop);
        SetDown(FrB2, V->FrameTyp() & frbLeft);
        SetDown(FrB3, V->FrameTyp() & frbBottom);
        SetDown(FrB4, V->FrameTyp() & frbRight);
        SetText(C4, QString::number(V->FrameWidth(), 'g', 2));
        SetColorGlyph(V->FillColor(), ClB1, 1);
        SetColorGlyph(V->FrameColor(), ClB3, 2);
        if (auto* Memo = dynamic_cast<const TfrMemoView*>(V)) {
            SetColorGlyph(static_cast<uint32_t>(Memo->Font()->Color()), ClB2, 0);
            SetText(C2, Memo->Font()->Name());
            SetText(C3, QString::number(Memo->Font()->Size()));
            const TFontStyles Style = Memo->Font()->Style();
            SetDown(FnB1, Style.Contains(fsBold));
            SetDown(FnB2, Style.Contains(fsItalic));
            SetDown(FnB3, Style.Contains(fsUnderline));
            const int A = Memo->Alignment();
            SetDown(AlB4, A & 4);
            TfrSpeedButton* Vertical[] = {AlB6, AlB5, AlB7, AlB6};
            SetDown(Vertical[(A & 24) >> 3], true);
            TfrSpeedButton* Horizontal[] = {AlB1, AlB2, AlB3, AlB8};
            SetDown(Horizontal[A & 3], true);
        }
    } else if (SelCount > 1) {
        for (TfrSpeedButton* B : {FrB1, FrB2, FrB3, FrB4, FnB1, FnB2, FnB3, AlB4, AlB5})
            SetDown(B, false);
        SetColorGlyph(0, ClB1, 1);
        SetText(C4, QStringLiteral("1"));
        SetDown(AlB1, true);
    }
    RefreshInspectorAndStatus();
    if (QWidget* F = focusWidget())
        F->clearFocus();
    ToolbarBusy = false;
}

void TfrDesignerForm::RefreshInspectorAndStatus()
{
    FillInspector();
    UpdateStatus();
    PBox1->Invalidate();
}

void TfrDesignerForm::SetColorGlyph(uint32_t Color, TfrSpeedButton* Button, int Index)
{
    QImage Glyph = GlyphStrip().copy(Index * 32, 0, 32, 16);
    const QRgb Red = qRgb(255, 0, 0);
    const QRgb Fill = Color == static_cast<uint32_t>(clNone) ? 0 : ColorToQColor(static_cast<TColor>(Color)).rgb();
    for (int y = 0; y < Glyph.height(); ++y)
        for (int x = 0; x < Glyph.width(); ++x)
            if (Glyph.pixel(x, y) == Red)
                Glyph.setPixel(x, y, Fill);
    if (Color == static_cast<uint32_t>(clNone))
        for (int x = 1; x <= 14; ++x)
            Glyph.setPixel(x, 13, ColorToQColor(clBtnFace).rgb());
    TBitmap Bitmap;
    Bitmap.LoadFromImage(Glyph);
    Button->SetGlyph(&Bitmap);
    Button->SetNumGlyphs(2);
}

// ---------------------------------------------------------------- grid

void TfrDesignerForm::GB3Click()
{
    if (SelCount == 0)
        return;
    AddUndoAction(acEdit);
    for (TfrView* V : SelectedViews(Page)) {
        // Restricted positions and sizes stay; a line keeps its zero extent.
        if (!Restricted(V, frrfDontMove)) {
            V->SetLeft(RoundToStep(V->Left(), GridSizeX));
            V->SetTop(RoundToStep(V->Top(), GridSizeY));
        }
        if (!Restricted(V, frrfDontSize)) {
            if (V->Width() != 0)
                V->SetWidth(std::max(RoundToStep(V->Width(), GridSizeX), GridSizeX));
            if (V->Height() != 0)
                V->SetHeight(std::max(RoundToStep(V->Height(), GridSizeY), GridSizeY));
        }
    }
    RedrawPage();
    RefreshInspectorAndStatus();
    PageView->ComputeSelectionBounds();
}

// ---------------------------------------------------------------- alignment palette

namespace {

bool Movable(const TfrView* V)
{
    return !Restricted(V, frrfDontMove);
}

// The band's contents side by side: Align1 from the left bound, Align5 from
// the right bound back. A view that may not move still takes its room.
void PackBand(TfrPage* Page, const std::vector<TfrView*>& Sel, std::vector<TfrView*> Packed, bool FromLeft)
{
    SortBy(Packed, Page, &TfrView::Left);
    if (FromLeft) {
        const auto* First = *std::min_element(Sel.begin(), Sel.end(),
                                              [](auto* A, auto* B) { return A->Left() < B->Left(); });
        const int Top = First->Top();
        int X = Page->GetLeftBound();
        for (TfrView* V : Packed) {
            if (Movable(V)) {
                V->SetLeft(X);
                V->SetTop(Top);
            }
            X += V->Width();
        }
        return;
    }
    const auto* Last = *std::max_element(Sel.begin(), Sel.end(), [](auto* A, auto* B) {
        return A->Left() + A->Width() < B->Left() + B->Width();
    });
    const int Top = Last->Top();
    int X = Page->GetRightBound();
    for (auto It = Packed.rbegin(); It != Packed.rend(); ++It) {
        TfrView* V = *It;
        if (Movable(V)) {
            V->SetLeft(X - V->Width());
            V->SetTop(Top);
        }
        X -= V->Width();
    }
}

// The selection moved as a group to the middle of Extent.
void CentreGroup(const std::vector<TfrView*>& Sel, bool Horz, int Extent)
{
    int Lo = INT_MAX, Hi = INT_MIN;
    for (TfrView* V : Sel) {
        Lo = std::min(Lo, Horz ? V->Left() : V->Top());
        Hi = std::max(Hi, Horz ? V->Left() + V->Width() : V->Top() + V->Height());
    }
    const int Shift = Lo + ((Hi - Lo) - Extent) / 2;
    for (TfrView* V : Sel)
        if (Movable(V)) {
            if (Horz)
                V->SetLeft(V->Left() - Shift);
            else
                V->SetTop(V->Top() - Shift);
        }
}

// The first and last keep their places; those between follow at equal steps.
void SpaceEqually(TfrPage* Page, std::vector<TfrView*> Sorted, bool Horz)
{
    auto Coordinate = Horz ? &TfrView::Left : &TfrView::Top;
    SortBy(Sorted, Page, Coordinate);
    const int Step = ((Sorted.back()->*Coordinate)() - (Sorted.front()->*Coordinate)())
        / static_cast<int>(Sorted.size() - 1);
    for (size_t i = 1; i + 1 < Sorted.size(); ++i)
        if (Movable(Sorted[i])) {
            const int Value = (Sorted[i - 1]->*Coordinate)() + Step;
            if (Horz)
                Sorted[i]->SetLeft(Value);
            else
                Sorted[i]->SetTop(Value);
        }
}

} // namespace

void TfrDesignerForm::AlignClick(int Number)
{
    if (!Page)
        return;
    std::vector<TfrView*> Sel = SelectedViews(Page);
    TfrView* Band = FindSelectedBand();
    const bool Packing = (Number == 1 || Number == 5) && Band;
    static const int Needs[] = {0, 2, 2, 1, 3, 2, 2, 2, 1, 3, 2};
    if (!Packing && SelCount < Needs[Number])
        return;
    TfrView* Anchor = RefView ? RefView : Page->Objects(LastSelectedIndex());

    std::vector<TfrView*> Packed;
    if (Packing) {
        const int BT = Band->Top(), BB = BT + Band->Height();
        for (int i = 0; i < Page->Count(); ++i) {
            TfrView* V = Page->Objects(i);
            if (V->ObjectType() != gtBand && V->Top() >= BT && V->Top() + V->Height() <= BB)
                Packed.push_back(V);
        }
    }
    // The record covers the packed views too, selected or not.
    std::vector<TfrUndoPair> Pairs;
    for (int i = 0; i < Page->Count(); ++i) {
        TfrView* V = Page->Objects(i);
        if (V->Selected() || std::find(Packed.begin(), Packed.end(), V) != Packed.end())
            Pairs.push_back({V, i, acEdit});
    }
    RecordChange(acEdit, std::move(Pairs));

    const int aL = Anchor->Left(), aT = Anchor->Top(), aW = Anchor->Width(), aH = Anchor->Height();
    if (Packing) {
        PackBand(Page, Sel, std::move(Packed), Number == 1);
    } else if (Number == 3 || Number == 8) {
        CentreGroup(Sel, Number == 3, Number == 3 ? PageView->width() : PageView->height());
    } else if (Number == 4 || Number == 9) {
        SpaceEqually(Page, Sel, Number == 4);
    } else {
        for (TfrView* V : Sel) {
            if (!Movable(V))
                continue;
            switch (Number) {
            case 1: V->SetLeft(aL); break;
            case 2: V->SetLeft(aL + aW / 2 - V->Width() / 2); break;
            case 5: V->SetLeft(aL + aW - V->Width()); break;
            case 6: V->SetTop(aT); break;
            case 7: V->SetTop(aT + aH / 2 - V->Height() / 2); break;
            case 10: V->SetTop(aT + aH - V->Height()); break;
            default: break;
            }
        }
    }
    PageView->ComputeSelectionBounds();
    RefreshInspectorAndStatus();
    PageView->Invalidate();
    RedrawPage();
}

// ---------------------------------------------------------------- wiring

void TfrDesignerForm::WireEditCommands()
{
    auto On = [](std::initializer_list<QObject*> Controls, std::function<void()> Action) {
        for (QObject* C : Controls) {
            if (auto* B = qobject_cast<TfrSpeedButton*>(C))
                B->OnClick = [Action](QObject*) { Action(); };
            else if (auto* Item = qobject_cast<TMenuItem*>(C))
                Item->OnClick = [Action](QObject*) { Action(); };
        }
    };
    On({UndoB, N46}, [this] { UndoBClick(); });
    On({RedoB, N48}, [this] { RedoBClick(); });
    On({CutB, N2, N11}, [this] { CutBClick(); });
    On({CopyB, N1, N12}, [this] { CopyBClick(); });
    On({PstB, N3, N13}, [this] { PstBClick(); });
    On({SelAllB, N16, N28}, [this] { SelAllBClick(); });
    On({N5, N27}, [this] { N5Click(); });
    On({ZB1, N32}, [this] { ZB1Click(); });
    On({ZB2, N33}, [this] { ZB2Click(); });
    On({GB3}, [this] { GB3Click(); });
    SelAllB->SetEnabled(true);
    TfrTBButton* Palette[] = {Align1, Align2, Align3, Align4, Align5, Align6, Align7, Align8, Align9, Align10};
    for (int i = 0; i < 10; ++i) {
        Palette[i]->OnClick = [this, i](QObject*) { AlignClick(i + 1); };
        Palette[i]->SetEnabled(true);
    }
    // Buttons that mirror the selected view hold their down state: each frame
    // line and font style alone, the horizontal and the vertical alignments as
    // groups.
    int Group = 40;
    for (TfrSpeedButton* B : {FrB1, FrB2, FrB3, FrB4, FnB1, FnB2, FnB3, AlB4}) {
        B->SetAllowAllUp(true);
        B->SetGroupIndex(++Group);
    }
    for (TfrSpeedButton* B : {AlB1, AlB2, AlB3, AlB8})
        B->SetGroupIndex(60);
    for (TfrSpeedButton* B : {AlB5, AlB6, AlB7}) {
        B->SetAllowAllUp(true);
        B->SetGroupIndex(61);
    }
}
