// The XML template: a golden document written by hand, read back by an XML
// reader with its texts intact, the recodings of view elements, and saves
// that are refused without leaving a file.
#include "FormTestUtil.h"

#include "platform/db/MemDataSet.h"
#include "report/engine/FR_XmlText.h"

#include <QDir>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <gtest/gtest.h>

using namespace formtest;

namespace {

struct TElement
{
    QString Name;
    QXmlStreamAttributes Attributes;
    QString operator[](const char* Attribute) const { return Attributes.value(QLatin1String(Attribute)).toString(); }
};

// Every start element; fails the test when the reader finds an error.
QList<TElement> Parse(const QByteArray& Document)
{
    QList<TElement> Elements;
    QXmlStreamReader Reader(Document);
    while (Reader.readNext() != QXmlStreamReader::Invalid && !Reader.atEnd())
        if (Reader.isStartElement())
            Elements << TElement{Reader.name().toString(), Reader.attributes()};
    EXPECT_FALSE(Reader.hasError()) << Reader.errorString().toStdString() << " at line " << Reader.lineNumber();
    return Elements;
}

// The view's element name, then the named attributes' values (empty when absent).
QString Values(TfrView& View, std::initializer_list<const char*> Names)
{
    TMemoryStream Stream;
    View.SaveToFR3(Stream);
    const TElement E = Parse(Stream.Data() + "/>").value(0);
    QStringList Out{E.Name};
    for (const char* Name : Names)
        Out << E[Name];
    return Out.join(u',');
}

QList<TElement> SaveXml(TfrReport& Report, const QString& Folder, QByteArray* Bytes = nullptr)
{
    Report.SaveToFR3File(Folder + QStringLiteral("/report.frf"));
    QFile File(Folder + QStringLiteral("/report.fr3"));
    EXPECT_TRUE(File.open(QIODevice::ReadOnly));
    const QByteArray Written = File.readAll();
    if (Bytes)
        *Bytes = Written;
    return Parse(Written);
}

template <typename T>
T* AddView(TfrPage* Page, const QString& Name, int Left, int Top, int Width, int Height)
{
    auto View = std::make_unique<T>();
    T* Raw = View.get();
    Raw->SetName(Name);
    Raw->SetBounds(Left, Top, Width, Height);
    Page->Add(std::move(View));
    return Raw;
}

TfrBandView* AddBand(TfrPage* Page, const QString& Name, int Type, int Top, uint16_t Flags = 48)
{
    TfrBandView* Band = AddView<TfrBandView>(Page, Name, 0, Top, 718, 20);
    Band->SetBandType(Type);
    Band->SetFlags(Flags);
    return Band;
}

// Owner FormMain holds the report and Query1, the data set of the picture.
class XmlTemplate : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Owner.setObjectName(QStringLiteral("FormMain"));
        Report = new TfrReport(&Owner);
        auto* Query = new TMemDataSet(&Owner);
        Query->setObjectName(QStringLiteral("Query1"));
        Query->FieldDefs()->Add(QStringLiteral("Photo"), ftBlob);
        CurReport = Report;
    }
    void TearDown() override { CurReport = nullptr; }

    // A report page with bands, memo, line, picture, overlay and subreport;
    // a dialog page; two variables; a password.
    void BuildGolden()
    {
        TfrReport& R = *Report;
        R.ReportName = QStringLiteral("月报"), R.ReportAutor = QStringLiteral("A&B商行");
        R.ReportComment = QStringLiteral("月度报表");
        R.ReportVersionMajor = "1", R.ReportVersionMinor = "2", R.ReportVersionRelease = "3", R.ReportVersionBuild = "4";
        R.ReportCreateDate = 45292.5, R.ReportLastChange = 45293.0;
        R.ReportPassword = QStringLiteral("a1中");
        R.Dictionary()->Variables.SetVariable("MoneyCN", QStringLiteral("[Sum]"));
        R.Dictionary()->Variables.SetVariable(QStringLiteral("客户"), QStringLiteral("Query1.\"Name\""));

        R.Pages()->Add();
        TfrPage* Page = R.Pages()->Pages(0);
        Page->ChangePaper(9, 0, 0, frNoBin, poPortrait);
        Page->LeftMargin = Page->RightMargin = 36, Page->TopMargin = 72, Page->BottomMargin = 54;
        Page->Script.SetText("x := 1;\ny := 2;");
        AddBand(Page, "GroupHeader1", btGroupHeader, 60, 48 | flBandRepeatHeader)
            ->SetFormatStr(QStringLiteral("[Query1.\"Kind\"] <> 'A&B'"));
        TfrBandView* Data = AddBand(Page, "MasterData1", btMasterData, 100, 49);
        Data->SetHeight(24), Data->SetColumns(2), Data->SetColumnWidth(300), Data->SetColumnGap(10);
        Data->SetFormatStr("frDBDataSet1");

        auto* Memo = AddView<TfrMemoView>(Page, "Memo1", 20, 102, 200, 18);
        Memo->SetFrameTyp(frbLeft | frbTop), Memo->SetFrameWidth(1.5f), Memo->SetFrameColor(0xFF);
        Memo->SetFrameStyle(fsDash), Memo->SetBandAlign(baRest);
        Memo->SetRestrictions(frrfDontModify | frrfDontMove);
        Memo->SetTag(QStringLiteral("[Tag]") + QChar(1));
        Memo->Memo()->SetText(QStringLiteral("合计：[Total]\nsay \"hi\" <b> & 'x'\tend"));
        Memo->Script()->SetText("begin\n  Memo1.Visible := True;\nend");
        Memo->SetFlags(flStretched | flWordWrap | flHideZeroValues);
        Memo->Font()->SetName(QStringLiteral("宋体")), Memo->Font()->SetSize(9);
        Memo->Font()->SetStyle({fsBold, fsItalic}), Memo->Font()->SetColor(0x800000);
        Memo->SetHighlightCondition("[Value] > 10");
        Memo->SetAlignment(frtaCenter | frtaMiddle);

        auto* Line = AddView<TfrLineView>(Page, "Line1", 20, 130, 0, 50);
        Line->SetFrameWidth(2), Line->SetFlags(0);
        auto* Picture = AddView<TfrPictureView>(Page, "Picture1", 300, 100, 80, 60);
        Picture->Picture()->Assign(gkBitmap, QByteArray("BM\x01\x02", 4));
        Picture->Memo()->Add(QStringLiteral("[Query1.\"Photo\"]"));
        Picture->SetFlags(flStretched | flPictCenter | flPictRatio), Picture->SetVisible(false);
        AddBand(Page, "Overlay1", btOverlay, 300);
        AddView<TfrSubReportView>(Page, "SubReport1", 20, 200, 300, 40)->SetSubPage(1);

        R.Pages()->Add();
        R.Pages()->Pages(1)->PageType = ptDialog;
        R.Pages()->Pages(1)->Caption = QStringLiteral("选择 \"月份\"");
    }

    QTemporaryDir Dir;
    QObject Owner;
    TfrReport* Report = nullptr;
};

} // namespace

