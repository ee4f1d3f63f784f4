// The designer's undo and redo history and its clipboard block.
//
// A record covers every view its command changes, each with its own kind (a
// delete also modifies the band views whose child links it clears), and the
// page's object order from before the change. Replay finds views by ID; the
// index only places a view put back on the page.
#pragma once

#include "report/engine/FR_View.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <deque>
#include <memory>
#include <vector>


// Kinds of record and of entry.
enum TfrUndoAction : uint8_t { acInsert = 0, acDelete = 1, acEdit = 2, acZOrder = 3 };

// One view of a record. Replay removes an inserted view, puts Copy back for a
// deleted one, assigns Copy to a modified one; z-order entries only name the
// view, the record's order does the rest.
struct TfrUndoEntry
{
    int32_t ID = 0;
    TfrUndoAction Action = acEdit;
    std::unique_ptr<TfrView> Copy;
    int Index = 0;
};

struct TfrUndoRecord
{
    TfrUndoAction Action = acEdit;
    int Page = 0;
    std::vector<TfrUndoEntry> Entries;
    std::vector<int32_t> Order;   // IDs of the page's views before the change
};

// At most MaxRecords records; adding one more drops the oldest.
class TfrUndoBuffer
{
public:
    static constexpr int MaxRecords = 100;

    int Count() const { return static_cast<int>(FRecords.size()); }
    bool Empty() const { return FRecords.empty(); }
    const TfrUndoRecord& Records(int Index) const { return FRecords.at(Index); }
    const TfrUndoRecord& Last() const { return FRecords.back(); }
    void Add(TfrUndoRecord Record);
    // Records ever added: tells a caller whether its change was recorded.
    int64_t Added() const { return FAdded; }
    TfrUndoRecord TakeLast();
    void Clear() { FRecords.clear(); }

private:
    std::deque<TfrUndoRecord> FRecords;
    int64_t FAdded = 0;
};

// A view and its index that a change covers, with the entry's kind.
struct TfrUndoPair
{
    TfrView* View = nullptr;
    int Index = 0;
    TfrUndoAction Action = acEdit;
};

// A private copy made by the factory and Assign; it keeps the source's ID.
std::unique_ptr<TfrView> frCopyView(TfrView* Source);

// The designer's clipboard, its own and never the system's: the list of the
// views last copied as one block (a 32-bit count, then per view its type
// byte, class name and record), empty when none. One for the program, so
// that views copied in one designer window paste in the next.
extern QByteArray ClipboardList;
void ClearClipboardList();
QByteArray frWriteViewsBlock(const std::vector<TfrView*>& Views);
// The views of a block, read at the current form version; a damaged or foreign
// block, or one holding a view beyond the limits of a view (frViewWithinLimits),
// gives none.
std::vector<std::unique_ptr<TfrView>> frReadViewsBlock(const QByteArray& Block);
