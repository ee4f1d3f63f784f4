// Small controls of the designer's tool bars and tool windows: the flat combo
// box, the font-name combo with TrueType marks, a most-recently-used block
// kept in the settings store and a floating preview of the highlighted font,
// and the borderless pop-up list of the object inspector.
#pragma once

#include "platform/gui/Forms.h"

#include <QComboBox>
#include <functional>
#include <memory>

class QLabel;
class QListWidget;
class TBitmap;
class TCanvas;

// An editable combo with a flat frame and button of its own drawing and
// owner-drawn items. The list drops below the control, or above it when it
// would leave the screen (DroppedUp).
class TfrCustomComboBox : public QComboBox
{
public:
    explicit TfrCustomComboBox(QWidget* AParent = nullptr);
    ~TfrCustomComboBox() override;

    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool Value);
    virtual int ItemHeight() const;
    bool DroppedDown() const { return FDroppedDown; }
    bool DroppedUp() const { return FDroppedUp; }
    // Designing, dropped down, the edit focused or the mouse inside.
    bool Hot() const;
    static constexpr int ButtonWidth = 11;

    void showPopup() override;
    void hidePopup() override;

    // Draws item Index into R on C, in the dropped list.
    virtual void DrawItem(TCanvas* C, int Index, const QRect& R, bool Selected);
    // Fills the indent area left of the edit part.
    virtual void DrawIndent(TCanvas* C, const QRect& R);

protected:
    int ImageIndent() const { return FImageIndent; }
    void SetImageIndent(int Value);
    void PlaceEdit();
    void paintEvent(QPaintEvent* Event) override;
    void resizeEvent(QResizeEvent* Event) override;
    void enterEvent(QEnterEvent* Event) override;
    void leaveEvent(QEvent* Event) override;
    void changeEvent(QEvent* Event) override;
    bool eventFilter(QObject* Watched, QEvent* Event) override;

private:
    void DrawFrame(TCanvas* C) const;
    void DrawButton(TCanvas* C) const;

    int FImageIndent = 0;
    bool FMouseInside = false;
    bool FDroppedDown = false;
    bool FDroppedUp = false;
    bool FReadOnly = false;
};

class TfrComboBox : public TfrCustomComboBox
{
public:
    using TfrCustomComboBox::TfrCustomComboBox;
};

// The highlighted font of the font combo, shown beside its list.
class TfrFontPreview : public QWidget
{
public:
    explicit TfrFontPreview(QWidget* AOwner = nullptr);
    QString Caption() const;
    void SetFontName(const QString& Name);
    QLabel* Panel() const { return FPanel; }

private:
    QLabel* FPanel;
};

// The font families the combo offers: sorted, each once, plain names only
// (PlainFontFamily), so that no foundry-decorated name reaches a template.
QStringList frPlainFontFamilies(const QStringList& Families);

class TfrFontComboBox : public TfrCustomComboBox
{
public:
    explicit TfrFontComboBox(QWidget* AParent = nullptr);
    ~TfrFontComboBox() override;

    bool ShowMRU() const { return FShowMRU; }
    void SetShowMRU(bool Value) { FShowMRU = Value; }
    QString MRURegKey() const { return FMRURegKey; }
    // Empty restores the default key.
    void SetMRURegKey(const QString& Value);
    // Index of the last entry of the MRU block, -1 when it is empty.
    int LastMRU() const { return FLastMRU; }
    // Font type flags of an item (4: TrueType, scalable here).
    int FontType(int Index) const;
    TfrFontPreview* Preview() const { return FPreview; }

    virtual void PopulateList();
    // The user chose item Index with the list closed.
    void Choose(int Index);

    void showPopup() override;
    void hidePopup() override;
    void DrawItem(TCanvas* C, int Index, const QRect& R, bool Selected) override;
    void DrawIndent(TCanvas* C, const QRect& R) override;
    // Tall enough for the TrueType mark.
    int ItemHeight() const override;

    // Every choice of the user; never while the list is filled.
    std::function<void(QObject* Sender)> OnClick;

private:
    void Refill();
    void WriteMRU();
    void Highlighted(int Index);

    bool FShowMRU = true;
    QString FMRURegKey;
    int FLastMRU = -1;
    bool FFilling = false;
    std::unique_ptr<TBitmap> FTrueTypeMark;
    TfrFontPreview* FPreview;
};

// A borderless window with one list: the inspector's drop-down values.
class TfrPopupListBox : public TForm
{
public:
    explicit TfrPopupListBox(QWidget* AOwner = nullptr);
    QListWidget* ListBox = nullptr;
    int ItemHeight() const;
};
