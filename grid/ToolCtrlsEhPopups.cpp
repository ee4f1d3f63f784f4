// The pop-ups shared by the editors: placement under a rectangle, the size
// grip, the pop-up list box and the month calendar.
#include "grid/DBGridEhDraw.h"
#include "grid/ToolCtrlsEh.h"

#include "platform/gui/Application.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/ImgList.h"
#include "platform/gui/StdCtrls.h"
#include "platform/gui/SystemMetrics.h"
#include "platform/rtl/Classes.h"

#include <QAbstractItemView>
#include <QEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QTableView>
#include <QToolButton>
#include <QWheelEvent>

void MakePopupWindowEh(QWidget* W)
{
    W->setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint
                      | Qt::WindowDoesNotAcceptFocus);
    W->setAttribute(Qt::WA_ShowWithoutActivating);
    W->setFocusPolicy(Qt::NoFocus);
}

TDropDownPlacementEh PlaceDropDownEh(const QRect& Anchor, QSize Size, TAlignment Alignment, const QRect& WorkArea)
{
    TDropDownPlacementEh P;
    const int Top = WorkArea.top(), Bottom = RectBottom(WorkArea);
    const int Below = RectBottom(Anchor);
    int H = Size.height();
    const bool FitsBelow = Below + H <= Bottom;
    const bool FitsAbove = Anchor.top() - H >= Top;
    const bool Above = !FitsBelow && (FitsAbove || Anchor.top() - Top > Bottom - Below);
    int Y;
    if (Above) {
        H = std::min(H, Anchor.top() - Top);
        Y = Anchor.top() - H;
        P.VertSide = 2;
    } else {
        H = std::min(H, Bottom - Below);
        Y = Below;
        P.VertSide = 3;
    }
    const int W = std::min(Size.width(), WorkArea.width());
    int X = Anchor.left();
    if (Alignment == taRightJustify)
        X = RectRight(Anchor) - W;
    else if (Alignment == taCenter)
        X = Anchor.left() + (Anchor.width() - W) / 2;
    if (X + W > RectRight(WorkArea)) {
        X = RectRight(WorkArea) - W;
        P.HorzSide = 0;
    } else if (X < WorkArea.left()) {
        X = WorkArea.left();
        P.HorzSide = 1;
    } else {
        P.HorzSide = Alignment == taRightJustify ? 0 : 1;
    }
    P.Bounds = QRect(X, Y, W, std::max(0, H));
    return P;
}

// ---------------------------------------------------------------- TSizeGripEh

TSizeGripEh::TSizeGripEh(QWidget* AParent) : TCustomControl(AParent)
{
    const int S = ScrollBarWidth();
    resize(S, S);
    SetColor(clBtnFace);
    setFocusPolicy(Qt::NoFocus);
    if (AParent)
        AParent->installEventFilter(this);
    UpdateShape();
}

void TSizeGripEh::SetCorner(int Value)
{
    if (Value == FCorner || Value < 0 || Value > 3)
        return;
    FCorner = Value;
    UpdateShape();
    UpdatePosition();
    Invalidate();
}

void TSizeGripEh::SetTriangle(bool Value)
{
    if (Value == FTriangle)
        return;
    FTriangle = Value;
    UpdateShape();
    Invalidate();
}

void TSizeGripEh::ChangeSide(int SideCode)
{
    static const int Moves[4][4] = {
        {0, 0, 3, 3},  // 0: a right grip goes left
        {1, 1, 2, 2},  // 1: a left grip goes right
        {0, 1, 1, 0},  // 2: a bottom grip goes up
        {3, 2, 2, 3},  // 3: a top grip goes down
    };
    if (SideCode >= 0 && SideCode <= 3)
        SetCorner(Moves[SideCode][FCorner]);
}

