// TFormPhone: finds the customers whose telephone or mobile number holds a
// calling number, among the prospects or among the regular customers, and
// leads on to a found customer, to a new prospect for the number and to the
// prospect list. The number is typed; no telephone hardware fills it.
#pragma once

#include "platform/gui/Forms.h"

class QAction;
class QComboBox;
class QLineEdit;
class TADOQuery;
class TDataSource;
class TDBGridEh;
class TImage;
class TShape;

class TFormPhone : public TForm
{
public:
    explicit TFormPhone(QWidget* AOwner = nullptr);

    // "潜在客户" or "成交客户": the scope searched; set by the caller.
    QString SearchKind;

    QLineEdit* Edit1;
    QComboBox* ComboBox1;
    TDBGridEh* DBGridEhContact;
    TADOQuery* ADOQuery1;
    TDataSource* DataSource1;
    TShape* Shape1;
    TImage* Image1;
    QAction* ActionClose;
    QAction* ActionManage;
    QAction* ActionNew;
    QAction* ActionSearch;

    // Looks the typed number up in the current scope.
    void Lookup();

    void FormShow(QObject* Sender);
    void FormMouseMove(QObject* Sender);
    void Image1MouseMove(QObject* Sender);
    void Image1Click(QObject* Sender);
    void ComboBox1Change(QObject* Sender);
    void DBGridEhContactDblClick(QObject* Sender);
    void ActionCloseExecute(QObject* Sender);
    void ActionManageExecute(QObject* Sender);
    void ActionNewExecute(QObject* Sender);

private:
    void BuildControls();
    void BuildGrid();
    // Opens the rows whose numbers hold Text; true when there are any.
    bool Search(const QString& Text);
    bool Prospects() const { return SearchKind == QStringLiteral("潜在客户"); }
};

extern TFormPhone* FormPhone;
