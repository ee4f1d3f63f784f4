#include "report/engine/FR_EMFPages.h"

#include "platform/gui/Graphics.h"
#include "platform/gui/Printers.h"
#include "platform/gui/Shell.h"
#include "platform/rtl/GbkText.h"
#include "report/engine/FR_BandView.h"
#include "report/engine/FR_Class.h"
#include "report/engine/FR_Globals.h"
#include "report/engine/FR_MemoView.h"
#include "report/engine/FR_PictureView.h"
#include "report/engine/FR_Prntr.h"
#include "report/engine/FR_Utils.h"

#include <QUrl>
#include <cmath>

namespace {

// Fixed bytes of a page block: end position, paper, bin, flag, margins.
constexpr int64_t CurrentBlockBytes = 36;
constexpr int64_t VersionlessBlockBytes = 16;
constexpr int64_t OldBlockBytes = 16;

// Form version while a page stream's views are read; put back afterwards.
class TFormVersionScope
{
public:
    explicit TFormVersionScope(uint8_t Version) : FSaved(FormVersion) { FormVersion = Version; }
    ~TFormVersionScope() { FormVersion = FSaved; }
    TFormVersionScope(const TFormVersionScope&) = delete;
    TFormVersionScope& operator=(const TFormVersionScope&) = delete;

private:
    uint8_t FSaved;
};

int32_t ReadCount(TStream& Stream, int64_t BlockBytes)
{
    const int32_t Count = Stream.ReadI32();
    if (Count < 0 || Count > Stream.Remaining() / BlockBytes)
        throw EReadError(QStringLiteral("Damaged prepared report: %1 pages announced").arg(Count));
    return Count;
}

// An end or next-page position must lie behind the block's fixed part and
// within the file, so that no page runs backwards or past the end.
int64_t CheckedEnd(TStream& Stream, int32_t End)
{
    if (End < Stream.Position() || End > Stream.Size())
        throw EReadError(QStringLiteral("Damaged prepared report: page ends at %1").arg(End));
    return End;
}

void WriteViewEntry(TStream& Stream, TfrView* View)
{
    Stream.WriteU8(View->ObjectType());
    if (View->ObjectType() == gtAddIn)
        WriteStreamString(Stream, View->ClassName());
    View->SetStreamMode(1);
    View->SaveToStream(Stream);
    View->SetStreamMode(0);
}

// The zero-terminated texts of layouts before 23; a memo's lines are parted
// by byte 13. A 0 in a text would end it early: it is left out.
void WriteOldText(TStream& Stream, const QString& Text)
{
    Stream.WriteBytes(ToGbk(Text).replace('\0', QByteArray()));
    Stream.WriteU8(0);
}

void WriteVersionText(TStream& Stream, const QString& Text, uint8_t Version)
{
    if (Version < 23)
        WriteOldText(Stream, Text);
    else
        WriteStreamString(Stream, Text);
}

void WriteVersionLines(TStream& Stream, const TStrings& Lines, uint8_t Version)
{
    if (Version >= 23) {
        WriteStreamStrings(Stream, Lines);
        return;
    }
    QStringList L;
    for (int i = 0; i < Lines.Count(); ++i)
        L << Lines.Strings(i);
    WriteOldText(Stream, L.join(QChar(13)));
}

// A view entry in the layout of a page stream before version 24, which the
// views read but no longer write. The view's record in the current layout is
// taken apart and put together without what came with 24: the name and the
// record versions, the restrictions, tag, gaps and band alignment, a memo's
// line and character spacing, a picture's blob type and a band's own part;
// before 23 texts end in a 0 byte. A picture's end is a position in the page
// stream, so it is worked out anew.
void WriteOldViewEntry(TStream& Stream, TfrView* View, uint8_t Version)
{
    TMemoryStream Current;
    View->SetStreamMode(1);
    View->SaveToStream(Current);
    View->SetStreamMode(0);
    Current.SetPosition(0);
    Stream.WriteU8(View->ObjectType());
    if (View->ObjectType() == gtAddIn)
        WriteStreamString(Stream, View->ClassName());
    ReadStreamString(Current);                   // name
    Current.ReadBytes(2);                         // record version and sub-version
    Stream.WriteBytes(Current.ReadBytes(34));     // position, size, flags, frame, fill
    TStringList Lines;
    ReadStreamStrings(Current, Lines);
    WriteVersionLines(Stream, Lines, Version);
    Current.ReadU16();                            // restrictions
    ReadStreamString(Current);                    // tag
    Current.ReadBytes(9);                         // gaps, band alignment
    if (dynamic_cast<TfrMemoView*>(View)) {
        WriteVersionText(Stream, ReadStreamString(Current), Version);   // font name
        Stream.WriteBytes(Current.ReadBytes(16)); // size, style, colour, alignment, charset
        Current.ReadBytes(8);                     // line and character spacing
    } else if (dynamic_cast<TfrPictureView*>(View)) {
        Stream.WriteU8(Current.ReadU8());         // kind
        Current.ReadU8();                         // blob type
        const int32_t End = Current.ReadI32();
        const QByteArray Data = Current.ReadBytes(End - Current.Position());
        const int64_t NewEnd = Stream.Position() + 4 + Data.size();
        if (NewEnd > INT32_MAX)
            throw EWriteError(QStringLiteral("Prepared page too large for its picture \"%1\"").arg(View->Name()));
        Stream.WriteI32(static_cast<int32_t>(NewEnd));
        Stream.WriteBytes(Data);
    } else if (dynamic_cast<TfrBandView*>(View)) {
        ReadStreamString(Current);                // child band
        Current.ReadBytes(16);                    // columns, their width and gap, new column after
        ReadStreamString(Current);                // master
    }
    // An add-in's own part follows as its class writes it.
    Stream.WriteBytes(Current.ReadBytes(Current.Remaining()));
}

// Geometry a page can hold: coordinates and sizes within some ten metres of
// paper. A damaged record beyond that would overflow the drawing arithmetic.
bool Plausible(const TfrView& View)
{
    constexpr int Limit = 1000000;
    auto In = [](int V) { return V > -Limit && V < Limit; };
    if (!In(View.Left()) || !In(View.Top()) || !In(View.Width()) || !In(View.Height()) || !In(View.GapX()) ||
        !In(View.GapY()) || !(std::abs(View.FrameWidth()) < 10000.0f))
        return false;
    const auto* Memo = dynamic_cast<const TfrMemoView*>(&View);
    return !Memo || (In(Memo->LineSpacing()) && In(Memo->CharSpacing()));
}

// Reads the next view of a page stream; nullptr at the end or at a type
// this program does not know.
std::unique_ptr<TfrView> ReadViewEntry(TStream& Stream)
{
    if (Stream.Remaining() == 0)
        return nullptr;
    const uint8_t Type = Stream.ReadU8();
    const QString ClassName = Type == gtAddIn ? ReadStreamString(Stream) : QString();
    std::unique_ptr<TfrView> View = CreateViewByType(Type, ClassName);
    if (!View)
        return nullptr;
    View->SetStreamMode(1);
    View->LoadFromStream(Stream);
    View->SetStreamMode(0);
    if (!Plausible(*View))
        throw EReadError(QStringLiteral("Damaged view record in a prepared page"));
    return View;
}

bool OpenableLink(const QString& Text)
{
    const QString Scheme = QUrl(Text, QUrl::StrictMode).scheme().toLower();
    return Scheme == u"http" || Scheme == u"https" || Scheme == u"ftp" || Scheme == u"mailto";
}

} // namespace

