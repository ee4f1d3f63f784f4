// TCustomDBGridEh: the cell painter. Each visible cell is classified (title,
// data, filler, footer, indicator) and painted from the model and the record
// window of the data link; painting never moves the dataset.
#include "grid/DBGridEh.h"

#include "grid/DBGridEhColumns.h"
#include "grid/DBGridEhDraw.h"
#include "grid/DBGridEhInplaceEdit.h"
#include "grid/DBGridEhTitles.h"
#include "grid/DBSumLst.h"
#include "platform/db/DataSet.h"
#include "platform/db/Field.h"
#include "platform/gui/ImgList.h"
#include "platform/rtl/Classes.h"

#include <QtGlobal>
#include <algorithm>
#include <cmath>

// ---------------------------------------------------------------- shared glyphs

namespace {

constexpr int IndicatorGlyphWidth = 7;
constexpr int IndicatorGlyphHeight = 9;
constexpr int MarkerGlyphWidth = 10;
constexpr int MarkerGlyphHeight = 9;
constexpr int CheckBoxSize = 13;
constexpr TColor IndicatorMaskWhite = clWhite;
constexpr TColor IndicatorMaskTeal = 0x808000;
constexpr TColor MarkerMask = 0xFF00FF;

void FillGlyph(TBitmap& B, TColor Background)
{
    B.Canvas()->Brush()->SetColor(Background);
    B.Canvas()->FillRect(QRect(0, 0, B.Width(), B.Height()));
}

void Triangle(TBitmap& B, std::vector<QPoint> Points, TColor Fill, TColor Edge)
{
    TCanvas* C = B.Canvas();
    C->Brush()->SetColor(Fill);
    C->Pen()->SetColor(Edge);
    C->Polygon(Points);
}

// The row glyphs and sort markers, drawn once by our own hand and shared by all grids.
struct TGridGlyphs
{
    TImageList Indicators{IndicatorGlyphWidth, IndicatorGlyphHeight};
    TImageList Markers{MarkerGlyphWidth, MarkerGlyphHeight};
    TFont SortFont;

    TGridGlyphs()
    {
        TBitmap B(IndicatorGlyphWidth, IndicatorGlyphHeight);
        const std::vector<QPoint> Arrow{{1, 0}, {5, 4}, {1, 8}};
        FillGlyph(B, IndicatorMaskWhite);
        Triangle(B, Arrow, clBlack, clBlack);                         // current row
        Indicators.AddMasked(&B, IndicatorMaskWhite);
        FillGlyph(B, IndicatorMaskWhite);                             // editing: an I-beam
        B.Canvas()->Brush()->SetColor(clBlack);
        B.Canvas()->FillRect(QRect(3, 1, 1, 7));
        B.Canvas()->FillRect(QRect(1, 0, 5, 1));
        B.Canvas()->FillRect(QRect(1, 8, 5, 1));
        Indicators.AddMasked(&B, IndicatorMaskWhite);
        FillGlyph(B, IndicatorMaskWhite);                             // inserting: a star
        B.Canvas()->Brush()->SetColor(clBlack);
        B.Canvas()->FillRect(QRect(3, 1, 1, 7));
        B.Canvas()->FillRect(QRect(0, 4, 7, 1));
        B.Canvas()->FillRect(QRect(1, 2, 1, 1));
        B.Canvas()->FillRect(QRect(5, 2, 1, 1));
        B.Canvas()->FillRect(QRect(1, 6, 1, 1));
        B.Canvas()->FillRect(QRect(5, 6, 1, 1));
        Indicators.AddMasked(&B, IndicatorMaskWhite);
        FillGlyph(B, IndicatorMaskWhite);                             // a selected row
        B.Canvas()->Brush()->SetColor(clBlack);
        B.Canvas()->FillRect(QRect(2, 3, 3, 3));
        Indicators.AddMasked(&B, IndicatorMaskWhite);
        FillGlyph(B, IndicatorMaskWhite);                             // selected current row
        Triangle(B, Arrow, clBlack, clBlack);
        Indicators.AddMasked(&B, IndicatorMaskWhite);
        FillGlyph(B, IndicatorMaskTeal);                              // current row on a dark highlight
        Triangle(B, Arrow, clWhite, clWhite);
        Indicators.AddMasked(&B, IndicatorMaskTeal);
        FillGlyph(B, clYellow);                                       // while a search runs
        Triangle(B, Arrow, clBlack, clBlack);
        Indicators.AddMasked(&B, IndicatorMaskTeal);

        TBitmap M(MarkerGlyphWidth, MarkerGlyphHeight);
        FillGlyph(M, MarkerMask);
        Triangle(M, {{1, 2}, {8, 2}, {4, 7}}, clGray, clBlack);  // smDownEh
        Markers.AddMasked(&M, MarkerMask);
        FillGlyph(M, MarkerMask);
        Triangle(M, {{1, 7}, {8, 7}, {4, 2}}, clGray, clBlack);  // smUpEh
        Markers.AddMasked(&M, MarkerMask);

        SortFont.SetName(QStringLiteral("Arial"));
        SortFont.SetHeight(1 - MarkerGlyphHeight);
    }
};

TGridGlyphs& Glyphs()
{
    static TGridGlyphs Shared;
    return Shared;
}

// Text of a cell through the shared writer. With right-to-left alignment
// left- and right-aligned text trade sides.
void GridCellText(TCanvas* C, TBiDiMode BiDi, const QRect& R, int DX, int DY, const QString& Text,
                  TAlignment Alignment, bool WordWrap, bool EndEllipsis, int LeftMarg = 0, int RightMarg = 0)
{
    if (RightToLeftAlignment(BiDi) && Alignment != taCenter)
        Alignment = Alignment == taLeftJustify ? taRightJustify : taLeftJustify;
    WriteCellText(C, R, RightToLeftReading(BiDi), RightMarg, LeftMarg, EndEllipsis, WordWrap, tlTopEh, Alignment,
                  Text, DY, DX);
}

// Sides of a raised cell: all four with both kinds of lines, else the top
// (and the left with column lines) and the bottom (and the right with row
// lines); right-to-left trades left and right.
unsigned EdgeSides(bool ColLines, bool RowLines, bool RightToLeft)
{
    if (ColLines && RowLines)
        return BF_RECT;
    unsigned Sides = BF_TOP | BF_BOTTOM;
    if (ColLines)
        Sides |= RightToLeft ? BF_RIGHT : BF_LEFT;
    if (RowLines)
        Sides |= RightToLeft ? BF_LEFT : BF_RIGHT;
    return Sides;
}

// The edge of a fixed cell around its unshrunk rectangle: a raised inner
// bevel, sunken while pressed; a flat grid draws thin lines instead.
void DrawCellEdge(TCanvas* C, QRect R, bool Pressed, bool Flat, unsigned Sides = BF_RECT)
{
    if (Flat)
        C->DrawEdge(R, BDR_OUTER, Sides | BF_FLAT);
    else
        C->DrawEdge(R, Pressed ? BDR_SUNKENINNER : BDR_RAISEDINNER, Sides);
}

} // namespace

