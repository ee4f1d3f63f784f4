#include "report/designer/FR_Edit1.h"

#include "platform/gui/StdCtrls.h"
#include "report/designer/fr_synmemo_p.h"
#include "report/engine/FR_Dock.h"

#include <QLabel>
#include <QTextBlock>

TfrEditorForm1::TfrEditorForm1(TfrReportDesigner* ADesigner) : TfrMemoEditorForm(ADesigner)
{
    FormCreate();
    ErrorPanel = new QLabel(ScriptPanel);
    ErrorPanel->setObjectName(QStringLiteral("ErrorPanel"));
    ErrorPanel->setFrameShape(QFrame::Box);
    ErrorPanel->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    ErrorPanel->setAutoFillBackground(true);
    QPalette P = ErrorPanel->palette();
    P.setColor(QPalette::Window, ColorToQColor(clWindow));
    ErrorPanel->setPalette(P);
    ErrorPanel->resize(432, 18);
    SetControlAlign(ErrorPanel, alBottom);
    ErrorPanel->hide();
    FEdit = new TMemo(ScriptPanel);
    FEdit->setObjectName(QStringLiteral("ScriptEdit"));
    FEdit->setLineWrapMode(QPlainTextEdit::NoWrap);
    FEdit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    FEdit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    SetControlAlign(FEdit, alClient);
    SetScriptFont(QStringLiteral("Courier New"), 10, 1);
    BindPane(FEdit);
}

QWidget* TfrEditorForm1::ScriptPane() const
{
    return FEdit;
}

QStringList TfrEditorForm1::ScriptLines()
{
    const QString T = FEdit->toPlainText();
    return T.isEmpty() ? QStringList() : T.split(u'\n');
}

void TfrEditorForm1::SetScriptLines(const QStringList& Lines)
{
    FEdit->setPlainText(Lines.join(u'\n'));
}

bool TfrEditorForm1::ScriptReadOnly() const
{
    return FEdit->isReadOnly();
}

void TfrEditorForm1::SetScriptReadOnly(bool Value)
{
    FEdit->setReadOnly(Value);
}

void TfrEditorForm1::SetScriptFont(const QString& Name, int Size, int Charset)
{
    TFont F;
    F.SetName(Name);
    F.SetSize(Size);
    F.SetCharset(Charset);
    FEdit->setFont(F.ToQFont());
}

void TfrEditorForm1::ScriptInsert(const QString& Text)
{
    FEdit->insertPlainText(Text);
}

void TfrEditorForm1::ScriptCut()
{
    FEdit->cut();
}

void TfrEditorForm1::ScriptCopy()
{
    FEdit->copy();
}

void TfrEditorForm1::ScriptPaste()
{
    FEdit->paste();
}

bool TfrEditorForm1::OnlyTemplate()
{
    const QStringList L = ScriptLines();
    return L.size() == 3 && L[0].trimmed() == u"begin" && L[1].trimmed().isEmpty() && L[2].trimmed() == u"end";
}

void TfrEditorForm1::ClearScriptError()
{
    ErrorPanel->hide();
}

void TfrEditorForm1::ShowScriptError(int Line, int Col, const QString& Text)
{
    ErrorPanel->setText(QLatin1Char(' ') + Text);
    ErrorPanel->show();
    Realign();
    SetActiveControl(FEdit);
    FEdit->setFocus();
    const QTextBlock Block = FEdit->document()->findBlockByNumber(Line - 1);
    QTextCursor C(Block);
    C.setPosition(Block.position() + synmemo::IndexOfCol(Block.text(), Col));
    FEdit->setTextCursor(C);
    FEdit->ensureCursorVisible();
}

void TfrEditorForm1::AfterResize()
{
    ErrorPanel->hide();
}

void TfrEditorForm1::PaneKey()
{
    ErrorPanel->hide();
}
