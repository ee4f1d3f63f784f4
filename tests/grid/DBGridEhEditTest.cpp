// The grid's in-place editing: which record typed text lands in, key
// acceptance by field type, edit limits and masks, editing permission and
// the column focus events.
#include "GridFixture.h"
#include "platform/gui/ModalSeam.h"
#include "platform/rtl/Classes.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <functional>

namespace {

class TEditFixture : public TGridTestFixture
{
public:
    TEditFixture()
        : TGridTestFixture({{"Id", ftInteger}, {"Name", ftWideString, 10}, {"Amount", ftFloat}, {"Note", ftMemo}},
                           QSize(400, 300), 5)
    {
    }

    void SetUp() override
    {
        TGridTestFixture::SetUp();
        for (const char* Name : {"Id", "Name", "Amount", "Note"})
            AddColumn(QString::fromUtf8(Name));
    }

    // Every column here is 80 pixels wide.
    TColumnEh* AddColumn(const QString& Field) { return TGridTestFixture::AddColumn(Field, 80); }

    // Shows the editor in the column of Field on the current record.
    QLineEdit* EditField(const QString& Field)
    {
        for (int i = 0; i < Grid->Columns()->Count(); ++i) {
            if (Grid->Columns(i)->FieldName() == Field) {
                Grid->SetSelectedIndex(i);
                break;
            }
        }
        Grid->ShowEditor();
        return Grid->EditorMode() ? Grid->InplaceEditor() : nullptr;
    }

    static void SendKey(QWidget* W, int Key, const QString& Text = QString())
    {
        QKeyEvent Press(QEvent::KeyPress, Key, Qt::NoModifier, Text);
        QCoreApplication::sendEvent(W, &Press);
    }

    // Types as the user does: one key event per character.
    static void Type(QWidget* W, const QString& Text)
    {
        for (QChar C : Text) {
            const ushort U = C.toUpper().unicode();
            SendKey(W, U < 0x80 ? int(U) : int(Qt::Key_unknown), QString(C));
        }
    }

