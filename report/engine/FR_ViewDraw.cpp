// TfrView's drawing, band alignment, printing into prepared pages, export and
// designer menu items; the fields, records and by-name access are in FR_View.cpp.
#include "report/engine/FR_View.h"

#include "platform/db/DataSet.h"
#include "platform/db/Field.h"
#include "platform/gui/Menus.h"
#include "platform/rtl/Streams.h"
#include "report/engine/FR_Band.h"
#include "report/engine/FR_BandView.h"
#include "report/engine/FR_Class.h"
#include "report/engine/FR_ClassDesigner.h"
#include "report/engine/FR_DBSet.h"
#include "report/engine/FR_Export.h"
#include "report/engine/FR_Globals.h"
#include "report/engine/FR_Page.h"
#include "report/engine/FR_Pars.h"
#include "report/engine/FR_Utils.h"

#include <climits>

namespace {

bool Printing()
{
    return DocMode == dmPrinting;
}

} // namespace

// ---------------------------------------------------------------- drawing

void TfrView::Draw(TCanvas* ACanvas)
{
    ApplyBandAlign(ACanvas);
}

void TfrView::BeginDraw()
{
    FSaveLeft = FLeft;
    FSaveTop = FTop;
    FSaveWidth = FWidth;
    FSaveHeight = FHeight;
    FSaveGapX = FGapX;
    FSaveGapY = FGapY;
    FSaveFrameWidth = FFrameWidth;
    if (!Printing()) {
        FScaleX = FScaleY = 1.0;
        FOffsX = FOffsY = 0;
    }
    FLeft = RoundInt(FLeft * FScaleX) + FOffsX;
    FTop = RoundInt(FTop * FScaleY) + FOffsY;
    FWidth = RoundInt(FWidth * FScaleX);
    FHeight = RoundInt(FHeight * FScaleY);
    const double W = FSaveFrameWidth;
    const int InnerLeft = RoundInt((W * FScaleX - 1) / 2);
    const int InnerRight = RoundInt(W * FScaleX / 2);
    const int InnerTop = RoundInt((W * FScaleY - 1) / 2);
    const int InnerBottom = RoundInt(W * FScaleY / 2);
    FFrameWidth = static_cast<float>(W * FScaleX);
    FGapX = RoundInt(FSaveGapX * FScaleX) + InnerRight;
    FGapY = RoundInt(FSaveGapY * FScaleY) + InnerBottom / 2;
    const int R = DrawRight();
    const int B = DrawBottom();
    FDrawRect = Rect(FLeft + ((FFrameTyp & frbLeft) ? InnerLeft : 0), FTop + ((FFrameTyp & frbTop) ? InnerTop : 0),
                     (FFrameTyp & frbRight) ? R - InnerRight + 1 : R, (FFrameTyp & frbBottom) ? B - InnerBottom + 1 : B);
}

void TfrView::EndDraw()
{
    FLeft = FSaveLeft;
    FTop = FSaveTop;
    FWidth = FSaveWidth;
    FHeight = FSaveHeight;
    FGapX = FSaveGapX;
    FGapY = FSaveGapY;
    FFrameWidth = FSaveFrameWidth;
}

int TfrView::DrawRight() const
{
    return RoundInt((FSaveLeft + FSaveWidth) * FScaleX + FOffsX);
}

int TfrView::DrawBottom() const
{
    return RoundInt((FSaveTop + FSaveHeight) * FScaleY + FOffsY);
}

void TfrView::DrawBackground()
{
    if (DisableDrawing || !FCanvas)
        return;
    if (Printing() && FFillColor == clNone)
        return;
    FCanvas->Brush()->SetStyle(bsSolid);
    FCanvas->Brush()->SetColor(FFillColor == clNone ? clWhite : FFillColor);
    FCanvas->FillRect(Printing() ? Rect(FLeft, FTop, DrawRight(), DrawBottom()) : FDrawRect);
}

