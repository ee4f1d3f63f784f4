#include "platform/gui/ComCtrls.h"

#include "platform/gui/Graphics.h"

TScrollBox::TScrollBox(QWidget* AParent) : QScrollArea(AParent)
{
    setWidgetResizable(false);
}

TTabControl::TTabControl(QWidget* AParent) : QTabBar(AParent)
{
    QObject::connect(this, &QTabBar::currentChanged, this, [this](int) {
        if (OnChange)
            OnChange(this);
    });
}

TStatusBar::TStatusBar(QWidget* AParent) : TCustomControl(AParent) {}

void TStatusBar::AddPanel(int Width)
{
    FPanels.push_back(TStatusPanel{Width, QString()});
    Invalidate();
    update();
}

void TStatusBar::SetPanelText(int Index, const QString& Text)
{
    TStatusPanel& P = FPanels.at(Index);
    if (P.Text == Text)
        return;
    P.Text = Text;
    Invalidate();
    update();
}

void TStatusBar::Paint()
{
    TCanvas* C = Canvas();
    C->Brush()->SetColor(clBtnFace);
    C->FillRect(ClientRect());
    int X = 0;
    for (const TStatusPanel& P : FPanels) {
        QRect R = Rect(X, 2, X + P.Width - 2, height());
        C->DrawEdge(R, BDR_SUNKENOUTER, BF_RECT);
        C->Brush()->SetStyle(bsClear);
        C->TextOut(X + 3, 4, P.Text);
        C->Brush()->SetStyle(bsSolid);
        X += P.Width;
    }
}