TfrEMFPages::TfrEMFPages(TfrReport* AParent)
    : FParent(AParent)
{
}

TfrEMFPages::~TfrEMFPages()
{
    Clear();
}

void TfrEMFPages::Insert(int Index, const TfrPage* Page)
{
    // The record before is complete: keep its bytes without spare room.
    if (!FPages.empty()) {
        TfrPageInfo& Prev = *FPages.back();
        if (Prev.Stream->Data().capacity() > Prev.Stream->Size()) {
            auto Tight = std::make_unique<TMemoryStream>(
                QByteArray(Prev.Stream->Data().constData(), Prev.Stream->Size()));
            Tight->Seek(0, TSeekOrigin::soEnd);
            Prev.Stream = std::move(Tight);
        }
    }
    auto Info = std::make_unique<TfrPageInfo>();
    Info->Stream = std::make_unique<TMemoryStream>();
    Info->Stream->WriteU8(frCurrentVersion);
    Info->PaperSize = static_cast<int16_t>(Page->Size);
    Info->PaperWidth = Page->Width;
    Info->PaperHeight = Page->Height;
    Info->PaperOrientation = Page->Orientation;
    Info->PaperBin = Page->Bin;
    Info->UseMarginsFlag = Page->UseMargins ? 1 : 0;
    Info->PageMargins[0] = Page->LeftMargin;
    Info->PageMargins[1] = Page->TopMargin;
    Info->PageMargins[2] = Page->RightMargin;
    Info->PageMargins[3] = Page->BottomMargin;
    Info->PagePrnInfo = Page->PrnInfo;
    if (Index < 0 || Index >= Count())
        FPages.push_back(std::move(Info));
    else
        FPages.insert(FPages.begin() + Index, std::move(Info));
}

