#include "DesignerTestUtil.h"

#include "platform/gui/ComCtrls.h"
#include "platform/gui/TestRender.h"
#include "report/designer/FR_Insp.h"
#include "report/designer/FR_Dopt.h"
#include "report/engine/FR_Ctrls.h"
#include "report/engine/FR_Dock.h"
#include "report/engine/FR_Locale.h"
#include "report/engine/FR_Passw.h"
#include "report/engine/FR_Utils.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>

namespace designertest {
namespace {

const QString Section = QStringLiteral("Form\\TfrDesignerForm");

TEST_F(TDesignerTest, SettingsComeBackInTheNextWindow)
{
    Open();
    Designer->SetGridSize(8);
    Designer->SetUnits(2);
    Designer->SetShowGrid(false);
    Designer->EditAfterInsert = false;
    Designer->PagePosition = 4;
    Designer->DisableUndo = true;
    LocaleInstance()->LocalizedPropNames = true;   // the inspector reads the locale's flag
    Designer.reset();
    LocaleInstance()->LocalizedPropNames = false;
    Open();
    EXPECT_TRUE(LocaleInstance()->LocalizedPropNames);
    LocaleInstance()->LocalizedPropNames = false;
    EXPECT_EQ(Designer->GridSizeX, 8);
    EXPECT_EQ(Designer->Units, 2);
    EXPECT_FALSE(Designer->GridShow);
    EXPECT_FALSE(Designer->GB1->Down());
    EXPECT_FALSE(Designer->EditAfterInsert);
    EXPECT_EQ(Designer->PagePosition, 4);
    EXPECT_TRUE(Designer->DisableUndo);
}

TEST_F(TDesignerTest, SettingsOutOfRangeTakeTheirDefaults)
{
    {
        TRegIniFile Ini(frRegRootKey);
        Ini.WriteInteger(Section, QStringLiteral("GridSize"), 0);
        Ini.WriteInteger(Section, QStringLiteral("Units"), 3);
        Ini.WriteInteger(Section, QStringLiteral("Selection"), 2);
        Ini.WriteInteger(Section, QStringLiteral("PagePosition"), 6);
    }
    Open();
    EXPECT_EQ(QStringLiteral("%1 %2 %3 %4").arg(Designer->GridSizeX).arg(Designer->Units).arg(Designer->Selection)
                  .arg(Designer->PagePosition),
              QStringLiteral("4 0 1 5"));
}

struct TUnitsRow
{
    const char* Name;
    int Units;
    double Typed;
    double Pixels;
    const char* Box;    // position and size shown for a view at 36,18 of 90x36
    const char* Left;   // the inspector's row
};

class UnitsTest : public TDesignerTest, public ::testing::WithParamInterface<TUnitsRow>
{
};

TEST_P(UnitsTest, ConvertBothWaysAndShowInThePositionBox)
{
    Open();
    Build(QStringLiteral("Memo1 36,18 90x36 sel"));
    Designer->SelectionChanged();
    const QImage InPixels = RenderWidget(Designer->PBox1);
    // The user steps the units by double clicks on the status bar's first panel.
    for (int i = 0; i < GetParam().Units; ++i)
        for (QEvent::Type Type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease, QEvent::MouseButtonDblClick,
                                  QEvent::MouseButtonRelease}) {
            QMouseEvent E(Type, QPointF(10, 5), Designer->StatusBar1->mapToGlobal(QPointF(10, 5)), Qt::LeftButton,
                          Type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
            QCoreApplication::sendEvent(Designer->StatusBar1, &E);
        }
    EXPECT_EQ(Designer->Units, GetParam().Units);
    // The box and the inspector show the new units.
    EXPECT_EQ(RenderWidget(Designer->PBox1) != InPixels, GetParam().Units != 0);
    EXPECT_DOUBLE_EQ(Designer->FromUnits(GetParam().Typed), GetParam().Pixels);
    EXPECT_EQ(Designer->PositionTexts().join(u'|'), QString::fromLatin1(GetParam().Box));
    QString Left;
    for (int i = 0; i < Designer->InspForm->GetCount(); ++i)
        if (Designer->InspForm->GetItemName(i) == QStringLiteral("Left"))
            Left = Designer->InspForm->GetItemText(i);
    EXPECT_EQ(Left, QString::fromLatin1(GetParam().Left));
}

const TUnitsRow UnitsRows[] = {
    {"Pixels", 0, 2.5, 2.5, "36;18|90;36", "36"},
    {"Millimetres", 1, 10.0, 36, "10.00; 5.00|25.00; 10.00", "10.00"},
    {"Inches", 2, 1.0, 91.44, "0.39; 0.20|0.98; 0.39", "0.39"},
};
INSTANTIATE_TEST_SUITE_P(Designer, UnitsTest, ::testing::ValuesIn(UnitsRows),
                         [](const auto& Info) { return std::string(Info.param.Name); });

TEST_F(TDesignerTest, PositionBoxFollowsTheRectangleBeingDrawn)
{
    Open();
    Designer->EditAfterInsert = false;
    Designer->PressTool(gtMemo);
    Run(QStringLiteral("M 40,40; D 40,40; M 100,80"));
    EXPECT_EQ(Designer->PositionTexts().join(u'|'), QStringLiteral("40;40|60;40"));
    Run(QStringLiteral("U 100,80"));
    EXPECT_FALSE(Designer->PBoxRectShown);
    EXPECT_EQ(Designer->PositionTexts().join(u'|'), QStringLiteral("40;40|60;40"));
    // Resizing two views by their common corner shows the scale.
    Designer->PressTool(-1);
    Designer->UnselectAll();
    Build(QStringLiteral("Memo8 200,200 40x20 sel; Memo9 260,240 40x20 sel"));
    Run(QStringLiteral("M 300,260; D 300,260; M 350,290"));
    EXPECT_EQ(Designer->PositionTexts().join(u'|'), QStringLiteral("200;200|148;88|148,147% "));
}

struct TPasswordRow
{
    const char* Name;
    bool Protected;                  // before
    bool Check;                      // CB3 as left in the dialog
    std::vector<const char*> Typed;  // each password asking; nullptr cancels
    bool ProtectedAfter;
    const char* Password;
};

class PasswordTest : public TDesignerTest, public ::testing::WithParamInterface<TPasswordRow>
{
};

TEST_P(PasswordTest, ReportOptionsAskTwiceAndStoreOnlyAMatch)
{
    const TPasswordRow& Row = GetParam();
    Report.ReportPasswordProtected = Row.Protected;
    Report.ReportPassword = Row.Protected ? QStringLiteral("old") : QString();
    Open();
    size_t Asked = 0;
    QStringList Prompts;
    TModalHandlers H(
        [&](TForm* F) {
            if (auto* D = dynamic_cast<TfrDocOptForm*>(F)) {
                D->CB3->setChecked(Row.Check);
                return mrOk;
            }
            auto* P = dynamic_cast<TfrPasswForm*>(F);
            Prompts << P->L1->text() + u'[' + P->E1->text() + u']';
            const char* Typed = Asked < Row.Typed.size() ? Row.Typed[Asked] : nullptr;
            ++Asked;
            if (!Typed)
                return mrCancel;
            P->E1->setText(QString::fromLatin1(Typed));
            return mrOk;
        },
        nullptr);
    Designer->N8Click();
    EXPECT_EQ(Report.ReportPasswordProtected, Row.ProtectedAfter);
    EXPECT_EQ(Report.ReportPassword, QString::fromLatin1(Row.Password));
    // Only a mismatch says why the report stays unprotected.
    EXPECT_EQ(TModalSeam::MessageTexts().contains(LoadEngineString(55684)), std::string(Row.Name) == "TwoDifferent");
    if (Asked == 2) {
        EXPECT_EQ(Prompts[1], LoadEngineString(55655) + QStringLiteral("[]"));
    }
}

const TPasswordRow PasswordRows[] = {
    {"TwiceTheSame", false, true, {"abc", "abc"}, true, "abc"},
    {"TwoDifferent", false, true, {"abc", "abd"}, false, ""},
    {"FirstCancelled", false, true, {nullptr}, false, ""},
    {"SecondCancelled", false, true, {"abc", nullptr}, false, ""},
    {"TurnedOffClears", true, false, {}, false, ""},
    {"KeptOnKeepsPassword", true, true, {}, true, "old"},
};
INSTANTIATE_TEST_SUITE_P(Designer, PasswordTest, ::testing::ValuesIn(PasswordRows),
                         [](const auto& Info) { return std::string(Info.param.Name); });

TEST_F(TDesignerTest, MenuIsAsWideAsWidestCaptionAndWidestShortcut)
{
    Open();
    QMenu Menu;
    QAction* Long = Menu.addAction(QStringLiteral("A rather long caption"));
    Menu.addAction(QStringLiteral("Open\tCtrl+Shift+O"));
    Menu.addSeparator();
    Designer->MakeOwnerDrawn(&Menu);
    const QFontMetrics M(Menu.font());
    EXPECT_EQ(Menu.actionGeometry(Long).width(),
              M.horizontalAdvance(QStringLiteral("A rather long caption")) + 31
                  + M.horizontalAdvance(QStringLiteral("Ctrl+Shift+O")) + 15);
    EXPECT_EQ(Menu.actionGeometry(Long).height(), 19);
}

TEST_F(TDesignerTest, DisabledItemShowsTheDisabledGlyphAndEmbossedCaption)
{
    Open();
    QMenu Menu;
    QAction* Item = Menu.addAction(QStringLiteral("Preview"));
    Item->setEnabled(false);
    Designer->SetMenuItemButton(Item, Designer->FileBtn4);
    Designer->MakeOwnerDrawn(&Menu);
    Menu.resize(Menu.sizeHint());
    const QImage Shot = Menu.grab().toImage();
    const QRect R = Menu.actionGeometry(Item);
    QImage Disabled(16, 16, QImage::Format_ARGB32);
    Disabled.fill(ColorToQColor(clBtnFace));
    {
        TCanvas C(&Disabled);
        Designer->FileBtn4->DrawGlyph(&C, 0, 0, false);
    }
    int Same = 0, Glyph = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            if (Disabled.pixel(x, y) != ColorToQColor(clBtnFace).rgb()) {
                ++Glyph;
                Same += Shot.pixel(R.left() + 1 + x, R.top() + (R.height() - 16) / 2 + y) == Disabled.pixel(x, y);
            }
    EXPECT_GT(Glyph, 10);
    EXPECT_EQ(Same, Glyph);
    // Embossed: a light copy shows beside the grey caption on the menu colour.
    const int Back = ColorToQColor(clMenu).lightness();
    int Light = 0, Shadow = 0;
    for (int y = R.top(); y <= R.bottom(); ++y)
        for (int x = R.left() + 21; x < R.right(); ++x) {
            Light += QColor(Shot.pixel(x, y)).lightness() > Back + 20;
            Shadow += QColor(Shot.pixel(x, y)).lightness() < Back - 40;
        }
    EXPECT_GT(Light, 5);
    EXPECT_GT(Shadow, 5);
}

TEST_F(TDesignerTest, HelpToolAsksForTheContextOfTheControlClickedNext)
{
    Open();
    auto* AddIn = new TfrTBButton(Designer->Panel4);
    AddIn->SetTag(10);
    int Asked = -1;
    frHelpContext = [&](int Context, QWidget*) { Asked = Context; };
    const QObjectList Children = Designer->children();
    QStringList L;
    for (QWidget* W : std::initializer_list<QWidget*>{Designer->OB3, AddIn, Designer->OB1, Designer->FileBtn1,
                                                      Designer->HelpBtn}) {
        Asked = -1;
        Designer->HelpBtnClick();
        EXPECT_TRUE(Designer->HelpBtn->Down());
        Designer->HelpToolClick(W);
        L << QString::number(Asked);
    }
    frHelpContext = nullptr;
    EXPECT_FALSE(Designer->HelpMode);
    EXPECT_EQ(L.join(u' '), QStringLiteral("432 435 429 400 -1"));
    // Ending the tool takes away only its own filter, not the window's parts.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(Designer->children(), Children);
}

} // namespace
} // namespace designertest