void TSizeGripEh::UpdateShape()
{
    const int W = width(), H = height();
    SetCursor(FCorner == 0 || FCorner == 2 ? crSizeNWSE : crSizeNESW);
    if (!FTriangle) {
        clearMask();
        return;
    }
    QPolygon T;
    switch (FCorner) {
    case 0: T << QPoint(0, 0) << QPoint(W, 0) << QPoint(0, H); break;
    case 1: T << QPoint(0, 0) << QPoint(W, 0) << QPoint(W, H); break;
    case 3: T << QPoint(0, 0) << QPoint(W, H) << QPoint(0, H); break;
    default: T << QPoint(W, 0) << QPoint(W, H) << QPoint(0, H); break;
    }
    setMask(QRegion(T));
}

void TSizeGripEh::UpdatePosition()
{
    QWidget* P = parentWidget();
    if (!P || FRepositioning)
        return;
    FRepositioning = true;
    const QRect C = P->contentsRect();
    const int X = FCorner == 0 || FCorner == 3 ? C.left() : RectRight(C) - width();
    const int Y = FCorner == 0 || FCorner == 1 ? C.top() : RectBottom(C) - height();
    move(X, Y);
    raise();
    FRepositioning = false;
}

void TSizeGripEh::showEvent(QShowEvent* Event)
{
    TCustomControl::showEvent(Event);
    UpdatePosition();
}

bool TSizeGripEh::eventFilter(QObject* Watched, QEvent* Event)
{
    if (Watched == parentWidget() && (Event->type() == QEvent::Resize || Event->type() == QEvent::Show))
        UpdatePosition();
    return false;
}

void TSizeGripEh::Paint()
{
    TCanvas* C = Canvas();
    C->Brush()->SetColor(clBtnFace);
    C->FillRect(QRect(0, 0, width(), height()));
    // Lines slanted towards the corner, every pixel in groups of four.
    static const TColor Colors[4] = {clBtnHighlight, clBtnShadow, clBtnShadow, clBtnFace};
    const int S = std::min(width(), height());
    for (int k = 1; k < S; ++k) {
        C->Pen()->SetColor(Colors[(k - 1) % 4]);
        const int Far = S - 1;
        switch (FCorner) {
        case 0: C->MoveTo(0, k); C->LineTo(k + 1, -1); break;
        case 1: C->MoveTo(Far - k, 0); C->LineTo(Far + 1, k + 1); break;
        case 3: C->MoveTo(0, Far - k); C->LineTo(k + 1, Far + 1); break;
        default: C->MoveTo(Far, Far - k); C->LineTo(Far - k - 1, Far + 1); break;
        }
    }
}

void TSizeGripEh::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button == mbLeft && window()) {
        FDragging = true;
        FDownPos = mapToGlobal(QPoint(X, Y));
        FDownGeometry = window()->geometry();
        FDownClient = window()->contentsRect().size();
    }
    TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TSizeGripEh::MouseMove(TShiftState Shift, int X, int Y)
{
    if (FDragging && window()) {
        const QPoint D = mapToGlobal(QPoint(X, Y)) - FDownPos;
        const QRect Work = ScreenWorkArea();
        QRect G = FDownGeometry;
        if (FCorner == 0 || FCorner == 3)
            G.setLeft(std::max(Work.left(), std::min(G.right(), FDownGeometry.left() + D.x())));
        else
            G.setRight(std::min(Work.right(), std::max(G.left(), FDownGeometry.right() + D.x())));
        if (FCorner == 0 || FCorner == 1)
            G.setTop(std::max(Work.top(), std::min(G.bottom(), FDownGeometry.top() + D.y())));
        else
            G.setBottom(std::min(Work.bottom(), std::max(G.top(), FDownGeometry.bottom() + D.y())));
        const QSize Before = window()->contentsRect().size();
        window()->setGeometry(G);
        if (window()->contentsRect().size() != Before && OnParentResized)
            OnParentResized(this);
        UpdatePosition();
    }
    TCustomControl::MouseMove(Shift, X, Y);
}

void TSizeGripEh::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    FDragging = false;
    TCustomControl::MouseUp(Button, Shift, X, Y);
}

// ---------------------------------------------------------------- TPopupListboxEh

