// Alignment, docks, tool bars and their controls. The float window, the saved
// states and window placement are in FR_DockFloat.cpp.
#include "report/engine/FR_Dock.h"

#include <QChildEvent>
#include <QCursor>
#include <QGuiApplication>
#include <algorithm>

// ---------------------------------------------------------------- alignment

namespace {

const char* const AlignProperty = "frAlign";


// Tool bar controls follow the dock of the tool bar they are put on.
void FollowDock(QWidget* Control)
{
    QWidget* Bar = Control->parentWidget();
    auto* Dock = Bar ? dynamic_cast<TfrDock*>(Bar->parentWidget()) : nullptr;
    if (Dock)
        SetControlAlign(Control, Dock->Horizontal() ? alLeft : alTop);
}

} // namespace

TAlign ControlAlign(const QWidget* Control)
{
    return Control ? TAlign(Control->property(AlignProperty).toInt()) : alNone;
}

void SetControlAlign(QWidget* Control, TAlign Value)
{
    Control->setProperty(AlignProperty, int(Value));
}

void AlignControls(QWidget* Parent, const QRect& Area)
{
    int L = Area.left(), T = Area.top(), R = RectRight(Area), B = RectBottom(Area);
    std::vector<QWidget*> Children;
    for (QObject* O : Parent->children()) {
        auto* W = qobject_cast<QWidget*>(O);
        if (W && !W->isWindow() && !W->isHidden() && ControlAlign(W) != alNone)
            Children.push_back(W);
    }
    for (TAlign A : {alTop, alBottom, alLeft, alRight, alClient}) {
        std::vector<QWidget*> List;
        std::copy_if(Children.begin(), Children.end(), std::back_inserter(List),
                     [A](QWidget* W) { return ControlAlign(W) == A; });
        std::stable_sort(List.begin(), List.end(), [A](QWidget* X, QWidget* Y) {
            switch (A) {
            case alTop: return X->y() < Y->y();
            case alBottom: return X->y() + X->height() > Y->y() + Y->height();
            case alLeft: return X->x() < Y->x();
            case alRight: return X->x() + X->width() > Y->x() + Y->width();
            default: return false;
            }
        });
        for (QWidget* W : List) {
            switch (A) {
            case alTop: W->setGeometry(L, T, std::max(0, R - L), W->height()); T += W->height(); break;
            case alBottom: B -= W->height(); W->setGeometry(L, B, std::max(0, R - L), W->height()); break;
            case alLeft: W->setGeometry(L, T, W->width(), std::max(0, B - T)); L += W->width(); break;
            case alRight: R -= W->width(); W->setGeometry(R, T, W->width(), std::max(0, B - T)); break;
            default: W->setGeometry(L, T, std::max(0, R - L), std::max(0, B - T)); break;
            }
        }
    }
}

QString frRegRootKey = QStringLiteral("Software\\Pagewright");

// ---------------------------------------------------------------- dock

TfrDock::TfrDock(QWidget* AParent, TAlign ASide) : TCustomControl(AParent)
{
    SetControlAlign(this, ASide);
    if (AParent) {
        FWatched = AParent;
        AParent->installEventFilter(this);
    }
    resize(Horizontal() ? width() : 1, Horizontal() ? 1 : height());
}

void TfrDock::SetAlign(TAlign Value)
{
    SetControlAlign(this, Value);
    AdjustBounds();
}

bool TfrDock::Horizontal() const
{
    const TAlign A = Align();
    return A != alLeft && A != alRight;
}

void TfrDock::EndUpdate()
{
    if (FUpdating > 0 && --FUpdating == 0)
        AdjustBounds();
}

