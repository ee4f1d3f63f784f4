#include "report/designer/FR_DsgPage.h"

#include "platform/gui/ComCtrls.h"
#include "report/designer/FR_Desgn.h"
#include "report/engine/FR_BandView.h"
#include "report/engine/FR_Class.h"
#include "report/engine/FR_Globals.h"
#include "report/engine/FR_MemoView.h"
#include "report/engine/FR_Page.h"

#include <QScrollBar>
#include <algorithm>
#include <cmath>

int SelCount = 0;
TfrView* RefView = nullptr;
bool MultiSel = false;
TfrRect OldRect;
TfrRect OldRect1;
std::unique_ptr<TBitmap> GridBitmap;

namespace {

// The small marks of views with a script or a highlight condition: our own art.
const QImage& ScriptMark()
{
    static const QImage Image = [] {
        QImage I(7, 7, QImage::Format_RGB32);
        I.fill(QColor(0, 128, 0));
        for (int y = 2; y < 5; ++y)
            for (int x = 1; x < 6; x += 2)
                I.setPixel(x, y, qRgb(255, 255, 255));
        return I;
    }();
    return Image;
}

const QImage& HighlightMark()
{
    static const QImage Image = [] {
        QImage I(7, 7, QImage::Format_RGB32);
        I.fill(QColor(255, 255, 0));
        for (int i = 0; i < 7; ++i)
            I.setPixel(i, 6 - i, qRgb(192, 0, 0));
        return I;
    }();
    return Image;
}

} // namespace

// ---------------------------------------------------------------- unit routines

TfrPage* frDesignPage()
{
    return frDesigner ? frDesigner->Page : nullptr;
}

int LastSelectedIndex()
{
    TfrPage* Page = frDesignPage();
    if (!Page)
        return -1;
    for (int i = Page->Count() - 1; i >= 0; --i)
        if (Page->Objects(i)->Selected())
            return i;
    return Page->Count() - 1;
}

bool PageHasBandType(int BandType)
{
    TfrPage* Page = frDesignPage();
    if (!Page)
        return false;
    for (int i = 0; i < Page->Count(); ++i) {
        auto* Band = dynamic_cast<TfrBandView*>(Page->Objects(i));
        if (Band && Band->BandType() == BandType)
            return true;
    }
    return false;
}

TfrView* FindSelectedBand()
{
    TfrPage* Page = frDesignPage();
    for (int i = 0; Page && i < Page->Count(); ++i)
        if (Page->Objects(i)->Selected() && Page->Objects(i)->ObjectType() == gtBand)
            return Page->Objects(i);
    return nullptr;
}

void ReorderBands(TfrPage* Page)
{
    std::vector<std::unique_ptr<TfrView>> Bands, Others;
    while (Page->Count() > 0) {
        auto View = Page->Extract(0);
        (View->ObjectType() == gtBand ? Bands : Others).push_back(std::move(View));
    }
    auto TypeOf = [](const std::unique_ptr<TfrView>& V) {
        return static_cast<TfrBandView*>(V.get())->BandType();
    };
    auto Overlay = std::find_if(Bands.begin(), Bands.end(),
                                [&](const auto& V) { return TypeOf(V) == btOverlay; });
    if (Overlay != Bands.end())
        std::rotate(Bands.begin(), Overlay, Overlay + 1);
    // Cross bands go behind the last band of the front block, in their order.
    std::stable_partition(Bands.begin(), Bands.end(), [&](const auto& V) { return !frIsCrossBand(TypeOf(V)); });
    for (auto& V : Bands)
        Page->Add(std::move(V));
    for (auto& V : Others)
        Page->Add(std::move(V));
}

void SetViewSelected(TfrView* View, bool Value)
{
    if (View->Selected() == Value)
        return;
    View->SetSelected(Value);
    SelCount += Value ? 1 : -1;
}

// ---------------------------------------------------------------- page

TfrDesignerPage::TfrDesignerPage(QWidget* AParent, TfrDesignerForm* ADesigner)
    : TCustomControl(AParent)
    , FDesigner(ADesigner)
{
    setObjectName(QStringLiteral("PageView"));
    SetColor(clWhite);
    setAcceptDrops(true);
    setMouseTracking(true);
}

TfrDesignerPage::~TfrDesignerPage() = default;

