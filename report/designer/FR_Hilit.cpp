#include "report/designer/FR_Hilit.h"

#include "platform/gui/StdCtrls.h"
#include "report/engine/FR_Ctrls.h"
#include "report/engine/FR_Utils.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QRadioButton>

TfrHilightForm::TfrHilightForm(QWidget* AOwner) : TForm(AOwner)
{
    setObjectName(QStringLiteral("frHilightForm"));
    SetBorderStyle(bsDialog);
    SetPosition(poScreenCenter);
    SetClientSize(229, 253);
    SetCaption(LoadEngineString(53520));
    auto* GroupBox3 = new QGroupBox(LoadEngineString(53521).remove(u'&'), this);
    GroupBox3->setGeometry(8, 4, 213, 50);
    Edit1 = new TfrComboEdit(GroupBox3);
    Edit1->setGeometry(8, 20, 197, 21);
    Edit1->SetButtonHint(LoadEngineString(53575));
    auto* GroupBox1 = new QGroupBox(LoadEngineString(53522), this);
    GroupBox1->setGeometry(8, 58, 213, 82);
    CB1 = new QCheckBox(LoadEngineString(53524).remove(u'&'), GroupBox1);
    CB1->setGeometry(8, 18, 100, 18);
    CB2 = new QCheckBox(LoadEngineString(53525).remove(u'&'), GroupBox1);
    CB2->setGeometry(8, 38, 100, 18);
    CB3 = new QCheckBox(LoadEngineString(53526).remove(u'&'), GroupBox1);
    CB3->setGeometry(8, 58, 100, 18);
    SpeedButton1 = new TButton(GroupBox1);
    SpeedButton1->SetCaption(LoadEngineString(53523).remove(u'&'));
    SpeedButton1->setGeometry(120, 18, 85, 25);
    auto* GroupBox2 = new QGroupBox(LoadEngineString(53527), this);
    GroupBox2->setGeometry(8, 144, 213, 68);
    RB1 = new QRadioButton(LoadEngineString(53529).remove(u'&'), GroupBox2);
    RB1->setGeometry(8, 18, 100, 18);
    RB1->setChecked(true);
    RB2 = new QRadioButton(LoadEngineString(53530).remove(u'&'), GroupBox2);
    RB2->setGeometry(8, 40, 100, 18);
    SpeedButton2 = new TButton(GroupBox2);
    SpeedButton2->SetCaption(LoadEngineString(53528).remove(u'&'));
    SpeedButton2->setGeometry(120, 36, 85, 25);
    QObject::connect(RB1, &QRadioButton::toggled, this, [this] { RB1Click(); });
    Button3 = new TButton(this);
    Button3->SetCaption(LoadEngineString(55000));
    Button3->SetModalResult(mrOk);
    Button3->SetDefault(true);
    Button3->setGeometry(66, 220, 75, 25);
    Button4 = new TButton(this);
    Button4->SetCaption(LoadEngineString(55001));
    Button4->SetModalResult(mrCancel);
    Button4->SetCancel(true);
    Button4->setGeometry(146, 220, 75, 25);
    OnShow = [this](QObject*) { FormActivate(); };
}

void TfrHilightForm::FormActivate()
{
    (FillColor != 0x1FFFFFFF ? RB2 : RB1)->setChecked(true);
    RB1Click();
}

void TfrHilightForm::RB1Click()
{
    SpeedButton2->setEnabled(RB2->isChecked());
    if (RB1->isChecked())
        FillColor = 0x1FFFFFFF;
}
