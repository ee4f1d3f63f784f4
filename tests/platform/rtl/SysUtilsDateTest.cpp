// Date arithmetic, formatting and parsing.
#include "platform/rtl/SysUtils.h"
#include "TestText.h"

#include <gtest/gtest.h>

#include <QDateTime>

namespace {

std::string Ymd(TDateTime Value)
{
    return U8(FormatDateTime(QStringLiteral("yyyy-mm-dd hh:nn:ss.zzz"), Value, TFormatSettings()));
}

TEST(SysUtilsDate, EncodeDateSerials)
{
    struct TCase
    {
        int Y, M, D;
        double Serial;
    };
    const TCase Cases[] = {
        {1899, 12, 30, 0}, {1899, 12, 31, 1},     {1900, 1, 1, 2},      {1899, 12, 29, -1},
        {2000, 1, 1, 36526}, {2024, 1, 1, 45292}, {2024, 2, 29, 45351}, {1, 1, 1, -693593},
        {9999, 12, 31, 2958465},
    };
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Serial);
        EXPECT_EQ(EncodeDate(C.Y, C.M, C.D), C.Serial);
        int Y, M, D;
        DecodeDate(C.Serial, Y, M, D);
        EXPECT_EQ(std::make_tuple(Y, M, D), std::make_tuple(C.Y, C.M, C.D));
    }
}

TEST(SysUtilsDate, EncodeDateRejectsInvalidDates)
{
    const int Cases[][3] = {{2023, 2, 29}, {1900, 2, 29}, {2024, 4, 31}, {2024, 13, 1}, {2024, 0, 1},
                            {2024, 1, 0},  {0, 1, 1},     {10000, 1, 1}, {2024, -1, 5}};
    for (const auto& C : Cases) {
        SCOPED_TRACE(testing::Message() << C[0] << "-" << C[1] << "-" << C[2]);
        EXPECT_THROW(EncodeDate(C[0], C[1], C[2]), EConvertError);
    }
    EXPECT_THROW(EncodeTime(24, 0, 0, 0), EConvertError);
    EXPECT_THROW(EncodeTime(0, 60, 0, 0), EConvertError);
    EXPECT_THROW(EncodeTime(0, 0, 60, 0), EConvertError);
    EXPECT_THROW(EncodeTime(0, 0, 0, 1000), EConvertError);
    EXPECT_DOUBLE_EQ(EncodeTime(6, 0, 0, 0), 0.25);
}

TEST(SysUtilsDate, LeapYearsAndMonthLengths)
{
    EXPECT_FALSE(IsLeapYear(1900));
    EXPECT_TRUE(IsLeapYear(2000));
    EXPECT_TRUE(IsLeapYear(2024));
    EXPECT_FALSE(IsLeapYear(2023));
    EXPECT_EQ(DaysInMonth(2024, 2), 29);
    EXPECT_EQ(DaysInMonth(2023, 2), 28);
    EXPECT_EQ(DaysInMonth(2023, 4), 30);
    EXPECT_EQ(DaysInMonth(2023, 12), 31);
}

TEST(SysUtilsDate, NegativeValuesKeepDayAndTimeApart)
{
    // -1.25 is the day before 1899-12-30 at six in the morning.
    EXPECT_EQ(Ymd(-1.25), "1899-12-29 06:00:00.000");
    EXPECT_EQ(Ymd(-0.5), "1899-12-30 12:00:00.000");
    EXPECT_EQ(DateOf(-1.25), -1);
    EXPECT_DOUBLE_EQ(TimeOf(-1.25), 0.25);
    EXPECT_EQ(StrToDateTime(QStringLiteral("1899-12-29 06:00"), TFormatSettings()), -1.25);
    EXPECT_EQ(DateTimeToQDateTime(-1.25), QDateTime(QDate(1899, 12, 29), QTime(6, 0)));
    EXPECT_EQ(QDateTimeToDateTime(QDateTime(QDate(1899, 12, 29), QTime(6, 0))), -1.25);
}

TEST(SysUtilsDate, DecodeTimeRoundsToTheMillisecond)
{
    int H, M, S, Ms;
    DecodeTime(EncodeDate(2024, 3, 5) + EncodeTime(23, 59, 59, 999), H, M, S, Ms);
    EXPECT_EQ(std::make_tuple(H, M, S, Ms), std::make_tuple(23, 59, 59, 999));
    // A hair below midnight is the next day's midnight, not 23:59:59.1000.
    EXPECT_EQ(Ymd(45357.0 - 1e-10), "2024-03-06 00:00:00.000");
}

