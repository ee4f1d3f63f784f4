// The file dialogs as a user meets them: Qt's own dialog on the xcb platform
// (this program runs over an Xvfb display of its own), a filter picked in its
// file-type box, a name typed, the accept button pressed. Through the
// designer's Open and Save As, the preview's Save and Load, and the filter
// texts of every window with a file dialog.
#include "report/designer/DesignerTestUtil.h"

#include "platform/gui/FileDialogs.h"
#include "report/engine/FR_EMFPages.h"
#include "report/engine/FR_MemoView.h"
#include "report/engine/FR_Preview.h"
#include "report/engine/FR_Utils.h"

#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <deque>

namespace designertest {
namespace {

void Key(QWidget* W, int Key, Qt::KeyboardModifiers Modifiers = Qt::NoModifier, const QString& Text = QString())
{
    QKeyEvent Press(QEvent::KeyPress, Key, Modifiers, Text);
    QApplication::sendEvent(W, &Press);
    QKeyEvent Release(QEvent::KeyRelease, Key, Modifiers, Text);
    QApplication::sendEvent(W, &Release);
}

// What the user does in one file dialog: picks filter Filter (from 1) with the
// keyboard in the file-type box, then, unless Typed is empty, types Typed over
// the name shown, and presses the accept button.
struct TAnswer
{
    int Filter;
    QString Typed;
};

// Answers the file dialogs the code under test runs, one answer per dialog, as
// they come up in their own event loops. A dialog left without an answer, or
// still up five seconds after it, is cancelled, so that no test can hang.
class TDialogUser
{
public:
    TDialogUser()
    {
        FTimer.setInterval(20);
        QObject::connect(&FTimer, &QTimer::timeout, [this] { Poll(); });
        FTimer.start();
    }

    void Answer(int Filter, const QString& Typed = QString()) { FAnswers.push_back({Filter, Typed}); }
    int Dialogs() const { return FDialogs; }
    // The filters the last dialog showed in its file-type box, joined by "|".
    QString Shown() const { return FShown; }

private:
    void Poll()
    {
        auto* D = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!D || !D->isVisible())
            return;
        // Marked on the dialog itself: the next one may take its place in memory.
        if (!D->property("Answered").isValid()) {
            // A user works in the window that has the focus: the dialog
            // follows the typed name only there.
            D->setProperty("Answered", false);
            FSeen = 0;
            ++FDialogs;
            D->activateWindow();
        }
        if (++FSeen > 250)
            D->reject();
        else if (D->property("Answered").toBool())
            Accept(D);
        else if (D->isActiveWindow())
            Act(D);
    }

    void Act(QFileDialog* D)
    {
        auto* Types = D->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
        if (FAnswers.empty() || !Types || !NameEdit(D)) {
            D->reject();
            return;
        }
        FTyped = FAnswers.front().Typed;
        const int Filter = FAnswers.front().Filter;
        FAnswers.pop_front();
        D->setProperty("Answered", true);
        QStringList Items;
        for (int i = 0; i < Types->count(); ++i)
            Items << Types->itemText(i);
        FShown = Items.join(u'|');
        Types->setFocus();
        Key(Types, Qt::Key_Home);
        for (int i = 1; i < Filter; ++i)
            Key(Types, Qt::Key_Down);
        if (!FTyped.isEmpty()) {
            NameEdit(D)->setFocus();
            Key(NameEdit(D), Qt::Key_A, Qt::ControlModifier);
            for (const QChar C : FTyped)
                Key(NameEdit(D), 0, Qt::NoModifier, QString(C));
        }
        Accept(D);
    }

    // The accept button is pressed once the dialog takes the name. It judges
    // a name as it is typed, against the folder's files as far as it has
    // listed them for the filter picked: until then the user types the last
    // character again.
    void Accept(QFileDialog* D)
    {
        auto* Buttons = D->findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
        QPushButton* Button = Buttons ? Buttons->button(D->acceptMode() == QFileDialog::AcceptSave
                                                            ? QDialogButtonBox::Save
                                                            : QDialogButtonBox::Open)
                                      : nullptr;
        if (Button && Button->isEnabled()) {
            Button->click();
        } else if (!FTyped.isEmpty() && FSeen % 10 == 0) {
            Key(NameEdit(D), Qt::Key_Backspace);
            Key(NameEdit(D), 0, Qt::NoModifier, FTyped.right(1));
        }
    }

