// The "New report" dialog: the wizard templates (".frt") of the template
// folder with their description and picture; answers the chosen file.
#pragma once

#include "platform/gui/Forms.h"

#include <QIcon>

class QListWidget;
class TButton;
class TImage;
class TMemo;

class TfrTemplForm : public TForm
{
public:
    explicit TfrTemplForm(QWidget* AOwner = nullptr);

    // The folder searched: TemplateDir, or the program's folder when it is
    // empty, with a separator at the end.
    static QString TemplateFolder();
    void FormActivate();
    void ListBox1Click();

    QListWidget* LB1;    // large icons sorted by caption; each item keeps its file
    QIcon ImageList1;
    TMemo* Memo1;
    TImage* Image1;
    TButton* Button1;
    TButton* Button2;
    // The chosen template's real file name; empty with none chosen.
    QString TemplName() const;
};
