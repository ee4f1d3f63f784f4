// The report's prepared pages: the prepared report file, printing through the
// engine printer, editing one prepared page in the designer, and export.
#include "report/engine/FR_Class.h"

#include "platform/gui/ModalSeam.h"
#include "platform/gui/Printers.h"
#include "platform/rtl/Streams.h"
#include "report/engine/FR_ClassDesigner.h"
#include "report/engine/FR_EMFPages.h"
#include "report/engine/FR_Export.h"
#include "report/engine/FR_Globals.h"
#include "report/engine/FR_Page.h"
#include "report/engine/FR_Preview.h"
#include "report/engine/FR_Prntr.h"
#include "report/engine/FR_Utils.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QSaveFile>

namespace {

bool SamePaper(const TfrPrinter* Prn, const TfrPageInfo& Info)
{
    return Prn->PaperSize == Info.PaperSize && Prn->PaperWidth == Info.PaperWidth &&
           Prn->PaperHeight == Info.PaperHeight && Prn->Orientation == Info.PaperOrientation;
}

} // namespace

int TfrReport::PreparedPageCount() const
{
    return FEMFPages->Count();
}

// ---------------------------------------------------------------- the file

bool TfrReport::LoadPreparedReport(const QString& AFileName)
{
    const QString SavedPrinter = FPrinterName;
    const QChar SavedMark = ReportMark;
    TfrEMFPages Read(this);
    try {
        TMemoryStream Stream;
        Stream.LoadFromFile(AFileName);
        Read.LoadPreparedPages(Stream);
    } catch (const Exception& E) {
        // A damaged file changes nothing: the pages shown stay.
        SetPrinterName(SavedPrinter);
        ReportMark = SavedMark;
        frShowError(QStringLiteral("Cannot read the prepared report \"%1\".").arg(AFileName) + QChar(13) +
                    E.Message());
        return false;
    }
    FEMFPages->TakeFrom(Read);
    FCanRebuild = false;
    return true;
}

void TfrReport::SavePreparedReport(const QString& AFileName)
{
    TMemoryStream Stream;
    FEMFPages->SavePreparedPages(Stream);
    QSaveFile File(AFileName);
    if (!File.open(QIODevice::WriteOnly) || File.write(Stream.Data()) != Stream.Size() || !File.commit())
        throw EWriteError(QStringLiteral("Cannot create file \"%1\"").arg(AFileName));
}

// ---------------------------------------------------------------- preview

void TfrReport::ShowPreparedReport()
{
    CurReport = this;
    MasterReport = this;
    DocMode = dmPrinting;
    CurBand = nullptr;
    if (PreparedPageCount() == 0)
        return;
    QString Caption = LoadEngineString(55207);
    if (!FTitle.isEmpty())
        Caption += QStringLiteral(" - ") + FTitle;
    if (auto* Panel = dynamic_cast<TfrPreview*>(FPreview.data())) {
        Panel->Connect(this);
        return;
    }
    // An MDI child is a normal window here. The window frees itself when
    // closed; a modal one is freed once it returns.
    auto Form = std::make_unique<TfrPreviewForm>();
    Form->SetCaption(Caption);
    if (FModalPreview)
        Form->ShowReport(this);
    else
        Form.release()->ShowReport(this);
    QCoreApplication::processEvents();
}

// ---------------------------------------------------------------- printing

