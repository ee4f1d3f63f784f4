// The grid's in-place editor driven by key and mouse events: completion in
// pick-list, key-list and lookup columns, the pop-up keys per kind, pick-list
// heights, pop-ups as windows, the MRU drop-down, up-down and extra buttons,
// buttons painted in every cell, and renderings of the open pop-ups.
#include "EditKeys.h"
#include "GridTestUtil.h"
#include "grid/DBGridEh.h"
#include "grid/DBGridEhColumns.h"
#include "grid/DBGridEhInplaceEdit.h"
#include "platform/db/DataSource.h"
#include "platform/db/MemDataSet.h"
#include "platform/gui/Clipbrd.h"
#include "platform/gui/Menus.h"
#include "platform/gui/TestRender.h"
#include "platform/rtl/Classes.h"

#include <QApplication>
#include <QDir>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QMenu>
#include <QPainter>
#include <gtest/gtest.h>
#include <memory>

namespace {

enum TCol { cKind, cCode, cCity, cDay, cId, cQty };

class TEditorFixture : public ::testing::Test
{
public:
    void SetUp() override
    {
        Cities = std::make_unique<TMemDataSet>();
        Cities->FieldDefs()->Add(QStringLiteral("Id"), ftInteger);
        Cities->FieldDefs()->Add(QStringLiteral("Name"), ftWideString, 20);
        Cities->Open();
        int Id = 0;
        for (const char* Name : {"Beijing", "Shanghai", "Shenzhen", "Chengdu"})
            Cities->AppendRecord({Variant(++Id), Variant(QString::fromUtf8(Name))});

        Data = std::make_unique<TMemDataSet>();
        const struct { const char* Name; TFieldType Type; int Size; } Defs[] = {
            {"Kind", ftWideString, 10}, {"Code", ftWideString, 10}, {"CityId", ftInteger, 0},
            {"Day", ftDate, 0},         {"Id", ftInteger, 0},       {"Qty", ftFloat, 0}};
        for (const auto& D : Defs) {
            Data->FieldDefs()->Add(QString::fromUtf8(D.Name), D.Type, D.Size);
            auto* F = new TField(Data.get());
            F->SetFieldName(QString::fromUtf8(D.Name));
            F->SetDataType(D.Type);
            F->SetSize(D.Size);
            F->SetDataSet(Data.get());
        }
        auto* City = new TField(Data.get());
        City->SetFieldName(QStringLiteral("City"));
        City->SetDataType(ftWideString);
        City->SetFieldKind(fkLookup);
        City->SetKeyFields(QStringLiteral("CityId"));
        City->SetLookupDataSet(Cities.get());
        City->SetLookupKeyFields(QStringLiteral("Id"));
        City->SetLookupResultField(QStringLiteral("Name"));
        City->SetDataSet(Data.get());
        Data->Open();
        Data->AppendRecord({Variant("Apple"), Variant("A"), Variant(1), Variant::FromDateTime(EncodeDate(2024, 3, 9)),
                            Variant(1), Variant(2.5)});
        Data->AppendRecord({Variant("Cherry"), Variant("B"), Variant(3), Variant::FromDateTime(EncodeDate(2024, 3, 10)),
                            Variant(2), Variant(4.0)});
        Data->First();
        Source = std::make_unique<TDataSource>();
        Source->SetDataSet(Data.get());

        Grid = std::make_unique<TDBGridEh>();
        Grid->resize(560, 200);
        for (const char* Name : {"Kind", "Code", "City", "Day", "Id", "Qty"}) {
            TColumnEh* C = Grid->Columns()->Add();
            C->SetFieldName(QString::fromUtf8(Name));
            C->SetWidth(90);
        }
        Col(cKind)->PickList()->SetStringList({"Apple", "Banana", "Cherry"});
        Col(cCode)->KeyList()->SetStringList({"A", "B"});
        Col(cCode)->PickList()->SetStringList({"Alpha", "Beta"});
        Col(cId)->SetButtonStyle(cbsEllipsis);
        Col(cQty)->SetButtonStyle(cbsUpDown);
        Col(cQty)->SetIncrement(0.5);
        Grid->SetDataSource(Source.get());
        Grid->show();
        Grid->activateWindow();
        QApplication::setActiveWindow(Grid.get());
    }

