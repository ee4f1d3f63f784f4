#include "report/designer/FR_Var.h"

#include "platform/gui/StdCtrls.h"
#include "report/designer/FR_DsgLists.h"
#include "report/engine/FR_Class.h"
#include "report/engine/FR_Dict.h"
#include "report/engine/FR_Globals.h"
#include "report/engine/FR_Utils.h"

#include <QListWidget>

QString frSpecialName(int Entry)
{
    static const char* const Names[] = {"PAGE#", "", "DATE", "TIME", "LINE#", "LINETHROUGH#",
                                        "COLUMN#", "CURRENT#", "TOTALPAGES"};
    return Entry >= 0 && Entry < 9 ? QString::fromLatin1(Names[Entry]) : QString();
}

QStringList frSystemVariableTexts()
{
    // 55111 "Expression" is not a system variable.
    QStringList Result{LoadEngineString(55110)};
    for (int Id = 55112; Id <= 55118; ++Id)
        Result << LoadEngineString(Id);
    return Result;
}

QString& TfrVarForm::LastCategory()
{
    static QString Value;
    return Value;
}

TfrVarForm::TfrVarForm() : TForm(nullptr)
{
    setObjectName(QStringLiteral("frVarForm"));
    SetBorderStyle(bsDialog);
    SetPosition(poScreenCenter);
    SetClientSize(393, 197);
    SetKeyPreview(true);
    SetCaption(LoadEngineString(53440));
    CategoryLB = frNewIconList(this);
    CategoryLB->setGeometry(4, 4, 189, 157);
    VarLB = frNewIconList(this);
    VarLB->setGeometry(200, 4, 189, 157);
    Button1 = new TButton(this);
    Button1->SetCaption(LoadEngineString(55000));
    Button1->SetModalResult(mrOk);
    Button1->SetDefault(true);
    Button1->setGeometry(232, 168, 75, 25);
    Button2 = new TButton(this);
    Button2->SetCaption(LoadEngineString(55001));
    Button2->SetModalResult(mrCancel);
    Button2->SetCancel(true);
    Button2->setGeometry(314, 168, 75, 25);
    QObject::connect(CategoryLB, &QListWidget::currentRowChanged, this, [this] { CategoryLBClick(); });
    QObject::connect(VarLB, &QListWidget::itemDoubleClicked, this, [this] { SetModalResult(mrOk); });
    // The activation work runs once at show and once at close, not each
    // time another window takes or gives back the focus.
    OnShow = [this](QObject*) { FormActivate(); };
    OnHide = [this](QObject*) { FormDeactivate(); };
}

void TfrVarForm::FormActivate()
{
    TStringList Categories;
    if (CurReport)
        CurReport->Dictionary()->GetCategoryList(Categories);
    Categories.Add(LoadEngineString(55075));
    const QSignalBlocker Block(CategoryLB);
    CategoryLB->clear();
    for (int i = 0; i < Categories.Count(); ++i)
        frAddListItem(CategoryLB, Categories.Strings(i), liCategory);
    const int Last = Categories.IndexOf(LastCategory());
    CategoryLB->setCurrentRow(Last >= 0 ? Last : 0);
    CategoryLBClick();
}

void TfrVarForm::CategoryLBClick()
{
    VarLB->clear();
    const QString Category = frSelectedText(CategoryLB);
    if (Category.isEmpty())
        return;
    if (Category == LoadEngineString(55075)) {
        for (const QString& Text : frSystemVariableTexts())
            frAddListItem(VarLB, Text, liSystem);
        return;
    }
    TStringList Names;
    if (CurReport)
        CurReport->Dictionary()->GetVariablesList(Category, Names);
    for (int i = 0; i < Names.Count(); ++i)
        frAddListItem(VarLB, Names.Strings(i), liVariable);
}

void TfrVarForm::FormDeactivate()
{
    const QString Category = frSelectedText(CategoryLB);
    if (ModalResult() == mrOk && !frSelectedText(VarLB).isEmpty()) {
        // Nothing chosen inserts nothing, in the system category too.
        if (Category == LoadEngineString(55075))
            SelectedItem = frSpecialName(frSystemVariableEntry(VarLB->currentRow()));
        else
            SelectedItem = frSelectedText(VarLB);
    }
    LastCategory() = Category;
}
