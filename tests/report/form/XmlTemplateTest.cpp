// The XML template: a golden document written by hand, documents that any
// XML reader opens with their texts intact, the recodings of view elements,
// and saves that are refused without leaving a file.
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
    bool Has(const char* Attribute) const { return Attributes.hasAttribute(QLatin1String(Attribute)); }
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

TElement ViewElement(TfrView& View)
{
    TMemoryStream Stream;
    View.SaveToFR3(Stream);
    const QList<TElement> Elements = Parse(Stream.Data() + "/>");
    return Elements.value(0);
}

QByteArray SaveXml(TfrReport& Report, const QString& Folder)
{
    Report.SaveToFR3File(Folder + QStringLiteral("/report.frf"));
    QFile File(Folder + QStringLiteral("/report.fr3"));
    EXPECT_TRUE(File.open(QIODevice::ReadOnly));
    return File.readAll();
}

template <typename T>
T* AddView(TfrPage* Page, const QString& Name, QRect Bounds)
{
    auto View = std::make_unique<T>();
    T* Raw = View.get();
    Raw->SetName(Name);
    Raw->SetBounds(Bounds.x(), Bounds.y(), Bounds.width(), Bounds.height());
    Page->Add(std::move(View));
    return Raw;
}

TfrBandView* AddBand(TfrPage* Page, const QString& Name, int Type, int Top)
{
    TfrBandView* Band = AddView<TfrBandView>(Page, Name, QRect(0, Top, 718, 20));
    Band->SetBandType(Type);
    return Band;
}

// Owner FormMain holds the report and Query1, the data set of the picture.
class XmlTemplate : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(Dir.isValid());
        Owner.setObjectName(QStringLiteral("FormMain"));
        Report = new TfrReport(&Owner);
        auto* Query = new TMemDataSet(&Owner);
        Query->setObjectName(QStringLiteral("Query1"));
        Query->FieldDefs()->Add(QStringLiteral("Photo"), ftBlob);
        CurReport = Report;
    }
    void TearDown() override { CurReport = nullptr; }

    // The golden report: a report page with bands, memo, line, picture,
    // subreport and an overlay; a dialog page; two variables; a password.
    void BuildGolden()
    {
        Report->ReportName = QStringLiteral("月报");
        Report->ReportAutor = QStringLiteral("A&B商行");
        Report->ReportComment = QStringLiteral("月度报表");
        Report->ReportVersionMajor = "1", Report->ReportVersionMinor = "2";
        Report->ReportVersionRelease = "3", Report->ReportVersionBuild = "4";
        Report->ReportCreateDate = 45292.5;
        Report->ReportLastChange = 45293.0;
        Report->ReportPassword = QStringLiteral("a1中");
        Report->Dictionary()->Variables.SetVariable("MoneyCN", QStringLiteral("[Sum]"));
        Report->Dictionary()->Variables.SetVariable(QStringLiteral("客户"), QStringLiteral("Query1.\"Name\""));

        Report->Pages()->Add();
        TfrPage* Page = Report->Pages()->Pages(0);
        Page->ChangePaper(9, 0, 0, frNoBin, poPortrait);
        Page->LeftMargin = Page->RightMargin = 36;
        Page->TopMargin = 72;
        Page->BottomMargin = 54;
        Page->Script.SetText("x := 1;\ny := 2;");
        TfrBandView* Group = AddBand(Page, "GroupHeader1", btGroupHeader, 60);
        Group->SetFlags(flBandOnFirstPage | flBandOnLastPage | flBandRepeatHeader);
        Group->SetFormatStr(QStringLiteral("[Query1.\"Kind\"] <> 'A&B'"));
        TfrBandView* Data = AddBand(Page, "MasterData1", btMasterData, 100);
        Data->SetHeight(24), Data->SetColumns(2), Data->SetColumnWidth(300), Data->SetColumnGap(10);
        Data->SetFlags(49);
        Data->SetFormatStr("frDBDataSet1");

        auto* Memo = AddView<TfrMemoView>(Page, "Memo1", QRect(20, 102, 200, 18));
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

        auto* Line = AddView<TfrLineView>(Page, "Line1", QRect(20, 130, 0, 50));
        Line->SetFrameWidth(2), Line->SetFlags(0);
        auto* Picture = AddView<TfrPictureView>(Page, "Picture1", QRect(300, 100, 80, 60));
        Picture->Picture()->Assign(gkBitmap, QByteArray("BM\x01\x02", 4));
        Picture->Memo()->Add(QStringLiteral("[Query1.\"Photo\"]"));
        Picture->SetFlags(flStretched | flPictCenter | flPictRatio);
        Picture->SetVisible(false);
        AddBand(Page, "Overlay1", btOverlay, 300);
        AddView<TfrSubReportView>(Page, "SubReport1", QRect(20, 200, 300, 40))->SetSubPage(1);

        Report->Pages()->Add();
        TfrPage* Dialog = Report->Pages()->Pages(1);
        Dialog->PageType = ptDialog;
        Dialog->Caption = QStringLiteral("选择 \"月份\"");
    }

    QTemporaryDir Dir;
    QObject Owner;
    TfrReport* Report = nullptr;
};

} // namespace