void TfrEMFPages::Add(const TfrPage* Page)
{
    Insert(Count(), Page);
    if (CurReport && CurReport->OnBeginPage)
        CurReport->OnBeginPage(PageNo);
    if (MasterReport && MasterReport != CurReport && MasterReport->OnBeginPage)
        MasterReport->OnBeginPage(PageNo);
}

void TfrEMFPages::FreePageObject(TfrPageInfo& Info)
{
    if (!Info.PageObject)
        return;
    TfrPage* Page = Info.PageObject.get();
    if (CurPage == Page)
        CurPage = nullptr;
    for (int i = 0; i < Page->Count(); ++i)
        if (CurView == Page->Objects(i))
            CurView = nullptr;
    Info.PageObject.reset();
}

void TfrEMFPages::Delete(int Index)
{
    if (Index < 0 || Index >= Count())
        return;
    FreePageObject(*FPages[Index]);
    FPages.erase(FPages.begin() + Index);
}

void TfrEMFPages::Clear()
{
    // Front to back, each page once: erasing the first page every time moved
    // all the others along and made a clear grow with the square of the pages.
    std::vector<std::unique_ptr<TfrPageInfo>> Pages = std::move(FPages);
    FPages.clear();
    for (auto& Info : Pages) {
        FreePageObject(*Info);
        Info.reset();
    }
}

void TfrEMFPages::TakeFrom(TfrEMFPages& Source)
{
    Clear();
    FPages = std::move(Source.FPages);
    Source.FPages.clear();
}

// ---------------------------------------------------------------- page objects

void TfrEMFPages::ObjectsToPage(int Index)
{
    TfrPageInfo& Info = *Items(Index);
    if (Info.PageObject)
        return;
    auto Page = std::make_unique<TfrPage>(Info.PaperSize, Info.PaperWidth, Info.PaperHeight, Info.PaperBin,
                                          Info.PaperOrientation == 1 ? poLandscape : poPortrait);
    Page->LeftMargin = Info.PageMargins[0];
    Page->TopMargin = Info.PageMargins[1];
    Page->RightMargin = Info.PageMargins[2];
    Page->BottomMargin = Info.PageMargins[3];
    Page->UseMargins = Info.UseMarginsFlag >= 1 ? -1 : 0;
    Page->PrnInfo = Info.PagePrnInfo;
    CurPage = Page.get();
    TMemoryStream& Stream = *Info.Stream;
    Stream.SetPosition(0);
    int64_t Entry = 0;
    try {
        const uint8_t Version = Stream.ReadU8();
        TFormVersionScope Scope(Version);
        for (Entry = Stream.Position(); std::unique_ptr<TfrView> View = ReadViewEntry(Stream);
             Entry = Stream.Position()) {
            auto* Memo = dynamic_cast<TfrMemoView*>(View.get());
            if (Memo && (Memo->Flags() & flAutoWidth))
                Memo->Draw(TempBmp()->Canvas());   // measures itself
            Page->Add(std::move(View));
        }
    } catch (const Exception&) {
        // A damaged page shows the views read before the damage.
    }
    // The rest stays in the stream for PageToObjects: an edited page must not
    // lose the views it could not show.
    Info.UnreadFrom = Entry > 0 && Entry < Stream.Size() ? Entry : 0;
    Info.PageObject = std::move(Page);
}

