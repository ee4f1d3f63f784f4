// Engine utilities besides the stream forms: font-style bits, engine texts,
// component lookup by dotted path, tolerant number parsing and small text helpers.
#include "platform/rtl/Classes.h"
#include "report/engine/FR_BandView.h"
#include "report/engine/FR_Utils.h"

#include "platform/gui/Controls.h"

#include <QLabel>
#include <QLineEdit>
#include <QObject>
#include <QTimer>
#include <gtest/gtest.h>

// The window class that holds data modules.
class TDataModuleForm : public QWidget
{
    Q_OBJECT
};

namespace {

TEST(Utils, FontStyleBitsRoundTrip)
{
    for (int Bits = 0; Bits < 32; ++Bits) {
        SCOPED_TRACE(Bits);
        EXPECT_EQ(GetFontStyleBits(SetFontStyleBits(Bits)), Bits & 15);
    }
    EXPECT_EQ(SetFontStyleBits(frfsBold), TFontStyles() << fsBold);
    EXPECT_EQ(SetFontStyleBits(frfsItalic | frfsStrikeOut), TFontStyles() << fsItalic << fsStrikeOut);
}

TEST(Utils, EngineStringsByIdAsQuoted)
{
    struct TRow
    {
        int Id;
        const char* Text;
    };
    const TRow Rows[] = {
        {55000, "OK"},
        {55001, "Cancel"},
        {55006, "Confirm"},
        {55007, "Virtual printer"},
        {55008, "Letter, 8 1/2 x 11\""},
        {55206, "Error"},
        {55209, "Untitled"},
        {55345, "Unsupported FRF format"},
        {55077, "Report title"},
        {55098, "Child"},
        {55099, "None"},
        {55150, "[None]"},
        {55151, ""},
        {55174, "Custom"},
        {55193, ""},
        {55337, "1"},
        {53000, "Find text"},
        {53187, "&About..."},
        {53261, "Don't edit &memo"},
        {55670, "Created"},
        {1, ""},
        {99999, ""},
    };
    for (const TRow& Row : Rows) {
        SCOPED_TRACE(Row.Id);
        EXPECT_EQ(LoadEngineString(Row.Id), QString::fromUtf8(Row.Text));
    }
    EXPECT_EQ(DefaultCharset(), 1);
}

TEST(Utils, EngineStringTableIsSortedAndUnique)
{
    // The loader searches the table by halves.
    const QList<int> Ids = EngineStringIds();
    ASSERT_GT(Ids.size(), 500);
    for (int i = 1; i < Ids.size(); ++i)
        ASSERT_LT(Ids[i - 1], Ids[i]) << "at " << i;
}

TEST(Utils, BandNamesFollowTheirTypes)
{
    EXPECT_EQ(frBandName(btReportTitle), u"Report title");
    EXPECT_EQ(frBandName(btGroupHeader), u"Group header");
    EXPECT_EQ(frBandName(btChild), u"Child");
    EXPECT_EQ(frBandName(btNone), u"None");
    EXPECT_EQ(frBandName(23), QString());
    EXPECT_EQ(frBandName(-1), QString());
    for (int Type = 0; Type < btNone; ++Type)
        EXPECT_FALSE(frBandName(Type).isEmpty()) << Type;
}

TEST(Utils, StrToFloatAnySep)
{
    TFormatSettings Comma;
    Comma.DecimalSeparator = u',';
    struct TRow
    {
        const char* Text;
        double Value;
    };
    for (const TRow& Row : {TRow{"12,5", 12.5}, TRow{"12.5", 12.5}, TRow{"  7 ", 7}, TRow{"-0,25", -0.25}}) {
        SCOPED_TRACE(Row.Text);
        EXPECT_DOUBLE_EQ(StrToFloatAnySep(QString::fromLatin1(Row.Text)), Row.Value);
        EXPECT_DOUBLE_EQ(StrToFloatAnySep(QString::fromLatin1(Row.Text), Comma), Row.Value);
    }
    EXPECT_THROW(StrToFloatAnySep(QStringLiteral("1.234,5")), EConvertError);
    EXPECT_THROW(StrToFloatAnySep(QStringLiteral("abc")), EConvertError);
}

TEST(Utils, StripQuotesAndSplitSemicolons)
{
    const std::pair<const char*, const char*> Quotes[] = {
        {"\"abc\"", "abc"}, {"\"a\"", "a"}, {"\"\"", "\"\""}, {"\"ab", "\"ab"}, {"abc", "abc"}, {"", ""},
    };
    for (const auto& [In, Out] : Quotes)
        EXPECT_EQ(StripQuotes(QString::fromLatin1(In)), QString::fromLatin1(Out)) << In;

    const std::pair<const char*, QStringList> Parts[] = {
        {"a;b;c", {"a", "b", "c"}},
        {"a;b;", {"a", "b"}},
        {"a;;b", {"a", "", "b"}},
        {";a", {"", "a"}},
        {"", {}},
    };
    for (const auto& [In, Out] : Parts) {
        TStringList List(QStringList{"stale"});
        SplitSemicolons(QString::fromLatin1(In), List);
        EXPECT_EQ(List.ToStringList(), Out) << In;
    }
}

class TComponentPath : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Owner.setObjectName(QStringLiteral("FormMain"));
        auto* Panel = new QObject(&Owner);
        Panel->setObjectName(QStringLiteral("Panel1"));
        OwnQuery = new QTimer(&Owner);
        OwnQuery->setObjectName(QStringLiteral("ADOQuery1"));
        (new QTimer(Panel))->setObjectName(QStringLiteral("DeepQuery"));
        DataModule.setObjectName(QStringLiteral("DM"));
        Remote = new QTimer(&DataModule);
        Remote->setObjectName(QStringLiteral("Customers"));
        auto* Frame = new QObject(&DataModule);
        Frame->setObjectName(QStringLiteral("Frame1"));
        Inner = new QObject(Frame);
        Inner->setObjectName(QStringLiteral("Edit1"));
        frRegisterGlobalComponent(&DataModule);
    }
    void TearDown() override { frUnregisterGlobalComponent(&DataModule); }

