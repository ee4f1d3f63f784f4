// A spreadsheet file written row by row (the file holds one sheet). Rows and
// columns count from 0 and must be written in order, so that a long list
// needs no more memory than one row. Every write failure is kept; Close
// reports whether the whole file was written.
#pragma once

#include "platform/rtl/SysUtils.h"

#include <QString>
#include <memory>

class TXlsxWriter
{
public:
    explicit TXlsxWriter(const QString& FileName);
    ~TXlsxWriter();
    TXlsxWriter(const TXlsxWriter&) = delete;
    TXlsxWriter& operator=(const TXlsxWriter&) = delete;

    // The number of rows a sheet holds.
    static constexpr int MaxRows = 1048576;

    void WriteString(int Row, int Col, const QString& Text);
    void WriteNumber(int Row, int Col, double Value);
    // Shown as yyyy.mm.dd, or with WithTime as yyyy.mm.dd hh:mm:ss.
    void WriteDateTime(int Row, int Col, TDateTime Value, bool WithTime);
    // Writes the file; false when it or any cell could not be written.
    bool Close();

private:
    struct TImpl;
    std::unique_ptr<TImpl> F;
};