TEST_F(XmlTemplate, GoldenDocumentReadsBackThroughAnXmlReader)
{
    BuildGolden();
    QByteArray Written;
    const QList<TElement> E = SaveXml(*Report, Dir.path(), &Written);
    QFile Golden(QStringLiteral(TB_TEST_DATA "/xml/report.fr3"));
    ASSERT_TRUE(Golden.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(Written), QString::fromUtf8(Golden.readAll()));
    EXPECT_FALSE(Report->SaveAsXML());
    ASSERT_EQ(E.size(), 9);
    EXPECT_EQ(E[4]["Memo.text"], QStringLiteral("合计：[Total]\r\nsay \"hi\" <b> & 'x'\tend\r\n"));
    EXPECT_EQ(E[2]["Condition"] + E[0]["ReportOptions.Author"] + E[8]["Caption"],
              QStringLiteral("[Query1.\"Kind\"] <> 'A&B'A&B商行选择 \"月份\""));
}

TEST(XmlText, Escaping)
{
    // Markup, line ends and tabs as references; what XML 1.0 cannot hold left out.
    EXPECT_EQ(frXmlEscape(QStringLiteral("<a & 'b' \"c\">\r\n\t")),
              QStringLiteral("&#60;a &#38; &#39;b&#39; &#34;c&#34;&#62;&#13;&#10;&#9;"));
    EXPECT_EQ(frXmlEscape(QStringLiteral("合\x01\x1F") + QChar(0xFFFF) + QChar(0xFFFE) + u'计'), QStringLiteral("合计"));
}

TEST(XmlView, FrameAlignAndRestrictionsAreRecoded)
{
    struct TRow { uint16_t FrameTyp; uint8_t BandAlign; uint16_t Restrictions; const char* Expected; };
    const TRow Rows[] = {
        {frbRight | frbBottom, baTop, frrfDontEditMemo | frrfDontSize | frrfDontDelete, "10,0,11"},
        {15, baBottom, frrfDontEditScript | frrfDontEditContents, "15,5,1"},
    };
    for (const TRow& Row : Rows) {
        TfrLineView View;
        View.SetFrameTyp(Row.FrameTyp), View.SetBandAlign(Row.BandAlign), View.SetRestrictions(Row.Restrictions);
        EXPECT_EQ(Values(View, {"Frame.Typ", "Align", "Restrictions"}), QStringLiteral("TfrLineView,") + Row.Expected);
    }
}

TEST(XmlView, MemoOptionsAndFont)
{
    const auto Render = [](TfrMemoView& Memo) {
        return Values(Memo, {"StretchMode", "WordWrap", "AutoWidth", "AllowExpressions", "SuppressRepeated",
                             "Underlines", "RTLReading", "Font.Height", "Font.Style", "HAlign", "VAlign", "Rotation"});
    };
    TfrMemoView Memo;   // stretched and word-wrapped, Arial 10, top left
    EXPECT_EQ(Render(Memo), QStringLiteral("TfrMemoView,smMaxHeight,,,,,,,-13,0,0,0,"));
    Memo.SetFlags(flWordBreak | flAutoWidth | flTextOnly | flSuppressRepeated | flUnderlines | flRTLReading);
    Memo.Font()->SetStyle({fsItalic, fsUnderline, fsStrikeOut});
    Memo.SetAlignment(frtaJustify | frtaVertical | frtaDown);
    EXPECT_EQ(Render(Memo), QStringLiteral("TfrMemoView,,False,True,False,True,True,True,-13,14,3,2,90"));
}

