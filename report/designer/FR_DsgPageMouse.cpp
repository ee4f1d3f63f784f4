// Mouse editing on the design page: selecting, rubber band, inserting objects
// and lines, moving, sizing one view by its handles, proportional sizing of a
// multiple selection, splitting two touching views, double click and field
// drop. Every change of views is recorded through the designer's one change
// path before it is made.
#include "report/designer/FR_DsgPage.h"

#include "platform/gui/ComCtrls.h"
#include "platform/gui/Dialogs.h"
#include "platform/rtl/SysUtils.h"
#include "report/designer/FR_BTyp.h"
#include "report/designer/FR_Desgn.h"
#include "report/designer/FR_InsFields.h"
#include "report/engine/FR_BandView.h"
#include "report/engine/FR_Class.h"
#include "report/engine/FR_Control.h"
#include "report/engine/FR_Globals.h"
#include "report/engine/FR_MemoView.h"
#include "report/engine/FR_Page.h"
#include "report/engine/FR_SubReportView.h"
#include "report/engine/FR_Utils.h"

#include <QListWidget>
#include <QScrollBar>
#include <algorithm>
#include <climits>
#include <cmath>
#include <utility>
#include <vector>

namespace {

bool Near(int PX, int PY, int X, int Y, int D)
{
    return PX - D <= X && X <= PX + D + 1 && PY - D <= Y && Y <= PY + D + 1;
}

bool SizingCursor(TCursor C)
{
    return C == crSizeNWSE || C == crSizeNESW || C == crSizeNS || C == crSizeWE;
}

TfrRect Normalized(TfrRect R)
{
    if (R.Left > R.Right)
        std::swap(R.Left, R.Right);
    if (R.Top > R.Bottom)
        std::swap(R.Top, R.Bottom);
    return R;
}

// "Master data" gives "MasterData": the first blank goes, the letter after it
// is upper-cased.
QString BandBaseName(int BandType)
{
    QString Name = frBandName(BandType);
    const int Blank = Name.indexOf(u' ');
    if (Blank >= 0) {
        Name.remove(Blank, 1);
        if (Blank < Name.size())
            Name[Blank] = Name[Blank].toUpper();
    }
    return Name;
}

QString UniqueName(const QString& Base)
{
    for (int n = 1; n <= 10000; ++n) {
        const QString Candidate = Base + QString::number(n);
        if (!CurReport || !CurReport->FindObject(Candidate))
            return Candidate;
    }
    return {};
}

void UnselectAllViews(TfrPage* Page)
{
    for (int i = 0; Page && i < Page->Count(); ++i)
        Page->Objects(i)->SetSelected(false);
    SelCount = 0;
}

} // namespace

bool TfrDesignerPage::StepToGrid(int& DX, int& DY) const
{
    const int GX = FDesigner->GridSizeX, GY = FDesigner->GridSizeY;
    if (std::abs(DX) < GX && std::abs(DY) < GY)
        return false;
    DX -= DX % GX;
    DY -= DY % GY;
    return true;
}

QSize TfrDesignerPage::DefaultInsertSize() const
{
    int W = FDesigner->GridSizeX == 18 ? 108 : 96;
    int H = FDesigner->GridSizeY == 18 ? 18 : 20;
    const int Size = frLastUsed.FontSize;
    if (Size == 12 || Size == 13)
        H = 20;
    else if (Size >= 14 && Size <= 16)
        H = 24;
    return {W, H};
}

void TfrDesignerPage::ShowPosition()
{
    const TfrRect R = Normalized(OldRect);
    FDesigner->ShowPosition(QRect(R.Left, R.Top, R.Right - R.Left, R.Bottom - R.Top));
}

// ---------------------------------------------------------------- button down

// A click on V: Shift toggles it, a click on an unselected view selects it
// alone, one on a selected view keeps the selection for dragging.
void TfrDesignerPage::SelectHit(TfrView* V, bool Shift)
{
    if (Shift) {
        SetViewSelected(V, !V->Selected());
    } else if (!V->Selected()) {
        UnselectAllViews(Page());
        SetViewSelected(V, true);
    }
    if (SelCount == 0)
        RefView = nullptr;
    else if (SelCount == 1)
        RefView = Page()->Objects(LastSelectedIndex());
    else if (RefView && !RefView->Selected())
        RefView = nullptr;
}

