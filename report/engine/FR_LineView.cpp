#include "report/engine/FR_LineView.h"

#include <cmath>

void frRegisterLineView()
{
    frRegisterViewClass(gtLine, QStringLiteral("TfrLineView"), [] { return std::make_unique<TfrLineView>(); });
}

TfrLineView::TfrLineView()
{
    FBaseName = QStringLiteral("Line");
    FObjectType = gtLine;
    FFrameTyp = frbLeft;
    FFillColor = clWhite;
}

TfrLineView::~TfrLineView() = default;

void TfrLineView::RegisterProperties()
{
    TfrStretcheable::RegisterProperties();
    AddProperty(QStringLiteral("Stretched"), PropBoolean);
}

void TfrLineView::Draw(TCanvas* ACanvas)
{
    TCanvasState State(ACanvas);
    ApplyBandAlign(ACanvas);
    if (Width() <= Height()) {
        SetWidth(0);
        SetFrameTyp(frbLeft);
    } else {
        SetHeight(0);
        SetFrameTyp(frbTop);
    }
    TfrDrawScope Scope(this);
    DrawFrame();
}

QRegion TfrLineView::GetClipRgn(bool Extended)
{
    const double W = FrameWidth();
    const bool Double = FrameStyle() == fsDouble;
    const int A = static_cast<int>(Double ? W * 1.5 : W / 2);
    const int B = static_cast<int>(Double ? std::trunc((W - 1) / 2) + W : (W - 1) / 2);
    int L = Left(), T = Top(), R = Left() + Width() + 1, Bt = Top() + Height() + 1;
    if (FrameTyp() == frbLeft) {
        L -= A;
        R += B;
    } else {
        T -= A;
        Bt += B;
    }
    const int E = Extended ? 10 : 0;
    return CreateRectRgn(L - E, T - E, R + E, Bt + E);
}
