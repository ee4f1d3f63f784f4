// The grid's filter row: the grid-wide switch (STFilter of the grid), each
// column's typed condition (STFilter of a column) and the one edit box that
// moves from filter cell to filter cell. The row only parses and keeps what
// is typed; applying it to data is the grid owner's OnApplyFilter (or a
// registered dataset handler), which reads the columns' condition records.
#pragma once

#include "grid/DBCtrlsEh.h"
#include "grid/DbUtilsEh.h"
#include "platform/gui/Graphics.h"

#include <QString>

class TColumnEh;
class TCustomDBGridEh;

// The grid's STFilter.
class TSTDBGridEhFilter
{
public:
    explicit TSTDBGridEhFilter(TCustomDBGridEh* AGrid) : FGrid(AGrid) {}
    TSTDBGridEhFilter(const TSTDBGridEhFilter&) = delete;
    TSTDBGridEhFilter& operator=(const TSTDBGridEhFilter&) = delete;

    TCustomDBGridEh* Grid() const { return FGrid; }
    // Stored for the owner; the grid itself does not look at it.
    bool Local() const { return FLocal; }
    void SetLocal(bool Value) { FLocal = Value; }
    // Makes the last title row a filter row; switching off hides the editor.
    bool Visible() const { return FVisible; }
    void SetVisible(bool Value);
    // While raised the filter editor is neither placed nor hidden.
    void BeginUpdate() { ++FUpdateCount; }
    void EndUpdate() { FUpdateCount = FUpdateCount > 0 ? FUpdateCount - 1 : 0; }
    int UpdateCount() const { return FUpdateCount; }
    // Copies Visible and Local.
    void Assign(const TSTDBGridEhFilter& Source);

private:
    TCustomDBGridEh* FGrid;
    int FUpdateCount = 0;
    bool FLocal = false;
    bool FVisible = false;
};

// A column's STFilter: the text as typed and the condition record it parsed to.
class TSTColumnFilterEh
{
public:
    explicit TSTColumnFilterEh(TColumnEh* AColumn) : FColumn(AColumn) {}
    virtual ~TSTColumnFilterEh() = default;
    TSTColumnFilterEh(const TSTColumnFilterEh&) = delete;
    TSTColumnFilterEh& operator=(const TSTColumnFilterEh&) = delete;

    TColumnEh* Column() const { return FColumn; }
    QString DataField() const { return FDataField; }
    void SetDataField(const QString& Value) { FDataField = Value; }
    // Whether the column has a filter cell; a change re-lays out the grid.
    bool Visible() const { return FVisible; }
    void SetVisible(bool Value);
    const TSTFilterConditionsEh& FilterConditions() const { return FConditions; }
    QString FilterText() const { return FFilterText; }
    // Parses Text for the column field's kind of value; only a text that
    // parses replaces the record and the stored text. Raises the parser's
    // error otherwise, leaving both as they were.
    void SetFilterText(const QString& Text);
    // What a dataset handler filters on: the column's field name and copies
    // of the operands.
    QString FieldName() const;
    TSTFilterOperandEh Operand1() const { return FConditions.Operand1; }
    TSTFilterOperandEh Operand2() const { return FConditions.Operand2; }
    // Copies DataField and Visible.
    void Assign(const TSTColumnFilterEh& Source);

private:
    TColumnEh* FColumn;
    QString FDataField;
    QString FFilterText;
    TSTFilterConditionsEh FConditions;
    bool FVisible = true;
};

// The edit box of the filter row: blue text on the lightened fixed colour,
// its keys move between filter cells and Enter applies the filter.
class TInplaceFilterEditEh : public TDBEditEh
{
public:
    explicit TInplaceFilterEditEh(TCustomDBGridEh* AGrid);

    TCustomDBGridEh* Grid() const { return FGrid; }
    void KeyDown(int& Key, TShiftState Shift) override;
    void DoExit() override;

private:
    TCustomDBGridEh* FGrid;
};

// The fixed colour with each of red, green and blue raised by an eighth of
// itself (rounded, at most 255): the filter cells' background.
TColor FilterCellColorEh(TColor FixedColor);
