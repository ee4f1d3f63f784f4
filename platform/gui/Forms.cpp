// TForm: showing, closing, the modal run, placement and key preview.
#include "platform/gui/Forms.h"

#include "platform/gui/Application.h"
#include "platform/gui/Screen.h"
#include "platform/gui/StdCtrls.h"
#include "platform/rtl/SysUtils.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QKeyEvent>
#include <QScreen>

TForm::TForm(QWidget* AOwner)
    : QWidget(AOwner, Qt::Window), FFont(std::make_unique<TFont>())
{
    setMouseTracking(true);
    setAutoFillBackground(true);
    FFont->OnChange = [this](TFont* F) {
        setFont(F->ToQFont());
        QPalette P = palette();
        P.setColor(QPalette::WindowText, ColorToQColor(F->Color()));
        P.setColor(QPalette::Text, ColorToQColor(F->Color()));
        setPalette(P);
    };
    FFont->OnChange(FFont.get());
    QPalette P = palette();
    P.setColor(QPalette::Window, ColorToQColor(FColor));
    setPalette(P);
}

TForm::~TForm()
{
    if (FKeyPreview && qApp)
        qApp->removeEventFilter(this);
}

void TForm::DoCreate()
{
    if (OnCreate)
        OnCreate(this);
}

// ---------------------------------------------------------------- geometry

void TForm::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    const QSize Extra = frameGeometry().size() - size();
    setMinimumSize(0, 0);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    move(ALeft, ATop);
    resize(std::max(0, AWidth - Extra.width()), std::max(0, AHeight - Extra.height()));
    FixSizeIfSingle();
}

void TForm::SetClientSize(int AWidth, int AHeight)
{
    setMinimumSize(0, 0);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    resize(AWidth, AHeight);
    FixSizeIfSingle();
}

void TForm::FixSizeIfSingle()
{
    if (FBorderStyle != bsSizeable && FBorderStyle != bsSizeToolWin && FBorderStyle != bsNone)
        setFixedSize(size());
}

void TForm::SetBorderStyle(TBorderStyle Value)
{
    if (FBorderStyle == Value)
        return;
    FBorderStyle = Value;
    ApplyBorderStyle();
}

void TForm::ApplyBorderStyle()
{
    const bool WasVisible = isVisible();
    Qt::WindowFlags Flags = Qt::Window;
    switch (FBorderStyle) {
    case bsNone: Flags |= Qt::FramelessWindowHint; break;
    case bsSingle:
        Flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                 | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint;
        break;
    case bsDialog:
        Flags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;
        break;
    case bsToolWindow: case bsSizeToolWin: Flags = Qt::Tool; break;
    case bsSizeable: break;
    }
    setWindowFlags(Flags);
    setMinimumSize(0, 0);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    FixSizeIfSingle();
    if (WasVisible)
        show();
}

void TForm::SetColor(TColor Value)
{
    FColor = Value;
    QPalette P = palette();
    P.setColor(QPalette::Window, ColorToQColor(Value));
    setPalette(P);
}

void TForm::SetActiveControl(QWidget* Value)
{
    FActiveControl = Value;
    if (Value && isVisible())
        Value->setFocus(Qt::OtherFocusReason);
}

void TForm::PlaceOnFirstShow()
{
    if (FPlaced)
        return;
    FPlaced = true;
    QRect Around;
    switch (FPosition) {
    case poScreenCenter: case poDesktopCenter: Around = Screen()->WorkAreaRect(); break;
    case poMainFormCenter: case poOwnerFormCenter: {
        const QWidget* Owner = FPosition == poOwnerFormCenter && parentWidget() ? parentWidget()->window()
                                                                               : Application()->MainForm();
        Around = Owner && Owner != this && Owner->isVisible() ? Owner->frameGeometry() : Screen()->WorkAreaRect();
        break;
    }
    default: return;
    }
    const QSize S = frameGeometry().size();
    move(Around.left() + (Around.width() - S.width()) / 2, Around.top() + (Around.height() - S.height()) / 2);
}

// ---------------------------------------------------------------- showing and closing

