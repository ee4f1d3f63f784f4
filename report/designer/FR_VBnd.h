// Editor of a cross-data band's sources: one source per other band of the
// page, kept in the band's text as name=value pairs.
#pragma once

#include "report/engine/FR_ClassDesigner.h"

#include <QSet>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class TButton;
class TfrVariables;

class TfrVBandEditorForm : public TfrObjEditorForm
{
public:
    TfrVBandEditorForm();
    ~TfrVBandEditorForm() override;

    QGroupBox* GroupBox1;
    QListWidget* LB1;
    QGroupBox* GroupBox2;
    QComboBox* CB1;
    QLabel* Label1;
    QLineEdit* Edit1;
    TButton* Button1;
    TButton* Button2;

    TModalResult ShowEditor(TfrView* View) override;
    void LB1Click();
    void CB1Click();
    void CB1Exit();

private:
    QString SelectedBand() const;
    TfrVariables* FList = nullptr;   // band name -> value, for one call
    QString FBand;                   // the band CB1 and Edit1 show
    QSet<QString> FVirtual;          // bands given a record count, upper case
};
