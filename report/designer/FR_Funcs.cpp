#include "report/designer/FR_Funcs.h"

#include "platform/gui/StdCtrls.h"
#include "report/designer/FR_DsgLists.h"
#include "report/engine/FR_Funcs.h"
#include "report/engine/FR_Utils.h"

#include <QFrame>
#include <QLabel>
#include <QListWidget>
#include <QTreeWidget>

TfrFuncForm::TfrFuncForm() : TForm(nullptr)
{
    setObjectName(QStringLiteral("frFuncForm"));
    SetBorderStyle(bsDialog);
    SetPosition(poScreenCenter);
    SetClientSize(326, 274);
    SetCaption(LoadEngineString(53720));
    Tree1 = new QTreeWidget(this);
    Tree1->setHeaderHidden(true);
    Tree1->setItemDelegate(new TfrIconDelegate(Tree1));
    Tree1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Tree1->setGeometry(4, 4, 133, 157);
    FuncLB = frNewIconList(this);
    FuncLB->setGeometry(142, 4, 180, 157);
    auto* Bevel1 = new QFrame(this);
    Bevel1->setFrameStyle(QFrame::Box | QFrame::Sunken);
    Bevel1->setGeometry(4, 166, 318, 72);
    FuncLabel = new QLabel(this);
    FuncLabel->setGeometry(6, 168, 314, 17);
    FuncLabel->setAutoFillBackground(true);
    FuncLabel->setStyleSheet(QStringLiteral("background: white; font-weight: bold"));
    DescrLabel = new QLabel(this);
    DescrLabel->setGeometry(6, 186, 314, 50);
    DescrLabel->setWordWrap(true);
    DescrLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    DescrLabel->setStyleSheet(QStringLiteral("background: #ffffe1"));
    Button1 = new TButton(this);
    Button1->SetCaption(LoadEngineString(55000));
    Button1->SetModalResult(mrOk);
    Button1->SetDefault(true);
    Button1->setGeometry(166, 245, 75, 25);
    Button2 = new TButton(this);
    Button2->SetCaption(LoadEngineString(55001));
    Button2->SetModalResult(mrCancel);
    Button2->SetCancel(true);
    Button2->setGeometry(247, 245, 75, 25);

    auto* Root = new QTreeWidgetItem(Tree1, QStringList{LoadEngineString(55348)});
    Root->setData(0, frIconRole, liFunctionTree);
    TStringList Categories;
    if (TfrInstalledFunctions* Functions = frInstalledFunctions())
        Functions->GetCategoryList(Categories);
    for (int i = 0; i < Categories.Count(); ++i)
        new QTreeWidgetItem(Root, QStringList{Categories.Strings(i)});
    for (int i = 0; i < Root->childCount(); ++i)
        Root->child(i)->setData(0, frIconRole, liCategory);
    Tree1->expandAll();
    QObject::connect(Tree1, &QTreeWidget::currentItemChanged, this, [this] { Tree1Change(); });
    QObject::connect(FuncLB, &QListWidget::currentRowChanged, this, [this] { FuncLBClick(); });
    QObject::connect(FuncLB, &QListWidget::itemDoubleClicked, this, [this] { SetModalResult(mrOk); });
    Tree1->setCurrentItem(Root);
}

void TfrFuncForm::Tree1Change()
{
    TStringList Names;
    const QTreeWidgetItem* Node = Tree1->currentItem();
    if (Node && frInstalledFunctions())
        frInstalledFunctions()->GetFunctionList(Node->text(0), Names);
    {
        const QSignalBlocker Block(FuncLB);
        FuncLB->clear();
        for (int i = 0; i < Names.Count(); ++i)
            frAddListItem(FuncLB, Names.Strings(i), liFunction);
        if (FuncLB->count() > 0)
            FuncLB->setCurrentRow(0);
    }
    FuncLBClick();
}

void TfrFuncForm::FuncLBClick()
{
    const QString Name = frSelectedText(FuncLB);
    const QString Description = Name.isEmpty() || !frInstalledFunctions()
                                    ? QString()
                                    : frInstalledFunctions()->GetFunctionDescription(Name);
    // Without "/" the whole description is the syntax.
    const qsizetype Slash = Description.indexOf(u'/');
    FuncLabel->setText(Slash < 0 ? Description : Description.left(Slash));
    DescrLabel->setText(Slash < 0 ? QString() : Description.mid(Slash + 1).left(1000));
}
