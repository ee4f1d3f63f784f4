// TDataSet: a client-side cursor over a static snapshot of rows. Descendants
// fill the snapshot at Open (a query, or rows added by code) and write edits
// back where they can; everything the windows, the grid and the report engine
// do with records (walking, bookmarks, editing, locating, filtering, the
// notifications of data sources and links) lives here, once.
// Not thread-safe; one GUI thread uses it.
#pragma once

#include "platform/db/DBTypes.h"
#include "platform/db/DataSource.h"
#include "platform/db/Field.h"
#include "platform/rtl/Variants.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <memory>
#include <vector>

class TStrings;
class TRowStore;
struct TCell;

struct TFieldDef
{
    QString Name;
    TFieldType DataType = ftUnknown;
    int Size = 0;
    bool Required = false;
    bool ReadOnly = false;
};

class TFieldDefs
{
public:
    int Count() const { return int(FItems.size()); }
    const TFieldDef& Items(int Index) const { return FItems.at(size_t(Index)); }
    void Add(const QString& Name, TFieldType DataType, int Size = 0, bool Required = false);
    void Add(const TFieldDef& Def) { FItems.push_back(Def); }
    int IndexOf(const QString& Name) const; // case-insensitive, -1 when absent
    void Clear() { FItems.clear(); }

private:
    std::vector<TFieldDef> FItems;
};

class TDataSet : public QObject
{
    Q_OBJECT
public:
    explicit TDataSet(QObject* AOwner = nullptr);
    ~TDataSet() override;
    TDataSet(const TDataSet&) = delete;
    TDataSet& operator=(const TDataSet&) = delete;

    // ---- state
    bool Active() const { return FState != dsInactive; }
    void SetActive(bool Value);
    void Open() { SetActive(true); }
    void Close() { SetActive(false); }
    TDataSetState State() const { return FState; }
    bool Modified() const { return FModified; }
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool Value) { FReadOnly = Value; }
    bool CanModify() const;
    TDataSource* MasterSource() const { return FMasterSource; }
    void SetMasterSource(TDataSource* Value) { FMasterSource = Value; }

    // ---- fields
    TFieldDefs* FieldDefs() { return &FFieldDefs; }
    int FieldCount() const { return int(FFields.size()); }
    TField* Fields(int Index) const;               // raises EDatabaseError out of range
    TField* FieldByName(const QString& Name) const; // raises "Field 'X' not found"
    TField* FindField(const QString& Name) const;   // case-insensitive; nullptr when absent
    void GetFieldNames(TStrings* List) const;
    QStringList FieldNames() const;
    Variant FieldValues(const QString& Name) const { return FieldByName(Name)->AsVariant(); }
    void SetFieldValues(const QString& Name, const Variant& Value) { FieldByName(Name)->SetAsVariant(Value); }

    // ---- navigation
    void First();
    void Last();
    void Next() { MoveBy(1); }
    void Prior() { MoveBy(-1); }
    int MoveBy(int Distance);                       // the distance actually moved
    bool Bof() const { return FBof; }
    bool Eof() const { return FEof; }
    bool IsEmpty() const;
    int RecordCount() const;                        // -1 when not sequenced
    int RecNo() const;                              // 1-based; -1 when not sequenced or empty
    void SetRecNo(int Value);
    bool IsSequenced() const { return FSequenced; }

    // ---- bookmarks
    TBookmark GetBookmark() const;
    void GotoBookmark(const TBookmark& Bookmark);  // raises "Record not found" when gone
    void FreeBookmark(TBookmark& Bookmark) const { Bookmark.clear(); }
    bool BookmarkValid(const TBookmark& Bookmark) const;
    int CompareBookmarks(const TBookmark& A, const TBookmark& B) const; // -1, 0, 1; empty sorts first
    TBookmark Bookmark() const { return GetBookmark(); }
    void SetBookmark(const TBookmark& Value) { GotoBookmark(Value); }

    // ---- editing
    void Edit();
    void Insert();
    void Append();
    void Post();
    void Cancel();
    void Delete();              // the cursor then stands on the following record
    void CheckBrowseMode();     // posts a modified edit, cancels an unmodified one
    void UpdateRecord();        // lets the links write their pending text
    void AppendRecord(const QList<Variant>& Values);
    void InsertRecord(const QList<Variant>& Values);
    void ClearFields();

    // ---- controls
    void DisableControls();
    void EnableControls();      // the outermost call tells every link the data changed
    bool ControlsDisabled() const { return FDisableCount > 0; }

    // ---- searching; KeyFields are ";"-separated
    bool Locate(const QString& KeyFields, const Variant& KeyValue, TLocateOptions Options = 0);
    bool Locate(const QString& KeyFields, const QList<Variant>& KeyValues, TLocateOptions Options = 0);
    Variant Lookup(const QString& KeyFields, const Variant& KeyValue, const QString& ResultField);
    Variant Lookup(const QString& KeyFields, const QList<Variant>& KeyValues, const QString& ResultField);

    // ---- filtering: the Filter text holds conditions "Field op value" joined by
    // and/or (op = <> < > <= >=; strings quoted, a trailing * matches a prefix);
    // OnFilterRecord decides as well when assigned.
    QString Filter() const { return FFilter; }
    void SetFilter(const QString& Value);
    bool Filtered() const { return FFiltered; }
    void SetFiltered(bool Value);
    TFilterOptions FilterOptions() const { return FFilterOptions; }
    void SetFilterOptions(TFilterOptions Value);

    // Re-reads the snapshot and returns to the same record when it still exists;
    // AfterRefresh follows, since every row may have changed.
    void Refresh();
    void Resync();              // tells the links the whole window changed

    // ---- events (assigning replaces; a saved copy restores)
    TDataSetNotifyEvent BeforeOpen, AfterOpen, BeforeClose, AfterClose;
    TDataSetNotifyEvent BeforeInsert, AfterInsert, BeforeEdit, AfterEdit;
    TDataSetNotifyEvent BeforePost, AfterPost, BeforeCancel, AfterCancel;
    TDataSetNotifyEvent BeforeDelete, AfterDelete, BeforeScroll, AfterScroll;
    TDataSetNotifyEvent AfterRefresh;
    TDataSetNotifyEvent OnNewRecord;
    TFilterRecordEvent OnFilterRecord;

    // ---- for data sources, links and fields
    void RegisterDataSource(TDataSource* Source);
    void UnregisterDataSource(TDataSource* Source);
    void DataEvent(TDataEvent Event, intptr_t Info = 0);
    int VisibleCount() const { return int(FRecs.size()); } // records the cursor can reach
    int CurrentIndex() const { return FCurrent; }           // 0-based position of the cursor, -1 when empty
    int ActiveIndex() const { return FActive; }             // record the fields read
    // Points the fields at another record without moving the cursor or notifying;
    // -1 returns them to the cursor. Used by links reading their record window.
    void SetActiveIndex(int Index);
    void NotifyLayoutChanged() { DataEvent(deLayoutChange); }

