#include "report/designer/FR_Flds.h"

#include "platform/gui/StdCtrls.h"
#include "report/designer/FR_DsgLists.h"
#include "report/engine/FR_Class.h"
#include "report/engine/FR_ClassDesigner.h"
#include "report/engine/FR_Dict.h"
#include "report/engine/FR_Globals.h"
#include "report/engine/FR_Utils.h"

#include <QListWidget>

namespace {

void FillList(QListWidget* List, const TStrings& Items, int Icon)
{
    List->clear();
    for (int i = 0; i < Items.Count(); ++i)
        frAddListItem(List, Items.Strings(i), Icon);
}

} // namespace

QString& TfrFieldsForm::LastDB()
{
    static QString Value;
    return Value;
}

TfrFieldsForm::TfrFieldsForm() : TForm(nullptr)
{
    setObjectName(QStringLiteral("frFieldsForm"));
    SetBorderStyle(bsDialog);
    SetPosition(poScreenCenter);
    SetClientSize(410, 193);
    SetKeyPreview(true);
    SetCaption(LoadEngineString(53450));
    DatasetsLB = frNewIconList(this);
    DatasetsLB->setGeometry(4, 4, 197, 153);
    FieldsLB = frNewIconList(this);
    FieldsLB->setGeometry(208, 4, 197, 153);
    FieldsLB->setDragEnabled(true);
    Button1 = new TButton(this);
    Button1->SetCaption(LoadEngineString(55000));
    Button1->SetModalResult(mrOk);
    Button1->SetDefault(true);
    Button1->setGeometry(248, 164, 75, 25);
    Button2 = new TButton(this);
    Button2->SetCaption(LoadEngineString(55001));
    Button2->SetModalResult(mrCancel);
    Button2->SetCancel(true);
    Button2->setGeometry(330, 164, 75, 25);
    QObject::connect(DatasetsLB, &QListWidget::currentRowChanged, this, [this] { DatasetsLBClick(); });
    QObject::connect(FieldsLB, &QListWidget::itemDoubleClicked, this, [this] { SetModalResult(mrOk); });
    OnShow = [this](QObject*) { FormShow(); };
    OnHide = [this](QObject*) { FormHide(); };
}

void TfrFieldsForm::FormShow()
{
    if (!CurReport)
        return;
    TStringList Names;
    CurReport->Dictionary()->GetDataSetList(Names);
    const QSignalBlocker Block(DatasetsLB);
    FillList(DatasetsLB, Names, liDataSet);
    if (DatasetsLB->count() == 0)
        return;
    const int Last = Names.IndexOf(LastDB());
    DatasetsLB->setCurrentRow(Last >= 0 ? Last : 0);
    DatasetsLBClick();
}

void TfrFieldsForm::DatasetsLBClick()
{
    TStringList Fields;
    const QString DataSet = frSelectedText(DatasetsLB);
    if (CurReport && !DataSet.isEmpty())
        CurReport->Dictionary()->GetFieldList(DataSet, Fields);
    FillList(FieldsLB, Fields, liField);
}

void TfrFieldsForm::FormHide()
{
    const QString DataSet = frSelectedText(DatasetsLB);
    if (DatasetsLB->count() > 0)
        LastDB() = DataSet;
    const QString Field = frSelectedText(FieldsLB);
    if (!DataSet.isEmpty() && !Field.isEmpty())
        DBField = DataSet + QStringLiteral(".\"") + Field + u'"';
    if (auto* Designer = dynamic_cast<QWidget*>(frDesigner); Designer && Designer->isVisible())
        Designer->activateWindow();
}
