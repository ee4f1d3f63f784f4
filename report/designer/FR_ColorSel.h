// The designer's colour names and the drop-down colour panel of the colour
// tool buttons. The name table is shared with the object inspector, which
// shows a colour by its name when it has one and as "$" + hex digits
// otherwise.
#pragma once

#include "platform/gui/Controls.h"
#include "platform/gui/Graphics.h"

#include <QString>
#include <array>
#include <functional>

class TfrSpeedButton;

struct TfrColorName
{
    TColor Value;
    const char* Name;
};

constexpr int frColorCount = 42;
// In the order shown: sixteen basic colours, transparent, then the system colours.
extern const std::array<TfrColorName, frColorCount> frColors;
constexpr TColor clTransparent = 0x1FFFFFFF;

// Index of the entry with that value or that name (any case), -1 when none.
int frColorIndex(TColor Value);
int frColorIndexOf(const QString& Name);
// A table name, else "$" and at least six hex digits (eight with a high byte).
QString frColorText(TColor Value);
// A table name (any case) or an integer ("$" hex or decimal) within 32 bits;
// false for anything else.
bool frTryTextToColor(const QString& Text, TColor& Value);

class TColorSelector : public TCustomControl
{
public:
    explicit TColorSelector(QWidget* AParent = nullptr);

    TColor Color() const { return FColor; }
    // Shows a colour as the current one: its button down, or, for a colour
    // without a button, a swatch on "Other...".
    void SetColor(TColor Value);
    // Tags 0-15 the basic colours, 16 "Transparent", 17 "Other...".
    TfrSpeedButton* Button(int Tag) const;
    // A button's choice, as a click on it makes it.
    void ButtonClick(int Tag);

    void Paint() override;

    std::function<void(QObject* Sender)> OnColorSelected;

private:
    TfrSpeedButton* FButtons[18] = {};
    TColor FColor = clBlack;
};
