// TBitBtn: a button with a kind (OK, Cancel, Yes ...) that gives its caption
// and modal result, and a glyph whose bottom-left pixel colour is transparent.
#pragma once

#include "platform/gui/Graphics.h"
#include "platform/gui/StdCtrls.h"

#include <QToolButton>
#include <memory>

enum class TBitBtnKind { bkCustom, bkOK, bkCancel, bkHelp, bkYes, bkNo, bkClose, bkAbort, bkRetry,
                         bkIgnore, bkAll };
using enum TBitBtnKind;

class TBitBtn : public TButton
{
public:
    explicit TBitBtn(QWidget* AParent = nullptr);
    ~TBitBtn() override;

    TBitBtnKind Kind() const { return FKind; }
    // Sets caption, modal result, and Default/Cancel as the kind implies.
    void SetKind(TBitBtnKind Value);
    TBitmap* Glyph() const { return FGlyph.get(); }
    // Call after changing the glyph's pixels; LoadGlyph does it itself.
    void GlyphChanged();
    void LoadGlyph(const QString& FileName);
    // A strip of NumGlyphs images side by side: up, disabled, down, ...
    int NumGlyphs() const { return FNumGlyphs; }
    void SetNumGlyphs(int Value);

private:
    TBitBtnKind FKind = bkCustom;
    std::unique_ptr<TBitmap> FGlyph;
    int FNumGlyphs = 1;
};

enum class TButtonLayout { blGlyphLeft, blGlyphTop, blGlyphRight, blGlyphBottom };
using enum TButtonLayout;

// TSpeedButton: a tool button with caption and glyph (bottom-left colour
// transparent). With a GroupIndex it stays down; one button of a group is down.
class TSpeedButton : public QToolButton
{
    Q_OBJECT
public:
    explicit TSpeedButton(QWidget* AParent = nullptr);
    ~TSpeedButton() override;

    QString Caption() const { return text(); }
    void SetCaption(const QString& Value) { setText(Value); }
    TBitmap* Glyph() const { return FGlyph.get(); }
    void GlyphChanged();
    void LoadGlyph(const QString& FileName);
    bool Flat() const { return autoRaise(); }
    void SetFlat(bool Value) { setAutoRaise(Value); }
    TButtonLayout Layout() const { return FLayout; }
    void SetLayout(TButtonLayout Value);
    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int Value);
    bool Down() const { return isChecked(); }
    void SetDown(bool Value);
    int Tag() const { return FTag; }
    void SetTag(int Value) { FTag = Value; }

    void Click();

    std::function<void(QObject* Sender)> OnClick;

private:
    std::unique_ptr<TBitmap> FGlyph;
    TButtonLayout FLayout = blGlyphLeft;
    int FGroupIndex = 0;
    int FTag = 0;
};
