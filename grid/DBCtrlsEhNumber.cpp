// The number edit: value, formats, typing rules, stepping and the calculator.
#include "grid/CalculatorEh.h"
#include "grid/DBCtrlsEh.h"
#include "grid/ToolCtrlsEh.h"

#include "platform/db/DataSet.h"
#include "platform/db/Field.h"
#include "platform/gui/Clipbrd.h"

#include <QApplication>
#include <QFocusEvent>
#include <QScreen>
#include <QWheelEvent>
#include <cmath>

// ---------------------------------------------------------------- rules

QString NumberEditEh::EditFormatFromDisplayFormat(const QString& DisplayFormat)
{
    QString Result;
    const qsizetype N = DisplayFormat.size();
    int ExponentDigits = 0;
    bool InExponent = false;
    for (qsizetype I = 0; I < N; ++I) {
        const QChar C = DisplayFormat[I];
        if (C == u'"' || C == u'\'') {
            const qsizetype Close = DisplayFormat.indexOf(C, I + 1);
            if (Close < 0)
                break;
            I = Close;
            continue;
        }
        if (C == u';')
            break;
        if (C == u'E' || C == u'e') {
            InExponent = true;
            if (I + 1 < N && DisplayFormat[I + 1] == u'+')
                ++I;
            // The first exponent digit goes with the letter.
            if (I + 1 < N && DisplayFormat[I + 1] == u'0')
                ++I;
            continue;
        }
        if (InExponent && C == u'0' && ++ExponentDigits >= 4)
            break;
        if (C == u'#' || C == u',' || C == u'.' || C == u'0')
            Result += C;
    }
    return Result;
}

QString NumberEditEh::Normalize(const QString& Text, const TFormatSettings& Settings)
{
    QString S = Text.trimmed();
    const QChar Dec = Settings.DecimalSeparator, Th = Settings.ThousandSeparator;
    if (Th != Dec)
        S.remove(Th);
    for (QChar C : {QChar(u'.'), QChar(u',')})
        if (Dec != C && Th != C)
            S.replace(C, Dec);
    return S;
}

bool NumberEditEh::IsValidText(const QString& Text, int DecimalPlaces, double MinValue, double MaxValue,
                               const TFormatSettings& Settings)
{
    const QString S = Normalize(Text, Settings);
    const QChar Dec = Settings.DecimalSeparator;
    for (QChar C : S)
        if (!(C.isDigit() && C.unicode() < 128) && C != u'+' && C != u'-' && C != u'E' && C != u'e' && C != Dec)
            return false;
    if (S.isEmpty() || S == u'+' || S == u'-')
        return true;
    double V;
    if (!TryStrToFloat(S, V, Settings))
        return false;
    if (const qsizetype Point = S.indexOf(Dec); Point >= 0) {
        qsizetype End = S.indexOf(u'E', Point, Qt::CaseInsensitive);
        if (End < 0)
            End = S.size();
        if (End - Point - 1 > DecimalPlaces)
            return false;
    }
    return !(MinValue >= 0 && MaxValue > 0 && (V < 0 || S.startsWith(u'-')));
}

double NumberEditEh::LimitToRange(double Value, double MinValue, double MaxValue)
{
    if (MinValue == MaxValue)
        return Value;
    if (MinValue < MaxValue)
        return std::clamp(Value, MinValue, MaxValue);
    if (MaxValue == 0)
        return std::max(Value, MinValue);
    if (MinValue == 0)
        return std::min(Value, MaxValue);
    return Value;
}

QString NumberEditEh::WithThousands(const QString& Text, const TFormatSettings& Settings)
{
    const QChar Th = Settings.ThousandSeparator;
    QString Sign;
    QString Rest = Text;
    if (Rest.startsWith(u'-') || Rest.startsWith(u'+')) {
        Sign = Rest.left(1);
        Rest.remove(0, 1);
    }
    qsizetype End = 0;
    while (End < Rest.size() && (Rest[End].isDigit() || Rest[End] == Th))
        ++End;
    QString Digits = Rest.left(End);
    Digits.remove(Th);
    for (qsizetype I = Digits.size() - 3; I > 0; I -= 3)
        Digits.insert(I, Th);
    return Sign + Digits + Rest.mid(End);
}

// ---------------------------------------------------------------- TCustomDBNumberEditEh

TCustomDBNumberEditEh::TCustomDBNumberEditEh(QWidget* AParent) : TCustomDBEditEh(AParent)
{
    ResetEditButton();
    UpdateEditFormat();
}

