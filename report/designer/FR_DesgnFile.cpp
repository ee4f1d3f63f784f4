// The designer's commands on whole pages (add, remove, options, moving tabs)
// and on the report as a file (new, open, save in four formats, preview,
// closing with the save prompt).
#include "report/designer/FR_Desgn.h"

#include "platform/gui/Application.h"
#include "platform/gui/ComCtrls.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/FileDialogs.h"
#include "platform/gui/Menus.h"
#include "platform/gui/ModalSeam.h"
#include "platform/gui/Screen.h"
#include "platform/gui/StdCtrls.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/SysUtils.h"
#include "report/designer/FR_DsgPage.h"
#include "report/designer/FR_InsFields.h"
#include "report/designer/FR_Insp.h"
#include "report/designer/FR_Newrp.h"
#include "report/designer/FR_Templ.h"
#include "report/designer/FR_pgopt.h"
#include "report/engine/FR_Class.h"
#include "report/engine/FR_Dock.h"
#include "report/engine/FR_Ctrls.h"
#include "report/engine/FR_Dict.h"
#include "report/engine/FR_Globals.h"
#include "report/engine/FR_Page.h"
#include "report/engine/FR_Prntr.h"
#include "report/engine/FR_SubReportView.h"
#include "report/engine/FR_Utils.h"

#include <QApplication>
#include <QCoreApplication>
#include <QCheckBox>
#include <QDir>
#include <QComboBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QMouseEvent>
#include <QRadioButton>
#include <cmath>
#include <functional>

QString TemplateDir;
bool LastCommandOk = false;

namespace {

// Value with 4 significant digits, or more where 4 would not read back as the
// same stored number, so that OK without edits changes nothing.
QString ShortestText(double Value, const std::function<bool(double)>& ReadsBack)
{
    QString Text;
    for (int Digits = 4; Digits <= 15; ++Digits) {
        Text = FloatToStrF(Value, TFloatFormat::ffGeneral, Digits, 0);
        if (ReadsBack(StrToFloatAnySep(Text)))
            break;
    }
    return Text;
}

// Millimetres of a page length in pixels, as the page options show them.
QString PixelsToMM(int Pixels)
{
    return ShortestText(Pixels * 5.0 / 18, [Pixels](double mm) { return std::nearbyint(mm * 18 / 5) == Pixels; });
}

// Page paper sizes in tenths of a millimetre as millimetres.
QString TenthsToMM(int Tenths)
{
    return ShortestText(Tenths / 10.0, [Tenths](double mm) { return std::nearbyint(mm * 10) == Tenths; });
}

bool ReadNumber(const QLineEdit* Edit, double& Value)
{
    try {
        Value = StrToFloatAnySep(Edit->text());
        return true;
    } catch (const Exception&) {
        return false;
    }
}

// Where Open and Save as start: the folder of the open template, else the
// program's templates beside it.
QString TemplatesFolder(const QString& FileName)
{
    const QFileInfo Info(FileName);
    if (Info.isAbsolute())
        return Info.absolutePath();
    return QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("Frf"));
}

// Every subreport view of the report whose page number Map changes.
void RenumberSubReports(TfrReport* Report, const std::function<int(int)>& Map)
{
    for (int p = 0; p < Report->Pages()->Count(); ++p) {
        TfrPage* Pg = Report->Pages()->Pages(p);
        for (int i = 0; i < Pg->Count(); ++i)
            if (auto* S = dynamic_cast<TfrSubReportView*>(Pg->Objects(i)))
                S->SetSubPage(Map(S->SubPage()));
    }
}

// Arms a drag on a left press over the page tabs and drops on release; a
// right press opens the page-tab menu.
class TTabDragFilter : public QObject
{
public:
    TTabDragFilter(TfrDesignerForm* ADesigner, QTabBar* ATabs) : QObject(ATabs), FDesigner(ADesigner) {}