    void TearDown() override
    {
        if (Data->State() != dsBrowse)
            Data->Cancel();
        Grid.reset();
        Source.reset();
        Data.reset();
        Cities.reset();
    }

    TColumnEh* Col(int i) const { return Grid->Columns(i); }

    TDBGridInplaceEdit* Edit(int Column)
    {
        Grid->SetSelectedIndex(Column);
        Grid->ShowEditor();
        return dynamic_cast<TDBGridInplaceEdit*>(Grid->InplaceEditor());
    }

    // "b", "Enter", "Alt+Down", "Ctrl+Enter", "Delete", "Backspace", "Down", "Ctrl+V"...;
    // "IM:text" is text an input method commits.
    static void Key(QWidget* W, const QString& Spec)
    {
        if (Spec.startsWith(QLatin1String("IM:"))) {
            QInputMethodEvent Commit;
            Commit.setCommitString(Spec.mid(3));
            QCoreApplication::sendEvent(W, &Commit);
            return;
        }
        Qt::KeyboardModifiers Mods;
        QString Name = Spec;
        for (auto [Prefix, Mod] : {std::pair{"Alt+", Qt::AltModifier}, {"Ctrl+", Qt::ControlModifier},
                                   {"Shift+", Qt::ShiftModifier}})
            if (Name.startsWith(QLatin1String(Prefix)) && Name.size() > int(strlen(Prefix))) {
                Mods |= Mod;
                Name = Name.mid(qsizetype(strlen(Prefix)));
            }
        static const std::map<QString, int> Named = {
            {"Enter", Qt::Key_Return}, {"Esc", Qt::Key_Escape}, {"Down", Qt::Key_Down}, {"Up", Qt::Key_Up},
            {"Left", Qt::Key_Left}, {"Right", Qt::Key_Right}, {"Delete", Qt::Key_Delete},
            {"Backspace", Qt::Key_Backspace}};
        int Code = 0;
        QString Text;
        if (auto It = Named.find(Name); It != Named.end()) {
            Code = It->second;
            if (Code == Qt::Key_Return && !(Mods & Qt::ControlModifier))
                Text = QStringLiteral("\r");
            if (Code == Qt::Key_Backspace)
                Text = QStringLiteral("\b");
        } else {
            Code = Name[0].toUpper().unicode();
            if (!(Mods & (Qt::ControlModifier | Qt::AltModifier)))
                Text = Name;
        }
        QKeyEvent E(QEvent::KeyPress, Code, Mods, Text);
        QCoreApplication::sendEvent(W, &E);
    }
    static void Keys(QWidget* W, const QString& Specs)
    {
        for (const QString& S : Specs.split(u' ', Qt::SkipEmptyParts))
            Key(W, S);
    }