std::unique_ptr<TEditButtonEh> TCustomDBNumberEditEh::CreateEditButton()
{
    return std::make_unique<TDropDownEditButtonEh>(nullptr, this);
}

// Up-down buttons step by the half pressed; drop-down ones open or close
// the calculator.
void TCustomDBNumberEditEh::PressMainButton(bool TopButton)
{
    if (EditButton()->Style() == ebsUpDownEh) {
        if (!CheckReadOnly())
            Step(TopButton);
        return;
    }
    if (FDroppedDown)
        CloseUp(false);
    else
        DropDown();
}

TCustomDBNumberEditEh::~TCustomDBNumberEditEh() = default;

QString TCustomDBNumberEditEh::DisplayFormat() const
{
    if (FAssigned & naDisplayFormat)
        return FDisplayFormat;
    const TField* F = Field();
    if (F && (IsNumericFieldType(F->DataType()) || IsDateTimeFieldType(F->DataType())))
        return F->DisplayFormat();
    return QString();
}

void TCustomDBNumberEditEh::SetDisplayFormat(const QString& Value)
{
    const bool Changed = Value != DisplayFormat();
    FDisplayFormat = Value;
    FAssigned |= naDisplayFormat;
    if (Changed)
        UpdateControlText();
}

bool TCustomDBNumberEditEh::Currency() const
{
    if (FAssigned & naCurrency)
        return FCurrency;
    const TField* F = Field();
    return F && (F->DataType() == ftFloat || F->DataType() == ftCurrency || F->DataType() == ftBCD) && F->Currency();
}

void TCustomDBNumberEditEh::SetCurrency(bool Value)
{
    const bool Changed = Value != Currency();
    FCurrency = Value;
    FAssigned |= naCurrency;
    if (Changed)
        UpdateControlText();
}

namespace {

bool RangedField(const TField* F)
{
    if (!F)
        return false;
    const TFieldType T = F->DataType();
    return T == ftSmallint || T == ftInteger || T == ftWord || T == ftLargeint || T == ftFloat || T == ftCurrency
           || T == ftBCD;
}

} // namespace

double TCustomDBNumberEditEh::MaxValue() const
{
    if (FAssigned & naMaxValue)
        return FMaxValue;
    return RangedField(Field()) ? Field()->MaxValue() : 0;
}

void TCustomDBNumberEditEh::SetMaxValue(double Value)
{
    const bool Changed = Value != MaxValue();
    FMaxValue = Value;
    FAssigned |= naMaxValue;
    if (Changed)
        UpdateControlText();
}

double TCustomDBNumberEditEh::MinValue() const
{
    if (FAssigned & naMinValue)
        return FMinValue;
    return RangedField(Field()) ? Field()->MinValue() : 0;
}

void TCustomDBNumberEditEh::SetMinValue(double Value)
{
    const bool Changed = Value != MinValue();
    FMinValue = Value;
    FAssigned |= naMinValue;
    if (Changed)
        UpdateControlText();
}

void TCustomDBNumberEditEh::SetDecimalPlaces(int Value)
{
    FDecimalPlaces = std::max(0, Value);
}

// With currency the edit keeps a leading zero ("#,##0.00"): a bare ",#.00"
// would show 0.5 as ".50".
void TCustomDBNumberEditEh::UpdateEditFormat()
{
    const QString DF = DisplayFormat();
    if (!DF.isEmpty()) {
        FEditFormat = NumberEditEh::EditFormatFromDisplayFormat(DF);
    } else if (Currency()) {
        const int Decimals = FormatSettings().CurrencyDecimals;
        FEditFormat = QStringLiteral("#,##0");
        if (Decimals > 0)
            FEditFormat += u'.' + QString(Decimals, u'0');
    } else {
        FEditFormat.clear();
    }
}

QString TCustomDBNumberEditEh::GetDisplayTextForValue() const
{
    if (FValue.IsNull())
        return QString();
    const double V = FValue.AsFloat();
    const QString DF = DisplayFormat();
    if (!DF.isEmpty())
        return FormatFloat(DF, V);
    if (Currency())
        return CurrToStrF(V, TFloatFormat::ffCurrency, FormatSettings().CurrencyDecimals);
    return FloatToStr(V);
}

void TCustomDBNumberEditEh::UpdateControlText()
{
    UpdateEditFormat();
    Variant V = Variant::Null();
    if (TField* F = Field())
        V = F->Value();
    else if (IsUnbound())
        V = DataLink()->OwnValue();
    InternalSetValue(V);
    RefreshReadOnlyState();
    DataLink()->ClearModified();
}

