#include "report/designer/FR_Hilit.h"

#include "platform/gui/ColorDialog.h"
#include "platform/gui/StdCtrls.h"
#include "report/designer/FR_Desgn.h"
#include "report/designer/FR_Expr.h"
#include "report/engine/FR_Ctrls.h"
#include "report/engine/FR_Utils.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QPainter>
#include <QRadioButton>

namespace {

// Our glyphs: a letter "A" for the font colour, a paint pot for the
// background; the bottom rows carry the swatch.
std::unique_ptr<TBitmap> ColourGlyph(bool Font)
{
    QImage G(16, 16, QImage::Format_RGB32);
    G.fill(ColorToQColor(clOlive));
    QPainter P(&G);
    P.setPen(Qt::black);
    if (Font) {
        QFont F(QStringLiteral("Arial"));
        F.setPixelSize(12);
        F.setBold(true);
        P.setFont(F);
        P.drawText(QRect(0, 0, 16, 12), Qt::AlignCenter, QStringLiteral("A"));
    } else {
        P.setBrush(Qt::white);
        P.drawPolygon(QPolygon({QPoint(3, 5), QPoint(8, 1), QPoint(13, 6), QPoint(8, 11)}));
        P.drawLine(13, 6, 14, 10);
    }
    P.end();
    auto B = std::make_unique<TBitmap>();
    B->LoadFromImage(G);
    return B;
}

} // namespace

TfrHilightForm::TfrHilightForm(QWidget* AOwner) : TForm(AOwner)
{
    setObjectName(QStringLiteral("frHilightForm"));
    SetBorderStyle(bsDialog);
    SetPosition(poScreenCenter);
    SetClientSize(229, 253);
    SetCaption(LoadEngineString(53520));
    auto* GroupBox3 = new QGroupBox(LoadEngineString(53521).remove(u'&'), this);
    GroupBox3->setGeometry(8, 4, 213, 50);
    Edit1 = new TfrComboEdit(GroupBox3);
    Edit1->setGeometry(8, 20, 197, 21);
    Edit1->SetButtonHint(LoadEngineString(53575));
    Edit1->OnButtonClick = [this](QObject*) { Edit1ButtonClick(); };
    auto* GroupBox1 = new QGroupBox(LoadEngineString(53522), this);
    GroupBox1->setGeometry(8, 58, 213, 82);
    CB1 = new QCheckBox(LoadEngineString(53524).remove(u'&'), GroupBox1);
    CB1->setGeometry(8, 18, 100, 18);
    CB2 = new QCheckBox(LoadEngineString(53525).remove(u'&'), GroupBox1);
    CB2->setGeometry(8, 38, 100, 18);
    CB3 = new QCheckBox(LoadEngineString(53526).remove(u'&'), GroupBox1);
    CB3->setGeometry(8, 58, 100, 18);
    SpeedButton1 = new TfrSpeedButton(GroupBox1);
    SpeedButton1->setObjectName(QStringLiteral("SpeedButton1"));
    SpeedButton1->SetGlyph(ColourGlyph(true).get());
    SpeedButton1->SetCaption(LoadEngineString(53523));
    SpeedButton1->setGeometry(112, 18, 93, 25);
    SpeedButton1->OnClick = [this](QObject*) { SpeedButton1Click(); };
    auto* GroupBox2 = new QGroupBox(LoadEngineString(53527), this);
    GroupBox2->setGeometry(8, 144, 213, 68);
    RB1 = new QRadioButton(LoadEngineString(53529).remove(u'&'), GroupBox2);
    RB1->setGeometry(8, 18, 100, 18);
    RB1->setChecked(true);
    RB2 = new QRadioButton(LoadEngineString(53530).remove(u'&'), GroupBox2);
    RB2->setGeometry(8, 40, 100, 18);
    SpeedButton2 = new TfrSpeedButton(GroupBox2);
    SpeedButton2->setObjectName(QStringLiteral("SpeedButton2"));
    SpeedButton2->SetGlyph(ColourGlyph(false).get());
    SpeedButton2->SetCaption(LoadEngineString(53528));
    SpeedButton2->setGeometry(112, 36, 93, 25);
    SpeedButton2->OnClick = [this](QObject*) { SpeedButton2Click(); };
    QObject::connect(RB1, &QRadioButton::toggled, this, [this] { RB1Click(); });
    Button3 = new TButton(this);
    Button3->SetCaption(LoadEngineString(55000));
    Button3->SetModalResult(mrOk);
    Button3->SetDefault(true);
    Button3->setGeometry(66, 220, 75, 25);
    Button4 = new TButton(this);
    Button4->SetCaption(LoadEngineString(55001));
    Button4->SetModalResult(mrCancel);
    Button4->SetCancel(true);
    Button4->setGeometry(146, 220, 75, 25);
    OnShow = [this](QObject*) { FormActivate(); };
}

void TfrHilightForm::FormActivate()
{
    (FillColor != 0x1FFFFFFF ? RB2 : RB1)->setChecked(true);
    RB1Click();
}

void TfrHilightForm::DrawSwatches()
{
    if (auto* D = dynamic_cast<TfrDesignerForm*>(frDesigner)) {
        D->SetColorGlyph(SpeedButton1, FontColor);
        D->SetColorGlyph(SpeedButton2, FillColor);
    }
}

void TfrHilightForm::SpeedButton1Click()
{
    TColorDialog Dialog;
    Dialog.SetColor(static_cast<TColor>(FontColor));
    if (!Dialog.Execute())
        return;
    FontColor = static_cast<uint32_t>(Dialog.Color());
    DrawSwatches();
}

void TfrHilightForm::SpeedButton2Click()
{
    TColorDialog Dialog;
    Dialog.SetColor(static_cast<TColor>(FillColor));
    if (!Dialog.Execute())
        return;
    FillColor = static_cast<uint32_t>(Dialog.Color());
    DrawSwatches();
}

void TfrHilightForm::Edit1ButtonClick()
{
    TfrExprForm Expr;
    Expr.ExprMemo->setPlainText(Edit1->text());
    if (Expr.ShowModal() == mrOk)
        Edit1->setText(Expr.Text());
}

void TfrHilightForm::RB1Click()
{
    SpeedButton2->setEnabled(RB2->isChecked());
    if (RB1->isChecked())
        FillColor = 0x1FFFFFFF;
    DrawSwatches();
}
