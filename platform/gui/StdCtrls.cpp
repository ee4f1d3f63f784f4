#include "platform/gui/StdCtrls.h"

#include "platform/gui/Application.h"
#include "platform/gui/Forms.h"

#include <QClipboard>
#include <QDropEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QSignalBlocker>
#include <QTextCursor>
#include <algorithm>

TButton::TButton(QWidget* AParent) : QPushButton(AParent)
{
    setAutoDefault(false);
    QObject::connect(this, &QPushButton::clicked, this, [this] {
        // Qt already checked that the button is enabled.
        try {
            if (auto* Form = dynamic_cast<TForm*>(window()); Form && FModalResult != mrNone)
                Form->SetModalResult(FModalResult);
            if (OnClick)
                OnClick(this);
        } catch (const std::exception& E) {
            Application()->HandleException(E);
        }
    });
}

void TButton::SetDefault(bool Value)
{
    FDefault = Value;
    setDefault(Value);
}

void TButton::Click()
{
    if (isEnabled() && isVisibleTo(window()))
        click();
}

// ---------------------------------------------------------------- TScrollBar

TScrollBar::TScrollBar(TScrollBarKind AKind, QWidget* AParent)
    : QScrollBar(AKind == sbHorizontal ? Qt::Horizontal : Qt::Vertical, AParent), FKind(AKind)
{
    ApplyRange();
    // Qt has already moved the thumb when it reports the action; a handler
    // that sets the position decides where it ends up.
    QObject::connect(this, &QAbstractSlider::actionTriggered, this, [this](int Action) {
        switch (Action) {
        case SliderSingleStepSub: Report(scLineUp, sliderPosition()); break;
        case SliderSingleStepAdd: Report(scLineDown, sliderPosition()); break;
        case SliderPageStepSub: Report(scPageUp, sliderPosition()); break;
        case SliderPageStepAdd: Report(scPageDown, sliderPosition()); break;
        case SliderToMinimum: Report(scTop, sliderPosition()); break;
        case SliderToMaximum: Report(scBottom, sliderPosition()); break;
        case SliderMove: Report(isSliderDown() ? scTrack : scPosition, sliderPosition()); break;
        default: break;
        }
    });
    QObject::connect(this, &QAbstractSlider::sliderReleased, this, [this] {
        Report(scPosition, sliderPosition());
        Report(scEndScroll, value());
    });
    QObject::connect(this, &QAbstractSlider::valueChanged, this, [this] {
        if (OnChange)
            OnChange(this);
    });
}

void TScrollBar::ApplyRange()
{
    const int Page = std::max(FPageSize, 1);
    setRange(FMin, std::max(FMin, FMax - Page + 1));
    setPageStep(FPageSize > 0 ? FPageSize : FLargeChange);
}

void TScrollBar::SetParams(int APosition, int AMin, int AMax)
{
    FMin = AMin;
    FMax = AMax;
    ApplyRange();
    setValue(APosition);
}

void TScrollBar::SetPageSize(int Value)
{
    FPageSize = std::max(0, Value);
    ApplyRange();
}

void TScrollBar::SetPosition(int Value)
{
    setValue(Value);
}

void TScrollBar::SetLargeChange(int Value)
{
    FLargeChange = std::max(1, Value);
    ApplyRange();
}

void TScrollBar::Attach(QObject* Owner, std::function<void(TScrollCode Code, int Pos)> Forward)
{
    FAttachedTo = Owner;
    FForward = std::move(Forward);
}

void TScrollBar::Detach()
{
    FAttachedTo = nullptr;
    FForward = nullptr;
}

void TScrollBar::Report(TScrollCode Code, int Pos)
{
    try {
        if (FForward)
            FForward(Code, Pos);
        if (OnScroll) {
            int ScrollPos = Pos;
            OnScroll(this, Code, ScrollPos);
            if (ScrollPos != Pos)
                setSliderPosition(ScrollPos);
        }
    } catch (const std::exception& E) {
        Application()->HandleException(E);
    }
}

// ---------------------------------------------------------------- TMemo

TMemo::TMemo(QWidget* AParent) : QPlainTextEdit(AParent)
{
}

QString PlainTextOf(const QMimeData* Source)
{
    if (!Source || Source->formats().isEmpty())
        return QString();
    if (QString Text = Source->text(); !Text.isNull())
        return Text;
    const QLatin1String Markdown("text/markdown");
    return Source->hasFormat(Markdown) ? QString::fromUtf8(Source->data(Markdown)) : QString();
}

bool TMemo::canInsertFromMimeData(const QMimeData* Source) const
{
    return !PlainTextOf(Source).isNull();
}

void TMemo::insertFromMimeData(const QMimeData* Source)
{
    const QString Text = PlainTextOf(Source);
    if (Text.isNull())
        return;
    // Qt's own insertion (read-only boxes, the caret, the undo step) over
    // data that holds nothing but the text.
    QMimeData Plain;
    Plain.setText(TextToInsert(Text));
    QPlainTextEdit::insertFromMimeData(&Plain);
}

