#include "app/Phone2Form.h"

#include "platform/gui/Buttons.h"
#include "platform/gui/Controls.h"
#include "platform/gui/Graphics.h"

#include <QAction>
#include <QLabel>

TFormPhone2* FormPhone2 = nullptr;

namespace {

constexpr TColor Ink = 0x6E4A1E;       // dark blue outlines
constexpr TColor Body = 0xF0CAA6;      // soft blue bodies
constexpr TColor Accent = 0x3A7AF0;    // orange signal and arrows

// The diagram: a ringing telephone, the caller-ID box on its line and the
// computer that receives the number, joined by arrows.
class TPhoneDiagram : public TCustomControl
{
public:
    explicit TPhoneDiagram(QWidget* AParent) : TCustomControl(AParent) { setFocusPolicy(Qt::NoFocus); }

    void Paint() override
    {
        TCanvas* C = Canvas();
        C->Brush()->SetColor(clWhite);
        C->FillRect(ClientRect());
        C->Pen()->SetColor(Ink);
        C->Pen()->SetWidth(2);
        DrawTelephone(C, 30, 44);
        DrawBox(C, 250, 62);
        DrawComputer(C, 450, 30);
        DrawArrow(C, 140, 85, 240);
        DrawArrow(C, 360, 85, 440);
    }

private:
    static void DrawTelephone(TCanvas* C, int X, int Y)
    {
        C->Brush()->SetColor(Body);
        C->RoundRect(X + 10, Y + 30, X + 100, Y + 90, 16, 16);           // base
        C->RoundRect(X, Y + 10, X + 110, Y + 32, 20, 20);                  // handset
        C->Brush()->SetColor(clWhite);
        C->Ellipse(X + 35, Y + 44, X + 75, Y + 84);                        // dial
        C->Pen()->SetColor(Accent);
        const QPoint Rings[3][2] = {{{X + 100, Y}, {X + 104, Y - 12}},          // ringing marks
                                    {{X + 110, Y + 4}, {X + 122, Y - 6}},
                                    {{X + 114, Y + 14}, {X + 128, Y + 10}}};
        for (const auto& Ring : Rings) {
            C->MoveTo(Ring[0].x(), Ring[0].y());
            C->LineTo(Ring[1].x(), Ring[1].y());
        }
        C->Pen()->SetColor(Ink);
    }

    static void DrawBox(TCanvas* C, int X, int Y)
    {
        C->Brush()->SetColor(Body);
        C->RoundRect(X, Y, X + 100, Y + 46, 10, 10);
        C->Brush()->SetColor(clBlack);
        C->Rectangle(X + 14, Y + 12, X + 86, Y + 30);                      // number display
        C->Brush()->SetStyle(bsClear);
        C->Font()->SetColor(0x00FF00);
        C->TextOut(X + 18, Y + 14, QStringLiteral("138****"));
        C->Font()->SetColor(clBlack);
        C->TextOut(X + 40, Y + 50, QStringLiteral("USB"));
    }

    static void DrawComputer(TCanvas* C, int X, int Y)
    {
        C->Brush()->SetColor(Body);
        C->RoundRect(X, Y, X + 120, Y + 84, 8, 8);                         // screen
        C->Brush()->SetColor(clWhite);
        C->Rectangle(X + 10, Y + 10, X + 110, Y + 74);
        C->Brush()->SetColor(Body);
        C->Rectangle(X + 50, Y + 84, X + 70, Y + 100);                     // stand
        C->Rectangle(X + 25, Y + 100, X + 95, Y + 108);
        C->Pen()->SetColor(Accent);
        for (int Row = 0; Row < 3; ++Row) {                                // the customer's card
            C->MoveTo(X + 20, Y + 24 + Row * 16);
            C->LineTo(X + 90 - Row * 20, Y + 24 + Row * 16);
        }
        C->Pen()->SetColor(Ink);
    }

    static void DrawArrow(TCanvas* C, int X1, int Y, int X2)
    {
        C->Pen()->SetColor(Accent);
        C->Brush()->SetColor(Accent);
        C->MoveTo(X1, Y);
        C->LineTo(X2 - 10, Y);
        C->Polygon({QPoint(X2, Y), QPoint(X2 - 12, Y - 6), QPoint(X2 - 12, Y + 6)});
        C->Pen()->SetColor(Ink);
    }
};

QLabel* AddCaption(QWidget* Parent, const QString& Text, const QRect& Bounds, Qt::Alignment Align = Qt::AlignCenter)
{
    auto* Label = new QLabel(Text, Parent);
    Label->setGeometry(Bounds);
    Label->setAlignment(Align);
    return Label;
}

} // namespace

TFormPhone2::TFormPhone2(QWidget* AOwner) : TForm(AOwner)
{
    setObjectName(QStringLiteral("FormPhone2"));
    SetCaption(QStringLiteral("来电显示原理图（需要配合USB来电显示盒使用）"));
    SetBorderStyle(bsDialog);
    SetPosition(poScreenCenter);
    Font()->SetName(QStringLiteral("宋体"));
    Font()->SetHeight(-12);
    SetClientSize(640, 320);

    Image1 = new TPhoneDiagram(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(10, 10, 620, 150);
    AddCaption(this, QStringLiteral("【收到未知电话】"), QRect(10, 164, 200, 18));
    AddCaption(this, QStringLiteral("【将接收到的来电号码】"), QRect(210, 164, 220, 18));
    AddCaption(this, QStringLiteral("【上传到电脑进行分析】"), QRect(210, 184, 220, 18));
    AddCaption(this, QStringLiteral("【对来电号码实时分析，来电弹屏，显示该客户的相关信息和资料】"), QRect(10, 212, 620, 18));
    AddCaption(this, QStringLiteral("【功能用途：一、显示客户资料和交易记录　二、提示客户特征，】"), QRect(30, 242, 600, 18),
            Qt::AlignLeft | Qt::AlignVCenter);
    AddCaption(this, QStringLiteral("【掌握主动　三、提高业务的效率和成功率　四、提示黑名单电话】"), QRect(30, 262, 600, 18),
            Qt::AlignLeft | Qt::AlignVCenter);

    ActionClose = new QAction(QStringLiteral("关闭窗口"), this);
    ActionClose->setObjectName(QStringLiteral("ActionClose"));
    BitBtn1 = new TBitBtn(this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->SetCaption(ActionClose->text());
    BitBtn1->setGeometry(534, 284, 96, 28);
    BitBtn1->OnClick = [this](QObject*) { ActionClose->trigger(); };
    QObject::connect(ActionClose, &QAction::triggered, this, [this] { ActionCloseExecute(ActionClose); });
}

void TFormPhone2::ActionCloseExecute(QObject*)
{
    SetModalResult(mrCancel);
}
