// The object inspector on its own: row values by kind, keys, double-clicks,
// the editor's place and the drop-down list, driven by real Qt events.
#include "platform/gui/ColorDialog.h"
#include "platform/gui/ModalSeam.h"
#include "report/designer/FR_Combo.h"
#include "report/designer/FR_Insp.h"
#include "report/engine/FR_Ctrls.h"

#include <QApplication>
#include <QColorDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <gtest/gtest.h>

namespace {

// Input is a value to format, or (IsText) a text to read; Expected the text,
// the value read, or "!" + the refusal.
struct TPropCase { const char* Name; uint16_t Kind; Variant Input; bool IsText; const char* Expected; };

QString Convert(const TPropCase& C)
{
    TProp P;
    P.DataType = C.Kind;
    P.Enum = {QStringLiteral("psSolid"), QStringLiteral("psDash"), QStringLiteral("psDot")};
    P.EnumValues = {0, 1, 2};
    try {
        if (!C.IsText) {
            P.SetValue(C.Input);
            return P.Text;
        }
        P.Text = C.Input.AsString();
        const Variant V = P.Value();
        return V.AsString();
    } catch (const EConvertError& E) {
        return u'!' + E.Message();
    }
}

TEST(PropTest, ConvertsByKind)
{
    const TPropCase Cases[] = {
        {"float text with comma", PropFloat, "1,5", true, "1.5"},
        {"float value", PropFloat, 12.5, false, "12.50"},
        {"float value past four digits", PropFloat, 12345.6, false, "1.235E4"},
        {"float junk", PropFloat, "abc", true, "!'abc' is not a valid floating point value"},
        {"boolean value 2", PropBoolean, 2, false, "True"},
        {"boolean text 0", PropBoolean, "0", true, "False"},
        {"boolean text in no words", PropBoolean, "abc", true, "True"},
        {"boolean empty text", PropBoolean, "", true, "False"},
        {"colour in the table", PropColor, 255, false, "clRed"},
        {"colour name in any case", PropColor, "clred", true, "255"},
        {"colour without a name", PropColor, 0x123456, false, "$123456"},
        {"colour with a high byte", PropColor, static_cast<int64_t>(0xFF00001A), false, "$FF00001A"},
        {"colour text with a high byte", PropColor, "$FF00001A", true, "4278190106"},
        {"colour beyond 32 bits", PropColor, "$1FFFFFFFF", true, "!'$1FFFFFFFF' is not a valid value"},
        {"enumeration value", PropEnum, 2, false, "psDot"},
        {"enumeration name", PropEnum, "psDash", true, "1"},
        {"enumeration number outside", PropEnum, "7", true, "!'7' is not a valid value"},
        {"integer junk", PropInteger, "abc", true, "!'abc' is not a valid integer value"},
    };
    for (const TPropCase& C : Cases) {
        SCOPED_TRACE(C.Name);
        EXPECT_EQ(Convert(C), QString::fromUtf8(C.Expected));
    }
}

void Key(QWidget* W, int QtKey)
{
    QKeyEvent Press(QEvent::KeyPress, QtKey, Qt::NoModifier);
    QCoreApplication::sendEvent(W, &Press);
}

void Type(QLineEdit* E, const QString& Text)
{
    E->selectAll();
    for (const QChar C : Text) {
        QKeyEvent Press(QEvent::KeyPress, 0, Qt::NoModifier, QString(C));
        QCoreApplication::sendEvent(E, &Press);
    }
}

void DoubleClick(QWidget* W)
{
    QMouseEvent E(QEvent::MouseButtonDblClick, QPointF(3, 3), W->mapToGlobal(QPointF(3, 3)), Qt::LeftButton,
                  Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(W, &E);
}

class TInspTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Insp.resize(220, 300);
        Fill();
        Insp.OnModify = [this](int Index) {
            Modified << Insp.GetItemName(Index) + u'=' + Insp.GetItemValue(Index).AsString();
            Values[Insp.GetItemName(Index)] = Insp.GetItemValue(Index);
            Fill();
        };
        Insp.show();
        Insp.ItemsChanged();
    }
    // As the designer does: the rows come back after every edit.
    void Fill()
    {
        Insp.ClearProperties();
        const TfrPropEditor None;
        Insp.AddProperty("FillColor", Values.value("FillColor", Variant(clRed)).AsString(), PropColor, None, {}, {});
        Insp.AddProperty("FrameStyle", Values.value("FrameStyle", Variant(1)).AsString(), PropEnum, None,
                         {"psSolid", "psDash", "psDot"}, {0, 1, 2});
        Insp.AddProperty("Left", Values.value("Left", Variant(10)).AsString(), PropInteger, None, {}, {});
        Insp.AddProperty("Memo", "(Memo)", PropHasEditor, [this] { ++Edits; }, {}, {});
        Insp.AddProperty("Name", Values.value("Name", Variant("Memo1")).AsString(), PropString, None, {}, {});
        Insp.AddProperty("Visible", Values.value("Visible", Variant(true)).AsString(), PropBoolean, None, {}, {});
        Insp.AddProperty("Width", Values.value("Width", Variant(40)).AsString(), PropInteger, None, {}, {});
    }
    void Select(const QString& Name)
    {
        for (int i = 0; i < Insp.GetCount(); ++i)
            if (Insp.GetItemName(i) == Name)
                Insp.SetItemIndex(i);
    }