// ---------------------------------------------------------------- TWrapView

TWrapView::TWrapView(QLineEdit* ALine) : TMemo(ALine), FLine(ALine)
{
}

int TWrapView::Room() const
{
    const QTextCursor C = textCursor();
    const int Held = document()->characterCount() - 1;
    return std::max(0, FLine->maxLength() - Held + (C.selectionEnd() - C.selectionStart()));
}

QString TWrapView::TextToInsert(const QString& Text) const
{
    // A line break is one character in the view, whichever way it was written.
    QString Lines = Text;
    Lines.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(u'\r', u'\n');
    return LeftWholeChars(Lines, Room());
}

void TWrapView::InsertText(const QString& Text)
{
    if (isReadOnly())
        return;
    if (const QString Kept = TextToInsert(Text); !Kept.isEmpty())
        insertPlainText(Kept);
}

namespace {

// The text Qt puts in for a key: printable text (a character outside the
// basic plane as its pair); in a text control also Enter as a line break
// and Tab where it is not the focus key. Ctrl combinations put nothing in.
QString TextOfKey(const QKeyEvent* Event, bool Lines, bool Tabs)
{
    if (Lines && (Event->matches(QKeySequence::InsertParagraphSeparator)
                  || Event->matches(QKeySequence::InsertLineSeparator)))
        return QStringLiteral("\n");
    const QString Text = Event->text();
    if (Text.isEmpty())
        return QString();
    const QChar C = Text.front();
    if (C.category() == QChar::Other_Format)
        return Text;
    const Qt::KeyboardModifiers Mods = Event->modifiers();
    if (Mods == Qt::ControlModifier || Mods == (Qt::ShiftModifier | Qt::ControlModifier))
        return QString();
    const bool Pair = C.isHighSurrogate() && Text.size() > 1 && Text[1].isLowSurrogate();
    if (C.isPrint() || C.category() == QChar::Other_PrivateUse || Pair || (C == u'\t' && Tabs))
        return Text;
    return QString();
}

} // namespace

void TWrapView::TakeKey(QKeyEvent* Event)
{
    const QString Typed = isReadOnly() ? QString() : TextOfKey(Event, true, !tabChangesFocus());
    KeyWithinRoom(Event, Typed, Room(), [this](QKeyEvent* Key) { TMemo::keyPressEvent(Key); });
}

QString LeftWholeChars(const QString& Text, qsizetype Room)
{
    if (Room >= Text.size())
        return Text;
    qsizetype Kept = std::max<qsizetype>(Room, 0);
    if (Kept > 0 && Text[Kept - 1].isHighSurrogate() && Text[Kept].isLowSurrogate())
        --Kept;
    return Text.left(Kept);
}

void KeyWithinRoom(QKeyEvent* Event, const QString& Typed, qsizetype Room,
                   const std::function<void(QKeyEvent*)>& Own)
{
    const QString Kept = LeftWholeChars(Typed, Room);
    if (Kept.size() == Typed.size()) {
        Own(Event);
        return;
    }
    Event->accept();
    if (Kept.isEmpty())
        return;
    QKeyEvent Cut(Event->type(), Event->key(), Event->modifiers(), Kept, Event->isAutoRepeat(),
                  ushort(Event->count()));
    Own(&Cut);
}

// ---------------------------------------------------------------- one-line edits

