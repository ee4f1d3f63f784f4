// TCardPage: one card page of the main window, built on its tab sheet:
// fifteen card panels (three across, five down) with their image and labels,
// the paging label, the no-data image and the previous / new / next buttons.
// It reads a page through LoadCardPage and shows it; a failed read leaves the
// cards as they were. What a click on a card or the new button opens is the
// main window's business (OnCardClick, NewButton->OnClick).
#pragma once

#include "app/CardQueries.h"
#include "platform/gui/Controls.h"

#include <QObject>
#include <array>
#include <functional>

class QLabel;
class TButton;
class TImage;

// A card's panel: its colour is the hover state, its Tag the record's key.
class TCardPanel : public TCustomControl
{
public:
    explicit TCardPanel(QWidget* AParent = nullptr);
    void Paint() override;
};

class TCardPage : public QObject
{
public:
    // PageIndex is the main window's page index of this page, kept current here.
    TCardPage(TCardKind Kind, QWidget* Sheet, int& PageIndex);
    ~TCardPage() override;

    TCardKind Kind() const { return FKind; }
    QWidget* Sheet() const { return FSheet; }

    // Components in name order 1 to 15 ("CustomerPanel1" ... "CustomerPanel15").
    std::array<TCardPanel*, CardsPerPage> Panels{};
    std::array<TImage*, CardsPerPage> Images{};
    std::array<QLabel*, CardsPerPage> Names{};  // CustomerName, BillName, MoneyName, AccountName
    std::array<QLabel*, CardsPerPage> Moneys{}; // CustomerMoney, BillMoney, MoneyMoney, AccountMoney
    std::array<QLabel*, CardsPerPage> Extras{}; // CustomerOwe, BillPay, MoneyKind, AccountMonth
    std::array<QLabel*, CardsPerPage> Types{};  // CustomerType, BillType, MoneyType; none for accounts
    QLabel* SumLabel;    // CustomerSum, BillSum, MoneySum, AccountSum
    TImage* NoDataImage; // Image9, Image8, Image22, Image12
    TButton* PriorButton;
    TButton* NewButton;
    TButton* NextButton;

    // The boxes and the working day the page is read with.
    std::function<TCardSettings()> SettingsSource;

    // Reads the current page again; false when a statement failed.
    bool Refresh();
    // Shows a page read elsewhere.
    void ShowPage(const TCardPageData& Page);
    // Card Number (1-15) under the mouse; 0 puts every card back.
    void HighlightCard(int Number);

    // A card (1-15) was clicked; its panel's Tag holds the record's key.
    std::function<void(TCardPage* Sender, int Number)> OnCardClick;

    // Handlers shared by a card's panel, image and labels, and the page buttons.
    void CardClick(QObject* Sender);
    void CardMouseMove(QObject* Sender);
    void PriorClick(QObject* Sender);
    void NextClick(QObject* Sender);

protected:
    bool eventFilter(QObject* Watched, QEvent* Event) override;

private:
    void BuildCard(int I);
    void BuildBottom();
    void ShowCard(int I, const TCardData& Card);
    void SetCardColor(int I, TColor Color);
    int CardOf(QObject* Sender) const;

    TCardKind FKind;
    QWidget* FSheet;
    int& FPageIndex;
    std::array<QString, CardsPerPage> FIconShown;
};

// Colours of a card under the mouse and at rest, and of its texts by sign.
inline constexpr TColor CardHotColor = 0xF0CAA6;
inline constexpr TColor CardPositiveColor = 0xFF0000;
inline constexpr TColor CardNegativeColor = 0x0000FF;