TEST_F(XmlTemplate, GoldenDocument)
{
    BuildGolden();
    const QByteArray Written = SaveXml(*Report, Dir.path());
    QFile Golden(QStringLiteral(TB_TEST_DATA "/xml/report.fr3"));
    ASSERT_TRUE(Golden.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(Written), QString::fromUtf8(Golden.readAll()));
    EXPECT_FALSE(Report->SaveAsXML());
    // Saving writes the template format, not the XML one, afterwards.
    TMemoryStream Form;
    Report->SaveToStream(Form);
    EXPECT_EQ(static_cast<uint8_t>(Form.Data().at(0)), frCurrentVersion);
}

TEST_F(XmlTemplate, TextsReadBackThroughAnXmlReader)
{
    BuildGolden();
    const QString Tricky = QStringLiteral("甲&乙 \"引号\" 'x' <a> b\r\nc\td");
    TfrView* Memo = Report->FindObject("Memo1");
    Memo->Memo()->SetText(Tricky);
    Memo->SetTag(Tricky);
    Report->ReportComment = Tricky;
    Report->Pages()->Pages(1)->Caption = Tricky;
    const QList<TElement> Elements = Parse(SaveXml(*Report, Dir.path()));
    ASSERT_EQ(Elements.size(), 9);
    QString MemoText;
    for (int i = 0; i < Memo->Memo()->Count(); ++i)
        MemoText += Memo->Memo()->Strings(i) + QStringLiteral("\r\n");
    EXPECT_EQ(Elements[4]["Memo.text"], MemoText);
    EXPECT_EQ(Elements[4]["TagStr"], Tricky);
    EXPECT_EQ(Elements[0]["ReportOptions.Description.text"], Tricky);
    EXPECT_EQ(Elements[8]["Caption"], Tricky);
    EXPECT_EQ(Elements[0]["ReportOptions.Author"], QStringLiteral("A&B商行"));
    EXPECT_EQ(Elements[2]["Condition"], QStringLiteral("[Query1.\"Kind\"] <> 'A&B'"));
}

TEST(XmlText, Escaping)
{
    struct TRow { const char* Name; QString Text; QString Expected; };
    const TRow Rows[] = {
        {"plain and Chinese", QStringLiteral("合计 Sum"), QStringLiteral("合计 Sum")},
        {"markup", QStringLiteral("<a & 'b' \"c\">"), QStringLiteral("&#60;a &#38; &#39;b&#39; &#34;c&#34;&#62;")},
        {"line ends and tab", QStringLiteral("a\r\nb\tc"), QStringLiteral("a&#13;&#10;b&#9;c")},
        {"other controls left out", QStringLiteral("a") + QChar(1) + QChar(0x1F) + QChar(0xFFFF) + u'b',
         QStringLiteral("ab")},
    };
    for (const TRow& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        EXPECT_EQ(frXmlEscape(Row.Text), Row.Expected);
    }
}

