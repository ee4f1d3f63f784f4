#include "report/engine/FR_Locale.h"

#include "platform/gui/Graphics.h"
#include "report/engine/FR_Strings.h"

#include <QFont>
#include <QImage>
#include <QPainter>
#include <algorithm>

namespace {

// The classic loader read into a buffer of 1024 bytes.
constexpr int MaxStringLength = 1023;

std::unique_ptr<TfrLocale>& Instance()
{
    static std::unique_ptr<TfrLocale> Locale;
    return Locale;
}

QString TableString(int ID)
{
    const TfrEngineString* Begin = frEngineStringTable;
    const TfrEngineString* End = frEngineStringTable + frEngineStringCount;
    const TfrEngineString* It =
        std::lower_bound(Begin, End, ID, [](const TfrEngineString& S, int Key) { return S.Id < Key; });
    if (It == End || It->Id != ID)
        return QString();
    return QString::fromUtf8(It->Text).left(MaxStringLength);
}

// ---------------------------------------------------------------- our own art

// Glyphs drawn transparent take their bottom-left colour as the transparent one.
const QColor GlyphBack(255, 0, 255);

QImage NewImage(int W, int H, const QColor& Back)
{
    QImage I(W, H, QImage::Format_RGB32);
    I.fill(Back);
    return I;
}

// A small framed landscape: a picture view without a picture.
QImage EmptyPicture()
{
    QImage I = NewImage(16, 16, Qt::white);
    QPainter P(&I);
    P.fillRect(2, 3, 12, 10, QColor(166, 202, 240));
    P.setPen(Qt::NoPen);
    P.setBrush(QColor(255, 200, 0));
    P.drawEllipse(9, 4, 3, 3);
    P.setBrush(QColor(60, 150, 60));
    const QPoint Hill[] = {{2, 12}, {6, 7}, {9, 10}, {11, 8}, {14, 12}};
    P.drawPolygon(Hill, 5);
    P.setPen(QColor(96, 96, 96));
    P.setBrush(Qt::NoBrush);
    P.drawRect(1, 2, 13, 11);
    return I;
}

// A view that has a script: a little page with lines of text.
QImage ScriptMark()
{
    QImage I = NewImage(7, 8, Qt::white);
    QPainter P(&I);
    P.setPen(QColor(0, 0, 128));
    P.drawRect(0, 0, 6, 7);
    for (int Y : {2, 4, 6})
        P.drawLine(2, Y, 4, Y);
    return I;
}

// A memo with a highlight condition: a yellow square with a dark edge.
QImage HighlightMark()
{
    QImage I = NewImage(7, 7, QColor(255, 255, 0));
    QPainter P(&I);
    P.setPen(QColor(128, 0, 0));
    P.drawRect(0, 0, 6, 6);
    return I;
}

QImage LetterGlyph(const QString& Letter, bool Bold, bool Italic, bool Underline)
{
    QImage I = NewImage(16, 16, GlyphBack);
    QPainter P(&I);
    QFont F(QStringLiteral("Times New Roman"));
    F.setPixelSize(13);
    F.setBold(Bold);
    F.setItalic(Italic);
    P.setFont(F);
    P.setPen(Qt::black);
    P.drawText(QRect(0, 0, 16, 14), Qt::AlignCenter, Letter);
    if (Underline)
        P.fillRect(4, 14, 8, 1, Qt::black);
    return I;
}

QImage RadioMark()
{
    QImage I = NewImage(16, 16, GlyphBack);
    QPainter P(&I);
    P.setRenderHint(QPainter::Antialiasing);
    P.setPen(Qt::NoPen);
    P.setBrush(Qt::black);
    P.drawEllipse(QRectF(5.5, 5.5, 5, 5));
    return I;
}

QImage CheckMark()
{
    QImage I = NewImage(16, 16, GlyphBack);
    QPainter P(&I);
    P.setPen(QPen(Qt::black, 2));
    const QPoint Tick[] = {{4, 8}, {7, 11}, {12, 4}};
    P.drawPolyline(Tick, 3);
    return I;
}

QImage DrawBitmap(const QString& Name)
{
    if (Name == u"FR_EMPTY")
        return EmptyPicture();
    if (Name == u"FR_SCRIPT")
        return ScriptMark();
    if (Name == u"FR_HIGHLIGHT")
        return HighlightMark();
    if (Name == u"FR_BOLD")
        return LetterGlyph(QStringLiteral("B"), true, false, false);
    if (Name == u"FR_ITALIC")
        return LetterGlyph(QStringLiteral("I"), true, true, false);
    if (Name == u"FR_UNDRLINE")
        return LetterGlyph(QStringLiteral("U"), true, false, true);
    if (Name == u"FR_RADIO")
        return RadioMark();
    if (Name == u"FR_CHECK")
        return CheckMark();
    return QImage();
}

} // namespace

TfrLocale::TfrLocale() = default;
TfrLocale::~TfrLocale() = default;

QString TfrLocale::LoadStr(int ID)
{
    if (OnLocalize) {
        QString Text;
        OnLocalize(ID, Text);
        if (!Text.isEmpty())
            return Text;
    }
    return TableString(ID);
}

const TBitmap* TfrLocale::LoadBmp(const QString& Name)
{
    const QString Key = Name.toUpper();
    auto It = FBitmaps.find(Key);
    if (It == FBitmaps.end()) {
        const QImage Image = DrawBitmap(Key);
        if (Image.isNull())
            return nullptr;
        auto Bitmap = std::make_shared<TBitmap>();
        Bitmap->LoadFromImage(Image);
        It = FBitmaps.insert(Key, Bitmap);
    }
    return It.value().get();
}

TfrLocale* LocaleInstance()
{
    if (!Instance())
        Instance() = std::make_unique<TfrLocale>();
    return Instance().get();
}

void frFreeLocale()
{
    Instance().reset();
}
