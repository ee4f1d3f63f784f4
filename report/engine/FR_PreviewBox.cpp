// The preview's drawing surface: pages with their shadows and contents, the
// mouse over links, clicks, dragging and the wheel.
#include "report/engine/FR_Preview.h"

#include "platform/gui/Menus.h"
#include "platform/gui/StdCtrls.h"
#include "report/engine/FR_EMFPages.h"
#include "report/engine/FR_Utils.h"

#include <QLabel>

namespace {

// The text after the "@" of a link: Named when there is any, Ok when it is a
// page number.
int LinkNumber(const QString& Url, bool& Named, bool& Ok)
{
    const int At = Url.indexOf(u'@');
    Named = At >= 0 && At < Url.size() - 1;
    Ok = false;
    return Named ? Url.mid(At + 1).trimmed().toInt(&Ok) : 0;
}

} // namespace

TfrPBox::TfrPBox(TfrPreviewForm* AForm, QWidget* AParent) : TCustomControl(AParent), Form(AForm)
{
    SetColor(clGray);
    setMouseTracking(true);
}

QRect TfrPreviewForm::ContentRect(int Index, const QRect& PageOnBox) const
{
    const TfrPageInfo& Info = *EMFPages->Items(Index);
    if (Info.UseMarginsFlag)
        return PageOnBox;
    const TfrPrnInfo& P = Info.PagePrnInfo;
    const int32_t* M = Info.PageMargins;
    const double K = PageOnBox.width() / static_cast<double>(std::max(1, P.PaperWidthPx));
    return QRect(PageOnBox.left() + RoundInt((P.OffsetX + M[0]) * K), PageOnBox.top() + RoundInt((P.OffsetY + M[1]) * K),
                 RoundInt((P.PrintableWidth - M[0] - M[2]) * K), RoundInt((P.PrintableHeight - M[1] - M[3]) * K));
}

void TfrPBox::Paint()
{
    TCanvas* C = Canvas();
    TfrEMFPages* Pages = Form->EMFPages.get();
    if (!Pages || Pages->Count() == 0 || !Form->PaintAllowed) {
        C->Brush()->SetColor(clBtnFace);
        C->FillRect(ClientRect());
        return;
    }
    const QRect Clip = C->ClipRect();
    for (int i = 0; i < Pages->Count(); ++i) {
        TfrPageInfo& Info = *Pages->Items(i);
        const QRect R = Info.PageRect.translated(Form->OfsX, Form->OfsY);
        // Pages far away are not even tested.
        Info.OnScreen = !(R.top() > 2000 || RectBottom(R) < 0) && R.intersects(Clip);
    }
    C->Brush()->SetColor(clGray);
    C->FillRect(Clip);
    for (int i = 0; i < Pages->Count(); ++i) {
        TfrPageInfo& Info = *Pages->Items(i);
        if (!Info.OnScreen) {
            Pages->Draw(i, C, QRect());
            continue;
        }
        const QRect R = Info.PageRect.translated(Form->OfsX, Form->OfsY);
        {
            TCanvasState State(C);
            C->Pen()->SetColor(clBlack);
            C->Brush()->SetColor(clWhite);
            C->Rectangle(R);
            C->MoveTo(R.left() + 1, RectBottom(R));
            C->LineTo(RectRight(R), RectBottom(R));
            C->LineTo(RectRight(R), R.top());
        }
        TCanvasState State(C);
        Pages->Draw(i, C, Form->ContentRect(i, R));
    }
}

int TfrPBox::PageAt(int X, int Y) const
{
    const TfrEMFPages* Pages = Form->EMFPages.get();
    for (int i = 0; Pages && i < Pages->Count(); ++i)
        if (Pages->Items(i)->PageRect.translated(Form->OfsX, Form->OfsY).contains(X, Y))
            return i;
    return -1;
}

QPoint TfrPBox::PagePoint(int Index, int X, int Y) const
{
    const QRect& R = Form->EMFPages->Items(Index)->PageRect;
    return QPoint(RoundInt((X - R.left() - Form->OfsX) / Form->Scale), RoundInt((Y - R.top() - Form->OfsY) / Form->Scale));
}

void TfrPBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (SkipMouseDown) {
        SkipMouseDown = false;
        return;
    }
    if (Form->PageCount() == 0)
        return;
    if (Button == mbRight) {
        const QPoint Global = mapToGlobal(QPoint(X, Y));
        if (Form->HostMenu)
            Form->HostMenu->Popup(Global.x(), Global.y());
        else
            Form->PopupProcMenu(Global, true);
        return;
    }
    if (Button != mbLeft)
        return;
    const int Index = PageAt(X, Y);
    ClickedPage = Index + 1;
    if (Index >= 0) {
        QString Url;
        Qt::CursorShape Shape = Qt::ArrowCursor;
        bool Named = false, Ok = false;
        if (Form->EMFPages->DoClick(Index, PagePoint(Index, X, Y), Url, Shape, true) &&
            (LinkNumber(Url, Named, Ok), Named)) {
            Form->FollowLink(Url);
            return;
        }
    }
    Dragging = true;
    DragX = X;
    DragY = Y;
    if (Index >= 0) {
        Form->CurPage = Index + 1;
        Form->ShowPageNum();
    }
    TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TfrPBox::MouseMove(TShiftState Shift, int X, int Y)
{
    if (Dragging) {
        Form->HScrollBar->SetPosition(Form->HScrollBar->Position() - (X - DragX));
        Form->VScrollBar->SetPosition(Form->VScrollBar->Position() - (Y - DragY));
        DragX = X;
        DragY = Y;
        return;
    }
    if (Form->PageCount() == 0)
        return;
    const int Index = PageAt(X, Y);
    QString Url;
    Qt::CursorShape Shape = Qt::ArrowCursor;
    const bool Hit = Index >= 0 && Form->EMFPages->DoClick(Index, PagePoint(Index, X, Y), Url, Shape, false);
    if (Hit)
        setCursor(Shape);
    else
        unsetCursor();
    bool Named = false, Ok = false;
    const int Linked = Hit ? LinkNumber(Url, Named, Ok) : 0;
    Form->Label2->setText(Ok ? LoadEngineString(55004) + u' ' + QString::number(Linked) : QString());
    TCustomControl::MouseMove(Shift, X, Y);
}

void TfrPBox::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    Dragging = false;
    TCustomControl::MouseUp(Button, Shift, X, Y);
}

void TfrPBox::DblClick()
{
    Dragging = false;
    SkipMouseDown = true;
    if (ClickedPage > 0 && Form->EditingAllowed())
        Form->EditPageClick();
}

void TfrPBox::Resize()
{
    Form->FormResize();
    TCustomControl::Resize();
}

bool TfrPBox::MouseWheel(TShiftState, int WheelDelta, int, int)
{
    Form->ScrollLines(WheelDelta / 120);
    return true;
}

void TfrPreviewForm::FollowLink(const QString& Url)
{
    bool Named = false, Ok = false;
    const int Page = std::max(1, LinkNumber(Url, Named, Ok));
    // A name that is no number, or a page past the end, goes nowhere.
    if (!Ok || Page > PageCount())
        return;
    CurPage = Page;
    SetToCurPage();
}