    static void Mouse(QWidget* W, QEvent::Type Type, QPoint P)
    {
        QMouseEvent E(Type, P, W->mapToGlobal(P), Qt::LeftButton,
                      Type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(W, &E);
    }
    static void ClickButton(QWidget* B)
    {
        Mouse(B, QEvent::MouseButtonPress, QPoint(B->width() / 2, 3));
        Mouse(B, QEvent::MouseButtonRelease, QPoint(B->width() / 2, 3));
    }

    std::unique_ptr<TMemDataSet> Cities;
    std::unique_ptr<TMemDataSet> Data;
    std::unique_ptr<TDataSource> Source;
    std::unique_ptr<TDBGridEh> Grid;
};

TEST_F(TEditorFixture, CompletionAgainstListsAndLookups)
{
    const struct
    {
        const char* Name;
        int Column;
        bool NotInList;
        const char* Keys;
        const char* Text;
        const char* Selected;
        int Key; // the pending key of a lookup: -1 Null, 0 not checked
    } Cases[] = {
        {"pick list completes", cKind, false, "b", "Banana", "anana", 0},
        {"pick list, no match is typed", cKind, false, "x", "x", "", 0},
        {"key list, no match changes nothing", cCode, false, "z", "Alpha", "Alpha", 0},
        {"key list completes", cCode, false, "b", "Beta", "eta", 0},
        {"key list, not in list with handler", cCode, true, "z", "z", "", 0},
        {"lookup completes", cCity, false, "s h", "Shanghai", "anghai", 2},
        {"lookup, third letter", cCity, false, "s h e", "Shenzhen", "nzhen", 3},
        {"lookup, no match dropped", cCity, false, "x", "Beijing", "Beijing", 0},
        {"lookup, not in list with handler", cCity, true, "x", "x", "", -1},
        {"lookup, Backspace only moves the caret", cCity, false, "Right Backspace", "Beijing", "", 0},
        {"lookup, Delete on the whole text", cCity, false, "Delete", "", "", -1},
        {"lookup, Backspace with handler removes the tail", cCity, true, "s h Backspace", "S", "", -1},
        {"lookup, an input method's text completes", cCity, false, "IM:sh", "Shanghai", "anghai", 2},
        {"key list, an input method's text completes", cCode, false, "IM:b", "Beta", "eta", 0},
        {"number cell, an input method's text meets the key checks", cQty, false, "IM:1２元", "1", "", 0},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Name);
        Col(C.Column)->OnNotInList = nullptr;
        if (C.NotInList)
            Col(C.Column)->OnNotInList = [](TColumnEh*, const QString&, bool&) {};
        TDBGridInplaceEdit* E = Edit(C.Column);
        ASSERT_TRUE(E);
        E->selectAll();
        Keys(E, QString::fromUtf8(C.Keys));
        EXPECT_EQ(E->text(), QString::fromUtf8(C.Text));
        EXPECT_EQ(E->selectedText(), QString::fromUtf8(C.Selected));
        EXPECT_EQ(Grid->PendingEditText(), E->text());
        if (C.Key == -1) {
            EXPECT_TRUE(Grid->EditKeyValue().IsNull());
        } else if (C.Key > 0) {
            EXPECT_EQ(Grid->EditKeyValue().AsInteger(), C.Key);
        }
        Data->Cancel();
        Grid->HideEditor();
        Col(C.Column)->OnNotInList = nullptr;
    }
}

// A key completed on one record is written into that record only: text
// changed on the next one by a cut or a drop is matched again.
TEST_F(TEditorFixture, LookupKeyStaysWithItsRecord)
{
    for (const bool Drop : {false, true}) {
        SCOPED_TRACE(Drop ? "drop" : "cut");
        Data->First();
        TDBGridInplaceEdit* E = Edit(cCity);
        E->selectAll();
        Keys(E, QStringLiteral("s h Down"));
        ASSERT_EQ(Data->RecNo(), 2);
        E = Edit(cCity);
        E->selectAll();
        if (Drop) {
            QMimeData Text;
            Text.setText(QStringLiteral("x"));
            QDragEnterEvent Enter(QPoint(2, 2), Qt::CopyAction, &Text, Qt::LeftButton, Qt::NoModifier);
            QCoreApplication::sendEvent(E, &Enter);
            QDropEvent Event(QPointF(2, 2), Qt::CopyAction, &Text, Qt::LeftButton, Qt::NoModifier);
            QCoreApplication::sendEvent(E, &Event);
        } else {
            Key(E, QStringLiteral("Ctrl+X"));
        }
        Key(E, QStringLiteral("Up"));
        QStringList Keys;
        for (Data->First(); !Data->Eof(); Data->Next())
            Keys << Data->FieldByName(QStringLiteral("CityId"))->AsString();
        EXPECT_EQ(Keys.join(u'|'), QStringLiteral("2|"));
        Data->First();
        Data->Edit();
        Data->FieldByName(QStringLiteral("CityId"))->SetAsInteger(1);
        Data->Next();
        Data->Edit();
        Data->FieldByName(QStringLiteral("CityId"))->SetAsInteger(3);
        Data->Post();
    }
}

// By Ctrl+V and by the context menu's paste alike.
TEST_F(TEditorFixture, PasteCompletesInLookups)
{
    for (const bool ByMenu : {false, true}) {
        SCOPED_TRACE(ByMenu ? "menu" : "Ctrl+V");
        TDBGridInplaceEdit* E = Edit(cCity);
        Clipboard()->SetAsText(QStringLiteral("chen"));
        E->selectAll();
        if (ByMenu)
            ChooseFromContextMenu(E, QStringLiteral("Paste"));
        else
            Key(E, QStringLiteral("Ctrl+V"));
        EXPECT_EQ(E->text(), QStringLiteral("Chengdu"));
        EXPECT_EQ(E->selectedText(), QStringLiteral("gdu"));
        EXPECT_EQ(Grid->EditKeyValue().AsInteger(), 4);
        EXPECT_EQ(Grid->PendingEditText(), QStringLiteral("Chengdu"));
        Grid->HideEditor();
        Data->Post();
        EXPECT_EQ(Data->FieldByName(QStringLiteral("CityId"))->AsInteger(), 4) << "the grid writes the key";
        Data->Edit();
        Data->FieldByName(QStringLiteral("CityId"))->SetAsInteger(1);
        Data->Post();
    }
}

TEST_F(TEditorFixture, SpecialRowOfALookupColumn)
{
    TSpecRowEh* Row = Col(cCity)->DropDownSpecRow();
    Row->SetCellsText(QStringLiteral("(none)"));
    Row->SetVisible(true);
    EXPECT_EQ(Col(cCity)->GetDisplayText(), QStringLiteral("Beijing"));
    Row->SetValue(Variant(1));
    EXPECT_EQ(Col(cCity)->GetDisplayText(), QStringLiteral("(none)")) << "the key is the row's value";
    Row->SetValue(Variant(7));
    TDBGridInplaceEdit* E = Edit(cCity);
    Key(E, QStringLiteral("Alt+Delete"));
    EXPECT_EQ(E->text(), QStringLiteral("(none)"));
    EXPECT_EQ(Grid->PendingEditText(), QStringLiteral("(none)"));
    EXPECT_EQ(Grid->EditKeyValue().AsInteger(), 7);
    Data->Cancel();
    Grid->HideEditor();
    Data->Edit();
    Data->FieldByName(QStringLiteral("CityId"))->Clear();
    EXPECT_EQ(Col(cCity)->GetDisplayText(), QStringLiteral("(none)")) << "no value at all";
    Data->Cancel();
}

TEST_F(TEditorFixture, PopupKeysPerKind)
{
    int Clicks = 0;
    Grid->OnEditButtonClick = [&](QObject*) { ++Clicks; };
    const struct
    {
        const char* Name;
        int Column;
        const char* Keys;
        bool Open;
        const char* Text;
    } Cases[] = {
        {"Alt+Down opens the pick list", cKind, "Alt+Down", true, "Apple"},
        {"Down browses, the text follows", cKind, "Alt+Down Down", true, "Banana"},
        {"Esc drops what was browsed", cKind, "Alt+Down Down Esc", false, "Apple"},
        {"Enter takes the entry", cKind, "Alt+Down Down Down Enter", false, "Cherry"},
        {"Alt+Up closes with the entry", cKind, "Alt+Down Down Alt+Up", false, "Banana"},
        {"Ctrl+Enter opens", cKind, "Ctrl+Enter", true, "Apple"},
        {"the calendar opens", cDay, "Alt+Down", true, "2024-03-09"},
        {"Esc closes the calendar", cDay, "Alt+Down Right Esc", false, "2024-03-09"},
        {"Enter writes the date", cDay, "Alt+Down Right Right Enter", false, "2024-03-11"},
        {"Ctrl+Enter on an ellipsis types nothing", cId, "Ctrl+Enter", false, "1"},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Name);
        TDBGridInplaceEdit* E = Edit(C.Column);
        Keys(E, QString::fromUtf8(C.Keys));
        EXPECT_EQ(E->ListVisible(), C.Open);
        EXPECT_EQ(E->ActivePopup() && E->ActivePopup()->isVisible(), C.Open);
        EXPECT_EQ(E->text(), QString::fromUtf8(C.Text));
        E->CloseUp(false);
        if (Data->State() != dsBrowse)
            Data->Cancel();
        Grid->HideEditor();
    }
    EXPECT_EQ(Clicks, 1);
}

