#include "platform/gui/StdCtrls.h"

#include "platform/gui/Application.h"
#include "platform/gui/Forms.h"

TButton::TButton(QWidget* AParent) : QPushButton(AParent)
{
    setAutoDefault(false);
    QObject::connect(this, &QPushButton::clicked, this, [this] {
        // Qt already checked that the button is enabled.
        try {
            if (auto* Form = dynamic_cast<TForm*>(window()); Form && FModalResult != mrNone)
                Form->SetModalResult(FModalResult);
            if (OnClick)
                OnClick(this);
        } catch (const std::exception& E) {
            Application()->HandleException(E);
        }
    });
}

void TButton::SetDefault(bool Value)
{
    FDefault = Value;
    setDefault(Value);
}

void TButton::Click()
{
    if (isEnabled() && isVisibleTo(window()))
        click();
}