TSortMarkerRoomEh SortMarkerRoomEh(int Left, int Right, int ImageWidth, int NumberWidth, bool Numbered)
{
    if (!Numbered)
        NumberWidth = 0;
    TSortMarkerRoomEh Room{Right - 16, true, Numbered};
    if (Room.Right < Left + ImageWidth) {
        Room.Right += 14 - NumberWidth;
        Room.Glyph = false;
        if (Room.Right < Left + ImageWidth) {
            Room.Right += NumberWidth + 2;
            Room.Number = false;
        }
    }
    return Room;
}

// ---------------------------------------------------------------- classification

bool TCustomDBGridEh::ClassifyCell(int ACol, int ARow, TDBGridEhCellType& Type) const
{
    Type = TDBGridEhCellType{};
    Type.Indicator = ACol < FIndicatorOffset;
    Type.DataCol = ACol - FIndicatorOffset;
    const int Titles = TitleRowCount();
    if (ARow < Titles) {
        Type.Area = ARow == FilterRow() ? raFilter : raTitle;
        Type.Index = ARow;
        return true;
    }
    const int DataRow = ARow - Titles;
    if (DataRow < FDataRowCount) {
        Type.Area = raData;
        Type.Index = DataRow;
        return true;
    }
    if (FooterRowCount() > 0 && ARow == Titles + FDataRowCount) {
        Type.Area = raFiller;
        Type.Index = 0;
        return true;
    }
    const int FooterIndex = ARow - (RowCount() - FooterRowCount());
    if (FooterRowCount() > 0 && FooterIndex >= 0 && FooterIndex < FooterRowCount()) {
        Type.Area = raFooter;
        Type.Index = FooterIndex;
        return true;
    }
    return false;
}

TDBGridEhCellType TCustomDBGridEh::GetCellType(int ACol, int ARow) const
{
    TDBGridEhCellType Type;
    if (!ClassifyCell(ACol, ARow, Type))
        throw EInvalidGridOperation(QStringLiteral("Algorithm error in TCustomDBGridEh.GetCellType"));
    return Type;
}

bool TCustomDBGridEh::IsFixed3DEdgeCell(const TDBGridEhCellType& Type, TGridDrawState State) const
{
    const TDBGridEhOptions O = OptionsEh();
    const bool Fixed = State.Contains(gdFixed);
    const bool FillerIndicator = Type.Indicator && Type.Area == raFiller && FooterRowCount() > 0;
    // An editable filter cell draws its own frame.
    if (Type.Area == raFilter && !Type.Indicator && FilterCellEditable(Type.DataCol))
        return false;
    if (O.Contains(dghFixed3D) && Fixed && (Type.Indicator || Type.Area == raTitle || Type.Area == raFilter)
        && !FillerIndicator)
        return true;
    if (O.Contains(dghFooter3D) && Type.Area == raFooter)
        return true;
    if (O.Contains(dghData3D) && !Fixed && Type.Area == raData)
        return true;
    if (O.Contains(dghFixed3D) && (O.Contains(dghData3D) || O.Contains(dghFrozen3D)) && FillerIndicator)
        return true;
    return O.Contains(dghFrozen3D) && Fixed && !Type.Indicator && Type.Area == raData;
}

bool TCustomDBGridEh::GridFocused() const
{
    return hasFocus() || (InplaceEditor() && InplaceEditor()->hasFocus());
}

bool TCustomDBGridEh::IsActiveControl() const
{
    const QWidget* Active = window()->focusWidget();
    return Active && (Active == this || (InplaceEditor() && Active == InplaceEditor()));
}

// ---------------------------------------------------------------- the painter

