#include "report/designer/FR_DsgLists.h"

#include "platform/gui/Graphics.h"

#include <QApplication>
#include <QListWidget>
#include <QPainter>
#include <map>
#include <memory>

namespace {

void DrawIcon(QPainter& P, int Kind)
{
    P.setRenderHint(QPainter::Antialiasing, false);
    P.setPen(Qt::black);
    switch (Kind) {
    case liDataSet: // a small table
        P.setBrush(QColor(255, 255, 224));
        P.drawRect(1, 2, 13, 11);
        P.fillRect(2, 3, 12, 3, QColor(0, 0, 160));
        P.drawLine(1, 9, 14, 9);
        P.drawLine(7, 6, 7, 13);
        break;
    case liField: // one column
        P.setBrush(Qt::white);
        P.drawRect(3, 2, 9, 11);
        P.fillRect(4, 3, 8, 3, QColor(0, 128, 128));
        break;
    case liCategory: // a folder
        P.setBrush(QColor(255, 215, 96));
        P.drawPolygon(QPolygon({QPoint(1, 4), QPoint(6, 4), QPoint(7, 6), QPoint(14, 6), QPoint(14, 13), QPoint(1, 13)}));
        break;
    case liVariable:
    case liSystem:
        P.setBrush(Kind == liVariable ? QColor(200, 255, 200) : QColor(210, 210, 255));
        P.drawRect(1, 2, 13, 11);
        P.setFont(QFont(QStringLiteral("Sans"), 7, QFont::Bold));
        P.drawText(QRect(1, 2, 14, 12), Qt::AlignCenter, Kind == liVariable ? QStringLiteral("x") : QStringLiteral("S"));
        break;
    case liFunction:
    case liFunctionTree:
        P.setFont(QFont(QStringLiteral("Serif"), 10, QFont::Bold, true));
        P.setPen(Kind == liFunction ? QColor(128, 0, 0) : QColor(0, 0, 128));
        P.drawText(QRect(0, 0, 16, 16), Qt::AlignCenter, QStringLiteral("f"));
        break;
    case liBand:
        P.setBrush(QColor(192, 192, 192));
        P.drawRect(1, 5, 13, 6);
        break;
    case liDataSource: // a cylinder
        P.setBrush(QColor(160, 200, 255));
        P.drawRect(3, 4, 9, 9);
        P.drawEllipse(3, 2, 9, 4);
        break;
    case liNew:
        P.setPen(QPen(QColor(0, 128, 0), 2));
        P.drawLine(8, 3, 8, 13);
        P.drawLine(3, 8, 13, 8);
        break;
    case liEdit:
        P.setPen(QPen(QColor(0, 0, 160), 2));
        P.drawLine(3, 13, 12, 4);
        P.drawLine(3, 13, 6, 13);
        break;
    case liDelete:
        P.setPen(QPen(QColor(192, 0, 0), 2));
        P.drawLine(4, 4, 12, 12);
        P.drawLine(12, 4, 4, 12);
        break;
    case liEditList:
        for (int y = 3; y <= 12; y += 3)
            P.drawLine(y == 6 || y == 9 ? 5 : 2, y, 13, y);
        break;
    case liTable:
        P.setPen(QColor(0, 0, 128));
        P.setBrush(QColor(255, 255, 224));
        P.drawRect(1, 2, 13, 11);
        P.drawLine(1, 6, 14, 6);
        P.drawLine(1, 10, 14, 10);
        P.drawLine(6, 2, 6, 13);
        break;
    case liCell:
        P.setPen(QColor(0, 0, 128));
        P.setBrush(QColor(200, 230, 255));
        P.drawRect(2, 5, 11, 6);
        break;
    default:
        break;
    }
}

} // namespace

QPixmap frListIcon(int Kind)
{
    QPixmap Result(16, 16);
    Result.fill(Qt::transparent);
    QPainter P(&Result);
    DrawIcon(P, Kind);
    return Result;
}

std::unique_ptr<TBitmap> frDrawnGlyph(const std::function<void(QPainter&)>& Draw)
{
    QImage I(16, 16, QImage::Format_RGB32);
    I.fill(ColorToQColor(clOlive));
    {
        QPainter P(&I);
        Draw(P);
    }
    auto B = std::make_unique<TBitmap>();
    B->LoadFromImage(I);
    B->SetTransparentColor(clOlive);
    B->SetTransparent(true);
    return B;
}

const TBitmap* frListGlyph(int Kind)
{
    static std::map<int, std::unique_ptr<TBitmap>> Cache;
    auto& Slot = Cache[Kind];
    if (!Slot)
        Slot = frDrawnGlyph([Kind](QPainter& P) { DrawIcon(P, Kind); });
    return Slot.get();
}

TfrIconDelegate::TfrIconDelegate(QObject* Parent, int BoxHeight, int RowIcon)
    : QStyledItemDelegate(Parent), FBoxHeight(BoxHeight), FRowIcon(RowIcon)
{
}

void TfrIconDelegate::paint(QPainter* Painter, const QStyleOptionViewItem& Option, const QModelIndex& Index) const
{
    const bool Selected = Option.state & QStyle::State_Selected;
    const QRect R = Option.rect;
    Painter->save();
    Painter->fillRect(R, Selected ? Option.palette.highlight() : Option.palette.base());
    const QVariant Role = Index.data(frIconRole);
    const int Icon = Role.isValid() ? Role.toInt() : FRowIcon;
    if (Icon >= 0)
        Painter->drawPixmap(R.left() + 2 + 1, R.top() + (FBoxHeight - 16) / 2, frListIcon(Icon));
    Painter->setPen(Selected ? Option.palette.highlightedText().color() : Option.palette.text().color());
    if (!(Option.state & QStyle::State_Enabled))
        Painter->setPen(Option.palette.color(QPalette::Disabled, QPalette::Text));
    Painter->setFont(Option.font);
    Painter->drawText(R.adjusted(20, 1, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, Index.data(Qt::DisplayRole).toString());
    Painter->restore();
}

QSize TfrIconDelegate::sizeHint(const QStyleOptionViewItem& Option, const QModelIndex& Index) const
{
    const QFontMetrics M(Option.font);
    return {20 + M.horizontalAdvance(Index.data(Qt::DisplayRole).toString()) + 4, std::max(FBoxHeight, M.height() + 2)};
}

QListWidget* frNewIconList(QWidget* Parent, int BoxHeight)
{
    auto* List = new QListWidget(Parent);
    List->setItemDelegate(new TfrIconDelegate(List, BoxHeight));
    return List;
}

QListWidgetItem* frAddListItem(QListWidget* List, const QString& Text, int Icon)
{
    auto* Item = new QListWidgetItem(Text, List);
    Item->setData(frIconRole, Icon);
    return Item;
}

QString frSelectedText(const QListWidget* List)
{
    const QListWidgetItem* Item = List->currentItem();
    return Item && Item->isSelected() ? Item->text() : QString();
}
