// The docking framework of the engine's windows and their remembered
// placement. Tool bars sit in rows inside docks along a window's sides; the
// user drags them along a row, into another row or dock, or out of the window
// into a small floating window that docks again when dragged over a dock.
//
// Docks, tool bars and their controls are placed by their Align, as classic
// panels are: a control aligned top, bottom, left or right takes a strip of
// its parent's free area in that order, sorted by its position along the side.
// AlignControls does that for any parent; docks realign their parent when they
// change size and when the parent is resized.
//
// Tool bar states and window bounds live in the engine's settings store
// (TRegIniFile) under frRegRootKey: "ToolBar\<name>" and "Form\<class>".
#pragma once

#include "report/engine/FR_Ctrls.h"
#include "platform/gui/Forms.h"

#include <QPointer>
#include <memory>

class QRubberBand;
class TfrToolBar;
class TfrFloatWindow;

// ---------------------------------------------------------------- alignment

enum class TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };
using enum TAlign;

TAlign ControlAlign(const QWidget* Control);
// Stores the alignment; the parent is realigned by whoever owns the layout.
void SetControlAlign(QWidget* Control, TAlign Value);
// Places the aligned, not hidden children of Parent inside Area: top, bottom,
// left, right, then client; children without alignment keep their place.
void AlignControls(QWidget* Parent, const QRect& Area);

// ---------------------------------------------------------------- settings

// The root of the engine's settings; the designer extends it with "\" and the
// application's title.
extern QString frRegRootKey;

// ---------------------------------------------------------------- dock

enum class TfrOrientation { toAny, toVertOnly, toHorzOnly };
using enum TfrOrientation;

class TfrDock : public TCustomControl
{
    Q_OBJECT
public:
    explicit TfrDock(QWidget* AParent = nullptr, TAlign ASide = alTop);

    // The height (top and bottom docks) or width (left and right) of a row.
    int RowSize() const { return FRowSize; }
    void SetRowSize(int Value) { FRowSize = Value; }
    TAlign Align() const { return ControlAlign(this); }
    void SetAlign(TAlign Value);
    // Top and bottom docks hold horizontal tool bars.
    bool Horizontal() const;

    // Re-lays the rows: empty rows go, tool bars past the edge make it grow;
    // without a visible tool bar the dock is 1 pixel.
    void AdjustBounds();
    // While held, re-lays wait, so that tool bars put back one by one do not
    // close up rows whose bars are yet to come; the last EndUpdate re-lays.
    void BeginUpdate() { ++FUpdating; }
    void EndUpdate();

    void Paint() override;

protected:
    bool event(QEvent* Event) override;
    bool eventFilter(QObject* Watched, QEvent* Event) override;

private:
    void SetExtent(int Value);
    void AlignParent();

    int FRowSize = 26;
    int FUpdating = 0;
    QPointer<QWidget> FWatched;
};

// ---------------------------------------------------------------- tool bar

// The handle at a docked tool bar's start; dragging it drags the tool bar.
class TfrDragBox : public TCustomControl
{
public:
    explicit TfrDragBox(TfrToolBar* AToolBar);

    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

private:
    TfrToolBar* FToolBar;
};

class TfrToolBar : public TCustomControl
{
public:
    explicit TfrToolBar(QWidget* AParent = nullptr);
    ~TfrToolBar() override;

    TfrOrientation Orientation() const { return FOrientation; }
    void SetOrientation(TfrOrientation Value) { FOrientation = Value; }
    bool CanFloat() const { return FCanFloat; }
    void SetCanFloat(bool Value) { FCanFloat = Value; }
    QString Caption() const { return FCaption; }
    void SetCaption(const QString& Value);
    bool Floating() const { return FFloating; }
    bool Dragging() const { return FDragging; }
    TfrDock* Dock() const;
    // Horizontal in a top or bottom dock and while floating.
    bool Horizontal() const;
    TfrDragBox* DragBox() const { return FDragBox; }

