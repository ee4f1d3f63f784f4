// Formatting of the selected views from the "Text" and "Rectangle" tool bars
// (one handler dispatching on the control's tag), the highlight, font and
// restrictions editors, the edit command and the page's context menu.
#include "report/designer/FR_Desgn.h"

#include "platform/gui/FontDialog.h"
#include "platform/gui/Menus.h"
#include "report/designer/FR_ColorSel.h"
#include "report/designer/FR_Combo.h"
#include "report/designer/FR_DsgPage.h"
#include "report/designer/FR_Hilit.h"
#include "report/designer/FR_Restr.h"
#include "report/engine/FR_BandView.h"
#include "report/engine/FR_Class.h"
#include "report/engine/FR_Dock.h"
#include "report/engine/FR_Ctrls.h"
#include "report/engine/FR_Globals.h"
#include "report/engine/FR_MemoView.h"
#include "report/engine/FR_Page.h"
#include "report/engine/FR_SubReportView.h"
#include "report/engine/FR_Utils.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPainter>
#include <QVariant>


namespace {

int TagOf(const QObject* Sender)
{
    if (auto* C = dynamic_cast<const TCustomControl*>(Sender))
        return C->Tag();
    return Sender ? Sender->property("Tag").toInt() : 0;
}

bool DownOf(const QObject* Sender)
{
    auto* B = dynamic_cast<const TfrSpeedButton*>(Sender);
    return B && B->Down();
}

// The text of a combo box of the tool bars, whatever class it is.
QString TextOf(const QObject* Sender)
{
    return Sender ? Sender->property("currentText").toString() : QString();
}

// The topmost selected memo view of the current page, or none.
TfrMemoView* TopSelectedMemo(TfrPage* Page)
{
    for (int i = Page ? Page->Count() - 1 : -1; i >= 0; --i)
        if (Page->Objects(i)->Selected())
            if (auto* M = dynamic_cast<TfrMemoView*>(Page->Objects(i)))
                return M;
    return nullptr;
}

TfrView* TopSelected(TfrPage* Page)
{
    for (int i = Page ? Page->Count() - 1 : -1; i >= 0; --i)
        if (Page->Objects(i)->Selected())
            return Page->Objects(i);
    return nullptr;
}

} // namespace

void TfrDesignerForm::BuildFormatting()
{
    const std::pair<const char*, int> Tags[] = {
        {"FrB1", 1},  {"FrB2", 2},  {"FrB3", 3},  {"FrB4", 4},  {"ClB1", 5},  {"FnB1", 9},  {"FnB2", 10},
        {"AlB1", 11}, {"AlB2", 12}, {"AlB3", 13}, {"AlB4", 14}, {"AlB5", 15}, {"AlB6", 15}, {"AlB7", 15},
        {"ClB2", 17}, {"FnB3", 18}, {"ClB3", 19}, {"FrB5", 20}, {"FrB6", 21}, {"AlB8", 22},
    };
    for (const auto& [Name, Tag] : Tags) {
        TfrSpeedButton* B = SpeedButton(QString::fromLatin1(Name));
        if (!B)
            continue;
        B->SetTag(Tag);
        B->SetEnabled(true);
        // Toggles stay down until clicked again; the alignments are groups.
        if (Tag <= 4 || Tag == 9 || Tag == 10 || Tag == 18 || Tag == 14) {
            B->SetGroupIndex(100 + Tag);
            B->SetAllowAllUp(true);
        } else if ((Tag >= 11 && Tag <= 13) || Tag == 22) {
            B->SetGroupIndex(20);
        } else if (Tag == 15) {
            B->SetGroupIndex(21);
        }
        if (Tag != 5 && Tag != 17 && Tag != 19)
            B->OnClick = [this](QObject* Sender) { DoClick(Sender); };
    }
    // The combos apply a name, size or width when one is chosen or entered.
    const std::pair<QComboBox*, int> Combos[] = {{C2, 7}, {C3, 8}, {C4, 6}};
    for (const auto& [Combo, Tag] : Combos) {
        Combo->setProperty("Tag", Tag);
        Combo->setEnabled(true);
        QObject::connect(Combo, &QComboBox::activated, this, [this, C = Combo] { DoClick(C); });
        if (Combo->lineEdit())
            QObject::connect(Combo->lineEdit(), &QLineEdit::returnPressed, this, [this, C = Combo] { DoClick(C); });
    }
    for (TfrSpeedButton* B : LineStyleButtons)
        B->OnClick = [this](QObject* Sender) {
            LinePanel->hide();
            DoClick(Sender);
        };
    ColorSelector = new TColorSelector(this);
    ColorSelector->hide();
    ColorSelector->OnColorSelected = [this](QObject*) {
        ColorSelector->hide();
        if (!ColorButton)
            return;
        ChosenColor = static_cast<uint32_t>(ColorSelector->Color());
        SetColorGlyph(ColorButton, ChosenColor);
        DoClick(ColorButton);
    };
    const std::pair<TfrSpeedButton*, uint32_t> Colours[] = {
        {ClB1, frLastUsed.FillColor}, {ClB2, frLastUsed.FontColor}, {ClB3, frLastUsed.FrameColor}};
    for (const auto& [B, Colour] : Colours) {
        SetColorGlyph(B, Colour);
        B->OnClick = [this, Button = B](QObject*) { ClB1Click(Button); };
    }
    StB1->SetEnabled(true);
    StB1->OnClick = [this](QObject*) {
        ColorSelector->hide();
        // The line styles drop down under the button, or go away when shown there.
        const QPoint At = StB1->mapTo(this, QPoint(0, 26));
        LinePanel->setVisible(!(LinePanel->isVisible() && LinePanel->pos() == At));
        LinePanel->move(At);
        LinePanel->raise();
    };
}

