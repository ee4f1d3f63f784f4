// The designer's clipboard block of views: read back whole, and a damaged or
// foreign block gives no view at all (this program runs under the sanitizers).
#include "platform/rtl/Streams.h"
#include "report/designer/FR_Undo.h"
#include "report/engine/FR_BandView.h"
#include "report/engine/FR_Class.h"
#include "report/engine/FR_Globals.h"
#include "report/engine/FR_MemoView.h"

#include <gtest/gtest.h>

namespace {

class ViewsBlockTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        CurReport = &Report;
        Report.Pages()->Add();
        auto Memo = CreateViewByType(gtMemo, QString());
        Memo->SetName(QStringLiteral("Memo1"));
        Memo->SetBounds(10, 20, 30, 40);
        Memo->Memo()->Add(QStringLiteral("[Total]"));
        auto Band = CreateViewByType(gtBand, QString());
        Band->SetName(QStringLiteral("Band1"));
        static_cast<TfrBandView*>(Band.get())->SetBandType(btMasterData);
        Block = frWriteViewsBlock({Memo.get(), Band.get()});
    }
    void TearDown() override { CurReport = nullptr; }

    TfrReport Report;
    QByteArray Block;
};

TEST_F(ViewsBlockTest, ReadsBackEveryView)
{
    const auto Views = frReadViewsBlock(Block);
    ASSERT_EQ(Views.size(), 2u);
    EXPECT_EQ(Views[0]->Name(), QStringLiteral("Memo1"));
    EXPECT_EQ(QRect(Views[0]->Left(), Views[0]->Top(), Views[0]->Width(), Views[0]->Height()), QRect(10, 20, 30, 40));
    EXPECT_EQ(Views[0]->Memo()->Text(), QStringLiteral("[Total]\r\n"));
    EXPECT_EQ(static_cast<TfrBandView*>(Views[1].get())->BandType(), btMasterData);
}

TEST_F(ViewsBlockTest, EveryCutShortBlockGivesNothing)
{
    for (int Size = 0; Size < Block.size(); ++Size)
        EXPECT_TRUE(frReadViewsBlock(Block.left(Size)).empty()) << Size;
}

struct TDamage
{
    const char* Name;
    int Offset;            // where Bytes go; -1 appends them, below that counts from the end
    QByteArray Bytes;
};

class DamagedBlockTest : public ViewsBlockTest, public ::testing::WithParamInterface<TDamage>
{
};

TEST_P(DamagedBlockTest, GivesNothing)
{
    QByteArray B = Block;
    const TDamage& D = GetParam();
    if (D.Offset == -1)
        B.append(D.Bytes);
    else if (D.Offset < 0)
        B.replace(B.size() + D.Offset, D.Bytes.size(), D.Bytes);
    else
        B.replace(D.Offset, D.Bytes.size(), D.Bytes);
    EXPECT_TRUE(frReadViewsBlock(B).empty());
}

const TDamage Damages[] = {
    {"HugeCount", 0, QByteArray("\xFF\xFF\xFF\x7F", 4)},
    {"CountBeyondTheViews", 0, QByteArray("\x03\x00\x00\x00", 4)},
    {"UnknownTypeByte", 4, QByteArray("\x07", 1)},
    {"UnknownAddInClass", 4, QByteArray("\x0A\x04\x00XXXX", 7)},
    {"ClassNameLongerThanTheBlock", 5, QByteArray("\xFF\xFF", 2)},
    {"TrailingBytes", -1, QByteArray("\x00", 1)},
    {"ForeignText", 0, QByteArray("hello, world")},
    {"MemoWiderThanAnyPage", 37, QByteArray("\x00\xD2\x49\x6B", 4)},
    {"BandOfAMillionColumns", -19, QByteArray("\x40\x42\x0F\x00", 4)},
};
INSTANTIATE_TEST_SUITE_P(Block, DamagedBlockTest, ::testing::ValuesIn(Damages),
                         [](const auto& Info) { return std::string(Info.param.Name); });

} // namespace