public:
    QObject Owner;
    QObject DataModule;
    QObject* OwnQuery = nullptr;
    QObject* Remote = nullptr;
    QObject* Inner = nullptr;
};

TEST_F(TComponentPath, FindsByNameAndDottedPath)
{
    struct TRow
    {
        const char* Path;
        QObject* TComponentPath::*Expected;
    };
    const TRow Rows[] = {
        {"ADOQuery1", &TComponentPath::OwnQuery},
        {"adoquery1", &TComponentPath::OwnQuery},
        {"DM.Customers", &TComponentPath::Remote},
        {"dm.CUSTOMERS", &TComponentPath::Remote},
        {"DM.Frame1.Edit1", &TComponentPath::Inner},
        {"DeepQuery", nullptr},
        {"DM.Edit1", nullptr},
        {"Customers", nullptr},
        {"DM.Missing", nullptr},
        {"Nowhere.Customers", nullptr},
        {"DM.Frame1.Edit1.Extra", nullptr},
        {"", nullptr},
        {".", nullptr},
    };
    for (const TRow& Row : Rows) {
        SCOPED_TRACE(Row.Path);
        QObject* Expected = Row.Expected ? this->*Row.Expected : nullptr;
        EXPECT_EQ(FindComponentByPath(&Owner, QString::fromLatin1(Row.Path)), Expected);
    }
}

TEST_F(TComponentPath, ListsComponentsOfAClass)
{
    TDataModuleForm Window;
    Window.setObjectName(QStringLiteral("StockForm"));
    auto* Held = new QObject(&Window);
    Held->setObjectName(QStringLiteral("Stock"));
    (new QTimer(Held))->setObjectName(QStringLiteral("Goods"));
    TStringList List;
    GetComponents(&Owner, QTimer::staticMetaObject, List, nullptr);
    List.Sort();
    EXPECT_EQ(List.ToStringList().join(u' '), QStringLiteral("ADOQuery1 DM.Customers Stock.Goods"));
    GetComponents(&Owner, QTimer::staticMetaObject, List, Remote);
    EXPECT_EQ(List.IndexOf(QStringLiteral("DM.Customers")), -1);
}

TEST(Utils, RotatedFontKeepsEverythingButTheAngle)
{
    TFont Font;
    Font.SetName(QStringLiteral("Arial"));
    Font.SetHeight(-15);
    Font.SetStyle(TFontStyles() << fsBold);
    Font.SetColor(clRed);
    const std::unique_ptr<TFont> Rotated = CreateRotatedFont(Font);
    EXPECT_EQ(Rotated->ToQFont(), Font.ToQFont());
    EXPECT_EQ(Rotated->Color(), clRed);
    EXPECT_EQ(Rotated->Orientation(), 900);
    EXPECT_EQ(Font.Orientation(), 0);
}

TEST(Utils, EnableControlsGreysLabelsAndBackgrounds)
{
    QWidget Dialog;
    auto* Label = new QLabel(&Dialog);
    auto* Edit = new QLineEdit(&Dialog);
    auto* Custom = new TCustomControl(&Dialog);
    for (bool Enabled : {false, true}) {
        EnableControls({Label, Edit, Custom}, Enabled);
        EXPECT_EQ(Label->palette().color(QPalette::Disabled, QPalette::WindowText),
                  ColorToQColor(Enabled ? clWindowText : clGrayText));
        EXPECT_EQ(Edit->palette().color(QPalette::Disabled, QPalette::Base), ColorToQColor(Enabled ? clWindow : clBtnFace));
        EXPECT_EQ(Custom->Color(), Enabled ? clWindow : clBtnFace);
        EXPECT_EQ(Label->isEnabled() + Edit->isEnabled() + Custom->isEnabled(), Enabled ? 3 : 0);
    }
}

TEST(Utils, FindControlAtTakesTheDeepestVisibleOnTop)
{
    QWidget Parent;
    auto Place = [](QWidget* Owner, const char* Name, QRect R) {
        auto* W = new QWidget(Owner);
        W->setObjectName(QLatin1String(Name));
        W->setGeometry(R);
        return W;
    };
    Place(Place(&Parent, "Panel", QRect(10, 10, 100, 100)), "Edit", QRect(5, 5, 50, 20));
    Place(&Parent, "Button", QRect(80, 80, 60, 60));
    Place(&Parent, "Hidden", QRect(150, 0, 40, 40))->hide();
    const std::pair<QPoint, const char*> Rows[] = {
        {{20, 20}, "Edit"}, {{12, 12}, "Panel"}, {{65, 35}, "Panel"}, {{90, 90}, "Button"}, {{160, 10}, ""}, {{5, 5}, ""},
    };
    for (const auto& [Point, Name] : Rows) {
        QWidget* Found = FindControlAt(&Parent, Point);
        EXPECT_EQ(Found ? Found->objectName() : QString(), QLatin1String(Name)) << Point.x() << "," << Point.y();
    }
}

TEST_F(TComponentPath, DestroyedGlobalLeavesTheList)
{
    {
        QObject Temporary;
        Temporary.setObjectName(QStringLiteral("Gone"));
        frRegisterGlobalComponent(&Temporary);
        EXPECT_TRUE(frGlobalComponents().contains(&Temporary));
    }
    for (QObject* Object : frGlobalComponents())
        EXPECT_NE(Object->objectName(), u"Gone");
}

} // namespace

#include "UtilsTest.moc"
