// The program's SQL is written in the Jet dialect; SQLite runs a translation of
// it. Only what differs is rewritten: #date# literals (in the short date format,
// optionally with a time) become canonical date text, True/False become 1/0,
// "Between a And b" accepts its bounds in either order, text columns ordered by
// name sort by pinyin, and double-quoted strings become SQL strings. Text inside
// quotes is never touched. Jet's functions (IIF, InStr, Round, Abs) are
// registered on the connection with Jet semantics, not rewritten here.
#pragma once

#include "platform/rtl/SysUtils.h"

#include <QSet>
#include <QString>

// The one helper for splicing text into SQL: wraps it in single quotes and doubles
// every quote inside, so a name like O'Neil can never end the literal early.
QString SqlQuoted(const QString& Text);

// A date literal as the program writes it: "#" + the date in the short date
// format + "#", with the time appended when it is not midnight.
QString JetDateLiteral(TDateTime Value);

struct TJetTranslation
{
    QString Sql;              // for SQLite
    QString SqlWithRowId;     // the same with the row id as first column; empty when the
                              // statement does not read exactly one table without grouping
    QSet<QString> FloatColumns; // lower-case names of computed columns that hold amounts
};

// Collation registered on every connection for pinyin ordering of text columns.
inline constexpr const char* PinyinCollation = "PINYIN";
// Name of the injected row id column.
inline constexpr const char* RowIdColumn = "tb_rowid__";

// TextColumns: lower-case names of the text columns of the database; an Order By
// term naming one of them sorts by pinyin. Raises EDatabaseError on a bad date literal
// or an unterminated quote.
TJetTranslation TranslateJetSql(const QString& Jet, const QSet<QString>& TextColumns);

// Parses a date literal's text: the short date format (with an optional time), the
// canonical form, or Jet's month/day/year.
bool ParseJetDate(const QString& Text, TDateTime& Value);
