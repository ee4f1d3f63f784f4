#include "app/ShownValues.h"

#include "app/PublicFunction.h"

#include <QComboBox>
#include <QLineEdit>

namespace {

QString BoxText(const QWidget* Box)
{
    if (const auto* Combo = qobject_cast<const QComboBox*>(Box))
        return Combo->currentText();
    if (const auto* Edit = qobject_cast<const QLineEdit*>(Box))
        return Edit->text();
    return QString();
}

} // namespace

void TShownValues::ShowAmount(QLineEdit* Edit, double Value)
{
    Edit->setText(RoundStr(Value));
    Keep(Edit, Variant(Value));
}

void TShownValues::ShowChoice(QComboBox* Combo, const QString& Text, const Variant& Value)
{
    bool Listed = false;
    for (int I = 0; I < Combo->count() && !Listed; ++I)
        Listed = Combo->itemText(I) == Text;
    if (Listed)
        SelectComboText(Combo, Text);
    else if (Text.isEmpty())
        Combo->setCurrentIndex(-1);
    else {
        Combo->addItem(Text);
        Combo->setCurrentIndex(Combo->count() - 1);
    }
    Keep(Combo, Value);
}

void TShownValues::Keep(const QWidget* Box, const Variant& Value)
{
    const TShown Shown{Box, BoxText(Box), Value};
    for (TShown& S : FShown) {
        if (S.Box == Box) {
            S = Shown;
            return;
        }
    }
    FShown.append(Shown);
}

const TShownValues::TShown* TShownValues::Find(const QWidget* Box) const
{
    for (const TShown& S : FShown)
        if (S.Box == Box)
            return &S;
    return nullptr;
}

bool TShownValues::Unchanged(const QWidget* Box) const
{
    const TShown* S = Find(Box);
    return S && BoxText(Box) == S->Text;
}

Variant TShownValues::Value(const QWidget* Box, const Variant& Typed) const
{
    return Unchanged(Box) ? Find(Box)->Value : Typed;
}

double TShownValues::Amount(const QLineEdit* Edit, double Typed) const
{
    return Value(Edit, Variant(Typed)).AsFloat();
}

QString TShownValues::Text(const QComboBox* Combo) const
{
    return Value(Combo, Variant(Combo->currentText())).AsString();
}
