// Edit buttons, the button painter, pop-up placement, the size grip and list
// box, the special row, the MRU list and the value and field helpers.
#include "GridFixture.h"
#include "grid/ToolCtrlsEh.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/rtl/Classes.h"

#include <QMouseEvent>
#include <QTableView>
#include <QToolButton>

namespace {

void Press(QWidget* W, QEvent::Type Type, QPoint P, Qt::MouseButtons Held)
{
    QMouseEvent E(Type, P, W->mapToGlobal(P), Type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, Held,
                  Qt::NoModifier);
    QCoreApplication::sendEvent(W, &E);
}

TEST(TEditButtons, NumGlyphsIsKeptInRangeAndChangesNotify)
{
    TEditButtonsEh Buttons(nullptr);
    int Changes = 0;
    Buttons.OnChanged = [&](TEditButtonsEh*) { ++Changes; };
    TEditButtonEh* B = Buttons.Add();
    EXPECT_TRUE(B->Visible()) << "the collection's items are shown by default";
    EXPECT_EQ(B->ShortCut(), ShortCut(VK_DOWN, TShiftState({ssAlt})));
    const struct { int Set, Want; } Cases[] = {{0, 1}, {9, 4}, {3, 3}};
    for (const auto& C : Cases) {
        B->SetNumGlyphs(C.Set);
        EXPECT_EQ(B->NumGlyphs(), C.Want) << C.Set;
    }
    EXPECT_EQ(Changes, 3) << "the add and two real changes (0 leaves the default 1)";
}

TEST(TButtonPainter, EllipsisDotsAndTheCache)
{
    QImage I(30, 20, QImage::Format_RGB32);
    TCanvas C(&I);
    ClearButtonsBitmapCache();
    PaintButtonControlEh(&C, QRect(0, 0, 7, 17), clWindow, bcsEllipsisEh, 0, true, false, true, cbUnchecked);
    PaintButtonControlEh(&C, QRect(10, 0, 7, 17), clWindow, bcsEllipsisEh, 0, true, false, true, cbUnchecked);
    EXPECT_EQ(ButtonsBitmapCache().Count(), 1) << "one image drawn once";
    C.Release();
    // Dots of 1 x 1 pixel, 1 apart, centred: x = 1, 3, 5 at y = 8.
    QString Row;
    for (int x = 0; x < 7; ++x)
        Row += ColorToRGB(QColorToColor(I.pixelColor(x, 8))) == ColorToRGB(clBtnText) ? u'#' : u'.';
    EXPECT_EQ(Row, QStringLiteral(".#.#.#."));
    EXPECT_FALSE(TGridTestFixture::HasColor(I, QRect(0, 7, 7, 1), clBtnText)) << "one pixel high";
}

TEST(TEditButtonControl, HeldLowerHalfRepeats)
{
    QWidget Parent;
    TEditButtonControlEh B(&Parent);
    B.SetStyle(ebsUpDownEh);
    B.resize(16, 20);
    std::vector<bool> Downs;
    B.OnDown = [&](QObject*, bool Top, bool&, bool&) { Downs.push_back(Top); };
    Press(&B, QEvent::MouseButtonPress, QPoint(8, 15), Qt::LeftButton);
    ASSERT_EQ(Downs, std::vector<bool>{false}) << "at once, for the lower half";
    EXPECT_EQ(B.PressedPart(), 2);
    ASSERT_TRUE(B.RepeatTimer());
    EXPECT_EQ(B.RepeatTimer()->Interval(), 400);
    B.RepeatTimer()->OnTimer(B.RepeatTimer());
    EXPECT_EQ(B.RepeatTimer()->Interval(), 100);
    B.RepeatTimer()->OnTimer(B.RepeatTimer());
    EXPECT_EQ(Downs, (std::vector<bool>{false, false, false}));
    Press(&B, QEvent::MouseMove, QPoint(8, 3), Qt::LeftButton);
    EXPECT_FALSE(B.isDown()) << "moving into the upper half lets go";
    EXPECT_FALSE(B.RepeatTimer()->Enabled());
}

TEST(TPopupPlacement, BelowAboveAndSides)
{
    const QRect Work(0, 0, 800, 600);
    const struct
    {
        const char* Name;
        QRect Anchor;
        QSize Size;
        TAlignment Align;
        QRect Want;
        int Vert, Horz;
    } Cases[] = {
        {"fits below", {100, 100, 80, 20}, {120, 100}, taLeftJustify, {100, 120, 120, 100}, 3, 1},
        {"fits only above", {100, 550, 80, 20}, {120, 100}, taLeftJustify, {100, 450, 120, 100}, 2, 1},
        {"neither, more room below", {100, 200, 80, 20}, {120, 500}, taLeftJustify, {100, 220, 120, 380}, 3, 1},
        {"neither, more room above", {100, 400, 80, 20}, {120, 500}, taLeftJustify, {100, 0, 120, 400}, 2, 1},
        {"pushed left at the edge", {750, 100, 40, 20}, {120, 100}, taLeftJustify, {680, 120, 120, 100}, 3, 0},
        {"right aligned", {300, 100, 80, 20}, {120, 100}, taRightJustify, {260, 120, 120, 100}, 3, 0},
        {"narrowed to the work area", {0, 100, 80, 20}, {900, 100}, taLeftJustify, {0, 120, 800, 100}, 3, 1},
    };
    for (const auto& C : Cases) {
        const TDropDownPlacementEh P = PlaceDropDownEh(C.Anchor, C.Size, C.Align, Work);
        EXPECT_EQ(P.Bounds, C.Want) << C.Name;
        EXPECT_EQ(P.VertSide, C.Vert) << C.Name;
        EXPECT_EQ(P.HorzSide, C.Horz) << C.Name;
    }
}

TEST(TPopupListbox, GripSnapsToWholeRowsAndTypeAhead)
{
    TPopupListboxEh L;
    for (const char* S : {"apple", "apricot", "banana", "berry", "cherry"})
        L.Items()->Add(QString::fromUtf8(S));
    L.show();
    L.SetRowCount(3);
    const int IH = L.ItemHeight();
    EXPECT_EQ(L.height(), 3 * IH + 4);
    L.resize(L.width(), 2 * IH + IH / 2 + 4);
    EXPECT_EQ(L.RowCount(), 2);
    EXPECT_EQ(L.height(), 2 * IH + 4);
    EXPECT_TRUE(L.Resized());

    uint32_t Now = 10000;
    L.Clock = [&] { return Now; };
    const struct { const char* Typed; uint32_t After; int Want; } Steps[] = {
        {"a", 0, 0}, {"p", 100, 0}, {"r", 100, 1}, {"b", 2001, 2}, {"e", 100, 3}, {"c", 2500, 4},
    };
    for (const auto& S : Steps) {
        Now += S.After;
        L.HandleChar(QChar::fromLatin1(S.Typed[0]));
        EXPECT_EQ(L.ItemIndex(), S.Want) << S.Typed;
    }
    Now += 3000;
    for (int i = 0; i < 40; ++i)
        L.HandleChar(u'z');
    L.Items()->Add(QString(32, u'z') + u'a');
    L.HandleChar(u'z');
    EXPECT_EQ(L.ItemIndex(), 5) << "at most 32 characters are kept";
}

TEST(TSpecRow, CellsTextValueAndAssign)
{
    TSpecRowEh Row;
    Row.SetCellsText(QStringLiteral("\"a;\"\"b\"\"\";c\r\n"));
    EXPECT_EQ(Row.CellCount(), 2);
    EXPECT_EQ(Row.CellText(0), QStringLiteral("a;\"b\""));
    EXPECT_EQ(Row.CellText(1), QStringLiteral("c"));
    EXPECT_EQ(Row.CellText(5), QString());
    EXPECT_FALSE(Row.IsValueStored());
    Row.SetValue(Variant(0));
    EXPECT_TRUE(Row.IsValueStored());
    int Changes = 0;
    TSpecRowEh Copy;
    Copy.OnChanged = [&](TSpecRowEh*) { ++Changes; };
    Copy.Assign(Row);
    EXPECT_EQ(Changes, 1) << "one notification for the whole assignment";
    EXPECT_EQ(Copy.CellText(1), QStringLiteral("c"));
    EXPECT_TRUE(VarEqualsEh(Copy.Value(), Variant(0)));
}

// Where a click closes the calendar: days, week numbers, the month name and
// the background accept; the day names and the month buttons do nothing.
TEST(TPopupMonthCalendar, ClicksThatClose)
{
    struct TOwner : TPopupOwnerEh
    {
        int Accepted = 0;
        void CloseUp(bool Accept) override { Accepted += Accept ? 1 : -100; }
    } Owner;
    TPopupMonthCalendarEh Calendar(&Owner);
    Calendar.setVerticalHeaderFormat(QCalendarWidget::ISOWeekNumbers);
    Calendar.setSelectedDate(QDate(2026, 3, 11));
    Calendar.resize(Calendar.minimumSizeHint() + QSize(4, 4));
    Calendar.show();
    auto* View = Calendar.findChild<QTableView*>();
    auto* Bar = Calendar.findChild<QWidget*>(QStringLiteral("qt_calendar_navigationbar"));
    ASSERT_TRUE(View && Bar);
    auto Cell = [View](int Row, int Col) { return View->visualRect(View->model()->index(Row, Col)).center(); };
    auto Child = [&](const char* Name) {
        return Calendar.findChild<QWidget*>(QLatin1String(Name))->geometry().center();
    };
    const struct
    {
        const char* Name;
        QWidget* Target;
        QPoint At;
        int Accepted;
    } Cases[] = {
        {"a day", View->viewport(), Cell(3, 3), 1},
        {"a week number", View->viewport(), Cell(3, 0), 1},
        {"a day name", View->viewport(), Cell(0, 3), 0},
        {"the month name", Bar, Child("qt_calendar_monthbutton"), 1},
        {"the year", Bar, Child("qt_calendar_yearbutton"), 1},
        {"the border", &Calendar, QPoint(1, Calendar.height() / 2), 1},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Name);
        Owner.Accepted = 0;
        Press(C.Target, QEvent::MouseButtonPress, C.At, Qt::LeftButton);
        Press(C.Target, QEvent::MouseButtonRelease, C.At, Qt::NoButton);
        EXPECT_EQ(Owner.Accepted, C.Accepted);
    }
    // The month buttons turn the page and leave the calendar open.
    Owner.Accepted = 0;
    auto* Next = Calendar.findChild<QToolButton*>(QStringLiteral("qt_calendar_nextmonth"));
    ASSERT_NE(Next, nullptr);
    Next->click();
    EXPECT_EQ(Calendar.monthShown(), 4);
    EXPECT_EQ(Owner.Accepted, 0);
}

