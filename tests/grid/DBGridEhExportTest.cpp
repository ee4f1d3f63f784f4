// The grid's export formats, against bytes written out by hand: plain text,
// CSV, the binary interchange format and RTF, with footers over the
// exported records and hidden columns left out.
#include "GridFixture.h"
#include "grid/DBGridEhImpExp.h"
#include "grid/DBGridEhSelection.h"
#include "platform/gui/Clipbrd.h"
#include "platform/rtl/Streams.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

class TExportFixture : public TGridTestFixture
{
public:
    TExportFixture()
        : TGridTestFixture({{"City", ftWideString, 20}, {"Num", ftInteger}, {"Amount", ftFloat}}, QSize(400, 200), 3)
    {
    }

    QList<Variant> Record(int i) const override
    {
        switch (i) {
        case 1: return {Variant("a"), Variant(7), Variant(1.25)};
        case 2: return {Variant("5\"x"), Variant::Null(), Variant(2.5)};
        default: return {Variant(""), Variant(9), Variant(4.0)};
        }
    }

    void Columns(std::initializer_list<const char*> Fields, int Width = 80)
    {
        for (const char* F : Fields)
            AddColumn(QString::fromUtf8(F), QString::fromUtf8(F), Width);
        Link();
        Grid->show();
    }

    template <class T> QByteArray Export(bool All = false)
    {
        TMemoryStream S;
        ExportGridToStream<T>(Grid.get(), S, All);
        return S.Data();
    }

    void SelectRecords(std::initializer_list<int> RecNos)
    {
        for (int r : RecNos) {
            Data->SetRecNo(r);
            Grid->SelectedRows()->SetCurrentRowSelected(true);
        }
        Data->First();
    }
};

TEST_F(TExportFixture, TextAndCsvOfTheSelection)
{
    struct TCase
    {
        const char* Name;
        std::function<void(TExportFixture&)> Setup;
        QByteArray Text;
        QByteArray Csv;
    };
    const std::vector<TCase> Cases = {
        {"two rows, two columns, titles",
         [](auto& F) { F.Columns({"City", "Num"}); F.SelectRecords({1, 3}); },
         "City\tNum\r\na\t7\r\n\t9", "\"City\",\"Num\"\r\n\"a\",\"7\"\r\n\"\",\"9\""},
        {"quote in a cell, empty cell, no titles",
         [](auto& F) { F.Columns({"City", "Num"});
                       F.Grid->SetOptions(F.Grid->Options() - TDBGridOptions({dgTitles}));
                       F.SelectRecords({2}); },
         "5\"x\t", "\"5\"\"x\",\"\""},
        {"nothing selected writes nothing", [](auto& F) { F.Columns({"City"}); }, "", ""},
        {"columns: every record",
         [](auto& F) { F.Columns({"City", "Num", "Amount"});
                       F.Grid->Selection()->Columns()->Select(F.Grid->Columns(2), false); },
         "Amount\r\n1.25\r\n2.5\r\n4", "\"Amount\"\r\n\"1.25\"\r\n\"2.5\"\r\n\"4\""},
        {"selected records a filter hides are left out",
         [](auto& F) { F.Columns({"City", "Num"}); F.SelectRecords({1, 2, 3});
                       F.Data->SetFilter("Amount > 2");
                       F.Data->SetFiltered(true); },
         "City\tNum\r\n5\"x\t\r\n\t9", "\"City\",\"Num\"\r\n\"5\"\"x\",\"\"\r\n\"\",\"9\""},
        {"a rectangle stops past its deleted bottom record",
         [](auto& F) { F.Columns({"City", "Num"});
                       F.Data->AppendRecord({Variant("d"), Variant(1), Variant(8.0)});
                       F.Data->SetRecNo(1);
                       const TBookmark Top = F.Data->GetBookmark();
                       F.Data->SetRecNo(2);
                       F.Grid->Selection()->Rect()->Select(0, Top, false);
                       F.Grid->Selection()->Rect()->Select(1, F.Data->GetBookmark(), true);
                       F.Data->Delete(); },
         "City\tNum\r\na\t7", "\"City\",\"Num\"\r\n\"a\",\"7\""},
    };
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Name);
        TearDown();
        SetUp();
        C.Setup(*this);
        EXPECT_EQ(Export<TDBGridEhExportAsText>(), C.Text);
        EXPECT_EQ(Export<TDBGridEhExportAsCSV>(), C.Csv);
    }
}