TEST(XmlView, BandFlagsAndBandsWithoutElements)
{
    struct TRow { int Type; uint16_t Flags; const char* Expected; };
    const TRow Rows[] = {
        {btMasterData, 48, "TfrMasterData,,,,,,,,"},
        {btPageFooter, 0, "TfrPageFooter,,,,,False,False,,"},
        {btDetailData, 48 | 1 | 2 | 4 | 8 | 64 | 128, "TfrDetailData,True,True,True,True,,,True,True"},
    };
    for (const TRow& Row : Rows) {
        TfrBandView Band;
        Band.SetBandType(Row.Type), Band.SetFlags(Row.Flags);
        EXPECT_EQ(Values(Band, {"Stretched", "StartNewPage", "PrintIfDetailEmpty", "AllowSplit", "PrintOnFirstPage",
                                "PrintOnLastPage", "ReprintOnNewPage", "PrintChildIfInvisible"}),
                  QString::fromLatin1(Row.Expected));
    }
    for (int Type : {btOverlay, btCrossHeader, btCrossData, btCrossFooter}) {
        TfrBandView Band;
        Band.SetBandType(Type);
        TMemoryStream Stream;
        Band.SaveToFR3(Stream);
        EXPECT_EQ(Stream.Size(), 0) << Type;
    }
}

TEST(XmlReport, ScriptsAndPaper)
{
    struct TRow { const char* Script; TPrinterOrientation Orientation; const char* Expected; };
    const QString Head = QStringLiteral("procedure Memo1OnBeforePrint(Sender: TfrComponent);\r\nbegin\r\n"
                                        "  with Memo1, Engine do\r\n  begin\r\n");
    const QString Main = QStringLiteral("begin\r\n\r\nend.");
    const TRow Rows[] = {
        {"", poPortrait, "|210x297"},
        {"a := 1;", poLandscape, "a := 1;\r\n  end\r\nend;\r\n\r\n|297x210"},
    };
    for (const TRow& Row : Rows) {
        TfrReport Report;
        CurReport = &Report;
        Report.Pages()->Add();
        Report.Pages()->Pages(0)->ChangePaper(9, 0, 0, frNoBin, Row.Orientation);
        AddView<TfrMemoView>(Report.Pages()->Pages(0), "Memo1", 0, 0, 0, 0)->Script()->SetText(Row.Script);
        QTemporaryDir Dir;
        const QList<TElement> E = SaveXml(Report, Dir.path());
        ASSERT_EQ(E.size(), 3);
        QString Script = E[0]["ScriptText.text"];
        EXPECT_TRUE(Script.endsWith(Main));
        Script.chop(Main.size());
        if (Script.startsWith(Head))
            Script.remove(0, Head.size());
        EXPECT_EQ(Script + u'|' + E[1]["PaperWidth"] + u'x' + E[1]["PaperHeight"], QString::fromUtf8(Row.Expected));
    }
    CurReport = nullptr;
}

TEST(XmlReport, LongDictionaryValuesTakeTheFourByteLength)
{
    TfrReport Report;
    Report.Dictionary()->Variables.SetVariable("V", QString(200, QChar(0x6587)));   // 400 GBK bytes
    QTemporaryDir Dir;
    const QString Data = SaveXml(Report, Dir.path()).value(0)["Propdata"];
    const QString Items = QStringLiteral("0844617461736574730E00095661726961626C65730E01044E616D65060156"
                                         "0556616C7565");
    EXPECT_EQ(Data.left(Items.size() + 14), Items + QStringLiteral("0C90010000CEC4"));
    EXPECT_EQ(Data.size(), Items.size() + 10 + 800 + 4);
}

TEST_F(XmlTemplate, RefusedSavesLeaveNoFile)
{
    struct TRow { const char* Name; QString Password; QString Folder; };
    const TRow Rows[] = {
        {"blank in the password", QStringLiteral("a b"), Dir.path()},
        {"quote in the password", QStringLiteral("a'"), Dir.path()},
        {"unwritable folder", QStringLiteral("ok"), Dir.path() + QStringLiteral("/missing")},
    };
    BuildGolden();
    for (const TRow& Row : Rows) {
        Report->ReportPassword = Row.Password;
        EXPECT_THROW(Report->SaveToFR3File(Row.Folder + QStringLiteral("/report.frf")), EWriteError) << Row.Name;
        EXPECT_FALSE(Report->SaveAsXML());
        EXPECT_TRUE(QDir(Dir.path()).entryList(QDir::Files).isEmpty()) << Row.Name;
    }
}
