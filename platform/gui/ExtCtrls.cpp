#include "platform/gui/ExtCtrls.h"

#include "platform/gui/Application.h"

#include <QColor>
#include <QTimer>
#include <chrono>

TTimer::TTimer(QObject* AOwner) : QObject(AOwner), FTimer(new QTimer(this))
{
    QObject::connect(FTimer, &QTimer::timeout, this, [this] {
        try {
            if (OnTimer)
                OnTimer(this);
        } catch (const std::exception& E) {
            Application()->HandleException(E);
        }
    });
    Update();
}

TTimer::~TTimer() = default;

void TTimer::SetEnabled(bool Value)
{
    if (FEnabled == Value)
        return;
    FEnabled = Value;
    Update();
}

void TTimer::SetInterval(int Value)
{
    if (FInterval == Value)
        return;
    FInterval = Value;
    Update();
}

void TTimer::Update()
{
    FTimer->stop();
    if (FEnabled && FInterval > 0)
        FTimer->start(FInterval);
}

TPostedCall::TPostedCall(std::function<void()> Call)
    : FCall(std::move(Call)), FContext(std::make_unique<QObject>())
{
}

TPostedCall::~TPostedCall() = default;

void TPostedCall::Post()
{
    if (FQueued)
        return;
    FQueued = true;
    const uint64_t Generation = ++FGeneration;
    QMetaObject::invokeMethod(
        FContext.get(),
        [this, Generation] {
            if (!FQueued || Generation != FGeneration)
                return;
            FQueued = false;
            try {
                FCall();
            } catch (const std::exception& E) {
                Application()->HandleException(E);
            }
        },
        Qt::QueuedConnection);
}

void TPostedCall::Cancel()
{
    FQueued = false;
    ++FGeneration;
}

TImage::TImage(QWidget* AParent) : TCustomControl(AParent), FPicture(std::make_unique<TPicture>())
{
    setFocusPolicy(Qt::NoFocus);
    FPicture->OnChange = [this](TPicture*) { Invalidate(); };
}

TImage::~TImage() = default;

void TImage::SetStretch(bool Value)
{
    if (FStretch == Value)
        return;
    FStretch = Value;
    Invalidate();
}

void TImage::SetCenter(bool Value)
{
    if (FCenter == Value)
        return;
    FCenter = Value;
    Invalidate();
}

void TImage::SetTransparent(bool Value)
{
    if (FTransparent == Value)
        return;
    FTransparent = Value;
    Invalidate();
}

void TImage::Paint()
{
    TCanvas* C = Canvas();
    const QWidget* Under = parentWidget() ? parentWidget() : this;
    C->Brush()->SetColor(QColorToColor(Under->palette().color(Under->backgroundRole())));
    C->FillRect(ClientRect());
    TGraphic* G = FPicture->Graphic();
    if (!G || G->Empty())
        return;
    const bool WasTransparent = G->Transparent();
    if (FTransparent)
        G->SetTransparent(true);
    if (FStretch)
        C->StretchDraw(ClientRect(), G);
    else if (FCenter)
        C->Draw((ClientWidth() - G->Width()) / 2, (ClientHeight() - G->Height()) / 2, G);
    else
        C->Draw(0, 0, G);
    G->SetTransparent(WasTransparent);
}

uint32_t GetTickCount()
{
    const auto Now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(Now).count());
}
