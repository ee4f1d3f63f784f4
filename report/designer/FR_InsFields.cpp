#include "report/designer/FR_InsFields.h"

#include "platform/rtl/Classes.h"
#include "platform/rtl/IniFiles.h"
#include "report/designer/FR_DsgLists.h"
#include "report/engine/FR_Class.h"
#include "report/engine/FR_ClassDesigner.h"
#include "report/engine/FR_Dict.h"
#include "report/engine/FR_Dock.h"
#include "report/engine/FR_Globals.h"
#include "report/engine/FR_Utils.h"

#include <QDrag>
#include <QMimeData>
#include <QMouseEvent>

TfrInsFieldsForm* frInsFieldsForm = nullptr;

namespace {

// The dataset chosen last, kept across windows.
QString LastDataSet;

const QString Section = QStringLiteral("Form\\TfrInsFieldsForm");

void FillList(QListWidget* List, const TStrings& Names)
{
    const QSignalBlocker Block(List);
    List->clear();
    for (int i = 0; i < Names.Count(); ++i)
        List->addItem(Names.Strings(i));
}

} // namespace

// ---------------------------------------------------------------- field list

TfrFieldsListBox::TfrFieldsListBox(TfrInsFieldsForm* AForm, QWidget* AParent)
    : QListWidget(AParent), FForm(AForm)
{
    setDragEnabled(true);
    setDragDropMode(QAbstractItemView::DragOnly);
}

void TfrFieldsListBox::startDrag(Qt::DropActions)
{
    FForm->ComputeDBField();
    if (FForm->DBField.isEmpty())
        return;
    auto* Drag = new QDrag(this);
    auto* Data = new QMimeData;
    Data->setText(FForm->DBField);
    Drag->setMimeData(Data);
    Drag->exec(Qt::CopyAction);
}

// ---------------------------------------------------------------- window

TfrInsFieldsForm::TfrInsFieldsForm(QWidget* AOwner)
    : TForm(AOwner)
{
    setObjectName(QStringLiteral("frInsFieldsForm"));
    setWindowFlags(Qt::Tool);
    setAttribute(Qt::WA_DeleteOnClose);
    SetCaption(LoadEngineString(53450));
    SetClientSize(160, 300);
    DatasetsLB = new QListWidget(this);
    DatasetsLB->setObjectName(QStringLiteral("DatasetsLB"));
    DatasetsLB->setItemDelegate(new TfrIconDelegate(DatasetsLB, 16, liTable));
    Splitter = new QWidget(this);
    Splitter->setObjectName(QStringLiteral("Splitter"));
    Splitter->setCursor(Qt::SplitVCursor);
    Splitter->installEventFilter(this);
    FieldsLB = new TfrFieldsListBox(this, this);
    FieldsLB->setObjectName(QStringLiteral("FieldsLB"));
    FieldsLB->setItemDelegate(new TfrIconDelegate(FieldsLB, 16, liCell));
    QObject::connect(DatasetsLB, &QListWidget::currentRowChanged, this, [this](int) {
        if (DatasetsLB->currentItem())
            LastDataSet = DatasetsLB->currentItem()->text();
        FillFields();
    });
    QObject::connect(FieldsLB, &QListWidget::itemDoubleClicked, this, [this] { SetModalResult(mrOk); });

    RestoreFormPosition(this);
    TRegIniFile Reg(frRegRootKey);
    DatasetsLB->resize(width(), Reg.ReadInteger(Section, QStringLiteral("SplitterPos"), 120));
    FRestoreHeight = height() < 30 ? 300 : height();
    if (ClientHeight() < 20)
        DatasetsLB->hide();
    OnResize = [this](QObject*) { LayoutLists(); };
    LayoutLists();
    frInsFieldsForm = this;
}

TfrInsFieldsForm::~TfrInsFieldsForm()
{
    if (frInsFieldsForm == this)
        frInsFieldsForm = nullptr;
}

void TfrInsFieldsForm::LayoutLists()
{
    // Each list keeps 16 pixels.
    const int Top = DatasetsLB->isHidden() ? 0 : std::clamp(DatasetsLB->height(), 16,
                                                              std::max(16, ClientHeight() - 2 - 16));
    DatasetsLB->setGeometry(0, 0, ClientWidth(), Top);
    Splitter->setGeometry(0, Top, ClientWidth(), 2);
    FieldsLB->setGeometry(0, Top + 2, ClientWidth(), std::max(0, ClientHeight() - Top - 2));
}

