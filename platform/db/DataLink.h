// TDataLink: what a data-aware control attaches to a data source. It keeps the
// control's record window (BufferCount records around the cursor): when the
// cursor moves, the window shifts by the least distance that keeps the cursor
// inside and the link reports the shift through DataSetScrolled. ActiveRecord
// points the fields at another record of the window without moving the cursor.
// TFieldDataLink serves a control that shows one field.
#pragma once

#include "platform/db/DBTypes.h"
#include "platform/db/DataSource.h"

#include <QPointer>
#include <QString>
#include <functional>


class TDataLink
{
public:
    TDataLink();
    virtual ~TDataLink();
    TDataLink(const TDataLink&) = delete;
    TDataLink& operator=(const TDataLink&) = delete;

    TDataSource* DataSource() const { return FDataSource; }
    void SetDataSource(TDataSource* Value);
    TDataSet* DataSet() const;
    bool Active() const { return FActive; }
    bool Editing() const { return FEditing; }
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool Value);

    int BufferCount() const { return FBufferCount; }
    void SetBufferCount(int Value);
    int RecordCount() const;            // records in the window
    int FirstRecord() const { return FFirstRecord; } // dataset position of the window's top
    int ActiveRecord() const;           // window row of the record the fields read
    void SetActiveRecord(int Value);    // no events, the cursor stays

    bool Edit();                        // true when the dataset is (now) editing
    void UpdateRecord();                // writes pending control text through UpdateData
    int MoveBy(int Distance);
    bool Bof() const;
    bool Eof() const;

    // Called by the data source.
    void DataEvent(TDataEvent Event, intptr_t Info);

protected:
    virtual void ActiveChanged() {}
    virtual void CheckBrowseMode() {}
    virtual void DataSetChanged() { RecordChanged(nullptr); }
    virtual void DataSetScrolled(int Distance);
    virtual void EditingChanged() {}
    virtual void FocusControl(TField** Field) { (void)Field; }
    virtual void LayoutChanged() { DataSetChanged(); }
    virtual void RecordChanged(TField* Field) { (void)Field; }
    virtual void UpdateData() {}

private:
    friend class TDataSource;
    void UpdateWindow();
    void UpdateActive();
    void UpdateEditing();

    QPointer<TDataSource> FDataSource;
    int FBufferCount = 1;
    int FFirstRecord = 0;
    bool FActive = false;
    bool FEditing = false;
    bool FReadOnly = false;
    bool FUpdating = false;
};

class TFieldDataLink : public TDataLink
{
public:
    TFieldDataLink() = default;

    QString FieldName() const { return FFieldName; }
    void SetFieldName(const QString& Value);
    TField* Field() const { return FField; }
    bool Modified() const { return FModified; }
    void SetModified() { FModified = true; } // the control's text changed
    void Reset();                            // shows the field's value again
    bool CanModify() const;

    std::function<void(TFieldDataLink* Sender)> OnDataChange;
    std::function<void(TFieldDataLink* Sender)> OnEditingChange;
    std::function<void(TFieldDataLink* Sender)> OnUpdateData;
    std::function<void(TFieldDataLink* Sender)> OnActiveChange;

protected:
    void ActiveChanged() override;
    void EditingChanged() override;
    void FocusControl(TField** Field) override;
    void LayoutChanged() override;
    void RecordChanged(TField* Field) override;
    void UpdateData() override;

private:
    void UpdateField();

    QString FFieldName;
    TField* FField = nullptr;
    bool FModified = false;
};
