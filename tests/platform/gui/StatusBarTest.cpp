// The status bar: each panel's text is drawn inside its own box and redrawn
// when it changes.
#include "platform/gui/ComCtrls.h"

#include <QImage>
#include <gtest/gtest.h>

namespace {

// Pixels inside panel box [Left, Left + Width - 2) that differ from the fill.
int InkInside(const QImage& Shot, int Left, int Width)
{
    const QRgb Fill = Shot.pixel(Left + Width - 4, 17);
    int Ink = 0;
    for (int X = Left + 1; X < Left + Width - 3; ++X)
        for (int Y = 3; Y < Shot.height() - 1; ++Y)
            Ink += Shot.pixel(X, Y) != Fill;
    return Ink;
}

} // namespace

TEST(StatusBar, DrawsEachPanelsTextInItsBoxAndRedrawsOnChange)
{
    TStatusBar Bar;
    Bar.resize(200, 20);
    Bar.AddPanel(40);
    Bar.AddPanel(60);
    Bar.SetPanelText(1, QStringLiteral("WW"));
    QImage Shot = Bar.grab().toImage();
    EXPECT_EQ(InkInside(Shot, 0, 40), 0);
    EXPECT_GT(InkInside(Shot, 40, 60), 10);
    // The box edge sits 2 pixels before the next panel.
    EXPECT_NE(Shot.pixel(37, 10), Shot.pixel(36, 10));

    Bar.SetPanelText(1, QString());
    Bar.SetPanelText(0, QStringLiteral("WW"));
    Shot = Bar.grab().toImage();
    EXPECT_GT(InkInside(Shot, 0, 40), 10);
    EXPECT_EQ(InkInside(Shot, 40, 60), 0);
}
