#include "report/designer/FR_EditBase.h"
#include "report/designer/FR_DsgLists.h"
#include "report/designer/fr_synmemo_p.h"

#include "platform/gui/Controls.h"
#include "platform/gui/StdCtrls.h"
#include "platform/rtl/Classes.h"
#include "platform/rtl/IniFiles.h"
#include "report/engine/FR_BandView.h"
#include "report/engine/FR_Control.h"
#include "report/engine/FR_Ctrls.h"
#include "report/engine/FR_Dock.h"
#include "report/engine/FR_Globals.h"
#include "report/engine/FR_MemoView.h"
#include "report/engine/FR_ReportIntrp.h"
#include "report/engine/FR_Utils.h"

#include <QFrame>
#include <QKeyEvent>
#include <QPainter>
#include <QRegularExpression>
#include <QScrollBar>
#include <algorithm>

namespace {

const QString SettingsSection = QStringLiteral("Form\\TfrDesignerForm");
constexpr int MinPane = 20;

// Our own tool glyphs, drawn on olive, which the buttons leave out.
std::unique_ptr<TBitmap> DrawGlyph(int Kind)
{
    return frDrawnGlyph([Kind](QPainter& P) {
        P.setPen(Qt::black);
        QFont F(QStringLiteral("Sans"));
        F.setPixelSize(9);
        F.setBold(true);
        P.setFont(F);
        switch (Kind) {
        case 0: // insert expression: brackets
            P.drawText(QRect(0, 0, 16, 16), Qt::AlignCenter, QStringLiteral("[ ]"));
            break;
        case 1: // insert data field: a table
            P.setBrush(Qt::white);
            P.drawRect(1, 2, 13, 11);
            P.drawLine(1, 6, 14, 6);
            P.drawLine(6, 2, 6, 13);
            break;
        case 2: // cut: scissors
            P.drawLine(4, 1, 10, 10);
            P.drawLine(11, 1, 5, 10);
            P.drawEllipse(2, 10, 4, 4);
            P.drawEllipse(9, 10, 4, 4);
            break;
        case 3: // copy: two sheets
            P.setBrush(Qt::white);
            P.drawRect(1, 1, 8, 10);
            P.drawRect(6, 4, 8, 10);
            break;
        case 4: // paste: a board with a sheet
            P.setBrush(QColor(160, 110, 40));
            P.drawRect(2, 2, 10, 12);
            P.setBrush(Qt::white);
            P.drawRect(6, 6, 8, 9);
            break;
        case 5: // word wrap: a line turning back
            P.drawLine(1, 4, 13, 4);
            P.drawLine(13, 4, 13, 10);
            P.drawLine(13, 10, 4, 10);
            P.drawLine(4, 10, 6, 8);
            P.drawLine(4, 10, 6, 12);
            break;
        case 6: // script pane: code lines
            P.setPen(QColor(0, 0, 128));
            for (int Y : {3, 6, 9, 12})
                P.drawLine(Y == 3 || Y == 12 ? 2 : 5, Y, 13, Y);
            break;
        case 7: // object tag: a label
            P.setBrush(QColor(255, 255, 160));
            P.drawPolygon(QPolygon({QPoint(1, 4), QPoint(10, 4), QPoint(14, 8), QPoint(10, 12), QPoint(1, 12)}));
            break;
        case 8: // OK: a green tick
            P.setPen(QPen(QColor(0, 128, 0), 2));
            P.drawLine(2, 8, 6, 12);
            P.drawLine(6, 12, 13, 3);
            break;
        default: // cancel: a red cross
            P.setPen(QPen(QColor(192, 0, 0), 2));
            P.drawLine(3, 3, 12, 12);
            P.drawLine(12, 3, 3, 12);
            break;
        }
    });
}

// A font size as the options dialog stores it (the size's text); anything
// but a sensible whole number gives the default.
int ReadSize(const TRegIniFile& Ini, const QString& Name, int Default)
{
    bool Ok = false;
    const int V = Ini.ReadString(SettingsSection, Name, QString::number(Default)).trimmed().toInt(&Ok);
    return Ok && V > 0 && V <= 1000 ? V : Default;
}

// Routes the focus and key-down events of a pane made of Qt's widgets.
class TPaneFilter : public QObject
{
public:
    TPaneFilter(TfrMemoEditorForm* AForm, QWidget* APane) : QObject(APane), Form(AForm), Pane(APane) {}
    bool eventFilter(QObject*, QEvent* Event) override
    {
        if (Event->type() == QEvent::FocusIn) {
            Form->M1Enter(Pane);
        } else if (Event->type() == QEvent::KeyPress) {
            auto* K = static_cast<QKeyEvent*>(Event);
            int Key = VirtualKeyFromQt(K);
            if (Key != 0) {
                Form->M1KeyDown(Key, ShiftStateFromQt(K->modifiers(), Qt::NoButton));
                return Key == 0;
            }
        }
        return false;
    }

private:
    TfrMemoEditorForm* Form;
    QWidget* Pane;
};

} // namespace

