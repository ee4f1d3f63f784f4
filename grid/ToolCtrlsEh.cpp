// Edit buttons, the button painter and its cache, the button control, the
// special row and the value and field-list helpers. Pop-ups and the MRU list
// are in ToolCtrlsEhPopups.cpp and ToolCtrlsEhMRU.cpp.
#include "grid/ToolCtrlsEh.h"

#include "platform/db/DataSet.h"
#include "platform/db/Field.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Menus.h"
#include "platform/gui/StdCtrls.h"
#include "platform/gui/SystemMetrics.h"
#include "platform/rtl/Classes.h"

#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <cstring>
#include <memory>

TShortCut ShortCut(int Key, TShiftState Shift)
{
    TShortCut Result = TShortCut(Key & 0xFF);
    if (Shift.Contains(ssShift))
        Result |= scShift;
    if (Shift.Contains(ssCtrl))
        Result |= scCtrl;
    if (Shift.Contains(ssAlt))
        Result |= scAlt;
    return Result;
}

// ---------------------------------------------------------------- TEditButtonEh

TEditButtonEh::TEditButtonEh(TEditButtonsEh* ACollection, QWidget* AEditControl)
    : FCollection(ACollection), FEditControl(AEditControl), FGlyph(std::make_unique<TBitmap>())
{
}

TEditButtonEh::~TEditButtonEh() = default;

template <class T> void TEditButtonEh::SetValue(T& Field, const T& Value)
{
    if (Field == Value)
        return;
    Field = Value;
    Changed();
}

void TEditButtonEh::SetDropdownMenu(TPopupMenu* Value) { SetValue(FDropdownMenu, Value); }
void TEditButtonEh::SetHint(const QString& Value) { SetValue(FHint, Value); }
void TEditButtonEh::SetShortCut(TShortCut Value) { SetValue(FShortCut, Value); }
void TEditButtonEh::SetStyle(TEditButtonStyleEh Value) { SetValue(FStyle, Value); }
void TEditButtonEh::SetVisible(bool Value) { SetValue(FVisible, Value); }
void TEditButtonEh::SetWidth(int Value) { SetValue(FWidth, Value); }
void TEditButtonEh::SetNumGlyphs(int Value) { SetValue(FNumGlyphs, std::clamp(Value, 1, 4)); }

void TEditButtonEh::SetGlyph(const TBitmap& Value)
{
    FGlyph->Assign(Value);
    Changed();
}

void TEditButtonEh::Changed()
{
    if (OnChange)
        OnChange(this);
    else if (FCollection)
        FCollection->Update(this);
}

void TEditButtonEh::Assign(const TEditButtonEh& Source)
{
    if (&Source == this)
        return;
    FDropdownMenu = Source.FDropdownMenu;
    FGlyph->Assign(*Source.FGlyph);
    FHint = Source.FHint;
    FNumGlyphs = Source.FNumGlyphs;
    FShortCut = Source.FShortCut;
    FStyle = Source.FStyle;
    FVisible = Source.FVisible;
    FWidth = Source.FWidth;
    OnClick = Source.OnClick;
    OnDown = Source.OnDown;
    Changed();
}

TEditButtonControlEh* TEditButtonEh::CreateEditButtonControl()
{
    auto* B = new TEditButtonControlEh(FEditControl);
    B->resize(10, 17);
    B->setAttribute(Qt::WA_OpaquePaintEvent);
    B->show();
    return B;
}

TDropDownEditButtonEh::TDropDownEditButtonEh(TEditButtonsEh* ACollection, QWidget* AEditControl)
    : TEditButtonEh(ACollection, AEditControl)
{
    SetShortCut(TShortCut(scAlt | int(VK_DOWN)));
}

TVisibleEditButtonEh::TVisibleEditButtonEh(TEditButtonsEh* ACollection, QWidget* AEditControl)
    : TEditButtonEh(ACollection, AEditControl)
{
    SetShortCut(TShortCut(scAlt | int(VK_DOWN)));
    SetVisible(true);
}

// ---------------------------------------------------------------- TEditButtonsEh

TEditButtonsEh::TEditButtonsEh(void* AOwner, TItemFactory Factory) : FOwner(AOwner), FFactory(std::move(Factory))
{
    if (!FFactory)
        FFactory = [](TEditButtonsEh* C) { return std::make_unique<TVisibleEditButtonEh>(C); };
}

