#include "platform/gui/StdCtrls.h"

#include "platform/gui/Application.h"
#include "platform/gui/Forms.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QMimeData>
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

namespace {

// What a plain-text box takes from data; null when it offers neither plain
// text (of any charset Qt reads) nor markdown.
QString PlainTextOf(const QMimeData* Source)
{
    if (!Source || Source->formats().isEmpty())
        return QString();
    if (QString Text = Source->text(); !Text.isNull())
        return Text;
    const QLatin1String Markdown("text/markdown");
    return Source->hasFormat(Markdown) ? QString::fromUtf8(Source->data(Markdown)) : QString();
}

} // namespace

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

// The text Qt's text control puts in for a key: Enter a line break,
// printable text (a character outside the basic plane as its pair), Tab
// where it is not the focus key; Ctrl combinations put nothing in.
QString TextOfKey(const QKeyEvent* Event, bool TabChangesFocus)
{
    if (Event->matches(QKeySequence::InsertParagraphSeparator) || Event->matches(QKeySequence::InsertLineSeparator))
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
    if (C.isPrint() || C.category() == QChar::Other_PrivateUse || Pair || (C == u'\t' && !TabChangesFocus))
        return Text;
    return QString();
}

} // namespace

void TWrapView::TakeKey(QKeyEvent* Event)
{
    const QString Typed = isReadOnly() ? QString() : TextOfKey(Event, tabChangesFocus());
    const QString Kept = LeftWholeChars(Typed, Room());
    if (Kept.size() == Typed.size()) {
        TMemo::keyPressEvent(Event);
        return;
    }
    // A full box refuses the key, as the line edit does.
    Event->accept();
    if (Kept.isEmpty())
        return;
    QKeyEvent Cut(Event->type(), Event->key(), Event->modifiers(), Kept, Event->isAutoRepeat(),
                  ushort(Event->count()));
    TMemo::keyPressEvent(&Cut);
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