void TCustomDBGridEh::DrawCell(int ACol, int ARow, const QRect& ARect, TGridDrawState AState)
{
    if (ARect.width() <= 0)
        return;
    TCanvas* C = Canvas();
    if (Loading()) {
        C->FillRect(ARect);
        return;
    }
    TDBGridEhCellType Type;
    if (!ClassifyCell(ACol, ARow, Type)) {
        Q_ASSERT_X(false, "TCustomDBGridEh::DrawCell", "Algorithm error in TCustomDBGridEh.GetCellType");
        Type.Area = raFiller;
    }
    const bool Edge = IsFixed3DEdgeCell(Type, AState);
    const unsigned Sides =
        EdgeSides(Options().Contains(dgColLines), Options().Contains(dgRowLines), UseRightToLeftAlignment());
    QRect R = ARect;
    int DX = 2, DY = 2;
    if (Edge) {
        // The cell fills what its edge leaves.
        R.adjust(Sides & BF_LEFT ? 1 : 0, 1, Sides & BF_RIGHT ? -1 : 0, -1);
        DX = DY = 1;
    }
    if (Flat())
        --DY;
    if (Type.Indicator && AState.Contains(gdFixed)) {
        DrawIndicatorCell(ARow, R, Type, DX);
    } else if (Type.DataCol >= Columns()->Count()) {
        C->FillRect(R);
    } else {
        TColumnEh* Column = Columns()->Items(Type.DataCol);
        // Frozen cells below the titles (data, filler) dress as their column.
        const bool TitleArea = AState.Contains(gdFixed) && (Type.Area == raTitle || Type.Area == raFilter);
        C->Font()->Assign(TitleArea ? *Column->Title()->Font() : *Column->Font());
        C->Brush()->SetColor(TitleArea ? Column->Title()->Color() : Column->Color());
        // With footers, rows past the last record are filler: there is no record to show.
        const bool NoRecord = Type.Area == raData && FooterRowCount() > 0
            && (!DataLink()->Active() || Type.Index >= DataLink()->RecordCount());
        if (Type.Area == raTitle && Options().Contains(dgTitles))
            DrawTitleCell(Column, R, DX, DY);
        else if (Type.Area == raFilter && FilterCellEditable(Type.DataCol))
            DrawFilterCell(Column, R);
        else if (!DataLink()->Active())
            C->FillRect(R);
        else if (Type.Area == raData && !NoRecord)
            DrawDataCellEh(ACol, ARow, Type.DataCol, Column, R, AState, DX, DY);
        else if (Type.Area == raFooter)
            DrawFooterCellEh(Type.DataCol, Type.Index, Column, R, AState, DX, DY);
        else {
            TColor Background = C->Brush()->Color();
            HighlightNonDataCell(C->Font(), Background, IsCellSelected(ACol, ARow), AState, Type);
            C->Brush()->SetColor(Background);
            C->FillRect(R);
        }
    }
    if (DefaultDrawing() && AState.Contains(gdFocused) && GridFocused() && !Options().Contains(dgRowSelect)
        && FUpdateLock == 0 && IsActiveControl())
        C->DrawFocusRect(R);
    if (Edge) {
        const bool Pressed = Type.Area == raTitle && !Type.Indicator && PressedTitleColumn()
                             && PressedTitleColumn()->Index() == Type.DataCol;
        DrawCellEdge(C, ARect, Pressed, Flat(), Sides);
    }
}

// Group captions go over the title cells and their lines, once per group;
// then the focused row's frame and a flat grid's own border.
void TCustomDBGridEh::Paint()
{
    // What a filter being applied would show is half old, half new.
    if (FApplyingFilter)
        return;
    TCustomGrid::Paint();
    if (UseMultiTitle() && Options().Contains(dgTitles) && !Loading() && RowCount() > 0)
        PaintTitleGroups();
    TCanvas* C = Canvas();
    if (Options().Contains(dgRowSelect) && DefaultDrawing() && GridFocused() && Row() < RowCount()) {
        const QRect First = CellRect(std::max(LeftCol(), FixedCols()), Row());
        const int Right = std::min(ClientWidth(), GridWidth());
        if (!First.isEmpty() && Right > First.left())
            C->DrawFocusRect(QRect(First.left(), First.top(), Right - First.left(), First.height()));
    }
    if (Flat()) {
        QRect Border = ClientRect();
        C->DrawEdge(Border, BDR_SUNKENOUTER, BF_RECT);
    }
}

void TCustomDBGridEh::PaintTitleGroups()
{
    // A group over frozen and scrolling columns is drawn once in each area,
    // clipped to it, from the first leaf shown there.
    std::vector<const THeadTreeNode*> PaintedFrozen, PaintedScrolling;
    for (int c = FIndicatorOffset; c < ColCount(); ++c) {
        const int DataCol = c - FIndicatorOffset;
        if (DataCol >= int(FLeafFieldArr.size()))
            break;
        const QRect R = CellRect(c, 0);
        if (!R.isEmpty())
            DrawTitleParents(DataCol, R, c < FixedCols() ? PaintedFrozen : PaintedScrolling);
    }
}