TEditButtonsEh::~TEditButtonsEh()
{
    FUpdateCount = 1; // no notifications while the items go
    FItems.clear();
}

TEditButtonEh* TEditButtonsEh::Items(int Index) const
{
    if (Index < 0 || Index >= Count())
        throw EListError(QStringLiteral("List index out of bounds (%1)").arg(Index));
    return FItems[size_t(Index)].get();
}

TEditButtonEh* TEditButtonsEh::Add()
{
    BeginUpdate();
    FItems.push_back(FFactory(this));
    FChanged = true;
    EndUpdate();
    return FItems.back().get();
}

void TEditButtonsEh::Delete(int Index)
{
    Items(Index);
    FItems.erase(FItems.begin() + Index);
    Update(nullptr);
}

void TEditButtonsEh::Clear()
{
    if (FItems.empty())
        return;
    FItems.clear();
    Update(nullptr);
}

void TEditButtonsEh::Assign(const TEditButtonsEh& Source)
{
    if (&Source == this)
        return;
    BeginUpdate();
    FItems.clear();
    for (const auto& Item : Source.FItems)
        Add()->Assign(*Item);
    FChanged = true;
    EndUpdate();
}

void TEditButtonsEh::EndUpdate()
{
    if (FUpdateCount > 0 && --FUpdateCount == 0 && FChanged)
        Update(nullptr);
}

void TEditButtonsEh::Update(TEditButtonEh*)
{
    if (FUpdateCount > 0) {
        FChanged = true;
        return;
    }
    FChanged = false;
    if (OnChanged)
        OnChanged(this);
}

// ---------------------------------------------------------------- metrics

int FlatButtonWidthEh()
{
    const int Height = QFontMetrics(QApplication::font()).height();
    int Width = int(std::lround(Height * 2.0 / 3.0));
    if (Width % 2 == 0)
        --Width;
    return std::min(std::max(1, Width), ScrollBarWidth());
}

QSize DefaultCheckBoxSizeEh()
{
    // The classic check-box bitmap: four glyphs across, three down.
    constexpr int BitmapWidth = 52, BitmapHeight = 39;
    return QSize(BitmapWidth / 4, BitmapHeight / 3);
}

bool IsDoubleClickEh(int Elapsed, QPoint First, QPoint Second)
{
    return Elapsed <= DoubleClickTime() && std::abs(First.x() - Second.x()) <= DoubleClickDistance()
        && std::abs(First.y() - Second.y()) <= DoubleClickDistance();
}

// ---------------------------------------------------------------- painter

std::array<uint8_t, 15> TButtonsBitmapCache::TKey::Bytes() const
{
    std::array<uint8_t, 15> B{};
    const int32_t W = std::max(0, Width), H = std::max(0, Height);
    std::memcpy(B.data(), &W, 4);
    std::memcpy(B.data() + 4, &H, 4);
    B[8] = Kind;
    B[9] = Flat;
    B[10] = Pressed;
    B[11] = Active;
    B[12] = Enabled;
    B[13] = LowerArrow;
    B[14] = CheckState;
    return B;
}

TBitmap* TButtonsBitmapCache::Get(const TKey& Key, bool& Created)
{
    const std::array<uint8_t, 15> Bytes = Key.Bytes();
    for (auto& [K, B] : FItems) {
        if (K == Bytes) {
            Created = false;
            return B.get();
        }
    }
    FItems.emplace_back(Bytes, std::make_unique<TBitmap>(std::max(0, Key.Width), std::max(0, Key.Height)));
    Created = true;
    return FItems.back().second.get();
}

TButtonsBitmapCache& ButtonsBitmapCache()
{
    static TButtonsBitmapCache Cache;
    return Cache;
}

void ClearButtonsBitmapCache()
{
    ButtonsBitmapCache().Clear();
}

TDrawButtonControlStyleEh EditButtonDrawStyleEh(TEditButtonStyleEh Style)
{
    switch (Style) {
    case ebsEllipsisEh: return bcsEllipsisEh;
    case ebsUpDownEh: return bcsUpDownEh;
    case ebsPlusEh: return bcsPlusEh;
    case ebsMinusEh: return bcsMinusEh;
    default: return bcsDropDownEh;
    }
}

