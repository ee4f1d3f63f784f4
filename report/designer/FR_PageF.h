// The window that stands for a dialog page of the report while the designer
// edits it. It floats over the designer window and belongs to it.
#pragma once

#include "platform/gui/Forms.h"

class TfrPageForm : public TForm
{
public:
    explicit TfrPageForm(QWidget* Designer);

protected:
    // A move is reported through OnResize, so the designer keeps the page's
    // position as well as its size.
    void moveEvent(QMoveEvent* Event) override;
};
