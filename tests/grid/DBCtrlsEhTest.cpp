#include "EditKeys.h"
#include "GridTestUtil.h"
#include "MemoPaste.h"
#include "grid/CalculatorEh.h"
#include "grid/DBCtrlsEh.h"
#include "grid/ToolCtrlsEh.h"
#include "platform/rtl/Classes.h"
#include "platform/db/DataSource.h"
#include "platform/db/Field.h"
#include "platform/db/MemDataSet.h"
#include "platform/gui/Clipbrd.h"
#include "platform/gui/ModalSeam.h"

#include <QPlainTextEdit>
#include <gtest/gtest.h>
#include <cmath>

namespace {

// The process locale for one test, put back afterwards.
struct TLocaleGuard
{
    TFormatSettings Saved = FormatSettings();
    TLocaleGuard(QChar Decimal, QChar Thousand)
    {
        TFormatSettings S = Saved;
        S.DecimalSeparator = Decimal;
        S.ThousandSeparator = Thousand;
        SetFormatSettings(S);
    }
    ~TLocaleGuard() { SetFormatSettings(Saved); }
};

QString ValueText(const Variant& V)
{
    return V.IsNull() ? QStringLiteral("null") : VarToStr(V);
}

// A dataset with a text field of size 20 and a float field, one record.
struct TEditData
{
    TMemDataSet DataSet;
    TDataSource Source;
    TEditData()
    {
        DataSet.FieldDefs()->Add(QStringLiteral("Name"), ftString, 20);
        DataSet.FieldDefs()->Add(QStringLiteral("Amount"), ftFloat);
        DataSet.CreateDataSet();
        DataSet.Append();
        DataSet.FieldByName(QStringLiteral("Name"))->SetAsString(QStringLiteral("abc"));
        DataSet.FieldByName(QStringLiteral("Amount"))->SetAsFloat(2.5);
        DataSet.Post();
        Source.SetDataSet(&DataSet);
    }
};

} // namespace

TEST(NumberEditEh, EditFormatFromDisplayFormat)
{
    const std::pair<const char*, const char*> Cases[] = {
        {"#,##0.00", "#,##0.00"},
        {"#,##0.00元", "#,##0.00"},
        {"\"￥\"#,##0.00;-#,##0.00", "#,##0.00"},
        {"'No. '0", "0"},
        {"0.0%", "0.0"},
        {"", ""},
    };
    for (const auto& [Display, Edit] : Cases)
        EXPECT_EQ(NumberEditEh::EditFormatFromDisplayFormat(QString::fromUtf8(Display)), QString::fromUtf8(Edit))
            << Display;
}

TEST(NumberEditEh, RangeRule)
{
    struct TCase
    {
        double Min, Max, Value, Result;
    };
    const TCase Cases[] = {
        {0, 0, -5, -5},     {0, 100, -5, 0},    {0, 100, 105, 100}, {10, 0, 5, 10},
        {10, 0, 500, 500},  {0, -10, 5, -10},   {0, -10, -50, -50}, {10, 5, 1, 1},
        {-1, 1, 0.5, 0.5},
    };
    for (const TCase& C : Cases)
        EXPECT_EQ(NumberEditEh::LimitToRange(C.Value, C.Min, C.Max), C.Result)
            << C.Min << ".." << C.Max << " " << C.Value;
}