void TfrDock::AdjustBounds()
{
    if (FUpdating > 0)
        return;
    const bool Horz = Horizontal();
    const bool FromFar = Align() == alBottom || Align() == alRight;
    std::vector<QWidget*> Bars;
    for (QObject* O : children())
        if (auto* W = qobject_cast<QWidget*>(O); W && !W->isHidden())
            Bars.push_back(W);
    if (findChildren<QWidget*>(Qt::FindDirectChildrenOnly).isEmpty()) {
        SetExtent(1);
        return;
    }
    auto Near = [Horz](QWidget* W) { return Horz ? W->y() : W->x(); };
    auto Far = [Horz](QWidget* W) { return Horz ? W->y() + W->height() : W->x() + W->width(); };
    auto Shift = [Horz](QWidget* W, int D) { W->move(W->x() + (Horz ? 0 : D), W->y() + (Horz ? D : 0)); };

    int Rows = (Horz ? height() : width()) / FRowSize;
    int Extent = FRowSize * Rows + 1;
    for (int i = 0; i < Rows;) {
        const int P = FromFar ? Extent - i * FRowSize : i * FRowSize;
        const bool Used = std::any_of(Bars.begin(), Bars.end(), [&](QWidget* W) {
            return (FromFar ? Far(W) == P : Near(W) == P) || (Near(W) < P && P < Far(W));
        });
        if (Used) {
            ++i;
            continue;
        }
        // Rows lying past the empty one close up on it.
        for (QWidget* W : Bars)
            if (FromFar ? Near(W) >= P : Near(W) > P)
                Shift(W, -FRowSize);
        Extent -= FRowSize;
        --Rows;
    }
    if (FromFar) {
        // A bar put before the first row opens a new one: everything moves in.
        int Least = 0;
        for (QWidget* W : Bars)
            Least = std::min(Least, Near(W));
        if (Least < 0) {
            for (QWidget* W : Bars)
                Shift(W, 1 - Least);
            Extent += 1 - Least;
        }
        for (QWidget* W : Bars)
            Extent = std::max(Extent, Far(W));
    } else {
        for (QWidget* W : Bars)
            if (Far(W) > Extent)
                Extent = Far(W) + 1;
    }
    SetExtent(Extent);
}

void TfrDock::SetExtent(int Value)
{
    const int Old = Horizontal() ? height() : width();
    if (Value != Old) {
        switch (Align()) {
        case alBottom: setGeometry(x(), y() + Old - Value, width(), Value); break;
        case alRight: setGeometry(x() + Old - Value, y(), Value, height()); break;
        case alLeft: resize(Value, height()); break;
        default: resize(width(), Value); break;
        }
    }
    AlignParent();
}

void TfrDock::AlignParent()
{
    if (QWidget* P = parentWidget())
        AlignControls(P, P->rect());
}

void TfrDock::Paint()
{
    Canvas()->Brush()->SetColor(clBtnFace);
    Canvas()->FillRect(ClientRect());
}

bool TfrDock::event(QEvent* Event)
{
    switch (Event->type()) {
    case QEvent::ChildRemoved:
        AdjustBounds();
        break;
    case QEvent::ParentChange:
        if (FWatched)
            FWatched->removeEventFilter(this);
        FWatched = parentWidget();
        if (FWatched)
            FWatched->installEventFilter(this);
        break;
    default:
        break;
    }
    return TCustomControl::event(Event);
}

bool TfrDock::eventFilter(QObject* Watched, QEvent* Event)
{
    if (Watched == FWatched && Event->type() == QEvent::Resize)
        AlignControls(FWatched, FWatched->rect());
    return false;
}

// ---------------------------------------------------------------- drag box

TfrDragBox::TfrDragBox(TfrToolBar* AToolBar) : TCustomControl(AToolBar), FToolBar(AToolBar)
{
    setGeometry(0, 0, 11, 11);
    SetControlAlign(this, alLeft);
}

void TfrDragBox::Paint()
{
    TCanvas* C = Canvas();
    C->Brush()->SetColor(clBtnFace);
    C->FillRect(ClientRect());
    for (int From : {2, 5}) {
        QRect Bar = FToolBar->Horizontal() ? Rect(From, 0, From + 3, height()) : Rect(0, From, width(), From + 3);
        C->DrawEdge(Bar, BDR_RAISEDINNER, BF_RECT);
    }
}

void TfrDragBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseDown(Button, Shift, X, Y);
    if (Button == mbLeft)
        FToolBar->DragMouseDown(mapToGlobal(QPoint(X, Y)));
}

void TfrDragBox::MouseMove(TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseMove(Shift, X, Y);
    FToolBar->DragMouseMove(mapToGlobal(QPoint(X, Y)));
}

void TfrDragBox::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseUp(Button, Shift, X, Y);
    FToolBar->DragMouseUp();
}

// ---------------------------------------------------------------- tool bar

TfrToolBar::TfrToolBar(QWidget* AParent) : TCustomControl(AParent)
{
    FDragBox = new TfrDragBox(this);
    resize(100, 26);
}