void TfrDesignerForm::DoClick(QObject* Sender)
{
    if (ToolbarBusy || !Page)
        return;
    const int Tag = TagOf(Sender);
    // Entries the views cannot take change nothing at all.
    int FontSize = 0;
    float Width = 0;
    if (Tag == 8) {
        bool Ok = false;
        FontSize = TextOf(Sender).trimmed().toInt(&Ok);
        if (!Ok || FontSize < 1 || FontSize > 999)
            return;
    } else if (Tag == 6) {
        try {
            Width = static_cast<float>(StrToFloatAnySep(TextOf(Sender)));
        } catch (const Exception&) {
            return;
        }
        if (!(Width >= 0.1f && Width <= 100.0f))
            return;
    }
    AddUndoAction(acEdit);
    PageView->DrawSelected(1);
    const auto Down = [this](const char* Name) {
        TfrSpeedButton* B = SpeedButton(QString::fromLatin1(Name));
        return B && B->Down();
    };
    for (int i = 0; i < Page->Count(); ++i) {
        TfrView* V = Page->Objects(i);
        if (!V->Selected() || (V->Restrictions() & frrfDontModify) || V->ObjectType() == gtBand)
            continue;
        if (auto* M = dynamic_cast<TfrMemoView*>(V)) {
            TFont* F = M->Font();
            TFontStyles Style = F->Style();
            const auto SetStyle = [&](TFontStyle S) {
                if (DownOf(Sender))
                    Style << S;
                else
                    Style >> S;
                F->SetStyle(Style);
                frLastUsed.FontStyle = static_cast<uint16_t>(GetFontStyleBits(Style));
            };
            int Adjust = M->Alignment();
            switch (Tag) {
            case 7:
                F->SetName(TextOf(Sender));
                frLastUsed.FontName = F->Name();
                break;
            case 8:
                F->SetSize(FontSize);
                frLastUsed.FontSize = F->Size();
                break;
            case 9:
                SetStyle(fsBold);
                break;
            case 10:
                SetStyle(fsItalic);
                break;
            case 18:
                SetStyle(fsUnderline);
                break;
            case 11:
            case 12:
            case 13:
            case 22:
                Adjust = (Adjust & ~3) | (Tag == 22 ? 3 : Tag - 11);
                break;
            case 14:
                Adjust = frSetBit(static_cast<uint16_t>(Adjust), frtaVertical, Down("AlB4"));
                break;
            case 15:
                Adjust = (Adjust & ~(frtaMiddle | frtaDown)) | (Down("AlB5") ? frtaMiddle : 0)
                         | (Down("AlB7") ? frtaDown : 0);
                break;
            case 17:
                F->SetColor(static_cast<TColor>(ChosenColor));
                frLastUsed.FontColor = ChosenColor;
                break;
            default:
                break;
            }
            if (Adjust != M->Alignment() || (Tag >= 11 && Tag <= 15) || Tag == 22) {
                M->SetAlignment(Adjust);
                frLastUsed.Adjust = static_cast<uint16_t>(Adjust);
            }
        }
        switch (Tag) {
        case 1:
        case 2:
        case 3:
        case 4:
            V->SetFrameTyp(frSetBit(V->FrameTyp(), static_cast<uint16_t>(1 << (4 - Tag)), DownOf(Sender)));
            break;
        case 20:
            V->SetFrameTyp(V->FrameTyp() | 15);
            frLastUsed.FrameTyp = 15;
            break;
        case 21:
            V->SetFrameTyp(V->FrameTyp() & 0xFFF0);
            frLastUsed.FrameTyp = 0;
            break;
        case 5:
            V->SetFillColor(ChosenColor);
            frLastUsed.FillColor = ChosenColor;
            break;
        case 19:
            V->SetFrameColor(ChosenColor);
            frLastUsed.FrameColor = ChosenColor;
            break;
        case 6:
            V->SetFrameWidth(Width);
            (V->ObjectType() == gtLine ? frLastUsed.LineWidth : frLastUsed.FrameWidth) = Width;
            break;
        case 25:
        case 26:
        case 27:
        case 28:
        case 29:
        case 30:
            V->SetFrameStyle(static_cast<uint16_t>(Tag - 25));
            break;
        default:
            break;
        }
    }
    RedrawPage();
    PageView->DrawSelected(1);
    SetActiveControl(nullptr);
    if (Tag == 20 || Tag == 21)
        SelectionChanged();
}

