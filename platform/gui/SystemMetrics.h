// Sizes and times of the desktop that controls ask for.
#pragma once

#include <QRect>

class QWidget;

int ScrollBarWidth();          // vertical bar width = horizontal bar height
int DoubleClickTime();         // milliseconds
int DoubleClickDistance();     // pixels the mouse may move between the clicks
QRect ScreenWorkArea();
int ScreenDpi();               // logical pixels per inch; 96 on the classic desktop
