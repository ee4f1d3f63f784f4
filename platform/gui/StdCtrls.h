// TButton: a push button with the classic modal result. A click first hands
// the modal result to its window, then runs OnClick, which may change it.
#pragma once

#include "platform/gui/Controls.h"
#include "platform/gui/ModalSeam.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <functional>

class QLineEdit;

class TButton : public QPushButton
{
    Q_OBJECT
public:
    explicit TButton(QWidget* AParent = nullptr);

    QString Caption() const { return text(); }
    void SetCaption(const QString& Value) { setText(Value); }
    TModalResult ModalResult() const { return FModalResult; }
    void SetModalResult(TModalResult Value) { FModalResult = Value; }
    // Enter presses the default button of a window, Esc its cancel button.
    bool Default() const { return FDefault; }
    void SetDefault(bool Value);
    bool Cancel() const { return FCancel; }
    void SetCancel(bool Value) { FCancel = Value; }
    int Tag() const { return FTag; }
    void SetTag(int Value) { FTag = Value; }

    // What a press of the button does; a disabled or hidden button does nothing.
    virtual void Click();

    std::function<void(QObject* Sender)> OnClick;

private:
    TModalResult FModalResult = mrNone;
    bool FDefault = false;
    bool FCancel = false;
    int FTag = 0;
};

// TScrollBar: a scroll bar with the classic range: positions run from Min to
// Max - PageSize + 1, so a bar over N records with a page of P rows has Min 1
// and Max N + P - 1. Each user action reports a classic scroll code with the
// position it asks for (the thumb's position for a drag). Another control may
// attach itself to a bar that stands in for its own: the bar then reports
// each action to that control first, and only one control may hold it.
class TScrollBar : public QScrollBar
{
public:
    explicit TScrollBar(TScrollBarKind AKind, QWidget* AParent = nullptr);

    TScrollBarKind Kind() const { return FKind; }
    int Min() const { return FMin; }
    int Max() const { return FMax; }
    int PageSize() const { return FPageSize; }
    int Position() const { return value(); }
    // Where the thumb is while it is dragged; Position otherwise.
    int TrackPos() const { return sliderPosition(); }
    // A page larger than the range, or a maximum below the minimum, is kept
    // but scrolls nothing.
    void SetParams(int APosition, int AMin, int AMax);
    void SetPageSize(int Value);
    void SetPosition(int Value);
    int SmallChange() const { return singleStep(); }
    void SetSmallChange(int Value) { setSingleStep(Value); }
    int LargeChange() const { return FLargeChange; }
    void SetLargeChange(int Value);

    // The control the bar reports to first; nullptr when free.
    QObject* AttachedTo() const { return FAttachedTo; }
    void Attach(QObject* Owner, std::function<void(TScrollCode Code, int Pos)> Forward);
    void Detach();

    // Fires after the attached control heard of the action; ScrollPos may be
    // changed to put the bar elsewhere.
    std::function<void(QObject* Sender, TScrollCode ScrollCode, int& ScrollPos)> OnScroll;
    std::function<void(QObject* Sender)> OnChange;

private:
    void ApplyRange();
    void Report(TScrollCode Code, int Pos);

    TScrollBarKind FKind;
    int FMin = 0;
    int FMax = 100;
    int FPageSize = 0;
    int FLargeChange = 1;
    QObject* FAttachedTo = nullptr;
    std::function<void(TScrollCode, int)> FForward;
};

// What a box of plain text takes from data: the data's plain text (of any
// charset Qt reads) where it offers one, else its markdown as it stands;
// null when it offers neither. The one-line edits read their clipboard so too.
QString PlainTextOf(const QMimeData* Source);

// TMemo: the multi-line edit box, the base of every multi-line box and view
// in the program. Pasted, dropped and middle-clicked data goes in as plain
// text: the data's plain text where it offers one, else markdown as it
// stands (Qt would render markdown that comes first); data with neither
// inserts nothing. Data that holds no format at all never reaches Qt, which
// in 6.4 reads its first format without looking whether there is one: an X11
// clipboard or primary selection that holds nothing would end the program
// on Ctrl+V or a middle click.
class TMemo : public QPlainTextEdit
{
    Q_OBJECT
public:
    explicit TMemo(QWidget* AParent = nullptr);

protected:
    // paste(), the paste keys and the middle click insert through
    // insertFromMimeData; a drag asks canInsertFromMimeData first.
    bool canInsertFromMimeData(const QMimeData* Source) const override;
    void insertFromMimeData(const QMimeData* Source) override;
    // The plain text of data on its way in, in place of the selection; a box
    // with a limit keeps what fits.
    virtual QString TextToInsert(const QString& Text) const { return Text; }
};

// The word-wrapping view of a one-line edit (its parent): it shows the
// edit's text in lines and takes the user's changes for it. What the user
// puts in keeps to the edit's maxLength where it goes in: a paste, a drop or
// a middle click, and each key the owner hands over (committed input-method
// text arrives as keys) put the first whole characters that fit in place of
// the selection, as the edit cuts a paste; a key that does not fit is
// refused. So a cut paste is one step of the view's undo history and the
// steps before it stay.
class TWrapView : public TMemo
{
public:
    explicit TWrapView(QLineEdit* ALine);
    // A key the owner's rules passed, for the view's own handling.
    void TakeKey(QKeyEvent* Event);
    // Text the owner puts in place of the selection (a line break).
    void InsertText(const QString& Text);

protected:
    QString TextToInsert(const QString& Text) const override;

private:
    // UTF-16 units that text replacing the selection may take.
    int Room() const;

    QLineEdit* FLine;
};

// The first whole characters of Text that take at most Room UTF-16 units: a
// character outside the basic plane is kept whole or not at all.
QString LeftWholeChars(const QString& Text, qsizetype Room);

// A key that puts Typed in where Room UTF-16 units are left goes to Own as
// it is, or with the first whole characters of Typed that fit; a key none
// of whose characters fits is refused, as a full box refuses it.
void KeyWithinRoom(QKeyEvent* Event, const QString& Typed, qsizetype Room,
                   const std::function<void(QKeyEvent*)>& Own);

// What goes into a one-line edit keeps to its maxLength in whole characters.
// Qt's line edit cuts by UTF-16 units and would keep half of a character
// outside the basic plane; where its cut would, these put in the first whole
// characters that fit, through the edit's own insert, so that its undo
// history stays and a cut paste is one step of it. So does a paste of a
// clipboard that offers only markdown, which Qt's paste would not read.
// Elsewhere Qt's own handling runs; a masked edit places text by its mask
// and is left to Qt.
//
// Watches the edit's drops and middle clicks, which reach Qt's line edit
// without passing the edit's own rules; called once, for the edit's life.
void KeepWholeCharacters(QLineEdit* Edit);
// A key the edit's own rules passed, for the line edit's own handling (Own):
// a typed character or a paste key.
void LineEditKeyPress(QLineEdit* Edit, QKeyEvent* Event, const std::function<void(QKeyEvent*)>& Own);
// The clipboard's text in place of the selection, as the line edit's paste
// (a menu's or a button's).
void LineEditPaste(QLineEdit* Edit);
// Text set from code, cut to the edit's maxLength at a whole character; the
// text the edit was given.
QString SetLineEditText(QLineEdit* Edit, const QString& Text);
