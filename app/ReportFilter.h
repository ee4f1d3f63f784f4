// The shape both query filter windows share: the kind box, the period and
// amount check boxes, the text boxes and lists, OK, cancel and the quick
// query. Each window adds its own lists and turns the boxes into conditions.
#pragma once

#include "platform/gui/Forms.h"
#include "platform/rtl/SysUtils.h"

class QCheckBox;
class QComboBox;
class QDateEdit;
class QGroupBox;
class QLineEdit;
class TBitBtn;
class TButton;

class TReportFilterForm : public TForm
{
public:
    // Kinds: "所有", then the receipt or sale kind, then the payment or purchase kind.
    TReportFilterForm(QWidget* AOwner, const QString& Name, const QString& Caption, const QStringList& Kinds);

    QComboBox* ComboBox5;  // 单据类型
    QCheckBox* CheckBox1;  // 时间范围
    QDateEdit* DateTimePicker1;
    QDateEdit* DateTimePicker2;
    QCheckBox* CheckBox2;  // 金额范围
    QLineEdit* Edit2;
    QLineEdit* Edit4;
    QLineEdit* Edit5;      // 单据编号
    QLineEdit* Edit3;      // 备注
    QLineEdit* Edit6;      // 业务员
    QComboBox* ComboBox2;
    QComboBox* ComboBox3;
    QComboBox* ComboBox6;  // 客户名称, editable
    TBitBtn* BitBtn1;
    TBitBtn* BitBtn2;
    QGroupBox* GroupBox1;  // 快速查询
    TButton* Button1;

    void FormShow(QObject* Sender);
    void CheckBox1Click(QObject* Sender);
    void CheckBox2Click(QObject* Sender);
    void ComboBox5Change(QObject* Sender);

protected:
    // A box of the left (Column 0) or right column at Row, with its caption.
    QComboBox* AddCombo(const char* Name, const QString& Caption, int Column, int Row, bool Editable = false);
    QLineEdit* AddEdit(const char* Name, const QString& Caption, int Column, int Row);
    // The first and last day of the working day's month.
    void WorkingMonth(TDateTime& First, TDateTime& Last) const;
    // Refuses a bound that is no number, with the message and the focus; a
    // bound read is kept as the number it was read as.
    bool ReadBounds();
    // The period, then the amount bounds on Field for the current kind.
    QString PeriodCondition(const QString& Field) const;
    QString AmountConditions(const QString& Field) const;
    // Not "所有": " And (Field = 'text')".
    static QString ChoiceCondition(const QComboBox* Combo, const QString& Field);
    QString LowBound;
    QString HighBound;
};
