// Dataset semantics on the in-memory dataset: walking, bookmarks, editing,
// locating, filtering, events, DisableControls, and the record window of links.
#include "platform/db/DataLink.h"
#include "platform/db/DataSource.h"
#include "platform/db/MemDataSet.h"
#include "platform/rtl/SysUtils.h"
#include "TestText.h"

#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <ostream>

namespace {

class TDataSetTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Data = std::make_unique<TMemDataSet>();
        Data->setObjectName(QStringLiteral("Data"));
        Data->FieldDefs()->Add(QStringLiteral("Id"), ftInteger);
        Data->FieldDefs()->Add(QStringLiteral("Name"), ftWideString, 20);
        Data->FieldDefs()->Add(QStringLiteral("Amount"), ftFloat);
        Data->CreateDataSet();
        const char* Names[] = {"甲", "乙", "丙", "丁", "戊", "己", "庚", "辛", "壬", "癸"};
        for (int i = 0; i < 10; ++i)
            Data->AppendRecord({Variant(i + 1), Variant(QString::fromUtf8(Names[i])), Variant(i * 1.5)});
        Data->First();
    }

    QString Ids()
    {
        QStringList L;
        for (Data->First(); !Data->Eof(); Data->Next())
            L << Data->FieldByName(QStringLiteral("Id"))->AsString();
        return L.join(u',');
    }

    std::unique_ptr<TMemDataSet> Data;
};

// A link that records what it hears.
class TRecordingLink : public TDataLink
{
public:
    QStringList Log;

protected:
    void ActiveChanged() override { Log << QStringLiteral("active"); }
    void DataSetChanged() override { Log << QStringLiteral("changed"); }
    void DataSetScrolled(int Distance) override { Log << QStringLiteral("scrolled %1").arg(Distance); }
    void EditingChanged() override { Log << QStringLiteral("editing"); }
    void RecordChanged(TField* Field) override
    {
        Log << (Field ? QStringLiteral("record ") + Field->FieldName() : QStringLiteral("record"));
    }
};

TEST_F(TDataSetTest, WalksWithClassicBofAndEof)
{
    EXPECT_TRUE(Data->Bof());
    EXPECT_FALSE(Data->Eof());
    EXPECT_EQ(Data->RecordCount(), 10);
    EXPECT_EQ(Data->MoveBy(4), 4);
    EXPECT_EQ(Data->RecNo(), 5);
    EXPECT_EQ(Data->MoveBy(100), 5);
    EXPECT_TRUE(Data->Eof());
    EXPECT_EQ(Data->MoveBy(-100), -9);
    EXPECT_TRUE(Data->Bof());
    Data->SetRecNo(7);
    EXPECT_EQ(Data->FieldByName(QStringLiteral("Id"))->AsInteger(), 7);
    Data->Last();
    EXPECT_TRUE(Data->Eof());
    EXPECT_EQ(Data->FieldByName(QStringLiteral("Name"))->AsString(), QStringLiteral("癸"));
}

// Links read Bof and Eof when they hear of a move (a scroll bar shows them),
// so the flags are right by then, also when running into an end moves nothing.
TEST_F(TDataSetTest, LinksSeeTheEndFlagsOfAMove)
{
    class TFlagLink : public TDataLink
    {
    public:
        QStringList Log;

    protected:
        void DataSetScrolled(int) override
        {
            Log << QStringLiteral("%1%2").arg(DataSet()->Bof() ? "B" : "-", DataSet()->Eof() ? "E" : "-");
        }
    };
    TDataSource Source;
    Source.SetDataSet(Data.get());
    TFlagLink Link;
    Link.SetDataSource(&Source);
    struct TStep
    {
        const char* Name;
        std::function<void()> Move;
        const char* Heard;
    };
    const TStep Steps[] = {
        {"last", [&] { Data->Last(); }, "-E"},
        {"next at the end", [&] { Data->Next(); }, ""},
        {"back one", [&] { Data->Prior(); }, "--"},
        {"first", [&] { Data->First(); }, "B-"},
        {"prior at the start", [&] { Data->Prior(); }, ""},
        {"next", [&] { Data->Next(); }, "--"},
        {"last then past it", [&] { Data->Last(); Data->Prior(); Data->Next(); Data->Next(); }, "-E,--,--,-E"},
    };
    for (const TStep& S : Steps) {
        SCOPED_TRACE(S.Name);
        Link.Log.clear();
        S.Move();
        EXPECT_EQ(Link.Log.join(u','), QString::fromLatin1(S.Heard));
    }
}

