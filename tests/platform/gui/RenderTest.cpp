// A whole window rendered offscreen to PNG: form, standard controls, buttons
// with glyphs and a custom-drawn control using the canvas calls.
#include "GuiTestUtil.h"
#include "platform/gui/Buttons.h"
#include "platform/gui/Controls.h"
#include "platform/gui/Forms.h"
#include "platform/gui/TestRender.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <gtest/gtest.h>

namespace {

class TCardPanel : public TCustomControl
{
public:
    using TCustomControl::TCustomControl;

    void Paint() override
    {
        TCanvas* C = Canvas();
        C->Brush()->SetColor(Hot ? TColor(0xF0CAA6) : clBtnFace);
        C->FillRect(ClientRect());
        QRect Frame = ClientRect();
        C->DrawEdge(Frame, EDGE_RAISED, BF_RECT | BF_ADJUST);
        C->Brush()->SetStyle(bsClear);
        C->Font()->SetHeight(-14);
        C->Font()->SetStyle({fsBold});
        C->TextOut(12, 10, QStringLiteral("客户：华东商贸"));
        C->Font()->SetStyle({});
        C->Font()->SetColor(clBlue);
        C->TextOut(12, 32, QStringLiteral("应收 12,345.67"));
        C->Font()->SetColor(clRed);
        C->TextOut(12, 52, QStringLiteral("应付 -890.1"));
        C->Font()->SetColor(clWindowText);
        QRect Note(12, 74, 150, 48);
        C->DrawText(QStringLiteral("一段很长的备注文字会在这里自动换行并在末尾省略显示"), Note,
                    DT_WORDBREAK | DT_END_ELLIPSIS);
        QRect Box(180, 12, 13, 13);
        C->DrawFrameControl(Box, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED);
        QRect Box2(180, 32, 13, 13);
        C->DrawFrameControl(Box2, DFC_BUTTON, DFCS_BUTTONCHECK);
        QRect Arrow(200, 60, 17, 17);
        C->DrawFrameControl(Arrow, DFC_SCROLL, DFCS_SCROLLCOMBOBOX);
        C->DrawFocusRect(QRect(176, 8, 21, 41));
        C->Font()->SetOrientation(900);
        C->TextOut(226, 110, QStringLiteral("竖排标题"));
        C->Font()->SetOrientation(0);
        C->Pen()->SetColor(clWhite);
        C->Pen()->SetWidth(5);
        C->Pen()->SetMode(pmXor);
        C->MoveTo(4, 4);
        C->LineTo(4, 4);
        C->Pen()->SetMode(pmCopy);
        C->Pen()->SetWidth(1);
    }
    bool Hot = true;
};

} // namespace

TEST(Render, WindowToPng)
{
    TForm Form;
    Form.SetCaption(QStringLiteral("样例窗口"));
    Form.SetBorderStyle(bsDialog);
    Form.SetClientSize(270, 230);
    auto* Label = new QLabel(QStringLiteral("请输入业务员登录密码"), &Form);
    Label->setGeometry(10, 8, 250, 20);
    auto* Edit = new QLineEdit(&Form);
    Edit->setGeometry(10, 30, 250, 22);
    Edit->setText(QStringLiteral("示例文字"));
    auto* Card = new TCardPanel(&Form);
    Card->setGeometry(10, 58, 250, 124);
    auto* Ok = new TBitBtn(&Form);
    Ok->SetKind(bkOK);
    Ok->setGeometry(50, 192, 80, 28);
    Ok->Glyph()->SetSize(16, 16);
    Ok->Glyph()->Canvas()->Brush()->SetColor(clOlive);
    Ok->Glyph()->Canvas()->FillRect(QRect(0, 0, 16, 16));
    Ok->Glyph()->Canvas()->Pen()->SetColor(clGreen);
    Ok->Glyph()->Canvas()->Pen()->SetWidth(3);
    Ok->Glyph()->Canvas()->Polyline({{3, 8}, {6, 12}, {13, 3}});
    Ok->GlyphChanged();
    auto* Cancel = new TBitBtn(&Form);
    Cancel->SetKind(bkCancel);
    Cancel->setGeometry(140, 192, 80, 28);

    const QString File = QDir::temp().filePath(QStringLiteral("tallybridge-gui-window.png"));
    RenderToPng(&Form, File);
    ASSERT_TRUE(QFileInfo::exists(File));
    const QImage Image(File);
    ASSERT_EQ(Image.size(), QSize(270, 230));
    // The card's face colour and its raised edge, read back from the file.
    EXPECT_EQ(Image.pixel(10 + 100, 58 + 120) & 0xFFFFFF, ColorToQColor(0xF0CAA6).rgb() & 0xFFFFFF);
    EXPECT_EQ(Image.pixel(10 + 249, 58 + 123) & 0xFFFFFF, ColorToQColor(cl3DDkShadow).rgb() & 0xFFFFFF);
}
