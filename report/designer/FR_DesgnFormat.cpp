// Formatting of the selected views from the "Text" and "Rectangle" tool bars
// (one handler dispatching on the control's tag), the highlight, font and
// restrictions editors, the edit command and the page's context menu.
#include "report/designer/FR_Desgn.h"

#include "platform/db/DataSet.h"
#include "platform/db/DataSource.h"
#include "platform/db/Field.h"
#include "platform/gui/FontDialog.h"
#include "platform/gui/Menus.h"
#include "report/designer/FR_ColorSel.h"
#include "report/designer/FR_Combo.h"
#include "report/designer/FR_DsgPage.h"
#include "report/designer/FR_Hilit.h"
#include "report/designer/FR_IFlds.h"
#include "report/designer/FR_Restr.h"
#include "report/engine/FR_BandView.h"
#include "report/engine/FR_Class.h"
#include "report/engine/FR_Dock.h"
#include "report/engine/FR_Ctrls.h"
#include "report/engine/FR_DBSet.h"
#include "report/engine/FR_Dict.h"
#include "report/engine/FR_Fmt.h"
#include "report/engine/FR_Globals.h"
#include "report/engine/FR_MemoView.h"
#include "report/engine/FR_Page.h"
#include "report/engine/FR_SubReportView.h"
#include "report/engine/FR_TextMeasure.h"
#include "report/engine/FR_Utils.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QRadioButton>
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
    // The repaint brings the marks back: toggling them once more would wipe them.
    RedrawPage();
    FillInspector();
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

