// TMenuItem and TPopupMenu: context menus built from items with captions and
// click handlers, shown at a screen point without blocking. Both are QObjects
// so that the controls that refer to a menu hear of its destruction.
#pragma once

#include <QMenu>
#include <QMenuBar>
#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>
#include <vector>


class TMenuItem : public QObject
{
    Q_OBJECT
public:
    explicit TMenuItem(QObject* AOwner = nullptr);

    // "-" makes a separator; '&' marks the access key.
    QString Caption() const { return FCaption; }
    void SetCaption(const QString& Value) { FCaption = Value; }
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool Value) { FEnabled = Value; }
    bool Visible() const { return FVisible; }
    void SetVisible(bool Value) { FVisible = Value; }
    bool Checked() const { return FChecked; }
    void SetChecked(bool Value) { FChecked = Value; }
    int Tag() const { return FTag; }
    void SetTag(int Value) { FTag = Value; }
    bool IsSeparator() const { return FCaption == QStringLiteral("-"); }

    // Sub-items; the item owns what is added to it.
    int Count() const { return int(FItems.size()); }
    TMenuItem* Items(int Index) const;
    void Add(TMenuItem* Item);
    // A new item with Caption and OnClick, added and returned.
    TMenuItem* Add(const QString& Caption, std::function<void(QObject* Sender)> OnClick = nullptr);

    // Runs OnClick when the item is enabled; a parent item's OnClick runs as
    // its sub-menu opens, so handlers can set check marks first.
    void Click();
    std::function<void(QObject* Sender)> OnClick;

private:
    QString FCaption;
    bool FEnabled = true;
    bool FVisible = true;
    bool FChecked = false;
    int FTag = 0;
    std::vector<TMenuItem*> FItems; // children of this item
};

class TPopupMenu : public QObject
{
    Q_OBJECT
public:
    explicit TPopupMenu(QObject* AOwner = nullptr);
    ~TPopupMenu() override;

    TMenuItem* Items() const { return FItems; }
    // Controls show the menu on a right click by themselves.
    bool AutoPopup() const { return FAutoPopup; }
    void SetAutoPopup(bool Value) { FAutoPopup = Value; }
    // The control the menu was last shown for.
    QObject* PopupComponent() const { return FPopupComponent; }
    void SetPopupComponent(QObject* Value) { FPopupComponent = Value; }

    // Shows the visible items at a screen point (OnPopup first, so handlers
    // can enable and disable items) and returns at once; a chosen item runs
    // its Click.
    void Popup(int X, int Y);
    // The menu last shown, until it closes; for tests and for closing it.
    QMenu* ShownMenu() const { return FShown; }

    std::function<void(QObject* Sender)> OnPopup;

private:
    TMenuItem* FItems;
    bool FAutoPopup = true;
    QPointer<QObject> FPopupComponent;
    QPointer<QMenu> FShown;
};

// TMainMenu: a window's menu bar over a tree of TMenuItems. Each drop-down is
// built from the items as it opens, so captions, enabled states and check
// marks set from code show without further calls.
class TMainMenu : public QObject
{
    Q_OBJECT
public:
    // Creates the bar inside AForm (not shown until the form is).
    explicit TMainMenu(QWidget* AForm);
    ~TMainMenu() override;

    TMenuItem* Items() const { return FItems; }
    QMenuBar* MenuBar() const { return FBar; }
    // Access keys and separators kept as set (false) or adjusted by the bar.
    bool AutoHotkeys() const { return FAutoHotkeys; }
    void SetAutoHotkeys(bool Value) { FAutoHotkeys = Value; }
    bool AutoLineReduction() const { return FAutoLineReduction; }
    void SetAutoLineReduction(bool Value) { FAutoLineReduction = Value; }
    // Rebuilds the bar's top-level entries from Items (after adding items).
    void Rebuild();

private:
    TMenuItem* FItems;
    QPointer<QMenuBar> FBar;
    bool FAutoHotkeys = false;
    bool FAutoLineReduction = false;
};