TfrToolBar::~TfrToolBar()
{
    if (FFloatWindow) {
        TfrFloatWindow* Window = FFloatWindow;
        Window->FToolBar = nullptr;
        FFloatWindow = nullptr;
        setParent(nullptr);
        delete Window;
    }
}

void TfrToolBar::SetCaption(const QString& Value)
{
    FCaption = Value;
    if (FFloatWindow)
        FFloatWindow->SetCaption(Value);
}

TfrDock* TfrToolBar::Dock() const
{
    return dynamic_cast<TfrDock*>(parentWidget());
}

bool TfrToolBar::Horizontal() const
{
    const TfrDock* D = Dock();
    return !D || D->Horizontal();
}

QWidget* TfrToolBar::OwnerForm() const
{
    if (FFloatWindow)
        return FFloatWindow->parentWidget();
    QWidget* W = window();
    return W == this ? nullptr : W;
}

QRect TfrToolBar::ControlArea() const
{
    return Dock() ? rect().adjusted(1, 1, -1, -1) : rect();
}

void TfrToolBar::AddToDock(TfrDock* ADock)
{
    // Sizes as the bar will have them in that dock (it turns when it must).
    const int Across = std::min(width(), height());
    switch (ADock->Align()) {
    case alBottom: DockTo(ADock, 0, 1 - Across); break;
    case alLeft: DockTo(ADock, ADock->width() - 1, 0); break;
    case alRight: DockTo(ADock, 1 - Across, 0); break;
    default: DockTo(ADock, 0, ADock->height() - 1); break;
    }
}

void TfrToolBar::DockTo(TfrDock* ADock, int X, int Y)
{
    hide();
    TfrDock* OldDock = Dock();
    if (FFloatWindow) {
        TfrFloatWindow* Window = FFloatWindow;
        setParent(nullptr);
        Window->FToolBar = nullptr;
        FFloatWindow = nullptr;
        Window->hide();
        // It may be in the middle of its own mouse handler.
        Window->deleteLater();
    }
    FFloating = false;
    setParent(ADock);
    if (OldDock && OldDock != ADock)
        OldDock->AdjustBounds();
    FDragBox->show();
    ArrangeControls();
    move(X, Y);
    show();
    ADock->AdjustBounds();
}

void TfrToolBar::FloatAt(int X, int Y)
{
    if (FFloatWindow) {
        FFloatWindow->move(X, Y);
        FFloatWindow->PlaceOnScreen();
        return;
    }
    TfrDock* OldDock = Dock();
    hide();
    FDragBox->hide();
    auto* Window = new TfrFloatWindow(OwnerForm());
    Window->FToolBar = this;
    Window->SetCaption(FCaption);
    FFloatWindow = Window;
    FFloating = true;
    setParent(Window);
    move(Window->ClientArea().topLeft());
    ArrangeControls();
    if (OldDock)
        OldDock->AdjustBounds();
    // The hidden drag box's place is not needed.
    Window->SetClientAreaSize(width() - 11, height());
    Window->move(X, Y);
    Window->PlaceOnScreen();
    show();
    Window->show();
}

// Offscreen there is no pointer to grab; events reach the widgets directly.
bool TfrToolBar::CanGrabMouse()
{
    return QGuiApplication::platformName() != QLatin1String("offscreen");
}

void TfrToolBar::FloatAtCursor()
{
    FloatAtPoint(QCursor::pos());
}

void TfrToolBar::FloatAtPoint(QPoint Global)
{
    FDragging = false;
    FloatAt(Global.x(), Global.y());
    FFloatWindow->DragMouseDown(Global);
    if (FFloatWindow->isVisible() && CanGrabMouse())
        FFloatWindow->grabMouse();
}

bool TfrToolBar::IsVisible() const
{
    return FFloatWindow ? !FFloatWindow->isHidden() : !isHidden();
}

void TfrToolBar::SetVisible(bool Value)
{
    if (FFloatWindow) {
        FFloatWindow->setVisible(Value);
        return;
    }
    setVisible(Value);
    if (TfrDock* D = Dock())
        D->AdjustBounds();
}

