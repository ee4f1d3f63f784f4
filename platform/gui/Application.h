// The application object: program file and folder, title, help file, main
// window, the message loop and its end, and the message box of the classic API.
// Forms made by CreateForm belong to it and live until the program ends.
#pragma once

#include <QPointer>
#include <QString>
#include <exception>
#include <vector>

class TForm;

enum : unsigned {
    MB_OK = 0x0, MB_OKCANCEL = 0x1, MB_ABORTRETRYIGNORE = 0x2, MB_YESNOCANCEL = 0x3,
    MB_YESNO = 0x4, MB_RETRYCANCEL = 0x5,
    MB_ICONHAND = 0x10, MB_ICONERROR = 0x10, MB_ICONSTOP = 0x10, MB_ICONQUESTION = 0x20,
    MB_ICONEXCLAMATION = 0x30, MB_ICONWARNING = 0x30, MB_ICONASTERISK = 0x40,
    MB_ICONINFORMATION = 0x40,
    MB_DEFBUTTON1 = 0x0, MB_DEFBUTTON2 = 0x100, MB_DEFBUTTON3 = 0x200
};

class TApplication
{
public:
    TApplication() = default;
    ~TApplication();
    TApplication(const TApplication&) = delete;
    TApplication& operator=(const TApplication&) = delete;

    // Constructs the form, keeps it, and runs its OnCreate. The first form
    // created becomes the main window.
    template <class T>
    void CreateForm(T*& Reference)
    {
        Reference = new T(nullptr);
        AdoptForm(Reference);
    }
    void AdoptForm(TForm* Form);
    void DestroyForms();

    QString ExeName() const;      // full path of the executable
    QString ExePath() const;      // its folder, with the trailing '/'
    QString Title() const;
    void SetTitle(const QString& Value) { FTitle = Value; }
    QString HelpFile() const { return FHelpFile; }
    void SetHelpFile(const QString& Value) { FHelpFile = Value; }
    TForm* MainForm() const { return FMainForm; }
    void SetMainForm(TForm* Value) { FMainForm = Value; }

    // Shows the main window and runs the message loop until Terminate. A
    // Terminate before (the main window's OnShow) ends Run at once.
    void Run();
    void Terminate();
    bool Terminated() const { return FTerminated; }
    void ResetTerminated() { FTerminated = false; } // for tests that run a program twice
    void ProcessMessages();

    // The classic message box: MB_* flags in, IDOK.. answers out.
    int MessageBox(const QString& Text, const QString& Caption, unsigned Flags = MB_OK);
    // Shows an exception that reached an action's edge as an error box.
    void HandleException(const std::exception& E);

private:
    std::vector<QPointer<TForm>> FForms;
    TForm* FMainForm = nullptr;
    QString FTitle;
    QString FHelpFile;
    bool FTerminated = false;
    bool FRunning = false;
};

TApplication* Application();