    // Every record's Name as "A|B|C"; the cursor is left where it was.
    QString Names()
    {
        const TBookmark Mark = Data->GetBookmark();
        Data->DisableControls();
        QStringList Out;
        for (Data->First(); !Data->Eof(); Data->Next())
            Out << Data->FieldByName(QStringLiteral("Name"))->AsString();
        Data->GotoBookmark(Mark);
        Data->EnableControls();
        return Out.join(u'|');
    }

protected:
    QList<Variant> Record(int i) const override
    {
        return {Variant(i), Variant(QStringLiteral("Name%1").arg(i)), Variant(i * 1.5),
                Variant(QStringLiteral("Line%1").arg(i))};
    }
};

// ---------------------------------------------------------------- which record gets the text

struct TMoveCase
{
    const char* Name;
    std::function<void(TEditFixture&)> Action;
    const char* Names;      // every record's Name afterwards
    int RecNo;              // the current record afterwards
};

TEST_F(TEditFixture, TypedTextStaysWithTheRecordItWasTypedFor)
{
    const TMoveCase Cases[] = {
        {"click on the third row", [](TEditFixture& F) { F.Click(2, F.Grid->TitleRowCount() + 2); },
         "Zed|Name2|Name3|Name4|Name5", 3},
        {"Post from code", [](TEditFixture& F) { F.Data->Post(); }, "Zed|Name2|Name3|Name4|Name5", 1},
        {"Next from code", [](TEditFixture& F) { F.Data->Next(); }, "Zed|Name2|Name3|Name4|Name5", 2},
        {"Last from code", [](TEditFixture& F) { F.Data->Last(); }, "Zed|Name2|Name3|Name4|Name5", 5},
        {"Cancel from code", [](TEditFixture& F) { F.Data->Cancel(); }, "Name1|Name2|Name3|Name4|Name5", 1},
    };
    for (const TMoveCase& C : Cases) {
        SCOPED_TRACE(C.Name);
        TearDown();
        SetUp();
        Link();
        QLineEdit* E = EditField(QStringLiteral("Name"));
        ASSERT_NE(E, nullptr);
        Type(E, QStringLiteral("Zed"));
        EXPECT_EQ(E->text(), QStringLiteral("Zed"));
        EXPECT_EQ(Data->State(), dsEdit) << "typing puts the record into edit state";
        C.Action(*this);
        EXPECT_EQ(Names(), QString::fromUtf8(C.Names));
        EXPECT_EQ(Data->RecNo(), C.RecNo);
        if (Grid->EditorMode()) {
            EXPECT_EQ(E->text(), Data->FieldByName(QStringLiteral("Name"))->Text())
                << "the editor shows the current record";
        }
        // Nothing stale is written later, by hiding the editor or moving again.
        Grid->HideEditor();
        Data->First();
        EXPECT_EQ(Names(), QString::fromUtf8(C.Names));
        EXPECT_EQ(Data->State(), dsBrowse);
    }
}

TEST_F(TEditFixture, EditorFollowsTheFieldChangedUnderIt)
{
    Link();
    QLineEdit* E = EditField(QStringLiteral("Name"));
    ASSERT_NE(E, nullptr);
    Data->Edit();
    Data->FieldByName(QStringLiteral("Name"))->SetAsString(QStringLiteral("Code"));
    EXPECT_EQ(E->text(), QStringLiteral("Code"));
    EXPECT_EQ(E->selectedText(), QStringLiteral("Code")) << "the new text is selected whole";
    Data->Cancel();
    EXPECT_EQ(E->text(), QStringLiteral("Name1")) << "a cancelled edit shows the stored value again";
}

TEST_F(TEditFixture, ChangeOfAnotherFieldKeepsTheTypedText)
{
    Link();
    QLineEdit* E = EditField(QStringLiteral("Name"));
    ASSERT_NE(E, nullptr);
    Type(E, QStringLiteral("Zed"));
    Data->FieldByName(QStringLiteral("Amount"))->SetAsFloat(9);
    EXPECT_EQ(E->text(), QStringLiteral("Zed"));
    Data->Post();
    EXPECT_EQ(Data->FieldByName(QStringLiteral("Name"))->AsString(), QStringLiteral("Zed"));
    EXPECT_EQ(Data->FieldByName(QStringLiteral("Amount"))->AsFloat(), 9.0);
}

TEST_F(TEditFixture, EscapeDropsTheTypedText)
{
    Link();
    QLineEdit* E = EditField(QStringLiteral("Name"));
    ASSERT_NE(E, nullptr);
    Type(E, QStringLiteral("Zed"));
    SendKey(E, Qt::Key_Escape);
    EXPECT_EQ(E->text(), QStringLiteral("Name1"));
    if (Data->State() == dsEdit)
        Data->Post();
    EXPECT_EQ(Names(), QStringLiteral("Name1|Name2|Name3|Name4|Name5"));
}

TEST_F(TEditFixture, BadNumberStopsTheMoveAndStaysPending)
{
    Link();
    QLineEdit* E = EditField(QStringLiteral("Amount"));
    ASSERT_NE(E, nullptr);
    Type(E, QStringLiteral("1-2"));
    EXPECT_ANY_THROW(Data->Next());
    EXPECT_EQ(Data->RecNo(), 1);
    EXPECT_EQ(Data->State(), dsEdit);
    E->selectAll();
    Type(E, QStringLiteral("7.25"));
    Data->Next();
    Data->First();
    EXPECT_EQ(Data->FieldByName(QStringLiteral("Amount"))->AsFloat(), 7.25);
}

// Keys posted to the editor and run by the event loop, as the user's are:
// a cell that cannot be left shows why and keeps the editor open with the
// typed text on the record it was typed for; Tab and Shift+Tab move across.
TEST_F(TEditFixture, RefusedCellKeepsTheEditorOpen)
{
    struct TRow
    {
        const char* Name;
        const char* Field;
        const char* Typed;
        int Key;                    // the key pressed then, 0 for none
        Qt::KeyboardModifiers Mods;
        const char* Refused;        // "post", "edit" or ""
        // "message|current column|editor text (- when closed)|record"
        const char* Result;
    };
    const QString Float = QStringLiteral("'1.2.3' is not a valid floating point value");
    const TRow Rows[] = {
        {"Down", "F", "1.2.3", Qt::Key_Down, {}, "", "%1|F|1.2.3|2"},
        {"Up", "F", "1.2.3", Qt::Key_Up, {}, "", "%1|F|1.2.3|2"},
        {"PgUp", "F", "1.2.3", Qt::Key_PageUp, {}, "", "%1|F|1.2.3|2"},
        {"PgDn", "F", "1.2.3", Qt::Key_PageDown, {}, "", "%1|F|1.2.3|2"},
        {"Tab", "F", "1.2.3", Qt::Key_Tab, {}, "", "%1|F|1.2.3|2"},
        {"Enter", "F", "1.2.3", Qt::Key_Return, {}, "", "%1|F|1.2.3|2"},
        {"Esc drops the text", "F", "1.2.3", Qt::Key_Escape, {}, "", "|F|-|2"},
        {"date", "D", "2024-13-45", Qt::Key_Down, {}, "", "'2024-13-45' is not a valid date and time|D|2024-13-45|2"},
        {"refused post", "F", "9", Qt::Key_Down, {}, "post", "No post|F|9|2"},
        {"refused edit", "F", "9", 0, {}, "edit", "No edit|F|3.5|2"},
        {"Tab to the next column", "F", "9", Qt::Key_Tab, {}, "", "|D|-|2"},
        {"Shift+Tab to the prior column", "F", "9", Qt::Key_Backtab, Qt::ShiftModifier, "", "|S|-|2"},
    };
    TMemDataSet Cells;
    for (auto [Name, Type] : {std::pair{"S", ftWideString}, {"F", ftFloat}, {"D", ftDate}})
        Cells.FieldDefs()->Add(QString::fromUtf8(Name), Type, Type == ftWideString ? 10 : 0);
    Cells.Open();
    for (int i = 1; i <= 3; ++i)
        Cells.AppendRecord({Variant(QStringLiteral("S%1").arg(i)), Variant(i + 1.5),
                            Variant::FromDateTime(EncodeDate(2024, 3, i))});
    TDataSource CellsSource;
    CellsSource.SetDataSet(&Cells);
    Grid->Columns()->Clear();
    for (const char* Name : {"S", "F", "D"})
        AddColumn(QString::fromUtf8(Name));
    Grid->SetOptions(Grid->Options() + dgTabs);
    Grid->SetDataSource(&CellsSource);
    Grid->show();
    QApplication::setActiveWindow(Grid.get());
    TModalHandlers Answers(nullptr, [](const TMessageRequest&) { return mrOk; });
    for (const TRow& R : Rows) {
        SCOPED_TRACE(R.Name);
        Cells.First();
        Cells.Next();
        QLineEdit* E = EditField(QString::fromUtf8(R.Field));
        ASSERT_NE(E, nullptr);
        E->setFocus();
        E->selectAll();
        if (QLatin1String(R.Refused) == QLatin1String("post"))
            Cells.BeforePost = [](TDataSet*) { throw EDatabaseError(QStringLiteral("No post")); };
        if (QLatin1String(R.Refused) == QLatin1String("edit"))
            Cells.BeforeEdit = [](TDataSet*) { throw EDatabaseError(QStringLiteral("No edit")); };
        TModalSeam::ClearMessages();
        for (QChar C : QString::fromUtf8(R.Typed))
            QCoreApplication::postEvent(E, new QKeyEvent(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, C));
        if (R.Key)
            QCoreApplication::postEvent(E, new QKeyEvent(QEvent::KeyPress, R.Key, R.Mods));
        QCoreApplication::processEvents();
        const QString Editor = Grid->EditorMode() ? Grid->InplaceEditor()->text() : QStringLiteral("-");
        EXPECT_EQ(QStringList({TModalSeam::MessageTexts().join(u';'), Grid->SelectedField()->FieldName(), Editor,
                               QString::number(Cells.RecNo())})
                      .join(u'|'),
                  QString::fromUtf8(R.Result).arg(Float));
        Cells.BeforePost = nullptr;
        Cells.BeforeEdit = nullptr;
        if (Cells.State() != dsBrowse)
            Cells.Cancel();
        Grid->HideEditor();
    }
    Grid->SetDataSource(nullptr);
}

// ---------------------------------------------------------------- key acceptance

TEST_F(TEditFixture, KeyAcceptanceByFieldType)
{
    // Typed characters: digit, signs, decimal point, exponent, letter, space, full-width digit, CJK.
    const QString Keys = QStringLiteral("5+-.eEa １中");
    struct TRow
    {
        const char* Field;
        TFieldType Type;
        const char* Accepted;
    };
    const TRow Rows[] = {
        {"I", ftInteger, "5+-"},
        {"L", ftLargeint, "5+-"},
        {"F", ftFloat, "5+-.eE"},
        {"C", ftCurrency, "5+-.eE"},
        {"B", ftBCD, "5+-."},
        {"S", ftWideString, "5+-.eEa １中"},
        {"D", ftDateTime, "5+-.eEa １中"},
    };
    TMemDataSet Types;
    for (const TRow& R : Rows)
        Types.FieldDefs()->Add(QString::fromUtf8(R.Field), R.Type, R.Type == ftWideString ? 20 : 0);
    Types.Open();
    Types.Append();
    TDataSource TypesSource;
    TypesSource.SetDataSet(&Types);
    Grid->Columns()->Clear();
    for (const TRow& R : Rows)
        AddColumn(QString::fromUtf8(R.Field));
    Grid->SetDataSource(&TypesSource);
    for (int i = 0; i < int(std::size(Rows)); ++i) {
        SCOPED_TRACE(Rows[i].Field);
        Grid->SetSelectedIndex(i);
        QString Accepted;
        for (QChar K : Keys)
            if (Grid->CanEditAcceptKey(K))
                Accepted += K;
        EXPECT_EQ(Accepted, QString::fromUtf8(Rows[i].Accepted));
    }
    Grid->SetDataSource(nullptr);
}

TEST_F(TEditFixture, KeyListColumnAcceptsAnyKeyAndReadOnlyEditorNone)
{
    TColumnEh* Kind = AddColumn(QStringLiteral("Id"));
    Kind->KeyList()->Add(QStringLiteral("1"));
    Kind->PickList()->Add(QStringLiteral("甲"));
    Link();
    Grid->SetSelectedIndex(Kind->Index());
    EXPECT_TRUE(Grid->CanEditAcceptKey(u'x'));
    EXPECT_TRUE(Grid->CanEditAcceptKey(u'甲'));
    QLineEdit* E = EditField(QStringLiteral("Id"));
    ASSERT_NE(E, nullptr);
    EXPECT_FALSE(Grid->CanEditAcceptKey(u'x')) << "the plain Id column";
    Type(E, QStringLiteral("4a2"));
    EXPECT_EQ(E->text(), QStringLiteral("42")) << "the letter never reaches the editor";
    E->setReadOnly(true);
    EXPECT_FALSE(Grid->CanEditAcceptKey(u'7'));
}

TEST_F(TEditFixture, NoKeyIsAcceptedWhenTheRecordCannotBeEdited)
{
    Source->SetAutoEdit(false);
    Link();
    QLineEdit* E = EditField(QStringLiteral("Name"));
    ASSERT_NE(E, nullptr);
    Type(E, QStringLiteral("Zed"));
    EXPECT_EQ(E->text(), QStringLiteral("Name1"));
    E->insert(QStringLiteral("Pasted"));
    EXPECT_EQ(E->text(), QStringLiteral("Name1")) << "a paste is undone as well";
    EXPECT_EQ(Data->State(), dsBrowse);
    Grid->HideEditor();
    EXPECT_EQ(Names(), QStringLiteral("Name1|Name2|Name3|Name4|Name5"));
}

// ---------------------------------------------------------------- limits and masks

TEST_F(TEditFixture, EditLimitAndMaskOfTheCurrentColumn)
{
    TColumnEh* Keyed = AddColumn(QStringLiteral("Name"));
    Keyed->KeyList()->Add(QStringLiteral("Name1"));
    Keyed->PickList()->Add(QStringLiteral("first"));
    TColumnEh* Masked = AddColumn(QStringLiteral("Id"));
    Masked->SetEditMask(QStringLiteral("000;0;_"));
    Data->FieldByName(QStringLiteral("Name"))->SetEditMask(QStringLiteral(">LLLL;1;_"));
    Link();
    struct TRow
    {
        const char* Name;
        int DataCol;
        int Limit;
        const char* Mask;
    };
    const TRow Rows[] = {
        {"integer field", 0, 0, ""},
        {"string field with the field's mask", 1, 10, ">LLLL;1;_"},
        {"float field", 2, 0, ""},
        {"memo field", 3, 0, ""},
        {"key list over a string field", 4, 0, ""},
        {"column mask over an integer field", 5, 0, "000;0;_"},
    };
    for (const TRow& R : Rows) {
        SCOPED_TRACE(R.Name);
        Grid->SetSelectedIndex(R.DataCol);
        EXPECT_EQ(Grid->GetEditLimit(), R.Limit);
        EXPECT_EQ(Grid->GetEditMask(R.DataCol + Grid->IndicatorOffset()), QString::fromUtf8(R.Mask));
    }
    QLineEdit* E = EditField(QStringLiteral("Name"));
    ASSERT_NE(E, nullptr);
    EXPECT_EQ(E->inputMask(), QStringLiteral(">AAAA;_"));
    Grid->HideEditor();
    Data->FieldByName(QStringLiteral("Name"))->SetEditMask(QString());
    E = EditField(QStringLiteral("Name"));
    ASSERT_NE(E, nullptr);
    EXPECT_EQ(E->maxLength(), 10);
    Type(E, QStringLiteral("abcdefghijkl"));
    EXPECT_EQ(E->text(), QStringLiteral("abcdefghij"));
}

TEST(InputMaskFromEditMaskTest, ConvertsOnlyWhatKeepsTheStoredText)
{
    const std::pair<const char*, const char*> Rows[] = {
        {"", ""},
        {"000;1;_", "999;_"},
        {"999;0;_", "000;_"},
        {"!999-9999;1;_", "000-0000;_"},
        {"99:99", "00:00;_"},
        {"0000/00/00;1;_", "9999-99-99;_"}, // '/' is the date separator
        {"(999)000;0;_", ""},           // literals left out of the stored value
        {">LL<ll;1; ", ">AA<aa; "},
        {"<>AaCc;1;*", "!NnXx;*"},
        {"\\A0;1;_", "\\A9;_"},         // an escaped mask letter stays a literal
        {"#9.99;1;_", "#0.00;_"},
        {"99_99;1;_", ""},              // blank insertion has no equivalent
    };
    for (const auto& [In, Out] : Rows) {
        SCOPED_TRACE(In);
        EXPECT_EQ(InputMaskFromEditMask(QString::fromUtf8(In)), QString::fromUtf8(Out));
    }
}

// ---------------------------------------------------------------- editing permission

TEST_F(TEditFixture, EditorShowsOnlyWhereTheColumnCanBeModified)
{
    struct TRow
    {
        const char* Name;
        std::function<void(TEditFixture&)> Setup;
        const char* Field;
        bool Shows;
    };
    const TRow Rows[] = {
        {"plain string", [](TEditFixture&) {}, "Name", true},
        {"memo without memo text", [](TEditFixture&) {}, "Note", false},
        {"memo with memo text", [](TEditFixture& F) { F.Grid->SetDrawMemoText(true); }, "Note", true},
        {"read-only field",
         [](TEditFixture& F) { F.Data->FieldByName(QStringLiteral("Name"))->SetReadOnly(true); }, "Name", false},
        {"read-only grid", [](TEditFixture& F) { F.Grid->SetReadOnly(true); }, "Name", false},
        {"read-only column", [](TEditFixture& F) { F.Grid->Columns(1)->SetReadOnly(true); }, "Name", false},
        {"no editing option",
         [](TEditFixture& F) { F.Grid->SetOptions(F.Grid->Options() - TDBGridOptions({dgEditing})); }, "Name",
         false},
    };
    for (const TRow& R : Rows) {
        SCOPED_TRACE(R.Name);
        TearDown();
        SetUp();
        Link();
        R.Setup(*this);
        QLineEdit* E = EditField(QString::fromUtf8(R.Field));
        EXPECT_EQ(E != nullptr, R.Shows);
        if (E && QString::fromUtf8(R.Field) == QStringLiteral("Note")) {
            EXPECT_EQ(E->text(), QStringLiteral("Line1"));
        }
    }
}

TEST_F(TEditFixture, PendingTextPassesTheColumnCellParameters)
{
    TColumnEh* Name = Grid->Columns(1);
    bool SawEditMode = false;
    Name->OnGetCellParams = [&](TColumnEh*, bool EditMode, TColCellParamsEh& Params) {
        SawEditMode = SawEditMode || EditMode;
        if (EditMode)
            Params.Text = Params.Text.toLower();
    };
    Link();
    QLineEdit* E = EditField(QStringLiteral("Name"));
    ASSERT_NE(E, nullptr);
    EXPECT_TRUE(SawEditMode);
    EXPECT_EQ(E->text(), QStringLiteral("name1"));
}

// ---------------------------------------------------------------- focus events

TEST_F(TEditFixture, ColumnFocusEventsFireInOrder)
{
    Link();
    QStringList Log;
    auto Current = [this] {
        TField* F = Grid->SelectedField();
        return F ? F->FieldName() : QStringLiteral("-");
    };
    Grid->OnColExit = [&](QObject* Sender) {
        EXPECT_EQ(Sender, Grid.get());
        Log << QStringLiteral("exit ") + Current();
    };
    Grid->OnColEnter = [&](QObject* Sender) {
        EXPECT_EQ(Sender, Grid.get());
        Log << QStringLiteral("enter ") + Current();
    };
    Grid->OnCellClick = [&](TColumnEh* Column) { Log << QStringLiteral("click ") + Column->FieldName(); };
    const int Titles = Grid->TitleRowCount();
    Grid->SetSelectedIndex(1);
    Log.clear();

    struct TStep
    {
        const char* Name;
        std::function<void()> Action;
        const char* Log;
    };
    const TStep Steps[] = {
        {"click another column", [&] { Click(3, Titles); }, "exit Name|enter Amount|click Amount"},
        {"click the same cell", [&] { Click(3, Titles); }, "click Amount"},
        {"click another row, same column", [&] { Click(3, Titles + 1); }, "click Amount"},
        {"column moved by code", [&] { Grid->SetSelectedIndex(0); }, "exit Amount|enter Id"},
        {"field asks for the focus", [&] { Data->FieldByName(QStringLiteral("Note"))->FocusControl(); },
         "exit Id|enter Note"},
    };
    for (const TStep& S : Steps) {
        SCOPED_TRACE(S.Name);
        S.Action();
        EXPECT_EQ(Log.join(u'|'), QString::fromUtf8(S.Log));
        Log.clear();
    }
    EXPECT_EQ(Data->RecNo(), 2);
}

TEST_F(TEditFixture, ColumnEnterReloadsTheEditor)
{
    Link();
    QLineEdit* E = EditField(QStringLiteral("Name"));
    ASSERT_NE(E, nullptr);
    Type(E, QStringLiteral("Zed"));
    Grid->SetSelectedIndex(2);
    EXPECT_EQ(Data->FieldByName(QStringLiteral("Name"))->AsString(), QStringLiteral("Zed"));
    if (Grid->EditorMode()) {
        EXPECT_EQ(E->text(), QStringLiteral("1.5"));
    }
}

} // namespace
