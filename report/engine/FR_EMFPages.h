// The prepared report: one record per output page with the paper of the page
// it came from and a stream of the views printed on it. Page forming appends
// records and prints views into the last stream; the preview and printing
// draw records; the whole list is saved and loaded as a prepared report file
// (".frp"). A record's page object is rebuilt from its stream only while the
// page is drawn, hit-tested or edited, so thousands of pages stay small.
#pragma once

#include "platform/rtl/Streams.h"
#include "report/engine/FR_Page.h"

#include <QPoint>
#include <QRect>
#include <QString>
#include <cstdint>
#include <memory>
#include <vector>

class TCanvas;
class TfrReport;

struct TfrPageInfo
{
    QRect PageRect;                 // where the preview last placed the page
    int16_t PaperSize = 0;
    int32_t PaperWidth = 0;         // 0.1 mm
    int32_t PaperHeight = 0;
    uint8_t PaperOrientation = 0;
    int32_t PaperBin = -1;
    uint8_t UseMarginsFlag = 0;
    int32_t PageMargins[4] = {0, 0, 0, 0};   // left, top, right, bottom
    TfrPrnInfo PagePrnInfo;
    bool OnScreen = false;
    std::unique_ptr<TMemoryStream> Stream;
    std::unique_ptr<TfrPage> PageObject;
    // Where in Stream the views PageObject could not be read from begin (a
    // class this program does not register, a damaged record); 0 for none.
    int64_t UnreadFrom = 0;
};

class TfrEMFPages
{
public:
    explicit TfrEMFPages(TfrReport* AParent);
    ~TfrEMFPages();
    TfrEMFPages(const TfrEMFPages&) = delete;
    TfrEMFPages& operator=(const TfrEMFPages&) = delete;

    TfrReport* Parent() const { return FParent; }
    int Count() const { return static_cast<int>(FPages.size()); }
    TfrPageInfo* Items(int Index) const { return FPages.at(Index).get(); }

    // A record with Page's paper and an empty view stream, at Index (appended
    // when Index is Count or more).
    void Insert(int Index, const TfrPage* Page);
    // Appends and fires the begin-page event with PageNo.
    void Add(const TfrPage* Page);
    void Delete(int Index);
    void Clear();
    // Takes every record of Source, which is left empty.
    void TakeFrom(TfrEMFPages& Source);

    // Builds the record's page object from its stream; a view of unknown type
    // ends the page's views (those read stay).
    void ObjectsToPage(int Index);
    // Writes the page object's views back into the stream (after editing),
    // followed by the bytes of the views that could not be read; those keep
    // the version the page was read in, and the views read are written in it.
    void PageToObjects(int Index);
    // Hands every view of the record to the report's export filter.
    void ExportPage(int Index);
    // Draws the record into Rect of Canvas when it is on screen; frees its
    // page object otherwise.
    void Draw(int Index, TCanvas* Canvas, const QRect& Rect);
    // Hit test at Pt in page pixels. Click: the object-click event, or a "URL"
    // view's link opened (web and mail addresses only) or handed back in Url.
    // Without click: the mouse-over event, or the hand cursor over a link.
    bool DoClick(int Index, QPoint Pt, QString& Url, Qt::CursorShape& Cursor, bool Click);

    // The ".frp" file. Loading raises EReadError on damaged data; the list
    // then holds what was read before the damage.
    void SavePreparedPages(TStream& Stream);
    void LoadPreparedPages(TStream& Stream);

private:
    void FreePageObject(TfrPageInfo& Info);
    void ReadCurrent(TStream& Stream, uint8_t Version);
    void ReadOld(TStream& Stream);
    // Paper of the record on the engine printer, forced, and its printable area.
    void ApplyPaper(TfrPageInfo& Info);

    TfrReport* FParent;
    std::vector<std::unique_ptr<TfrPageInfo>> FPages;
};