TEST_F(TExportFixture, BinaryFormatOfOneRecord)
{
    Columns({"Num", "City"});
    Data->Edit();
    Data->FieldByName("City")->Clear();
    Data->Post();
    SelectRecords({1});
    const QByteArray Want("VCLDBIF\x01\x02\x00\x00\x00\x01\x00\x01\x00\x03\x07\x00\x00\x00\x02\x00", 23);
    EXPECT_EQ(Export<TDBGridEhExportAsVCLDBIF>().toHex(' ').toStdString(), Want.toHex(' ').toStdString());
}

// Sums and counts cover the exported records; other footers show the grid's own.
TEST_F(TExportFixture, FootersOverTheExportedRecordsOnly)
{
    Grid->SetFooterRowCount(1);
    Columns({"City", "Num", "Amount"});
    Grid->Columns(0)->Footer()->SetValueType(fvtStaticText);
    Grid->Columns(0)->Footer()->SetValue("合计");
    Grid->Columns(1)->Footer()->SetValueType(fvtCount);
    Grid->Columns(2)->Footer()->SetValueType(fvtSum);
    SelectRecords({1, 3});
    EXPECT_EQ(Export<TDBGridEhExportAsText>(), QString("City\tNum\tAmount\r\na\t7\t1.25\r\n\t9\t4\r\n合计\t2\t5.25").toUtf8());
    EXPECT_EQ(Export<TDBGridEhExportAsText>(true).split('\n').last(), QString("合计\t3\t7.75").toUtf8());
}

TEST_F(TExportFixture, HiddenColumnOfARectangleIsLeftOut)
{
    Columns({"City", "Num", "Amount"});
    Grid->Columns(1)->SetVisible(false);
    Data->SetRecNo(1);
    const TBookmark Top = Data->GetBookmark();
    Data->SetRecNo(2);
    Grid->Selection()->Rect()->Select(0, Top, false);
    Grid->Selection()->Rect()->Select(2, Data->GetBookmark(), true);
    EXPECT_EQ(Export<TDBGridEhExportAsText>(), "City\tAmount\r\na\t1.25\r\n5\"x\t2.5");
    const QByteArray Binary = Export<TDBGridEhExportAsVCLDBIF>();
    EXPECT_EQ(Binary.mid(8, 4), QByteArray("\x02\x00\x00\x00", 4));
    EXPECT_EQ(Export<TDBGridEhExportAsRTF>().count("\\cell}"), 6);
}

// A two-level title over two columns, a Chinese cell (one character past
// U+7FFF, so its escape is negative) and a Chinese font name.
TEST_F(TExportFixture, RtfWithMergedTitleAndChineseText)
{
    Grid->SetUseMultiTitle(true);
    AddColumn("City", "地区|城市", 80);
    AddColumn("Num", "地区|人数", 96);
    Link();
    Grid->show();
    Data->Edit();
    Data->FieldByName("City")->SetAsString("北京鑫");
    Data->Post();
    SelectRecords({1});
    const QByteArray Borders4 = "\\clbrdrl\\brdrs\\brdrcf0\r\n\\clbrdrt\\brdrs\\brdrcf0\r\n"
                                "\\clbrdrb\\brdrs\\brdrcf0\r\n\\clbrdrr\\brdrs\\brdrcf0\r\n";
    const QByteArray Want =
        "{\\rtf0\\ansi\\ansicpg936\\uc1\r\n"
        "{\\colortbl\\red0\\green0\\blue0;\\red255\\green255\\blue255;\\red212\\green208\\blue200;}\r\n"
        "{\\fonttbl\\f0\\fnil\\fcharset134 \\u23435?\\u20307?;}\r\n"
        // level 1: the group spans both columns, no border between them
        "\\trowd\\trgaph40\r\n"
        "\\clbrdrl\\brdrs\\brdrcf0\r\n\\clbrdrt\\brdrs\\brdrcf0\r\n\\clbrdrb\\brdrs\\brdrcf0\r\n"
        "\\clshdng10000\\clcfpat2\\cellx1200\r\n"
        "\\clbrdrt\\brdrs\\brdrcf0\r\n\\clbrdrb\\brdrs\\brdrcf0\r\n\\clbrdrr\\brdrs\\brdrcf0\r\n"
        "\\clshdng10000\\clcfpat2\\cellx2640\r\n"
        "{\\trrh0\r\n"
        "\\pard\\intbl{\\qc\\sb55\\sa55\\fs18\\f0\\cf0\\cb2 \\u22320?\\u21306?\\cell}\r\n"
        "\\pard\\intbl{\\qc\\fs18\\f0\\cf0\\cb2 \\cell}\r\n"
        "\\pard\\intbl\\row}\r\n"
        // level 0: the leaves
        "\\trowd\\trgaph40\r\n" + Borders4 + "\\clshdng10000\\clcfpat2\\cellx1200\r\n" + Borders4 +
        "\\clshdng10000\\clcfpat2\\cellx2640\r\n"
        "{\\trrh0\r\n"
        "\\pard\\intbl{\\qc\\sb55\\sa55\\fs18\\f0\\cf0\\cb2 \\u22478?\\u24066?\\cell}\r\n"
        "\\pard\\intbl{\\qc\\sb55\\sa55\\fs18\\f0\\cf0\\cb2 \\u20154?\\u25968?\\cell}\r\n"
        "\\pard\\intbl\\row}\r\n"
        // the record
        "\\trowd\\trgaph40\r\n" + Borders4 + "\\clshdng10000\\clcfpat1\\cellx1200\r\n" + Borders4 +
        "\\clshdng10000\\clcfpat1\\cellx2640\r\n"
        "{\\trrh0\r\n"
        "\\pard\\intbl{\\ql\\sb24\\sa24\\fs18\\f0\\cf0\\cb1 \\u21271?\\u20140?\\u-27541?\\cell}\r\n"
        "\\pard\\intbl{\\qr\\sb24\\sa24\\fs18\\f0\\cf0\\cb1 7\\cell}\r\n"
        "\\pard\\intbl\\row}\r\n"
        "}";
    EXPECT_EQ(Export<TDBGridEhExportAsRTF>().toStdString(), Want.toStdString());
}

