// The engine's tool button: frames of a glyph strip, the five looks read back
// as pixels, groups, shared image lists; the combo edit's keys and button.
#include "UiTestUtil.h"
#include "platform/gui/Forms.h"
#include "platform/gui/StdCtrls.h"
#include "report/engine/FR_Ctrls.h"

#include <QKeyEvent>
#include <gtest/gtest.h>
#include <memory>

using namespace uitest;

namespace {

constexpr unsigned Face = 0xD4D0C8, Light = 0xFFFFFF, Shadow = 0x808080;

// Frames of 16 x 16 on olive, each with an 8 x 8 square of its colour at 4..11.
std::unique_ptr<TBitmap> Strip(std::initializer_list<QRgb> Inks, int Size = 16)
{
    QImage I(Size * int(Inks.size()), Size, QImage::Format_RGB32);
    I.fill(qRgb(128, 128, 0));
    int Frame = 0;
    for (QRgb Ink : Inks) {
        for (int Y = 4; Y < 12; ++Y)
            for (int X = 4; X < 12; ++X)
                I.setPixel(Frame * Size + X, Y, Ink);
        ++Frame;
    }
    auto B = std::make_unique<TBitmap>();
    B->LoadFromImage(I);
    return B;
}

} // namespace

TEST(SpeedButton, GlyphStripGivesTheFrameCount)
{
    struct TRow { const char* Name; int Width, Height, SetTo, Expected; };
    const TRow Rows[] = {
        {"FourFrames", 64, 16, 0, 4},       {"FiveFramesCountAsOne", 80, 16, 0, 1},
        {"ThreeFrames", 48, 16, 0, 3},      {"NotAMultipleKeepsTheCount", 30, 16, 0, 1},
        {"BelowOneCountsAsOne", 64, 16, -2, 1}, {"AboveFourIsFour", 16, 16, 9, 4},
        {"EmptyGlyphDrawsNothing", 16, 0, 0, 1},
    };
    for (const TRow& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        TfrSpeedButton Button;
        TBitmap Glyph(Row.Width, Row.Height);
        Button.SetGlyph(&Glyph);
        if (Row.SetTo != 0)
            Button.SetNumGlyphs(Row.SetTo);
        EXPECT_EQ(Button.NumGlyphs(), Row.Expected);
        Button.grab();
    }
}

TEST(SpeedButton, EachLookDrawsItsImage)
{
    const QRgb Red = qRgb(255, 0, 0), Yellow = qRgb(255, 255, 0), Blue = qRgb(0, 0, 255),
               Green = qRgb(0, 255, 0);
    // The glyph sits at 3..18, its square at 7..14.
    struct TRow
    {
        const char* Name;
        bool FourFrames, Flat, Group, Down, Disabled, Press, Enter;
        std::vector<std::pair<QPoint, unsigned>> Expected;
    };
    const TRow Rows[] = {
        {"Up", true, false, false, false, false, false, false, {{{10, 10}, 0xFF0000}, {{4, 4}, Face}}},
        {"PressedShowsItsFrameMoved", true, false, false, false, false, true, false,
         {{{15, 15}, 0x0000FF}, {{7, 7}, Face}}},
        {"StaysDownOnThePattern", true, false, true, true, false, false, false,
         {{{10, 10}, 0x00FF00}, {{2, 2}, Light}, {{3, 2}, Face}}},
        {"DisabledFrameOfTheStrip", true, false, false, false, true, false, false,
         {{{10, 10}, 0xFFFF00}, {{4, 4}, Face}}},
        {"OneFrameDisabledIsEmbossed", false, false, false, false, true, false, false,
         {{{10, 10}, Shadow}, {{15, 15}, Light}, {{6, 6}, Face}}},
        {"FlatInactiveIsGrey", false, true, false, false, false, false, false,
         {{{10, 10}, 0x4C4C4C}, {{0, 0}, Face}}},
        {"FlatUnderTheMouseInColourWithAFrame", false, true, false, false, false, false, true,
         {{{10, 10}, 0xFF0000}, {{0, 0}, Light}, {{21, 21}, Shadow}}},
        {"FlatDownInactiveGreyOnThePattern", false, true, true, true, false, false, false,
         {{{10, 10}, 0x4C4C4C}, {{2, 2}, Light}, {{0, 0}, Shadow}}},
    };
    for (const TRow& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        QWidget Parent;
        auto* Button = new TfrSpeedButton(&Parent);
        auto Glyph = Row.FourFrames ? Strip({Red, Yellow, Blue, Green}) : Strip({Red});
        Button->SetGlyph(Glyph.get());
        Button->SetFlat(Row.Flat);
        int Entered = 0;
        Button->OnMouseEnter = [&](QObject*) { ++Entered; };
        if (Row.Group)
            Button->SetGroupIndex(1);
        Button->SetDown(Row.Down);
        Button->SetEnabled(!Row.Disabled);
        if (Row.Enter)
            Enter(Button);
        if (Row.Press)
            Press(Button, QPoint(5, 5));
        EXPECT_EQ(Entered, Row.Enter ? 1 : 0);
        const QImage Shot = Button->grab().toImage();
        for (const auto& [At, Colour] : Row.Expected)
            EXPECT_EQ(Pixel(Shot, At.x(), At.y()), Colour) << At.x() << "," << At.y();
    }
}

