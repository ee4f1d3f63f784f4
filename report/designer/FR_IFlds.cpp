#include "report/designer/FR_IFlds.h"

#include "platform/gui/StdCtrls.h"
#include "platform/rtl/Classes.h"
#include "report/engine/FR_Class.h"
#include "report/engine/FR_Dict.h"
#include "report/engine/FR_Globals.h"
#include "report/engine/FR_Utils.h"

#include <QAbstractItemDelegate>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QRadioButton>

namespace {

// Our icons on the classic green that stands for transparent: a small
// table for datasets, a single column for fields.
QPixmap ListIcon(bool DataSet)
{
    const QColor Clear(0x00, 0x80, 0x00);
    QImage I(16, 16, QImage::Format_RGB32);
    I.fill(Clear);
    QPainter P(&I);
    P.setPen(QColor(0, 0, 128));
    if (DataSet) {
        P.setBrush(QColor(255, 255, 224));
        P.drawRect(1, 2, 13, 11);
        P.drawLine(1, 6, 14, 6);
        P.drawLine(1, 10, 14, 10);
        P.drawLine(6, 2, 6, 13);
    } else {
        P.setBrush(QColor(200, 230, 255));
        P.drawRect(4, 1, 7, 13);
        P.drawLine(4, 5, 11, 5);
    }
    P.end();
    QPixmap Pix = QPixmap::fromImage(I);
    Pix.setMask(Pix.createMaskFromColor(Clear));
    return Pix;
}

// An 18 x 16 icon box 2 pixels from the left, the text 20 pixels from the
// left and 1 pixel down.
class TIconItemDelegate : public QAbstractItemDelegate
{
public:
    TIconItemDelegate(QObject* AParent, bool ADataSet) : QAbstractItemDelegate(AParent), FIcon(ListIcon(ADataSet)) {}

    void paint(QPainter* P, const QStyleOptionViewItem& Option, const QModelIndex& Index) const override
    {
        const bool Selected = Option.state & QStyle::State_Selected;
        P->fillRect(Option.rect, Option.palette.color(Selected ? QPalette::Highlight : QPalette::Base));
        P->drawPixmap(Option.rect.left() + 2 + 1, Option.rect.top(), FIcon);
        P->setPen(Option.palette.color(Selected ? QPalette::HighlightedText : QPalette::Text));
        P->drawText(QRect(Option.rect.left() + 20, Option.rect.top() + 1, Option.rect.width() - 20, 15),
                    Qt::AlignLeft | Qt::AlignVCenter, Index.data().toString());
    }
    QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override { return QSize(100, 16); }

private:
    QPixmap FIcon;
};

} // namespace

TfrInsertFieldsForm::TfrInsertFieldsForm() : TForm(nullptr)
{
    setObjectName(QStringLiteral("frInsertFieldsForm"));
    SetBorderStyle(bsDialog);
    SetPosition(poScreenCenter);
    SetClientSize(334, 215);
    SetCaption(LoadEngineString(53630));
    Label1 = new QLabel(LoadEngineString(53631).remove(u'&'), this);
    Label1->setGeometry(8, 8, 180, 16);
    DatasetCB = new QComboBox(this);
    DatasetCB->setGeometry(8, 26, 180, 22);
    DatasetCB->setItemDelegate(new TIconItemDelegate(DatasetCB, true));
    FieldsL = new QListWidget(this);
    FieldsL->setGeometry(8, 54, 180, 153);
    FieldsL->setSelectionMode(QAbstractItemView::ExtendedSelection);
    FieldsL->setItemDelegate(new TIconItemDelegate(FieldsL, false));
    auto* GroupBox1 = new QGroupBox(LoadEngineString(53632), this);
    GroupBox1->setGeometry(196, 20, 130, 64);
    HorzRB = new QRadioButton(LoadEngineString(53633).remove(u'&'), GroupBox1);
    HorzRB->setGeometry(8, 18, 116, 18);
    HorzRB->setChecked(true);
    VertRB = new QRadioButton(LoadEngineString(53634).remove(u'&'), GroupBox1);
    VertRB->setGeometry(8, 38, 116, 18);
    auto* GroupBox2 = new QGroupBox(this);
    GroupBox2->setGeometry(196, 90, 130, 56);
    HeaderCB = new QCheckBox(LoadEngineString(53635).remove(u'&'), GroupBox2);
    HeaderCB->setGeometry(8, 10, 118, 18);
    HeaderCB->setChecked(true);
    BandCB = new QCheckBox(LoadEngineString(53636).remove(u'&'), GroupBox2);
    BandCB->setGeometry(8, 30, 118, 18);
    BandCB->setChecked(true);
    Button1 = new TButton(this);
    Button1->SetCaption(LoadEngineString(55000));
    Button1->SetModalResult(mrOk);
    Button1->SetDefault(true);
    Button1->setGeometry(251, 152, 75, 25);
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
    FDataSet = nullptr;
    TStringList Names;
    if (CurReport)
        CurReport->Dictionary()->GetDataSetList(Names);
    QStringList Sorted;
    for (int i = 0; i < Names.Count(); ++i)
        Sorted << Names.Strings(i);
    Sorted.sort(Qt::CaseInsensitive);
    {
        const QSignalBlocker Block(DatasetCB);
        DatasetCB->clear();
        DatasetCB->addItems(Sorted);
        DatasetCB->setCurrentIndex(Sorted.isEmpty() ? -1 : 0);
    }
    DatasetCBChange();
}

void TfrInsertFieldsForm::DatasetCBChange()
{
    FieldsL->clear();
    FDataSet = nullptr;
    const QString Entry = DatasetCB->currentText();
    if (Entry.isEmpty() || !CurReport)
        return;
    TfrDataDictionary* Dict = CurReport->Dictionary();
    FDataSet = FindReportComponent(Dict->GetRealDataSetName(Entry));
    TStringList Fields;
    Dict->GetFieldList(Entry, Fields);
    for (int i = 0; i < Fields.Count(); ++i)
        FieldsL->addItem(Fields.Strings(i));
}