    // Docks at the end of the dock's rows.
    void AddToDock(TfrDock* ADock);
    void DockTo(TfrDock* ADock, int X, int Y);
    // Screen coordinates; a window lying wholly off the screen is moved onto it.
    void FloatAt(int X, int Y);
    void FloatAtCursor();
    bool IsVisible() const;
    void SetVisible(bool Value);
    TfrFloatWindow* GetFloatWindow() const { return FFloatWindow; }
    // Arranges the controls and fits the length to them.
    void AdjustBounds();

    void SaveState();
    void RestoreState();

    // The area the controls are aligned in: one pixel inside while docked.
    QRect ControlArea() const;

    // Dragging by the body or the drag box, in screen coordinates.
    void DragMouseDown(QPoint Global);
    void DragMouseMove(QPoint Global);
    void DragMouseUp();

    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void Resize() override;

protected:
    bool event(QEvent* Event) override;
    bool eventFilter(QObject* Watched, QEvent* Event) override;

private:
    friend class TfrFloatWindow;
    // False on the offscreen platform, which has no pointer to grab.
    static bool CanGrabMouse();
    QWidget* OwnerForm() const;
    void ArrangeControls();
    void RealignControls();
    void FloatAtPoint(QPoint Global);
    // Moves within the dock; false when the place is refused.
    bool MoveTo(int X, int Y, QPoint Global);

    TfrDragBox* FDragBox;
    TfrFloatWindow* FFloatWindow = nullptr;
    bool FFloating = false;
    bool FDragging = false;
    QPoint FStart;
    TfrOrientation FOrientation = toAny;
    bool FCanFloat = true;
    QString FCaption;
    bool FAligning = false;
};

// A button of a tool bar: flat, aligned left.
class TfrTBButton : public TfrSpeedButton
{
public:
    explicit TfrTBButton(QWidget* AParent = nullptr);

protected:
    void changeEvent(QEvent* Event) override;
};

class TfrTBSeparator : public TCustomControl
{
public:
    explicit TfrTBSeparator(QWidget* AParent = nullptr);

    bool DrawBevel() const { return FDrawBevel; }
    void SetDrawBevel(bool Value);
    void Paint() override;

protected:
    void changeEvent(QEvent* Event) override;

private:
    bool FDrawBevel = true;
};

// A place on a tool bar for other controls (combo boxes).
class TfrTBPanel : public TCustomControl
{
public:
    explicit TfrTBPanel(QWidget* AParent = nullptr);

protected:
    void changeEvent(QEvent* Event) override;
};

// ---------------------------------------------------------------- float window

// The small window of a floating tool bar. Its caption strip is its own, so
// that dragging it can dock the tool bar; the frame shown while dragging is a
// rubber band.
class TfrFloatWindow : public TForm
{
public:
    explicit TfrFloatWindow(QWidget* AOwner);
    ~TfrFloatWindow() override;

    TfrToolBar* ToolBar() const { return FToolBar; }
    // The area under the caption that holds the tool bar.
    QRect ClientArea() const;
    void SetClientAreaSize(int AWidth, int AHeight);
    bool Dragging() const { return FDragging; }
    // A window lying wholly off the available screen is moved onto it.
    void PlaceOnScreen();
    // The frame's place while dragging.
    QRect DragRect() const { return FDragRect; }

    // Dragging by the caption, in screen coordinates.
    void DragMouseDown(QPoint Global);
    void DragMouseMove(QPoint Global);
    void DragMouseUp();

    static constexpr int CaptionHeight = 14;
    static constexpr int Border = 1;

protected:
    void paintEvent(QPaintEvent* Event) override;
    void mouseMoveEvent(QMouseEvent* Event) override;
    void mouseReleaseEvent(QMouseEvent* Event) override;

private:
    friend class TfrToolBar;
    bool TryDock(QPoint Global);

    TfrToolBar* FToolBar = nullptr;
    TCustomControl* FTitle;
    std::unique_ptr<QRubberBand> FFrame;   // a window of its own on the screen
    QRect FDragRect;
    QPoint FGrab;
    bool FDragging = false;
};

// ---------------------------------------------------------------- placement

// "Form\" + the window's class name: position, size and whether maximized.
void SaveFormPosition(TForm* Form);
// A window restored wholly off the screen is moved onto it.
void RestoreFormPosition(TForm* Form);