TEST(NumberEditEh, KeysToTextAndValue)
{
    struct TCase
    {
        const char* Name;
        int DecimalPlaces;
        double Min, Max;
        const char* DisplayFormat;
        const char* Keys;
        const char* Typed;  // text while focused
        const char* Value;  // value after leaving
        const char* Shown;  // text after leaving
    };
    const TCase Cases[] = {
        {"two decimals", 2, 0, 0, "", "12.345", "12.34", "12.34", "12.34"},
        {"letters refused", 2, 0, 0, "", "12a", "12", "12", "12"},
        {"comma is the separator", 2, 0, 0, "", "1,5", "1.5", "1.5", "1.5"},
        {"one separator", 2, 0, 0, "", "1.2.3", "1.23", "1.23", "1.23"},
        {"negative without range", 2, 0, 0, "", "-5", "-5", "-5", "-5"},
        {"minus alone under a range", 2, 0, 100, "", "-5", "-", "0", "0"},
        {"minus left as 0", 2, 0, 0, "", "-", "-", "0", "0"},
        {"above the range on leaving", 2, 0, 100, "", "150", "150", "100", "100"},
        {"plus allowed", 2, 0, 0, "", "+7", "+7", "7", "7"},
        {"thousands while typing", 2, 0, 0, "#,##0.00", "1234567", "1,234,567", "1234567", "1,234,567.00"},
        {"step up from null", 2, 0, 0, "", "<Up>", "1", "1", "1"},
        {"step down from null", 2, 0, 0, "", "<Down>", "1", "1", "1"},
        {"step down stays at 0", 2, 0, 100, "", "<Up><Down><Down>", "0", "0", "0"},
        {"step unlimited", 2, 0, 0, "", "<Up><Down><Down><Down>", "-2", "-2", "-2"},
        {"emptied is null", 2, 0, 0, "", "5<BS>", "", "null", ""},
        {"no decimals", 0, 0, 0, "", "3.5", "3.", "3", "3"},
        {"enter takes the value", 2, 0, 10, "", "12<Enter>", "10", "10", "10"},
        {"input-method text meets the typing rules", 2, 0, 0, "", "<IM:１２abc中><IM:12.345>", "12.34", "12.34",
         "12.34"},
        {"the whole text is checked", 2, 0, 0, "",
         "111111111111111111111111111111111111111111111111111111111111111a",
         "111111111111111111111111111111111111111111111111111111111111111", "1.11111111111111E62",
         "1.11111111111111E62"},
    };
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Name);
        TDBNumberEditEh Edit;
        Edit.SetDecimalPlaces(C.DecimalPlaces);
        Edit.SetMinValue(C.Min);
        Edit.SetMaxValue(C.Max);
        Edit.SetDisplayFormat(QString::fromUtf8(C.DisplayFormat));
        SendFocus(&Edit, true);
        TypeKeys(&Edit, QString::fromUtf8(C.Keys));
        EXPECT_EQ(Edit.Text(), QString::fromLatin1(C.Typed));
        SendFocus(&Edit, false);
        EXPECT_EQ(ValueText(Edit.Value()), QString::fromLatin1(C.Value));
        EXPECT_EQ(Edit.Text(), QString::fromLatin1(C.Shown));
    }
}

TEST(NumberEditEh, PointOnCommaLocale)
{
    TLocaleGuard Locale(u',', u'.');
    TDBNumberEditEh Edit;
    SendFocus(&Edit, true);
    TypeKeys(&Edit, "1.5");
    EXPECT_EQ(Edit.Text(), "1,5");
    SendFocus(&Edit, false);
    EXPECT_EQ(Edit.Value().AsFloat(), 1.5);
}

TEST(NumberEditEh, CaretKeepsItsDistanceFromTheEnd)
{
    TDBNumberEditEh Edit;
    Edit.SetDisplayFormat(QStringLiteral("#,##0"));
    SendFocus(&Edit, true);
    TypeKeys(&Edit, "1234<Left><Left>5");
    EXPECT_EQ(Edit.Text(), "12,534");
    EXPECT_EQ(Edit.cursorPosition(), 4);
}

TEST(NumberEditEh, CurrencyEditFormatKeepsTheLeadingZero)
{
    TDBNumberEditEh Edit;
    Edit.SetCurrency(true);
    EXPECT_EQ(Edit.EditFormat(), "#,##0.00");
    Edit.SetValue(0.5);
    SendFocus(&Edit, true);
    EXPECT_EQ(Edit.Text(), "0.50");
}

// By Ctrl+V and by the context menu's paste alike.
TEST(NumberEditEh, PasteTakesOnlyNumbers)
{
    for (const bool ByMenu : {false, true}) {
        SCOPED_TRACE(ByMenu ? "menu" : "Ctrl+V");
        TDBNumberEditEh Edit;
        Edit.SetValue(3.0);
        SendFocus(&Edit, true);
        const auto Paste = [&](const char* Text) {
            TClipboard().SetAsText(QString::fromLatin1(Text));
            Edit.selectAll();
            if (ByMenu)
                ChooseFromContextMenu(&Edit, QStringLiteral("Paste"));
            else
                TypeKeys(&Edit, "<Ctrl+V>");
        };
        Paste("x1");
        EXPECT_EQ(Edit.Text(), "3");
        Paste(" 4.25 ");
        EXPECT_EQ(Edit.Text(), "4.25");
        EXPECT_EQ(Edit.Value().AsFloat(), 4.25);
    }
}

TEST(NumberEditEh, CalculatorValueIsTakenOnAccept)
{
    TDBNumberEditEh Edit;
    Edit.SetValue(5.0);
    SendFocus(&Edit, true);
    TypeKeys(&Edit, "<Alt+Down>");
    ASSERT_TRUE(Edit.DroppedDown());
    EXPECT_TRUE(Edit.GetCalculator()->isVisible());
    TypeKeys(&Edit, "*3<Enter>");
    EXPECT_TRUE(Edit.DroppedDown()) << "Enter on \"=\" computes";
    TypeKeys(&Edit, "<Enter>");
    EXPECT_FALSE(Edit.DroppedDown());
    EXPECT_EQ(Edit.Value().AsFloat(), 15.0);
    TypeKeys(&Edit, "<Alt+Down>9<Esc>");
    EXPECT_EQ(Edit.Value().AsFloat(), 15.0);
}

