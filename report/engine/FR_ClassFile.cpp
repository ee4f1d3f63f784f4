// The report form file: the pages stream with its markers, the view factory,
// the report-information block, the password check and wizard templates.
#include "report/engine/FR_Class.h"

#include "platform/rtl/GbkText.h"
#include "platform/rtl/Streams.h"
#include "report/engine/FR_BandView.h"
#include "report/engine/FR_Dict.h"
#include "report/engine/FR_Globals.h"
#include "report/engine/FR_LineView.h"
#include "report/engine/FR_MemoView.h"
#include "report/engine/FR_Page.h"
#include "report/engine/FR_Prntr.h"
#include "report/engine/FR_PictureView.h"
#include "report/engine/FR_SubReportView.h"
#include "report/engine/FR_Utils.h"
#include "report/engine/FR_XmlWriter.h"

#include <QBuffer>
#include <QImage>
#include <QSaveFile>

std::vector<TfrAddInObjectInfo> frAddIns;
std::vector<TfrToolInfo> frTools;

void frRegisterTool(TfrToolInfo Info)
{
    frTools.push_back(std::move(Info));
}
TfrFormExtension* frFormExtension = nullptr;

namespace {

constexpr uint8_t MarkPage = 255;
constexpr uint8_t MarkDictionary = 254;
constexpr uint8_t MarkExtension = 253;
constexpr uint8_t MarkEnd = 252;
constexpr int MaxPages = 256;                 // the page index of a view record is one byte
const QString VirtualPrinterMark = QString(QChar(1));

int32_t frViewIDCounter = 0;

const QString NotPluggedHead = QStringLiteral("Report contains the following non-plugged components:");
const QString NotPluggedTail = QStringLiteral("You must include these components into your project.");

std::unique_ptr<TfrView> CreateBuiltInView(uint8_t Type)
{
    if (const TfrViewClass* Class = frFindViewClass(Type); Class && Class->Create)
        return Class->Create();
    // The built-in classes are always there, also when no unit registered them.
    switch (Type) {
    case gtMemo: return std::make_unique<TfrMemoView>();
    case gtPicture: return std::make_unique<TfrPictureView>();
    case gtBand: return std::make_unique<TfrBandView>();
    case gtSubReport: return std::make_unique<TfrSubReportView>();
    case gtLine: return std::make_unique<TfrLineView>();
    default: return nullptr;
    }
}

std::unique_ptr<TfrView> CreateAddIn(const QString& ClassName)
{
    for (const TfrAddInObjectInfo& Info : frAddIns)
        if (Info.ClassName == ClassName && Info.Creator)
            return Info.Creator();
    return nullptr;
}

// Report-information strings: 2-byte length and bytes, no trailing byte.
void WriteInfoString(TStream& Stream, const QString& Text)
{
    const QByteArray Bytes = ToGbk(Text);
    if (Bytes.size() > 0xFFFF)
        throw EWriteError(QStringLiteral("Report information text too long to save"));
    Stream.WriteU16(static_cast<uint16_t>(Bytes.size()));
    Stream.WriteBytes(Bytes);
}

QString ReadInfoString(TStream& Stream)
{
    const uint16_t Length = Stream.ReadU16();
    return FromGbk(Stream.ReadBytes(Length));
}

int HexDigit(char C)
{
    if (C >= '0' && C <= '9')
        return C - '0';
    if (C >= 'A' && C <= 'F')
        return C - 'A' + 10;
    if (C >= 'a' && C <= 'f')
        return C - 'a' + 10;
    throw EReadError(QStringLiteral("Damaged password in the report form"));
}

QByteArray DecodeHex(const QByteArray& Hex)
{
    if (Hex.size() % 2 != 0)
        throw EReadError(QStringLiteral("Damaged password in the report form"));
    QByteArray Bytes;
    Bytes.reserve(Hex.size() / 2);
    for (qsizetype i = 0; i < Hex.size(); i += 2)
        Bytes.append(static_cast<char>(HexDigit(Hex[i]) * 16 + HexDigit(Hex[i + 1])));
    return Bytes;
}

// A bitmap file image: its header says how long it is.
QByteArray ReadBitmapImage(TStream& Stream)
{
    const int64_t Start = Stream.Position();
    const QByteArray Head = Stream.ReadBytes(6);
    const uint32_t Size = static_cast<uint8_t>(Head[2]) | static_cast<uint8_t>(Head[3]) << 8
                          | static_cast<uint8_t>(Head[4]) << 16 | static_cast<uint32_t>(static_cast<uint8_t>(Head[5])) << 24;
    if (Head[0] != 'B' || Head[1] != 'M' || Size < 14)
        throw EReadError(QStringLiteral("Damaged picture in the template"));
    Stream.SetPosition(Start);
    return Stream.ReadBytes(Size);
}

void SaveBytesToFile(const QString& FileName, const QByteArray& Bytes)
{
    // Written whole or not at all: a failed save keeps the old file.
    QSaveFile File(FileName);
    if (!File.open(QIODevice::WriteOnly) || File.write(Bytes) != Bytes.size() || !File.commit())
        throw EWriteError(QStringLiteral("Cannot create file \"%1\"").arg(FileName));
}

} // namespace