void TfrToolBar::ArrangeControls()
{
    const bool Horz = Horizontal();
    if (Horz == (height() > width()))
        resize(height(), width());
    for (QObject* O : children()) {
        auto* W = qobject_cast<QWidget*>(O);
        if (!W || W == FDragBox || W->isHidden())
            continue;
        const TAlign A = ControlAlign(W);
        // The order and the lengths along the old side become those along the
        // new one, so a bar turned twice has its old size again.
        if (Horz && A != alLeft && A != alRight) {
            W->setGeometry(W->y(), W->x(), W->height(), W->width());
            SetControlAlign(W, A == alBottom ? alRight : alLeft);
        } else if (!Horz && A != alTop && A != alBottom) {
            W->setGeometry(W->y(), W->x(), W->height(), W->width());
            SetControlAlign(W, A == alRight ? alBottom : alTop);
        }
    }
    FDragBox->setGeometry(0, 0, 11, 11);
    SetControlAlign(FDragBox, Horz ? alLeft : alTop);
    RealignControls();
}

void TfrToolBar::RealignControls()
{
    if (FAligning)
        return;
    FAligning = true;
    AlignControls(this, ControlArea());
    FAligning = false;
}

void TfrToolBar::AdjustBounds()
{
    ArrangeControls();
    int Sum = 0;
    for (QObject* O : children())
        if (auto* W = qobject_cast<QWidget*>(O); W && !W->isHidden())
            Sum += Horizontal() ? W->width() : W->height();
    if (Horizontal())
        resize(Sum + 4, height());
    else
        resize(width(), Sum + 4);
}

void TfrToolBar::Resize()
{
    FDragBox->setGeometry(0, 0, 11, 11);
    SetControlAlign(FDragBox, Horizontal() ? alLeft : alTop);
    RealignControls();
    TCustomControl::Resize();
}

bool TfrToolBar::event(QEvent* Event)
{
    switch (Event->type()) {
    case QEvent::ChildAdded:
        static_cast<QChildEvent*>(Event)->child()->installEventFilter(this);
        break;
    case QEvent::ChildRemoved:
        RealignControls();
        break;
    default:
        break;
    }
    return TCustomControl::event(Event);
}

bool TfrToolBar::eventFilter(QObject* Watched, QEvent* Event)
{
    if ((Event->type() == QEvent::ShowToParent || Event->type() == QEvent::HideToParent)
        && Watched->parent() == this)
        RealignControls();
    return false;
}

void TfrToolBar::Paint()
{
    TCanvas* C = Canvas();
    C->Brush()->SetColor(clBtnFace);
    C->FillRect(ClientRect());
    if (Dock()) {
        QRect R = ClientRect();
        C->DrawEdge(R, BDR_RAISEDINNER, BF_RECT);
    }
}

void TfrToolBar::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseDown(Button, Shift, X, Y);
    if (Button == mbLeft)
        DragMouseDown(mapToGlobal(QPoint(X, Y)));
}

void TfrToolBar::MouseMove(TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseMove(Shift, X, Y);
    DragMouseMove(mapToGlobal(QPoint(X, Y)));
}

void TfrToolBar::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseUp(Button, Shift, X, Y);
    DragMouseUp();
}

void TfrToolBar::DragMouseDown(QPoint Global)
{
    FStart = Global;
    FDragging = true;
}

void TfrToolBar::DragMouseUp()
{
    FDragging = false;
    if (QWidget::mouseGrabber() == this)
        releaseMouse();
}

void TfrToolBar::DragMouseMove(QPoint Global)
{
    if (!FDragging)
        return;
    if (FFloating) {
        SetCursor(crDefault);
        FDragging = false;
        return;
    }
    TfrDock* D = Dock();
    if (!D)
        return;
    const int RowSize = std::max(1, D->RowSize());
    int DX = Global.x() - FStart.x(), DY = Global.y() - FStart.y();
    // Across the rows a bar moves by whole rows.
    if (D->Horizontal())
        DY = DY / RowSize * RowSize;
    else
        DX = DX / RowSize * RowSize;
    if (DX == 0 && DY == 0)
        return;
    const QPoint Before = mapToGlobal(QPoint(0, 0));
    if (!MoveTo(x() + DX, y() + DY, Global) || FFloating)
        return;
    // The start follows the bar, so a clamped bar keeps the distance pulled.
    FStart += mapToGlobal(QPoint(0, 0)) - Before;
}