    static QLineEdit* NameEdit(QFileDialog* D) { return D->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")); }

    QTimer FTimer;
    std::deque<TAnswer> FAnswers;
    QString FTyped;
    int FSeen = 0;
    int FDialogs = 0;
    QString FShown;
};

class RealFileDialogTest : public TDesignerTest
{
protected:
    void SetUp() override
    {
        TDesignerTest::SetUp();
        ASSERT_EQ(QGuiApplication::platformName(), QStringLiteral("xcb"));
    }
    QString Path(const QString& Name) const { return Dir.filePath(Name); }
    QTemporaryDir Dir;
};

// Each window's filter text, every filter picked once: the index the dialog
// hands back is the one picked.
TEST_F(RealFileDialogTest, EveryWindowsFilterComesBackAsPicked)
{
    const QString Frf = LoadEngineString(55213) + QStringLiteral(" (*.frf)|*.frf|");
    const struct
    {
        const char* Window;
        QString Filter;
        bool Save;
        const char* Shown;
    } Rows[] = {
        {"designer open", Frf + LoadEngineString(55215) + QStringLiteral(" (*.frd)|*.frd"), false,
         "Pagewright form (*.frf)|Pagewright dictionary (*.frd)"},
        {"designer save as",
         Frf + LoadEngineString(55481) + QStringLiteral(" (*.fr3)|*.fr3|") + LoadEngineString(55214) +
             QStringLiteral(" (*.frt)|*.frt|") + LoadEngineString(55215) + QStringLiteral(" (*.frd)|*.frd"),
         true, "Pagewright form (*.frf)|Pagewright3 form (*.fr3)|Pagewright template (*.frt)|Pagewright dictionary (*.frd)"},
        {"preview", LoadEngineString(55211) + QStringLiteral(" (*.frp)|*.frp"), true, "Report file (*.frp)"},
        {"picture editor",
         LoadEngineString(55216) + QStringLiteral(" (*.bmp *.jpg *.ico *.wmf *.emf)|*.bmp;*.jpg;*.ico;*.wmf;*.emf|") +
             LoadEngineString(55221) + QStringLiteral("|*.*"),
         false, "Picture file (*.bmp *.jpg *.ico *.wmf *.emf)|All files"},
        {"backup", QStringLiteral("Mdb Files (*.mdb)|*.MDB"), true, "Mdb Files (*.mdb)"},
    };
    for (const auto& Row : Rows) {
        const int Count = static_cast<int>(FileFilterToNameFilters(Row.Filter).size());
        for (int Index = 1; Index <= Count; ++Index) {
            SCOPED_TRACE(QStringLiteral("%1, filter %2").arg(QString::fromUtf8(Row.Window)).arg(Index).toStdString());
            TDialogUser User;
            User.Answer(Index, Path(QStringLiteral("x")));
            QFile(Path(QStringLiteral("x"))).open(QIODevice::WriteOnly);
            std::unique_ptr<TOpenDialog> Dialog(Row.Save ? new TSaveDialog : new TOpenDialog);
            Dialog->SetFilter(Row.Filter);
            Dialog->SetFilterIndex(1);
            EXPECT_TRUE(Dialog->Execute());
            EXPECT_EQ(User.Dialogs(), 1);
            EXPECT_EQ(User.Shown(), QString::fromUtf8(Row.Shown));
            EXPECT_EQ(Dialog->FilterIndex(), Index);
        }
    }
}

// A delivered template opens through File > Open and goes out in each format
// of Save as, named as typed, or as shown when only the format is picked; the
// dictionary comes back through Open's second filter.
TEST_F(RealFileDialogTest, DesignerOpensATemplateAndSavesEachFormat)
{
    const QString Bill = Path(QStringLiteral("Bill.frf"));
    ASSERT_TRUE(QFile::copy(QCoreApplication::applicationDirPath() + QStringLiteral("/Frf/Bill.frf"), Bill))
        << "the build lays the templates out into bin/Frf";
    TfrReport Delivered;
    ASSERT_TRUE(Delivered.LoadFromFile(Bill));
    CurReport = &Report;
    Open();
    TemplateDir.clear();
    TModalHandlers Seam([](TForm*) { return mrOk; }, [](const TMessageRequest&) { return mrOk; });
    const QString Typed = Path(QStringLiteral("账单 v1.2"));
    const struct
    {
        const char* Command;
        int Filter;
        QString Typed;
        QString File;   // the designer's file name afterwards, or the file written
    } Steps[] = {
        {"open", 1, Bill, Bill},
        {"save as", 1, Typed, Typed + QStringLiteral(".frf")},
        {"save as", 2, Typed, Typed + QStringLiteral(".fr3")},
        {"save as", 3, Typed, Typed + QStringLiteral(".frt")},
        {"save as", 4, Typed, Typed + QStringLiteral(".frd")},
        {"open", 1, Typed + QStringLiteral(".frf"), Typed + QStringLiteral(".frf")},
        // The name shown ("账单 v1.2.frf") kept: the picked format's extension.
        {"save as", 2, QString(), Typed + QStringLiteral(".fr3")},
        {"open", 2, Typed + QStringLiteral(".frd"), Typed + QStringLiteral(".fr3")},
    };
    for (const auto& Step : Steps) {
        SCOPED_TRACE(QStringLiteral("%1 %2 %3").arg(QString::fromUtf8(Step.Command)).arg(Step.Filter)
                         .arg(Step.Typed).toStdString());
        TModalSeam::ClearMessages();
        TDialogUser User;
        User.Answer(Step.Filter, Step.Typed);
        const bool Opening = QByteArray(Step.Command) == "open";
        if (Opening) {
            Designer->FileBtn2Click();
            EXPECT_EQ(Designer->OpenDialog1->FilterIndex(), Step.Filter);
        } else {
            Designer->N20Click();
            EXPECT_EQ(Designer->SaveDialog1->FilterIndex(), Step.Filter);
            EXPECT_TRUE(QFile::exists(Step.File));
        }
        EXPECT_EQ(User.Dialogs(), 1);
        EXPECT_EQ(TModalSeam::MessageTexts(), QStringList());
        if (Opening || Step.Filter <= 2) {
            EXPECT_EQ(Designer->FileName(), Step.File);
        }
        EXPECT_EQ(Report.Pages()->Count(), Delivered.Pages()->Count());
        EXPECT_EQ(Report.Pages()->Pages(0)->Count(), Delivered.Pages()->Pages(0)->Count());
    }
}

// The preview saves under the name typed with ".frp" added, beside a file
// whose name only differs after the last dot, and loads it again.
TEST_F(RealFileDialogTest, PreviewSavesAndLoadsThroughTheDialog)
{
    TfrReport Prepared;
    TfrPage Paper(9, 2100, 2970, frNoBin, poPortrait);
    Prepared.EMFPages()->Insert(0, &Paper);
    Prepared.EMFPages()->ObjectsToPage(0);
    auto Memo = std::make_unique<TfrMemoView>();
    Memo->Memo()->Add(QStringLiteral("甲乙"));
    Prepared.EMFPages()->Items(0)->PageObject->Add(std::move(Memo));
    Prepared.EMFPages()->PageToObjects(0);
    Prepared.EMFPages()->Items(0)->PageObject.reset();
    QFile Other(Path(QStringLiteral("报表 v1.frp")));
    ASSERT_TRUE(Other.open(QIODevice::WriteOnly));
    Other.write("other");
    Other.close();

    TModalHandlers Seam([](TForm*) { return mrOk; }, [](const TMessageRequest&) { return mrOk; });
    TfrPreviewForm Preview;
    Preview.Connect(&Prepared);
    TDialogUser User;
    User.Answer(1, Path(QStringLiteral("报表 v1.2")));
    User.Answer(1, Path(QStringLiteral("报表 v1.2.frp")));
    Preview.SaveBtnClick();
    Preview.Disconnect();
    EXPECT_TRUE(QFile::exists(Path(QStringLiteral("报表 v1.2.frp"))));
    ASSERT_TRUE(Other.open(QIODevice::ReadOnly));
    EXPECT_EQ(Other.readAll(), QByteArray("other"));

    TfrReport Loaded;
    Preview.Connect(&Loaded);
    Preview.LoadBtnClick();
    EXPECT_EQ(Preview.PageCount(), 1);
    Preview.Disconnect();
    EXPECT_EQ(User.Dialogs(), 2);
    EXPECT_EQ(TModalSeam::MessageTexts(), QStringList());
}

} // namespace
} // namespace designertest
