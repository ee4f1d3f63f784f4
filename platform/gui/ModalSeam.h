// The one road by which windows are shown modally and message boxes asked.
// In the program it runs a nested event loop or a QMessageBox. A test installs
// handlers (TModalHandlers) that receive the window or the message, act as a
// user would and return the answer without any event loop. Every message is
// recorded, whoever answers it.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

class TForm;

using TModalResult = int;
// Modal results; the first seven equal the classic message-box answers.
constexpr TModalResult mrNone = 0, mrOk = 1, mrCancel = 2, mrAbort = 3, mrRetry = 4, mrIgnore = 5,
    mrYes = 6, mrNo = 7, mrAll = 8, mrNoToAll = 9, mrYesToAll = 10, mrClose = 11;
constexpr int IDOK = mrOk, IDCANCEL = mrCancel, IDABORT = mrAbort, IDRETRY = mrRetry,
    IDIGNORE = mrIgnore, IDYES = mrYes, IDNO = mrNo;

enum class TMessageIcon { miNone, miError, miWarning, miInformation, miQuestion };
using enum TMessageIcon;

struct TMessageRequest
{
    QString Caption;
    QString Text;
    TMessageIcon Icon = miNone;
    std::vector<TModalResult> Buttons{mrOk}; // in the order shown
    TModalResult DefaultButton = mrOk;

    // "Caption|Text|icon|OK,Cancel" for compact assertions.
    QString Describe() const;
};

QString ModalResultName(TModalResult Result); // "OK", "Cancel", "Yes" ...

// No screen to show a real dialog on (the offscreen and minimal platforms).
bool Headless();

// What a file dialog asks (TOpenDialog, TSaveDialog): the answer is a path.
struct TFileRequest
{
    bool Save = false;
    QString Title;
    QString FileName;          // proposed name, or a wildcard such as "*.mdb"
    QString InitialDir;
    QString DefaultExt;        // without the dot
    QStringList NameFilters;   // "Description (pattern pattern)", in the order shown
    // The filter shown first (from 1); the dialog, or a test's handler, puts
    // the filter the user left chosen here with the answer.
    mutable int FilterIndex = 1;
    // Ask before a file that exists is handed back, OwnFile excepted; the
    // file is the name with the picked filter's extension (AddFileExt).
    bool OverwritePrompt = false;
    QString OwnFile;
};

class TModalSeam
{
public:
    using TFormHandler = std::function<TModalResult(TForm* Form)>;
    using TMessageHandler = std::function<TModalResult(const TMessageRequest& Message)>;
    // The chosen path, or empty text for Cancel.
    using TFileHandler = std::function<QString(const TFileRequest& Request)>;

    // Runs a modal window (called by TForm::ShowModal once the window is shown).
    // With a handler: its answer; mrNone there means "left as it is", and the
    // window's own modal result, or failing that the close box, decides.
    static TModalResult RunForm(TForm* Form);
    // Asks a message. Without a handler on a headless platform the default
    // button answers, so that no test can hang on a forgotten box.
    static TModalResult Ask(const TMessageRequest& Message);
    // Asks for a file name; empty text is Cancel. Without a handler on a
    // headless platform the dialog is cancelled.
    static QString AskFileName(const TFileRequest& Request);

    static const TFormHandler& FormHandler();
    static void SetFormHandler(TFormHandler Handler);
    static const TMessageHandler& MessageHandler();
    static void SetMessageHandler(TMessageHandler Handler);
    static const TFileHandler& FileHandler();
    static void SetFileHandler(TFileHandler Handler);

    // Every message asked since the last ClearMessages (the last 1000 kept).
    static const std::vector<TMessageRequest>& Messages();
    static QStringList MessageTexts();
    static void ClearMessages();
};

// Installs test handlers for its lifetime, clears the recorded messages, and
// puts back whatever was installed before.
class TModalHandlers
{
public:
    TModalHandlers(TModalSeam::TFormHandler Forms, TModalSeam::TMessageHandler Messages,
                   TModalSeam::TFileHandler Files = nullptr);
    ~TModalHandlers();
    TModalHandlers(const TModalHandlers&) = delete;
    TModalHandlers& operator=(const TModalHandlers&) = delete;

private:
    TModalSeam::TFormHandler FSavedForms;
    TModalSeam::TMessageHandler FSavedMessages;
    TModalSeam::TFileHandler FSavedFiles;
};
