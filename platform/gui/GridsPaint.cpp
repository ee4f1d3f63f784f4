// TCustomGrid: painting by bands of cells, grid lines, invalidation and the
// pixel scrolling that repaints only the uncovered band.
#include "platform/gui/Grids.h"

#include <algorithm>

// ---------------------------------------------------------------- invalidation

void TCustomGrid::InvalidateCell(int ACol, int ARow)
{
    const QRect R = CellRect(ACol, ARow);
    if (R.isEmpty())
        return;
    // The lines to the right and below belong to the cell's box.
    InvalidateRect(R.adjusted(0, 0, FGridLineWidth, FGridLineWidth));
}

void TCustomGrid::InvalidateRow(int ARow)
{
    if (ARow < 0 || ARow >= RowCount())
        return;
    const int Y = RowTop(ARow);
    if (Y < 0 || Y >= ClientHeight())
        return;
    InvalidateRect(QRect(0, Y, ClientWidth(), RowHeights(ARow) + FGridLineWidth));
}

void TCustomGrid::InvalidateCol(int ACol)
{
    if (ACol < 0 || ACol >= ColCount())
        return;
    const int X = ColLeft(ACol);
    if (X < 0 || X >= ClientWidth())
        return;
    InvalidateRect(QRect(X, 0, ColWidths(ACol) + FGridLineWidth, ClientHeight()));
}

// ---------------------------------------------------------------- scrolling

void TCustomGrid::ScrollDataInfo(TGridCoord OldTopLeft)
{
    // Pixel distance between the old and the new first scrolled column / row.
    auto Distance = [](int From, int To, auto Box) {
        int D = 0;
        for (int i = std::min(From, To); i < std::max(From, To); ++i)
            D += Box(i);
        return To > From ? -D : D;
    };
    const int DX = Distance(OldTopLeft.X, FTopLeft.X, [this](int i) { return ColBox(i); });
    const int DY = Distance(OldTopLeft.Y, FTopLeft.Y, [this](int i) { return RowBox(i); });
    const int FW = FixedWidth();
    const int FH = FixedHeight();
    if (DX != 0) {
        const QRect Area(FW, 0, std::max(0, ClientWidth() - FW), ClientHeight());
        if (std::abs(DX) >= Area.width())
            InvalidateRect(Area);
        else
            ScrollWindow(DX, 0, Area, Area);
    }
    if (DY != 0) {
        const QRect Area(0, FH, ClientWidth(), std::max(0, ClientHeight() - FH));
        if (std::abs(DY) >= Area.height())
            InvalidateRect(Area);
        else
            ScrollWindow(0, DY, Area, Area);
    }
}

// ---------------------------------------------------------------- painting

void TCustomGrid::Paint()
{
    TCanvas* C = Canvas();
    const QRect Clip = C->HasClip() ? C->ClipRect() : ClientRect();
    const int FW = FixedWidth();
    const int FH = FixedHeight();
    PaintBand(0, FFixedCols, 0, FFixedRows, 0, 0, Clip);
    PaintBand(FTopLeft.X, ColCount(), 0, FFixedRows, FW, 0, Clip);
    PaintBand(0, FFixedCols, FTopLeft.Y, RowCount(), 0, FH, Clip);
    PaintBand(FTopLeft.X, ColCount(), FTopLeft.Y, RowCount(), FW, FH, Clip);

    // Room beyond the last column and below the last row.
    const int GW = GridWidth();
    const int GH = GridHeight();
    C->Brush()->SetColor(Color());
    C->Brush()->SetStyle(bsSolid);
    if (GW < ClientWidth())
        C->FillRect(QRect(GW, 0, ClientWidth() - GW, ClientHeight()));
    if (GH < ClientHeight())
        C->FillRect(QRect(0, GH, GW, ClientHeight() - GH));
}