TPopupListboxEh::TPopupListboxEh(QWidget* AOwner)
    : TCustomControl(AOwner), Clock(GetTickCount), FItems(std::make_unique<TStringList>())
{
    MakePopupWindowEh(this);
    SetColor(clWindow);
    setMouseTracking(true);
    FScrollBar = new TScrollBar(sbVertical, this);
    FScrollBar->setFocusPolicy(Qt::NoFocus);
    FScrollBar->hide();
    QObject::connect(FScrollBar, &QScrollBar::valueChanged, this, [this](int V) { SetTopIndex(V); });
    FGrip = new TSizeGripEh(this);
    FGrip->hide();
    FItems->OnChange = [this](TStrings*) { ItemsChanged(); };
    resize(100, ItemHeight() + 2 * BorderWidth());
}

TPopupListboxEh::~TPopupListboxEh() = default;

int TPopupListboxEh::ItemHeight() const
{
    return const_cast<TPopupListboxEh*>(this)->Canvas()->TextHeight(QStringLiteral("Wg"));
}

void TPopupListboxEh::SetImages(TImageList* Value)
{
    FImages = Value;
    Invalidate();
}

QRect TPopupListboxEh::ItemsRect() const
{
    const int B = BorderWidth();
    const int Bar = FScrollBar->isVisible() ? FScrollBar->width() : 0;
    return QRect(B, B, std::max(0, width() - 2 * B - Bar), std::max(0, height() - 2 * B));
}

void TPopupListboxEh::SetRowCount(int Value)
{
    FRowCount = std::max(1, Value);
    resize(width(), ItemHeight() * FRowCount + 2 * BorderWidth());
}

void TPopupListboxEh::resizeEvent(QResizeEvent* Event)
{
    // Any new height snaps to whole rows.
    const int B = 2 * BorderWidth();
    const int IH = std::max(1, ItemHeight());
    const int Rows = std::max(1, (height() - B) / IH);
    const int Snapped = B + Rows * IH;
    const int MinW = ScrollBarWidth();
    if (!FSnapping && (height() != Snapped || width() < MinW)) {
        FSnapping = true;
        resize(std::max(width(), MinW), Snapped);
        FSnapping = false;
        return;
    }
    FRowCount = Rows;
    FResized = true;
    TCustomControl::resizeEvent(Event);
}

void TPopupListboxEh::Resize()
{
    SyncScrollBar();
    FGrip->UpdatePosition();
    TCustomControl::Resize();
}

void TPopupListboxEh::PlaceScrollBar()
{
    const int B = BorderWidth();
    const int W = ScrollBarWidth();
    FScrollBar->setGeometry(width() - B - W, B, W, std::max(0, height() - 2 * B));
}

void TPopupListboxEh::SyncScrollBar()
{
    const int Rows = std::max(1, FRowCount);
    const bool Needed = FItems->Count() > Rows;
    FScrollBar->setVisible(Needed);
    if (Needed) {
        PlaceScrollBar();
        FScrollBar->SetPageSize(Rows);
        FScrollBar->SetParams(FTopIndex, 0, FItems->Count() - 1);
        FScrollBar->raise();
        FGrip->raise();
    }
    Invalidate();
}

void TPopupListboxEh::ItemsChanged()
{
    if (FItemIndex >= FItems->Count())
        FItemIndex = -1;
    SetTopIndex(FTopIndex);
    SyncScrollBar();
}

void TPopupListboxEh::SetTopIndex(int Value)
{
    const int Top = std::clamp(Value, 0, std::max(0, FItems->Count() - FRowCount));
    if (Top == FTopIndex)
        return;
    FTopIndex = Top;
    if (FScrollBar->Position() != Top)
        FScrollBar->SetPosition(Top);
    Invalidate();
}

void TPopupListboxEh::SetItemIndex(int Value)
{
    const int Index = Value >= 0 && Value < FItems->Count() ? Value : -1;
    if (Index != FItemIndex) {
        FItemIndex = Index;
        Invalidate();
    }
    if (Index >= 0) {
        if (Index < FTopIndex)
            SetTopIndex(Index);
        else if (Index >= FTopIndex + FRowCount)
            SetTopIndex(Index - FRowCount + 1);
    }
}

