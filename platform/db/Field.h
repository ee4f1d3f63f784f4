// TField: one column of a dataset's current record, with its display settings.
// One class serves every data type (the type is a property, numbered as the
// classic platform numbers it); values live in the dataset's row store, so a
// field holds no value of its own and reading a number allocates nothing.
#pragma once

#include "platform/db/DBTypes.h"
#include "platform/rtl/Variants.h"

#include <QObject>

struct TCell;

class TField : public QObject
{
    Q_OBJECT
public:
    // A field made by code before Open becomes a persistent field of DataSet:
    // Open binds it to the column of the same name instead of making a default one.
    explicit TField(QObject* AOwner = nullptr);
    ~TField() override;

    TDataSet* DataSet() const { return FDataSet; }
    void SetDataSet(TDataSet* Value);

    QString FieldName() const { return FFieldName; }
    void SetFieldName(const QString& Value) { FFieldName = Value; }
    QString DisplayLabel() const { return FDisplayLabel.isEmpty() ? FFieldName : FDisplayLabel; }
    void SetDisplayLabel(const QString& Value);
    QString DisplayName() const { return DisplayLabel(); }
    int DisplayWidth() const;
    void SetDisplayWidth(int Value);
    int Index() const;                 // position among the dataset's fields
    void SetIndex(int Value);
    int FieldNo() const { return FFieldNo + 1; } // 1-based column number, 0 for calculated
    bool Visible() const { return FVisible; }
    void SetVisible(bool Value);
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool Value) { FReadOnly = Value; }
    bool Required() const { return FRequired; }
    void SetRequired(bool Value) { FRequired = Value; }
    TAlignment Alignment() const;
    void SetAlignment(TAlignment Value);
    int Size() const { return FSize; }
    void SetSize(int Value) { FSize = Value; }
    TFieldType DataType() const { return FDataType; }
    void SetDataType(TFieldType Value) { FDataType = Value; }
    TFieldKind FieldKind() const { return FFieldKind; }
    void SetFieldKind(TFieldKind Value) { FFieldKind = Value; }
    bool IsBlob() const { return IsBlobFieldType(FDataType); }
    bool Calculated() const { return FFieldKind == fkCalculated; }
    bool Lookup() const { return FFieldKind == fkLookup; }
    QString DisplayFormat() const { return FDisplayFormat; }
    void SetDisplayFormat(const QString& Value);
    QString EditFormat() const { return FEditFormat; }
    void SetEditFormat(const QString& Value) { FEditFormat = Value; }
    // Float-like fields: digits shown without a format, and whether the text
    // takes the currency style (set by default for ftCurrency fields).
    int Precision() const { return FPrecision; }
    void SetPrecision(int Value) { FPrecision = Value; }
    bool Currency() const { return FCurrencySet ? FCurrency : FDataType == ftCurrency; }
    void SetCurrency(bool Value) { FCurrency = Value; FCurrencySet = true; }
    // Number fields: the range a number edit keeps to; 0 and 0 for none.
    double MinValue() const { return FMinValue; }
    void SetMinValue(double Value) { FMinValue = Value; }
    double MaxValue() const { return FMaxValue; }
    void SetMaxValue(double Value) { FMaxValue = Value; }
    QString EditMask() const { return FEditMask; }
    void SetEditMask(const QString& Value) { FEditMask = Value; }
    int Tag() const { return FTag; }
    void SetTag(int Value) { FTag = Value; }

    // Lookup fields: the value is LookupResultField of the LookupDataSet record
    // whose LookupKeyFields equal this dataset's KeyFields.
    QString KeyFields() const { return FKeyFields; }
    void SetKeyFields(const QString& Value) { FKeyFields = Value; }
    TDataSet* LookupDataSet() const { return FLookupDataSet; }
    void SetLookupDataSet(TDataSet* Value) { FLookupDataSet = Value; }
    QString LookupKeyFields() const { return FLookupKeyFields; }
    void SetLookupKeyFields(const QString& Value) { FLookupKeyFields = Value; }
    QString LookupResultField() const { return FLookupResultField; }
    void SetLookupResultField(const QString& Value) { FLookupResultField = Value; }

    // Values of the dataset's active record.
    bool IsNull() const;
    void Clear();
    QString AsString() const;
    void SetAsString(const QString& Value);
    int AsInteger() const;             // raises EConvertError when it does not fit 32 bits
    void SetAsInteger(int Value);
    int64_t AsLargeInt() const;
    void SetAsLargeInt(int64_t Value);
    double AsFloat() const;
    void SetAsFloat(double Value);
    double AsCurrency() const { return AsFloat(); }
    void SetAsCurrency(double Value) { SetAsFloat(Value); }
    TDateTime AsDateTime() const;
    void SetAsDateTime(TDateTime Value);
    bool AsBoolean() const;
    void SetAsBoolean(bool Value);
    Variant AsVariant() const;
    void SetAsVariant(const Variant& Value);
    Variant Value() const { return AsVariant(); }
    void SetValue(const Variant& Value) { SetAsVariant(Value); }
    Variant OldValue() const;          // the stored value before the current edit
    // The stored bytes of a text or blob value as they are (text is UTF-8);
    // empty for null and for values of other kinds.
    QByteArray AsBytes() const;
    void SetAsBytes(const QByteArray& Value);

    // Text as shown (DisplayFormat) and as edited (EditFormat); OnGetText can replace both.
    QString DisplayText() const;
    QString Text() const;
    void SetText(const QString& Value);   // through OnSetText when assigned

    bool CanModify() const;
    bool IsValidChar(QChar C) const;
    void FocusControl();

    TFieldGetTextEvent OnGetText;
    TFieldSetTextEvent OnSetText;
    TFieldNotifyEvent OnChange;
    TFieldNotifyEvent OnValidate;

private:
    friend class TDataSet;
    const TCell& Cell() const;
    void WriteCell(const TCell& Value);
    QString FormatText(bool ForDisplay) const;
    Variant LookupValue() const;
    Variant CellVariant(const TCell& C) const;
    void PropertyChanged(bool Layout);

    TDataSet* FDataSet = nullptr;
    QString FFieldName;
    QString FDisplayLabel;
    QString FDisplayFormat;
    QString FEditFormat;
    QString FEditMask;
    QString FKeyFields;
    QString FLookupKeyFields;
    QString FLookupResultField;
    TDataSet* FLookupDataSet = nullptr;
    TFieldType FDataType = ftUnknown;
    TFieldKind FFieldKind = fkData;
    TAlignment FAlignment = taLeftJustify;
    bool FAlignmentSet = false;
    int FFieldNo = -1;                 // cell index in the row store, -1 when unbound
    int FSize = 0;
    int FDisplayWidth = 0;             // 0: derived from the type and size
    int FTag = 0;
    int FPrecision = 15;
    double FMinValue = 0;
    double FMaxValue = 0;
    bool FVisible = true;
    bool FReadOnly = false;
    bool FRequired = false;
    bool FCurrency = false;
    bool FCurrencySet = false;
    bool FDefault = false;             // made by Open, freed by Close
};
