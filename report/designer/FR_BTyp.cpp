#include "report/designer/FR_BTyp.h"

#include "platform/gui/StdCtrls.h"
#include "report/designer/FR_DsgPage.h"
#include "report/engine/FR_BandView.h"
#include "report/engine/FR_Utils.h"

#include <QFontMetrics>
#include <QGroupBox>
#include <QRadioButton>

TfrBandTypesForm::TfrBandTypesForm()
    : TForm(nullptr)
{
    setObjectName(QStringLiteral("frBandTypesForm"));
    SetClientSize(258, 289);
    GB1 = new QGroupBox(this);
    GB1->move(8, 4);
    Button1 = new TButton(this);
    Button1->SetModalResult(mrOk);
    Button1->SetDefault(true);
    Button2 = new TButton(this);
    Button2->SetModalResult(mrCancel);
    Button2->SetCancel(true);
    OnShow = [this](QObject*) { FormShow(); };
}

void TfrBandTypesForm::FormShow()
{
    const QFontMetrics M(font());
    int W = 0;
    for (int t = 0; t < btNone; ++t)
        W = std::max(W, M.horizontalAdvance(frBandName(t)));
    W += 20;
    const int Rows = 11;
    GB1->resize(2 * W + 54, 20 + 20 * Rows + 8);
    SetClientSize(GB1->width() + 2 * GB1->x(), GB1->y() + GB1->height() + 40);
    Button1->resize(75, 25);
    Button2->resize(75, 25);
    Button2->move(width() - 5 - Button2->width(), height() - 32);
    Button1->move(Button2->x() - 5 - Button1->width(), height() - 32);

    qDeleteAll(FButtons);
    FButtons.clear();
    bool Chosen = false;
    for (int t = 0; t < btNone; ++t) {
        auto* B = new QRadioButton(frBandName(t), GB1);
        const int Column = t / Rows, Row = t % Rows;
        B->setGeometry(Column == 0 ? 12 : W + 42, 20 + 20 * Row, M.horizontalAdvance(frBandName(t)) + 20, 18);
        bool Enabled = (t >= 4 && t <= 12) || t == 16 || t == 17 || t == 21 || !PageHasBandType(t);
        if (IsSubreport && ((t >= 0 && t <= 3) || (t >= 14 && t <= 17)))
            Enabled = false;
        B->setEnabled(Enabled);
        if (Enabled && !Chosen) {
            B->setChecked(true);
            SelectedTyp = t;
            Chosen = true;
        }
        QObject::connect(B, &QRadioButton::clicked, this, [this, t] { SelectedTyp = t; });
        B->show();
        FButtons.push_back(B);
    }
    SetCaption(LoadEngineString(53510));
    GB1->setTitle(LoadEngineString(53511));
    Button1->SetCaption(LoadEngineString(55000));
    Button2->SetCaption(LoadEngineString(55001));
}
