// The designer's menus drawn by its own style (each item with the glyph of
// the tool button of the same command), the position box over the status bar
// and the help tool.
#include "report/designer/FR_Desgn.h"

#include "platform/gui/Graphics.h"
#include "platform/gui/Menus.h"
#include "platform/rtl/SysUtils.h"
#include "report/designer/FR_DsgPage.h"
#include "report/engine/FR_Ctrls.h"
#include "report/engine/FR_Dock.h"
#include "report/engine/FR_Globals.h"
#include "report/engine/FR_Page.h"
#include "report/engine/FR_PictureView.h"
#include "report/engine/FR_Utils.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QProxyStyle>
#include <QStyleOptionMenuItem>
#include <QWhatsThis>
#include <cmath>

std::function<void(int Context, QWidget* Control)> frHelpContext;

namespace {

// The caption of a menu item without its shortcut and access-key marks.
QString CaptionOf(const QString& Text)
{
    QString C = Text.section(u'\t', 0, 0);
    C.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    C.remove(u'&');
    C.replace(u'\x01', u'&');
    return C;
}

QString ShortcutOf(const QAction* A)
{
    const int Tab = A->text().indexOf(u'\t');
    if (Tab >= 0)
        return A->text().mid(Tab + 1);
    return A->shortcut().toString(QKeySequence::NativeText);
}

// Our art for checked items.
QImage CheckArt(bool Radio)
{
    QImage I(16, 16, QImage::Format_ARGB32);
    I.fill(Qt::transparent);
    QPainter P(&I);
    P.setRenderHint(QPainter::Antialiasing);
    P.setPen(QPen(Qt::black, 1.6));
    if (Radio) {
        P.setBrush(Qt::black);
        P.drawEllipse(QRectF(5, 5, 6, 6));
    } else {
        P.drawPolyline(QPolygonF({QPointF(4, 8), QPointF(7, 11), QPointF(12, 4)}));
    }
    return I;
}

class TfrMenuStyle : public QProxyStyle
{
public:
    explicit TfrMenuStyle(TfrDesignerForm* ADesigner) : FDesigner(ADesigner) {}

    // The widest caption of Menu measured as items are: the shortcut column starts there.
    static int CaptionColumn(const QMenu* Menu, const QFontMetrics& Metrics)
    {
        int W = 0;
        for (const QAction* A : Menu->actions())
            if (!A->isSeparator() && A->isVisible())
                W = std::max(W, Metrics.horizontalAdvance(CaptionOf(A->text())) + 31);
        return W;
    }

    static bool HasShortcuts(const QMenu* Menu)
    {
        for (const QAction* A : Menu->actions())
            if (!A->isSeparator() && !ShortcutOf(A).isEmpty())
                return true;
        return false;
    }

    QSize sizeFromContents(ContentsType Type, const QStyleOption* Option, const QSize& Size,
                           const QWidget* Widget) const override
    {
        const auto* M = qstyleoption_cast<const QStyleOptionMenuItem*>(Option);
        const auto* Menu = qobject_cast<const QMenu*>(Widget);
        if (Type != CT_MenuItem || !M || !Menu)
            return QProxyStyle::sizeFromContents(Type, Option, Size, Widget);
        if (M->menuItemType == QStyleOptionMenuItem::Separator)
            return QSize(10, 10);
        // The menu adds the widest shortcut text itself; the gap before it is ours.
        const QFontMetrics Metrics(M->font);
        return QSize(Metrics.horizontalAdvance(CaptionOf(M->text)) + 31 + (HasShortcuts(Menu) ? 15 : 0), 19);
    }

    int pixelMetric(PixelMetric Metric, const QStyleOption* Option, const QWidget* Widget) const override
    {
        if (qobject_cast<const QMenu*>(Widget) && (Metric == PM_MenuHMargin || Metric == PM_MenuVMargin))
            return 0;
        return QProxyStyle::pixelMetric(Metric, Option, Widget);
    }

