#include "platform/gui/EditChars.h"

#include <QLineEdit>
#include <QProxyStyle>

namespace {

// Qt draws password characters from the style; this one answers the edit's own.
class TPasswordCharStyle : public QProxyStyle
{
public:
    explicit TPasswordCharStyle(QChar Char) : FChar(Char) {}
    int styleHint(StyleHint Hint, const QStyleOption* Option, const QWidget* Widget,
                  QStyleHintReturn* Return) const override
    {
        if (Hint == SH_LineEdit_PasswordCharacter)
            return FChar.unicode();
        return QProxyStyle::styleHint(Hint, Option, Widget, Return);
    }

private:
    QChar FChar;
};

} // namespace

QString CharCaseText(const QString& Text, TEditCharCase Case)
{
    switch (Case) {
    case ecUpperCase: return Text.toUpper();
    case ecLowerCase: return Text.toLower();
    case ecNormal: break;
    }
    return Text;
}

void SetPasswordChar(QLineEdit* Edit, QChar Char)
{
    if (Char.isNull()) {
        Edit->setEchoMode(QLineEdit::Normal);
        return;
    }
    auto* Style = new TPasswordCharStyle(Char);
    Style->setParent(Edit); // freed with the edit; replaced styles go with it too
    Edit->setStyle(Style);
    Edit->setEchoMode(QLineEdit::Password);
}
