// The syntax memo over compact renderings: lines joined by "|", the caret as
// "@col:line", a selection as "[c:l-c:l]", bookmarks as "{n:line}", styles as
// letters (t text, c comment, k keyword, s string, _ control character).
#include "DesignerTestUtil.h"

#include "platform/gui/Clipbrd.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Menus.h"
#include "platform/gui/TestRender.h"
#include "report/designer/fr_synmemo.h"

#include <QCoreApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QRandomGenerator>

namespace {

struct TMemoFixture
{
    TMemoFixture()
    {
        Host.resize(400, 300);
        Memo = new TfrSyntaxMemo(&Host);
        Memo->resize(400, 300);
    }
    void Load(const QString& Text, const QString& Caret = QStringLiteral("1:1"))
    {
        Memo->SetLines(TStringList(Text.split(u'|')));
        const QStringList P = Caret.split(u':');
        Memo->SetCaretPos(P[0].toInt(), P[1].toInt());
    }
    // Keys separated by blanks: names with C-, S-, A- prefixes, or 'text' typed.
    void Keys(const QString& Script)
    {
        for (const QString& K : Script.split(u' ', Qt::SkipEmptyParts)) {
            if (K.startsWith(u'\'')) {
                QKeyEvent E(QEvent::KeyPress, 0, Qt::NoModifier, K.mid(1, K.size() - 2));
                QCoreApplication::sendEvent(Memo, &E);
                continue;
            }
            Qt::KeyboardModifiers M;
            QString Name = K;
            while (Name.size() > 2 && Name[1] == u'-') {
                M |= Name[0] == u'C' ? Qt::ControlModifier : Name[0] == u'S' ? Qt::ShiftModifier : Qt::AltModifier;
                Name = Name.mid(2);
            }
            static const QMap<QString, int> Named = {
                {"Enter", Qt::Key_Return}, {"Tab", Qt::Key_Tab}, {"Bksp", Qt::Key_Backspace},
                {"Del", Qt::Key_Delete}, {"Left", Qt::Key_Left}, {"Right", Qt::Key_Right}, {"Up", Qt::Key_Up},
                {"Down", Qt::Key_Down}, {"Home", Qt::Key_Home}, {"End", Qt::Key_End}, {"PgUp", Qt::Key_PageUp},
                {"PgDn", Qt::Key_PageDown}, {"F3", Qt::Key_F3}, {"Ins", Qt::Key_Insert}};
            const int Key = Named.value(Name, Name.size() == 1 ? Name[0].toUpper().unicode() : 0);
            QKeyEvent E(QEvent::KeyPress, Key, M);
            QCoreApplication::sendEvent(Memo, &E);
        }
    }
    QString State() const
    {
        QString S = Memo->Text().join(u'|') + QStringLiteral(" @%1:%2").arg(Memo->CaretPos().Col).arg(Memo->CaretPos().Line);
        if (Memo->HasSelection())
            S += QStringLiteral(" [%1:%2-%3:%4]").arg(Memo->SelStart().Col).arg(Memo->SelStart().Line)
                     .arg(Memo->SelEnd().Col).arg(Memo->SelEnd().Line);
        for (int i = 0; i < 10; ++i)
            if (Memo->Bookmark(i) >= 0)
                S += QStringLiteral(" {%1:%2}").arg(i).arg(Memo->Bookmark(i) + 1);
        return S;
    }
    QString Styles() const
    {
        QStringList Out;
        for (int i = 0; i < Memo->Text().size(); ++i) {
            QString L;
            for (char C : Memo->LineStyles(i))
                L += C == synText ? u't' : C == synComment ? u'c' : C == synKeyword ? u'k' : C == synString ? u's' : u'_';
            Out << L;
        }
        return Out.join(u'|');
    }