TEST_F(TDataSetTest, FieldByNameReportsAMissingField)
{
    try {
        Data->FieldByName(QStringLiteral("Nope"));
        FAIL();
    } catch (const EDatabaseError& E) {
        EXPECT_TRUE(E.Message().contains(QStringLiteral("Field 'Nope' not found")));
    }
    EXPECT_EQ(Data->FindField(QStringLiteral("name")), Data->Fields(1));
}

TEST_F(TDataSetTest, BookmarksSurviveInsertsAndDeletes)
{
    Data->SetRecNo(5);
    const TBookmark Five = Data->GetBookmark();
    Data->SetRecNo(2);
    const TBookmark Two = Data->GetBookmark();
    Data->First();
    Data->Insert();
    Data->FieldByName(QStringLiteral("Id"))->SetAsInteger(0);
    Data->Post();
    Data->SetRecNo(4);
    Data->Delete();
    Data->GotoBookmark(Five);
    EXPECT_EQ(Data->FieldByName(QStringLiteral("Id"))->AsInteger(), 5);
    EXPECT_EQ(Data->CompareBookmarks(Two, Five), -1);
    EXPECT_EQ(Data->CompareBookmarks(Five, Two), 1);
    EXPECT_EQ(Data->CompareBookmarks(Five, Five), 0);
    Data->Delete();
    EXPECT_FALSE(Data->BookmarkValid(Five));
    EXPECT_THROW(Data->GotoBookmark(Five), EDatabaseError);
    EXPECT_EQ(Ids(), QStringLiteral("0,1,2,4,6,7,8,9,10"));
}

TEST_F(TDataSetTest, DeleteLeavesTheCursorOnTheFollowingRecord)
{
    Data->SetRecNo(3);
    Data->Delete();
    EXPECT_EQ(Data->FieldByName(QStringLiteral("Id"))->AsInteger(), 4);
    EXPECT_FALSE(Data->Eof());
    Data->Last();
    Data->Delete();
    EXPECT_EQ(Data->FieldByName(QStringLiteral("Id"))->AsInteger(), 9);
    EXPECT_TRUE(Data->Eof());
    Data->First();
    while (!Data->Eof())
        Data->Delete();
    EXPECT_TRUE(Data->IsEmpty());
    EXPECT_TRUE(Data->Bof());
}

TEST_F(TDataSetTest, InsertAppendCancelAndPost)
{
    Data->SetRecNo(3);
    Data->Insert();
    EXPECT_EQ(Data->State(), dsInsert);
    EXPECT_EQ(Data->RecNo(), 3);
    Data->Cancel();
    EXPECT_EQ(Data->FieldByName(QStringLiteral("Id"))->AsInteger(), 3);
    Data->Append();
    Data->FieldByName(QStringLiteral("Id"))->SetAsString(QStringLiteral("11"));
    // A value the integer field could not give back is refused as typed.
    try {
        Data->FieldByName(QStringLiteral("Id"))->SetAsString(QStringLiteral("99999999999"));
        ADD_FAILURE() << "an out-of-range integer was stored";
    } catch (const EConvertError& E) {
        EXPECT_EQ(E.Message(), QStringLiteral("'99999999999' is not a valid integer value"));
    }
    EXPECT_EQ(Data->FieldByName(QStringLiteral("Id"))->AsInteger(), 11);
    Data->FieldByName(QStringLiteral("Amount"))->SetAsString(QString());
    EXPECT_TRUE(Data->FieldByName(QStringLiteral("Amount"))->IsNull());
    Data->Next(); // leaving the record posts it
    EXPECT_EQ(Data->State(), dsBrowse);
    EXPECT_EQ(Data->RecordCount(), 11);
    Data->Edit();
    Data->Cancel();
    EXPECT_EQ(Ids(), QStringLiteral("1,2,3,4,5,6,7,8,9,10,11"));
    EXPECT_THROW(Data->FieldByName(QStringLiteral("Id"))->SetAsInteger(1), EDatabaseError);
}