void TCustomDBNumberEditEh::InternalSetValue(const Variant& Value)
{
    FValue = Value.IsNull() || Value.IsEmpty() ? Variant::Null() : Variant(Value.AsFloat());
    RefreshText();
}

// A nested set while one runs (a text change reformatting itself) is ignored.
void TCustomDBNumberEditEh::RefreshText()
{
    if (FInSetText)
        return;
    FInSetText = true;
    QString Text;
    if (!FValue.IsNull())
        Text = FocusedForEditing() && DataLink()->CanModify() ? FormatFloat(FEditFormat, FValue.AsFloat())
                                                               : GetDisplayTextForValue();
    SetControlText(Text);
    FInSetText = false;
}

void TCustomDBNumberEditEh::InternalSetText(const QString& Value)
{
    if (Value.isEmpty())
        InternalSetValue(Variant::Null());
    else
        InternalSetValue(StrToFloat(NumberEditEh::Normalize(Value, FormatSettings())));
    DataLink()->SetModified();
}

void TCustomDBNumberEditEh::UpdateFieldFromText()
{
    DataLink()->SetValue(FValue);
}

bool TCustomDBNumberEditEh::TakeTypedText()
{
    const QString T = text().trimmed();
    if (T == u'+' || T == u'-') {
        InternalSetValue(0.0);
        return true;
    }
    if (T.isEmpty()) {
        InternalSetValue(Variant::Null());
        return true;
    }
    double V;
    if (!TryStrToFloat(NumberEditEh::Normalize(T, FormatSettings()), V))
        return false;
    InternalSetValue(NumberEditEh::LimitToRange(V, MinValue(), MaxValue()));
    return true;
}

bool TCustomDBNumberEditEh::IsValidChar(QChar Key) const
{
    QString T = text();
    const int Start = hasSelectedText() ? selectionStart() : cursorPosition();
    T.replace(Start, selectedText().size(), Key);
    return NumberEditEh::IsValidText(T, FDecimalPlaces, MinValue(), MaxValue(), FormatSettings());
}

// Thousand separators follow the typing; the caret keeps its distance from the end.
void TCustomDBNumberEditEh::TextEdited()
{
    TCustomDBEditEh::TextEdited();
    // Not modified: the record refused the change and the text is the field's.
    if (SettingText() || !Modified() || !FEditFormat.contains(u','))
        return;
    const QString Old = text();
    const QString New = NumberEditEh::WithThousands(Old, FormatSettings());
    if (New == Old)
        return;
    const int FromEnd = int(Old.size()) - cursorPosition();
    SetControlText(New);
    setCursorPosition(std::max(0, int(New.size()) - FromEnd));
}

void TCustomDBNumberEditEh::TextSetByCode()
{
    if (!IsUnbound() || FInSetText)
        return;
    const QString T = text().trimmed();
    double V;
    if (T.isEmpty())
        FValue = Variant::Null();
    else if (TryStrToFloat(NumberEditEh::Normalize(T, FormatSettings()), V))
        FValue = V;
    else
        return;
    DataLink()->SetValue(FValue);
}

bool TCustomDBNumberEditEh::CanStep() const
{
    return FIncrement != 0 && !CheckReadOnly() && DataLink()->Edit();
}

void TCustomDBNumberEditEh::Step(bool Up)
{
    if (!CanStep())
        return;
    const double V = FValue.IsNull() ? FIncrement : FValue.AsFloat() + (Up ? FIncrement : -FIncrement);
    InternalSetValue(NumberEditEh::LimitToRange(V, MinValue(), MaxValue()));
    DataLink()->SetModified();
    if (FocusedForEditing())
        selectAll();
}

void TCustomDBNumberEditEh::KeyDown(int& Key, TShiftState Shift)
{
    // While the calculator is open Enter is its own ("=" computes, "Ok"
    // accepts) and Esc closes it without a value.
    if (FDroppedDown && (Key == VK_RETURN || Key == VK_ESCAPE)) {
        if (Key == VK_RETURN) {
            QChar Enter(13);
            GetCalculator()->KeyPress(Enter);
        } else {
            CloseUp(false);
        }
        Key = 0;
        return;
    }
    if (FDroppedDown && (Key == VK_UP || Key == VK_DOWN) && Shift.Contains(ssAlt)) {
        CloseUp(true);
        Key = 0;
        return;
    }
    if (Key == VK_RETURN && Modified() && !TakeTypedText())
        QApplication::beep();
    TCustomDBEditEh::KeyDown(Key, Shift);
    if (Key == 0)
        return;
    if ((Key == VK_UP || Key == VK_DOWN) && !CheckReadOnly()) {
        Step(Key == VK_UP);
        Key = 0;
    } else if ((Key == 'V' && Shift == TShiftState{ssCtrl}) || (Key == VK_INSERT && Shift == TShiftState{ssShift})) {
        Key = 0;
        PasteFromClipboard();
    }
}

