#include "report/designer/FR_About.h"

#include "platform/gui/Shell.h"
#include "platform/gui/StdCtrls.h"
#include "report/engine/FR_Utils.h"

#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QWindow>

namespace {

// The maker's addresses: caption, address, link kind.
struct TAboutLink
{
    const char* Caption;
    const char* Address;
    int Kind;
};
constexpr TAboutLink AboutLinks[4] = {
    {"Web site:", "https://tallybridge.example", TfrAboutForm::lkWeb},
    {"Updates:", "https://dl.tallybridge.example", TfrAboutForm::lkWeb},
    {"Support:", "support@tallybridge.example", TfrAboutForm::lkMail},
    {"Sales:", "sales@tallybridge.example", TfrAboutForm::lkMail},
};
// Opened by a click on the logo.
constexpr const char* ProductPage = "https://tallybridge.example/pagewright";

// Our own logo: a report page with bands on a blue tile and the engine's name.
QPixmap Logo()
{
    QPixmap P(230, 110);
    P.fill(Qt::transparent);
    QPainter G(&P);
    G.setRenderHint(QPainter::Antialiasing);
    G.setPen(Qt::NoPen);
    G.setBrush(QColor(0x1F, 0x4E, 0x8C));
    G.drawRoundedRect(QRectF(4, 10, 80, 90), 10, 10);
    G.setBrush(Qt::white);
    G.drawRect(QRectF(22, 20, 44, 70));
    const QColor Bands[] = {QColor(0xF2, 0xA5, 0x41), QColor(0x9C, 0xC3, 0xE6), QColor(0x9C, 0xC3, 0xE6),
                            QColor(0x9C, 0xC3, 0xE6), QColor(0x5B, 0x9B, 0x55)};
    for (int i = 0; i < 5; ++i) {
        G.setBrush(Bands[i]);
        G.drawRect(QRectF(26, 25 + i * 12, i == 0 || i == 4 ? 36 : 24 + (i % 2) * 8, 7));
    }
    G.setPen(QColor(0x1F, 0x4E, 0x8C));
    QFont F(QStringLiteral("Arial"));
    F.setPixelSize(22);
    F.setBold(true);
    G.setFont(F);
    G.drawText(QRectF(92, 30, 138, 34), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Pagewright"));
    F.setPixelSize(12);
    F.setBold(false);
    G.setFont(F);
    G.setPen(QColor(0x55, 0x55, 0x55));
    G.drawText(QRectF(94, 64, 136, 20), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("report engine"));
    return P;
}

void SetUnderline(QLabel* Label, bool On)
{
    QFont F = Label->font();
    if (F.underline() != On) {
        F.setUnderline(On);
        Label->setFont(F);
    }
}

} // namespace

TfrAboutForm::TfrAboutForm()
    : TForm(nullptr)
{
    setObjectName(QStringLiteral("frAboutForm"));
    SetBorderStyle(bsDialog);
    SetPosition(poScreenCenter);
    SetClientSize(262, 283);
    SetCaption(LoadEngineString(53540));
    setMouseTracking(true);
    Panel1 = new QFrame(this);
    Panel1->setFrameShape(QFrame::StyledPanel);
    Panel1->setFrameShadow(QFrame::Sunken);
    Panel1->setGeometry(8, 8, 246, 232);
    Panel1->setMouseTracking(true);
    Panel1->installEventFilter(this);
    Image1 = new QLabel(Panel1);
    Image1->setPixmap(Logo());
    Image1->setGeometry(8, 8, 230, 110);
    Image1->setProperty("Tag", lkLogo);
    Image1->setCursor(Qt::PointingHandCursor);
    Image1->installEventFilter(this);
    for (int i = 0; i < 4; ++i) {
        const int Y = 128 + i * 24;
        Captions[i] = new QLabel(QString::fromLatin1(AboutLinks[i].Caption), Panel1);
        Captions[i]->setGeometry(10, Y, 62, 18);
        Captions[i]->setAttribute(Qt::WA_TransparentForMouseEvents);
        QLabel* L = Links[i] = new QLabel(QString::fromLatin1(AboutLinks[i].Address), Panel1);
        L->setObjectName(QStringLiteral("lbUrl%1").arg(i + 1));
        L->setGeometry(72, Y, 168, 18);
        L->setProperty("Tag", AboutLinks[i].Kind);
        L->setStyleSheet(QStringLiteral("color: #0000FF"));
        L->setCursor(Qt::PointingHandCursor);
        L->setMouseTracking(true);
        L->installEventFilter(this);
    }
    Button1 = new TButton(this);
    Button1->SetCaption(LoadEngineString(55000));
    Button1->SetModalResult(mrOk);
    Button1->SetDefault(true);
    Button1->SetCancel(true);
    Button1->setGeometry(94, 250, 75, 25);
    OnMouseMove = [this](QObject*, TShiftState, int, int) { FormMouseMove(); };
}

void TfrAboutForm::lbUrlClick(QLabel* Sender)
{
    switch (Sender->property("Tag").toInt()) {
    case lkMail:
        ShellOpen(QStringLiteral("mailto:") + Sender->text());
        break;
    case lkWeb:
        ShellOpen(Sender->text());
        break;
    case lkLogo:
        ShellOpen(QString::fromLatin1(ProductPage));
        break;
    }
}

void TfrAboutForm::lbUrlMouseDown(QLabel* Sender)
{
    Sender->move(Sender->pos() + QPoint(1, 1));
    FPressed = Sender;
}

void TfrAboutForm::lbUrlMouseMove(QLabel* Sender)
{
    if (Sender != Image1)
        SetUnderline(Sender, true);
}

void TfrAboutForm::lbUrlMouseUp()
{
    if (FPressed)
        FPressed->move(FPressed->pos() - QPoint(1, 1));
    FPressed = nullptr;
}

void TfrAboutForm::FormMouseMove()
{
    for (QLabel* L : Links)
        SetUnderline(L, false);
}

void TfrAboutForm::StartDrag()
{
    // The client area acts as the caption: the window manager moves it.
    if (QWindow* W = windowHandle())
        W->startSystemMove();
}

void TfrAboutForm::mousePressEvent(QMouseEvent* Event)
{
    if (Event->button() == Qt::LeftButton)
        StartDrag();
    TForm::mousePressEvent(Event);
}

bool TfrAboutForm::eventFilter(QObject* Watched, QEvent* Event)
{
    if (Watched == Panel1) {
        if (Event->type() == QEvent::MouseMove)
            FormMouseMove();
        else if (Event->type() == QEvent::MouseButtonPress && static_cast<QMouseEvent*>(Event)->button() == Qt::LeftButton)
            StartDrag();
        return false;
    }
    auto* Label = qobject_cast<QLabel*>(Watched);
    if (!Label || Label->parent() != Panel1 || !Label->property("Tag").isValid())
        return TForm::eventFilter(Watched, Event);
    switch (Event->type()) {
    case QEvent::MouseButtonPress:
        if (static_cast<QMouseEvent*>(Event)->button() == Qt::LeftButton)
            lbUrlMouseDown(Label);
        return true;
    case QEvent::MouseMove:
        lbUrlMouseMove(Label);
        return true;
    case QEvent::MouseButtonRelease:
        if (static_cast<QMouseEvent*>(Event)->button() == Qt::LeftButton) {
            const bool Inside = Label->rect().contains(static_cast<QMouseEvent*>(Event)->position().toPoint());
            lbUrlMouseUp();
            if (Inside)
                lbUrlClick(Label);
        }
        return true;
    default:
        return false;
    }
}