namespace {

// One frame line from A to B on Canvas, by the view's frame style.
void FrameLine(TCanvas* Canvas, QPoint A, QPoint B, bool Horizontal, uint16_t Style, int PenWidth,
               uint32_t FrameColor, uint32_t FillColor)
{
    auto Line = [&](int Shift) {
        const QPoint D = Horizontal ? QPoint(0, Shift) : QPoint(Shift, 0);
        Canvas->MoveTo(A.x() + D.x(), A.y() + D.y());
        Canvas->LineTo(B.x() + D.x(), B.y() + D.y());
    };
    TPen* Pen = Canvas->Pen();
    if (Style == fsDouble) {
        Line(-PenWidth);
        // The middle line shows the fill; a view without fill shows what lies under it.
        if (FillColor != clNone) {
            Pen->SetColor(FillColor);
            Line(0);
            Pen->SetColor(FrameColor);
        }
        Line(PenWidth);
    } else if (Style != fsSolid) {
        // Styled lines are one pixel wide in Qt as in the classic canvas: a
        // wide one is drawn as parallel thin ones; the gaps show the fill.
        // Only those the clip shows are drawn.
        Pen->SetWidth(1);
        const QRect Clip = Canvas->ClipRect();
        const int64_t At = Horizontal ? A.y() : A.x(), FirstShift = -(PenWidth / 2);
        const int64_t Lines = std::max(1, PenWidth);
        const int64_t From = std::clamp<int64_t>((Horizontal ? Clip.top() : Clip.left()) - At - FirstShift, 0, Lines);
        const int64_t To = std::clamp<int64_t>((Horizontal ? Clip.bottom() : Clip.right()) - At - FirstShift + 1, 0, Lines);
        for (int64_t k = From; k < To; ++k) {
            const int Shift = static_cast<int>(FirstShift + k);
            if (FillColor != clNone) {
                Pen->SetStyle(psSolid);
                Pen->SetColor(FillColor);
                Line(Shift);
                Pen->SetColor(FrameColor);
                Pen->SetStyle(static_cast<TPenStyle>(Style));
            }
            Line(Shift);
        }
        Pen->SetWidth(PenWidth);
    } else {
        Line(0);
    }
}

} // namespace

void TfrView::DrawFrame()
{
    if (DisableDrawing || !FCanvas)
        return;
    if (Printing() && (FFrameTyp & 0xF) == 0)
        return;
    TCanvas* C = FCanvas;
    C->Brush()->SetStyle(bsSolid);
    C->Pen()->SetStyle(psSolid);
    if (!Printing() && FWidth >= 1 && FHeight >= 1) {
        C->Pen()->SetColor(clBlack);
        C->Pen()->SetWidth(1);
        const int L = FLeft, T = FTop, R = FLeft + FWidth, B = FTop + FHeight;
        const int Marks[8][4] = {{L, T + 3, L, T}, {L, T, L + 4, T}, {L, B - 3, L, B}, {L, B, L + 4, B},
                                 {R - 3, T, R, T}, {R, T, R, T + 4}, {R - 3, B, R, B}, {R, B, R, B - 4}};
        for (const auto& M : Marks) {
            C->MoveTo(M[0], M[1]);
            C->LineTo(M[2], M[3]);
        }
    }
    const int PenWidth = RoundInt(FFrameWidth);
    const uint16_t Style = FFrameStyle <= fsDouble ? FFrameStyle : uint16_t(fsSolid);
    C->Pen()->SetColor(FFrameColor);
    C->Pen()->SetWidth(PenWidth);
    C->Pen()->SetStyle(Style == fsDouble ? psSolid : static_cast<TPenStyle>(Style));
    const int R = DrawRight(), B = DrawBottom();
    struct TSide
    {
        uint16_t Bit;
        QPoint A, B;
        bool Horizontal;
    };
    const TSide Sides[4] = {{frbRight, {R, FTop}, {R, B}, false},
                            {frbLeft, {FLeft, FTop}, {FLeft, B}, false},
                            {frbBottom, {FLeft, B}, {R, B}, true},
                            {frbTop, {FLeft, FTop}, {R, FTop}, true}};
    for (const TSide& Side : Sides)
        if (FFrameTyp & Side.Bit)
            FrameLine(C, Side.A, Side.B, Side.Horizontal, Style, PenWidth, FFrameColor, FFillColor);
}

QRegion TfrView::GetClipRgn(bool Extended)
{
    const double W = FFrameWidth;
    const bool Double = FFrameStyle == fsDouble;
    const int A = Double ? RoundInt(W * 1.5) : RoundInt(W / 2);
    const int B = Double ? RoundInt((W - 1) / 2 + W) : RoundInt((W - 1) / 2);
    int L = FLeft, T = FTop, R = FLeft + FWidth + 1, Bt = FTop + FHeight + 1;
    if (FFrameTyp & frbLeft)
        L -= A;
    if (FFrameTyp & frbTop)
        T -= A;
    if (FFrameTyp & frbRight)
        R += B;
    if (FFrameTyp & frbBottom)
        Bt += B;
    const int E = Extended ? 10 : 0;
    return CreateRectRgn(L - E, T - E, R + E, Bt + E);
}