void TCustomDBGridEh::DrawTitleCell(TColumnEh* Column, const QRect& R, int DX, int DY)
{
    TCanvas* C = Canvas();
    TColumnTitleEh* Title = Column->Title();
    const bool Pressed = PressedTitleColumn() == Column;
    QRect TextRect = R;
    const size_t Index = size_t(Column->Index());
    if (UseMultiTitle() && Index < FLeafFieldArr.size())
        TextRect.setTop(std::max(R.top(), R.bottom() + 1 - FLeafFieldArr[Index]->Height + 3));
    const bool HasImage = FTitleImages && Title->ImageIndex() != -1;
    const int ImageWidth = HasImage ? FTitleImages->Width() : 0;
    TSortMarkerEh Marker = Title->SortMarker();
    if (Column->Field() && OnGetBtnParams) {
        TColor Background = C->Brush()->Color();
        OnGetBtnParams(this, Column, C->Font(), Background, Marker, Pressed);
        C->Brush()->SetColor(Background);
    }
    // A plain one-line title moves by one pixel when pressed, others by two.
    const bool PlainTitle = !UseMultiTitle() && FTitleHeight == 0 && FTitleLines == 0;
    int Press = 0;
    if (Pressed) {
        Press = PlainTitle ? 1 : 2;
        if (!PlainTitle)
            TextRect.setTop(TextRect.top() + 2);
    }
    // Room for the marker and, with several sorted columns, its number.
    TSortMarkerRoomEh Room{0, false, false};
    int NumberWidth = 0;
    const QString Number = QString::number(Title->SortIndex());
    if (Marker != smNoneEh) {
        const bool Numbered = SortMarkedColumns().size() >= 2;
        if (Numbered) {
            TCanvasState State(C);
            C->Font()->Assign(Glyphs().SortFont);
            NumberWidth = C->TextWidth(Number);
        }
        Room = SortMarkerRoomEh(TextRect.left(), TextRect.left() + TextRect.width(), ImageWidth, NumberWidth,
                                Numbered);
        TextRect.setRight(Room.Right - 1);
    }
    C->Font()->Assign(*Title->Font());
    TColor Background = C->Brush()->Color();
    if (OnGetBtnParams)
        OnGetBtnParams(this, Column, C->Font(), Background, Marker, Pressed);
    const bool Highlighted = HighlightNonDataCell(C->Font(), Background,
                                                  IsCellSelected(Column->Index() + FIndicatorOffset, 0),
                                                  TGridDrawState(gdFixed),
                                                  TDBGridEhCellType{false, Column->Index(), raTitle, 0});
    C->Brush()->SetColor(Background);
    C->FillRect(R);
    DrawTitleContent(Column, R, TextRect, DX, DY, Press, ImageWidth);
    if (Marker == smNoneEh)
        return;
    const int Right = R.left() + R.width();
    // Under multi-line titles the marker sits beside the leaf caption.
    const int GlyphY = (TextRect.top() - (Pressed && !PlainTitle ? 2 : 0) + R.top() + R.height()
                        - MarkerGlyphHeight) / 2 + Press;
    if (Room.Glyph)
        Glyphs().Markers.Draw(C, Right - MarkerGlyphWidth - 2 - NumberWidth + Press, GlyphY,
                              Marker == smDownEh ? 0 : 1);
    if (Room.Number) {
        TCanvasState State(C);
        C->Font()->Assign(Glyphs().SortFont);
        if (Highlighted)
            C->Font()->SetColor(clWhite);
        C->Brush()->SetStyle(bsClear);
        C->TextOut(Right - NumberWidth - 2 + Press, GlyphY - 1, Number);
    }
}

// The caption, upright or rotated, or the title image in its place.
void TCustomDBGridEh::DrawTitleContent(TColumnEh* Column, const QRect& R, QRect TextRect, int DX, int DY,
                                       int Press, int ImageWidth)
{
    TCanvas* C = Canvas();
    TColumnTitleEh* Title = Column->Title();
    const bool MultiLine = UseMultiTitle() || FTitleHeight > 0 || FTitleLines > 0;
    if (ImageWidth > 0) {
        const int H = FTitleImages->Height();
        int X = (TextRect.left() + TextRect.right() + 1 - ImageWidth) / 2;
        if (!MultiLine && Title->Alignment() == taLeftJustify)
            X = TextRect.left() + DX;
        else if (!MultiLine && Title->Alignment() == taRightJustify)
            X = TextRect.right() + 1 - DX - ImageWidth;
        const int Y = (TextRect.top() + TextRect.bottom() + 1 - H) / 2;
        TCanvasState State(C);
        C->IntersectClipRect(R);
        FTitleImages->Draw(C, X + Press, Y + Press, Title->ImageIndex());
        return;
    }
    QString Caption = Title->Caption();
    const size_t Index = size_t(Column->Index());
    if (UseMultiTitle() && Index < FLeafFieldArr.size())
        Caption = FLeafFieldArr[Index]->Text;
    if (UseMultiTitle() && Title->Orientation() == tohVertical) {
        WriteRotatedText(C, TextRect.translated(Press, Press).intersected(R), tlTopEh, Title->Alignment(), Caption, 2, 2,
                         Title->EndEllipsis());
        return;
    }
    if (!MultiLine) {
        TextRect.translate(Press, Press);
        Press = 0;
    }
    GridCellText(C, BiDiMode(), TextRect.intersected(R), DX, DY, Caption, Title->Alignment(), MultiLine,
                 Title->EndEllipsis(), Press, -Press);
}