TEST(SpeedButton, LeavingGreysAFlatButtonAgain)
{
    TfrSpeedButton Button;
    auto Glyph = Strip({qRgb(255, 0, 0)});
    Button.SetGlyph(Glyph.get());
    Button.SetFlat(true);
    int Left = 0;
    Button.OnMouseLeave = [&](QObject*) { ++Left; };
    Enter(&Button);
    Leave(&Button);
    EXPECT_EQ(Left, 1);
    EXPECT_EQ(Pixel(Button.grab().toImage(), 10, 10), 0x4C4C4Cu);
}

TEST(SpeedButton, GroupKeepsOneButtonDown)
{
    struct TRow { const char* Name; bool AllowAllUp; const char* Clicks; const char* Down; };
    const TRow Rows[] = {
        {"ClickPutsItDown", false, "1", "100"},
        {"AnotherRaisesTheFirst", false, "12", "010"},
        {"DownStaysWithoutAllowAllUp", false, "22", "010"},
        {"AllowAllUpRaisesIt", true, "22", "000"},
        {"ReleasedOutsideChangesNothing", false, "x", "000"},
    };
    for (const TRow& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        QWidget Parent;
        TfrSpeedButton* B[3];
        int Clicks = 0;
        for (auto*& Button : B) {
            Button = new TfrSpeedButton(&Parent);
            Button->SetGroupIndex(1);
            Button->OnClick = [&](QObject*) { ++Clicks; };
        }
        B[2]->SetAllowAllUp(Row.AllowAllUp);   // the group takes it over
        int Expected = 0;
        for (const char* C = Row.Clicks; *C; ++C) {
            if (*C == 'x') {
                Press(B[0], QPoint(5, 5));
                Release(B[0], QPoint(40, 5));
                continue;
            }
            Click(B[*C - '1']);
            ++Expected;
        }
        QString Down;
        for (auto* Button : B)
            Down += Button->Down() ? u'1' : u'0';
        EXPECT_EQ(Down, QString::fromLatin1(Row.Down));
        EXPECT_EQ(Clicks, Expected);
    }
}

TEST(SpeedButton, GlyphsOfOneSizeShareAListFreedWithItsLastUser)
{
    auto Small = Strip({qRgb(255, 0, 0)});
    auto Other = Strip({qRgb(0, 0, 255)});
    auto Large = Strip({qRgb(0, 255, 0)}, 20);
    auto A = std::make_unique<TfrSpeedButton>();
    auto B = std::make_unique<TfrSpeedButton>();
    auto C = std::make_unique<TfrSpeedButton>();
    A->SetGlyph(Small.get());
    B->SetGlyph(Other.get());
    C->SetGlyph(Large.get());
    for (auto* Button : {A.get(), B.get(), C.get()})
        Button->grab();
    EXPECT_EQ(A->ButtonGlyph()->GlyphList(), B->ButtonGlyph()->GlyphList());
    EXPECT_NE(A->ButtonGlyph()->GlyphList(), C->ButtonGlyph()->GlyphList());
    EXPECT_EQ(TGlyphCache::ListCount(), 2);
    // B's image keeps its own colour though A's went first.
    A.reset();
    EXPECT_EQ(Pixel(B->grab().toImage(), 10, 10), 0x0000FFu);
    C.reset();
    EXPECT_EQ(TGlyphCache::ListCount(), 1);
    B.reset();
    EXPECT_EQ(TGlyphCache::ListCount(), 0);
}

TEST(ComboEdit, EnterPressesTheDefaultButtonOnceAndTheButtonReportsItsClick)
{
    TForm Form;
    auto* Edit = new TfrComboEdit(&Form);
    auto* Ok = new TButton(&Form);
    Ok->SetDefault(true);
    int OkClicks = 0, ButtonClicks = 0;
    Ok->OnClick = [&](QObject*) { ++OkClicks; };
    Edit->OnButtonClick = [&](QObject* Sender) { ButtonClicks += Sender == Edit; };
    Edit->resize(120, 21);
    Form.show();
    QKeyEvent Key(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    QCoreApplication::sendEvent(Edit, &Key);
    Click(Edit->Button());
    EXPECT_EQ(OkClicks, 1);
    EXPECT_EQ(ButtonClicks, 1);
    EXPECT_EQ(Edit->Button()->geometry(), QRect(0, 0, 17, 17));
    EXPECT_EQ(Edit->Button()->parentWidget()->geometry(), QRect(101, 2, 17, 17));
}
