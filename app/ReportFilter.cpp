#include "app/ReportFilter.h"

#include "app/MainForm.h"
#include "app/PublicFunction.h"
#include "app/ShareDM.h"
#include "platform/db/JetSql.h"
#include "platform/gui/Buttons.h"
#include "platform/gui/StdCtrls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

namespace {

const QString All = QStringLiteral("所有");

QRect FieldAt(int Column, int Row)
{
    return QRect(Column ? 318 : 88, 14 + Row * 30, 150, 22);
}

QDateEdit* NewPicker(QWidget* Parent, const char* Name, const QRect& Bounds)
{
    auto* Picker = new QDateEdit(Parent);
    Picker->setObjectName(QString::fromLatin1(Name));
    Picker->setCalendarPopup(true);
    Picker->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    Picker->setGeometry(Bounds);
    return Picker;
}

QLineEdit* NewEdit(QWidget* Parent, const char* Name, const QRect& Bounds)
{
    auto* Edit = new QLineEdit(Parent);
    Edit->setObjectName(QString::fromLatin1(Name));
    Edit->setGeometry(Bounds);
    return Edit;
}

void SetGrey(QLineEdit* Edit, bool Grey)
{
    QPalette P = Edit->palette();
    P.setColor(QPalette::Base, Grey ? QColor(0xDE, 0xDE, 0xDE) : Edit->style()->standardPalette().color(QPalette::Base));
    Edit->setPalette(P);
    Edit->setReadOnly(Grey);
}

} // namespace

