// TMemo takes pasted, dropped and middle-clicked data unless it holds no
// format at all: every path reaches the box's check, data without any format
// leaves the box as it was instead of ending the program, text of any
// plain-text format pastes, and markdown goes in as the characters it holds.
#include "GuiTestUtil.h"
#include "platform/gui/StdCtrls.h"

#include <QClipboard>
#include <QDropEvent>
#include <QGuiApplication>
#include <QMimeData>
#include <QMouseEvent>
#include <gtest/gtest.h>
#include <memory>

namespace {

// Counts the data a path hands the box, so that a row whose path never got
// there cannot pass by doing nothing.
class TCountingMemo : public TMemo
{
public:
    int Offers = 0;

protected:
    void insertFromMimeData(const QMimeData* Source) override
    {
        ++Offers;
        TMemo::insertFromMimeData(Source);
    }
};

enum TData { dtNothing, dtPicture, dtText, dtUtf8Text, dtMarkdown, dtMarkdownAheadOfText };
enum TSource { srClipboard, srSelection, srDrop };

struct TPasteRow
{
    const char* Name;
    TData Data;
    TSource Source;
    void (*Act)(TCountingMemo* Memo, const QMimeData* Dropped);
    const char* After; // the box's text, then how often data reached it
};

QMimeData* MakeData(TData Kind)
{
    auto* Data = new QMimeData;
    if (Kind == dtPicture)
        Data->setData(QStringLiteral("image/png"), QByteArray("\x89PNG\r\n\x1a\n", 8));
    else if (Kind == dtText)
        Data->setText(QStringLiteral("甲乙"));
    else if (Kind == dtUtf8Text) // some X11 programs offer nothing else
        Data->setData(QStringLiteral("text/plain;charset=utf-8"), QStringLiteral("甲乙").toUtf8());
    if (Kind == dtMarkdown || Kind == dtMarkdownAheadOfText)
        Data->setData(QStringLiteral("text/markdown"), QByteArrayLiteral("a*b*c 2\\*3 # x\n1. item"));
    if (Kind == dtMarkdownAheadOfText)
        Data->setText(QStringLiteral("甲乙"));
    return Data;
}

void CtrlV(TCountingMemo* M, const QMimeData*)
{
    SendKey(M, Qt::Key_V, Qt::ControlModifier, QString(QChar(0x16)));
}

void ShiftInsert(TCountingMemo* M, const QMimeData*)
{
    SendKey(M, Qt::Key_Insert, Qt::ShiftModifier);
}

void PasteCall(TCountingMemo* M, const QMimeData*)
{
    M->paste();
}

void MiddleClick(TCountingMemo* M, const QMimeData*)
{
    const QPointF At(4, 4);
    const QPointF Global = M->viewport()->mapToGlobal(At);
    QMouseEvent Press(QEvent::MouseButtonPress, At, Global, Qt::MiddleButton, Qt::MiddleButton, Qt::NoModifier);
    QCoreApplication::sendEvent(M->viewport(), &Press);
    QMouseEvent Release(QEvent::MouseButtonRelease, At, Global, Qt::MiddleButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(M->viewport(), &Release);
}

void Drop(TCountingMemo* M, const QMimeData* Data)
{
    const QPoint At(4, 4);
    QDragEnterEvent Enter(At, Qt::CopyAction, Data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(M->viewport(), &Enter);
    QDragMoveEvent Move(At, Qt::CopyAction, Data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(M->viewport(), &Move);
    QDropEvent Dropped(At, Qt::CopyAction, Data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(M->viewport(), &Dropped);
}

const TPasteRow PasteRows[] = {
    {"CtrlVOfNothing", dtNothing, srClipboard, CtrlV, "kept|1"},
    {"ShiftInsertOfNothing", dtNothing, srClipboard, ShiftInsert, "kept|1"},
    {"PasteCallOfNothing", dtNothing, srClipboard, PasteCall, "kept|1"},
    {"CtrlVOfAPictureOnly", dtPicture, srClipboard, CtrlV, "kept|1"},
    {"CtrlVOfText", dtText, srClipboard, CtrlV, "kept甲乙|1"},
    {"CtrlVOfUtf8TextOnly", dtUtf8Text, srClipboard, CtrlV, "kept甲乙|1"},
    {"PasteCallOfUtf8TextOnly", dtUtf8Text, srClipboard, PasteCall, "kept甲乙|1"},
    {"MiddleClickOfAnEmptySelection", dtNothing, srSelection, MiddleClick, "kept|1"},
    // Qt asks the box before a drop: data without any format never reaches it.
    {"DropOfNothing", dtNothing, srDrop, Drop, "kept|0"},
    // Markdown is text as it stands in a plain-text box, and plain text wins.
    {"CtrlVOfMarkdownOnly", dtMarkdown, srClipboard, CtrlV, "kepta*b*c 2\\*3 # x\n1. item|1"},
    {"CtrlVOfMarkdownAheadOfText", dtMarkdownAheadOfText, srClipboard, CtrlV, "kept甲乙|1"},
    {"DropOfMarkdownOnly", dtMarkdown, srDrop, Drop, "a*b*c 2\\*3 # x\n1. itemkept|1"},
    {"DropOfMarkdownAheadOfText", dtMarkdownAheadOfText, srDrop, Drop, "甲乙kept|1"},
};

class MemoPaste : public ::testing::TestWithParam<TPasteRow>
{
protected:
    void TearDown() override
    {
        QGuiApplication::clipboard()->clear(QClipboard::Clipboard);
        if (QGuiApplication::clipboard()->supportsSelection())
            QGuiApplication::clipboard()->clear(QClipboard::Selection);
    }
};

TEST_P(MemoPaste, OnlyDataWithTextIsInserted)
{
    const TPasteRow& Row = GetParam();
    QClipboard* Clipboard = QGuiApplication::clipboard();
    if (Row.Source == srSelection && !Clipboard->supportsSelection())
        GTEST_SKIP() << "no selection clipboard on this platform (offscreen has none), so a middle click pastes nothing";
    TCountingMemo Memo;
    Memo.resize(200, 80);
    Memo.show();
    Memo.setPlainText(QStringLiteral("kept"));
    Memo.moveCursor(QTextCursor::End);
    std::unique_ptr<QMimeData> Dropped;
    if (Row.Source == srDrop)
        Dropped.reset(MakeData(Row.Data));
    else
        Clipboard->setMimeData(MakeData(Row.Data),
                               Row.Source == srSelection ? QClipboard::Selection : QClipboard::Clipboard);
    Row.Act(&Memo, Dropped.get());
    EXPECT_EQ(Memo.toPlainText() + u'|' + QString::number(Memo.Offers), QString::fromUtf8(Row.After));
}

INSTANTIATE_TEST_SUITE_P(Rows, MemoPaste, ::testing::ValuesIn(PasteRows),
                         [](const ::testing::TestParamInfo<TPasteRow>& Info) { return std::string(Info.param.Name); });

} // namespace
