// TCalculatorEh: a small four-function calculator built in code (display
// panel, 23 buttons by tag), and TPopupCalculatorEh, its drop-down window
// that number edits and numeric grid cells open from their button. The
// engine works on characters (CalcKey); keys and button clicks both reach it.
// It knows nothing of fields: the owner reads Value when the pop-up closes.
#pragma once

#include "platform/gui/Controls.h"
#include "platform/rtl/Variants.h"

#include <array>
#include <functional>

class QLabel;
class QWidget;
class TSpeedButtonEh;

class TCalculatorEh : public TCustomControl
{
public:
    explicit TCalculatorEh(QWidget* AParent = nullptr);
    ~TCalculatorEh() override;

    // 0: the next digit starts a number, 1: a number is being entered, 2: error.
    int Status() const { return FStatus; }
    QChar Operator() const { return FOperator; }
    double Operand() const { return FOperand; }
    QString DisplayText() const;
    // Status 0, display 0, pending operator "=", operand 0.
    void Clear();
    // The display as a number; False in the error state.
    bool DisplayValue(double& Value) const;
    // Shows a result; one that is not finite puts the calculator in error.
    void SetDisplayValue(double Value);
    // The engine: one key (digits, operators, control characters).
    virtual void CalcKey(QChar Key);
    // The key a button of the given tag sends.
    static QChar KeyOfTag(int Tag);

    // The resolution the calculator's layout was stored for; another than the
    // screen's rescales font and geometry. Values below 36 other than 0 are
    // ignored; 0 keeps the font as stored.
    int PixelsPerInch() const { return FPixelsPerInch; }
    void SetPixelsPerInch(int Value);

    QWidget* Panel1;
    QLabel* TextBox;
    TSpeedButtonEh* spEqual;
    // The buttons by tag (index = tag - 1).
    TSpeedButtonEh* Buttons(int Tag) const { return FButtons[size_t(Tag - 1)]; }

    void SpeedButtonClick(QObject* Sender);
    void KeyPress(QChar& Key) override;
    void Paint() override;

protected:
    // Room kept around the buttons for a border drawn by a descendant.
    void SetBorderWidth(int Value);
    int BorderWidth() const { return FBorderWidth; }

private:
    void BuildControls();
    void ApplyScaling();
    void PlaceControls();
    void StartNumber();
    void SetDisplay(const QString& Text);
    void SetError();
    void Operate(QChar Key);
    void UpdateEqualCaption();
    void PasteNumber();

    std::array<TSpeedButtonEh*, 23> FButtons{};
    int FStatus = 0;
    QChar FOperator = u'=';
    double FOperand = 0;
    int FPixelsPerInch = 96;
    int FBorderWidth = 0;
    // Geometry is designed for a "0" this many pixels high and scaled to the font.
    int FScaleM = 13;
    int FScaleD = 13;
};

// The calculator as a drop-down: a frameless window that never takes the
// focus; its owner forwards keys to it and hears its close-up.
class TPopupCalculatorEh : public TCalculatorEh
{
public:
    explicit TPopupCalculatorEh(QWidget* AOwner = nullptr);
    ~TPopupCalculatorEh() override;

    // The display value as a double, Null in the error state.
    Variant Value() const;
    // Clears the calculator and shows the value (Null shows 0).
    void SetValue(const Variant& Value);
    // Buttons are drawn flat or raised, as the owner's own buttons.
    bool Flat() const { return FFlat; }
    void SetFlat(bool Value);
    bool Ctl3D() const { return FCtl3D; }
    void SetCtl3D(bool Value);

    void KeyDown(int& Key, TShiftState Shift) override;
    void KeyPress(QChar& Key) override;
    bool MouseWheel(TShiftState Shift, int WheelDelta, int X, int Y) override;
    void Paint() override;

    // The owner's close-up: True for "Ok" or Enter, False for Esc and Cancel.
    std::function<void(bool Accept)> OnCloseUp;

private:
    void CloseUp(bool Accept);

    bool FFlat = true;
    bool FCtl3D = true;
};