    QWidget Host;
    TfrSyntaxMemo* Memo;
};

struct THighlightCase
{
    const char* Name;
    TSyntaxType Syntax;
    const char* Text;
    const char* Styles;
};

const THighlightCase HighlightCases[] = {
    {"KeywordsInAnyCaseNotPrefixes", stPascal, "begin BEGIN begin1", "kkkkktkkkkkttttttt"},
    {"AssignmentStringAndThreeComments", stPascal, "a:='x'{c}(*d*)//e", "tttsssccccccccccc"},
    {"DigitLedWordThenIdentifier", stPascal, "1and", "tkkk"},
    {"UnterminatedStringEndsAtLineEnd", stPascal, "'abc|x", "ssss|t"},
    {"BlockCommentOverLines", stPascal, "(* a|b *)|end", "cccc|cccc|kkk"},
    {"UnterminatedBlockRunsToEnd", stPascal, "(* a|begin", "cccc|ccccc"},
    {"SharedStarCloses", stPascal, "(*)x", "ccct"},
    {"BraceOverLines", stPascal, "{a|b}end", "cc|cckkk"},
    {"CppKeywordsStringAndComment", stCpp, "int x=\"s\";//c", "kkktttssstccc"},
    {"CppOtherQuoteIsText", stCpp, "'a'", "ttt"},
    {"SqlLineComment", stSQL, "select -- x", "kkkkkktcccc"},
    {"SqlSingleMinusIsText", stSQL, "a - b", "ttttt"},
    {"PlainTextHasNoTokens", stText, "begin 'x'", "ttttttttt"},
    {"ChineseInStringAndComment", stPascal, "s:='中文'//注释", "tttsssscccc"},
    {"SurrogatePairInString", stPascal, "'😀'x", "sssst"},
    {"ControlCharacterKeepsItsCode", stPascal, "\tbegin", "_kkkkk"},
};

class SynMemoHighlight : public ::testing::TestWithParam<THighlightCase>
{};

TEST_P(SynMemoHighlight, Styles)
{
    TMemoFixture F;
    F.Memo->SetSyntaxType(GetParam().Syntax);
    F.Load(QString::fromUtf8(GetParam().Text));
    EXPECT_EQ(F.Styles(), QString::fromUtf8(GetParam().Styles));
}

INSTANTIATE_TEST_SUITE_P(Cases, SynMemoHighlight, ::testing::ValuesIn(HighlightCases),
                         [](const auto& Info) { return std::string(Info.param.Name); });

TEST(SynMemo, IncrementalHighlightEqualsWholeTextAfterRandomEdits)
{
    TMemoFixture F;
    QStringList Start;
    for (int i = 0; i < 200; ++i)
        Start << QStringLiteral("x := 'a'; (* c %1 *) { b } // 注释").arg(i);
    F.Load(Start.join(u'|'));
    const QStringList Pieces = {"{", "}", "(*", "*)", "'", "begin ", "\r\n", "x", "中", "//", "*"};
    QRandomGenerator Rng(37);
    for (int Step = 1; Step <= 1000; ++Step) {
        const int Line = Rng.bounded(F.Memo->Text().size()) + 1;
        F.Memo->SetCaretPos(Rng.bounded(30) + 1, Line);
        switch (Rng.bounded(4)) {
        case 0: F.Keys(QStringLiteral("Bksp")); break;
        case 1: F.Keys(QStringLiteral("Del")); break;
        default: F.Memo->InsertText(Pieces[Rng.bounded(Pieces.size())]); break;
        }
        if (Step % 100 == 0) {
            const QString Incremental = F.Styles();
            F.Memo->HighlightAll();
            ASSERT_EQ(Incremental, F.Styles()) << "after edit " << Step;
        }
    }
}

struct TKeyCase
{
    const char* Name;
    const char* Text;
    const char* Caret;
    const char* Keys;
    const char* Expected;
    bool ReadOnly = false;
};

const TKeyCase KeyCases[] = {
    {"EnterKeepsIndent", "  abcd", "5:1", "Enter", "  ab|  cd @3:2"},
    {"EnterOnBlankLineIndentsToCaret", "", "5:1", "Enter", "|     @5:2"},
    {"EnterUndoKeepsSplitWithoutIndent", "  ab", "5:1", "Enter C-Z", "  ab| @1:2"},
    {"TabAlignsToNextWordAbove", "ab  cd|", "1:2", "Tab", "ab  cd|     @5:2"},
    {"TabWithoutLineAboveDoesNothing", "x", "1:1", "Tab", "x @1:1"},
    {"BackspaceUnindents", "a|  b|    c", "5:3", "Bksp", "a|  b|  c @3:3"},
    {"BackspaceJoinsTrimmedLineAbove", "ab  |cd", "1:2", "Bksp", "abcd @3:1"},
    {"BackspaceDeletesCharacter", "abc", "3:1", "Bksp", "ac @2:1"},
    {"BackspaceRemovesSelectionOnly", "abc", "2:1", "S-Right Bksp", "ac @2:1"},
    {"DeletePastEndJoinsPadded", "ab|cd", "5:1", "Del", "ab  cd @5:1"},
    {"DeletePastLastLineDoesNothing", "ab", "4:1", "Del", "ab @4:1"},
    {"CtrlLeftToWordStart", "foo bar", "8:1", "C-Left", "foo bar @5:1"},
    {"CtrlRightToNextWord", "foo  bar", "1:1", "C-Right", "foo  bar @6:1"},
    {"CtrlRightFromLineEndGoesOn", "ab|cd ef", "3:1", "C-Right", "ab|cd ef @4:2"},
    {"CtrlRightPastLastLineDoesNothing", "ab", "3:1", "C-Right", "ab @3:1"},
    {"ShiftExtendsFromFirstPosition", "abc", "1:1", "S-Right S-Right", "abc @3:1 [1:1-3:1]"},
    {"MoveWithoutShiftClears", "abc", "1:1", "S-Right Right", "abc @3:1"},
    {"TypingReplacesSelection", "abc", "1:1", "S-Right S-Right 'x'", "xc @2:1"},
    {"CtrlYOnOnlyLineEmptiesIt", "abc", "2:1", "C-Y", " @2:1"},
    {"CtrlYMovesBookmarkOfRemovedLine", "a|b|c", "1:2", "C-S-1 C-Y", "a|c @1:2 {1:2}"},
    {"BlockIndentAndUnindent", "  a|   b", "1:1", "C-A C-I C-U C-U", "a| b @5:2 [1:1-5:2]"},
    {"BookmarkJump", "a|b|c", "1:3", "C-S-2 Up Up C-2", "a|b|c @1:3 {2:3}"},
    {"BookmarkToggleClears", "a|b", "1:2", "C-S-2 C-S-2", "a|b @1:2"},
    {"OtherBookmarkOnLineStays", "a|b", "1:2", "C-S-1 C-S-2", "a|b @1:2 {1:2}"},
    {"JoinShiftsBookmarksBelow", "a|b|c", "1:2", "Down C-S-0 Up Bksp", "ab|c @2:1 {0:2}"},
    {"JoinMovesBookmarkOfRemovedLine", "a|b|c", "1:2", "C-S-0 Bksp", "ab|c @2:1 {0:1}"},
    {"ReadOnlyRefusesChanges", "abc", "2:1", "'x' Bksp Del Enter C-Y", "abc @2:1", true},
    {"ChineseTypedAndWalked", "", "1:1", "'中文' Left 'x'", "中x文 @3:1"},
    {"PairTypedAndDeletedWhole", "ab", "2:1", "'😀' Bksp Left Del", "b @1:1"},
    {"PairStepsAsOneColumn", "a😀b", "4:1", "Left Left S-Right", "a😀b @3:1 [2:1-3:1]"},
    {"EndGoesAfterLastNonBlank", "ab   ", "1:1", "End", "ab    @3:1"},
    {"CtrlEndAndCtrlHome", "a|bc", "1:1", "C-End C-Home S-C-End", "a|bc @3:2 [1:1-3:2]"},
};

class SynMemoKeys : public ::testing::TestWithParam<TKeyCase>
{};

TEST_P(SynMemoKeys, Result)
{
    TMemoFixture F;
    F.Load(QString::fromUtf8(GetParam().Text), QString::fromLatin1(GetParam().Caret));
    F.Memo->SetReadOnly(GetParam().ReadOnly);
    F.Keys(QString::fromUtf8(GetParam().Keys));
    EXPECT_EQ(F.State(), QString::fromUtf8(GetParam().Expected));
}

INSTANTIATE_TEST_SUITE_P(Cases, SynMemoKeys, ::testing::ValuesIn(KeyCases),
                         [](const auto& Info) { return std::string(Info.param.Name); });

TEST(SynMemo, PageKeysMoveByVisibleRows)
{
    TMemoFixture F;
    QStringList L;
    for (int i = 1; i <= 50; ++i)
        L << QString::number(i);
    F.Load(L.join(u'|'));
    F.Memo->resize(400, 20 + 10 * F.Memo->CellSize().height());
    ASSERT_EQ(F.Memo->VisibleRows(), 10);
    F.Keys(QStringLiteral("PgDn PgDn"));
    EXPECT_EQ(F.Memo->CaretPos().Line, 19);
    EXPECT_EQ(F.Memo->TopLine(), 18);
    F.Keys(QStringLiteral("PgDn PgDn PgDn"));
    EXPECT_EQ(F.Memo->CaretPos().Line, 50);
    EXPECT_EQ(F.Memo->TopLine(), 40);
    F.Keys(QStringLiteral("PgUp"));
    EXPECT_EQ(F.Memo->CaretPos().Line, 41);
    F.Keys(QStringLiteral("PgUp PgUp PgUp PgUp PgUp PgUp"));
    EXPECT_EQ(F.State().section(u' ', 1), QStringLiteral("@1:1"));
}

TEST(SynMemo, UndoKeepsThirtyTwoSnapshots)
{
    TMemoFixture F;
    for (int i = 0; i < 33; ++i)
        F.Keys(QStringLiteral("'%1'").arg(QChar(u'a' + i % 26)));
    EXPECT_EQ(F.Memo->UndoCount(), 32);
    for (int i = 0; i < 40; ++i)
        F.Keys(QStringLiteral("C-Z"));
    EXPECT_EQ(F.State(), QStringLiteral("a @2:1"));
}

TEST(SynMemo, LinesResetRuleAndBookmarksAfterReset)
{
    TMemoFixture F;
    F.Load(QStringLiteral("a|b|c"), QStringLiteral("1:3"));
    F.Keys(QStringLiteral("C-S-3 'x'"));
    F.Memo->Lines()->Delete(2);   // read, then changed: a reset
    EXPECT_EQ(F.State(), QStringLiteral("a|b @1:1"));
    EXPECT_EQ(F.Memo->UndoCount(), 0);
    F.Memo->Lines()->Clear();
    EXPECT_EQ(F.State(), QStringLiteral(" @1:1"));
}

TEST(SynMemo, LongLineStaysWholeAndSelects)
{
    TMemoFixture F;
    F.Load(QString(1100, u'x') + QStringLiteral("|y"), QStringLiteral("1:1"));
    F.Keys(QStringLiteral("S-End"));
    EXPECT_EQ(F.Memo->CaretPos().Col, 1101);
    EXPECT_EQ(F.Memo->SelText().size(), 1100);
    F.Keys(QStringLiteral("Down End Right Right"));
    EXPECT_EQ(F.Memo->CaretPos().Col, 4);   // blank space beyond the text is open
    F.Memo->SetCaretPos(5000, 2);
    EXPECT_EQ(F.Memo->CaretPos().Col, TfrSyntaxMemo::MaxLineLength);
}

TEST(SynMemo, InputMethodCommitAndPreedit)
{
    TMemoFixture F;
    F.Load(QStringLiteral("ab"), QStringLiteral("2:1"));
    QInputMethodEvent Pre(QStringLiteral("zhong"), {});
    QCoreApplication::sendEvent(F.Memo, &Pre);
    EXPECT_EQ(F.Memo->Preedit(), QStringLiteral("zhong"));
    QInputMethodEvent Commit;
    Commit.setCommitString(QStringLiteral("中文"));
    QCoreApplication::sendEvent(F.Memo, &Commit);
    EXPECT_EQ(F.State(), QStringLiteral("a中文b @4:1"));
    EXPECT_TRUE(F.Memo->Preedit().isEmpty());
    const QRect Caret = F.Memo->inputMethodQuery(Qt::ImCursorRectangle).toRect();
    EXPECT_EQ(Caret.topLeft(), F.Memo->PosToPoint({4, 1}));
    EXPECT_EQ(Caret.left(), 20 + 5 * F.Memo->CellSize().width());   // wide characters take two cells
}

TEST(SynMemo, ClickOnWideCharacterHalves)
{
    TMemoFixture F;
    F.Load(QStringLiteral("中文x"));
    const int W = F.Memo->CellSize().width();
    const struct { int Cell; int Col; } Rows[] = {{0, 1}, {1, 1}, {2, 2}, {3, 2}, {4, 3}, {6, 5}};
    for (const auto& R : Rows) {
        F.Memo->MouseDown(mbLeft, TShiftState{ssLeft}, 20 + R.Cell * W + W / 2, 2);
        F.Memo->MouseUp(mbLeft, TShiftState(), 20 + R.Cell * W + W / 2, 2);
        EXPECT_EQ(F.Memo->CaretPos().Col, R.Col) << "cell " << R.Cell;
    }
}

TEST(SynMemo, TextDropAndBuiltInMenu)
{
    TMemoFixture F;
    F.Load(QStringLiteral("ab|cd"));
    F.Host.setAttribute(Qt::WA_DontShowOnScreen);
    F.Host.show();
    QMimeData Mime;
    Mime.setText(QStringLiteral("[Field]"));
    const QSize Cell = F.Memo->CellSize();
    const QPoint At(20 + Cell.width() + 1, Cell.height() + 1);
    QDragEnterEvent Enter(At, Qt::CopyAction, &Mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(F.Memo, &Enter);   // Qt hands a drop only to the widget that took the enter
    QDropEvent Drop(At, Qt::CopyAction, &Mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(F.Memo, &Drop);
    EXPECT_EQ(F.State(), QStringLiteral("ab|c[Field]d @9:2"));
    F.Memo->MouseDown(mbRight, TShiftState{ssRight}, 30, 5);
    ASSERT_NE(F.Memo->BuiltInMenu(), nullptr);
    QStringList Captions;
    for (int i = 0; i < F.Memo->BuiltInMenu()->Items()->Count(); ++i)
        Captions << F.Memo->BuiltInMenu()->Items()->Items(i)->Caption();
    EXPECT_EQ(Captions.join(u','), QStringLiteral("Cut,Copy,Paste"));
    F.Memo->BuiltInMenu()->ShownMenu()->close();
}

TEST(SynMemo, FindChineseAgainAndNotFound)
{
    TMemoFixture F;
    F.Load(QStringLiteral("中文|x 中文 y|z|中文"), QStringLiteral("1:1"));
    TModalHandlers Handlers(
        [](TForm* Form) {
            auto* Search = dynamic_cast<TSynMemoSearch*>(Form);
            EXPECT_EQ(Search->Caption(), QStringLiteral("Search"));
            Search->Edit1->setText(QStringLiteral("中文"));
            return mrOk;
        },
        nullptr);
    F.Keys(QStringLiteral("C-F"));
    EXPECT_EQ(F.State(), QStringLiteral("中文|x 中文 y|z|中文 @3:2"));
    F.Keys(QStringLiteral("F3"));
    EXPECT_EQ(F.Memo->CaretPos().Line, 4);
    F.Keys(QStringLiteral("F3"));
    EXPECT_EQ(F.Memo->StatusText(), QStringLiteral("Text \"中文\" not found."));
    F.Keys(QStringLiteral("Left"));
    EXPECT_TRUE(F.Memo->StatusText().isEmpty());
}

TEST(SynMemo, PaintsGutterBookmarkSelectionAndFooter)
{
    TMemoFixture F;
    F.Load(QStringLiteral("begin|  x := 1;|end"), QStringLiteral("3:2"));
    F.Keys(QStringLiteral("C-S-1 S-End"));
    const QImage I = RenderWidget(F.Memo);
    const int H = F.Memo->CellSize().height(), W = F.Memo->CellSize().width();
    EXPECT_EQ(I.pixel(11, H + 12), QColor(0, 128, 0).rgb());                        // the bookmark
    EXPECT_EQ(I.pixel(20 + 3 * W + W / 2, H + H / 2) & 0xFFFFFF, ColorToQColor(clHighlight).rgb() & 0xFFFFFF);
    EXPECT_EQ(I.pixel(200, H / 2) & 0xFFFFFF, 0xFFFFFFu);                             // unselected line
    EXPECT_EQ(I.pixel(300, I.height() - 3) & 0xFFFFFF, ColorToQColor(clBtnFace).rgb() & 0xFFFFFF);
}

} // namespace
