// The main window's design action: the designer opens on frReport1.
#include "ProgramFixture.h"
#include "PrintTestUtil.h"

#include "report/engine/FR_Class.h"
#include "report/engine/FR_ClassDesigner.h"
#include "report/engine/FR_DBSet.h"
#include "report/engine/FR_Globals.h"

class MainFormDesign : public TProgramFixture {};

TEST_F(MainFormDesign, DesignActionOpensTheDesignerOnTheFirstReport)
{
    {
        TModalHandlers Handlers(User({Press(FormLogin->SpeedButton3)}), nullptr);
        FormMain->Show();
    }
    const TfrDesignerClass Saved = DesignerClass;
    int Opened = 0;
    TfrReport* Designed = nullptr;
    DesignerClass = [&](uint8_t Flag) -> TfrReportDesigner* {
        ++Opened;
        EXPECT_EQ(Flag, 1);
        Designed = CurReport;
        return nullptr;
    };
    FormMain->DesignButton->Click();
    DesignerClass = Saved;
    EXPECT_EQ(Opened, 1);
    EXPECT_EQ(Designed, FormMain->frReport1);
    EXPECT_EQ(FormMain->frReport1->Dataset(), FormMain->frDBDataSet1);
    EXPECT_EQ(FormMain->frDBDataSet1->DataSet(), FormMain->ADOQueryBig);
}

// The designer's preview from the design action, as the designer prepares the
// report: a template over ADOQueryBig while it has no statement has the
// program say there is nothing to preview, with no error; a report that does
// not read it prepares as before.
TEST_F(MainFormDesign, DesignersPreviewWithoutRowsSaysThereIsNothingToPreview)
{
    const struct
    {
        const char* Template;   // opened in the designer; none: an empty page
        const char* Seen;       // prepared or not, then the messages shown
    } Rows[] = {
        {"Bill.frf", "0|没有可供预览的数据"},
        {"", "1|"},
    };
    {
        TModalHandlers Handlers(User({Press(FormLogin->SpeedButton3)}), nullptr);
        FormMain->Show();
    }
    ASSERT_TRUE(FormMain->ADOQueryBig->SQL()->Text().isEmpty());
    const TfrDesignerClass Saved = DesignerClass;
    for (const auto& Row : Rows) {
        SCOPED_TRACE(Row.Template);
        FormMain->frReport1->Clear();
        if (*Row.Template)
            ASSERT_TRUE(FormMain->frReport1->LoadFromFile(QCoreApplication::applicationDirPath() + QStringLiteral("/Frf/")
                                                          + QString::fromUtf8(Row.Template)));
        QString Seen;
        TModalHandlers Handlers([](TForm* F) { return RunProgress(F) ? mrNone : mrCancel; },
                                [](const TMessageRequest&) { return mrOk; });
        DesignerClass = [&](uint8_t) -> TfrReportDesigner* {
            const bool Prepared = CurReport->PrepareReport();
            Seen = QString::number(Prepared) + u'|' + TModalSeam::MessageTexts().join(u'|');
            return nullptr;
        };
        FormMain->DesignButton->Click();
        EXPECT_EQ(Seen, QString::fromUtf8(Row.Seen));
        EXPECT_FALSE(FormMain->frReport1->OnBeginDoc);
    }
    DesignerClass = Saved;
}