void TfrDesignerPage::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TfrPage* P = Page();
    if (!P)
        return;
    CtrlDown = Shift.Contains(ssCtrl);
    if (SkipNextDown) {
        SkipNextDown = false;
        return;
    }
    if (Button == mbRight && Down && RubberBand)
        XorOutline(OldRect);
    RubberBand = false;
    DrawSelected(1);
    Down = true;

    auto ClearSelection = [&] {
        UnselectAllViews(P);
        CornerIndex = -1;
        MultiSel = false;
        RefView = nullptr;
    };
    if (Button == mbLeft && (CtrlDown || Cursor() == crCross)) {
        RubberBand = true;
        if (Cursor() == crCross) {
            if (!DialogPage())
                XorOutline(OldRect);
            SnapToGrid(X, Y);
            OldRect1 = OldRect;
        }
        OldRect = {X, Y, X, Y};
        ClearSelection();
        return;
    }
    if (Button == mbLeft && Cursor() == crPencil) {
        if (FDesigner->GridAlign && !SnapToNearestCorner(X, Y)) {
            X = RoundInt(static_cast<double>(X) / FDesigner->GridSizeX) * FDesigner->GridSizeX;
            Y = RoundInt(static_cast<double>(Y) / FDesigner->GridSizeY) * FDesigner->GridSizeY;
        }
        OldRect = {X, Y, X, Y};
        ClearSelection();
        LastX = X;
        LastY = Y;
        return;
    }
    if (Cursor() == crDefault) {
        if (TfrView* V = HitTest(X, Y)) {
            SelectHit(V, Shift.Contains(ssShift));
        } else {
            UnselectAllViews(P);
            RefView = nullptr;
            if (Button == mbLeft) {
                RubberBand = true;
                OldRect = {X, Y, X, Y};
                return;
            }
        }
        ComputeSelectionBounds();
    }
    if (SelCount == 0) {
        CornerIndex = -1;
        MultiSel = false;
    }
    LastX = X;
    LastY = Y;
    Moved = false;
    SelRegionStale = true;
    FirstDrag = true;
    if (Button == mbLeft) {
        if (FDesigner->Selection == 0)
            DrawSelected(2);
        return;
    }
    if (Button == mbRight) {
        DrawSelected(1);
        Down = false;
        FDesigner->SelectionChanged();
        const QPoint Global = mapToGlobal(QPoint(X, Y));
        FDesigner->ShowPopup(Global.x(), Global.y());
    }
}

// ---------------------------------------------------------------- move

void TfrDesignerPage::HoverSingle(int X, int Y)
{
    TfrPage* P = Page();
    TfrView* V = nullptr;
    for (int i = 0; i < P->Count() && !V; ++i)
        if (P->Objects(i)->Selected())
            V = P->Objects(i);
    if (!V)
        return;
    const int L = V->Left(), T = V->Top(), W = V->Width(), H = V->Height();
    if (Near(L, T, X, Y, 2) || Near(L + W, T + H, X, Y, 2))
        SetCursor(crSizeNWSE);
    else if (Near(L + W, T, X, Y, 2) || Near(L, T + H, X, Y, 2))
        SetCursor(crSizeNESW);
    else if (Near(L + W / 2, T, X, Y, 2) || Near(L + W / 2, T + H, X, Y, 2))
        SetCursor(crSizeNS);
    else if (Near(L, T + H / 2, X, Y, 2) || Near(L + W, T + H / 2, X, Y, 2))
        SetCursor(crSizeWE);
    else
        SetCursor(crDefault);
}

void TfrDesignerPage::HoverMulti(int X, int Y)
{
    TfrPage* P = Page();
    SetCursor(crDefault);
    if (CornerIndex >= 0 && CornerIndex < P->Count()) {
        const TfrView* C = P->Objects(CornerIndex);
        if (Near(C->Left() + C->Width(), C->Top() + C->Height(), X, Y, 2)) {
            SetCursor(crSizeNWSE);
            return;
        }
    }
    for (int i = 0; i < P->Count(); ++i) {
        TfrView* V = P->Objects(i);
        if (!V->Selected() || V->ObjectType() == gtBand || V->ObjectType() == gtLine)
            continue;
        if (X < V->Left() || X > V->Left() + V->Width() || Y < V->Top() || Y > V->Top() + V->Height())
            continue;
        for (int j = 0; j < P->Count(); ++j) {
            TfrView* O = P->Objects(j);
            if (O == V || !O->Selected() || O->ObjectType() == gtBand)
                continue;
            int Edge = 0;
            if (O->Left() + O->Width() == V->Left() && V->Left() <= X && X <= V->Left() + 2) {
                Edge = V->Left();
                SplitLeft = O;
                SplitRight = V;
            } else if (O->Left() == V->Left() + V->Width() && O->Left() - 2 <= X && X <= O->Left()) {
                Edge = O->Left();
                SplitLeft = V;
                SplitRight = O;
            } else {
                continue;
            }
            SetCursor(crHSplit);
            SplitX = Edge;
            SplitLine = {Edge, V->Top(), Edge, V->Top() + V->Height()};
            return;
        }
    }
}

