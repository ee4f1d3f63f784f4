// The preparation driver: the template is kept aside, the report's pages are
// set up and formed in one pass, or two when the report counts its pages
// first, inside the progress window when it shows one, and the template is
// put back whatever happened. An error while forming is reported once and
// drops the pages.
#include "report/engine/FR_Class.h"

#include "platform/rtl/Streams.h"
#include "report/engine/FR_Band.h"
#include "report/engine/FR_BandView.h"
#include "report/engine/FR_Dict.h"
#include "report/engine/FR_EMFPages.h"
#include "report/engine/FR_Globals.h"
#include "report/engine/FR_Page.h"
#include "report/engine/FR_Pars.h"
#include "report/engine/FR_Prepare.h"
#include "report/engine/FR_Progress.h"
#include "report/engine/FR_Utils.h"
#include "report/engine/FR_View.h"

#include <QCoreApplication>
#include <QLabel>

namespace {

// The data sets behind the report's Dataset and behind every band view's
// data source, for the form extension.
void PrepareExtensionDataSets(TfrReport* Report)
{
    auto Prepare = [](TfrDataset* Source) {
        if (auto* DB = qobject_cast<TfrDBDataSet*>(Source))
            if (TDataSet* D = DB->GetDataSet())
                frFormExtension->PrepareDataSet(D);
    };
    Prepare(Report->Dataset());
    for (int p = 0; p < Report->Pages()->Count(); ++p) {
        TfrPage* Page = Report->Pages()->Pages(p);
        for (int i = 0; i < Page->Count(); ++i)
            if (auto* BV = dynamic_cast<TfrBandView*>(Page->Objects(i)))
                if (!BV->DataSet().isEmpty() && !BV->DataSet().contains(u';'))
                    Prepare(qobject_cast<TfrDataset*>(FindReportComponent(BV->DataSet())));
    }
}

} // namespace

void TfrPages::ResetBandAlign()
{
    TfrPage* SavedPage = CurPage;
    for (const auto& Page : FPages) {
        CurPage = Page.get();
        for (int i = 0; i < Page->Count(); ++i)
            if (Page->Objects(i)->BandAlign() != baNone)
                Page->Objects(i)->ApplyBandAlign(TempBmp()->Canvas());
    }
    CurPage = SavedPage;
    CurView = nullptr;
}

std::vector<std::vector<int32_t>> TfrPages::ViewIDs() const
{
    std::vector<std::vector<int32_t>> IDs;
    for (const auto& Page : FPages) {
        IDs.emplace_back();
        for (int i = 0; i < Page->Count(); ++i)
            IDs.back().push_back(Page->Objects(i)->ID());
    }
    return IDs;
}

void TfrPages::SetViewIDs(const std::vector<std::vector<int32_t>>& IDs)
{
    if (IDs.size() != FPages.size())
        return;
    for (size_t p = 0; p < IDs.size(); ++p)
        if (static_cast<int>(IDs[p].size()) != FPages[p]->Count())
            return;
    for (size_t p = 0; p < IDs.size(); ++p)
        for (int i = 0; i < FPages[p]->Count(); ++i)
            FPages[p]->Objects(i)->SetID(IDs[p][i]);
}

// ---------------------------------------------------------------- PrepareReport

bool TfrReport::PrepareReport()
{
    SetPrinterName(FPrinterName);
    DocMode = dmPrinting;
    ReportTime = Now();
    ReportDate = Date();
    CurReport = this;
    MasterReport = this;
    FPages->ResetBandAlign();
    CurPage = nullptr;
    CurBand = nullptr;
    FSavedDoublePass = FDoublePass != 0;
    // A single pass knows no page count; another report's must not show.
    if (!FSavedDoublePass)
        TotalPages = 0;
    InstallParserCallbacks();
    frErrorFlag = false;
    frErrorText.clear();

    // Scripts and events may change views and pages; the copy puts them back.
    const TDateTime SavedLastChange = ReportLastChange;
    const QChar SavedMark = ReportMark;
    TMemoryStream Template;
    SaveToStream(Template);
    const std::vector<std::vector<int32_t>> IDs = FPages->ViewIDs();

    bool Result = true;
    // What stopped an earlier run is over. The application's OnBeginDoc may
    // stop this one before anything is formed, when it has nothing to print
    // (and has said so): no pages and no error.
    FTerminated = false;
    bool Refused = false;
    try {
        if (OnBeginDoc)
            OnBeginDoc();
        Refused = FTerminated;
        if (Refused)
            Result = false;
        if (Result && frFormExtension) {
            frFormExtension->BeforePrepare();
            PrepareExtensionDataSets(this);
            frFormExtension->AfterPrepare();
            Result = frFormExtension->Ready();
        }
        if (Result)
            Result = DoPrepareReport();
        if (OnEndDoc)
            OnEndDoc();
    } catch (const Exception& E) {
        ReportCalcError(E);
    } catch (const std::exception& E) {
        ReportCalcError(Exception(QString::fromLocal8Bit(E.what())));
    }
    const bool ErrorFlag = frErrorFlag;
    const QString ErrorText = frErrorText;

    RestoreForm(Template, FViewsSkipped);
    FPages->SetViewIDs(IDs);
    ReportLastChange = SavedLastChange;
    ReportMark = SavedMark;
    DocMode = dmPrinting;
    CurReport = this;
    MasterReport = this;
    frResetFormingState();
    frErrorFlag = ErrorFlag;
    frErrorText = ErrorText;

    // A run stopped by its template without a progress window still ran to
    // its end; in the window Cancel answers already.
    FFinalPass = false;
    if (FDialogCancelled)
        Result = false;
    if (ErrorFlag) {
        frShowError(ErrorText);
        FEMFPages->Clear();
        Result = false;
    } else if (FDialogCancelled || Refused) {
        FEMFPages->Clear();
    }
    return Result;
}

