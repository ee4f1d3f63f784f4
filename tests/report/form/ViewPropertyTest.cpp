// Views by name: the property records each class registers for the inspector
// and scripts, getting and setting by name, the script methods on memo lines,
// and unique naming against the report.
#include "platform/rtl/Streams.h"
#include "report/engine/FR_BandView.h"
#include "report/engine/FR_Class.h"
#include "report/engine/FR_Control.h"
#include "report/engine/FR_Globals.h"
#include "report/engine/FR_LineView.h"
#include "report/engine/FR_MemoView.h"
#include "report/engine/FR_Page.h"
#include "report/engine/FR_PictureView.h"
#include "report/engine/FR_SubReportView.h"

#include <gtest/gtest.h>

namespace {

QString Registered(TfrObject& Object)
{
    Object.RegisterProperties();
    QStringList Names;
    for (int i = 0; i < Object.PropCount(); ++i)
        Names << Object.PropRec(i).PropName;
    return Names.join(u'|');
}

const QString ViewProps = QStringLiteral(
    "Name|Left|Top|Width|Height|Flags|FrameTyp|FrameWidth|FrameColor|FrameStyle|FillColor|Tag|BandAlign"
    "|Visible|Memo|Memo.Count|Restrictions");
const QString BandBase = QStringLiteral("Name|Left|Top|Width|Height|Flags|Visible|OnBeforePrint|Memo.Count|Restrictions");

TEST(ViewProperties, EachClassRegistersItsRecordsInOrder)
{
    struct TRow
    {
        const char* Name;
        std::function<std::unique_ptr<TfrView>()> Make;
        QString Expected;
    };
    auto Band = [](int Type) {
        return [Type] {
            auto B = std::make_unique<TfrBandView>();
            B->SetBandType(Type);
            return std::unique_ptr<TfrView>(std::move(B));
        };
    };
    const QList<TRow> Rows = {
        {"memo", [] { return std::make_unique<TfrMemoView>(); },
         ViewProps + QStringLiteral("|Font.Name|Font.Size|Font.Style|Font.Color|Font|Alignment|DisplayFormat"
                                    "|Highlight|LineSpacing|CharSpacing|GapX|GapY|Stretched|WordWrap|WordBreak"
                                    "|AutoWidth|TextOnly|Suppress|HideZeros|Lines.Count|Underlines|RTLReading")},
        {"picture", [] { return std::make_unique<TfrPictureView>(); },
         ViewProps + QStringLiteral("|Picture|Stretched|Center|KeepAspect|DataField|BlobType")},
        {"line", [] { return std::make_unique<TfrLineView>(); }, ViewProps + QStringLiteral("|Stretched")},
        {"subreport", [] { return std::make_unique<TfrSubReportView>(); },
         QStringLiteral("Name|Left|Top|Width|Height|Flags|Visible|Memo|Memo.Count|Restrictions")},
        {"control", [] { return std::make_unique<TfrControl>(); },
         QStringLiteral("Name|Left|Top|Width|Height|Visible|Restrictions")},
        {"master data band", Band(btMasterData),
         BandBase + QStringLiteral("|ChildBand|PrintChildIfInvisible|Stretched|FormNewPage|PrintIfSubsetEmpty"
                                   "|Breaked|Columns|ColumnWidth|ColumnGap|DataSource|EOF")},
        {"page footer band", Band(btPageFooter), BandBase + QStringLiteral("|OnFirstPage|OnLastPage|EOF")},
        {"page header band", Band(btPageHeader),
         BandBase + QStringLiteral("|ChildBand|PrintChildIfInvisible|Stretched|OnFirstPage|EOF")},
        {"group header band", Band(btGroupHeader),
         BandBase + QStringLiteral("|ChildBand|PrintChildIfInvisible|Stretched|FormNewPage|Breaked|RepeatHeader"
                                   "|Condition|Master|EOF")},
        {"cross data band", Band(btCrossData),
         BandBase + QStringLiteral("|ChildBand|PrintChildIfInvisible|DataSource|EOF")},
        {"overlay band", Band(btOverlay), BandBase + QStringLiteral("|ChildBand|PrintChildIfInvisible|EOF")},
    };
    for (const TRow& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        auto View = Row.Make();
        EXPECT_EQ(Registered(*View), Row.Expected);
        EXPECT_EQ(Registered(*View), Row.Expected) << "registering again rebuilds the list";
    }
}

TEST(ViewProperties, RecordTypesAndEnumerations)
{
    TfrMemoView Memo;
    Memo.RegisterProperties();
    struct TRow
    {
        const char* Name;
        uint16_t Type;
    };
    const TRow Rows[] = {{"Name", 257}, {"left", 128}, {"Flags", 0}, {"FrameTyp", 2}, {"FrameWidth", 132},
                         {"FrameColor", 16}, {"FillColor", 16}, {"Tag", 320}, {"Visible", 8},
                         {"Memo", 320}, {"Restrictions", 64}, {"FrameStyle", 32}, {"BandAlign", 32},
                         {"Font", 64}, {"WordWrap", 8}, {"LineSpacing", 2}};
    for (const TRow& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        const TfrPropRec* Rec = Memo.FindPropRec(QString::fromLatin1(Row.Name));
        ASSERT_NE(Rec, nullptr);
        EXPECT_EQ(Rec->PropType, Row.Type);
    }
    const TfrPropRec* Style = Memo.FindPropRec(QStringLiteral("FRAMESTYLE"));
    EXPECT_EQ(Style->EnumNames.join(u','), u"psSolid,psDash,psDot,psDashDot,psDashDotDot,psDouble");
    EXPECT_EQ(Style->EnumValues.size(), 6);
    EXPECT_EQ(Style->EnumValues[5].AsInteger(), 5);
    EXPECT_EQ(Memo.FindPropRec(QStringLiteral("Nothing")), nullptr);

    TfrPictureView Picture;
    Picture.RegisterProperties();
    EXPECT_EQ(Picture.FindPropRec(QStringLiteral("DataField"))->PropType, 321);
    EXPECT_EQ(Picture.FindPropRec(QStringLiteral("BlobType"))->EnumNames.join(u','), u"btBMP,btJPG,btICO,btWMF");
}

TEST(ViewProperties, ChildAndMasterListOtherBandsOfTheDesignedPage)
{
    TfrPage Page(9, 2100, 2970, frNoBin, poPortrait);
    auto Add = [&](const char* Name, int Type) {
        auto B = std::make_unique<TfrBandView>();
        B->SetName(QString::fromLatin1(Name));
        B->SetBandType(Type);
        TfrBandView* Raw = B.get();
        Page.Add(std::move(B));
        return Raw;
    };
    Add("Child1", btChild);
    Add("Master1", btMasterData);
    Add("Detail1", btDetailData);
    Add("Child2", btChild);
    TfrBandView* Group = Add("Group1", btGroupHeader);
    TfrPage* SavedPage = CurPage;
    const int SavedMode = DocMode;
    CurPage = &Page;
    DocMode = dmDesigning;
    Group->RegisterProperties();
    EXPECT_EQ(Group->FindPropRec(QStringLiteral("ChildBand"))->EnumNames.join(u','), u"Child1,Child2");
    EXPECT_EQ(Group->FindPropRec(QStringLiteral("Master"))->EnumNames.join(u','), u"Master1,Detail1");
    DocMode = dmPrinting;
    Group->RegisterProperties();
    EXPECT_TRUE(Group->FindPropRec(QStringLiteral("ChildBand"))->EnumNames.isEmpty()) << "design state only";
    CurPage = SavedPage;
    DocMode = SavedMode;
}

TEST(ViewProperties, GetAndSetByName)
{
    struct TRow
    {
        const char* Name;
        Variant Value;
        const char* Expected;   // the value read back by name, as text
    };
    const TRow Rows[] = {
        {"left", 15, "15"},
        {"Width", 120, "120"},
        {"FRAMEWIDTH", 2.5, "2.5"},
        {"FrameColor", int64_t(0xFF00000F), "4278190095"},
        {"FillColor", int64_t(0x1FFFFFFF), "536870911"},
        {"Tag", "[Sum]", "[Sum]"},
        {"BandAlign", 7, "7"},
        {"Visible", false, "False"},
        {"GapX", 4, "4"},
        {"Stretched", false, "False"},
        {"Font.Name", QStringLiteral("黑体"), "黑体"},
        {"font.size", 12, "12"},
        {"Font.Style", 5, "5"},
        {"Font.Color", 255, "255"},
        {"Alignment", 9, "9"},
        {"LineSpacing", 6, "6"},
        {"WordBreak", true, "True"},
        {"RTLReading", true, "True"},
        {"Name", "Total", "Total"},
    };
    for (const TRow& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        TfrMemoView Memo;
        Memo.SetPropValue(QString::fromUtf8(Row.Name), Row.Value);
        EXPECT_EQ(Memo.GetPropValue(QString::fromUtf8(Row.Name)).AsString(), QString::fromUtf8(Row.Expected));
    }
    TfrMemoView Memo;
    EXPECT_EQ(Memo.GetPropValue(QStringLiteral("Memo.Count")).AsInteger(), 0);
    EXPECT_EQ(Memo.GetPropValue(QStringLiteral("DataField")).AsString(), QString());
    Memo.SetPropValue(QStringLiteral("DataField"), QStringLiteral("Query1.\"Name\""));
    EXPECT_EQ(Memo.GetPropValue(QStringLiteral("Lines.Count")).AsInteger(), 1);
    Memo.SetPropValue(QStringLiteral("Memo"), QStringLiteral("a\r\nb"));
    EXPECT_EQ(Memo.GetPropValue(QStringLiteral("MEMO.COUNT")).AsInteger(), 2);
    EXPECT_EQ(Memo.GetPropValue(QStringLiteral("DATAFIELD")).AsString(), u"a");
    Memo.SetPropValue(QStringLiteral("WordWrap"), false);
    EXPECT_EQ(Memo.Flags(), flStretched);
    Memo.SetPropValue(QStringLiteral("NoSuchThing"), 1);
    EXPECT_TRUE(Memo.GetPropValue(QStringLiteral("NoSuchThing")).IsEmpty());
}

TEST(ViewProperties, VisibleIsAnyNonZeroWord)
{
    TfrLineView Line;
    Line.SetVisible(false);
    EXPECT_FALSE(Line.GetPropValue(QStringLiteral("VISIBLE")).AsBoolean());
    Line.SetPropValue(QStringLiteral("visible"), true);
    EXPECT_TRUE(Line.Visible());
}

TEST(ViewProperties, BandSwitchesAndTexts)
{
    TfrBandView Band;
    Band.SetBandType(btGroupHeader);
    for (const char* Name : {"FormNewPage", "PrintIfSubsetEmpty", "Breaked", "OnFirstPage", "OnLastPage",
                             "RepeatHeader", "PrintChildIfInvisible"}) {
        SCOPED_TRACE(Name);
        const uint16_t Before = Band.Flags();
        Band.SetPropValue(QString::fromLatin1(Name), !Band.GetPropValue(QString::fromLatin1(Name)).AsBoolean());
        EXPECT_EQ(__builtin_popcount(Before ^ Band.Flags()), 1) << "one bit flips";
    }
    Band.SetPropValue(QStringLiteral("Condition"), QStringLiteral("[Query1.\"Kind\"]"));
    EXPECT_EQ(Band.FormatStr(), u"[Query1.\"Kind\"]");
    Band.SetPropValue(QStringLiteral("Master"), QStringLiteral("MasterData1"));
    Band.SetPropValue(QStringLiteral("ChildBand"), QStringLiteral("Child1"));
    Band.SetPropValue(QStringLiteral("Columns"), 3);
    Band.SetPropValue(QStringLiteral("ColumnGap"), 7);
    Band.SetPropValue(QStringLiteral("NewColumnAfter"), 4);
    EXPECT_EQ(QStringLiteral("%1 %2 %3 %4 %5 %6")
                  .arg(Band.GetPropValue(QStringLiteral("CONDITION")).AsString(),
                       Band.GetPropValue(QStringLiteral("MASTER")).AsString(),
                       Band.GetPropValue(QStringLiteral("CHILDBAND")).AsString())
                  .arg(Band.Columns()).arg(Band.ColumnGap()).arg(Band.NewColumnAfter()),
              u"[Query1.\"Kind\"] MasterData1 Child1 3 7 4");
    // Designing, there is no run-time band: nothing to walk.
    EXPECT_TRUE(Band.GetPropValue(QStringLiteral("EOF")).AsBoolean());
}

TEST(ViewProperties, OffersFlagsByBandType)
{
    const std::pair<uint16_t, QList<int>> Table[] = {
        {flBandNewPageAfter, {0, 1, 5, 6, 8, 9, 11, 12, 16}},
        {flBandPrintIfSubsetEmpty, {5, 8}},
        {flBandOnFirstPage, {2, 3}},
        {flBandOnLastPage, {3}},
        {flBandRepeatHeader, {4, 7, 10, 16, 18}},
    };
    for (const auto& [Flag, Types] : Table)
        for (int Type = 0; Type < btNone; ++Type)
            EXPECT_EQ(frBandOffersFlag(Type, Flag), Types.contains(Type)) << "flag " << Flag << " type " << Type;
    EXPECT_TRUE(frBandOffersFlag(btChild, flBandPrintChildIfInvisible));
    EXPECT_FALSE(frBandOffersFlag(btPageFooter, flBandPrintChildIfInvisible));
    EXPECT_EQ(frBandXmlName(btDetailHeader), u"TfrHeader");
    EXPECT_EQ(frBandXmlName(btOverlay), QString());
}

TEST(ViewProperties, PictureCopiesOnlyLiveContainers)
{
    TfrPictureView Source;
    Source.Picture()->Assign(gkBitmap, QByteArray("BM...."));
    TfrPictureView Target;
    Target.SetPropValue(QStringLiteral("Picture"), Source.GetPropValue(QStringLiteral("PICTURE")));
    EXPECT_EQ(Target.Picture()->Data(), QByteArray("BM...."));
    EXPECT_EQ(Target.Picture()->Kind(), gkBitmap);
    // A script handing over any other number changes nothing (and reads nothing).
    TfrPictureView Other;
    Other.SetPropValue(QStringLiteral("Picture"), int64_t(12345678));
    Other.SetPropValue(QStringLiteral("Picture"), int64_t(0));
    EXPECT_TRUE(Other.Picture()->Empty());
    Other.SetPropValue(QStringLiteral("KeepAspect"), false);
    Other.SetPropValue(QStringLiteral("Center"), true);
    Other.SetPropValue(QStringLiteral("BlobType"), btWMF);
    EXPECT_EQ(Other.Flags(), flStretched | flPictCenter);
    EXPECT_EQ(Other.BlobType(), btWMF);
}

TEST(ViewMethods, ShowHideAndLineMethods)
{
    TfrMemoView Memo;
    Memo.CallMethod(QStringLiteral("Hide"), {}, {}, {});
    EXPECT_FALSE(Memo.Visible());
    Memo.CallMethod(QStringLiteral("SHOW"), {}, {}, {});
    EXPECT_TRUE(Memo.Visible());
    for (const char* Stem : {"MEMO", "LINES"}) {
        SCOPED_TRACE(Stem);
        const QString S = QString::fromLatin1(Stem);
        Memo.CallMethod(S + QStringLiteral(".Clear"), {}, {}, {});
        Memo.CallMethod(S + QStringLiteral(".Add"), QStringLiteral("one"), {}, {});
        Memo.CallMethod(S + QStringLiteral(".add"), QStringLiteral("two"), {}, {});
        EXPECT_EQ(Memo.CallMethod(S + QStringLiteral(".IndexOf"), QStringLiteral("TWO"), {}, {}).AsInteger(), 1);
        EXPECT_EQ(Memo.CallMethod(S + QStringLiteral(".IndexOf"), QStringLiteral("x"), {}, {}).AsInteger(), -1);
        Memo.CallMethod(QStringLiteral("SetIndexProperty"), S, 0, QStringLiteral("uno"));
        Memo.CallMethod(QStringLiteral("SetIndexProperty"), S, 9, QStringLiteral("ignored"));
        EXPECT_EQ(Memo.CallMethod(QStringLiteral("GetIndexProperty"), S, 0, {}).AsString(), u"uno");
        EXPECT_EQ(Memo.CallMethod(QStringLiteral("GetIndexProperty"), S, -1, {}).AsString(), QString());
        Memo.CallMethod(S + QStringLiteral(".Delete"), 0, {}, {});
        Memo.CallMethod(S + QStringLiteral(".Delete"), 5, {}, {});
        EXPECT_EQ(Memo.Memo()->Text(), u"two\r\n");
    }
    TfrLineView Line;
    EXPECT_TRUE(Line.CallMethod(QStringLiteral("LINES.ADD"), QStringLiteral("x"), {}, {}).IsEmpty());
    EXPECT_EQ(Line.Memo()->Count(), 0) << "only memo views have LINES";
}

TEST(ViewNames, UniqueNameTakesTheFirstFreeNumber)
{
    TfrReport Report;
    Report.Pages()->Add();
    TfrPage* Page = Report.Pages()->Pages(0);
    for (const char* Name : {"Memo1", "Memo3", "Band1"}) {
        auto Memo = std::make_unique<TfrMemoView>();
        Memo->SetName(QString::fromLatin1(Name));
        Page->Add(std::move(Memo));
    }
    TfrReport* Saved = CurReport;
    CurReport = &Report;
    TfrMemoView Memo;
    Memo.CreateUniqueName();
    EXPECT_EQ(Memo.Name(), u"Memo2");
    TfrBandView Band;
    Band.CreateUniqueName();
    EXPECT_EQ(Band.Name(), u"Band2");
    TfrPictureView Picture;
    Picture.CreateUniqueName();
    EXPECT_EQ(Picture.Name(), u"Picture1");
    CurReport = Saved;
}

} // namespace
