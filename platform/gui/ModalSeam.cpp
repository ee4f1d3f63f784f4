#include "platform/gui/ModalSeam.h"

#include "platform/gui/Forms.h"
#include "platform/rtl/SysUtils.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>

namespace {

struct TSeamState
{
    TModalSeam::TFormHandler Forms;
    TModalSeam::TMessageHandler Messages;
    TModalSeam::TFileHandler Files;
    std::vector<TMessageRequest> Recorded;
};

TSeamState& State()
{
    static TSeamState S;
    return S;
}

QString IconName(TMessageIcon Icon)
{
    switch (Icon) {
    case miError: return QStringLiteral("error");
    case miWarning: return QStringLiteral("warning");
    case miInformation: return QStringLiteral("information");
    case miQuestion: return QStringLiteral("question");
    default: return QStringLiteral("none");
    }
}

QMessageBox::Icon QtIcon(TMessageIcon Icon)
{
    switch (Icon) {
    case miError: return QMessageBox::Critical;
    case miWarning: return QMessageBox::Warning;
    case miInformation: return QMessageBox::Information;
    case miQuestion: return QMessageBox::Question;
    default: return QMessageBox::NoIcon;
    }
}

QString ButtonCaption(TModalResult R)
{
    switch (R) {
    case mrOk: return QStringLiteral("确定");
    case mrCancel: return QStringLiteral("取消");
    case mrAbort: return QStringLiteral("中止");
    case mrRetry: return QStringLiteral("重试");
    case mrIgnore: return QStringLiteral("忽略");
    case mrYes: return QStringLiteral("是");
    case mrNo: return QStringLiteral("否");
    case mrAll: return QStringLiteral("全部");
    case mrNoToAll: return QStringLiteral("全否");
    case mrYesToAll: return QStringLiteral("全是");
    default: return QStringLiteral("关闭");
    }
}

TModalResult RunMessageBox(const TMessageRequest& M)
{
    QMessageBox Box(QtIcon(M.Icon), M.Caption, M.Text);
    std::vector<std::pair<QAbstractButton*, TModalResult>> Map;
    for (TModalResult R : M.Buttons) {
        QPushButton* B = Box.addButton(ButtonCaption(R), QMessageBox::ActionRole);
        Map.emplace_back(B, R);
        if (R == M.DefaultButton)
            Box.setDefaultButton(B);
        if (R == mrCancel || (M.Buttons.size() == 1))
            Box.setEscapeButton(B);
    }
    Box.exec();
    for (const auto& [B, R] : Map) {
        if (Box.clickedButton() == B)
            return R;
    }
    return M.Buttons.size() == 1 ? M.Buttons.front() : mrCancel;
}

// The filter the user left chosen, from 1 (0 for none). With the filters'
// details hidden Qt hands back the text its file-type box shows, the
// description without the patterns; a Qt that hands back the whole filter is
// answered too.
int ChosenFilter(const QStringList& Filters, const QString& Chosen)
{
    const qsizetype Whole = Filters.indexOf(Chosen);
    if (Whole >= 0)
        return static_cast<int>(Whole) + 1;
    for (qsizetype i = 0; i < Filters.size(); ++i) {
        const QString& F = Filters[i];
        const qsizetype Open = F.lastIndexOf(u'(');
        if (Open >= 0 && F.endsWith(u')') && F.left(Open).simplified() == Chosen.simplified())
            return static_cast<int>(i) + 1;
    }
    return 0;
}

// The extension of a filter's first pattern ("*.frf" gives ".frf"), empty
// for a pattern that names no single extension.
QString FilterExt(const QString& NameFilter)
{
    const qsizetype Open = NameFilter.lastIndexOf(u'(');
    if (Open < 0 || !NameFilter.endsWith(u')'))
        return QString();
    const QString First = NameFilter.mid(Open + 1).chopped(1).section(u' ', 0, 0, QString::SectionSkipEmpty);
    const QString Ext = First.startsWith(QStringLiteral("*.")) ? First.mid(1) : QString();
    return Ext.size() > 1 && !Ext.contains(u'*') && !Ext.contains(u'?') ? Ext : QString();
}

// Qt asks about the name as typed ("v1.2"), while the program writes it with
// the picked filter's extension ("v1.2.frf"): the dialog asks its question
// about that file instead.
class TAskingFileDialog : public QFileDialog
{
public:
    explicit TAskingFileDialog(const TFileRequest& R) : QFileDialog(nullptr, R.Title, R.InitialDir), FRequest(R) {}

protected:
    void accept() override
    {
        const QStringList Files = selectedFiles();
        if (FRequest.OverwritePrompt && Files.size() == 1 && !QFileInfo(Files.front()).isDir()) {
            const int Index = ChosenFilter(FRequest.NameFilters, selectedNameFilter());
            const QString Ext = Index >= 1 ? FilterExt(FRequest.NameFilters[Index - 1]) : QString();
            const QFileInfo Info(AddFileExt(Files.front(), Ext));
            const bool Own = !FRequest.OwnFile.isEmpty() && Info == QFileInfo(FRequest.OwnFile);
            if (Info.exists() && !Own
                && QMessageBox::warning(this, windowTitle(),
                                        tr("%1 already exists.\nDo you want to replace it?").arg(Info.fileName()),
                                        QMessageBox::Yes | QMessageBox::No, QMessageBox::No) != QMessageBox::Yes)
                return;
        }
        QFileDialog::accept();
    }

private:
    const TFileRequest& FRequest;
};

QString RunFileDialog(const TFileRequest& R)
{
    TAskingFileDialog Dialog(R);
    // Our own dialog, so that the filters' patterns and the options below hold.
    Dialog.setOption(QFileDialog::DontUseNativeDialog);
    Dialog.setOption(QFileDialog::HideNameFilterDetails);
    Dialog.setAcceptMode(R.Save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    Dialog.setFileMode(R.Save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    // Qt's own question would ask about another name; ours is asked in accept.
    Dialog.setOption(QFileDialog::DontConfirmOverwrite);
    Dialog.setDefaultSuffix(R.DefaultExt);
    // Files named on a case-blind system match their patterns in any letter
    // case. The patterns themselves stay as written: a save names its suffix
    // after the first pattern of the filter the user picks.
    Dialog.setFilter(Dialog.filter() & ~QDir::CaseSensitive);
    if (!R.NameFilters.isEmpty()) {
        Dialog.setNameFilters(R.NameFilters);
        if (R.FilterIndex >= 1 && R.FilterIndex <= R.NameFilters.size())
            Dialog.selectNameFilter(R.NameFilters[R.FilterIndex - 1]);
    }
    if (!R.FileName.isEmpty() && !R.FileName.contains(u'*') && !R.FileName.contains(u'?'))
        Dialog.selectFile(R.FileName);
    if (Dialog.exec() != QDialog::Accepted || Dialog.selectedFiles().isEmpty())
        return QString();
    R.FilterIndex = ChosenFilter(R.NameFilters, Dialog.selectedNameFilter());
    return Dialog.selectedFiles().front();
}

} // namespace

bool Headless()
{
    const QString P = QGuiApplication::platformName();
    return P == QLatin1String("offscreen") || P == QLatin1String("minimal");
}

QString ModalResultName(TModalResult Result)
{
    static const char* const Names[] = {"None", "OK", "Cancel", "Abort", "Retry", "Ignore",
                                        "Yes", "No", "All", "NoToAll", "YesToAll", "Close"};
    return Result >= 0 && Result <= mrClose ? QString::fromLatin1(Names[Result]) : QString::number(Result);
}

QString TMessageRequest::Describe() const
{
    QStringList B;
    for (TModalResult R : Buttons)
        B << ModalResultName(R);
    return Caption + u'|' + Text + u'|' + IconName(Icon) + u'|' + B.join(u',');
}

TModalResult TModalSeam::RunForm(TForm* Form)
{
    TSeamState& S = State();
    if (S.Forms) {
        // A copy: the handler may install another one for a nested window.
        const TFormHandler Handler = S.Forms;
        return Handler(Form);
    }
    if (Headless())
        throw EInvalidOperation(QStringLiteral("No modal handler for the window %1").arg(Form->objectName()));
    return Form->ExecModalLoop();
}

TModalResult TModalSeam::Ask(const TMessageRequest& Message)
{
    TSeamState& S = State();
    S.Recorded.push_back(Message);
    if (S.Recorded.size() > 1000)
        S.Recorded.erase(S.Recorded.begin());
    if (S.Messages) {
        const TMessageHandler Handler = S.Messages;
        return Handler(Message);
    }
    if (Headless())
        return Message.DefaultButton;
    return RunMessageBox(Message);
}

QString TModalSeam::AskFileName(const TFileRequest& Request)
{
    TSeamState& S = State();
    if (S.Files) {
        const TFileHandler Handler = S.Files;
        return Handler(Request);
    }
    if (Headless())
        return QString();
    return RunFileDialog(Request);
}

const TModalSeam::TFormHandler& TModalSeam::FormHandler() { return State().Forms; }
void TModalSeam::SetFormHandler(TFormHandler Handler) { State().Forms = std::move(Handler); }
const TModalSeam::TMessageHandler& TModalSeam::MessageHandler() { return State().Messages; }
void TModalSeam::SetMessageHandler(TMessageHandler Handler) { State().Messages = std::move(Handler); }
const TModalSeam::TFileHandler& TModalSeam::FileHandler() { return State().Files; }
void TModalSeam::SetFileHandler(TFileHandler Handler) { State().Files = std::move(Handler); }
const std::vector<TMessageRequest>& TModalSeam::Messages() { return State().Recorded; }
void TModalSeam::ClearMessages() { State().Recorded.clear(); }

QStringList TModalSeam::MessageTexts()
{
    QStringList L;
    for (const TMessageRequest& M : State().Recorded)
        L << M.Text;
    return L;
}

TModalHandlers::TModalHandlers(TModalSeam::TFormHandler Forms, TModalSeam::TMessageHandler Messages,
                               TModalSeam::TFileHandler Files)
    : FSavedForms(TModalSeam::FormHandler()), FSavedMessages(TModalSeam::MessageHandler()),
      FSavedFiles(TModalSeam::FileHandler())
{
    TModalSeam::SetFormHandler(std::move(Forms));
    TModalSeam::SetMessageHandler(std::move(Messages));
    TModalSeam::SetFileHandler(std::move(Files));
    TModalSeam::ClearMessages();
}

TModalHandlers::~TModalHandlers()
{
    TModalSeam::SetFormHandler(std::move(FSavedForms));
    TModalSeam::SetMessageHandler(std::move(FSavedMessages));
    TModalSeam::SetFileHandler(std::move(FSavedFiles));
}
