// The snapshot every dataset walks: rows as compact arrays of fixed-size cells,
// text kept as UTF-8 in one growing buffer so that loading a large result costs
// one copy per value and reading a number allocates nothing. Private to platform/db.
#pragma once

#include "platform/rtl/SysUtils.h"

#include <QString>
#include <cstdint>
#include <cstring>
#include <vector>

enum class TCellKind : uint8_t { Null, Integer, Float, Text, DateTime, Boolean };

struct TCell
{
    TCellKind Kind = TCellKind::Null;
    uint32_t Len = 0;          // text length in bytes
    union {
        int64_t I = 0;         // integers and Booleans (0/1)
        double D;              // floats and date-times
        uint32_t Off;          // text offset in the store's buffer
    };

    static TCell Null() { return TCell(); }
    static TCell Int(int64_t V) { TCell C; C.Kind = TCellKind::Integer; C.I = V; return C; }
    static TCell Float(double V) { TCell C; C.Kind = TCellKind::Float; C.D = V; return C; }
    static TCell Date(double V) { TCell C; C.Kind = TCellKind::DateTime; C.D = V; return C; }
    static TCell Bool(bool V) { TCell C; C.Kind = TCellKind::Boolean; C.I = V ? 1 : 0; return C; }
};
static_assert(sizeof(TCell) == 16, "cells stay compact");

using TRowHandle = uint32_t;

struct TRowRec
{
    int64_t Order = 0;    // position key: rows sort by it, inserts take a key between neighbours
    int64_t RowId = 0;    // the backend's row id, 0 when the row has none
    uint32_t FirstCell = 0;
    bool Deleted = false;
    bool Hidden = false;  // filtered out
};

class TRowStore
{
public:
    static constexpr int64_t OrderStep = int64_t(1) << 20;

    void Reset(int AFieldCount)
    {
        FieldCount = AFieldCount;
        Cells.clear();
        Text.clear();
        Rows.clear();
        MaxOrder = 0;
    }
    void Reserve(size_t RowCount)
    {
        Rows.reserve(RowCount);
        Cells.reserve(RowCount * size_t(FieldCount));
    }
    // Adds a row of nulls at the end of the order.
    TRowHandle AddRow(int64_t RowId)
    {
        TRowRec R;
        MaxOrder += OrderStep;
        R.Order = MaxOrder;
        R.RowId = RowId;
        R.FirstCell = uint32_t(Cells.size());
        Cells.resize(Cells.size() + size_t(FieldCount));
        Rows.push_back(R);
        return TRowHandle(Rows.size() - 1);
    }
    // Starts a row whose FieldCount cells the caller appends to Cells itself.
    TRowHandle BeginRow(int64_t RowId)
    {
        TRowRec R;
        MaxOrder += OrderStep;
        R.Order = MaxOrder;
        R.RowId = RowId;
        R.FirstCell = uint32_t(Cells.size());
        Rows.push_back(R);
        return TRowHandle(Rows.size() - 1);
    }
    TCell* RowCells(TRowHandle H) { return Cells.data() + Rows[H].FirstCell; }
    const TCell* RowCells(TRowHandle H) const { return Cells.data() + Rows[H].FirstCell; }

    TCell MakeText(const char* Utf8, size_t Len)
    {
        TCell C;
        C.Kind = TCellKind::Text;
        C.Off = uint32_t(Text.size());
        C.Len = uint32_t(Len);
        Text.insert(Text.end(), Utf8, Utf8 + Len);
        return C;
    }
    TCell MakeText(const QString& S)
    {
        const QByteArray U = S.toUtf8();
        return MakeText(U.constData(), size_t(U.size()));
    }
    QString TextOf(const TCell& C) const
    {
        return QString::fromUtf8(Text.data() + C.Off, qsizetype(C.Len));
    }
    const char* TextData(const TCell& C) const { return Text.data() + C.Off; }

    int FieldCount = 0;
    int64_t MaxOrder = 0;
    std::vector<TCell> Cells;
    std::vector<char> Text;
    std::vector<TRowRec> Rows;
};

// Canonical stored form of date-times: "YYYY-MM-DD HH:MM:SS" (a date alone is accepted on read).
bool ParseCanonicalDateTime(const char* S, size_t Len, double& Value);
QByteArray FormatCanonicalDateTime(double Value);