void TfrEMFPages::PageToObjects(int Index)
{
    TfrPageInfo& Info = *Items(Index);
    if (!Info.PageObject)
        return;
    // The views that could not be read stay in the layout they were read in:
    // the page keeps its version, and the views read are written in it.
    const uint8_t Version =
        Info.UnreadFrom > 0 ? static_cast<uint8_t>(Info.Stream->Data().at(0)) : frCurrentVersion;
    auto Stream = std::make_unique<TMemoryStream>();
    Stream->WriteU8(Version);
    TfrPage* Page = Info.PageObject.get();
    for (int i = 0; i < Page->Count(); ++i) {
        TfrView* View = Page->Objects(i);
        View->ExpandedMemo()->Assign(*View->Memo());
        if (Version >= 24)
            WriteViewEntry(*Stream, View);
        else
            WriteOldViewEntry(*Stream, View, Version);
    }
    const int64_t Unread = Info.UnreadFrom > 0 ? Stream->Position() : 0;
    if (Unread > 0)
        Stream->WriteBuffer(Info.Stream->Data().constData() + Info.UnreadFrom, Info.Stream->Size() - Info.UnreadFrom);
    Info.Stream = std::move(Stream);
    Info.UnreadFrom = Unread;
}

void TfrEMFPages::ExportPage(int Index)
{
    TMemoryStream& Stream = *Items(Index)->Stream;
    Stream.SetPosition(0);
    try {
        TFormVersionScope Scope(Stream.ReadU8());
        while (std::unique_ptr<TfrView> View = ReadViewEntry(Stream)) {
            CurView = View.get();
            View->ExportData();
            CurView = nullptr;
        }
    } catch (const Exception&) {
        CurView = nullptr;
    }
}

// ---------------------------------------------------------------- drawing and clicks

void TfrEMFPages::Draw(int Index, TCanvas* Canvas, const QRect& Rect)
{
    TfrPageInfo& Info = *Items(Index);
    DocMode = dmPrinting;
    TPrinter* Platform = frPrinter()->Printer();
    const bool Printing = Platform && Platform->Printing() && Canvas == Platform->Canvas();
    if (!Info.OnScreen) {
        FreePageObject(Info);
        return;
    }
    const int PaperW = Info.PagePrnInfo.PaperWidthPx;
    const int PaperH = Info.PagePrnInfo.PaperHeightPx;
    if (PaperW <= 0 || PaperH <= 0)
        return;
    ObjectsToPage(Index);
    TfrPage* Page = Info.PageObject.get();
    CurPage = Page;
    const double kx = static_cast<double>(Rect.width()) / PaperW;
    const double ky = static_cast<double>(Rect.height()) / PaperH;
    const QRect Visible = Canvas->ClipRect();
    for (int i = 0; i < Page->Count(); ++i) {
        TfrView* View = Page->Objects(i);
        if (!Printing) {
            const QRect Area(QPoint(static_cast<int>(RoundHalfEven(View->Left() * kx)) + Rect.left() - 10,
                                    static_cast<int>(RoundHalfEven(View->Top() * ky)) + Rect.top() - 10),
                             QPoint(static_cast<int>(RoundHalfEven((View->Left() + View->Width()) * kx)) +
                                        Rect.left() + 10,
                                    static_cast<int>(RoundHalfEven((View->Top() + View->Height()) * ky)) +
                                        Rect.top() + 10));
            if (!Visible.isNull() && !Visible.intersects(Area))
                continue;
        }
        View->SetScale(kx, ky);
        View->SetOffset(Rect.left(), Rect.top());
        View->SetIsPrinting(Printing);
        View->Draw(Canvas);
    }
}

