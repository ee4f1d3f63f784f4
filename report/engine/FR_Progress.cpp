#include "report/engine/FR_Progress.h"

#include "platform/gui/ExtCtrls.h"
#include "platform/gui/StdCtrls.h"
#include "report/engine/FR_Class.h"
#include "report/engine/FR_Utils.h"

#include <QLabel>

TfrProgressForm::TfrProgressForm(QWidget* AOwner) : TForm(AOwner)
{
    setObjectName(QStringLiteral("frProgressForm"));
    setWindowFlag(Qt::WindowStaysOnTopHint);
    SetBorderStyle(bsDialog);
    SetPosition(poScreenCenter);
    SetCaption(QString());
    SetClientSize(245, 106);
    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setGeometry(8, 12, 229, 16);
    Label2 = new QLabel(this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setAlignment(Qt::AlignCenter);
    Label2->setGeometry(8, 36, 229, 16);
    Button1 = new TButton(this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->SetCaption(LoadEngineString(55001));
    Button1->SetCancel(true);
    Button1->setGeometry(85, 68, 75, 25);
    Button1->OnClick = [this](QObject* Sender) { Button1Click(Sender); };
    FStart = std::make_unique<TPostedCall>([this] { RunWork(); });
}

TfrProgressForm::~TfrProgressForm() = default;

TModalResult TfrProgressForm::Show(TfrReport* Report)
{
    Label2->clear();
    FReport = Report;
    FStart->Post();
    TModalResult Result = mrCancel;
    try {
        Result = ShowModal();
    } catch (...) {
        FStart->Cancel();
        FReport = nullptr;
        throw;
    }
    // A window ended before its work started leaves nothing queued behind.
    FStart->Cancel();
    FReport = nullptr;
    return Result;
}

void TfrProgressForm::RunWork()
{
    if (OnBeforeModal)
        OnBeforeModal();
}

void TfrProgressForm::Button1Click(QObject*)
{
    if (FReport)
        FReport->SetTerminated(true);
    SetModalResult(mrCancel);
}
