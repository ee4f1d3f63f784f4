// TCustomControl: Qt events in, classic events out; painting through a
// persistent backing image.
#include "platform/gui/Controls.h"

#include "platform/gui/Application.h"
#include "platform/gui/Screen.h"
#include "platform/gui/StdCtrls.h"

#include <QDropEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QScopedValueRollback>
#include <QStyle>
#include <cstring>

namespace {

// No exception leaves an event handler: it ends as the program's error box.
template <class F>
void Guarded(F&& Body)
{
    try {
        Body();
    } catch (const std::exception& E) {
        Application()->HandleException(E);
    }
}

bool ToMouseButton(Qt::MouseButton In, TMouseButton& Out)
{
    switch (In) {
    case Qt::LeftButton: Out = mbLeft; return true;
    case Qt::RightButton: Out = mbRight; return true;
    case Qt::MiddleButton: Out = mbMiddle; return true;
    default: return false;
    }
}

// A control up to the size of a large screen keeps its whole image; a larger
// one (a design page of a big paper) only the part that shows, so that its
// memory follows the screen and not the control.
constexpr qint64 MaxWholeImagePixels = 3840 * 2160;
// Parts of such a control painted while it does not show (a grab) are made in
// tiles of this side.
constexpr int TileSide = 2048;

} // namespace