void TfrDesignerPage::Feedback(bool Hide, QRegion& OldArea, QRegion& NewArea)
{
    if (FDesigner->Selection == 0) {
        DrawSelected(2);
        return;
    }
    if (!Hide) {
        InvalidateArea(OldArea);
        InvalidateArea(NewArea);
        return;
    }
    OldArea = QRegion();
    NewArea = QRegion();
}

void TfrDesignerPage::DragMulti(int DX, int DY)
{
    TfrPage* P = Page();
    QRegion OldArea, NewArea;
    Feedback(true, OldArea, NewArea);
    const TfrRect Work = OldRect;
    if (OldRect.Right + DX >= OldRect.Left && OldRect.Bottom + DY >= OldRect.Top) {
        OldRect.Right += DX;
        OldRect.Bottom += DY;
    }
    // An axis the selection started without extent (a line along its edge)
    // keeps its scale.
    const int SavedW = OldRect1.Right - OldRect1.Left, SavedH = OldRect1.Bottom - OldRect1.Top;
    const double KX = SavedW != 0 ? static_cast<double>(OldRect.Right - OldRect.Left) / SavedW : 1.0;
    const double KY = SavedH != 0 ? static_cast<double>(OldRect.Bottom - OldRect.Top) / SavedH : 1.0;
    // As a move does, the step stops short of what the form reader refuses:
    // for all the views or for none, so that they keep their proportions.
    std::vector<std::pair<TfrView*, QRect>> Done;
    bool Fits = true;
    for (int i = 0; i < P->Count() && Fits; ++i) {
        TfrView* V = P->Objects(i);
        if (!V->Selected())
            continue;
        OldArea += V->GetClipRgn(true);
        const QRect S = V->SelectionBounds().value_or(QRect(V->Left(), V->Top(), V->Width(), V->Height()));
        if (!(V->Restrictions() & frrfDontSize)) {
            Done.emplace_back(V, QRect(V->Left(), V->Top(), V->Width(), V->Height()));
            const double NX = (S.x() - SelLeft) * KX, NW = S.width() * KX;
            const double NY = (S.y() - SelTop) * KY, NH = S.height() * KY;
            Fits = frSetBoundsWithinLimits(V, RoundInt(NX) + SelLeft, RoundInt(NY) + SelTop,
                                           RoundInt(NX + NW) - RoundInt(NX), RoundInt(NY + NH) - RoundInt(NY));
        }
        NewArea += V->GetClipRgn(true);
    }
    if (!Fits) {
        for (const auto& [V, R] : Done)
            V->SetBounds(R.x(), R.y(), R.width(), R.height());
        OldRect = Work;
    }
    Feedback(false, OldArea, NewArea);
}

void TfrDesignerPage::DragMove(int DX, int DY, TShiftState Shift)
{
    TfrPage* P = Page();
    (void)Shift;
    FirstDrag = false;
    QRegion OldArea, NewArea;
    Feedback(true, OldArea, NewArea);
    bool Cross = false;
    for (int i = 0; i < P->Count(); ++i) {
        TfrView* V = P->Objects(i);
        if (!V->Selected() || (V->Restrictions() & frrfDontMove))
            continue;
        OldArea += V->GetClipRgn(true);
        frSetBoundsWithinLimits(V, V->Left() + DX, V->Top() + DY, V->Width(), V->Height());
        NewArea += V->GetClipRgn(true);
        Cross = Cross || V->ClassName() == QStringLiteral("TfrCrossView");
    }
    if (FDesigner->Selection == 1) {
        InvalidateArea(OldArea + NewArea);
        if (Cross)
            InvalidateArea(QRegion(rect()));
    } else {
        DrawSelected(2);
    }
}

