// The prepared report file: hand-made files of every form, a round trip that
// keeps every byte, damaged files refused without touching the report, and
// every truncation and random damage read without crash or runaway memory.
#include "PreparedTestUtil.h"

#include "platform/gui/ModalSeam.h"
#include "report/engine/FR_PictureView.h"
#include "report/engine/FR_Prntr.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

using namespace preparedtest;

namespace {

// A page stream of one memo named Name at 10,20 40x12 holding Text.
QByteArray MemoStream(const QString& Name, const QString& Text)
{
    TMemoryStream S;
    S.WriteU8(25);
    TfrMemoView Memo;
    Memo.SetName(Name);
    Memo.SetBounds(10, 20, 40, 12);
    Memo.ExpandedMemo()->SetText(Text);
    Memo.SetStreamMode(1);
    S.WriteU8(gtMemo);
    Memo.SaveToStream(S);
    return S.Data();
}

QString PaperOf(const TfrPageInfo& I)
{
    return QStringLiteral("%1 %2x%3 o%4 bin%5 m%6 %7,%8,%9,%10")
        .arg(I.PaperSize).arg(I.PaperWidth).arg(I.PaperHeight).arg(I.PaperOrientation).arg(I.PaperBin)
        .arg(I.UseMarginsFlag).arg(I.PageMargins[0]).arg(I.PageMargins[1]).arg(I.PageMargins[2])
        .arg(I.PageMargins[3]);
}

QByteArray Current(int Version)
{
    TBytes B;
    B.U8(Version).U8(0).Str("Virtual printer").I32(2);
    for (int Page = 0; Page < 2; ++Page) {
        const int Start = B.Pos();
        B.I32(0).I16(Page == 0 ? 9 : 11).I32(Page == 0 ? 2100 : 2970).I32(Page == 0 ? 2970 : 2100).U8(Page);
        B.I32(15).U8(1).I32(10).I32(20).I32(30).I32(40);
        B.Raw(MemoStream(Page == 0 ? "First" : "Second", "Page " + QString::number(Page + 1)));
        B.PatchI32(Start, B.Pos());
    }
    return B.U8('Q').Data();
}

QByteArray Versionless()
{
    TBytes B;
    B.U8(0).Str("Virtual printer").I32(1);
    const int Start = B.Pos();
    // A view type this program does not know ends the page's views.
    B.I32(0).I16(9).I32(2100).I32(2970).U8(0).U8(1).Raw(MemoStream("Only", "V0") + '\x07' +
                                                          MemoStream("Lost", "").mid(1));
    B.PatchI32(Start, B.Pos());
    return B.U8('X').Data();
}

// The old form: printer lines ending in 13, a 0 byte, pages of one metafile.
// First is the file's first byte (a version 23 file starts the same way).
QByteArray OldForm(const QByteArray& Lines)
{
    TBytes B;
    B.Raw(Lines).U8(0).I32(1);
    const int Start = B.Pos();
    B.I32(0).I16(9).I32(2100).I32(2970).U8(0).U8(1).Raw("EMF-BYTES");
    B.PatchI32(Start, B.Pos());
    return B.Data();
}

} // namespace

TEST_F(TPreparedTest, HandMadeFilesOfEveryForm)
{
    struct TRow
    {
        const char* Name;
        QByteArray File;
        const char* Papers;
        const char* FirstViews;
        char Mark;
        const char* Printer;
    };
    const TRow Rows[] = {
        {"current", Current(25), "9 2100x2970 o0 bin15 m1 10,20,30,40|11 2970x2100 o1 bin15 m1 10,20,30,40",
         "First 10,20 40x12 Page 1", 'Q', "Virtual printer"},
        {"versionless", Versionless(), "9 2100x2970 o0 bin-1 m1 0,0,0,0", "Only 10,20 40x12 V0", 'X',
         "Virtual printer"},
        {"old form", OldForm("Office\rsecond line\r"), "9 2100x2970 o0 bin-1 m1 0,0,0,0", "", 'X', "Office"},
        {"version 23", OldForm("\x17"), "9 2100x2970 o0 bin-1 m1 0,0,0,0", "", 'X', "\x17"},
    };
    for (const TRow& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        Report.ReportMark = 'X';
        TMemoryStream S(Row.File);
        Report.EMFPages()->LoadPreparedPages(S);
        QStringList Papers;
        for (int i = 0; i < Report.EMFPages()->Count(); ++i)
            Papers << PaperOf(*Report.EMFPages()->Items(i));
        EXPECT_EQ(Papers.join('|'), QString(Row.Papers));
        EXPECT_EQ(Report.ReportMark, QChar(Row.Mark));
        EXPECT_EQ(Report.PrinterName(), QString(Row.Printer));
        TfrPageInfo& First = *Report.EMFPages()->Items(0);
        EXPECT_GT(First.PagePrnInfo.PaperWidthPx, 0);   // the printer's printable area, copied
        if (*Row.FirstViews) {
            EXPECT_EQ(Views(*Report.EMFPages(), 0), QString(Row.FirstViews));
        } else {
            // The old page's metafile is the page's one picture, over the whole paper.
            Report.EMFPages()->ObjectsToPage(0);
            const TfrPage* Page = First.PageObject.get();
            ASSERT_EQ(Page->Count(), 1);
            auto* Picture = dynamic_cast<TfrPictureView*>(Page->Objects(0));
            ASSERT_NE(Picture, nullptr);
            EXPECT_EQ(Picture->Picture()->Kind(), gkMetafile);
            EXPECT_EQ(Picture->Picture()->Data(), QByteArray("EMF-BYTES"));
            EXPECT_EQ(QRect(Picture->Left(), Picture->Top(), Picture->Width(), Picture->Height()),
                      QRect(0, 0, First.PagePrnInfo.PaperWidthPx, First.PagePrnInfo.PaperHeightPx));
        }
    }
}