// ---------------------------------------------------------------- band alignment

TfrPage* TfrView::AlignPage()
{
    if (!Printing() && frDesigner && frDesigner->Page)
        return frDesigner->Page;
    return CurPage;
}

TfrBandView* TfrView::GetBand() const
{
    TfrPage* Page = Printing() ? nullptr : AlignPage();
    if (!Page)
        return nullptr;
    TfrBandView* Found = nullptr;
    for (int i = 0; i < Page->Count(); ++i) {
        auto* Band = dynamic_cast<TfrBandView*>(Page->Objects(i));
        if (Band && Band != this && FLeft >= Band->Left() && FLeft < Band->Left() + Band->Width()
            && FTop >= Band->Top() && FTop < Band->Top() + Band->Height())
            Found = Band;
    }
    return Found;
}

void TfrView::ApplyBandAlign(TCanvas* ACanvas)
{
    FCanvas = ACanvas;
    CurView = this;
    TfrPage* Page = AlignPage();
    if (!CurPage || !Page || FBandAlign == baNone)
        return;
    const int Lo = Page->GetLeftBound();
    const int Hi = Page->GetRightBound();
    // Same row: the same top. While printing, the other views of the band
    // still stand at their design tops, relative to the band, while this one
    // has been moved down to the band's place on the page.
    const int BandTop = Printing() && CurBand ? CurBand->Y : 0;
    auto SameRow = [&](const TfrView* V) { return V->Top() == FTop || V->Top() == FTop - BandTop; };
    // The nearest view of the given alignment on this row, to the left or right.
    auto Neighbour = [&](uint8_t Align, bool ToLeft) -> TfrView* {
        TfrView* Best = nullptr;
        for (int i = 0; i < Page->Count(); ++i) {
            TfrView* V = Page->Objects(i);
            if (V == this || V->ObjectType() == gtBand || V->BandAlign() != Align || !SameRow(V))
                continue;
            if (ToLeft ? V->Left() < FLeft && (!Best || V->Left() > Best->Left())
                       : V->Left() > FLeft && (!Best || V->Left() < Best->Left()))
                Best = V;
        }
        return Best;
    };
    switch (FBandAlign) {
    case baLeft:
    case baRest: {
        const TfrView* Left = Neighbour(baLeft, true);
        FLeft = Left ? Left->Left() + Left->Width() : Lo;
        if (FBandAlign == baRest) {
            const TfrView* Right = Neighbour(baRight, false);
            FWidth = (Right ? Right->Left() : Hi) - FLeft;
        }
        break;
    }
    case baRight: {
        const TfrView* Right = Neighbour(baRight, false);
        FLeft = Right ? Right->Left() - FWidth - 1 : Hi - FWidth;
        break;
    }
    case baCenter:
        FLeft = Lo + (Hi - Lo - FWidth) / 2;
        break;
    case baWidth:
        if (!Printing()) {
            const TfrBandView* Band = GetBand();
            if (Band && frIsCrossBand(Band->BandType())) {
                FLeft = Band->Left();
                FWidth = Band->Width();
            } else {
                FLeft = Lo;
                FWidth = Hi - Lo;
            }
        } else if (!CurBand) {
            FLeft = Lo;
            FWidth = Hi - Lo - 1;
        }
        break;
    case baBottom:
    case baTop:
        if (!Printing())
            if (const TfrBandView* Band = GetBand())
                FTop = FBandAlign == baTop ? Band->Top() : Band->Top() + Band->Height() - FHeight;
        break;
    default:
        break;
    }
}

// ---------------------------------------------------------------- printing

QString frExpandText(const QString& Text)
{
    QString S = Text;
    int I = 0;
    while (true) {
        const int Start = static_cast<int>(S.indexOf(u'[', I));
        if (Start < 0)
            break;
        int Open = 0, Close = 0;
        const QString Expression = GetBracketedText(S, Start, Open, Close);
        if (Close >= S.size()) {
            // No "]" answers it: the "[" is text.
            I = Start + 1;
            continue;
        }
        if (!frFormattedValue) {
            I = Close + 1;
            continue;
        }
        const QString Value = frFormattedValue(Expression);
        S.replace(Start, Close - Start + 1, Value);
        I = Start + static_cast<int>(Value.size());
    }
    return S;
}

