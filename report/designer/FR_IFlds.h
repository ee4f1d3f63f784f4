// The "Insert fields" dialog: a dataset of the dictionary, several of its
// fields and the layout with which the designer inserts memo views for them.
#pragma once

#include "platform/gui/Forms.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QRadioButton;
class TButton;

class TfrInsertFieldsForm : public TForm
{
public:
    TfrInsertFieldsForm();

    QLabel* Label1;
    QComboBox* DatasetCB;   // sorted; drawn with Image1's icon
    QListWidget* FieldsL;   // several may be chosen; drawn with Image2's icon
    QRadioButton* HorzRB;
    QRadioButton* VertRB;
    QCheckBox* HeaderCB;
    QCheckBox* BandCB;
    TButton* Button1;
    TButton* Button2;

    // The component behind the chosen dataset; nullptr until one is chosen
    // or when none of that name exists.
    QObject* DataSet() const { return FDataSet; }

    void FormShow();
    void DatasetCBChange();

private:
    QObject* FDataSet = nullptr;
};