void TCustomGrid::PaintBand(int FromCol, int ToCol, int FromRow, int ToRow, int X0, int Y0, const QRect& Clip)
{
    TCanvas* C = Canvas();
    const int Right = std::min(ClientWidth(), Clip.left() + Clip.width());
    const int Bottom = std::min(ClientHeight(), Clip.top() + Clip.height());
    const bool RowSelect = FOptions.Contains(goRowSelect);
    const bool FixedBand = FromCol < FFixedCols || FromRow < FFixedRows;
    // Boxes of the band in view, for its lines.
    std::vector<std::pair<int, int>> Cols; // left, column
    std::vector<std::pair<int, int>> Rows; // top, row
    int X = X0;
    for (int c = FromCol; c < ToCol && X < Right; ++c) {
        const int CB = ColBox(c);
        if (CB > 0 && X + CB > Clip.left())
            Cols.push_back({X, c});
        X += CB;
    }
    const int BandRight = X;
    int Y = Y0;
    for (int r = FromRow; r < ToRow && Y < Bottom; ++r) {
        const int RB = RowBox(r);
        if (RB > 0 && Y + RB > Clip.top())
            Rows.push_back({Y, r});
        Y += RB;
    }
    const int BandBottom = Y;
    for (const auto& [Top, r] : Rows) {
        for (const auto& [Left, c] : Cols) {
            const QRect R(Left, Top, FColWidths[size_t(c)], FRowHeights[size_t(r)]);
            TGridDrawState State;
            if (FixedBand) {
                State << gdFixed;
            } else if (r == FCurrent.Y && (c == FCurrent.X || RowSelect)) {
                if (c == FCurrent.X)
                    State << gdFocused;
                State << gdSelected;
            }
            C->Brush()->SetStyle(bsSolid);
            C->Brush()->SetColor(FixedBand ? FFixedColor : Color());
            if (FPrepareCells) {
                C->Font()->Assign(*Font());
                if (FDefaultDrawing)
                    C->FillRect(R);
            }
            DrawCell(c, r, R, State);
        }
    }
    if (!Rows.empty() && !Cols.empty())
        DrawBandLines(Cols.front().first, Rows.front().first, BandRight, BandBottom, Cols, Rows);
}

// One line per column and per row of a band rather than two per cell; a
// line changes colour only where the cells it belongs to ask for another.
void TCustomGrid::DrawBandLines(int Left, int Top, int Right, int Bottom,
                                const std::vector<std::pair<int, int>>& Cols,
                                const std::vector<std::pair<int, int>>& Rows)
{
    if (FGridLineWidth <= 0)
        return;
    const int FirstCol = Cols.front().second;
    const int FirstRow = Rows.front().second;
    const bool Vert = FirstCol < FFixedCols ? FOptions.Contains(goFixedVertLine) : FOptions.Contains(goVertLine);
    const bool Horz = FirstRow < FFixedRows ? FOptions.Contains(goFixedHorzLine) : FOptions.Contains(goHorzLine);
    TCanvas* C = Canvas();
    C->Brush()->SetStyle(bsSolid);
    auto Fill = [C](TColor Color, const QRect& R) {
        C->Brush()->SetColor(Color);
        C->FillRect(R);
    };
    if (Vert) {
        for (const auto& [X, c] : Cols) {
            const int LineX = X + FColWidths[size_t(c)];
            int From = Top;
            TColor Color = GridLineColor(c, Rows.front().second);
            for (size_t i = 1; i < Rows.size(); ++i) {
                const TColor Next = GridLineColor(c, Rows[i].second);
                if (Next != Color) {
                    Fill(Color, QRect(LineX, From, FGridLineWidth, Rows[i].first - From));
                    From = Rows[i].first;
                    Color = Next;
                }
            }
            Fill(Color, QRect(LineX, From, FGridLineWidth, Bottom - From));
        }
    }
    if (Horz) {
        for (const auto& [Y, r] : Rows) {
            const int LineY = Y + FRowHeights[size_t(r)];
            int From = Left;
            TColor Color = GridLineColor(Cols.front().second, r);
            for (size_t i = 1; i < Cols.size(); ++i) {
                const TColor Next = GridLineColor(Cols[i].second, r);
                if (Next != Color) {
                    Fill(Color, QRect(From, LineY, Cols[i].first - From, FGridLineWidth));
                    From = Cols[i].first;
                    Color = Next;
                }
            }
            Fill(Color, QRect(From, LineY, Right - From, FGridLineWidth));
        }
    }
}

TColor TCustomGrid::GridLineColor(int ACol, int ARow) const
{
    return ACol < FFixedCols || ARow < FFixedRows ? FixedLineColor() : LineColor();
}

// The sizing mark: drawn twice with an XOR pen it leaves no trace.
void TCustomGrid::DrawSizingLine(int Pos)
{
    TCanvas* C = Canvas();
    TCanvasState Saved(C);
    C->Pen()->SetMode(pmXor);
    C->Pen()->SetColor(clWhite);
    C->Pen()->SetWidth(1);
    C->Pen()->SetStyle(psSolid);
    if (FGridState == gsColSizing) {
        C->MoveTo(Pos, 0);
        C->LineTo(Pos, GridHeight());
    } else {
        C->MoveTo(0, Pos);
        C->LineTo(GridWidth(), Pos);
    }
}