    TfrInspForm Insp;
    QHash<QString, Variant> Values;
    QStringList Modified;
    int Edits = 0;
};

TEST_F(TInspTest, KeysCommitRefuseAndMove)
{
    // Text: the edit afterwards; Modified: the OnModify calls.
    struct TCase { const char *Name, *Row, *Typed; int QtKey; const char *Text, *Modified, *Message; } Cases[] = {
        {"enter commits", "Left", "12", Qt::Key_Return, "12", "Left=12", ""},
        {"junk is refused", "Left", "abc", Qt::Key_Return, "12", "", "Error|'abc' is not a valid integer value"},
        {"escape undoes", "Left", "99", Qt::Key_Escape, "12", "", ""},
        {"negative width is refused", "Width", "-5", Qt::Key_Return, "40", "", "Error|'-5' is not a valid value"},
        {"number outside the values", "FrameStyle", "7", Qt::Key_Return, "psDash", "",
         "Error|'7' is not a valid value"},
        {"empty name is not stored", "Name", "", Qt::Key_Return, "Memo1", "Name=Memo1", ""},
        {"enter opens an editor", "Memo", "", Qt::Key_Return, "(Memo)", "", ""},
        {"up moves a row up", "Left", "", Qt::Key_Up, "psDash", "", ""},
        {"down moves a row down", "Left", "", Qt::Key_Down, "(Memo)", "", ""},
    };
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Name);
        QStringList Messages;
        TModalHandlers H(nullptr, [&Messages](const TMessageRequest& M) {
            Messages << M.Caption + u'|' + M.Text;
            return mrOk;
        });
        Modified.clear();
        Select(C.Row);
        if (*C.Typed)
            Type(Insp.Edit1, QString::fromUtf8(C.Typed));
        if (QString::fromUtf8(C.Row) == u"Name") {
            Insp.Edit1->clear();
            Insp.Edit1->setModified(true);
        }
        Key(Insp.Edit1, C.QtKey);
        EXPECT_EQ(Insp.Edit1->text(), QString::fromUtf8(C.Text));
        EXPECT_EQ(Modified.join(u';'), QString::fromUtf8(C.Modified));
        EXPECT_EQ(Messages.join(u';'), QString::fromUtf8(C.Message));
    }
    EXPECT_EQ(Edits, 1);
}

TEST_F(TInspTest, DoubleClickStepsThroughValues)
{
    // Start: the row's text first ("" for a mixed value).
    struct TCase { const char *Name, *Row, *Start, *Modified; } Cases[] = {
        {"boolean toggles", "Visible", "True", "Visible=False"},
        {"enumeration takes the next value", "FrameStyle", "psDash", "FrameStyle=2"},
        {"the last value wraps", "FrameStyle", "psDot", "FrameStyle=0"},
        {"a mixed enumeration starts at the first", "FrameStyle", "", "FrameStyle=0"},
        {"a mixed colour starts from black", "FillColor", "", "FillColor=65280"},
        {"an editor opens", "Memo", "(Memo)", ""},
    };
    TColor DialogStart = clWhite;
    TModalHandlers H(
        [&DialogStart](TForm* F) {
            auto* D = dynamic_cast<TColorDialog*>(F);
            DialogStart = QColorToColor(D->Picker()->currentColor());
            D->Picker()->setCurrentColor(QColor(0, 255, 0));
            return mrOk;
        },
        nullptr);
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Name);
        Modified.clear();
        Select(C.Row);
        Insp.CurItem()->Text = QString::fromUtf8(C.Start);
        Insp.Edit1->setText(Insp.CurItem()->Text);
        DoubleClick(Insp.Edit1);
        EXPECT_EQ(Modified.join(u';'), QString::fromUtf8(C.Modified));
        EXPECT_FALSE(Insp.Edit1->isModified());
    }
    EXPECT_EQ(DialogStart, clBlack);
    EXPECT_EQ(Edits, 1);
}