TEST(NumberEditEh, BoundToAFloatField)
{
    TEditData D;
    TDBNumberEditEh Edit;
    D.DataSet.FieldByName(QStringLiteral("Amount"))->SetDisplayFormat(QStringLiteral("0.00"));
    Edit.SetDataSource(&D.Source);
    Edit.SetDataField(QStringLiteral("Amount"));
    EXPECT_EQ(Edit.Text(), "2.50");
    SendFocus(&Edit, true);
    TypeKeys(&Edit, "<Ctrl+A>7.25");
    SendFocus(&Edit, false);
    EXPECT_EQ(D.DataSet.FieldByName(QStringLiteral("Amount"))->AsFloat(), 7.25);
    EXPECT_EQ(Edit.Text(), "7.25");
}

TEST(DBEditEh, UnboundKeepsWhatWasTyped)
{
    TEditData D;
    TDBEditEh Edit;
    SendFocus(&Edit, true);
    TypeKeys(&Edit, "hello");
    SendFocus(&Edit, false);
    EXPECT_EQ(Edit.Text(), "hello");
    EXPECT_EQ(VarToStr(Edit.DataLink()->OwnValue()), "hello");
    EXPECT_EQ(D.DataSet.State(), dsBrowse);
    Edit.SetDataSource(&D.Source);
    Edit.SetDataField(QStringLiteral("Name"));
    EXPECT_TRUE(Edit.DataLink()->OwnValue().IsNull());
    EXPECT_EQ(Edit.Text(), "abc");
}

TEST(DBEditEh, BoundEditRules)
{
    TEditData D;
    TDBEditEh Edit;
    Edit.SetDataSource(&D.Source);
    Edit.SetDataField(QStringLiteral("Name"));
    SendFocus(&Edit, true);
    TypeKeys(&Edit, "<Ctrl+A>");
    EXPECT_EQ(Edit.selectedText(), "abc");
    TypeKeys(&Edit, "1");
    EXPECT_EQ(Edit.Text(), "1");
    TypeKeys(&Edit, "23456789012345678901");
    EXPECT_EQ(Edit.Text(), "12345678901234567890");
    SendFocus(&Edit, false);
    EXPECT_EQ(D.DataSet.FieldByName(QStringLiteral("Name"))->AsString(), "12345678901234567890");

    Edit.OnUpdateData = [](QObject*, bool& Handled) { Handled = true; };
    SendFocus(&Edit, true);
    TypeKeys(&Edit, "<Ctrl+A>x");
    EXPECT_TRUE(Edit.Modified());
    Edit.CommitEdit();
    EXPECT_FALSE(Edit.Modified());
    EXPECT_EQ(D.DataSet.FieldByName(QStringLiteral("Name"))->AsString(), "12345678901234567890");

    D.DataSet.Cancel();
    D.DataSet.FieldByName(QStringLiteral("Name"))->SetReadOnly(true);
    Edit.SetReadOnly(false);
    EXPECT_TRUE(Edit.isReadOnly());
}

// Typed, pasted and shown text takes the edit's case and reaches the field
// so; a password character hides the text but not the value.
TEST(DBEditEh, CharCaseAndPasswordChar)
{
    TEditData D;
    TDBEditEh Edit;
    Edit.SetDataSource(&D.Source);
    Edit.SetDataField(QStringLiteral("Name"));
    Edit.SetCharCase(ecUpperCase);
    EXPECT_EQ(Edit.Text(), "ABC");
    SendFocus(&Edit, true);
    Clipboard()->SetAsText(QStringLiteral("xY"));
    TypeKeys(&Edit, "<Right>de<Left><Ctrl+V>");
    EXPECT_EQ(Edit.Text(), "ABCDXYE");
    EXPECT_EQ(Edit.cursorPosition(), 6) << "the caret stays after the paste";
    SendFocus(&Edit, false);
    EXPECT_EQ(D.DataSet.FieldByName(QStringLiteral("Name"))->AsString(), "ABCDXYE");
    Edit.SetCharCase(ecLowerCase);
    EXPECT_EQ(Edit.Text(), "abcdxye");

    // A change that comes without a key (as a cut or undo from the menu) still
    // reaches the field.
    D.DataSet.Post();
    SendFocus(&Edit, true);
    Edit.selectAll();
    Edit.paste();
    SendFocus(&Edit, false);
    EXPECT_EQ(D.DataSet.FieldByName(QStringLiteral("Name"))->AsString(), "xy");

    Edit.SetPasswordChar(u'*');
    EXPECT_EQ(Edit.displayText(), "**");
    EXPECT_EQ(Edit.Text(), "xy");
    Edit.SetPasswordChar(QChar());
    EXPECT_EQ(Edit.displayText(), "xy");
}