void TfrReport::PrintPreparedReport(const QString& PageNumbers, int Copies, bool Collate,
                                    uint8_t PrintPages)
{
    FPrintPageList = PageNumbers;
    FPrintCopies = Copies < 1 ? 1 : Copies;
    FPrintCollate = Collate;
    FPrintPagesKind = PrintPages;
    if (PreparedPageCount() == 0)
        return;
    CurReport = this;
    MasterReport = this;
    DocMode = dmPrinting;
    TfrPrinter* Prn = frPrinter();
    TPrinter* Platform = Prn->Printer();
    if (!Platform)
        return;
    const QStringList Pages = frParsePageNumbers(PageNumbers, PreparedPageCount());
    // A list that selects no page ("5-2", "a"), or a parity that leaves none,
    // prints nothing rather than everything.
    const bool All = QString(PageNumbers).remove(u' ').isEmpty();
    bool Any = false;
    for (int i = 0; i < PreparedPageCount() && !Any; ++i) {
        const bool Listed = All || Pages.contains(QString::number(i + 1));
        const bool Parity = PrintPages == 0 || (PrintPages == 1) == ((i + 1) % 2 == 1);
        Any = Listed && Parity;
    }
    if (!Any)
        return;
    TfrPageInfo& First = *FEMFPages->Items(0);
    Prn->SetPaper(First.PaperSize, First.PaperWidth, First.PaperHeight, First.PaperBin, First.PaperOrientation,
                  false);
    Prn->GetPrintableArea(First.PagePrnInfo);
    Platform->SetTitle(FTitle.isEmpty() ? LoadEngineString(55209) : FTitle);
    if (OnPrintReport)
        OnPrintReport();
    Platform->SetCopies(Collate ? 1 : FPrintCopies);
    try {
        Platform->BeginDoc();
    } catch (const Exception& E) {
        frShowError(E.Message());
        return;
    }
    FFirstPageOfJob = true;
    // Uncollated copies a file cannot make: each page goes in as often.
    const int Sheets = Collate || Platform->MakesCopies() ? 1 : FPrintCopies;
    try {
        for (int Run = 0; Run < (Collate ? FPrintCopies : 1); ++Run) {
            for (int i = 0; i < PreparedPageCount(); ++i) {
                if (!Pages.isEmpty() && !Pages.contains(QString::number(i + 1)))
                    continue;
                for (int Sheet = 0; Sheet < Sheets; ++Sheet) {
                    PrintOnePage(i);
                    if (FTerminated) {
                        Platform->Abort();
                        return;
                    }
                }
            }
        }
    } catch (const Exception& E) {
        Platform->Abort();
        frShowError(E.Message());
        return;
    }
    Platform->EndDoc();
}

void TfrReport::PrintOnePage(int Index)
{
    if ((FPrintPagesKind == 1 && (Index + 1) % 2 == 0) || (FPrintPagesKind == 2 && (Index + 1) % 2 == 1))
        return;
    TfrPrinter* Prn = frPrinter();
    TPrinter* Platform = Prn->Printer();
    TfrPageInfo& Info = *FEMFPages->Items(Index);
    if (!SamePaper(Prn, Info)) {
        if (Prn->IsVirtual()) {
            // One PDF file: the next sheet takes the page's own size.
            TDeviceMode Mode;
            Platform->GetDeviceMode(Mode);
            Mode.Fields |= dmfPaperLength | dmfPaperWidth;
            Mode.PaperSize = dmpCustom;
            Mode.Orientation = dmoPortrait;
            Mode.PaperWidth = Info.PaperWidth;
            Mode.PaperLength = Info.PaperHeight;
            Platform->SetDeviceMode(Mode);
            Prn->PaperSize = Info.PaperSize;
            Prn->PaperWidth = Info.PaperWidth;
            Prn->PaperHeight = Info.PaperHeight;
            Prn->Orientation = Info.PaperOrientation;
            if (!FFirstPageOfJob)
                Platform->NewPage();
        } else {
            Platform->EndDoc();
            Prn->SetPaper(Info.PaperSize, Info.PaperWidth, Info.PaperHeight, Info.PaperBin, Info.PaperOrientation,
                          true);
            Platform->BeginDoc();
        }
    } else if (!FFirstPageOfJob) {
        Platform->NewPage();
    }
    FFirstPageOfJob = false;
    // The page's paper in device pixels, its corner on the sheet's corner.
    const double kx = Platform->DpiX() / frPaperPixelsPerInch;
    const double ky = Platform->DpiY() / frPaperPixelsPerInch;
    const QRect Sheet(QPoint(-Platform->PhysicalOffsetX(), -Platform->PhysicalOffsetY()),
                      QSize(static_cast<int>(RoundHalfEven(Info.PagePrnInfo.PaperWidthPx * kx)),
                            static_cast<int>(RoundHalfEven(Info.PagePrnInfo.PaperHeightPx * ky))));
    Info.OnScreen = true;
    FEMFPages->Draw(Index, Platform->Canvas(), Sheet);
    Info.OnScreen = false;
    FEMFPages->Draw(Index, Platform->Canvas(), QRect());
    if (OnProgress)
        OnProgress(Index + 1);
    QCoreApplication::processEvents();
}

