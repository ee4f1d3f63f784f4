// A small set of enumeration values, as the classic set types are used:
// Shift.Contains(ssCtrl), Style << fsBold, Style >> fsItalic. Values up to 31.
#pragma once

#include <cstdint>
#include <initializer_list>

template <class E>
class TSet
{
public:
    constexpr TSet() = default;
    constexpr TSet(E Value) : FBits(Bit(Value)) {}
    constexpr TSet(std::initializer_list<E> Values)
    {
        for (E V : Values)
            FBits |= Bit(V);
    }

    constexpr bool Contains(E Value) const { return (FBits & Bit(Value)) != 0; }
    constexpr bool Empty() const { return FBits == 0; }
    constexpr uint32_t Bits() const { return FBits; }
    static constexpr TSet FromBits(uint32_t Bits) { TSet S; S.FBits = Bits; return S; }

    constexpr TSet& operator<<(E Value) { FBits |= Bit(Value); return *this; }
    constexpr TSet& operator>>(E Value) { FBits &= ~Bit(Value); return *this; }
    constexpr TSet operator+(TSet Other) const { return FromBits(FBits | Other.FBits); }
    constexpr TSet operator-(TSet Other) const { return FromBits(FBits & ~Other.FBits); }
    constexpr TSet operator*(TSet Other) const { return FromBits(FBits & Other.FBits); }
    constexpr bool operator==(const TSet& Other) const = default;

private:
    static constexpr uint32_t Bit(E Value) { return uint32_t(1) << static_cast<int>(Value); }
    uint32_t FBits = 0;
};