void TfrDesignerForm::ClB1Click(TfrSpeedButton* Button)
{
    LinePanel->hide();
    const QPoint At = Button->mapTo(this, QPoint(0, 26));
    // A second click on the same button closes the selector again.
    ColorSelector->setVisible(!(ColorSelector->isVisible() && ColorSelector->x() == At.x()));
    ColorSelector->move(At);
    ColorSelector->raise();
    ColorButton = Button;
    const QImage Glyph = Button->Glyph() ? Button->Glyph()->ToImage() : QImage();
    const bool Shown = !Glyph.isNull() && Glyph.pixel(2, 14) == Glyph.pixel(1, 13);
    ColorSelector->SetColor(Shown ? static_cast<TColor>(QColorToColor(QColor(Glyph.pixel(2, 14)))) : clNone);
}

void TfrDesignerForm::SetColorGlyph(TfrSpeedButton* Button, uint32_t Color)
{
    QImage Glyph = Button->Glyph() ? Button->Glyph()->ToImage().convertToFormat(QImage::Format_RGB32)
                                   : QImage(16, 16, QImage::Format_RGB32);
    if (Glyph.isNull())
        return;
    QPainter P(&Glyph);
    P.fillRect(QRect(0, 12, 16, 4), ColorToQColor(clOlive));
    if (Color == static_cast<uint32_t>(clNone)) {
        // No colour: an empty frame, so that the bar's pixels differ.
        P.setPen(ColorToQColor(clGray));
        P.drawRect(1, 13, 13, 2);
    } else {
        P.fillRect(QRect(1, 13, 14, 3), ColorToQColor(static_cast<TColor>(Color)));
    }
    P.end();
    TBitmap B;
    B.LoadFromImage(Glyph);
    B.SetTransparentColor(clOlive);
    B.SetTransparent(true);
    Button->SetGlyph(&B);
}

// ---------------------------------------------------------------- editors

void TfrDesignerForm::HlB1Click()
{
    // The highlight belongs to memo views only.
    TfrMemoView* Top = TopSelectedMemo(Page);
    if (!Top)
        return;
    TfrHilightForm F;
    F.Edit1->setText(Top->HighlightCondition());
    F.FontColor = Top->Highlight().FontColor;
    F.FillColor = Top->Highlight().FillColor;
    F.CB1->setChecked(Top->Highlight().FontStyle & 2);
    F.CB2->setChecked(Top->Highlight().FontStyle & 1);
    F.CB3->setChecked(Top->Highlight().FontStyle & 4);
    if (F.ShowModal() != mrOk)
        return;
    AddUndoAction(acEdit);
    for (int i = 0; i < Page->Count(); ++i) {
        auto* M = dynamic_cast<TfrMemoView*>(Page->Objects(i));
        if (!M || !M->Selected())
            continue;
        TfrHighlightAttr H = M->Highlight();
        H.FontColor = F.FontColor;
        H.FillColor = F.FillColor;
        H.FontStyle = (F.CB1->isChecked() ? 2 : 0) | (F.CB2->isChecked() ? 1 : 0) | (F.CB3->isChecked() ? 4 : 0);
        M->SetHighlight(H);
        M->SetHighlightCondition(F.Edit1->text());
    }
    RedrawPage();
}

