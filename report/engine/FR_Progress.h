// The window shown while a report is prepared, printed or exported: two
// labels and Cancel. Show runs it modally and starts the work from a posted
// call once the window is up, so that it paints before the work begins; the
// work updates the labels and processes pending messages as it goes. Cancel
// stops the report at its next test of the stop flag.
#pragma once

#include "platform/gui/Forms.h"

#include <functional>
#include <memory>

class QLabel;
class TButton;
class TPostedCall;
class TfrReport;

class TfrProgressForm : public TForm
{
public:
    explicit TfrProgressForm(QWidget* AOwner = nullptr);
    ~TfrProgressForm() override;

    // Clears Label2, keeps Report, queues OnBeforeModal and shows the window
    // modally; the work ends the window through ModalResult.
    TModalResult Show(TfrReport* Report);

    TfrReport* Report() const { return FReport; }
    // The text ReportProgress puts before the page number.
    QString FirstCaption;
    // The work to run once the window is shown.
    std::function<void()> OnBeforeModal;

    QLabel* Label1;
    QLabel* Label2;
    TButton* Button1;

    void Button1Click(QObject* Sender);

private:
    void RunWork();

    TfrReport* FReport = nullptr;
    std::unique_ptr<TPostedCall> FStart;
};

// The engine's one progress window (made with the engine's shared objects).
TfrProgressForm* frProgressForm();
