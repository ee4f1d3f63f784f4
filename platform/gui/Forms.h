// TForm: the base of every window. A top-level widget with the classic
// caption, client size, border style, position, font and colour; Show, Close
// and ShowModal with its modal result; OnCreate, OnShow, OnClose, OnCloseQuery,
// OnResize, OnMouseMove and key preview. ShowModal goes through the modal seam,
// so a test can drive the window without an event loop.
#pragma once

#include "platform/gui/Controls.h"
#include "platform/gui/ModalSeam.h"

#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>

class QEventLoop;

enum class TBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
using enum TBorderStyle;
enum class TPosition { poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter,
                       poDesktopCenter, poMainFormCenter, poOwnerFormCenter };
using enum TPosition;
enum class TCloseAction { caNone, caHide, caFree, caMinimize };
using enum TCloseAction;

class TForm : public QWidget
{
public:
    explicit TForm(QWidget* AOwner = nullptr);
    ~TForm() override;

    QString Caption() const { return windowTitle(); }
    void SetCaption(const QString& Value) { setWindowTitle(Value); }
    int Left() const { return pos().x(); }
    int Top() const { return pos().y(); }
    int Width() const { return frameGeometry().width(); }
    int Height() const { return frameGeometry().height(); }
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);
    int ClientWidth() const { return width(); }
    void SetClientWidth(int Value) { SetClientSize(Value, height()); }
    int ClientHeight() const { return height(); }
    void SetClientHeight(int Value) { SetClientSize(width(), Value); }
    void SetClientSize(int AWidth, int AHeight);
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle Value);
    TPosition Position() const { return FPosition; }
    void SetPosition(TPosition Value) { FPosition = Value; }
    TFont* Font() const { return FFont.get(); }
    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    bool KeyPreview() const { return FKeyPreview; }
    void SetKeyPreview(bool Value);
    QWidget* ActiveControl() const { return FActiveControl; }
    void SetActiveControl(QWidget* Value);
    bool Visible() const { return isVisible(); }

    TModalResult ModalResult() const { return FModalResult; }
    // Inside ShowModal a result other than mrNone ends the window.
    void SetModalResult(TModalResult Value);
    bool InModal() const { return FInModal; }

    void Show();
    void Hide() { hide(); }
    // In ShowModal: ends it with mrCancel. Otherwise asks OnCloseQuery, runs
    // OnClose and hides; closing the main window ends the program.
    void Close();
    // Raises EInvalidOperation when the window is already showing.
    TModalResult ShowModal();

    // The nested loop of a modal window in the program; used by the seam.
    TModalResult ExecModalLoop();
    // Runs OnCreate; the application calls it once the form is constructed.
    void DoCreate();

    std::function<void(QObject* Sender)> OnCreate;
    std::function<void(QObject* Sender)> OnShow;
    std::function<void(QObject* Sender)> OnHide;
    std::function<void(QObject* Sender, bool& CanClose)> OnCloseQuery;
    std::function<void(QObject* Sender, TCloseAction& Action)> OnClose;
    std::function<void(QObject* Sender)> OnResize;
    std::function<void(QObject* Sender, TShiftState Shift, int X, int Y)> OnMouseMove;
    std::function<void(QObject* Sender, int& Key, TShiftState Shift)> OnKeyDown;
    std::function<void(QObject* Sender, QChar& Key)> OnKeyPress;
    std::function<void(QObject* Sender, int& Key, TShiftState Shift)> OnKeyUp;

protected:
    void showEvent(QShowEvent* Event) override;
    void hideEvent(QHideEvent* Event) override;
    void closeEvent(QCloseEvent* Event) override;
    void resizeEvent(QResizeEvent* Event) override;
    void mouseMoveEvent(QMouseEvent* Event) override;
    void keyPressEvent(QKeyEvent* Event) override;
    void keyReleaseEvent(QKeyEvent* Event) override;
    bool eventFilter(QObject* Watched, QEvent* Event) override;

private:
    bool CloseQuery();
    TCloseAction DoClose();
    bool CloseModal();
    void PlaceOnFirstShow();
    void ApplyBorderStyle();
    void FixSizeIfSingle();
    bool DialogKey(int Key);
    bool PreviewKey(QObject* Receiver, QKeyEvent* Event);

    std::unique_ptr<TFont> FFont;
    TColor FColor = clBtnFace;
    TBorderStyle FBorderStyle = bsSizeable;
    TPosition FPosition = poDesigned;
    bool FKeyPreview = false;
    QPointer<QWidget> FActiveControl;
    TModalResult FModalResult = mrNone;
    bool FInModal = false;
    bool FPlaced = false;
    QEventLoop* FLoop = nullptr;
    const QEvent* FLastPreviewed = nullptr;
    QObject* FLastPreviewReceiver = nullptr;
    bool FResending = false;
};
