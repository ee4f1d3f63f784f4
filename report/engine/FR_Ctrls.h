// The engine's own tool button and the one-line edit with a button at its end,
// shared by the preview, the designer and the engine's dialogs.
//
// TfrSpeedButton draws five looks (up, disabled, pressed, down and staying
// down, grayed) from a glyph strip. The grayed look is the up image in grey
// scale, shown while a flat button is not under the mouse. The images of every
// button live in image lists shared by all glyphs of one size; a list goes when
// its last image does. It is no push button: it takes no focus and is clicked
// by the mouse or its caption's accelerator.
#pragma once

#include "platform/gui/Buttons.h"
#include "platform/gui/Controls.h"
#include "platform/gui/ImgList.h"

#include <QLineEdit>
#include <memory>
#include <vector>

class QShortcut;

// The draw states, in the order of a glyph strip's frames (the grayed look has
// no frame of its own).
enum TfrButtonState : int { bsUp = 0, bsDisabled = 1, bsDown = 2, bsExclusive = 3, bsGrayed = 4 };

// An image list that remembers which indices are in use: a freed index is
// reused before the list grows, so indices held by other glyphs stay valid.
class TGlyphList : public TImageList
{
public:
    TGlyphList(int AWidth, int AHeight);

    // Returns the index the image went to.
    int AddMasked(const TBitmap* Image, TColor MaskColor);
    // Frees the index for reuse.
    void Delete(int Index);
    // Images in use.
    int Count() const { return FCount; }

private:
    std::vector<bool> FUsed;
    int FCount = 0;
};

// The engine-wide glyph lists, one per glyph size, made on first need. A list
// whose count drops to zero is freed, and the cache with its last list.
class TGlyphCache
{
public:
    static TGlyphList* GetList(int AWidth, int AHeight);
    static void ReturnList(TGlyphList* List);
    // Lists alive (0 once the cache is gone).
    static int ListCount();
};

// The glyph of one button: its strip, transparent colour, frame count and the
// images built so far, one per draw state.
class TButtonGlyph
{
public:
    TButtonGlyph();
    ~TButtonGlyph();
    TButtonGlyph(const TButtonGlyph&) = delete;
    TButtonGlyph& operator=(const TButtonGlyph&) = delete;

    const TBitmap* Glyph() const { return FOriginal.get(); }
    // Copies the strip, takes its transparent colour and, when its width is a
    // whole multiple of its height, the frame count from it (1 from 5 frames on).
    void SetGlyph(const TBitmap* Value);
    int NumGlyphs() const { return FNumGlyphs; }
    // 1..4; values out of range are clamped.
    void SetNumGlyphs(int Value);
    TColor TransparentColor() const { return FTransparentColor; }
    int FrameWidth() const;
    int FrameHeight() const;
    bool Empty() const { return FrameWidth() <= 0 || FrameHeight() <= 0; }

    // The list index of the state's image, built on first use; -1 without a glyph.
    int CreateButtonGlyph(TfrButtonState State);
    TGlyphList* GlyphList() const { return FGlyphList; }
    // Drops every built image (and the list, when it was the last user).
    void Invalidate();

private:
    void Build(TfrButtonState State, QImage& Out, TColor& Mask) const;

    std::unique_ptr<TBitmap> FOriginal;
    TColor FTransparentColor = clOlive;
    int FNumGlyphs = 1;
    int FIndexs[5] = {-1, -1, -1, -1, -1};
    TGlyphList* FGlyphList = nullptr;
};

class TfrSpeedButton : public TCustomControl
{
    Q_OBJECT
public:
    explicit TfrSpeedButton(QWidget* AParent = nullptr);
    ~TfrSpeedButton() override;

