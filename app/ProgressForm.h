// TFormProgress: the small window with one progress bar that the monthly
// reports show, not modally, while they read and write their figures.
#pragma once

#include "platform/gui/Forms.h"

class QProgressBar;

class TFormProgress : public TForm
{
public:
    explicit TFormProgress(QWidget* AOwner = nullptr);

    QProgressBar* ProgressBar1;

    // Moves the bar and lets the window paint.
    void SetProgress(int Position);
};

extern TFormProgress* FormProgress;
