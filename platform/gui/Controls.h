// TCustomControl: the base of every custom-drawn control (grid, card panels,
// preview, design page, inspector, memo, tool buttons). It turns Qt's events
// into the classic ones and paints through a TCanvas on a backing image that
// persists between paints, so XOR marks drawn outside Paint stay until drawn
// again. It does not lay out children or know about data.
#pragma once

#include "platform/gui/Graphics.h"
#include "platform/gui/Sets.h"

#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>

class QInputMethodEvent;
class QKeyEvent;

// ---------------------------------------------------------------- input types

enum class TShiftStateItem { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };
using enum TShiftStateItem;
using TShiftState = TSet<TShiftStateItem>;

enum class TMouseButton { mbLeft, mbRight, mbMiddle };
using enum TMouseButton;

// Virtual-key codes as the classic keyboard messages carry them.
enum : int {
    VK_LBUTTON = 0x01, VK_RBUTTON = 0x02, VK_CANCEL = 0x03, VK_MBUTTON = 0x04,
    VK_BACK = 0x08, VK_TAB = 0x09, VK_CLEAR = 0x0C, VK_RETURN = 0x0D,
    VK_SHIFT = 0x10, VK_CONTROL = 0x11, VK_MENU = 0x12, VK_PAUSE = 0x13, VK_CAPITAL = 0x14,
    VK_ESCAPE = 0x1B, VK_SPACE = 0x20, VK_PRIOR = 0x21, VK_NEXT = 0x22, VK_END = 0x23,
    VK_HOME = 0x24, VK_LEFT = 0x25, VK_UP = 0x26, VK_RIGHT = 0x27, VK_DOWN = 0x28,
    VK_SELECT = 0x29, VK_PRINT = 0x2A, VK_EXECUTE = 0x2B, VK_SNAPSHOT = 0x2C,
    VK_INSERT = 0x2D, VK_DELETE = 0x2E, VK_HELP = 0x2F,
    VK_LWIN = 0x5B, VK_RWIN = 0x5C, VK_APPS = 0x5D,
    VK_NUMPAD0 = 0x60, VK_NUMPAD1, VK_NUMPAD2, VK_NUMPAD3, VK_NUMPAD4, VK_NUMPAD5,
    VK_NUMPAD6, VK_NUMPAD7, VK_NUMPAD8, VK_NUMPAD9,
    VK_MULTIPLY = 0x6A, VK_ADD = 0x6B, VK_SEPARATOR = 0x6C, VK_SUBTRACT = 0x6D,
    VK_DECIMAL = 0x6E, VK_DIVIDE = 0x6F,
    VK_F1 = 0x70, VK_F2, VK_F3, VK_F4, VK_F5, VK_F6, VK_F7, VK_F8, VK_F9, VK_F10, VK_F11, VK_F12,
    VK_F24 = 0x87, VK_NUMLOCK = 0x90, VK_SCROLL = 0x91,
    VK_OEM_1 = 0xBA, VK_OEM_PLUS = 0xBB, VK_OEM_COMMA = 0xBC, VK_OEM_MINUS = 0xBD,
    VK_OEM_PERIOD = 0xBE, VK_OEM_2 = 0xBF, VK_OEM_3 = 0xC0, VK_OEM_4 = 0xDB,
    VK_OEM_5 = 0xDC, VK_OEM_6 = 0xDD, VK_OEM_7 = 0xDE
};

// Cursor numbers: the stock ones negative, the program's own positive
// (registered with TScreen::SetCursors).
using TCursor = int;
constexpr TCursor crDefault = 0, crNone = -1, crArrow = -2, crCross = -3, crIBeam = -4,
    crSizeNESW = -6, crSizeNS = -7, crSizeNWSE = -8, crSizeWE = -9, crUpArrow = -10,
    crHourGlass = -11, crDrag = -12, crNoDrop = -13, crHSplit = -14, crVSplit = -15,
    crMultiDrag = -16, crSQLWait = -17, crNo = -18, crAppStart = -19, crHelp = -20,
    crHandPoint = -21, crSizeAll = -22, crSize = crSizeAll;

