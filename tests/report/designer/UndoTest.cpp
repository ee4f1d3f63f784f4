#include "DesignerTestUtil.h"

#include "platform/gui/Clipbrd.h"
#include "platform/gui/ComCtrls.h"
#include "platform/rtl/Streams.h"
#include "report/designer/FR_DsOpt.h"
#include "report/designer/FR_Undo.h"
#include "report/engine/FR_Dock.h"
#include "report/engine/FR_MemoView.h"

#include <QCheckBox>
#include <QDir>
#include <QScrollBar>
#include <fstream>
#include <random>
#include <string>
#include <sys/resource.h>
#include <unistd.h>

namespace designertest {
namespace {

class UndoTest : public TDesignerTest
{
protected:
    void Key(int K, TShiftState Shift = {})
    {
        Designer->FormKeyDown(K, Shift);
    }
    QByteArray Bytes() const
    {
        TMemoryStream S;
        Report.Pages()->SaveToStream(S);
        return S.Data();
    }
    QString Text() const
    {
        QStringList L;
        for (int p = 0; p < Report.Pages()->Count(); ++p)
            for (int i = 0; i < Report.Pages()->Pages(p)->Count(); ++i) {
                const TfrView* V = Report.Pages()->Pages(p)->Objects(i);
                L << QStringLiteral("%1:%2 %3,%4 %5x%6").arg(p).arg(V->Name()).arg(V->Left()).arg(V->Top())
                         .arg(V->Width()).arg(V->Height());
            }
        return L.join(QStringLiteral("; "));
    }
    std::vector<int> IDs() const
    {
        std::vector<int> L;
        for (int p = 0; p < Report.Pages()->Count(); ++p)
            for (int i = 0; i < Report.Pages()->Pages(p)->Count(); ++i)
                L.push_back(Report.Pages()->Pages(p)->Objects(i)->ID());
        return L;
    }
    void Select(const QStringList& Names)
    {
        Designer->UnselectAll();
        for (const QString& N : Names)
            SetViewSelected(Designer->Page->FindObject(N), true);
        Designer->PageView->ComputeSelectionBounds();
    }
    // Replays a whole buffer, turning to each record's page.
    void ReplayAll(TfrUndoBuffer& Buffer, bool Undo)
    {
        for (int Guard = 0; !Buffer.Empty() && Guard < 200; ++Guard) {
            Designer->SetCurPage(Buffer.Last().Page);
            Undo ? Designer->UndoBClick() : Designer->RedoBClick();
        }
    }
    void RandomEdit(std::mt19937& R);
};

QString At(const TfrView* V, int DX, int DY)
{
    return QStringLiteral("%1,%2").arg(V->Left() + DX).arg(V->Top() + DY);
}

void UndoTest::RandomEdit(std::mt19937& R)
{
    TfrPage* P = Designer->Page;
    auto Pick = [&]() { return P->Objects(static_cast<int>(R() % P->Count())); };
    Designer->UnselectAll();
    for (int k = R() % 4; P->Count() > 0 && k > 0; --k)
        SetViewSelected(Pick(), true);
    Designer->PageView->ComputeSelectionBounds();
    const int Arrows[] = {VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN};
    const int Arrow = Arrows[R() % 4];
    switch (R() % 16) {
    case 0: Key(Arrow, TShiftState() << ssCtrl); break;
    case 1: Key(Arrow, TShiftState() << ssShift); break;
    case 2: Key(Arrow, R() % 2 ? TShiftState() << ssAlt : TShiftState()); break;
    case 3: Designer->AlignClick(1 + static_cast<int>(R() % 10)); break;
    case 4: Designer->GB3Click(); break;
    case 5: R() % 2 ? Designer->ZB1Click() : Designer->ZB2Click(); break;
    case 6: Key(VK_DELETE); break;
    case 7: Key(VK_DELETE, TShiftState() << ssShift); break;
    case 8:
        Key(VK_INSERT, TShiftState() << ssCtrl);
        if (R() % 2)
            Designer->SetCurPage(1 - Designer->CurPageIndex());
        Key(VK_INSERT, TShiftState() << ssShift);
        break;
    case 9: {
        const int X = 8 + static_cast<int>(R() % 400), Y = 8 + static_cast<int>(R() % 400);
        const bool Line = R() % 2;
        Designer->PressTool(Line ? gtLine : gtMemo);
        Run(QStringLiteral("M %1,%2; D %1,%2; M %3,%2; U %3,%2").arg(X).arg(Y).arg(X + (Line ? 40 : 0)));
        Designer->PressTool(-1);
        break;
    }
    case 10:
        if (P->Count() > 0) {
            TfrView* V = Pick();
            const QString From = At(V, V->Width() / 2, V->Height() / 2), To = At(V, V->Width() / 2 + 8, V->Height() / 2 + 4);
            Run(QStringLiteral("M %1; D %1; M %2; U %2").arg(From, To));
        }
        break;
    case 11:
        if (P->Count() > 0) {
            TfrView* V = Pick();
            Select({V->Name()});
            const QString From = At(V, V->Width(), V->Height()), To = At(V, V->Width() + 8, V->Height() + 4);
            Run(QStringLiteral("M %1; D %1; M %2; U %2").arg(From, To));
        }
        break;
    case 12: {
        TfrView *A = P->FindObject(QStringLiteral("SplitA")), *B = P->FindObject(QStringLiteral("SplitB"));
        if (A && B && A->Left() + A->Width() == B->Left() && A->Top() == B->Top()) {
            Select({A->Name(), B->Name()});
            const QString From = At(B, 1, 5), To = At(B, 9, 5);
            Run(QStringLiteral("M %1; D %1; M %2; U %2").arg(From, To));
        }
        break;
    }
    case 13: Designer->FileBtn4Click(); break;   // preview
    case 14: Designer->FileBtn2Click(); break;   // open a file that is not there
    default: Designer->SetCurPage(1 - Designer->CurPageIndex()); break;
    }
}

// Every edit undone gives back the starting page bytes; every edit redone,
// the final bytes with the very same objects. Previews and failed opens come
// between the edits.
TEST_F(UndoTest, UndoAndRedoOfRandomEditsRestoreThePagesExactly)
{
    Report.Pages()->Add();
    Report.SetShowProgress(false);
    TModalHandlers H([](TForm*) { return mrOk; }, [](const TMessageRequest&) { return mrNo; },
                     [this](const TFileRequest&) { return Settings.filePath(QStringLiteral("none.frf")); });
    Open();
    // Inserted views are not opened in their editors here.
    Designer->EditAfterInsert = false;
    for (int Seed = 0; Seed < 120; ++Seed) {
        for (int p = 1; p >= 0; --p) {
            Designer->SetCurPage(p);
            Designer->Page->Clear();
        }
        Build(QStringLiteral("Title band 0,20 600x40 bt0 child=Child1; Child1 band 0,60 600x30 bt21; "
                             "Data band 0,100 600x40 bt5; M1 8,104 60x20 text=a; M2 80,106 30x20 r32; "
                             "M3 120,24 40x20 r64; M4 200,108 40x20 r16; Line1 line 8,150 80x0; "
                             "Pic1 pic 300,20 40x40; SplitA 200,300 40x20; SplitB 240,300 40x20"));
        Designer->SetCurPage(1);
        Build(QStringLiteral("Head band 0,10 600x30 bt2; N1 20,50 50x20; N2 90,50 50x20"));
        Designer->SetCurPage(0);
        Designer->ClearUndoBuffer();
        Designer->ClearRedoBuffer();
        const QByteArray Start = Bytes();
        const QString StartText = Text();

        std::mt19937 R(static_cast<unsigned>(Seed));
        const int Edits = 1 + static_cast<int>(R() % 60);
        for (int e = 0; e < Edits; ++e)
            RandomEdit(R);
        const QByteArray Final = Bytes();
        const QString FinalText = Text();
        const std::vector<int> FinalIDs = IDs();

        ReplayAll(Designer->UndoBuffer(), true);
        ASSERT_EQ(Text(), StartText) << "seed " << Seed;
        ASSERT_TRUE(Bytes() == Start) << "seed " << Seed;
        ReplayAll(Designer->RedoBuffer(), false);
        ASSERT_EQ(Text(), FinalText) << "seed " << Seed;
        ASSERT_TRUE(Bytes() == Final) << "seed " << Seed;
        ASSERT_EQ(IDs(), FinalIDs) << "seed " << Seed;
    }
}

TEST_F(UndoTest, TheHundredAndFirstRecordDropsTheOldest)
{
    Open();
    Build(QStringLiteral("Memo1 8,8 40x20 sel"));
    for (int i = 0; i < 101; ++i)
        Key(VK_RIGHT, TShiftState() << ssCtrl);
    EXPECT_EQ(Designer->UndoBuffer().Count(), 100);
    ReplayAll(Designer->UndoBuffer(), true);
    EXPECT_EQ(PageText(), QStringLiteral("Memo1 9,8 40x20"));
}

TEST_F(UndoTest, ARecordWaitsForItsPage)
{
    Report.Pages()->Add();
    Open();
    Designer->SetCurPage(1);
    Build(QStringLiteral("Memo1 8,8 40x20 sel"));
    Key(VK_RIGHT, TShiftState() << ssCtrl);
    Designer->SetCurPage(0);
    Designer->UndoBClick();
    EXPECT_EQ(Designer->UndoBuffer().Count(), 1);
    Designer->SetCurPage(1);
    Designer->UndoBClick();
    EXPECT_EQ(Designer->Page->Objects(0)->Left(), 8);
}

TEST_F(UndoTest, DisableUndoDropsTheHistoryAndThenOnlyMarksTheReportModified)
{
    Open();
    Build(QStringLiteral("Memo1 8,8 40x20 sel"));
    Key(VK_RIGHT, TShiftState() << ssCtrl);
    TModalHandlers H([](TForm* F) {
        static_cast<TfrDesOptionsForm*>(F)->CB8->setChecked(true);
        return mrOk;
    }, nullptr);
    Designer->N14Click();
    ASSERT_TRUE(Designer->DisableUndo);
    EXPECT_TRUE(Designer->UndoBuffer().Empty());
    Key(VK_RIGHT, TShiftState() << ssCtrl);
    EXPECT_TRUE(Designer->GetModified());
    EXPECT_TRUE(Designer->UndoBuffer().Empty());
    EXPECT_FALSE(Designer->findChild<QWidget*>(QStringLiteral("UndoB"))->isEnabled());
}

TEST_F(UndoTest, ANewChangeDropsTheRedoHistory)
{
    Open();
    Build(QStringLiteral("Memo1 8,8 40x20 sel"));
    Key(VK_RIGHT, TShiftState() << ssCtrl);
    Designer->UndoBClick();
    EXPECT_EQ(Designer->RedoBuffer().Count(), 1);
    Select({QStringLiteral("Memo1")});
    Key(VK_DOWN, TShiftState() << ssCtrl);
    EXPECT_TRUE(Designer->RedoBuffer().Empty());
    EXPECT_FALSE(Designer->findChild<QWidget*>(QStringLiteral("RedoB"))->isEnabled());
}

TEST_F(UndoTest, UndoOfADeleteLeavesProtectedViewsSingle)
{
    Open();
    Build(QStringLiteral("Memo1 8,8 40x20 sel; Memo2 60,8 40x20 sel r64"));
    Key(VK_DELETE);
    EXPECT_EQ(PageText(), QStringLiteral("Memo2 60,8 40x20"));
    Designer->UndoBClick();
    EXPECT_EQ(PageText(), QStringLiteral("Memo1 8,8 40x20; Memo2 60,8 40x20"));
}

TEST_F(UndoTest, DeletingAChildBandRecordsTheBandLinkingIt)
{
    Open();
    Build(QStringLiteral("Title band 0,20 600x40 bt0 child=Child1; Child1 band 0,60 600x30 bt21 sel"));
    Key(VK_DELETE);
    auto* Title = static_cast<TfrBandView*>(Page()->FindObject(QStringLiteral("Title")));
    EXPECT_EQ(Title->ChildBand(), QString());
    Designer->UndoBClick();
    EXPECT_EQ(Title->ChildBand(), QStringLiteral("Child1"));
    EXPECT_EQ(Page()->Count(), 2);
}

// A record that no longer fits the page is dropped with the whole history
// instead of changing whatever view stands at its index.
TEST_F(UndoTest, ARecordThatDoesNotFitThePageIsNotApplied)
{
    Open();
    Build(QStringLiteral("Memo1 8,8 40x20 sel; Memo2 60,8 40x20"));
    Key(VK_RIGHT, TShiftState() << ssCtrl);
    Page()->Delete(0);
    Designer->UndoBClick();
    EXPECT_EQ(PageText(), QStringLiteral("Memo2 60,8 40x20"));
    EXPECT_TRUE(Designer->UndoBuffer().Empty());
    EXPECT_TRUE(Designer->RedoBuffer().Empty());
}

// ---------------------------------------------------------------- clipboard

TEST_F(UndoTest, PasteIntoASecondDesignerSkipsAUniqueBandTypeAlreadyThere)
{
    Open();
    Build(QStringLiteral("Head band 0,40 600x30 bt2 sel; Data1 band 0,80 600x30 bt5 sel; Memo1 30,84 40x20 sel text=x"));
    Key(VK_INSERT, TShiftState() << ssCtrl);
    Designer.reset();

    TfrReport Other;
    Other.Pages()->Add();
    CurReport = &Other;
    Open();
    Build(QStringLiteral("Own band 0,0 600x30 bt2; Data1 band 0,200 600x30 bt5"));
    Key(VK_INSERT, TShiftState() << ssShift);
    QStringList L;
    for (int i = 0; i < Designer->Page->Count(); ++i) {
        const TfrView* V = Designer->Page->Objects(i);
        L << QStringLiteral("%1 %2,%3%4").arg(V->Name()).arg(V->Left()).arg(V->Top()).arg(V->Selected() ? " sel" : "");
    }
    EXPECT_EQ(L.join(QStringLiteral("; ")), QStringLiteral("Own 0,0; Data1 0,200; Band1 0,40 sel; Memo1 30,44 sel"));
    Designer->UndoBClick();
    EXPECT_EQ(Designer->Page->Count(), 2);
    Designer.reset();
    CurReport = &Report;
}

struct TPasteRow
{
    const char* Name;
    const char* Page;
    int ScrollX;
    const char* After;
};

class PasteTest : public UndoTest, public ::testing::WithParamInterface<TPasteRow>
{
};

TEST_P(PasteTest, PlacesThePastedViews)
{
    Open();
    Designer->resize(400, 300);
    Designer->FormResize();
    Build(QStringLiteral("Memo1 30,20 40x20 sel; Memo2 50,60 40x20 sel"));
    Key(VK_INSERT, TShiftState() << ssCtrl);
    Page()->Clear();
    Designer->UnselectAll();
    Build(QString::fromUtf8(GetParam().Page));
    Designer->ScrollBox1->horizontalScrollBar()->setRange(0, 1000);
    Designer->ScrollBox1->horizontalScrollBar()->setValue(GetParam().ScrollX);
    Designer->PstBClick();
    EXPECT_EQ(PageText(), QString::fromUtf8(GetParam().After));
    EXPECT_EQ(SelCount, PageText().count(QStringLiteral(" sel")));
}

const TPasteRow PasteRows[] = {
    {"AtTheTopLeft", "", 0, "Memo1 0,0 40x20 sel; Memo2 20,40 40x20 sel"},
    {"AtTheVisibleLeftEdgeOnTheGrid", "", 203, "Memo1 192,0 40x20 sel; Memo2 212,40 40x20 sel"},
    {"OnTheTargetBand", "Data band 0,100 600x40 bt5 sel", 0,
     "Data 0,100 758x40; Memo1 0,100 40x20 sel; Memo2 20,100 40x20 sel"},
    {"OnTheFirstOfTwoSelectedBands", "Data band 0,100 600x40 bt5 sel; Data2 band 0,200 600x40 bt5 sel", 0,
     "Data 0,100 758x40; Data2 0,200 758x40 sel; Memo1 0,100 40x20 sel; Memo2 20,100 40x20 sel"},
};
INSTANTIATE_TEST_SUITE_P(Designer, PasteTest, ::testing::ValuesIn(PasteRows),
                         [](const auto& Info) { return std::string(Info.param.Name); });

// Copied views and copied text keep out of each other's way.
TEST_F(UndoTest, TheDesignerKeepsItsOwnClipboard)
{
    Open();
    Clipboard()->SetAsText(QStringLiteral("text"));
    Build(QStringLiteral("Memo1 30,20 40x20 sel"));
    EXPECT_FALSE(Designer->PstB->isEnabled());
    Key(VK_INSERT, TShiftState() << ssCtrl);
    EXPECT_EQ(Clipboard()->AsText(), QStringLiteral("text"));
    EXPECT_TRUE(Designer->PstB->isEnabled());
    Clipboard()->SetAsText(QStringLiteral("other text"));
    Designer->PstBClick();
    EXPECT_EQ(PageText(), QStringLiteral("Memo1 30,20 40x20; Memo2 0,0 40x20 sel"));
}

// An add-in whose drawing fails, as a drawing that runs out of memory does.
class TfrFaultyView : public TfrMemoView
{
public:
    void Draw(TCanvas*) override { throw std::bad_alloc(); }
    QString ClassName() const override { return QStringLiteral("TfrFaultyView"); }
};

TEST_F(UndoTest, APasteIsRecordedBeforeItIsDrawn)
{
    frAddIns.push_back({QStringLiteral("TfrFaultyView"), [] { return std::make_unique<TfrFaultyView>(); },
                        QString(), QStringLiteral("Faulty"), nullptr, 0});
    Open();
    auto Faulty = CreateViewByType(gtAddIn, QStringLiteral("TfrFaultyView"));
    Faulty->SetName(QStringLiteral("Faulty1"));
    ClipboardList = frWriteViewsBlock({Faulty.get()});
    EXPECT_THROW(Designer->PstBClick(), std::bad_alloc);
    EXPECT_EQ(Records(), QStringLiteral("0:Faulty1"));
    Designer->UndoBClick();
    EXPECT_EQ(Page()->Count(), 0);
    frAddIns.clear();
}

// A block asking for more memory than there is must not end the program:
// pasted in a process of its own whose address space leaves room for the
// paste and not for a line kept pixel by pixel.
TEST_F(UndoTest, ACraftedBlockIsPastedWithinLimitedMemory)
{
    Open();
    auto Line = CreateViewByType(gtLine, QString());
    Line->SetName(QStringLiteral("Line1"));
    Line->SetBounds(0, 8, 1800000000, 0);
    ClipboardList = frWriteViewsBlock({Line.get()});
    const auto PasteUnderLimit = [this] {
        std::ifstream Status("/proc/self/status");
        long long SizeKB = 0;
        for (std::string Word; Status >> Word;)
            if (Word == "VmSize:" && Status >> SizeKB)
                break;
        const rlim_t Bytes = static_cast<rlim_t>(SizeKB) * 1024 + (rlim_t(1) << 30);
        const rlimit Limit{Bytes, Bytes};
        setrlimit(RLIMIT_AS, &Limit);
        int Code = 2;
        try {
            Designer->PstBClick();
            Code = Page()->Count() == 0 ? 0 : 1;
        } catch (...) {
            Code = 3;
        }
        // _exit runs no destructor: the folders this process made go first
        // (the test main's configuration folder is a temporary one).
        Settings.remove();
        if (const QString Config = qEnvironmentVariable("XDG_CONFIG_HOME"); Config.startsWith(QDir::tempPath() + u'/'))
            QDir(Config).removeRecursively();
        _exit(Code);
    };
    // A fresh run of this test in a new process, not a fork of this one with
    // whatever other threads hold.
    const std::string Style = GTEST_FLAG_GET(death_test_style);
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(PasteUnderLimit(), ::testing::ExitedWithCode(0), "") << "1 pasted, 3 failed";
    GTEST_FLAG_SET(death_test_style, Style);
}

TEST_F(UndoTest, CopyWithNothingSelectedLeavesNothingToPaste)
{
    Open();
    Build(QStringLiteral("Memo1 30,20 40x20"));
    Key(VK_INSERT, TShiftState() << ssCtrl);
    Designer->CopyBClick();
    EXPECT_FALSE(Designer->CanPaste());
    Designer->PstBClick();
    EXPECT_EQ(Page()->Count(), 1);
}

} // namespace
} // namespace designertest