bool TfrEMFPages::DoClick(int Index, QPoint Pt, QString& Url, Qt::CursorShape& Cursor, bool Click)
{
    TfrPageInfo& Info = *Items(Index);
    const TfrPrnInfo& Prn = Info.PagePrnInfo;
    if (Prn.PaperWidthPx <= 0 || Prn.PaperHeightPx <= 0)
        return false;
    ObjectsToPage(Index);
    TfrPage* Page = Info.PageObject.get();
    double kx = 1, ky = 1;
    int OffsX = 0, OffsY = 0;
    if (!Info.UseMarginsFlag) {
        kx = static_cast<double>(Prn.PrintableWidth - (Info.PageMargins[0] + Info.PageMargins[2])) /
             Prn.PaperWidthPx;
        ky = static_cast<double>(Prn.PrintableHeight - (Info.PageMargins[1] + Info.PageMargins[3])) /
             Prn.PaperHeightPx;
        OffsX = Prn.OffsetX + Info.PageMargins[0];
        OffsY = Prn.OffsetY + Info.PageMargins[1];
    }
    TfrView* Hit = nullptr;
    for (int i = Page->Count() - 1; i >= 0 && !Hit; --i) {
        TfrView* View = Page->Objects(i);
        const QRect Area(QPoint(static_cast<int>(RoundHalfEven(View->Left() * kx)) + OffsX,
                                static_cast<int>(RoundHalfEven(View->Top() * ky)) + OffsY),
                         QPoint(static_cast<int>(RoundHalfEven((View->Left() + View->Width()) * kx)) + OffsX - 1,
                                static_cast<int>(RoundHalfEven((View->Top() + View->Height()) * ky)) + OffsY - 1));
        if (Area.contains(Pt))
            Hit = View;
    }
    if (!Hit)
        return false;
    const bool IsLink = Hit->Name().startsWith(QStringLiteral("URL"), Qt::CaseInsensitive);
    const QString Link = Hit->Memo()->Text().trimmed();
    if (Click) {
        if (FParent && FParent->OnObjectClick) {
            FParent->OnObjectClick(Hit);
            return true;
        }
        if (IsLink) {
            Url.clear();
            if (Link.contains(u'@'))
                Url = Link;
            else if (OpenableLink(Link))
                ShellOpen(Link);
            return true;
        }
        return false;
    }
    if (FParent && FParent->OnMouseOverObject) {
        FParent->OnMouseOverObject(Hit, Cursor);
        return true;
    }
    if (IsLink) {
        Cursor = Qt::PointingHandCursor;
        Url = Link;
        return true;
    }
    return false;
}

// ---------------------------------------------------------------- the prepared report file

void TfrEMFPages::ApplyPaper(TfrPageInfo& Info)
{
    // Runs of pages on one paper ask the printer once.
    const TfrPageInfo* Prev = FPages.empty() ? nullptr : FPages.back().get();
    if (Prev && Prev != &Info && Prev->PaperSize == Info.PaperSize && Prev->PaperWidth == Info.PaperWidth &&
        Prev->PaperHeight == Info.PaperHeight && Prev->PaperOrientation == Info.PaperOrientation &&
        Prev->PaperBin == Info.PaperBin) {
        Info.PagePrnInfo = Prev->PagePrnInfo;
        return;
    }
    TfrPrinter* Prn = frPrinter();
    Prn->SetPaper(Info.PaperSize, Info.PaperWidth, Info.PaperHeight, Info.PaperBin, Info.PaperOrientation, true);
    Prn->GetPrintableArea(Info.PagePrnInfo);
}

void TfrEMFPages::SavePreparedPages(TStream& Stream)
{
    Stream.WriteU8(frCurrentVersion);
    Stream.WriteU8(0);   // no compressor is enabled
    const TfrPrinter* Prn = frPrinter();
    const QString Printer = Prn->PrinterIndex >= 0 && Prn->PrinterIndex < Prn->Printers.Count()
                                ? Prn->Printers.Strings(Prn->PrinterIndex)
                                : QString();
    WriteStreamString(Stream, Printer);
    Stream.WriteI32(Count());
    for (const auto& Info : FPages) {
        const int64_t Start = Stream.Position();
        Stream.WriteI32(0);
        Stream.WriteI16(Info->PaperSize);
        Stream.WriteI32(Info->PaperWidth);
        Stream.WriteI32(Info->PaperHeight);
        Stream.WriteU8(Info->PaperOrientation);
        Stream.WriteI32(Info->PaperBin);
        Stream.WriteU8(Info->UseMarginsFlag);
        for (int32_t Margin : Info->PageMargins)
            Stream.WriteI32(Margin);
        Stream.WriteBytes(Info->Stream->Data());
        const int64_t End = Stream.Position();
        if (End > INT32_MAX)
            throw EWriteError(QStringLiteral("Prepared report too large for its file"));
        Stream.SetPosition(Start);
        Stream.WriteI32(static_cast<int32_t>(End));
        Stream.SetPosition(End);
    }
    Stream.WriteU8(FParent ? static_cast<uint8_t>(FParent->ReportMark.toLatin1()) : 'X');
}

