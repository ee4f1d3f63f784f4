#include "report/designer/FR_PageF.h"

TfrPageForm::TfrPageForm(QWidget* Designer)
    : TForm(Designer)
{
    setObjectName(QStringLiteral("frPageForm"));
    setWindowFlags(Qt::Tool);
    SetCaption(QStringLiteral("frPageForm"));
    SetClientSize(112, 86);
    SetKeyPreview(true);
}

void TfrPageForm::moveEvent(QMoveEvent* Event)
{
    TForm::moveEvent(Event);
    if (OnResize)
        OnResize(nullptr);
}
