// TfrMemoView for the band engine and the designer: heights, printing into a
// prepared page (whole, measured or split), export, blob text, menu items.
#include "report/engine/FR_MemoView.h"

#include "platform/gui/Menus.h"
#include "platform/rtl/Classes.h"
#include "report/engine/FR_Band.h"
#include "report/engine/FR_BandView.h"
#include "report/engine/FR_Class.h"
#include "report/engine/FR_DBSet.h"
#include "report/engine/FR_Globals.h"

namespace {

// Measuring and splitting run at design size on the measuring canvas,
// whatever scale the view was last drawn at.
class TDesignScale
{
public:
    explicit TDesignScale(TfrView* View)
        : FView(View), FScaleX(View->ScaleX()), FScaleY(View->ScaleY()), FOffsX(View->OffsX()),
          FOffsY(View->OffsY())
    {
        View->SetScale(1.0, 1.0);
        View->SetOffset(0, 0);
    }
    ~TDesignScale()
    {
        FView->SetScale(FScaleX, FScaleY);
        FView->SetOffset(FOffsX, FOffsY);
    }
    TDesignScale(const TDesignScale&) = delete;
    TDesignScale& operator=(const TDesignScale&) = delete;

private:
    TfrView* FView;
    double FScaleX, FScaleY;
    int FOffsX, FOffsY;
};

} // namespace

// While the highlight condition holds, the font and fill take the highlight
// attributes; they come back when the scope ends.
class THighlightScope
{
public:
    THighlightScope(TfrMemoView* View, bool Holds)
        : FView(View), FStyle(View->Font()->Style()), FColor(View->Font()->Color()), FFill(View->FillColor()),
          FActive(Holds)
    {
        if (!FActive)
            return;
        View->Font()->SetStyle(SetFontStyleBits(View->Highlight().FontStyle));
        View->Font()->SetColor(View->Highlight().FontColor);
        View->SetFillColor(View->Highlight().FillColor);
    }
    ~THighlightScope()
    {
        if (!FActive)
            return;
        FView->Font()->SetStyle(FStyle);
        FView->Font()->SetColor(FColor);
        FView->SetFillColor(FFill);
    }
    THighlightScope(const THighlightScope&) = delete;
    THighlightScope& operator=(const THighlightScope&) = delete;

private:
    TfrMemoView* FView;
    TFontStyles FStyle;
    uint32_t FColor;
    uint32_t FFill;
    bool FActive;
};

bool TfrMemoView::HighlightHolds() const
{
    if (FHighlightCondition.isEmpty() || !frCalcPostfix)
        return false;
    const Variant Value = frCalcPostfix(FHighlightCondition);
    if (Value.IsEmpty() || Value.IsNull())
        return false;
    try {
        return Value.AsFloat() != 0;
    } catch (const Exception&) {
        return false;
    }
}

// ---------------------------------------------------------------- heights

int TfrMemoView::CalcHeight()
{
    SetCalcState(1);
    ApplyBandAlign(TempBmp()->Canvas());
    if (frRunScript)
        frRunScript(Script());
    if (!Visible())
        return 0;
    ExpandedMemo()->Assign(*Memo());
    const QString Before = ExpandedMemo()->Text();
    DoBeforePrint();
    if (ExpandedMemo()->Text() == Before)
        ExpandMemo();
    // "Value" is this memo's own only now: the band measures its other memos
    // before any of them prints, so printing takes the answer from here.
    FHighlighted = HighlightHolds();
    THighlightScope Highlight(this, FHighlighted);
    TDesignScale Scale(this);
    TfrDrawScope Scope(this);
    if (ExpandedMemo()->Count() == 0)
        return 0;
    WrapMemo();
    ExpandedMemo()->Assign(*SMemo());
    const QString Text = ExpandedMemo()->Text();
    const bool Suppress = Flags() & flSuppressRepeated;
    const int Result = Suppress && Text == LastValue() ? 0 : FVHeight;
    if (Suppress && DisableDrawing)
        SetLastValue(Text);
    return Result;
}

int TfrMemoView::CalcWidth()
{
    TDesignScale Scale(this);
    FCanvas = TempBmp()->Canvas();
    return MeasuredWidth();
}

int TfrMemoView::MinHeight()
{
    FLineHeight = LineHeight96();
    return RoundInt(2 * FrameWidth()) + 2 * GapY() + FLineHeight;
}

int TfrMemoView::RemainHeight()
{
    FLineHeight = LineHeight96();
    const int Frame = RoundInt(2 * FrameWidth());
    return (Height() - Frame - 2 * GapY()) % FLineHeight + 2 * GapY() + Frame;
}

// ---------------------------------------------------------------- printing

