#include "report/designer/FR_BndEd.h"

#include "platform/gui/Dialogs.h"
#include "platform/gui/StdCtrls.h"
#include "report/designer/FR_DsgLists.h"
#include "report/engine/FR_BandView.h"
#include "report/engine/FR_Class.h"
#include "report/engine/FR_Dict.h"
#include "report/engine/FR_Globals.h"
#include "report/engine/FR_Utils.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>

namespace {

TButton* NewButton(QWidget* Parent, int Id, TModalResult Result, const QRect& Bounds)
{
    auto* B = new TButton(Parent);
    B->SetCaption(LoadEngineString(Id));
    B->SetModalResult(Result);
    B->SetDefault(Result == mrOk);
    B->SetCancel(Result == mrCancel);
    B->setGeometry(Bounds);
    return B;
}

} // namespace

bool frIsRecordCount(const QString& Value)
{
    return !Value.isEmpty() && Value[0] >= u'1' && Value[0] <= u'9';
}

QStringList frBandSourceRows(bool Sorted)
{
    TStringList Sources;
    if (CurReport)
        CurReport->Dictionary()->GetBandDataSourceList(Sources);
    QStringList Rows;
    for (int i = 0; i < Sources.Count(); ++i)
        Rows << Sources.Strings(i);
    if (Sorted)
        Rows.sort(Qt::CaseInsensitive);
    return QStringList{LoadEngineString(55076), LoadEngineString(55333)} + Rows;
}

int frBandSourceRow(const QStringList& Rows, const QString& Value)
{
    if (frIsRecordCount(Value))
        return 1;
    const QString Alias = CurReport ? CurReport->Dictionary()->GetAliasName(Value) : Value;
    for (int r = 2; r < Rows.size(); ++r)
        if (SameText(Rows[r], Alias))
            return r;
    return 0;
}

QString frRealSourceName(const QString& Row)
{
    return CurReport ? CurReport->Dictionary()->GetRealDataSourceName(Row) : Row;
}

bool frCheckRecordCount(const QString& Text)
{
    if (!frRecordCount(Text).isEmpty())
        return true;
    ShowError(LoadEngineString(55673), LoadEngineString(55206));
    return false;
}

QString frRecordCount(const QString& Text)
{
    const QString T = Text.trimmed();
    bool Ok = !T.isEmpty();
    for (QChar C : T)
        Ok = Ok && C >= u'0' && C <= u'9';
    const qlonglong N = Ok ? T.toLongLong(&Ok) : 0;
    return Ok && T.size() <= 10 && N >= 1 && N <= 2147483647 ? QString::number(N) : QString();
}

// ---------------------------------------------------------------- data band

TfrBandEditorForm::TfrBandEditorForm()
{
    setObjectName(QStringLiteral("frBandEditorForm"));
    SetBorderStyle(bsDialog);
    SetPosition(poScreenCenter);
    SetClientSize(225, 205);
    SetCaption(LoadEngineString(53480));
    GB1 = new QGroupBox(this);
    GB1->setGeometry(4, 0, 217, 169);
    LB1 = frNewIconList(GB1);
    LB1->setGeometry(8, 12, 201, 121);
    Label2 = new QLabel(LoadEngineString(53482), GB1);
    Label2->setGeometry(8, 142, 100, 16);
    Edit1 = new QLineEdit(QStringLiteral("1"), GB1);
    Edit1->setGeometry(112, 140, 97, 21);
    Label2->setBuddy(Edit1);
    Button1 = NewButton(this, 55000, mrOk, QRect(65, 176, 75, 25));
    Button2 = NewButton(this, 55001, mrCancel, QRect(146, 176, 75, 25));
    QObject::connect(LB1, &QListWidget::currentRowChanged, this, [this] { LB1Click(); });
    QObject::connect(LB1, &QListWidget::itemDoubleClicked, this, [this] { SetModalResult(mrOk); });
    OnCloseQuery = [this](QObject*, bool& CanClose) {
        if (ModalResult() == mrOk && LB1->currentRow() == 1)
            CanClose = frCheckRecordCount(Edit1->text());
    };
}

void TfrBandEditorForm::LB1Click()
{
    EnableControls({Label2, Edit1}, LB1->currentRow() == 1);
}

TModalResult TfrBandEditorForm::ShowEditor(TfrView* View)
{
    auto* Band = dynamic_cast<TfrBandView*>(View);
    if (!Band)
        return mrCancel;
    const QStringList Rows = frBandSourceRows(false);
    for (int r = 0; r < Rows.size(); ++r)
        frAddListItem(LB1, Rows[r], r == 0 ? liNone : liDataSource);
    const QString Text = Band->FormatStr();
    if (frIsRecordCount(Text))
        Edit1->setText(Text);
    LB1->setCurrentRow(frBandSourceRow(Rows, Text));
    LB1Click();
    const TModalResult Result = ShowModal();
    if (Result == mrOk) {
        if (frDesigner)
            frDesigner->BeforeChange();
        const int Row = std::max(LB1->currentRow(), 0);
        Band->SetFormatStr(Row == 1 ? frRecordCount(Edit1->text()) : frRealSourceName(Rows[Row]));
    }
    return Result;
}
