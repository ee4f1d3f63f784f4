#include "grid/DBGridEhFilter.h"

#include "grid/DBGridEh.h"
#include "grid/DBGridEhColumns.h"
#include "grid/ToolCtrlsEh.h"
#include "platform/db/Field.h"

#include <algorithm>
#include <cmath>

// ---------------------------------------------------------------- grid switch

void TSTDBGridEhFilter::SetVisible(bool Value)
{
    if (Value == FVisible)
        return;
    // The editor stores its text while its row still exists.
    if (!Value)
        FGrid->HideFilterEdit();
    FVisible = Value;
    FGrid->LayoutChanged();
}

void TSTDBGridEhFilter::Assign(const TSTDBGridEhFilter& Source)
{
    SetVisible(Source.Visible());
    SetLocal(Source.Local());
}

// ---------------------------------------------------------------- column filter

void TSTColumnFilterEh::SetVisible(bool Value)
{
    if (Value == FVisible)
        return;
    FVisible = Value;
    FColumn->Changed();
}

void TSTColumnFilterEh::SetFilterText(const QString& Text)
{
    TSTFilterConditionsEh Record;
    TField* F = FColumn->Field();
    Record.DataType = F ? STFilterDataTypeOf(F->DataType()) : fdtNone;
    // The parser replaces Record only when the whole text parsed.
    ParseFilterText(Text, Record);
    FConditions = Record;
    FFilterText = Text;
}

QString TSTColumnFilterEh::FieldName() const
{
    return FColumn->FieldName();
}

void TSTColumnFilterEh::Assign(const TSTColumnFilterEh& Source)
{
    SetDataField(Source.DataField());
    SetVisible(Source.Visible());
}

std::unique_ptr<TSTColumnFilterEh> TColumnEh::CreateSTFilter() const
{
    return std::make_unique<TSTColumnFilterEh>(const_cast<TColumnEh*>(this));
}

TSTColumnFilterEh* TColumnEh::STFilter() const
{
    if (!FSTFilter)
        FSTFilter = CreateSTFilter();
    return FSTFilter.get();
}

// ---------------------------------------------------------------- editor

TColor FilterCellColorEh(TColor FixedColor)
{
    const TColor C = ColorToRGB(FixedColor);
    auto Up = [](int V) { return std::min(255, V + int(std::lround(V / 8.0))); };
    return RGB(Up(GetRValue(C)), Up(GetGValue(C)), Up(GetBValue(C)));
}

TInplaceFilterEditEh::TInplaceFilterEditEh(TCustomDBGridEh* AGrid) : TDBEditEh(AGrid), FGrid(AGrid)
{
    hide();
    setFrame(false);
    SetAutoSize(false);
    // The text sits one pixel lower than in a plain data edit.
    setTextMargins(0, 1, 0, 0);
    connect(this, &QLineEdit::textChanged, this, [this] { FGrid->FilterTextChanged(); });
}

void TInplaceFilterEditEh::KeyDown(int& Key, TShiftState Shift)
{
    FGrid->FilterKeyDown(Key, Shift);
    if (Key != 0)
        TDBEditEh::KeyDown(Key, Shift);
}

void TInplaceFilterEditEh::DoExit()
{
    TDBEditEh::DoExit();
    // Leaving the cell for another control: a text that does not parse is
    // reported here, once.
    if (FGrid->FilterEditing() && FGrid->FilterCol() >= 0)
        FGrid->StoreFilterTextReporting(FGrid->FilterCol(), false);
}