TCustomControl::TCustomControl(QWidget* AParent)
    : QWidget(AParent), FFont(std::make_unique<TFont>())
{
    setMouseTracking(true);
    setFocusPolicy(Qt::ClickFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    FFont->OnChange = [this](TFont*) { Invalidate(); };
}

TCustomControl::~TCustomControl()
{
    if (FCanvas)
        FCanvas->Release();
}

QRect TCustomControl::ImageWindow() const
{
    const QRect Whole(0, 0, std::max(1, width()), std::max(1, height()));
    if (qint64(Whole.width()) * Whole.height() <= MaxWholeImagePixels)
        return Whole;
    if (!FPinned.isNull())
        return FPinned;
    QRect Shown = visibleRegion().boundingRect().intersected(Whole);
    // Hidden: what the image holds stays, else the top left.
    if (Shown.isEmpty())
        Shown = FWindow.intersected(Whole);
    if (Shown.isEmpty())
        Shown = QRect(0, 0, TileSide, TileSide).intersected(Whole);
    Shown.setSize(Shown.size().boundedTo(QSize(TileSide, TileSide) * 2));
    return Shown;
}

void TCustomControl::EnsureImage()
{
    const QRect Want = ImageWindow();
    if (Want == FWindow && FImageFor == size() && !FImage.isNull())
        return;
    if (FCanvas)
        FCanvas->Release();
    QImage Image(Want.size(), QImage::Format_RGB32);
    Image.fill(ColorToQColor(FColor));
    // A window moving over a control of the same size keeps the pixels both
    // hold; the rest is painted afresh.
    const QRect Kept = FImageFor == size() && !FImage.isNull() ? Want.intersected(FWindow) : QRect();
    if (!Kept.isEmpty()) {
        QPainter Copy(&Image);
        Copy.setCompositionMode(QPainter::CompositionMode_Source);
        Copy.drawImage(Kept.topLeft() - Want.topLeft(), FImage, Kept.translated(-FWindow.topLeft()));
    }
    FDirty = Kept.isEmpty() ? QRegion(Want) : FDirty.intersected(Kept) + (QRegion(Want) - Kept);
    FImage = std::move(Image);
    FWindow = Want;
    FImageFor = size();
    if (FCanvas)
        FCanvas->SetOrigin(FWindow.topLeft());
}

TCanvas* TCustomControl::Canvas()
{
    EnsureImage();
    if (!FCanvas) {
        FCanvas = std::make_unique<TCanvas>(&FImage);
        FCanvas->SetOrigin(FWindow.topLeft());
        FCanvas->Font()->Assign(*FFont);
        // Drawing outside a paint pass (XOR marks) shows at the next update.
        FCanvas->OnChange = [this](TCanvas*) {
            if (!FInPaint)
                update();
        };
    }
    return FCanvas.get();
}

void TCustomControl::SetColor(TColor Value)
{
    if (FColor == Value)
        return;
    FColor = Value;
    Invalidate();
}

void TCustomControl::SetBiDiMode(TBiDiMode Value)
{
    if (FBiDiMode == Value)
        return;
    FBiDiMode = Value;
    Invalidate();
}

void TCustomControl::SetCursor(TCursor Value)
{
    FCursor = Value;
    if (Value == crDefault)
        unsetCursor();
    else
        setCursor(Screen()->Cursors(Value));
}

int TCustomControl::ClientWidth() const
{
    return std::max(0, width() - (FVert && !FVert->isHidden() ? FVert->width() : 0));
}

int TCustomControl::ClientHeight() const
{
    return std::max(0, height() - (FHorz && !FHorz->isHidden() ? FHorz->height() : 0));
}

void TCustomControl::SetScrollBars(TScrollStyle Value)
{
    if (FScrollBars == Value)
        return;
    FScrollBars = Value;
    const bool WantH = Value == ssHorizontal || Value == ssBoth;
    const bool WantV = Value == ssVertical || Value == ssBoth;
    if (WantH && !FHorz) {
        FHorz = new TScrollBar(sbHorizontal, this);
        FHorz->Attach(this, [this](TScrollCode Code, int Pos) { WMHScroll(Code, Pos); });
        QObject::connect(FHorz, &QScrollBar::valueChanged, this,
                         [this](int V) { Guarded([&] { Scroll(sbHorizontal, V); }); });
    }
    if (WantV && !FVert) {
        FVert = new TScrollBar(sbVertical, this);
        FVert->Attach(this, [this](TScrollCode Code, int Pos) { WMVScroll(Code, Pos); });
        QObject::connect(FVert, &QScrollBar::valueChanged, this,
                         [this](int V) { Guarded([&] { Scroll(sbVertical, V); }); });
    }
    if (FHorz)
        FHorz->setVisible(WantH);
    if (FVert)
        FVert->setVisible(WantV);
    PlaceScrollBars();
    Invalidate();
}

void TCustomControl::ShowScrollBar(TScrollBarKind Kind, bool Show)
{
    const bool H = Kind == sbHorizontal ? Show : ScrollBarShowing(sbHorizontal);
    const bool V = Kind == sbVertical ? Show : ScrollBarShowing(sbVertical);
    SetScrollBars(H ? (V ? ssBoth : ssHorizontal) : (V ? ssVertical : ssNone));
}

bool TCustomControl::ScrollBarShowing(TScrollBarKind Kind) const
{
    const TScrollBar* Bar = Kind == sbHorizontal ? FHorz : FVert;
    return Bar && !Bar->isHidden();
}

void TCustomControl::PlaceScrollBars()
{
    const int Extent = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    const bool H = FHorz && FScrollBars != ssNone && FScrollBars != ssVertical;
    const bool V = FVert && FScrollBars != ssNone && FScrollBars != ssHorizontal;
    if (H)
        FHorz->setGeometry(0, height() - Extent, width() - (V ? Extent : 0), Extent);
    if (V)
        FVert->setGeometry(width() - Extent, 0, Extent, height() - (H ? Extent : 0));
}

void TCustomControl::Invalidate()
{
    FDirty = QRegion(rect());
    update();
}

void TCustomControl::InvalidateRect(const QRect& R)
{
    FDirty += R;
    update(R);
}

void TCustomControl::Repaint()
{
    Invalidate();
    if (isVisible())
        repaint();
    else
        PaintDirty();
}

void TCustomControl::Update()
{
    PaintDirty();
    update();
}

void TCustomControl::ScrollWindow(int DX, int DY, const QRect& ScrollRect, const QRect& ClipRect)
{
    EnsureImage();
    const QRect Clip = ClipRect.intersected(FWindow);
    const QRect Source = ScrollRect.intersected(FWindow);
    if (Clip.isEmpty() || Source.isEmpty() || (DX == 0 && DY == 0))
        return;
    if (FCanvas)
        FCanvas->Release();
    const QRect Dest = Source.translated(DX, DY).intersected(Clip);
    if (!Dest.isEmpty()) {
        // Row by row in the order that never reads a row already overwritten.
        const int BytesPerPixel = 4;
        const int Width = Dest.width() * BytesPerPixel;
        const int First = DY > 0 ? Dest.bottom() : Dest.top();
        const int Step = DY > 0 ? -1 : 1;
        for (int i = 0, Y = First; i < Dest.height(); ++i, Y += Step) {
            const int Row = Y - FWindow.top(), Left = Dest.left() - FWindow.left();
            uchar* To = FImage.scanLine(Row) + Left * BytesPerPixel;
            const uchar* From = FImage.constScanLine(Row - DY) + (Left - DX) * BytesPerPixel;
            std::memmove(To, From, size_t(Width));
        }
    }
    const QRegion Inside = QRegion(Source).intersected(Clip);
    const QRegion Moved = (FDirty.intersected(Source)).translated(DX, DY).intersected(Clip);
    FDirty = FDirty.subtracted(Inside) + Moved + Inside.subtracted(QRegion(Dest));
    update(Clip);
}

void TCustomControl::PaintDirty()
{
    EnsureImage();
    if (FDirty.isEmpty())
        return;
    TCanvas* C = Canvas();
    const QRegion Area = FDirty.intersected(QRect(0, 0, ClientWidth(), ClientHeight()).intersected(FWindow));
    FDirty = QRegion();
    FInPaint = true;
    C->Font()->Assign(*FFont);
    C->Brush()->SetColor(FColor);
    C->SelectClipRgn(&Area);
    // A box shown from a paint pass would paint again and fail again: paint
    // failures are only logged.
    try {
        Paint();
    } catch (const std::exception& E) {
        qWarning("Paint of %s failed: %s", qPrintable(objectName()), E.what());
    }
    C->SelectClipRgn(nullptr);
    C->Release();
    FInPaint = false;
}

void TCustomControl::paintEvent(QPaintEvent* Event)
{
    const QRect Asked = Event->rect();
    EnsureImage();
    QPainter Painter(this);
    if (FWindow.contains(Asked)) {
        PaintDirty();
        if (FCanvas)
            FCanvas->Release();
        Painter.drawImage(Asked, FImage, Asked.translated(-FWindow.topLeft()));
        return;
    }
    // Beyond the part the image holds (a grab of a large control): tile by tile.
    for (int Y = Asked.top(); Y <= Asked.bottom(); Y += TileSide)
        for (int X = Asked.left(); X <= Asked.right(); X += TileSide) {
            FPinned = QRect(X, Y, TileSide, TileSide).intersected(Asked);
            EnsureImage();
            PaintDirty();
            if (FCanvas)
                FCanvas->Release();
            Painter.drawImage(FPinned, FImage, FPinned.translated(-FWindow.topLeft()));
        }
    FPinned = QRect();
}

void TCustomControl::resizeEvent(QResizeEvent* Event)
{
    QWidget::resizeEvent(Event);
    EnsureImage();
    PlaceScrollBars();
    Guarded([&] { Resize(); });
}

// ---------------------------------------------------------------- classic handlers

void TCustomControl::Paint()
{
    if (OnPaint) {
        OnPaint(this);
        return;
    }
    Canvas()->Brush()->SetColor(FColor);
    Canvas()->FillRect(ClientRect());
}

void TCustomControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (OnMouseDown)
        OnMouseDown(this, Button, Shift, X, Y);
}

