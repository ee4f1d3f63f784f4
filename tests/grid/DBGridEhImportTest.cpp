// Paste and import into the grid's selection, round trips of every field type,
// the readers against damaged data, the delete confirmations, and one
// transaction on a query over the delivered database.
#include "GridFixture.h"
#include "grid/DBGridEhImpExp.h"
#include "grid/DBGridEhSelection.h"
#include "platform/db/ADOConnection.h"
#include "platform/db/ADOQuery.h"
#include "platform/db/NewDatabase.h"
#include "platform/gui/Clipbrd.h"
#include "platform/gui/ModalSeam.h"
#include "platform/rtl/Classes.h"
#include "platform/rtl/Streams.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <functional>

namespace {

class TImportFixture : public TGridTestFixture
{
public:
    TImportFixture()
        : TGridTestFixture({{"Name", ftWideString, 20}, {"Num", ftInteger}, {"Amount", ftFloat}}, QSize(400, 200), 3)
    {
    }

    void SetUp() override
    {
        TGridTestFixture::SetUp();
        for (const char* F : {"Name", "Num", "Amount"})
            AddColumn(QString::fromUtf8(F), 80);
        Link();
    }

    QList<Variant> Record(int i) const override
    {
        return {Variant(QStringLiteral("r%1").arg(i)), Variant(i), Variant(i * 1.5)};
    }

    // Every record as "Name,Num,Amount" with null shown as "~", joined by ";".
    QString Rows()
    {
        QStringList L;
        const TBookmark B = Data->GetBookmark();
        Data->DisableControls();
        Data->First();
        while (!Data->Eof()) {
            QStringList Cells;
            for (int i = 0; i < Data->FieldCount(); ++i) {
                TField* F = Data->Fields(i);
                Cells << (F->IsNull() ? QStringLiteral("~")
                          : F->DataType() == ftVarBytes ? QString::fromLatin1(F->AsBytes().toHex())
                                                    : F->AsString());
            }
            L << Cells.join(u',');
            Data->Next();
        }
        if (!B.isEmpty() && Data->BookmarkValid(B))
            Data->GotoBookmark(B);
        Data->EnableControls();
        return L.join(u';');
    }

    // Returns how many cells the reader kept.
    template <class T> size_t Import(const QByteArray& Bytes, bool All = false)
    {
        struct TCounting : T
        {
            size_t Kept()
            {
                size_t N = 0;
                for (const auto& R : this->Records())
                    N += R.size();
                return N;
            }
        } Reader;
        Reader.SetDBGrid(Grid.get());
        TMemoryStream S(Bytes);
        Reader.ImportFromStream(S, All);
        return Reader.Kept();
    }

    TBookmark Mark(int RecNo)
    {
        Data->SetRecNo(RecNo);
        return Data->GetBookmark();
    }

    // Name becomes a lookup of the city list by Num (KeyFields).
    void LookupName(const QString& KeyFields)
    {
        Cities = std::make_unique<TMemDataSet>();
        Cities->FieldDefs()->Add("Id", ftInteger);
        Cities->FieldDefs()->Add("City", ftWideString, 20);
        Cities->Open();
        for (const char* City : {"北京分公司", "北京", "Shanghai"})
            Cities->AppendRecord({Variant(Cities->RecordCount() + 1), Variant(QString::fromUtf8(City))});
        TField* F = Data->FieldByName("Name");
        F->SetFieldKind(fkLookup);
        F->SetKeyFields(KeyFields);
        F->SetLookupDataSet(Cities.get());
        F->SetLookupKeyFields("Id");
        F->SetLookupResultField("City");
    }

