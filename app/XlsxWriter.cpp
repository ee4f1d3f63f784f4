#include "app/XlsxWriter.h"

#include <xlsxwriter.h>

struct TXlsxWriter::TImpl
{
    lxw_workbook* Book = nullptr;
    lxw_worksheet* Sheet = nullptr;
    lxw_format* DateFormat = nullptr;
    lxw_format* DateTimeFormat = nullptr;
    bool Failed = false;

    void Check(lxw_error Error)
    {
        if (Error != LXW_NO_ERROR)
            Failed = true;
    }
};

TXlsxWriter::TXlsxWriter(const QString& FileName) : F(std::make_unique<TImpl>())
{
    lxw_workbook_options Options{};
    Options.constant_memory = LXW_TRUE;
    F->Book = workbook_new_opt(FileName.toUtf8().constData(), &Options);
    if (!F->Book) {
        F->Failed = true;
        return;
    }
    F->Sheet = workbook_add_worksheet(F->Book, nullptr);
    F->DateFormat = workbook_add_format(F->Book);
    format_set_num_format(F->DateFormat, "yyyy.mm.dd");
    F->DateTimeFormat = workbook_add_format(F->Book);
    format_set_num_format(F->DateTimeFormat, "yyyy.mm.dd hh:mm:ss");
    if (!F->Sheet)
        F->Failed = true;
}

TXlsxWriter::~TXlsxWriter()
{
    // A writer never closed still frees its book; the caller removes the file.
    if (F->Book)
        workbook_close(F->Book);
}

void TXlsxWriter::WriteString(int Row, int Col, const QString& Text)
{
    if (!F->Failed)
        F->Check(worksheet_write_string(F->Sheet, lxw_row_t(Row), lxw_col_t(Col), Text.toUtf8().constData(), nullptr));
}

void TXlsxWriter::WriteNumber(int Row, int Col, double Value)
{
    if (!F->Failed)
        F->Check(worksheet_write_number(F->Sheet, lxw_row_t(Row), lxw_col_t(Col), Value, nullptr));
}

void TXlsxWriter::WriteDateTime(int Row, int Col, TDateTime Value, bool WithTime)
{
    if (F->Failed)
        return;
    int Y, M, D, H, N, S, Ms;
    DecodeDate(Value, Y, M, D);
    DecodeTime(Value, H, N, S, Ms);
    lxw_datetime When{Y, uint8_t(M), uint8_t(D), uint8_t(H), uint8_t(N), S + Ms / 1000.0};
    F->Check(worksheet_write_datetime(F->Sheet, lxw_row_t(Row), lxw_col_t(Col), &When,
                                      WithTime ? F->DateTimeFormat : F->DateFormat));
}

bool TXlsxWriter::Close()
{
    if (!F->Book)
        return false;
    const lxw_error Error = workbook_close(F->Book);
    F->Book = nullptr;
    return !F->Failed && Error == LXW_NO_ERROR;
}