    bool AllowAllUp() const { return FAllowAllUp; }
    void SetAllowAllUp(bool Value);
    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int Value);
    // Stays false without a group; a down button of a group without AllowAllUp
    // cannot be raised.
    bool Down() const { return FDown; }
    void SetDown(bool Value);
    bool Flat() const { return FFlat; }
    void SetFlat(bool Value);
    QString Caption() const { return FCaption; }
    void SetCaption(const QString& Value);
    bool Enabled() const { return isEnabled(); }
    void SetEnabled(bool Value) { setEnabled(Value); }
    const TBitmap* Glyph() const { return FGlyph->Glyph(); }
    void SetGlyph(const TBitmap* Value);
    void LoadGlyph(const QString& FileName);
    bool GrayedInactive() const { return FGrayedInactive; }
    void SetGrayedInactive(bool Value);
    TButtonLayout Layout() const { return FLayout; }
    void SetLayout(TButtonLayout Value);
    // -1 centres glyph and caption; values below -1 are ignored.
    int Margin() const { return FMargin; }
    void SetMargin(int Value);
    int NumGlyphs() const { return FGlyph->NumGlyphs(); }
    void SetNumGlyphs(int Value);
    // Takes the parent's font while set.
    bool ParentFont() const { return FParentFont; }
    void SetParentFont(bool Value);
    int Spacing() const { return FSpacing; }
    void SetSpacing(int Value);
    QString Hint() const { return toolTip(); }
    void SetHint(const QString& Value) { setToolTip(Value); }
    bool ShowHint() const { return FShowHint; }
    void SetShowHint(bool Value) { FShowHint = Value; }
    bool Visible() const { return isVisible(); }
    void SetVisible(bool Value) { setVisible(Value); }
    TfrButtonState State() const { return FState; }
    bool MouseInside() const { return FMouseInside; }

    const TButtonGlyph* ButtonGlyph() const { return FGlyph.get(); }
    // The up image (enabled) or the disabled one at (X, Y) on the button face;
    // the designer draws menu glyphs with it.
    void DrawGlyph(TCanvas* ACanvas, int X, int Y, bool AEnabled);

    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void DblClick() override;
    void MouseEnter() override;
    void MouseLeave() override;

protected:
    bool event(QEvent* Event) override;
    void mouseReleaseEvent(QMouseEvent* Event) override;
    void changeEvent(QEvent* Event) override;

private:
    // Another button of the group went down or changed its group settings.
    void ButtonPressed(TfrSpeedButton* Sender);
    void UpdateExclusive();
    void UpdateTracking();
    void UpdateAccelerator();
    void PaintFace(TfrButtonState DrawState);
    void PaintContents(TfrButtonState DrawState, QRect Client);

    std::unique_ptr<TButtonGlyph> FGlyph;
    QString FCaption;
    bool FAllowAllUp = false;
    int FGroupIndex = 0;
    bool FDown = false;
    bool FFlat = false;
    bool FGrayedInactive = true;
    TButtonLayout FLayout = blGlyphLeft;
    int FMargin = -1;
    int FSpacing = 4;
    bool FParentFont = true;
    bool FShowHint = true;
    TfrButtonState FState = bsUp;
    bool FDragging = false;
    bool FMouseInside = false;
    QShortcut* FAccelerator = nullptr;
};

// A one-line edit with a TfrSpeedButton at its right end on a small panel.
class TfrComboEdit : public QLineEdit
{
public:
    explicit TfrComboEdit(QWidget* AParent = nullptr);

    const TBitmap* Glyph() const { return FButton->Glyph(); }
    void SetGlyph(const TBitmap* Value) { FButton->SetGlyph(Value); }
    QString ButtonHint() const { return FButton->Hint(); }
    void SetButtonHint(const QString& Value) { FButton->SetHint(Value); }
    bool ButtonEnabled() const { return FButton->Enabled(); }
    void SetButtonEnabled(bool Value) { FButton->SetEnabled(Value); }
    TfrSpeedButton* Button() const { return FButton; }

    std::function<void(QObject* Sender)> OnButtonClick;

protected:
    void resizeEvent(QResizeEvent* Event) override;
    void keyPressEvent(QKeyEvent* Event) override;

private:
    TCustomControl* FPanel;
    TfrSpeedButton* FButton;
};
