// TCardPage: building one card page and showing what LoadCardPage read.
#include "app/CardPage.h"

#include "app/ShareDM.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/StdCtrls.h"

#include <QEvent>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>

namespace {

constexpr int CardWidth = 209;
constexpr int CardHeight = 79;
constexpr int CardLefts[3] = {8, 224, 440};
constexpr int CardTops[5] = {8, 94, 180, 266, 352};
constexpr int RowTops[3] = {9, 31, 53};

struct TPageLook
{
    const char* NoDataName;
    QString NewCaption;
    QString Captions[3];    // static captions, top to bottom
    int Rows[3];            // which value sits on each row: 0 name, 1 money, 2 extra
    const char* Names[4];   // component stems of name, money, extra and type labels
};

const TPageLook& LookOf(TCardKind Kind)
{
    static const TPageLook Looks[4] = {
        {"Image9", QStringLiteral("新增客户"),
         {QStringLiteral("名称："), QStringLiteral("货款："), QStringLiteral("欠款：")}, {0, 1, 2},
         {"CustomerName", "CustomerMoney", "CustomerOwe", "CustomerType"}},
        {"Image8", QStringLiteral("新增业务单据"),
         {QStringLiteral("客户："), QStringLiteral("金额："), QStringLiteral("已收：")}, {0, 1, 2},
         {"BillName", "BillMoney", "BillPay", "BillType"}},
        {"Image22", QStringLiteral("新增财务单据"),
         {QStringLiteral("客户："), QStringLiteral("类型："), QStringLiteral("金额：")}, {0, 2, 1},
         {"MoneyName", "MoneyMoney", "MoneyKind", "MoneyType"}},
        {"Image12", QStringLiteral("新增帐户"),
         {QStringLiteral("名称："), QStringLiteral("金额："), QStringLiteral("当月：")}, {0, 1, 2},
         {"AccountName", "AccountMoney", "AccountMonth", nullptr}},
    };
    return Looks[static_cast<int>(Kind)];
}

QLabel* NewLabel(QWidget* Parent, const QString& Name, const QString& Caption, const QRect& Bounds)
{
    auto* L = new QLabel(Caption, Parent);
    L->setObjectName(Name);
    L->setGeometry(Bounds);
    // Clicks and moves over a label belong to its card.
    L->setAttribute(Qt::WA_TransparentForMouseEvents);
    return L;
}

void SetTextColor(QLabel* Label, TColor Color)
{
    QPalette P = Label->palette();
    const QColor C = ColorToQColor(Color);
    if (P.color(QPalette::WindowText) == C)
        return;
    P.setColor(QPalette::WindowText, C);
    Label->setPalette(P);
}

// The picture a page shows when it has no records: an empty tray.
QImage NoDataPicture()
{
    QImage Image(220, 120, QImage::Format_ARGB32_Premultiplied);
    // Square corners: the sheet's own background differs between styles.
    Image.fill(QColor(0xF2, 0xF6, 0xFC));
    QPainter P(&Image);
    P.setPen(QPen(QColor(0xA8, 0xBC, 0xD8), 1));
    P.drawRect(0, 0, 219, 119);
    P.setRenderHint(QPainter::Antialiasing);
    P.setPen(QPen(QColor(0xA8, 0xBC, 0xD8), 2));
    QPainterPath Tray;
    Tray.moveTo(78, 40);
    Tray.lineTo(142, 40);
    Tray.lineTo(154, 62);
    Tray.lineTo(154, 82);
    Tray.lineTo(66, 82);
    Tray.lineTo(66, 62);
    Tray.closeSubpath();
    P.setBrush(QColor(0xE1, 0xEA, 0xF6));
    P.drawPath(Tray);
    P.drawLine(QPointF(66, 62), QPointF(92, 62));
    P.drawLine(QPointF(128, 62), QPointF(154, 62));
    P.drawArc(QRectF(92, 54, 36, 16), 180 * 16, 180 * 16);
    P.setPen(QColor(0x6A, 0x80, 0xA0));
    QFont F(QStringLiteral("宋体"));
    F.setPixelSize(12);
    P.setFont(F);
    P.drawText(QRectF(0, 90, 220, 22), Qt::AlignCenter, QStringLiteral("没有记录"));
    return Image;
}

} // namespace

// ---------------------------------------------------------------- TCardPanel

