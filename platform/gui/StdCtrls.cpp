#include "platform/gui/StdCtrls.h"

#include "platform/gui/Application.h"
#include "platform/gui/Forms.h"

#include <QMimeData>
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

bool TMemo::canInsertFromMimeData(const QMimeData* Source) const
{
    return Source && !Source->formats().isEmpty() && QPlainTextEdit::canInsertFromMimeData(Source);
}

void TMemo::insertFromMimeData(const QMimeData* Source)
{
    if (Source && !Source->formats().isEmpty())
        QPlainTextEdit::insertFromMimeData(Source);
}

QString KeepWithinLength(const QString& Old, const QString& New, int MaxLength, int& Caret)
{
    const qsizetype Excess = New.size() - std::max(MaxLength, 0);
    if (Excess <= 0)
        return New;
    // The change is what lies between the head and the tail it left alone.
    const qsizetype Shorter = std::min(Old.size(), New.size());
    qsizetype Head = 0;
    while (Head < Shorter && Old[Head] == New[Head])
        ++Head;
    qsizetype Tail = 0;
    while (Tail < Shorter - Head && Old[Old.size() - 1 - Tail] == New[New.size() - 1 - Tail])
        ++Tail;
    const qsizetype InsertedEnd = New.size() - Tail;
    qsizetype From = std::max(Head, InsertedEnd - Excess);
    // Never half of a surrogate pair.
    if (From > Head && New[From - 1].isHighSurrogate())
        --From;
    QString Kept = New;
    Kept.remove(From, InsertedEnd - From);
    Caret = int(From);
    if (Kept.size() > MaxLength) { // the edit held more than its limit already
        Kept.truncate(std::max(MaxLength, 0));
        Caret = std::min(Caret, int(Kept.size()));
    }
    return Kept;
}
