#include "report/designer/FR_IFlds.h"

#include "platform/db/DataSet.h"
#include "platform/gui/StdCtrls.h"
#include "platform/rtl/Classes.h"
#include "report/designer/FR_DsgLists.h"
#include "report/engine/FR_Class.h"
#include "report/engine/FR_Dict.h"
#include "report/engine/FR_Globals.h"
#include "report/engine/FR_Utils.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QRadioButton>

namespace {

QString Plain(int Id)
{
    return LoadEngineString(Id).remove(u'&');
}

} // namespace

TfrInsertFieldsForm::TfrInsertFieldsForm(QWidget* AOwner) : TForm(AOwner)
{
    setObjectName(QStringLiteral("frInsertFieldsForm"));
    SetBorderStyle(bsDialog);
    SetPosition(poScreenCenter);
    SetClientSize(334, 215);
    SetCaption(LoadEngineString(53630));
    auto* Label1 = new QLabel(Plain(53631), this);
    Label1->setGeometry(8, 6, 160, 16);
    DatasetCB = new QComboBox(this);
    DatasetCB->setObjectName(QStringLiteral("DatasetCB"));
    DatasetCB->setGeometry(8, 22, 170, 21);
    DatasetCB->setItemDelegate(new TfrIconDelegate(DatasetCB, 16, liTable));
    DatasetCB->setIconSize(QSize(18, 16));
    FieldsL = new QListWidget(this);
    FieldsL->setObjectName(QStringLiteral("FieldsL"));
    FieldsL->setGeometry(8, 48, 170, 159);
    FieldsL->setSelectionMode(QAbstractItemView::ExtendedSelection);
    FieldsL->setItemDelegate(new TfrIconDelegate(FieldsL, 16, liCell));

    auto* GroupBox1 = new QGroupBox(Plain(53632), this);
    GroupBox1->setGeometry(186, 16, 140, 62);
    HorzRB = new QRadioButton(Plain(53633), GroupBox1);
    HorzRB->setGeometry(8, 18, 124, 18);
    HorzRB->setChecked(true);
    VertRB = new QRadioButton(Plain(53634), GroupBox1);
    VertRB->setGeometry(8, 38, 124, 18);
    auto* GroupBox2 = new QGroupBox(this);
    GroupBox2->setGeometry(186, 84, 140, 62);
    HeaderCB = new QCheckBox(Plain(53635), GroupBox2);
    HeaderCB->setGeometry(8, 14, 124, 18);
    HeaderCB->setChecked(true);
    BandCB = new QCheckBox(Plain(53636), GroupBox2);
    BandCB->setGeometry(8, 36, 124, 18);
    BandCB->setChecked(true);

    Button1 = new TButton(this);
    Button1->SetCaption(LoadEngineString(55000));
    Button1->SetModalResult(mrOk);
    Button1->SetDefault(true);
    Button1->setGeometry(251, 150, 75, 25);
    Button2 = new TButton(this);
    Button2->SetCaption(LoadEngineString(55001));
    Button2->SetModalResult(mrCancel);
    Button2->SetCancel(true);
    Button2->setGeometry(251, 182, 75, 25);

    QObject::connect(DatasetCB, &QComboBox::currentIndexChanged, this, [this] { DatasetCBChange(); });
    OnShow = [this](QObject*) { FormShow(); };
}

void TfrInsertFieldsForm::FormShow()
{
    DataSet = nullptr;
    TStringList Names;
    if (CurReport)
        CurReport->Dictionary()->GetDataSetList(Names);
    Names.Sort();
    {
        const QSignalBlocker Block(DatasetCB);
        DatasetCB->clear();
        for (int i = 0; i < Names.Count(); ++i)
            DatasetCB->addItem(Names.Strings(i));
        DatasetCB->setCurrentIndex(DatasetCB->count() > 0 ? 0 : -1);
    }
    DatasetCBChange();
}

void TfrInsertFieldsForm::DatasetCBChange()
{
    FieldsL->clear();
    DataSet = nullptr;
    if (!CurReport || DatasetCB->currentIndex() < 0)
        return;
    const QString Entry = DatasetCB->currentText();
    TfrDataDictionary* Dict = CurReport->Dictionary();
    DataSet = qobject_cast<TDataSet*>(FindReportComponent(Dict->GetRealDataSetName(Entry)));
    TStringList Fields;
    Dict->GetFieldList(Entry, Fields);
    for (int i = 0; i < Fields.Count(); ++i)
        FieldsL->addItem(Fields.Strings(i));
}
