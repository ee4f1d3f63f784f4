// The about box of the report engine: its logo and the maker's addresses as
// links. The whole client area drags the window.
#pragma once

#include "platform/gui/Forms.h"

#include <array>

class QFrame;
class QLabel;
class TButton;

class TfrAboutForm : public TForm
{
public:
    TfrAboutForm();

    QFrame* Panel1;
    QLabel* Image1;                    // the logo (link kind 3)
    std::array<QLabel*, 4> Captions;   // what each link is
    std::array<QLabel*, 4> Links;      // lbUrl1..lbUrl4
    TButton* Button1;

    // Link kinds carried by the labels' "Tag" property.
    enum : int { lkMail = 1, lkWeb = 2, lkLogo = 3 };

    void lbUrlClick(QLabel* Sender);
    void lbUrlMouseDown(QLabel* Sender);
    void lbUrlMouseMove(QLabel* Sender);
    void lbUrlMouseUp();
    // Over the form or the panel: no link is underlined.
    void FormMouseMove();

protected:
    bool eventFilter(QObject* Watched, QEvent* Event) override;
    void mousePressEvent(QMouseEvent* Event) override;

private:
    void StartDrag();
    QLabel* FPressed = nullptr;
};
