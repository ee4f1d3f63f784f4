#include "report/designer/FR_Expr.h"

#include "platform/gui/StdCtrls.h"
#include "report/designer/FR_Arg.h"
#include "report/designer/FR_DsgLists.h"
#include "report/designer/FR_Flds.h"
#include "report/designer/FR_Funcs.h"
#include "report/designer/FR_Var.h"
#include "report/engine/FR_Ctrls.h"
#include "report/engine/FR_Utils.h"

#include <QGroupBox>
#include <QLabel>
#include <QListWidget>

QString frBracketName(const QString& Name, bool Variable)
{
    if (Name.isEmpty())
        return Name;
    const QString Upper = Name.toUpper();
    bool Bare = true;
    for (QChar C : Upper)
        Bare = Bare && ((C >= u'A' && C <= u'Z') || (C >= u'0' && C <= u'9') || C == u'.' || C == u'_');
    // Bare, a variable named like these reads as a number, an operator or a
    // constant; a function of that name is meant as just that.
    static const QStringList Words = {"AND", "OR", "NOT", "MOD", "INT", "FRAC", "ROUND", "STR", "TRUE", "FALSE"};
    if (Variable && (Upper[0].isDigit() || Upper[0] == u'.' || Words.contains(Upper)))
        Bare = false;
    return Bare ? Name : u'[' + Name + u']';
}

TfrExprForm::TfrExprForm() : TForm(nullptr)
{
    setObjectName(QStringLiteral("frExprForm"));
    SetBorderStyle(bsDialog);
    SetPosition(poScreenCenter);
    SetClientSize(321, 233);
    SetKeyPreview(true);
    SetCaption(LoadEngineString(53700));

    GroupBox1 = new QGroupBox(LoadEngineString(53701), this);
    GroupBox1->setGeometry(4, 2, 313, 101);
    ExprMemo = new TMemo(GroupBox1);
    ExprMemo->setGeometry(8, 18, 297, 75);
    GroupBox2 = new QGroupBox(LoadEngineString(53702), this);
    GroupBox2->setGeometry(4, 106, 313, 91);

    static const char* const Ops[] = {"+", "-", "*", "/", "=", "<>", ">", "<", ">=", "<=", "And", "Or", "Not"};
    for (int i = 0; i < 13; ++i) {
        auto* B = new TfrSpeedButton(GroupBox2);
        B->setObjectName(QStringLiteral("frSpeedButton%1").arg(i + 1));
        B->SetCaption(QString::fromLatin1(Ops[i]));
        B->setGeometry(8 + (i % 7) * 28, 18 + (i / 7) * 26, i >= 10 ? 28 : 26, 24);
        B->OnClick = [this, B](QObject*) { frSpeedButton1Click(B); };
        OperatorButtons.push_back(B);
    }
    InsDBBtn = new TButton(GroupBox2);
    InsVarBtn = new TButton(GroupBox2);
    InsFuncBtn = new TButton(GroupBox2);
    const int Ids[] = {53703, 53704, 53705};
    TButton* Buttons[] = {InsDBBtn, InsVarBtn, InsFuncBtn};
    for (int i = 0; i < 3; ++i) {
        Buttons[i]->SetCaption(LoadEngineString(Ids[i]));
        Buttons[i]->setGeometry(210, 14 + i * 25, 95, 23);
    }
    InsDBBtn->OnClick = [this](QObject*) { InsDBBtnClick(); };
    InsVarBtn->OnClick = [this](QObject*) { InsVarBtnClick(); };
    InsFuncBtn->OnClick = [this](QObject*) { InsFuncBtnClick(); };

    // Not default: Enter breaks the line in the expression.
    Button1 = new TButton(this);
    Button1->SetCaption(LoadEngineString(55000));
    Button1->SetModalResult(mrOk);
    Button1->setGeometry(160, 204, 75, 25);
    Button2 = new TButton(this);
    Button2->SetCaption(LoadEngineString(55001));
    Button2->SetModalResult(mrCancel);
    Button2->SetCancel(true);
    Button2->setGeometry(242, 204, 75, 25);

    OnKeyDown = [this](QObject*, int& Key, TShiftState) {
        if (Key == VK_ESCAPE)
            SetModalResult(mrCancel);
    };
    OnShow = [this](QObject*) { SetActiveControl(ExprMemo); };
}

QString TfrExprForm::Text() const
{
    // An expression is one line wherever it goes (a memo line, a condition):
    // lines typed in the box are parts of it.
    return ExprMemo->toPlainText().split(u'\n', Qt::SkipEmptyParts).join(u' ');
}

void TfrExprForm::InsertText(const QString& Text)
{
    ExprMemo->insertPlainText(Text);
    ExprMemo->setFocus();
}

void TfrExprForm::frSpeedButton1Click(TfrSpeedButton* Sender)
{
    InsertText(Sender->Caption() + u' ');
}

void TfrExprForm::InsDBBtnClick()
{
    TfrFieldsForm Form;
    if (Form.ShowModal() == mrOk && !Form.DBField.isEmpty())
        InsertText(frBracketName(Form.DBField));
}

void TfrExprForm::InsVarBtnClick()
{
    TfrVarForm Form;
    if (Form.ShowModal() == mrOk && !Form.SelectedItem.isEmpty())
        InsertText(frBracketName(Form.SelectedItem));
}

void TfrExprForm::InsFuncBtnClick()
{
    TfrFuncForm Form;
    if (Form.ShowModal() != mrOk)
        return;
    const QString Name = frSelectedText(Form.FuncLB);
    if (Name.isEmpty())
        return;
    if (!Form.FuncLabel->text().contains(u'(')) {
        InsertText(frBracketName(Name, false));
        return;
    }
    TfrFuncArgForm Args;
    Args.FuncLabel->setText(Form.FuncLabel->text());
    Args.DescrLabel->setText(Form.DescrLabel->text());
    Args.FuncName = Name;
    if (Args.ShowModal() == mrOk)
        InsertText(Args.FuncName);
}