void TfrDesignerPage::DragResize(int DX, int DY)
{
    TfrPage* P = Page();
    TfrView* V = nullptr;
    for (int i = 0; i < P->Count() && !V; ++i)
        if (P->Objects(i)->Selected())
            V = P->Objects(i);
    if (!V)
        return;
    if (FDesigner->Selection == 0)
        DrawSelected(2);
    const QRegion OldArea = V->GetClipRgn(true);
    if (!(V->Restrictions() & frrfDontSize)) {
        const int L = V->Left(), T = V->Top(), W = V->Width(), H = V->Height();
        const int D = 3;
        if (ResizeMode == 0) {
            const TCursor C = Cursor();
            if (C == crSizeNWSE)
                ResizeMode = Near(L, T, LastX, LastY, D) ? 1 : 2;
            else if (C == crSizeNESW)
                ResizeMode = Near(L + W, T, LastX, LastY, D) ? 3 : 4;
            else if (C == crSizeWE)
                ResizeMode = Near(L, T + H / 2, LastX, LastY, D) ? 5 : 6;
            else if (C == crSizeNS)
                ResizeMode = Near(L + W / 2, T, LastX, LastY, D) ? 7 : 8;
        }
        int NL = L, NT = T, NW = W, NH = H;
        switch (ResizeMode) {
        case 1: NL += DX, NW -= DX, NT += DY, NH -= DY; break;
        case 2: NW += DX, NH += DY; break;
        case 3: NT += DY, NW += DX, NH -= DY; break;
        case 4: NL += DX, NW -= DX, NH += DY; break;
        case 5: NL += DX, NW -= DX; break;
        case 6: NW += DX; break;
        case 7: NT += DY, NH -= DY; break;
        case 8: NH += DY; break;
        default: break;
        }
        // Dragged past the opposite edge: flip and go on with the opposite handle.
        static const uint8_t FlipX[9] = {0, 3, 4, 1, 2, 6, 5, 7, 8};
        static const uint8_t FlipY[9] = {0, 4, 3, 2, 1, 5, 6, 8, 7};
        uint8_t Mode = ResizeMode;
        if (NW < 0) {
            NL += NW, NW = -NW;
            Mode = FlipX[Mode];
        }
        if (NH < 0) {
            NT += NH, NH = -NH;
            Mode = FlipY[Mode];
        }
        // As a move does, the step stops short of what the form reader refuses.
        if (frSetBoundsWithinLimits(V, NL, NT, NW, NH))
            ResizeMode = Mode;
    }
    if (FDesigner->Selection == 1)
        InvalidateArea(OldArea + V->GetClipRgn(true));
    else
        DrawSelected(2);
}

void TfrDesignerPage::AutoScroll(int X, int Y)
{
    QScrollArea* Box = FDesigner->ScrollBox1;
    if (!Box || parentWidget() != FDesigner->ScrollHost)
        return;
    const QPoint Pt = mapTo(FDesigner->ScrollHost, QPoint(X, Y));
    const QRect R = Box->viewport()->rect();
    QScrollBar* HB = Box->horizontalScrollBar();
    QScrollBar* VB = Box->verticalScrollBar();
    const int H = HB->value(), V = VB->value();
    if (Pt.x() > R.right() + H)
        HB->setValue(H + Pt.x() - (R.right() + H));
    else if (Pt.x() < H)
        HB->setValue(Pt.x());
    if (Pt.y() > R.bottom() + V)
        VB->setValue(V + Pt.y() - (R.bottom() + V));
    else if (Pt.y() < V)
        VB->setValue(Pt.y());
}

// The first effective step of a move, resize or split records the change
// once. A band dragged alone takes the views inside it along; they are picked
// up before the change is recorded, so that the record covers them too.
void TfrDesignerPage::FirstDragStep(int DX, int DY, bool Align, bool Alt)
{
    if (Align && !StepToGrid(DX, DY))
        return;
    TfrPage* P = Page();
    TfrView* Band = SelCount == 1 ? FindSelectedBand() : nullptr;
    if (FirstDrag && Band && Cursor() == crDefault && (DX != 0 || DY != 0) && !Alt
        && !(Band->Restrictions() & frrfDontMove)) {
        for (int i = 0; i < P->Count(); ++i) {
            TfrView* V = P->Objects(i);
            if (V->ObjectType() != gtBand && V->Left() >= Band->Left()
                && V->Left() + V->Width() <= Band->Left() + Band->Width() && V->Top() >= Band->Top()
                && V->Top() + V->Height() <= Band->Top() + Band->Height())
                SetViewSelected(V, true);
        }
        FDesigner->SelectionChanged();
        ComputeSelectionBounds();
    }
    FirstDrag = FirstDrag && Cursor() == crDefault;
    BuildSelectionRegion();
    FDesigner->AddUndoAction(acEdit);
}