namespace {

void Fill(TCanvas* C, const QRect& R, TColor Color)
{
    C->Brush()->SetColor(Color);
    C->Brush()->SetStyle(bsSolid);
    C->FillRect(R);
}

// A triangle pointing up or down, centred, one pixel further when pressed.
void Arrow(TCanvas* C, const QRect& R, bool Down, bool Pressed, bool Enabled)
{
    const int S = std::max(2, (std::min(R.width(), R.height()) + 1) / 4);
    int CX = R.left() + (R.width() - 1) / 2, CY = R.top() + (R.height() - S) / 2;
    if (Pressed) {
        ++CX;
        ++CY;
    }
    auto Draw = [&](int O, TColor Color) {
        for (int i = 0; i < S; ++i) {
            const int Half = Down ? S - 1 - i : i;
            Fill(C, Rect(CX - Half + O, CY + i + O, CX + Half + 1 + O, CY + i + 1 + O), Color);
        }
    };
    if (!Enabled) {
        Draw(1, clBtnHighlight);
        Draw(0, clBtnShadow);
    } else {
        Draw(0, clBtnText);
    }
}

// The face of a glyph button: a raised edge (sunken when pressed), or on a
// flat button a plain face with an edge only while active.
void Face(TCanvas* C, QRect R, bool Flat, bool Active, bool Pressed)
{
    if (Flat) {
        Fill(C, R, clBtnFace);
        if (Active)
            C->DrawEdge(R, Pressed ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
    } else {
        C->DrawEdge(R, Pressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT | BF_MIDDLE);
    }
}

void Dots(TCanvas* C, const QRect& R, bool Pressed, bool Enabled)
{
    const int Size = R.width() < 8 ? 1 : 2;
    const int Gap = R.width() < 12 ? 1 : 2;
    const int Total = 3 * Size + 2 * Gap;
    int X = R.left() + (R.width() - Total) / 2, Y = R.top() + (R.height() - Size) / 2;
    if (Pressed) {
        ++X;
        ++Y;
    }
    auto Draw = [&](int O, TColor Color) {
        for (int i = 0; i < 3; ++i)
            Fill(C, QRect(X + i * (Size + Gap) + O, Y + O, Size, Size), Color);
    };
    if (!Enabled) {
        Draw(1, clBtnHighlight);
        Draw(0, clBtnShadow);
    } else {
        Draw(0, clBtnText);
    }
}

void PlusMinus(TCanvas* C, const QRect& R, bool Plus, bool Pressed, bool Enabled)
{
    const int S = std::min(R.width(), R.height());
    int Length = std::max(1, S * 4 / 7);
    int Thick = std::max(1, Length / 3);
    const int Step = S < 12 ? 1 : -1;
    if (Length % 2 != S % 2)
        Length = std::max(1, Length + Step);
    if (Plus && Thick % 2 != Length % 2)
        Thick = std::max(1, Thick + Step);
    int CX = R.left() + (R.width() - Length) / 2, CY = R.top() + (R.height() - Thick) / 2;
    if (Pressed) {
        ++CX;
        ++CY;
    }
    auto Draw = [&](int O, TColor Color) {
        Fill(C, QRect(CX + O, CY + O, Length, Thick), Color);
        if (Plus)
            Fill(C, QRect(R.left() + (R.width() - Thick) / 2 + O + (Pressed ? 1 : 0),
                          R.top() + (R.height() - Length) / 2 + O + (Pressed ? 1 : 0), Thick, Length),
                 Color);
    };
    if (!Enabled) {
        Draw(1, clBtnHighlight);
        Draw(0, clBtnShadow);
    } else {
        Draw(0, clBtnText);
    }
}

void DrawGlyphButton(TCanvas* C, const QRect& R, TDrawButtonControlStyleEh Kind, int Pressed, bool Flat,
                     bool Active, bool Enabled, TColor Background)
{
    switch (Kind) {
    case bcsUpDownEh: {
        const int Half = R.height() / 2;
        const QRect Upper(R.left(), R.top(), R.width(), Half);
        const QRect Lower(R.left(), RectBottom(R) - Half, R.width(), Half);
        if (R.height() % 2 != 0)
            Fill(C, QRect(R.left(), R.top() + Half, R.width(), 1), Background);
        Face(C, Upper, Flat, Active, Pressed == 1);
        Arrow(C, Upper, false, Pressed == 1, Enabled);
        Face(C, Lower, Flat, Active, Pressed == 2);
        Arrow(C, Lower, true, Pressed == 2, Enabled);
        return;
    }
    case bcsEllipsisEh:
        Face(C, R, Flat, Active, Pressed != 0);
        Dots(C, R, Pressed != 0, Enabled);
        return;
    case bcsPlusEh:
    case bcsMinusEh:
        Face(C, R, Flat, Active, Pressed != 0);
        PlusMinus(C, R, Kind == bcsPlusEh, Pressed != 0, Enabled);
        return;
    default:
        Face(C, R, Flat, Active, Pressed != 0);
        Arrow(C, R, true, Pressed != 0, Enabled);
        return;
    }
}

} // namespace

void PaintCheckBoxEh(TCanvas* Canvas, const QRect& R, TCheckBoxState State, bool Enabled, bool Flat, bool Active,
                     bool Pressed, TColor ParentColor)
{
    Fill(Canvas, R, ParentColor);
    const int S = std::min(R.width(), R.height());
    QRect Box(R.left() + (R.width() - S) / 2, R.top() + (R.height() - S) / 2, S, S);
    unsigned Flags = DFCS_BUTTONCHECK;
    if (State == cbChecked)
        Flags |= DFCS_CHECKED;
    else if (State == cbGrayed)
        Flags |= DFCS_CHECKED | DFCS_BUTTON3STATE;
    if (!Enabled)
        Flags |= DFCS_INACTIVE;
    if (Pressed)
        Flags |= DFCS_PUSHED;
    if (!Flat) {
        Canvas->DrawFrameControl(Box, DFC_BUTTON, Flags);
        return;
    }
    // One pixel larger, its own edge clipped away, then framed flat.
    {
        TCanvasState Clip(Canvas);
        Canvas->IntersectClipRect(Box.adjusted(1, 1, -1, -1));
        QRect Larger = Box.adjusted(-1, -1, 1, 1);
        Canvas->DrawFrameControl(Larger, DFC_BUTTON, Flags);
    }
    Canvas->Brush()->SetColor(Active ? clBtnFace : clBtnShadow);
    Canvas->FrameRect(Box);
}

void PaintButtonControlEh(TCanvas* Canvas, const QRect& R, TColor ParentColor, TDrawButtonControlStyleEh Kind,
                          int PressedPart, bool Flat, bool Active, bool Enabled, TCheckBoxState State)
{
    if (R.width() <= 0 || R.height() <= 0)
        return;
    TButtonsBitmapCache::TKey Key;
    Key.Width = R.width();
    Key.Height = R.height();
    Key.Kind = uint8_t(Kind);
    Key.Flat = Flat;
    Key.Pressed = uint8_t(PressedPart);
    Key.Active = Active;
    Key.Enabled = Enabled;
    Key.CheckState = uint8_t(State);
    bool Created = false;
    TBitmap* B = ButtonsBitmapCache().Get(Key, Created);
    if (Created) {
        TCanvas* BC = B->Canvas();
        const QRect Area(0, 0, R.width(), R.height());
        // Only the check box shows the parent's colour around its box.
        if (Kind == bcsCheckboxEh)
            PaintCheckBoxEh(BC, Area, State, Enabled, Flat, Active, PressedPart != 0, ParentColor);
        else
            DrawGlyphButton(BC, Area, Kind, PressedPart, Flat, Active, Enabled, ParentColor);
        BC->Release();
    }
    Canvas->DrawImage(R.left(), R.top(), B->Image());
}

// ---------------------------------------------------------------- TEditButtonControlEh

TEditButtonControlEh::TEditButtonControlEh(QWidget* AParent) : TSpeedButton(AParent)
{
    setFocusPolicy(Qt::NoFocus);
    setAutoRaise(false);
}

TEditButtonControlEh::~TEditButtonControlEh() = default;

void TEditButtonControlEh::SetStyle(TEditButtonStyleEh Value)
{
    if (FStyle == Value)
        return;
    FStyle = Value;
    update();
}

void TEditButtonControlEh::SetActive(bool Value)
{
    if (FActive == Value)
        return;
    FActive = Value;
    update();
}

void TEditButtonControlEh::SetAlwaysDown(bool Value)
{
    if (FAlwaysDown == Value)
        return;
    FAlwaysDown = Value;
    FPressedPart = Value ? 1 : (isDown() ? FPressedPart : 0);
    update();
}

void TEditButtonControlEh::UpdatePressedPart(int Y)
{
    int Part = 0;
    if (IsDown()) {
        if (FStyle != ebsUpDownEh)
            Part = 1;
        else if (Y < height() / 2)
            Part = 1;
        else if (Y > height() - height() / 2)
            Part = 2;
    }
    if (Part != FPressedPart) {
        FPressedPart = Part;
        update();
    }
}

void TEditButtonControlEh::mousePressEvent(QMouseEvent* Event)
{
    const QPoint P = Event->position().toPoint();
    const TMouseButton Button = Event->button() == Qt::RightButton ? mbRight
        : Event->button() == Qt::MiddleButton                     ? mbMiddle
                                                                  : mbLeft;
    bool AutoRepeat = FStyle == ebsUpDownEh;
    TSpeedButton::mousePressEvent(Event);
    FSuppressClick = false;
    if (Button == mbLeft) {
        UpdatePressedPart(P.y());
        if (FPressedPart != 0) {
            bool Handled = false;
            if (OnDown)
                OnDown(this, FPressedPart == 1, AutoRepeat, Handled);
            if (AutoRepeat && isDown()) {
                if (!FTimer) {
                    FTimer = std::make_unique<TTimer>();
                    FTimer->OnTimer = [this](QObject*) { RepeatTick(); };
                }
                FRepeating = false;
                FTimer->SetInterval(400);
                FTimer->SetEnabled(true);
            }
        }
    }
    if (OnMouseDown)
        OnMouseDown(this, Button, ShiftStateFromQt(Event->modifiers(), Event->buttons()), P.x(), P.y());
}

void TEditButtonControlEh::RepeatTick()
{
    if (!isDown()) {
        FTimer->SetEnabled(false);
        return;
    }
    if (!FRepeating) {
        FRepeating = true;
        FTimer->SetInterval(100);
    }
    bool AutoRepeat = true, Handled = false;
    if (OnDown)
        OnDown(this, FPressedPart == 1, AutoRepeat, Handled);
    if (!AutoRepeat)
        FTimer->SetEnabled(false);
}

void TEditButtonControlEh::mouseMoveEvent(QMouseEvent* Event)
{
    const QPoint P = Event->position().toPoint();
    if (FStyle == ebsUpDownEh && isDown() && FPressedPart != 0) {
        const int Half = height() / 2;
        const bool Left = FPressedPart == 1 ? P.y() >= Half : P.y() < height() - Half;
        if (Left) {
            // Into the other half: the held half is let go.
            setDown(false);
            FPressedPart = 0;
            if (FTimer)
                FTimer->SetEnabled(false);
            update();
        }
    } else {
        TSpeedButton::mouseMoveEvent(Event);
    }
    if (OnMouseMove)
        OnMouseMove(this, ShiftStateFromQt(Event->modifiers(), Event->buttons()), P.x(), P.y());
}

void TEditButtonControlEh::mouseReleaseEvent(QMouseEvent* Event)
{
    const QPoint P = Event->position().toPoint();
    if (FStyle == ebsUpDownEh && !isDown())
        FSuppressClick = true;
    if (FTimer)
        FTimer->SetEnabled(false);
    const TMouseButton Button = Event->button() == Qt::RightButton ? mbRight
        : Event->button() == Qt::MiddleButton                     ? mbMiddle
                                                                  : mbLeft;
    if (FSuppressClick) {
        // A released half gives no click.
        setDown(false);
        Event->accept();
    } else {
        TSpeedButton::mouseReleaseEvent(Event);
    }
    UpdatePressedPart(P.y());
    if (OnMouseUp)
        OnMouseUp(this, Button, ShiftStateFromQt(Event->modifiers(), Event->buttons()), P.x(), P.y());
}

void TEditButtonControlEh::CancelPress()
{
    if (FTimer)
        FTimer->SetEnabled(false);
    setDown(false);
    FPressedPart = FAlwaysDown ? 1 : 0;
    update();
}

void TEditButtonControlEh::paintEvent(QPaintEvent*)
{
    QImage Image(size(), QImage::Format_RGB32);
    {
        TCanvas C(&Image);
        const QRect R(QPoint(0, 0), size());
        const TColor Parent = parentWidget() ? QColorToColor(parentWidget()->palette().color(QPalette::Base))
                                             : clWindow;
        const int Part = IsDown() ? std::max(FPressedPart, FAlwaysDown ? 1 : 0) : 0;
        if (FStyle != ebsGlyphEh) {
            PaintButtonControlEh(&C, R, Parent, EditButtonDrawStyleEh(FStyle), Part, autoRaise(), FActive,
                                 isEnabled(), cbUnchecked);
        } else {
            QRect Face = R;
            if (autoRaise()) {
                Fill(&C, Face, clBtnFace);
                if (FActive)
                    C.DrawEdge(Face, Part ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
            } else {
                C.DrawEdge(Face, Part ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT | BF_MIDDLE);
            }
            // The glyph's image for the state: up, disabled, down.
            TBitmap* G = Glyph();
            if (!G->Empty()) {
                const int W = G->Width() / std::max(1, FNumGlyphs);
                int Index = 0;
                if (!isEnabled() && FNumGlyphs >= 2)
                    Index = 1;
                else if (Part && FNumGlyphs >= 3)
                    Index = 2;
                const QImage Img = G->ToImage().copy(Index * W, 0, W, G->Height());
                const int X = (width() - W) / 2 + (Part ? 1 : 0), Y = (height() - G->Height()) / 2 + (Part ? 1 : 0);
                C.DrawImage(X, Y, Img);
            }
        }
        C.Release();
    }
    QPainter P(this);
    P.drawImage(0, 0, Image);
}

// ---------------------------------------------------------------- TSpecRowEh

TSpecRowEh::TSpecRowEh(TCustomControl* AOwnerControl)
    : FOwnerControl(AOwnerControl), FFont(std::make_unique<TFont>()), FShortCut(TShortCut(scAlt | int(VK_DELETE)))
{
    FFont->OnChange = [this](TFont*) {
        if (FRefreshingFont)
            return;
        FFontSet = true;
        Changed();
    };
}

TSpecRowEh::~TSpecRowEh() = default;

void TSpecRowEh::SetCellsText(const QString& Value)
{
    if (Value == FCellsText)
        return;
    FCellsText = Value;
    FCells.clear();
    const qsizetype N = Value.size();
    auto Control = [&](qsizetype i) { return i < N && Value[i].unicode() < 32; };
    qsizetype i = 0;
    while (Control(i))
        ++i;
    while (i < N) {
        QString Cell;
        if (Value[i] == u'"') {
            // A quoted cell: doubled quotes stand for one.
            ++i;
            while (i < N) {
                if (Value[i] == u'"') {
                    if (i + 1 < N && Value[i + 1] == u'"') {
                        Cell += u'"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                Cell += Value[i++];
            }
            while (i < N && Value[i] != u';' && !Control(i))
                ++i;
        } else {
            while (i < N && Value[i] != u';' && !Control(i))
                Cell += Value[i++];
        }
        FCells << Cell;
        if (i < N && Value[i] == u';')
            ++i;
        while (Control(i))
            ++i;
    }
    Changed();
}

QString TSpecRowEh::CellText(int Index) const
{
    return Index >= 0 && Index < FCells.size() ? FCells[Index] : QString();
}

TColor TSpecRowEh::Color() const
{
    if (FColorSet || !FOwnerControl)
        return FColor;
    return FOwnerControl->Color();
}

void TSpecRowEh::SetColor(TColor Value)
{
    if (FColorSet && FColor == Value)
        return;
    FColor = Value;
    FColorSet = true;
    Changed();
}

TFont* TSpecRowEh::Font() const
{
    if (!FFontSet && FOwnerControl) {
        auto* Self = const_cast<TSpecRowEh*>(this);
        Self->FRefreshingFont = true;
        FFont->Assign(*FOwnerControl->Font());
        Self->FRefreshingFont = false;
    }
    return FFont.get();
}

void TSpecRowEh::SetShortCut(TShortCut Value)
{
    if (FShortCut == Value)
        return;
    FShortCut = Value;
    Changed();
}

void TSpecRowEh::SetShowIfNotInKeyList(bool Value)
{
    if (FShowIfNotInKeyList == Value)
        return;
    FShowIfNotInKeyList = Value;
    Changed();
}

void TSpecRowEh::SetValue(const Variant& Value)
{
    if (VarSame(FValue, Value))
        return;
    FValue = Value;
    Changed();
}

void TSpecRowEh::SetVisible(bool Value)
{
    if (FVisible == Value)
        return;
    FVisible = Value;
    Changed();
}

void TSpecRowEh::Assign(const TSpecRowEh& Source)
{
    if (&Source == this)
        return;
    BeginUpdate();
    SetCellsText(Source.CellsText());
    SetColor(Source.Color());
    if (Source.FFontSet)
        FFont->Assign(*Source.Font());
    SetShortCut(Source.ShortCut());
    SetShowIfNotInKeyList(Source.ShowIfNotInKeyList());
    SetValue(Source.Value());
    SetVisible(Source.Visible());
    EndUpdate();
}

void TSpecRowEh::EndUpdate()
{
    if (FUpdateCount > 0 && --FUpdateCount == 0)
        Changed();
}

void TSpecRowEh::Changed()
{
    if (FUpdateCount == 0 && OnChanged)
        OnChanged(this);
}

// ---------------------------------------------------------------- values and fields

bool VarEqualsEh(const Variant& A, const Variant& B)
{
    if (A.IsEmpty() != B.IsEmpty())
        return false;
    try {
        return VarCompareValue(A, B) == TVariantRelationship::vrEqual;
    } catch (const Exception&) {
        return false;
    }
}

bool VarEqualsEh(const QList<Variant>& A, const QList<Variant>& B)
{
    if (A.size() != B.size())
        return false;
    for (qsizetype i = 0; i < A.size(); ++i)
        if (!VarEqualsEh(A[i], B[i]))
            return false;
    return true;
}

std::vector<TField*> GetFieldsList(TDataSet* DataSet, const QString& FieldNames)
{
    std::vector<TField*> Fields;
    for (const QString& Part : FieldNames.split(u';', Qt::SkipEmptyParts)) {
        const QString Name = Part.trimmed();
        if (Name.isEmpty())
            continue;
        TField* F = DataSet ? DataSet->FindField(Name) : nullptr;
        if (!F)
            throw EDatabaseError(QStringLiteral("Field '%1' not found").arg(Name));
        Fields.push_back(F);
    }
    return Fields;
}

QList<Variant> GetFieldValuesList(TDataSet* DataSet, const QString& FieldNames)
{
    QList<Variant> Values;
    for (TField* F : GetFieldsList(DataSet, FieldNames))
        Values << F->AsVariant();
    return Values;
}

Variant GetFieldValues(TDataSet* DataSet, const QString& FieldNames)
{
    const QList<Variant> Values = GetFieldValuesList(DataSet, FieldNames);
    return Values.size() == 1 ? Values.front() : VarArrayOf(Values);
}

QList<Variant> KeyValuesOf(const Variant& Key)
{
    return Key.IsArray() ? Key.Elements() : QList<Variant>{Key};
}

void SetKeyValues(TDataSet* DataSet, const QString& FieldNames, const Variant& Key)
{
    SetKeyValues(DataSet, FieldNames, KeyValuesOf(Key.IsEmpty() ? Variant::Null() : Key));
}

void SetKeyValues(TDataSet* DataSet, const QString& FieldNames, const QList<Variant>& Values)
{
    const std::vector<TField*> Fields = GetFieldsList(DataSet, FieldNames);
    if (Values.size() == 1 && Values[0].IsNull()) {
        for (TField* F : Fields)
            F->Clear();
        return;
    }
    for (size_t i = 0; i < Fields.size() && qsizetype(i) < Values.size(); ++i)
        Fields[i]->SetAsVariant(Values[qsizetype(i)]);
}

void ExecEditContextMenuEh(QLineEdit* Edit, QPoint GlobalPos, const std::function<void()>& Paste)
{
    std::unique_ptr<QMenu> Menu(Edit->createStandardContextMenu());
    // The paste entry is the one wired to the line edit's own paste. It
    // offers what a box of plain text takes, markdown alone too.
    for (QAction* A : Menu->actions())
        if (QObject::disconnect(A, SIGNAL(triggered()), Edit, SLOT(paste()))) {
            QObject::connect(A, &QAction::triggered, Edit, Paste);
            A->setEnabled(!Edit->isReadOnly() && !PlainTextOf(QGuiApplication::clipboard()->mimeData()).isEmpty());
        }
    Menu->exec(GlobalPos);
}
