// The run-time band a band view becomes while a report is prepared: its
// rectangle, decoded flags, links to the bands printed with it (chain of its
// type, header, footer, groups, child), its data source and the accumulators
// of the aggregates that count its records. The page builds the bands from its
// band views and frees them (FR_Page); the band engine walks them.
#pragma once

#include "platform/rtl/Classes.h"
#include "platform/rtl/Variants.h"
#include "report/engine/FR_Variables.h"

#include <QHash>
#include <QString>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

class TfrBandView;
class TfrDataset;
class TfrPage;
class TfrView;

// One accumulator of a band's Values, read from its key once.
struct TfrAggregateSlot
{
    QString Column;            // cross column field; empty for a plain key
    QString Rest;              // the key without its column field
    QString BandName;
    QChar Kind;
    QString Expression;
    QString Postfix;           // Expression ready for evaluation
    bool CountsInvisible = false;
};

class TfrBand
{
public:
    TfrBand();
    ~TfrBand();
    TfrBand(const TfrBand&) = delete;
    TfrBand& operator=(const TfrBand&) = delete;

    // A band of type ATyp for APage: line numbers 1, height not yet measured.
    static std::unique_ptr<TfrBand> CreateRuntimeBand(TfrPage* APage, uint8_t ATyp);

    // The data source named by Text: a group header's condition instead; a
    // text holding ";" names per-band cross sources and gives none here. A
    // master data band without a source takes the report's Dataset when the
    // report is a simple one.
    void InitDataSet(const QString& Text);
    // Closes the data sources and frees those the band owns.
    void FreeDataSets();
    // Closes (and frees when owned) the data source alone and takes the one
    // named by Text as InitDataSet does: a script's "DataSource". Naming the
    // source the band already has changes nothing. Once the walk over the
    // band's records has drawn one, the new source waits for EndLoop; named
    // before, it is walked from its first record, and one without records
    // leaves the walk none (WalkRanOut). A data band a script leaves without
    // a source prints nothing more (SourceReleased); asked ahead for its
    // source (frAskingFor), a script's name that gives none changes nothing.
    void RebindDataSet(const QString& Text);
    // Takes the values a script may change, as the page's bands stand once
    // built; RestoreTemplate puts them back on the band and its view, and
    // binds the source the template names, for the final pass of two.
    void KeepTemplate();
    void RestoreTemplate();
    // Bracket a walk over DataSet; EndLoop binds the source a script named
    // meanwhile. WalkDrew tells that the walk has drawn a record; a cross
    // walk defers from the start (DeferAll), as its loop holds the source. A
    // walk that fails ends the preparation, and the bands are built anew for
    // the next one.
    void BeginLoop(bool DeferAll = false);
    void EndLoop();
    void WalkDrew();
    // A subreport page's walk is recorded before it plays, so a source named
    // while it plays waits for EndPlay; only a name that gives no source acts
    // at once, before the band has drawn.
    void BeginPlay();
    void EndPlay();
    bool SourceReleased() const { return FSourceReleased; }
    bool WalkRanOut() const { return FRanOut; }
    // Counts the sources scripts named for the band, the one it has too.
    int Namings() const { return FNamings; }
    // Runs the band's script as its Draw would, drawing nothing; Draw runs
    // it again.
    void RunScriptAhead();
    // Takes ASource as the cross-tab source, owned when Owned is given.
    void SetCrossDataSet(TfrDataset* ASource, std::unique_ptr<TfrDataset> Owned);
    // Accumulators by key (FR_Aggr): an average reads divided by
    // AggregateCount (0 without records); MIN and MAX with nothing
    // accumulated read 1e300 and 0.
    Variant GetAggregateValue(const QString& Key) const;
    void SetAggregateValue(const QString& Key, const Variant& Value);
    // Holds views that also belong to a cross band.
    bool HasCross() const;

    // Forming (FR_BandDraw.cpp, FR_BandCross.cpp). Draw prints the band at
    // the page's CurY, breaking pages and columns as needed; true when it
    // needed a break on a subreport page or left subreports unfinished.
    bool Draw();
    void DoDraw();
    // Height after stretching, kept as the largest seen in FCalcHeight.
    int CalcHeight();
    // True when AY + ADY (and the column footer) pass the page bottom; unless
    // OnlyTest the page then moves to its next column or page.
    bool CheckPageBreak(int AY, int ADY, bool OnlyTest);
    void DrawObject(TfrView* AView);
    // Prints the views up to the first visible subreport, which then prints
    // with the rest; true when subreports ran.
    bool DrawObjects();
    void DrawPageBreak();
    // Plays the band's subreports on from where a full page stopped them;
    // true while some are still unfinished.
    bool ResumeSubReports();
    void DrawCross();
    // Aggregates of one output: plain keys on a row, the current cross
    // column's copies on a cross cell.
    void DoAggregate(bool CrossCell = false);
    // After a footer printed: its accumulators in AggregateSources start over;
    // on a group header every group condition's value is kept instead.
    void InitValues();
    // Suppressed-repeat memory of the band's memo views.
    void ClearMemoCaches();

