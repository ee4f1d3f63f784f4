#include "report/designer/FR_Vared.h"

#include "platform/gui/Dialogs.h"
#include "platform/gui/StdCtrls.h"
#include "platform/rtl/GbkText.h"
#include "report/engine/FR_Utils.h"
#include "report/engine/FR_Variables.h"

#include <QLabel>
#include <QSet>

bool frValidVariableName(const QString& Name)
{
    // A name GBK cannot hold would be saved with "?" in its place, merging
    // names that differ only there.
    if (Name.isEmpty() || Name.startsWith(u' ') || Name.endsWith(u' ') || Name.contains(QStringLiteral(" #"))
        || !GbkCanEncode(Name))
        return false;
    for (QChar C : Name)
        if (C == u'[' || C == u']' || C == u'"' || C == u'\'' || C == u'\r' || C == u'\n')
            return false;
    return true;
}

TfrVaredForm::TfrVaredForm() : TForm(nullptr)
{
    setObjectName(QStringLiteral("frVaredForm"));
    SetBorderStyle(bsDialog);
    SetPosition(poScreenCenter);
    SetClientSize(249, 269);
    SetCaption(LoadEngineString(53360));
    Label1 = new QLabel(LoadEngineString(53361), this);
    Label1->setGeometry(8, 4, 233, 16);
    Memo1 = new TMemo(this);
    Memo1->setGeometry(8, 20, 233, 209);
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Label1->setBuddy(Memo1);
    Button4 = new TButton(this);
    Button4->SetCaption(LoadEngineString(55000));
    Button4->SetModalResult(mrOk);
    Button4->setGeometry(86, 238, 75, 25);
    Button5 = new TButton(this);
    Button5->SetCaption(LoadEngineString(55001));
    Button5->SetModalResult(mrCancel);
    Button5->SetCancel(true);
    Button5->setGeometry(166, 238, 75, 25);
    OnShow = [this](QObject*) { FormShow(); };
    OnCloseQuery = [this](QObject*, bool& CanClose) {
        if (ModalResult() == mrOk)
            CanClose = FormHide();
    };
}

void TfrVaredForm::FormShow()
{
    QStringList Lines;
    for (int i = 0; Doc && i < Doc->Count(); ++i) {
        const QString Name = Doc->GetName(i);
        Lines << (Name.startsWith(u' ') ? Name.mid(1) : u' ' + Name);
    }
    Memo1->setPlainText(Lines.join(u'\n'));
    SetActiveControl(Memo1);
}

bool TfrVaredForm::FormHide()
{
    if (!Doc)
        return true;
    struct TLine
    {
        QString Name;
        int Number;
    };
    QList<TLine> Entries;
    QSet<QString> Seen;
    bool InCategory = false;
    const QStringList Lines = Memo1->toPlainText().split(u'\n');
    for (int n = 0; n < Lines.size(); ++n) {
        QString Line = Lines[n];
        while (Line.endsWith(u' ') || Line.endsWith(u'\t') || Line.endsWith(u'\r'))
            Line.chop(1);
        if (Line.trimmed().isEmpty())
            continue;
        // A line at the margin is a category; one blank less makes the rest a
        // variable, and a second blank a category again.
        const QString Name = Line.startsWith(u' ') ? Line.mid(1) : u' ' + Line;
        const bool Category = Name.startsWith(u' ');
        // The dictionary starts with a category: one that starts with a
        // variable is read as an older naming, every entry turned inside out.
        if (!Category && !InCategory) {
            ShowError(LoadEngineString(55674).arg(n + 1).arg(Name), LoadEngineString(55206));
            return false;
        }
        InCategory = true;
        const bool Valid = Category ? GbkCanEncode(Name) : frValidVariableName(Name);
        if (!Valid || Seen.contains(Name.toUpper())) {
            ShowError(LoadEngineString(55671).arg(n + 1).arg(Name.trimmed()), LoadEngineString(55206));
            return false;
        }
        Seen.insert(Name.toUpper());
        Entries.append({Name, n});
    }
    TfrVariables Edited;
    for (const TLine& E : Entries) {
        const int Old = Doc->IndexOf(E.Name);
        Edited.SetVariable(E.Name, Old >= 0 ? Doc->GetValue(Old) : Variant(QString()));
    }
    Doc->Assign(Edited);
    return true;
}