namespace {

// UTF-16 units that text in place of the edit's selection may take; a drop
// puts its caret down first and replaces nothing.
qsizetype LineEditRoom(const QLineEdit* Edit, bool ReplacesSelection = true)
{
    const qsizetype Selected = ReplacesSelection ? Edit->selectedText().size() : 0;
    return std::max<qsizetype>(0, Edit->maxLength() - Edit->text().size() + Selected);
}

// Whether Qt's own cut of Text to Room units would keep half a character.
bool CutSplitsACharacter(const QString& Text, qsizetype Room)
{
    return LeftWholeChars(Text, Room).size() < std::min(Text.size(), Room);
}

// Qt ends a step of a line edit's undo history when the caret moves: the
// caret steps aside and back, and the selection is as it was. An empty edit
// has no step to end.
void EndUndoStep(QLineEdit* Edit)
{
    if (Edit->text().isEmpty())
        return;
    const QSignalBlocker Quiet(Edit);
    const int Caret = Edit->cursorPosition();
    const int Start = Edit->selectionStart(), Length = int(Edit->selectedText().size());
    Edit->setCursorPosition(Caret > 0 ? Caret - 1 : Caret + 1);
    if (Length == 0)
        Edit->setCursorPosition(Caret);
    else if (Caret == Start)
        Edit->setSelection(Start + Length, -Length);
    else
        Edit->setSelection(Start, Length);
}

// Where Qt's paste of the clipboard's (Mode) text would cut a character in
// half, or would not read a clipboard that offers only markdown, the first
// whole characters that fit go in place of the selection, one step of the
// undo history as Qt's paste is; false where Qt's own paste does as a box of
// plain text does.
bool PasteWholeChars(QLineEdit* Edit, QClipboard::Mode Mode)
{
    if (Edit->isReadOnly() || !Edit->inputMask().isEmpty())
        return false;
    const QMimeData* Data = QGuiApplication::clipboard()->mimeData(Mode);
    const QString Clip = PlainTextOf(Data);
    const qsizetype Room = LineEditRoom(Edit);
    // Qt's paste reads the plain text alone.
    const bool MarkdownAlone = !Clip.isEmpty() && !Data->hasText();
    if (!MarkdownAlone && !CutSplitsACharacter(Clip, Room))
        return false;
    EndUndoStep(Edit);
    Edit->insert(LeftWholeChars(Clip, Room));
    EndUndoStep(Edit);
    return true;
}

// A drop and a middle click reach Qt's line edit without the edit's own
// rules; where Qt would cut what they bring in half, they take the whole
// characters that fit.
class TWholeCharsFilter : public QObject
{
public:
    explicit TWholeCharsFilter(QLineEdit* AEdit) : QObject(AEdit), FEdit(AEdit) { AEdit->installEventFilter(this); }

protected:
    bool eventFilter(QObject* Watched, QEvent* Event) override
    {
        // The type first: the edit hears of its own end here too, when it
        // is no longer a line edit.
        const QEvent::Type Type = Event->type();
        if ((Type != QEvent::Drop && Type != QEvent::MouseButtonRelease) || Watched != FEdit || FEdit->isReadOnly()
            || !FEdit->inputMask().isEmpty())
            return false;
        try {
            return Type == QEvent::Drop ? Drop(static_cast<QDropEvent*>(Event))
                                        : MiddleClick(static_cast<QMouseEvent*>(Event));
        } catch (const std::exception& E) {
            Application()->HandleException(E);
            return true;
        }
    }

private:
    bool Drop(QDropEvent* Event)
    {
        const QString Text = Event->mimeData() ? Event->mimeData()->text() : QString();
        const qsizetype Room = LineEditRoom(FEdit, false);
        if (!CutSplitsACharacter(Text, Room))
            return false;
        // The same drop with what fits, for Qt to place.
        QMimeData Kept;
        Kept.setText(LeftWholeChars(Text, Room));
        QDropEvent Cut(Event->position(), Event->possibleActions(), &Kept, Event->buttons(), Event->modifiers(),
                       Event->type());
        Cut.setDropAction(Event->dropAction());
        QCoreApplication::sendEvent(FEdit, &Cut);
        Event->setDropAction(Cut.dropAction());
        Event->setAccepted(Cut.isAccepted());
        return true;
    }
    // Qt pastes the selection where the pointer put the caret.
    bool MiddleClick(QMouseEvent* Event)
    {
        if (Event->button() != Qt::MiddleButton || !QGuiApplication::clipboard()->supportsSelection())
            return false;
        FEdit->deselect();
        if (!PasteWholeChars(FEdit, QClipboard::Selection))
            return false;
        Event->accept();
        return true;
    }

    QLineEdit* FEdit;
};

} // namespace

void KeepWholeCharacters(QLineEdit* Edit)
{
    new TWholeCharsFilter(Edit);
}

void LineEditKeyPress(QLineEdit* Edit, QKeyEvent* Event, const std::function<void(QKeyEvent*)>& Own)
{
    if (Edit->isReadOnly() || !Edit->inputMask().isEmpty()) {
        Own(Event);
        return;
    }
    if (Event->matches(QKeySequence::Paste)) {
        // Ctrl+Shift+Insert pastes the selection where there is one, as Qt's
        // X11 key scheme has it.
        const bool Selection = Event->key() == Qt::Key_Insert
            && Event->modifiers() == (Qt::ControlModifier | Qt::ShiftModifier)
            && QGuiApplication::clipboard()->supportsSelection();
        if (PasteWholeChars(Edit, Selection ? QClipboard::Selection : QClipboard::Clipboard))
            Event->accept();
        else
            Own(Event);
        return;
    }
    KeyWithinRoom(Event, TextOfKey(Event, false, false), LineEditRoom(Edit), Own);
}

void LineEditPaste(QLineEdit* Edit)
{
    if (!Edit->isReadOnly() && !PasteWholeChars(Edit, QClipboard::Clipboard))
        Edit->paste();
}

QString SetLineEditText(QLineEdit* Edit, const QString& Text)
{
    const QString Kept = Edit->inputMask().isEmpty() ? LeftWholeChars(Text, Edit->maxLength()) : Text;
    Edit->setText(Kept);
    return Kept;
}