// Button up: the cursor follows the pressed tool; an armed object tool drags
// its outline along, the select tool shows the sizing cursors.
void TfrDesignerPage::TrackTool(int X, int Y)
{
    const int Tool = FDesigner->ToolTag();
    if (Tool == gtLine) {
        SelectTool = true;
        SetCursor(crPencil);
    } else if (Tool == -1) {
        SelectTool = true;
        if (!SizingCursor(Cursor()) && Cursor() != crHSplit)
            SetCursor(crDefault);
        if (SelCount == 0) {
            OldRect = {X, Y, X, Y};
            ShowPosition();
        }
    } else {
        SelectTool = false;
        if (Cursor() != crCross) {
            SnapToGrid(X, Y);
            QSize S = DefaultInsertSize();
            if (Tool == gtBand)
                S.setWidth(width());
            OldRect = {X, Y, X + S.width(), Y + S.height()};
            if (!DialogPage())
                XorOutline(OldRect);
            SetCursor(crCross);
        }
    }
    if (!SelectTool) {
        if (!DialogPage())
            XorOutline(OldRect);
        SnapToGrid(X, Y);
        const int W = OldRect.Right - OldRect.Left, H = OldRect.Bottom - OldRect.Top;
        OldRect = {X, Y, X + W, Y + H};
        if (!DialogPage())
            XorOutline(OldRect);
        ShowPosition();
        return;
    }
    if (SelCount == 1 && Tool != gtLine)
        HoverSingle(X, Y);
    else if (SelCount > 1)
        HoverMulti(X, Y);
    else if (Tool == -1)
        SetCursor(crDefault);
}

void TfrDesignerPage::MouseMove(TShiftState Shift, int X, int Y)
{
    TfrPage* P = Page();
    if (!P)
        return;
    Moved = true;
    DragOutline = false;
    const bool Align = FDesigner->GridAlign != Shift.Contains(ssAlt);

    if (SelRegionStale && Down && !RubberBand && SelCount > 0 && Cursor() != crPencil)
        FirstDragStep(X - LastX, Y - LastY, Align, Shift.Contains(ssAlt));
    if (!Down) {
        TrackTool(X, Y);
        return;
    }
    if (RubberBand) {
        XorOutline(OldRect);
        if (Cursor() == crCross)
            SnapToGrid(X, Y);
        OldRect.Right = X;
        OldRect.Bottom = Y;
        XorOutline(OldRect);
        if (Cursor() == crCross)
            ShowPosition();
        return;
    }
    int DX = X - LastX, DY = Y - LastY;
    if (Cursor() == crPencil) {
        if (Align && !StepToGrid(DX, DY))
            return;
        XorLinePreview(OldRect);
        OldRect.Right += DX;
        OldRect.Bottom += DY;
        XorLinePreview(OldRect);
        LastX += DX;
        LastY += DY;
        return;
    }
    if (MultiSel && SelectTool && Cursor() == crHSplit) {
        DY = 0;
        if (Align && !StepToGrid(DX, DY))
            return;
        XorSplitLine(SplitLine);
        SplitLine.Left += DX;
        SplitLine.Right += DX;
        XorSplitLine(SplitLine);
        LastX += DX;
        return;
    }
    if (!SelectTool || SelCount == 0)
        return;
    if (Align && !StepToGrid(DX, DY))
        return;
    if (MultiSel && Cursor() != crDefault) {
        DragMulti(DX, DY);
    } else if (Cursor() == crDefault) {
        DragMove(DX, DY, Shift);
    } else if (SelCount == 1 && SizingCursor(Cursor())) {
        DragResize(DX, DY);
    } else {
        return;
    }
    LastX += DX;
    LastY += DY;
    // A multiple selection resized shows its work rectangle; anything moved,
    // or one view resized, shows where the selected views now are.
    TfrRect Pos = OldRect;
    if (!MultiSel || Cursor() == crDefault) {
        Pos = {INT_MAX, INT_MAX, INT_MIN, INT_MIN};
        for (int i = 0; i < P->Count(); ++i)
            if (const TfrView* V = P->Objects(i); V->Selected()) {
                Pos.Left = std::min(Pos.Left, V->Left());
                Pos.Top = std::min(Pos.Top, V->Top());
                Pos.Right = std::max(Pos.Right, V->Left() + V->Width());
                Pos.Bottom = std::max(Pos.Bottom, V->Top() + V->Height());
            }
    }
    FDesigner->ShowPosition(QRect(Pos.Left, Pos.Top, Pos.Right - Pos.Left, Pos.Bottom - Pos.Top));
    if (Shift == TShiftState() << ssLeft)
        AutoScroll(X, Y);
}