TEST_F(TDataSetTest, LocateAndLookup)
{
    struct TCase
    {
        const char* Fields;
        QList<Variant> Values;
        TLocateOptions Options;
        int Expect;
    };
    Data->Edit();
    Data->FieldByName(QStringLiteral("Name"))->SetAsString(QStringLiteral("Apple pie"));
    Data->Post();
    const TCase Cases[] = {
        {"Id", {Variant(7)}, 0, 7},
        {"Name", {Variant("丙")}, 0, 3},
        {"name", {Variant("apple PIE")}, loCaseInsensitive, 1},
        {"Name", {Variant("apple PIE")}, 0, -1},
        {"Name", {Variant("Apple")}, loPartialKey, 1},
        {"Name", {Variant("APP")}, loPartialKey | loCaseInsensitive, 1},
        {"Id;Name", {Variant(4), Variant("丁")}, 0, 4},
        {"Id;Name", {Variant(4), Variant("甲")}, 0, -1},
        {"Amount", {Variant(4.5)}, 0, 4},
    };
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Fields);
        Data->First();
        const bool Found = Data->Locate(QString::fromLatin1(C.Fields), C.Values, C.Options);
        EXPECT_EQ(Found, C.Expect > 0);
        if (Found) {
            EXPECT_EQ(Data->FieldByName(QStringLiteral("Id"))->AsInteger(), C.Expect);
        }
    }
    Data->SetRecNo(2);
    EXPECT_EQ(VarToStr(Data->Lookup(QStringLiteral("Id"), Variant(6), QStringLiteral("Name"))), QStringLiteral("己"));
    EXPECT_TRUE(Data->Lookup(QStringLiteral("Id"), Variant(99), QStringLiteral("Name")).IsNull());
    EXPECT_EQ(Data->RecNo(), 2);
}

TEST_F(TDataSetTest, FilterTextAndEvent)
{
    struct TCase
    {
        const char* Filter;
        const char* Ids;
    };
    const TCase Cases[] = {
        {"Id > 7", "8,9,10"},
        {"Id <= 2 or Id = 10", "1,2,10"},
        {"(Id >= 2) and not (Amount > 3)", "2,3"},
        {"Name = '丙'", "3"},
        {"Name <> '丙' and Id < 4", "1,2"},
    };
    Data->SetFiltered(true);
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Filter);
        Data->SetFilter(QString::fromUtf8(C.Filter));
        EXPECT_EQ(Ids(), QString::fromLatin1(C.Ids));
    }
    Data->SetFilter(QString());
    Data->OnFilterRecord = [](TDataSet* D, bool& Accept) {
        Accept = D->FieldByName(QStringLiteral("Id"))->AsInteger() % 3 == 0;
    };
    Data->SetFiltered(false);
    Data->SetFiltered(true);
    EXPECT_EQ(Ids(), QStringLiteral("3,6,9"));
    Data->SetFiltered(false);
    EXPECT_EQ(Data->RecordCount(), 10);
    EXPECT_THROW(Data->SetFilter(QStringLiteral("Id >")), EDatabaseError);
    Data->SetFilter(QStringLiteral("Missing = 1"));
    EXPECT_THROW(Data->SetFiltered(true), EDatabaseError);
    EXPECT_FALSE(Data->Filtered());
    EXPECT_EQ(Data->RecordCount(), 10);
}

