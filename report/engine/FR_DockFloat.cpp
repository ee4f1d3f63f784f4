// The float window of a tool bar, the saved tool bar states and the saved
// placement of the engine's windows.
#include "report/engine/FR_Dock.h"

#include "platform/gui/SystemMetrics.h"
#include "platform/rtl/IniFiles.h"

#include <QMouseEvent>
#include <QPainter>
#include <QRubberBand>
#include <cxxabi.h>
#include <cstdlib>

namespace {

// A rectangle lying wholly off the available screen comes back onto it.
QPoint OnScreen(const QRect& R)
{
    const QRect Area = ScreenWorkArea();
    if (Area.isEmpty() || R.intersects(Area))
        return R.topLeft();
    const int X = std::clamp(R.x(), Area.left(), std::max(Area.left(), RectRight(Area) - R.width()));
    const int Y = std::clamp(R.y(), Area.top(), std::max(Area.top(), RectBottom(Area) - R.height()));
    return QPoint(X, Y);
}

// The class name as written in the program ("TfrPreviewForm").
QString ClassNameOf(const QObject* Object)
{
    const char* Mangled = typeid(*Object).name();
    int Status = 0;
    char* Plain = abi::__cxa_demangle(Mangled, nullptr, nullptr, &Status);
    QString Name = QString::fromLatin1(Status == 0 && Plain ? Plain : Mangled);
    std::free(Plain);
    return Name.mid(Name.lastIndexOf(QLatin1String("::")) + 1).remove(u':');
}

} // namespace

// ---------------------------------------------------------------- float window

