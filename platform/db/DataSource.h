// TDataSource: the hub between one dataset and the controls that show it. The
// dataset tells its data sources what happened; each data source passes it on
// to its links and raises its own OnStateChange and OnDataChange.
#pragma once

#include "platform/db/DBTypes.h"

#include <QObject>
#include <QPointer>
#include <vector>

class TDataLink;

class TDataSource : public QObject
{
    Q_OBJECT
public:
    explicit TDataSource(QObject* AOwner = nullptr);
    ~TDataSource() override;

    TDataSet* DataSet() const;
    void SetDataSet(TDataSet* Value);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool Value);
    bool AutoEdit() const { return FAutoEdit; }
    void SetAutoEdit(bool Value) { FAutoEdit = Value; }
    TDataSetState State() const { return FState; }
    void Edit();                 // puts the dataset into edit state when AutoEdit allows it

    std::function<void(TDataSource* Sender, TField* Field)> OnDataChange;
    std::function<void(TDataSource* Sender)> OnStateChange;
    std::function<void(TDataSource* Sender)> OnUpdateData;

    // Called by the dataset.
    void DataEvent(TDataEvent Event, intptr_t Info);
    // Called by links.
    void AddDataLink(TDataLink* Link);
    void RemoveDataLink(TDataLink* Link);
    int LinkCount() const { return int(FLinks.size()); }

private:
    void NotifyLinks(TDataEvent Event, intptr_t Info);
    void UpdateState();

    QPointer<TDataSet> FDataSet;
    std::vector<TDataLink*> FLinks;
    TDataSetState FState = dsInactive;
    bool FEnabled = true;
    bool FAutoEdit = true;
};
