#include "report/engine/FR_Passw.h"

#include "platform/gui/StdCtrls.h"
#include "report/engine/FR_Class.h"
#include "report/engine/FR_Utils.h"

#include <QLabel>
#include <QLineEdit>

TfrPasswForm::TfrPasswForm(QWidget* AOwner) : TForm(AOwner)
{
    setObjectName(QStringLiteral("frPasswForm"));
    SetBorderStyle(bsDialog);
    SetPosition(poScreenCenter);
    SetClientSize(260, 96);
    SetCaption(LoadEngineString(55653));
    L1 = new QLabel(LoadEngineString(55654), this);
    L1->setGeometry(8, 8, 244, 16);
    L2 = new QLabel(LoadEngineString(55655), this);
    L2->setGeometry(8, 8, 244, 16);
    L2->hide();
    E1 = new QLineEdit(this);
    E1->setGeometry(8, 28, 244, 21);
    E1->setEchoMode(QLineEdit::Password);
    E1->setStyleSheet(QStringLiteral("QLineEdit { lineedit-password-character: 42; }"));
    OK = new TButton(this);
    OK->SetCaption(LoadEngineString(55000));
    OK->SetModalResult(mrOk);
    OK->SetDefault(true);
    OK->setGeometry(96, 62, 75, 25);
    Cancel = new TButton(this);
    Cancel->SetCaption(LoadEngineString(55001));
    Cancel->SetModalResult(mrCancel);
    Cancel->SetCancel(true);
    Cancel->setGeometry(177, 62, 75, 25);
    OnShow = [this](QObject*) { SetActiveControl(E1); };
}

void frInstallPasswordForm()
{
    frPasswordQuery = [](QString& Password) {
        TfrPasswForm Form;
        if (Form.ShowModal() != mrOk)
            return false;
        Password = Form.E1->text();
        return true;
    };
}