TfrPage* TfrDesignerPage::Page() const
{
    return FDesigner->Page;
}

bool TfrDesignerPage::DialogPage() const
{
    return Page() && Page()->PageType == ptDialog;
}

void TfrDesignerPage::ResetMouseState()
{
    Down = false;
    SkipNextDown = false;
    RubberBand = false;
    ResizeMode = 0;
    SetCursor(crDefault);
}

void TfrDesignerPage::PlacePage()
{
    TfrPage* P = Page();
    if (!P || PaintSuspended)
        return;
    QScrollArea* Box = FDesigner->ScrollBox1;
    if (DialogPage()) {
        if (parentWidget() && parentWidget() != FDesigner->ScrollHost) {
            setGeometry(parentWidget()->rect());
            return;
        }
    }
    const int W = P->PrnInfo.PaperWidthPx;
    const int H = P->PrnInfo.PaperHeightPx * (FDesigner->UnlimitedHeight ? 3 : 1);
    const int ClientW = Box ? Box->viewport()->width() : W + 20;
    int L = 10;
    if (W <= ClientW - 11 && FDesigner->PagePosition != 3)
        L = FDesigner->PagePosition == 5 ? (ClientW - W) / 2 : ClientW - W - 11;
    setGeometry(L, 10, W, H);
    if (FDesigner->ScrollHost)
        FDesigner->ScrollHost->resize(L + W + 10, 10 + H + 10);
}

void TfrDesignerPage::Paint()
{
    PaintViews(10000);
}

// The page's ground in Back: white or the dialog's colour, with the grid as
// a pattern brush (steps 4 and 8) or dots every 18 pixels.
void TfrDesignerPage::PaintBackground(const QRegion& Back)
{
    TfrPage* P = Page();
    TCanvas* C = Canvas();
    C->SelectClipRgn(&Back);
    const TColor BackColor = DialogPage() ? static_cast<TColor>(P->Color) : clWhite;
    C->Pen()->SetMode(pmCopy);
    if (!FDesigner->GridShow || FDesigner->GridSizeX == 18) {
        C->Brush()->SetStyle(bsSolid);
        C->Brush()->SetColor(BackColor);
        C->FillRect(rect());
    } else {
        QImage Grid(8, 8, QImage::Format_RGB32);
        Grid.fill(ColorToQColor(BackColor));
        Grid.setPixel(0, 0, qRgb(0, 0, 0));
        if (FDesigner->GridSizeX == 4) {
            Grid.setPixel(4, 0, qRgb(0, 0, 0));
            Grid.setPixel(0, 4, qRgb(0, 0, 0));
            Grid.setPixel(4, 4, qRgb(0, 0, 0));
        }
        if (!GridBitmap)
            GridBitmap = std::make_unique<TBitmap>();
        GridBitmap->LoadFromImage(Grid);
        C->Brush()->SetBitmap(GridBitmap.get());
        C->FillRect(rect());
        C->Brush()->SetBitmap(nullptr);
        C->Brush()->SetStyle(bsSolid);
    }
    if (FDesigner->GridShow && FDesigner->GridSizeX == 18) {
        // The dots within the area painted only, not every row of the page.
        const QRect Bounds = Back.boundingRect().intersected(rect());
        const auto FirstDot = [](int From) { return (std::max(0, From) + 17) / 18 * 18; };
        for (int y = FirstDot(Bounds.top()); y <= Bounds.bottom(); y += 18)
            for (int x = FirstDot(Bounds.left()); x <= Bounds.right(); x += 18)
                if (Back.contains(QPoint(x, y)))
                    C->SetPixels(x, y, clBlack);
    }
}

// A view with its script and highlight marks.
void TfrDesignerPage::PaintView(TfrView* V)
{
    TCanvas* C = Canvas();
    V->Draw(C);
    if (V->Script()->Count() > 0)
        C->DrawImage(V->Left() + 1, V->Top() + 1, ScriptMark());
    auto* Memo = dynamic_cast<TfrMemoView*>(V);
    if (Memo && !Memo->HighlightCondition().isEmpty())
        C->DrawImage(V->Left() + 1, V->Top() + 10, HighlightMark());
}

