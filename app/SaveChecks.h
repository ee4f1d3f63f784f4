// What a save checks inside its transaction, against another copy of the
// program on the same file, before it writes: that the row it keeps an index
// of is still the row its window read, that a customer name it read is still
// that customer's, and that a salesman's slot still carries his login name.
// A failed check raises ESaveRefused; RunInTransaction rolls the save back and
// shows the exception's text in place of its own message.
#pragma once

#include "platform/rtl/SysUtils.h"

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

class QComboBox;
class TADOQuery;
class TDataSet;

class ESaveRefused : public Exception
{
    using Exception::Exception;
};

// A row changed by another user, or removed and another stored under its index.
inline const QString RecordChanged = QStringLiteral("该记录已被其他用户修改或删除，请重新启动软件");
// A customer name a window read that no customer carries any more.
inline const QString CustomerChanged = QStringLiteral("该客户已被其他用户修改或删除，请重新启动软件");
// A salesman renamed while he was logged in.
inline const QString SalesmanRenamed = QStringLiteral("业务员名字已改变，请重新登录");

// One row as a window read it: the text of every column whose name begins
// with the table's prefix ("Bill", "Money", "Customer", ...), so a row read
// through a join or a list of some columns compares with the table's own.
class TRowImage
{
public:
    TRowImage() = default; // no row read: matches none
    // Except: columns left out of the image.
    static TRowImage Of(const TDataSet* Row, const QString& Prefix, const QStringList& Except = {});

    bool Read() const { return FRead; }
    // True when every column of the image holds the same value in Row's current record.
    bool Matches(const TDataSet* Row) const;

private:
    QList<QPair<QString, QString>> FColumns;
    bool FRead = false;
};

// A row a window stored itself, to know it again when it removes it: every
// column as stored, but for the names another copy's customer rename or
// salesman hand-over carries into it (Prefix + "User", Prefix + "Man"), which
// may since have become the new name of the customer, or of the salesman's
// slot, that carried them when the row was read.
class TStoredRow
{
public:
    TStoredRow() = default; // no row read: matches none
    // Finds the owners of Row's names: run where Row is read.
    static TStoredRow Of(const TDataSet* Row, const QString& Prefix);

    // Looks the owners' names up again; a name another user typed differs.
    bool Matches(const TDataSet* Row) const;

private:
    struct TName
    {
        QString Column;
        QString Value;
        QString Owner; // the statement giving its owner's name now; empty: none
    };
    TRowImage FOther;
    QList<TName> FNames;
};

// Opens SQL, the one row Image was read from, on Query, for the save to write
// or delete. Raises ESaveRefused with Gone when there is no such row, and with
// RecordChanged when it is no longer the row Image holds.
void OpenSameRow(TADOQuery* Query, const QString& SQL, const TRowImage& Image, const QString& Gone);

// The customer a window's customer box was filled from: the customer whose
// index it read the name by (0 for none), and the names its list offered.
struct TCustomerChoice
{
    int Index = 0;
    QString Name;
    QStringList Offered;

    // The names a customer box offers, read from Customer; no customer by index yet.
    static TCustomerChoice Listed(const QComboBox* Box);
};

// Raises ESaveRefused (CustomerChanged) when Name, read from Choice, is no
// longer a customer's: by index, that customer's name must still be Name; a
// name from the list must still be some customer's. A name typed freely is
// not checked.
void CheckCustomerName(const QString& Name, const TCustomerChoice& Choice);

// Raises ESaveRefused (SalesmanRenamed) when a salesman is logged in under a
// name his slot (CurrentSlot) no longer carries; the fixed roles pass.
void CheckLogin();
