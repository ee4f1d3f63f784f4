#include "report/designer/FR_DsOpt.h"

#include "platform/gui/StdCtrls.h"
#include "report/engine/FR_Utils.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QRadioButton>

namespace {

QCheckBox* Check(QWidget* Parent, int Id, int X, int Y)
{
    auto* B = new QCheckBox(LoadEngineString(Id).remove(u'&'), Parent);
    B->setGeometry(X, Y, 320, 18);
    return B;
}

QRadioButton* Radio(QWidget* Parent, int Id, int X, int Y)
{
    auto* B = new QRadioButton(LoadEngineString(Id).remove(u'&'), Parent);
    B->setGeometry(X, Y, 150, 18);
    return B;
}

QGroupBox* Group(QWidget* Parent, int Id, int X, int Y, int W, int H)
{
    auto* G = new QGroupBox(LoadEngineString(Id), Parent);
    G->setGeometry(X, Y, W, H);
    return G;
}

} // namespace

TfrDesOptionsForm::TfrDesOptionsForm(QWidget* AOwner) : TForm(AOwner)
{
    setObjectName(QStringLiteral("frDesOptionsForm"));
    SetBorderStyle(bsDialog);
    SetPosition(poScreenCenter);
    SetClientSize(353, 411);
    SetCaption(LoadEngineString(53280));
    QGroupBox* Grid = Group(this, 53282, 8, 8, 337, 100);
    CB1 = Check(Grid, 53286, 8, 20);
    CB2 = Check(Grid, 53287, 8, 40);
    QGroupBox* Size = Group(Grid, 53285, 180, 14, 150, 80);
    RB1 = Radio(Size, 53289, 8, 18);
    RB2 = Radio(Size, 53290, 8, 36);
    RB3 = Radio(Size, 53291, 8, 54);
    QGroupBox* Units = Group(this, 53284, 8, 112, 160, 80);
    RB6 = Radio(Units, 53294, 8, 18);
    RB7 = Radio(Units, 53295, 8, 36);
    RB8 = Radio(Units, 53296, 8, 54);
    QGroupBox* Position = Group(this, 53300, 176, 112, 169, 80);
    RB9 = Radio(Position, 53301, 8, 18);
    RB10 = Radio(Position, 53302, 8, 36);
    RB11 = Radio(Position, 53303, 8, 54);
    QGroupBox* Other = Group(this, 53297, 8, 196, 337, 170);
    CB3 = Check(Other, 53288, 8, 20);
    CB4 = Check(Other, 53298, 8, 40);
    CB5 = Check(Other, 53299, 8, 60);
    CB6 = Check(Other, 53293, 8, 80);
    CB7 = Check(Other, 53311, 8, 100);
    CB8 = Check(Other, 55652, 8, 120);
    CB9 = Check(Other, 55651, 8, 140);
    Button1 = new TButton(this);
    Button1->SetCaption(LoadEngineString(55000));
    Button1->SetModalResult(mrOk);
    Button1->SetDefault(true);
    Button1->setGeometry(190, 378, 75, 25);
    Button2 = new TButton(this);
    Button2->SetCaption(LoadEngineString(55001));
    Button2->SetModalResult(mrCancel);
    Button2->SetCancel(true);
    Button2->setGeometry(270, 378, 75, 25);
}
