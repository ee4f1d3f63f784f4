// Open and save dialogs: the classic filter text and the answers a user gives.
#include "GuiTestUtil.h"
#include "platform/gui/FileDialogs.h"
#include "platform/gui/ModalSeam.h"

#include <gtest/gtest.h>

TEST(FileDialogs, ClassicFilterBecomesNameFilters)
{
    const struct
    {
        const char* Filter;
        QStringList Expected;
    } Rows[] = {
        {"Mdb Files (*.mdb)|*.MDB", {"Mdb Files (*.mdb) (*.MDB)"}},
        {"文本|*.txt; *.CSV|All|*.*", {"文本 (*.txt *.CSV)", "All (*.*)"}},
        {"Empty||Lone", {}},
        {"Pictures|*.[bB]mp", {"Pictures (*.[bB]mp)"}},
    };
    for (const auto& Row : Rows)
        EXPECT_EQ(FileFilterToNameFilters(QString::fromUtf8(Row.Filter)), Row.Expected) << Row.Filter;
}

TEST(FileDialogs, ExecuteTakesTheAnswer)
{
    const struct
    {
        bool Save;
        const char* Answer; // null: no handler; empty: Cancel
        const char* FileName;
    } Rows[] = {
        {true, "/tmp/x/备份.mdb", "/tmp/x/备份.mdb"},
        {true, "/tmp/x/备份", "/tmp/x/备份.mdb"},
        {false, "/tmp/x/old.MDB", "/tmp/x/old.MDB"},
        {false, "sub/old", "/data/备份/sub/old.mdb"},
        {false, "", ""},
        {true, nullptr, ""},
    };
    for (const auto& Row : Rows) {
        TSaveDialog Save;
        TOpenDialog Open;
        TOpenDialog& Dialog = Row.Save ? Save : Open;
        Dialog.SetFileName(QStringLiteral("proposed.mdb"));
        Dialog.SetInitialDir(QStringLiteral("/data/备份"));
        Dialog.SetDefaultExt(QStringLiteral(".mdb"));
        QString Asked;
        TModalSeam::TFileHandler Handler = [&](const TFileRequest& R) {
            Asked = QStringLiteral("%1|%2|%3|%4").arg(R.Save).arg(R.FileName, R.InitialDir, R.DefaultExt);
            return QString::fromUtf8(Row.Answer);
        };
        TModalHandlers Handlers(nullptr, nullptr, Row.Answer ? Handler : nullptr);
        const QString Chosen = QString::fromUtf8(Row.FileName);
        EXPECT_EQ(Dialog.Execute(), !Chosen.isEmpty()) << Row.FileName;
        EXPECT_EQ(Dialog.FileName(), Chosen.isEmpty() ? QStringLiteral("proposed.mdb") : Chosen);
        if (Row.Answer) {
            EXPECT_EQ(Asked, QStringLiteral("%1|proposed.mdb|/data/备份|mdb").arg(Row.Save));
        }
    }
}
