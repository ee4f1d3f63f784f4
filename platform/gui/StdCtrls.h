// TButton: a push button with the classic modal result. A click first hands
// the modal result to its window, then runs OnClick, which may change it.
#pragma once

#include "platform/gui/ModalSeam.h"

#include <QPushButton>
#include <functional>

class TButton : public QPushButton
{
public:
    explicit TButton(QWidget* AParent = nullptr);

    QString Caption() const { return text(); }
    void SetCaption(const QString& Value) { setText(Value); }
    TModalResult ModalResult() const { return FModalResult; }
    void SetModalResult(TModalResult Value) { FModalResult = Value; }
    // Enter presses the default button of a window, Esc its cancel button.
    bool Default() const { return FDefault; }
    void SetDefault(bool Value);
    bool Cancel() const { return FCancel; }
    void SetCancel(bool Value) { FCancel = Value; }
    int Tag() const { return FTag; }
    void SetTag(int Value) { FTag = Value; }

    // What a press of the button does; a disabled or hidden button does nothing.
    virtual void Click();

    std::function<void(QObject* Sender)> OnClick;

private:
    TModalResult FModalResult = mrNone;
    bool FDefault = false;
    bool FCancel = false;
    int FTag = 0;
};
