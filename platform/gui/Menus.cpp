#include "platform/gui/Menus.h"

#include "platform/gui/Application.h"
#include "platform/rtl/SysUtils.h"

#include <QMenu>

namespace {

void AddActions(QMenu* Menu, const TMenuItem* Parent);

// As Menu opens: the parent's OnClick, then the actions built afresh.
void FillOnOpen(QMenu* Menu, TMenuItem* Parent)
{
    QPointer<TMenuItem> Guard(Parent);
    QObject::connect(Menu, &QMenu::aboutToShow, Menu, [Menu, Guard] {
        if (!Guard)
            return;
        if (Guard->OnClick)
            Guard->OnClick(Guard);
        Menu->clear();
        AddActions(Menu, Guard);
    });
}

void AddActions(QMenu* Menu, const TMenuItem* Parent)
{
    for (int i = 0; i < Parent->Count(); ++i) {
        TMenuItem* Item = Parent->Items(i);
        if (!Item->Visible())
            continue;
        if (Item->IsSeparator()) {
            Menu->addSeparator();
            continue;
        }
        if (Item->Count() > 0) {
            QMenu* Sub = Menu->addMenu(Item->Caption());
            Sub->setEnabled(Item->Enabled());
            FillOnOpen(Sub, Item);
            AddActions(Sub, Item);
            continue;
        }
        QAction* A = Menu->addAction(Item->Caption());
        // Known by the item's name, for styles that draw items by their command.
        A->setObjectName(Item->objectName());
        A->setEnabled(Item->Enabled());
        A->setCheckable(Item->Checked());
        A->setChecked(Item->Checked());
        // The item may be freed while the menu is open: guard it.
        QPointer<TMenuItem> Guard(Item);
        QObject::connect(A, &QAction::triggered, Menu, [Guard] {
            if (!Guard)
                return;
            try {
                Guard->Click();
            } catch (const std::exception& E) {
                Application()->HandleException(E);
            }
        });
    }
}

} // namespace

// ---------------------------------------------------------------- TMenuItem

TMenuItem::TMenuItem(QObject* AOwner) : QObject(AOwner) {}

TMenuItem* TMenuItem::Items(int Index) const
{
    if (Index < 0 || Index >= Count())
        throw EListError(QStringLiteral("Menu index out of bounds (%1)").arg(Index));
    return FItems[size_t(Index)];
}

void TMenuItem::Add(TMenuItem* Item)
{
    if (!Item)
        return;
    Item->setParent(this);
    FItems.push_back(Item);
    // An item deleted by its owner leaves the list.
    QObject::connect(Item, &QObject::destroyed, this, [this](QObject* O) { std::erase(FItems, O); });
}

TMenuItem* TMenuItem::Add(const QString& Caption, std::function<void(QObject* Sender)> OnClick)
{
    auto* Item = new TMenuItem(this);
    Item->SetCaption(Caption);
    Item->OnClick = std::move(OnClick);
    Add(Item);
    return Item;
}

void TMenuItem::Click()
{
    if (FEnabled && OnClick)
        OnClick(this);
}

// ---------------------------------------------------------------- TPopupMenu

TPopupMenu::TPopupMenu(QObject* AOwner) : QObject(AOwner), FItems(new TMenuItem(this)) {}

TPopupMenu::~TPopupMenu()
{
    delete FShown.data();
}

void TPopupMenu::Popup(int X, int Y)
{
    if (OnPopup)
        OnPopup(this);
    delete FShown.data();
    auto* Menu = new QMenu();
    Menu->setAttribute(Qt::WA_DeleteOnClose);
    AddActions(Menu, FItems);
    FShown = Menu;
    Menu->popup(QPoint(X, Y));
}

// ---------------------------------------------------------------- TMainMenu

TMainMenu::TMainMenu(QWidget* AForm) : QObject(AForm), FItems(new TMenuItem(this)), FBar(new QMenuBar(AForm))
{
    FBar->setNativeMenuBar(false);
}

TMainMenu::~TMainMenu()
{
    delete FBar.data();
}

void TMainMenu::Rebuild()
{
    FBar->clear();
    for (int i = 0; i < FItems->Count(); ++i) {
        TMenuItem* Item = FItems->Items(i);
        if (!Item->Visible())
            continue;
        QMenu* Menu = FBar->addMenu(Item->Caption());
        Menu->setEnabled(Item->Enabled());
        FillOnOpen(Menu, Item);
        AddActions(Menu, Item);
    }
}
