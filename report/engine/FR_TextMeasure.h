// Widths of view text, for wrapping and aligning memo lines and sizing titles.
// Qt's metrics of the font are asked one character at a time and kept per font,
// so measuring every prefix of a line costs one addition each; a test installs
// metrics of its own through the hook.
#pragma once

#include <QString>
#include <functional>
#include <vector>

class TFont;

// Width of Text in Font, in pixels of the font's resolution, without
// character spacing.
using TfrMeasureHook = std::function<double(const TFont& Font, const QString& Text)>;
// Every later measurement goes through Hook; an empty one restores Qt's metrics.
void frSetMeasureHook(TfrMeasureHook Hook);

// The widths of one text's prefixes. Positions are UTF-16 indexes; a surrogate
// pair counts as one character.
class TfrTextWidths
{
public:
    // CharSpacing extra pixels follow every character, as on the canvas.
    TfrTextWidths(const TFont& Font, int CharSpacing);
    void SetText(const QString& Text);
    // Width of the characters from From up to (not including) To.
    int Width(int From, int To) const;
    int Width() const { return Width(0, static_cast<int>(FPrefix.size()) - 1); }

private:
    const TFont& FFont;
    int FCharSpacing;
    std::vector<double> FPrefix;   // FPrefix[i]: width of the first i code units
};

// The width of a whole text (its longest line when it holds line breaks is not
// asked here: the text is one line).
int frTextWidth(const TFont& Font, const QString& Text, int CharSpacing);
