#include "report/engine/FR_Class.h"

#include "platform/rtl/Streams.h"
#include "report/engine/FR_DBSet.h"
#include "report/engine/FR_Dict.h"
#include "report/engine/FR_EMFPages.h"
#include "report/engine/FR_Globals.h"
#include "report/engine/FR_Utils.h"
#include "report/engine/FR_Page.h"
#include "report/engine/FR_Prntr.h"
#include "report/engine/FR_View.h"

#include <QCoreApplication>
#include <QVariant>

TfrPasswordQuery frPasswordQuery;

namespace {

// The help file the designer makes the application's while it is open.
const char* const HelpFileProperty = "HelpFile";

// Refuses what the 4-byte length of the binary property cannot describe.
int32_t CheckedLength(int64_t Length)
{
    if (Length < 0 || Length > INT32_MAX)
        throw EWriteError(QStringLiteral("Report form too large for the form resource"));
    return static_cast<int32_t>(Length);
}

} // namespace

// ---------------------------------------------------------------- page numbers

QStringList frParsePageNumbers(const QString& PageNumbers, int PageCount)
{
    QString Text;
    for (QChar C : PageNumbers)
        if (C != u' ')
            Text += C;
    if (Text.endsWith(u'-'))
        Text += QString::number(PageCount);
    Text += u',';

    QStringList Result;
    int RangeStart = -1;
    QString Number;
    for (QChar C : Text) {
        if (C.isDigit()) {
            Number += C;
            continue;
        }
        bool Ok = false;
        const int N = Number.toInt(&Ok);
        Number.clear();
        if (C == u'-') {
            RangeStart = Ok ? N : -1;
        } else if (C == u',' && Ok) {
            if (RangeStart >= 0) {
                // Numbers past the last page never print; a huge range stays small.
                for (int i = RangeStart; i <= N && i <= PageCount; ++i)
                    Result << QString::number(i);
            } else {
                Result << QString::number(N);
            }
            RangeStart = -1;
        }
    }
    return Result;
}

// ---------------------------------------------------------------- report

TfrReport::TfrReport(QObject* AOwner)
    : QObject(AOwner)
    , FPages(std::make_unique<TfrPages>(this))
    , FEMFPages(std::make_unique<TfrEMFPages>(this))
    , FDictionary(std::make_unique<TfrDataDictionary>())
{
    // The engine's shared objects exist once a report does.
    frGlobals();
    FFileName = LoadEngineString(55209);
    FPrinterName = LoadEngineString(55007);
    ResetReportInfo();
}

TfrReport::~TfrReport()
{
    if (CurReport == this)
        CurReport = nullptr;
    if (MasterReport == this)
        MasterReport = nullptr;
    // Clearing also forgets the current page when it is one of ours.
    FEMFPages->Clear();
    FPages->Clear();
}

void TfrReport::SetDataset(TfrDataset* Value)
{
    FDataset = Value;
}

void TfrReport::SetPreview(QObject* Value)
{
    FPreview = Value;
}

void TfrReport::Clear()
{
    FPages->Clear();
    FDictionary->Clear();
    if (frFormExtension)
        frFormExtension->Clear();
    FDoublePass = 0;
    ResetReportInfo();
}

void TfrReport::ResetReportInfo()
{
    ReportComment.clear();
    ReportName.clear();
    ReportAutor.clear();
    ReportVersionMajor.clear();
    ReportVersionMinor.clear();
    ReportVersionRelease.clear();
    ReportVersionBuild.clear();
    ReportPassword.clear();
    ReportCreateDate = Now();
    ReportLastChange = ReportCreateDate;
    ReportPasswordProtected = false;
    ReportMark = u'X';
}

void TfrReport::MakeEmptyReport()
{
    FPages->Clear();
    FDictionary->Clear();
    ResetReportInfo();
    FPages->Add();
    FViewsSkipped = false;
}

void TfrReport::WriteBinaryData(TStream& Stream)
{
    Stream.WriteI32(frCurrentVersion);
    if (!FStoreInDFM)
        return;
    TMemoryStream Form;
    SaveToStream(Form);
    Stream.WriteI32(CheckedLength(Form.Size()));
    Stream.WriteBytes(Form.Data());
}

void TfrReport::ReadBinaryData(TStream& Stream)
{
    Stream.ReadI32();
    if (!FStoreInDFM)
        return;
    const int32_t Length = Stream.ReadI32();
    QByteArray Bytes = Stream.ReadBytes(Length);   // bounded by what remains
    FFormStream = std::make_unique<TMemoryStream>(std::move(Bytes));
    FFormStream->SetPosition(0);
}

void TfrReport::Loaded()
{
    if (FStoreInDFM && FFormStream) {
        LoadFromStream(*FFormStream);
        FFormStream.reset();
    }
}

void TfrReport::Notification(QObject* AComponent)
{
    if (AComponent == FDataset.data())
        FDataset = nullptr;
    if (AComponent == FPreview.data())
        FPreview = nullptr;
}

// ---------------------------------------------------------------- printers

void TfrReport::SetPrinterName(const QString& Value)
{
    if (!PrintToDefault()) {
        TfrPrinter* Prn = frPrinter();
        const int Index = Prn->Printers.IndexOf(Value);
        if (Index >= 0)
            Prn->SelectPrinter(Index);
    }
    FPrinterName = Value;
}

void TfrReport::RefitPages()
{
    frPrinter()->PaperSize = -1;   // unknown, so that every page applies its own
    for (int i = 0; i < FPages->Count(); ++i) {
        TfrPage* P = FPages->Pages(i);
        P->ChangePaper(P->Size, P->Width, P->Height, P->Bin, P->Orientation);
    }
}

bool TfrReport::ChangePrinter(int OldIndex, int NewIndex)
{
    TfrPrinter* Prn = frPrinter();
    try {
        Prn->SelectPrinter(NewIndex);
        FPrinterName = Prn->Printers.Strings(NewIndex);
        RefitPages();
        return true;
    } catch (const Exception&) {
        frShowError(LoadEngineString(55210));
    }
    if (OldIndex >= 0 && OldIndex < Prn->Printers.Count()) {
        Prn->SelectPrinter(OldIndex);
        FPrinterName = Prn->Printers.Strings(OldIndex);
        RefitPages();
    }
    return false;
}

TfrView* TfrReport::FindObject(const QString& ObjName) const
{
    for (int i = 0; i < FPages->Count(); ++i)
        if (TfrView* View = FPages->Pages(i)->FindObject(ObjName))
            return View;
    return nullptr;
}

// ---------------------------------------------------------------- designer

int TfrReport::OpenDesigner()
{
    SetPrinterName(FPrinterName);
    if (FPages->Count() == 0)
        FPages->Add();
    CurReport = this;
    QCoreApplication* App = QCoreApplication::instance();
    const QVariant SavedHelp = App ? App->property(HelpFileProperty) : QVariant();
    if (App)
        App->setProperty(HelpFileProperty, QStringLiteral("DAzeve.hlp"));
    const int Result = frRunDesigner(1);
    if (App)
        App->setProperty(HelpFileProperty, SavedHelp);
    return Result;
}