TEST_F(TPreparedTest, SaveLoadSaveKeepsEveryByte)
{
    Paper->ChangePaper(11, 0, 0, frNoBin, poLandscape);
    Paper->LeftMargin = 12;
    Paper->BottomMargin = 34;
    Paper->UseMargins = 0;
    AddPage(*Report.EMFPages(), *Paper, {{"A", {5, 6, 70, 20}, "甲乙 one"}, {"URLB", {9, 80, 60, 20}, "x@y"}});
    Paper->ChangePaper(9, 0, 0, frNoBin, poPortrait);
    Paper->UseMargins = -1;
    AddPage(*Report.EMFPages(), *Paper, {{"C", {1, 2, 3, 4}, "two\nlines"}});
    Report.ReportMark = 'M';

    QTemporaryDir Dir;
    const QString File = Dir.filePath("r.frp");
    Report.SavePreparedReport(File);
    TfrReport Other;
    ASSERT_TRUE(Other.LoadPreparedReport(File));
    EXPECT_FALSE(Other.CanRebuild());
    EXPECT_EQ(Other.ReportMark, QChar('M'));
    ASSERT_EQ(Other.PreparedPageCount(), 2);
    EXPECT_EQ(PaperOf(*Other.EMFPages()->Items(0)), "11 2100x1480 o1 bin65535 m0 12,0,0,34");
    EXPECT_EQ(Views(*Other.EMFPages(), 0), "A 5,6 70x20 甲乙 one\nURLB 9,80 60x20 x@y");
    EXPECT_EQ(Views(*Other.EMFPages(), 1), "C 1,2 3x4 two\r\nlines");
    const QString Again = Dir.filePath("again.frp");
    Other.SavePreparedReport(Again);
    QFile A(File), B(Again);
    ASSERT_TRUE(A.open(QIODevice::ReadOnly) && B.open(QIODevice::ReadOnly));
    EXPECT_EQ(A.readAll(), B.readAll());
}

// A page holding a view of a class this program does not register shows the
// views before it; written back after an edit, it keeps the bytes of that
// view and of every view after it, edit after edit.
TEST_F(TPreparedTest, AnEditedPageKeepsTheViewsItCouldNotRead)
{
    const QByteArray Unread = QByteArray("\x0A") + TBytes().Str("TfrStampView").Data() +
                              MemoStream("Stamp", "").mid(2) + MemoStream("Memo3", "three").mid(1) +
                              MemoStream("Memo4", "four").mid(1);
    TfrEMFPages& Pages = *Report.EMFPages();
    Pages.Add(Paper);
    Pages.Items(0)->Stream = std::make_unique<TMemoryStream>(MemoStream("Memo1", "one") + Unread);
    for (const char* Text : {"edited", "again"}) {
        SCOPED_TRACE(Text);
        Pages.ObjectsToPage(0);
        ASSERT_EQ(Pages.Items(0)->PageObject->Count(), 1);
        Pages.Items(0)->PageObject->Objects(0)->Memo()->SetText(Text);
        Pages.PageToObjects(0);
        Pages.Items(0)->PageObject.reset();
        EXPECT_EQ(Views(Pages, 0), QStringLiteral("Memo1 10,20 40x12 ") + Text);
        EXPECT_TRUE(Pages.Items(0)->Stream->Data().endsWith(Unread));
        EXPECT_EQ(Pages.Items(0)->Stream->Size(), MemoStream("Memo1", Text).size() + Unread.size());
    }
}

// A view of a class that is registered only when the page is read again.
class TfrStampView : public TfrView
{
public:
    QString ClassName() const override { return QStringLiteral("TfrStampView"); }
};

