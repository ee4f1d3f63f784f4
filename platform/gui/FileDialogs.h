// The open and save dialogs of the classic API: a proposed file name, a
// starting folder, a default extension and the classic filter text
// ("Mdb Files (*.mdb)|*.MDB", pairs of description and patterns). Execute asks
// through the modal seam, so tests answer with a path or cancel; headless
// without a handler the dialog is cancelled. The dialog matches patterns in
// any letter case, as the files they stand for were named on a case-blind
// system.
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

class TOpenDialog : public QObject
{
public:
    explicit TOpenDialog(QObject* AOwner = nullptr);

    QString FileName() const { return FFileName; }
    void SetFileName(const QString& Value) { FFileName = Value; }
    QString InitialDir() const { return FInitialDir; }
    void SetInitialDir(const QString& Value) { FInitialDir = Value; }
    // With or without the leading dot; added to a chosen name that has no extension.
    QString DefaultExt() const { return FDefaultExt; }
    void SetDefaultExt(const QString& Value) { FDefaultExt = Value; }
    QString Filter() const { return FFilter; }
    void SetFilter(const QString& Value) { FFilter = Value; }
    QString Title() const { return FTitle; }
    void SetTitle(const QString& Value) { FTitle = Value; }
    // The filter chosen, from 1 in the order of Filter's pairs.
    int FilterIndex() const { return FFilterIndex; }
    void SetFilterIndex(int Value) { FFilterIndex = Value; }
    // A save asks, in the dialog, before it hands back a file that exists,
    // unless that is OwnFile (the file the window has open). The file asked
    // about is the name chosen with the picked filter's extension added as
    // AddFileExt adds it, the name the program writes.
    bool OverwritePrompt() const { return FOverwritePrompt; }
    void SetOverwritePrompt(bool Value) { FOverwritePrompt = Value; }
    QString OwnFile() const { return FOwnFile; }
    void SetOwnFile(const QString& Value) { FOwnFile = Value; }

    // True when a file was chosen: FileName then holds its full path.
    bool Execute();

protected:
    virtual bool SaveMode() const { return false; }

private:
    QString FFileName;
    QString FInitialDir;
    QString FDefaultExt;
    QString FFilter;
    QString FTitle;
    int FFilterIndex = 1;
    bool FOverwritePrompt = false;
    QString FOwnFile;
};

class TSaveDialog : public TOpenDialog
{
public:
    using TOpenDialog::TOpenDialog;

protected:
    bool SaveMode() const override { return true; }
};

// The classic filter as the dialog's name filters, one "Description (patterns)"
// per pair, the patterns as written. A description without patterns is left out.
QStringList FileFilterToNameFilters(const QString& Filter);