void TForm::Show()
{
    show();
    if (QGuiApplication::platformName() != QLatin1String("offscreen"))
        raise();
}

void TForm::showEvent(QShowEvent* Event)
{
    QWidget::showEvent(Event);
    if (Event->spontaneous())
        return;
    PlaceOnFirstShow();
    if (FActiveControl)
        FActiveControl->setFocus(Qt::OtherFocusReason);
    if (OnShow)
        OnShow(this);
}

void TForm::hideEvent(QHideEvent* Event)
{
    QWidget::hideEvent(Event);
    if (!Event->spontaneous() && OnHide)
        OnHide(this);
}

void TForm::SetModalResult(TModalResult Value)
{
    FModalResult = Value;
    if (FLoop && Value != mrNone)
        FLoop->quit();
}

bool TForm::CloseQuery()
{
    bool CanClose = true;
    if (OnCloseQuery)
        OnCloseQuery(this, CanClose);
    return CanClose;
}

TCloseAction TForm::DoClose()
{
    TCloseAction Action = caHide;
    if (OnClose)
        OnClose(this, Action);
    return Action;
}

void TForm::Close()
{
    if (FInModal) {
        SetModalResult(mrCancel);
        return;
    }
    close();
}

void TForm::closeEvent(QCloseEvent* Event)
{
    // The close box of a modal window gives mrCancel; ShowModal does the rest.
    if (FInModal) {
        SetModalResult(mrCancel);
        Event->ignore();
        return;
    }
    if (!CloseQuery()) {
        Event->ignore();
        return;
    }
    const TCloseAction Action = DoClose();
    if (Action == caNone || Action == caMinimize) {
        Event->ignore();
        return;
    }
    Event->accept();
    if (Application()->MainForm() == this)
        Application()->Terminate();
    else if (Action == caFree)
        deleteLater();
}

bool TForm::CloseModal()
{
    if (!CloseQuery()) {
        FModalResult = mrNone;
        return false;
    }
    if (DoClose() == caNone) {
        FModalResult = mrNone;
        return false;
    }
    return true;
}

TModalResult TForm::ShowModal()
{
    if (isVisible() || FInModal)
        throw EInvalidOperation(QStringLiteral("Cannot make a visible window modal"));
    FModalResult = mrNone;
    FInModal = true;
    setWindowModality(Qt::ApplicationModal);
    struct TModalEnd
    {
        TForm* Form;
        ~TModalEnd()
        {
            Form->FInModal = false;
            Form->hide();
            Form->setWindowModality(Qt::NonModal);
        }
    } End{this};
    show();
    // OnShow may already have ended the window.
    for (int Round = 0;; ++Round) {
        if (FModalResult == mrNone) {
            const TModalResult R = TModalSeam::RunForm(this);
            if (FModalResult == mrNone)
                FModalResult = R;
        }
        if (FModalResult == mrNone)
            FModalResult = mrCancel; // left as it was: as the close box
        if (CloseModal())
            break;
        if (TModalSeam::FormHandler() && Round >= 16)
            throw EInvalidOperation(QStringLiteral("The window %1 refuses to close").arg(objectName()));
    }
    return FModalResult;
}

TModalResult TForm::ExecModalLoop()
{
    if (Application()->Terminated())
        return mrCancel;
    QEventLoop Loop;
    FLoop = &Loop;
    if (FModalResult == mrNone)
        Loop.exec(QEventLoop::DialogExec);
    FLoop = nullptr;
    return FModalResult;
}

void TForm::resizeEvent(QResizeEvent* Event)
{
    QWidget::resizeEvent(Event);
    if (OnResize)
        OnResize(this);
}

void TForm::mouseMoveEvent(QMouseEvent* Event)
{
    if (OnMouseMove) {
        const QPoint P = Event->position().toPoint();
        OnMouseMove(this, ShiftStateFromQt(Event->modifiers(), Event->buttons()), P.x(), P.y());
    }
}

// ---------------------------------------------------------------- keys

