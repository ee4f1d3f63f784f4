#include "report/engine/FR_XmlText.h"

#include "platform/rtl/Streams.h"

QString frXmlEventName(const QString& Name)
{
    return Name + QStringLiteral("OnBeforePrint");
}

QString frXmlEscape(const QString& Text)
{
    QString Result;
    Result.reserve(Text.size());
    for (const QChar C : Text) {
        const char16_t Code = C.unicode();
        switch (Code) {
        case u'\t': case u'\n': case u'\r': case u'"': case u'&': case u'\'': case u'<': case u'>':
            Result += QStringLiteral("&#") + QString::number(Code) + u';';
            break;
        default:
            // XML 1.0 has no place for the other control characters nor for
            // U+FFFE and U+FFFF.
            if (Code < 0x20 || Code == 0xFFFE || Code == 0xFFFF)
                break;
            Result += C;
        }
    }
    return Result;
}

QString frHexText(const QByteArray& Bytes)
{
    return QString::fromLatin1(Bytes.toHex().toUpper());
}

TfrXmlTag::TfrXmlTag(const QString& Element) : FText(u'<' + Element)
{
}

TfrXmlTag& TfrXmlTag::Add(const QString& Name, const QString& Value)
{
    FText += u' ' + Name + QStringLiteral("=\"") + frXmlEscape(Value) + u'"';
    return *this;
}

TfrXmlTag& TfrXmlTag::Add(const QString& Name, int64_t Value)
{
    return Add(Name, QString::number(Value));
}

TfrXmlTag& TfrXmlTag::AddColor(const QString& Name, uint32_t Value)
{
    return Add(Name, static_cast<int64_t>(static_cast<int32_t>(Value)));
}

void TfrXmlTag::WriteTo(TStream& Stream) const
{
    frWriteXmlText(Stream, FText);
}

void frWriteXmlText(TStream& Stream, const QString& Text)
{
    const QByteArray Bytes = Text.toUtf8();
    Stream.WriteBuffer(Bytes.constData(), Bytes.size());
}
