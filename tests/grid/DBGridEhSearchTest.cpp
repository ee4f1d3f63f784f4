// Typing on a read-only column jumps to the first record whose text starts
// with what was typed; the typed prefix shows yellow over the cell.
#include "GridFixture.h"
#include "platform/gui/Clipbrd.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/TestRender.h"

#include <QDir>
#include <QInputMethodEvent>
#include <QKeyEvent>

namespace {

class TSearchFixture : public TGridTestFixture
{
public:
    TSearchFixture()
        : TGridTestFixture({{"Id", ftInteger}, {"Name", ftWideString, 20}}, QSize(300, 220), 7, true, true)
    {
    }

    QList<Variant> Record(int i) const override
    {
        static const char* Names[] = {"Ann", "abc", "张三", "ABd", "张四丰", "李", "\U00020001甲"};
        return {Variant(i), Variant(QString::fromUtf8(Names[i - 1]))};
    }

    void SetUp() override
    {
        TGridTestFixture::SetUp();
        AddColumn(QStringLiteral("Id"), 40);
        Name = AddColumn(QStringLiteral("Name"), 120);
        Name->SetReadOnly(true);
        Grid->SetOptionsEh(Grid->OptionsEh() + dghIncSearch);
        Link();
        Grid->SetSelectedIndex(1);
    }

    // Characters are typed (one key each, its whole text); "^E" is Ctrl+Enter,
    // "^+E" Ctrl+Shift+Enter, "BS" Backspace, "V:text" a paste of text,
    // "IM:text" text an input method commits and "T" the idle timer firing.
    void Type(const std::vector<const char*>& Keys)
    {
        for (const char* K : Keys) {
            const QString S = QString::fromUtf8(K);
            if (S == u"T") {
                Grid->IncSearchTimer()->OnTimer(nullptr);
            } else if (S.startsWith(u'^')) {
                const auto M = S.contains(u'+') ? Qt::ControlModifier | Qt::ShiftModifier : Qt::ControlModifier;
                Send(Qt::Key_Return, M, QString());
            } else if (S.startsWith(u"V:")) {
                Clipboard()->SetAsText(S.mid(2));
                Send(Qt::Key_V, Qt::ControlModifier, QString());
            } else if (S.startsWith(u"IM:")) {
                QInputMethodEvent Commit;
                Commit.setCommitString(S.mid(3));
                QCoreApplication::sendEvent(Grid.get(), &Commit);
            } else if (S == u"BS") {
                Send(Qt::Key_Backspace, Qt::NoModifier, QString());
            } else {
                Send(0, Qt::NoModifier, S);
            }
        }
    }

    void Send(int Key, Qt::KeyboardModifiers M, const QString& Text)
    {
        QKeyEvent Press(QEvent::KeyPress, Key, M, Text);
        QCoreApplication::sendEvent(Grid.get(), &Press);
    }

    TColumnEh* Name = nullptr;
};

struct TSearchRow
{
    const char* Name;
    std::vector<const char*> Keys;
    int Id;
    const char* Text;
    bool Running;
};

class IncSearch : public TSearchFixture, public ::testing::WithParamInterface<TSearchRow> {};

TEST_P(IncSearch, FindsRecordAndKeepsText)
{
    const TSearchRow& Row = GetParam();
    Data->Last();
    Type(Row.Keys);
    EXPECT_EQ(Data->FieldByName(QStringLiteral("Id"))->AsInteger(), Row.Id);
    EXPECT_EQ(Grid->IncSearchText(), QString::fromUtf8(Row.Text));
    EXPECT_EQ(Grid->IncSearchRunning(), Row.Running);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, IncSearch,
    ::testing::Values(TSearchRow{"TwoLetters", {"a", "b"}, 2, "ab", true},
                      TSearchRow{"TakesRecordCase", {"a", "b", "D"}, 4, "ABd", true},
                      TSearchRow{"NoMatchKeepsAll", {"a", "b", "x"}, 2, "ab", true},
                      TSearchRow{"Chinese", {"张", "四"}, 5, "张四", true},
                      TSearchRow{"ForwardAndBack", {"a", "^E", "^E", "^+E"}, 2, "a", true},
                      TSearchRow{"ForwardPastLastStays", {"a", "b", "^E", "^E"}, 4, "AB", true},
                      TSearchRow{"TimeOutThenFromFirst", {"a", "b", "T", "张"}, 3, "张", true},
                      TSearchRow{"TimeOutEnds", {"李", "T"}, 6, "", false},
                      TSearchRow{"BackspaceWholeCharacter", {"张", "四", "丰", "BS"}, 5, "张四", true},
                      TSearchRow{"PasteAdds", {"张", "V:四丰"}, 5, "张四丰", true},
                      TSearchRow{"WholeTextOfOneKey", {"张四"}, 5, "张四", true},
                      TSearchRow{"InputMethodCommit", {"IM:张四"}, 5, "张四", true},
                      TSearchRow{"CharacterOutsideTheBmp", {"\U00020001"}, 7, "\U00020001", true}),
    [](const auto& Info) { return std::string(Info.param.Name); });

// The yellow band covers the typed prefix where it stands in the cell.
TEST_F(TSearchFixture, HighlightCoversPrefix)
{
    Type({"张"});
    const QRect Cell = Grid->CellRect(2, 3);
    const QRect One = Colored(FullPaint(), Cell, clYellow);
    Type({"三"});
    const QRect Two = Colored(FullPaint(), Cell, clYellow);
    const QString File = QDir(qEnvironmentVariable("TB_RENDER_DIR", QDir::tempPath())).filePath("grid-search.png");
    RenderToPng(Grid.get(), File);
    EXPECT_EQ(Colored(QImage(File), Cell, clYellow), Two);
    ASSERT_FALSE(One.isEmpty());
    EXPECT_LE(One.left() - Cell.left(), 3);
    EXPECT_EQ(Two.left(), One.left());
    EXPECT_NEAR(Two.width(), 2 * One.width(), 2);

    Name->SetAlignment(taRightJustify);
    Type({"T", "张"});
    const QImage Right = FullPaint();
    const QRect Band = Colored(Right, Cell, clYellow);
    ASSERT_FALSE(Band.isEmpty());
    EXPECT_NEAR(Band.width(), One.width(), 1);
    // The unmatched "三" stays to the right of the band, on the cell's colour.
    EXPECT_TRUE(HasInk(Right, QRect(QPoint(Band.right() + 1, Cell.top()), Cell.bottomRight())));
    Type({"T"});
    EXPECT_FALSE(HasColor(FullPaint(), Cell, clYellow));
}

} // namespace
