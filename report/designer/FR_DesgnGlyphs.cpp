// The glyphs of the designer's tool bars: our own 16 x 16 drawings on olive,
// which the buttons leave out.
#include "report/designer/FR_Desgn.h"
#include "report/designer/FR_DsgLists.h"

#include "report/engine/FR_Ctrls.h"
#include "report/engine/FR_Dock.h"

#include <QPainter>
#include <QPainterPath>

namespace {

using TDraw = void (*)(QPainter&);

const QColor Ink(0, 0, 0);
const QColor Paper(255, 255, 255);
const QColor Shade(128, 128, 128);
const QColor Navy(0, 0, 128);
const QColor Folder(224, 192, 64);

void Sheet(QPainter& P, int X, int Y, int W, int H)
{
    P.setPen(Ink);
    P.setBrush(Paper);
    P.drawPolygon(QPolygon({QPoint(X, Y), QPoint(X + W - 4, Y), QPoint(X + W, Y + 4), QPoint(X + W, Y + H),
                            QPoint(X, Y + H)}));
    P.drawPolyline(QPolygon({QPoint(X + W - 4, Y), QPoint(X + W - 4, Y + 4), QPoint(X + W, Y + 4)}));
}

void TextLines(QPainter& P, int X, int Y, int W, int Rows, int Step = 2)
{
    P.setPen(Shade);
    for (int i = 0; i < Rows; ++i)
        P.drawLine(X, Y + i * Step, X + W - 1, Y + i * Step);
}

// Alignment of text in a memo: four lines, placed by Kind.
void AlignedLines(QPainter& P, int Kind)
{
    P.setPen(Ink);
    const int Long = 12, Short = 8;
    for (int i = 0; i < 4; ++i) {
        const int Y = 3 + i * 3;
        const int W = Kind == 3 || i % 2 == 0 ? Long : Short;
        const int X = Kind == 1 ? 14 - W : Kind == 2 ? 2 + (Long - W) / 2 : 2;
        P.drawLine(X, Y, X + W - 1, Y);
    }
}

// Text placed at the top, middle or bottom of a box.
void VerticalPlace(QPainter& P, int Row)
{
    P.setPen(Shade);
    P.setBrush(Qt::NoBrush);
    P.drawRect(1, 1, 13, 13);
    P.setPen(Ink);
    const int Y = Row == 0 ? 4 : Row == 1 ? 7 : 10;
    P.drawLine(4, Y, 11, Y);
    P.drawLine(4, Y + 2, 11, Y + 2);
}

// A frame with the named sides black and the others dotted.
void FrameSides(QPainter& P, bool Top, bool Left, bool Bottom, bool Right)
{
    auto Side = [&P](bool On, int X1, int Y1, int X2, int Y2) {
        P.setPen(On ? QPen(Ink, 2) : QPen(Shade, 1, Qt::DotLine));
        P.drawLine(X1, Y1, X2, Y2);
    };
    Side(Top, 2, 2, 13, 2);
    Side(Left, 2, 2, 2, 13);
    Side(Bottom, 2, 13, 13, 13);
    Side(Right, 13, 2, 13, 13);
}

// Two blocks lined up against a guide line.
void AlignBlocks(QPainter& P, bool Vertical, int Kind)
{
    // Kind 0: first edges, 1: centres, 2: last edges.
    P.save();
    if (Vertical) {
        P.translate(16, 0);
        P.rotate(90);
    }
    P.setPen(Ink);
    P.setBrush(QColor(192, 192, 192));
    const int Wide = 10, Narrow = 6;
    const int X2 = Kind == 0 ? 3 : Kind == 1 ? 3 + (Wide - Narrow) / 2 : 3 + Wide - Narrow;
    P.drawRect(3, 3, Wide, 3);
    P.drawRect(X2, 9, Narrow, 3);
    P.setPen(Navy);
    const int G = Kind == 0 ? 2 : Kind == 1 ? 3 + Wide / 2 : 4 + Wide;
    P.drawLine(G, 1, G, 14);
    P.restore();
}

// A block centred in a window, or three blocks spaced equally.
void CenterInWindow(QPainter& P, bool Vertical)
{
    P.save();
    if (Vertical) {
        P.translate(16, 0);
        P.rotate(90);
    }
    P.setPen(Shade);
    P.drawLine(1, 2, 1, 13);
    P.drawLine(14, 2, 14, 13);
    P.setPen(Ink);
    P.setBrush(QColor(192, 192, 192));
    P.drawRect(5, 5, 5, 5);
    P.setPen(Navy);
    P.drawLine(2, 7, 4, 7);
    P.drawLine(11, 7, 13, 7);
    P.restore();
}

void SpaceEqually(QPainter& P, bool Vertical)
{
    P.save();
    if (Vertical) {
        P.translate(16, 0);
        P.rotate(90);
    }
    P.setPen(Ink);
    P.setBrush(QColor(192, 192, 192));
    for (int X : {1, 6, 11})
        P.drawRect(X, 5, 3, 5);
    P.setPen(Navy);
    P.drawLine(5, 12, 5, 14);
    P.drawLine(10, 12, 10, 14);
    P.restore();
}

void Arrow(QPainter& P, bool Back)
{
    P.save();
    if (Back) {
        P.translate(16, 0);
        P.scale(-1, 1);
    }
    P.setPen(QPen(Navy, 2));
    P.setBrush(Qt::NoBrush);
    P.drawArc(QRect(3, 4, 10, 10), 0, 180 * 16);
    P.setPen(Navy);
    P.setBrush(Navy);
    P.drawPolygon(QPolygon({QPoint(10, 9), QPoint(15, 9), QPoint(12, 12)}));
    P.restore();
}

void Stack(QPainter& P, bool FrontUp)
{
    P.setPen(Ink);
    const QRect Back(1, 1, 9, 8), Front(6, 6, 9, 8);
    P.setBrush(FrontUp ? Paper : QColor(0, 128, 128));
    P.drawRect(FrontUp ? Back : Front);
    P.setBrush(FrontUp ? QColor(0, 128, 128) : Paper);
    P.drawRect(FrontUp ? Front : Back);
}

void Dots(QPainter& P)
{
    P.setPen(Ink);
    for (int Y = 1; Y < 16; Y += 4)
        for (int X = 1; X < 16; X += 4)
            P.drawPoint(X, Y);
}

void PageSign(QPainter& P, bool Plus)
{
    Sheet(P, 1, 1, 10, 13);
    P.setPen(QPen(QColor(0, 128, 0), 2));
    if (!Plus)
        P.setPen(QPen(QColor(192, 0, 0), 2));
    P.drawLine(9, 11, 15, 11);
    if (Plus)
        P.drawLine(12, 8, 12, 14);
}

const std::pair<const char*, TDraw> Art[] = {
    {"FileBtn1", [](QPainter& P) { Sheet(P, 3, 1, 10, 14); }},
    {"FileBtn2",
     [](QPainter& P) {
         P.setPen(Ink);
         P.setBrush(Folder);
         P.drawPolygon(QPolygon({QPoint(1, 4), QPoint(5, 4), QPoint(6, 5), QPoint(12, 5), QPoint(12, 13),
                                 QPoint(1, 13)}));
         P.setBrush(QColor(248, 224, 128));
         P.drawPolygon(QPolygon({QPoint(1, 13), QPoint(4, 8), QPoint(15, 8), QPoint(12, 13)}));
     }},
    {"FileBtn3",
     [](QPainter& P) {
         P.setPen(Ink);
         P.setBrush(Navy);
         P.drawRect(1, 1, 13, 13);
         P.setBrush(Paper);
         P.drawRect(4, 1, 7, 5);
         P.setBrush(QColor(192, 192, 192));
         P.drawRect(4, 9, 7, 5);
     }},
    {"FileBtn4",
     [](QPainter& P) {
         Sheet(P, 1, 1, 10, 13);
         TextLines(P, 3, 5, 5, 3);
         P.setPen(QPen(Ink, 2));
         P.setBrush(QColor(200, 230, 255));
         P.drawEllipse(7, 6, 5, 5);
         P.drawLine(12, 11, 14, 14);
     }},
    {"CutB",
     [](QPainter& P) {
         P.setPen(Ink);
         P.drawLine(5, 1, 9, 9);
         P.drawLine(10, 1, 6, 9);
         P.setPen(QPen(Navy, 1));
         P.drawEllipse(2, 9, 4, 4);
         P.drawEllipse(9, 9, 4, 4);
     }},
    {"CopyB",
     [](QPainter& P) {
         Sheet(P, 1, 1, 8, 10);
         Sheet(P, 6, 4, 8, 10);
         TextLines(P, 8, 8, 4, 3);
     }},
    {"PstB",
     [](QPainter& P) {
         P.setPen(Ink);
         P.setBrush(QColor(160, 112, 48));
         P.drawRect(1, 2, 10, 12);
         P.setBrush(QColor(192, 192, 192));
         P.drawRect(4, 1, 4, 2);
         Sheet(P, 6, 6, 8, 9);
     }},
    {"UndoB", [](QPainter& P) { Arrow(P, true); }},
    {"RedoB", [](QPainter& P) { Arrow(P, false); }},
    {"ZB1", [](QPainter& P) { Stack(P, true); }},
    {"ZB2", [](QPainter& P) { Stack(P, false); }},
    {"SelAllB",
     [](QPainter& P) {
         P.setPen(QPen(Ink, 1, Qt::DotLine));
         P.drawRect(1, 1, 13, 13);
         P.setPen(Ink);
         P.setBrush(QColor(192, 192, 192));
         P.drawRect(4, 4, 4, 3);
         P.drawRect(7, 9, 4, 3);
     }},
    {"PgB1", [](QPainter& P) { PageSign(P, true); }},
    {"PgB2", [](QPainter& P) { PageSign(P, false); }},
    {"PgB3",
     [](QPainter& P) {
         Sheet(P, 2, 1, 11, 14);
         P.setPen(QPen(Shade, 1, Qt::DotLine));
         P.drawRect(4, 5, 6, 7);
     }},
    {"PgB4",
     [](QPainter& P) {
         P.setPen(Ink);
         P.setBrush(QColor(212, 208, 200));
         P.drawRect(1, 2, 13, 11);
         P.fillRect(2, 3, 12, 3, Navy);
         P.setBrush(Paper);
         P.drawRect(3, 8, 6, 2);
     }},
    {"GB1", [](QPainter& P) { Dots(P); }},
    {"GB2",
     [](QPainter& P) {
         Dots(P);
         P.setPen(QPen(Navy, 1));
         P.setBrush(Qt::NoBrush);
         P.drawRect(5, 5, 8, 4);
     }},
    {"GB3",
     [](QPainter& P) {
         Dots(P);
         P.setPen(Ink);
         P.setBrush(QColor(192, 192, 192));
         P.drawRect(5, 5, 8, 8);
     }},
    {"ExitB",
     [](QPainter& P) {
         P.setPen(QPen(QColor(192, 0, 0), 2));
         P.drawLine(4, 4, 11, 11);
         P.drawLine(11, 4, 4, 11);
     }},
    {"HelpBtn",
     [](QPainter& P) {
         P.setPen(Navy);
         QFont F(QStringLiteral("Sans"), 10);
         F.setBold(true);
         P.setFont(F);
         P.drawText(QRect(0, 0, 16, 16), Qt::AlignCenter, QStringLiteral("?"));
     }},
    {"AlB1", [](QPainter& P) { AlignedLines(P, 0); }},
    {"AlB2", [](QPainter& P) { AlignedLines(P, 1); }},
    {"AlB3", [](QPainter& P) { AlignedLines(P, 2); }},
    {"AlB8", [](QPainter& P) { AlignedLines(P, 3); }},
    {"AlB6", [](QPainter& P) { VerticalPlace(P, 0); }},
    {"AlB5", [](QPainter& P) { VerticalPlace(P, 1); }},
    {"AlB7", [](QPainter& P) { VerticalPlace(P, 2); }},
    {"AlB4",
     [](QPainter& P) {
         P.setPen(Ink);
         QFont F(QStringLiteral("Sans"), 8);
         F.setBold(true);
         P.setFont(F);
         P.translate(4, 14);
         P.rotate(-90);
         P.drawText(QRect(0, 0, 12, 10), Qt::AlignCenter, QStringLiteral("ab"));
     }},
    {"FnB2",
     [](QPainter& P) {
         QFont F(QStringLiteral("Serif"), 10);
         F.setItalic(true);
         F.setBold(true);
         P.setFont(F);
         P.setPen(Ink);
         P.drawText(QRect(0, 0, 16, 16), Qt::AlignCenter, QStringLiteral("I"));
     }},
    {"FnB3",
     [](QPainter& P) {
         QFont F(QStringLiteral("Sans"), 9);
         F.setUnderline(true);
         P.setFont(F);
         P.setPen(Ink);
         P.drawText(QRect(0, 0, 16, 16), Qt::AlignCenter, QStringLiteral("U"));
     }},
    {"HlB1",
     [](QPainter& P) {
         P.fillRect(2, 4, 12, 8, QColor(255, 255, 0));
         P.setPen(QColor(192, 0, 0));
         P.drawText(QRect(0, 0, 16, 16), Qt::AlignCenter, QStringLiteral("ab"));
     }},
    {"FrB1", [](QPainter& P) { FrameSides(P, true, false, false, false); }},
    {"FrB2", [](QPainter& P) { FrameSides(P, false, true, false, false); }},
    {"FrB3", [](QPainter& P) { FrameSides(P, false, false, true, false); }},
    {"FrB4", [](QPainter& P) { FrameSides(P, false, false, false, true); }},
    {"FrB5", [](QPainter& P) { FrameSides(P, true, true, true, true); }},
    {"FrB6", [](QPainter& P) { FrameSides(P, false, false, false, false); }},
    {"ClB1",
     [](QPainter& P) {
         P.setPen(Ink);
         P.setBrush(Paper);
         P.drawPolygon(QPolygon({QPoint(2, 6), QPoint(7, 1), QPoint(12, 6), QPoint(7, 11)}));
         P.fillRect(1, 13, 14, 3, QColor(255, 0, 0));
     }},
    {"ClB3",
     [](QPainter& P) {
         P.setPen(Ink);
         P.setBrush(Qt::NoBrush);
         P.drawRect(2, 1, 11, 9);
         P.fillRect(1, 13, 14, 3, QColor(255, 0, 0));
     }},
    {"StB1",
     [](QPainter& P) {
         P.setPen(QPen(Ink, 1, Qt::SolidLine));
         P.drawLine(1, 3, 14, 3);
         P.setPen(QPen(Ink, 1, Qt::DashLine));
         P.drawLine(1, 7, 14, 7);
         P.setPen(QPen(Ink, 1, Qt::DotLine));
         P.drawLine(1, 11, 14, 11);
     }},
    {"Align1", [](QPainter& P) { AlignBlocks(P, false, 0); }},
    {"Align2", [](QPainter& P) { AlignBlocks(P, false, 1); }},
    {"Align3", [](QPainter& P) { CenterInWindow(P, false); }},
    {"Align4", [](QPainter& P) { SpaceEqually(P, false); }},
    {"Align5", [](QPainter& P) { AlignBlocks(P, false, 2); }},
    {"Align6", [](QPainter& P) { AlignBlocks(P, true, 0); }},
    {"Align7", [](QPainter& P) { AlignBlocks(P, true, 1); }},
    {"Align8", [](QPainter& P) { CenterInWindow(P, true); }},
    {"Align9", [](QPainter& P) { SpaceEqually(P, true); }},
    {"Align10", [](QPainter& P) { AlignBlocks(P, true, 2); }},
};

} // namespace

void TfrDesignerForm::DrawToolGlyphs()
{
    for (const auto& [Name, Draw] : Art) {
        auto* B = dynamic_cast<TfrSpeedButton*>(findChild<QWidget*>(QString::fromLatin1(Name)));
        if (!B)
            continue;
        B->SetGlyph(frDrawnGlyph(Draw).get());
    }
}