TEST(SysUtilsDate, DayOfWeekStartsOnSunday)
{
    EXPECT_EQ(DayOfWeek(0), 7);                        // Saturday
    EXPECT_EQ(DayOfWeek(EncodeDate(2024, 3, 3)), 1);   // Sunday
    EXPECT_EQ(DayOfWeek(EncodeDate(2024, 3, 5)), 3);   // Tuesday
    EXPECT_EQ(DayOfWeek(EncodeDate(1899, 12, 25)), 2); // Monday, before the epoch
}

TEST(SysUtilsDate, IncMonthClampsToTheMonthEnd)
{
    struct TCase
    {
        int Y, M, D, Months;
        const char* Expected;
    };
    const TCase Cases[] = {
        {2024, 1, 31, 1, "2024-02-29"},  {2023, 1, 31, 1, "2023-02-28"},  {2024, 3, 31, -1, "2024-02-29"},
        {2024, 1, 15, -1, "2023-12-15"}, {2024, 1, 15, -13, "2022-12-15"}, {2024, 12, 31, 2, "2025-02-28"},
        {2024, 5, 31, 1, "2024-06-30"},  {2024, 1, 15, 0, "2024-01-15"},  {2024, 2, 29, 12, "2025-02-28"},
        {2024, 2, 29, -48, "2020-02-29"}, {2024, 12, 15, 1, "2025-01-15"}, {2025, 1, 15, -12, "2024-01-15"},
    };
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Expected);
        EXPECT_EQ(U8(DateToStr(IncMonth(EncodeDate(C.Y, C.M, C.D), C.Months), TFormatSettings())), C.Expected);
    }
    EXPECT_EQ(Ymd(IncMonth(EncodeDate(2024, 1, 31) + 0.5, 1)), "2024-02-29 12:00:00.000");
    EXPECT_THROW(IncMonth(EncodeDate(9999, 12, 1), 1), EConvertError);
}

TEST(SysUtilsDate, QtConversions)
{
    EXPECT_EQ(QDateToDateTime(QDate(2024, 3, 5)), EncodeDate(2024, 3, 5));
    EXPECT_EQ(DateTimeToQDate(EncodeDate(2024, 3, 5) + 0.75), QDate(2024, 3, 5));
    const TDateTime V = EncodeDate(2024, 3, 5) + EncodeTime(14, 7, 9, 45);
    EXPECT_EQ(DateTimeToQDateTime(V), QDateTime(QDate(2024, 3, 5), QTime(14, 7, 9, 45)));
    EXPECT_EQ(QDateTimeToDateTime(DateTimeToQDateTime(V)), V);
    EXPECT_FALSE(DateTimeToQDate(-700000).isValid());
    EXPECT_EQ(QDateToDateTime(QDate()), 0);
}

TEST(SysUtilsDate, NowIsTodayPlusTime)
{
    const TDateTime Before = Now();
    const TDateTime Today = Date();
    EXPECT_LE(Today, Before);
    EXPECT_GE(Time(), 0);
    EXPECT_LT(Time(), 1);
    EXPECT_EQ(DateTimeToQDate(Today), QDate::currentDate());
}

