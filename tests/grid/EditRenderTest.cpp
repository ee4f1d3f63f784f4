// The calculator pop-up, a number edit focused and not, and a lookup pop-up
// with its special row, rendered offscreen; TB_IMAGES_DIR names a folder to
// keep the pictures in.
#include "EditKeys.h"
#include "GridTestUtil.h"
#include "grid/CalculatorEh.h"
#include "grid/DBCtrlsEh.h"
#include "grid/DBLookupGridsEh.h"
#include "grid/ToolCtrlsEh.h"
#include "platform/db/DataSource.h"
#include "platform/db/MemDataSet.h"
#include "platform/gui/TestRender.h"

#include <QLabel>
#include <gtest/gtest.h>

namespace {

void Keep(const QImage& Image, const char* Name)
{
    const QString Dir = qEnvironmentVariable("TB_IMAGES_DIR");
    if (!Dir.isEmpty())
        Image.save(Dir + u'/' + QString::fromLatin1(Name));
}

} // namespace

TEST(EditRender, CalculatorPopup)
{
    TPopupCalculatorEh Calc;
    for (QChar K : QStringLiteral("12*3"))
        Calc.KeyPress(K);
    const QImage I = RenderWidget(&Calc);
    EXPECT_EQ(I.size(), Calc.size());
    const QPoint InPanel = Calc.Panel1->geometry().topLeft() + QPoint(3, 3);
    EXPECT_EQ(I.pixelColor(InPanel), ColorToQColor(clHighlightText));
    EXPECT_EQ(I.pixelColor(1, Calc.height() / 2), ColorToQColor(clBtnHighlight)) << "raised inner edge";
    EXPECT_EQ(Calc.spEqual->Caption(), "=");
    Keep(I, "calculator.png");
}

TEST(EditRender, NumberEditFocusedAndNot)
{
    TDBNumberEditEh Edit;
    Edit.resize(140, 24);
    Edit.SetDisplayFormat(QStringLiteral("#,##0.00元"));
    Edit.EditButton()->SetVisible(true);
    Edit.SetValue(1234.5);
    const QImage Shown = RenderWidget(&Edit);
    EXPECT_EQ(Edit.Text(), QStringLiteral("1,234.50元"));
    SendFocus(&Edit, true);
    EXPECT_EQ(Edit.Text(), "1,234.50");
    const QImage Focused = RenderWidget(&Edit);
    EXPECT_NE(Shown, Focused);
    const QRect Button = Edit.EditButtonControl(0)->geometry();
    EXPECT_EQ(Focused.pixelColor(Button.center() + QPoint(0, 5)), ColorToQColor(clBtnFace));
    Keep(Shown, "numberedit.png");
    Keep(Focused, "numberedit-focused.png");
}

TEST(EditRender, LookupPopupWithSpecialRow)
{
    TMemDataSet List;
    List.FieldDefs()->Add(QStringLiteral("Id"), ftInteger);
    List.FieldDefs()->Add(QStringLiteral("Name"), ftWideString, 20);
    List.Open();
    int Id = 0;
    for (const char* Name : {"北京", "上海", "深圳", "成都", "杭州"})
        List.AppendRecord({Variant(++Id), Variant(QString::fromUtf8(Name))});
    List.First();
    TDataSource Source;
    Source.SetDataSet(&List);
    TPopupDataGridEh Popup;
    Popup.SpecRow()->SetCellsText(QStringLiteral("（无）"));
    Popup.SpecRow()->SetVisible(true);
    Popup.SetListSource(&Source);
    Popup.SetKeyFieldName(QStringLiteral("Id"));
    Popup.SetListFieldName(QStringLiteral("Name"));
    Popup.SetAutoFitColWidths(true);
    Popup.resize(160, Popup.HeightForRows(4));
    Popup.show();
    Popup.SetKeyValue(Variant::Null());
    const QImage I = RenderWidget(&Popup);
    const QPoint InSpecRow(Popup.width() / 2, Popup.HeightForRows(1) - Popup.GetRowStep() * 3 / 2);
    EXPECT_EQ(I.pixelColor(Popup.width() - 20, InSpecRow.y()), ColorToQColor(clHighlight)) << "current special row";
    Popup.SetKeyValue(2);
    const QImage Second = RenderWidget(&Popup);
    const int Row2 = Popup.HeightForRows(2) - Popup.GetRowStep() / 2;
    EXPECT_EQ(Second.pixelColor(Popup.width() - 20, Row2), ColorToQColor(clHighlight)) << "the key's row";
    EXPECT_NE(Second.pixelColor(Popup.width() - 20, InSpecRow.y()), ColorToQColor(clHighlight));
    Keep(Second, "lookup-popup.png");
}

TEST(EditRender, WordWrapMemo)
{
    TDBEditEh Edit;
    Edit.resize(150, 64);
    Edit.SetWordWrap(true);
    Edit.SetText(QStringLiteral("货到付款，月底结清。\n联系人：王先生 13800000000"));
    const QImage I = RenderWidget(&Edit);
    // Rows with dark text pixels: the break and the wrap give three lines.
    int Lines = 0;
    bool InLine = false;
    for (int Y = 0; Y < I.height(); ++Y) {
        bool Ink = false;
        for (int X = 3; X < I.width() - 3 && !Ink; ++X)
            Ink = I.pixelColor(X, Y).lightness() < 100;
        Lines += Ink && !InLine;
        InLine = Ink;
    }
    EXPECT_EQ(Lines, 3);
    Keep(I, "dbedit-wordwrap.png");
}