// The group captions above a leaf: each parent spans its children, in the
// leaf's title font and colour.
void TCustomDBGridEh::DrawTitleParents(int DataCol, const QRect& CellRect,
                                       std::vector<const THeadTreeNode*>& Painted)
{
    TCanvas* C = Canvas();
    TCanvasState State(C);
    // A group scrolled partly out of view must not cover the frozen titles or
    // the indicator, nor a frozen group the scrolling columns.
    if (DataCol + FIndicatorOffset >= FixedCols())
        C->IntersectClipRect(QRect(FixedWidth(), 0, std::max(0, ClientWidth() - FixedWidth()), ClientHeight()));
    else
        C->IntersectClipRect(QRect(0, 0, FixedWidth(), ClientHeight()));
    if (DataCol >= Columns()->Count())
        return;
    const THeadTreeNode* Root = HeadTree();
    const THeadTreeNode* Node = FLeafFieldArr[size_t(DataCol)];
    const TColumnTitleEh* LeafTitle = Columns()->Items(DataCol)->Title();
    const bool Lines = Options().Contains(dgRowLines);
    int Left = CellRect.left();
    while (Node->Parent && Node->Parent != Root) {
        const THeadTreeNode* Parent = Node->Parent;
        if (std::find(Painted.begin(), Painted.end(), Parent) != Painted.end())
            return;
        Painted.push_back(Parent);
        // Siblings before Node in the ring, from the first child on; a hidden
        // column is one line narrower than nothing, so it counts 0.
        for (const THeadTreeNode* S = Parent->FirstChild; S != Node; S = S->NextSibling)
            Left -= std::max(0, S->Width + S->LineWidth);
        int Top = CellRect.top();
        for (const THeadTreeNode* P = Parent->Parent; P && P != Root; P = P->Parent)
            Top += P->Height;
        const int Bottom = Top + Parent->Height - (Lines ? 1 : 0);
        const QRect R(Left, Top, Parent->Width, std::max(0, Bottom - Top));
        C->Font()->Assign(*LeafTitle->Font());
        C->Brush()->SetColor(LeafTitle->Color());
        C->Brush()->SetStyle(bsSolid);
        GridCellText(C, BiDiMode(), R, 1, 1, Parent->Text, taCenter, true, LeafTitle->EndEllipsis());
        // Drawn once over the whole group, so the side edges fall on the
        // group's outer cell edges only.
        if (OptionsEh().Contains(dghFixed3D))
            DrawCellEdge(C, R, false, Flat());
        if (Lines) {
            C->Brush()->SetColor(Flat() ? clGray : clBlack);
            C->FillRect(QRect(R.left(), Bottom, R.width() + Parent->LineWidth, 1));
        }
        Node = Parent;
    }
}

void TCustomDBGridEh::DrawDataCellEh(int ACol, int ARow, int DataCol, TColumnEh* Column, const QRect& R,
                                     TGridDrawState State, int DX, int DY)
{
    TCanvas* C = Canvas();
    TDataSet* D = DataLink()->DataSet();
    const int DataRow = ARow - TitleRowCount();
    // Without footers an empty dataset still shows one row: it is drawn
    // blank, and no event is asked about a record that does not exist.
    const bool HasRecord = DataRow < DataLink()->RecordCount();
    // Read the painted record through the window; the cursor stays.
    const int Saved = D->ActiveIndex();
    if (HasRecord)
        DataLink()->SetActiveRecord(DataRow);
    try {
        TColCellParamsEh& P = FCellParams;
        P.Col = ACol;
        P.Row = ARow;
        P.State = int(State.Bits());
        P.Font = C->Font();
        P.Alignment = Column->Alignment();
        P.Background = C->Brush()->Color();
        P.Text = HasRecord ? Column->GetDisplayText() : QString();
        P.ImageIndex = -1;
        P.ReadOnly = false;
        const TColumnEhType Kind = HasRecord ? Column->GetColumnType() : ctCommon;
        if (Kind == ctCheckboxes)
            P.CheckboxState = Column->CheckboxState();
        else if (Kind == ctKeyImageList && Column->Field()) {
            P.ImageIndex = Column->KeyList()->IndexOf(Column->Field()->Text());
            if (P.ImageIndex < 0)
                P.ImageIndex = Column->NotInKeyListIndex();
        }
        if (HasRecord) {
            Column->GetColCellParams(false, P);
            GetCellParams(Column, P.Font, P.Background, State);
        }
        TGridDrawState Drawn = State;
        HighlightDataCell(DataCol, DataRow, P.Font, P.Background, Drawn);
        C->Brush()->SetColor(P.Background);
        // Buttons shown in every cell take the cell's right (left when mirrored).
        QRect TextRect = R;
        const std::vector<TCellButtonEh> Buttons =
            Column->AlwaysShowEditButton() ? CellButtonsEh(Column, ButtonWidth(), Flat()) : std::vector<TCellButtonEh>();
        const int Strip = std::min(CellButtonsWidthEh(Buttons), R.width());
        QRect StripRect;
        if (Strip > 0) {
            const bool Mirror = UseRightToLeftAlignment();
            StripRect = QRect(Mirror ? R.left() : RectRight(R) - Strip, R.top(), Strip, R.height());
            if (Mirror)
                TextRect.setLeft(R.left() + Strip);
            else
                TextRect.setRight(RectRight(R) - Strip - 1);
        }
        if (DefaultDrawing()) {
            if (TextRect.width() > 0)
                DrawDataCellContent(Column, Kind, TextRect, DX, DY);
            if (Strip > 0 && Strip < CellButtonsWidthEh(Buttons)) {
                TCanvasState Clip(C);
                C->IntersectClipRect(StripRect);
                PaintCellButtonsEh(C, StripRect, Buttons, ButtonHeight(), Flat(), P.Background);
            } else if (Strip > 0) {
                PaintCellButtonsEh(C, StripRect, Buttons, ButtonHeight(), Flat(), P.Background);
            }
        }
        if (IncSearchRunning() && HasRecord && Drawn.Contains(gdSelected) && ARow == Row() && ACol == Col()
            && (Options().Contains(dgAlwaysShowSelection) || GridFocused()) && FUpdateLock == 0
            && IsActiveControl())
            DrawIncSearchText(TextRect, DX, DY, Column->WordWrap() && FMultiLineRows);
        if (HasRecord) {
            if (!Columns()->Customized())
                DrawDataCell(R, Column->Field(), Drawn);
            DrawColumnCell(R, DataCol, Column, Drawn);
        }
    } catch (...) {
        D->SetActiveIndex(Saved);
        throw;
    }
    D->SetActiveIndex(Saved);
}

