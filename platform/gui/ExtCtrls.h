// Timers, posted calls and the millisecond tick count. Everything runs on the
// GUI thread from the event loop.
#pragma once

#include "platform/gui/Controls.h"

#include <QObject>
#include <cstdint>
#include <functional>
#include <memory>

class QTimer;

class TTimer : public QObject
{
public:
    explicit TTimer(QObject* AOwner = nullptr);
    ~TTimer() override;

    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool Value);
    int Interval() const { return FInterval; }
    void SetInterval(int Value); // milliseconds; 0 stops the timer

    std::function<void(QObject* Sender)> OnTimer;

private:
    void Update();
    QTimer* FTimer;
    bool FEnabled = true;
    int FInterval = 1000;
};

// A call that runs once from the event loop after Post. Posting again while one
// is queued does nothing; Cancel (or the end of the object) drops it.
class TPostedCall
{
public:
    explicit TPostedCall(std::function<void()> Call);
    ~TPostedCall();
    TPostedCall(const TPostedCall&) = delete;
    TPostedCall& operator=(const TPostedCall&) = delete;

    void Post();
    void Cancel();
    bool Queued() const { return FQueued; }

private:
    std::function<void()> FCall;
    std::unique_ptr<QObject> FContext;
    bool FQueued = false;
    uint64_t FGeneration = 0;
};

// TImage: shows a picture, at its size, centred or stretched; with
// Transparent a bitmap's bottom-left colour lets the parent show through.
class TImage : public TCustomControl
{
public:
    explicit TImage(QWidget* AParent = nullptr);
    ~TImage() override;

    TPicture* Picture() const { return FPicture.get(); }
    bool Stretch() const { return FStretch; }
    void SetStretch(bool Value);
    bool Center() const { return FCenter; }
    void SetCenter(bool Value);
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool Value);

    void Paint() override;

private:
    std::unique_ptr<TPicture> FPicture;
    bool FStretch = false;
    bool FCenter = false;
    bool FTransparent = false;
};

// TShape: a rectangle or square drawn with its pen and filled with its brush,
// used as a frame or separator; a pen or brush change repaints it.
enum class TShapeType { stRectangle, stSquare };
using enum TShapeType;

class TShape : public TCustomControl
{
public:
    explicit TShape(QWidget* AParent = nullptr);
    ~TShape() override;

    TPen* Pen() const { return FPen.get(); }
    TBrush* Brush() const { return FBrush.get(); }
    TShapeType Shape() const { return FShape; }
    void SetShape(TShapeType Value);

    void Paint() override;

private:
    std::unique_ptr<TPen> FPen;
    std::unique_ptr<TBrush> FBrush;
    TShapeType FShape = stRectangle;
};

// Milliseconds of a monotonic clock, wrapping as the classic 32-bit count.
uint32_t GetTickCount();