TEST_F(TEditorFixture, PickListHeightsAndEntries)
{
    TDBGridInplaceEdit* E = Edit(cKind);
    Key(E, QStringLiteral("Alt+Down"));
    TPopupListboxEh* L = E->PickList();
    const int IH = L->ItemHeight();
    EXPECT_EQ(L->height(), 3 * IH + 4) << "3 entries under 7 rows";
    E->CloseUp(false);
    QStringList Twenty;
    for (int i = 0; i < 20; ++i)
        Twenty << QStringLiteral("Entry %1").arg(i);
    Col(cKind)->PickList()->SetStringList(Twenty);
    Key(E, QStringLiteral("Alt+Down"));
    EXPECT_EQ(L->height(), 7 * IH + 4) << "20 entries show 7 rows";
    E->CloseUp(false);
    Grid->HideEditor();

    Col(cCode)->PickList()->SetStringList({"Alpha", "Beta", "Gamma", "Delta", "Epsilon"});
    E = Edit(cCode);
    Key(E, QStringLiteral("Alt+Down"));
    EXPECT_EQ(E->PickList()->Items()->ToStringList(), (QStringList{"Alpha", "Beta"})) << "2 keys over 5 picks";
}

TEST_F(TEditorFixture, PopupIsAWindowUnderTheCellAndTheEditorKeepsTheFocus)
{
    TDBGridInplaceEdit* E = Edit(cKind);
    E->setFocus();
    Key(E, QStringLiteral("Alt+Down"));
    QWidget* P = E->ActivePopup();
    ASSERT_TRUE(P && P->isVisible());
    EXPECT_TRUE(P->isWindow());
    EXPECT_EQ(P->geometry().topLeft(), E->mapToGlobal(QPoint(0, E->height())));
    EXPECT_GE(P->width(), E->width());
    EXPECT_EQ(QApplication::focusWidget(), E);
    // A press elsewhere is the cancel mode.
    QWidget Other;
    Other.resize(50, 50);
    Other.show();
    Mouse(&Other, QEvent::MouseButtonPress, QPoint(5, 5));
    EXPECT_FALSE(P->isVisible());
}