// A page stream in the layout of Version, written by hand from the format:
// "M1 10,20 one", a picture at 10,40, a line, a band and a subreport at
// 10,50 to 10,54, a TfrStampView at 10,60 and a memo of two lines at 10,80. Before 24 the records have no name, record versions,
// restrictions, tag, gaps or line spacing; before 23 texts end in a 0 byte
// and the lines of a memo are parted by byte 13.
QByteArray OldPageStream(int Version)
{
    TBytes B;
    auto Text = [&](const QByteArray& T) { return Version >= 23 ? B.Str(T) : B.Raw(T).U8(0); };
    auto Base = [&](const QByteArray& Name, int Y, const QList<QByteArray>& Lines) {
        if (Version >= 24)
            B.Str(Name).U8(2).U8(0);
        B.I32(10).I32(Y).I32(40).I32(12).I16(0).I16(0).I32(1).I32(0).I16(0).I32(int(clNone));
        if (Version < 23) {
            B.Raw(Lines.join('\r')).U8(0);
        } else if (Lines.isEmpty()) {
            B.I16(0).U8(0);
        } else {
            B.I16(int(Lines.size()));
            for (int i = 0; i < Lines.size(); ++i)
                B.I16(int(Lines[i].size())).Raw(Lines[i]).U8(i + 1 < Lines.size() ? 13 : 0);
        }
        if (Version >= 24)
            B.I16(0).Str("").I32(0).I32(0).U8(0);
    };
    auto Memo = [&](const QByteArray& Name, int Y, const QList<QByteArray>& Lines) {
        B.U8(gtMemo);
        Base(Name, Y, Lines);
        Text("Arial");
        B.I32(10).I16(0).I32(0).I32(0).I16(134);
        if (Version >= 24)
            B.I32(0).I32(0);
    };
    B.U8(Version);
    Memo("M1", 20, {"one"});
    B.U8(gtPicture);
    Base("P2", 40, {});
    B.U8(gkMetafile);
    if (Version >= 24)
        B.U8(0);
    B.I32(B.Pos() + 4 + 9).Raw("EMF-BYTES");
    B.U8(gtLine);
    Base("L3", 50, {});
    B.U8(gtBand);
    Base("B4", 52, {});
    if (Version >= 24)
        B.Str("").I32(1).I32(0).I32(0).I32(0);
    B.U8(gtSubReport);
    Base("S5", 54, {});
    B.I32(1);
    B.U8(gtAddIn).Str("TfrStampView");
    Base("S3", 60, {});
    Memo("M4", 80, {"three", "lines"});
    return B.Data();
}

// Views of a record as "kind x,y content" items.
QString Kinds(TfrEMFPages& Pages, int Index)
{
    Pages.ObjectsToPage(Index);
    const TfrPage* Page = Pages.Items(Index)->PageObject.get();
    QStringList L;
    for (int i = 0; i < Page->Count(); ++i) {
        TfrView* V = Page->Objects(i);
        const QString At = QStringLiteral(" %1,%2").arg(V->Left()).arg(V->Top());
        if (auto* P = dynamic_cast<TfrPictureView*>(V))
            L << "P" + At + ' ' + QString::fromLatin1(P->Picture()->Data());
        else if (dynamic_cast<TfrMemoView*>(V))
            L << "M" + At + ' ' + V->Memo()->Text().trimmed().replace("\r\n", "/");
        else
            L << V->ClassName() + At;
    }
    return L.join('|');
}

// A page read in an older layout and edited keeps the views it could not
// read (a class not registered then) readable: once the class is there, the
// saved file shows every view, for every version the reader takes.
TEST_F(TPreparedTest, AnEditedOldPageKeepsItsUnreadViewsReadable)
{
    QTemporaryDir Dir;
    const QString Others = "TfrLineView 10,50|TfrBandView 10,52|TfrSubReportView 10,54";
    for (const int Version : {21, 22, 23, 24, 25}) {
        for (const bool Edited : {false, true}) {
            SCOPED_TRACE(QStringLiteral("version %1%2").arg(Version).arg(Edited ? ", edited" : "").toStdString());
            TfrEMFPages& Pages = *Report.EMFPages();
            Pages.Clear();
            Pages.Add(Paper);
            Pages.Items(0)->Stream = std::make_unique<TMemoryStream>(OldPageStream(Version));
            QString First = "M 10,20 one";
            if (Edited) {
                Pages.ObjectsToPage(0);
                ASSERT_EQ(Kinds(Pages, 0), "M 10,20 one|P 10,40 EMF-BYTES|" + Others);
                TfrView* Memo = Pages.Items(0)->PageObject->Objects(0);
                Memo->Memo()->SetText(QStringLiteral("edited 改"));
                Memo->SetLeft(30);
                Pages.PageToObjects(0);
                Pages.Items(0)->PageObject.reset();
                First = QStringLiteral("M 30,20 edited 改");
            }
            const QString File = Dir.filePath(QStringLiteral("v%1.frp").arg(Version));
            Report.SavePreparedReport(File);
            frRegisterObject({QStringLiteral("TfrStampView"), [] { return std::make_unique<TfrStampView>(); },
                              QString(), QString(), nullptr});
            TfrReport Other;
            EXPECT_TRUE(Other.LoadPreparedReport(File));
            const QString Read = Kinds(*Other.EMFPages(), 0);
            std::erase_if(frAddIns, [](const TfrAddInObjectInfo& I) { return I.ClassName == "TfrStampView"; });
            CurReport = &Report;
            EXPECT_EQ(Read, First + "|P 10,40 EMF-BYTES|" + Others + "|TfrStampView 10,60|M 10,80 three/lines");
        }
    }
}