TEST(XmlView, FrameAlignAndRestrictionsAreRecoded)
{
    struct TRow { uint16_t FrameTyp; uint8_t BandAlign; uint16_t Restrictions; const char* Expected; };
    const TRow Rows[] = {
        {frbRight, baRest, frrfDontEditMemo, "2 4 1"},
        {frbBottom, baTop, frrfDontEditScript | frrfDontSize, "8 0 3"},
        {frbLeft | frbTop, baCenter, frrfDontEditContents | frrfDontMove, "5 3 5"},
        {15, baBottom, frrfDontDelete, "15 5 8"},
        {0, baNone, 0, "0 0 0"},
    };
    for (const TRow& Row : Rows) {
        SCOPED_TRACE(Row.Expected);
        TfrLineView View;
        View.SetFrameTyp(Row.FrameTyp), View.SetBandAlign(Row.BandAlign), View.SetRestrictions(Row.Restrictions);
        const TElement E = ViewElement(View);
        EXPECT_EQ(E["Frame.Typ"] + u' ' + E["Align"] + u' ' + E["Restrictions"], QString::fromLatin1(Row.Expected));
    }
}

TEST(XmlView, MemoOptionsAndFont)
{
    TfrMemoView Defaults;
    TElement E = ViewElement(Defaults);
    EXPECT_EQ(E["StretchMode"], QStringLiteral("smMaxHeight"));
    EXPECT_FALSE(E.Has("WordWrap"));
    EXPECT_EQ(E["Font.Height"] + u' ' + E["Font.Style"] + u' ' + E["VAlign"], QStringLiteral("-13 0 0"));

    TfrMemoView Memo;
    Memo.SetFlags(flWordBreak | flAutoWidth | flTextOnly | flSuppressRepeated | flUnderlines | flRTLReading);
    Memo.Font()->SetStyle({fsItalic, fsUnderline, fsStrikeOut});
    Memo.SetAlignment(frtaJustify | frtaVertical | frtaDown);
    E = ViewElement(Memo);
    EXPECT_FALSE(E.Has("StretchMode"));
    QStringList Switches;
    for (const char* Name : {"WordWrap", "AutoWidth", "AllowExpressions", "SuppressRepeated", "HideZeros",
                             "Underlines", "RTLReading"})
        Switches << E[Name];
    EXPECT_EQ(Switches.join(u','), QStringLiteral("False,True,False,True,,True,True"));
    EXPECT_EQ(E["Font.Style"] + u' ' + E["HAlign"] + u' ' + E["VAlign"] + u' ' + E["Rotation"],
              QStringLiteral("14 3 2 90"));
}

TEST(XmlView, BandsWithoutElementsAndFlags)
{
    struct TRow { int Type; uint16_t Flags; const char* Expected; };
    const TRow Rows[] = {
        {btMasterData, 48, "TfrMasterData:"},
        {btPageFooter, 0, "TfrPageFooter:PrintOnFirstPage=False,PrintOnLastPage=False"},
        {btDetailData, 48 | 1 | 2 | 4 | 8 | 128,
         "TfrDetailData:Stretched=True,StartNewPage=True,PrintIfDetailEmpty=True,AllowSplit=True,"
         "PrintChildIfInvisible=True"},
        {btMasterHeader, 48 | 64, "TfrHeader:ReprintOnNewPage=True"},
    };
    const QStringList Common = {"Name", "Left", "Top", "Width", "Height", "Columns", "ColumnWidth", "ColumnGap", "DataSet"};
    for (const TRow& Row : Rows) {
        SCOPED_TRACE(Row.Expected);
        TfrBandView Band;
        Band.SetBandType(Row.Type), Band.SetFlags(Row.Flags);
        const TElement E = ViewElement(Band);
        QStringList Flags;
        for (const QXmlStreamAttribute& A : E.Attributes)
            if (!Common.contains(A.name().toString()))
                Flags << A.name().toString() + u'=' + A.value().toString();
        EXPECT_EQ(E.Name + u':' + Flags.join(u','), QString::fromUtf8(Row.Expected));
    }

    // The overlay and the cross bands write nothing, and their page stays well-formed.
    TfrReport Report;
    CurReport = &Report;
    Report.Pages()->Add();
    for (int Type : {btOverlay, btCrossHeader, btCrossData, btCrossFooter})
        AddBand(Report.Pages()->Pages(0), QStringLiteral("Band%1").arg(Type), Type, Type * 10);
    TMemoryStream Stream;
    Report.Pages()->Pages(0)->Objects(0)->SaveToFR3(Stream);
    EXPECT_EQ(Stream.Size(), 0);
    QTemporaryDir Dir;
    const QList<TElement> Elements = Parse(SaveXml(Report, Dir.path()));
    ASSERT_EQ(Elements.size(), 2);
    EXPECT_EQ(Elements[1].Name, QStringLiteral("TfrReportPage"));
    CurReport = nullptr;
}