void TfrEMFPages::LoadPreparedPages(TStream& Stream)
{
    Clear();
    Stream.SetPosition(0);
    uint8_t Version = Stream.ReadU8();
    if (Version < 24 || Version > 31) {
        Version = 0;
        Stream.SetPosition(0);
    }
    const uint8_t Flag = Stream.ReadU8();
    if (Flag >= 2 && Flag != 255) {
        ReadOld(Stream);
        return;
    }
    if (Flag != 0)
        throw EReadError(QStringLiteral("The prepared report is compressed, and no compressor is installed"));
    ReadCurrent(Stream, Version);
}

void TfrEMFPages::ReadCurrent(TStream& Stream, uint8_t Version)
{
    const QString Printer = ReadStreamString(Stream);
    if (FParent)
        FParent->SetPrinterName(Printer);
    const int32_t Pages = ReadCount(Stream, Version > 23 ? CurrentBlockBytes : VersionlessBlockBytes);
    for (int32_t i = 0; i < Pages; ++i) {
        auto Info = std::make_unique<TfrPageInfo>();
        const int32_t End = Stream.ReadI32();
        Info->PaperSize = Stream.ReadI16();
        Info->PaperWidth = Stream.ReadI32();
        Info->PaperHeight = Stream.ReadI32();
        Info->PaperOrientation = Stream.ReadU8();
        Info->PaperBin = Version > 23 ? Stream.ReadI32() : -1;
        Info->UseMarginsFlag = Stream.ReadU8();
        if (Version > 23)
            for (int32_t& Margin : Info->PageMargins)
                Margin = Stream.ReadI32();
        const int64_t DataEnd = CheckedEnd(Stream, End);
        Info->Stream = std::make_unique<TMemoryStream>(Stream.ReadBytes(DataEnd - Stream.Position()));
        ApplyPaper(*Info);
        FPages.push_back(std::move(Info));
    }
    const uint8_t Mark = Stream.ReadU8();
    if (FParent)
        FParent->ReportMark = QChar::fromLatin1(static_cast<char>(Mark));
}

void TfrEMFPages::ReadOld(TStream& Stream)
{
    Stream.SetPosition(0);
    QList<QByteArray> Lines;
    QByteArray Line;
    for (;;) {
        const uint8_t B = Stream.ReadU8();
        if (B == 0)
            break;
        if (B == 13) {
            Lines << Line;
            Line.clear();
        } else {
            Line += static_cast<char>(B);
        }
    }
    if (!Line.isEmpty())
        Lines << Line;
    if (!Lines.isEmpty() && FParent)
        FParent->SetPrinterName(FromGbk(Lines.front()));
    const int32_t Pages = ReadCount(Stream, OldBlockBytes);
    for (int32_t i = 0; i < Pages; ++i) {
        auto Info = std::make_unique<TfrPageInfo>();
        const int32_t Next = Stream.ReadI32();
        Info->PaperSize = Stream.ReadI16();
        Info->PaperWidth = Stream.ReadI32();
        Info->PaperHeight = Stream.ReadI32();
        Info->PaperOrientation = Stream.ReadU8();
        Info->PaperBin = -1;
        Info->UseMarginsFlag = Stream.ReadU8();
        ApplyPaper(*Info);
        const int64_t PictureEnd = CheckedEnd(Stream, Next);
        // The page was one metafile: it becomes the page's only view.
        TfrPictureView Picture;
        Picture.Picture()->Assign(gkMetafile, Stream.ReadBytes(PictureEnd - Stream.Position()));
        Picture.SetBounds(0, 0, Info->PagePrnInfo.PaperWidthPx, Info->PagePrnInfo.PaperHeightPx);
        Info->Stream = std::make_unique<TMemoryStream>();
        Info->Stream->WriteU8(frCurrentVersion);
        WriteViewEntry(*Info->Stream, &Picture);
        FPages.push_back(std::move(Info));
    }
}