TCardPanel::TCardPanel(QWidget* AParent) : TCustomControl(AParent)
{
    SetCursor(crHandPoint);
}

void TCardPanel::Paint()
{
    TCanvasState Keep(Canvas());
    Canvas()->Brush()->SetColor(Color());
    Canvas()->FillRect(ClientRect());
    QRect R = ClientRect();
    Canvas()->DrawEdge(R, EDGE_RAISED, BF_RECT);
}

// ---------------------------------------------------------------- TCardPage

TCardPage::TCardPage(TCardKind Kind, QWidget* Sheet, int& PageIndex)
    : QObject(Sheet), FKind(Kind), FSheet(Sheet), FPageIndex(PageIndex)
{
    setObjectName(CardPageWord(Kind) + QStringLiteral("Cards"));
    for (int I = 0; I < CardsPerPage; ++I)
        BuildCard(I);
    BuildBottom();
    // Leaving the cards for the sheet puts every card back.
    FSheet->setMouseTracking(true);
    FSheet->installEventFilter(this);
}

TCardPage::~TCardPage() = default;

void TCardPage::BuildCard(int I)
{
    const TPageLook& Look = LookOf(FKind);
    const QString No = QString::number(I + 1);
    auto* Panel = new TCardPanel(FSheet);
    Panel->setObjectName(CardPageWord(FKind) + QStringLiteral("Panel") + No);
    Panel->setGeometry(CardLefts[I % 3], CardTops[I / 3], CardWidth, CardHeight);
    Panel->OnClick = [this](QObject* Sender) { CardClick(Sender); };
    Panel->OnMouseMove = [this](QObject* Sender, TShiftState, int, int) { CardMouseMove(Sender); };
    Panel->hide();
    Panels[I] = Panel;
    QPalette P = Panel->palette();
    P.setColor(QPalette::Window, ColorToQColor(clBtnFace));
    Panel->setPalette(P);

    auto* Image = new TImage(Panel);
    Image->setObjectName(CardPageWord(FKind) + QStringLiteral("Image") + No);
    Image->setGeometry(6, 8, 41, 41);
    Image->SetCenter(true);
    Image->setAttribute(Qt::WA_TransparentForMouseEvents);
    Image->setAttribute(Qt::WA_OpaquePaintEvent, false);
    Images[I] = Image;

    std::array<QLabel*, CardsPerPage>* Values[3] = {&Names, &Moneys, &Extras};
    for (int Row = 0; Row < 3; ++Row) {
        const int Which = Look.Rows[Row];
        NewLabel(Panel, QString(), Look.Captions[Row], QRect(54, RowTops[Row], 40, 16));
        (*Values[Which])[I] = NewLabel(Panel, QString::fromLatin1(Look.Names[Which]) + No, QString(),
                                       QRect(92, RowTops[Row], 112, 16));
    }
    if (Look.Names[3]) {
        Types[I] = NewLabel(Panel, QString::fromLatin1(Look.Names[3]) + No, QString(), QRect(2, 56, 50, 16));
        Types[I]->setAlignment(Qt::AlignCenter);
    }
}

void TCardPage::BuildBottom()
{
    const TPageLook& Look = LookOf(FKind);
    const QString Word = CardPageWord(FKind);
    NoDataImage = new TImage(FSheet);
    NoDataImage->setObjectName(QString::fromLatin1(Look.NoDataName));
    NoDataImage->setGeometry(8 + (641 - 220) / 2, 8 + (423 - 120) / 2, 220, 120);
    NoDataImage->SetCenter(true);
    auto Picture = std::make_unique<TBitmap>();
    Picture->LoadFromImage(NoDataPicture());
    NoDataImage->Picture()->SetGraphic(std::move(Picture));
    NoDataImage->hide();

    auto NewButtonAt = [this](const QString& Name, const QString& Caption, const QRect& Bounds) {
        auto* B = new TButton(FSheet);
        B->setObjectName(Name);
        B->SetCaption(Caption);
        B->setGeometry(Bounds);
        return B;
    };
    PriorButton = NewButtonAt(Word + QStringLiteral("Prior"), QStringLiteral("上一页"), QRect(368, 448, 64, 26));
    NewButton = NewButtonAt(QStringLiteral("New") + Word, Look.NewCaption, QRect(436, 448, 144, 26));
    NextButton = NewButtonAt(Word + QStringLiteral("Next"), QStringLiteral("下一页"), QRect(584, 448, 64, 26));
    PriorButton->setEnabled(false);
    NextButton->setEnabled(false);
    PriorButton->OnClick = [this](QObject* Sender) { PriorClick(Sender); };
    NextButton->OnClick = [this](QObject* Sender) { NextClick(Sender); };

    SumLabel = new QLabel(FSheet);
    SumLabel->setObjectName(Word + QStringLiteral("Sum"));
    SumLabel->setGeometry(368, 480, 280, 18);
    SumLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
}