// The typed search text over the current cell, yellow under black, exactly
// where that prefix of the cell text stands.
void TCustomDBGridEh::DrawIncSearchText(const QRect& R, int DX, int DY, bool WordWrap)
{
    TCanvas* C = Canvas();
    const TColCellParamsEh& P = FCellParams;
    const QString Rest = P.Text.mid(FIncSearchText.size());
    TAlignment Alignment = P.Alignment;
    if (RightToLeftAlignment(BiDiMode()) && Alignment != taCenter)
        Alignment = Alignment == taLeftJustify ? taRightJustify : taLeftJustify;
    const int RightMarg = Alignment == taLeftJustify ? 0 : C->TextWidth(Rest);
    const int Width = C->TextWidth(FIncSearchText);
    const int Left = R.left() + DX, Right = R.right() + 1 - DX - RightMarg;
    const int X = Alignment == taLeftJustify ? Left : Alignment == taRightJustify ? Right - Width
                                                                                  : (Left + Right - Width) / 2;
    QRect Band(X, R.top() + (DX ? 1 : 0), Width, R.height() - (DX ? 1 : 0));
    TCanvasState State(C);
    C->IntersectClipRect(R);
    C->Brush()->SetColor(clYellow);
    C->FillRect(Band.intersected(R));
    C->Font()->SetColor(clBlack);
    C->Brush()->SetStyle(bsClear); // the band is filled; the text must not fill the whole cell
    GridCellText(C, BiDiMode(), R, DX, DY, FIncSearchText, P.Alignment, WordWrap, false, 0, RightMarg);
}

// The default look of a data cell from the filled cell parameters.
void TCustomDBGridEh::DrawDataCellContent(TColumnEh* Column, TColumnEhType Kind, const QRect& R, int DX, int DY)
{
    TCanvas* C = Canvas();
    const TColCellParamsEh& P = FCellParams;
    if (Kind == ctCheckboxes) {
        C->FillRect(R);
        QRect Box(R.left() + (R.width() - CheckBoxSize) / 2, R.top() + (R.height() - CheckBoxSize) / 2,
                  CheckBoxSize, CheckBoxSize);
        Box = Box.intersected(R);
        unsigned Flags = DFCS_BUTTONCHECK | (Flat() ? unsigned(DFCS_FLAT) : 0u);
        if (P.CheckboxState == cbChecked)
            Flags |= DFCS_CHECKED;
        else if (P.CheckboxState == cbGrayed)
            Flags |= DFCS_BUTTON3STATE | DFCS_CHECKED;
        C->DrawFrameControl(Box, DFC_BUTTON, Flags);
    } else if (Kind == ctKeyImageList) {
        C->FillRect(R);
        if (TImageList* Images = Column->ImageList(); Images && P.ImageIndex >= 0 && P.ImageIndex < Images->Count())
            Images->Draw(C, R.left() + (R.width() - Images->Width()) / 2,
                         R.top() + (R.height() - Images->Height()) / 2, P.ImageIndex);
    } else {
        GridCellText(C, BiDiMode(), R, DX, DY, P.Text, P.Alignment, Column->WordWrap() && FMultiLineRows,
                     Column->EndEllipsis());
    }
}

void TCustomDBGridEh::DrawFooterCellEh(int DataCol, int FooterIndex, TColumnEh* Column, const QRect& R,
                                       TGridDrawState State, int DX, int DY)
{
    TCanvas* C = Canvas();
    TColumnFooterEh* Footer = Column->UsedFooter(FooterIndex);
    C->Font()->Assign(*Footer->Font());
    C->Brush()->SetColor(Footer->Color());
    if (DefaultDrawing()) {
        TColor Background = C->Brush()->Color();
        TAlignment Alignment = Footer->Alignment();
        QString Text = GetFooterValueText(FooterIndex, Column);
        GetFooterParams(DataCol, FooterIndex, Column, C->Font(), Background, Alignment, State, Text);
        HighlightNonDataCell(C->Font(), Background, false, State,
                             TDBGridEhCellType{false, DataCol, raFooter, FooterIndex});
        C->Brush()->SetColor(Background);
        GridCellText(C, BiDiMode(), R, DX, DY, Text, Alignment, Footer->WordWrap() && FMultiLineRows,
                     Footer->EndEllipsis());
    }
    if (OnDrawFooterCell)
        OnDrawFooterCell(this, DataCol, FooterIndex, Column, R, State);
}