    bool eventFilter(QObject* Watched, QEvent* Event) override
    {
        auto* Tabs = static_cast<QTabBar*>(Watched);
        switch (Event->type()) {
        case QEvent::MouseButtonPress: {
            auto* M = static_cast<QMouseEvent*>(Event);
            if (M->button() == Qt::LeftButton) {
                FArmed = true;
                FDragging = false;
                FStart = M->position().toPoint();
            }
            break;
        }
        case QEvent::MouseMove: {
            auto* M = static_cast<QMouseEvent*>(Event);
            if (FArmed && (M->position().toPoint() - FStart).manhattanLength() >= QApplication::startDragDistance())
                FDragging = true;
            break;
        }
        case QEvent::MouseButtonRelease: {
            auto* M = static_cast<QMouseEvent*>(Event);
            const bool Drop = FDragging;
            FArmed = FDragging = false;
            if (Drop) {
                FDesigner->Tab1DragDrop(M->position().toPoint().x(), M->position().toPoint().y());
                return true;
            }
            break;
        }
        default:
            break;
        }
        return QObject::eventFilter(Tabs, Event);
    }

private:
    TfrDesignerForm* FDesigner;
    QPoint FStart;
    bool FArmed = false;
    bool FDragging = false;
};

} // namespace

void TfrDesignerForm::BuildCommands()
{
    Tab1->installEventFilter(new TTabDragFilter(this, Tab1));
    const std::pair<TfrSpeedButton*, std::function<void()>> Clicks[] = {
        {FileBtn1, [this] { FileBtn1Click(); }}, {FileBtn2, [this] { FileBtn2Click(); }},
        {FileBtn3, [this] { FileBtn3Click(); }}, {FileBtn4, [this] { FileBtn4Click(); }},
        {PgB1, [this] { PgB1Click(); }},         {PgB2, [this] { PgB2Click(); }},
        {PgB3, [this] { PgB3Click(); }},         {PgB4, [this] { PgB4Click(); }},
        {GB1, [this] { SetShowGrid(GB1->Down()); }},
        {GB2, [this] { SetGridAlign(GB2->Down()); }},
        {HlB1, [this] { HlB1Click(); }},
        {HelpBtn, [this] { HelpBtnClick(); }},
    };
    for (const auto& [Button, Click] : Clicks)
        Button->OnClick = [Click](QObject*) { Click(); };
    const std::pair<TMenuItem*, std::function<void()>> Items[] = {
        {N23, [this] { N23Click(); }},     {N19, [this] { FileBtn2Click(); }}, {N20, [this] { FileBtn3Click(); }},
        {N17, [this] { N20Click(); }},     {N42, [this] { N42Click(); }},      {N8, [this] { N8Click(); }},
        {N25, [this] { PgB3Click(); }},    {N39, [this] { FileBtn4Click(); }}, {N29, [this] { PgB1Click(); }},
        {N15, [this] { PgB4Click(); }},    {N30, [this] { PgB2Click(); }},     {N14, [this] { N14Click(); }},
        {N34, [this] { N34Click(); }},     {N35, [this] { HelpBtnClick(); }},  {N6, [this] { N6Click(); }},
        {N36, [this] { N6Click(); }},
    };
    for (const auto& [Item, Click] : Items)
        Item->OnClick = [Click](QObject*) { Click(); };
    if (InsFieldsItem)
        InsFieldsItem->OnClick = [this](QObject*) { InsertFieldsClick(); };
    // There is no help file on this system.
    N22->SetEnabled(false);
    OnCloseQuery = [this](QObject*, bool& CanClose) { CanClose = FormCloseQuery(); };
    BuildFormatting();
    BuildMenuStyle();
}

// ---------------------------------------------------------------- pages

void TfrDesignerForm::PgB1Click()
{
    ResetSelection();
    TfrPages* Pages = CurReport->Pages();
    Pages->Add();
    Page = Pages->Pages(Pages->Count() - 1);
    Page->CreateUniqueName();
    PgB3Click();
    if (LastCommandOk) {
        SetModified(true);
        SetCurPage(Pages->Count() - 1);
    } else {
        // The page view must not reach the page it is showing once it is gone.
        Page = nullptr;
        Pages->Delete(Pages->Count() - 1);
        SetCurPage(CurPageIndex());
    }
}

void TfrDesignerForm::PgB4Click()
{
    TfrPages* Pages = CurReport->Pages();
    Pages->Add();
    TfrPage* New = Pages->Pages(Pages->Count() - 1);
    New->CreateUniqueName();
    New->PageType = ptDialog;
    SetModified(true);
    SetCurPage(Pages->Count() - 1);
}

