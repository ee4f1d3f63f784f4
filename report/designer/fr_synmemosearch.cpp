// The syntax memo's find dialog and search.
#include "report/designer/fr_synmemo.h"
#include "report/designer/fr_synmemo_p.h"

#include "platform/gui/StdCtrls.h"

#include <QLabel>
#include <QLineEdit>

using namespace synmemo;

TSynMemoSearch::TSynMemoSearch(QWidget* AOwner) : TForm(AOwner)
{
    setObjectName(QStringLiteral("SynMemoSearch"));
    SetBorderStyle(bsDialog);
    SetPosition(poScreenCenter);
    SetCaption(QStringLiteral("Search"));
    SetClientSize(292, 84);
    Label1 = new QLabel(QStringLiteral("Text to find"), this);
    Label1->setGeometry(8, 8, 276, 16);
    Edit1 = new QLineEdit(this);
    Edit1->setGeometry(8, 26, 276, 21);
    Button1 = new TButton(this);
    Button1->SetCaption(QStringLiteral("Search"));
    Button1->SetModalResult(mrOk);
    Button1->SetDefault(true);
    Button1->setGeometry(128, 54, 75, 25);
    Button2 = new TButton(this);
    Button2->SetCaption(QStringLiteral("Cancel"));
    Button2->SetModalResult(mrCancel);
    Button2->SetCancel(true);
    Button2->setGeometry(209, 54, 75, 25);
    OnShow = [this](QObject*) { SetActiveControl(Edit1); };
}

void TfrSyntaxMemo::ShowSearch()
{
    TSynMemoSearch Dialog(this);
    if (Dialog.ShowModal() == mrOk && !Dialog.Edit1->text().isEmpty())
        Find(Dialog.Edit1->text());
}

// Searches the lines after the caret's line, without regard to case; the
// caret goes to the first match.
void TfrSyntaxMemo::Find(const QString& Text)
{
    FLastSearch = Text;
    if (LineCount() >= 2) {
        for (int L = FCaret.Line + 1; L <= LineCount(); ++L) {
            const qsizetype At = FText[L - 1].indexOf(Text, 0, Qt::CaseInsensitive);
            if (At >= 0) {
                FSelActive = false;
                SetCaretPos(Cols(FText[L - 1].left(At)) + 1, L);
                return;
            }
        }
    }
    SetStatusText(QStringLiteral("Text \"%1\" not found.").arg(Text));
}