bool ParseScriptError(const QString& Error, int& Line, int& Col)
{
    static const QRegularExpression Re(QStringLiteral("^Line (\\d{1,9})/(\\d{1,9}):"));
    const QRegularExpressionMatch M = Re.match(Error);
    if (!M.hasMatch())
        return false;
    Line = M.captured(1).toInt();
    Col = M.captured(2).toInt();
    return true;
}

// ---------------------------------------------------------------- construction

TfrMemoEditorForm::TfrMemoEditorForm(TfrReportDesigner* ADesigner)
    : TfrObjEditorForm(ADesigner), FDesigner(ADesigner)
{
}

TfrMemoEditorForm::~TfrMemoEditorForm() = default;

TfrSpeedButton* TfrMemoEditorForm::ToolButton(const QString& Name, int Id, int Glyph, int Gap)
{
    auto* B = new TfrSpeedButton(Panel1);
    B->setObjectName(Name);
    B->SetFlat(true);
    B->SetGlyph(DrawGlyph(Glyph).get());
    B->SetHint(LoadEngineString(Id));
    FLayoutX += Gap;
    B->setGeometry(FLayoutX, 4, 24, 24);
    FLayoutX += 24;
    return B;
}

void TfrMemoEditorForm::FormCreate()
{
    setObjectName(QString::fromLatin1(metaObject()->className()));
    SetClientSize(432, 450);
    SetKeyPreview(true);
    Font()->SetName(QStringLiteral("MS Sans Serif"));
    Font()->SetHeight(-11);
    SetCaption(LoadEngineString(53060));

    Panel1 = new QWidget(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->resize(432, 33);
    SetControlAlign(Panel1, alTop);
    Bevel1 = new QFrame(Panel1);
    Bevel1->setFrameShape(QFrame::HLine);
    Bevel1->setFrameShadow(QFrame::Sunken);
    Bevel1->setGeometry(0, 0, 2000, 2);
    InsExprBtn = ToolButton(QStringLiteral("InsExprBtn"), 53061, 0);
    InsDBBtn = ToolButton(QStringLiteral("InsDBBtn"), 53062, 1);
    CutBtn = ToolButton(QStringLiteral("CutBtn"), 53091, 2, 8);
    CopyBtn = ToolButton(QStringLiteral("CopyBtn"), 53092, 3);
    PasteBtn = ToolButton(QStringLiteral("PasteBtn"), 53093, 4);
    WordWrapBtn = ToolButton(QStringLiteral("WordWrapBtn"), 53063, 5, 8);
    WordWrapBtn->SetGroupIndex(1);
    WordWrapBtn->SetAllowAllUp(true);
    ScriptBtn = ToolButton(QStringLiteral("ScriptBtn"), 53064, 6);
    ScriptBtn->SetGroupIndex(2);
    ScriptBtn->SetAllowAllUp(true);
    ScriptBtn->SetDown(true);
    OkBtn = new TfrSpeedButton(Panel1);
    CancelBtn = new TfrSpeedButton(Panel1);

    MemoPanel = new QWidget(this);
    MemoPanel->setObjectName(QStringLiteral("MemoPanel"));
    SetControlAlign(MemoPanel, alClient);
    Bevel2 = new QFrame(MemoPanel);
    Bevel2->setFrameShape(QFrame::HLine);
    Bevel2->setFrameShadow(QFrame::Sunken);
    Bevel2->resize(432, 2);
    SetControlAlign(Bevel2, alTop);
    Panel2 = new QWidget(MemoPanel);
    Panel2->resize(432, 2);
    Panel2->move(0, 2);
    SetControlAlign(Panel2, alTop);
    M1 = new TMemo(MemoPanel);
    M1->setObjectName(QStringLiteral("M1"));
    M1->setLineWrapMode(QPlainTextEdit::NoWrap);
    SetControlAlign(M1, alClient);
    {
        TFont F;
        F.SetName(QStringLiteral("MS Sans Serif"));
        F.SetHeight(-13);
        M1->setFont(F.ToQFont());
    }

    Splitter = new TCustomControl(this);
    Splitter->setObjectName(QStringLiteral("Splitter"));
    Splitter->resize(432, 2);
    Splitter->SetCursor(crVSplit);
    SetControlAlign(Splitter, alBottom);
    ScriptPanel = new QWidget(this);
    ScriptPanel->setObjectName(QStringLiteral("ScriptPanel"));
    ScriptPanel->resize(432, 140);
    SetControlAlign(ScriptPanel, alBottom);

    Splitter->OnMouseDown = [this](QObject*, TMouseButton, TShiftState, int, int Y) { SplitterMouseDown(Y); };
    Splitter->OnMouseMove = [this](QObject*, TShiftState, int, int Y) { SplitterMouseMove(Y); };
    Splitter->OnMouseUp = [this](QObject*, TMouseButton, TShiftState, int, int) { SplitterMouseUp(); };
    InsExprBtn->OnClick = [this](QObject*) { InsExprBtnClick(); };
    InsDBBtn->OnClick = [this](QObject*) { InsDBBtnClick(); };
    CutBtn->OnClick = [this](QObject*) { CutBtnClick(); };
    CopyBtn->OnClick = [this](QObject*) { CopyBtnClick(); };
    PasteBtn->OnClick = [this](QObject*) { PasteBtnClick(); };
    WordWrapBtn->OnClick = [this](QObject*) { WordWrapBtnClick(); };
    ScriptBtn->OnClick = [this](QObject*) { ScriptBtnClick(); };
    OnShow = [this](QObject*) { FormShow(); };
    OnKeyPress = [this](QObject*, QChar& Key) { FormKeyPress(Key); };
    OnResize = [this](QObject*) { FormResize(); };
    BindPane(M1);

    FScriptShown = true;
    FSplitterPos = Height() / 2;
}

// Places OK and Cancel after the kind's own buttons.
void TfrMemoEditorForm::BindPane(QWidget* Pane)
{
    if (auto* Own = dynamic_cast<TCustomControl*>(Pane)) {
        Own->OnEnter = [this, Pane](QObject*) { M1Enter(Pane); };
        Own->OnKeyDown = [this](QObject*, int& Key, TShiftState Shift) { M1KeyDown(Key, Shift); };
    } else {
        Pane->installEventFilter(new TPaneFilter(this, Pane));
    }
    if (Pane == M1)
        return;
    for (auto [B, Id, Glyph] : {std::tuple{OkBtn, 55000, 8}, std::tuple{CancelBtn, 55001, 9}}) {
        B->setObjectName(Id == 55000 ? QStringLiteral("OkBtn") : QStringLiteral("CancelBtn"));
        B->SetFlat(true);
        B->SetGlyph(DrawGlyph(Glyph).get());
        B->SetHint(LoadEngineString(Id));
        FLayoutX += B == OkBtn ? 8 : 0;
        B->setGeometry(FLayoutX, 4, 24, 24);
        FLayoutX += 24;
    }
    OkBtn->OnClick = [this](QObject*) { OkBtnClick(); };
    CancelBtn->OnClick = [this](QObject*) { CancelBtnClick(); };
}

void TfrMemoEditorForm::Realign()
{
    AlignControls(this, rect());
    AlignControls(MemoPanel, MemoPanel->rect());
    AlignControls(ScriptPanel, ScriptPanel->rect());
}

void TfrMemoEditorForm::PlaceSplitter(int Pos)
{
    const int Top = Panel1->height(), Client = ClientHeight();
    if (Client - Top - Splitter->height() < 2 * MinPane) {
        ScriptPanel->resize(ScriptPanel->width(), Client / 2);
    } else {
        Pos = std::clamp(Pos, Top + MinPane, Client - Splitter->height() - MinPane);
        ScriptPanel->resize(ScriptPanel->width(), Client - Pos - Splitter->height());
    }
    Realign();
}

// ---------------------------------------------------------------- ShowEditor

// Fonts from the designer settings; character sets are kept with them, not
// applied.
void TfrMemoEditorForm::LoadFonts(TfrView* View)
{
    TRegIniFile Ini(frRegRootKey);
    auto* Memo = dynamic_cast<TfrMemoView*>(View);
    TFont TextFont;
    if (Memo && Ini.ReadBool(SettingsSection, QStringLiteral("UseDefaultFont"), true)) {
        TextFont.SetName(Memo->Font()->Name());
        TextFont.SetSize(10);
    } else {
        TextFont.SetName(Ini.ReadString(SettingsSection, QStringLiteral("TextFontName"), QStringLiteral("Arial")));
        TextFont.SetSize(ReadSize(Ini, QStringLiteral("TextFontSize"), 10));
    }
    FTextCharset = Memo ? Memo->Font()->Charset() : DefaultCharset();
    TextFont.SetCharset(FTextCharset);
    M1->setFont(TextFont.ToQFont());
    SetScriptFont(Ini.ReadString(SettingsSection, QStringLiteral("ScriptFontName"), QStringLiteral("Courier New")),
                  ReadSize(Ini, QStringLiteral("ScriptFontSize"), 10), DefaultCharset());
}

// The panes stacked in their order so that aligning keeps it.
void TfrMemoEditorForm::LayoutPanes()
{
    MemoPanel->move(0, 0);
    Splitter->move(0, 20);
    ScriptPanel->move(0, 40);
    ScriptBtn->SetDown(true);
    if (FHasTextPane) {
        MemoPanel->show();
        Splitter->setVisible(FScriptShown);
        ScriptPanel->setVisible(FScriptShown);
        ScriptBtn->SetDown(FScriptShown);
        SetControlAlign(ScriptPanel, alBottom);
        SetControlAlign(Splitter, alBottom);
        SetControlAlign(MemoPanel, alClient);
        PlaceSplitter(FSplitterPos);
    } else {
        MemoPanel->hide();
        Splitter->hide();
        ScriptPanel->show();
        SetControlAlign(ScriptPanel, alClient);
        Realign();
    }
}

TModalResult TfrMemoEditorForm::ShowEditor(TfrView* View)
{
    RestoreFormPosition(this);
    TRegIniFile Ini(frRegRootKey);
    FView = View;
    FHasTextPane = !dynamic_cast<TfrControl*>(View) && !dynamic_cast<TfrBandView*>(View);

    WordWrapBtnClick();
    M1->setPlainText(View->Memo()->ToStringList().join(u'\n'));
    if (View->Script()->Count() == 0)
        SetScriptLines({QStringLiteral("begin"), QStringLiteral("  "), QStringLiteral("end")});
    else
        SetScriptLines(View->Script()->ToStringList());
    ClearScriptError();

    LoadFonts(View);
    FSplitterPos = Ini.ReadInteger(SettingsSection, QStringLiteral("SplitterPos"), 100);

    M1->setReadOnly(View->Restrictions() & frrfDontEditMemo);
    SetScriptReadOnly(View->Restrictions() & frrfDontEditScript);

    LayoutPanes();
    FActivePane = FHasTextPane ? static_cast<QWidget*>(M1) : ScriptPane();
    QTextCursor Start = M1->textCursor();
    Start.movePosition(QTextCursor::Start);
    M1->setTextCursor(Start);
    M1->ensureCursorVisible();
    AfterShowEditor();

    const TModalResult Result = ShowModal();
    if (Result == mrOk) {
        FDesigner->BeforeChange();
        M1->setLineWrapMode(QPlainTextEdit::NoWrap);
        View->Memo()->SetText(M1->toPlainText());
        const bool Template = OnlyTemplate();
        if (!Template)
            View->Script()->SetStringList(ScriptLines());
        else if (View->Script()->Count() > 0)
            View->Script()->Clear();
    }
    if (FHasTextPane)
        FScriptShown = ScriptBtn->Down();
    if (FHasTextPane && !Splitter->isHidden())
        FSplitterPos = Splitter->y();
    Ini.WriteInteger(SettingsSection, QStringLiteral("SplitterPos"), FSplitterPos);
    SaveFormPosition(this);
    FView = nullptr;
    return Result;
}

// ---------------------------------------------------------------- OK and keys

void TfrMemoEditorForm::OkBtnClick()
{
    // A script the view forbids to edit is not compiled: a stored script that
    // fails must not lock the user out of the text.
    if (ScriptReadOnly()) {
        SetModalResult(mrOk);
        return;
    }
    TStringList Source(ScriptLines()), Compiled, Errors;
    frInterpretator().CompileScript(Source, Compiled, Errors);
    if (Errors.Count() == 0) {
        SetModalResult(mrOk);
        return;
    }
    const QString Error = Errors.Strings(0);
    int Line = 1, Col = 1;
    if (!ParseScriptError(Error, Line, Col))
        Line = Col = 1;
    const QStringList Lines = ScriptLines();
    Line = std::clamp(Line, 1, std::max(1, static_cast<int>(Lines.size())));
    const QString Text = Lines.isEmpty() ? QString() : Lines[Line - 1];
    // The compiler counts UTF-16 units, the panes code points: a surrogate
    // pair before the error is one column.
    Col = synmemo::Cols(Text.left(std::max(0, Col - 1))) + 1;
    Col = std::clamp(Col, 1, synmemo::Cols(Text) + 1);
    if (FHasTextPane && ScriptPanel->isHidden()) {
        ScriptBtn->SetDown(true);
        ScriptBtnClick();
    }
    ShowScriptError(Line, Col, Error);
}

void TfrMemoEditorForm::CancelBtnClick()
{
    SetModalResult(mrCancel);
}

void TfrMemoEditorForm::FormKeyPress(QChar& Key)
{
    if (Key.unicode() == 10) {
        Key = QChar();
        OkBtnClick();
    }
}

void TfrMemoEditorForm::M1KeyDown(int& Key, TShiftState Shift)
{
    PaneKey();
    if (Key == VK_INSERT && !Shift.Contains(ssShift) && !Shift.Contains(ssCtrl) && !Shift.Contains(ssAlt)) {
        InsDBBtnClick();
        Key = 0;
    } else if (Key == VK_ESCAPE) {
        SetModalResult(mrCancel);
        Key = 0;
    }
}

void TfrMemoEditorForm::M1Enter(QWidget* Sender)
{
    FActivePane = Sender;
}

void TfrMemoEditorForm::FormShow()
{
    QWidget* Target = !MemoPanel->isHidden() ? static_cast<QWidget*>(M1) : ScriptPane();
    SetActiveControl(Target);
    Target->setFocus();
}

// ---------------------------------------------------------------- insert and clipboard

namespace {

bool PaneReadOnly(QWidget* Pane)
{
    auto* E = qobject_cast<QPlainTextEdit*>(Pane);
    return E && E->isReadOnly();
}

} // namespace

void TfrMemoEditorForm::InsExprBtnClick()
{
    InsertAsked(&TfrReportDesigner::InsertExpression);
}

void TfrMemoEditorForm::InsDBBtnClick()
{
    InsertAsked(&TfrReportDesigner::InsertDBField);
}

// The designer's dialog is not even opened over a read-only pane.
void TfrMemoEditorForm::InsertAsked(QString (TfrReportDesigner::*Ask)())
{
    const bool ReadOnly = FActivePane == M1 ? M1->isReadOnly() : ScriptReadOnly();
    if (ReadOnly)
        return;
    const QString Text = (FDesigner->*Ask)();
    if (Text.isEmpty())
        return;
    if (FActivePane == M1)
        M1->insertPlainText(Text);
    else
        ScriptInsert(Text);
}

void TfrMemoEditorForm::CutBtnClick()
{
    if (FActivePane == M1) {
        if (!PaneReadOnly(M1))
            M1->cut();
    } else if (!ScriptReadOnly()) {
        ScriptCut();
    }
}

void TfrMemoEditorForm::CopyBtnClick()
{
    if (FActivePane == M1)
        M1->copy();
    else
        ScriptCopy();
}

void TfrMemoEditorForm::PasteBtnClick()
{
    if (FActivePane == M1) {
        if (!PaneReadOnly(M1))
            M1->paste();
    } else if (!ScriptReadOnly()) {
        ScriptPaste();
    }
}

// ---------------------------------------------------------------- panes

void TfrMemoEditorForm::WordWrapBtnClick()
{
    M1->setLineWrapMode(WordWrapBtn->Down() ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
}

void TfrMemoEditorForm::ScriptBtnClick()
{
    if (!FHasTextPane) {
        ScriptBtn->SetDown(true);
        return;
    }
    const bool Down = ScriptBtn->Down();
    const int Under = MemoPanel->y() + MemoPanel->height();
    if (Down)
        ScriptPanel->move(0, Under);
    ScriptPanel->setVisible(Down);
    Splitter->setVisible(Down);
    Splitter->move(0, Under);
    Splitter->SetCursor(Down ? crVSplit : crDefault);
    if (Down)
        PlaceSplitter(FSplitterPos);
    else
        Realign();
}

void TfrMemoEditorForm::SplitterMouseDown(int Y)
{
    FDragging = true;
    FDragStart = Y;
}

void TfrMemoEditorForm::SplitterMouseMove(int Y)
{
    if (!FDragging)
        return;
    // Both panes keep at least MinPane pixels.
    PlaceSplitter(Splitter->y() + Y - FDragStart);
    FSplitterPos = Splitter->y();
}

void TfrMemoEditorForm::SplitterMouseUp()
{
    FDragging = false;
}

void TfrMemoEditorForm::FormResize()
{
    AfterResize();
    if (!MemoPanel->isHidden() && ClientHeight() - 40 < ScriptPanel->height())
        ScriptPanel->resize(ScriptPanel->width(), ClientHeight() / 2);
    Realign();
}
