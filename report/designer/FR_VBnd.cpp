#include "report/designer/FR_VBnd.h"

#include "platform/gui/StdCtrls.h"
#include "report/designer/FR_BndEd.h"
#include "report/designer/FR_DsgLists.h"
#include "report/designer/FR_DsgPage.h"
#include "report/engine/FR_BandView.h"
#include "report/engine/FR_Globals.h"
#include "report/engine/FR_Page.h"
#include "report/engine/FR_Utils.h"
#include "report/engine/FR_Variables.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMap>

TfrVBandEditorForm::TfrVBandEditorForm()
{
    setObjectName(QStringLiteral("frVBandEditorForm"));
    SetBorderStyle(bsDialog);
    SetPosition(poScreenCenter);
    SetClientSize(399, 126);
    SetCaption(LoadEngineString(53485));
    GroupBox1 = new QGroupBox(LoadEngineString(53486), this);
    GroupBox1->setGeometry(4, 0, 197, 89);
    LB1 = frNewIconList(GroupBox1);
    LB1->setGeometry(8, 16, 181, 65);
    GroupBox2 = new QGroupBox(LoadEngineString(53487), this);
    GroupBox2->setGeometry(206, 0, 189, 89);
    CB1 = new QComboBox(GroupBox2);
    CB1->setItemDelegate(new TfrIconDelegate(CB1));
    CB1->setGeometry(8, 18, 173, 22);
    Label1 = new QLabel(LoadEngineString(53488), GroupBox2);
    Label1->setGeometry(8, 52, 90, 16);
    Edit1 = new QLineEdit(QStringLiteral("1"), GroupBox2);
    Edit1->setGeometry(100, 50, 81, 21);
    Label1->setBuddy(Edit1);
    Button1 = new TButton(this);
    Button1->SetCaption(LoadEngineString(55000));
    Button1->SetModalResult(mrOk);
    Button1->SetDefault(true);
    Button1->setGeometry(239, 97, 75, 25);
    Button2 = new TButton(this);
    Button2->SetCaption(LoadEngineString(55001));
    Button2->SetModalResult(mrCancel);
    Button2->SetCancel(true);
    Button2->setGeometry(320, 97, 75, 25);
    QObject::connect(LB1, &QListWidget::currentRowChanged, this, [this] { LB1Click(); });
    QObject::connect(CB1, &QComboBox::currentIndexChanged, this, [this] { CB1Click(); });
    QObject::connect(Edit1, &QLineEdit::editingFinished, this, [this] { CB1Exit(); });
    OnCloseQuery = [this](QObject*, bool& CanClose) {
        if (ModalResult() != mrOk)
            return;
        CB1Exit();
        // Every record count must be a whole number; the first bad one is shown.
        for (int r = 0; r < LB1->count(); ++r) {
            const QString Name = LB1->item(r)->text().section(u':', 0, 0);
            const QString Value = VarToStr(FList->GetVariable(Name));
            if (!FVirtual.contains(Name.toUpper()) && !frIsRecordCount(Value))
                continue;
            if (!frRecordCount(Value).isEmpty()) {
                FList->SetVariable(Name, frRecordCount(Value));
                continue;
            }
            LB1->setCurrentRow(r);
            CanClose = frCheckRecordCount(Value);
            return;
        }
    };
}

TfrVBandEditorForm::~TfrVBandEditorForm() = default;

QString TfrVBandEditorForm::SelectedBand() const
{
    const QListWidgetItem* Item = LB1->currentItem();
    return Item ? Item->text().section(u':', 0, 0) : QString();
}

void TfrVBandEditorForm::LB1Click()
{
    CB1Exit();
    FBand = SelectedBand();
    if (FBand.isEmpty())
        return;
    QStringList Rows;
    for (int i = 0; i < CB1->count(); ++i)
        Rows << CB1->itemText(i);
    const QString Value = VarToStr(FList->GetVariable(FBand));
    const QSignalBlocker Block(CB1);
    CB1->setCurrentIndex(frBandSourceRow(Rows, Value));
    Edit1->setText(frIsRecordCount(Value) ? Value : QStringLiteral("1"));
    CB1Click();
}

void TfrVBandEditorForm::CB1Click()
{
    EnableControls({Label1, Edit1}, CB1->currentIndex() == 1);
}

void TfrVBandEditorForm::CB1Exit()
{
    if (!FList || FBand.isEmpty() || CB1->currentIndex() < 0)
        return;
    const bool Virtual = CB1->currentIndex() == 1;
    FList->SetVariable(FBand, Virtual ? Edit1->text() : frRealSourceName(CB1->currentText()));
    if (Virtual)
        FVirtual.insert(FBand.toUpper());
    else
        FVirtual.remove(FBand.toUpper());
}

TModalResult TfrVBandEditorForm::ShowEditor(TfrView* View)
{
    auto* Band = dynamic_cast<TfrBandView*>(View);
    TfrPage* Page = frDesignPage();
    if (!Band || !Page)
        return mrCancel;
    const QString Text = Band->FormatStr();
    const bool Single = !Text.contains(u';');
    // Pairs by whole band name, in any case.
    QMap<QString, QString> Pairs;
    for (const QString& Pair : Text.split(u';', Qt::SkipEmptyParts)) {
        const qsizetype Equal = Pair.indexOf(u'=');
        if (Equal > 0)
            Pairs.insert(Pair.left(Equal).trimmed().toUpper(), Pair.mid(Equal + 1));
    }
    TfrVariables List;
    for (int i = 0; i < Page->Count(); ++i) {
        auto* Other = dynamic_cast<TfrBandView*>(Page->Objects(i));
        if (!Other)
            continue;
        const int Type = Other->BandType();
        if (!((Type >= 4 && Type <= 12) || (Type >= 14 && Type <= 17) || Type == 21))
            continue;
        frAddListItem(LB1, Other->Name() + QStringLiteral(": ") + frBandName(Type), liBand);
        const QString Key = Other->Name().toUpper();
        List.SetVariable(Other->Name(), Pairs.contains(Key) ? Pairs.value(Key) : Single ? Text : QStringLiteral("0"));
    }
    if (List.Count() == 0)
        return mrCancel;
    FList = &List;
    const QStringList Rows = frBandSourceRows(true);
    {
        const QSignalBlocker Block(CB1);
        for (int r = 0; r < Rows.size(); ++r) {
            CB1->addItem(Rows[r]);
            CB1->setItemData(r, r == 0 ? liNone : liDataSource, frIconRole);
        }
    }
    {
        const QSignalBlocker Block(LB1);
        LB1->setCurrentRow(0);
    }
    LB1Click();
    const TModalResult Result = ShowModal();
    if (Result == mrOk) {
        if (frDesigner)
            frDesigner->BeforeChange();
        QString NewText;
        for (int i = 0; i < List.Count(); ++i)
            NewText += List.GetName(i) + u'=' + VarToStr(List.GetValue(i)) + u';';
        Band->SetFormatStr(NewText);
    }
    FList = nullptr;
    FBand.clear();
    FVirtual.clear();
    return Result;
}
