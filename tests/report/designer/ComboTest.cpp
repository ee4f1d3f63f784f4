// The font combo's most-recently-used block against its five stored slots,
// and the colour selector's buttons.
#include "platform/gui/ColorDialog.h"
#include "platform/gui/ModalSeam.h"
#include "platform/rtl/IniFiles.h"
#include "report/designer/FR_ColorSel.h"
#include "report/designer/FR_Combo.h"
#include "report/engine/FR_Ctrls.h"

#include <QColorDialog>
#include <QFontDatabase>
#include <QLineEdit>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

namespace {

class TFontComboTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        TRegIniFile::SetStorageFolder(Folder.path());
        Fonts = frPlainFontFamilies(QFontDatabase::families());
        ASSERT_GE(Fonts.size(), 7);
        Make();
    }
    void TearDown() override
    {
        Combo.reset();
        TRegIniFile::SetStorageFolder(QString());
    }
    void Make()
    {
        Combo = std::make_unique<TfrFontComboBox>();
        Combo->OnClick = [this](QObject*) { ++Clicks; };
    }
    // Chooses font n of the full list, below the block, as the user does.
    void Choose(int n)
    {
        for (int i = Combo->LastMRU() + 1; i < Combo->count(); ++i)
            if (Combo->itemText(i) == Fonts[n]) {
                Combo->setCurrentIndex(i);
                Combo->Choose(i);
                return;
            }
    }
    // The five slots as "0|1|2|..." with font numbers, "-" for an empty slot.
    QString Slots() const
    {
        TRegIniFile Reg(QStringLiteral("Software\\Pagewright"));
        QStringList L;
        for (int n = 0; n < 5; ++n) {
            const QString Name = Reg.ReadString(QStringLiteral("MRUFont"), QStringLiteral("Font%1").arg(n), QString());
            L << (Name.isEmpty() ? QStringLiteral("-") : QString::number(Fonts.indexOf(Name)));
        }
        return L.join(u'|');
    }

    QTemporaryDir Folder;
    QStringList Fonts;
    std::unique_ptr<TfrFontComboBox> Combo;
    int Clicks = 0;
};

TEST(FontFamilies, OfferedByPlainNamesOnly)
{
    const QStringList Listed = {QStringLiteral("Nimbus Sans [UKWN]"), QStringLiteral("C059 [URW]"),
                                QStringLiteral("C059 [UKWN]"), QStringLiteral("Arial"),
                                QStringLiteral("Tag [x] Sans"), QStringLiteral("Nimbus Sans")};
    EXPECT_EQ(frPlainFontFamilies(Listed).join(u'|'), QStringLiteral("Arial|C059|Nimbus Sans|Tag [x] Sans"));
}

TEST_F(TFontComboTest, MostRecentlyUsedBlockKeepsFiveSlots)
{
    EXPECT_EQ(Clicks, 0);
    Combo->Choose(0);
    EXPECT_EQ(Slots(), "-|-|-|-|-");
    EXPECT_EQ(Combo->LastMRU(), -1);
    for (int n = 1; n <= 6; ++n)
        Choose(n);
    EXPECT_EQ(Slots(), "6|5|4|3|2");
    EXPECT_EQ(Combo->lineEdit()->cursorPosition(), 0) << "the name shows from its start";
    EXPECT_EQ(Combo->LastMRU(), 4);
    EXPECT_EQ(Combo->itemText(5), Fonts[0]);
    // A font of the block moves to its top.
    Combo->Choose(3);
    EXPECT_EQ(Slots(), "3|6|5|4|2");
    EXPECT_EQ(Combo->currentText(), Fonts[3]);
    EXPECT_EQ(Clicks, 8);
    // The next fill reads the block back.
    Make();
    EXPECT_EQ(Combo->LastMRU(), 4);
    EXPECT_EQ(Combo->itemText(0), Fonts[3]);
    EXPECT_EQ(Clicks, 8);
}

TEST_F(TFontComboTest, StaleNameIsClearedAtTheNextFill)
{
    {
        TRegIniFile Reg(QStringLiteral("Software\\Pagewright"));
        Reg.WriteString(QStringLiteral("MRUFont"), QStringLiteral("Font0"), QStringLiteral("No Such Font"));
        Reg.WriteString(QStringLiteral("MRUFont"), QStringLiteral("Font1"), Fonts[2]);
    }
    Make();
    EXPECT_EQ(Slots(), "-|2|-|-|-");
    EXPECT_EQ(Combo->LastMRU(), 0);
    EXPECT_EQ(Combo->itemText(0), Fonts[2]);
}

TEST(ColorSelectorTest, SetColorEveryButtonAndOther)
{
    TColorSelector S;
    int Selected = 0;
    S.OnColorSelected = [&Selected](QObject*) { ++Selected; };
    for (int Tag = 0; Tag <= 16; ++Tag) {
        SCOPED_TRACE(Tag);
        S.SetColor(frColors[Tag].Value);
        EXPECT_TRUE(S.Button(Tag)->Down());
        EXPECT_EQ(S.Button(17)->Glyph(), nullptr);
        S.show();
        S.ButtonClick(Tag);
        EXPECT_EQ(S.Color(), frColors[Tag].Value);
        EXPECT_EQ(Selected, Tag + 1);
        EXPECT_FALSE(S.isVisible());
    }
    S.SetColor(0x123456);
    for (int Tag = 0; Tag < 18; ++Tag)
        EXPECT_FALSE(S.Button(Tag)->Down());
    ASSERT_NE(S.Button(17)->Glyph(), nullptr);
    EXPECT_EQ(S.Button(17)->Glyph()->Width(), 12);
    EXPECT_EQ(QColorToColor(S.Button(17)->Glyph()->Image().pixelColor(5, 5)), TColor(0x123456));
    // "Other..." cancelled chooses nothing; confirmed takes the dialog's colour.
    TColor Start = clNone;
    TModalResult Answer = mrCancel;
    TModalHandlers H(
        [&](TForm* F) {
            auto* D = dynamic_cast<TColorDialog*>(F);
            Start = QColorToColor(D->Picker()->currentColor());
            D->Picker()->setCurrentColor(QColor(0x12, 0x34, 0x56));
            return Answer;
        },
        nullptr);
    S.ButtonClick(17);
    EXPECT_EQ(Selected, 17);
    Answer = mrOk;
    S.ButtonClick(17);
    EXPECT_EQ(Start, TColor(0x123456));
    EXPECT_EQ(S.Color(), RGB(0x12, 0x34, 0x56));
    EXPECT_EQ(Selected, 18);
}

} // namespace
