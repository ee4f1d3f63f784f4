// The eight business templates the program folder receives: each loads and
// saves as an XML template that Qt's reader opens with its Chinese intact.
#include "PrintTestUtil.h"

#include "report/engine/FR_Class.h"

#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <gtest/gtest.h>

TEST(BusinessTemplates, EachSavesAsAReadableXmlTemplate)
{
    const QDir From(QCoreApplication::applicationDirPath() + QStringLiteral("/Frf"));
    const QStringList Names = From.entryList({QStringLiteral("*.frf")}, QDir::Files, QDir::Name);
    ASSERT_EQ(Names.join(u' '), QStringLiteral("Bill.frf BillReport.frf BillReport2.frf CustomerMonth.frf Money.frf "
                                               "MoneyMonth.frf MoneyReport.frf MoneyReport2.frf"));
    QTemporaryDir Dir;
    for (const QString& Name : Names) {
        SCOPED_TRACE(Name.toStdString());
        TfrReport Report;
        ASSERT_TRUE(Report.LoadFromFile(From.filePath(Name)));
        const QString Target = Dir.filePath(Name);
        Report.SaveToFR3File(Target);
        QFile File(Dir.filePath(QFileInfo(Name).completeBaseName() + QStringLiteral(".fr3")));
        ASSERT_TRUE(File.open(QIODevice::ReadOnly));
        QXmlStreamReader Xml(&File);
        bool Chinese = false;
        while (!Xml.atEnd()) {
            Xml.readNext();
            for (const QXmlStreamAttribute& A : Xml.attributes())
                for (QChar C : A.value())
                    Chinese = Chinese || (C.unicode() >= 0x4E00 && C.unicode() <= 0x9FFF);
        }
        EXPECT_FALSE(Xml.hasError()) << Xml.errorString().toStdString();
        EXPECT_TRUE(Chinese);
    }
}
