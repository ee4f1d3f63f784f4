// Editors of a band's data source: a data band's (one source, a virtual
// dataset of n records, or none) and a cross-data band's (one source per other
// band of the page, kept as name=value pairs).
#pragma once

#include "report/engine/FR_ClassDesigner.h"

#include <QSet>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class TButton;
class TfrBandView;
class TfrVariables;

// A record count as OK takes it: a whole number from 1 to 2147483647, written
// plainly; empty when the text is not one.
QString frRecordCount(const QString& Text);

class TfrBandEditorForm : public TfrObjEditorForm
{
public:
    TfrBandEditorForm();

    QGroupBox* GB1;
    QListWidget* LB1;
    QLabel* Label2;
    QLineEdit* Edit1;
    TButton* Button1;
    TButton* Button2;

    TModalResult ShowEditor(TfrView* View) override;
    void LB1Click();
};

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
