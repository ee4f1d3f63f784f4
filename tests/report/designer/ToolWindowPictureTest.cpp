// Pictures of the inspector with its value list open, the fields window and
// the font combo with its preview, checked by pixels and texts. With
// TB_IMAGES_DIR set they are written there (docs/images).
#include "DesignerTestUtil.h"

#include "platform/db/MemDataSet.h"
#include "platform/gui/TestRender.h"
#include "report/designer/FR_Combo.h"
#include "report/designer/FR_InsFields.h"
#include "report/designer/FR_Insp.h"
#include "report/engine/FR_Ctrls.h"

#include <QAbstractItemView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>

namespace {

using TToolWindowPicture = designertest::TDesignerTest;

void Keep(const QImage& Image, const char* Name)
{
    const QString Dir = QString::fromLocal8Bit(qgetenv("TB_IMAGES_DIR"));
    if (!Dir.isEmpty())
        Image.save(Dir + u'/' + QString::fromLatin1(Name));
}

// The window with a pop-up of its own drawn where the screen shows it.
QImage WithPopup(QWidget* Window, QWidget* Popup, QSize Size)
{
    QImage Out(Size, QImage::Format_RGB32);
    Out.fill(QColor(128, 128, 128));
    QPainter P(&Out);
    P.drawImage(0, 0, RenderWidget(Window));
    P.drawImage(Popup->geometry().topLeft() - Window->geometry().topLeft(), RenderWidget(Popup));
    return Out;
}

// Pixels near a colour (text is smoothed).
int CountColour(const QImage& I, const QRect& R, QColor C)
{
    int N = 0;
    for (int y = R.top(); y <= R.bottom(); ++y)
        for (int x = R.left(); x <= R.right(); ++x) {
            const QColor P = I.pixelColor(x, y);
            N += std::abs(P.red() - C.red()) + std::abs(P.green() - C.green()) + std::abs(P.blue() - C.blue()) < 90;
        }
    return N;
}

TEST_F(TToolWindowPicture, InspectorWithItsValueListOpen)
{
    Open();
    Build("Memo1 36,18 96x20 sel");
    Designer->SelectionChanged();
    TfrInspForm* I = Designer->InspForm;
    I->move(0, 0);
    I->resize(220, 330);
    I->show();
    for (int i = 0; i < I->GetCount(); ++i)
        if (I->GetItemName(i) == u"FrameStyle")
            I->SetItemIndex(i);
    I->ComboBtnClick();
    ASSERT_TRUE(I->PopupList()->isVisible());
    const QImage Shot = WithPopup(I, I->PopupList(), QSize(240, 330));
    Keep(Shot, "inspector.png");
    const QRect Rows(I->PaintBox1->mapTo(I, QPoint(0, 0)), I->PaintBox1->size());
    // Values in navy right of the split, names in black left of it.
    EXPECT_GT(CountColour(Shot, QRect(I->SplitPos() + 2, Rows.top(), 60, I->RowHeight()), QColor(0, 0, 128)), 5);
    EXPECT_GT(CountColour(Shot, QRect(5, Rows.top(), I->SplitPos() - 8, I->RowHeight()), Qt::black), 5);
    EXPECT_EQ(I->PopupList()->ListBox->currentItem()->text(), "psSolid");
    EXPECT_EQ(I->Edit1->text(), "psSolid");
}

TEST_F(TToolWindowPicture, FieldsWindow)
{
    QObject Owner;
    TfrReport Owned(&Owner);
    CurReport = &Owned;
    for (const QStringList& Names :
         {QStringList{"Customers", "Name", "City", "Phone"}, QStringList{"Orders", "Amount"}}) {
        auto* D = new TMemDataSet(&Owner);
        D->setObjectName(Names[0]);
        for (const QString& F : Names.mid(1))
            D->FieldDefs()->Add(F, ftString, 20);
    }
    TfrInsFieldsForm F;
    F.resize(170, 260);
    F.show();
    F.FieldsLB->setCurrentRow(0);
    const QImage Shot = RenderWidget(&F);
    Keep(Shot, "fields-window.png");
    // The dataset icon's navy frame beside the first dataset.
    EXPECT_GT(CountColour(Shot, QRect(0, 0, 20, 16), QColor(0, 0, 128)), 10);
    EXPECT_EQ(F.FieldsLB->count(), 3);
    CurReport = &Report;
}

TEST_F(TToolWindowPicture, FontComboWithItsPreview)
{
    QWidget Host;
    Host.resize(420, 280);
    auto* C = new TfrFontComboBox(&Host);
    C->move(8, 8);
    Host.show();
    C->showPopup();
    TfrFontPreview* P = C->Preview();
    ASSERT_TRUE(P->isVisible());
    EXPECT_EQ(P->Caption(), C->itemText(0));
    EXPECT_EQ(P->pos(), C->mapToGlobal(QPoint(C->width(), C->height())));
    QImage Shot = WithPopup(&Host, C->view()->window(), Host.size());
    {
        QPainter Pt(&Shot);
        Pt.drawImage(P->pos() - Host.pos(), RenderWidget(P));
    }
    Keep(Shot, "font-combo.png");
    // The arrow of the flat button: a black centre pixel.
    const QPoint Arrow = C->pos() + QPoint(C->width() - TfrCustomComboBox::ButtonWidth / 2 - 3, C->height() / 2);
    EXPECT_EQ(Shot.pixelColor(Arrow), QColor(Qt::black));
    C->hidePopup();
    EXPECT_FALSE(P->isVisible());
}

} // namespace