int TPopupListboxEh::ItemAt(QPoint P) const
{
    const QRect R = ItemsRect();
    if (!R.contains(P))
        return -1;
    const int Index = FTopIndex + (P.y() - R.top()) / std::max(1, ItemHeight());
    return Index < FItems->Count() ? Index : -1;
}

int TPopupListboxEh::WidestItemWidth()
{
    int Widest = 0;
    for (int i = 0; i < FItems->Count(); ++i)
        Widest = std::max(Widest, Canvas()->TextWidth(FItems->Strings(i)));
    return Widest + (FImages ? FImages->Width() + 5 : 0);
}

void TPopupListboxEh::Paint()
{
    TCanvas* C = Canvas();
    const QRect Items = ItemsRect();
    const int IH = std::max(1, ItemHeight());
    const bool RightToLeft = UseRightToLeftAlignment();
    for (int Row = 0; Row * IH < Items.height(); ++Row) {
        const int i = FTopIndex + Row;
        const QRect R(Items.left(), Items.top() + Row * IH, Items.width(), IH);
        const bool Selected = i == FItemIndex;
        C->Brush()->SetColor(Selected ? clHighlight : Color());
        C->Font()->SetColor(Selected ? clHighlightText : clWindowText);
        if (i >= FItems->Count()) {
            C->Brush()->SetColor(Color());
            C->FillRect(R);
            continue;
        }
        QRect TextR = R;
        if (FImages) {
            const int IW = FImages->Width();
            const QRect Cell = RightToLeft ? QRect(RectRight(R) - IW, R.top(), IW, IH) : QRect(R.left(), R.top(), IW, IH);
            C->FillRect(Cell);
            DrawImageListCentered(C, Cell, FImages, i, Selected);
            if (RightToLeft)
                TextR.setRight(Cell.left() - 1);
            else
                TextR.setLeft(R.left() + IW + 5);
        }
        WriteCellText(C, TextR, UseRightToLeftReading(), 0, 0, false, false, tlTopEh,
                      RightToLeft ? taRightJustify : taLeftJustify, FItems->Strings(i), 0, 2);
        if (Selected)
            C->DrawFocusRect(R);
    }
    QRect Frame(0, 0, width(), height());
    C->DrawEdge(Frame, EDGE_RAISED, BF_RECT);
}

void TPopupListboxEh::MouseMove(TShiftState Shift, int X, int Y)
{
    const QPoint P(X, Y);
    const bool Held = Shift.Contains(ssLeft) || Shift.Contains(ssRight) || Shift.Contains(ssMiddle);
    if (P != FLastMouse && !Held) {
        const int i = ItemAt(P);
        if (i >= 0)
            SetItemIndex(i);
    }
    FLastMouse = P;
    TCustomControl::MouseMove(Shift, X, Y);
}

void TPopupListboxEh::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    const int i = ItemAt(QPoint(X, Y));
    if (i >= 0)
        SetItemIndex(i);
    TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TPopupListboxEh::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseUp(Button, Shift, X, Y);
    if (OnMouseUp)
        OnMouseUp(this, Button, Shift, X, Y);
}

bool TPopupListboxEh::MouseWheel(TShiftState, int WheelDelta, int, int)
{
    if (FItems->Count() > 0)
        SetItemIndex(std::clamp(FItemIndex + (WheelDelta < 0 ? 1 : -1), 0, FItems->Count() - 1));
    return true;
}

