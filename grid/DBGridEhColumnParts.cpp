// The parts a column owns: its title (caption, colours, sort marker) and its
// footers (what they aggregate through the grid's sum list).
#include "grid/DBGridEh.h"
#include "grid/DBGridEhColumns.h"
#include "grid/DBSumLst.h"
#include "platform/db/DataLink.h"
#include "platform/db/Field.h"
#include "platform/rtl/SysUtils.h"

// ---------------------------------------------------------------- title

TColumnTitleEh::TColumnTitleEh(TColumnEh* AColumn) : FColumn(AColumn) {}

TColumnTitleEh::~TColumnTitleEh() = default;

template <class T>
void TColumnTitleEh::SetValue(T& Field, T Value, TTitleValue Flag)
{
    if (FAssigned.Contains(Flag) && Field == Value)
        return;
    Field = Value;
    FAssigned << Flag;
    Changed();
}

void TColumnTitleEh::Changed(bool Layout)
{
    (void)Layout;
    FColumn->Changed();
}

TAlignment TColumnTitleEh::Alignment() const
{
    if (FAssigned.Contains(tvAlignment))
        return FAlignment;
    TCustomDBGridEh* G = FColumn->Grid();
    return G ? G->ColumnDefValues()->Title()->Alignment() : taLeftJustify;
}

void TColumnTitleEh::SetAlignment(TAlignment Value)
{
    SetValue(FAlignment, Value, tvAlignment);
}

QString TColumnTitleEh::Caption() const
{
    if (FAssigned.Contains(tvCaption))
        return FCaption;
    TField* F = FColumn->Field();
    return F ? F->DisplayLabel() : FColumn->FieldName();
}

void TColumnTitleEh::SetCaption(const QString& Value)
{
    TCustomDBGridEh* G = FColumn->Grid();
    TField* F = FColumn->Field();
    if (FColumn->IsDefaultColumn() && G && G->DataLink()->Active() && F) {
        F->SetDisplayLabel(Value);
        return;
    }
    SetValue(FCaption, Value, tvCaption);
}

bool TColumnTitleEh::IsCaptionStored() const
{
    if (!FAssigned.Contains(tvCaption))
        return false;
    TField* F = FColumn->Field();
    return FCaption != (F ? F->DisplayLabel() : FColumn->FieldName());
}

TColor TColumnTitleEh::Color() const
{
    if (FAssigned.Contains(tvColor))
        return FColor;
    TCustomDBGridEh* G = FColumn->Grid();
    return G ? G->ColumnDefValues()->Title()->Color() : clBtnFace;
}

void TColumnTitleEh::SetColor(TColor Value)
{
    SetValue(FColor, Value, tvColor);
}

#define TB_TITLE_DEFAULTED(Type, Name, Flag, Member, Fallback)                       \
    Type TColumnTitleEh::Name() const                                                \
    {                                                                                \
        if (FAssigned.Contains(Flag))                                                \
            return Member;                                                           \
        TCustomDBGridEh* G = FColumn->Grid();                                        \
        return G ? G->ColumnDefValues()->Title()->Name() : Fallback;                 \
    }                                                                                \
    void TColumnTitleEh::Set##Name(Type Value) { SetValue(Member, Value, Flag); }

TB_TITLE_DEFAULTED(bool, EndEllipsis, tvEndEllipsis, FEndEllipsis, false)
TB_TITLE_DEFAULTED(TTextOrientationEh, Orientation, tvOrientation, FOrientation, tohHorizontal)
TB_TITLE_DEFAULTED(bool, TitleButton, tvTitleButton, FTitleButton, false)
TB_TITLE_DEFAULTED(bool, ToolTips, tvToolTips, FToolTips, false)

#undef TB_TITLE_DEFAULTED

TFont* TColumnTitleEh::DefaultFont() const
{
    TCustomDBGridEh* G = FColumn->Grid();
    return G ? G->TitleFont() : FColumn->Font();
}

TFont* TColumnTitleEh::Font() const
{
    auto* Self = const_cast<TColumnTitleEh*>(this);
    if (!FFont) {
        Self->FFont = std::make_unique<TFont>();
        FFont->OnChange = [Self](TFont*) { Self->FontChanged(); };
    }
    if (!FAssigned.Contains(tvFont))
        RefreshDefaultFont();
    return FFont.get();
}

