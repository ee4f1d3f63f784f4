// A fresh program folder for a test: a new database made from the delivered
// schema, the data module connected to it, the prompt window, and the session
// cleared. Windows are driven through the modal seam.
#pragma once

#include "app/AskForm.h"
#include "app/PublicFunction.h"
#include "app/ShareDM.h"
#include "platform/db/ADOConnection.h"
#include "platform/db/ADOQuery.h"
#include "platform/db/Field.h"
#include "platform/db/NewDatabase.h"
#include "platform/gui/ModalSeam.h"
#include "platform/rtl/Classes.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

inline QString DeliveredSchema()
{
    QFile F(QStringLiteral(TB_SOURCE_DIR "/resources/schema.sql"));
    if (!F.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(F.readAll());
}

class TAppFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(Dir.isValid());
        AppPath = Dir.path() + QLatin1Char('/');
        IniFileName = AppPath + QStringLiteral("Tallybridge.ini");
        CurrentRole = CurrentUser = CurrentRange = QString();
        CurrentSlot = 0;
        CustomerFilter = AccountFilter = BillFilter = MoneyFilter = QString();
        CreateDatabaseFile(AppPath + QStringLiteral("Tallybridge.mdb"), DeliveredSchema());
        ShareDataModule = new TShareDataModule();
        ConnectTo(AppPath + QStringLiteral("Tallybridge.mdb"));
        FormAsk = new TFormAsk();
        TModalSeam::ClearMessages();
    }

    void TearDown() override
    {
        delete FormAsk;
        FormAsk = nullptr;
        delete ShareDataModule;
        ShareDataModule = nullptr;
    }

    // Points the data module's connection at the database File.
    static void ConnectTo(const QString& File)
    {
        ShareDataModule->ADOConnection1->SetConnectionString(JetConnectionString(File, DatabasePassword));
        ShareDataModule->ADOConnection1->Open();
    }

    // Runs a statement on the database directly, outside the program's routines.
    void Exec(const QString& SQL) { ShareDataModule->ADOConnection1->Execute(SQL); }

    // The first column of the first row of SQL, as text.
    QString Scalar(const QString& SQL)
    {
        TADOQuery Q;
        Q.SetConnection(ShareDataModule->ADOConnection1);
        Q.SQL()->Add(SQL);
        Q.Open();
        return Q.IsEmpty() ? QString() : Q.Fields(0)->AsString();
    }

    QTemporaryDir Dir;
};