    TfrPage* Parent = nullptr;
    TfrBandView* View = nullptr;       // none for an empty slot
    uint16_t Flags = 0;
    TfrBand* Next = nullptr;           // chain of the type, sorted by Y
    TfrBand* Prev = nullptr;
    TfrBand* NextGroup = nullptr;      // group headers of one data band
    TfrBand* PrevGroup = nullptr;
    TfrBand* FirstGroup = nullptr;     // on a data band: its group headers
    TfrBand* LastGroup = nullptr;
    TfrBand* Child = nullptr;
    // On a footer the data band holding its accumulators; on the cross data
    // band the horizontal band whose cell prints.
    TfrBand* AggregateSource = nullptr;
    // On a footer every data band its aggregates count, AggregateSource the
    // last: a summary may add up the rows of two master bands.
    std::vector<TfrBand*> AggregateSources;
    int32_t FirstSubReport = 0;
    int32_t SubReportBottom = 0;
    bool SubReportsDone = false;
    std::vector<uint8_t> SubReportDone;
    int32_t LocalLine = 1;             // "LINE#"
    int32_t GlobalLine = 1;            // "LINETHROUGH#"
    Variant GroupValue;
    TfrBand* Header = nullptr;         // data band: header and footer;
    TfrBand* Footer = nullptr;         // group header: its group footer
    TfrBand* DataBand = nullptr;       // header or footer: its data band
    TfrBand* LastOfChain = nullptr;    // kept by the first of a chain
    TfrVariables Values;               // aggregate accumulators
    int32_t AggregateCount = 0;
    // Outputs per footer since that footer last reset, keyed by
    // frOutputCountKey: the divisor of its averages, so one footer's reset
    // leaves the others' and an average without hidden rows divides by the
    // rows its sum took.
    QHash<QString, int32_t> OutputCounts;
    bool Repeating = false;
    int32_t FCalcHeight = -1;          // height after stretching; -1 unmeasured
    int32_t Column = 1;
    int32_t ColumnX = 0;
    bool KeepY = false;
    bool ScriptDone = false;
    int X = 0;
    int Y = 0;
    int DX = 0;
    int DY = 0;
    int32_t MaxY = 0;
    uint8_t Typ = 22;                  // 22 "None" until built
    QString Name;
    bool PrintIfSubsetEmpty = false;
    bool NewPageAfter = false;
    bool Stretched = false;
    bool PageBreak = false;            // may split across pages
    bool PrintChildIfInvisible = false;
    bool Visible = true;
    std::vector<TfrView*> Objects;     // not owned; Y relative to the band
    TStringList Memo;
    TStringList Script;
    TfrDataset* DataSet = nullptr;
    bool OwnsDataSet = false;
    TfrDataset* CrossDataSet = nullptr;
    bool OwnsCrossDataSet = false;
    QString GroupCondition;            // prepared by the parser
    int32_t NewPagesRequested = 0;
    int32_t NewColumnsRequested = 0;

private:
    bool FitsOrBreaks(int Height);
    void TakeRequests(bool WithPage, int SavedY);
    void PrintOutput(bool WithPage);
    void ShowChild();
    int StretchedHeight();
    void PrepareSubReports();
    void DrawCrossCell(TfrBand* CrossBand, int AX);
    void CheckCrossBreak(int& AX, int Width, int StartPageNo);
    void BuildAggregateSlots();
    void BindDataSet(const QString& Text);
    bool NamesASource(const QString& Text) const;

    std::vector<TfrAggregateSlot> FSlots;   // parsed Values keys, rebuilt when Values grows
    QStringList FCountedFooters;            // lower-case footer names of FSlots
    int FSlotKeys = -1;
    std::unique_ptr<TfrDataset> FOwnedDataSet;
    std::unique_ptr<TfrDataset> FOwnedCrossDataSet;
    QString FSourceText;                    // the name DataSet was bound by
    bool FLooping = false;
    bool FWalkDrawn = false;                // the walk has drawn a record
    std::optional<QString> FPendingSource;  // named after that
    bool FSourceReleased = false;
    bool FRanOut = false;                   // the walk's new source has no record
    bool FPlaying = false;                  // a subreport's recorded walk plays
    int FNamings = 0;
    struct TTemplateValues
    {
        bool Visible = true;
        bool PageBreak = false;
        int X = 0, Y = 0, DX = 0, DY = 0;
        TfrBand* Child = nullptr;
        QString GroupCondition;
        uint16_t ViewFlags = 0;
        QString ViewChildBand, ViewMaster, ViewCondition;
        int Columns = 1, ColumnWidth = 0, ColumnGap = 0, NewColumnAfter = 0;
    };
    std::optional<TTemplateValues> FTemplate;
};