// ---------------------------------------------------------------- factory

int frAddInCount()
{
    return static_cast<int>(frAddIns.size());
}

bool frRegisterObject(TfrAddInObjectInfo Info)
{
    if (frAddInCount() >= frMaxAddIns)
        return false;
    frAddIns.push_back(std::move(Info));
    return true;
}

std::unique_ptr<TfrView> CreateViewByType(uint8_t Type, const QString& ClassName)
{
    std::unique_ptr<TfrView> View;
    if (Type <= gtLine) {
        View = CreateBuiltInView(Type);
    } else if (Type == gtAddIn) {
        View = CreateAddIn(ClassName);
        if (!View) {
            frMissingClasses += ClassName + QChar(13);
            frErrorFlag = true;
            throw EClassNotFound(frMissingClasses);
        }
        View->SetObjectType(gtAddIn);
    }
    if (View)
        View->SetID(frViewIDCounter++);
    return View;
}

// ---------------------------------------------------------------- pages

TfrPages::TfrPages(TfrReport* AParent)
    : FParent(AParent)
{
}

TfrPages::~TfrPages()
{
    Clear();
}

void TfrPages::Clear()
{
    while (!FPages.empty()) {
        if (CurPage == FPages.back().get())
            CurPage = nullptr;
        FPages.pop_back();
    }
}

void TfrPages::Add()
{
    // The engine printer's default paper, portrait, no bin; its size comes
    // from the printer.
    FPages.push_back(std::make_unique<TfrPage>(frDefaultPaper(), 0, 0, frNoBin, poPortrait));
    FPages.back()->CreateUniqueName(this);
}

void TfrPages::Delete(int Index)
{
    if (Index < 0 || Index >= Count())
        return;
    if (CurPage == FPages[Index].get())
        CurPage = nullptr;
    FPages.erase(FPages.begin() + Index);
}

void TfrPages::Move(int From, int To)
{
    if (From < 0 || From >= Count() || To < 0 || To >= Count() || From == To)
        return;
    std::unique_ptr<TfrPage> Page = std::move(FPages[From]);
    FPages.erase(FPages.begin() + From);
    FPages.insert(FPages.begin() + To, std::move(Page));
}

std::unique_ptr<TfrPage> TfrPages::Extract(int Index)
{
    if (Index < 0 || Index >= Count())
        return nullptr;
    std::unique_ptr<TfrPage> Page = std::move(FPages[Index]);
    FPages.erase(FPages.begin() + Index);
    return Page;
}

void TfrPages::Insert(int Index, std::unique_ptr<TfrPage> Page)
{
    Index = std::clamp(Index, 0, Count());
    FPages.insert(FPages.begin() + Index, std::move(Page));
}

void TfrPages::LoadFromStream(TStream& Stream)
{
    FParent->Clear();
    FParent->FPrintToDefault = Stream.ReadI16();
    FParent->FDoublePass = Stream.ReadI16();
    QString Printer = frReadString(Stream);
    if (Printer == VirtualPrinterMark)
        Printer = LoadEngineString(55007);
    FParent->SetPrinterName(Printer);

    while (Stream.Position() < Stream.Size()) {
        const uint8_t Marker = Stream.ReadU8();
        if (Marker == MarkPage) {
            // No view record could name a page past these; the writer
            // refuses more.
            if (Count() >= MaxPages)
                throw EReadError(QStringLiteral("A report form holds at most %1 pages").arg(MaxPages));
            // As Add makes it, but unnamed: the record names the page (an old
            // one has it named), and naming each in turn made the load grow
            // with the square of the pages.
            FPages.push_back(std::make_unique<TfrPage>(frDefaultPaper(), 0, 0, frNoBin, poPortrait));
            FPages.back()->LoadFromStream(Stream);
        } else if (Marker == MarkDictionary) {
            FParent->Dictionary()->LoadFromStream(Stream);
        } else if (Marker == MarkExtension) {
            if (frFormExtension)
                frFormExtension->LoadFromStream(Stream);
            // The end mark after the extension's data is missing where the
            // pages stream ends the file (wizard templates).
            if (Stream.Position() < Stream.Size())
                Stream.ReadU8();
            break;
        } else if (Marker == MarkEnd) {
            break;
        } else if (Marker > gtAddIn) {
            throw EReadError(QStringLiteral("Unknown marker %1 in the report form").arg(Marker));
        } else {
            ReadView(Stream, Marker);
        }
    }

    if (frErrorFlag)
        throw EClassNotFound(frMissingClasses);
    for (const auto& Page : FPages)
        for (int i = 0; i < Page->Count(); ++i)
            Page->Objects(i)->AfterLoad();
}