TEST(XmlReport, ScriptsPaperAndDictionary)
{
    struct TRow { const char* Name; const char* Script; TPrinterOrientation Orientation; const char* Expected; };
    const QString Head = QStringLiteral("procedure Memo1OnBeforePrint(Sender: TfrComponent);\r\nbegin\r\n"
                                        "  with Memo1, Engine do\r\n  begin\r\n");
    const QString Main = QStringLiteral("begin\r\n\r\nend.");
    const TRow Rows[] = {
        {"no script", "", poPortrait, "|210x297"},
        {"one line", "a := 1;", poLandscape, "a := 1;\r\n  end\r\nend;\r\n\r\n|297x210"},
        {"begin end", "begin\na;\nb;\nend", poPortrait, "a;\r\nb;\r\n  end\r\nend;\r\n\r\n|210x297"},
    };
    for (const TRow& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        TfrReport Report;
        CurReport = &Report;
        Report.Pages()->Add();
        Report.Pages()->Pages(0)->ChangePaper(9, 0, 0, frNoBin, Row.Orientation);
        AddView<TfrMemoView>(Report.Pages()->Pages(0), "Memo1", QRect())->Script()->SetText(Row.Script);
        QTemporaryDir Dir;
        const QList<TElement> E = Parse(SaveXml(Report, Dir.path()));
        ASSERT_EQ(E.size(), 3);
        const QString Script = E[0]["ScriptText.text"];
        const QString Procedure = Script.startsWith(Head) ? Script.mid(Head.size(), Script.size() - Head.size() - Main.size()) : QString();
        EXPECT_TRUE(Script.endsWith(Main));
        EXPECT_EQ(Procedure + u'|' + E[1]["PaperWidth"] + u'x' + E[1]["PaperHeight"], QString::fromUtf8(Row.Expected));
        EXPECT_EQ(E[2].Has("OnBeforePrint"), Row.Script[0] != 0);
    }
    CurReport = nullptr;

    // A value beyond 255 GBK bytes takes the long text form with a 4-byte length.
    TfrReport Report;
    Report.Dictionary()->Variables.SetVariable("V", QString(200, QChar(0x6587)));
    QTemporaryDir Dir;
    const QString Data = Parse(SaveXml(Report, Dir.path())).value(0)["Propdata"];
    const QString Items = QStringLiteral("0844617461736574730E00095661726961626C65730E01044E616D65060156"
                                        "0556616C7565");
    EXPECT_EQ(Data.left(Items.size()), Items);
    EXPECT_EQ(Data.mid(Items.size(), 14), QStringLiteral("0C90010000CEC4"));
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
        SCOPED_TRACE(Row.Name);
        Report->ReportPassword = Row.Password;
        EXPECT_THROW(Report->SaveToFR3File(Row.Folder + QStringLiteral("/report.frf")), EWriteError);
        EXPECT_FALSE(Report->SaveAsXML());
        EXPECT_TRUE(QDir(Dir.path()).entryList(QDir::Files).isEmpty());
    }
}
