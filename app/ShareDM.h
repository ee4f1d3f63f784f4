// TShareDataModule: the program's one database connection, the three scratch
// queries every window borrows, and the shared checks of the data-edit
// password and of document numbers. The unit also holds the session of the
// logged-in user; the four filters are the whole of the per-user separation
// of rows and are appended to every list of their table.
#pragma once

#include <QObject>
#include <QString>

class TADOConnection;
class TADOQuery;
class TDBGridEh;

// The number a window proposed for a new document, and the counter (the last
// number stored) it was counted from when the window opened.
struct TSerialProposal
{
    QString Counter;
    QString Serial;
};

class TShareDataModule : public QObject
{
public:
    explicit TShareDataModule(QObject* AOwner = nullptr);

    TADOQuery* ADOQueryTemp;
    TADOQuery* ADOQueryTemp2;
    TADOConnection* ADOConnection1;
    TADOQuery* ADOQueryTemp3;

    // Asks for the data-edit password unless it is empty; true lets the change through.
    bool CheckEditPassword(const QString& Caption, const QString& Prompt, const QString& Default);
    // The number after Serial: its prefix up to the first digit 1-9 kept whole,
    // the rest counted up by one. Empty when there is no such digit or the
    // number does not fit 64 bits.
    QString NextSerial(const QString& Serial) const;
    // Empty, without a digit 1-9, or digits only from the first digit 1-9 on.
    bool SerialFormatOK(const QString& Serial) const;
    // Inside a save's transaction: the number a new document is stored under,
    // with the counter row SettingIndex set to it. A proposal that another
    // save has overtaken since (the counter moved) becomes the number after
    // the stored one when Renumber, and is neither renumbered nor counted when
    // not (the document already carries it), so no two proposals store one
    // number and none sets the counter back. A number the user typed is
    // stored and counted as it is. Proposal comes back as counter and number
    // stand after the save; the caller keeps it once the transaction commits.
    QString ClaimSerial(TADOQuery* Query, int SettingIndex, const QString& Serial, TSerialProposal& Proposal,
                        bool Renumber);
    // After a stored new document: names the number it was stored under when
    // that is not the one its window showed (another save took it), since the
    // user may have written the shown one down.
    void TellStoredSerial(const QString& Shown, const QString& Stored) const;

    // Writes the grid's visible columns and all its rows to a new spreadsheet
    // file in ExportFolder and opens it; every failure ends with its message.
    // A missing folder is made; one that cannot be made gives way to the home folder.
    void ExportGridToExcel(TDBGridEh* Grid);
    // The user's documents folder unless set.
    QString ExportFolder;
};

extern TShareDataModule* ShareDataModule;

extern QString AppPath;        // the program folder, with the trailing '/'
extern QString IniFileName;    // AppPath + "Tallybridge.ini"
extern QString CurrentRole;    // "业务员", "财务主管", "财务总监", "管理员" or "总经理"
extern QString CurrentUser;    // the salesman's name or the role's
extern QString CurrentRange;   // the salesman's rights; empty for the fixed roles
extern int CurrentSlot;        // the salesman's PowerIndex, his login button; 0 for the fixed roles
extern QString CustomerFilter; // each begins with " And (" or is empty
extern QString AccountFilter;
extern QString BillFilter;
extern QString MoneyFilter;

// The database password of the delivered file.
inline const QString DatabasePassword = QStringLiteral("CobaltRiver");
