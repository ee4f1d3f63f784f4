// The designer entry point: the registered designer class is shown modally
// with the report current and the designer's help file in place. Kept apart
// from the view headers: the window layer comes in here.
#include "report/engine/FR_Class.h"
#include "report/engine/FR_ClassDesigner.h"
#include "report/engine/FR_Globals.h"

#include <gtest/gtest.h>

#include <QCoreApplication>

namespace {

class TTestDesigner : public TfrReportDesigner
{
public:
    explicit TTestDesigner(uint8_t AFlag) : TfrReportDesigner(AFlag) {}
    bool GetModified() override { return false; }
    void SetModified(bool) override {}
    void BeforeChange() override {}
    void AfterChange() override {}
    void RedrawPage() override {}
    void SelectObject(const QString&) override {}
    QString InsertDBField() override { return {}; }
    QString InsertExpression() override { return {}; }
    TModalResult Shown()
    {
        SeenDesigner = frDesigner == this;
        SeenHelp = QCoreApplication::instance()->property("HelpFile").toString();
        SeenPages = CurReport ? CurReport->Pages()->Count() : -1;
        SeenFlag = Flag();
        return mrOk;
    }
    static inline bool SeenDesigner = false;
    static inline QString SeenHelp;
    static inline int SeenPages = 0;
    static inline int SeenFlag = -1;
};

} // namespace

TEST(ReportDesigner, OpenDesignerWithoutDesignerClassIsCancelled)
{
    DesignerClass = nullptr;
    TfrReport Report;
    EXPECT_EQ(Report.OpenDesigner(), mrCancel);
    // The report still got its first page.
    EXPECT_EQ(Report.Pages()->Count(), 1);
}

TEST(ReportDesigner, OpenDesignerShowsTheRegisteredDesigner)
{
    QCoreApplication::instance()->setProperty("HelpFile", QStringLiteral("Tallybridge.hlp"));
    DesignerClass = [](uint8_t Flag) { return new TTestDesigner(Flag); };
    TModalHandlers Handlers([](TForm* Form) { return static_cast<TTestDesigner*>(Form)->Shown(); },
                            nullptr);
    TfrReport Report;
    EXPECT_EQ(Report.DesignReport(), mrOk);
    DesignerClass = nullptr;
    EXPECT_TRUE(TTestDesigner::SeenDesigner);
    EXPECT_EQ(TTestDesigner::SeenHelp, QStringLiteral("DAzeve.hlp"));
    EXPECT_EQ(TTestDesigner::SeenPages, 1);
    EXPECT_EQ(TTestDesigner::SeenFlag, 1);
    EXPECT_EQ(frDesigner, nullptr);
    EXPECT_EQ(QCoreApplication::instance()->property("HelpFile").toString(),
              QStringLiteral("Tallybridge.hlp"));
}

