// Message boxes of the classic API. All go through the modal seam, so tests
// answer and record them. The business windows use the six kinds below.
#pragma once

#include "platform/gui/ModalSeam.h"
#include "platform/gui/Sets.h"

#include <QString>

enum class TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
using enum TMsgDlgType;
enum class TMsgDlgBtn { mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore, mbAll, mbNoToAll,
                        mbYesToAll, mbHelp };
using enum TMsgDlgBtn;
using TMsgDlgButtons = TSet<TMsgDlgBtn>;

// Caption from the type ("警告", "错误", "信息", "确认"); buttons in the
// classic order; the first is the default.
TModalResult MessageDlg(const QString& Text, TMsgDlgType Type, TMsgDlgButtons Buttons, int HelpContext = 0);

// Error icon with OK.
void ShowError(const QString& Text, const QString& Caption = QString());
// Information icon with OK.
void ShowInformation(const QString& Text, const QString& Caption = QString());
// Yes/No under the given caption (the delete warning "删除警告"): mrYes or mrNo.
TModalResult AskYesNo(const QString& Text, const QString& Caption);
// Yes/No/Cancel: mrYes, mrNo or mrCancel.
TModalResult AskYesNoCancel(const QString& Text, const QString& Caption);
// Yes/No/All: mrYes, mrNo or mrAll.
TModalResult AskYesNoAll(const QString& Text, const QString& Caption);
