// The boxes over a text field, the data-aware edit and the grid editor, each
// word-wrapping and plain: what a paste over a selection keeps (against the
// plain data-aware edit), characters outside the basic plane at the limit,
// the undo history after a cut paste and after a drop, a change into a
// record that refuses editing, the caret after a change without a key, an
// input method's replacement and a clipboard that offers only markdown.
#include "EditKeys.h"
#include "GridTestUtil.h"
#include "grid/DBCtrlsEh.h"
#include "grid/DBGridEh.h"
#include "grid/DBGridEhColumns.h"
#include "grid/DBGridEhInplaceEdit.h"
#include "platform/db/DataSource.h"
#include "platform/db/Field.h"
#include "platform/db/MemDataSet.h"
#include "platform/gui/Clipbrd.h"
#include "platform/gui/ModalSeam.h"

#include <QApplication>
#include <QClipboard>
#include <QDropEvent>
#include <QMimeData>
#include <QPlainTextEdit>
#include <gtest/gtest.h>
#include <memory>

namespace {

enum TBoxKind { bkPlainEdit, bkWrappingEdit, bkGridEditor, bkPlainGridEditor };

const char* const BoxNames[] = {"plain edit", "word-wrapping edit", "grid editor", "single-line grid editor"};

// One record whose text field "Name" has the given size.
struct TOneRecord
{
    TMemDataSet DataSet;
    TDataSource Source;
    TOneRecord(int Size, const QString& Text)
    {
        DataSet.FieldDefs()->Add(QStringLiteral("Name"), ftWideString, Size);
        DataSet.CreateDataSet();
        DataSet.AppendRecord({Variant(Text)});
        Source.SetDataSet(&DataSet);
    }
    QString Stored() const { return DataSet.FieldByName(QStringLiteral("Name"))->AsString(); }
};

// A box of one kind over the record's field, entered as a user enters it:
// a data-aware edit (plain or word-wrapping) that took the focus, or the
// editor of a grid over the field (word-wrapped in rows of three lines, or
// in rows of one).
class TBox
{
public:
    // A grid's column offers Picks as its pick list.
    TBox(TBoxKind Kind, TOneRecord& Record, const QStringList& Picks = {}) : FRecord(Record)
    {
        if (Kind == bkGridEditor || Kind == bkPlainGridEditor) {
            FGrid = std::make_unique<TDBGridEh>();
            FGrid->resize(300, 200);
            FGrid->Columns()->Add()->SetFieldName(QStringLiteral("Name"));
            FGrid->Columns(0)->PickList()->SetStringList(Picks);
            FGrid->Columns(0)->SetWidth(120);
            FGrid->Columns(0)->SetWordWrap(Kind == bkGridEditor);
            FGrid->SetRowLines(Kind == bkGridEditor ? 3 : 0);
            FGrid->SetDataSource(&Record.Source);
            FGrid->show();
            QApplication::setActiveWindow(FGrid.get());
            FGrid->ShowEditor();
            FLine = FGrid->InplaceEditor();
            FView = dynamic_cast<TDBGridInplaceEdit*>(FLine)->WrapEdit();
            return;
        }
        FEdit = std::make_unique<TDBEditEh>();
        FEdit->resize(160, 60);
        FEdit->SetWordWrap(Kind == bkWrappingEdit);
        FEdit->SetDataSource(&Record.Source);
        FEdit->SetDataField(QStringLiteral("Name"));
        SendFocus(FEdit.get(), true);
        FLine = FEdit.get();
        FView = FEdit->findChild<QPlainTextEdit*>();
    }
    // Where the user's keys and input-method text go, and where the mouse
    // (a drop, a right click) lands.
    QWidget* Input() const { return FView ? static_cast<QWidget*>(FView) : FLine; }
    QWidget* MouseTarget() const { return FView ? FView->viewport() : FLine; }
    TDBEditEh* Edit() const { return FEdit.get(); }
    void Select(int From, int Length)
    {
        if (!FView) {
            FLine->setSelection(From, Length);
            return;
        }
        QTextCursor C = FView->textCursor();
        C.setPosition(From);
        C.setPosition(From + Length, QTextCursor::KeepAnchor);
        FView->setTextCursor(C);
    }
    // "shown|held": what the box shows and what its line edit holds.
    QString Shown() const { return (FView ? FView->toPlainText() : FLine->text()) + u'|' + FLine->text(); }
    // "shown|held|stored" once the text went to the field.
    QString Leave()
    {
        const QString Before = Shown();
        if (FGrid)
            FGrid->HideEditor();
        else
            SendFocus(FEdit.get(), false);
        if (FRecord.DataSet.State() != dsBrowse)
            FRecord.DataSet.Post();
        return Before + u'|' + FRecord.Stored();
    }

private:
    TOneRecord& FRecord;
    std::unique_ptr<TDBGridEh> FGrid;
    std::unique_ptr<TDBEditEh> FEdit;
    QLineEdit* FLine = nullptr;
    QPlainTextEdit* FView = nullptr;
};

// Data dropped at the box's top left corner, before its first character.
void Drop(QWidget* Target, const QString& Text)
{
    QMimeData Data;
    Data.setText(Text);
    const QPoint At(1, 4);
    QDragEnterEvent Enter(At, Qt::CopyAction, &Data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(Target, &Enter);
    QDragMoveEvent Move(At, Qt::CopyAction, &Data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(Target, &Move);
    QDropEvent Dropped(At, Qt::CopyAction, &Data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(Target, &Dropped);
}

// An input method's commit of Text in place of Length units From the caret on.
void CommitReplacing(QWidget* Target, const QString& Text, int From, int Length)
{
    QInputMethodEvent Commit;
    Commit.setCommitString(Text, From, Length);
    QCoreApplication::sendEvent(Target, &Commit);
}

void CtrlZ(QWidget* Target)
{
    SendKey(Target, Qt::Key_Z, Qt::ControlModifier, QStringLiteral("\x1a"));
}

struct TReplaceRow
{
    int Size;
    QString Start;
    int From, Length; // the selection the paste replaces
    QString Pasted;
};

// "shown|held|stored" after Ctrl+V over the selection.
QString PasteOverSelection(TBoxKind Kind, const TReplaceRow& Row)
{
    TOneRecord Record(Row.Size, Row.Start);
    TBox Box(Kind, Record);
    Box.Select(Row.From, Row.Length);
    Clipboard()->SetAsText(Row.Pasted);
    TypeKeys(Box.Input(), QStringLiteral("<Ctrl+V>"));
    return Box.Leave();
}

// The same numbers on every machine.
struct TSeededRandom
{
    quint32 State;
    int Below(int Bound)
    {
        State = State * 1664525u + 1013904223u;
        return int((State >> 8) % quint32(Bound));
    }
    // Length characters; with Ends, the UTF-16 offsets where each ends.
    QString Text(int Length, std::vector<int>* Ends = nullptr)
    {
        // Few characters, so that pasted texts often begin or end like the
        // text they replace; two outside the basic plane share their second
        // half (U+20000 is D840 DC00, U+20400 is D841 DC00).
        static const QStringList Alphabet = QString::fromUtf8("张 三 李 四 a b 𠀀 𠐀").split(u' ');
        QString T;
        for (int i = 0; i < Length; ++i) {
            T += Alphabet[Below(int(Alphabet.size()))];
            if (Ends)
                Ends->push_back(int(T.size()));
        }
        return T;
    }
};

} // namespace

// A paste over a selection keeps, in the word-wrapping boxes and the grid's
// single-line editor, what the plain edit keeps: the pasted text's first
// whole characters that fit, in place of the selection, whatever the texts
// have in common; and the plain edit never keeps half a character.
TEST(WordWrapBoxes, PasteOverASelectionKeepsWhatThePlainEditKeeps)
{
    std::vector<TReplaceRow> Rows = {{3, QStringLiteral("张三"), 0, 2, QStringLiteral("李四张三")}};
    TSeededRandom Random{20260512u};
    while (Rows.size() < 120) {
        TReplaceRow Row;
        Row.Size = 2 + Random.Below(6);
        std::vector<int> Ends;
        Row.Start = Random.Text(1 + Random.Below(Row.Size / 2), &Ends);
        // The selection runs between whole characters.
        const int First = Random.Below(int(Ends.size()));
        const int Last = First + Random.Below(int(Ends.size()) - First);
        Row.From = First > 0 ? Ends[First - 1] : 0;
        Row.Length = Ends[Last] - Row.From;
        Row.Pasted = Random.Text(1 + Random.Below(8));
        Rows.push_back(Row);
    }
    for (size_t i = 0; i < Rows.size(); ++i) {
        const TReplaceRow& Row = Rows[i];
        SCOPED_TRACE(QStringLiteral("row %1: size %2, \"%3\" [%4,+%5] <- \"%6\"")
                         .arg(i).arg(Row.Size).arg(Row.Start).arg(Row.From).arg(Row.Length).arg(Row.Pasted)
                         .toStdString());
        const QString Plain = PasteOverSelection(bkPlainEdit, Row);
        EXPECT_TRUE(Plain.isValidUtf16()) << BoxNames[bkPlainEdit];
        for (const TBoxKind Kind : {bkWrappingEdit, bkGridEditor, bkPlainGridEditor})
            EXPECT_EQ(PasteOverSelection(Kind, Row), Plain) << BoxNames[Kind];
    }
    Clipboard()->Clear();
}

// A cut at the limit keeps whole characters: U+20000 (D840 DC00) and U+20400
// (D841 DC00) go in whole or not at all, whichever way the text comes.
TEST(WordWrapBoxes, ACutNeverSplitsACharacter)
{
    const struct
    {
        const char* Name;
        int Size;
        const char* Start;
        int From, Length; // selected before the action
        void (*Act)(TBox& Box);
        const char* After; // shown|held|stored
    } Rows[] = {
        {"PasteOverASelection", 4, "甲𠀀", 1, 2,
         [](TBox& B) {
             Clipboard()->SetAsText(QString::fromUtf8("乙丙𠐀"));
             TypeKeys(B.Input(), QStringLiteral("<Ctrl+V>"));
         },
         "甲乙丙|甲乙丙|甲乙丙"},
        {"PasteIntoAnEmptyBox", 3, "", 0, 0,
         [](TBox& B) {
             Clipboard()->SetAsText(QString::fromUtf8("ab𠀀c"));
             TypeKeys(B.Input(), QStringLiteral("<Ctrl+V>"));
         },
         "ab|ab|ab"},
        {"InputMethodCommitAtTheLimit", 4, "a", 1, 0,
         [](TBox& B) { TypeKeys(B.Input(), QString::fromUtf8("<IM:乙𠀀𠐀>")); }, "a乙𠀀|a乙𠀀|a乙𠀀"},
        {"DropAtTheLimit", 2, "", 0, 0, [](TBox& B) { Drop(B.MouseTarget(), QString::fromUtf8("b𠀀")); },
         "b|b|b"},
        {"MenuPasteOverASelection", 4, "甲𠀀", 1, 2,
         [](TBox& B) {
             Clipboard()->SetAsText(QString::fromUtf8("乙丙𠐀"));
             ChooseFromContextMenu(B.MouseTarget(), QStringLiteral("Paste"));
             // A text control pops its menu up without waiting for it.
             QCoreApplication::processEvents();
         },
         "甲乙丙|甲乙丙|甲乙丙"},
        {"ShiftInsertWithOneUnitLeft", 3, "ab", 2, 0,
         [](TBox& B) {
             Clipboard()->SetAsText(QString::fromUtf8("𠀀c"));
             SendKey(B.Input(), Qt::Key_Insert, Qt::ShiftModifier, QString());
         },
         "ab|ab|ab"},
        {"KeyWithOneUnitLeft", 3, "ab", 2, 0,
         [](TBox& B) { SendKey(B.Input(), Qt::Key_unknown, Qt::NoModifier, QString::fromUtf8("𠀀")); },
         "ab|ab|ab"},
        {"KeyOverASelectionWithOneUnitLeft", 3, "abc", 1, 1,
         [](TBox& B) { SendKey(B.Input(), Qt::Key_unknown, Qt::NoModifier, QString::fromUtf8("𠀀")); },
         "abc|abc|abc"},
        {"InputMethodCommitWithOneUnitLeft", 4, "a", 1, 0,
         [](TBox& B) { TypeKeys(B.Input(), QString::fromUtf8("<IM:乙丙𠐀>")); }, "a乙丙|a乙丙|a乙丙"},
        {"DropWithOneUnitLeft", 3, "ab", 2, 0, [](TBox& B) { Drop(B.MouseTarget(), QString::fromUtf8("𠀀")); },
         "ab|ab|ab"},
        // A field may hold more than its size (a database file is not held
        // to it); left alone, it keeps what it holds.
        {"ShowingALongerText", 2, "a𠀀", 0, 0, [](TBox&) {}, "a|a|a𠀀"},
    };
    for (const auto& Row : Rows) {
        for (const TBoxKind Kind : {bkWrappingEdit, bkGridEditor, bkPlainEdit, bkPlainGridEditor}) {
            SCOPED_TRACE(std::string(Row.Name) + ", " + BoxNames[Kind]);
            TOneRecord Record(Row.Size, QString::fromUtf8(Row.Start));
            TBox Box(Kind, Record);
            Box.Select(Row.From, Row.Length);
            Row.Act(Box);
            EXPECT_EQ(Box.Leave(), QString::fromUtf8(Row.After));
        }
    }
    Clipboard()->Clear();
}

// A paste cut to the limit is one step of the box's undo history, and the
// typing before it stays undoable. In a line edit a key after a paste is a
// step of its own (a text control adds it to the paste's).
TEST(WordWrapBoxes, ACutPasteIsOneUndoStep)
{
    const struct
    {
        TBoxKind Kind;
        const char* After; // typed after the paste
        const char* Steps; // shown|held, then after each Ctrl+Z
    } Rows[] = {
        {bkWrappingEdit, "", "xab01|xab01 xab|xab x|x x|x"},
        {bkGridEditor, "", "xab01|xab01 xab|xab x|x x|x"},
        {bkPlainEdit, "c", "xab01c|xab01c xab01|xab01 xab|xab x|x"},
        {bkPlainGridEditor, "c", "xab01c|xab01c xab01|xab01 xab|xab x|x"},
    };
    for (const auto& Row : Rows) {
        SCOPED_TRACE(BoxNames[Row.Kind]);
        TOneRecord Record(6, QStringLiteral("x"));
        TBox Box(Row.Kind, Record);
        Box.Select(1, 0);
        TypeKeys(Box.Input(), QStringLiteral("ab"));
        Clipboard()->SetAsText(QString::fromUtf8("01𠀀3456"));
        TypeKeys(Box.Input(), QStringLiteral("<Ctrl+V>") + QLatin1String(Row.After));
        QStringList Steps{Box.Shown()};
        for (int i = 0; i < 3; ++i) {
            CtrlZ(Box.Input());
            Steps << Box.Shown();
        }
        EXPECT_EQ(Steps.join(u' '), QString::fromUtf8(Row.Steps));
        EXPECT_EQ(Box.Leave(), QStringLiteral("x|x|x"));
    }
    Clipboard()->Clear();
}

// A change that comes without a key into a record that refuses editing
// shows why, and the box and its line edit then show what is stored. (A
// middle click takes the road of a paste; the offscreen platform has no
// selection to paste.)
TEST(WordWrapBoxes, AChangeIntoALockedRecordShowsTheStoredText)
{
    const struct
    {
        const char* Name;
        TBoxKind Kind;
        void (*Act)(TBox& Box);
    } Rows[] = {
        {"MenuPaste", bkWrappingEdit, [](TBox& B) { static_cast<QPlainTextEdit*>(B.Input())->paste(); }},
        {"Drop", bkWrappingEdit, [](TBox& B) { Drop(B.MouseTarget(), QStringLiteral("x")); }},
        {"InputMethodCommit", bkWrappingEdit, [](TBox& B) { TypeKeys(B.Input(), QStringLiteral("<IM:x>")); }},
        {"DropIntoThePlainEdit", bkPlainEdit, [](TBox& B) { Drop(B.MouseTarget(), QStringLiteral("x")); }},
        {"GridMenuPaste", bkGridEditor, [](TBox& B) { static_cast<QPlainTextEdit*>(B.Input())->paste(); }},
        {"GridDrop", bkGridEditor, [](TBox& B) { Drop(B.MouseTarget(), QStringLiteral("x")); }},
        {"GridInputMethodCommit", bkGridEditor, [](TBox& B) { TypeKeys(B.Input(), QStringLiteral("<IM:x>")); }},
        {"DropIntoTheSingleLineGridEditor", bkPlainGridEditor,
         [](TBox& B) { Drop(B.MouseTarget(), QStringLiteral("x")); }},
    };
    for (const auto& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        TOneRecord Record(20, QStringLiteral("abc"));
        Record.DataSet.BeforeEdit = [](TDataSet*) { throw EDatabaseError(QStringLiteral("Record locked")); };
        TBox Box(Row.Kind, Record);
        TModalSeam::ClearMessages();
        Clipboard()->SetAsText(QStringLiteral("x"));
        EXPECT_NO_THROW(Row.Act(Box));
        EXPECT_EQ(TModalSeam::MessageTexts(), QStringList{QStringLiteral("Record locked")});
        EXPECT_EQ(Box.Leave(), QStringLiteral("abc|abc|abc"));
    }
    Clipboard()->Clear();
}

// A pick list's completion and the edit's case keep to the limit in whole
// characters, shown and stored: the entry "甲乙丙𠀀" (U+20000 takes two
// units) in a field of size 4, and a pasted "aß𐐨" that upper case makes
// "ASS𐐀".
TEST(WordWrapBoxes, ACompletionOrACaseChangeKeepsWholeCharacters)
{
    const QStringList Picks{QString::fromUtf8("甲乙丙𠀀"), QStringLiteral("abcdef")};
    const struct
    {
        TBoxKind Kind;
        void (*Act)(TBox& Box);
    } Rows[] = {
        {bkGridEditor, [](TBox& B) { TypeKeys(B.Input(), QString::fromUtf8("<IM:甲>")); }},
        {bkPlainGridEditor, [](TBox& B) { TypeKeys(B.Input(), QString::fromUtf8("<IM:甲>")); }},
        {bkPlainEdit,
         [](TBox& B) {
             B.Edit()->SetCharCase(ecUpperCase);
             Clipboard()->SetAsText(QString::fromUtf8("aß𐐨"));
             TypeKeys(B.Input(), QStringLiteral("<Ctrl+V>"));
         }},
    };
    for (const auto& Row : Rows) {
        SCOPED_TRACE(BoxNames[Row.Kind]);
        TOneRecord Record(4, QString());
        TBox Box(Row.Kind, Record, Picks);
        Row.Act(Box);
        EXPECT_EQ(Box.Leave(), QString::fromUtf8(Row.Kind == bkPlainEdit ? "ASS|ASS|ASS" : "甲乙丙|甲乙丙|甲乙丙"));
    }
    Clipboard()->Clear();
}

// A change without a key into a record in browse state (the menu's paste or
// cut, an input method's commit over the character before the caret) leaves
// the caret where the change put it: the next key goes there.
TEST(WordWrapBoxes, AChangeWithoutAKeyKeepsTheCaret)
{
    const struct
    {
        const char* Name;
        const char* Start;
        int From, Length; // selected before the change
        void (*Act)(TBox& Box);
        const char* After; // shown|held|stored once "z" is typed
    } Rows[] = {
        {"MenuPaste", "ab", 2, 0,
         [](TBox& B) {
             Clipboard()->SetAsText(QStringLiteral("xy"));
             ChooseFromContextMenu(B.MouseTarget(), QStringLiteral("Paste"));
             QCoreApplication::processEvents();
         },
         "abxyz|abxyz|abxyz"},
        {"MenuCut", "abcd", 2, 1,
         [](TBox& B) {
             ChooseFromContextMenu(B.MouseTarget(), QStringLiteral("Cut"));
             QCoreApplication::processEvents();
         },
         "abzd|abzd|abzd"},
        {"InputMethodReplacingTheCharacterBefore", "ab", 2, 0,
         [](TBox& B) { CommitReplacing(B.Input(), QString::fromUtf8("丁"), -1, 1); }, "a丁z|a丁z|a丁z"},
    };
    for (const auto& Row : Rows) {
        for (const TBoxKind Kind : {bkWrappingEdit, bkGridEditor, bkPlainEdit, bkPlainGridEditor}) {
            SCOPED_TRACE(std::string(Row.Name) + ", " + BoxNames[Kind]);
            TOneRecord Record(20, QString::fromUtf8(Row.Start));
            TBox Box(Kind, Record);
            Box.Select(Row.From, Row.Length);
            Row.Act(Box);
            TypeKeys(Box.Input(), QStringLiteral("z"));
            EXPECT_EQ(Box.Leave(), QString::fromUtf8(Row.After));
        }
    }
    Clipboard()->Clear();
}

// An input method's commit in place of a range that does not end at the
// caret replaces that range, within the limit: "丁乙" over the "c" of
// "abcd", caret at the end, in a field of size 4.
TEST(WordWrapBoxes, AnInputMethodReplacesTheRangeItNames)
{
    for (const TBoxKind Kind : {bkWrappingEdit, bkGridEditor, bkPlainEdit, bkPlainGridEditor}) {
        SCOPED_TRACE(BoxNames[Kind]);
        TOneRecord Record(4, QStringLiteral("abcd"));
        TBox Box(Kind, Record);
        Box.Select(4, 0);
        CommitReplacing(Box.Input(), QString::fromUtf8("丁乙"), -2, 1);
        EXPECT_EQ(Box.Leave(), QString::fromUtf8("ab丁d|ab丁d|ab丁d"));
    }
}

// A drop into a box whose record is in browse state is one step of the
// box's undo history.
TEST(WordWrapBoxes, ADropIntoABrowsedRecordIsUndone)
{
    for (const TBoxKind Kind : {bkWrappingEdit, bkGridEditor, bkPlainEdit, bkPlainGridEditor}) {
        SCOPED_TRACE(BoxNames[Kind]);
        TOneRecord Record(20, QStringLiteral("ab"));
        TBox Box(Kind, Record);
        Drop(Box.MouseTarget(), QStringLiteral("x"));
        const QString Dropped = Box.Shown();
        CtrlZ(Box.Input());
        EXPECT_EQ(Dropped + u' ' + Box.Leave(), QStringLiteral("xab|xab ab|ab|ab"));
    }
}

// A clipboard that offers only markdown gives every box its characters,
// cut to the size, by Ctrl+V and by the menu.
TEST(WordWrapBoxes, MarkdownAloneIsPastedAsItsCharacters)
{
    const struct
    {
        const char* Name;
        void (*Act)(TBox& Box);
    } Rows[] = {
        {"CtrlV", [](TBox& B) { TypeKeys(B.Input(), QStringLiteral("<Ctrl+V>")); }},
        {"MenuPaste",
         [](TBox& B) {
             ChooseFromContextMenu(B.MouseTarget(), QStringLiteral("Paste"));
             QCoreApplication::processEvents();
         }},
    };
    for (const auto& Row : Rows) {
        for (const TBoxKind Kind : {bkWrappingEdit, bkGridEditor, bkPlainEdit, bkPlainGridEditor}) {
            SCOPED_TRACE(std::string(Row.Name) + ", " + BoxNames[Kind]);
            TOneRecord Record(5, QString());
            TBox Box(Kind, Record);
            auto* Markdown = new QMimeData;
            Markdown->setData(QStringLiteral("text/markdown"), QByteArrayLiteral("a*b*c 1. x"));
            QGuiApplication::clipboard()->setMimeData(Markdown);
            Row.Act(Box);
            EXPECT_EQ(Box.Leave(), QStringLiteral("a*b*c|a*b*c|a*b*c"));
        }
    }
    Clipboard()->Clear();
}
