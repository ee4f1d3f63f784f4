// The designer's font dialog as a user meets it: Qt's own chooser on the xcb
// platform, a size typed, a style or a family picked with the keys, OK pressed.
#include "report/designer/DesignerTestUtil.h"

#include "report/engine/FR_MemoView.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTimer>

namespace designertest {
namespace {

void Press(QWidget* W, int Key, Qt::KeyboardModifiers Modifiers = Qt::NoModifier, const QString& Text = QString())
{
    QKeyEvent Down(QEvent::KeyPress, Key, Modifiers, Text);
    QApplication::sendEvent(W, &Down);
    QKeyEvent Up(QEvent::KeyRelease, Key, Modifiers, Text);
    QApplication::sendEvent(W, &Up);
}

// Waits for the font dialog's window to be up and active, notes the family it
// shows, types Typed into the size box or the family list, or walks the style
// list down to the style Typed, and presses OK. A dialog still up after five seconds is
// cancelled, so that no test can hang.
class TFontChooserUser
{
public:
    enum TBox { bxNone, bxSize, bxStyle, bxFamily };

    TFontChooserUser(TBox ABox, const QString& ATyped) : FBox(ABox), FTyped(ATyped)
    {
        FTimer.setInterval(20);
        QObject::connect(&FTimer, &QTimer::timeout, [this] { Poll(); });
        FTimer.start();
    }
    QString ShownFamily() const { return FShownFamily; }

private:
    void Poll()
    {
        QWidget* W = QApplication::activeModalWidget();
        auto* D = W ? W->findChild<QFontDialog*>() : nullptr;
        if (!D || !W->isVisible())
            return;
        if (++FSeen > 250) {
            D->reject();
            return;
        }
        if (!W->isActiveWindow()) {
            W->activateWindow();
            return;
        }
        const QList<QListView*> Lists = D->findChildren<QListView*>();
        FShownFamily = Lists.value(0) ? Lists[0]->currentIndex().data().toString() : QString();
        QWidget* Target = nullptr;
        if (FBox == bxSize) {
            // The first box one can type in; the sample below it is another.
            for (QLineEdit* E : D->findChildren<QLineEdit*>())
                if (!Target && !E->isReadOnly())
                    Target = E;
        } else if (FBox != bxNone) {
            Target = Lists.value(FBox == bxStyle ? 1 : 0);
        }
        if (FBox == bxStyle) {
            // Down the list from its top to the style named.
            Target->setFocus();
            Press(Target, Qt::Key_Home);
            for (int i = 0; i < 8 && Lists[1]->currentIndex().data().toString() != FTyped; ++i)
                Press(Target, Qt::Key_Down);
        } else if (Target) {
            Target->setFocus();
            if (FBox == bxSize)
                Press(Target, Qt::Key_A, Qt::ControlModifier);
            for (const QChar C : FTyped)
                Press(Target, 0, Qt::NoModifier, QString(C));
        }
        auto* Buttons = D->findChild<QDialogButtonBox*>();
        Buttons->button(QDialogButtonBox::Ok)->click();
    }

    QTimer FTimer;
    TBox FBox;
    QString FTyped;
    QString FShownFamily;
    int FSeen = 0;
};

class RealFontDialogTest : public TDesignerTest
{
protected:
    void SetUp() override
    {
        TDesignerTest::SetUp();
        ASSERT_EQ(QGuiApplication::platformName(), QStringLiteral("xcb"));
    }
};

// The chooser starts on the family the topmost memo's "Arial" is drawn with;
// each memo keeps what the user left as shown, its stored name included.
TEST_F(RealFontDialogTest, FontDialogAppliesOnlyWhatTheUserChanged)
{
    const struct
    {
        const char* Name;
        TFontChooserUser::TBox Box;
        const char* Typed;
        const char* Memos;
    } Rows[] = {
        {"OK alone", TFontChooserUser::bxNone, "", "Memo1 DejaVu Serif 14 -; Memo2 Arial 10 -"},
        {"size typed", TFontChooserUser::bxSize, "12", "Memo1 DejaVu Serif 12 -; Memo2 Arial 12 -"},
        {"style picked", TFontChooserUser::bxStyle, "Bold", "Memo1 DejaVu Serif 14 bold; Memo2 Arial 10 bold"},
        {"family picked", TFontChooserUser::bxFamily, "Liberation Mono",
         "Memo1 Liberation Mono 14 -; Memo2 Liberation Mono 10 -"},
    };
    Open();
    Build(QStringLiteral("Memo1 10,10 96x20 sel; Memo2 10,40 96x20 sel"));
    TModalHandlers Seam(nullptr, [](const TMessageRequest&) { return mrOk; });
    for (const auto& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        const std::pair<const char*, int> Fonts[] = {{"DejaVu Serif", 14}, {"Arial", 10}};
        for (int i = 0; i < 2; ++i) {
            TFont* F = dynamic_cast<TfrMemoView*>(Page()->Objects(i))->Font();
            F->SetName(QString::fromLatin1(Fonts[i].first));
            F->SetSize(Fonts[i].second);
            F->SetStyle(TFontStyles());
        }
        TFontChooserUser User(Row.Box, QString::fromLatin1(Row.Typed));
        Designer->FontEditorHook();
        EXPECT_EQ(User.ShownFamily(), QStringLiteral("Liberation Sans"));
        QStringList L;
        for (int i = 0; i < 2; ++i) {
            const TFont* F = dynamic_cast<TfrMemoView*>(Page()->Objects(i))->Font();
            const TFontStyles Style = F->Style();
            const QString Styled = Style == TFontStyles()                ? QStringLiteral("-")
                                   : Style == (TFontStyles() << fsBold) ? QStringLiteral("bold")
                                                                        : QStringLiteral("other");
            L << QStringLiteral("%1 %2 %3 %4").arg(Page()->Objects(i)->Name(), F->Name()).arg(F->Size()).arg(Styled);
        }
        EXPECT_EQ(L.join(QStringLiteral("; ")), QString::fromLatin1(Row.Memos));
    }
}

} // namespace
} // namespace designertest