bool TPopupListboxEh::HandleKey(int Key, TShiftState Shift)
{
    const int Count = FItems->Count();
    if (Count == 0)
        return false;
    int i = FItemIndex;
    switch (Key) {
    case VK_UP: i = std::max(0, i - 1); break;
    case VK_DOWN: i = std::min(Count - 1, i + 1); break;
    case VK_PRIOR: i = std::max(0, (i < 0 ? 0 : i) - std::max(1, FRowCount - 1)); break;
    case VK_NEXT: i = std::min(Count - 1, (i < 0 ? 0 : i) + std::max(1, FRowCount - 1)); break;
    case VK_HOME:
        if (!Shift.Contains(ssCtrl))
            return false;
        i = 0;
        break;
    case VK_END:
        if (!Shift.Contains(ssCtrl))
            return false;
        i = Count - 1;
        break;
    case VK_BACK:
    case VK_ESCAPE:
        FSearch.clear();
        return false;
    default: return false;
    }
    SetItemIndex(i);
    return true;
}

bool TPopupListboxEh::HandleChar(QChar Char)
{
    if (Char.unicode() < 32)
        return false;
    const uint32_t Now = Clock();
    if (Now - FSearchTick > 2000)
        FSearch.clear();
    FSearchTick = Now;
    // At most 32 characters are kept; a character is one whatever its bytes.
    if (FSearch.size() < 32)
        FSearch += Char;
    for (int i = 0; i < FItems->Count(); ++i) {
        if (FItems->Strings(i).startsWith(FSearch, Qt::CaseInsensitive)) {
            SetItemIndex(i);
            break;
        }
    }
    return true;
}

// ---------------------------------------------------------------- TPopupMonthCalendarEh

TPopupMonthCalendarEh::TPopupMonthCalendarEh(TPopupOwnerEh* AOwner, QWidget* AParent)
    : QCalendarWidget(AParent), FOwner(AOwner)
{
    MakePopupWindowEh(this);
    setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    setContentsMargins(BorderWidth(), BorderWidth(), BorderWidth(), BorderWidth());
    for (QWidget* W : findChildren<QWidget*>())
        W->setFocusPolicy(Qt::NoFocus);
    // The month and year captions open editors that would take the focus.
    for (const char* Name : {"qt_calendar_monthbutton", "qt_calendar_yearbutton"})
        if (auto* B = findChild<QToolButton*>(QLatin1String(Name)))
            B->setAttribute(Qt::WA_TransparentForMouseEvents);
    if (auto* View = findChild<QTableView*>())
        View->viewport()->installEventFilter(this);
    if (auto* Bar = findChild<QWidget*>(QStringLiteral("qt_calendar_navigationbar")))
        Bar->installEventFilter(this);
    QObject::connect(this, &QCalendarWidget::clicked, this, [this](QDate) { AcceptClick(); });
}

void TPopupMonthCalendarEh::AcceptClick()
{
    try {
        if (FOwner)
            FOwner->CloseUp(true);
    } catch (const std::exception& E) {
        Application()->HandleException(E);
    }
}

// Days report themselves through clicked; the day-name row does nothing; a
// week number and the table's empty background accept.
bool TPopupMonthCalendarEh::TableReleaseAccepts(const QPoint& Pos) const
{
    const auto* View = findChild<QTableView*>();
    if (!View)
        return false;
    const QModelIndex Index = View->indexAt(Pos);
    if (!Index.isValid())
        return true;
    if (horizontalHeaderFormat() != QCalendarWidget::NoHorizontalHeader && Index.row() == 0)
        return false;
    return verticalHeaderFormat() != QCalendarWidget::NoVerticalHeader && Index.column() == 0;
}

bool TPopupMonthCalendarEh::IsDayCell(const QPoint& Pos) const
{
    const auto* View = findChild<QTableView*>();
    const QModelIndex Index = View ? View->indexAt(Pos) : QModelIndex();
    return Index.isValid() && !(horizontalHeaderFormat() != QCalendarWidget::NoHorizontalHeader && Index.row() == 0)
        && !(verticalHeaderFormat() != QCalendarWidget::NoVerticalHeader && Index.column() == 0);
}

