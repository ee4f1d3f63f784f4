#include "DesignerTestUtil.h"

#include "platform/gui/TestRender.h"
#include "report/designer/FR_Combo.h"
#include "report/designer/FR_Insp.h"
#include "report/engine/FR_Ctrls.h"
#include "report/engine/FR_Dock.h"
#include "report/engine/FR_MemoView.h"

#include <QComboBox>
#include <QImage>
#include <QLineEdit>

namespace designertest {
namespace {

TShiftState Mods(const QString& Text)
{
    TShiftState S;
    if (Text.contains(QStringLiteral("Ctrl")))
        S << ssCtrl;
    if (Text.contains(QStringLiteral("Shift")))
        S << ssShift;
    if (Text.contains(QStringLiteral("Alt")))
        S << ssAlt;
    return S;
}

struct TKeyRow
{
    const char* Name;
    const char* Page;
    int Key;
    const char* Shift;
    const char* After;
    const char* Records;
    bool Cleared;
};

class KeyTest : public TDesignerTest, public ::testing::WithParamInterface<TKeyRow>
{
};

TEST_P(KeyTest, ActsOnTheSelection)
{
    const TKeyRow& R = GetParam();
    Open();
    ClearClipboardList();
    Build(QString::fromUtf8(R.Page));
    int Key = R.Key;
    Designer->FormKeyDown(Key, Mods(QString::fromUtf8(R.Shift)));
    EXPECT_EQ(PageText(), QString::fromUtf8(R.After));
    EXPECT_EQ(Records(), QString::fromUtf8(R.Records));
    EXPECT_EQ(Key == 0, R.Cleared);
}

const TKeyRow KeyRows[] = {
    {"DelDeletes", "Memo1 8,8 40x20 sel; Memo2 60,8 40x20", VK_DELETE, "", "Memo2 60,8 40x20", "1:Memo1", true},
    {"DelWithoutSelectionPassesOn", "Memo1 8,8 40x20", VK_DELETE, "", "Memo1 8,8 40x20", "", false},
    {"ShiftDelCuts", "Memo1 8,8 40x20 sel; Memo2 60,8 40x20", VK_DELETE, "Shift", "Memo2 60,8 40x20", "1:Memo1", false},
    {"CtrlRightMoves", "Memo1 8,8 40x20 sel; Memo2 60,8 40x20 sel r32", VK_RIGHT, "Ctrl",
     "Memo1 9,8 40x20 sel; Memo2 60,8 40x20 sel", "2:Memo1,Memo2", false},
    {"ShiftDownResizes", "Memo1 8,8 40x20 sel", VK_DOWN, "Shift", "Memo1 8,8 40x21 sel", "2:Memo1", false},
    {"ShiftRightMovesASizeRestrictedView", "Memo1 8,8 40x20 sel r16", VK_RIGHT, "Shift", "Memo1 9,8 40x20 sel",
     "2:Memo1", false},
    {"ShiftLeftStopsAtZeroWidth", "Line1 line 8,8 0x20 sel", VK_LEFT, "Shift", "Line1 8,8 0x20 sel", "2:Line1", false},
    // A step past the largest position or size the form reader takes back is not made.
    {"CtrlRightStopsAtTheLimit", "Memo1 99960,8 40x20 sel; Memo2 60,8 40x20 sel", VK_RIGHT, "Ctrl",
     "Memo1 99960,8 40x20 sel; Memo2 61,8 40x20 sel", "2:Memo1,Memo2", false},
    {"ShiftDownStopsAtTheLimit", "Memo1 8,99980 40x20 sel", VK_DOWN, "Shift", "Memo1 8,99980 40x20 sel", "2:Memo1",
     false},
    {"InsOnAReportPage", "", VK_INSERT, "", "", "", true},
    {"PageDownIsTaken", "", VK_NEXT, "", "", "", true},
};
INSTANTIATE_TEST_SUITE_P(Designer, KeyTest, ::testing::ValuesIn(KeyRows),
                         [](const auto& Info) { return std::string(Info.param.Name); });

// Keys that act through a formatting control set it and apply it.
struct TControlKeyRow
{
    const char* Name;
    int Key;
    const char* Shift;
    const char* Focus;   // C3, C4 or empty
    const char* Applied;
    const char* After;
    bool Cleared;
};

class ControlKeyTest : public TDesignerTest, public ::testing::WithParamInterface<TControlKeyRow>
{
};

TEST_P(ControlKeyTest, SetsAndAppliesTheControl)
{
    const TControlKeyRow& R = GetParam();
    Open();
    Build(QStringLiteral("Memo1 8,8 40x20 sel"));
    Designer->SelectionChanged();
    QStringList Applied;
    for (QComboBox* C : {Designer->C3, Designer->C4})
        QObject::connect(C, &QComboBox::activated, C, [C, &Applied](int) {
            Applied << C->objectName() + u'=' + C->currentText();
        });
    for (TfrSpeedButton* B : {Designer->FrB5, Designer->FrB6, Designer->FnB1})
        B->OnClick = [B, &Applied](QObject*) {
            Applied << B->objectName() + (B->Down() ? QStringLiteral(" down") : QString());
        };
    if (*R.Focus)
        Designer->findChild<QWidget*>(QString::fromUtf8(R.Focus))->setFocus();
    int Key = R.Key;
    Designer->FormKeyDown(Key, Mods(QString::fromUtf8(R.Shift)));
    EXPECT_EQ(Applied.join(u' '), QString::fromUtf8(R.Applied));
    EXPECT_EQ(PageText(), QString::fromUtf8(R.After));
    EXPECT_EQ(Key == 0, R.Cleared);
}

const TControlKeyRow ControlKeyRows[] = {
    {"CtrlFiveSetsTheFrameWidth", '5', "Ctrl", "", "C4=5", "Memo1 8,8 40x20 sel", true},
    {"CtrlFAllFrameLines", 'F', "Ctrl", "", "FrB5", "Memo1 8,8 40x20 sel", true},
    {"CtrlDNoFrame", 'D', "Ctrl", "", "FrB6", "Memo1 8,8 40x20 sel", true},
    {"EnterInTheFontSize", VK_RETURN, "", "C3", "C3=10", "Memo1 8,8 40x20 sel", true},
    {"DelInTheFontSizeDeletesNothing", VK_DELETE, "", "C3", "", "Memo1 8,8 40x20 sel", false},
};
INSTANTIATE_TEST_SUITE_P(Designer, ControlKeyTest, ::testing::ValuesIn(ControlKeyRows),
                         [](const auto& Info) { return std::string(Info.param.Name); });

TEST_F(TDesignerTest, CtrlBTogglesAndAppliesBold)
{
    Open();
    Build(QStringLiteral("Memo1 8,8 40x20 sel"));
    Designer->SelectionChanged();
    int Clicks = 0;
    Designer->FnB1->OnClick = [&Clicks](QObject*) { ++Clicks; };
    int Key = 'B';
    Designer->FormKeyDown(Key, TShiftState() << ssCtrl);
    EXPECT_TRUE(Designer->FnB1->Down());
    EXPECT_EQ(Clicks, 1);
}

TEST_F(TDesignerTest, F11ShowsAndExpandsTheInspector)
{
    Open();
    Designer->InspForm->ToggleCollapsed();
    Designer->InspForm->hide();
    int Key = VK_F11;
    Designer->FormKeyDown(Key, TShiftState());
    EXPECT_TRUE(Designer->InspForm->isVisible());
    EXPECT_GT(Designer->InspForm->height(), 30);
}

TEST_F(TDesignerTest, EscEndsAnInsertion)
{
    Open();
    Build(QStringLiteral("Memo1 8,8 40x20 sel"));
    Designer->PressTool(gtMemo);
    Run(QStringLiteral("M 100,100"));
    int Key = VK_ESCAPE;
    Designer->FormKeyDown(Key, TShiftState());
    EXPECT_EQ(Designer->ToolTag(), -1);
    EXPECT_EQ(SelCount, 0);
    Run(QStringLiteral("M 120,100; D 120,100; U 120,100"));
    EXPECT_EQ(Page()->Count(), 1);
}

TEST_F(TDesignerTest, CtrlGTogglesTheGrid)
{
    Open();
    const bool Was = Designer->GridShow;
    int Key = 'G';
    Designer->FormKeyDown(Key, TShiftState() << ssCtrl);
    EXPECT_EQ(Designer->GridShow, !Was);
    EXPECT_EQ(Designer->findChild<TfrSpeedButton*>(QStringLiteral("GB1"))->Down(), !Was);
}

// ---------------------------------------------------------------- jump

struct TJumpRow
{
    const char* Name;
    const char* Page;
    int Key;
    const char* Shift;
    const char* After;
};

class JumpTest : public TDesignerTest, public ::testing::WithParamInterface<TJumpRow>
{
};

TEST_P(JumpTest, SelectsOrSnapsToTheNearestView)
{
    Open();
    Build(QString::fromUtf8(GetParam().Page));
    int Key = GetParam().Key;
    Designer->FormKeyDown(Key, Mods(QString::fromUtf8(GetParam().Shift)));
    EXPECT_EQ(PageText(), QString::fromUtf8(GetParam().After));
}

const TJumpRow JumpRows[] = {
    {"RightTakesTheNearer", "C 100,100 20x20 sel; B 200,100 20x20; A 130,104 20x20", VK_RIGHT, "",
     "C 100,100 20x20; B 200,100 20x20; A 130,104 20x20 sel"},
    {"RightPrefersTheSameRow", "C 100,100 20x20 sel; A 130,160 20x20; B 165,100 20x20", VK_RIGHT, "",
     "C 100,100 20x20; A 130,160 20x20; B 165,100 20x20 sel"},
    {"RightWrapsToTheLeftmost", "A 10,300 20x20; C 100,100 20x20 sel; B 50,100 20x20", VK_RIGHT, "",
     "A 10,300 20x20 sel; C 100,100 20x20; B 50,100 20x20"},
    {"TiesGoToListOrder", "C 100,100 20x20 sel; A 130,100 20x20; B 130,100 20x20", VK_RIGHT, "",
     "C 100,100 20x20; A 130,100 20x20 sel; B 130,100 20x20"},
    {"LeftTakesTheNearer", "A 10,100 20x20; B 60,100 20x20; C 100,100 20x20 sel", VK_LEFT, "",
     "A 10,100 20x20; B 60,100 20x20 sel; C 100,100 20x20"},
    {"DownSkipsBands", "C 100,100 20x20 sel; Band1 band 0,130 600x20; A 100,200 20x20", VK_DOWN, "",
     "C 100,100 20x20; Band1 0,130 758x20; A 100,200 20x20 sel"},
    {"UpTakesTheNearer", "A 100,10 20x20; B 100,50 20x20; C 100,100 20x20 sel", VK_UP, "",
     "A 100,10 20x20; B 100,50 20x20 sel; C 100,100 20x20"},
    {"AltRightSnaps", "C 100,100 20x20 sel; A 130,104 20x20", VK_RIGHT, "Alt", "C 110,100 20x20 sel; A 130,104 20x20"},
    {"AltUpSnaps", "A 100,10 20x20; C 100,100 20x20 sel", VK_UP, "Alt", "A 100,10 20x20; C 100,30 20x20 sel"},
    {"AltSnapKeepsARestrictedView", "C 100,100 20x20 sel r32; A 130,104 20x20", VK_RIGHT, "Alt",
     "C 100,100 20x20 sel; A 130,104 20x20"},
};
INSTANTIATE_TEST_SUITE_P(Designer, JumpTest, ::testing::ValuesIn(JumpRows),
                         [](const auto& Info) { return std::string(Info.param.Name); });

TEST_F(TDesignerTest, TheAltSnapIsRecorded)
{
    Open();
    Build(QStringLiteral("C 100,100 20x20 sel; A 130,104 20x20"));
    int Key = VK_RIGHT;
    Designer->FormKeyDown(Key, TShiftState() << ssAlt);
    EXPECT_EQ(Records(), QStringLiteral("2:C"));
    Designer->UndoBClick();
    EXPECT_EQ(Page()->Objects(0)->Left(), 100);
}

// ---------------------------------------------------------------- alignment and grid

struct TAlignRow
{
    const char* Name;
    const char* Page;
    int Button;        // 1-10, 0 for GB3
    const char* Ref;   // RefView's name, or empty
    const char* After;
};

class AlignTest : public TDesignerTest, public ::testing::WithParamInterface<TAlignRow>
{
};

TEST_P(AlignTest, PlacesTheViews)
{
    const TAlignRow& R = GetParam();
    Open();
    Designer->GridSizeX = Designer->GridSizeY = 8;
    Build(QString::fromUtf8(R.Page));
    RefView = *R.Ref ? Page()->FindObject(QString::fromUtf8(R.Ref)) : nullptr;
    const QString Before = PageText();
    R.Button ? Designer->AlignClick(R.Button) : Designer->GB3Click();
    EXPECT_EQ(PageText(), QString::fromUtf8(R.After));
    Designer->UndoBClick();
    EXPECT_EQ(PageText().remove(QStringLiteral(" sel")), QString(Before).remove(QStringLiteral(" sel")));
}

#define THREE "A 10,10 20x10 sel; B 33,40 31x10 sel; C 50,70 15x11 sel r32"
const TAlignRow AlignRows[] = {
    {"LeftEdgesToTheTopmost", "A 10,10 20x10 sel; B 33,40 31x10 sel; C 50,70 15x11 sel", 1, "",
     "A 50,10 20x10 sel; B 50,40 31x10 sel; C 50,70 15x11 sel"},
    {"LeftEdgesToRefView", THREE, 1, "A", "A 10,10 20x10 sel; B 10,40 31x10 sel; C 50,70 15x11 sel"},
    {"HorizontalCentres", THREE, 2, "A", "A 10,10 20x10 sel; B 5,40 31x10 sel; C 50,70 15x11 sel"},
    {"SpaceEquallyHorizontally", THREE, 4, "", "A 10,10 20x10 sel; B 30,40 31x10 sel; C 50,70 15x11 sel"},
    {"SpaceEquallyByNumbers", "A -10,0 5x5 sel; B -5,8 5x5 sel; C 10000,16 5x5 sel; D 9999,24 5x5 sel", 4, "",
     "A -10,0 5x5 sel; B 3326,8 5x5 sel; C 10000,16 5x5 sel; D 6662,24 5x5 sel"},
    {"SpaceEquallyTiesInReversePageOrder", "A 0,0 5x5 sel; B 0,8 5x5 sel; C 20,16 5x5 sel", 4, "",
     "A 10,0 5x5 sel; B 0,8 5x5 sel; C 20,16 5x5 sel"},
    {"RightEdges", THREE, 5, "B", "A 44,10 20x10 sel; B 33,40 31x10 sel; C 50,70 15x11 sel"},
    {"Tops", THREE, 6, "B", "A 10,40 20x10 sel; B 33,40 31x10 sel; C 50,70 15x11 sel"},
    {"VerticalCentres", THREE, 7, "A", "A 10,10 20x10 sel; B 33,10 31x10 sel; C 50,70 15x11 sel"},
    {"SpaceEquallyVertically", "A 0,0 5x5 sel; B 0,7 5x5 sel; C 0,31 5x5 sel", 9, "",
     "A 0,0 5x5 sel; B 0,15 5x5 sel; C 0,31 5x5 sel"},
    {"Bottoms", THREE, 10, "A", "A 10,10 20x10 sel; B 33,10 31x10 sel; C 50,70 15x11 sel"},
    // The page is 1070 pixels high, its left margin 18 and its width 758.
    {"CentreVertically", "A 0,100 10x10 sel; B 0,200 10x10 sel", 8, "",
     "A 0,480 10x10 sel; B 0,580 10x10 sel"},
    {"PackTheBandFromTheLeftMargin", "Band1 band 0,100 600x40 sel; M1 50,104 30x20; M2 10,110 20x20; M3 200,300 20x20", 1,
     "", "Band1 0,100 758x40 sel; M1 38,100 30x20; M2 18,100 20x20; M3 200,300 20x20"},
    // The page's right bound is 740.
    {"PackTheBandFromTheRightEdge", "Band1 band 0,100 600x40 sel; M1 50,104 30x20; M2 10,110 20x20 r32", 5, "",
     "Band1 0,100 758x40 sel; M1 710,100 30x20; M2 10,110 20x20"},
    {"FitTwoPixelsToAnEightPixelGrid", "A 2,3 2x3 sel", 0, "", "A 0,0 8x8 sel"},
    {"FitHalvesToEven", "A 12,4 20x12 sel", 0, "", "A 16,0 16x16 sel"},
    {"FitKeepsRestrictions", "A 12,4 20x12 sel r32; B 12,4 20x12 sel r16", 0, "",
     "A 12,4 16x16 sel; B 16,0 20x12 sel"},
    {"FitKeepsALineFlat", "L line 5,5 13x0 sel", 0, "", "L 8,8 16x0 sel"},
};
#undef THREE
INSTANTIATE_TEST_SUITE_P(Designer, AlignTest, ::testing::ValuesIn(AlignRows),
                         [](const auto& Info) { return std::string(Info.param.Name); });

TEST_F(TDesignerTest, PackingRecordsTheMovedViewsTooSelectedOrNot)
{
    Open();
    Build(QStringLiteral("Band1 band 0,100 600x40 sel; M1 50,104 30x20; M3 200,300 20x20"));
    Designer->AlignClick(1);
    EXPECT_EQ(Records(), QStringLiteral("2:Band1,M1"));
}

// ---------------------------------------------------------------- tool-bar state

QString Enabled(TfrDesignerForm* D)
{
    QStringList L;
    for (const char* Name : {"FrB1", "FnB1", "CutB", "PstB"})
        if (D->findChild<QWidget*>(QLatin1String(Name))->isEnabled())
            L << QLatin1String(Name);
    return L.join(u' ');
}

struct TKindRow
{
    const char* Name;
    const char* Page;
    bool Clipboard;
    bool Dialog;
    const char* Enabled;
    const char* Fonts;   // the font name and size boxes: one memo's font, else nothing
};

class KindTest : public TDesignerTest, public ::testing::WithParamInterface<TKindRow>
{
};

TEST_P(KindTest, EnablesWhatTheSelectionAllows)
{
    const TKindRow& R = GetParam();
    if (R.Dialog)
        Page()->PageType = ptDialog;
    Open();
    ClearClipboardList();
    if (R.Clipboard)
        ClipboardList = QByteArray(4, '\0');
    Build(QString::fromUtf8(R.Page));
    Designer->SelectionChanged();
    EXPECT_EQ(Enabled(Designer.get()), QString::fromUtf8(R.Enabled));
    EXPECT_EQ(Designer->C2->currentText() + u'|' + Designer->C3->currentText(), QString::fromUtf8(R.Fonts));
}

const TKindRow KindRows[] = {
    {"Nothing", "Memo1 8,8 40x20", false, false, "", "|"},
    {"Band", "Band1 band 0,40 600x40 sel", false, false, "CutB", "|"},
    {"Memo", "Memo1 8,8 40x20 sel", false, false, "FrB1 FnB1 CutB", "Arial|10"},
    {"Picture", "Pic1 pic 8,8 40x40 sel", false, false, "FrB1 CutB", "|"},
    {"Several", "Pic1 pic 8,8 40x40 sel; Line1 line 0,80 40x0 sel", false, false, "FrB1 FnB1 CutB", "|"},
    {"ClipboardFilled", "", true, false, "PstB", "|"},
    {"MemoOnADialogPage", "Memo1 8,8 40x20 sel", false, true, "FnB1 CutB", "Arial|10"},
};
INSTANTIATE_TEST_SUITE_P(Designer, KindTest, ::testing::ValuesIn(KindRows),
                         [](const auto& Info) { return std::string(Info.param.Name); });

TEST_F(TDesignerTest, ASelectedMemoIsMirroredInTheToolBars)
{
    Open();
    Build(QStringLiteral("Memo1 40,40 120x24 sel text=Total"));
    auto* M = static_cast<TfrMemoView*>(Page()->Objects(0));
    M->SetFrameTyp(frbTop | frbBottom);
    M->Font()->SetStyle(TFontStyles() << fsBold);
    M->SetAlignment(2 | 8);
    M->SetFillColor(0x0000FF00);
    M->Font()->SetName(QStringLiteral("WenQuanYi Micro Hei"));
    Designer->SelectionChanged();
    // A name longer than the box shows its start.
    EXPECT_EQ(Designer->C2->currentText(), QStringLiteral("WenQuanYi Micro Hei"));
    EXPECT_EQ(Designer->C2->lineEdit()->cursorPosition(), 0);
    QStringList Down;
    for (const char* Name : {"FrB1", "FrB2", "FrB3", "FrB4", "FnB1", "FnB2", "AlB1", "AlB3", "AlB5", "AlB6"})
        if (Designer->findChild<TfrSpeedButton*>(QLatin1String(Name))->Down())
            Down << QLatin1String(Name);
    EXPECT_EQ(Down.join(u' '), QStringLiteral("FrB1 FrB3 FnB1 AlB3 AlB5"));
    EXPECT_EQ(Designer->SelectionText(), QStringLiteral("Memo1: Total"));

    const QImage Fill = Designer->findChild<TfrSpeedButton*>(QStringLiteral("ClB1"))->Glyph()->ToImage();
    EXPECT_EQ(Fill.pixel(5, 13) & 0xFFFFFF, 0x00FF00u);
    EXPECT_NE(Fill.pixel(5 + 16, 13) & 0xFFFFFF, 0x00FF00u);
    M->SetFillColor(clNone);
    Designer->SelectionChanged();
    const QImage None = Designer->findChild<TfrSpeedButton*>(QStringLiteral("ClB1"))->Glyph()->ToImage();
    EXPECT_EQ(None.pixel(5, 13), ColorToQColor(clBtnFace).rgb());

    const QString Keep = QString::fromLocal8Bit(qgetenv("TB_IMAGES_DIR"));
    if (!Keep.isEmpty()) {
        // Shown first: showing the window resets the selection.
        Designer->setAttribute(Qt::WA_DontShowOnScreen, true);
        Designer->show();
        Build(QStringLiteral("Band1 band 0,20 600x60 bt0; Memo2 200,40 120x24 text=Subtitle"));
        ReorderBands(Page());
        M->SetFillColor(0x00C0FFFF);
        SetViewSelected(M, true);
        RefView = M;
        Designer->PageView->ComputeSelectionBounds();
        Designer->RedrawPage();
        Designer->SelectionChanged();
        RenderToPng(Designer.get(), Keep + QStringLiteral("/designer-selection.png"));
        Designer->hide();
    }
}

TEST_F(TDesignerTest, TheStatusBarNamesABandWithItsType)
{
    Open();
    Build(QStringLiteral("Band1 band 0,40 600x40 sel bt5"));
    EXPECT_EQ(Designer->SelectionText(), QStringLiteral("Band1: ") + frBandName(btMasterData));
}

} // namespace
} // namespace designertest