bool TfrReport::DoPrepareReport()
{
    bool Result = true;
    FTerminated = false;
    AppendPage = false;
    DisableDrawing = false;
    FFinalPass = true;
    PageNo = 0;
    FEMFPages->Clear();
    QString Caption = LoadEngineString(55203);
    if (!FTitle.isEmpty())
        Caption += QStringLiteral(" - ") + FTitle;
    const bool Window = FShowProgress && !OnProgress;
    TfrProgressForm* Progress = Window ? frProgressForm() : nullptr;
    auto ShowWindow = [&](int PrefixId) {
        Progress->SetCaption(Caption);
        Progress->FirstCaption = LoadEngineString(PrefixId);
        Progress->Label1->setText(Progress->FirstCaption + QStringLiteral("  1"));
        Progress->OnBeforeModal = [this] { RunPass(); };
        return Progress->Show(this) != mrCancel;
    };
    if (FDoublePass != 0) {
        DisableDrawing = true;
        FFinalPass = false;
        if (Progress)
            Result = ShowWindow(55204);
        else
            RunPass();
    } else if (!Progress) {
        FDoublePass = FSavedDoublePass ? -1 : 0;
        RunPass();
    } else if (FSavedDoublePass) {
        // The final pass of two: the window is showing already.
        Progress->FirstCaption = LoadEngineString(55205);
        Progress->Label1->setText(Progress->FirstCaption + QStringLiteral("  1"));
        FDoublePass = -1;
        RunPass();
    } else {
        TotalPages = 0;
        Result = ShowWindow(55205);
    }
    return Result;
}

void TfrReport::RunPass()
{
    TfrProgressForm* Progress = FShowProgress && !OnProgress ? frProgressForm() : nullptr;
    auto Close = [&](TModalResult Result) {
        if (Progress && Progress->isVisible())
            Progress->SetModalResult(Result);
    };
    try {
        BuildReport();
    } catch (const Exception& E) {
        // Inside the progress window's posted call nothing may escape.
        ReportCalcError(E);
    } catch (const std::exception& E) {
        ReportCalcError(Exception(QString::fromLocal8Bit(E.what())));
    }
    if (FFinalPass) {
        Close(FTerminated ? mrCancel : mrOk);
        return;
    }
    TotalPages = FEMFPages->Count();
    FDoublePass = 0;
    if (FTerminated) {
        FEMFPages->Clear();
        Close(mrCancel);
    } else {
        DoPrepareReport();
    }
    FDoublePass = -1;
}

// ---------------------------------------------------------------- BuildReport