protected:
    // Descendants fill FieldDefs and the store; the store is reset with the def count.
    virtual void InternalOpen() = 0;
    virtual void InternalClose();
    virtual bool InternalCanModify() const { return true; }
    // Write-back of one record; may rewrite the row's cells (counters, defaults).
    virtual void InternalPost(uint32_t Row, bool Inserting, const std::vector<bool>& Changed);
    virtual void InternalDelete(uint32_t Row);
    virtual void InternalRefresh();    // default: close and open again
    TRowStore& Store() { return *FStore; }
    const TRowStore& Store() const { return *FStore; }
    void SetSequenced(bool Value) { FSequenced = Value; }
    // Rebuilds the visible list from the store after the store was filled.
    void RebuildRecords();

private:
    friend class TField;
    const TCell& ReadCell(int FieldNo) const;
    void WriteCell(TField* Field, const TCell& Value);
    void CheckActive() const;
    void CheckEditing(const TField* Field) const;
    void SetState(TDataSetState Value);
    void OpenCursor();
    void CloseCursor();
    void CreateFields();
    void DestroyDefaultFields();
    void MoveTo(int Index, bool Scroll);
    void BeginInsertAppend(bool Appending);
    void DropInsertedRow();
    void ApplyFilterFlags();
    bool RecordAccepted(uint32_t Row);
    int FindRecord(const QString& KeyFields, const QList<Variant>& KeyValues, TLocateOptions Options);
    bool MatchRecord(uint32_t Row, const std::vector<TField*>& Keys, const QList<Variant>& Values,
                     TLocateOptions Options);
    std::vector<TField*> KeyFieldList(const QString& KeyFields) const;
    int IndexOfRow(uint32_t Row) const;
    int64_t OrderKeyBetween(int Index);
    void DoEvent(const TDataSetNotifyEvent& Event);
    void AddField(TField* Field);
    void RemoveField(TField* Field);
    int FieldIndexOf(const TField* Field) const;
    void MoveField(TField* Field, int NewIndex);
    void NotifyLinks(TDataEvent Event, intptr_t Info);

    std::unique_ptr<TRowStore> FStore;
    std::vector<uint32_t> FRecs;        // visible rows in order
    std::vector<TCell> FEditCells;      // the record being edited or inserted
    std::vector<bool> FChanged;         // fields assigned during the edit
    std::vector<TField*> FFields;       // not owning: fields are children of the dataset
    TFieldDefs FFieldDefs;
    QList<QPointer<TDataSource>> FDataSources;
    QPointer<TDataSource> FMasterSource;
    QString FFilter;
    TDataSetState FState = dsInactive;
    TDataSetState FDisableState = dsInactive;
    TDataEvent FEnableEvent = deDataSetChange;
    TFilterOptions FFilterOptions = 0;
    int FCurrent = -1;
    int FActive = -1;
    int FInsertedIndex = -1;
    int FDisableCount = 0;
    int64_t FReadRow = -1;              // row handle the fields read while filtering
    bool FBof = true;
    bool FEof = true;
    bool FModified = false;
    bool FReadOnly = false;
    bool FFiltered = false;
    bool FSequenced = true;
    bool FInPost = false;
    struct TFilterProgram
    {
        std::function<bool(TDataSet*)> Test;
    };
    std::unique_ptr<TFilterProgram> FFilterProgram;
};