void TfrPages::ReadView(TStream& Stream, uint8_t Marker)
{
    uint8_t Type = Marker;
    bool Framed = false;
    QString ClassName;
    if (Type == gtAddIn) {
        ClassName = frReadString(Stream);
        const QString Upper = ClassName.toUpper();
        if (Upper == QLatin1String("TFRBDELOOKUPCONTROL") || Upper == QLatin1String("TFRIBXLOOKUPCONTROL"))
            ClassName = QStringLiteral("TfrDBLookupControl");
        if (Upper == QLatin1String("TFRFRAMEDMEMOVIEW")) {
            Type = gtMemo;
            Framed = true;
        }
    }
    const uint8_t PageIndex = Stream.ReadU8();
    int64_t EndOffset = -1;
    if (FormVersion > 23) {
        // An end offset behind the record or past the stream is damage, not a
        // view to skip.
        EndOffset = Stream.ReadU32();
        if (EndOffset < Stream.Position() || EndOffset > Stream.Size())
            throw EReadError(QStringLiteral("Damaged view record in the report form"));
    }
    if (PageIndex >= Count()) {
        if (EndOffset < 0)
            throw EReadError(QStringLiteral("View record names page %1 of %2").arg(PageIndex).arg(Count()));
        Stream.SetPosition(EndOffset);
        return;
    }
    TfrPage* Page = FPages[PageIndex].get();
    CurPage = Page;
    TfrView* View = nullptr;
    try {
        std::unique_ptr<TfrView> Created = CreateViewByType(Type, ClassName);
        if (!Created)
            throw EReadError(QStringLiteral("Unknown view type %1 in the report form").arg(Type));
        View = Created.get();
        Page->Add(std::move(Created));
        try {
            View->LoadFromStream(Stream);
        } catch (...) {
            View->SetPropValue(QStringLiteral("Name"), View->Name());
            throw;
        }
        View->SetPropValue(QStringLiteral("Name"), View->Name());
        if (Framed)
            Stream.Seek(8, TSeekOrigin::soCurrent);
        if (EndOffset >= 0)
            Stream.SetPosition(EndOffset);
    } catch (const Exception&) {
        // A view that cannot be made or read is skipped; old forms carry no end
        // offset and go on from where they stand.
        if (EndOffset >= 0)
            Stream.SetPosition(EndOffset);
    }
    // A view (also one read only in part) beyond the lengths the designer
    // takes is damage: its sums overflow and its drawing never ends.
    if (View && !frViewWithinLimits(View))
        throw EReadError(QStringLiteral("View %1 of the report form lies beyond the page limits").arg(View->Name()));
}

void TfrPages::SaveToStream(TStream& Stream)
{
    if (FParent->SaveAsXML()) {
        frWriteXmlTemplate(*FParent, Stream);
        return;
    }
    if (Count() > MaxPages)
        throw EWriteError(QStringLiteral("A report form holds at most %1 pages").arg(MaxPages));
    Stream.WriteI16(FParent->FPrintToDefault);
    Stream.WriteI16(FParent->FDoublePass);
    const QString Printer = FParent->PrinterName();
    WriteStreamString(Stream, Printer == LoadEngineString(55007) ? VirtualPrinterMark : Printer);
    for (const auto& Page : FPages) {
        Stream.WriteU8(MarkPage);
        Page->SaveToStream(Stream);
    }
    for (int PageIndex = 0; PageIndex < Count(); ++PageIndex) {
        TfrPage* Page = FPages[PageIndex].get();
        for (int i = 0; i < Page->Count(); ++i) {
            TfrView* View = Page->Objects(i);
            Stream.WriteU8(View->ObjectType());
            if (View->ObjectType() == gtAddIn)
                WriteStreamString(Stream, View->ClassName());
            Stream.WriteU8(static_cast<uint8_t>(PageIndex));
            const int64_t OffsetAt = Stream.Position();
            Stream.WriteU32(0);
            View->SaveToStream(Stream);
            const int64_t End = Stream.Position();
            if (End > UINT32_MAX)
                throw EWriteError(QStringLiteral("Report form too large"));
            Stream.SetPosition(OffsetAt);
            Stream.WriteU32(static_cast<uint32_t>(End));
            Stream.Seek(0, TSeekOrigin::soEnd);
        }
    }
    Stream.WriteU8(MarkDictionary);
    FParent->Dictionary()->SaveToStream(Stream);
    if (frFormExtension) {
        Stream.WriteU8(MarkExtension);
        frFormExtension->SaveToStream(Stream);
    }
}