TEST(DBEditEh, EscRereadsTheField)
{
    TEditData D;
    TDBEditEh Edit;
    Edit.SetDataSource(&D.Source);
    Edit.SetDataField(QStringLiteral("Name"));
    SendFocus(&Edit, true);
    TypeKeys(&Edit, "<Ctrl+A>zz<Esc>");
    EXPECT_EQ(Edit.Text(), "abc");
    EXPECT_EQ(Edit.selectedText(), "abc");
}

TEST(DBEditEh, EarlierEntriesDropDownWhileTyping)
{
    TDBEditEh Edit;
    Edit.MRUList()->SetActive(true);
    for (const char* Item : {"apple", "apricot", "banana"})
        Edit.MRUList()->Add(QString::fromLatin1(Item));
    SendFocus(&Edit, true);
    TypeKeys(&Edit, "ap");
    ASSERT_TRUE(Edit.MRUDroppedDown());
    EXPECT_EQ(Edit.MRUListbox()->Items()->Count(), 2);
    TypeKeys(&Edit, "x");
    EXPECT_FALSE(Edit.MRUDroppedDown()) << "nothing starts with apx";
    TypeKeys(&Edit, "<BS><Down><Down><Enter>");
    EXPECT_FALSE(Edit.MRUDroppedDown());
    EXPECT_EQ(Edit.Text(), "apricot");
    TypeKeys(&Edit, "<Ctrl+A>cherry");
    SendFocus(&Edit, false);
    EXPECT_EQ(Edit.MRUList()->Items()->Strings(Edit.MRUList()->Items()->Count() - 1), "cherry");
}

TEST(DBEditEh, ButtonsByPressAndShortCut)
{
    TDBNumberEditEh Edit;
    Edit.resize(120, 24);
    Edit.EditButton()->SetVisible(true);
    Edit.EditButton()->SetStyle(ebsUpDownEh);
    TEditButtonEh* Extra = Edit.EditButtons()->Add();
    Extra->SetShortCut(ShortCut('E', {ssCtrl}));
    int Clicks = 0;
    Extra->OnClick = [&](QObject*, bool&) { ++Clicks; };
    TEditButtonControlEh* Main = Edit.EditButtonControl(0);
    ASSERT_NE(Main, nullptr);
    EXPECT_TRUE(Main->geometry().right() < Edit.EditButtonControl(1)->geometry().left()) << "main button innermost";
    EXPECT_LT(Edit.GetEditRect().right(), Main->geometry().left());
    bool AutoRepeat = true, Handled = false;
    Main->OnDown(Main, true, AutoRepeat, Handled);
    Main->OnDown(Main, true, AutoRepeat, Handled);
    Main->OnDown(Main, false, AutoRepeat, Handled);
    EXPECT_EQ(Edit.Value().AsFloat(), 1.0) << "null, up to 1 (Increment), up to 2, down to 1";
    SendKey(&Edit, Qt::Key_E, Qt::ControlModifier, QString(QChar(5)));
    EXPECT_EQ(Clicks, 1);
}