TEST_F(TEditorFixture, MRUDropDown)
{
    TMRUListEh* M = Col(cKind)->MRUList();
    M->SetActive(true);
    M->Items()->SetStringList({"Grape", "Guava", "Melon"});
    Col(cKind)->PickList()->Clear();
    TDBGridInplaceEdit* E = Edit(cKind);
    E->selectAll();
    Key(E, QStringLiteral("g"));
    ASSERT_TRUE(E->MRUDroppedDown());
    EXPECT_EQ(E->MRUListbox()->Items()->ToStringList(), (QStringList{"Grape", "Guava"}));
    Key(E, QStringLiteral("x"));
    EXPECT_FALSE(E->MRUDroppedDown()) << "nothing starts with gx";
    Keys(E, QStringLiteral("Backspace Backspace g Down Down Enter"));
    EXPECT_EQ(E->text(), QStringLiteral("Guava"));
    EXPECT_FALSE(E->MRUDroppedDown());

    // After the user enlarges the drop-down, the next one keeps its rows and width.
    M->Items()->SetStringList(QStringList{"g1", "g2", "g3", "g4", "g5", "g6", "g7", "g8", "g9", "g10", "g11", "g12"});
    E->selectAll();
    Key(E, QStringLiteral("g"));
    TMRUListboxEh* L = E->MRUListbox();
    EXPECT_EQ(L->RowCount(), 7);
    L->resize(E->width() + 40, 10 * L->ItemHeight() + 4);
    L->SizeGrip()->OnParentResized(L->SizeGrip());
    Key(E, QStringLiteral("Esc"));
    E->selectAll();
    Key(E, QStringLiteral("g"));
    EXPECT_EQ(L->RowCount(), 10);
    EXPECT_EQ(L->width(), E->width() + 40);
    Key(E, QStringLiteral("Esc"));
    // The text written to the field is remembered.
    M->Items()->Clear();
    E->selectAll();
    Keys(E, QStringLiteral("k i w i"));
    Grid->HideEditor();
    Data->Post();
    EXPECT_EQ(M->Items()->ToStringList(), QStringList{"kiwi"});
}