TEST_F(TDataSetTest, EventsAreReplacedAndRestored)
{
    QStringList Log;
    Data->AfterScroll = [&](TDataSet*) { Log << QStringLiteral("app"); };
    const TDataSetNotifyEvent Saved = Data->AfterScroll;
    Data->AfterScroll = [&, Saved](TDataSet* D) {
        Log << QStringLiteral("hook");
        Saved(D);
    };
    Data->Next();
    Data->AfterScroll = Saved;
    Data->Next();
    EXPECT_EQ(Log.join(u','), QStringLiteral("hook,app,app"));

    QStringList Order;
    Data->BeforePost = [&](TDataSet*) { Order << QStringLiteral("BeforePost"); };
    Data->AfterPost = [&](TDataSet*) { Order << QStringLiteral("AfterPost"); };
    Data->AfterEdit = [&](TDataSet*) { Order << QStringLiteral("AfterEdit"); };
    Data->BeforeDelete = [&](TDataSet* D) { Order << QStringLiteral("BeforeDelete %1").arg(D->RecNo()); };
    Data->AfterInsert = [&](TDataSet*) { Order << QStringLiteral("AfterInsert"); };
    Data->AfterCancel = [&](TDataSet*) { Order << QStringLiteral("AfterCancel"); };
    Data->Edit();
    Data->FieldByName(QStringLiteral("Amount"))->SetAsFloat(1);
    Data->Post();
    Data->Delete();
    Data->Insert();
    Data->Cancel();
    EXPECT_EQ(Order.join(u','), QStringLiteral("AfterEdit,BeforePost,AfterPost,BeforeDelete 3,AfterInsert,AfterCancel"));
}

TEST_F(TDataSetTest, NestedDisableControlsNotifiesOnceAtTheEnd)
{
    TDataSource Source;
    Source.SetDataSet(Data.get());
    TRecordingLink Link;
    Link.SetDataSource(&Source);
    Link.Log.clear();
    Data->DisableControls();
    Data->DisableControls();
    Data->Next();
    Data->EnableControls();
    Data->Last();
    EXPECT_TRUE(Link.Log.isEmpty());
    EXPECT_TRUE(Data->ControlsDisabled());
    Data->EnableControls();
    EXPECT_EQ(Link.Log.join(u','), QStringLiteral("changed"));
    EXPECT_FALSE(Data->ControlsDisabled());
}

TEST_F(TDataSetTest, RecordWindowShiftsByTheLeastDistance)
{
    TDataSource Source;
    Source.SetDataSet(Data.get());
    TRecordingLink Link;
    Link.SetBufferCount(4);
    Link.SetDataSource(&Source);
    struct TStep
    {
        int RecNo;
        const char* Log;
        int First;
        int Active;
    };
    const TStep Steps[] = {
        {3, "scrolled 0", 0, 2},
        {5, "scrolled 1", 1, 3},
        {9, "scrolled 4", 5, 3},
        {10, "scrolled 1", 6, 3},
        {8, "scrolled 0", 6, 1},
        {2, "scrolled -5", 1, 0},
    };
    for (const TStep& S : Steps) {
        SCOPED_TRACE(S.RecNo);
        Link.Log.clear();
        Data->SetRecNo(S.RecNo);
        EXPECT_EQ(Link.Log.join(u','), QString::fromLatin1(S.Log));
        EXPECT_EQ(Link.FirstRecord(), S.First);
        EXPECT_EQ(Link.ActiveRecord(), S.Active);
        EXPECT_EQ(Link.RecordCount(), 4);
    }
}

TEST_F(TDataSetTest, ActiveRecordReadsAnotherRowQuietly)
{
    TDataSource Source;
    Source.SetDataSet(Data.get());
    TRecordingLink Link;
    Link.SetBufferCount(5);
    Link.SetDataSource(&Source);
    int Scrolls = 0;
    Data->AfterScroll = [&](TDataSet*) { ++Scrolls; };
    Data->SetRecNo(2);
    Scrolls = 0;
    Link.Log.clear();
    QStringList Window;
    const int Saved = Link.ActiveRecord();
    for (int i = 0; i < Link.RecordCount(); ++i) {
        Link.SetActiveRecord(i);
        Window << Data->FieldByName(QStringLiteral("Name"))->AsString();
    }
    Link.SetActiveRecord(Saved);
    EXPECT_EQ(Window.join(QString()), QStringLiteral("甲乙丙丁戊"));
    EXPECT_EQ(Data->RecNo(), 2);
    EXPECT_EQ(Data->FieldByName(QStringLiteral("Name"))->AsString(), QStringLiteral("乙"));
    EXPECT_EQ(Scrolls, 0);
    EXPECT_TRUE(Link.Log.isEmpty());
}

