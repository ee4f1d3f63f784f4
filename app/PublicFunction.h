// Free routines every window of the program uses: the settings file, running
// SQL with the standard failure message, number checks, the connection string,
// amounts in Chinese capital figures and filling combo boxes from a query.
#pragma once

#include <QRect>
#include <QString>
#include <QStringList>
#include <functional>

class QAction;
class QComboBox;
class QWidget;
class TADOQuery;
class TfrReport;
class TRowImage;

// Settings file. A section or key longer than 255 GBK bytes is refused (the
// default, or false); a default over 255 bytes and a value over 1023 are cut
// at a character boundary.
QString ReadIni(const QString& Section, const QString& Key, const QString& Default,
                const QString& FileName);
bool WriteIni(const QString& Section, const QString& Key, const QString& Value,
              const QString& FileName);

// Close, replace the SQL text, Open. A failure shows ErrorText in a message box,
// leaves the query closed and returns false.
bool OpenSQL(TADOQuery* Query, const QString& SQL, const QString& ErrorText);
// While set, every statement OpenSQL opens is appended to Log, so that a
// benchmark can run the same statements in SQLite alone.
void SetOpenSQLLog(QStringList* Log);
// Close, replace the SQL text, execute. A failure shows "SQL命令执行出错" and gives 0.
int ExecSQL(TADOQuery* Query, const QString& SQL);

bool IsAllDigits(const QString& Text);  // not empty, only '0'..'9'
bool IsNumeric(const QString& Text);    // not empty, only '0'..'9' and '.'
// 0 for empty text and for any text that does not convert.
double StrToFloatZero(const QString& Text);
// The message that refuses a typed amount, or empty text when it is a number
// of at most four decimals below 922,337,203,685,477.5807, the range the lists
// can sum exactly: receipts, payments and documents check alike.
QString AmountError(const QString& Text);
// Rounded to 0.0001 (halves to even) in the general format: every amount shown.
QString RoundStr(double Value);

QString JetConnectionString(const QString& Path, const QString& Password);

QString DigitToCapital(const QString& Digit);
// Digits: the amount in fen without a decimal point; only the last nine count.
QString AmountToCapital(const QString& Digits);

// Clears the combo, adds "所有" when AddAll, then the column FieldName of every
// row of SQL, and selects the first item. With DataField, each item keeps that
// column of its row as its data (the index of the row it names).
void LoadCombo(QComboBox* Combo, TADOQuery* Query, const QString& SQL, bool AddAll,
               const QString& FieldName, const QString& DataField = QString());
// Selects the last item equal to Text; none equal leaves the selection alone.
void SelectComboText(QComboBox* Combo, const QString& Text);

// " And (InStr(Column,'Text'))": the rows whose Column holds Text anywhere. Text
// is quoted as one literal, so no typed text can change the statement.
QString InStrCondition(const QString& Column, const QString& Text);

// A plain message box with the application's title, as the program's messages are shown.
void ShowMessage(const QString& Text);
// Loads a report template file into Report; a file that is missing or does
// not load shows "找不到报表模板" with its path, and the caller prints nothing.
bool LoadReportTemplate(TfrReport* Report, const QString& FileName);

// A window's action with its tool-bar button "Button" + the name after
// "Action": the button shows the caption and triggers the action.
QAction* NewActionButton(QWidget* Owner, const char* Name, const char* Caption, const QRect& Bounds, bool Flat);

// The delete confirmation of every window: Yes/No titled "删除警告".
bool ConfirmDelete();
// Deletes the one row SQL selects, through the scratch query: "找不到要删除的记录"
// when it is gone, then the confirmation, then the delete in one transaction,
// only while the row is still Image, the row the window shows. True when the
// row was deleted.
bool DeleteRecord(const QString& SQL, const QString& OpenError, const TRowImage& Image);
// Close, replace the SQL text, Open; a failure raises. For use inside
// RunInTransaction, which reports it.
void OpenOrRaise(TADOQuery* Query, const QString& SQL);
// Whom a transaction writes for. The session's saves are refused once a
// salesman's slot no longer carries his login name (CheckLogin). User
// management writes for the administrator whose password opened it, whoever
// is logged in; a window removing rows it stored itself writes for no login.
enum class TWriter { Session, Administrator, OwnRows };
// Runs Work in one transaction on the shared connection: the steps of one
// save are written together or not at all. A failure rolls back, closes the
// scratch query, says "数据保存失败，本次修改已全部撤销" and gives false; a
// check that refuses the save (ESaveRefused, also a salesman whose login name
// is gone) says its own text instead.
bool RunInTransaction(const std::function<void()>& Work, TWriter Writer = TWriter::Session);
