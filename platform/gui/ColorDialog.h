// The classic colour dialog: a window holding Qt's colour picker, started with
// a colour and read back after OK. It is shown through the modal seam like any
// window, so a test answers it by setting the picker's colour and pressing OK,
// or by cancelling.
#pragma once

#include "platform/gui/Forms.h"
#include "platform/gui/Graphics.h"

class QColorDialog;

class TColorDialog : public TForm
{
public:
    explicit TColorDialog(QWidget* AOwner = nullptr);
    ~TColorDialog() override;

    // The colour shown at the start, and the chosen one after OK. A system
    // colour starts as the colour it stands for; the answer is plain RGB.
    TColor Color() const { return FColor; }
    void SetColor(TColor Value) { FColor = Value; }
    // Opens with the custom-colour part expanded (the picker always shows it).
    bool FullOpen() const { return FFullOpen; }
    void SetFullOpen(bool Value) { FFullOpen = Value; }

    // True when the user confirmed a colour.
    bool Execute();

    QColorDialog* Picker() const { return FPicker; }

private:
    QColorDialog* FPicker;
    TColor FColor = clBlack;
    bool FFullOpen = false;
};
