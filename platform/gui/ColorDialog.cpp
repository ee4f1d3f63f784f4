#include "platform/gui/ColorDialog.h"

#include <QColorDialog>
#include <QVBoxLayout>

TColorDialog::TColorDialog(QWidget* AOwner)
    : TForm(AOwner)
{
    setObjectName(QStringLiteral("ColorDialog"));
    SetBorderStyle(bsDialog);
    SetPosition(poScreenCenter);
    // The picker lives inside the window as a plain child, so the window (and
    // with it the seam) decides how it is shown.
    FPicker = new QColorDialog(this);
    FPicker->setWindowFlags(Qt::Widget);
    FPicker->setOptions(QColorDialog::DontUseNativeDialog);
    auto* Layout = new QVBoxLayout(this);
    Layout->setContentsMargins(0, 0, 0, 0);
    Layout->addWidget(FPicker);
    QObject::connect(FPicker, &QColorDialog::accepted, this, [this] { SetModalResult(mrOk); });
    QObject::connect(FPicker, &QColorDialog::rejected, this, [this] { SetModalResult(mrCancel); });
    QObject::connect(FPicker, &QColorDialog::finished, this, [this](int) { FPicker->setVisible(true); });
}

TColorDialog::~TColorDialog() = default;

bool TColorDialog::Execute()
{
    FPicker->setCurrentColor(ColorToQColor(FColor));
    FPicker->setVisible(true);
    if (ShowModal() != mrOk)
        return false;
    FColor = QColorToColor(FPicker->currentColor());
    return true;
}