// Pasted text must be a number; anything else is refused whole.
void TCustomDBNumberEditEh::PasteFromClipboard()
{
    if (CheckReadOnly())
        return;
    QString T = text();
    const int Start = hasSelectedText() ? selectionStart() : cursorPosition();
    T.replace(Start, selectedText().size(), TClipboard().AsText().trimmed());
    double V;
    if (!TryStrToFloat(NumberEditEh::Normalize(T, FormatSettings()), V) || !DataLink()->Edit()) {
        QApplication::beep();
        return;
    }
    InternalSetValue(NumberEditEh::LimitToRange(V, MinValue(), MaxValue()));
    DataLink()->SetModified();
}

void TCustomDBNumberEditEh::KeyPress(QChar& Key)
{
    if (Key == u',' || Key == u'.')
        Key = FormatSettings().DecimalSeparator;
    if (FDroppedDown) {
        GetCalculator()->KeyPress(Key);
        Key = QChar();
        return;
    }
    if (Key.unicode() == 27) {
        UpdateControlText();
        selectAll();
        Key = QChar();
        return;
    }
    TCustomDBEditEh::KeyPress(Key);
    if (!Key.isNull() && Key.unicode() >= 32 && !IsValidChar(Key)) {
        QApplication::beep();
        Key = QChar();
    }
}

void TCustomDBNumberEditEh::DoExit()
{
    if (Modified() && !TakeTypedText())
        QApplication::beep();
    TCustomDBEditEh::DoExit();
}

void TCustomDBNumberEditEh::wheelEvent(QWheelEvent* Event)
{
    const int Delta = Event->angleDelta().y();
    if (Delta == 0 || CheckReadOnly() || !DataLink()->CanModify()) {
        TCustomDBEditEh::wheelEvent(Event);
        return;
    }
    Step(Delta > 0);
    Event->accept();
}

void TCustomDBNumberEditEh::focusOutEvent(QFocusEvent* Event)
{
    if (FDroppedDown && QApplication::focusWidget() != FCalculator)
        CloseUp(false);
    TCustomDBEditEh::focusOutEvent(Event);
}

// ---- calculator

TPopupCalculatorEh* TCustomDBNumberEditEh::GetCalculator()
{
    if (!FCalculator) {
        FCalculator = new TPopupCalculatorEh(this);
        FCalculator->OnCloseUp = [this](bool Accept) { CloseUp(Accept); };
    }
    return FCalculator;
}

void TCustomDBNumberEditEh::DropDown()
{
    if (FDroppedDown)
        return;
    if (OnDropDown)
        OnDropDown(this);
    TPopupCalculatorEh* Calc = GetCalculator();
    Calc->SetValue(FValue.IsNull() ? Variant(0.0) : FValue);
    Calc->Font()->SetFromQFont(font());
    // Under the edit, or above it when there is no room below.
    const QRect Edit(mapToGlobal(QPoint(0, 0)), size());
    const QScreen* S = screen();
    const QRect Work = S ? S->availableGeometry() : QRect(0, 0, 1 << 16, 1 << 16);
    Calc->move(PlaceDropDownEh(Edit, Calc->size(), taLeftJustify, Work).Bounds.topLeft());
    Calc->show();
    FDroppedDown = true;
}

void TCustomDBNumberEditEh::CloseUp(bool Accept)
{
    if (!FDroppedDown)
        return;
    FDroppedDown = false;
    FCalculator->hide();
    if (Accept && !CheckReadOnly() && DataLink()->Edit()) {
        const Variant V = FCalculator->Value();
        if (V.Kind() == Variant::TKind::Double || V.Kind() == Variant::TKind::Integer) {
            InternalSetValue(V);
            DataLink()->SetModified();
            if (FocusedForEditing())
                selectAll();
        }
    }
    if (OnCloseUp)
        OnCloseUp(this, Accept);
}
