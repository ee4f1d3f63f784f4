#include "report/engine/FR_LineView.h"

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