TEST_F(TDataSetTest, LinksHearEditingAndFieldChanges)
{
    TDataSource Source;
    Source.SetDataSet(Data.get());
    TRecordingLink Link;
    Link.SetDataSource(&Source);
    QStringList States;
    Source.OnStateChange = [&](TDataSource* S) { States << QString::number(S->State()); };
    Link.Log.clear();
    Data->Edit();
    Data->FieldByName(QStringLiteral("Name"))->SetAsString(QStringLiteral("x"));
    Data->Post();
    EXPECT_EQ(Link.Log.join(u','), QStringLiteral("editing,record,record Name,editing,changed"));
    EXPECT_EQ(States.join(u','), QStringLiteral("2,1"));
    Link.Log.clear();
    Data->Close();
    EXPECT_EQ(Link.Log.join(u','), QStringLiteral("active"));
    EXPECT_FALSE(Link.Active());
    Data->Open();
    EXPECT_TRUE(Link.Active());
    EXPECT_EQ(Data->RecordCount(), 10); // in-memory rows survive closing
}

TEST_F(TDataSetTest, LinksOutliveTheirDataSet)
{
    TDataSource Source;
    Source.SetDataSet(Data.get());
    TRecordingLink Link;
    Link.SetDataSource(&Source);
    Link.Log.clear();
    Data.reset();
    EXPECT_EQ(Source.DataSet(), nullptr);
    EXPECT_FALSE(Link.Active());
    EXPECT_EQ(Link.Log.join(u','), QStringLiteral("active"));
}

TEST_F(TDataSetTest, FieldDataLinkFollowsItsField)
{
    TDataSource Source;
    Source.SetDataSet(Data.get());
    TFieldDataLink Link;
    QStringList Seen;
    Link.OnDataChange = [&](TFieldDataLink* L) { Seen << (L->Field() ? L->Field()->AsString() : QStringLiteral("-")); };
    Link.OnUpdateData = [&](TFieldDataLink* L) { L->Field()->SetAsString(QStringLiteral("typed")); };
    Link.SetDataSource(&Source);
    Link.SetFieldName(QStringLiteral("Name"));
    Data->Next();
    EXPECT_EQ(Seen.join(u','), QStringLiteral("甲,乙"));
    ASSERT_TRUE(Link.Edit());
    Link.SetModified();
    Data->Post(); // the link writes the control's text first
    EXPECT_EQ(Data->FieldByName(QStringLiteral("Name"))->AsString(), QStringLiteral("typed"));
}

TEST_F(TDataSetTest, UnsequencedDataSetCannotNumberItsRecords)
{
    Data->SetSequenced(false);
    EXPECT_FALSE(Data->IsSequenced());
    EXPECT_EQ(Data->RecordCount(), -1);
    EXPECT_EQ(Data->RecNo(), -1);
    // Bookmarks still order the records, which is what a virtual record list needs.
    const TBookmark A = Data->GetBookmark();
    Data->Next();
    EXPECT_EQ(Data->CompareBookmarks(A, Data->GetBookmark()), -1);
}

TEST_F(TDataSetTest, DisplayAndEditFormats)
{
    TField* Amount = Data->FieldByName(QStringLiteral("Amount"));
    Data->SetRecNo(3);
    EXPECT_EQ(Amount->DisplayText(), QStringLiteral("3"));
    Amount->SetDisplayFormat(QStringLiteral("#,##0.00"));
    Amount->SetEditFormat(QStringLiteral("0.0"));
    EXPECT_EQ(Amount->DisplayText(), QStringLiteral("3.00"));
    EXPECT_EQ(Amount->Text(), QStringLiteral("3.0"));
    EXPECT_EQ(Amount->Alignment(), taRightJustify);
    EXPECT_EQ(Data->FieldByName(QStringLiteral("Name"))->Alignment(), taLeftJustify);
    EXPECT_EQ(Amount->AsVariant().Kind(), Variant::TKind::Double);
    EXPECT_EQ(Data->FieldByName(QStringLiteral("Id"))->AsVariant().Kind(), Variant::TKind::Integer);
    Amount->OnGetText = [](TField*, QString& Text, bool Display) { Text = Display ? QStringLiteral("D") : QStringLiteral("E"); };
    EXPECT_EQ(Amount->DisplayText() + Amount->Text(), QStringLiteral("DE"));
}

} // namespace
