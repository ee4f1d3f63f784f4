#include "platform/gui/Screen.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QScreen>

TScreen* Screen()
{
    static TScreen Instance;
    static const bool Registered = [] {
        // Cursors must go before the GUI does.
        qAddPostRoutine([] { Screen()->ClearCursors(); });
        return true;
    }();
    Q_UNUSED(Registered);
    return &Instance;
}

void TScreen::SetCursor(TCursor Value)
{
    if (Value == FCursor)
        return;
    FCursor = Value;
    if (Value == crDefault) {
        if (FOverriding)
            QGuiApplication::restoreOverrideCursor();
        FOverriding = false;
    } else if (FOverriding) {
        QGuiApplication::changeOverrideCursor(Cursors(Value));
    } else {
        QGuiApplication::setOverrideCursor(Cursors(Value));
        FOverriding = true;
    }
}

QCursor TScreen::Cursors(TCursor Index) const
{
    if (Index > 0) {
        const auto It = FCustom.find(Index);
        return It != FCustom.end() ? It->second : QCursor(Qt::ArrowCursor);
    }
    switch (Index) {
    case crNone: return QCursor(Qt::BlankCursor);
    case crCross: return QCursor(Qt::CrossCursor);
    case crIBeam: return QCursor(Qt::IBeamCursor);
    case crSizeNESW: return QCursor(Qt::SizeBDiagCursor);
    case crSizeNS: return QCursor(Qt::SizeVerCursor);
    case crSizeNWSE: return QCursor(Qt::SizeFDiagCursor);
    case crSizeWE: return QCursor(Qt::SizeHorCursor);
    case crUpArrow: return QCursor(Qt::UpArrowCursor);
    case crHourGlass: case crSQLWait: return QCursor(Qt::WaitCursor);
    case crDrag: case crMultiDrag: return QCursor(Qt::DragCopyCursor);
    case crNoDrop: case crNo: return QCursor(Qt::ForbiddenCursor);
    case crHSplit: return QCursor(Qt::SplitHCursor);
    case crVSplit: return QCursor(Qt::SplitVCursor);
    case crAppStart: return QCursor(Qt::BusyCursor);
    case crHelp: return QCursor(Qt::WhatsThisCursor);
    case crHandPoint: return QCursor(Qt::PointingHandCursor);
    case crSizeAll: return QCursor(Qt::SizeAllCursor);
    default: return QCursor(Qt::ArrowCursor);
    }
}

void TScreen::SetCursors(TCursor Index, const QCursor& Cursor)
{
    if (Index > 0)
        FCustom[Index] = Cursor;
}

int TScreen::Width() const
{
    const QScreen* S = QGuiApplication::primaryScreen();
    return S ? S->geometry().width() : 1024;
}

int TScreen::Height() const
{
    const QScreen* S = QGuiApplication::primaryScreen();
    return S ? S->geometry().height() : 768;
}

QRect TScreen::WorkAreaRect() const
{
    const QScreen* S = QGuiApplication::primaryScreen();
    return S ? S->availableGeometry() : QRect(0, 0, 1024, 768);
}

TWaitCursor::TWaitCursor(TCursor Cursor) : FSaved(Screen()->Cursor())
{
    Screen()->SetCursor(Cursor);
}

TWaitCursor::~TWaitCursor()
{
    Screen()->SetCursor(FSaved);
}
