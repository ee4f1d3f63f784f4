// The frame shape: outline, fill and repaint on a pen or brush change.
#include "GuiTestUtil.h"
#include "platform/gui/ExtCtrls.h"

#include <QPalette>
#include <QWidget>
#include <gtest/gtest.h>

TEST(Shape, DrawsItsOutlineAndFillAndRepaintsOnChange)
{
    struct TRow
    {
        const char* Name;
        TShapeType Type;
        int PenWidth;
        QPoint Edge;      // expected pen colour
        QPoint Inside;    // expected brush colour
        QPoint Outside;   // expected parent colour (-1: none)
    };
    const TRow Rows[] = {
        {"RectangleThinPen", stRectangle, 1, QPoint(19, 9), QPoint(1, 1), QPoint(-1, -1)},
        {"RectangleWidePenStaysInside", stRectangle, 3, QPoint(19, 5), QPoint(3, 3), QPoint(-1, -1)},
        {"SquareCentredInAWideControl", stSquare, 1, QPoint(5, 0), QPoint(6, 1), QPoint(1, 5)},
    };
    for (const TRow& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        QWidget Parent;
        QPalette P = Parent.palette();
        P.setColor(QPalette::Window, QColor(0, 128, 0));
        Parent.setPalette(P);
        auto* Shape = new TShape(&Parent);
        Shape->resize(20, 10);
        Shape->SetShape(Row.Type);
        Shape->Pen()->SetWidth(Row.PenWidth);
        Shape->Pen()->SetColor(clRed);
        Shape->Brush()->SetColor(clWhite);
        QImage Shot = Shape->grab().toImage();
        EXPECT_EQ(Shot.pixel(Row.Edge) & 0xFFFFFF, 0xFF0000u);
        EXPECT_EQ(Shot.pixel(Row.Inside) & 0xFFFFFF, 0xFFFFFFu);
        if (Row.Outside.x() >= 0) {
            EXPECT_EQ(Shot.pixel(Row.Outside) & 0xFFFFFF, 0x008000u);
        }
        // The hover colour: 0xF0CAA6 as stored is blue F0, green CA, red A6.
        Shape->Brush()->SetColor(0xF0CAA6);
        Shot = Shape->grab().toImage();
        EXPECT_EQ(Shot.pixel(Row.Inside) & 0xFFFFFF, 0xA6CAF0u);
    }
}
