// TDataSource: passes the dataset's notifications on to the links.
#include "platform/db/DataSource.h"

#include "platform/db/DataLink.h"
#include "platform/db/DataSet.h"

#include <algorithm>

TDataSource::TDataSource(QObject* AOwner) : QObject(AOwner)
{
}

TDataSource::~TDataSource()
{
    if (FDataSet)
        FDataSet->UnregisterDataSource(this);
    const auto Links = FLinks;
    for (TDataLink* Link : Links)
        Link->SetDataSource(nullptr);
}

TDataSet* TDataSource::DataSet() const
{
    return FDataSet;
}

void TDataSource::SetDataSet(TDataSet* Value)
{
    if (Value == FDataSet)
        return;
    if (FDataSet)
        FDataSet->UnregisterDataSource(this);
    FDataSet = Value;
    if (FDataSet)
        FDataSet->RegisterDataSource(this);
    UpdateState();
    NotifyLinks(deUpdateState, 0);
}

void TDataSource::SetEnabled(bool Value)
{
    if (Value == FEnabled)
        return;
    FEnabled = Value;
    UpdateState();
    NotifyLinks(deUpdateState, 0);
}

void TDataSource::Edit()
{
    if (FAutoEdit && FDataSet && FDataSet->State() == dsBrowse)
        FDataSet->Edit();
}

void TDataSource::UpdateState()
{
    const TDataSetState New = (FEnabled && FDataSet) ? FDataSet->State() : dsInactive;
    if (New == FState)
        return;
    FState = New;
    if (OnStateChange)
        OnStateChange(this);
}

void TDataSource::DataEvent(TDataEvent Event, intptr_t Info)
{
    if (Event == deUpdateState) {
        UpdateState();
        NotifyLinks(Event, Info);
        return;
    }
    if (FState == dsInactive)
        return;
    NotifyLinks(Event, Info);
    switch (Event) {
    case deFieldChange:
        if (OnDataChange)
            OnDataChange(this, reinterpret_cast<TField*>(Info));
        break;
    case deRecordChange:
    case deDataSetChange:
    case deDataSetScroll:
    case deLayoutChange:
        if (OnDataChange)
            OnDataChange(this, nullptr);
        break;
    case deUpdateRecord:
        if (OnUpdateData)
            OnUpdateData(this);
        break;
    default:
        break;
    }
}

void TDataSource::NotifyLinks(TDataEvent Event, intptr_t Info)
{
    const auto Links = FLinks;
    for (TDataLink* Link : Links)
        if (std::find(FLinks.begin(), FLinks.end(), Link) != FLinks.end())
            Link->DataEvent(Event, Info);
}

void TDataSource::AddDataLink(TDataLink* Link)
{
    if (std::find(FLinks.begin(), FLinks.end(), Link) == FLinks.end())
        FLinks.push_back(Link);
}

void TDataSource::RemoveDataLink(TDataLink* Link)
{
    FLinks.erase(std::remove(FLinks.begin(), FLinks.end(), Link), FLinks.end());
}
