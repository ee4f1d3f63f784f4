// The text pieces of the XML template: the one escaping of attribute values
// and the opening part of an element ("<Name" and its attributes), written as
// UTF-8. Views write their own element with these; the document around them
// is FR_XmlWriter.
#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>

class TStream;

// An attribute value as XML 1.0 holds it: line feed, carriage return, tab,
// '"', '&', '\'', '<' and '>' become character references ("&#10;"); other
// control characters, which XML 1.0 cannot hold even as references, are left
// out.
QString frXmlEscape(const QString& Text);

// Bytes as hexadecimal text, two upper-case digits a byte, high half first.
QString frHexText(const QByteArray& Bytes);

// The template's name of a view's before-print event handler.
QString frXmlEventName(const QString& Name);

// "<" + the element name, then one ` Name="value"` per attribute, values
// escaped; no line break.
class TfrXmlTag
{
public:
    explicit TfrXmlTag(const QString& Element);

    TfrXmlTag& Add(const QString& Name, const QString& Value);
    TfrXmlTag& Add(const QString& Name, int64_t Value);
    // Colours as signed decimals: clNone is 536870911, system colours negative.
    TfrXmlTag& AddColor(const QString& Name, uint32_t Value);

    const QString& Text() const { return FText; }
    void WriteTo(TStream& Stream) const;

private:
    QString FText;
};

// Writes Text as UTF-8.
void frWriteXmlText(TStream& Stream, const QString& Text);
