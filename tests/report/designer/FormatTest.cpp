#include "DesignerTestUtil.h"

#include "platform/gui/Menus.h"
#include "platform/gui/StdCtrls.h"
#include "report/designer/FR_Combo.h"
#include "report/designer/FR_Hilit.h"
#include "report/engine/FR_Ctrls.h"
#include "report/engine/FR_Dock.h"
#include "report/engine/FR_Fmt.h"
#include "report/engine/FR_MemoView.h"
#include "report/engine/FR_Utils.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFontDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>

namespace designertest {
namespace {

class FormatTest : public TDesignerTest
{
protected:
    // Memo1, a picture, a band and a memo that may not be modified, all selected.
    void BuildMixed()
    {
        Open();
        Build(QStringLiteral("Band1 band 0,100 600x40 sel; Memo1 10,10 96x20 sel; Locked 10,40 96x20 sel r8"));
        auto P = CreateViewByType(gtPicture, QString());
        P->SetName(QStringLiteral("Pic1"));
        P->SetBounds(120, 10, 40, 40);
        P->SetSelected(true);
        ++SelCount;
        Page()->Add(std::move(P));
    }

    // "Name bold frame width style" of every view.
    QString Formats() const
    {
        QStringList L;
        for (int i = 0; i < Page()->Count(); ++i) {
            const TfrView* V = Page()->Objects(i);
            const auto* M = dynamic_cast<const TfrMemoView*>(V);
            L << QStringLiteral("%1 %2 %3 %4 %5")
                     .arg(V->Name())
                     .arg(M ? (M->Font()->Style().Contains(fsBold) ? "b" : "-") : "")
                     .arg(V->FrameTyp())
                     .arg(V->FrameWidth())
                     .arg(M ? M->Alignment() : -1);
        }
        return L.join(QStringLiteral("; "));
    }
};

struct TClickRow
{
    const char* Name;
    std::function<QObject*(TfrDesignerForm*)> Act;   // the sender, set up
    const char* Formats;
    int Records;
};

class DoClickTest : public FormatTest, public ::testing::WithParamInterface<TClickRow>
{
};

TEST_P(DoClickTest, ChangesWhatEachViewTakes)
{
    BuildMixed();
    Designer->ClearUndoBuffer();
    Designer->PageView->grab();   // on the screen before the click
    Designer->DoClick(GetParam().Act(Designer.get()));
    EXPECT_EQ(Formats(), QString::fromLatin1(GetParam().Formats));
    EXPECT_EQ(Designer->UndoBuffer().Count(), GetParam().Records);
    // The page as shown, selection marks included, is the page drawn whole.
    const QImage Shown = Designer->PageView->grab().toImage().convertToFormat(QImage::Format_RGB32);
    Designer->RedrawPage();
    EXPECT_TRUE(Shown == Designer->PageView->grab().toImage().convertToFormat(QImage::Format_RGB32));
}

QObject* Width(TfrDesignerForm* D, const char* Text)
{
    D->C4->setCurrentText(QString::fromLatin1(Text));
    return D->C4;
}

const TClickRow ClickRows[] = {
    {"BoldOnMemosOnly", [](TfrDesignerForm* D) { D->FnB1->SetDown(true); return D->FnB1; },
     "Band1  0 1 -1; Memo1 b 0 1 0; Locked - 0 1 0; Pic1  0 1 -1", 1},
    {"AllFramesOnViewsNotBands", [](TfrDesignerForm* D) { return D->FrB5; },
     "Band1  0 1 -1; Memo1 - 15 1 0; Locked - 0 1 0; Pic1  15 1 -1", 1},
    {"TopFrameLine", [](TfrDesignerForm* D) { D->FrB1->SetDown(true); return D->FrB1; },
     "Band1  0 1 -1; Memo1 - 8 1 0; Locked - 0 1 0; Pic1  8 1 -1", 1},
    {"CentreAndMiddle",
     [](TfrDesignerForm* D) { D->AlB5->SetDown(true); D->DoClick(D->AlB5); D->AlB3->SetDown(true); return D->AlB3; },
     "Band1  0 1 -1; Memo1 - 0 1 10; Locked - 0 1 0; Pic1  0 1 -1", 2},
    {"WidthWithComma", [](TfrDesignerForm* D) { return Width(D, "1,5"); },
     "Band1  0 1 -1; Memo1 - 0 1.5 0; Locked - 0 1 0; Pic1  0 1.5 -1", 1},
    {"WidthWithPoint", [](TfrDesignerForm* D) { return Width(D, "1.5"); },
     "Band1  0 1 -1; Memo1 - 0 1.5 0; Locked - 0 1 0; Pic1  0 1.5 -1", 1},
    {"JunkWidthChangesNothing", [](TfrDesignerForm* D) { return Width(D, "1,5x"); },
     "Band1  0 1 -1; Memo1 - 0 1 0; Locked - 0 1 0; Pic1  0 1 -1", 0},
    {"WidthOutOfRangeChangesNothing", [](TfrDesignerForm* D) { return Width(D, "0"); },
     "Band1  0 1 -1; Memo1 - 0 1 0; Locked - 0 1 0; Pic1  0 1 -1", 0},
    {"SizeZeroChangesNothing", [](TfrDesignerForm* D) { D->C3->setCurrentText("0"); return D->C3; },
     "Band1  0 1 -1; Memo1 - 0 1 0; Locked - 0 1 0; Pic1  0 1 -1", 0},
};
INSTANTIATE_TEST_SUITE_P(Designer, DoClickTest, ::testing::ValuesIn(ClickRows),
                         [](const auto& Info) { return std::string(Info.param.Name); });

TEST_F(FormatTest, FontSizeAndNameAreRemembered)
{
    BuildMixed();
    Designer->C3->setCurrentText(QStringLiteral("14"));
    Designer->DoClick(Designer->C3);
    Designer->C2->setCurrentText(QStringLiteral("Courier New"));
    Designer->DoClick(Designer->C2);
    auto* M = dynamic_cast<TfrMemoView*>(Page()->FindObject(QStringLiteral("Memo1")));
    EXPECT_EQ(M->Font()->Size(), 14);
    EXPECT_EQ(M->Font()->Name(), QStringLiteral("Courier New"));
    EXPECT_EQ(frLastUsed.FontSize, 14);
    EXPECT_EQ(frLastUsed.FontName, QStringLiteral("Courier New"));
}

TEST_F(FormatTest, HighlightFilledFromTopmostMemoGoesToEverySelectedMemo)
{
    Open();
    Build(QStringLiteral("Memo1 10,10 96x20 sel; Memo2 10,40 96x20 sel"));
    auto* M1 = dynamic_cast<TfrMemoView*>(Page()->Objects(0));
    auto* M2 = dynamic_cast<TfrMemoView*>(Page()->Objects(1));
    M1->SetHighlightCondition(QStringLiteral("[A] > 1"));
    M2->SetHighlightCondition(QStringLiteral("[B] > 2"));
    M2->SetHighlight({1 | 8, 0xFF, 0x1FFFFFFF});
    QString Seen;
    TModalHandlers H(
        [&](TForm* F) {
            auto* D = dynamic_cast<TfrHilightForm*>(F);
            Seen = D->Edit1->text() + (D->CB2->isChecked() ? " italic" : "") + (D->RB1->isChecked() ? " clear" : "");
            D->CB2->setChecked(false);
            D->CB1->setChecked(true);
            return mrOk;
        },
        nullptr);
    Designer->HlB1Click();
    EXPECT_EQ(Seen, QStringLiteral("[B] > 2 italic clear"));
    for (TfrMemoView* M : {M1, M2}) {
        EXPECT_EQ(M->HighlightCondition(), QStringLiteral("[B] > 2"));
        EXPECT_EQ(M->Highlight(), (TfrHighlightAttr{2, 0xFF, 0x1FFFFFFF}));
    }
}

TEST_F(FormatTest, VariableFormatFromTheMenuGoesToEverySelectedMemoThatMayChange)
{
    Open();
    Build(QStringLiteral("Memo1 10,10 96x20 sel; Locked 10,40 96x20 sel r8; Memo2 10,70 96x20 sel"));
    Page()->Objects(2)->SetFormat(0x01010200 | '.');
    Designer->ClearUndoBuffer();
    QString Seen;
    TModalHandlers H(
        [&](TForm* F) {
            auto* D = dynamic_cast<TfrFmtForm*>(F);
            Seen = D->CatLB->currentItem()->text() + u'/' + D->TypeLB->currentItem()->text() + u'/'
                   + D->DecEdit->text();
            D->TypeLB->setCurrentRow(4);
            D->FormatEdit->setText(QStringLiteral("#,##0.0"));
            D->Button1->Click();
            return mrNone;
        },
        nullptr);
    Designer->Popup1Popup();
    TMenuItem* Item = nullptr;
    for (int i = 0; i < Designer->Popup1->Items()->Count(); ++i)
        if (Designer->Popup1->Items()->Items(i)->Caption() == u"Variable format...")
            Item = Designer->Popup1->Items()->Items(i);
    ASSERT_NE(Item, nullptr);
    Item->Click();
    EXPECT_EQ(Seen.toStdString(), "Number/1234,50/2") << "opened on the topmost selected memo";
    QStringList L;
    for (int i = 0; i < 3; ++i) {
        const TfrView* V = Page()->Objects(i);
        L << QStringLiteral("%1 %2 %3").arg(V->Name()).arg(V->Format(), 0, 16).arg(V->FormatStr());
    }
    EXPECT_EQ(L.join(u';').toStdString(), "Memo1 104022e #,##0.0;Locked 22e ;Memo2 104022e #,##0.0");
    EXPECT_EQ(Designer->UndoBuffer().Count(), 1);
}

TEST_F(FormatTest, FontDialogChangesOnlyWhatWasChangedOnMemosThatMayChange)
{
    Open();
    Build(QStringLiteral("Memo1 10,10 96x20 sel; Locked 10,40 96x20 sel r8; Memo2 10,70 96x20 sel"));
    const QString Family = QStringLiteral("DejaVu Sans");
    const int Sizes[] = {12, 9, 8};
    for (int i = 0; i < 3; ++i) {
        auto* M = dynamic_cast<TfrMemoView*>(Page()->Objects(i));
        M->Font()->SetName(i == 0 ? QStringLiteral("DejaVu Serif") : Family);
        M->Font()->SetSize(Sizes[i]);
    }
    TModalHandlers H(
        [&](TForm* F) {
            auto* D = F->findChild<QFontDialog*>();
            QFont Larger = D->currentFont();
            Larger.setPointSize(20);
            D->setCurrentFont(Larger);
            D->accept();
            return mrNone;
        },
        nullptr);
    Designer->FontEditorHook();
    QStringList L;
    for (int i = 0; i < 3; ++i) {
        auto* M = dynamic_cast<TfrMemoView*>(Page()->Objects(i));
        L << QStringLiteral("%1 %2 %3").arg(M->Name(), M->Font()->Name()).arg(M->Font()->Size());
    }
    EXPECT_EQ(L.join(u';'), QStringLiteral("Memo1 DejaVu Serif 20;Locked DejaVu Sans 9;Memo2 DejaVu Sans 20"));
}

} // namespace
} // namespace designertest