// The margins in grey and, with several columns, each column dotted; the
// column width is kept in the page.
void TfrDesignerPage::PaintMargins(const QRegion& Update)
{
    TfrPage* P = Page();
    TCanvas* C = Canvas();
    C->SelectClipRgn(&Update);
    C->Pen()->SetWidth(1);
    C->Pen()->SetColor(static_cast<TColor>(0x808080));
    C->Pen()->SetStyle(psSolid);
    C->Brush()->SetStyle(bsClear);
    if (P->UseMargins)
        C->Rectangle(P->GetLeftBound(), P->GetTopBound(), P->GetRightBound(), P->GetBottomBound());
    if (P->Columns > 1) {
        P->ColumnWidth = (P->GetRightBound() - P->GetLeftBound() - (P->Columns - 1) * P->ColumnGap) / P->Columns;
        C->Pen()->SetStyle(psDot);
        int X = P->GetLeftBound();
        const QRect Bounds = Update.boundingRect();
        for (int i = 0; i < P->Columns; ++i) {
            // Only the columns the update shows.
            if (QRect(QPoint(X, -1), QPoint(X + P->ColumnWidth + 1, height() + 1)).normalized().intersects(Bounds))
                C->Rectangle(X, -1, X + P->ColumnWidth + 1, height() + 1);
            X += P->ColumnWidth + P->ColumnGap;
        }
        C->Pen()->SetStyle(psSolid);
    }
    C->Brush()->SetStyle(bsSolid);
}

void TfrDesignerPage::PaintViews(int Upto, const QRegion* Region)
{
    TfrPage* P = Page();
    if (!P || PaintSuspended)
        return;
    TCanvas* C = Canvas();
    const QRegion Update = Region ? *Region : (C->HasClip() ? C->ClipRegion() : QRegion(rect()));
    const QRegion Saved = C->ClipRegion();
    const bool HadClip = C->HasClip();
    DocMode = dmDesigning;

    // Each view is clipped by the views above it that overlap it, found
    // through 64-pixel cells, so a repaint grows with the number of views and
    // not with its square. Views above Upto keep their pixels.
    const int Count = P->Count();
    const int Last = std::min(Upto, Count - 1);
    std::vector<QRegion> Normal(size_t(std::max(Count, 0)));
    std::vector<QRect> Box(Normal.size());
    for (int i = 0; i < Count; ++i) {
        Normal[size_t(i)] = P->Objects(i)->GetClipRgn(false);
        Box[size_t(i)] = Normal[size_t(i)].boundingRect();
    }
    constexpr int Cell = 64;
    const int CellsX = width() / Cell + 1, CellsY = height() / Cell + 1;
    std::vector<std::vector<int>> Cells(size_t(CellsX * CellsY));
    auto ForCells = [&](const QRect& R, const auto& Visit) {
        const int X0 = std::clamp(R.left() / Cell, 0, CellsX - 1), X1 = std::clamp(R.right() / Cell, 0, CellsX - 1);
        const int Y0 = std::clamp(R.top() / Cell, 0, CellsY - 1), Y1 = std::clamp(R.bottom() / Cell, 0, CellsY - 1);
        for (int Y = Y0; Y <= Y1; ++Y)
            for (int X = X0; X <= X1; ++X)
                Visit(Cells[size_t(Y * CellsX + X)]);
    };
    for (int i = 0; i < Count; ++i)
        ForCells(Box[size_t(i)], [i](std::vector<int>& List) { List.push_back(i); });
    std::vector<int> Seen(Normal.size(), -1);
    // The union of the views above Index that meet Area.
    auto Above = [&](int Index, const QRect& Area, int From) {
        QRegion Covered;
        ForCells(Area, [&](const std::vector<int>& List) {
            for (int j : List)
                if (j > From && Seen[size_t(j)] != Index && Box[size_t(j)].intersects(Area)) {
                    Seen[size_t(j)] = Index;
                    Covered += Normal[size_t(j)];
                }
        });
        return Covered;
    };

    const QRegion Back = Last < Count - 1 ? Update - Above(Count, Update.boundingRect(), Last) : Update;
    PaintBackground(Back);

    const QRect Whole(0, 0, width(), height());
    for (int i = 0; i <= Last; ++i) {
        TfrView* V = P->Objects(i);
        if (!V->Selected() && !Normal[size_t(i)].intersects(Update))
            continue;
        const QRect Reach = V->GetClipRgn(true).boundingRect();
        QRegion Clip = V->Selected() ? QRegion(Whole.intersected(Reach)) : Update.intersected(Reach);
        Clip -= Above(i, Reach, i);
        C->SelectClipRgn(&Clip);
        PaintView(V);
    }
    if (!DialogPage())
        PaintMargins(Update);
    if (HadClip)
        C->SelectClipRgn(&Saved);
    else
        C->SelectClipRgn(nullptr);
    if (!Down)
        DrawSelected(1);
}