TEST_F(TEditorFixture, UpDownHalvesAndExtraButtonMenu)
{
    TDBGridInplaceEdit* E = Edit(cQty);
    TEditButtonControlEh* Main = E->Buttons(0);
    ASSERT_TRUE(Main->isVisible());
    Mouse(Main, QEvent::MouseButtonPress, QPoint(2, 1));
    Mouse(Main, QEvent::MouseButtonRelease, QPoint(2, 1));
    EXPECT_DOUBLE_EQ(Data->FieldByName(QStringLiteral("Qty"))->AsFloat(), 3.0) << "2.5 + Increment";
    Grid->HideEditor();

    Col(cKind)->SetButtonStyle(cbsUpDown);
    Data->Edit();
    Data->FieldByName(QStringLiteral("Kind"))->SetAsString(QStringLiteral("Banana"));
    E = Edit(cKind);
    Mouse(E->Buttons(0), QEvent::MouseButtonPress, QPoint(2, 1));
    Mouse(E->Buttons(0), QEvent::MouseButtonRelease, QPoint(2, 1));
    EXPECT_EQ(Data->FieldByName(QStringLiteral("Kind"))->AsString(), QStringLiteral("Apple")) << "up is the entry before";
    Grid->HideEditor();
    Data->Cancel();

    TPopupMenu Menu;
    Menu.Items()->Add(QStringLiteral("One"));
    TEditButtonEh* Extra = Col(cId)->EditButtons()->Add();
    Extra->SetStyle(ebsPlusEh);
    Extra->SetDropdownMenu(&Menu);
    int Downs = 0;
    Extra->OnDown = [&](QObject*, bool, bool&, bool&) { ++Downs; };
    E = Edit(cId);
    ASSERT_EQ(E->ButtonCount(), 2);
    TEditButtonControlEh* B = E->Buttons(1);
    EXPECT_LT(E->Buttons(0)->x(), B->x()) << "the extra button stands outermost";
    ClickButton(B);
    ASSERT_TRUE(Menu.ShownMenu() && Menu.ShownMenu()->isVisible());
    ClickButton(B);
    EXPECT_FALSE(Menu.ShownMenu() && Menu.ShownMenu()->isVisible()) << "the second press only closes it";
    EXPECT_EQ(Downs, 1);
}

TEST_F(TEditorFixture, ButtonsShownInEveryCell)
{
    Col(cKind)->SetAlwaysShowEditButton(true);
    Col(cId)->SetAlwaysShowEditButton(true);
    Grid->Update();
    const QImage I = Grid->Canvas()->Image()->copy();
    for (int Row = 1; Row <= 2; ++Row) {
        const QRect Kind = Grid->CellRect(1 + cKind, Row);
        const QRect Strip(RectRight(Kind) - Grid->ButtonWidth(), Kind.top(), Grid->ButtonWidth(), Grid->ButtonHeight());
        int Face = 0;
        for (int y = Strip.top(); y <= Strip.bottom(); ++y)
            for (int x = Strip.left(); x <= Strip.right(); ++x)
                Face += QColorToColor(I.pixelColor(x, y)) == ColorToRGB(clBtnFace);
        EXPECT_GT(Face, Strip.width() * Strip.height() / 2) << "a button face in row " << Row;
        const QRect Text = Grid->CellRect(1 + cCode, Row);
        EXPECT_EQ(QColorToColor(I.pixelColor(RectRight(Text) - 3, Text.top() + 3)), ColorToRGB(clWindow));
    }
    // A press on the cell's button is the press of the editor's button.
    const QRect Kind = Grid->CellRect(1 + cKind, 2);
    const QPoint At(RectRight(Kind) - 4, Kind.top() + 4);
    Mouse(Grid.get(), QEvent::MouseButtonPress, At);
    Mouse(Grid.get(), QEvent::MouseButtonRelease, At);
    auto* E = dynamic_cast<TDBGridInplaceEdit*>(Grid->InplaceEditor());
    ASSERT_TRUE(E && Grid->EditorMode());
    EXPECT_TRUE(E->ListVisible()) << "the pick list opened";
}

// Pictures of the editor with its pop-ups, for the documentation.
QImage Composite(QWidget* Window, QWidget* Popup)
{
    QImage Base = RenderWidget(Window);
    if (!Popup || !Popup->isVisible())
        return Base;
    const QImage Top = RenderWidget(Popup);
    const QPoint At = Window->mapFromGlobal(Popup->geometry().topLeft());
    QImage Out(std::max(Base.width(), At.x() + Top.width()), std::max(Base.height(), At.y() + Top.height()),
               QImage::Format_RGB32);
    Out.fill(Qt::white);
    QPainter P(&Out);
    P.drawImage(0, 0, Base);
    P.drawImage(At, Top);
    return Out;
}

