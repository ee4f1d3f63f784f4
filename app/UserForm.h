// TFormUser: the administrator's list of salesmen. The salesmen are fixed
// slots (Power rows of the role "业务员"); a slot is named, given a password,
// a face and rights here, never added or removed. Renaming a salesman can hand
// the old name's customers, documents, money rows and accounts to the new one.
#pragma once

#include "platform/gui/Forms.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class TADOQuery;
class TButton;
class TDBGridEh;
class TDataSource;
class TImage;
class TShape;

class TFormUser : public TForm
{
public:
    explicit TFormUser(QWidget* AOwner = nullptr);

    TADOQuery* ADOQuery1;
    TDataSource* DataSource1;
    TDBGridEh* DBGridEh1;
    QLineEdit* Edit1; // name
    QLineEdit* Edit2; // password, shown as typed
    QLineEdit* Edit3; // face picture path, chosen in TFormUser2
    TShape* Shape1;   // the hover frame around the face
    TImage* Image1;
    QCheckBox* CheckBox1; // 业务管理
    QCheckBox* CheckBox2; // 财务管理
    TButton* Button1;
    TButton* Button2;

    void FormShow(QObject* Sender);
    // Fills the edits, the face and the check boxes from the current row.
    void ShowCurrentRow();
    void Image1Click(QObject* Sender);
    // True while the mouse is over the face or its frame.
    void HoverFace(bool Over);
    void Button1Click(QObject* Sender);
    void Button2Click(QObject* Sender);

private:
    void BuildControls();
    void LoadFace();
    // Inside the rename's transaction: the old name's rows go to the new one.
    void HandOver(const QString& OldName, const QString& NewName);
};

extern TFormUser* FormUser;
