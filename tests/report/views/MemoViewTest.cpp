// Memo views: expansion of bracketed expressions, wrapping on known metrics,
// the heights the band engine asks for, splits and repeated values.
#include "ViewTestUtil.h"

#include "platform/gui/Printers.h"
#include "platform/rtl/Streams.h"
#include "report/engine/FR_Class.h"
#include "report/engine/FR_EMFPages.h"
#include "report/engine/FR_MemoView.h"
#include "report/engine/FR_Prntr.h"

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace viewtest;

namespace {

// Lines joined by "|", the paragraph mark shown as "¶".
QString Shown(const TStrings& Lines)
{
    return Lines.ToStringList().join(u'|').replace(QChar(1), QStringLiteral("¶"));
}

struct TExpandRow
{
    const char* Name;
    QStringList Memo;
    uint16_t Flags;
    const char* Expected;
};

TEST(MemoView, ExpandsBracketedExpressions)
{
    const TExpandRow Rows[] = {
        {"value after text", {"Total: [Total]"}, 0, "Total: 12.50"},
        {"brackets in quotes stay in the expression", {"['[x]' + \"]\"]!"}, 0, "<'[x]' + \"]\">!"},
        {"two in a line", {"[Total] of [Total]"}, 0, "12.50 of 12.50"},
        {"a value with a line break gives two lines", {"[Lines]"}, 0, "a|b"},
        {"an empty line stays", {"x", "", "y"}, 0, "x||y"},
        {"text only", {"[Total]"}, flTextOnly, "[Total]"},
        {"an unmatched bracket is text", {"a [b"}, 0, "a [b"},
        {"an unmatched bracket before a matched one", {"a [b [Total]"}, 0, "a [b 12.50"},
        {"a value is not scanned again", {"[Inner]"}, 0, "[Total]"},
    };
    TEngineState State(dmPrinting);
    frFormattedValue = [](const QString& Expression) -> QString {
        if (Expression == u"Total")
            return QStringLiteral("12.50");
        if (Expression == u"Lines")
            return QStringLiteral("a\r\nb");
        if (Expression == u"Inner")
            return QStringLiteral("[Total]");
        return u'<' + Expression + u'>';
    };
    for (const TExpandRow& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        TfrMemoView View;
        View.Memo()->SetStringList(Row.Memo);
        View.SetFlags(View.Flags() | Row.Flags);
        View.ExpandMemo();
        EXPECT_EQ(Shown(*View.ExpandedMemo()), QString::fromUtf8(Row.Expected));
    }
}

struct TWrapRow
{
    const char* Name;
    QString Text;
    int MaxWidth;        // pixels between the gaps
    uint16_t Flags;
    const char* Expected;
};

TEST(MemoView, WrapsLatinChineseAndMixedText)
{
    const TWrapRow Rows[] = {
        {"at a blank", "hello world foo", 60, 0, "hello|world foo¶"},
        {"Chinese between characters", "一二三四五六七", 60, 0, "一二三四五|六七¶"},
        {"Latin after Chinese", "ab中文cd", 36, 0, "ab中文|cd¶"},
        {"Chinese after Latin", "abc中", 18, 0, "abc|中¶"},
        {"a blank before Chinese is dropped", "ab 中文", 24, 0, "ab|中文¶"},
        {"an over-wide word breaks inside", "abcdefghijkl", 36, 0, "abcdef|ghijkl¶"},
        {"a character wider than the view stands alone", "ab", 4, 0, "a|b¶"},
        {"line breaks end paragraphs", "ab\r\ncd", 60, 0, "ab¶|cd¶"},
        {"a surrogate pair is never split", QString::fromUtf8("𠀀𠀀𠀀"), 24, 0, "𠀀𠀀|𠀀¶"},
        {"Cyrillic syllables with a hyphen", "ПРОГРАММА", 36, flWordBreak, "ПРОГ-|РАММА¶"},
        {"no wrap", "hello world foo", 30, flWordWrap, "hello world foo¶"},
    };
    TEngineState State(dmPrinting);
    UseKnownMetrics();
    for (const TWrapRow& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        TfrMemoView View;
        View.SetBounds(0, 0, Row.MaxWidth + 4, 100);   // gaps 2 on each side
        View.SetFlags(View.Flags() ^ Row.Flags);
        View.ExpandedMemo()->Add(Row.Text);
        {
            TfrDrawScope Scope(&View);
            View.WrapMemo();
        }
        EXPECT_EQ(Shown(*SMemo()), QString::fromUtf8(Row.Expected));
        EXPECT_EQ(View.VHeight(), SMemo()->Count() * 15 + 2) << "lines of 2 + 13 pixels and both gaps";
    }
}


TEST(MemoView, MinimumAndRemainingHeights)
{
    // Font 10 (13 pixels), gaps 1, frame 1; a line below one pixel counts as one.
    for (auto [Spacing, Min, Remain] : {std::tuple{2, 19, 5}, std::tuple{-20, 5, 4}}) {
        TfrMemoView View;
        View.SetLineSpacing(Spacing);
        View.SetHeight(50);
        EXPECT_EQ(QStringLiteral("%1 %2").arg(View.MinHeight()).arg(View.RemainHeight()),
                  QStringLiteral("%1 %2").arg(Min).arg(Remain));
    }
}

TEST(MemoView, SplitPrintsTheLinesThatFitAndKeepsTheRest)
{
    TEngineState State(dmPrinting);
    TfrMemoView View;
    View.SetStreamMode(1);
    View.SetBounds(0, 0, 200, 70);   // lines of 15 from y 1: four end above 69
    for (int i = 1; i <= 10; ++i)
        View.ExpandedMemo()->Add(QStringLiteral("L%1").arg(i) + QChar(1));
    View.SetCalcState(2);
    TMemoryStream Out;
    View.Print(Out);
    TMemoryStream In(Out.Data());
    EXPECT_EQ(In.ReadU8(), gtMemo);
    TfrMemoView Printed;
    Printed.SetStreamMode(1);
    Printed.LoadFromStream(In);
    EXPECT_EQ(Shown(*Printed.Memo()), QStringLiteral("L1¶|L2¶|L3¶|L4¶|¶")) << "four lines and the mark";
    EXPECT_EQ(Shown(*View.ExpandedMemo()), QStringLiteral("L5¶|L6¶|L7¶|L8¶|L9¶|L10¶")) << "the rest for the next page";
    EXPECT_EQ(View.CalcState(), 0);
}

TEST(MemoView, SuppressedRepeatPrintsOnceAndMeasuresZero)
{
    TEngineState State(dmPrinting);
    frFormattedValue = [](const QString&) { return QStringLiteral("7"); };
    TfrMemoView View;
    View.SetStreamMode(1);
    View.SetBounds(0, 0, 100, 20);
    View.SetFlags(View.Flags() | flSuppressRepeated);
    View.Memo()->Add(QStringLiteral("[Value]"));
    TMemoryStream Out;
    EXPECT_EQ(View.CalcHeight(), 17);
    View.Print(Out);
    const int64_t Once = Out.Size();
    EXPECT_GT(Once, 0);
    EXPECT_EQ(View.CalcHeight(), 0);
    View.Print(Out);
    EXPECT_EQ(Out.Size(), Once);
}

// The text and horizontal extent in points of what pdftotext finds between
// the tops Top - 5 and Top + 20 points of the first page: "text xMin xMax".
QString PdfRun(const QString& Pdf, double Top)
{
    QProcess P;
    P.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), QStringLiteral("-f"), QStringLiteral("1"),
                                          QStringLiteral("-l"), QStringLiteral("1"), Pdf, QStringLiteral("-")});
    P.waitForFinished();
    static const QRegularExpression Word(
        QStringLiteral("<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" yMax=\"[\\d.]+\">([^<]*)</word>"));
    QString Text;
    double Min = 1e9, Max = -1;
    for (const auto& M : Word.globalMatch(QString::fromUtf8(P.readAllStandardOutput()))) {
        const double Y = M.captured(2).toDouble();
        if (Y < Top - 5 || Y > Top + 20)
            continue;
        Text += M.captured(4);
        Min = std::min(Min, M.captured(1).toDouble());
        Max = std::max(Max, M.captured(3).toDouble());
    }
    return QStringLiteral("%1 %2 %3").arg(Text).arg(Min, 0, 'f', 2).arg(Max, 0, 'f', 2);
}