// ---------------------------------------------------------------- button up

// The view an object tool inserts: a band of the type the band-type dialog
// gives, a subreport on a new page, a built-in view or an add-in (one of a
// one-per-page class refused with a message); nullptr when none.
std::unique_ptr<TfrView> TfrDesignerPage::NewViewForTool(int Tag)
{
    TfrPage* P = Page();
    std::unique_ptr<TfrView> View;
    if (Tag == gtBand) {
        TfrBandTypesForm Form;
        Form.IsSubreport = FDesigner->CurPageIsSubReport();
        if (Form.ShowModal() == mrOk) {
            View = CreateViewByType(gtBand, QString());
            static_cast<TfrBandView*>(View.get())->SetBandType(Form.SelectedTyp);
        }
    } else if (Tag == gtSubReport) {
        View = CreateViewByType(gtSubReport, QString());
        static_cast<TfrSubReportView*>(View.get())->SetSubPage(CurReport->Pages()->Count());
        CurReport->Pages()->Add();
    } else if (Tag >= 0 && Tag < 10) {
        View = CreateViewByType(static_cast<uint8_t>(Tag), QString());
    } else if (Tag >= 10 && Tag - 10 < static_cast<int>(frAddIns.size())) {
        const QString Class = frAddIns[Tag - 10].ClassName;
        bool Taken = false;
        for (int i = 0; i < P->Count(); ++i)
            Taken = Taken || (P->Objects(i)->ClassName() == Class && (P->Objects(i)->Flags() & flOnePerPage));
        if (Taken)
            ShowError(QStringLiteral("You can't place two or more %1 objects on one page.").arg(Class),
                      LoadEngineString(55206));
        else
            View = CreateViewByType(gtAddIn, Class);
    }
    return View;
}

void TfrDesignerPage::EndInsertion(bool FromDrop)
{
    TfrPage* P = Page();
    SelectTool = true;
    if (!DialogPage()) {
        XorOutline(OldRect);
        if (OldRect.Left == OldRect.Right && OldRect.Top == OldRect.Bottom)
            OldRect = OldRect1;
    }
    OldRect = Normalized(OldRect);
    RubberBand = false;
    const int Tag = FDesigner->ToolTag();
    std::unique_ptr<TfrView> View = NewViewForTool(Tag);

    if (View) {
        TfrView* V = View.get();
        if (V->ObjectType() == gtBand)
            V->SetName(UniqueName(BandBaseName(static_cast<TfrBandView*>(V)->BandType())));
        else
            V->CreateUniqueName();
        if (OldRect.Right == OldRect.Left || OldRect.Bottom == OldRect.Top) {
            QSize S(36, 36);
            if (DialogPage())
                S = QSize(V->Width(), V->Height());
            else if (V->ObjectType() == gtMemo)
                S = DefaultInsertSize();
            OldRect.Right = OldRect.Left + S.width();
            OldRect.Bottom = OldRect.Top + S.height();
        }
        UnselectAllViews(P);
        V->SetLeft(OldRect.Left);
        V->SetTop(OldRect.Top);
        if (V->Width() == 0 && V->Height() == 0) {
            V->SetWidth(OldRect.Right - OldRect.Left);
            V->SetHeight(OldRect.Bottom - OldRect.Top);
        }
        if (auto* Band = dynamic_cast<TfrBandView*>(V); Band && frIsCrossBand(Band->BandType())
                                                        && V->Width() > width() - 10)
            V->SetWidth(40);
        if (V->ObjectType() != gtAddIn)
            V->SetFrameWidth(frLastUsed.FrameWidth);
        V->SetFrameColor(frLastUsed.FrameColor);
        V->SetFillColor(frLastUsed.FillColor);
        if (auto* Memo = dynamic_cast<TfrMemoView*>(V)) {
            Memo->SetFrameTyp(frLastUsed.FrameTyp);
            if (!frLastUsed.FontName.isEmpty())
                Memo->Font()->SetName(frLastUsed.FontName);
            Memo->Font()->SetSize(frLastUsed.FontSize);
            Memo->Font()->SetColor(frLastUsed.FontColor);
            Memo->Font()->SetStyle(TFontStyles::FromBits(frLastUsed.FontStyle));
            Memo->Font()->SetCharset(frLastUsed.Charset);
            Memo->SetAlignment(frLastUsed.Adjust);
        }
        V->SetSelected(true);
        SelCount = 1;
        RefView = V;
        FDesigner->InsertView(std::move(View));
        if (auto* Band = dynamic_cast<TfrBandView*>(V)) {
            ReorderBands(P);
            // Where it will be drawn, not where the click was, so that its
            // whole area and title tab are painted.
            Band->FitToPage();
            InvalidateArea(V->GetClipRgn(true));
        } else if (V->ObjectType() == gtSubReport) {
            FDesigner->UpdatePageTabs();
            InvalidateArea(V->GetClipRgn(true));
        } else {
            InvalidateArea(V->GetClipRgn(true));
        }
        FDesigner->SelectionChanged();
        if (FDesigner->EditAfterInsert && !FromDrop && !dynamic_cast<TfrControl*>(V))
            FDesigner->ShowViewEditor(V, false);
    }
    // Back to the select tool, with its arrow at once: a second click
    // without moving would otherwise start another insertion.
    if (!KeepTool) {
        FDesigner->PressTool(-1);
        SetCursor(crDefault);
    } else if (!DialogPage())
        XorOutline(OldRect);
}

