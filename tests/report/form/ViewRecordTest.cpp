// View records, written by hand from the record layout for every class and
// form version 21-25: what each loads as, that saving gives the same bytes,
// that the frame width survives, and that damaged records fail cleanly.
#include "ViewTestBytes.h"

#include "platform/rtl/Streams.h"
#include "report/engine/FR_BandView.h"
#include "report/engine/FR_Globals.h"
#include "report/engine/FR_LineView.h"
#include "report/engine/FR_MemoView.h"
#include "report/engine/FR_PictureView.h"
#include "report/engine/FR_SubReportView.h"
#include "report/engine/FR_Utils.h"

#include <gtest/gtest.h>
#include <random>

using viewtest::TBytes;

namespace {

class TFormVersionGuard
{
public:
    explicit TFormVersionGuard(uint8_t Version) : FSaved(FormVersion) { FormVersion = Version; }
    ~TFormVersionGuard() { FormVersion = FSaved; }

private:
    uint8_t FSaved;
};

QString Lines(const TStrings& List)
{
    return List.ToStringList().join(u'|');
}

// Every stored field, in record order.
QString Describe(TfrView* V)
{
    QString S = QStringLiteral("%1 %2.%3 @%4,%5,%6,%7 fl=%8 ft=%9 fw=%10 fc=%11 fs=%12 fill=%13")
                    .arg(V->Name()).arg(V->RecordVersion()).arg(V->RecordSubVersion())
                    .arg(V->Left()).arg(V->Top()).arg(V->Width()).arg(V->Height())
                    .arg(V->Flags()).arg(V->FrameTyp()).arg(V->FrameWidth())
                    .arg(V->FrameColor(), 0, 16).arg(V->FrameStyle()).arg(V->FillColor(), 0, 16);
    S += QStringLiteral(" fmt=%1/%2 memo=%3 script=%4 vis=%5 restr=%6 tag=%7 gap=%8,%9 ba=%10")
             .arg(V->Format(), 0, 16).arg(V->FormatStr(), Lines(*V->Memo()), Lines(*V->Script()))
             .arg(V->Visible()).arg(V->Restrictions()).arg(V->Tag())
             .arg(V->GapX()).arg(V->GapY()).arg(V->BandAlign());
    if (auto* M = dynamic_cast<TfrMemoView*>(V)) {
        const TFont* F = M->Font();
        S += QStringLiteral(" font=%1/%2/%3/%4/%5 al=%6 hl=%7/%8/%9/%10 sp=%11,%12")
                 .arg(F->Name()).arg(F->Size()).arg(GetFontStyleBits(F->Style())).arg(F->Color(), 0, 16)
                 .arg(F->Charset()).arg(M->Alignment()).arg(M->Highlight().FontStyle)
                 .arg(M->Highlight().FontColor, 0, 16).arg(M->Highlight().FillColor, 0, 16)
                 .arg(M->HighlightCondition()).arg(M->LineSpacing()).arg(M->CharSpacing());
    } else if (auto* B = dynamic_cast<TfrBandView*>(V)) {
        S += QStringLiteral(" band=%1 child=%2 cols=%3,%4,%5,%6 master=%7")
                 .arg(B->BandType()).arg(B->ChildBand()).arg(B->Columns()).arg(B->ColumnWidth())
                 .arg(B->ColumnGap()).arg(B->NewColumnAfter()).arg(B->Master());
    } else if (auto* P = dynamic_cast<TfrPictureView*>(V)) {
        S += QStringLiteral(" pict=%1/%2 blob=%3")
                 .arg(P->Picture()->Kind()).arg(QString::fromLatin1(P->Picture()->Data().toHex()))
                 .arg(P->BlobType());
    } else if (auto* R = dynamic_cast<TfrSubReportView*>(V)) {
        S += QStringLiteral(" sub=%1").arg(R->SubPage());
    }
    return S;
}

std::unique_ptr<TfrView> NewView(uint8_t Type)
{
    const TfrViewClass* Class = frFindViewClass(Type);
    return Class ? Class->Create() : nullptr;
}

// ---------------------------------------------------------------- common parts

struct TCommon
{
    QString Name;
    uint8_t SubVersion = 0;
    int32_t Left, Top, Width, Height;
    uint16_t Flags, FrameTyp;
    int32_t StoredFrameWidth;
    uint32_t FrameColor;
    uint16_t FrameStyle;
    uint32_t FillColor;
    uint32_t Format;
    QString FormatStr;
    QStringList Memo, Script;
    uint16_t Visible = 0xFFFF;
    uint16_t Restrictions = 0;
    QString Tag;
    int32_t GapX = 2, GapY = 1;
    uint8_t BandAlign = 0;
};

// Versions 24 and 25, report form.
TBytes Common25(const TCommon& C)
{
    return TBytes()
        .Str(C.Name).U8(2).U8(C.SubVersion)
        .I32(C.Left).I32(C.Top).I32(C.Width).I32(C.Height)
        .U16(C.Flags).U16(C.FrameTyp).I32(C.StoredFrameWidth).U32(C.FrameColor)
        .U16(C.FrameStyle).U32(C.FillColor)
        .U32(C.Format).Str(C.FormatStr)
        .List(C.Memo)
        .List(C.Script).U16(C.Visible)
        .U16(C.Restrictions).Str(C.Tag).I32(C.GapX).I32(C.GapY)
        .U8(C.BandAlign);
}

// Version 23: a name, no version pair; script and visible flag, nothing after.
TBytes Common23(const TCommon& C)
{
    return TBytes()
        .Str(C.Name)
        .I32(C.Left).I32(C.Top).I32(C.Width).I32(C.Height)
        .U16(C.Flags).U16(C.FrameTyp).I32(C.StoredFrameWidth).U32(C.FrameColor)
        .U16(C.FrameStyle).U32(C.FillColor)
        .U32(C.Format).Str(C.FormatStr)
        .List(C.Memo)
        .List(C.Script).U16(C.Visible);
}

// Versions 21 and 22: no name, zero-terminated texts, nothing after the memo.
TBytes Common22(const TCommon& C)
{
    return TBytes()
        .I32(C.Left).I32(C.Top).I32(C.Width).I32(C.Height)
        .U16(C.Flags).U16(C.FrameTyp).I32(C.StoredFrameWidth).U32(C.FrameColor)
        .U16(C.FrameStyle).U32(C.FillColor)
        .U32(C.Format).OldStr(C.FormatStr)
        .OldList(C.Memo);
}

TBytes CommonFor(int Version, const TCommon& C)
{
    return Version >= 24 ? Common25(C) : Version == 23 ? Common23(C) : Common22(C);
}

const TCommon MemoCommon{QStringLiteral("Memo1"), 0, 20, 30, 200, 18, 1, 15, 1500, 0xFF, 1, 0xFFFFFF,
                         0x0104022E, QStringLiteral("#,##0.00"),
                         {QStringLiteral("合计：[Total]"), QString(), QStringLiteral("second")},
                         {QStringLiteral("if a > 1 then b := 2")}, 0xFFFF, 8, QStringLiteral("[Tag]"), 3, 2, 3};

TBytes MemoOwn(int Version)
{
    TBytes B;
    if (Version >= 23)
        B.Str(QStringLiteral("宋体"));
    else
        B.OldStr(QStringLiteral("宋体"));
    B.I32(9).U16(3).U32(0x800000).I32(10).U16(134);
    B.U16(2).U32(0xFF).U32(0xFFFFFF);
    if (Version >= 23)
        B.Str(QStringLiteral("[Value] > 10"));
    else
        B.OldStr(QStringLiteral("[Value] > 10"));
    if (Version >= 24)
        B.I32(4).I32(1);
    return B;
}

const TCommon BandCommon{QStringLiteral("Band1"), 1, 0, 60, 718, 24, 49, 5, 1, 0, 0, 0x1FFFFFFF,
                         0, QStringLiteral("frDBDataSet1"), {}, {QStringLiteral("Inc(n)")}, 0xFFFF, 0,
                         QString(), 2, 1, 0};

TBytes BandOwn(int Version)
{
    TBytes B;
    if (Version >= 24)
        B.Str(QStringLiteral("Child1")).I32(2).I32(300).I32(10).I32(3).Str(QStringLiteral("Band0"));
    return B;
}

const TCommon PictureCommon{QStringLiteral("Picture1"), 0, 300, 100, 80, 60, 5, 0, 2, 0, 0, 0x1FFFFFFF,
                            0x22E, QString(), {QStringLiteral("Query1.Photo")}, {}, 0xFFFF, 0,
                            QString(), 2, 1, 0};
const QByteArray JpegBytes("\xFF\xD8\xFF\xE0jpeg", 8);

// The end position is absolute: Start is where the record begins in its stream.
TBytes PictureOwn(const TBytes& Common, int Version, int Start = 0)
{
    TBytes B;
    B.U8(gkJpeg);
    if (Version >= 24)
        B.U8(btJPG);
    B.I32(Start + Common.Data().size() + B.Data().size() + 4 + JpegBytes.size()).Raw(JpegBytes);
    return B;
}

const TCommon SubReportCommon{QStringLiteral("SubReport1"), 0, 20, 120, 300, 40, 1, 0, 1, 0, 0, 0x1FFFFFFF,
                              0x22E, QString(), {}, {}, 0xFFFF, 64, QStringLiteral("t"), 2, 1, 0};
const TCommon LineCommon{QStringLiteral("Line1"), 0, 20, 160, 0, 50, 1, 4, 11000, 0x00FF00, 5, 0xFFFFFF,
                         0x22E, QString(), {}, {}, 1, 0, QString(), 2, 1, 6};

struct TRecordRow
{
    QString Name;
    uint8_t Type;
    int Version;
    QByteArray Bytes;
    QString Expected;
};

QList<TRecordRow> RecordRows()
{
    QList<TRecordRow> Rows;
    for (int V = 21; V <= 25; ++V) {
        const QString Suffix = QStringLiteral(" v%1").arg(V);
        // Before 24: no restrictions, tag, gaps or spacing; before 23 also no
        // name (a unique one is made), script, visible flag or character set.
        const bool New = V >= 24;
        const QString Vers = New ? QStringLiteral("2.%1") : QStringLiteral("0.%1");

        const TBytes MemoCommonBytes = CommonFor(V, MemoCommon);
        Rows.append({QStringLiteral("memo") + Suffix, gtMemo, V, TBytes(MemoCommonBytes).Raw(MemoOwn(V)),
                     QStringLiteral("Memo1 %1 @20,30,200,18 fl=%2 ft=15 fw=1.5 fc=ff fs=1 fill=ffffff"
                                    " fmt=104022e/#,##0.00 memo=合计：[Total]||second script=%3 vis=1"
                                    " restr=%4 tag=%5 gap=%6 ba=%7 font=宋体/9/3/800000/%8 al=10"
                                    " hl=2/ff/ffffff/[Value] > 10 sp=%9")
                         .arg(Vers.arg(0), V == 21 ? "3" : "1", V >= 23 ? "if a > 1 then b := 2" : "",
                              New ? "8" : "0", New ? "[Tag]" : "", New ? "3,2" : "2,1", New ? "3" : "0",
                              V >= 23 ? "134" : "1", New ? "4,1" : "2,0")});

        const TBytes BandCommonBytes = CommonFor(V, BandCommon);
        Rows.append({QStringLiteral("band") + Suffix, gtBand, V, TBytes(BandCommonBytes).Raw(BandOwn(V)),
                     QStringLiteral("Band1 %1 @0,60,718,24 fl=49 ft=5 fw=1 fc=0 fs=0 fill=1fffffff"
                                    " fmt=0/frDBDataSet1 memo= script=%2 vis=1 restr=0 tag= gap=2,1 ba=0"
                                    " band=5 child=%3 cols=%4 master=%5")
                         .arg(New ? "2.1" : "0.1", V >= 23 ? "Inc(n)" : "", New ? "Child1" : "",
                              New ? "2,300,10,3" : "1,200,20,1", New ? "Band0" : "")});

        const TBytes PictureCommonBytes = CommonFor(V, PictureCommon);
        Rows.append({QStringLiteral("picture") + Suffix, gtPicture, V,
                     TBytes(PictureCommonBytes).Raw(PictureOwn(PictureCommonBytes, V)),
                     QStringLiteral("Picture1 %1 @300,100,80,60 fl=5 ft=0 fw=2 fc=0 fs=0 fill=1fffffff"
                                    " fmt=22e/ memo=Query1.Photo script= vis=1 restr=0 tag= gap=2,1 ba=0"
                                    " pict=4/ffd8ffe06a706567 blob=%2")
                         .arg(Vers.arg(0), New ? "1" : "0")});

        Rows.append({QStringLiteral("subreport") + Suffix, gtSubReport, V,
                     TBytes(CommonFor(V, SubReportCommon)).I32(1),
                     QStringLiteral("SubReport1 %1 @20,120,300,40 fl=1 ft=0 fw=1 fc=0 fs=0 fill=1fffffff"
                                    " fmt=22e/ memo= script= vis=1 restr=%2 tag=%3 gap=2,1 ba=0 sub=1")
                         .arg(Vers.arg(0), New ? "64" : "0", New ? "t" : "")});

        // Stored frame width 11000 is 11; visible stored as 1 still reads true.
        Rows.append({QStringLiteral("line") + Suffix, gtLine, V, CommonFor(V, LineCommon),
                     QStringLiteral("Line1 %1 @20,160,0,50 fl=1 ft=4 fw=11 fc=ff00 fs=5 fill=ffffff fmt=22e/"
                                    " memo= script= vis=1 restr=0 tag= gap=2,1 ba=%2")
                         .arg(Vers.arg(0), New ? "6" : "0")});
    }
    return Rows;
}

std::unique_ptr<TfrView> Load(uint8_t Type, int Version, const QByteArray& Bytes, int64_t* Position = nullptr)
{
    TFormVersionGuard Guard(static_cast<uint8_t>(Version));
    CurReport = nullptr;   // unique names of old records need no report
    auto View = NewView(Type);
    TMemoryStream In(Bytes);
    View->LoadFromStream(In);
    if (Position)
        *Position = In.Position();
    return View;
}

QByteArray Save(TfrView* View)
{
    TFormVersionGuard Guard(frCurrentVersion);
    TMemoryStream Out;
    View->SaveToStream(Out);
    return Out.Data();
}

TEST(ViewRecord, GoldenRecordsLoadAsWritten)
{
    for (const TRecordRow& Row : RecordRows()) {
        SCOPED_TRACE(Row.Name.toStdString());
        int64_t Position = 0;
        auto View = Load(Row.Type, Row.Version, Row.Bytes, &Position);
        EXPECT_EQ(Describe(View.get()), Row.Expected);
        EXPECT_EQ(Position, Row.Bytes.size()) << "the whole record is consumed";
    }
}

TEST(ViewRecord, SaveLoadSaveIsByteIdentical)
{
    for (const TRecordRow& Row : RecordRows()) {
        SCOPED_TRACE(Row.Name.toStdString());
        auto View = Load(Row.Type, Row.Version, Row.Bytes);
        const QByteArray First = Save(View.get());
        if (Row.Version == 25) {
            EXPECT_EQ(First.toHex(), Row.Bytes.toHex()) << "a current record is written back as read";
        }
        auto Again = Load(Row.Type, 25, First);
        EXPECT_EQ(Describe(Again.get()), Describe(View.get()));
        EXPECT_EQ(Save(Again.get()).toHex(), First.toHex());
    }
}

TEST(ViewRecord, PictureEndIsAbsoluteInItsStream)
{
    const QByteArray Prefix("12345");
    const TBytes CommonBytes = Common25(PictureCommon);
    const QByteArray Record = TBytes(CommonBytes).Raw(PictureOwn(CommonBytes, 25, Prefix.size()));
    TFormVersionGuard Guard(25);
    TMemoryStream In(Prefix + Record + QByteArray("after"));
    In.SetPosition(Prefix.size());
    TfrPictureView View;
    View.LoadFromStream(In);
    EXPECT_EQ(View.Picture()->Data(), JpegBytes);
    EXPECT_EQ(In.Position(), Prefix.size() + Record.size());
}

TEST(ViewRecord, PictureOfUnknownOrNoKindIsEmptyAndSkipped)
{
    for (uint8_t Kind : {uint8_t(gkNone), uint8_t(7)}) {
        SCOPED_TRACE(Kind);
        const TBytes CommonBytes = Common25(PictureCommon);
        const int End = CommonBytes.Data().size() + 6 + 3;
        const QByteArray Record = TBytes(CommonBytes).U8(Kind).U8(0).I32(End).Raw("xyz");
        int64_t Position = 0;
        auto View = Load(gtPicture, 25, Record + QByteArray("next"), &Position);
        auto* Picture = static_cast<TfrPictureView*>(View.get());
        EXPECT_TRUE(Picture->Picture()->Empty());
        EXPECT_EQ(Position, End);
    }
    // Written without a graphic: kind 0 and an end right after the field.
    TfrPictureView Empty;
    const QByteArray Bytes = Save(&Empty);
    TMemoryStream In(Bytes);
    In.SetPosition(Bytes.size() - 6);
    EXPECT_EQ(In.ReadU8(), gkNone);
    EXPECT_EQ(In.ReadU8(), btBMP);
    EXPECT_EQ(In.ReadI32(), Bytes.size());
}

TEST(ViewRecord, PictureEndOutsideTheStreamIsDamage)
{
    const TBytes CommonBytes = Common25(PictureCommon);
    const int Here = CommonBytes.Data().size() + 6;
    for (int End : {Here - 1, 0, -5, Here + 100, 0x7FFFFFFF}) {
        SCOPED_TRACE(End);
        const QByteArray Record = TBytes(CommonBytes).U8(gkBitmap).U8(0).I32(End).Raw("BMxx");
        EXPECT_THROW(Load(gtPicture, 25, Record), EReadError);
    }
}

TEST(ViewRecord, PreparedPageRecordCarriesExpandedMemo)
{
    // StreamMode 1: no format, script or visible flag, no highlight; the
    // expanded memo is written and read back into Memo.
    TfrMemoView Memo;
    Memo.SetName(QStringLiteral("Memo7"));
    Memo.Memo()->SetText(QStringLiteral("[Price]"));
    Memo.ExpandedMemo()->SetText(QStringLiteral("12.50"));
    Memo.SetStreamMode(1);
    const QByteArray Bytes = Save(&Memo);
    const QByteArray Expected =
        TBytes().Str("Memo7").U8(2).U8(0).I32(0).I32(0).I32(0).I32(0).U16(3).U16(0).I32(1).U32(0)
            .U16(0).U32(0x1FFFFFFF).List({"12.50"}).U16(0).Str("").I32(2).I32(1).U8(0)
            .Str("Arial").I32(10).U16(0).U32(0).I32(0).U16(1).I32(2).I32(0);
    EXPECT_EQ(Bytes.toHex(), Expected.toHex());

    TFormVersionGuard Guard(25);
    TfrMemoView Back;
    Back.SetStreamMode(1);
    TMemoryStream In(Bytes);
    Back.LoadFromStream(In);
    EXPECT_EQ(Lines(*Back.Memo()), u"12.50");
    EXPECT_EQ(In.Remaining(), 0);
}

TEST(ViewRecord, BandMasterFollowsRecordVersion)
{
    // Record version 2.0 (value 20) carries no Master text; 2.1 does.
    for (uint8_t Sub : {uint8_t(0), uint8_t(1)}) {
        SCOPED_TRACE(Sub);
        TCommon C = BandCommon;
        C.SubVersion = Sub;
        TBytes B = Common25(C);
        B.Str("Child1").I32(1).I32(200).I32(20).I32(1);
        if (Sub == 1)
            B.Str("Band0");
        int64_t Position = 0;
        auto View = Load(gtBand, 25, B.Data() + QByteArray("\xFF", 1), &Position);
        EXPECT_EQ(static_cast<TfrBandView*>(View.get())->Master(), Sub ? u"Band0" : u"");
        EXPECT_EQ(Position, B.Data().size());
    }
}

TEST(ViewRecord, BandTypeKeepsSevenBits)
{
    TfrBandView Band;
    Band.SetBandType(130);
    EXPECT_EQ(Band.BandType(), 2);
    Band.SetFrameTyp(0x80 | btGroupHeader);
    EXPECT_EQ(Band.BandType(), btGroupHeader);
}

TEST(ViewRecord, FrameWidthEncodingRoundTrips)
{
    struct TRow
    {
        float Width;
        int32_t Stored;
        float ReadBack;
    };
    const TRow Rows[] = {
        {1.5f, 1500, 1.5f},  {2.0f, 2, 2.0f},     {10.0f, 10, 10.0f},   {0.0f, 0, 0.0f},
        {0.5f, 500, 0.5f},   {0.011f, 11, 0.011f}, {10.5f, 10500, 10.5f},
        // Integral widths of 11 and more go in thousandths, so they read back.
        {11.0f, 11000, 11.0f}, {12.0f, 12000, 12.0f}, {100.0f, 100000, 100.0f},
        // Too small for thousandths: the nearest width that reads back as itself.
        {0.004f, 0, 0.0f},   {0.008f, 11, 0.011f},
    };
    for (const TRow& Row : Rows) {
        SCOPED_TRACE(Row.Width);
        EXPECT_EQ(frEncodeFrameWidth(Row.Width), Row.Stored);
        EXPECT_FLOAT_EQ(frDecodeFrameWidth(Row.Stored), Row.ReadBack);
        EXPECT_FLOAT_EQ(frDecodeFrameWidth(frEncodeFrameWidth(Row.ReadBack)), Row.ReadBack);
    }
    // As stored by older writers: 10 is ten units, 11 is eleven thousandths.
    EXPECT_FLOAT_EQ(frDecodeFrameWidth(10), 10.0f);
    EXPECT_FLOAT_EQ(frDecodeFrameWidth(11), 0.011f);
    for (int W = 0; W <= 200; ++W)
        EXPECT_EQ(frDecodeFrameWidth(frEncodeFrameWidth(float(W))), float(W)) << W;
}

TEST(ViewRecord, OversizeTextIsRefusedOnSave)
{
    TfrMemoView Memo;
    Memo.SetTag(QString(0x10000, u'x'));
    TMemoryStream Out;
    EXPECT_THROW(Memo.SaveToStream(Out), EWriteError);
    TfrBandView Band;
    Band.SetMaster(QString(40000, QChar(0x91D1)));
    EXPECT_THROW(Band.SaveToStream(Out), EWriteError);
}

TEST(ViewRecord, EveryTruncatedRecordRaises)
{
    for (const TRecordRow& Row : RecordRows()) {
        SCOPED_TRACE(Row.Name.toStdString());
        for (int Cut = 0; Cut < Row.Bytes.size(); ++Cut)
            EXPECT_THROW(Load(Row.Type, Row.Version, Row.Bytes.left(Cut)), EReadError) << "cut at " << Cut;
    }
}

TEST(ViewRecord, CorruptedRecordsFailCleanly)
{
    std::mt19937 Random(20261209);
    for (const TRecordRow& Row : RecordRows()) {
        SCOPED_TRACE(Row.Name.toStdString());
        for (int Trial = 0; Trial < 300; ++Trial) {
            QByteArray Bytes = Row.Bytes;
            const int Flips = 1 + static_cast<int>(Random() % 3);
            for (int k = 0; k < Flips; ++k)
                Bytes[static_cast<int>(Random() % Bytes.size())] = static_cast<char>(Random() % 256);
            try {
                int64_t Position = 0;
                auto View = Load(Row.Type, Row.Version, Bytes, &Position);
                EXPECT_LE(Position, Bytes.size());
            } catch (const Exception&) {
                // A damaged record may be refused; it must not crash.
            }
        }
    }
}

TEST(ViewRecord, AssignCopiesThroughTheRecord)
{
    auto Source = Load(gtMemo, 25, TBytes(Common25(MemoCommon)).Raw(MemoOwn(25)));
    Source->SetSelected(true);
    TfrMemoView Copy;
    Copy.Assign(Source.get());
    EXPECT_EQ(Describe(&Copy), Describe(Source.get()));
    EXPECT_TRUE(Copy.Selected());
    EXPECT_EQ(FormVersion, frCurrentVersion);
}

TEST(ViewRegistry, StandardClassesByTypeAndName)
{
    struct TRow
    {
        uint8_t Type;
        const char* ClassName;
        const char* BaseName;
    };
    const TRow Rows[] = {
        {gtMemo, "TfrMemoView", "Memo"},
        {gtPicture, "TfrPictureView", "Picture"},
        {gtBand, "TfrBandView", "Band"},
        {gtSubReport, "TfrSubReportView", "SubReport"},
        {gtLine, "TfrLineView", "Line"},
    };
    for (const TRow& Row : Rows) {
        SCOPED_TRACE(Row.ClassName);
        const TfrViewClass* Class = frFindViewClass(Row.Type);
        ASSERT_NE(Class, nullptr);
        EXPECT_EQ(Class->ClassName, QString::fromLatin1(Row.ClassName));
        EXPECT_EQ(frFindViewClassByName(QString::fromLatin1(Row.ClassName)), Class);
        auto View = Class->Create();
        EXPECT_EQ(View->ObjectType(), Row.Type);
        EXPECT_EQ(View->ClassName(), QString::fromLatin1(Row.ClassName));
        EXPECT_EQ(View->BaseName(), QString::fromLatin1(Row.BaseName));
    }
    EXPECT_EQ(frFindViewClass(gtAddIn), nullptr);
    EXPECT_EQ(frFindViewClass(5), nullptr);
    EXPECT_EQ(frFindViewClassByName(QStringLiteral("tfrmemoview")), nullptr) << "exact names";
}

TEST(ViewRegistry, AddInClassRegistersByName)
{
    class TfrTestAddIn : public TfrView
    {
    public:
        QString ClassName() const override { return QStringLiteral("TfrTestAddIn"); }
    };
    frRegisterViewClass(gtAddIn, QStringLiteral("TfrTestAddIn"), [] { return std::make_unique<TfrTestAddIn>(); });
    const TfrViewClass* Class = frFindViewClassByName(QStringLiteral("TfrTestAddIn"));
    ASSERT_NE(Class, nullptr);
    EXPECT_EQ(Class->ObjectType, gtAddIn);
    EXPECT_EQ(Class->Create()->ObjectType(), gtAddIn);
    frUnregisterViewClass(QStringLiteral("TfrTestAddIn"));
    EXPECT_EQ(frFindViewClassByName(QStringLiteral("TfrTestAddIn")), nullptr);
}

TEST(ViewDefaults, EachClassStartsWithItsDefaults)
{
    const QString Decimal = QString::number(2 * 256 + FormatSettings().DecimalSeparator.unicode(), 16);
    struct TRow
    {
        uint8_t Type;
        QString Expected;
    };
    const TRow Rows[] = {
        {gtMemo, QStringLiteral(" 0.0 @0,0,0,0 fl=3 ft=0 fw=1 fc=0 fs=0 fill=1fffffff fmt=%1/ memo= script="
                                " vis=1 restr=0 tag= gap=2,1 ba=0 font=Arial/10/0/0/1 al=0 hl=2/0/ffffff/ sp=2,0")
                     .arg(Decimal)},
        {gtBand, QStringLiteral(" 0.1 @0,0,0,0 fl=48 ft=0 fw=1 fc=0 fs=0 fill=1fffffff fmt=0/ memo= script="
                                " vis=1 restr=0 tag= gap=2,1 ba=0 band=0 child= cols=1,200,20,1 master=")},
        {gtPicture, QStringLiteral(" 0.0 @0,0,0,0 fl=5 ft=0 fw=1 fc=0 fs=0 fill=1fffffff fmt=%1/ memo= script="
                                   " vis=1 restr=0 tag= gap=2,1 ba=0 pict=0/ blob=0")
                        .arg(Decimal)},
        {gtSubReport, QStringLiteral(" 0.0 @0,0,0,0 fl=1 ft=0 fw=1 fc=0 fs=0 fill=1fffffff fmt=%1/ memo= script="
                                     " vis=1 restr=0 tag= gap=2,1 ba=0 sub=0")
                          .arg(Decimal)},
        {gtLine, QStringLiteral(" 0.0 @0,0,0,0 fl=1 ft=4 fw=1 fc=0 fs=0 fill=ffffff fmt=%1/ memo= script="
                                " vis=1 restr=0 tag= gap=2,1 ba=0")
                     .arg(Decimal)},
    };
    for (const TRow& Row : Rows) {
        SCOPED_TRACE(Row.Type);
        EXPECT_EQ(Describe(NewView(Row.Type).get()), Row.Expected);
    }
}

} // namespace
