// TFormPhone2: a fixed sheet that explains how a USB caller-ID box lets the
// lookup find a caller: a drawn diagram (telephone, box, computer) and six
// captions. It reads and stores nothing.
#pragma once

#include "platform/gui/Forms.h"

class QAction;
class TBitBtn;
class TCustomControl;

class TFormPhone2 : public TForm
{
public:
    explicit TFormPhone2(QWidget* AOwner = nullptr);

    TCustomControl* Image1; // the diagram
    TBitBtn* BitBtn1;
    QAction* ActionClose;

    void ActionCloseExecute(QObject* Sender);
};

extern TFormPhone2* FormPhone2;