    void drawControl(ControlElement Element, const QStyleOption* Option, QPainter* P,
                     const QWidget* Widget) const override
    {
        const auto* M = qstyleoption_cast<const QStyleOptionMenuItem*>(Option);
        const auto* Menu = qobject_cast<const QMenu*>(Widget);
        if (Element != CE_MenuItem || !M || !Menu) {
            QProxyStyle::drawControl(Element, Option, P, Widget);
            return;
        }
        const QRect R = M->rect;
        const bool Selected = M->state & State_Selected;
        const bool Enabled = M->state & State_Enabled;
        P->save();
        P->fillRect(R, ColorToQColor(Selected ? clHighlight : clMenu));
        if (M->menuItemType == QStyleOptionMenuItem::Separator) {
            P->setPen(ColorToQColor(clBtnShadow));
            P->drawLine(R.left(), R.top() + 4, R.right(), R.top() + 4);
            P->setPen(ColorToQColor(clBtnHighlight));
            P->drawLine(R.left(), R.top() + 5, R.right(), R.top() + 5);
            P->restore();
            return;
        }
        const QRect Cell(R.left() + 1, R.top() + (R.height() - 16) / 2, 16, 16);
        if (M->checked) {
            P->drawImage(Cell.topLeft(), CheckArt(M->checkType == QStyleOptionMenuItem::Exclusive));
        } else if (TfrSpeedButton* B = FDesigner->MenuItemButton(Menu->actionAt(R.center()))) {
            QImage Glyph(16, 16, QImage::Format_ARGB32);
            Glyph.fill(Qt::transparent);
            {
                TCanvas C(&Glyph);
                B->DrawGlyph(&C, 0, 0, Enabled);
            }
            // The button face behind the glyph gives way to the item's background.
            const QRgb Face = ColorToQColor(clBtnFace).rgb();
            for (int y = 0; y < 16; ++y)
                for (int x = 0; x < 16; ++x)
                    if ((Glyph.pixel(x, y) & 0xFFFFFF) == (Face & 0xFFFFFF))
                        Glyph.setPixel(x, y, 0);
            P->drawImage(Cell.topLeft(), Glyph);
        }
        P->setFont(M->font);
        const QRect Text(Cell.right() + 1 + 4, R.top() + 2, R.width(), R.height() - 2);
        const QString Caption = M->text.section(u'\t', 0, 0);
        const QString Shortcut = M->text.section(u'\t', 1);
        const int ShortcutX = R.left() + CaptionColumn(Menu, QFontMetrics(M->font)) + 6;
        const auto DrawTexts = [&](const QPoint& Offset, const QColor& Colour) {
            P->setPen(Colour);
            P->drawText(Text.translated(Offset), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextShowMnemonic, Caption);
            if (!Shortcut.isEmpty())
                P->drawText(QRect(ShortcutX, Text.top(), R.right() - ShortcutX, Text.height()).translated(Offset),
                            Qt::AlignLeft | Qt::AlignVCenter, Shortcut);
        };
        if (!Enabled) {
            // Embossed: a light copy one pixel down and right, the shadow over it.
            if (!Selected)
                DrawTexts(QPoint(1, 1), ColorToQColor(clBtnHighlight));
            DrawTexts(QPoint(), ColorToQColor(clBtnShadow));
        } else {
            DrawTexts(QPoint(), ColorToQColor(Selected ? clHighlightText : clMenuText));
        }
        if (M->menuItemType == QStyleOptionMenuItem::SubMenu) {
            QStyleOption Arrow(*M);
            Arrow.rect = QRect(R.right() - 14, R.top() + (R.height() - 10) / 2, 10, 10);
            QProxyStyle::drawPrimitive(PE_IndicatorArrowRight, &Arrow, P, Widget);
        }
        P->restore();
    }

private:
    TfrDesignerForm* FDesigner;
};

// Ends the help tool at the next mouse press and hands over the control hit.
class THelpToolFilter : public QObject
{
public:
    THelpToolFilter(TfrDesignerForm* ADesigner) : QObject(ADesigner), FDesigner(ADesigner) {}

protected:
    bool eventFilter(QObject* Watched, QEvent* Event) override
    {
        if (Event->type() != QEvent::MouseButtonPress)
            return false;
        auto* M = static_cast<QMouseEvent*>(Event);
        QWidget* Hit = QApplication::widgetAt(M->globalPosition().toPoint());
        if (!Hit)
            Hit = qobject_cast<QWidget*>(Watched);
        FDesigner->HelpToolClick(Hit);
        return true;
    }

private:
    TfrDesignerForm* FDesigner;
};

// The filter of the help tool while it waits for its click.
QPointer<THelpToolFilter> HelpToolFilter;

} // namespace

