// Picks a dataset of the current report and one of its fields; the result is
// the dataset name, a point and the field name in double quotes.
#pragma once

#include "platform/gui/Forms.h"

class QLabel;
class QListWidget;
class TButton;

class TfrFieldsForm : public TForm
{
public:
    TfrFieldsForm();

    QListWidget* DatasetsLB;
    QListWidget* FieldsLB;
    TButton* Button1;
    TButton* Button2;
    // Set when the window closes with a field selected.
    QString DBField;

    void FormShow();
    void DatasetsLBClick();
    void FormHide();

    // The dataset chosen last time, for the life of the program.
    static QString& LastDB();
};
