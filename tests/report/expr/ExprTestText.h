// Compact renderings shared by the expression and script tests.
#pragma once

#include "platform/rtl/Variants.h"
#include "report/engine/FR_Intrp.h"
#include "TestText.h"

#include <QString>
#include <QStringList>
#include <ostream>

// Control characters (operator codes, line indexes) as {n}.
inline QString ShowCodes(const QString& S)
{
    QString R;
    for (QChar C : S) {
        if (C.unicode() < 32)
            R += QStringLiteral("{%1}").arg(C.unicode());
        else
            R += C;
    }
    return R;
}

// A value as kind letter and text: I:5, D:2.5, S:abc, B:True, N, E, T:45000.
inline QString ShowValue(const Variant& V)
{
    switch (V.Kind()) {
    case Variant::TKind::Empty: return QStringLiteral("E");
    case Variant::TKind::Null: return QStringLiteral("N");
    case Variant::TKind::Integer: return QStringLiteral("I:") + V.AsString();
    case Variant::TKind::Double: return QStringLiteral("D:") + V.AsString();
    case Variant::TKind::Boolean: return QStringLiteral("B:") + V.AsString();
    case Variant::TKind::String: return QStringLiteral("S:") + V.AsString();
    case Variant::TKind::DateTime: return QStringLiteral("T:") + QString::number(V.AsFloat(), 'g', 12);
    case Variant::TKind::Array: return QStringLiteral("A");
    }
    return QString();
}

// A compiled script line: "if0 ->T postfix", "goto T", "call postfix", "set line".
inline QString ShowLine(const QString& Line)
{
    if (Line.isEmpty())
        return QStringLiteral("<empty>");
    switch (Line[0].unicode()) {
    case lkCondJump:
        return QStringLiteral("if0 ->%1 ").arg(TfrInterpretator::DecodeLineIndex(Line)) + ShowCodes(Line.mid(3));
    case lkJump:
        return QStringLiteral("goto %1").arg(TfrInterpretator::DecodeLineIndex(Line));
    case lkCall:
        return QStringLiteral("call ") + ShowCodes(Line.mid(1));
    default:
        return QStringLiteral("set ") + ShowCodes(Line);
    }
}
