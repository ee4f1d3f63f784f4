// 3-D edges and frame controls (check boxes, push buttons, combo and spin
// arrows) drawn in the classic palette, pixel for pixel the same on every desktop.
#include "platform/gui/Graphics.h"

#include <QPainter>

// Top and left in one colour, then bottom and right over the corners.
void TCanvas::EdgeLines(const QRect& R, TColor TopLeft, TColor BottomRight, unsigned Flags)
{
    const int L = R.left(), T = R.top(), Rt = RectRight(R), Bt = RectBottom(R);
    if (Flags & BF_TOP)
        FillSolid(Rect(L, T, Rt, T + 1), TopLeft);
    if (Flags & BF_LEFT)
        FillSolid(Rect(L, T, L + 1, Bt), TopLeft);
    if (Flags & BF_BOTTOM)
        FillSolid(Rect(L, Bt - 1, Rt, Bt), BottomRight);
    if (Flags & BF_RIGHT)
        FillSolid(Rect(Rt - 1, T, Rt, Bt), BottomRight);
}

namespace {

QRect Shrink(const QRect& R, unsigned Flags)
{
    return Rect(R.left() + ((Flags & BF_LEFT) ? 1 : 0), R.top() + ((Flags & BF_TOP) ? 1 : 0),
                RectRight(R) - ((Flags & BF_RIGHT) ? 1 : 0), RectBottom(R) - ((Flags & BF_BOTTOM) ? 1 : 0));
}

} // namespace

bool TCanvas::DrawEdge(QRect& R, unsigned Edge, unsigned Flags)
{
    if (!P()->isActive())
        return false;
    QRect Work = R;
    const bool Mono = Flags & BF_MONO, Flat = Flags & BF_FLAT;
    const unsigned Outer = Edge & BDR_OUTER, Inner = Edge & BDR_INNER;
    if (Outer && Work.isValid()) {
        TColor TL, BR;
        if (Mono)
            TL = BR = clWindowFrame;
        else if (Flat)
            TL = BR = clBtnShadow;
        else if (Outer & BDR_RAISEDOUTER) {
            TL = (Flags & BF_SOFT) ? clBtnHighlight : cl3DLight;
            BR = cl3DDkShadow;
        } else {
            TL = clBtnShadow;
            BR = clBtnHighlight;
        }
        EdgeLines(Work, TL, BR, Flags);
        Work = Shrink(Work, Flags);
    }
    if (Inner && Work.isValid()) {
        TColor TL, BR;
        if (Mono)
            TL = BR = clWindow;
        else if (Flat)
            TL = BR = clBtnFace;
        else if (Inner & BDR_RAISEDINNER) {
            TL = (Flags & BF_SOFT) ? cl3DLight : clBtnHighlight;
            BR = clBtnShadow;
        } else {
            TL = cl3DDkShadow;
            BR = cl3DLight;
        }
        EdgeLines(Work, TL, BR, Flags);
        Work = Shrink(Work, Flags);
    }
    if ((Flags & BF_MIDDLE) && Work.isValid())
        FillSolid(Work, Mono ? clWindow : clBtnFace);
    if (Flags & BF_ADJUST)
        R = Work;
    Changed();
    return true;
}