// ---------------------------------------------------------------- report form

bool TfrReport::LoadFromStream(TStream& Stream)
{
    return LoadForm(Stream, dynamic_cast<TMemoryStream*>(&Stream) == nullptr);
}

void TfrReport::RestoreForm(TStream& Copy, bool ViewsSkipped)
{
    Copy.SetPosition(0);
    LoadForm(Copy, false);
    FViewsSkipped = ViewsSkipped;
}

bool TfrReport::LoadForm(TStream& Stream, bool AskPassword)
{
    DocMode = dmDesigning;
    CurReport = this;
    FDictionary->Clear();
    // Cleared before anything can return, so that a caller reading them after
    // this load never sees an earlier load's missing classes.
    frErrorFlag = false;
    frMissingClasses.clear();
    FViewsSkipped = false;
    if (Stream.Remaining() <= 0)
        return true;

    const int64_t Start = Stream.Position();
    FormVersion = Stream.ReadU8();
    if (FormVersion < frOldestVersion) {
        FormVersion = frOldestVersion;
        Stream.SetPosition(Start);
    }
    if (FormVersion > frCurrentVersion) {
        frShowError(LoadEngineString(55345));
        MakeEmptyReport();
        return false;
    }

    // Views of classes no application registered are skipped, but the rest
    // of the form (report information, password) is read all the same: a
    // protected report must not open unprotected because an add-in is missing.
    QString Missing;
    try {
        try {
            FPages->LoadFromStream(Stream);
        } catch (const EClassNotFound& E) {
            Missing = E.Message();
            FViewsSkipped = true;
        }
        if (Stream.Position() < Stream.Size())
            ReadReportInfo(Stream);
        else
            ResetReportInfo();
    } catch (const Exception&) {
        frShowError(LoadEngineString(55345));
        MakeEmptyReport();
        return false;
    }

    if (ReportPasswordProtected && AskPassword && !CheckPassword()) {
        ResetReportInfo();
        FFileName = LoadEngineString(55209);
        FPages->Clear();
        FPages->Add();
        return false;
    }
    if (!Missing.isEmpty())
        frShowError(NotPluggedHead + QChar(13) + Missing + NotPluggedTail);
    return true;
}

bool TfrReport::CheckPassword()
{
    QString Entered;
    if (!frPasswordQuery || !frPasswordQuery(Entered))
        return false;
    return Entered == ReportPassword;
}

void TfrReport::ReadReportInfo(TStream& Stream)
{
    ReportComment = ReadInfoString(Stream);
    ReportName = ReadInfoString(Stream);
    ReportAutor = ReadInfoString(Stream);
    ReportVersionMajor = ReadInfoString(Stream);
    ReportVersionMinor = ReadInfoString(Stream);
    ReportVersionRelease = ReadInfoString(Stream);
    ReportVersionBuild = ReadInfoString(Stream);
    ReportPassword = FromGbk(DecodeHex(Stream.ReadBytes(Stream.ReadU16())));
    ReportMark = QChar(Stream.ReadU8());
    ReportPasswordProtected = Stream.ReadU8() != 0;
    // Dates are kept as read, whatever they hold: they are only shown.
    ReportCreateDate = Stream.ReadF64();
    ReportLastChange = Stream.ReadF64();
}

void TfrReport::WriteReportInfo(TStream& Stream)
{
    for (const QString* Text : {&ReportComment, &ReportName, &ReportAutor, &ReportVersionMajor,
                                &ReportVersionMinor, &ReportVersionRelease, &ReportVersionBuild})
        WriteInfoString(Stream, *Text);
    const QByteArray Password = ToGbk(ReportPassword).toHex().toUpper();
    if (Password.size() > 0xFFFF)
        throw EWriteError(QStringLiteral("Report password too long to save"));
    Stream.WriteU16(static_cast<uint16_t>(Password.size()));
    Stream.WriteBytes(Password);
    Stream.WriteU8(static_cast<uint8_t>(ReportMark.toLatin1()));
    Stream.WriteU8(ReportPasswordProtected ? 1 : 0);
    Stream.WriteF64(ReportCreateDate);
    Stream.WriteF64(ReportLastChange);
}

