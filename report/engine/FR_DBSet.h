// TfrDBDataSet: the data source over one of the program's datasets, named
// directly or through a data source. Init opens it and remembers the current
// record when a range starts or ends there; Exit returns to that record.
// A referenced component that is destroyed is forgotten.
#pragma once

#include <QPointer>

#include "platform/db/DataSet.h"
#include "platform/db/DataSource.h"
#include "report/engine/FR_DSet.h"

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
