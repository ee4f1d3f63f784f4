// The export filter as the engine sees it: a file name and stream, the events
// and steps of an export run, and the two slots through which printed views and
// memo lines reach it. No filter is part of the engine; applications derive
// their own and hand them to TfrReport::ExportTo.
#pragma once

#include "platform/gui/ModalSeam.h"

#include <QObject>
#include <QRect>
#include <QString>
#include <cstdint>
#include <functional>

class TStream;
class TfrView;

class TfrExportFilter : public QObject
{
public:
    explicit TfrExportFilter(QObject* AOwner = nullptr) : QObject(AOwner) {}

    QString FileName;
    TStream* Stream = nullptr;     // the created file, while an export runs

    // Continue false cancels the export before anything is written.
    std::function<void(const QString& FileName, bool& Continue)> OnBeforeExport;
    std::function<void(const QString& FileName)> OnAfterExport;

    // The filter's own set-up; anything but mrOk cancels.
    virtual TModalResult ShowModal() { return mrOk; }
    virtual void OnBeginDoc() {}
    virtual void OnEndDoc() {}
    virtual void OnBeginPage() {}
    virtual void OnEndPage() {}
    // A view of the page being exported, at its place on the page.
    virtual void OnData(int X, int Y, TfrView* View) { (void)X; (void)Y; (void)View; }
    // One line of a memo view: its text at X, Y, clipped to Clip, with the
    // frame lines it carries (top on the first line, bottom on the last).
    virtual void OnText(const QRect& Clip, int X, int Y, const QString& Text, uint16_t FrameTyp, TfrView* View)
    {
        (void)Clip; (void)X; (void)Y; (void)Text; (void)FrameTyp; (void)View;
    }
};