void TCustomControl::MouseMove(TShiftState Shift, int X, int Y)
{
    if (OnMouseMove)
        OnMouseMove(this, Shift, X, Y);
}

void TCustomControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (OnMouseUp)
        OnMouseUp(this, Button, Shift, X, Y);
}

void TCustomControl::Click()
{
    if (OnClick)
        OnClick(this);
}

void TCustomControl::DblClick()
{
    if (OnDblClick)
        OnDblClick(this);
}

bool TCustomControl::MouseWheel(TShiftState Shift, int WheelDelta, int X, int Y)
{
    bool Handled = false;
    if (OnMouseWheel)
        OnMouseWheel(this, Shift, WheelDelta, QPoint(X, Y), Handled);
    return Handled;
}

void TCustomControl::KeyDown(int& Key, TShiftState Shift)
{
    if (OnKeyDown)
        OnKeyDown(this, Key, Shift);
}

void TCustomControl::KeyUp(int& Key, TShiftState Shift)
{
    if (OnKeyUp)
        OnKeyUp(this, Key, Shift);
}

void TCustomControl::KeyPress(QChar& Key)
{
    if (OnKeyPress)
        OnKeyPress(this, Key);
}

void TCustomControl::MouseEnter()
{
    if (OnMouseEnter)
        OnMouseEnter(this);
}

