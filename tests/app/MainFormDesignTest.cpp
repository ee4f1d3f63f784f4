// The main window's design action: the designer opens on frReport1.
#include "ProgramFixture.h"

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