void TfrDesignerPage::EndLine()
{
    TfrPage* P = Page();
    if (OldRect.Left == OldRect.Right && OldRect.Top == OldRect.Bottom)
        return;
    XorLinePreview(OldRect);
    auto Line = CreateViewByType(gtLine, QString());
    TfrView* V = Line.get();
    V->CreateUniqueName();
    V->SetLeft(OldRect.Left);
    V->SetTop(OldRect.Top);
    int W = OldRect.Right - OldRect.Left, H = OldRect.Bottom - OldRect.Top;
    if (W < 0) {
        W = -W;
        if (W > std::abs(H))
            V->SetLeft(OldRect.Right);
    }
    if (H < 0) {
        H = -H;
        if (H > std::abs(W))
            V->SetTop(OldRect.Bottom);
    }
    V->SetWidth(W);
    V->SetHeight(H);
    UnselectAllViews(P);
    V->SetSelected(true);
    V->SetFrameWidth(frLastUsed.LineWidth);
    V->SetFrameColor(frLastUsed.FrameColor);
    SelCount = 1;
    RefView = V;
    FDesigner->InsertView(std::move(Line));
    InvalidateArea(V->GetClipRgn(true));
    FDesigner->SelectionChanged();
}

void TfrDesignerPage::EndRubberBand()
{
    TfrPage* P = Page();
    XorOutline(OldRect);
    RubberBand = false;
    const TfrRect R = Normalized(OldRect);
    UnselectAllViews(P);
    auto Meets = [&](const TfrView* V) {
        return V->Left() <= R.Right && R.Left <= V->Left() + V->Width() && V->Top() <= R.Bottom
               && R.Top <= V->Top() + V->Height();
    };
    for (int i = 0; i < P->Count(); ++i)
        if (P->Objects(i)->ObjectType() != gtBand && Meets(P->Objects(i)))
            SetViewSelected(P->Objects(i), true);
    if (SelCount == 0)
        for (int i = 0; i < P->Count(); ++i)
            if (Meets(P->Objects(i)))
                SetViewSelected(P->Objects(i), true);
    RefView = nullptr;
    if (SelCount == 1)
        RefView = P->Objects(LastSelectedIndex());
    ComputeSelectionBounds();
    FDesigner->SelectionChanged();
    DrawSelected(1);
}

