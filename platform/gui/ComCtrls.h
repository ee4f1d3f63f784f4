// Scroll box, tab control and status bar: thin controls over Qt's widgets.
#pragma once

#include "platform/gui/Controls.h"

#include <QScrollArea>
#include <QString>
#include <QTabBar>
#include <functional>
#include <vector>

// Scrolls one child that keeps its own size (the box never stretches it).
class TScrollBox : public QScrollArea
{
    Q_OBJECT

public:
    explicit TScrollBox(QWidget* AParent = nullptr);
};

// A row of tabs; the tabs are QTabBar's own. OnChange fires when the user or
// the program selects another tab (not while signals are blocked).
class TTabControl : public QTabBar
{
    Q_OBJECT

public:
    explicit TTabControl(QWidget* AParent = nullptr);

    int TabIndex() const { return currentIndex(); }
    void SetTabIndex(int Value) { setCurrentIndex(Value); }

    std::function<void(QObject* Sender)> OnChange;
};

struct TStatusPanel
{
    int Width = 50;
    QString Text;
};

// Panels from the left, each a sunken box with its text.
class TStatusBar : public TCustomControl
{
    Q_OBJECT

public:
    explicit TStatusBar(QWidget* AParent = nullptr);

    void AddPanel(int Width);
    int PanelCount() const { return static_cast<int>(FPanels.size()); }
    const TStatusPanel& Panels(int Index) const { return FPanels.at(Index); }
    // Repaints only when the text changes.
    void SetPanelText(int Index, const QString& Text);

    void Paint() override;

private:
    std::vector<TStatusPanel> FPanels;
};