bool TCardPage::Refresh()
{
    const TCardSettings Settings = SettingsSource ? SettingsSource() : TCardSettings{};
    // Nothing on the page changes until the whole page has been read.
    const std::optional<TCardPageData> Page = LoadCardPage(FKind, Settings, FPageIndex);
    if (!Page)
        return false;
    ShowPage(*Page);
    return true;
}

void TCardPage::ShowPage(const TCardPageData& Page)
{
    FPageIndex = Page.PageIndex;
    SumLabel->setText(Page.SumCaption);
    PriorButton->setEnabled(Page.PriorEnabled);
    NextButton->setEnabled(Page.NextEnabled);
    NoDataImage->setVisible(Page.Count < 1);
    for (int I = 0; I < CardsPerPage; ++I) {
        if (I < static_cast<int>(Page.Cards.size())) {
            ShowCard(I, Page.Cards[I]);
            Panels[I]->show();
        } else {
            Panels[I]->hide();
        }
    }
}

void TCardPage::ShowCard(int I, const TCardData& Card)
{
    Panels[I]->SetTag(Card.Tag);
    Names[I]->setText(Card.Name);
    Moneys[I]->setText(Card.Money);
    Extras[I]->setText(Card.Extra);
    if (Types[I])
        Types[I]->setText(Card.Type);
    const TColor Color = Card.Amount >= 0 ? CardPositiveColor : CardNegativeColor;
    for (QLabel* L : {Names[I], Moneys[I], Extras[I], Types[I]})
        if (L)
            SetTextColor(L, Color);
    // The same icon is not read again on every refresh.
    if (FIconShown[I] == Card.Icon)
        return;
    try {
        Images[I]->Picture()->LoadFromFile(AppPath + Card.Icon);
        FIconShown[I] = Card.Icon;
    } catch (const Exception&) {
        // A missing icon leaves the card without one rather than stopping the
        // page; it is looked for again on the next refresh.
        Images[I]->Picture()->Clear();
        FIconShown[I].clear();
    }
    Images[I]->Invalidate();
}

void TCardPage::HighlightCard(int Number)
{
    for (int I = 0; I < CardsPerPage; ++I)
        SetCardColor(I, I + 1 == Number ? CardHotColor : clBtnFace);
}

void TCardPage::SetCardColor(int I, TColor Color)
{
    TCardPanel* Panel = Panels[I];
    if (Panel->Color() == Color)
        return;
    Panel->SetColor(Color);
    // The image paints the panel's background around its icon.
    QPalette P = Panel->palette();
    P.setColor(QPalette::Window, ColorToQColor(Color));
    Panel->setPalette(P);
    Images[I]->Invalidate();
}

int TCardPage::CardOf(QObject* Sender) const
{
    for (int I = 0; I < CardsPerPage; ++I)
        if (Sender == Panels[I] || Sender == Images[I] || Sender == Names[I] || Sender == Moneys[I]
            || Sender == Extras[I] || (Types[I] && Sender == Types[I]))
            return I + 1;
    return 0;
}

void TCardPage::CardClick(QObject* Sender)
{
    const int Number = CardOf(Sender);
    if (Number > 0 && OnCardClick)
        OnCardClick(this, Number);
}

void TCardPage::CardMouseMove(QObject* Sender)
{
    HighlightCard(CardOf(Sender));
}

void TCardPage::PriorClick(QObject*)
{
    if (FPageIndex > 0)
        --FPageIndex;
    Refresh();
}

void TCardPage::NextClick(QObject*)
{
    ++FPageIndex;
    Refresh();
}

bool TCardPage::eventFilter(QObject* Watched, QEvent* Event)
{
    if (Watched == FSheet && Event->type() == QEvent::MouseMove)
        HighlightCard(0);
    return QObject::eventFilter(Watched, Event);
}
