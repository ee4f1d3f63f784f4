// A user at the real dialogs of the xcb platform: answers the file dialogs,
// the questions they ask and any other modal dialog the code under test runs,
// one answer each, in their own event loops, with keys and clicks.
#pragma once

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <deque>
#include <functional>

namespace xcbtest {

inline void Key(QWidget* W, int Key, Qt::KeyboardModifiers Modifiers = Qt::NoModifier, const QString& Text = QString())
{
    QKeyEvent Press(QEvent::KeyPress, Key, Modifiers, Text);
    QApplication::sendEvent(W, &Press);
    QKeyEvent Release(QEvent::KeyRelease, Key, Modifiers, Text);
    QApplication::sendEvent(W, &Release);
}

// Types Text over what the edit holds.
inline void TypeOver(QWidget* Edit, const QString& Text)
{
    Edit->setFocus();
    Key(Edit, Qt::Key_A, Qt::ControlModifier);
    for (const QChar C : Text)
        Key(Edit, 0, Qt::NoModifier, QString(C));
}

// What the user does in one file dialog: picks filter Filter (from 1) with the
// keyboard in the file-type box, then, unless Typed is empty, types Typed over
// the name shown, and presses the accept button. Asked whether to replace a
// file, the user answers Yes when Replace is set, else No and then Cancel.
struct TAnswer
{
    int Filter;
    QString Typed;
    bool Replace;
};

// A dialog left without an answer, or still up five seconds after it, is
// cancelled, so that no test can hang.
class TDialogUser
{
public:
    TDialogUser()
    {
        FTimer.setInterval(20);
        QObject::connect(&FTimer, &QTimer::timeout, [this] { Poll(); });
        FTimer.start();
    }

    void Answer(int Filter, const QString& Typed = QString(), bool Replace = true)
    {
        FAnswers.push_back({Filter, Typed, Replace});
    }
    // What the user does in the next modal dialog that is neither a file
    // dialog nor a question; Act ends it.
    void Then(std::function<void(QDialog*)> Act) { FActs.push_back(std::move(Act)); }
    int Dialogs() const { return FDialogs; }
    // The filters the last file dialog showed in its file-type box, joined by "|".
    QString Shown() const { return FShown; }
    // The questions asked, in order.
    QStringList Questions() const { return FQuestions; }

private:
    void Poll()
    {
        QWidget* Modal = QApplication::activeModalWidget();
        if (auto* Box = qobject_cast<QMessageBox*>(Modal)) {
            Reply(Box);
            return;
        }
        auto* D = qobject_cast<QFileDialog*>(Modal);
        if (!D) {
            if (auto* Other = qobject_cast<QDialog*>(Modal))
                Handle(Other);
            return;
        }
        if (!D->isVisible())
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
        if (++FSeen > 250 || D->property("Refused").toBool())
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
        FReplace = FAnswers.front().Replace;
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
        if (!FTyped.isEmpty())
            TypeOver(NameEdit(D), FTyped);
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
            // Later, from the dialog's loop: a question it asks runs a loop
            // of its own, in which this timer must fire again.
            QMetaObject::invokeMethod(Button, &QPushButton::click, Qt::QueuedConnection);
        } else if (!FTyped.isEmpty() && FSeen % 10 == 0) {
            Key(NameEdit(D), Qt::Key_Backspace);
            Key(NameEdit(D), 0, Qt::NoModifier, FTyped.right(1));
        }
    }

    void Reply(QMessageBox* Box)
    {
        if (!Box->isVisible() || Box->property("Answered").isValid())
            return;
        Box->setProperty("Answered", true);
        FQuestions << Box->text();
        if (!FReplace && Box->parentWidget())
            Box->parentWidget()->setProperty("Refused", true);
        if (QAbstractButton* B = Box->button(FReplace ? QMessageBox::Yes : QMessageBox::No))
            B->click();
        else
            Box->reject();
    }

    void Handle(QDialog* D)
    {
        if (!D->isVisible())
            return;
        if (D->property("Answered").isValid()) {
            if (++FSeen > 250)
                D->reject();
            return;
        }
        D->setProperty("Answered", true);
        FSeen = 0;
        if (FActs.empty()) {
            D->reject();
            return;
        }
        const auto Act = std::move(FActs.front());
        FActs.pop_front();
        Act(D);
    }

    static QLineEdit* NameEdit(QFileDialog* D) { return D->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")); }

    QTimer FTimer;
    std::deque<TAnswer> FAnswers;
    std::deque<std::function<void(QDialog*)>> FActs;
    QString FTyped;
    bool FReplace = true;
    int FSeen = 0;
    int FDialogs = 0;
    QString FShown;
    QStringList FQuestions;
};

} // namespace xcbtest
