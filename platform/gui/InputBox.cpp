#include "platform/gui/InputBox.h"

#include "platform/gui/StdCtrls.h"

#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>

namespace {
constexpr int Margin = 8;
constexpr int ButtonWidth = 75;
constexpr int ButtonHeight = 25;
constexpr int MinClientWidth = 240;
} // namespace

TInputBoxForm::TInputBoxForm(const QString& ACaption, const QString& APrompt, const QString& ADefault)
{
    setObjectName(QStringLiteral("InputBoxForm"));
    SetCaption(ACaption);
    SetBorderStyle(bsDialog);
    SetPosition(poScreenCenter);

    Prompt = new QLabel(APrompt, this);
    Edit = new QLineEdit(ADefault, this);
    OKButton = new TButton(this);
    OKButton->SetCaption(QStringLiteral("确定"));
    OKButton->SetModalResult(mrOk);
    OKButton->SetDefault(true);
    CancelButton = new TButton(this);
    CancelButton->SetCaption(QStringLiteral("取消"));
    CancelButton->SetModalResult(mrCancel);
    CancelButton->SetCancel(true);

    // A long prompt widens the box rather than being cut.
    const int PromptWidth = QFontMetrics(Prompt->font()).horizontalAdvance(APrompt);
    const int ClientWidth = std::max(MinClientWidth, PromptWidth + 2 * Margin);
    const int PromptHeight = Prompt->sizeHint().height();
    const int EditHeight = Edit->sizeHint().height();
    Prompt->setGeometry(Margin, Margin, ClientWidth - 2 * Margin, PromptHeight);
    const int EditTop = Margin + PromptHeight + 4;
    Edit->setGeometry(Margin, EditTop, ClientWidth - 2 * Margin, EditHeight);
    const int ButtonTop = EditTop + EditHeight + 12;
    const int CancelLeft = ClientWidth - Margin - ButtonWidth;
    CancelButton->setGeometry(CancelLeft, ButtonTop, ButtonWidth, ButtonHeight);
    OKButton->setGeometry(CancelLeft - 6 - ButtonWidth, ButtonTop, ButtonWidth, ButtonHeight);
    SetClientSize(ClientWidth, ButtonTop + ButtonHeight + Margin);

    Edit->selectAll();
    SetActiveControl(Edit);
}

QString InputBox(const QString& ACaption, const QString& APrompt, const QString& ADefault)
{
    TInputBoxForm Form(ACaption, APrompt, ADefault);
    return Form.ShowModal() == mrOk ? Form.Edit->text() : ADefault;
}