// Qt to classic translation, shared by forms and controls.
TShiftState ShiftStateFromQt(Qt::KeyboardModifiers Modifiers, Qt::MouseButtons Buttons);
// The virtual key of a key event, 0 when it has none (text from an input method).
int VirtualKeyFromQt(const QKeyEvent* Event);
// The character a key produces, control characters included (Ctrl+C gives #3,
// Enter #13, Esc #27, Backspace #8); a null QChar when it produces none.
QChar KeyCharFromQt(const QKeyEvent* Event);
// Whether Text is one or more whole printable characters (a surrogate pair
// counts as the one character it encodes; half of one is not printable).
bool PrintableText(QStringView Text);
// Text an input method commits takes the road of typed keys: each whole
// character goes to Typed as a key press of its own, so that it meets every
// rule a typed key meets (character checks, completion, key lists). What else
// the event carries (a replaced range, the composition still being edited)
// goes to Rest, the edit's own input-method handling. Box is the line edit
// or text box the event reached: the committed characters go in where the
// replaced range was.
void TypeCommittedText(QWidget* Box, QInputMethodEvent* Event, const std::function<void(QKeyEvent*)>& Typed,
                       const std::function<void(QInputMethodEvent*)>& Rest);

// Reading order and alignment of text in a control.
enum class TBiDiMode { bdLeftToRight, bdRightToLeft, bdRightToLeftNoAlign, bdRightToLeftReadingOnly };
using enum TBiDiMode;
// Right-to-left reading order (every mode but left-to-right).
inline bool RightToLeftReading(TBiDiMode Mode) { return Mode != bdLeftToRight; }
// Left and right alignment trade places (full right-to-left only).
inline bool RightToLeftAlignment(TBiDiMode Mode) { return Mode == bdRightToLeft; }

enum class TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };
using enum TScrollStyle;
enum class TScrollBarKind { sbHorizontal, sbVertical };
using enum TScrollBarKind;
// What a scroll bar asks for, in the classic order of the scroll messages.
enum TScrollCode { scLineUp, scLineDown, scPageUp, scPageDown, scPosition, scTrack, scTop, scBottom, scEndScroll };

class TScrollBar;

// ---------------------------------------------------------------- TCustomControl

// Where a drag stands relative to the control it is over.
enum TDragState { dsDragEnter, dsDragLeave, dsDragMove };

class TCustomControl : public QWidget
{
public:
    explicit TCustomControl(QWidget* AParent = nullptr);
    ~TCustomControl() override;

    // Drawing surface; valid at any time, not only inside Paint.
    TCanvas* Canvas();
    TFont* Font() const { return FFont.get(); }
    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    TCursor Cursor() const { return FCursor; }
    void SetCursor(TCursor Value);
    TBiDiMode BiDiMode() const { return FBiDiMode; }
    void SetBiDiMode(TBiDiMode Value);
    bool UseRightToLeftReading() const { return RightToLeftReading(FBiDiMode); }
    bool UseRightToLeftAlignment() const { return RightToLeftAlignment(FBiDiMode); }
    bool WantTabs() const { return FWantTabs; }
    void SetWantTabs(bool Value) { FWantTabs = Value; }
    TScrollStyle ScrollBars() const { return FScrollBars; }
    void SetScrollBars(TScrollStyle Value);
    // The control's own bars (nullptr until SetScrollBars asks for them).
    TScrollBar* HorzBar() const { return FHorz; }
    TScrollBar* VertBar() const { return FVert; }
    // Shows or hides one of the own bars, creating it when needed.
    void ShowScrollBar(TScrollBarKind Kind, bool Show);
    bool ScrollBarShowing(TScrollBarKind Kind) const;

    // The area inside the scroll bars.
    int ClientWidth() const;
    int ClientHeight() const;
    QRect ClientRect() const { return QRect(0, 0, ClientWidth(), ClientHeight()); }
    int Tag() const { return FTag; }
    void SetTag(int Value) { FTag = Value; }
    bool Focused() const { return hasFocus(); }
    void SetFocus() { setFocus(Qt::OtherFocusReason); }

    // Marks an area for Paint on the next paint pass; Repaint paints at once.
    void Invalidate();
    void InvalidateRect(const QRect& R);
    void Repaint();
    // Paints the areas marked for Paint now, and only those.
    void Update();
    // Moves the painted pixels of ScrollRect by (DX, DY), keeping what lands
    // inside ClipRect; areas still marked for Paint move with them and the
    // uncovered band is marked, so a scroll repaints only that band.
    void ScrollWindow(int DX, int DY, const QRect& ScrollRect, const QRect& ClipRect);