void TCustomDBGridEh::DrawIndicatorCell(int ARow, const QRect& R, const TDBGridEhCellType& Type, int DX)
{
    TCanvas* C = Canvas();
    const bool FillerWithFooters = Type.Area == raFiller && FooterRowCount() > 0;
    C->Brush()->SetColor(FillerWithFooters && !OptionsEh().Contains(dghFrozen3D) ? Color() : FixedColor());
    if (!DataLink()->Active()) {
        C->FillRect(R);
        return;
    }
    const bool DataRow = Type.Area == raData;
    const bool Current = DataRow && Type.Index == DataLink()->ActiveRecord();
    bool Selected = false;
    if (DataRow && (Type.Index < DataLink()->RecordCount() || FooterRowCount() == 0)) {
        if (Options().Contains(dgMultiSelect) && Type.Index < DataLink()->RecordCount()) {
            // The selection knows records by bookmark: ask with the painted record active.
            TDataSet* D = DataLink()->DataSet();
            const int Saved = D->ActiveIndex();
            DataLink()->SetActiveRecord(Type.Index);
            try {
                Selected = IsCellSelected(0, ARow);
            } catch (...) {
                D->SetActiveIndex(Saved);
                throw;
            }
            D->SetActiveIndex(Saved);
        }
    } else {
        Selected = IsCellSelected(0, ARow);
    }
    if (Selected) {
        TColor Background = C->Brush()->Color();
        HighlightNonDataCell(C->Font(), Background, true, TGridDrawState(gdFixed), Type);
        C->Brush()->SetColor(Background);
    }
    C->FillRect(R);
    if (!Current)
        return;
    int Glyph = 0;
    switch (DataLink()->DataSet()->State()) {
    case dsBrowse: Glyph = Selected ? 5 : IncSearchRunning() ? 6 : 0; break;
    case dsEdit: Glyph = 1; break;
    case dsInsert: Glyph = 2; break;
    default: Glyph = 0; break;
    }
    const int X = R.left() + R.width() - IndicatorGlyphWidth - DX;
    const int Y = (R.top() + R.top() + R.height() - IndicatorGlyphHeight) / 2;
    Glyphs().Indicators.Draw(C, X, Y, Glyph);
    FIndicatorRow = ARow;
}

// ---------------------------------------------------------------- highlight

bool TCustomDBGridEh::HighlightNonDataCell(TFont* AFont, TColor& Background, bool IsSelected,
                                           TGridDrawState, const TDBGridEhCellType& CellType)
{
    if (!IsSelected)
        return false;
    const bool DataArea = (!CellType.Indicator
                           && (CellType.Area == raData || CellType.Area == raFiller || CellType.Area == raFooter))
        || (CellType.Indicator && CellType.Area == raFiller);
    if (!DataArea) {
        Background = RGB(64, 64, 64);
        AFont->SetColor(clWhite);
    } else if (!GridFocused()) {
        Background = BlendColorEh(Background, clBtnShadow, false);
    } else if (ColorBlending()) {
        Background = BlendColorEh(Background, clHighlight, true);
    } else {
        Background = clHighlight;
        AFont->SetColor(clHighlightText);
    }
    return true;
}

bool TCustomDBGridEh::HighlightDataCell(int DataCol, int DataRow, TFont* AFont, TColor& Background,
                                        TGridDrawState& State)
{
    // The painter points the fields at the painted record, so the cursor's
    // record is found by the current cell, not by the data link.
    const bool CurrentRow = DataLink()->Active() && DataRow == Row() - TitleRowCount();
    const bool RowSelect = Options().Contains(dgRowSelect);
    const bool CurrentCol = DataCol == SelectedIndex();
    const bool MultiSelected = Options().Contains(dgMultiSelect) && DataLink()->Active()
        && IsCellSelected(DataCol + FIndicatorOffset, DataRow + TitleRowCount());
    bool FocusHighlight = GridFocused() && OptionsEh().Contains(dghHighlightFocus);
    if (OptionsEh().Contains(dghRowHighlight) && CurrentRow && !CurrentCol && !SelectionExists()) {
        FocusHighlight = true;
        State << gdSelected;
    }
    const bool AlwaysShow = Options().Contains(dgAlwaysShowSelection);
    const bool Highlighted = MultiSelected
        || ((State.Contains(gdSelected) || (CurrentRow && RowSelect)) && (AlwaysShow || FocusHighlight)
            && !(FUpdateLock > 0 && !RowSelect));
    if (!Highlighted)
        return false;
    State << gdSelected;
    if (GridFocused()) {
        // Cells selected beside the focused one are tinted, not inverted.
        if (ColorBlending() && (!CurrentRow || (!CurrentCol && !RowSelect))) {
            Background = BlendColorEh(Background, clHighlight, true);
        } else {
            Background = clHighlight;
            AFont->SetColor(clHighlightText);
        }
    } else if (CurrentRow && (CurrentCol || RowSelect) && (AlwaysShow || FocusHighlight)) {
        Background = clBtnShadow;
        AFont->SetColor(clHighlightText);
    } else {
        Background = BlendColorEh(Background, clBtnShadow, false);
    }
    return true;
}

namespace {
bool GColorBlending = true;
}

bool TCustomDBGridEh::ColorBlending()
{
    return GColorBlending;
}

void TCustomDBGridEh::SetColorBlending(bool Value)
{
    GColorBlending = Value;
}

TColor BlendColorEh(TColor Background, TColor Highlight, bool Dark)
{
    const TColor A = ColorToRGB(Background);
    const TColor B = ColorToRGB(Highlight);
    auto Channel = [Dark](int a, int b) {
        const double M = a + (b - a) * 0.5;
        double R = (225 - M) * 0.6 + M;
        if (Dark)
            R -= (122 - R) * 0.25;
        return std::clamp(int(std::lround(R)), 0, 255);
    };
    return RGB(Channel(GetRValue(A), GetRValue(B)), Channel(GetGValue(A), GetGValue(B)),
               Channel(GetBValue(A), GetBValue(B)));
}

