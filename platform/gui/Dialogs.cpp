#include "platform/gui/Dialogs.h"

#include "platform/gui/Application.h"

namespace {

TModalResult Ask(const QString& Caption, const QString& Text, TMessageIcon Icon,
                 std::vector<TModalResult> Buttons)
{
    TMessageRequest M;
    M.Caption = Caption.isEmpty() ? Application()->Title() : Caption;
    M.Text = Text;
    M.Icon = Icon;
    M.Buttons = std::move(Buttons);
    M.DefaultButton = M.Buttons.front();
    return TModalSeam::Ask(M);
}

} // namespace

TModalResult MessageDlg(const QString& Text, TMsgDlgType Type, TMsgDlgButtons Buttons, int)
{
    static const std::pair<TMsgDlgBtn, TModalResult> Order[] = {
        {mbYes, mrYes}, {mbNo, mrNo}, {mbOK, mrOk}, {mbCancel, mrCancel}, {mbAbort, mrAbort},
        {mbRetry, mrRetry}, {mbIgnore, mrIgnore}, {mbAll, mrAll}, {mbNoToAll, mrNoToAll},
        {mbYesToAll, mrYesToAll},
    };
    std::vector<TModalResult> List;
    for (const auto& [B, R] : Order) {
        if (Buttons.Contains(B))
            List.push_back(R);
    }
    if (List.empty())
        List.push_back(mrOk);
    QString Caption;
    TMessageIcon Icon = miNone;
    switch (Type) {
    case mtWarning: Caption = QStringLiteral("警告"); Icon = miWarning; break;
    case mtError: Caption = QStringLiteral("错误"); Icon = miError; break;
    case mtInformation: Caption = QStringLiteral("信息"); Icon = miInformation; break;
    case mtConfirmation: Caption = QStringLiteral("确认"); Icon = miQuestion; break;
    case mtCustom: break;
    }
    return Ask(Caption, Text, Icon, List);
}

void ShowError(const QString& Text, const QString& Caption)
{
    Ask(Caption, Text, miError, {mrOk});
}

void ShowInformation(const QString& Text, const QString& Caption)
{
    Ask(Caption, Text, miInformation, {mrOk});
}

TModalResult AskYesNo(const QString& Text, const QString& Caption)
{
    return Ask(Caption, Text, miQuestion, {mrYes, mrNo});
}

TModalResult AskYesNoCancel(const QString& Text, const QString& Caption)
{
    return Ask(Caption, Text, miQuestion, {mrYes, mrNo, mrCancel});
}

TModalResult AskYesNoAll(const QString& Text, const QString& Caption)
{
    return Ask(Caption, Text, miQuestion, {mrYes, mrNo, mrAll});
}
