// TfrDBDataSet: the data source over one of the program's datasets, named
// directly or through a data source. Init opens it and remembers the current
// record when a range starts or ends there; Exit returns to that record.
// A referenced component that is destroyed is forgotten.
#pragma once

#include <QPointer>

#include "platform/db/DataSet.h"
#include "platform/db/DataSource.h"
#include "report/engine/FR_DSet.h"

<<<<<<< HEAD
=======
class TField;
class TStream;
class TStrings;

// Blob fields: the data types blob, memo, graphic, formatted memo, the two OLE
// kinds and typed binary.
bool IsBlobField(TField* Field);
// The field's contents into Target: a stream receives the stored bytes and is
// rewound to 0 (written where it stands); a string list takes the text. A null field gives nothing.
void AssignBlobTo(TField* Field, TStream& Target);
void AssignBlobTo(TField* Field, TStrings& Target);

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

// Names a dataset of the program (directly or through a data source). Only the
// references are kept here; opening and walking come with the band engine. A
// referenced component that is destroyed is forgotten.
>>>>>>> i19views
class TfrDBDataSet : public TfrDataset
{
    Q_OBJECT
public:
    explicit TfrDBDataSet(QObject* AOwner = nullptr);
    ~TfrDBDataSet() override;

    TDataSet* DataSet() const { return FDataSet; }
    void SetDataSet(TDataSet* Value);          // clears DataSource
    TDataSource* DataSource() const { return FDataSource; }
    void SetDataSource(TDataSource* Value);    // a non-empty one clears DataSet
    bool OpenDataSource() const { return FOpenDataSource; }
    void SetOpenDataSource(bool Value) { FOpenDataSource = Value; }
    bool CloseDataSource() const { return FCloseDataSource; }
    void SetCloseDataSource(bool Value) { FCloseDataSource = Value; }
    bool EndReached() const { return FEndReached; }

    // The dataset read: DataSource's when it has one, else DataSet; raises
    // EDSError "Unable to open dataset <name>" when there is none.
    TDataSet* GetDataSet() const;

    void Init() override;
    void Exit() override;
    void First() override;
    void Next() override;
    void Prior() override;
    bool Eof() override;

    std::function<void(QObject* Sender)> OnOpen;
    std::function<void(QObject* Sender)> OnClose;

private:
    QPointer<TDataSet> FDataSet;
    QPointer<TDataSource> FDataSource;
    bool FOpenDataSource = true;
    bool FCloseDataSource = false;
    TBookmark FBookmark;
    bool FEndReached = false;
};