void TColumnTitleEh::RefreshDefaultFont() const
{
    auto* Self = const_cast<TColumnTitleEh*>(this);
    Self->FRefreshingFont = true;
    FFont->Assign(*DefaultFont());
    Self->FRefreshingFont = false;
}

void TColumnTitleEh::FontChanged()
{
    if (FRefreshingFont)
        return;
    FAssigned << tvFont;
    Changed();
}

void TColumnTitleEh::SetFont(const TFont& Value)
{
    Font()->Assign(Value);
    if (!FAssigned.Contains(tvFont)) {
        FAssigned << tvFont;
        Changed();
    }
}

void TColumnTitleEh::SetHint(const QString& Value)
{
    if (Value == FHint)
        return;
    FHint = Value;
    Changed(false);
}

void TColumnTitleEh::SetImageIndex(int Value)
{
    if (Value == FImageIndex)
        return;
    FImageIndex = Value;
    Changed();
}

void TColumnTitleEh::SetSortMarker(TSortMarkerEh Value)
{
    if (Value == FSortMarker)
        return;
    TCustomDBGridEh* G = FColumn->Grid();
    TDBGridColumnsEh* Columns = FColumn->Collection();
    if (!G || !Columns || Columns->UpdateCount() > 0) {
        FSortMarker = Value;
        return;
    }
    if (!G->OptionsEh().Contains(dghMultiSortMarking)) {
        if (Value != smNoneEh) {
            for (int i = 0; i < Columns->Count(); ++i) {
                TColumnTitleEh* Other = Columns->Items(i)->Title();
                if (Other != this) {
                    Other->FSortMarker = smNoneEh;
                    Other->FSortIndex = 0;
                }
            }
            FSortIndex = 1;
            G->ClearSortMarked();
            G->AddSortMarked(FColumn);
        } else {
            FSortIndex = 0;
            G->ClearSortMarked();
        }
    } else if (Value != smNoneEh && FSortIndex == 0) {
        int Marked = 0;
        for (int i = 0; i < Columns->Count(); ++i)
            Marked += Columns->Items(i)->Title()->FSortIndex != 0;
        FSortIndex = Marked + 1;
        G->AddSortMarked(FColumn);
    } else if (Value == smNoneEh && FSortIndex != 0) {
        for (int i = 0; i < Columns->Count(); ++i) {
            TColumnTitleEh* Other = Columns->Items(i)->Title();
            if (Other->FSortIndex > FSortIndex)
                --Other->FSortIndex;
        }
        G->RemoveSortMarked(FColumn);
        FSortIndex = 0;
    }
    FSortMarker = Value;
    Changed();
}

void TColumnTitleEh::SetSortIndex(int Value)
{
    Value = std::max(0, Value);
    if (Value == FSortIndex)
        return;
    TDBGridColumnsEh* Columns = FColumn->Collection();
    TCustomDBGridEh* G = FColumn->Grid();
    if (!Columns || !G || Columns->UpdateCount() > 0) {
        FSortIndex = Value;
        return;
    }
    if (FSortMarker != smNoneEh) {
        for (int i = 0; i < Columns->Count(); ++i) {
            TColumnTitleEh* Other = Columns->Items(i)->Title();
            if (Other != this && Other->FSortIndex == Value) {
                Other->FSortIndex = FSortIndex;
                G->SwapSortMarked(FColumn, Other->FColumn);
                break;
            }
        }
    }
    FSortIndex = Value;
    Changed();
}

void TColumnTitleEh::ClickSortMarker(bool KeepOthers)
{
    TSortMarkerEh Next;
    switch (FSortMarker) {
    case smNoneEh: Next = smDownEh; break;
    case smDownEh: Next = smUpEh; break;
    default: Next = KeepOthers ? smNoneEh : smDownEh; break;
    }
    if (!KeepOthers)
        if (TDBGridColumnsEh* Columns = FColumn->Collection())
            for (int i = 0; i < Columns->Count(); ++i)
                if (Columns->Items(i) != FColumn)
                    Columns->Items(i)->Title()->SetSortMarker(smNoneEh);
    SetSortMarker(Next);
}