void TfrMemoView::Print(TStream& Stream)
{
    ApplyBandAlign(TempBmp()->Canvas());
    FPartMode = true;
    const uint8_t State = CalcState();
    if (State == 0) {
        if (frRunScript)
            frRunScript(Script());
        if (CurReport && CurReport->OnBeforePrint) {
            ExpandedMemo()->Assign(*Memo());
            const QString Before = ExpandedMemo()->Text();
            DoBeforePrint();
            if (ExpandedMemo()->Text() == Before)
                ExpandMemo();
        } else {
            ExpandMemo();
        }
    }
    if (!Visible()) {
        SetCalcState(0);
        return;
    }
    if (State == 0)
        FHighlighted = HighlightHolds();
    THighlightScope Highlight(this, FHighlighted);
    TStringList AllLines;
    if (State == 2) {
        TDesignScale Scale(this);
        TfrDrawScope Scope(this);
        AllLines.Assign(*ExpandedMemo());
        FCountOnly = true;
        ShowMemo();
        FCountOnly = false;
        while (ExpandedMemo()->Count() > FLinesDrawn)
            ExpandedMemo()->Delete(ExpandedMemo()->Count() - 1);
        if (ExpandedMemo()->IndexOf(QString(frParagraphMark)) < 0)
            ExpandedMemo()->Add(QString(frParagraphMark));
    }
    const QString SavedTag = Tag();
    const uint8_t SavedAlign = BandAlign();
    const int SavedTop = Top(), SavedWidth = Width();
    const uint32_t SavedFormat = Format();
    SetFormat(0);
    if (Tag().contains(u'['))
        SetTag(frExpandText(Tag()));
    SetFormat(SavedFormat);
    if (BandAlign() == baBottom) {
        SetBandAlign(baNone);
    } else if (BandAlign() == baTop) {
        if (CurBand)
            SetTop(CurBand->Y);
    } else if (BandAlign() == baWidth && CurBand && frIsCrossBand(CurBand->Typ)) {
        SetWidth(CurBand->DX);
        SetBandAlign(baNone);
    }
    auto Restore = [&] {
        SetTag(SavedTag);
        SetBandAlign(SavedAlign);
        SetTop(SavedTop);
        SetWidth(SavedWidth);
        SetCalcState(0);
    };
    try {
        const QString Text = ExpandedMemo()->Text();
        const bool Suppress = Flags() & flSuppressRepeated;
        if (!(Suppress && Text == LastValue())) {
            WriteRecord(Stream);
            if (Suppress)
                SetLastValue(Text);
        }
    } catch (...) {
        Restore();
        throw;
    }
    if (State == 2) {
        // The rest goes to the next page.
        ExpandedMemo()->Clear();
        for (int i = FLinesDrawn; i < AllLines.Count(); ++i)
            ExpandedMemo()->Add(AllLines.Strings(i));
    }
    Restore();
}

void TfrMemoView::ExportData()
{
    TfrView::ExportData();
    FExporting = true;
    try {
        Draw(TempBmp()->Canvas());
    } catch (...) {
        FExporting = false;
        throw;
    }
    FExporting = false;
}

void TfrMemoView::GetBlob(TField* Field)
{
    AssignBlobTo(Field, *ExpandedMemo());
}

// ---------------------------------------------------------------- designer

void TfrMemoView::ShowEditor()
{
    if (frMemoEditor)
        frMemoEditor();
}

void TfrMemoView::DefinePopupMenu(TPopupMenu* Popup)
{
    TMenuItem* Items = Popup->Items();
    Items->Add(LoadEngineString(55191), [](QObject*) {
        if (frDisplayFormatEditor)
            frDisplayFormatEditor();
    });
    Items->Add(LoadEngineString(55334), [](QObject*) {
        if (frFontEditor)
            frFontEditor();
    });
    Items->Add(LoadEngineString(55347), [this](QObject*) {
        ChangeSelected(frrfDontEditContents, [](TfrView* V) {
            V->Memo()->Clear();
            V->Script()->Clear();
        });
    });
    TfrStretcheable::DefinePopupMenu(Popup);
    AddFlagItem(Popup, LoadEngineString(55192), flWordWrap);
    const QString WordBreak = LoadEngineString(55193);
    if (!WordBreak.isEmpty()) {
        AddFlagItem(Popup, WordBreak, flWordBreak);
        Items->Items(Items->Count() - 1)->SetEnabled(Flags() & flWordWrap);
    }
    AddFlagItem(Popup, LoadEngineString(55335), flAutoWidth);
    AddFlagItem(Popup, LoadEngineString(55433), flTextOnly);
    AddFlagItem(Popup, LoadEngineString(55434), flSuppressRepeated);
    AddFlagItem(Popup, LoadEngineString(55438), flHideZeroValues);
    AddFlagItem(Popup, LoadEngineString(55441), flUnderlines);
}
