// Editor of a data band's source: a band data source, a virtual dataset of n
// records, or none. The helpers serve the cross band's editor too.
#pragma once

#include "report/engine/FR_ClassDesigner.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class TButton;
class TfrBandView;

// A record count as OK takes it: a whole number from 1 to 2147483647, written
// plainly; empty when the text is not one.
QString frRecordCount(const QString& Text);
// Shows the message for a record count OK does not take; false then.
bool frCheckRecordCount(const QString& Text);
// A stored value that is a record count (begins with "1".."9").
bool frIsRecordCount(const QString& Value);
// "[None]", "Virtual Dataset", then the band data sources by alias.
QStringList frBandSourceRows(bool Sorted);
// Row of a stored value: 1 for a record count, the row of its alias, else 0.
int frBandSourceRow(const QStringList& Rows, const QString& Value);
// The component name of a row (an alias or a name).
QString frRealSourceName(const QString& Row);

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
