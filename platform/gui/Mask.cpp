#include "platform/gui/Mask.h"

#include "platform/rtl/SysUtils.h"

#include <QLineEdit>
#include <QStringList>

namespace {

// Classic mask characters and their Qt equivalents; anything else in the
// mask body is a literal.
QChar QtMaskChar(QChar C)
{
    switch (C.unicode()) {
    case u'0': return u'9';   // digit required
    case u'9': return u'0';   // digit optional
    case u'#': return u'#';   // digit or sign, optional
    case u'L': return u'A';   // letter required
    case u'l': return u'a';   // letter optional
    case u'A': return u'N';   // letter or digit required
    case u'a': return u'n';   // letter or digit optional
    case u'C': return u'X';   // any character required
    case u'c': return u'x';   // any character optional
    default: return QChar();
    }
}

bool QtSpecial(QChar C)
{
    return QStringLiteral("AaNnXx90Dd#HhBb><!\\[]{}").contains(C);
}

// The mask body in Qt's syntax, with what the classic mask says beside it.
struct TConvertedMask
{
    QString Body;            // empty when the body cannot be expressed
    QChar Blank;
    bool SaveLiterals = true;
    bool HasLiteral = false;
};

TConvertedMask ConvertEditMask(const QString& EditMask)
{
    TConvertedMask Result;
    // Body;save-literals;blank; an escaped ';' belongs to the body.
    QString Body;
    int i = 0;
    for (; i < EditMask.size(); ++i) {
        if (EditMask[i] == u'\\' && i + 1 < EditMask.size()) {
            Body += EditMask[i];
            Body += EditMask[++i];
        } else if (EditMask[i] == u';') {
            break;
        } else {
            Body += EditMask[i];
        }
    }
    const QStringList Rest = EditMask.mid(i + 1).split(u';');
    const bool SaveLiterals = i >= EditMask.size() || Rest.value(0) != QStringLiteral("0");
    const QString BlankPart = Rest.value(1);
    Result.Blank = BlankPart.isEmpty() ? QChar(u'_') : BlankPart[0];
    Result.SaveLiterals = SaveLiterals;
    QString Out;
    bool HasLiteral = false;
    for (int k = 0; k < Body.size(); ++k) {
        const QChar C = Body[k];
        if (C == u'!' && k == 0)
            continue; // leading-blank trimming has no Qt equivalent and changes no valid text
        if (C == u'<' && k + 1 < Body.size() && Body[k + 1] == u'>') {
            Out += u'!';
            ++k;
        } else if (C == u'>' || C == u'<') {
            Out += C;
        } else if (C == u'\\') {
            if (k + 1 >= Body.size())
                return Result;
            const QChar L = Body[++k];
            Out += QtSpecial(L) ? QString(u'\\') + L : QString(L);
            HasLiteral = true;
        } else if (const QChar M = QtMaskChar(C); !M.isNull()) {
            Out += M;
        } else if (C == u'_' || C == u'!' || C == u';') {
            return Result; // blank-insertion and trim marks inside the body: not expressible
        } else if (C == u'/' || C == u':') {
            // The locale's date and time separators, as the date and time conversions read them.
            const QChar Sep = C == u'/' ? FormatSettings().DateSeparator : FormatSettings().TimeSeparator;
            Out += QtSpecial(Sep) ? QString(u'\\') + Sep : QString(Sep);
            HasLiteral = true;
        } else {
            Out += QtSpecial(C) ? QString(u'\\') + C : QString(C);
            HasLiteral = true;
        }
    }
    Result.Body = Out;
    Result.HasLiteral = HasLiteral;
    return Result;
}

} // namespace

QString InputMaskFromEditMask(const QString& EditMask)
{
    const TConvertedMask Mask = ConvertEditMask(EditMask);
    // Qt always keeps the literals in the text; a mask that leaves them out
    // of the stored value would store something else than the user sees.
    if (Mask.Body.isEmpty() || (Mask.HasLiteral && !Mask.SaveLiterals))
        return QString();
    return Mask.Body + u';' + Mask.Blank;
}

QString FormatMaskText(const QString& EditMask, const QString& Value)
{
    const TConvertedMask Mask = ConvertEditMask(EditMask);
    if (Mask.Body.isEmpty())
        return Value;
    // Qt's masked edit puts each character of Value on the next position that
    // takes it and steps over literals, whether Value holds them or not.
    QLineEdit Edit;
    Edit.setInputMask(Mask.Body + u';' + Mask.Blank);
    Edit.setText(Value);
    return Edit.displayText();
}