void TfrDesignerForm::BuildMenuStyle()
{
    FMenuStyle = new TfrMenuStyle(this);
    FMenuStyle->setParent(this);
    if (!frHelpContext)
        frHelpContext = [](int, QWidget* Control) {
            // No help file on this system: the control's own hint explains it.
            auto* C = dynamic_cast<TfrSpeedButton*>(Control);
            const QString Hint = C ? C->Hint() : Control ? Control->toolTip() : QString();
            if (Control && !Hint.isEmpty())
                QWhatsThis::showText(Control->mapToGlobal(QPoint(0, Control->height())), Hint, Control);
        };
    PBox1->OnPaint = [this](TCustomControl* Box) { PBox1Paint(Box->Canvas(), Box->ClientRect()); };
}

void TfrDesignerForm::InitOwnerDrawMenus()
{
    // The main menu's items are attached where the window has them; the
    // pop-up menus are drawn owner-style each time they open.
    const std::pair<const char*, const char*> Pairs[] = {
        {"N23", "FileBtn1"}, {"N19", "FileBtn2"}, {"N20", "FileBtn3"}, {"N39", "FileBtn4"}, {"N46", "UndoB"},
        {"N48", "RedoB"},    {"N11", "CutB"},     {"N12", "CopyB"},    {"N13", "PstB"},     {"N28", "SelAllB"},
        {"N29", "PgB1"},     {"N30", "PgB2"},     {"N32", "ZB1"},      {"N33", "ZB2"},      {"N35", "HelpBtn"},
        {"N15", "PgB4"},     {"N41", "PgB1"},     {"N43", "PgB2"},     {"N44", "PgB3"},     {"N45", "PgB4"},
        {"N2", "CutB"},      {"N1", "CopyB"},     {"N3", "PstB"},      {"N16", "SelAllB"},
    };
    for (const auto& [Item, Button] : Pairs) {
        QObject* I = findChild<QObject*>(QString::fromLatin1(Item));
        TfrSpeedButton* B = SpeedButton(QString::fromLatin1(Button));
        if (I && B)
            SetMenuItemButton(I, B);
    }
    // Each extra tool's item shows the glyph of its button in Panel6.
    for (int i = 0; i < MastMenu->Count(); ++i)
        if (TfrSpeedButton* B = Panel6->findChild<TfrSpeedButton*>(MastMenu->Items(i)->objectName()))
            SetMenuItemButton(MastMenu->Items(i), B);
    for (QMenu* M : findChildren<QMenu*>())
        MakeOwnerDrawn(M);
}

void TfrDesignerForm::SetMenuItemButton(QObject* Item, TfrSpeedButton* Button)
{
    for (auto& [I, B] : FMenuButtons)
        if (I == Item) {
            B = Button;
            return;
        }
    FMenuButtons.emplace_back(Item, Button);
}

void TfrDesignerForm::MakeOwnerDrawn(QMenu* Menu)
{
    if (!Menu)
        return;
    Menu->setStyle(FMenuStyle);
    // Drop-downs make their sub-menus afresh each time they open.
    if (!Menu->property("frOwnerDrawn").toBool()) {
        Menu->setProperty("frOwnerDrawn", true);
        QObject::connect(Menu, &QMenu::aboutToShow, this, [this, Menu] {
            for (QAction* A : Menu->actions())
                if (A->menu())
                    MakeOwnerDrawn(A->menu());
        });
    }
    for (QAction* A : Menu->actions())
        if (A->menu())
            MakeOwnerDrawn(A->menu());
    Menu->adjustSize();
}

TfrSpeedButton* TfrDesignerForm::MenuItemButton(const QAction* Item) const
{
    if (!Item)
        return nullptr;
    for (const auto& [I, B] : FMenuButtons) {
        if (!I)
            continue;
        if (I == Item)
            return B;
        // Menus make their actions as they open: their items are known by name.
        if (!Item->objectName().isEmpty() && I->objectName() == Item->objectName())
            return B;
    }
    return nullptr;
}

// ---------------------------------------------------------------- position box