TEST_F(TInspTest, ColourDialogCancelledChangesNothing)
{
    TModalHandlers H([](TForm*) { return mrCancel; }, nullptr);
    Select("FillColor");
    DoubleClick(Insp.Edit1);
    EXPECT_TRUE(Modified.isEmpty());
    EXPECT_EQ(Insp.Edit1->text(), "clRed");
}

TEST_F(TInspTest, EditorSitsInTheValueColumn)
{
    Insp.SetSplitPos(75);
    const int W = Insp.PaintWidth(), H = Insp.RowHeight();
    struct TCase { const char* Row; int EditWidth; bool Combo, Dots; } Cases[] = {
        {"Left", W - 77, false, false}, {"Visible", W - 77 - 15, true, false}, {"Memo", W - 77 - 15, false, true}};
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Row);
        Select(C.Row);
        const int Top = Insp.ItemIndex() * H + 1;
        EXPECT_EQ(Insp.Edit1->geometry(), QRect(77, Top, C.EditWidth, H - 2));
        EXPECT_EQ(!Insp.ComboPanel->isHidden(), C.Combo);
        EXPECT_EQ(!Insp.EditPanel->isHidden(), C.Dots);
        if (C.Combo || C.Dots) {
            EXPECT_EQ((C.Combo ? Insp.ComboPanel : Insp.EditPanel)->geometry(), QRect(W - 14, Top, 14, H - 2));
        }
    }
    Insp.ClearProperties();
    Insp.ItemsChanged();
    EXPECT_TRUE(Insp.Edit1->isHidden());
    EXPECT_EQ(Insp.CurItem(), nullptr);
}

TEST_F(TInspTest, PopupListShowsAtMostEightRows)
{
    for (int Count : {3, 10}) {
        SCOPED_TRACE(Count);
        QStringList Names;
        for (int i = 0; i < Count; ++i)
            Names << QStringLiteral("Choice%1").arg(i);
        Insp.ClearProperties();
        Insp.AddProperty("Pick", "Choice1", PropEnum, {}, Names, {});
        Insp.ItemsChanged();
        Insp.ComboBtnClick();
        TfrPopupListBox* P = Insp.PopupList();
        ASSERT_TRUE(P->isVisible());
        const int Rows = std::min(Count, 8);
        EXPECT_EQ(P->height(), (P->ItemHeight() + 1) * Rows + 2);
        EXPECT_EQ(P->ListBox->currentRow(), 1);
        // A narrow list takes the whole value column.
        EXPECT_EQ(P->width(), Insp.PaintWidth() - Insp.SplitPos() + 1);
        P->ListBox->setCurrentRow(2);
        Insp.PopupListClick(2);
        EXPECT_FALSE(P->isVisible());
        EXPECT_EQ(Modified.takeLast(), "Pick=Choice2");
    }
}

} // namespace

namespace {

void Mouse(QWidget* W, QEvent::Type Type, int X, int Y)
{
    QMouseEvent E(Type, QPointF(X, Y), W->mapToGlobal(QPointF(X, Y)), Qt::LeftButton,
                  Type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(W, &E);
}

TEST_F(TInspTest, MouseChoosesRowsAndDragsTheSplitWithinItsBounds)
{
    TCustomControl* Rows = Insp.PaintBox1;
    Mouse(Rows, QEvent::MouseButtonPress, 100, Insp.RowHeight() * 2 + 3);
    Mouse(Rows, QEvent::MouseButtonRelease, 100, Insp.RowHeight() * 2 + 3);
    EXPECT_EQ(Insp.ItemIndex(), 2);
    struct TCase { int To, Split; } Cases[] = {{120, 120}, {3, 120}, {8, 8}, {2000, Insp.PaintWidth() - 20}};
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.To);
        Mouse(Rows, QEvent::MouseMove, Insp.SplitPos(), 5);
        Mouse(Rows, QEvent::MouseButtonPress, Insp.SplitPos(), 5);
        Mouse(Rows, QEvent::MouseMove, C.To, 5);
        Mouse(Rows, QEvent::MouseButtonRelease, C.To, 5);
        EXPECT_EQ(Insp.SplitPos(), C.Split);
        EXPECT_EQ(Insp.Edit1->x(), C.Split + 2);
    }
}

} // namespace