TfrFloatWindow::TfrFloatWindow(QWidget* AOwner) : TForm(AOwner)
{
    setWindowFlags(Qt::Tool | Qt::FramelessWindowHint);
    FTitle = new TCustomControl(this);
    FTitle->setGeometry(Border, Border, 100, CaptionHeight);
    FTitle->OnPaint = [this](TCustomControl* Sender) {
        TCanvas* C = Sender->Canvas();
        const int W = Sender->width(), H = Sender->height();
        C->Brush()->SetColor(clActiveCaption);
        C->FillRect(QRect(0, 0, W, H));
        C->Font()->SetHeight(-10);
        C->Font()->SetColor(clCaptionText);
        C->Brush()->SetStyle(bsClear);
        QRect Text = Rect(3, 0, W - H, H);
        C->DrawText(Caption(), Text, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
        // The close box: a cross in the caption's right end.
        C->Pen()->SetColor(clCaptionText);
        const int L = W - H + 3, T = 3, S = H - 7;
        C->MoveTo(L, T);
        C->LineTo(L + S, T + S);
        C->MoveTo(L + S - 1, T);
        C->LineTo(L - 1, T + S);
    };
    FTitle->OnMouseDown = [this](QObject*, TMouseButton Button, TShiftState, int X, int Y) {
        if (Button != mbLeft)
            return;
        if (X >= FTitle->width() - CaptionHeight)
            Close();
        else
            DragMouseDown(FTitle->mapToGlobal(QPoint(X, Y)));
    };
    FTitle->OnMouseMove = [this](QObject*, TShiftState, int X, int Y) {
        DragMouseMove(FTitle->mapToGlobal(QPoint(X, Y)));
    };
    FTitle->OnMouseUp = [this](QObject*, TMouseButton, TShiftState, int, int) { DragMouseUp(); };
}

TfrFloatWindow::~TfrFloatWindow()
{
    if (FToolBar) {
        FToolBar->FFloatWindow = nullptr;
        FToolBar->FFloating = false;
    }
}

QRect TfrFloatWindow::ClientArea() const
{
    return QRect(Border, Border + CaptionHeight, width() - 2 * Border, height() - 2 * Border - CaptionHeight);
}

void TfrFloatWindow::SetClientAreaSize(int AWidth, int AHeight)
{
    SetClientSize(AWidth + 2 * Border, AHeight + 2 * Border + CaptionHeight);
    FTitle->setGeometry(Border, Border, AWidth, CaptionHeight);
}

void TfrFloatWindow::PlaceOnScreen()
{
    move(OnScreen(geometry()));
}

void TfrFloatWindow::paintEvent(QPaintEvent* Event)
{
    TForm::paintEvent(Event);
    QPainter P(this);
    P.setPen(ColorToQColor(clBtnShadow));
    P.drawRect(rect().adjusted(0, 0, -1, -1));
}

void TfrFloatWindow::mouseMoveEvent(QMouseEvent* Event)
{
    if (FDragging)
        DragMouseMove(Event->globalPosition().toPoint());
    else
        TForm::mouseMoveEvent(Event);
}

void TfrFloatWindow::mouseReleaseEvent(QMouseEvent* Event)
{
    if (FDragging)
        DragMouseUp();
    else
        TForm::mouseReleaseEvent(Event);
}

void TfrFloatWindow::DragMouseDown(QPoint Global)
{
    FDragging = true;
    FGrab = Global - pos();
    FDragRect = QRect(Global - FGrab, size());
    if (!FFrame)
        FFrame = std::make_unique<QRubberBand>(QRubberBand::Rectangle);
    FFrame->setGeometry(FDragRect);
    FFrame->show();
}

void TfrFloatWindow::DragMouseMove(QPoint Global)
{
    if (!FDragging)
        return;
    FFrame->hide();
    FDragRect.moveTopLeft(Global - FGrab);
    if (TryDock(Global))
        return;
    FFrame->setGeometry(FDragRect);
    FFrame->show();
}

void TfrFloatWindow::DragMouseUp()
{
    if (!FDragging)
        return;
    FDragging = false;
    FFrame->hide();
    move(FDragRect.topLeft());
    if (QWidget::mouseGrabber() == this)
        releaseMouse();
}

bool TfrFloatWindow::TryDock(QPoint Global)
{
    QWidget* Form = parentWidget();
    if (!FToolBar || !Form)
        return false;
    const QPoint Pt = Form->mapFromGlobal(Global);
    for (TfrDock* Dock : Form->findChildren<TfrDock*>()) {
        if (Dock->isHidden() || Dock->window() != Form)
            continue;
        const QPoint O = Dock->mapTo(Form, QPoint(0, 0));
        if (Pt.x() < O.x() || Pt.x() > O.x() + Dock->width() || Pt.y() < O.y() || Pt.y() > O.y() + Dock->height())
            continue;
        TfrToolBar* Bar = FToolBar;
        const bool Horz = Dock->Horizontal();
        if ((Bar->Orientation() == toHorzOnly && !Horz) || (Bar->Orientation() == toVertOnly && Horz))
            return false;
        // The bar's length and thickness once it lies along this dock.
        const int Length = std::max(Bar->width(), Bar->height());
        const int Across = std::min(Bar->width(), Bar->height());
        int X, Y;
        if (Horz) {
            X = std::clamp(Pt.x() - O.x(), 0, std::max(0, Dock->width() - Length));
            Y = Dock->Align() == alBottom ? 1 - Across : Dock->height() - 1;
        } else {
            Y = std::clamp(Pt.y() - O.y(), 0, std::max(0, Dock->height() - Length));
            X = Dock->Align() == alRight ? 1 - Across : Dock->width() - 1;
        }
        FDragging = false;
        if (QWidget::mouseGrabber() == this)
            releaseMouse();
        Bar->DockTo(Dock, X, Y);
        // The same press goes on dragging the docked bar.
        Bar->DragMouseDown(Global);
        if (Bar->isVisible() && TfrToolBar::CanGrabMouse())
            Bar->grabMouse();
        return true;
    }
    return false;
}

// ---------------------------------------------------------------- tool bar state

void TfrToolBar::SaveState()
{
    TRegIniFile Ini(frRegRootKey);
    const QString Section = QStringLiteral("ToolBar\\") + objectName();
    Ini.WriteBool(Section, QStringLiteral("isFloat"), FFloating);
    Ini.WriteBool(Section, QStringLiteral("isVisible"), IsVisible());
    const QPoint At = FFloating && FFloatWindow ? FFloatWindow->pos() : pos();
    Ini.WriteInteger(Section, QStringLiteral("XPosition"), At.x());
    Ini.WriteInteger(Section, QStringLiteral("YPosition"), At.y());
    Ini.WriteInteger(Section, QStringLiteral("Width"), width());
    Ini.WriteInteger(Section, QStringLiteral("Height"), height());
    if (TfrDock* D = Dock())
        Ini.WriteString(Section, QStringLiteral("DockName"), D->objectName());
}

void TfrToolBar::RestoreState()
{
    TRegIniFile Ini(frRegRootKey);
    const QString Section = QStringLiteral("ToolBar\\") + objectName();
    hide();
    const int X = Ini.ReadInteger(Section, QStringLiteral("XPosition"), x());
    const int Y = Ini.ReadInteger(Section, QStringLiteral("YPosition"), y());
    resize(Ini.ReadInteger(Section, QStringLiteral("Width"), width()),
           Ini.ReadInteger(Section, QStringLiteral("Height"), height()));
    if (!Ini.ReadBool(Section, QStringLiteral("isFloat"), false)) {
        move(X, Y);
        const QString DockName = Ini.ReadString(Section, QStringLiteral("DockName"),
                                                parentWidget() ? parentWidget()->objectName() : QString());
        QWidget* Owner = OwnerForm();
        // An empty name would match any dock.
        auto* Target = Owner && !DockName.isEmpty() ? Owner->findChild<TfrDock*>(DockName) : nullptr;
        if (Target && Target != parentWidget())
            DockTo(Target, X, Y);
        AdjustBounds();
    } else {
        FloatAt(X, Y);
    }
    SetVisible(Ini.ReadBool(Section, QStringLiteral("isVisible"), true));
}

// ---------------------------------------------------------------- window placement

void SaveFormPosition(TForm* Form)
{
    TRegIniFile Ini(frRegRootKey);
    const QString Section = QStringLiteral("Form\\") + ClassNameOf(Form);
    Ini.WriteInteger(Section, QStringLiteral("XPosition"), Form->Left());
    Ini.WriteInteger(Section, QStringLiteral("YPosition"), Form->Top());
    Ini.WriteInteger(Section, QStringLiteral("Width"), Form->Width());
    Ini.WriteInteger(Section, QStringLiteral("Height"), Form->Height());
    Ini.WriteBool(Section, QStringLiteral("Maximized"), Form->windowState() & Qt::WindowMaximized);
}

void RestoreFormPosition(TForm* Form)
{
    TRegIniFile Ini(frRegRootKey);
    const QString Section = QStringLiteral("Form\\") + ClassNameOf(Form);
    if (!Ini.ReadBool(Section, QStringLiteral("Maximized"), true))
        Form->setWindowState(Form->windowState() & ~(Qt::WindowMaximized | Qt::WindowMinimized));
    const int W = Ini.ReadInteger(Section, QStringLiteral("Width"), Form->Width());
    const int H = Ini.ReadInteger(Section, QStringLiteral("Height"), Form->Height());
    const QPoint At = OnScreen(QRect(Ini.ReadInteger(Section, QStringLiteral("XPosition"), Form->Left()),
                                     Ini.ReadInteger(Section, QStringLiteral("YPosition"), Form->Top()), W, H));
    Form->SetBounds(At.x(), At.y(), W, H);
}