void TCanvas::DrawCheckBox(QRect R, unsigned State)
{
    const bool Grayed = (State & DFCS_BUTTON3STATE) && (State & DFCS_CHECKED);
    const bool Inactive = State & DFCS_INACTIVE;
    if (State & (DFCS_FLAT | DFCS_MONO)) {
        EdgeLines(R, (State & DFCS_MONO) ? clWindowFrame : clBtnShadow,
                  (State & DFCS_MONO) ? clWindowFrame : clBtnShadow, BF_RECT);
        R = Shrink(R, BF_RECT);
    } else {
        DrawEdge(R, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
    }
    FillSolid(R, (Grayed || Inactive || (State & DFCS_PUSHED)) ? clBtnFace : clWindow);
    if (!(State & DFCS_CHECKED) || R.width() < 3 || R.height() < 3)
        return;
    // The tick: a V three pixels thick, scaled to the box (7 x 7 in a 9 x 9 box).
    const TColor Mark = (Grayed || Inactive) ? clBtnShadow : clWindowText;
    const int W = R.width(), H = R.height();
    const QPoint A(R.left() + W * 2 / 9, R.top() + H * 4 / 9 - 1);
    const QPoint B(R.left() + W * 4 / 9, R.top() + H * 6 / 9 - 1);
    const QPoint C(R.left() + W * 7 / 9 + 1, R.top() + H * 1 / 9 - 1);
    std::vector<QPoint> Pixels;
    int Dash = 0;
    const TPenStyle SavedStyle = FPen->Style();
    FPen->SetStyle(psSolid);
    for (int dy = 0; dy < 3; ++dy) {
        PlotLine(Pixels, A + QPoint(0, dy), B + QPoint(0, dy), Dash, R);
        PlotLine(Pixels, B + QPoint(0, dy), C + QPoint(0, dy), Dash, R);
    }
    FPen->SetStyle(SavedStyle);
    QPainter* Painter = P();
    ApplyClip(Painter);
    Painter->setClipRect(R, FHasClip ? Qt::IntersectClip : Qt::ReplaceClip);
    Painter->setCompositionMode(QPainter::CompositionMode_SourceOver);
    Painter->setPen(QPen(ColorToQColor(Mark), 1));
    Painter->drawPoints(Pixels.data(), int(Pixels.size()));
}

// A button face with a solid arrow; pushed buttons sink and the arrow moves by one.
void TCanvas::DrawScrollButton(QRect R, unsigned State)
{
    const int Kind = State & 0x1F;
    const bool Pushed = State & DFCS_PUSHED;
    if (State & DFCS_FLAT)
        DrawEdge(R, BDR_OUTER, BF_RECT | BF_FLAT | BF_MIDDLE);
    else if (Pushed)
        DrawEdge(R, BDR_SUNKENOUTER, BF_RECT | BF_FLAT | BF_MIDDLE);
    else
        DrawEdge(R, EDGE_RAISED, BF_RECT | BF_MIDDLE);
    const int S = std::max(2, (std::min(R.width(), R.height()) + 1) / 4);
    int CX = R.left() + (R.width() - 1) / 2, CY = R.top() + (R.height() - 1) / 2;
    if (Pushed) {
        ++CX;
        ++CY;
    }
    auto Arrow = [&](int OX, int OY, TColor Color) {
        for (int i = 0; i < S; ++i) {
            const int Half = S - 1 - i;
            QRect Row;
            switch (Kind) {
            case DFCS_SCROLLUP: Row = Rect(CX - i, CY - S / 2 + i, CX + i + 1, CY - S / 2 + i + 1); break;
            case DFCS_SCROLLLEFT: Row = Rect(CX - S / 2 + i, CY - i, CX - S / 2 + i + 1, CY + i + 1); break;
            case DFCS_SCROLLRIGHT: Row = Rect(CX - S / 2 + i, CY - Half, CX - S / 2 + i + 1, CY + Half + 1); break;
            default: Row = Rect(CX - Half, CY - S / 2 + i, CX + Half + 1, CY - S / 2 + i + 1); break;
            }
            FillSolid(Row.translated(OX, OY), Color);
        }
    };
    if (State & DFCS_INACTIVE) {
        Arrow(1, 1, clBtnHighlight);
        Arrow(0, 0, clBtnShadow);
    } else {
        Arrow(0, 0, clBtnText);
    }
}

bool TCanvas::DrawFrameControl(QRect& R, unsigned Type, unsigned State)
{
    if (!P()->isActive() || R.isEmpty())
        return false;
    if (Type == DFC_BUTTON) {
        if (State & DFCS_BUTTONPUSH) {
            QRect Face = R;
            DrawEdge(Face, (State & DFCS_PUSHED) ? EDGE_SUNKEN : EDGE_RAISED,
                     BF_RECT | BF_MIDDLE | ((State & DFCS_FLAT) ? unsigned(BF_FLAT) : 0u));
        } else if (State & DFCS_BUTTONRADIO) {
            QPainter* Painter = P();
            ApplyClip(Painter);
            Painter->setCompositionMode(QPainter::CompositionMode_SourceOver);
            Painter->setPen(ColorToQColor(clBtnShadow));
            Painter->setBrush(ColorToQColor((State & DFCS_INACTIVE) ? clBtnFace : clWindow));
            Painter->drawEllipse(R.adjusted(0, 0, -1, -1));
            if (State & DFCS_CHECKED) {
                Painter->setBrush(ColorToQColor(clWindowText));
                Painter->setPen(Qt::NoPen);
                const int D = std::max(2, R.width() / 3);
                Painter->drawEllipse(QRect(R.center().x() - D / 2, R.center().y() - D / 2, D, D));
            }
        } else {
            DrawCheckBox(R, State);
        }
    } else if (Type == DFC_SCROLL) {
        DrawScrollButton(R, State);
    } else {
        return false;
    }
    Changed();
    return true;
}