TEST(TValueHelpers, VariantEquality)
{
    const struct { const char* Name; Variant A, B; bool Want; } Cases[] = {
        {"numbers", Variant(1), Variant(1.0), true},
        {"null and null", Variant::Null(), Variant::Null(), true},
        {"empty and null", Variant(), Variant::Null(), false},
        {"empty and empty", Variant(), Variant(), true},
        {"text and a failing number", Variant("abc"), Variant(1), false},
        {"texts", Variant("a"), Variant("a"), true},
        {"arrays alike", VarArrayOf({1, "x"}), VarArrayOf({1.0, "x"}), true},
        {"arrays of other lengths", VarArrayOf({1}), VarArrayOf({1, 2}), false},
        {"array and its only element", VarArrayOf({1}), Variant(1), false},
        {"array and null", VarArrayOf({1}), Variant::Null(), false},
    };
    for (const auto& C : Cases)
        EXPECT_EQ(VarEqualsEh(C.A, C.B), C.Want) << C.Name;
    EXPECT_TRUE(VarEqualsEh(QList<Variant>{Variant(1), Variant("x")}, QList<Variant>{Variant(1), Variant("x")}));
    EXPECT_FALSE(VarEqualsEh(QList<Variant>{Variant(1)}, QList<Variant>{Variant(1), Variant(2)}));
}

