#include "report/designer/FR_Templ.h"

#include "platform/gui/Dialogs.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/FileDialogs.h"
#include "platform/gui/StdCtrls.h"
#include "report/engine/FR_Utils.h"

#include <QGroupBox>
#include <QLabel>

TfrTemplNewForm::TfrTemplNewForm(QWidget* AOwner) : TForm(AOwner)
{
    setObjectName(QStringLiteral("frTemplNewForm"));
    SetBorderStyle(bsDialog);
    SetPosition(poScreenCenter);
    SetClientSize(219, 292);
    SetCaption(LoadEngineString(53320));
    auto* Label1 = new QLabel(LoadEngineString(53321).remove(u'&'), this);
    Label1->setGeometry(8, 8, 200, 16);
    Memo1 = new TMemo(this);
    Memo1->setGeometry(8, 26, 203, 90);
    auto* Group = new QGroupBox(LoadEngineString(53322), this);
    Group->setGeometry(8, 122, 203, 130);
    Image1 = new TImage(Group);
    Image1->setGeometry(8, 18, 187, 74);
    Image1->SetCenter(true);
    Button1 = new TButton(Group);
    Button1->SetCaption(LoadEngineString(53323).remove(u'&'));
    Button1->setGeometry(64, 98, 75, 25);
    Button1->OnClick = [this](QObject*) { Button1Click(); };
    Button2 = new TButton(this);
    Button2->SetCaption(LoadEngineString(55000));
    Button2->SetModalResult(mrOk);
    Button2->SetDefault(true);
    Button2->setGeometry(55, 260, 75, 25);
    Button3 = new TButton(this);
    Button3->SetCaption(LoadEngineString(55001));
    Button3->SetModalResult(mrCancel);
    Button3->SetCancel(true);
    Button3->setGeometry(136, 260, 75, 25);
    OnShow = [this](QObject*) {
        Memo1->clear();
        Image1->Picture()->SetGraphic(nullptr);
        SetActiveControl(Memo1);
    };
}

void TfrTemplNewForm::Button1Click()
{
    TOpenDialog Dialog;
    Dialog.SetFilter(LoadEngineString(55217) + QStringLiteral(" (*.bmp)|*.bmp"));
    if (!Dialog.Execute())
        return;
    try {
        Image1->Picture()->LoadFromFile(Dialog.FileName());
    } catch (const Exception& E) {
        ShowError(E.Message());
    }
    Image1->update();
}
