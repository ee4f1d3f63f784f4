#include "platform/gui/Application.h"

#include "platform/gui/Forms.h"
#include "platform/gui/ModalSeam.h"
#include "platform/rtl/SysUtils.h"

#include <QApplication>
#include <QFileInfo>

TApplication* Application()
{
    static TApplication Instance;
    return &Instance;
}

TApplication::~TApplication()
{
    // Widgets cannot outlive QApplication; forms left at exit are let go.
}

void TApplication::AdoptForm(TForm* Form)
{
    FForms.emplace_back(Form);
    if (!FMainForm)
        FMainForm = Form;
    Form->DoCreate();
}

void TApplication::DestroyForms()
{
    for (auto It = FForms.rbegin(); It != FForms.rend(); ++It)
        delete It->data();
    FForms.clear();
    FMainForm = nullptr;
}

QString TApplication::ExeName() const
{
    return QCoreApplication::applicationFilePath();
}

QString TApplication::ExePath() const
{
    return ExtractFilePath(ExeName());
}

QString TApplication::Title() const
{
    return FTitle.isEmpty() ? QFileInfo(ExeName()).completeBaseName() : FTitle;
}

void TApplication::Run()
{
    if (FTerminated)
        return;
    if (FMainForm)
        FMainForm->Show();
    if (FTerminated || !QCoreApplication::instance())
        return;
    FRunning = true;
    QCoreApplication::exec();
    FRunning = false;
}

void TApplication::Terminate()
{
    FTerminated = true;
    // Open modal windows end as cancelled; then the loop itself.
    for (QWidget* W : QApplication::topLevelWidgets()) {
        if (auto* F = dynamic_cast<TForm*>(W); F && F->InModal())
            F->SetModalResult(mrCancel);
    }
    if (FRunning)
        QCoreApplication::exit(0);
}

void TApplication::ProcessMessages()
{
    QCoreApplication::processEvents();
}

int TApplication::MessageBox(const QString& Text, const QString& Caption, unsigned Flags)
{
    TMessageRequest M;
    M.Caption = Caption.isEmpty() ? Title() : Caption;
    M.Text = Text;
    switch (Flags & 0xF0) {
    case MB_ICONERROR: M.Icon = miError; break;
    case MB_ICONQUESTION: M.Icon = miQuestion; break;
    case MB_ICONWARNING: M.Icon = miWarning; break;
    case MB_ICONINFORMATION: M.Icon = miInformation; break;
    default: M.Icon = miNone; break;
    }
    switch (Flags & 0xF) {
    case MB_OKCANCEL: M.Buttons = {mrOk, mrCancel}; break;
    case MB_ABORTRETRYIGNORE: M.Buttons = {mrAbort, mrRetry, mrIgnore}; break;
    case MB_YESNOCANCEL: M.Buttons = {mrYes, mrNo, mrCancel}; break;
    case MB_YESNO: M.Buttons = {mrYes, mrNo}; break;
    case MB_RETRYCANCEL: M.Buttons = {mrRetry, mrCancel}; break;
    default: M.Buttons = {mrOk}; break;
    }
    const size_t Default = (Flags >> 8) & 0xF;
    M.DefaultButton = M.Buttons[Default < M.Buttons.size() ? Default : 0];
    return TModalSeam::Ask(M);
}

void TApplication::HandleException(const std::exception& E)
{
    const auto* Ours = dynamic_cast<const Exception*>(&E);
    MessageBox(Ours ? Ours->Message() : QString::fromLocal8Bit(E.what()), Title(), MB_OK | MB_ICONERROR);
}
