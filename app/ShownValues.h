// What a record window showed of its stored row, box by box: the stored value
// and the text the box showed for it. While a box still shows that text, the
// save writes the stored value back, so a value the user did not change is
// stored as it was read, also where the box cannot show it exactly (amounts
// are shown to four decimals) or its list does not hold it (a choice renamed
// on the parameter page since, an account the session does not list). It
// neither reads nor writes the database.
#pragma once

#include "platform/rtl/Variants.h"

#include <QList>
#include <QString>

class QComboBox;
class QLineEdit;
class QWidget;

class TShownValues
{
public:
    // A new showing: nothing shown yet.
    void Clear() { FShown.clear(); }

    // Shows a stored amount as every amount is shown (RoundStr).
    void ShowAmount(QLineEdit* Edit, double Value);
    // Selects the stored Text in Combo. A text its list does not hold is
    // added to the list, so that the box shows it; an empty one leaves no
    // item selected. Value is what the row stores for it: the text itself,
    // or the index of the row the text names.
    void ShowChoice(QComboBox* Combo, const QString& Text, const Variant& Value);
    void ShowChoice(QComboBox* Combo, const QString& Text) { ShowChoice(Combo, Text, Variant(Text)); }

    // True when Box was shown a stored value and still shows its text.
    bool Unchanged(const QWidget* Box) const;
    // The stored value of Box while it is unchanged, else Typed.
    Variant Value(const QWidget* Box, const Variant& Typed) const;
    double Amount(const QLineEdit* Edit, double Typed) const;
    // The stored text of Combo while it is unchanged, else its current text.
    QString Text(const QComboBox* Combo) const;

private:
    struct TShown
    {
        const QWidget* Box;
        QString Text; // as the box showed it
        Variant Value;
    };
    void Keep(const QWidget* Box, const Variant& Value);
    const TShown* Find(const QWidget* Box) const;

    QList<TShown> FShown;
};