void TCustomControl::MouseLeave()
{
    if (OnMouseLeave)
        OnMouseLeave(this);
}

void TCustomControl::DoEnter()
{
    if (OnEnter)
        OnEnter(this);
}

void TCustomControl::DoExit()
{
    if (OnExit)
        OnExit(this);
}

void TCustomControl::Resize()
{
    if (OnResize)
        OnResize(this);
}

void TCustomControl::Scroll(TScrollBarKind, int)
{
}

void TCustomControl::WMHScroll(TScrollCode, int)
{
}

void TCustomControl::WMVScroll(TScrollCode, int)
{
}

// ---------------------------------------------------------------- Qt events

bool TCustomControl::event(QEvent* Event)
{
    // Tab moves the focus unless the control wants it as a key.
    if (Event->type() == QEvent::KeyPress) {
        auto* K = static_cast<QKeyEvent*>(Event);
        if ((K->key() == Qt::Key_Tab || K->key() == Qt::Key_Backtab)
            && !(K->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
            if (FWantTabs)
                keyPressEvent(K);
            else
                focusNextPrevChild(K->key() == Qt::Key_Tab && !(K->modifiers() & Qt::ShiftModifier));
            return true;
        }
    }
    return QWidget::event(Event);
}

void TCustomControl::mousePressEvent(QMouseEvent* Event)
{
    TMouseButton Button;
    if (!ToMouseButton(Event->button(), Button))
        return;
    if (Button == mbLeft)
        FClicked = true;
    const QPoint P = Event->position().toPoint();
    Guarded([&] { MouseDown(Button, ShiftStateFromQt(Event->modifiers(), Event->buttons()), P.x(), P.y()); });
}

// The classic order: DblClick first, then the mouse-down that carries ssDouble;
// the release that follows is no click.
void TCustomControl::mouseDoubleClickEvent(QMouseEvent* Event)
{
    TMouseButton Button;
    if (!ToMouseButton(Event->button(), Button))
        return;
    const QPoint P = Event->position().toPoint();
    const TShiftState Shift = ShiftStateFromQt(Event->modifiers(), Event->buttons()) + ssDouble;
    Guarded([&] {
        if (Button == mbLeft) {
            FClicked = false;
            DblClick();
        }
        MouseDown(Button, Shift, P.x(), P.y());
    });
}

void TCustomControl::mouseMoveEvent(QMouseEvent* Event)
{
    const QPoint P = Event->position().toPoint();
    Guarded([&] { MouseMove(ShiftStateFromQt(Event->modifiers(), Event->buttons()), P.x(), P.y()); });
}

void TCustomControl::mouseReleaseEvent(QMouseEvent* Event)
{
    TMouseButton Button;
    if (!ToMouseButton(Event->button(), Button))
        return;
    const QPoint P = Event->position().toPoint();
    const TShiftState Shift = ShiftStateFromQt(Event->modifiers(), Event->buttons());
    Guarded([&] {
        if (Button == mbLeft && FClicked) {
            FClicked = false;
            if (ClientRect().contains(P))
                Click();
        }
        MouseUp(Button, Shift, P.x(), P.y());
    });
}

void TCustomControl::wheelEvent(QWheelEvent* Event)
{
    const QPoint P = Event->position().toPoint();
    bool Handled = false;
    Guarded([&] {
        Handled = MouseWheel(ShiftStateFromQt(Event->modifiers(), Event->buttons()), Event->angleDelta().y(),
                             P.x(), P.y());
    });
    Event->setAccepted(Handled);
}

// KeyDown with the virtual key, then KeyPress with the character. Setting
// either to 0 consumes the key; a key that neither consumes goes on to the
// parent (the form's default and cancel buttons).
void TCustomControl::keyPressEvent(QKeyEvent* Event)
{
    bool Consumed = false;
    const QScopedValueRollback KeyText(FKeyText, Event->text());
    Guarded([&] {
        int Key = VirtualKeyFromQt(Event);
        if (Key != 0) {
            KeyDown(Key, ShiftStateFromQt(Event->modifiers(), QGuiApplication::mouseButtons()));
            Consumed = Key == 0;
        }
        if (!Consumed) {
            QChar C = KeyCharFromQt(Event);
            if (!C.isNull()) {
                KeyPress(C);
                Consumed = C.isNull();
            }
        }
    });
    Event->setAccepted(Consumed);
}

QString TCustomControl::TypedText(QChar Key) const
{
    return !Key.isNull() && FKeyText.startsWith(Key) ? FKeyText : QString(Key);
}

void TCustomControl::keyReleaseEvent(QKeyEvent* Event)
{
    bool Consumed = false;
    Guarded([&] {
        int Key = VirtualKeyFromQt(Event);
        if (Key != 0) {
            KeyUp(Key, ShiftStateFromQt(Event->modifiers(), QGuiApplication::mouseButtons()));
            Consumed = Key == 0;
        }
    });
    Event->setAccepted(Consumed);
}

void TCustomControl::enterEvent(QEnterEvent* Event)
{
    QWidget::enterEvent(Event);
    Guarded([&] { MouseEnter(); });
}

void TCustomControl::leaveEvent(QEvent* Event)
{
    QWidget::leaveEvent(Event);
    Guarded([&] { MouseLeave(); });
}

void TCustomControl::DragOver(QObject* Source, int X, int Y, TDragState State, bool& Accept)
{
    if (OnDragOver)
        OnDragOver(this, Source, X, Y, State, Accept);
}

void TCustomControl::DragDrop(QObject* Source, int X, int Y)
{
    if (OnDragDrop)
        OnDragDrop(this, Source, X, Y);
}

void TCustomControl::dragEnterEvent(QDragEnterEvent* Event)
{
    FDragSource = Event->source();
    FDragPos = Event->position().toPoint();
    bool Accept = static_cast<bool>(OnDragOver);
    Guarded([&] { DragOver(Event->source(), FDragPos.x(), FDragPos.y(), dsDragEnter, Accept); });
    Accept ? Event->acceptProposedAction() : Event->ignore();
}

void TCustomControl::dragMoveEvent(QDragMoveEvent* Event)
{
    FDragPos = Event->position().toPoint();
    bool Accept = static_cast<bool>(OnDragOver);
    Guarded([&] { DragOver(Event->source(), FDragPos.x(), FDragPos.y(), dsDragMove, Accept); });
    Accept ? Event->acceptProposedAction() : Event->ignore();
}

void TCustomControl::dragLeaveEvent(QDragLeaveEvent* Event)
{
    QWidget::dragLeaveEvent(Event);
    bool Accept = false;
    Guarded([&] { DragOver(FDragSource, FDragPos.x(), FDragPos.y(), dsDragLeave, Accept); });
    FDragSource = nullptr;
}

void TCustomControl::dropEvent(QDropEvent* Event)
{
    const QPoint Pos = Event->position().toPoint();
    FDragSource = nullptr;
    Event->acceptProposedAction();
    Guarded([&] { DragDrop(Event->source(), Pos.x(), Pos.y()); });
}

void TCustomControl::focusInEvent(QFocusEvent* Event)
{
    QWidget::focusInEvent(Event);
    Guarded([&] { DoEnter(); });
}

void TCustomControl::focusOutEvent(QFocusEvent* Event)
{
    QWidget::focusOutEvent(Event);
    Guarded([&] { DoExit(); });
}
