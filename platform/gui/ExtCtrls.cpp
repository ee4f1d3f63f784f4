#include "platform/gui/ExtCtrls.h"

#include "platform/gui/Application.h"

#include <QColor>
#include <algorithm>
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

TShape::TShape(QWidget* AParent)
    : TCustomControl(AParent), FPen(std::make_unique<TPen>()), FBrush(std::make_unique<TBrush>())
{
    setFocusPolicy(Qt::NoFocus);
    FPen->OnChange = [this](TPen*) { Invalidate(); };
    FBrush->OnChange = [this](TBrush*) { Invalidate(); };
}

TShape::~TShape() = default;

void TShape::SetShape(TShapeType Value)
{
    if (FShape == Value)
        return;
    FShape = Value;
    Invalidate();
}

void TShape::Paint()
{
    TCanvas* C = Canvas();
    const QWidget* Under = parentWidget() ? parentWidget() : this;
    C->Brush()->SetColor(QColorToColor(Under->palette().color(Under->backgroundRole())));
    C->FillRect(ClientRect());
    C->Pen()->Assign(*FPen);
    C->Brush()->Assign(*FBrush);
    // The canvas keeps a wide pen inside the rectangle, so the whole client
    // area is the outline.
    const int W = ClientWidth();
    const int H = ClientHeight();
    if (FShape == stSquare) {
        const int Side = std::min(W, H);
        const int X = (W - Side) / 2;
        const int Y = (H - Side) / 2;
        C->Rectangle(X, Y, X + Side, Y + Side);
    } else {
        C->Rectangle(0, 0, W, H);
    }
}

uint32_t GetTickCount()
{
    const auto Now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(Now).count());
}