// Enter presses the default button, Esc the cancel button.
bool TForm::DialogKey(int Key)
{
    if (Key != VK_RETURN && Key != VK_ESCAPE)
        return false;
    // Enter on a focused button presses that button.
    if (auto* Focused = dynamic_cast<TButton*>(QApplication::focusWidget());
        Key == VK_RETURN && Focused && Focused->window() == this) {
        Focused->Click();
        return true;
    }
    for (TButton* B : findChildren<TButton*>()) {
        if (!B->isVisible() || !B->isEnabled() || B->window() != this)
            continue;
        if ((Key == VK_RETURN && B->Default()) || (Key == VK_ESCAPE && B->Cancel())) {
            B->Click();
            return true;
        }
    }
    return false;
}

void TForm::keyPressEvent(QKeyEvent* Event)
{
    int Key = VirtualKeyFromQt(Event);
    const QWidget* Focus = QApplication::focusWidget();
    const bool Own = (!Focus || Focus == this) && Event != FLastPreviewed && !FResending;
    if (Own && Key != 0 && OnKeyDown) {
        OnKeyDown(this, Key, ShiftStateFromQt(Event->modifiers(), QGuiApplication::mouseButtons()));
        if (Key == 0)
            return;
    }
    if (Own && OnKeyPress) {
        QChar C = KeyCharFromQt(Event);
        if (!C.isNull()) {
            OnKeyPress(this, C);
            if (C.isNull())
                return;
        }
    }
    if (!DialogKey(Key))
        QWidget::keyPressEvent(Event);
}

void TForm::keyReleaseEvent(QKeyEvent* Event)
{
    int Key = VirtualKeyFromQt(Event);
    const QWidget* Focus = QApplication::focusWidget();
    if ((!Focus || Focus == this) && Key != 0 && OnKeyUp)
        OnKeyUp(this, Key, ShiftStateFromQt(Event->modifiers(), QGuiApplication::mouseButtons()));
}

void TForm::SetKeyPreview(bool Value)
{
    if (FKeyPreview == Value)
        return;
    FKeyPreview = Value;
    if (Value)
        qApp->installEventFilter(this);
    else
        qApp->removeEventFilter(this);
}

// With KeyPreview the form sees every key of its controls first; a key it
// sets to 0 never reaches the control.
bool TForm::eventFilter(QObject* Watched, QEvent* Event)
{
    if (FResending || (Event->type() != QEvent::KeyPress && Event->type() != QEvent::KeyRelease))
        return false;
    auto* W = qobject_cast<QWidget*>(Watched);
    if (!W || W == this || W->window() != this)
        return false;
    // Qt hands the same event up the parents; preview it once.
    if (Event == FLastPreviewed && FLastPreviewReceiver && W != FLastPreviewReceiver
        && W->isAncestorOf(qobject_cast<QWidget*>(FLastPreviewReceiver)))
        return false;
    FLastPreviewed = Event;
    FLastPreviewReceiver = Watched;
    return PreviewKey(Watched, static_cast<QKeyEvent*>(Event));
}

bool TForm::PreviewKey(QObject* Receiver, QKeyEvent* Event)
{
    int Key = VirtualKeyFromQt(Event);
    const TShiftState Shift = ShiftStateFromQt(Event->modifiers(), QGuiApplication::mouseButtons());
    if (Event->type() == QEvent::KeyRelease) {
        if (Key != 0 && OnKeyUp)
            OnKeyUp(this, Key, Shift);
        return Key == 0;
    }
    if (Key != 0 && OnKeyDown) {
        OnKeyDown(this, Key, Shift);
        if (Key == 0)
            return true;
    }
    QChar C = KeyCharFromQt(Event);
    if (C.isNull() || !OnKeyPress)
        return false;
    const QChar Original = C;
    OnKeyPress(this, C);
    if (C.isNull())
        return true;
    if (C == Original)
        return false;
    // The form changed the character: the control gets the new one.
    QKeyEvent Changed(Event->type(), Event->key(), Event->modifiers() & ~Qt::ControlModifier, QString(C));
    FResending = true;
    QCoreApplication::sendEvent(Receiver, &Changed);
    FResending = false;
    Event->setAccepted(Changed.isAccepted());
    return true;
}