TEST_F(TEditorFixture, RenderingsOfTheOpenPopups)
{
    const QString Dir = qEnvironmentVariable("TB_RENDER_DIR", QDir::tempPath());
    auto Save = [&](const QImage& I, const char* Name) {
        const QString File = QDir(Dir).filePath(QString::fromUtf8(Name));
        EXPECT_TRUE(I.save(File)) << File.toStdString();
        return QImage(File);
    };
    TDBGridInplaceEdit* E = Edit(cDay);
    Key(E, QStringLiteral("Alt+Down"));
    const QImage Calendar = Save(Composite(Grid.get(), E->ActivePopup()), "grid-editor-calendar.png");
    const QPoint At = Grid->mapFromGlobal(E->ActivePopup()->geometry().topLeft());
    EXPECT_EQ(At, E->geometry().bottomLeft() + QPoint(0, 1)) << "under the date cell";
    EXPECT_EQ(Calendar.pixel(At + QPoint(30, 60)), RenderWidget(E->ActivePopup()).pixel(30, 60));
    E->CloseUp(false);
    Grid->HideEditor();

    E = Edit(cKind);
    Key(E, QStringLiteral("Alt+Down"));
    Key(E, QStringLiteral("Down"));
    const QImage Pick = Save(Composite(Grid.get(), E->ActivePopup()), "grid-editor-picklist.png");
    const QPoint ListAt = Grid->mapFromGlobal(E->PickList()->geometry().topLeft());
    EXPECT_EQ(QColorToColor(Pick.pixelColor(ListAt + QPoint(E->PickList()->width() - 8, E->PickList()->ItemHeight() + 4))),
              ColorToRGB(clHighlight))
        << "the second entry is selected";
    E->CloseUp(false);
    Grid->HideEditor();

    Col(cKind)->PickList()->Clear();
    Col(cKind)->MRUList()->SetActive(true);
    Col(cKind)->MRUList()->Items()->SetStringList({"Apricot", "Avocado", "Almond", "Banana"});
    E = Edit(cKind);
    E->selectAll();
    Key(E, QStringLiteral("a"));
    ASSERT_TRUE(E->MRUDroppedDown());
    Save(Composite(Grid.get(), E->MRUListbox()), "grid-editor-mru.png");
    Key(E, QStringLiteral("Esc"));
    Grid->HideEditor();
    Data->Cancel();

    // Every button style shown in the cells, raised and flat.
    const TEditButtonStyleEh Styles[] = {ebsEllipsisEh, ebsPlusEh, ebsMinusEh, ebsUpDownEh};
    for (int i = 0; i < 4; ++i)
        Col(cCity + i)->EditButtons()->Add()->SetStyle(Styles[i]);
    for (int i = 0; i < 6; ++i)
        Col(i)->SetAlwaysShowEditButton(true);
    Col(cCode)->SetButtonStyle(cbsDropDown);
    Grid->resize(560, 90);
    QImage Raised = RenderWidget(Grid.get());
    Grid->SetFlat(true);
    QImage Flat = RenderWidget(Grid.get());
    QImage Both(560, 180, QImage::Format_RGB32);
    QPainter P(&Both);
    P.drawImage(0, 0, Raised);
    P.drawImage(0, 90, Flat);
    P.end();
    const QImage Cells = Save(Both, "grid-cell-buttons.png");
    // Dots and glyphs of the ellipsis and minus buttons at the right of the Id cells, raised and flat.
    for (const int Top : {0, 90}) {
        const QRect Id = Grid->CellRect(1 + cId, 1).translated(0, Top);
        const QRect Strip(RectRight(Id) - 2 * Grid->ButtonWidth(), Id.top(), 2 * Grid->ButtonWidth(), Id.height());
        int Ink = 0;
        for (int y = Strip.top(); y <= Strip.bottom(); ++y)
            for (int x = Strip.left(); x <= Strip.right(); ++x)
                Ink += QColorToColor(Cells.pixelColor(x, y)) == ColorToRGB(clBtnText);
        EXPECT_GE(Ink, 6 + 3) << "three dots and a bar at " << Top;
    }
}

} // namespace