QStringList TfrDesignerForm::PositionTexts() const
{
    QRect R;
    const TfrView* Sole = nullptr;
    if (PBoxRectShown) {
        R = PBoxRect;
    } else if (Page && SelCount == 1) {
        Sole = Page->Objects(LastSelectedIndex());
        R = QRect(Sole->Left(), Sole->Top(), Sole->Width(), Sole->Height());
    } else {
        return {};
    }
    const auto Pair = [this](int A, int B) {
        if (Units == 0)
            return QStringLiteral("%1;%2").arg(A).arg(B);
        return FloatToStrF(ToUnits(A), TFloatFormat::ffFixed, 15, 2) + QStringLiteral("; ") + FloatToStrF(ToUnits(B), TFloatFormat::ffFixed, 15, 2);
    };
    QStringList L{Pair(R.left(), R.top()), Pair(R.width(), R.height())};
    // A multiple selection being resized: its new size against the size it started from.
    const int OldW = OldRect1.Right - OldRect1.Left, OldH = OldRect1.Bottom - OldRect1.Top;
    if (PBoxRectShown && MultiSel && PageView->Down && PageView->Cursor() != crDefault && OldW > 0 && OldH > 0)
        L << QStringLiteral("%1,%2% ")
                 .arg(std::lround(R.width() * 100.0 / OldW))
                 .arg(std::lround(R.height() * 100.0 / OldH));
    if (auto* P = dynamic_cast<const TfrPictureView*>(Sole); P && !P->Picture()->Empty()
        && !QGuiApplication::mouseButtons()) {
        const QImage& I = P->Picture()->Image();
        if (I.width() > 0 && I.height() > 0)
            L << QStringLiteral("%1,%2% ").arg(R.width() * 100 / I.width()).arg(R.height() * 100 / I.height());
    }
    return L;
}

void TfrDesignerForm::ShowPosition(const QRect& R)
{
    ShowPosition(QStringLiteral("%1; %2  %3 x %4").arg(R.left()).arg(R.top()).arg(R.width()).arg(R.height()));
    PBoxRect = R;
    PBoxRectShown = true;
    PBox1->Invalidate();
}

void TfrDesignerForm::PBox1Paint(TCanvas* Canvas, const QRect& Area)
{
    Canvas->Brush()->SetColor(clBtnFace);
    Canvas->FillRect(Area);
    const QStringList L = PositionTexts();
    const int X[] = {2, 80, 170};
    Canvas->Brush()->SetStyle(bsClear);
    for (int i = 0; i < L.size() && i < 3; ++i)
        Canvas->TextOut(Area.left() + X[i], Area.top() + 1, L[i]);
    Canvas->Brush()->SetStyle(bsSolid);
}

// ---------------------------------------------------------------- help

void TfrDesignerForm::HelpBtnClick()
{
    if (HelpMode)
        return;
    HelpMode = true;
    if (TfrSpeedButton* B = SpeedButton(QStringLiteral("HelpBtn"))) {
        B->SetGroupIndex(std::max(B->GroupIndex(), 90));
        B->SetAllowAllUp(true);
        B->SetDown(true);
    }
    QGuiApplication::setOverrideCursor(Qt::WhatsThisCursor);
    HelpToolFilter = new THelpToolFilter(this);
    qApp->installEventFilter(HelpToolFilter);
}

int TfrDesignerForm::HelpContextOf(QWidget* Control) const
{
    TfrSpeedButton* Help = SpeedButton(QStringLiteral("HelpBtn"));
    if (!Control || Control == Help)
        return -1;
    auto* C = dynamic_cast<TCustomControl*>(Control);
    const int Tag = C ? C->Tag() : Control->property("Tag").toInt();
    if (Control->parentWidget() == Panel4)
        return std::min(Tag, 5) + 430;
    return Tag + 400;
}

void TfrDesignerForm::HelpToolClick(QWidget* Control)
{
    if (!HelpMode)
        return;
    HelpMode = false;
    if (HelpToolFilter) {
        qApp->removeEventFilter(HelpToolFilter);
        HelpToolFilter->deleteLater();
    }
    QGuiApplication::restoreOverrideCursor();
    if (TfrSpeedButton* B = SpeedButton(QStringLiteral("HelpBtn")))
        B->SetDown(false);
    const int Context = HelpContextOf(Control);
    if (Context >= 0 && frHelpContext)
        frHelpContext(Context, Control);
}
