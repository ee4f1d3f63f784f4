#include "report/designer/FR_Restr.h"

#include "platform/gui/StdCtrls.h"
#include "report/engine/FR_Utils.h"

#include <QCheckBox>
#include <QGroupBox>

TfrRestrictionsForm::TfrRestrictionsForm(QWidget* AOwner) : TForm(AOwner)
{
    setObjectName(QStringLiteral("frRestrictionsForm"));
    SetBorderStyle(bsDialog);
    SetPosition(poScreenCenter);
    SetClientSize(237, 224);
    SetCaption(LoadEngineString(53260));
    auto* GroupBox1 = new QGroupBox(this);
    GroupBox1->setGeometry(8, 4, 221, 178);
    QCheckBox** Boxes[] = {&CB1, &CB2, &Cb3, &CB4, &CB5, &CB6, &CB7};
    for (int i = 0; i < 7; ++i) {
        *Boxes[i] = new QCheckBox(LoadEngineString(53261 + i).remove(u'&'), GroupBox1);
        (*Boxes[i])->setGeometry(8, 14 + i * 23, 205, 18);
    }
    Button1 = new TButton(this);
    Button1->SetCaption(LoadEngineString(55000));
    Button1->SetModalResult(mrOk);
    Button1->SetDefault(true);
    Button1->setGeometry(74, 191, 75, 25);
    Button2 = new TButton(this);
    Button2->SetCaption(LoadEngineString(55001));
    Button2->SetModalResult(mrCancel);
    Button2->SetCancel(true);
    Button2->setGeometry(154, 191, 75, 25);
}

QCheckBox* TfrRestrictionsForm::Box(int Index) const
{
    QCheckBox* const Boxes[] = {CB1, CB2, Cb3, CB4, CB5, CB6, CB7};
    return Boxes[Index];
}
