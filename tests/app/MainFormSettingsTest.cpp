// The main window's stored settings, print orientation, size clamp, collapse
// strip.
#include "ProgramFixture.h"

#include "platform/gui/ExtCtrls.h"

#include <QComboBox>
#include <QFrame>
#include <QSignalBlocker>

namespace {

const QString Section = QStringLiteral("Tallybridge");

QString StoredIndexes()
{
    QStringList Items;
    for (QComboBox* C : {FormMain->ComboBox6, FormMain->ComboBox7, FormMain->ComboBox3, FormMain->ComboBox8,
                         FormMain->ComboBox10, FormMain->ComboBox4, FormMain->ComboBox11, FormMain->ComboBox12})
        Items << QString::number(C->currentIndex());
    return Items.join(u',');
}

} // namespace

class MainFormSettings : public TProgramFixture
{
protected:
    void LoginAs(TSpeedButton* Button)
    {
        TModalHandlers Handlers(User({Press(Button)}), nullptr);
        FormMain->Show();
        ASSERT_FALSE(Application()->Terminated());
    }
};

TEST_F(MainFormSettings, MissingSectionGivesTheDefaultsAndWritesNothing)
{
    LoginAs(FormLogin->SpeedButton1);
    // Customers by number descending, today's documents by record number descending.
    EXPECT_EQ(StoredIndexes(), QStringLiteral("0,1,0,0,1,0,0,1"));
    EXPECT_FALSE(FileExists(IniFileName));
}

TEST_F(MainFormSettings, StoredValuesAreReadAndBadOnesFallBack)
{
    WriteIni(Section, QStringLiteral("业务单据排序方式"), QStringLiteral("3"), IniFileName);
    WriteIni(Section, QStringLiteral("财务单据排序方向"), QStringLiteral("0"), IniFileName);
    WriteIni(Section, QStringLiteral("财务单据日期范围"), QStringLiteral("1"), IniFileName);
    WriteIni(Section, QStringLiteral("客户排序方式"), QStringLiteral("abc"), IniFileName);
    WriteIni(Section, QStringLiteral("业务单据日期范围"), QStringLiteral("5"), IniFileName);
    WriteIni(Section, QStringLiteral("客户排序方向"), QStringLiteral("-1"), IniFileName);
    LoginAs(FormLogin->SpeedButton4);
    EXPECT_EQ(StoredIndexes(), QStringLiteral("0,1,0,3,1,1,0,0"));
}

TEST_F(MainFormSettings, AdministratorLoginDoesNotReadThem)
{
    WriteIni(Section, QStringLiteral("业务单据排序方式"), QStringLiteral("3"), IniFileName);
    LoginAs(FormLogin->SpeedButton3);
    EXPECT_EQ(FormMain->ComboBox8->currentIndex(), 0);
}

TEST_F(MainFormSettings, EveryChangeIsWritten)
{
    LoginAs(FormLogin->SpeedButton1);
    struct TRow { const char* Key; QComboBox* Combo; } const Rows[] = {
        {"客户排序方式", FormMain->ComboBox6},      {"客户排序方向", FormMain->ComboBox7},
        {"业务单据日期范围", FormMain->ComboBox3},  {"业务单据排序方式", FormMain->ComboBox8},
        {"业务单据排序方向", FormMain->ComboBox10}, {"财务单据日期范围", FormMain->ComboBox4},
        {"财务单据排序方式", FormMain->ComboBox11}, {"财务单据排序方向", FormMain->ComboBox12},
    };
    for (const TRow& R : Rows) {
        const QString Key = QString::fromUtf8(R.Key);
        SCOPED_TRACE(Key.toStdString());
        const int After = R.Combo->currentIndex() == 0 ? R.Combo->count() - 1 : 0;
        R.Combo->setCurrentIndex(After);
        EXPECT_EQ(ReadIni(Section, Key, QStringLiteral("?"), IniFileName), QString::number(After));
    }
    FormMain->ComboBox11->setCurrentIndex(2);
    // The next login reads back what was chosen.
    for (const TRow& R : Rows) {
        const QSignalBlocker Quiet(R.Combo);
        R.Combo->setCurrentIndex(-1);
    }
    TModalHandlers Handlers(User({Press(FormLogin->SpeedButton2)}), nullptr);
    FormMain->Login->Click();
    EXPECT_EQ(StoredIndexes(), QStringLiteral("1,0,1,3,0,1,2,0"));
}

TEST_F(MainFormSettings, PrintTypeIsWrittenAndAnnounced)
{
    WriteIni(Section, QStringLiteral("PrintType"), QStringLiteral("横向打印"), IniFileName);
    LoginAs(FormLogin->SpeedButton3);
    EXPECT_EQ(FormMain->ComboBox5->currentText(), QStringLiteral("纵向打印"));
    TModalHandlers Handlers(nullptr, nullptr);
    FormMain->ComboBox5->setCurrentIndex(1);
    FormMain->Button15->Click();
    EXPECT_EQ(ReadIni(Section, QStringLiteral("PrintType"), QString(), IniFileName), QStringLiteral("横向打印"));
    FormMain->ComboBox5->setCurrentIndex(0);
    FormMain->Button15->Click();
    EXPECT_EQ(ReadIni(Section, QStringLiteral("PrintType"), QString(), IniFileName), QStringLiteral("纵向打印"));
    EXPECT_EQ(TModalSeam::MessageTexts(),
              (QStringList{QStringLiteral("打印方式设置为：横向打印"), QStringLiteral("打印方式设置为：纵向打印")}));
}

TEST_F(MainFormSettings, TallWindowIsPutBackToItsWorkingSize)
{
    FormMain->OnShow = nullptr; // the window alone, without database and login
    FormMain->Show();
    struct TRow { int Height; bool Clamped; } const Rows[] = {{700, true}, {601, true}, {600, false}, {560, false}};
    for (const TRow& R : Rows) {
        SCOPED_TRACE(R.Height);
        FormMain->SetBounds(10, 20, 800, R.Height);
        const QRect Expected = R.Clamped ? QRect(75, 90, 884, 571) : QRect(10, 20, 800, R.Height);
        EXPECT_EQ(QRect(FormMain->Left(), FormMain->Top(), FormMain->Width(), FormMain->Height()), Expected);
    }
}

TEST_F(MainFormSettings, CollapseStripClosesAndReopensTheLeftPanel)
{
    WritePicture(QStringLiteral("Res/LeftBar.bmp"), 50, Qt::blue);
    WritePicture(QStringLiteral("Res/RightBar.bmp"), 60, Qt::cyan);
    EXPECT_EQ(FormMain->Image7Hint(), QStringLiteral("LeftBar"));
    EXPECT_EQ(FormMain->Panel1->width(), 97);
    FormMain->Image7->Click();
    EXPECT_EQ(FormMain->Image7Hint(), QStringLiteral("RightBar"));
    EXPECT_EQ(FormMain->Panel1->width(), 0);
    EXPECT_EQ(FormMain->Image7->Picture()->Height(), 60);
    FormMain->Image7->Click();
    EXPECT_EQ(FormMain->Image7Hint(), QStringLiteral("LeftBar"));
    EXPECT_EQ(FormMain->Panel1->width(), 97);
    EXPECT_EQ(FormMain->Image7->Picture()->Height(), 50);
}

TEST_F(MainFormSettings, MissingStripPictureShowsNothing)
{
    FormMain->Image7->Click();
    EXPECT_TRUE(FormMain->Image7->Picture()->Empty());
    EXPECT_EQ(FormMain->Panel1->width(), 0);
}
