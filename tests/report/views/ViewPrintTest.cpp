// Records that views write into a prepared page when printed: the type byte,
// the class name of add-ins, the record with the expanded memo, and what the
// band, the tag, the script and the report's before-print event change.
#include "ViewTestUtil.h"

#include "platform/rtl/Streams.h"
#include "report/engine/FR_Band.h"
#include "report/engine/FR_Class.h"
#include "report/engine/FR_LineView.h"
#include "report/engine/FR_MemoView.h"
#include "report/form/ViewTestBytes.h"

#include <gtest/gtest.h>

using namespace viewtest;

namespace {

// The common part of a prepared-page record of a view at (10, 20, 30, 40).
TBytes Common(const QString& Name, uint16_t Flags, uint16_t FrameTyp, uint32_t Fill, const QStringList& Memo,
              int Top = 20, const QString& Tag = QString(), uint8_t BandAlign = 0)
{
    return TBytes().Str(Name).U8(2).U8(0).I32(10).I32(Top).I32(30).I32(40).U16(Flags).U16(FrameTyp).I32(1)
        .U32(0).U16(0).U32(Fill).List(Memo).U16(0).Str(Tag).I32(2).I32(1).U8(BandAlign);
}

// The memo's own part with its defaults.
TBytes MemoOwn()
{
    return TBytes().Str("Arial").I32(10).U16(0).U32(0).I32(0).U16(1).I32(2).I32(0);
}

class TfrTestAddIn : public TfrView
{
public:
    QString ClassName() const override { return QStringLiteral("TfrTestAddIn"); }
};

struct TPrintRow
{
    const char* Name;
    std::function<std::unique_ptr<TfrView>()> Make;
    std::function<void()> Setup;
    QByteArray Expected;
};

TEST(ViewPrint, RecordsWrittenIntoThePreparedPage)
{
    static TfrBand Band;
    Band.Y = 100;
    Band.DY = 50;
    auto Line = [] { return std::unique_ptr<TfrView>(std::make_unique<TfrLineView>()); };
    auto Memo = [](const QString& Text, uint8_t Align = baNone) {
        return [=] {
            auto View = std::make_unique<TfrMemoView>();
            View->Memo()->Add(Text);
            View->SetBandAlign(Align);
            return std::unique_ptr<TfrView>(std::move(View));
        };
    };
    const TPrintRow Rows[] = {
        {"line", Line, {}, TBytes().U8(gtLine).Raw(Common("Line1", 1, 4, 0xFFFFFF, {}))},
        {"line at its band's bottom", [] {
             auto View = std::make_unique<TfrLineView>();
             View->SetBandAlign(baBottom);
             return std::unique_ptr<TfrView>(std::move(View));
         },
         [] { CurBand = &Band; }, TBytes().U8(gtLine).Raw(Common("Line1", 1, 4, 0xFFFFFF, {}, 110, {}, baBottom))},
        {"line with its tag expanded", [] {
             auto View = std::make_unique<TfrLineView>();
             View->SetTag(QStringLiteral("page [Page]"));
             return std::unique_ptr<TfrView>(std::move(View));
         },
         {}, TBytes().U8(gtLine).Raw(Common("Line1", 1, 4, 0xFFFFFF, {}, 20, "page 3"))},
        {"line hidden by its script", Line, [] { frRunScript = [](TStrings*) { CurView->SetVisible(false); }; },
         QByteArray()},
        {"add-in with its class name", [] { return std::unique_ptr<TfrView>(std::make_unique<TfrTestAddIn>()); }, {},
         TBytes().U8(gtAddIn).Str("TfrTestAddIn").Raw(Common("Line1", 1, 0, 0x1FFFFFFF, {}))},
        {"memo expanded", Memo("[Page] of 9"), {},
         TBytes().U8(gtMemo).Raw(Common("Line1", 3, 0, 0x1FFFFFFF, {"3 of 9"})).Raw(MemoOwn())},
        {"memo at the band's bottom is written unaligned", Memo("x", baBottom), {},
         TBytes().U8(gtMemo).Raw(Common("Line1", 3, 0, 0x1FFFFFFF, {"x"})).Raw(MemoOwn())},
        {"memo changed by the before-print event is not expanded", Memo("[Page]"),
         [] {
             CurReport->OnBeforePrint = [](TStringList* Lines, TfrView*) { Lines->SetText(QStringLiteral("[Own]")); };
         },
         TBytes().U8(gtMemo).Raw(Common("Line1", 3, 0, 0x1FFFFFFF, {"[Own]"})).Raw(MemoOwn())},
    };
    for (const TPrintRow& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        TEngineState State(dmPrinting);
        TfrReport Report;
        CurReport = &Report;
        frFormattedValue = [](const QString& Expression) {
            return Expression == u"Page" ? QStringLiteral("3") : QString();
        };
        auto View = Row.Make();
        View->SetName(QStringLiteral("Line1"));
        View->SetBounds(10, 20, 30, 40);
        View->SetStreamMode(1);
        if (Row.Setup)
            Row.Setup();
        const QString Tag = View->Tag();
        TMemoryStream Out;
        View->Print(Out);
        EXPECT_EQ(Out.Data().toHex(' '), Row.Expected.toHex(' '));
        EXPECT_EQ(QStringLiteral("%1 %2").arg(View->Top()).arg(View->Tag()), QStringLiteral("20 %1").arg(Tag))
            << "the design place and tag come back";
        CurReport = nullptr;
    }
}

} // namespace
