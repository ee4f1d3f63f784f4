// TfrDataset: a data source that bands walk through six virtual operations,
// counting records from 0 and asking its owner's events; TdaZeveDataset is the
// plain one, driven only by its events or made by the engine for a fixed
// number of rows. The adapter over the program's datasets is in FR_DBSet.
#pragma once

#include <QObject>
#include <cstdint>
#include <functional>

#include "platform/rtl/SysUtils.h"

enum TRangeBegin : uint8_t { rbFirst = 0, rbCurrent = 1 };
enum TRangeEnd : uint8_t { reLast = 0, reCurrent = 1, reCount = 2 };

class EDSError : public Exception { using Exception::Exception; };

class TfrDataset : public QObject
{
    Q_OBJECT
public:
    explicit TfrDataset(QObject* AOwner = nullptr);
    ~TfrDataset() override;

    TRangeBegin RangeBegin() const { return FRangeBegin; }
    void SetRangeBegin(TRangeBegin Value) { FRangeBegin = Value; }
    TRangeEnd RangeEnd() const { return FRangeEnd; }
    void SetRangeEnd(TRangeEnd Value) { FRangeEnd = Value; }
    int RangeEndCount() const { return FRangeEndCount; }
    void SetRangeEndCount(int Value) { FRangeEndCount = Value; }
    int RecNo() const { return FRecNo; }

    // Classic component name.
    QString Name() const { return objectName(); }
    void SetName(const QString& Value) { setObjectName(Value); }

    virtual void Init() {}
    virtual void Exit() {}
    virtual void First();
    virtual void Next();
    virtual void Prior();
    virtual bool Eof();

    std::function<void(QObject* Sender)> OnFirst;
    std::function<void(QObject* Sender)> OnNext;
    std::function<void(QObject* Sender)> OnPrior;
    std::function<void(QObject* Sender, bool& Eof)> OnCheckEOF;

protected:
    int FRecNo = 0;

private:
    TRangeBegin FRangeBegin = rbFirst;
    TRangeEnd FRangeEnd = reLast;
    int FRangeEndCount = 0;
};

class TdaZeveDataset : public TfrDataset
{
    Q_OBJECT
public:
    explicit TdaZeveDataset(QObject* AOwner = nullptr);
};
