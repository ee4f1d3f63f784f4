// Compact text renderings of Variant values and outcomes for the Variant tables.
#pragma once

#include "platform/rtl/Variants.h"

#include <QLocale>

#include <functional>
#include <string>

namespace VariantTest {

inline Variant T(TDateTime Value) { return Variant::FromDateTime(Value); }
inline Variant N() { return Variant::Null(); }

// Kind letter and value: E, N, I:5, D:2.5, B:True, S:abc, T:45000.5. Doubles are
// written shortest-exact so that the rendering does not depend on FloatToStr.
inline std::string Show(const Variant& V)
{
    auto Num = [](double D) {
        return QString::number(D, 'g', QLocale::FloatingPointShortest).toStdString();
    };
    switch (V.Kind()) {
    case Variant::TKind::Empty: return "E";
    case Variant::TKind::Null: return "N";
    case Variant::TKind::Integer: return "I:" + std::to_string(V.AsInteger());
    case Variant::TKind::Double: return "D:" + Num(V.AsFloat());
    case Variant::TKind::Boolean: return V.AsBoolean() ? "B:True" : "B:False";
    case Variant::TKind::String: return "S:" + V.AsString().toStdString();
    case Variant::TKind::DateTime: return "T:" + Num(V.AsDateTime());
    case Variant::TKind::Array: {
        std::string Text = "A:";
        for (const Variant& E : V.Elements())
            Text += (Text.size() > 2 ? "," : "") + Show(E);
        return Text;
    }
    }
    return "?";
}

// The rendering of the result, or "!" and the exception class.
inline std::string Outcome(const std::function<std::string()>& Body)
{
    try {
        return Body();
    } catch (const EZeroDivide&) {
        return "!EZeroDivide";
    } catch (const EVariantError&) {
        return "!EVariantError";
    } catch (const EConvertError&) {
        return "!EConvertError";
    } catch (const Exception& E) {
        return "!Exception " + E.Message().toStdString();
    }
}

} // namespace VariantTest