    std::unique_ptr<TMemDataSet> Cities;
    int Undone = 0;
};

QByteArray Binary(std::initializer_list<QByteArray> Parts)
{
    QByteArray B;
    for (const QByteArray& P : Parts)
        B += P;
    return B;
}

QByteArray Int32(int32_t V)
{
    return QByteArray(reinterpret_cast<const char*>(&V), 4);
}

TEST_F(TImportFixture, ImportsIntoTheSelection)
{
    const QByteArray ThreeCells = Binary({"VCLDBIF\x01", Int32(3), QByteArray("\x01\0\x01\0\x01\0", 6),
                                          "\x05", Int32(1), "A", "\x03", Int32(42), "\x03", Int32(99),
                                          "\x05", Int32(1), "B", "\x02", "\x03", Int32(98), QByteArray(1, '\0')});
    struct TCase
    {
        const char* Name;
        std::function<void(TImportFixture&)> Setup;
        bool Binary;
        QByteArray Data;
        QString Rows;
        int Kept = -1; // cells the reader holds; -1: not checked
    };
    QByteArray WideBlock = Binary({"VCLDBIF\x01", Int32(2000)});
    for (int i = 0; i < 2000; ++i)
        WideBlock += QByteArray("\x01\0", 2);
    WideBlock += QByteArray(2000, '\x02') + QByteArray(1, '\0');
    const std::vector<TCase> Cases = {
        {"fewer cells than columns", {}, false, "x\r\ny", "x,1,1.5;y,2,3;r3,3,4.5"},
        {"more cells than columns", {}, false, "a\t7\t8\t9\textra", "a,7,8;r2,2,3;r3,3,4.5", 3},
        {"a row of ten thousand empty cells keeps two", [](auto& F) { F.Grid->SetSelectedIndex(1); }, false,
         QByteArray(10000, '\t'), "r1,~,~;r2,2,3;r3,3,4.5", 2},
        {"a block wider than the grid is one record", {}, true, WideBlock, "~,~,~;r2,2,3;r3,3,4.5", 3},
        {"an empty cell before the line end is not written", {}, false, "z\t\r\n\t5", "z,1,1.5;,5,3;r3,3,4.5"},
        {"more rows than records, appending allowed", {}, false, "a\r\nb\r\nc\r\nd\r\n",
         "a,1,1.5;b,2,3;c,3,4.5;d,~,~"},
        {"more rows than records, appending not allowed",
         [](auto& F) { F.Grid->SetAllowedOperations({alopUpdateEh}); }, false, "a\r\nb\r\nc\r\nd",
         "a,1,1.5;b,2,3;c,3,4.5"},
        {"a pasted copy appends no empty record", {}, false, QByteArray("a\r\nb\r\nc\r\n\0junk", 14),
         "a,1,1.5;b,2,3;c,3,4.5"},
        {"from the current column", [](auto& F) { F.Grid->SetSelectedIndex(1); }, false, "7\t8",
         "r1,7,8;r2,2,3;r3,3,4.5"},
        {"selected records only", [](auto& F) {
             F.Data->SetRecNo(1);
             F.Grid->SelectedRows()->SetCurrentRowSelected(true);
             F.Data->SetRecNo(3);
             F.Grid->SelectedRows()->SetCurrentRowSelected(true); }, false, "a\r\nb\r\nc",
         "a,1,1.5;r2,2,3;b,3,4.5"},
        {"a third cell of each record drops in a two-column rectangle", [](auto& F) {
             F.Grid->Selection()->Rect()->Select(0, F.Mark(2), false);
             F.Grid->Selection()->Rect()->Select(1, F.Mark(3), true); }, true, ThreeCells,
         "r1,1,1.5;A,42,3;B,~,4.5", 4},
        {"whole selected columns", [](auto& F) {
             F.Grid->Selection()->Columns()->Select(F.Grid->Columns(2), false); }, false, "0.5\r\n\r\n2",
         "r1,1,0.5;r2,2,3;r3,3,2"},
        {"a shown currency amount reads back", {}, false, "x\t1\t\xef\xbf\xa5" "1,234.50", "x,1,1234.5;r2,2,3;r3,3,4.5"},
        // Rows show the stored Name: the lookup writes only its key, Num.
        {"a lookup matches the whole text in any case", [](auto& F) { F.LookupName("Num"); }, false,
         "北京\r\nSHANGHAI\r\n北", "r1,2,1.5;r2,3,3;r3,3,4.5"},
        {"a lookup without KeyFields is skipped", [](auto& F) { F.LookupName(""); }, true,
         Binary({"VCLDBIF\x01", Int32(2), QByteArray("\x01\0\x01\0", 4), "\x05", Int32(1), "A", "\x03", Int32(42),
                 QByteArray(1, '\0')}),
         "r1,42,1.5;r2,2,3;r3,3,4.5"},
        {"a rectangle stops past its bottom record hidden by a filter", [](auto& F) {
             for (int i = 4; i <= 6; ++i)
                 F.Data->AppendRecord(F.Record(i));
             F.Grid->Selection()->Rect()->Select(0, F.Mark(2), false);
             F.Grid->Selection()->Rect()->Select(1, F.Mark(3), true);
             F.Data->SetFilter("Num <> 3");
             F.Data->SetFiltered(true); }, false, "a\t1\r\nb\t2\r\nc\t3",
         "r1,1,1.5;a,1,3;r4,4,6;r5,5,7.5;r6,6,9"},
        {"on a record appended at the end the rows follow it", [](auto& F) {
             F.Data->Last();
             F.Data->Append(); }, false, "x\r\ny", "r1,1,1.5;r2,2,3;r3,3,4.5;x,~,~;y,~,~"},
        {"a binary cell keeps its bytes", [](auto& F) {
             F.Data->Close();
             F.Data->FieldDefs()->Add("Pic", ftVarBytes);
             F.Data->Open();
             F.Fill(3);
             F.AddColumn("Pic", 80);
             F.Grid->SetSelectedIndex(3); }, true,
         Binary({"VCLDBIF\x01", Int32(1), QByteArray("\x01\0", 2), "\x06", Int32(3), QByteArray("\x00\x01\xff", 3),
                 QByteArray(1, '\0')}),
         "r1,1,1.5,0001ff;r2,2,3,~;r3,3,4.5,~"},
    };
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Name);
        TearDown();
        SetUp();
        Data->First();
        if (C.Setup)
            C.Setup(*this);
        const size_t Kept =
            C.Binary ? Import<TDBGridEhImportAsVCLDBIF>(C.Data) : Import<TDBGridEhImportAsText>(C.Data);
        Data->FieldByName("Name")->SetFieldKind(fkData);
        EXPECT_EQ(Rows(), C.Rows);
        if (C.Kept >= 0) {
            EXPECT_EQ(Kept, size_t(C.Kept));
        }
    }
}

