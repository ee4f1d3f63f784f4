// A sheet of sample views for the documentation: a design-state band, frame
// styles, a wrapped Chinese memo, rotated text, a picture and lines. With
// TB_VIEWS_PNG set it is written there (docs/images/report-views.png).
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

QByteArray SamplePicture()
{
    QImage Image(64, 40, QImage::Format_RGB32);
    QPainter P(&Image);
    P.fillRect(Image.rect(), QColor(166, 202, 240));
    P.setPen(Qt::NoPen);
    P.setBrush(QColor(255, 200, 0));
    P.drawEllipse(44, 6, 12, 12);
    P.setBrush(QColor(60, 150, 60));
    const QPoint Hill[] = {{0, 40}, {20, 16}, {34, 30}, {46, 22}, {64, 40}};
    P.drawPolygon(Hill, 5);
    P.end();
    QByteArray Bytes;
    QBuffer Buffer(&Bytes);
    Buffer.open(QIODevice::WriteOnly);
    Image.save(&Buffer, "BMP");
    return Bytes;
}

TEST(ViewSheet, SampleViewsForTheDocumentation)
{
    QImage Image = WhiteImage(660, 330);
    TCanvas Canvas(&Image);
    {
        TEngineState State(dmDesigning);
        auto Page = NewPage();
        Page->PrnInfo.PaperWidthPx = 660;
        CurPage = Page.get();
        TfrBandView Band;
        Band.SetBandType(btMasterData);
        Band.SetBounds(0, 24, 660, 36);
        Band.Draw(&Canvas);
        TfrMemoView Field;
        Field.SetBounds(120, 32, 160, 20);
        Field.Memo()->Add(QStringLiteral("[Customer.\"Name\"]"));
        Field.Draw(&Canvas);
    }
    TEngineState State(dmPrinting);
    const struct
    {
        uint16_t Style;
        float Width;
        const char* Text;
    } Styles[] = {{fsSolid, 1, "psSolid"}, {fsDash, 1, "psDash"}, {fsDot, 1, "psDot"},
                  {fsDashDot, 2, "psDashDot"}, {fsDouble, 1, "psDouble"}, {fsSolid, 3, "3 px"}};
    for (int i = 0; i < 6; ++i) {
        TfrMemoView Memo;
        Memo.SetBounds(10 + i * 106, 80, 96, 26);
        Memo.SetFrameTyp(15);
        Memo.SetFrameStyle(Styles[i].Style);
        Memo.SetFrameWidth(Styles[i].Width);
        Memo.SetFrameColor(i % 2 ? 0x804000 : clBlack);
        Memo.SetFillColor(i == 4 ? 0xE0F0FF : clNone);
        Memo.SetAlignment(frtaCenter | frtaMiddle);
        Memo.Memo()->Add(QString::fromLatin1(Styles[i].Text));
        Memo.Draw(&Canvas);
    }
    TfrMemoView Chinese;
    Chinese.Font()->SetName(QStringLiteral("WenQuanYi Micro Hei"));
    Chinese.SetBounds(10, 130, 220, 110);
    Chinese.SetFrameTyp(15);
    Chinese.SetFillColor(0xE8FFFF);
    Chinese.Memo()->Add(QStringLiteral("备注：本月销售合计已按客户分类汇总，请财务主管核对后签字确认并存档备查。Total 12,345.50 元"));
    Chinese.Draw(&Canvas);
    TfrMemoView Rotated;
    Rotated.Font()->SetName(QStringLiteral("WenQuanYi Micro Hei"));
    Rotated.SetBounds(250, 130, 40, 110);
    Rotated.SetFrameTyp(15);
    Rotated.SetAlignment(frtaVertical | frtaCenter);
    Rotated.Memo()->Add(QStringLiteral("旋转文字 Up"));
    Rotated.Draw(&Canvas);
    TfrPictureView Picture;
    Picture.SetBounds(310, 130, 150, 110);
    Picture.SetFlags(flStretched | flPictRatio | flPictCenter);
    Picture.SetFrameTyp(15);
    Picture.Picture()->Assign(gkBitmap, SamplePicture());
    Picture.Draw(&Canvas);
    for (QRect R : {QRect(480, 130, 10, 110), QRect(500, 130, 150, 10), QRect(500, 160, 150, 3)}) {
        TfrLineView Line;
        Line.SetBounds(R.x(), R.y(), R.width(), R.height());
        Line.SetFrameWidth(R.y() == 160 ? 3 : 1);
        Line.SetFrameStyle(R.y() == 130 && R.width() > 10 ? fsDash : fsSolid);
        Line.Draw(&Canvas);
    }
    Canvas.Release();
    const QString Path = qEnvironmentVariable("TB_VIEWS_PNG");
    if (!Path.isEmpty()) {
        ASSERT_TRUE(Image.save(Path));
    }
    EXPECT_EQ(PixelAt(Image, 400, 40) == clWhite, PixelAt(Image, 401, 40) == clSilver) << "band hatching";
    EXPECT_EQ(PixelAt(Image, 10, 200), clBlack) << "the Chinese memo's frame";
    EXPECT_FALSE(InkBox(Image, QRect(12, 132, 210, 100)).isNull());
    EXPECT_NE(PixelAt(Image, 385, 185), clWhite) << "the picture";
    EXPECT_EQ(PixelAt(Image, 480, 200), clBlack) << "the vertical line";
}

} // namespace
