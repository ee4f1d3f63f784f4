// The screen object: the application-wide cursor, the registry of the
// program's own cursors, and the screen's size, work area and resolution.
#pragma once

#include "platform/gui/Controls.h"

#include <QCursor>
#include <QRect>
#include <map>

class TScreen
{
public:
    // crDefault lets each control show its own cursor again.
    TCursor Cursor() const { return FCursor; }
    void SetCursor(TCursor Value);
    // Stock cursors for negative numbers, registered ones for positive.
    QCursor Cursors(TCursor Index) const;
    void SetCursors(TCursor Index, const QCursor& Cursor);
    void ClearCursors() { FCustom.clear(); }

    int Width() const;
    int Height() const;
    QRect WorkAreaRect() const;
    int PixelsPerInch() const { return 96; }

private:
    TCursor FCursor = crDefault;
    bool FOverriding = false;
    std::map<TCursor, QCursor> FCustom;
};

TScreen* Screen();

// Shows the hourglass for its lifetime and puts back the cursor it found.
class TWaitCursor
{
public:
    explicit TWaitCursor(TCursor Cursor = crHourGlass);
    ~TWaitCursor();
    TWaitCursor(const TWaitCursor&) = delete;
    TWaitCursor& operator=(const TWaitCursor&) = delete;

private:
    TCursor FSaved;
};