void TfrDesignerPage::EndDrag()
{
    TfrPage* P = Page();
    if (Moved && MultiSel && Cursor() == crHSplit) {
        const int Delta = SplitLine.Left - SplitX;
        XorSplitLine(SplitLine);
        if (SplitLeft && SplitRight && !(SplitLeft->Restrictions() & frrfDontSize)
            && !(SplitRight->Restrictions() & (frrfDontSize | frrfDontMove)) && SplitLeft->Width() + Delta > 0
            && SplitRight->Width() - Delta > 0) {
            SplitLeft->SetWidth(SplitLeft->Width() + Delta);
            SplitRight->SetLeft(SplitRight->Left() + Delta);
            SplitRight->SetWidth(SplitRight->Width() - Delta);
        }
        ComputeSelectionBounds();
        InvalidateArea(SelRegion, LastSelectedIndex());
    } else if (Moved && MultiSel && SizingCursor(Cursor())) {
        // The handles are drawn again at the new bounds, outside the old area too.
        const QRegion Before = SelRegion;
        BuildSelectionRegion();
        InvalidateArea(Before + SelRegion);
    } else if (!Moved) {
        FDesigner->SelectionChanged();
        DrawSelected(1);
    } else if (SelCount == 1) {
        TfrView* V = P->Objects(LastSelectedIndex());
        if (V->Width() < 0) {
            V->SetLeft(V->Left() + V->Width());
            V->SetWidth(-V->Width());
        }
        if (V->Height() < 0) {
            V->SetTop(V->Top() + V->Height());
            V->SetHeight(-V->Height());
        }
        if (Cursor() != crDefault)
            V->AfterResize();
        InvalidateArea(SelRegion + V->GetClipRgn(true));
        FDesigner->SelectionChanged();
    } else if (SelCount > 1) {
        BuildSelectionRegion();
        InvalidateArea(SelRegion);
        ComputeSelectionBounds();
        FDesigner->SelectionChanged();
    }
    Moved = false;
    ResizeMode = 0;
}

void TfrDesignerPage::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    (void)Shift;
    (void)X;
    (void)Y;
    if (Button != mbLeft || !Page() || !Down)
        return;
    Down = false;
    if (FDesigner->Selection == 0 && !RubberBand && Cursor() != crPencil)
        DrawSelected(2);
    if (Cursor() == crCross)
        EndInsertion(false);
    else if (Cursor() == crPencil)
        EndLine();
    else if (RubberBand)
        EndRubberBand();
    else
        EndDrag();
}

// ---------------------------------------------------------------- others

void TfrDesignerPage::DblClick()
{
    TfrPage* P = Page();
    if (!P)
        return;
    Down = false;
    if (SelCount == 0) {
        SkipNextDown = true;
        if (DialogPage())
            P->EditScript();
        else
            FDesigner->PgB3Click();
    } else if (SelCount == 1) {
        SkipNextDown = true;
        FDesigner->ShowViewEditor(P->Objects(LastSelectedIndex()), CtrlDown);
    }
}

void TfrDesignerPage::MouseLeave()
{
    if ((!SelectTool && !Down) || DragOutline) {
        if (!DialogPage())
            XorOutline(OldRect);
        OldRect = {OldRect.Left - 10000, OldRect.Top - 10000, OldRect.Right - 10000, OldRect.Bottom - 10000};
        DragOutline = false;
    }
}

void TfrDesignerPage::DragOver(QObject* Source, int X, int Y, TDragState State, bool& Accept)
{
    if (State == dsDragLeave) {
        MouseLeave();
        return;
    }
    Accept = qobject_cast<QListWidget*>(Source) && !DialogPage();
    if (!Accept || State == dsDragEnter)
        return;
    if (!DragOutline) {
        DragOutline = true;
        const QSize S = DefaultInsertSize();
        OldRect = {X - 4, Y - 4, X + S.width() - 4, Y + S.height() - 4};
    } else {
        XorOutline(OldRect);
    }
    SnapToGrid(X, Y);
    const int W = OldRect.Right - OldRect.Left, H = OldRect.Bottom - OldRect.Top;
    OldRect = {X - 4, Y - 4, X - 4 + W, Y - 4 + H};
    XorOutline(OldRect);
}

void TfrDesignerPage::DragDrop(QObject* Source, int X, int Y)
{
    (void)X;
    (void)Y;
    if (qobject_cast<QListWidget*>(Source))
        DropField(frInsFieldsForm ? frInsFieldsForm->DBField : QString());
}

// The memo goes where the outline stands.
void TfrDesignerPage::DropField(const QString& DBField)
{
    if (DBField.isEmpty()) {
        // No field chosen: the outline goes and nothing is inserted.
        if (DragOutline)
            XorOutline(OldRect);
        DragOutline = false;
        return;
    }
    DrawSelected(1);
    DragOutline = false;
    FDesigner->PressTool(gtMemo);
    SetCursor(crCross);
    Down = false;
    const bool Keep = KeepTool;
    KeepTool = false;
    EndInsertion(true);
    KeepTool = Keep;
    TfrPage* P = Page();
    const int Index = LastSelectedIndex();
    if (Index < 0 || !P->Objects(Index)->Selected())
        return;
    TfrView* V = P->Objects(Index);
    V->Memo()->Clear();
    V->Memo()->Add(QLatin1Char('[') + DBField + QLatin1Char(']'));
    InvalidateArea(V->GetClipRgn(true));
}
