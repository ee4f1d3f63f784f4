#include "report/designer/FR_Dopt.h"

#include "platform/gui/StdCtrls.h"
#include "report/engine/FR_Utils.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QTabWidget>

namespace {

QLabel* Label(QWidget* Parent, int Id, int X, int Y)
{
    auto* L = new QLabel(LoadEngineString(Id), Parent);
    L->setGeometry(X, Y, 70, 18);
    return L;
}

QLineEdit* Edit(QWidget* Parent, int X, int Y, int W)
{
    auto* E = new QLineEdit(Parent);
    E->setGeometry(X, Y, W, 21);
    return E;
}

// Our printer icon on the classic teal that stands for transparent.
QPixmap PrinterIcon()
{
    QImage I(16, 16, QImage::Format_RGB32);
    I.fill(QColor(0x80, 0x80, 0x00));
    QPainter G(&I);
    G.setPen(Qt::black);
    G.setBrush(Qt::white);
    G.drawRect(4, 1, 8, 5);
    G.setBrush(QColor(0xC0, 0xC0, 0xC0));
    G.drawRect(1, 6, 14, 6);
    G.setBrush(Qt::white);
    G.drawRect(4, 10, 8, 5);
    G.setPen(QColor(0x00, 0x80, 0x00));
    G.drawPoint(12, 8);
    G.end();
    QPixmap P = QPixmap::fromImage(I);
    P.setMask(P.createMaskFromColor(QColor(0x80, 0x80, 0x00)));
    return P;
}

class TPrinterDelegate : public QStyledItemDelegate
{
public:
    TPrinterDelegate(const TfrDocOptForm* Form, QObject* Parent) : QStyledItemDelegate(Parent), FForm(Form) {}

    void paint(QPainter* Painter, const QStyleOptionViewItem& Option, const QModelIndex& Index) const override
    {
        FForm->LB1DrawItem(*Painter, Index.row(), Option.rect, Option.state & QStyle::State_Selected);
    }
    QSize sizeHint(const QStyleOptionViewItem& Option, const QModelIndex& Index) const override
    {
        return QSize(QStyledItemDelegate::sizeHint(Option, Index).width() + 24, 18);
    }

private:
    const TfrDocOptForm* FForm;
};

} // namespace

TfrDocOptForm::TfrDocOptForm(QWidget* AOwner) : TForm(AOwner), Image1(PrinterIcon())
{
    setObjectName(QStringLiteral("frDocOptForm"));
    SetBorderStyle(bsDialog);
    SetPosition(poScreenCenter);
    SetClientSize(361, 289);
    SetCaption(LoadEngineString(53370));
    Prop = new QTabWidget(this);
    Prop->setGeometry(8, 8, 345, 242);

    General = new QWidget;
    Prop->addTab(General, LoadEngineString(55656));
    auto* Printer = new QGroupBox(LoadEngineString(53371), General);
    Printer->setGeometry(6, 4, 329, 128);
    LB1 = new QListWidget(Printer);
    LB1->setGeometry(8, 20, 313, 78);
    LB1->setItemDelegate(new TPrinterDelegate(this, LB1));
    CB1 = new QCheckBox(LoadEngineString(53372).remove(u'&'), Printer);
    CB1->setGeometry(8, 104, 313, 18);
    auto* Other = new QGroupBox(LoadEngineString(53373), General);
    Other->setGeometry(6, 136, 329, 70);
    CB2 = new QCheckBox(LoadEngineString(53374).remove(u'&'), Other);
    CB2->setGeometry(8, 20, 313, 18);
    CB3 = new QCheckBox(LoadEngineString(55657), Other);
    CB3->setGeometry(8, 42, 313, 18);

    Documents = new QWidget;
    Prop->addTab(Documents, LoadEngineString(55658));
    auto* Attribute = new QGroupBox(LoadEngineString(55659), Documents);
    Attribute->setGeometry(6, 4, 329, 206);
    Label(Attribute, 55660, 8, 20);
    E1 = Edit(Attribute, 80, 18, 241);
    Label(Attribute, 55661, 8, 44);
    E2 = Edit(Attribute, 80, 42, 241);
    Label(Attribute, 55668, 8, 68);
    M1 = new TMemo(Attribute);
    M1->setGeometry(80, 66, 241, 50);
    Label(Attribute, 55662, 8, 124);
    for (int i = 0; i < 4; ++i)
        Label(Attribute, 55663 + i, 80 + i * 61, 122)->resize(56, 16);
    E3 = Edit(Attribute, 80, 138, 56);
    E4 = Edit(Attribute, 141, 138, 56);
    E5 = Edit(Attribute, 202, 138, 56);
    E6 = Edit(Attribute, 263, 138, 58);
    Label(Attribute, 55670, 8, 166);
    LM1 = new QLabel(Attribute);
    LM1->setGeometry(80, 166, 241, 18);
    Label(Attribute, 55669, 8, 184);
    LM2 = new QLabel(Attribute);
    LM2->setGeometry(80, 184, 241, 18);

    Button1 = new TButton(this);
    Button1->SetCaption(LoadEngineString(55000));
    Button1->SetModalResult(mrOk);
    Button1->SetDefault(true);
    Button1->setGeometry(198, 258, 75, 25);
    Button2 = new TButton(this);
    Button2->SetCaption(LoadEngineString(55001));
    Button2->SetModalResult(mrCancel);
    Button2->SetCancel(true);
    Button2->setGeometry(278, 258, 75, 25);
}

void TfrDocOptForm::LB1DrawItem(QPainter& Canvas, int Index, const QRect& Rect, bool Selected) const
{
    Canvas.save();
    const QPalette& P = LB1->palette();
    Canvas.fillRect(Rect, Selected ? P.highlight() : P.base());
    Canvas.drawPixmap(Rect.left() + 2 + (18 - Image1.width()) / 2, Rect.top() + (Rect.height() - Image1.height()) / 2,
                      Image1);
    Canvas.setPen(Selected ? P.highlightedText().color() : P.text().color());
    Canvas.drawText(QRect(Rect.left() + 24, Rect.top() + 1, Rect.width() - 24, Rect.height() - 1),
                    Qt::AlignLeft | Qt::AlignVCenter, LB1->item(Index)->text());
    Canvas.restore();
}