TEST(SysUtilsDate, FormatDateTimePatterns)
{
    const TDateTime V = EncodeDate(2024, 3, 5) + EncodeTime(14, 7, 9, 45);
    const TDateTime Midnight = EncodeDate(2024, 3, 5);
    const TDateTime Early = EncodeDate(2024, 3, 5) + EncodeTime(0, 30, 0, 0);
    const TDateTime Noon = EncodeDate(2024, 3, 5) + EncodeTime(12, 30, 0, 0);
    struct TCase
    {
        const char* Format;
        TDateTime Value;
        const char* Expected;
    };
    const TCase Cases[] = {
        {"yyyy-mm-dd", V, "2024-03-05"},
        {"yy/m/d", V, "24-3-5"},
        {"d", V, "5"},
        {"ddd", V, "周二"},
        {"dddd", V, "星期二"},
        {"ddddd", V, "2024-03-05"},
        {"dddddd", V, "2024年3月5日"},
        {"mmm", V, "三月"},
        {"mmmm", EncodeDate(2024, 12, 1), "十二月"},
        {"d mmm yyyy", V, "5 三月 2024"},
        {"mm.dd.yy", V, "03.05.24"},
        {"yyyy", EncodeDate(5, 1, 1), "0005"},
        {"hh:mm:ss", V, "14:07:09"},
        {"h:m", V, "14:7"},
        {"yyyy-mm-dd hh:mm", V, "2024-03-05 14:07"},
        {"mm hh mm", V, "03 14 07"},
        {"h:nn", V, "14:07"},
        {"hh:nn:ss.zzz", V, "14:07:09.045"},
        {"z", V, "45"},
        {"h:nn am/pm", V, "2:07 pm"},
        {"h:nn AM/PM", V, "2:07 PM"},
        {"h:nn a/p", V, "2:07 p"},
        {"h:nn ampm", V, "2:07 下午"},
        {"h am/pm", Early, "12 am"},
        {"h am/pm", Noon, "12 pm"},
        {"hh 'am/pm' h", V, "14 am/pm 14"},
        {"aaaa", V, "星期二"},
        {"c", V, "2024-03-05 14:07:09"},
        {"c", Midnight, "2024-03-05"},
        {"", V, "2024-03-05 14:07:09"},
        {"t", V, "14:07:09"},
        {"tt", V, "14:07:09"},
        {"'Date:' yyyy", V, "Date: 2024"},
        {"\"mm\" mm", V, "mm 03"},
        {"yyyy'", V, "2024"},
        {"x", V, "x"},
    };
    const TFormatSettings S;
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Format);
        EXPECT_EQ(U8(FormatDateTime(QString::fromUtf8(C.Format), C.Value, S)), C.Expected);
    }
}

TEST(SysUtilsDate, FormatDateTimeUsesLocaleSeparators)
{
    TFormatSettings S;
    S.DateSeparator = u'/';
    S.TimeSeparator = u'.';
    const TDateTime V = EncodeDate(2024, 3, 5) + EncodeTime(14, 7, 9, 0);
    EXPECT_EQ(U8(FormatDateTime(QStringLiteral("yyyy/mm/dd hh:nn"), V, S)), "2024/03/05 14.07");
    // A short date format that names itself must not loop.
    S.ShortDateFormat = QStringLiteral("ddddd");
    EXPECT_EQ(U8(FormatDateTime(QStringLiteral("ddddd"), V, S)), "");
}

TEST(SysUtilsDate, StrToDateReadsTheShortDateOrder)
{
    const TFormatSettings S;
    const int Year = QDate::currentDate().year();
    struct TCase
    {
        const char* Text;
        TDateTime Expected;
    };
    const TCase Cases[] = {
        {"2024-03-05", EncodeDate(2024, 3, 5)},
        {" 2024-3-5 ", EncodeDate(2024, 3, 5)},
        {"2024 - 03 - 05", EncodeDate(2024, 3, 5)},
        {"24-03-05", EncodeDate(2024, 3, 5)},
        {"99-12-31", EncodeDate(1999, 12, 31)},
        {"0024-03-05", EncodeDate(24, 3, 5)},
        {"3-5", EncodeDate(Year, 3, 5)},
        {"2024-02-29", EncodeDate(2024, 2, 29)},
    };
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Text);
        EXPECT_EQ(StrToDate(QString::fromUtf8(C.Text), S), C.Expected);
    }
}

TEST(SysUtilsDate, StrToDateOtherOrders)
{
    TFormatSettings S;
    S.ShortDateFormat = QStringLiteral("dd/mm/yyyy");
    S.DateSeparator = u'/';
    EXPECT_EQ(StrToDate(QStringLiteral("05/03/2024"), S), EncodeDate(2024, 3, 5));
    EXPECT_EQ(StrToDate(QStringLiteral("5/3"), S), EncodeDate(QDate::currentDate().year(), 3, 5));
    S.ShortDateFormat = QStringLiteral("m/d/yyyy");
    EXPECT_EQ(StrToDate(QStringLiteral("3/5/2024"), S), EncodeDate(2024, 3, 5));
}

