#include "GridFixture.h"
#include "grid/PropFilerEh.h"
#include "platform/gui/Forms.h"

namespace {

class TLayoutTest : public TGridFixture
{
protected:
    QString Order() const
    {
        QStringList Names;
        for (int i = 0; i < Grid->Columns()->Count(); ++i)
            Names << Grid->Columns(i)->FieldName();
        return Names.join(u' ');
    }
};

TEST_F(TLayoutTest, ColumnsIndexReadsQuotedNamesInOrder)
{
    TColumnsEhPropertyInterceptor Index(Grid->Columns());
    EXPECT_EQ(Index.ColumnsIndex(), QString());
    AddColumn("CustName");
    AddColumn("Amount");
    EXPECT_EQ(Index.ColumnsIndex(), QStringLiteral("\"CustName\",\"Amount\""));
    AddColumn("Odd\"Name");
    EXPECT_EQ(SplitDelimitedText(Index.ColumnsIndex(), u',', u'"').join(u'|'),
              QStringLiteral("CustName|Amount|Odd\"Name")) << "a quote in a name survives";
}

TEST_F(TLayoutTest, ColumnsIndexWriteReordersNamedColumns)
{
    struct TRow
    {
        const char* Text;
        const char* Expected;
    };
    const TRow Rows[] = {
        {"\"D\",\"C\",\"B\",\"A\"", "D C B A"},
        {"\"C\",\"A\"", "C A B D"},
        {"\"X\",\"B\",\"Y\"", "B A C D"},
        {"D  B", "D B A C"},
        {"\"b\",\"D\"", "D A B C"},
        {"", "A B C D"},
        {"\"A\",\"A\",\"D\"", "A D B C"},
    };
    for (const TRow& Row : Rows) {
        SCOPED_TRACE(Row.Text);
        Grid->Columns()->Clear();
        for (const char* Name : {"A", "B", "C", "D"})
            AddColumn(Name);
        Grid->Notifications = 0;
        TColumnsEhPropertyInterceptor(Grid->Columns()).SetColumnsIndex(QString::fromUtf8(Row.Text));
        EXPECT_EQ(Order(), QString::fromUtf8(Row.Expected));
        EXPECT_LE(Grid->Notifications, 1);
    }
}

// A stored layout restored onto the default columns a dataset gives, through
// the registered interceptors: the order moves the fields along, so that the
// next layout keeps it, and a width holds exactly.
TEST_F(TLayoutTest, StoredLayoutRestoresDefaultColumns)
{
    Grid->resize(400, 200);
    Link();
    const auto Index = FindInterceptor(QStringLiteral("TDBGridColumnsEh"))->Create(Grid->Columns());
    Index->WriteProperty(QStringLiteral("ColumnsIndex"), QStringLiteral("\"Amount\",\"Id\",\"Name\""));
    Grid->LayoutChanged();
    EXPECT_EQ(Order(), QStringLiteral("Amount Id Name Paid"));
    EXPECT_FALSE(Grid->Columns()->Customized());

    const auto Width = FindInterceptor(QStringLiteral("TColumnEh"))->Create(Grid->Columns(1));
    Width->WriteProperty(QStringLiteral("Width"), QStringLiteral("100"));
    EXPECT_EQ(Grid->Columns(1)->Width(), 100);
    Width->WriteProperty(QStringLiteral("Width"), QStringLiteral("junk"));
    EXPECT_EQ(Grid->Columns(1)->Width(), 100) << "a damaged value changes nothing";
    Grid->SetAutoFitColWidths(true);
    Width->WriteProperty(QStringLiteral("Width"), QStringLiteral("77"));
    EXPECT_EQ(Grid->Columns(1)->LayoutWidth(), 77) << "auto-fit grids take the laid-out width";
}

TEST(TInterceptorRegistry, RegisteringAPairTwiceKeepsOne)
{
    const int Before = InterceptorCount();
    const TInterceptorClass Probe{QStringLiteral("TProbeInterceptor"), nullptr};
    RegisterInterceptor(QStringLiteral("TProbe"), Probe);
    RegisterInterceptor(QStringLiteral("TProbe"), Probe);
    EXPECT_EQ(InterceptorCount(), Before + 1);
    EXPECT_EQ(FindInterceptor(QStringLiteral("TProbe"))->ClassName, QStringLiteral("TProbeInterceptor"));
    UnregisterInterceptor(QStringLiteral("TProbe"), QStringLiteral("TProbeInterceptor"));
    EXPECT_EQ(InterceptorCount(), Before);
    EXPECT_EQ(FindInterceptor(QStringLiteral("TProbe")), nullptr);
}

TEST(TFormPlacement, BoundsScaleWithTheResolution)
{
    const TInterceptorClass* Class = FindInterceptor(QStringLiteral("TForm"));
    ASSERT_NE(Class, nullptr) << "registered at start-up, without any grid";
    TForm Form;
    Form.SetBorderStyle(bsSizeable);
    Form.SetPosition(poScreenCenter);
    const auto I = Class->Create(&Form);
    static_cast<TFormStoragePropertyInterceptor*>(I.get())->SetScreenPixelsPerInch(120);
    const char* Stored[][2] = {{"Left", "96"}, {"Top", "48"}, {"Width", "480"}, {"Height", "384"}, {"PixelsPerInch", "96"}};
    for (const auto& P : Stored)
        I->WriteProperty(QString::fromUtf8(P[0]), QString::fromUtf8(P[1]));
    I->AfterLoad();
    EXPECT_EQ(QStringLiteral("%1 %2 %3 %4").arg(Form.Left()).arg(Form.Top()).arg(Form.Width()).arg(Form.Height()),
              QStringLiteral("120 60 600 480"));
    EXPECT_EQ(Form.Position(), poDesigned) << "a loaded place holds";
    EXPECT_EQ(I->ReadProperty(QStringLiteral("Width")), QStringLiteral("600"));
}

} // namespace