// The month and year captions let the mouse through to the bar: everything
// there but the previous and next buttons accepts.
bool TPopupMonthCalendarEh::NavigationReleaseAccepts(const QPoint& Pos) const
{
    const auto* Bar = findChild<QWidget*>(QStringLiteral("qt_calendar_navigationbar"));
    if (!Bar || !Bar->rect().contains(Pos))
        return false;
    for (const char* Name : {"qt_calendar_prevmonth", "qt_calendar_nextmonth"})
        if (const auto* B = Bar->findChild<QWidget*>(QLatin1String(Name)))
            if (B->isVisible() && B->geometry().contains(Pos))
                return false;
    return true;
}

void TPopupMonthCalendarEh::mouseReleaseEvent(QMouseEvent* Event)
{
    // The border around the calendar is its background too.
    if (Event->button() == Qt::LeftButton && rect().contains(Event->position().toPoint())) {
        Event->accept();
        AcceptClick();
        return;
    }
    QCalendarWidget::mouseReleaseEvent(Event);
}

bool TPopupMonthCalendarEh::HandleKey(int Key, TShiftState Shift)
{
    switch (Key) {
    case VK_RETURN:
    case VK_ESCAPE:
        if (FOwner)
            FOwner->CloseUp(Key == VK_RETURN);
        return true;
    default: break;
    }
    const QDate D = selectedDate();
    QDate Next;
    switch (Key) {
    case VK_LEFT: Next = D.addDays(-1); break;
    case VK_RIGHT: Next = D.addDays(1); break;
    case VK_UP: Next = D.addDays(-7); break;
    case VK_DOWN: Next = D.addDays(7); break;
    case VK_PRIOR: Next = D.addMonths(-1); break;
    case VK_NEXT: Next = D.addMonths(1); break;
    case VK_HOME: Next = Shift.Contains(ssCtrl) ? QDate(D.year(), D.month(), 1) : QDate(); break;
    case VK_END: Next = Shift.Contains(ssCtrl) ? QDate(D.year(), D.month(), D.daysInMonth()) : QDate(); break;
    default: break;
    }
    if (!Next.isValid())
        return false;
    setSelectedDate(Next);
    return true;
}

void TPopupMonthCalendarEh::keyPressEvent(QKeyEvent* Event)
{
    if (HandleKey(VirtualKeyFromQt(Event), ShiftStateFromQt(Event->modifiers(), Qt::NoButton)))
        Event->accept();
    else
        QCalendarWidget::keyPressEvent(Event);
}

bool TPopupMonthCalendarEh::eventFilter(QObject* Watched, QEvent* Event)
{
    if (Event->type() == QEvent::MouseButtonRelease) {
        const auto* M = static_cast<QMouseEvent*>(Event);
        const QPoint Pos = M->position().toPoint();
        auto* W = qobject_cast<QWidget*>(Watched);
        if (M->button() == Qt::LeftButton && W && W->rect().contains(Pos)) {
            const bool OnBar = W->objectName() == QLatin1String("qt_calendar_navigationbar");
            if (OnBar ? NavigationReleaseAccepts(Pos) : TableReleaseAccepts(Pos)) {
                AcceptClick();
                return true;
            }
            // A day cell goes on to the table, which reports it as clicked;
            // anything else ends here rather than reach the calendar itself.
            if (OnBar || !IsDayCell(Pos))
                return true;
        }
    }
    if (Event->type() == QEvent::Wheel) {
        const auto* W = static_cast<QWheelEvent*>(Event);
        setSelectedDate(selectedDate().addDays(W->angleDelta().y() < 0 ? 1 : -1));
        return true;
    }
    return QCalendarWidget::eventFilter(Watched, Event);
}

void TPopupMonthCalendarEh::paintEvent(QPaintEvent* Event)
{
    QCalendarWidget::paintEvent(Event);
    // The raised two-pixel edge around the calendar.
    QImage Edge(size(), QImage::Format_ARGB32_Premultiplied);
    Edge.fill(Qt::transparent);
    {
        TCanvas C(&Edge);
        QRect R(0, 0, width(), height());
        C.DrawEdge(R, EDGE_RAISED, BF_RECT);
        C.Release();
    }
    QPainter P(this);
    P.drawImage(0, 0, Edge);
}