TEST(TValueHelpers, FieldListsNameTheMissingField)
{
    TMemDataSet D;
    D.FieldDefs()->Add(QStringLiteral("A"), ftInteger);
    D.FieldDefs()->Add(QStringLiteral("B"), ftWideString, 10);
    D.Open();
    D.AppendRecord({Variant(1), Variant("x")});
    EXPECT_EQ(GetFieldsList(&D, QStringLiteral("B; A")).size(), 2u);
    try {
        GetFieldsList(&D, QStringLiteral("A;Nope"));
        FAIL() << "no error";
    } catch (const EDatabaseError& E) {
        EXPECT_EQ(E.Message(), QStringLiteral("Field 'Nope' not found"));
    }
    D.Edit();
    SetKeyValues(&D, QStringLiteral("A;B"), {Variant::Null()});
    EXPECT_TRUE(D.FieldByName(QStringLiteral("A"))->IsNull() && D.FieldByName(QStringLiteral("B"))->IsNull());
    SetKeyValues(&D, QStringLiteral("A;B"), {Variant(7), Variant("y")});
    EXPECT_TRUE(VarEqualsEh(GetFieldValuesList(&D, QStringLiteral("A;B")), QList<Variant>{Variant(7), Variant("y")}));
}

} // namespace

namespace {

TEST(TMRUList, Add)
{
    const struct
    {
        const char* Name;
        int Limit;
        bool CaseSensitive;
        const char* Text;
        const char* Want;
    } Cases[] = {
        {"appended and trimmed", 3, false, "d", "b|c|d"},
        {"found moves to the end, trimmed text", 3, false, "  b ", "a|c|b"},
        {"case-insensitive finds B", 100, false, "B", "a|c|b"},
        {"case-sensitive appends B", 100, true, "B", "a|b|c|B"},
        {"blank is ignored", 100, false, " \t", "a|b|c"},
        {"control characters trimmed", 100, false, "\x01" "e\r\n", "a|b|c|e"},
        {"negative limit empties", -5, false, "d", ""},
    };
    for (const auto& C : Cases) {
        TMRUListEh L;
        L.Items()->SetStringList({"a", "b", "c"});
        L.SetCaseSensitive(C.CaseSensitive);
        L.SetLimit(C.Limit);
        L.Add(QString::fromUtf8(C.Text));
        EXPECT_EQ(L.Items()->ToStringList().join(u'|'), QString::fromUtf8(C.Want)) << C.Name;
    }
}

} // namespace