void TfrDesignerForm::PgB2Click()
{
    TfrPages* Pages = CurReport->Pages();
    if (Pages->Count() <= 1)
        return;
    if (AskYesNo(LoadEngineString(55005), LoadEngineString(55006)) != mrYes)
        return;
    const int Index = CurPageIndex();
    SetModified(true);
    if (Index >= 0 && Index < Pages->Count() && Pages->Count() > 1) {
        ResetSelection();
        ReleasePage();
        Pages->Delete(Index);
        {
            const QSignalBlocker Block(Tab1);
            Tab1->removeTab(Index);
            Tab1->SetTabIndex(0);
        }
        // Subreports of the removed page go with it; later pages move down.
        for (int p = 0; p < Pages->Count(); ++p) {
            TfrPage* Pg = Pages->Pages(p);
            for (int i = Pg->Count() - 1; i >= 0; --i)
                if (auto* S = dynamic_cast<TfrSubReportView*>(Pg->Objects(i))) {
                    if (S->SubPage() == Index)
                        Pg->Delete(i);
                    else if (S->SubPage() > Index)
                        S->SetSubPage(S->SubPage() - 1);
                }
        }
        SetCurPage(0);
    } else {
        Page->Clear();
    }
    ClearUndoBuffer();
    ClearRedoBuffer();
}

void TfrDesignerForm::PgB3Click()
{
    LastCommandOk = false;
    if (!Page)
        return;
    TfrPrinter* Prn = frPrinter();
    TfrPgoptForm F;
    F.CB1->setChecked(Page->PrintToPrevPage != 0);
    F.CB5->setChecked(Page->UseMargins == 0);
    F.CB2->setChecked(UnlimitedHeight);
    (Page->Orientation != poPortrait ? F.RB2 : F.RB1)->setChecked(true);
    for (int i = 0; i < Prn->PaperNames.Count(); ++i) {
        F.ComB1->addItem(Prn->PaperNames.Strings(i));
        F.PaperCodes << (i < Prn->PaperCount ? Prn->PaperSizes[i] : frCustomPaper);
    }
    F.ComB1->setCurrentIndex(Prn->GetPaperIndex(Page->Size));
    if (Page->Size == frCustomPaper) {
        F.E1->setText(TenthsToMM(Page->Width));
        F.E2->setText(TenthsToMM(Page->Height));
    }
    for (int i = 0; i < Prn->BinNames.Count(); ++i)
        F.BinList->addItem(Prn->BinNames.Strings(i));
    F.BinList->setCurrentIndex(Prn->GetBinIndex(Page->Bin));
    F.E3->setText(PixelsToMM(Page->LeftMargin));
    F.E4->setText(PixelsToMM(Page->TopMargin));
    F.E5->setText(PixelsToMM(Page->RightMargin));
    F.E6->setText(PixelsToMM(Page->BottomMargin));
    F.E7->setText(PixelsToMM(Page->ColumnGap));
    F.Edit1->setText(QString::number(Page->Columns));
    F.ComB1Click();
    if (F.ShowModal() != mrOk)
        return;

    // Every box is read before anything is stored, so that a bad entry
    // leaves the page as it was.
    bool ColumnsOk = false;
    TfrPageLayout L;
    L.Columns = F.Edit1->text().trimmed().toInt(&ColumnsOk);
    if (!ColumnsOk) {
        ShowError(QStringLiteral("'%1' is not a valid integer value").arg(F.Edit1->text()));
        return;
    }
    // Lengths far beyond any paper read as -1, which the layout check refuses.
    const auto Whole = [](double Value) {
        return Value >= 0 && Value <= 1e6 ? static_cast<int>(std::nearbyint(Value)) : -1;
    };
    const int PaperIndex = F.ComB1->currentIndex();
    L.Size = PaperIndex >= 0 && PaperIndex < F.PaperCodes.size() ? F.PaperCodes[PaperIndex] : Page->Size;
    if (L.Size == frCustomPaper) {
        double W = 0, H = 0;
        if (!ReadNumber(F.E1, W) || !ReadNumber(F.E2, H)) {
            frShowError(LoadEngineString(55680));
            return;
        }
        L.Width = Whole(W * 10);
        L.Height = Whole(H * 10);
    }
    // A margin that is not a number, or is negative, sets all five to 0.
    {
        const QLineEdit* Edits[5] = {F.E3, F.E4, F.E5, F.E6, F.E7};
        bool Ok = true;
        int Read[5];
        for (int i = 0; i < 5 && Ok; ++i) {
            double mm = 0;
            Ok = ReadNumber(Edits[i], mm) && mm >= 0;
            Read[i] = Ok ? Whole(mm * 18 / 5) : 0;
        }
        if (Ok) {
            std::copy(Read, Read + 4, L.Margins);
            L.ColumnGap = Read[4];
        }
    }
    L.UseMargins = !F.CB5->isChecked();
    L.Landscape = F.RB2->isChecked();
    if (const QString Error = frPageLayoutError(L); !Error.isEmpty()) {
        frShowError(Error);
        return;
    }
    const int BinIndex = F.BinList->currentIndex();
    const int Bin = BinIndex >= 0 && BinIndex < Prn->BinCount ? Prn->Bins[BinIndex] : Page->Bin;

    SetModified(true);
    LastCommandOk = true;
    Page->PrintToPrevPage = F.CB1->isChecked() ? -1 : 0;
    Page->UseMargins = F.CB5->isChecked() ? 0 : -1;
    UnlimitedHeight = F.CB2->isChecked();
    const TPrinterOrientation Orientation = F.RB1->isChecked() ? poPortrait : poLandscape;
    Page->LeftMargin = L.Margins[0];
    Page->TopMargin = L.Margins[1];
    Page->RightMargin = L.Margins[2];
    Page->BottomMargin = L.Margins[3];
    Page->ColumnGap = L.ColumnGap;
    Page->Columns = L.Columns;
    Page->ChangePaper(L.Size, L.Width, L.Height, Bin, Orientation);
    SetCurPage(CurPageIndex());
}

