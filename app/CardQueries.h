// The data behind the main window's four card pages: the list statements with
// the session's row filters, the amounts of each card up to the working day,
// the amount icons and the paging. Everything a page shows is read here first
// and handed over as one value, so a statement that fails leaves the page on
// screen as it was. No widgets here; TCardPage shows the result.
#pragma once

#include "platform/rtl/SysUtils.h"

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

enum class TCardKind { ckCustomer, ckBill, ckMoney, ckAccount };
using enum TCardKind;

inline constexpr int CardsPerPage = 15;

// What the main window's boxes and the customer search say about a page.
struct TCardSettings
{
    TDateTime WorkingDay = 0;
    QString Range;           // "当天单据" or "当月单据" (documents)
    QString Order;           // the order box's text
    QString Direction;       // "按升序排" or "按降序排"
    QString SearchCondition; // customers: the last confirmed customer search
};

// One card as the page shows it; the texts are final.
struct TCardData
{
    int Tag = 0;      // the record's key
    QString Name;     // name label
    QString Money;    // money label
    QString Extra;    // owe, paid, kind or month label
    QString Type;     // type label under the image (none for accounts)
    double Amount = 0; // the amount that picks icon and colour
    QString Icon;     // under the program folder, e.g. "Res/Blue++.ico"
};

struct TCardPageData
{
    int Count = 0;
    int Pages = 1;
    int PageIndex = 0; // clamped into the pages that exist
    bool PriorEnabled = false;
    bool NextEnabled = false;
    QString SumCaption; // paging text, or the accounts' total
    std::vector<TCardData> Cards;
};

// Page word used in component names and by HighlightCard: "Customer", "Bill", "Money", "Account".
QString CardPageWord(TCardKind Kind);

// The list statement of a page, filters and order included.
QString CardStatement(TCardKind Kind, const TCardSettings& Settings);

// Reads the page PageIndex of Kind. Empty when a statement failed; its message
// has been shown then.
std::optional<TCardPageData> LoadCardPage(TCardKind Kind, const TCardSettings& Settings, int PageIndex);

// The icon for an amount on a page, relative to the program folder.
QString AmountIcon(TCardKind Kind, double Amount);

// "共 16 记录，第 2/2 页"
QString PagingCaption(int Count, int PageIndex, int Pages);

// An amount as cards show it: RoundStr and " 元".
QString CardAmountText(double Value);

// Stores a new account for the logged-in user after the checks of a new
// account and tells the user; false when a check failed or nothing was stored.
bool AddAccount(const QString& Name, double Base);

// While set, every statement LoadCardPage runs is appended to Log (for
// measuring the statements alone); nullptr stops it.
void SetCardStatementLog(QStringList* Log);

// The hand-over of a clicked document card: reads the row by its key.
// Found: the document kind of the window to open ("销售开单"/"采购开单" for
// documents, "财务收入单"/"财务支出单" for money rows). Not found or failed:
// empty, after its message.
QString CardDocumentKind(TCardKind Kind, int Tag);
