#include "GridFixture.h"
#include "grid/PropFilerEh.h"
#include "platform/gui/Forms.h"
#include "platform/rtl/IniFiles.h"

#include <QTemporaryDir>

namespace {

class TLayoutTest : public TGridFixture
{
protected:
    void SetUp() override
    {
        TGridFixture::SetUp();
        ASSERT_TRUE(Dir.isValid());
        TRegIniFile::SetStorageFolder(Dir.path());
    }

    QString Order() const
    {
        QStringList Names;
        for (int i = 0; i < Grid->Columns()->Count(); ++i)
            Names << Grid->Columns(i)->FieldName();
        return Names.join(u' ');
    }

    QTemporaryDir Dir;
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

TEST_F(TLayoutTest, GridLayoutRoundTripsThroughTheSettingsStore)
{
    for (const char* Name : {"Id", "Name", "Amount"})
        AddColumn(Name);
    Grid->Columns(1)->SetWidth(120);
    Grid->Columns()->Move(2, 0);
    {
        TRegIniFile Store(QStringLiteral("Software\\Tallybridge"));
        SaveGridLayout(Grid.get(), Store, QStringLiteral("Grid\\Docs"));
    }
    Grid->Columns()->Clear();
    for (const char* Name : {"Id", "Name", "Amount", "Paid"})
        AddColumn(Name);
    TRegIniFile Store(QStringLiteral("Software\\Tallybridge"));
    RestoreGridLayout(Grid.get(), Store, QStringLiteral("Grid\\Docs"));
    EXPECT_EQ(Order(), QStringLiteral("Amount Id Name Paid"));
    EXPECT_EQ(Grid->Columns(2)->Width(), 120);

    Grid->SetAutoFitColWidths(true);
    Store.WriteString(QStringLiteral("Grid\\Docs"), QStringLiteral("Id.Width"), QStringLiteral("77"));
    Store.WriteString(QStringLiteral("Grid\\Docs"), QStringLiteral("Name.Width"), QStringLiteral("junk"));
    RestoreGridLayout(Grid.get(), Store, QStringLiteral("Grid\\Docs"));
    EXPECT_EQ(Grid->Columns(1)->LayoutWidth(), 77) << "auto-fit grids take the laid-out width";
    EXPECT_EQ(Grid->Columns(2)->Width(), 120) << "a damaged value changes nothing";
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
    QTemporaryDir Dir;
    TRegIniFile::SetStorageFolder(Dir.path());
    RegisterGridInterceptors();
    TRegIniFile Store(QStringLiteral("Software\\Tallybridge"));
    const QString Section = QStringLiteral("Form\\TFormMain");
    Store.WriteString(Section, QStringLiteral("Left"), QStringLiteral("96"));
    Store.WriteString(Section, QStringLiteral("Top"), QStringLiteral("48"));
    Store.WriteString(Section, QStringLiteral("Width"), QStringLiteral("480"));
    Store.WriteString(Section, QStringLiteral("Height"), QStringLiteral("384"));
    Store.WriteString(Section, QStringLiteral("PixelsPerInch"), QStringLiteral("96"));
    TForm Form;
    Form.SetBorderStyle(bsSizeable);
    Form.SetPosition(poScreenCenter);
    RestoreFormPlacement(&Form, Store, Section, 120);
    EXPECT_EQ(QStringLiteral("%1 %2 %3 %4").arg(Form.Left()).arg(Form.Top()).arg(Form.Width()).arg(Form.Height()),
              QStringLiteral("120 60 600 480"));
    EXPECT_EQ(Form.Position(), poDesigned) << "a loaded place holds";

    SaveFormPlacement(&Form, Store, QStringLiteral("Form\\Copy"));
    EXPECT_EQ(Store.ReadString(QStringLiteral("Form\\Copy"), QStringLiteral("Width"), QString()), QStringLiteral("600"));
}

} // namespace