// "Ignore error?" answered Yes, All or No; No leaves the record being written
// as it was and stops.
TEST_F(TImportFixture, AsksWhetherToIgnoreAFailingCell)
{
    struct TCase
    {
        const char* Name;
        TModalResult Answer;
        int Asked;
        QString Rows;
    };
    const TCase Cases[] = {
        {"yes to each", mrYes, 3, "a,1,1.5;b,2,3;c,3,4.5"},
        {"all at the first", mrAll, 1, "a,1,1.5;b,2,3;c,3,4.5"},
        {"no at the first", mrNo, 1, "r1,1,1.5;r2,2,3;r3,3,4.5"},
    };
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Name);
        TearDown();
        SetUp();
        int Asked = 0;
        TModalHandlers Handlers(nullptr, [&](const TMessageRequest& M) {
            ++Asked;
            EXPECT_TRUE(M.Text.startsWith("Error during insert value:\n")) << M.Text.toStdString();
            EXPECT_TRUE(M.Text.endsWith("\n\nIgnore error?"));
            return C.Answer;
        });
        Import<TDBGridEhImportAsText>("a\tx\r\nb\tx\r\nc\tx");
        EXPECT_EQ(Asked, C.Asked);
        EXPECT_EQ(Rows(), C.Rows);
    }
}

// Every field type through the binary format and through text, as a copy
// pasted into an empty list.
TEST(TImportRoundTrip, EveryFieldTypeComesBack)
{
    const std::vector<std::pair<const char*, TFieldType>> Fields = {
        {"I", ftInteger}, {"S", ftSmallint}, {"F", ftFloat}, {"C", ftCurrency}, {"D", ftDate},
        {"T", ftDateTime}, {"B", ftBoolean}, {"W", ftWideString}, {"A", ftString}, {"M", ftMemo},
        {"L", ftLargeint}};
    const QList<QList<Variant>> Records = {
        {Variant(-7), Variant(3), Variant(0.1), Variant(-1234.5), Variant::FromDateTime(EncodeDate(2024, 1, 5)),
         Variant::FromDateTime(EncodeDate(2023, 12, 31) + EncodeTime(23, 59, 58, 0)), Variant(true),
         Variant("北京分公司"), Variant("say \"hi\""), Variant("备注 {x}"), Variant(int64_t(9007199254740993LL))},
        {Variant::Null(), Variant::Null(), Variant::Null(), Variant::Null(), Variant::Null(), Variant::Null(),
         Variant::Null(), Variant::Null(), Variant::Null(), Variant::Null(), Variant::Null()},
        {Variant(0), Variant(-3), Variant(1e-5), Variant(0.0), Variant::FromDateTime(EncodeDate(1999, 2, 28)),
         Variant::FromDateTime(EncodeDate(2000, 1, 1)), Variant(false), Variant(""), Variant("'"),
         Variant("x"), Variant(int64_t(-1))},
    };
    auto MakeData = [&] {
        auto D = std::make_unique<TMemDataSet>();
        for (const auto& [Name, Type] : Fields)
            D->FieldDefs()->Add(QString::fromUtf8(Name), Type, Type == ftWideString || Type == ftString ? 20 : 0);
        D->Open();
        return D;
    };
    // Null strings read back as empty texts: text has no null.
    auto Dump = [](TDataSet* D, bool NullText) {
        QStringList L;
        D->First();
        while (!D->Eof()) {
            for (int i = 0; i < D->FieldCount(); ++i) {
                TField* F = D->Fields(i);
                const bool Null = F->IsNull() && (NullText || !IsStringFieldType(F->DataType()));
                L << (Null ? QStringLiteral("~") : F->AsString());
            }
            D->Next();
        }
        return L.join(u'|');
    };
    auto Source = MakeData();
    for (const QList<Variant>& R : Records)
        Source->AppendRecord(R);
    TDataSource SourceLink;
    SourceLink.SetDataSet(Source.get());
    TDBGridEh From;
    From.SetDrawMemoText(true);
    From.SetOptions(From.Options() - TDBGridOptions({dgTitles}));
    From.SetDataSource(&SourceLink);
    for (const bool AsText : {false, true}) {
        SCOPED_TRACE(AsText ? "text" : "binary");
        CopyGridSelection(&From, true);
        if (AsText)
            Clipboard()->SetAsText(Clipboard()->AsText());
        auto Target = MakeData();
        TDataSource TargetLink;
        TargetLink.SetDataSet(Target.get());
        TDBGridEh To;
        To.SetDrawMemoText(true);
        To.SetDataSource(&TargetLink);
        PasteIntoGrid(&To, false);
        EXPECT_EQ(Dump(Target.get(), !AsText), Dump(Source.get(), !AsText));
    }
}

