#include "report/engine/FR_Control.h"

#include "report/engine/FR_Globals.h"

#include <QImage>
#include <QWidget>

TfrControl::TfrControl()
{
    FObjectType = gtAddIn;
    FFillColor = clBtnFace;
    FFrameTyp = 0;
}

TfrControl::~TfrControl() = default;

void TfrControl::PlaceControl(QWidget* Parent)
{
    if (!FControl)
        return;
    FControl->setParent(Parent);
    FControl->setGeometry(Left(), Top(), Width(), Height());
}

void TfrControl::SetPropValue(const QString& Name, const Variant& Value)
{
    TfrView::SetPropValue(Name, Value);
    if (UpperCase(Name) == u"VISIBLE" && FControl)
        FControl->setVisible(Visible());
}

void TfrControl::RegisterProperties()
{
    ClearPropList();
    AddProperty(QStringLiteral("Name"), PropString | PropOneObject);
    for (const char* Name : {"Left", "Top", "Width", "Height"})
        AddProperty(QString::fromLatin1(Name), PropSize);
    AddProperty(QStringLiteral("Visible"), PropBoolean);
    AddProperty(QStringLiteral("Restrictions"), PropHasEditor, frRestrictionsEditor);
}

void TfrControl::Draw(TCanvas* ACanvas)
{
    ApplyBandAlign(ACanvas);
    if (FControl)
        FControl->resize(Width(), Height());
    TfrDrawScope Scope(this);
    PaintControl();
}

void TfrControl::PaintControl()
{
    if (DisableDrawing || !FCanvas)
        return;
    QImage Image(Width() + 1, Height() + 1, QImage::Format_RGB32);
    if (Image.isNull())
        return;
    Image.fill(ColorToQColor(clBtnFace));
    if (FControl) {
        FControl->move(0, 0);
        FControl->render(&Image, QPoint(), QRegion(),
                         QWidget::DrawWindowBackground | QWidget::DrawChildren);
    }
    FCanvas->DrawImage(Left(), Top(), Image);
}