bool TfrToolBar::MoveTo(int X, int Y, QPoint Global)
{
    TfrDock* D = Dock();
    const bool Horz = D->Horizontal();
    const bool FarSide = D->Align() == alBottom || D->Align() == alRight;
    int Along = Horz ? X : Y;
    int Across = Horz ? Y : X;
    const int Size = Horz ? width() : height();
    const int CrossSize = Horz ? height() : width();
    const int End = Horz ? D->width() : D->height();
    bool Float = false;
    bool Adjusted = true;
    int Passes = 0;
    while (Adjusted && Passes < 4) {
        ++Passes;
        Adjusted = false;
        if (FCanFloat && (Along < -20 || Across < -20)) {
            Float = true;
            break;
        }
        if (Along < 0) {
            Along = 0;
            Adjusted = true;
        }
        if (Along + Size > End) {
            Along = End - Size;
            Adjusted = true;
        }
        for (QObject* O : D->children()) {
            auto* W = qobject_cast<QWidget*>(O);
            if (!W || W == this || W->isHidden())
                continue;
            const int N = Horz ? W->x() : W->y(), S = Horz ? W->width() : W->height();
            const int CN = Horz ? W->y() : W->x(), CS = Horz ? W->height() : W->width();
            if (CN >= Across + CrossSize || Across >= CN + CS)
                continue;
            if (N <= Along && Along < N + S) {
                Along = N + S;
                Adjusted = true;
            } else if (Along < N && N < Along + Size) {
                Along = N - Size;
                Adjusted = true;
            }
        }
    }
    if (Float) {
        FloatAtPoint(Global);
        return true;
    }
    if (Passes > 2)
        return false;
    // No row lies before the first of a top or left dock: a bar that may not
    // float would be out of sight there.
    if (!FarSide && Across < 0)
        Across = 0;
    const int CrossExtent = Horz ? D->height() : D->width();
    const bool Outside = Across < 0 || Across + CrossSize > CrossExtent;
    move(Horz ? Along : Across, Horz ? Across : Along);
    D->AdjustBounds();
    if (Outside && FCanFloat && (Horz ? D->height() : D->width()) == CrossExtent)
        FloatAtPoint(Global);
    return true;
}

// ---------------------------------------------------------------- bar controls

TfrTBButton::TfrTBButton(QWidget* AParent) : TfrSpeedButton(AParent)
{
    SetControlAlign(this, alLeft);
    SetFlat(true);
    FollowDock(this);
}

void TfrTBButton::changeEvent(QEvent* Event)
{
    TfrSpeedButton::changeEvent(Event);
    if (Event->type() == QEvent::ParentChange)
        FollowDock(this);
}

TfrTBSeparator::TfrTBSeparator(QWidget* AParent) : TCustomControl(AParent)
{
    resize(8, 8);
    SetControlAlign(this, alLeft);
    FollowDock(this);
}

void TfrTBSeparator::SetDrawBevel(bool Value)
{
    if (FDrawBevel == Value)
        return;
    FDrawBevel = Value;
    Invalidate();
}

void TfrTBSeparator::Paint()
{
    TCanvas* C = Canvas();
    C->Brush()->SetColor(clBtnFace);
    C->FillRect(ClientRect());
    if (!FDrawBevel)
        return;
    const TAlign A = ControlAlign(this);
    if (A == alTop || A == alBottom) {
        const int Mid = height() / 2;
        C->Brush()->SetColor(clBtnShadow);
        C->FillRect(Rect(2, Mid - 1, width() - 2, Mid));
        C->Brush()->SetColor(clBtnHighlight);
        C->FillRect(Rect(2, Mid, width() - 2, Mid + 1));
    } else {
        const int Mid = width() / 2;
        C->Brush()->SetColor(clBtnShadow);
        C->FillRect(Rect(Mid - 1, 2, Mid, height() - 2));
        C->Brush()->SetColor(clBtnHighlight);
        C->FillRect(Rect(Mid, 2, Mid + 1, height() - 2));
    }
}

void TfrTBSeparator::changeEvent(QEvent* Event)
{
    TCustomControl::changeEvent(Event);
    if (Event->type() == QEvent::ParentChange)
        FollowDock(this);
}

TfrTBPanel::TfrTBPanel(QWidget* AParent) : TCustomControl(AParent)
{
    resize(8, 8);
    SetControlAlign(this, alLeft);
    FollowDock(this);
}

void TfrTBPanel::changeEvent(QEvent* Event)
{
    TCustomControl::changeEvent(Event);
    if (Event->type() == QEvent::ParentChange)
        FollowDock(this);
}