void TfrDesignerPage::DrawHandles(TfrView* View)
{
    TCanvas* C = Canvas();
    TfrPage* P = Page();
    // A 5-pixel dot, every pixel toggled once: one line winding row by row
    // (each segment stops short of its end point), one stroke per dot, as
    // hundreds of selected views show thousands of dots.
    auto Dot = [C](int X, int Y, TColor Color) {
        C->Pen()->SetColor(Color);
        C->Polyline({{X - 2, Y - 2}, {X + 2, Y - 2}, {X + 2, Y - 1}, {X - 2, Y - 1}, {X - 2, Y}, {X + 2, Y},
                     {X + 2, Y + 1}, {X - 2, Y + 1}, {X - 2, Y + 2}, {X + 3, Y + 2}});
    };
    const int L = View->Left(), T = View->Top(), W = View->Width(), H = View->Height();
    Dot(L, T, clWhite);
    if (W != 0 && H != 0) {
        Dot(L + W, T, clWhite);
        Dot(L, T + H, clWhite);
    }
    const bool Corner = CornerIndex >= 0 && CornerIndex < P->Count() && P->Objects(CornerIndex) == View;
    Dot(L + W, T + H, Corner ? static_cast<TColor>(0x808000) : clWhite);
    if (SelCount == 1 && W != 0 && H != 0) {
        Dot(L + W / 2, T, clWhite);
        Dot(L + W / 2, T + H, clWhite);
        Dot(L, T + H / 2, clWhite);
        Dot(L + W, T + H / 2, clWhite);
    }
}

void TfrDesignerPage::DrawSelected(int Mode)
{
    TfrPage* P = Page();
    if (!P || DocMode != dmDesigning || PaintSuspended)
        return;
    TCanvas* C = Canvas();
    if (Mode == 1) {
        C->Pen()->SetMode(pmXor);
        C->Pen()->SetWidth(1);
        C->Pen()->SetStyle(psSolid);
    }
    for (int i = 0; i < P->Count(); ++i) {
        TfrView* V = P->Objects(i);
        if (Mode == 0)
            V->Draw(C);
        else if (V->Selected() && Mode == 1)
            DrawHandles(V);
        else if (V->Selected() && Mode == 2)
            XorOutline({V->Left(), V->Top(), V->Left() + V->Width() + 1, V->Top() + V->Height() + 1});
    }
    C->Pen()->SetMode(pmCopy);
    C->Pen()->SetWidth(1);
}

void TfrDesignerPage::XorOutline(const TfrRect& R)
{
    TCanvas* C = Canvas();
    C->Pen()->SetMode(pmXor);
    C->Pen()->SetColor(clSilver);
    C->Pen()->SetWidth(1);
    C->Pen()->SetStyle(psSolid);
    C->Brush()->SetStyle(bsClear);
    if (R.Left + 1 == R.Right) {
        C->MoveTo(R.Left, R.Top);
        C->LineTo(R.Right - 1, R.Bottom);
    } else if (R.Top + 1 == R.Bottom) {
        C->MoveTo(R.Left, R.Top);
        C->LineTo(R.Right, R.Bottom - 1);
    } else {
        C->Rectangle(R.Left, R.Top, R.Right, R.Bottom);
    }
    C->Pen()->SetMode(pmCopy);
    C->Brush()->SetStyle(bsSolid);
}

void TfrDesignerPage::XorSplitLine(const TfrRect& R)
{
    TCanvas* C = Canvas();
    C->Pen()->SetMode(pmXor);
    C->Pen()->SetColor(clSilver);
    C->Pen()->SetWidth(1);
    C->MoveTo(R.Left, R.Top);
    C->LineTo(R.Right, R.Bottom);
    C->Pen()->SetMode(pmCopy);
    C->Brush()->SetStyle(bsSolid);
}

