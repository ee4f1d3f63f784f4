// The design page: the panel on which the designer shows the current page of
// the report and edits its views with the mouse. It keeps no report data: the
// views, their bounds and selected flags belong to the page's object list.
// Painting, marks and hit testing are in FR_DsgPage.cpp, the mouse in
// FR_DsgPageMouse.cpp.
#pragma once

#include "platform/gui/Controls.h"

#include <QRect>
#include <QRegion>
#include <memory>

class TBitmap;
class TfrDesignerForm;
class TfrPage;
class TfrView;

// Classic rectangle: Right and Bottom are edges, not the last pixel.
struct TfrRect
{
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    bool operator==(const TfrRect&) const = default;
};

// Selection state shared by the page and the designer window.
extern int SelCount;
extern TfrView* RefView;
extern bool MultiSel;
extern TfrRect OldRect;      // rubber band, insertion outline, line, bounds of a multiple selection
extern TfrRect OldRect1;     // its saved copy
extern std::unique_ptr<TBitmap> GridBitmap;

// The pencil cursor of the line tool.
constexpr TCursor crPencil = 11;

class TfrDesignerPage : public TCustomControl
{
public:
    TfrDesignerPage(QWidget* AParent, TfrDesignerForm* ADesigner);
    ~TfrDesignerPage() override;

    TfrDesignerForm* Designer() const { return FDesigner; }

    void ResetMouseState();
    // Sizes the panel for the current page inside the designer's scroll box.
    void PlacePage();
    // Paints every view with an index up to Upto; Region limits the painting
    // (none: the current clip).
    void PaintViews(int Upto, const QRegion* Region = nullptr);
    // 0: the views themselves, 1: toggles the handles, 2: toggles the outlines.
    void DrawSelected(int Mode);
    void ComputeSelectionBounds();
    void BuildSelectionRegion();
    void SnapToGrid(int& X, int& Y) const;
    bool SnapToNearestCorner(int& X, int& Y) const;
    // Topmost view under (X, Y), or nullptr.
    TfrView* HitTest(int X, int Y) const;

    // XOR feedback; drawing it twice restores the pixels.
    void XorOutline(const TfrRect& R);
    void XorSplitLine(const TfrRect& R);
    void XorLinePreview(const TfrRect& R);

    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void DblClick() override;
    void MouseLeave() override;
    // A field dragged from the fields window's lists: its outline follows
    // the mouse; the drop inserts a memo holding the field.
    void DragOver(QObject* Source, int X, int Y, TDragState State, bool& Accept) override;
    void DragDrop(QObject* Source, int X, int Y) override;

    // Page state.
    bool Down = false;
    bool Moved = false;
    bool SkipNextDown = false;
    bool RubberBand = false;
    bool SelectTool = true;
    uint8_t ResizeMode = 0;
    int LastX = 0, LastY = 0;
    TfrRect SplitLine;
    int SplitX = 0;
    TfrView* SplitLeft = nullptr;
    TfrView* SplitRight = nullptr;
    int CornerIndex = -1;
    int SelLeft = 0, SelTop = 0;
    bool FirstDrag = false;
    bool CtrlDown = false;
    bool DragOutline = false;
    bool PaintSuspended = false;
    bool SelRegionStale = true;
    QRegion SelRegion;

private:
    TfrPage* Page() const;
    bool DialogPage() const;
    void DrawHandles(TfrView* View);
    void PaintBackground(const QRegion& Back);
    void PaintView(TfrView* V);
    void PaintMargins(const QRegion& Update);
    void InvalidateArea(const QRegion& Area, int Upto = 10000);
    // Grid step of a drag; false while the motion is below one step.
    bool StepToGrid(int& DX, int& DY) const;
    QSize DefaultInsertSize() const;
    std::unique_ptr<TfrView> NewViewForTool(int Tag);
    void EndInsertion(bool FromDrop);
    void DropField(const QString& DBField);
    void EndLine();
    void EndRubberBand();
    void EndDrag();
    void SelectHit(TfrView* V, bool Shift);
    void FirstDragStep(int DX, int DY, bool Align, bool Alt);
    void TrackTool(int X, int Y);
    void HoverSingle(int X, int Y);
    void HoverMulti(int X, int Y);
    void DragMulti(int DX, int DY);
    void DragMove(int DX, int DY, TShiftState Shift);
    void DragResize(int DX, int DY);
    void AutoScroll(int X, int Y);
    void ShowPosition();
    void Feedback(bool Hide, QRegion& OldArea, QRegion& NewArea);

    TfrDesignerForm* FDesigner;
};

// The current page's views, index of the topmost selected view (the last
// index when none is), whether a band of a type is on the page, and the first
// selected band.
TfrPage* frDesignPage();
int LastSelectedIndex();
bool PageHasBandType(int BandType);
TfrView* FindSelectedBand();
// Bands first (overlay in front of them, cross bands behind the other bands).
void ReorderBands(TfrPage* Page);
// Selected flag of View with SelCount following.
void SetViewSelected(TfrView* View, bool Value);