void TfrDesignerForm::RestrictionsEditorHook()
{
    TfrView* Top = TopSelected(Page);
    if (!Top)
        return;
    TfrRestrictionsForm F;
    for (int b = 0; b < 7; ++b)
        F.Box(b)->setChecked(Top->Restrictions() & (1 << b));
    if (F.ShowModal() != mrOk)
        return;
    uint16_t Bits = 0;
    for (int b = 0; b < 7; ++b)
        if (F.Box(b)->isChecked())
            Bits |= static_cast<uint16_t>(1 << b);
    AddUndoAction(acEdit);
    for (int i = 0; i < Page->Count(); ++i)
        if (Page->Objects(i)->Selected())
            Page->Objects(i)->SetRestrictions(Bits);
    RedrawPage();
}

void TfrDesignerForm::FontEditorHook()
{
    // Fonts belong to memo views only; the dialog starts from the topmost one.
    TfrMemoView* Top = TopSelectedMemo(Page);
    if (!Top)
        return;
    if (!FontDialog1)
        FontDialog1 = new TFontDialog(this);
    TFont Start;
    Start.Assign(*Top->Font());
    FontDialog1->Font()->Assign(Start);
    if (!FontDialog1->Execute())
        return;
    const TFont* Chosen = FontDialog1->Font();
    BeforeChange();
    for (int i = 0; i < Page->Count(); ++i) {
        auto* M = dynamic_cast<TfrMemoView*>(Page->Objects(i));
        if (!M || !M->Selected() || (M->Restrictions() & frrfDontModify))
            continue;
        TFont* F = M->Font();
        if (Chosen->Name() != Start.Name())
            F->SetName(Chosen->Name());
        if (Chosen->Size() != Start.Size())
            F->SetSize(Chosen->Size());
        if (Chosen->Color() != Start.Color())
            F->SetColor(Chosen->Color());
        if (Chosen->Style() != Start.Style())
            F->SetStyle(Chosen->Style());
        if (Chosen->Charset() != Start.Charset()) {
            F->SetCharset(Chosen->Charset());
            frLastUsed.Charset = static_cast<uint16_t>(Chosen->Charset());
        }
    }
    AfterChange();
}

void TfrDesignerForm::N6Click()
{
    TfrView* V = TopSelected(Page);
    if (!V || (V->Restrictions() & frrfDontEditContents))
        return;
    PageView->DrawSelected(1);
    if (auto* S = dynamic_cast<TfrSubReportView*>(V)) {
        SetCurPage(S->SubPage());
        return;
    }
    // Band editors come with their own windows; other views open their own.
    if (V->ObjectType() != gtBand)
        V->ShowEditor();
    RedrawPage();
    SelectionChanged();
}

void TfrDesignerForm::Popup1Popup()
{
    TMenuItem* Items = Popup1->Items();
    while (Items->Count() > 7)
        delete Items->Items(Items->Count() - 1);
    if (Items->Count() == 0) {
        const std::pair<const char*, int> Fixed[] = {{"N2", 53148}, {"N1", 53149}, {"N3", 53150},
                                                     {"N5", 53151}, {"N16", 53152}};
        for (const auto& [Name, Id] : Fixed) {
            TMenuItem* I = Items->Add(LoadEngineString(Id));
            I->setObjectName(QString::fromLatin1(Name));
            I->SetEnabled(false);
        }
        Items->Add(QStringLiteral("-"));
        TMenuItem* N6 = Items->Add(LoadEngineString(53153), [this](QObject*) { N6Click(); });
        N6->setObjectName(QStringLiteral("N6"));
    }
    Items->Items(6)->SetEnabled(SelCount > 0);
    if (!Page || SelCount == 0)
        return;
    TfrView* Top = TopSelected(Page);
    bool Alike = true;
    for (int i = 0; i < Page->Count() && Alike; ++i) {
        const TfrView* V = Page->Objects(i);
        if (!V->Selected())
            continue;
        const bool BothMemos = dynamic_cast<const TfrMemoView*>(V) && dynamic_cast<const TfrMemoView*>(Top);
        Alike = V->ObjectType() != gtBand
                && (BothMemos
                    || (V->ObjectType() == Top->ObjectType()
                        && (V->ObjectType() != gtAddIn || V->ClassName() == Top->ClassName())));
    }
    if (SelCount == 1 || Alike)
        Top->DefinePopupMenu(Popup1);
}
