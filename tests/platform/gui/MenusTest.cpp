// Context menus: what the shown menu holds and what choosing an item does.
#include "platform/gui/Menus.h"
#include "platform/rtl/SysUtils.h"

#include <QAction>
#include <QMenu>
#include <gtest/gtest.h>

namespace {

QStringList Captions(const QMenu* Menu)
{
    QStringList L;
    for (const QAction* A : Menu->actions())
        L << (A->isSeparator() ? QStringLiteral("-") : A->text() + (A->isEnabled() ? "" : "(off)"));
    return L;
}

} // namespace

TEST(PopupMenu, ShowsVisibleItemsAfterOnPopup)
{
    TPopupMenu Menu;
    QStringList Clicked;
    auto Record = [&](QObject* Sender) { Clicked << static_cast<TMenuItem*>(Sender)->Caption(); };
    Menu.Items()->Add(QStringLiteral("复制"), Record);
    Menu.Items()->Add(QStringLiteral("-"));
    TMenuItem* Delete = Menu.Items()->Add(QStringLiteral("删除"), Record);
    Menu.Items()->Add(QStringLiteral("隐藏"))->SetVisible(false);
    // OnPopup runs before the menu is built, so it can switch items off.
    Menu.OnPopup = [&](QObject*) { Delete->SetEnabled(false); };
    Menu.Popup(10, 10);
    ASSERT_NE(Menu.ShownMenu(), nullptr);
    EXPECT_EQ(Captions(Menu.ShownMenu()),
              (QStringList{QStringLiteral("复制"), QStringLiteral("-"), QStringLiteral("删除(off)")}));
    Menu.ShownMenu()->actions().at(0)->trigger();
    EXPECT_EQ(Clicked, QStringList{QStringLiteral("复制")});
    // A disabled item does nothing even when clicked from code.
    Delete->Click();
    EXPECT_EQ(Clicked.size(), 1);
}

TEST(PopupMenu, ItemsGoneWhileTheMenuIsOpenAreSkipped)
{
    TPopupMenu Menu;
    int Clicks = 0;
    TMenuItem* Item = Menu.Items()->Add(QStringLiteral("打印"), [&](QObject*) { ++Clicks; });
    Menu.Popup(0, 0);
    QAction* Shown = Menu.ShownMenu()->actions().at(0);
    delete Item;
    EXPECT_EQ(Menu.Items()->Count(), 0);
    Shown->trigger();
    EXPECT_EQ(Clicks, 0);
    EXPECT_THROW(Menu.Items()->Items(0), EListError);
}

TEST(MainMenu, DropDownIsBuiltAsItOpensAfterTheParentsClick)
{
    QWidget Form;
    TMainMenu Menu(&Form);
    TMenuItem* View = Menu.Items()->Add(QStringLiteral("&View"));
    int Clicks = 0;
    TMenuItem* Bar = View->Add(QStringLiteral("Tool bar"), [&](QObject*) { ++Clicks; });
    View->Add(QStringLiteral("Hidden"))->SetVisible(false);
    View->OnClick = [&](QObject*) { Bar->SetChecked(true); };
    Menu.Rebuild();
    ASSERT_EQ(Menu.MenuBar()->actions().size(), 1);
    QMenu* Drop = Menu.MenuBar()->actions().at(0)->menu();
    ASSERT_NE(Drop, nullptr);
    emit Drop->aboutToShow();
    ASSERT_EQ(Captions(Drop), QStringList{QStringLiteral("Tool bar")});
    EXPECT_TRUE(Drop->actions().at(0)->isChecked());
    Drop->actions().at(0)->trigger();
    EXPECT_EQ(Clicks, 1);
}