QString TfrDesignerForm::PageTabName(int Index) const
{
    for (int p = 0; p < CurReport->Pages()->Count(); ++p) {
        TfrPage* Pg = CurReport->Pages()->Pages(p);
        for (int i = 0; i < Pg->Count(); ++i)
            if (auto* S = dynamic_cast<TfrSubReportView*>(Pg->Objects(i)); S && S->SubPage() == Index)
                return S->Name();
    }
    return LoadEngineString(55004) + QString::number(Index + 1);
}

void TfrDesignerForm::MovePage(int From, int To)
{
    TfrPages* Pages = CurReport->Pages();
    if (From == To || From < 0 || To < 0 || From >= Pages->Count() || To >= Pages->Count())
        return;
    // Subreports keep showing the same pages: the moved one is parked on -1
    // while the pages between step towards its old place.
    RenumberSubReports(CurReport, [From](int n) { return n == From ? -1 : n; });
    const int Step = From < To ? -1 : 1;
    RenumberSubReports(CurReport, [=](int n) {
        return (From < To ? n > From && n <= To : n >= To && n < From) ? n + Step : n;
    });
    RenumberSubReports(CurReport, [To](int n) { return n == -1 ? To : n; });
    ResetSelection();
    Page = nullptr;
    Pages->Move(From, To);
    ClearUndoBuffer();
    ClearRedoBuffer();
    SetModified(true);
    SetCurPage(To);
    RedrawPage();
}

void TfrDesignerForm::Tab1DragDrop(int X, int Y)
{
    const int Target = Tab1->tabAt(QPoint(X, Y));
    if (Target >= 0 && Target != CurPageIndex())
        MovePage(CurPageIndex(), Target);
}

// ---------------------------------------------------------------- files

int TfrDesignerForm::AskSave()
{
    TMessageRequest M;
    M.Caption = LoadEngineString(55006);
    M.Text = LoadEngineString(55306) + u' ' + LoadEngineString(55336) + u' ' + QFileInfo(FileName()).fileName()
             + u'?';
    M.Icon = miQuestion;
    M.Buttons = {mrYes, mrNo, mrCancel};
    M.DefaultButton = mrYes;
    return TModalSeam::Ask(M);
}

// Asks about unsaved work: False when the user cancelled or the save failed.
bool TfrDesignerForm::SaveBeforeLeaving()
{
    if (!GetModified())
        return true;
    const int Answer = AskSave();
    if (Answer == mrCancel)
        return false;
    if (Answer == mrYes) {
        FileBtn3Click();
        return LastCommandOk;
    }
    return true;
}

