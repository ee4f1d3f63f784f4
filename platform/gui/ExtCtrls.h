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

// Milliseconds of a monotonic clock, wrapping as the classic 32-bit count.
uint32_t GetTickCount();