void TfrReport::SaveToStream(TStream& Stream)
{
    CurReport = this;
    if (FSaveAsXML) {
        FPages->SaveToStream(Stream);
        return;
    }
    FormVersion = frCurrentVersion;
    Stream.WriteU8(frCurrentVersion);
    FPages->SaveToStream(Stream);
    Stream.WriteU8(MarkEnd);
    ReportMark = u'X';
    ReportLastChange = Now();
    WriteReportInfo(Stream);
}

bool TfrReport::LoadFromFile(const QString& AFileName)
{
    if (!FileExists(AFileName))
        return false;
    TMemoryStream Stream;
    try {
        Stream.LoadFromFile(AFileName);
    } catch (const Exception&) {
        return false;
    }
    Stream.SetPosition(0);
    if (!LoadForm(Stream, true))
        return false;
    FFileName = AFileName;
    return true;
}

void TfrReport::SaveToFile(const QString& AFileName)
{
    TMemoryStream Stream;
    SaveToStream(Stream);
    SaveBytesToFile(AFileName, Stream.Data());
}

void TfrReport::SaveToFR3File(const QString& AFileName)
{
    // The whole document is made before the file is touched, so a refused
    // save leaves no file behind.
    TMemoryStream Stream;
    FSaveAsXML = true;
    try {
        SaveToStream(Stream);
    } catch (...) {
        FSaveAsXML = false;
        throw;
    }
    FSaveAsXML = false;
    SaveBytesToFile(ChangeFileExt(AFileName, QStringLiteral(".fr3")), Stream.Data());
}

// ---------------------------------------------------------------- wizard templates

void TfrReport::SaveTemplate(const QString& AFileName, TStrings* Comment, const QImage* Picture)
{
    FormVersion = frCurrentVersion;
    TMemoryStream Stream;
    TStringList NoComment;
    WriteStreamStrings(Stream, Comment ? *Comment : NoComment);
    const int64_t PositionAt = Stream.Position();
    Stream.WriteU32(0);
    const bool HasPicture = Picture && !Picture->isNull();
    Stream.WriteU8(HasPicture ? 1 : 0);
    if (HasPicture) {
        QByteArray Image;
        QBuffer Buffer(&Image);
        Buffer.open(QIODevice::WriteOnly);
        if (!Picture->save(&Buffer, "BMP"))
            throw EWriteError(QStringLiteral("Cannot store the template picture"));
        Stream.WriteBytes(Image);
    }
    const int64_t PagesAt = Stream.Position();
    Stream.SetPosition(PositionAt);
    Stream.WriteU32(static_cast<uint32_t>(PagesAt));
    Stream.SetPosition(PagesAt);
    FPages->SaveToStream(Stream);
    SaveBytesToFile(AFileName, Stream.Data());
}

bool TfrReport::LoadTemplate(const QString& AFileName, TStrings* Comment, QImage* Picture, bool Load)
{
    if (!FileExists(AFileName))
        return false;
    TMemoryStream Stream;
    try {
        Stream.LoadFromFile(AFileName);
    } catch (const Exception&) {
        return false;
    }
    Stream.SetPosition(0);
    FormVersion = frCurrentVersion;
    try {
        TStringList Scratch;
        ReadStreamStrings(Stream, Load || !Comment ? Scratch : *Comment);
        const uint32_t PagesAt = Stream.ReadU32();
        if (!Load && Picture)
            *Picture = QImage();
        if (Stream.ReadU8() == 1) {
            const QByteArray Image = ReadBitmapImage(Stream);
            if (!Load && Picture)
                Picture->loadFromData(Image, "BMP");
        }
        if (!Load)
            return true;
        if (PagesAt > Stream.Size())
            throw EReadError(QStringLiteral("Damaged template"));
        Stream.SetPosition(PagesAt);
        DocMode = dmDesigning;
        CurReport = this;
        frErrorFlag = false;
        frMissingClasses.clear();
        FViewsSkipped = false;
        FPages->LoadFromStream(Stream);
    } catch (const EClassNotFound& E) {
        FViewsSkipped = true;
        frShowError(NotPluggedHead + QChar(13) + E.Message() + NotPluggedTail);
        return true;
    } catch (const Exception&) {
        frShowError(LoadEngineString(55345));
        if (Load)
            MakeEmptyReport();
        return false;
    }
    return true;
}