// ---------------------------------------------------------------- editing and export

void TfrReport::EditPreparedPage(int Index)
{
    if (!DesignerClass || Index < 0 || Index >= PreparedPageCount())
        return;
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    if (frDesigner)
        frDesigner->Page = nullptr;
    // The page's designer starts unmodified on this report; the template it
    // gives back is the caller's, with the caller's unsaved changes.
    const bool WasModified = Modified();
    std::unique_ptr<TfrReportDesigner> Designer(DesignerClass(0));
    TMemoryStream Template;
    SaveToStream(Template);
    FPages->Clear();
    FEMFPages->ObjectsToPage(Index);
    TfrPageInfo& Info = *FEMFPages->Items(Index);
    FPages->Insert(0, std::move(Info.PageObject));
    CurReport = this;
    QGuiApplication::restoreOverrideCursor();
    if (Designer) {
        TfrReportDesigner* Saved = frDesigner;
        frDesigner = Designer.get();
        Designer->ShowModal();
        frDesigner = Saved;
    }
    Info.PageObject = FPages->Extract(0);
    if (Designer && Designer->GetModified()) {
        TMessageRequest Ask;
        Ask.Caption = LoadEngineString(55006);
        Ask.Text = LoadEngineString(55306) + u'?';
        Ask.Icon = TMessageIcon::miQuestion;
        Ask.Buttons = {mrYes, mrNo};
        Ask.DefaultButton = mrYes;
        if (TModalSeam::Ask(Ask) == mrYes)
            FEMFPages->PageToObjects(Index);
    }
    RestoreForm(Template, FViewsSkipped);
    SetModified(WasModified);
}

void TfrReport::ExportTo(QObject* Filter, const QString& AFileName)
{
    DocMode = dmPrinting;
    auto* ExportFilter = dynamic_cast<TfrExportFilter*>(Filter);
    if (!ExportFilter)
        return;
    FExportFilter = Filter;
    ExportFilter->FileName = AFileName;
    bool Continue = true;
    if (ExportFilter->OnBeforeExport)
        ExportFilter->OnBeforeExport(AFileName, Continue);
    if (Continue && ExportFilter->ShowModal() == mrOk) {
        try {
            TFileStream File(AFileName, fmCreate);
            ExportFilter->Stream = &File;
            CurReport = this;
            MasterReport = this;
            TotalPages = PreparedPageCount();
            ExportFilter->OnBeginDoc();
            for (int i = 0; i < PreparedPageCount() && !FTerminated; ++i) {
                ExportFilter->OnBeginPage();
                FEMFPages->ExportPage(i);
                if (OnProgress)
                    OnProgress(i + 1);
                QCoreApplication::processEvents();
                ExportFilter->OnEndPage();
            }
            ExportFilter->OnEndDoc();
            ExportFilter->Stream = nullptr;
        } catch (const Exception& E) {
            ExportFilter->Stream = nullptr;
            frShowError(E.Message());
        }
        if (ExportFilter->OnAfterExport)
            ExportFilter->OnAfterExport(AFileName);
    }
    FExportFilter = nullptr;
}