void TColumnTitleEh::Assign(const TColumnTitleEh& Source)
{
    if (&Source == this)
        return;
    if (Source.FAssigned.Contains(tvAlignment)) SetAlignment(Source.FAlignment);
    if (Source.FAssigned.Contains(tvColor)) SetColor(Source.FColor);
    if (Source.FAssigned.Contains(tvCaption)) SetValue(FCaption, Source.FCaption, tvCaption);
    if (Source.FAssigned.Contains(tvFont)) SetFont(*Source.Font());
    SetTitleButton(Source.TitleButton());
    SetSortMarker(Source.SortMarker());
    SetEndEllipsis(Source.EndEllipsis());
    SetToolTips(Source.ToolTips());
    SetOrientation(Source.Orientation());
}

void TColumnTitleEh::RestoreDefaults()
{
    const bool FontWasSet = FAssigned.Contains(tvFont);
    FAssigned = {};
    FCaption.clear();
    if (FFont)
        RefreshDefaultFont();
    if (FontWasSet && FColumn->Collection())
        FColumn->Collection()->Update(nullptr);
    else
        Changed();
}

// ---------------------------------------------------------------- footer

TColumnFooterEh::TColumnFooterEh(TColumnFootersEh* ACollection) : FColumn(ACollection->Column())
{
    Init();
}

TColumnFooterEh::TColumnFooterEh(TColumnEh* AColumn) : FColumn(AColumn)
{
    Init();
}

void TColumnFooterEh::Init()
{
    if (TCustomDBGridEh* G = FColumn->Grid())
        G->InvalidateFooter();
}

TColumnFooterEh::~TColumnFooterEh()
{
    FreeSum();
    if (TCustomDBGridEh* G = FColumn->Grid())
        G->InvalidateFooter();
}

void TColumnFooterEh::Changed()
{
    FColumn->Changed();
}

TAlignment TColumnFooterEh::Alignment() const
{
    if (FAssigned.Contains(fvAlignment))
        return FAlignment;
    TField* F = FColumn->Field();
    return F ? F->Alignment() : taLeftJustify;
}

void TColumnFooterEh::SetAlignment(TAlignment Value)
{
    if (FAssigned.Contains(fvAlignment) && Value == FAlignment)
        return;
    FAlignment = Value;
    FAssigned << fvAlignment;
    Changed();
}

TColor TColumnFooterEh::Color() const
{
    if (FAssigned.Contains(fvColor))
        return FColor;
    TCustomDBGridEh* G = FColumn->Grid();
    return G ? G->FooterColor() : clWindow;
}

void TColumnFooterEh::SetColor(TColor Value)
{
    if (FAssigned.Contains(fvColor) && Value == FColor)
        return;
    FColor = Value;
    FAssigned << fvColor;
    Changed();
}

void TColumnFooterEh::SetDisplayFormat(const QString& Value)
{
    if (Value == FDisplayFormat)
        return;
    FDisplayFormat = Value;
    Changed();
}

void TColumnFooterEh::SetEndEllipsis(bool Value)
{
    if (Value == FEndEllipsis)
        return;
    FEndEllipsis = Value;
    Changed();
}

void TColumnFooterEh::SetFieldName(const QString& Value)
{
    if (Value == FFieldName)
        return;
    FFieldName = Value;
    FColumn->EnsureSumValues();
    Changed();
}

void TColumnFooterEh::SetValue(const QString& Value)
{
    if (Value == FValue)
        return;
    FValue = Value;
    Changed();
}

void TColumnFooterEh::SetValueType(TFooterValueType Value)
{
    if (Value == FValueType)
        return;
    FValueType = Value;
    FColumn->EnsureSumValues();
    Changed();
}

void TColumnFooterEh::SetWordWrap(bool Value)
{
    if (Value == FWordWrap)
        return;
    FWordWrap = Value;
    Changed();
}