void TfrReport::BuildReport()
{
    QCoreApplication::processEvents();
    FCanRebuild = true;
    DocMode = dmPrinting;
    CurReport = this;
    FDictionary->ClearCache();
    InstallParserCallbacks();
    frErrorFlag = false;

    const bool PerRecord = FDataset && FReportType == rtMultiple;
    if (PerRecord) {
        FDataset->Init();
        FDataset->First();
    }
    const bool FirstOrOnly = !(FDoublePass != 0 && FFinalPass);
    if (FirstOrOnly) {
        frMemoHookViews.clear();
        for (int i = 0; i < FPages->Count(); ++i)
            FPages->Pages(i)->IsSubReportPage = false;
        FDialogCancelled = false;
    }

    auto Done = [this] {
        for (int i = 0; i < FPages->Count(); ++i)
            if (FPages->Pages(i)->PageType == ptReport)
                FPages->Pages(i)->DoneReport();
        for (int i = 0; i < FPages->Count(); ++i)
            if (FPages->Pages(i)->PageType == ptDialog)
                FPages->Pages(i)->DoneReport();
    };
    try {
        for (int i = 0; i < FPages->Count() && !FDialogCancelled; ++i)
            if (FPages->Pages(i)->PageType == ptDialog)
                FPages->Pages(i)->InitReport();
        if (!FDialogCancelled) {
            if (FirstOrOnly && OnBeforeBuild)
                OnBeforeBuild();
            SuppressErrors = true;
            for (int i = 0; i < FPages->Count(); ++i)
                if (FPages->Pages(i)->PageType == ptReport)
                    FPages->Pages(i)->InitReport();
            for (int i = 0; i < FPages->Count(); ++i)
                if (FPages->Pages(i)->PageType == ptReport)
                    FPages->Pages(i)->PrepareObjects();
            SuppressErrors = false;
            for (;;) {
                FormReportPages();
                if (!PerRecord)
                    break;
                FDataset->Next();
                if (FTerminated || FDataset->Eof())
                    break;
            }
            Done();
        }
    } catch (...) {
        SuppressErrors = false;
        try {
            Done();
        } catch (...) {
        }
        if (PerRecord)
            FDataset->Exit();
        throw;
    }
    if (PerRecord)
        FDataset->Exit();
    if (frFormExtension && FFinalPass)
        frFormExtension->AfterPrepare();
}

void TfrReport::FormReportPages()
{
    ReportProgress(PageNo + 1);
    for (int i = 0; i < FPages->Count(); ++i) {
        TfrPage* Page = FPages->Pages(i);
        FFormingPage = Page;
        CurPage = Page;
        if (!Page->Visible)
            ExecuteScript(Page->Script);
        if (Page->IsSubReportPage || Page->PageType == ptDialog || !Page->Visible)
            continue;
        Page->CrossMaxCount = 0;
        Page->FormPage();
        AppendPage = false;
        if (i + 1 < FPages->Count() && FPages->Pages(i + 1)->PrintToPrevPage > 0) {
            --PageNo;
            AppendPage = true;
        }
        if (!AppendPage) {
            PageNo = MasterReport->EMFPages()->Count();
            ReportProgress(PageNo);
        }
        if (MasterReport->Terminated())
            break;
    }
    ReportProgress(PageNo);
}

// ---------------------------------------------------------------- progress and errors

void TfrReport::ReportProgress(int n)
{
    if (OnProgress) {
        OnProgress(n);
        return;
    }
    if (!FShowProgress)
        return;
    TfrProgressForm* Progress = frProgressForm();
    QString Text = Progress->FirstCaption + QStringLiteral("  ") + QString::number(n);
    if ((MasterReport && MasterReport->DoublePass() && MasterReport->FinalPass()) || FExportFilter)
        Text += u' ' + LoadEngineString(55199) + u' ' + QString::number(TotalPages);
    Progress->Label1->setText(Text);
    QCoreApplication::processEvents();
    // The close box ends the window as Cancel does.
    if (Progress->isVisible() && Progress->ModalResult() == mrCancel && MasterReport)
        MasterReport->SetTerminated(true);
}

void TfrReport::ReportCalcError(const Exception& E)
{
    // Only the first error of a run is worth telling.
    if (frErrorFlag) {
        if (MasterReport)
            MasterReport->SetTerminated(true);
        FTerminated = true;
        return;
    }
    frErrorFlag = true;
    QString Text = LoadEngineString(55200);
    QString Object;
    if (CurView) {
        for (int i = 0; i < CurView->Memo()->Count(); ++i)
            Text += u'\r' + CurView->Memo()->Strings(i);
        Object = LoadEngineString(55202) + u' ' + CurView->Name() + u'\r';
    }
    frErrorText = Text + QStringLiteral("\r\r") + LoadEngineString(55201) + u' ' + Name() + u'\r' + Object + u'\r' +
                  E.Message();
    if (MasterReport)
        MasterReport->SetTerminated(true);
    FTerminated = true;
}

// ---------------------------------------------------------------- showing

void TfrReport::ShowReport()
{
    // Prepared once more, as the business windows expect. The answer is not
    // asked: a stopped run shows the pages it formed, while a failed run or
    // a cancelled dialog page leaves none to show.
    PrepareReport();
    ShowPreparedReport();
}

// ---------------------------------------------------------------- event adapters

void TfrReport::DoBeginColumn(TfrBand* Band)
{
    if (OnBeginColumn)
        OnBeginColumn(Band);
}

void TfrReport::DoPrintColumn(int ColNo, int& Width)
{
    if (OnPrintColumn)
        OnPrintColumn(ColNo, Width);
}