void TfrView::DoBeforePrint()
{
    if (FFieldDataSet && !FFieldName.isEmpty() && FFieldDataSet->Active()) {
        TField* Field = FFieldDataSet->FindField(FFieldName);
        if (IsBlobField(Field))
            GetBlob(Field);
    }
    if (CurReport && CurReport->OnBeforePrint)
        CurReport->OnBeforePrint(FExpandedMemo.get(), this);
}

void TfrView::WriteRecord(TStream& Stream)
{
    Stream.WriteU8(FObjectType);
    if (FObjectType == gtAddIn)
        WriteStreamString(Stream, ClassName());
    SaveToStream(Stream);
}

void TfrView::Print(TStream& Stream)
{
    ApplyBandAlign(FCanvas);
    FExpandedMemo->Assign(*FMemo);
    DoBeforePrint();
    if (frRunScript)
        frRunScript(FScript.get());
    if (!Visible())
        return;
    const QString SavedTag = FTag;
    const int SavedTop = FTop, SavedWidth = FWidth;
    if (FTag.contains(u'['))
        FTag = frExpandText(FTag);
    if (CurBand) {
        if (FBandAlign == baBottom)
            FTop = CurBand->Y + CurBand->DY - FHeight;
        else if (FBandAlign == baTop)
            FTop = CurBand->Y;
        else if (FBandAlign == baWidth && frIsCrossBand(CurBand->Typ))
            FWidth = CurBand->DX;
    }
    try {
        WriteRecord(Stream);
    } catch (...) {
        FTag = SavedTag;
        FTop = SavedTop;
        FWidth = SavedWidth;
        throw;
    }
    FTag = SavedTag;
    FTop = SavedTop;
    FWidth = SavedWidth;
}

void TfrView::ExportData()
{
    if (auto* Filter = CurReport ? dynamic_cast<TfrExportFilter*>(CurReport->ExportFilter()) : nullptr)
        Filter->OnData(FLeft, FTop, this);
}

// ---------------------------------------------------------------- designer menu

void TfrView::ChangeSelected(uint16_t Restriction, const std::function<void(TfrView* View)>& Action)
{
    if (frDesigner)
        frDesigner->BeforeChange();
    TfrPage* Page = frDesigner ? frDesigner->Page : nullptr;
    if (Page) {
        for (int i = 0; i < Page->Count(); ++i) {
            TfrView* V = Page->Objects(i);
            if (V->Selected() && !(V->Restrictions() & Restriction))
                Action(V);
        }
    } else if (!(FRestrictions & Restriction)) {
        Action(this);
    }
    if (frDesigner)
        frDesigner->AfterChange();
}

void TfrView::AddFlagItem(TPopupMenu* Popup, const QString& Caption, uint16_t Flag, uint16_t Restriction,
                          bool SelectedToo)
{
    TMenuItem* Item = Popup->Items()->Add(Caption);
    Item->SetChecked((FFlags & Flag) != 0);
    Item->OnClick = [this, Item, Flag, Restriction, SelectedToo](QObject*) {
        const bool On = !Item->Checked();
        Item->SetChecked(On);
        auto Set = [Flag, On](TfrView* V) { V->SetFlags(frSetBit(V->Flags(), Flag, On)); };
        if (SelectedToo) {
            ChangeSelected(Restriction, Set);
            return;
        }
        if (frDesigner)
            frDesigner->BeforeChange();
        if (!(FRestrictions & Restriction))
            Set(this);
        if (frDesigner)
            frDesigner->AfterChange();
    };
}

void TfrView::DefinePopupMenu(TPopupMenu* Popup)
{
    Popup->Items()->Add(QStringLiteral("-"));
    AddFlagItem(Popup, LoadEngineString(55190), flStretched);
}

// ---------------------------------------------------------------- stretcheable

Variant TfrStretcheable::CallMethod(const QString& Name, const Variant& Par1, const Variant& Par2,
                                    const Variant& Par3)
{
    Variant Result = TfrView::CallMethod(Name, Par1, Par2, Par3);
    if (Result.IsEmpty() && UpperCase(Name) == u"CALCHEIGHT")
        Result = CalcHeight();
    return Result;
}
