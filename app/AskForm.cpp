#include "app/AskForm.h"

#include "platform/gui/Buttons.h"

#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>

TFormAsk* FormAsk = nullptr;

namespace {

// The picture on the left: a key on a soft blue disc.
QPixmap AskPicture(QSize Size)
{
    QPixmap Picture(Size);
    Picture.fill(Qt::transparent);
    QPainter P(&Picture);
    P.setRenderHint(QPainter::Antialiasing);
    const QRectF Disc = QRectF(QPointF(0, 0), QSizeF(Size)).adjusted(10, 10, -10, -10);
    QRadialGradient Fill(Disc.center(), Disc.width() / 2);
    Fill.setColorAt(0, QColor(0xDD, 0xEB, 0xF7));
    Fill.setColorAt(1, QColor(0x9C, 0xC3, 0xE6));
    P.setPen(QPen(QColor(0x5B, 0x8F, 0xC7), 2));
    P.setBrush(Fill);
    P.drawEllipse(Disc);
    const QPointF C = Disc.center();
    P.setPen(QPen(QColor(0xB8, 0x86, 0x0B), 7, Qt::SolidLine, Qt::RoundCap));
    P.setBrush(Qt::NoBrush);
    P.drawEllipse(C + QPointF(-18, -10), 14, 14);
    P.drawLine(C + QPointF(-6, -2), C + QPointF(26, 22));
    P.drawLine(C + QPointF(16, 14), C + QPointF(10, 22));
    P.drawLine(C + QPointF(23, 19), C + QPointF(18, 27));
    return Picture;
}

} // namespace

TFormAsk::TFormAsk(QWidget* AOwner) : TForm(AOwner)
{
    setObjectName(QStringLiteral("FormAsk"));
    SetBorderStyle(bsNone);
    SetPosition(poDesktopCenter);
    SetClientSize(496, 174);
    QFont F(QStringLiteral("宋体"));
    F.setPixelSize(12);
    setFont(F);

    QPainterPath Shape;
    Shape.addRoundedRect(QRectF(0, 0, 496, 174), 18, 18);
    setMask(QRegion(Shape.toFillPolygon().toPolygon()));

    Image1 = new QLabel(this);
    Image1->setGeometry(14, 14, 146, 146);
    Image1->setPixmap(AskPicture(Image1->size()));

    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(176, 22, 297, 40);
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setWordWrap(true);

    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setGeometry(176, 70, 297, 24);

    BitBtn1 = new TBitBtn(this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->SetKind(bkOK);
    BitBtn1->SetCaption(QStringLiteral("确定"));
    BitBtn1->setGeometry(212, 118, 90, 30);
    BitBtn1->OnClick = [this](QObject* Sender) { BitBtn1Click(Sender); };

    BitBtn2 = new TBitBtn(this);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    BitBtn2->SetKind(bkCancel);
    BitBtn2->SetCaption(QStringLiteral("取消"));
    BitBtn2->setGeometry(340, 118, 90, 30);

    OnShow = [this](QObject* Sender) { FormShow(Sender); };
}

void TFormAsk::FormShow(QObject*)
{
    SetCaption(AskCaption);
    Label1->setText(AskPrompt);
    Edit1->setText(AskText);
    SetActiveControl(Edit1);
}

void TFormAsk::BitBtn1Click(QObject*)
{
    AskText = Edit1->text();
}