// Damaged blocks: every truncated prefix and seeded byte flips either import
// or fail with the reader's message, and a failure writes nothing.
TEST_F(TImportFixture, DamagedDataFailsCleanly)
{
    TModalHandlers Handlers(nullptr, [](const TMessageRequest&) { return mrAll; });
    Grid->SetOptions(Grid->Options() - TDBGridOptions({dgTitles}));
    Data->Edit();
    Data->FieldByName("Name")->SetAsString("北京");
    Data->Post();
    CopyGridSelection(Grid.get(), true);
    const QByteArray Blocks[] = {Clipboard()->GetFormat("VCLDBIF"), Clipboard()->AsText().toUtf8() + "\r\nx\ty"};
    const QString Messages[] = {"TDBGridEhImportAsVCLDBIF.ReadPrefix: Invalid VCLDBIF format",
                                "TDBGridEhImportAsText.CheckState: Invalid text format"};
    QRandomGenerator Random(2024);
    int Failed = 0, Tried = 0;
    for (int Kind = 0; Kind < 2; ++Kind) {
        const QByteArray& Good = Blocks[Kind];
        std::vector<QByteArray> Inputs;
        for (qsizetype n = 0; n < Good.size(); ++n)
            Inputs.push_back(Good.left(n));
        for (int i = 0; i < 2000; ++i) {
            QByteArray B = Good;
            B[Random.bounded(int(B.size()))] = char(Random.bounded(256));
            Inputs.push_back(B);
        }
        for (const QByteArray& In : Inputs) {
            Data->DisableControls();
            Data->EmptyDataSet();
            Fill(3);
            Data->EnableControls();
            const QString Before = Rows();
            try {
                if (Kind == 0)
                    Import<TDBGridEhImportAsVCLDBIF>(In);
                else
                    Import<TDBGridEhImportAsText>(In);
            } catch (const Exception& E) {
                ASSERT_EQ(E.Message(), Messages[Kind]) << In.toHex().toStdString();
                ASSERT_EQ(Rows(), Before);
                ++Failed;
            }
            ++Tried;
        }
    }
    // Both outcomes occur: the damage reaches the readers' checks and past them.
    EXPECT_GT(Failed, 0);
    EXPECT_LT(Failed, Tried);
}

