// TFormMain: the four card pages, their refreshes, the hover highlight and
// what a clicked card or a new button hands over to the record windows.
#include "app/MainForm.h"

#include "app/Account2Form.h"
#include "app/AccountForm.h"
#include "app/Bill2Form.h"
#include "app/BillForm.h"
#include "app/BuySellForm.h"
#include "app/CardPage.h"
#include "app/Customer2Form.h"
#include "app/Customer3Form.h"
#include "app/CustomerForm.h"
#include "app/GetPayForm.h"
#include "platform/gui/StdCtrls.h"

#include <QComboBox>
#include <QLabel>

void TFormMain::BuildCardPages()
{
    CustomerCards = new TCardPage(ckCustomer, TabSheet8, CustomerPage);
    BillCards = new TCardPage(ckBill, TabSheet1, BillPage);
    MoneyCards = new TCardPage(ckMoney, TabSheet7, MoneyPage);
    AccountCards = new TCardPage(ckAccount, TabSheet3, AccountPage);
    for (TCardPage* Page : {CustomerCards, BillCards, MoneyCards, AccountCards}) {
        Page->SettingsSource = [this, Kind = Page->Kind()] { return CardSettings(Kind); };
        Page->OnCardClick = [this](TCardPage* Sender, int Number) { CardClick(Sender, Number); };
    }
    CustomerCards->NewButton->OnClick = [this](QObject* Sender) { NewCustomerClick(Sender); };
    BillCards->NewButton->OnClick = [this](QObject* Sender) { NewBillClick(Sender); };
    MoneyCards->NewButton->OnClick = [this](QObject* Sender) { NewMoneyClick(Sender); };
    AccountCards->NewButton->OnClick = [this](QObject*) { NewAccount(); };
}

TCardSettings TFormMain::CardSettings(TCardKind Kind) const
{
    TCardSettings S;
    S.WorkingDay = WorkingDay();
    switch (Kind) {
    case ckCustomer:
        S.Order = ComboBox6->currentText();
        S.Direction = ComboBox7->currentText();
        if (FormCustomer3)
            S.SearchCondition = FormCustomer3->SearchCondition;
        break;
    case ckBill:
        S.Range = ComboBox3->currentText();
        S.Order = ComboBox8->currentText();
        S.Direction = ComboBox10->currentText();
        break;
    case ckMoney:
        S.Range = ComboBox4->currentText();
        S.Order = ComboBox11->currentText();
        S.Direction = ComboBox12->currentText();
        break;
    case ckAccount:
        break;
    }
    return S;
}

void TFormMain::RefreshCustomers()
{
    CustomerCards->Refresh();
}

void TFormMain::RefreshBills()
{
    BillCards->Refresh();
}

void TFormMain::RefreshMoney()
{
    MoneyCards->Refresh();
}

void TFormMain::RefreshAccounts()
{
    AccountCards->Refresh();
}

void TFormMain::HighlightCard(const QString& PageWord, int Number)
{
    for (TCardPage* Page : {CustomerCards, BillCards, MoneyCards, AccountCards})
        if (CardPageWord(Page->Kind()) == PageWord)
            Page->HighlightCard(Number);
}

// Each record window takes its card here as it lands; until then a click
// checks the record and opens nothing.
void TFormMain::CardClick(TCardPage* Sender, int Number)
{
    const int Tag = Sender->Panels[Number - 1]->Tag();
    switch (Sender->Kind()) {
    case ckCustomer:
        if (!FormCustomer)
            return;
        FormCustomer->CustomerIndex = Tag;
        if (FormCustomer->ShowModal() == mrOk)
            RefreshCustomers();
        break;
    case ckBill: {
        const QString Kind = CardDocumentKind(ckBill, Tag);
        if (Kind.isEmpty() || !FormBuySell)
            return;
        FormBuySell->Mode = QStringLiteral("修改");
        FormBuySell->Kind = Kind;
        FormBuySell->BillIndex = Tag;
        FormBuySell->EditUnlocked = false;
        FormBuySell->CustomerFixed = false;
        // An unlocked document may have changed whatever the window's result.
        FormBuySell->ShowModal();
        if (FormBuySell->EditUnlocked)
            RefreshAll();
        break;
    }
    case ckMoney: {
        const QString Kind = CardDocumentKind(ckMoney, Tag);
        if (Kind.isEmpty() || !FormGetPay)
            return;
        FormGetPay->Mode = QStringLiteral("修改");
        FormGetPay->Kind = Kind;
        FormGetPay->MoneyIndex = Tag;
        FormGetPay->CustomerFixed = false;
        if (FormGetPay->ShowModal() == mrOk)
            RefreshAll();
        break;
    }
    case ckAccount:
        // The account window refreshes everything itself after a change.
        if (!FormAccount)
            return;
        FormAccount->AccountText = Sender->Names[Number - 1]->text();
        FormAccount->BalanceText = Sender->Moneys[Number - 1]->text();
        FormAccount->ShowModal();
        break;
    }
}

void TFormMain::NewCustomerClick(QObject*)
{
    if (!FormCustomer2)
        return;
    FormCustomer2->EditMode = 0;
    FormCustomer2->CustomerKind = QStringLiteral("正式客户");
    if (FormCustomer2->ShowModal() == mrOk)
        RefreshAll();
}

void TFormMain::ActionCustomerSearchExecute(QObject*)
{
    if (!FormCustomer3 || FormCustomer3->ShowModal() != mrOk)
        return;
    CustomerPage = 0;
    RefreshCustomers();
}

void TFormMain::NewBillClick(QObject*)
{
    // The chooser refreshes everything itself when a document was saved.
    if (FormBill)
        FormBill->ShowModal();
}

void TFormMain::NewMoneyClick(QObject*)
{
    // The chooser's money window refreshes everything itself on mrOk.
    if (FormBill2)
        FormBill2->ShowModal();
}

void TFormMain::NewAccount()
{
    if (!FormAccount2)
        return;
    FormAccount2->AccountName.clear();
    if (FormAccount2->ShowModal() == mrOk)
        AddNewAccount(FormAccount2->AccountName, FormAccount2->AccountBase);
}

void TFormMain::AddNewAccount(const QString& Name, double Base)
{
    if (AddAccount(Name, Base))
        RefreshAll();
}