TEST(SysUtilsDate, StrToDateRejects)
{
    const char* const Cases[] = {"2024-02-30", "2023-02-29", "2024/03/05", "2024-03", "abc", "",
                                 "2024-03-05x", "2024-13-01", "2024-03-05-01", "12345-1-1"};
    const TFormatSettings S;
    for (const char* Text : Cases) {
        SCOPED_TRACE(Text);
        TDateTime V = 7;
        EXPECT_FALSE(TryStrToDate(QString::fromUtf8(Text), V, S));
        EXPECT_EQ(V, 7);
    }
    try {
        StrToDate(QStringLiteral("abc"), S);
        FAIL();
    } catch (const EConvertError& E) {
        EXPECT_EQ(U8(E.Message()), "'abc' is not a valid date");
    }
}

TEST(SysUtilsDate, StrToTimeAccepts)
{
    const TFormatSettings S;
    struct TCase
    {
        const char* Text;
        TDateTime Expected;
    };
    const TCase Cases[] = {
        {"14:07", EncodeTime(14, 7, 0, 0)},
        {"14:07:09", EncodeTime(14, 7, 9, 0)},
        {" 9:05 ", EncodeTime(9, 5, 0, 0)},
        {"9", EncodeTime(9, 0, 0, 0)},
        {"2:07 pm", EncodeTime(14, 7, 0, 0)},
        {"2:07PM", EncodeTime(14, 7, 0, 0)},
        {"12:00 am", EncodeTime(0, 0, 0, 0)},
        {"12:30 pm", EncodeTime(12, 30, 0, 0)},
        {"下午 2:30", EncodeTime(14, 30, 0, 0)},
        {"上午 11:30", EncodeTime(11, 30, 0, 0)},
        {"14:07:09.5", EncodeTime(14, 7, 9, 500)},
        {"14:07:09.045", EncodeTime(14, 7, 9, 45)},
    };
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Text);
        EXPECT_EQ(StrToTime(QString::fromUtf8(C.Text), S), C.Expected);
    }
}

TEST(SysUtilsDate, StrToTimeRejects)
{
    const char* const Cases[] = {"13:00 pm", "0:30 am", "24:00", "12:60", "12:00:60", "abc", "",
                                 "12:", "12:00x", "12:00:00.1234", "-1:00"};
    const TFormatSettings S;
    for (const char* Text : Cases) {
        SCOPED_TRACE(Text);
        TDateTime V = 7;
        EXPECT_FALSE(TryStrToTime(QString::fromUtf8(Text), V, S));
        EXPECT_EQ(V, 7);
    }
    EXPECT_THROW(StrToTime(QStringLiteral("abc"), S), EConvertError);
}

TEST(SysUtilsDate, StrToDateTime)
{
    const TFormatSettings S;
    EXPECT_EQ(StrToDateTime(QStringLiteral("2024-03-05 14:07:09"), S),
              EncodeDate(2024, 3, 5) + EncodeTime(14, 7, 9, 0));
    EXPECT_EQ(StrToDateTime(QStringLiteral("2024-03-05"), S), EncodeDate(2024, 3, 5));
    EXPECT_EQ(StrToDateTime(QStringLiteral("14:07"), S), EncodeTime(14, 7, 0, 0));
    EXPECT_THROW(StrToDateTime(QStringLiteral("2024-03-05 25:00"), S), EConvertError);
    EXPECT_THROW(StrToDateTime(QStringLiteral("2024-03-05 14:07 x"), S), EConvertError);
}

TEST(SysUtilsDate, TextRoundTrips)
{
    const TFormatSettings S;
    const TDateTime Values[] = {
        EncodeDate(2024, 3, 5),
        EncodeDate(2024, 2, 29) + EncodeTime(23, 59, 59, 0),
        EncodeDate(1999, 12, 31) + EncodeTime(0, 0, 1, 0),
        EncodeDate(1, 1, 1) + EncodeTime(12, 0, 0, 0),
        EncodeDate(9999, 12, 31) + EncodeTime(8, 30, 0, 0),
        EncodeDate(1850, 6, 15) - EncodeTime(18, 45, 30, 0),
    };
    for (const TDateTime V : Values) {
        SCOPED_TRACE(Ymd(V));
        EXPECT_EQ(StrToDateTime(DateTimeToStr(V, S), S), V);
        EXPECT_EQ(StrToDate(DateToStr(V, S), S), DateOf(V));
        EXPECT_DOUBLE_EQ(StrToTime(TimeToStr(V, S), S), TimeOf(V));
    }
}

} // namespace
