#include "report/designer/FR_Dopt.h"

#include "platform/gui/StdCtrls.h"
#include "report/engine/FR_Utils.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>

namespace {

QLabel* Label(QWidget* Parent, int Id, int X, int Y)
{
    auto* L = new QLabel(LoadEngineString(Id), Parent);
    L->setGeometry(X, Y, 70, 18);
    return L;
}

QLineEdit* Edit(QWidget* Parent, int X, int Y, int W)
{
    auto* E = new QLineEdit(Parent);
    E->setGeometry(X, Y, W, 21);
    return E;
}

} // namespace

TfrDocOptForm::TfrDocOptForm(QWidget* AOwner) : TForm(AOwner)
{
    setObjectName(QStringLiteral("frDocOptForm"));
    SetBorderStyle(bsDialog);
    SetPosition(poScreenCenter);
    SetClientSize(361, 420);
    SetCaption(LoadEngineString(53370));
    auto* Printer = new QGroupBox(LoadEngineString(53371), this);
    Printer->setGeometry(8, 8, 345, 110);
    LB1 = new QListWidget(Printer);
    LB1->setGeometry(8, 18, 329, 64);
    CB1 = new QCheckBox(LoadEngineString(53372).remove(u'&'), Printer);
    CB1->setGeometry(8, 86, 329, 18);
    auto* Other = new QGroupBox(LoadEngineString(53373), this);
    Other->setGeometry(8, 122, 345, 48);
    CB2 = new QCheckBox(LoadEngineString(53374).remove(u'&'), Other);
    CB2->setGeometry(8, 20, 160, 18);
    CB3 = new QCheckBox(LoadEngineString(55657), Other);
    CB3->setGeometry(176, 20, 160, 18);
    auto* Document = new QGroupBox(LoadEngineString(55658), this);
    Document->setGeometry(8, 174, 345, 206);
    Label(Document, 55660, 8, 20);
    E1 = Edit(Document, 80, 18, 257);
    Label(Document, 55661, 8, 46);
    E2 = Edit(Document, 80, 44, 257);
    Label(Document, 55668, 8, 72);
    M1 = new QPlainTextEdit(Document);
    M1->setGeometry(80, 70, 257, 50);
    Label(Document, 55662, 8, 128);
    E3 = Edit(Document, 80, 126, 60);
    E4 = Edit(Document, 144, 126, 60);
    E5 = Edit(Document, 208, 126, 60);
    E6 = Edit(Document, 272, 126, 65);
    Label(Document, 55670, 8, 154);
    LM1 = new QLabel(Document);
    LM1->setGeometry(80, 154, 257, 18);
    Label(Document, 55669, 8, 176);
    LM2 = new QLabel(Document);
    LM2->setGeometry(80, 176, 257, 18);
    Button1 = new TButton(this);
    Button1->SetCaption(LoadEngineString(55000));
    Button1->SetModalResult(mrOk);
    Button1->SetDefault(true);
    Button1->setGeometry(198, 388, 75, 25);
    Button2 = new TButton(this);
    Button2->SetCaption(LoadEngineString(55001));
    Button2->SetModalResult(mrCancel);
    Button2->SetCancel(true);
    Button2->setGeometry(278, 388, 75, 25);
}
