// Pictures of the designer's File menu and of the inspector in millimetres,
// checked by pixels. With TB_IMAGES_DIR set they are written there.
#include "DesignerTestUtil.h"

#include "platform/gui/Menus.h"
#include "platform/gui/TestRender.h"
#include "report/designer/FR_Insp.h"

#include <QMenuBar>

namespace designertest {
namespace {

void Keep(const QImage& Image, const char* Name)
{
    const QString Dir = QString::fromLocal8Bit(qgetenv("TB_IMAGES_DIR"));
    if (!Dir.isEmpty())
        Image.save(Dir + u'/' + QString::fromLatin1(Name));
}

TEST_F(TDesignerTest, FileMenuItemsShowTheirButtonsGlyphs)
{
    Open();
    QMenu* File = Designer->MainMenu1->MenuBar()->actions().value(0)->menu();
    ASSERT_TRUE(File);
    emit File->aboutToShow();
    File->resize(File->sizeHint());
    const QImage Shot = RenderWidget(File);
    Keep(Shot, "designer-menu.png");
    // Pixels of the glyph cell that are not the menu's colour.
    const QRgb Back = ColorToQColor(clMenu).rgb();
    QStringList Marked;
    for (QAction* A : File->actions()) {
        if (A->isSeparator())
            continue;
        const QRect R = File->actionGeometry(A);
        int Ink = 0;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x)
                Ink += Shot.pixel(R.left() + 1 + x, R.top() + (R.height() - 16) / 2 + y) != Back;
        if (Ink > 4)
            Marked << QString(A->text()).remove(u'&').section(u'\t', 0, 0);
    }
    // New (from template), Open, Save and Preview have tool buttons.
    EXPECT_EQ(Marked.join(u','), "New...,Open...,Save,Preview");
}

TEST_F(TDesignerTest, InspectorInMillimetresRepaintsOnlyLengths)
{
    Open();
    Build("Memo1 36,18 96x20 sel");
    TfrInspForm* I = Designer->InspForm;
    I->move(0, 0);
    I->resize(220, 330);
    I->show();
    const auto Shot = [&](int Units) {
        Designer->Units = Units;
        Designer->SelectionChanged();
        return RenderWidget(I);
    };
    const QImage Pixels = Shot(0), MM = Shot(1);
    Keep(MM, "designer-inspector-mm.png");
    const QPoint Origin = I->PaintBox1->mapTo(I, QPoint(0, 0));
    const auto ValueDiffers = [&](const QString& Name) {
        for (int i = 0; i < I->GetCount(); ++i)
            if (I->GetItemName(i) == Name) {
                const QRect R(Origin.x() + I->SplitPos() + 2, Origin.y() + i * I->RowHeight(), 60, I->RowHeight());
                return Pixels.copy(R) != MM.copy(R);
            }
        ADD_FAILURE() << Name.toStdString();
        return false;
    };
    EXPECT_TRUE(ValueDiffers("Left"));
    EXPECT_TRUE(ValueDiffers("Height"));
    EXPECT_FALSE(ValueDiffers("Name"));
    EXPECT_FALSE(ValueDiffers("GapX"));
}

} // namespace
} // namespace designertest
