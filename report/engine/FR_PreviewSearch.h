// The preview's find dialog, and the drawing recorder the search reads pages
// through: a page is drawn onto TfrDrawRecorder as onto any canvas, and the
// recorder keeps every drawing call in order, each text run with its text and
// the rectangle it covers, so the search can name the run that matched and
// where it lies on the page.
#pragma once

#include "platform/gui/Forms.h"

#include <QPaintDevice>
#include <QRect>
#include <QString>
#include <memory>
#include <vector>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class TButton;

class TfrPreviewSearchForm : public TForm
{
public:
    explicit TfrPreviewSearchForm(QWidget* AOwner = nullptr);

    QLabel* Label1;
    QLineEdit* Edit1;
    QGroupBox* GroupBox1;
    QCheckBox* CB1;          // case sensitive
    QGroupBox* GroupBox2;
    QRadioButton* RB1;       // from the first page
    QRadioButton* RB2;       // from the current page
    TButton* Button1;
    TButton* Button2;
};

// One drawing call: a text run (Text set) or any other primitive.
struct TfrDrawRecord
{
    bool IsText = false;
    QString Text;
    QRect Rect;              // device pixels; the text's cell for a run
};

class TfrDrawRecorder : public QPaintDevice
{
public:
    explicit TfrDrawRecorder(QSize ASize);
    ~TfrDrawRecorder() override;

    QPaintEngine* paintEngine() const override;
    // In drawing order. A line of text that the painter hands over in pieces
    // (one per script or fallback font) is one run.
    const std::vector<TfrDrawRecord>& Records() const;

protected:
    int metric(PaintDeviceMetric Metric) const override;

private:
    class TEngine;
    QSize FSize;
    std::unique_ptr<TEngine> FEngine;
};

// The index of the first text run from From on that contains Text (Text is
// already upper case when not CaseSensitive), or -1.
int frFindTextRecord(const std::vector<TfrDrawRecord>& Records, const QString& Text, bool CaseSensitive, int From);