bool TfrDesignerForm::LoadKeepingReport(const QString& Name, const std::function<bool()>& Load)
{
    // The report as it stands, to come back to when the file cannot be used:
    // without it a failed load would leave an empty report named after the
    // file, and the next Save would write it over the template.
    TfrReport* R = CurReport;
    TMemoryStream Kept;
    const TDateTime LastChange = R->ReportLastChange;
    const QChar Mark = R->ReportMark;
    // The load clears it before it can fail.
    const bool ViewsSkipped = R->ViewsSkipped();
    R->SaveToStream(Kept);
    const std::vector<std::vector<int32_t>> IDs = R->Pages()->ViewIDs();
    R->ReportLastChange = LastChange;
    const QString KeptName = R->FileName();
    const bool KeptModified = GetModified();
    const int KeptPage = CurPageIndex();
    ResetSelection();
    ReleasePage();
    PageView->setUpdatesEnabled(false);
    bool Ok = false;
    try {
        Ok = Load();
    } catch (const Exception&) {
        Ok = false;
    }
    if (!Ok) {
        R->RestoreForm(Kept, ViewsSkipped);
        // The same views as before, for the undo history.
        R->Pages()->SetViewIDs(IDs);
        R->ReportLastChange = LastChange;
        R->ReportMark = Mark;
        R->SetFileName(KeptName);
        PageView->setUpdatesEnabled(true);
        SetCurPage(std::min(KeptPage, R->Pages()->Count() - 1));
        SetModified(KeptModified);
        frShowError(QStringLiteral("Cannot open \"%1\".").arg(Name));
        return false;
    }
    PageView->setUpdatesEnabled(true);
    return true;
}

void TfrDesignerForm::FileBtn1Click()
{
    if (!SaveBeforeLeaving())
        return;
    ClearUndoBuffer();
    ClearRedoBuffer();
    ResetSelection();
    ReleasePage();
    CurReport->Clear();
    CurReport->Pages()->Add();
    CurReport->Pages()->Pages(0)->CreateUniqueName();
    SetCurPage(0);
    SetFileName(LoadEngineString(55209));
    SetModified(false);
    CurReport->SetChangedInDesigner(true);
    if (frInsFieldsForm)
        frInsFieldsForm->RefreshData();
}

void TfrDesignerForm::N23Click()
{
    // Unsaved work is asked about first, as New does.
    if (!SaveBeforeLeaving())
        return;
    TfrTemplForm F;
    if (F.ShowModal() != mrOk || F.TemplName().isEmpty())
        return;
    const QString Name = F.TemplName();
    if (!LoadKeepingReport(Name, [&] { return CurReport->LoadTemplate(Name, nullptr, nullptr, true); }))
        return;
    ClearUndoBuffer();
    ClearRedoBuffer();
    SetFileName(LoadEngineString(55209));
    SetModified(false);
    SetCurPage(0);
}

void TfrDesignerForm::FileBtn2Click()
{
    if (!SaveBeforeLeaving())
        return;
    OpenDialog1->SetFilter(LoadEngineString(55213) + QStringLiteral(" (*.frf)|*.frf|") + LoadEngineString(55215)
                           + QStringLiteral(" (*.frd)|*.frd"));
    OpenDialog1->SetFilterIndex(1);
    OpenDialog1->SetInitialDir(TemplatesFolder(FileName()));
    if (!OpenDialog1->Execute())
        return;
    const QString Name = OpenDialog1->FileName();
    if (OpenDialog1->FilterIndex() != 1) {
        try {
            CurReport->Dictionary()->LoadFromFile(Name);
        } catch (const Exception&) {
            frShowError(QStringLiteral("Cannot open \"%1\".").arg(Name));
        }
        return;
    }
    if (!LoadKeepingReport(Name, [&] { return CurReport->LoadFromFile(Name); }))
        return;
    ClearUndoBuffer();
    ClearRedoBuffer();
    SetFileName(Name);
    // Views of classes not registered here were left out: saving over the
    // file would drop them for good.
    FAskNameOnSave = CurReport->ViewsSkipped();
    SetModified(false);
    CurReport->SetChangedInDesigner(true);
    SetCurPage(0);
    if (frInsFieldsForm)
        frInsFieldsForm->RefreshData();
}

void TfrDesignerForm::FileBtn3Click()
{
    if (FileName() == LoadEngineString(55209) || FAskNameOnSave) {
        N20Click();
        return;
    }
    LastCommandOk = SaveReportAs(1, FileName());
    if (LastCommandOk)
        SetModified(false);
}

