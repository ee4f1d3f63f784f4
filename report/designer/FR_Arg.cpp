#include "report/designer/FR_Arg.h"

#include "platform/gui/StdCtrls.h"
#include "report/designer/FR_Expr.h"
#include "report/engine/FR_Ctrls.h"
#include "report/engine/FR_Utils.h"

#include <QFrame>
#include <QLabel>

QString frBuildCall(const QString& Name, const QStringList& Arguments)
{
    qsizetype Last = Arguments.size() - 1;
    while (Last > 0 && Arguments[Last].isEmpty())
        --Last;
    return Name + u'(' + Arguments.mid(0, Last + 1).join(QStringLiteral(", ")) + u')';
}

TfrFuncArgForm::TfrFuncArgForm() : TForm(nullptr)
{
    setObjectName(QStringLiteral("frFuncArgForm"));
    SetBorderStyle(bsDialog);
    SetPosition(poScreenCenter);
    SetClientSize(325, 242);
    auto* Bevel1 = new QFrame(this);
    Bevel1->setFrameStyle(QFrame::Box | QFrame::Sunken);
    Bevel1->setGeometry(4, 4, 317, 72);
    FuncLabel = new QLabel(this);
    FuncLabel->setGeometry(6, 6, 313, 17);
    FuncLabel->setStyleSheet(QStringLiteral("background: white; font-weight: bold"));
    DescrLabel = new QLabel(this);
    DescrLabel->setGeometry(6, 24, 313, 50);
    DescrLabel->setWordWrap(true);
    DescrLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    DescrLabel->setStyleSheet(QStringLiteral("background: #ffffe1"));
    auto* Bevel2 = new QFrame(this);
    Bevel2->setFrameStyle(QFrame::Box | QFrame::Sunken);
    Bevel2->setGeometry(4, 82, 317, 122);
    QLabel** Labels[] = {&Label1, &Label2, &Label3};
    TfrComboEdit** Edits[] = {&ArgEdit1, &ArgEdit2, &ArgEdit3};
    for (int i = 0; i < 3; ++i) {
        *Labels[i] = new QLabel(this);
        (*Labels[i])->setGeometry(12, 90 + i * 38, 200, 16);
        auto* Edit = new TfrComboEdit(this);
        Edit->setGeometry(12, 106 + i * 38, 301, 21);
        Edit->SetGlyph(nullptr);
        Edit->Button()->SetCaption(QStringLiteral("..."));
        Edit->OnButtonClick = [this, Edit](QObject*) { ExprBtn1Click(Edit); };
        *Edits[i] = Edit;
    }
    Button1 = new TButton(this);
    Button1->SetModalResult(mrOk);
    Button1->SetDefault(true);
    Button1->setGeometry(165, 212, 75, 25);
    Button2 = new TButton(this);
    Button2->SetModalResult(mrCancel);
    Button2->SetCancel(true);
    Button2->setGeometry(246, 212, 75, 25);
    OnShow = [this](QObject*) { FormShow(); };
    OnHide = [this](QObject*) { FormHide(); };
}

void TfrFuncArgForm::FormShow()
{
    SetCaption(LoadEngineString(53730));
    Label1->setText(LoadEngineString(53731) + QStringLiteral(" &1"));
    Label2->setText(LoadEngineString(53731) + QStringLiteral(" &2"));
    Label3->setText(LoadEngineString(53731) + QStringLiteral(" &3"));
    Label1->setBuddy(ArgEdit1);
    Label2->setBuddy(ArgEdit2);
    Label3->setBuddy(ArgEdit3);
    ArgEdit1->SetButtonHint(LoadEngineString(53575));
    Button1->SetCaption(LoadEngineString(55000));
    Button2->SetCaption(LoadEngineString(55001));
    const qsizetype Commas = FuncLabel->text().count(u',');
    EnableControls({Label2, ArgEdit2}, Commas >= 1);
    EnableControls({Label3, ArgEdit3}, Commas >= 2);
    SetActiveControl(ArgEdit1);
}

void TfrFuncArgForm::ExprBtn1Click(TfrComboEdit* Sender)
{
    TfrExprForm Form;
    if (Form.ShowModal() == mrOk)
        Sender->setText(Form.Text());
}

void TfrFuncArgForm::FormHide()
{
    FuncName = frBuildCall(FuncName, {ArgEdit1->text(), ArgEdit2->text(), ArgEdit3->text()});
}