void TfrDesignerForm::DisplayFormatEditorHook()
{
    // A band keeps its data source or group condition in FormatStr: only
    // memos take a display format.
    TfrMemoView* Top = TopSelectedMemo(Page);
    if (!Top)
        return;
    TfrFmtForm F;
    F.SetFormat(Top->Format());
    F.SetFormatStr(Top->FormatStr());
    if (F.ShowModal() != mrOk)
        return;
    BeforeChange();
    for (int i = 0; i < Page->Count(); ++i) {
        auto* M = dynamic_cast<TfrMemoView*>(Page->Objects(i));
        if (!M || !M->Selected() || (M->Restrictions() & frrfDontModify))
            continue;
        M->SetFormat(F.Format());
        M->SetFormatStr(F.FormatStr());
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
    if (auto* B = dynamic_cast<TfrBandView*>(V)) {
        // Data bands, group headers and cross data bands have editors; other bands none.
        switch (B->BandType()) {
        case btMasterData:
        case btDetailData:
        case btSubDetailData:
            BandEditorHook();
            break;
        case btGroupHeader:
            GroupEditorHook();
            break;
        case btCrossData:
            VBandEditorHook();
            break;
        default:
            break;
        }
    } else {
        V->ShowEditor();
    }
    RedrawPage();
    SelectionChanged();
}

void TfrDesignerForm::Popup1Popup()
{
    TMenuItem* Items = Popup1->Items();
    while (Items->Count() > 7)
        delete Items->Items(Items->Count() - 1);
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

// ---------------------------------------------------------------- insert DB fields

namespace {

QString BandName(int BandType)
{
    // "Master data" gives "MasterData1", as bands drawn with the mouse are named.
    QString Base = frBandName(BandType);
    if (const int Blank = Base.indexOf(u' '); Blank >= 0 && Blank + 1 < Base.size()) {
        Base.remove(Blank, 1);
        Base[Blank] = Base[Blank].toUpper();
    }
    for (int n = 1;; ++n)
        if (!CurReport->FindObject(Base + QString::number(n)))
            return Base + QString::number(n);
}

// The name of the report adapter that reads DataSet: owner name + "." + name
// when it lives elsewhere than the report's owner.
QString AdapterOf(const TDataSet* DataSet)
{
    TStringList Names;
    GetComponents(CurReport->parent(), TfrDBDataSet::staticMetaObject, Names, nullptr);
    for (int i = 0; i < Names.Count(); ++i)
        if (auto* A = qobject_cast<TfrDBDataSet*>(FindReportComponent(Names.Strings(i)))) {
            const TDataSet* Read = A->DataSource() ? A->DataSource()->DataSet() : A->DataSet();
            if (Read && Read == DataSet)
                return Names.Strings(i);
        }
    return {};
}

// The dataset's own name of a field listed under its alias.
QString RealFieldName(const TfrDataDictionary* Dict, const QString& DataSet, const QString& Listed)
{
    for (int a = 0; a < Dict->FieldAliases.Count(); ++a) {
        const QString Key = Dict->FieldAliases.GetName(a);
        if (Key.startsWith(DataSet + u'.', Qt::CaseInsensitive) && VarToStr(Dict->FieldAliases.GetValue(a)) == Listed)
            return Key.mid(DataSet.size() + 1);
    }
    return Listed;
}

// A row wider than the page's usable width is scaled into it: each field
// memo's offset and width, each header's offset, its width cut to its field's.
void FitRowIntoPage(TfrPage* Page, const std::vector<TfrMemoView*>& Fields, const std::vector<TfrMemoView*>& Headers)
{
    const int Left = Page->GetLeftBound(), Usable = Page->GetRightBound() - Left;
    const int Needed = Fields.back()->Left() + Fields.back()->Width() - Left;
    if (Needed <= Usable || Needed <= 0)
        return;
    const double Scale = static_cast<double>(Usable) / Needed;
    const auto Scaled = [Scale](int Value) { return static_cast<int>(std::nearbyint(Value * Scale)); };
    for (size_t i = 0; i < Fields.size(); ++i) {
        TfrMemoView* M = Fields[i];
        M->SetLeft(Left + Scaled(M->Left() - Left));
        M->SetWidth(Scaled(M->Width()));
        if (i < Headers.size()) {
            Headers[i]->SetLeft(Left + Scaled(Headers[i]->Left() - Left));
            Headers[i]->SetWidth(std::min(Headers[i]->Width(), M->Width()));
        }
    }
}

// The bands of inserted fields, selected: a page header over the headers of a
// row (unless the page has one) and a master data band 72 pixels lower, else
// one master data band over everything; the data band reads Adapter.
std::vector<TfrView*> AddFieldBands(TfrPage* Page, const std::vector<TfrMemoView*>& Fields,
                                    const std::vector<TfrMemoView*>& Headers, bool HeaderRow, const QString& Adapter)
{
    std::vector<TfrView*> Bands;
    const int Top = Page->GetTopBound();
    const auto Bottom = [](const std::vector<TfrMemoView*>& Memos) {
        int B = 0;
        for (const TfrMemoView* M : Memos)
            B = std::max(B, M->Top() + M->Height());
        return B;
    };
    const auto NewBand = [&](int Type, int BTop, int BBottom) {
        auto View = CreateViewByType(gtBand, QString());
        auto* B = static_cast<TfrBandView*>(View.get());
        B->SetBandType(Type);
        B->SetName(BandName(Type));
        B->SetBounds(0, BTop, Page->PrnInfo.PaperWidthPx, std::max(0, BBottom - BTop));
        B->SetSelected(true);
        Page->Add(std::move(View));
        Bands.push_back(B);
        return B;
    };
    TfrBandView* Data = nullptr;
    if (HeaderRow) {
        bool HasPageHeader = false;
        for (int i = 0; i < Page->Count(); ++i)
            if (auto* B = dynamic_cast<TfrBandView*>(Page->Objects(i)))
                HasPageHeader = HasPageHeader || B->BandType() == btPageHeader;
        if (!HasPageHeader)
            NewBand(btPageHeader, Top, Bottom(Headers));
        Data = NewBand(btMasterData, Top + 72, Bottom(Fields));
    } else {
        std::vector<TfrMemoView*> All = Fields;
        All.insert(All.end(), Headers.begin(), Headers.end());
        Data = NewBand(btMasterData, Top, Bottom(All));
    }
    Data->SetFormatStr(Adapter);
    return Bands;
}

} // namespace

void TfrDesignerForm::InsertFieldsClick()
{
    if (!Page || Page->PageType != ptReport)
        return;
    TfrInsertFieldsForm F;
    if (F.ShowModal() != mrOk || F.DatasetCB->currentIndex() < 0 || F.FieldsL->selectedItems().isEmpty())
        return;
    const QString Entry = F.DatasetCB->currentText();
    TfrDataDictionary* Dict = CurReport->Dictionary();
    const QString RealDataSet = Dict->GetRealDataSetName(Entry);
    const bool Horizontal = F.HorzRB->isChecked(), Headers = F.HeaderCB->isChecked();
    // The height a memo drawn with one click gets.
    const int Size = frLastUsed.FontSize;
    const int Height = Size >= 14 && Size <= 16 ? 24 : Size == 12 || Size == 13 ? 20 : GridSizeY == 18 ? 18 : 20;
    int X = Page->GetLeftBound(), Y = Page->GetTopBound();
    ResetSelection();

    TFont Font;
    if (!frLastUsed.FontName.isEmpty())
        Font.SetName(frLastUsed.FontName);
    Font.SetSize(frLastUsed.FontSize);
    TFont Bold;
    Bold.Assign(Font);
    Bold.SetStyle(TFontStyles() << fsBold);
    const auto NewMemo = [&](int MX, int MY, int MW, const TFont& MFont, const QString& Text) {
        auto View = CreateViewByType(gtMemo, QString());
        auto* M = static_cast<TfrMemoView*>(View.get());
        M->CreateUniqueName();
        M->SetBounds(MX, MY, MW, Height);
        M->Font()->Assign(MFont);
        M->Memo()->Add(Text);
        M->SetSelected(true);
        Page->Add(std::move(View));
        return M;
    };

    std::vector<TfrMemoView*> FieldMemos, HeaderMemos;
    for (int i = 0; i < F.FieldsL->count(); ++i) {
        if (!F.FieldsL->item(i)->isSelected())
            continue;
        const QString Listed = F.FieldsL->item(i)->text();
        const TField* Field = F.DataSet ? F.DataSet->FindField(RealFieldName(Dict, RealDataSet, Listed)) : nullptr;
        const QString Label = Field ? Field->DisplayLabel() : Listed;
        int Chars = Field ? Field->DisplayWidth() : 0;
        if (Chars <= 0 || Chars >= 256)
            Chars = 6;
        const int FieldWidth = GridSizeX * ((frTextWidth(Font, QStringLiteral("="), 0) * Chars) / GridSizeX);
        const QString Expression = u'[' + Entry + QStringLiteral(".\"") + Listed + QStringLiteral("\"]");
        int Advance = FieldWidth;
        if (Headers) {
            const int HeaderWidth = GridSizeX * (frTextWidth(Bold, Label + QStringLiteral("   "), 0) / GridSizeX);
            HeaderMemos.push_back(NewMemo(X, Y, HeaderWidth, Bold, Label));
            // Horizontally each header stands over its field; vertically beside it.
            FieldMemos.push_back(Horizontal ? NewMemo(X, Y + 72, FieldWidth, Font, Expression)
                                            : NewMemo(X + HeaderWidth + 2 * GridSizeX, Y, FieldWidth, Font, Expression));
            Advance = std::max(HeaderWidth, FieldWidth);
        } else {
            FieldMemos.push_back(NewMemo(X, Y, FieldWidth, Font, Expression));
        }
        if (Horizontal)
            X += GridSizeX + Advance;
        else
            Y += GridSizeY + Height;
    }

    if (Horizontal)
        FitRowIntoPage(Page, FieldMemos, HeaderMemos);

    std::vector<TfrView*> Bands;
    if (F.BandCB->isChecked())
        Bands = AddFieldBands(Page, FieldMemos, HeaderMemos, Headers && Horizontal, AdapterOf(F.DataSet));

    // One insert record covers the memos and the bands; then only the memos
    // stay selected.
    SelCount = static_cast<int>(FieldMemos.size() + HeaderMemos.size() + Bands.size());
    AddUndoAction(acInsert);
    for (TfrView* B : Bands)
        B->SetSelected(false);
    SelCount -= static_cast<int>(Bands.size());
    ReorderBands(Page);
    PageView->ComputeSelectionBounds();
    SelectionChanged();
    RedrawPage();
}
