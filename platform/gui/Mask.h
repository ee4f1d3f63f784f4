// Classic edit masks ("!999-9999;1;_": body, save-literals flag, blank
// character) over Qt's input masks, for the grid's in-place editor and for
// formatting a text through a mask.
#pragma once

#include <QString>

// A classic edit mask as a Qt input mask; empty when the mask is empty or
// cannot be expressed without changing the stored text (literals left out of
// the value, unknown mask characters).
QString InputMaskFromEditMask(const QString& EditMask);

// Value laid into the mask as a masked edit shows it: the mask's literals in
// their places, the blank character where Value leaves a position empty. A
// Value without the literals (save-literals 0) gets them inserted. A mask
// that has no input-mask form leaves Value as it is.
QString FormatMaskText(const QString& EditMask, const QString& Value);
