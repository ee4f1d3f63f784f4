// Sample views for the documentation, checked: bands in the designer (hatched,
// with title tabs), frame styles, a
// wrapped Chinese memo, rotated text, a picture and lines. With TB_VIEWS_PNG set
// the sheet is written there (docs/images/report-views.png).
#include "ViewTestUtil.h"

#include "report/engine/FR_BandView.h"
#include "report/engine/FR_LineView.h"
#include "report/engine/FR_MemoView.h"
#include "report/engine/FR_PictureView.h"

#include <QBuffer>
#include <QPainter>
#include <gtest/gtest.h>

using namespace viewtest;

namespace {

TfrMemoView& Memo(TfrMemoView& M, QRect R, const QString& Text, int Alignment = 0)
{
    M.Font()->SetName(QStringLiteral("WenQuanYi Micro Hei"));
    M.SetBounds(R.x(), R.y(), R.width(), R.height());
    M.SetFrameTyp(15);
    M.SetAlignment(Alignment);
    M.Memo()->Add(Text);
    return M;
}

TEST(ViewSheet, SampleViewsForTheDocumentation)
{
    QImage Image = WhiteImage(700, 260);
    TCanvas Canvas(&Image);
    {
        TEngineState State(dmDesigning);
        auto Page = NewPage();
        CurPage = Page.get();
        TfrBandView Band, Cross;
        Band.SetBandType(btMasterData);
        Band.SetBounds(0, 24, 660, 36);
        Band.Draw(&Canvas);
        EXPECT_EQ(Band.Width(), 800) << "across the page";
        Cross.SetBandType(btCrossData);
        Cross.SetBounds(678, 300, 22, 10);
        Cross.Draw(&Canvas);
        EXPECT_EQ(QStringLiteral("%1,%2").arg(Cross.Top()).arg(Cross.Height()), QStringLiteral("0,200"));
    }
    TEngineState State(dmPrinting);
    const uint16_t Styles[] = {fsSolid, fsDash, fsDot, fsDashDot, fsDouble, fsSolid};
    const char* Names[] = {"psSolid", "psDash", "psDot", "psDashDot", "psDouble", "3 px"};
    for (int i = 0; i < 6; ++i) {
        TfrMemoView M;
        Memo(M, QRect(10 + i * 106, 80, 96, 26), QString::fromLatin1(Names[i]), frtaCenter | frtaMiddle);
        M.SetFrameStyle(Styles[i]);
        M.SetFrameWidth(i == 5 ? 3 : i == 3 ? 2 : 1);
        M.SetFrameColor(i % 2 ? 0x804000 : clBlack);
        M.Draw(&Canvas);
    }
    TfrMemoView Chinese, Rotated;
    Memo(Chinese, QRect(10, 130, 220, 110), QStringLiteral("备注：本月销售合计已按客户分类汇总，请财务主管核对后签字确认并存档备查。Total 12,345.50 元"));
    Chinese.SetFillColor(0xE8FFFF);
    Chinese.Draw(&Canvas);
    Memo(Rotated, QRect(250, 130, 40, 110), QStringLiteral("旋转文字 Up"), frtaVertical | frtaCenter).Draw(&Canvas);
    QImage Art(64, 40, QImage::Format_RGB32);
    Art.fill(QColor(166, 202, 240));
    QPainter(&Art).fillRect(0, 26, 64, 14, QColor(60, 150, 60));
    QByteArray Bytes;
    QBuffer Buffer(&Bytes);
    Buffer.open(QIODevice::WriteOnly);
    Art.save(&Buffer, "BMP");
    TfrPictureView Picture;
    Picture.SetBounds(310, 130, 150, 110);
    Picture.SetFlags(flStretched | flPictRatio | flPictCenter);
    Picture.SetFrameTyp(15);
    Picture.Picture()->Assign(gkBitmap, Bytes);
    Picture.Draw(&Canvas);
    for (QRect R : {QRect(480, 130, 10, 110), QRect(500, 130, 150, 10), QRect(500, 160, 150, 3)}) {
        TfrLineView Line;
        Line.SetBounds(R.x(), R.y(), R.width(), R.height());
        Line.SetFrameWidth(R.height() == 3 ? 3 : 1);
        Line.SetFrameStyle(R.height() == 10 ? fsDash : fsSolid);
        Line.Draw(&Canvas);
    }
    Canvas.Release();
    if (const QString Path = qEnvironmentVariable("TB_VIEWS_PNG"); !Path.isEmpty()) {
        ASSERT_TRUE(Image.save(Path));
    }
    EXPECT_EQ(QStringLiteral("%1 %2").arg(PixelAt(Image, 400, 40), 0, 16).arg(PixelAt(Image, 401, 40), 0, 16),
              QStringLiteral("ffffff c0c0c0")) << "band hatching";
    EXPECT_EQ(QStringLiteral("%1 %2 %3").arg(PixelAt(Image, 50, 8), 0, 16).arg(PixelAt(Image, 98, 14), 0, 16)
                  .arg(PixelAt(Image, 99, 14), 0, 16),
              QStringLiteral("c8d0d4 808080 0")) << "title tab: face, shadow, black edge";
    EXPECT_FALSE(InkBox(Image, QRect(2, 7, 95, 16)).isNull()) << "the type name on the tab";
    const QRect Title = InkBox(Image, QRect(660, 0, 18, 100));
    EXPECT_GT(Title.height(), Title.width()) << "the cross band's name runs upwards";
    EXPECT_FALSE(InkBox(Image, QRect(12, 132, 210, 100)).isNull()) << "the Chinese memo";
    EXPECT_EQ(PixelAt(Image, 385, 225), RGB(60, 150, 60)) << "the picture";
    EXPECT_EQ(PixelAt(Image, 480, 200), clBlack) << "the vertical line";
}

} // namespace
