// A fresh database in a temporary folder, made from the delivered schema and
// filled with a few customers, documents, money rows and accounts.
#pragma once

#include "platform/db/ADOConnection.h"
#include "platform/db/ADOQuery.h"
#include "platform/db/NewDatabase.h"
#include "platform/rtl/Classes.h"
#include "TestText.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>
#include <ostream>

inline QString SchemaText()
{
    QFile F(QStringLiteral(TB_SOURCE_DIR "/resources/schema.sql"));
    if (!F.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(F.readAll());
}

class TDbFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(Dir.isValid());
        Path = Dir.filePath(QStringLiteral("Tallybridge.mdb"));
        CreateDatabaseFile(Path, SchemaText());
        Connection = std::make_unique<TADOConnection>();
        Connection->SetConnectionString(
            QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + Path
            + QStringLiteral(";Persist Security Info=False;Jet OLEDB:Database Password=CobaltRiver"));
        Connection->Open();
        Query = std::make_unique<TADOQuery>();
        Query->SetConnection(Connection.get());
    }

    void Seed()
    {
        Connection->BeginTrans();
        for (const char* Sql : SeedRows)
            Connection->Execute(QString::fromUtf8(Sql));
        Connection->CommitTrans();
    }

    // Opens Sql on Query.
    TADOQuery* Open(const QString& Sql)
    {
        Query->Close();
        Query->SQL()->Clear();
        Query->SQL()->Add(Sql);
        Query->Open();
        return Query.get();
    }

    // The named columns of every row, "a|b" per row, rows joined by ";".
    static QString Render(TDataSet* D, const QStringList& Columns)
    {
        QStringList Rows;
        D->First();
        while (!D->Eof()) {
            QStringList Cells;
            for (const QString& C : Columns)
                Cells << D->FieldByName(C)->AsString();
            Rows << Cells.join(u'|');
            D->Next();
        }
        return Rows.join(u';');
    }

    static constexpr const char* SeedRows[] = {
        "Insert Into Customer (CustomerIndex, CustomerName, CustomerOwe, CustomerPhone, CustomerContact, CustomerHandPhone, CustomerMan) "
        "Values (2, '张三公司', 100, '010-88886666', '王经理', '13800001111', '业务员甲')",
        "Insert Into Customer (CustomerIndex, CustomerName, CustomerOwe, CustomerPhone, CustomerHandPhone, CustomerMan) "
        "Values (3, '李四商行', 0, '021-12345678', '13912345678', '业务员乙')",
        "Insert Into Customer (CustomerIndex, CustomerName, CustomerMan) Values (4, 'O''Neil Trading', '业务员乙')",
        "Insert Into CustomerHide (CustomerIndex, CustomerName, CustomerPhone) Values (2, '王五', '0755-66667777')",
        "Insert Into Account (AccountIndex, AccountName, AccountBase, AccountMan) Values (2, '现金', 1000, '财务主管')",
        "Insert Into Account (AccountIndex, AccountName, AccountBase, AccountMan) Values (3, '工商银行', 5000, '业务员甲')",
        "Insert Into Bill Values (2, '销售开单', #2024-03-05#, #2024-03-05#, 'XS1001', '张三公司', 1000, '商品销售', '已签约', '备注#1', '业务员甲')",
        "Insert Into Bill Values (3, '采购开单', #2024-03-10#, #2024-03-10#, 'CG1001', '李四商行', -500, '商品采购', '已完成', '', '业务员乙')",
        "Insert Into Bill Values (4, '销售开单', #2024-04-01#, #2024-04-01#, 'XS1002', '张三公司', 200.5, '商品销售', '洽谈中', '', '业务员甲')",
        "Insert Into MoneyTable Values (2, 2, 2, #2024-03-06#, #2024-03-06#, '张三公司', '商品销售', 600, 0, 600, '货款', '现金', '', 'SK1001', '业务员甲')",
        "Insert Into MoneyTable Values (3, 3, 2, #2024-03-07#, #2024-03-07#, '张三公司', '商品销售', 300, 0, 300, '货款', '银行转账', 'it''s paid', 'SK1002', '业务员甲')",
        "Insert Into MoneyTable Values (4, 3, 3, #2024-03-12#, #2024-03-12#, '李四商行', '商品采购', 0, 500, -500, '货款', '支票', '', 'FK1001', '业务员乙')",
        "Insert Into MoneyTable Values (5, 2, 0, #2024-04-02#, #2024-04-02#, '张三公司', '其他业务', 0, 50, -50, '费用', '现金', '', 'FK1002', '业务员甲')",
        "Insert Into Contact (ContactUser, ContactRecordTime, ContactCreateTime, ContactHead, ContactContent) "
        "Values (2, #2024-03-05#, #2024-03-05#, '拜访', '拜访客户，洽谈新订单')",
    };

    QTemporaryDir Dir;
    QString Path;
    std::unique_ptr<TADOConnection> Connection;
    std::unique_ptr<TADOQuery> Query;
};
