// The "Insert fields" dialog: a dataset, several of its fields and the layout
// with which the designer inserts memo views for them.
#pragma once

#include "platform/gui/Forms.h"

class QCheckBox;
class QComboBox;
class QListWidget;
class QRadioButton;
class TButton;
class TDataSet;

class TfrInsertFieldsForm : public TForm
{
public:
    explicit TfrInsertFieldsForm(QWidget* AOwner = nullptr);

    void FormShow();
    void DatasetCBChange();

    QComboBox* DatasetCB;
    QListWidget* FieldsL;   // several fields may be chosen
    QRadioButton* HorzRB;
    QRadioButton* VertRB;
    QCheckBox* HeaderCB;
    QCheckBox* BandCB;
    TButton* Button1;
    TButton* Button2;
    // The dataset of the chosen entry; nullptr until one is chosen.
    TDataSet* DataSet = nullptr;
};
