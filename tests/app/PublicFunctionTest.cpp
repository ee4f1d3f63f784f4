#include "app/PublicFunction.h"

#include "platform/rtl/IniFiles.h"

#include <QComboBox>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct TTextCase
{
    const char* Name;
    QString Input;
    QString Expected;
};

TEST(PublicFunction, AmountToCapitalTakesTheLastNineDigits)
{
    const TTextCase Cases[] = {
        {"five digits", "12345", "壹佰　贰拾　叁元　肆角　伍分　"},
        {"zeros kept", "10005", "壹佰　零拾　零元　零角　伍分　"},
        {"zero", "0", "零分　"},
        {"empty", "", ""},
        {"ten digits drop the first", "1234567890", "贰佰　叁拾　肆万　伍仟　陆佰　柒拾　捌元　玖角　零分　"},
        {"nine digits", "999999999", "玖佰　玖拾　玖万　玖仟　玖佰　玖拾　玖元　玖角　玖分　"},
        {"not a digit becomes ten", "1a", "壹角　拾分　"},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Name);
        EXPECT_EQ(AmountToCapital(C.Input), C.Expected);
    }
}

TEST(PublicFunction, NumberChecks)
{
    struct TCase
    {
        QString Text;
        bool AllDigits;
        bool Numeric;
        double Zero;
    };
    const TCase Cases[] = {
        {"", false, false, 0},
        {"00", true, true, 0},
        {"123", true, true, 123},
        {"1.5", false, true, 1.5},
        {"1.2.3", false, true, 0}, // passes the check but does not convert
        {".", false, true, 0},
        {"-1", false, false, 0},
        {"12a", false, false, 0},
        {" 1", false, false, 0},
        {"１２", false, false, 0}, // full-width digits are not digits here
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Text.toStdString());
        EXPECT_EQ(IsAllDigits(C.Text), C.AllDigits);
        EXPECT_EQ(IsNumeric(C.Text), C.Numeric);
        EXPECT_EQ(StrToFloatZero(C.Text), C.Zero);
    }
}

TEST(PublicFunction, RoundStrRoundsToTenThousandthsHalvesToEven)
{
    struct TCase
    {
        double Value;
        const char* Expected;
    };
    const TCase Cases[] = {
        {0, "0"},
        {100, "100"},
        {-100, "-100"},
        {1.23456, "1.2346"},
        {1.23454, "1.2345"},
        {-1.23456, "-1.2346"},
        {0.00004, "0"},
        {3000.01, "3000.01"},
        {0.1 + 0.2, "0.3"},
        {123456789.12345, "123456789.1234"}, // 15 significant digits at most
        {1e20, "1E20"},                      // too large to round: shown as it is
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Expected);
        EXPECT_EQ(RoundStr(C.Value), QString::fromUtf8(C.Expected));
    }
}

TEST(PublicFunction, JetConnectionStringIsExact)
{
    EXPECT_EQ(JetConnectionString("/p/Tallybridge.mdb", "CobaltRiver"),
              "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=/p/Tallybridge.mdb;Persist Security Info=False;"
              "Jet OLEDB:Database Password=CobaltRiver");
}

TEST(PublicFunction, SelectComboTextPicksTheLastEqualItem)
{
    QComboBox Combo;
    Combo.addItems({"所有", "甲", "乙", "甲"});
    Combo.setCurrentIndex(2);
    SelectComboText(&Combo, "丙");
    EXPECT_EQ(Combo.currentIndex(), 2);
    SelectComboText(&Combo, "甲");
    EXPECT_EQ(Combo.currentIndex(), 3);
}

TEST(PublicFunction, IniRoundTripWithChineseKeysAndLimits)
{
    QTemporaryDir Dir;
    const QString File = Dir.filePath("Tallybridge.ini");
    EXPECT_EQ(ReadIni("Tallybridge", "客户排序", "按名称", File), "按名称");
    EXPECT_TRUE(WriteIni("Tallybridge", "客户排序", "按日期", File));
    EXPECT_EQ(ReadIni("tallybridge", "客户排序", "", File), "按日期");

    // A value longer than 1023 bytes is cut at a character boundary.
    const QString Long = QString("a") + QString(600, QChar(0x4E2D)); // 1 + 1200 bytes
    EXPECT_TRUE(WriteIni("Tallybridge", "Long", Long, File));
    const QString Back = ReadIni("Tallybridge", "Long", "", File);
    EXPECT_EQ(Back, Long.left(1 + 511));
}

} // namespace

namespace {

TEST(PublicFunction, IniRefusesNamesLongerThanTheClassicBuffer)
{
    QTemporaryDir Dir;
    const QString File = Dir.filePath("Tallybridge.ini");
    const QString LongKey(128, QChar(0x952E)); // 256 GBK bytes
    EXPECT_FALSE(WriteIni("Tallybridge", LongKey, "1", File));
    EXPECT_EQ(ReadIni("Tallybridge", LongKey, "默认", File), "默认");
    EXPECT_TRUE(WriteIni("Tallybridge", LongKey.left(127), "1", File));
    EXPECT_EQ(ReadIni("Tallybridge", LongKey.left(127), "", File), "1");
}

} // namespace

namespace {

TEST(PublicFunction, AmountErrorRefusesWhatIsNoAmount)
{
    const std::pair<QString, QString> Cases[] = {
        {"100", ""},
        {"0.5", ""},
        {"12.3456", ""},
        {"12.34567", "金额内容可能有误，请重新输入"},
        {"", "金额格式有误，请重新输入"},
        {"12a", "金额格式有误，请重新输入"},
        {"-5", "金额格式有误，请重新输入"},
        {"1.2.3", "金额格式有误，请重新输入"},
        {".", "金额格式有误，请重新输入"},
        // The largest amount the lists can still sum exactly, and the first they cannot.
        {"922337203685477.5", ""},
        {"922337203685477.5807", "金额内容可能有误，请重新输入"},
    };
    for (const auto& [Text, Error] : Cases) {
        SCOPED_TRACE(Text.toStdString());
        EXPECT_EQ(AmountError(Text), Error);
    }
}

} // namespace
