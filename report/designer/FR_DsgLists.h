// Lists and trees of the designer's dialogs: every row shows one of our icons
// in a box 2 pixels from the left and its text 20 pixels from the left and 1
// pixel down. The icon of a row is its icon-kind role, else the list's own;
// -1 draws none.
#pragma once

#include <QPixmap>
#include <QStyledItemDelegate>
#include <functional>
#include <memory>

class QListWidget;
class QListWidgetItem;
class QTreeWidget;
class QComboBox;
class QPainter;
class TBitmap;

enum TfrListIcon : int {
    liNone = -1,
    liDataSet = 0,
    liField,
    liCategory,
    liVariable,
    liSystem,
    liFunction,
    liBand,
    liDataSource,
    liFunctionTree,
    liNew,
    liEdit,
    liDelete,
    liEditList,
    // The fields lists' dataset (a ruled table) and field (a single cell).
    liTable,
    liCell,
};

// Role holding a row's TfrListIcon.
constexpr int frIconRole = Qt::UserRole + 40;

QPixmap frListIcon(int Kind);
// The icon as a tool-button glyph (olive transparent).
const TBitmap* frListGlyph(int Kind);
// A 16 x 16 tool glyph of our own drawing on olive, which buttons leave out.
std::unique_ptr<TBitmap> frDrawnGlyph(const std::function<void(QPainter&)>& Draw);

class TfrIconDelegate : public QStyledItemDelegate
{
public:
    // BoxHeight: 16 for most lists, 15 for the tighter ones. RowIcon: the icon
    // of rows without an icon-kind role (lists where every row shows the same).
    explicit TfrIconDelegate(QObject* Parent, int BoxHeight = 16, int RowIcon = liNone);
    void paint(QPainter* Painter, const QStyleOptionViewItem& Option, const QModelIndex& Index) const override;
    QSize sizeHint(const QStyleOptionViewItem& Option, const QModelIndex& Index) const override;

private:
    int FBoxHeight;
    int FRowIcon;
};

QListWidget* frNewIconList(QWidget* Parent, int BoxHeight = 16);
QListWidgetItem* frAddListItem(QListWidget* List, const QString& Text, int Icon);
// The selected row's text; empty when none.
QString frSelectedText(const QListWidget* List);