TEST(DBEditEh, WordWrapMemoKeysAndCommit)
{
    struct TCase
    {
        const char* Name;
        bool WantReturns;
        const char* Keys;
        const char* Text;  // in the edit after the keys
        const char* Field; // in the field after leaving the edit
    };
    const TCase Cases[] = {
        {"EnterBreaksTheLine", true, "<Ctrl+A>ab<Enter>cd", "ab\ncd", "ab\ncd"},
        {"EnterDroppedWithoutWantReturns", false, "<Ctrl+A>ab<Enter>cd", "abcd", "abcd"},
        {"EscRereadsTheField", true, "<Ctrl+A>ab<Enter>cd<Esc>", "one\ntwo", "one\ntwo"},
    };
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Name);
        TMemDataSet DataSet;
        DataSet.FieldDefs()->Add(QStringLiteral("Note"), ftMemo);
        DataSet.CreateDataSet();
        DataSet.Append();
        DataSet.FieldByName(QStringLiteral("Note"))->SetAsString(QStringLiteral("one\ntwo"));
        DataSet.Post();
        TDataSource Source;
        Source.SetDataSet(&DataSet);
        TDBEditEh Edit;
        Edit.resize(160, 60);
        Edit.SetWordWrap(true);
        Edit.SetWantReturns(C.WantReturns);
        Edit.SetDataSource(&Source);
        Edit.SetDataField(QStringLiteral("Note"));
        auto* Shown = Edit.findChild<QPlainTextEdit*>();
        ASSERT_NE(Shown, nullptr);
        EXPECT_EQ(Shown->toPlainText(), "one\ntwo");
        SendFocus(&Edit, true);
        // Ctrl+V over a clipboard without any format leaves the text as it was.
        EXPECT_EQ(PasteNothingIntoBoxes(&Edit), "TMemo");
        TypeKeys(&Edit, QString::fromUtf8(C.Keys));
        EXPECT_EQ(Edit.Text(), QString::fromUtf8(C.Text));
        EXPECT_EQ(Shown->toPlainText(), Edit.Text());
        EXPECT_EQ(Edit.height(), 60) << "AutoSize keeps the lines' height";
        SendFocus(&Edit, false);
        EXPECT_EQ(DataSet.FieldByName(QStringLiteral("Note"))->AsString(), QString::fromUtf8(C.Field));
    }
}

// A word-wrapping edit on a text field of size 10 holding "ab" refuses what
// goes past the size, whichever way it comes: the box shows what the field
// gets.
TEST(DBEditEh, WordWrapKeepsToTheFieldSize)
{
    struct TCase
    {
        const char* Name;
        const char* Keys; // after the caret went to the end
        const char* Text; // in the box, the edit and, after leaving, the field
    };
    const TCase Cases[] = {
        {"PasteThenType", "<Ctrl+V>XY", "ab01234567"},
        {"InputMethodCommit", "<IM:0123456789张三>", "ab01234567"},
        {"TypedInTheMiddleOfAFullBox", "<Ctrl+V><Left><Left>Z<BS>", "ab0123467"},
        {"PasteIntoTheMiddleKeepsTheTail", "Z<Left><Ctrl+V>", "ab0123456Z"},
    };
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Name);
        TMemDataSet DataSet;
        DataSet.FieldDefs()->Add(QStringLiteral("Name"), ftWideString, 10);
        DataSet.CreateDataSet();
        DataSet.AppendRecord({Variant("ab")});
        TDataSource Source;
        Source.SetDataSet(&DataSet);
        TDBEditEh Edit;
        Edit.resize(160, 60);
        Edit.SetWordWrap(true);
        Edit.SetDataSource(&Source);
        Edit.SetDataField(QStringLiteral("Name"));
        auto* Shown = Edit.findChild<QPlainTextEdit*>();
        ASSERT_NE(Shown, nullptr);
        SendFocus(&Edit, true);
        // Keys and input-method text go where the focus is: the box.
        TypeKeys(Shown, QStringLiteral("<Right>"));
        Clipboard()->SetAsText(QStringLiteral("0123456789ABCDEFGHIJ"));
        TypeKeys(Shown, QString::fromUtf8(C.Keys));
        EXPECT_EQ(Shown->toPlainText(), QString::fromUtf8(C.Text));
        EXPECT_EQ(Edit.Text(), QString::fromUtf8(C.Text));
        SendFocus(&Edit, false);
        DataSet.Post();
        EXPECT_EQ(DataSet.FieldByName(QStringLiteral("Name"))->AsString(), QString::fromUtf8(C.Text));
    }
    Clipboard()->Clear();
}

// A link over several fields takes an array element by element, and Null
// clears them all.
TEST(FieldDataLinkEh, ValueOverSeveralFields)
{
    TEditData D;
    TFieldDataLinkEh Link;
    Link.SetMultiFields(true);
    Link.SetDataSource(&D.Source);
    Link.SetFieldName(QStringLiteral("Name;Amount"));
    ASSERT_EQ(Link.Fields().size(), 2u);
    D.DataSet.Edit();
    const struct
    {
        const char* Name;
        Variant Value;
        const char* Text;
        const char* Amount;
    } Cases[] = {
        {"array", VarArrayOf({"xyz", 7.5}), "xyz", "7.5"},
        {"null", Variant::Null(), "null", "null"},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Name);
        Link.SetValue(C.Value);
        EXPECT_EQ(ValueText(D.DataSet.FieldByName(QStringLiteral("Name"))->Value()), C.Text);
        EXPECT_EQ(ValueText(D.DataSet.FieldByName(QStringLiteral("Amount"))->Value()), C.Amount);
    }
    D.DataSet.Cancel();
}