// One copy puts every format on the clipboard; a text GBK cannot hold
// leaves the binary format out so that a paste takes the text.
TEST_F(TExportFixture, CopyPutsEveryFormatTogether)
{
    Columns({"City", "Num"});
    SelectRecords({1});
    CopyGridSelection(Grid.get(), false);
    TClipboard* C = Clipboard();
    EXPECT_EQ(C->AsText(), "City\tNum\r\na\t7");
    EXPECT_EQ(C->GetFormat("text/csv"), "\"City\",\"Num\"\r\n\"a\",\"7\"");
    EXPECT_EQ(C->GetFormat("Csv"), C->GetFormat("text/csv"));
    EXPECT_TRUE(C->GetFormat("text/rtf").startsWith("{\\rtf0"));
    EXPECT_FALSE(C->GetFormat("text/rtf").contains('\0'));
    EXPECT_EQ(C->GetFormat("VCLDBIF").left(7), "VCLDBIF");
    Data->First();
    Data->Edit();
    Data->FieldByName("City")->SetAsString(QString::fromUtf8("a\xE2\x82\xAC\xF0\x9F\x98\x80")); // € and an emoji
    Data->Post();
    CopyGridSelection(Grid.get(), false);
    EXPECT_FALSE(C->HasFormat("VCLDBIF"));
    EXPECT_TRUE(C->AsText().endsWith(QString::fromUtf8("a\xE2\x82\xAC\xF0\x9F\x98\x80\t7")));
    // Pasted back, the titles do not land in a record.
    Grid->Selection()->Clear();
    Data->SetRecNo(2);
    PasteIntoGrid(Grid.get(), false);
    EXPECT_EQ(Data->FieldByName("City")->AsString(), QString::fromUtf8("a\xE2\x82\xAC\xF0\x9F\x98\x80"));
    EXPECT_EQ(Data->FieldByName("Num")->AsInteger(), 7);
}

// A failed export leaves the file as it was, and no file beside it.
TEST_F(TExportFixture, ExportToFileLeavesNoHalfFile)
{
    Columns({"City"});
    QTemporaryDir Dir;
    const QString Blocker = Dir.filePath("blocker");
    const QString Target = Dir.filePath("out.txt");
    for (const QString& Path : {Blocker, Target}) {
        QFile F(Path);
        ASSERT_TRUE(F.open(QIODevice::WriteOnly));
        F.write("old");
    }
    struct TCase
    {
        const char* Name;
        QString File;
        bool FailingCell;
    };
    const TCase Cases[] = {
        {"a folder that cannot be written", Blocker + "/out.txt", false},
        {"a cell that fails half way", Target, true},
    };
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Name);
        Grid->OnGetCellParams = [&](QObject*, TColumnEh*, TFont*, TColor&, TGridDrawState) {
            if (C.FailingCell && Data->RecNo() == 2)
                throw Exception("no");
        };
        TDBGridEhExportAsText Export;
        Export.SetDBGrid(Grid.get());
        EXPECT_THROW(Export.ExportToFile(C.File, true), Exception);
        QFile Old(Target);
        ASSERT_TRUE(Old.open(QIODevice::ReadOnly));
        EXPECT_EQ(Old.readAll(), "old");
        EXPECT_EQ(QDir(Dir.path()).entryList(QDir::Files).join(u','), "blocker,out.txt");
    }
}

} // namespace