void TfrDesignerPage::XorLinePreview(const TfrRect& R)
{
    TCanvas* C = Canvas();
    C->Pen()->SetMode(pmNot);
    C->Pen()->SetWidth(static_cast<int>(std::lround(frLastUsed.LineWidth)));
    C->MoveTo(R.Left, R.Top);
    if (std::abs(R.Right - R.Left) > std::abs(R.Bottom - R.Top))
        C->LineTo(R.Right, R.Top);
    else
        C->LineTo(R.Left, R.Bottom);
    C->Pen()->SetMode(pmCopy);
    C->Pen()->SetWidth(1);
    C->Brush()->SetStyle(bsSolid);
}

void TfrDesignerPage::SnapToGrid(int& X, int& Y) const
{
    if (!FDesigner->GridAlign)
        return;
    X = X / FDesigner->GridSizeX * FDesigner->GridSizeX;
    Y = Y / FDesigner->GridSizeY * FDesigner->GridSizeY;
}

bool TfrDesignerPage::SnapToNearestCorner(int& X, int& Y) const
{
    TfrPage* P = Page();
    double Best = FDesigner->GridSizeX;
    bool Found = false;
    QPoint Answer;
    for (int i = 0; P && i < P->Count(); ++i) {
        const TfrView* V = P->Objects(i);
        const QPoint Corners[4] = {{V->Left(), V->Top()}, {V->Left() + V->Width(), V->Top()},
                                   {V->Left() + V->Width(), V->Top() + V->Height()},
                                   {V->Left(), V->Top() + V->Height()}};
        for (const QPoint& Pt : Corners) {
            const double D = std::hypot(Pt.x() - X, Pt.y() - Y);
            if (D < Best) {
                Best = D;
                Answer = Pt;
                Found = true;
            }
        }
    }
    if (Found) {
        X = Answer.x();
        Y = Answer.y();
    }
    return Found;
}

void TfrDesignerPage::ComputeSelectionBounds()
{
    SelLeft = SelTop = 10000;
    CornerIndex = -1;
    MultiSel = false;
    if (SelCount <= 1)
        return;
    TfrPage* P = Page();
    int BestR = 0, BestB = 0;
    for (int i = 0; i < P->Count(); ++i) {
        TfrView* V = P->Objects(i);
        if (!V->Selected())
            continue;
        V->SetSelectionBounds(QRect(V->Left(), V->Top(), V->Width(), V->Height()));
        const int R = V->Left() + V->Width(), B = V->Top() + V->Height();
        if (R > BestR || (R == BestR && B > BestB)) {
            BestR = R;
            BestB = B;
            CornerIndex = i;
        }
        SelLeft = std::min(SelLeft, V->Left());
        SelTop = std::min(SelTop, V->Top());
    }
    OldRect = {SelLeft, SelTop, BestR, BestB};
    OldRect1 = OldRect;
    MultiSel = true;
}

void TfrDesignerPage::BuildSelectionRegion()
{
    SelRegion = QRegion();
    TfrPage* P = Page();
    for (int i = 0; P && i < P->Count(); ++i)
        if (P->Objects(i)->Selected())
            SelRegion += P->Objects(i)->GetClipRgn(true);
    SelRegionStale = false;
}

TfrView* TfrDesignerPage::HitTest(int X, int Y) const
{
    TfrPage* P = Page();
    for (int i = P ? P->Count() - 1 : -1; i >= 0; --i) {
        TfrView* V = P->Objects(i);
        if (V->Width() < 3 || V->Height() < 3) {
            if (X >= V->Left() - 3 && X <= V->Left() + V->Width() + 3 && Y >= V->Top() - 3
                && Y <= V->Top() + V->Height() + 3)
                return V;
        } else if (V->GetClipRgn(false).contains(QPoint(X, Y))) {
            return V;
        }
    }
    return nullptr;
}

void TfrDesignerPage::InvalidateArea(const QRegion& Area, int Upto)
{
    if (!Down)
        DrawSelected(1);
    const QRegion Clipped = Area.intersected(rect());
    PaintViews(Upto, &Clipped);
    update(Clipped);
}