TReportFilterForm::TReportFilterForm(QWidget* AOwner, const QString& Name, const QString& Caption,
                                     const QStringList& Kinds)
    : TForm(AOwner)
{
    setObjectName(Name);
    SetCaption(Caption);
    SetBorderStyle(bsDialog);
    SetPosition(poMainFormCenter);
    Font()->SetName(QStringLiteral("宋体"));
    Font()->SetHeight(-12);
    SetClientSize(490, 342);

    ComboBox5 = AddCombo("ComboBox5", QStringLiteral("单据类型"), 0, 0);
    ComboBox5->addItems(Kinds);
    Edit5 = AddEdit("Edit5", QStringLiteral("单据编号"), 0, 1);

    auto* Ranges = new QGroupBox(this);
    Ranges->setGeometry(12, 190, 466, 76);
    CheckBox1 = new QCheckBox(QStringLiteral("时间范围"), Ranges);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    CheckBox1->setGeometry(10, 12, 80, 22);
    DateTimePicker1 = NewPicker(Ranges, "DateTimePicker1", QRect(96, 12, 150, 22));
    (new QLabel(QStringLiteral("到"), Ranges))->setGeometry(256, 15, 20, 16);
    DateTimePicker2 = NewPicker(Ranges, "DateTimePicker2", QRect(280, 12, 150, 22));
    CheckBox2 = new QCheckBox(QStringLiteral("金额范围"), Ranges);
    CheckBox2->setObjectName(QStringLiteral("CheckBox2"));
    CheckBox2->setGeometry(10, 44, 80, 22);
    Edit2 = NewEdit(Ranges, "Edit2", QRect(96, 44, 150, 22));
    (new QLabel(QStringLiteral("到"), Ranges))->setGeometry(256, 47, 20, 16);
    Edit4 = NewEdit(Ranges, "Edit4", QRect(280, 44, 150, 22));

    GroupBox1 = new QGroupBox(QStringLiteral("快速查询"), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    GroupBox1->setGeometry(12, 274, 220, 58);
    Button1 = new TButton(GroupBox1);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(12, 22, 196, 26);

    BitBtn1 = new TBitBtn(this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->SetCaption(QStringLiteral("确定"));
    BitBtn1->SetDefault(true);
    BitBtn1->setGeometry(296, 296, 86, 28);
    BitBtn2 = new TBitBtn(this);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    BitBtn2->SetCaption(QStringLiteral("取消"));
    BitBtn2->setGeometry(392, 296, 86, 28);

    OnShow = [this](QObject* Sender) { FormShow(Sender); };
    QObject::connect(CheckBox1, &QCheckBox::clicked, this, [this] { CheckBox1Click(CheckBox1); });
    QObject::connect(CheckBox2, &QCheckBox::clicked, this, [this] { CheckBox2Click(CheckBox2); });
    QObject::connect(ComboBox5, &QComboBox::currentIndexChanged, this, [this] { ComboBox5Change(ComboBox5); });
}

QComboBox* TReportFilterForm::AddCombo(const char* Name, const QString& Caption, int Column, int Row, bool Editable)
{
    const QRect R = FieldAt(Column, Row);
    (new QLabel(Caption, this))->setGeometry(R.left() - 72, R.top() + 3, 68, 16);
    auto* Combo = new QComboBox(this);
    Combo->setObjectName(QString::fromLatin1(Name));
    Combo->setEditable(Editable);
    Combo->setGeometry(R);
    return Combo;
}

QLineEdit* TReportFilterForm::AddEdit(const char* Name, const QString& Caption, int Column, int Row)
{
    const QRect R = FieldAt(Column, Row);
    (new QLabel(Caption, this))->setGeometry(R.left() - 72, R.top() + 3, 68, 16);
    return NewEdit(this, Name, R);
}

void TReportFilterForm::WorkingMonth(TDateTime& First, TDateTime& Last) const
{
    int Y, M, D;
    DecodeDate(FormMain ? FormMain->WorkingDay() : Date(), Y, M, D);
    First = EncodeDate(Y, M, 1);
    Last = IncMonth(First, 1) - 1;
}

void TReportFilterForm::FormShow(QObject*)
{
    for (QLineEdit* Edit : {Edit2, Edit3, Edit4, Edit5})
        Edit->clear();
    const bool Salesman = CurrentRole == QStringLiteral("业务员");
    Edit6->setText(Salesman ? CurrentUser : QString());
    SetGrey(Edit6, Salesman);
    TDateTime First, Last;
    WorkingMonth(First, Last);
    DateTimePicker1->setDate(DateTimeToQDate(First));
    DateTimePicker2->setDate(DateTimeToQDate(Last));
    CheckBox1->setChecked(false);
    CheckBox2->setChecked(false);
    for (QWidget* W : std::initializer_list<QWidget*>{DateTimePicker1, DateTimePicker2, Edit2, Edit4})
        W->setEnabled(false);
}

void TReportFilterForm::CheckBox1Click(QObject*)
{
    DateTimePicker1->setEnabled(CheckBox1->isChecked());
    DateTimePicker2->setEnabled(CheckBox1->isChecked());
}

void TReportFilterForm::CheckBox2Click(QObject*)
{
    if (CheckBox2->isChecked() && ComboBox5->currentIndex() == 0) {
        ShowMessage(QStringLiteral("请先选定“单据类型”后再填金额范围"));
        CheckBox2->setChecked(false);
    }
    Edit2->setEnabled(CheckBox2->isChecked());
    Edit4->setEnabled(CheckBox2->isChecked());
}

void TReportFilterForm::ComboBox5Change(QObject*)
{
    if (ComboBox5->currentIndex() != 0)
        return;
    for (QLineEdit* Edit : {Edit2, Edit4}) {
        Edit->setEnabled(false);
        Edit->clear();
    }
}

bool TReportFilterForm::ReadBounds()
{
    QLineEdit* const Edits[2] = {Edit2, Edit4};
    QString* const Bounds[2] = {&LowBound, &HighBound};
    for (int I = 0; I < 2; ++I) {
        const QString Text = Edits[I]->text();
        Bounds[I]->clear();
        if (Text.isEmpty())
            continue;
        double Value = 0;
        // "1.2.3" and "." pass the digit test but are no number.
        if (!IsNumeric(Text) || !TryStrToFloat(Text, Value)) {
            ShowMessage(QStringLiteral("金额格式有误，请重新输入"));
            Edits[I]->setFocus();
            return false;
        }
        *Bounds[I] = FloatToStr(Value);
    }
    return true;
}

QString TReportFilterForm::PeriodCondition(const QString& Field) const
{
    if (!CheckBox1->isChecked())
        return QString();
    return QStringLiteral(" And (") + Field + QStringLiteral(" Between ")
           + JetDateLiteral(QDateToDateTime(DateTimePicker1->date())) + QStringLiteral(" And ")
           + JetDateLiteral(QDateToDateTime(DateTimePicker2->date())) + u')';
}

// Payments and purchases are stored negative: their typed bounds are negated
// and swapped.
QString TReportFilterForm::AmountConditions(const QString& Field) const
{
    if (!CheckBox2->isChecked())
        return QString();
    const int Kind = ComboBox5->currentIndex();
    QString Text;
    if (!LowBound.isEmpty() && Kind == 2)
        Text += QStringLiteral(" And (") + Field + QStringLiteral(" <= -") + LowBound + u')';
    else if (!LowBound.isEmpty() && Kind == 1)
        Text += QStringLiteral(" And (") + Field + QStringLiteral(" >= ") + LowBound + u')';
    if (!HighBound.isEmpty())
        Text += QStringLiteral(" And (") + Field + (Kind == 2 ? QStringLiteral(" >= -") : QStringLiteral(" <= "))
                + HighBound + u')';
    return Text;
}

QString TReportFilterForm::ChoiceCondition(const QComboBox* Combo, const QString& Field)
{
    const QString Text = Combo->currentText();
    if (Text == All)
        return QString();
    return QStringLiteral(" And (") + Field + QStringLiteral(" = ") + SqlQuoted(Text) + u')';
}