TEST(MemoView, CharacterSpacingOnPaperIsDesignPixelsScaledToTheDevice)
{
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    const QString Text = QStringLiteral("客户名称合计");
    const int Spacing = 2;
    QTemporaryDir Folder;
    const QString Pdf = Folder.filePath(QStringLiteral("spacing.pdf"));
    {
        TFakePrinters Fakes({});   // the virtual printer alone
        frPrinter()->AttachPrinter(Printer());
        TfrReport Report;
        TfrPage Page(9, 2100, 2970, frNoBin, poPortrait);
        Report.EMFPages()->Insert(0, &Page);
        Report.EMFPages()->ObjectsToPage(0);
        // The same text without and with spacing, 100 pixels apart, each in
        // a memo wide enough for the spaced text.
        for (int i = 0; i < 2; ++i) {
            auto View = std::make_unique<TfrMemoView>();
            View->SetName(QStringLiteral("Memo%1").arg(i + 1));
            View->SetBounds(100, 100 + 100 * i, 200, 20);
            View->Memo()->Add(Text);
            View->SetCharSpacing(i * Spacing);
            Report.EMFPages()->Items(0)->PageObject->Add(std::move(View));
        }
        Report.EMFPages()->PageToObjects(0);
        Report.EMFPages()->Items(0)->PageObject.reset();
        frPrinter()->Printer()->SetOutputFileName(Pdf);
        Report.PrintPreparedReport(QString(), 1, true, 0);
        frPrinter()->Printer()->SetOutputFileName(QString());
    }
    frPrinter()->AttachPrinter(Printer());
    DocMode = dmDesigning;
    // Layout pixels become points at 72 / frPaperPixelsPerInch.
    const double PointsPerPixel = 72 / frPaperPixelsPerInch;
    const QStringList Plain = PdfRun(Pdf, 100 * PointsPerPixel).split(u' ');
    const QStringList Spaced = PdfRun(Pdf, 200 * PointsPerPixel).split(u' ');
    ASSERT_EQ(Plain.value(0), Text);
    ASSERT_EQ(Spaced.value(0), Text) << "no character is cut off";
    EXPECT_NEAR(Spaced.value(1).toDouble(), Plain.value(1).toDouble(), 0.2) << "the first character stays";
    // The glyphs are the same: the last ends later by the gaps between the
    // six characters alone.
    const double Gaps = Spaced.value(2).toDouble() - Plain.value(2).toDouble();
    EXPECT_NEAR(Gaps, (Text.size() - 1) * Spacing * PointsPerPixel, 0.3);
}

} // namespace