TFont* TColumnFooterEh::Font() const
{
    auto* Self = const_cast<TColumnFooterEh*>(this);
    if (!FFont) {
        Self->FFont = std::make_unique<TFont>();
        FFont->OnChange = [Self](TFont*) { Self->FontChanged(); };
    }
    if (!FAssigned.Contains(fvFont))
        RefreshDefaultFont();
    return FFont.get();
}

void TColumnFooterEh::RefreshDefaultFont() const
{
    TCustomDBGridEh* G = FColumn->Grid();
    auto* Self = const_cast<TColumnFooterEh*>(this);
    Self->FRefreshingFont = true;
    FFont->Assign(G ? *G->FooterFont() : *FColumn->Font());
    Self->FRefreshingFont = false;
}

void TColumnFooterEh::FontChanged()
{
    if (FRefreshingFont)
        return;
    FAssigned << fvFont;
    Changed();
}

void TColumnFooterEh::SetFont(const TFont& Value)
{
    Font()->Assign(Value);
    if (!FAssigned.Contains(fvFont)) {
        FAssigned << fvFont;
        Changed();
    }
}

void TColumnFooterEh::FreeSum()
{
    if (!FDBSum)
        return;
    if (TCustomDBGridEh* G = FColumn->Grid())
        G->SumList()->SumCollection()->Remove(FDBSum);
    FDBSum = nullptr;
}

void TColumnFooterEh::EnsureSumValue()
{
    TCustomDBGridEh* G = FColumn->Grid();
    if (!G)
        return;
    if (FValueType != fvtSum && FValueType != fvtAvg && FValueType != fvtCount) {
        FreeSum();
        return;
    }
    TDBSumCollection* Sums = G->SumList()->SumCollection();
    Sums->BeginUpdate();
    if (!FDBSum)
        FDBSum = Sums->Add();
    if (FValueType == fvtCount) {
        FDBSum->SetGroupOperation(goCount);
        FDBSum->SetFieldName(QString()); // every record counts
    } else {
        FDBSum->SetGroupOperation(FValueType == fvtSum ? goSum : goAvg);
        FDBSum->SetFieldName(FFieldName.isEmpty() ? FColumn->FieldName() : FFieldName);
    }
    Sums->EndUpdate();
}

void TColumnFooterEh::Assign(const TColumnFooterEh& Source)
{
    if (&Source == this)
        return;
    if (Source.FAssigned.Contains(fvAlignment)) SetAlignment(Source.FAlignment);
    if (Source.FAssigned.Contains(fvColor)) SetColor(Source.FColor);
    if (Source.FAssigned.Contains(fvFont)) SetFont(*Source.Font());
    SetEndEllipsis(Source.EndEllipsis());
    SetValueType(Source.ValueType());
    SetFieldName(Source.FieldName());
    SetValue(Source.Value());
    SetWordWrap(Source.WordWrap());
    SetDisplayFormat(Source.DisplayFormat());
}

void TColumnFooterEh::RestoreDefaults()
{
    FAssigned = {};
    if (FFont)
        RefreshDefaultFont();
    Changed();
}

// ---------------------------------------------------------------- footer rows

TColumnFootersEh::TColumnFootersEh(TColumnEh* AColumn) : FColumn(AColumn) {}

TColumnFootersEh::~TColumnFootersEh() = default;

TColumnFooterEh* TColumnFootersEh::Items(int Index) const
{
    if (Index < 0 || Index >= Count())
        throw EListError(QStringLiteral("List index out of bounds (%1)").arg(Index));
    return FItems[size_t(Index)].get();
}

TColumnFooterEh* TColumnFootersEh::Add()
{
    FItems.push_back(NewItem());
    FColumn->Changed();
    return FItems.back().get();
}

void TColumnFootersEh::Delete(int Index)
{
    Items(Index);
    FItems.erase(FItems.begin() + Index);
    FColumn->Changed();
}

void TColumnFootersEh::Clear()
{
    if (FItems.empty())
        return;
    FItems.clear();
    FColumn->Changed();
}

void TColumnFootersEh::Assign(const TColumnFootersEh& Source)
{
    if (&Source == this)
        return;
    FItems.clear();
    for (const auto& Item : Source.FItems) {
        FItems.push_back(NewItem());
        FItems.back()->Assign(*Item);
    }
    FColumn->Changed();
}