bool TfrDesignerForm::SaveReportAs(int FilterIndex, const QString& Name)
{
    // Every writer makes the whole file before it replaces the old one, so a
    // failure leaves the old file whole; it is reported here, naming the file.
    try {
        switch (FilterIndex) {
        case 2:
            CurReport->SaveToFR3File(Name);
            break;
        case 4:
            CurReport->Dictionary()->SaveToFile(Name);
            break;
        default:
            CurReport->SaveToFile(Name);
            break;
        }
    } catch (const Exception& E) {
        frShowError(QStringLiteral("Cannot save \"%1\": %2").arg(Name, E.Message()));
        return false;
    }
    return true;
}

void TfrDesignerForm::N20Click()
{
    LastCommandOk = false;
    SaveDialog1->SetFilter(LoadEngineString(55213) + QStringLiteral(" (*.frf)|*.frf|") + LoadEngineString(55481)
                           + QStringLiteral(" (*.fr3)|*.fr3|") + LoadEngineString(55214)
                           + QStringLiteral(" (*.frt)|*.frt|") + LoadEngineString(55215)
                           + QStringLiteral(" (*.frd)|*.frd"));
    SaveDialog1->SetFileName(FileName());
    // The template open here is written over without a question, unless
    // writing it would lose what it holds.
    SaveDialog1->SetOwnFile(FAskNameOnSave ? QString() : FileName());
    SaveDialog1->SetFilterIndex(1);
    SaveDialog1->SetInitialDir(TemplatesFolder(FileName()));
    if (!SaveDialog1->Execute())
        return;
    const int Index = SaveDialog1->FilterIndex();
    const char* const Extensions[] = {".frf", ".fr3", ".frt", ".frd"};
    const int Kind = Index >= 1 && Index <= 4 ? Index : 1;
    QString Name = AddFileExt(SaveDialog1->FileName(), QString::fromLatin1(Extensions[Kind - 1]));
    switch (Kind) {
    case 1:
    case 2:
        if (SaveReportAs(Kind, Name)) {
            SetFileName(Name);
            LastCommandOk = true;
            // The designer cannot open the XML form: the report counts as
            // saved only once it goes to a form file.
            FAskNameOnSave = Kind == 2;
        }
        break;
    case 3: {
        if (!TemplateDir.isEmpty())
            Name = QDir(TemplateDir).filePath(QFileInfo(Name).fileName());
        TfrTemplNewForm F;
        if (F.ShowModal() != mrOk)
            break;
        TStringList Comment;
        Comment.SetText(F.Memo1->toPlainText());
        const TPicture* P = F.Image1->Picture();
        const QImage Picture = P->Empty() ? QImage() : P->Graphic()->ToImage();
        try {
            CurReport->SaveTemplate(Name, &Comment, &Picture);
            LastCommandOk = true;
        } catch (const Exception& E) {
            frShowError(QStringLiteral("Cannot save \"%1\": %2").arg(Name, E.Message()));
        }
        break;
    }
    case 4:
        // The dictionary is not the report: its state stays as it was.
        SaveReportAs(4, Name);
        return;
    }
    if (LastCommandOk && Kind != 2)
        SetModified(false);
}

void TfrDesignerForm::FileBtn4Click()
{
    TfrReport* R = CurReport;
    const bool KeptModal = R->ModalPreview();
    R->SetModalPreview(true);
    Application()->ProcessMessages();
    PageView->DrawSelected(1);
    UnselectAll();
    RedrawPage();
    // The preparation frees every page and view and reads them anew, and the
    // preview may edit a page in a designer of its own: the inspector stays
    // beside them and must hold none of them meanwhile.
    ReleasePage();
    PageView->setUpdatesEnabled(false);
    if (InspForm)
        InspForm->SetHideProperties(true);
    const auto Resume = [&] {
        R->SetModalPreview(KeptModal);
        PageView->setUpdatesEnabled(true);
        if (InspForm)
            InspForm->SetHideProperties(false);
        SetCurPage(CurPageIndex());
    };
    try {
        // A report that could not be prepared has nothing to show.
        if (R->PrepareReport()) {
            R->SetPreview(nullptr);
            R->ShowPreparedReport();
        }
    } catch (...) {
        Resume();
        throw;
    }
    Resume();
    SelectionChanged();
    InstallEditorHooks();
    Screen()->SetCursor(crDefault);
}

bool TfrDesignerForm::FormCloseQuery()
{
    if (!CurReport || !GetModified() || !Flag())
        return true;
    switch (AskSave()) {
    case mrNo:
        SetModalResult(mrCancel);
        return true;
    case mrYes:
        FileBtn3Click();
        return LastCommandOk;
    default:
        return false;
    }
}
