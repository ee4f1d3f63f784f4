#include "report/engine/FR_PreviewSearch.h"

#include "platform/gui/StdCtrls.h"
#include "report/engine/FR_Utils.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QRadioButton>
#include <QTextItem>
#include <cmath>

TfrPreviewSearchForm::TfrPreviewSearchForm(QWidget* AOwner) : TForm(AOwner)
{
    setObjectName(QStringLiteral("frPreviewSearchForm"));
    SetBorderStyle(bsDialog);
    SetPosition(poScreenCenter);
    SetClientSize(300, 158);
    SetCaption(LoadEngineString(53000));
    Label1 = new QLabel(LoadEngineString(53001), this);
    Label1->setGeometry(8, 10, 284, 16);
    Edit1 = new QLineEdit(this);
    Edit1->setGeometry(8, 28, 284, 21);
    Label1->setBuddy(Edit1);
    GroupBox1 = new QGroupBox(LoadEngineString(53002), this);
    GroupBox1->setGeometry(8, 56, 138, 60);
    CB1 = new QCheckBox(LoadEngineString(53003), GroupBox1);
    CB1->setGeometry(10, 24, 122, 20);
    GroupBox2 = new QGroupBox(LoadEngineString(53004), this);
    GroupBox2->setGeometry(154, 56, 138, 60);
    RB1 = new QRadioButton(LoadEngineString(53005), GroupBox2);
    RB1->setGeometry(10, 18, 122, 20);
    RB1->setChecked(true);
    RB2 = new QRadioButton(LoadEngineString(53006), GroupBox2);
    RB2->setGeometry(10, 36, 122, 20);
    Button1 = new TButton(this);
    Button1->SetCaption(LoadEngineString(55000));
    Button1->SetModalResult(mrOk);
    Button1->SetDefault(true);
    Button1->setGeometry(136, 126, 75, 25);
    Button2 = new TButton(this);
    Button2->SetCaption(LoadEngineString(55001));
    Button2->SetModalResult(mrCancel);
    Button2->SetCancel(true);
    Button2->setGeometry(217, 126, 75, 25);
    OnShow = [this](QObject*) { SetActiveControl(Edit1); };
}

// ---------------------------------------------------------------- recorder

class TfrDrawRecorder::TEngine : public QPaintEngine
{
public:
    TEngine() : QPaintEngine(QPaintEngine::AllFeatures) {}

    std::vector<TfrDrawRecord> Records;

    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    void updateState(const QPaintEngineState&) override {}
    Type type() const override { return QPaintEngine::User; }

    void drawTextItem(const QPointF& P, const QTextItem& Item) override
    {
        const QRectF Cell(P.x(), P.y() - Item.ascent(), Item.width(), Item.ascent() + Item.descent());
        const QRectF Mapped = painter()->combinedTransform().mapRect(Cell);
        const QPointF Start = painter()->combinedTransform().map(P);
        // The painter splits a line wherever the script or the font changes;
        // a piece that goes on where the last run ended belongs to it.
        if (!Records.empty() && Records.back().IsText && std::abs(Start.y() - FLastBaseline.y()) < 0.5 &&
            std::abs(Start.x() - FLastBaseline.x()) < 0.5) {
            Records.back().Text += Item.text();
            Records.back().Rect |= Mapped.toAlignedRect();
        } else {
            Records.push_back({true, Item.text(), Mapped.toAlignedRect()});
        }
        FLastBaseline = painter()->combinedTransform().map(QPointF(P.x() + Item.width(), P.y()));
    }
    void drawRects(const QRectF* Rects, int Count) override
    {
        for (int i = 0; i < Count; ++i)
            Add(Rects[i]);
    }
    void drawLines(const QLineF* Lines, int Count) override
    {
        for (int i = 0; i < Count; ++i)
            Add(QRectF(Lines[i].p1(), Lines[i].p2()).normalized());
    }
    void drawEllipse(const QRectF& R) override { Add(R); }
    void drawPath(const QPainterPath& Path) override { Add(Path.boundingRect()); }
    void drawPoints(const QPointF* Points, int Count) override
    {
        for (int i = 0; i < Count; ++i)
            Add(QRectF(Points[i], QSizeF(1, 1)));
    }
    void drawPolygon(const QPointF* Points, int Count, PolygonDrawMode) override
    {
        Add(QPolygonF(QList<QPointF>(Points, Points + Count)).boundingRect());
    }
    void drawPixmap(const QRectF& R, const QPixmap&, const QRectF&) override { Add(R); }
    void drawImage(const QRectF& R, const QImage&, const QRectF&, Qt::ImageConversionFlags) override { Add(R); }
    void drawTiledPixmap(const QRectF& R, const QPixmap&, const QPointF&) override { Add(R); }

private:
    void Add(const QRectF& R)
    {
        Records.push_back({false, QString(), painter()->combinedTransform().mapRect(R).toAlignedRect()});
    }

    QPointF FLastBaseline;
};

TfrDrawRecorder::TfrDrawRecorder(QSize ASize) : FSize(ASize), FEngine(std::make_unique<TEngine>()) {}

TfrDrawRecorder::~TfrDrawRecorder() = default;

QPaintEngine* TfrDrawRecorder::paintEngine() const
{
    return FEngine.get();
}

const std::vector<TfrDrawRecord>& TfrDrawRecorder::Records() const
{
    return FEngine->Records;
}

int TfrDrawRecorder::metric(PaintDeviceMetric Metric) const
{
    switch (Metric) {
    case PdmWidth: return FSize.width();
    case PdmHeight: return FSize.height();
    case PdmWidthMM: return static_cast<int>(std::lround(FSize.width() * 25.4 / 96));
    case PdmHeightMM: return static_cast<int>(std::lround(FSize.height() * 25.4 / 96));
    case PdmNumColors: return INT_MAX;
    case PdmDepth: return 32;
    case PdmDpiX:
    case PdmDpiY:
    case PdmPhysicalDpiX:
    case PdmPhysicalDpiY: return 96;
    case PdmDevicePixelRatio: return 1;
    case PdmDevicePixelRatioScaled: return static_cast<int>(devicePixelRatioFScale());
    default: return 0;
    }
}

int frFindTextRecord(const std::vector<TfrDrawRecord>& Records, const QString& Text, bool CaseSensitive, int From)
{
    if (Text.isEmpty())
        return -1;
    for (int i = std::max(0, From); i < static_cast<int>(Records.size()); ++i) {
        const TfrDrawRecord& R = Records[i];
        if (R.IsText && (CaseSensitive ? R.Text : R.Text.toUpper()).contains(Text))
            return i;
    }
    return -1;
}
