#include "app/ProgressForm.h"

#include "platform/gui/Application.h"

#include <QProgressBar>

TFormProgress* FormProgress = nullptr;

TFormProgress::TFormProgress(QWidget* AOwner) : TForm(AOwner)
{
    setObjectName(QStringLiteral("FormProgress"));
    SetCaption(QStringLiteral("正在统计，请稍候..."));
    SetBorderStyle(bsDialog);
    SetPosition(poScreenCenter);
    SetClientSize(320, 48);
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setGeometry(12, 14, 296, 20);
    ProgressBar1->setRange(0, 100);
}

void TFormProgress::SetProgress(int Position)
{
    ProgressBar1->setValue(Position);
    Application()->ProcessMessages();
}