TEST_F(TImportFixture, DeleteAsksByKind)
{
    struct TCase
    {
        const char* Name;
        std::function<void(TImportFixture&)> Select;
        bool All;
        QString Asked;
        QString Rows;
        QString Error = {};
    };
    const std::vector<TCase> Cases = {
        {"one record", [](auto& F) { F.Data->SetRecNo(2); F.Grid->SelectedRows()->SetCurrentRowSelected(true); },
         false, "Delete record?", "r1,1,1.5;r3,3,4.5"},
        {"two records", [](auto& F) {
             for (int r : {1, 3}) {
                 F.Data->SetRecNo(r);
                 F.Grid->SelectedRows()->SetCurrentRowSelected(true);
             } }, false, "Delete all selected records?", "r2,2,3"},
        {"a rectangle is cleared", [](auto& F) {
             F.Grid->Selection()->Rect()->Select(1, F.Mark(1), false);
             F.Grid->Selection()->Rect()->Select(2, F.Mark(2), true); }, false, "Clear selected cells?",
         "r1,~,~;r2,~,~;r3,3,4.5"},
        {"a rectangle whose bottom record a filter hides clears nothing past it", [](auto& F) {
             F.Grid->Selection()->Rect()->Select(1, F.Mark(1), false);
             F.Grid->Selection()->Rect()->Select(2, F.Mark(2), true);
             F.Data->SetFilter("Num <> 2");
             F.Data->SetFiltered(true); }, false, "Clear selected cells?", "r1,~,~;r3,3,4.5"},
        {"selected records a filter hides are neither counted nor deleted", [](auto& F) {
             for (int r : {1, 2}) {
                 F.Data->SetRecNo(r);
                 F.Grid->SelectedRows()->SetCurrentRowSelected(true);
             }
             F.Data->SetFilter("Num <> 2");
             F.Data->SetFiltered(true); }, false, "Delete record?", "r3,3,4.5"},
        {"columns are cleared without asking", [](auto& F) {
             F.Grid->Selection()->Columns()->Select(F.Grid->Columns(0), false); }, false, "", "~,1,1.5;~,2,3;~,3,4.5"},
        {"the whole grid goes without asking", {}, true, "", ""},
        {"a delete the dataset undoes stops the whole grid", [](auto& F) {
             F.Data->AfterDelete = [&F](TDataSet* D) {
                 if (++F.Undone < 5)
                     D->AppendRecord({Variant("x"), Variant(0), Variant(0)});
             }; }, true, "", "r2,2,3;r3,3,4.5;x,0,0", "Record was not deleted"},
    };
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Name);
        TearDown();
        SetUp();
        QString Asked;
        TModalHandlers Handlers(nullptr, [&](const TMessageRequest& M) {
            Asked = M.Text;
            return mrOk;
        });
        if (C.Select)
            C.Select(*this);
        QString Error;
        try {
            DeleteGridSelection(Grid.get(), C.All);
        } catch (const Exception& E) {
            Error = E.Message();
        }
        EXPECT_EQ(Error, C.Error);
        EXPECT_EQ(Asked, C.Asked);
        EXPECT_EQ(Rows(), C.Rows);
    }
}

// Over the delivered database: "No" to a failing cell takes back every row
// the paste had already written, in the database and in the query.
TEST(TImportTransaction, NoRollsBackTheWholePaste)
{
    QTemporaryDir Dir;
    QFile Schema(QStringLiteral(TB_SOURCE_DIR "/resources/schema.sql"));
    ASSERT_TRUE(Schema.open(QIODevice::ReadOnly));
    const QString Path = Dir.filePath("Tallybridge.mdb");
    CreateDatabaseFile(Path, QString::fromUtf8(Schema.readAll()));
    TADOConnection Connection;
    Connection.SetConnectionString("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + Path);
    Connection.Open();
    Connection.Execute("Insert Into Account (AccountName, AccountBase) Values ('现金', 10)");
    Connection.Execute("Insert Into Account (AccountName, AccountBase) Values ('银行', 20)");
    TADOQuery Query;
    Query.SetConnection(&Connection);
    Query.SQL()->SetText("Select AccountName, AccountBase From Account Where AccountIndex > 1 Order By AccountIndex");
    Query.Open();
    TDataSource Source;
    Source.SetDataSet(&Query);
    TDBGridEh Grid;
    Grid.SetDataSource(&Source);
    TModalHandlers Handlers(nullptr, [](const TMessageRequest&) { return mrNo; });
    TMemoryStream S(QByteArray("甲\t1\r\n乙\tnot a number"));
    ImportGridFromStream<TDBGridEhImportAsText>(&Grid, S, false);
    auto Names = [](TDataSet* D) {
        QStringList L;
        for (D->First(); !D->Eof(); D->Next())
            L << D->FieldByName("AccountName")->AsString() + "=" + D->FieldByName("AccountBase")->AsString();
        return L.join(u',');
    };
    EXPECT_EQ(Names(&Query), "现金=10,银行=20");
    TADOQuery Check;
    Check.SetConnection(&Connection);
    Check.SQL()->SetText("Select AccountName, AccountBase From Account Where AccountIndex > 1 Order By AccountIndex");
    Check.Open();
    EXPECT_EQ(Names(&Check), "现金=10,银行=20");
    EXPECT_FALSE(Connection.InTransaction());
}

} // namespace