void TfrInsFieldsForm::MoveSplitter(int DY)
{
    DatasetsLB->resize(DatasetsLB->width(), DatasetsLB->height() + DY);
    LayoutLists();
}

void TfrInsFieldsForm::Fill()
{
    TStringList Names;
    if (CurReport)
        CurReport->Dictionary()->GetDataSetList(Names);
    FillList(DatasetsLB, Names);
    if (DatasetsLB->count() == 0) {
        FieldsLB->clear();
        return;
    }
    const QList<QListWidgetItem*> Found = DatasetsLB->findItems(LastDataSet, Qt::MatchExactly);
    const QSignalBlocker Block(DatasetsLB);
    DatasetsLB->setCurrentRow(Found.isEmpty() ? 0 : DatasetsLB->row(Found.first()));
    FillFields();
}

void TfrInsFieldsForm::FillFields()
{
    TStringList Names;
    if (CurReport && DatasetsLB->currentItem())
        CurReport->Dictionary()->GetFieldList(DatasetsLB->currentItem()->text(), Names);
    FillList(FieldsLB, Names);
    DBField.clear();
}

void TfrInsFieldsForm::RefreshData()
{
    if (DatasetsLB->currentItem())
        LastDataSet = DatasetsLB->currentItem()->text();
    Fill();
}

void TfrInsFieldsForm::ComputeDBField()
{
    if (DatasetsLB->currentItem())
        LastDataSet = DatasetsLB->currentItem()->text();
    DBField.clear();
    if (DatasetsLB->currentItem() && FieldsLB->currentItem() && FieldsLB->currentItem()->isSelected())
        DBField = DatasetsLB->currentItem()->text() + QStringLiteral(".\"") + FieldsLB->currentItem()->text() +
                  u'"';
}

void TfrInsFieldsForm::Grow()
{
    resize(width(), FRestoreHeight);
    DatasetsLB->show();
    LayoutLists();
    if (OnHeightChanged)
        OnHeightChanged(this);
}

void TfrInsFieldsForm::ToggleCollapsed()
{
    if (height() <= 30) {
        resize(width(), FRestoreHeight);
        DatasetsLB->show();
    } else {
        resize(width(), 0);
        DatasetsLB->hide();
    }
    LayoutLists();
    if (OnHeightChanged)
        OnHeightChanged(this);
}

void TfrInsFieldsForm::showEvent(QShowEvent* Event)
{
    TForm::showEvent(Event);
    Fill();
}

void TfrInsFieldsForm::hideEvent(QHideEvent* Event)
{
    TForm::hideEvent(Event);
    if (frInsFieldsForm == this)
        frInsFieldsForm = nullptr;
    SaveFormPosition(this);
    TRegIniFile Reg(frRegRootKey);
    Reg.WriteInteger(Section, QStringLiteral("SplitterPos"), DatasetsLB->height());
    ComputeDBField();
    if (frDesigner && frDesigner->isVisible())
        frDesigner->activateWindow();
}

bool TfrInsFieldsForm::event(QEvent* Event)
{
    if (Event->type() == QEvent::NonClientAreaMouseButtonDblClick) {
        ToggleCollapsed();
        return true;
    }
    return TForm::event(Event);
}

bool TfrInsFieldsForm::eventFilter(QObject* Watched, QEvent* Event)
{
    if (Watched == Splitter) {
        // The splitter gets other events too: the cast waits for the type.
        const auto Y = [Event] { return static_cast<QMouseEvent*>(Event)->position().toPoint().y(); };
        switch (Event->type()) {
        case QEvent::MouseButtonPress:
            FSplitDragging = true;
            FSplitStartY = Y();
            return true;
        case QEvent::MouseMove:
            if (FSplitDragging)
                MoveSplitter(Y() - FSplitStartY);
            return true;
        case QEvent::MouseButtonRelease:
            FSplitDragging = false;
            return true;
        default:
            break;
        }
    }
    return TForm::eventFilter(Watched, Event);
}