    // Overridables; each default fires its On event.
    virtual void Paint();
    virtual void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void MouseMove(TShiftState Shift, int X, int Y);
    virtual void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void Click();
    virtual void DblClick();
    virtual bool MouseWheel(TShiftState Shift, int WheelDelta, int X, int Y);
    virtual void KeyDown(int& Key, TShiftState Shift);
    virtual void KeyUp(int& Key, TShiftState Shift);
    virtual void KeyPress(QChar& Key);
    // The text that a KeyPress of Key stands for: the whole text of the key
    // being handled when Key is its first character (a character outside the
    // 16-bit range, or several characters from one key), else Key alone.
    QString TypedText(QChar Key) const;
    virtual void MouseEnter();
    virtual void MouseLeave();
    virtual void DoEnter();
    virtual void DoExit();
    virtual void Resize();
    // The position of an own bar changed (by the user or by the program).
    virtual void Scroll(TScrollBarKind Kind, int Position);
    // A user action on an own bar, or on a bar attached to the control.
    virtual void WMHScroll(TScrollCode Code, int Pos);
    virtual void WMVScroll(TScrollCode Code, int Pos);
    // A drag over the control (it takes them once setAcceptDrops is on):
    // Source is the widget it began in, nullptr from another program; Accept,
    // preset to whether OnDragOver is set, decides whether a drop may follow.
    virtual void DragOver(QObject* Source, int X, int Y, TDragState State, bool& Accept);
    virtual void DragDrop(QObject* Source, int X, int Y);

    std::function<void(TCustomControl* Sender)> OnPaint;
    std::function<void(QObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)> OnMouseDown;
    std::function<void(QObject* Sender, TShiftState Shift, int X, int Y)> OnMouseMove;
    std::function<void(QObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)> OnMouseUp;
    std::function<void(QObject* Sender)> OnClick;
    std::function<void(QObject* Sender)> OnDblClick;
    std::function<void(QObject* Sender, TShiftState Shift, int WheelDelta, QPoint Pos, bool& Handled)> OnMouseWheel;
    std::function<void(QObject* Sender, int& Key, TShiftState Shift)> OnKeyDown;
    std::function<void(QObject* Sender, int& Key, TShiftState Shift)> OnKeyUp;
    std::function<void(QObject* Sender, QChar& Key)> OnKeyPress;
    std::function<void(QObject* Sender)> OnMouseEnter;
    std::function<void(QObject* Sender)> OnMouseLeave;
    std::function<void(QObject* Sender)> OnEnter;
    std::function<void(QObject* Sender)> OnExit;
    std::function<void(QObject* Sender)> OnResize;
    std::function<void(QObject* Sender, QObject* Source, int X, int Y, TDragState State, bool& Accept)> OnDragOver;
    std::function<void(QObject* Sender, QObject* Source, int X, int Y)> OnDragDrop;

protected:
    bool event(QEvent* Event) override;
    void paintEvent(QPaintEvent* Event) override;
    void resizeEvent(QResizeEvent* Event) override;
    void mousePressEvent(QMouseEvent* Event) override;
    void mouseMoveEvent(QMouseEvent* Event) override;
    void mouseReleaseEvent(QMouseEvent* Event) override;
    void mouseDoubleClickEvent(QMouseEvent* Event) override;
    void wheelEvent(QWheelEvent* Event) override;
    void keyPressEvent(QKeyEvent* Event) override;
    void keyReleaseEvent(QKeyEvent* Event) override;
    void enterEvent(QEnterEvent* Event) override;
    void leaveEvent(QEvent* Event) override;
    void focusInEvent(QFocusEvent* Event) override;
    void focusOutEvent(QFocusEvent* Event) override;
    void dragEnterEvent(QDragEnterEvent* Event) override;
    void dragMoveEvent(QDragMoveEvent* Event) override;
    void dragLeaveEvent(QDragLeaveEvent* Event) override;
    void dropEvent(QDropEvent* Event) override;

private:
    // The part of the control the backing image holds: all of it, or for a
    // control larger than a large screen the part that shows (FPinned while
    // a paint reaches beyond it).
    QRect ImageWindow() const;
    void EnsureImage();
    void PlaceScrollBars();
    void PaintDirty();

    QImage FImage;
    QRect FWindow;       // control coordinates of FImage
    QSize FImageFor;     // the control's size when FImage was made
    QRect FPinned;
    std::unique_ptr<TCanvas> FCanvas;
    std::unique_ptr<TFont> FFont;
    TColor FColor = clBtnFace;
    TCursor FCursor = crDefault;
    bool FWantTabs = false;
    QString FKeyText; // the text of the key event being handled
    TBiDiMode FBiDiMode = bdLeftToRight;
    int FTag = 0;
    bool FClicked = false;
    bool FInPaint = false;
    QRegion FDirty;
    TScrollStyle FScrollBars = ssNone;
    TScrollBar* FHorz = nullptr;
    TScrollBar* FVert = nullptr;
    // The drag over the control, for its leave, which Qt sends without them.
    QPointer<QObject> FDragSource;
    QPoint FDragPos;
};