// ---------------------------------------------------------------- relays

void TCustomDBGridEh::GetCellParams(TColumnEh* Column, TFont* AFont, TColor& Background, TGridDrawState State)
{
    if (OnGetCellParams)
        OnGetCellParams(this, Column, AFont, Background, State);
}

void TCustomDBGridEh::GetFooterParams(int DataCol, int Row, TColumnEh* Column, TFont* AFont, TColor& Background,
                                      TAlignment& Alignment, TGridDrawState State, QString& Text)
{
    if (OnGetFooterParams)
        OnGetFooterParams(this, DataCol, Row, Column, AFont, Background, Alignment, State, Text);
}

void TCustomDBGridEh::DrawDataCell(const QRect& Rect, TField* Field, TGridDrawState State)
{
    if (OnDrawDataCell)
        OnDrawDataCell(this, Rect, Field, State);
}

void TCustomDBGridEh::DrawColumnCell(const QRect& Rect, int DataCol, TColumnEh* Column, TGridDrawState State)
{
    if (OnDrawColumnCell)
        OnDrawColumnCell(this, Rect, DataCol, Column, State);
}

// ---------------------------------------------------------------- footer texts

QString TCustomDBGridEh::GetFooterValueText(int FooterIndex, TColumnEh* Column) const
{
    const TColumnFooterEh* Footer = Column->UsedFooter(FooterIndex);
    TDataSet* D = DataLink()->DataSet();
    switch (Footer->ValueType()) {
    case fvtSum:
    case fvtAvg: {
        const QString Name = Footer->FieldName().isEmpty() ? Column->FieldName() : Footer->FieldName();
        TField* F = D ? D->FindField(Name) : nullptr;
        if (!F)
            return QStringLiteral("0");
        const TDBSum* Sum =
            SumList()->FindSumByOperationAndField(Footer->ValueType() == fvtSum ? goSum : goAvg, F->FieldName());
        const double Value = Sum ? Sum->Value() : 0.0;
        if (!Footer->DisplayFormat().isEmpty() && IsNumericFieldType(F->DataType()))
            return FormatFloat(Footer->DisplayFormat(), Value);
        const TFloatFormat Style = F->Currency() ? TFloatFormat::ffCurrency : TFloatFormat::ffGeneral;
        const int Digits = F->Currency() ? FormatSettings().CurrencyDecimals : 0;
        switch (F->DataType()) {
        case ftSmallint:
        case ftInteger:
        case ftWord:
        case ftAutoInc:
        case ftLargeint:
            if (!F->DisplayFormat().isEmpty())
                return FormatFloat(F->DisplayFormat(), Value);
            // An average rounds to the nearest whole number, halves to even;
            // a total past the exact range shows as the floating-point value.
            return Sum && Sum->OutOfRange() ? FloatToStrF(Value, TFloatFormat::ffGeneral, 15, 0)
                                            : QString::number(RoundHalfEven(Value));
        case ftBCD:
            return F->DisplayFormat().isEmpty() ? CurrToStrF(Value, Style, Digits)
                                                : FormatCurr(F->DisplayFormat(), Value);
        case ftFloat:
        case ftCurrency:
            return F->DisplayFormat().isEmpty() ? FloatToStrF(Value, Style, F->Precision(), Digits)
                                                : FormatFloat(F->DisplayFormat(), Value);
        default:
            return QStringLiteral("0");
        }
    }
    case fvtCount: {
        const TDBSum* Sum = SumList()->FindSumByOperationAndField(goCount, QString());
        const double Value = Sum ? Sum->Value() : 0.0;
        return Footer->DisplayFormat().isEmpty() ? FloatToStr(Value) : FormatFloat(Footer->DisplayFormat(), Value);
    }
    case fvtFieldValue: {
        // A footer naming a field the dataset lacks shows nothing; painting must not fail.
        if (!D || !D->Active() || Footer->FieldName().isEmpty())
            return QString();
        TField* F = D->FindField(Footer->FieldName());
        if (!F || F->IsNull())
            return QString();
        if (Footer->DisplayFormat().isEmpty())
            return F->DisplayText();
        if (IsNumericFieldType(F->DataType()))
            return FormatFloat(Footer->DisplayFormat(), F->AsFloat());
        if (IsDateTimeFieldType(F->DataType()))
            return FormatDateTime(Footer->DisplayFormat(), F->AsDateTime());
        return F->DisplayText();
    }
    case fvtStaticText:
        return Footer->Value();
    default:
        return QString();
    }
}

// ---------------------------------------------------------------- frame

TColor TCustomDBGridEh::FixedLineColor() const
{
    return Flat() ? clGray : clBlack;
}

TColor TCustomDBGridEh::LineColor() const
{
    return ColorToRGB(Color()) == clSilver ? clGray : clSilver;
}

// Titles and the indicator are lined as fixed cells; frozen columns as data
// unless they are raised; footers as fixed cells when they look like them.
TColor TCustomDBGridEh::GridLineColor(int ACol, int ARow) const
{
    const int Titles = TitleRowCount();
    if (ARow < Titles || ACol < FIndicatorOffset)
        return FixedLineColor();
    const bool Footer = FooterRowCount() > 0 && ARow > Titles + FDataRowCount;
    if (Footer && (OptionsEh().Contains(dghFooter3D) || FooterColor() == clBtnFace))
        return FixedLineColor();
    if (ACol < FixedCols() && OptionsEh().Contains(dghFrozen3D))
        return FixedLineColor();
    return LineColor();
}
