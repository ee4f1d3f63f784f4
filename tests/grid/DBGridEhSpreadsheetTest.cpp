// What a spreadsheet reads from the grid's text, CSV and RTF: each format is
// converted by LibreOffice (headless) to CSV and its cells compared.
#include "GridFixture.h"
#include "grid/DBGridEhImpExp.h"
#include "platform/rtl/Streams.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace {

class TSpreadsheetFixture : public TGridTestFixture
{
public:
    TSpreadsheetFixture()
        : TGridTestFixture({{"Name", ftWideString, 20}, {"Num", ftInteger}, {"Amount", ftFloat}}, QSize(400, 200), 3)
    {
    }

    QList<Variant> Record(int i) const override
    {
        switch (i) {
        case 1: return {Variant("北京分公司"), Variant(7), Variant(1.25)};
        case 2: return {Variant("5\"x {a\\b}"), Variant::Null(), Variant(-2.5)};
        default: return {Variant(""), Variant(9), Variant(4.0)};
        }
    }

    // Cells of a CSV file as LibreOffice writes it: comma, double quotes.
    static QStringList ReadCsv(const QByteArray& Bytes)
    {
        QStringList Rows;
        QString Row, Cell;
        bool Quoted = false;
        const QString Text = QString::fromUtf8(Bytes);
        for (qsizetype i = 0; i < Text.size(); ++i) {
            const QChar C = Text[i];
            if (Quoted) {
                if (C == u'"' && i + 1 < Text.size() && Text[i + 1] == u'"') {
                    Cell += u'"';
                    ++i;
                } else if (C == u'"') {
                    Quoted = false;
                } else {
                    Cell += C;
                }
            } else if (C == u'"') {
                Quoted = true;
            } else if (C == u',') {
                Row += Cell + u'|';
                Cell.clear();
            } else if (C == u'\n') {
                Rows << Row + Cell;
                Row.clear();
                Cell.clear();
            } else if (C != u'\r') {
                Cell += C;
            }
        }
        if (!Row.isEmpty() || !Cell.isEmpty())
            Rows << Row + Cell;
        return Rows;
    }
};

TEST_F(TSpreadsheetFixture, LibreOfficeReadsTextCsvAndRtf)
{
    const QString Office = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (Office.isEmpty())
        GTEST_SKIP() << "soffice is not installed (Debian package libreoffice-calc-nogui)";
    for (const char* F : {"Name", "Num", "Amount"})
        AddColumn(QString::fromUtf8(F), QString::fromUtf8(F), 80);
    Link();
    QTemporaryDir Dir;
    struct TFormat
    {
        const char* File;
        const char* Filter;
        QByteArray Bytes;
    };
    TMemoryStream S;
    std::vector<TFormat> Formats;
    ExportGridToStream<TDBGridEhExportAsText>(Grid.get(), S, true);
    Formats.push_back({"text.txt", "Text - txt - csv (StarCalc):9,34,76", S.Data()});
    S.Clear();
    ExportGridToStream<TDBGridEhExportAsCSV>(Grid.get(), S, true);
    Formats.push_back({"csv.csv", "Text - txt - csv (StarCalc):44,34,76", S.Data()});
    S.Clear();
    ExportGridToStream<TDBGridEhExportAsRTF>(Grid.get(), S, true);
    Formats.push_back({"rtf.rtf", "Rich Text Format (StarCalc)", S.Data()});
    const QStringList Want = {"Name|Num|Amount", "北京分公司|7|1.25", "5\"x {a\\b}||-2.5", "|9|4"};
    for (const TFormat& F : Formats) {
        SCOPED_TRACE(F.File);
        QFile Out(Dir.filePath(QString::fromUtf8(F.File)));
        ASSERT_TRUE(Out.open(QIODevice::WriteOnly));
        Out.write(F.Bytes);
        Out.close();
        QProcess P;
        QProcessEnvironment Env = QProcessEnvironment::systemEnvironment();
        Env.insert(QStringLiteral("HOME"), Dir.path());
        P.setProcessEnvironment(Env);
        P.start(Office, {"--headless", "--infilter=" + QString::fromUtf8(F.Filter), "--convert-to",
                         "csv:Text - txt - csv (StarCalc):44,34,76", "--outdir", Dir.filePath("out"), Out.fileName()});
        ASSERT_TRUE(P.waitForFinished(120000));
        QFile Csv(Dir.filePath("out/" + QFileInfo(Out.fileName()).completeBaseName() + ".csv"));
        ASSERT_TRUE(Csv.open(QIODevice::ReadOnly)) << P.readAllStandardError().toStdString();
        EXPECT_EQ(ReadCsv(Csv.readAll()).join(u'\n'), Want.join(u'\n'));
    }
}

} // namespace