TEST_F(TPreparedTest, DamagedFilesLeaveTheReportAsItWas)
{
    AddPage(*Report.EMFPages(), *Paper, {{"Kept", {1, 1, 10, 10}, "k"}});
    const QByteArray Good = Current(25);
    QByteArray PastEnd = Good;
    PastEnd[27] = char(0x7F);   // first page's end far behind the file
    QByteArray Backwards = Good;
    Backwards.replace(24, 4, QByteArray("\x05\0\0\0", 4));
    QByteArray HugeCount = Good;
    HugeCount.replace(20, 4, QByteArray("\xFF\xFF\xFF\x7F", 4));
    QByteArray Compressed = Good;
    Compressed[1] = 1;
    struct TRow
    {
        const char* Name;
        QByteArray File;
        const char* Reason;
    };
    const TRow Rows[] = {
        {"end past the file", PastEnd, "page ends at"},
        {"end before the block", Backwards, "page ends at"},
        {"more pages than bytes", HugeCount, "pages announced"},
        {"compressed", Compressed, "compressed"},
        {"cut short", Good.left(Good.size() - 1), ""},
        {"missing file", QByteArray(), ""},
    };
    QTemporaryDir Dir;
    for (const TRow& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        const QString File = Dir.filePath(QString(Row.Name) + ".frp");
        if (!Row.File.isEmpty()) {
            QFile F(File);
            ASSERT_TRUE(F.open(QIODevice::WriteOnly));
            F.write(Row.File);
        }
        Report.ReportMark = 'X';
        TModalHandlers Handlers(nullptr, [](const TMessageRequest&) { return mrOk; });
        EXPECT_FALSE(Report.LoadPreparedReport(File));
        ASSERT_EQ(TModalSeam::Messages().size(), 1u);
        EXPECT_EQ(TModalSeam::Messages()[0].Caption, "Error");
        EXPECT_TRUE(TModalSeam::Messages()[0].Text.contains(File));
        EXPECT_TRUE(TModalSeam::Messages()[0].Text.contains(Row.Reason));
        ASSERT_EQ(Report.PreparedPageCount(), 1);
        EXPECT_EQ(Views(*Report.EMFPages(), 0), "Kept 1,1 10x10 k");
        EXPECT_EQ(Report.ReportMark, QChar('X'));
    }
}

TEST_F(TPreparedTest, TruncatedAndDamagedFilesNeverCrash)
{
    for (int i = 0; i < 3; ++i)
        AddPage(*Report.EMFPages(), *Paper,
                {{"URL" + QString::number(i), {10, 10, 50, 20}, "http://e.x"}, {"M", {30, 40, 60, 20}, "值"}});
    TMemoryStream Saved;
    Report.EMFPages()->SavePreparedPages(Saved);
    const QByteArray Good = Saved.Data();
    QImage Image(100, 140, QImage::Format_RGB32);
    auto Exercise = [&](const QByteArray& Bytes) {
        TfrEMFPages Pages(&Report);
        TMemoryStream S(Bytes);
        try {
            Pages.LoadPreparedPages(S);
        } catch (const Exception&) {
        }
        TCanvas Canvas(&Image);
        for (int p = 0; p < Pages.Count(); ++p) {
            Pages.Items(p)->OnScreen = true;
            Pages.Draw(p, &Canvas, QRect(0, 0, 100, 140));
            QString Url;
            Qt::CursorShape Cursor = Qt::ArrowCursor;
            Pages.DoClick(p, QPoint(20, 20), Url, Cursor, false);
        }
        return Pages.Count();
    };
    for (int Length = 0; Length < Good.size(); ++Length)
        EXPECT_LE(Exercise(Good.left(Length)), 3);
    QRandomGenerator Random(21);
    for (int Round = 0; Round < 1500; ++Round) {
        QByteArray Bytes = Good;
        for (int Flips = 1 + Round % 4; Flips > 0; --Flips)
            Bytes[Random.bounded(Bytes.size())] = char(Random.bounded(256));
        EXPECT_LE(Exercise(Bytes), 3);
    }
}
