#include "report/engine/FR_Ctrls.h"

#include "platform/gui/Application.h"
#include "platform/gui/Forms.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QShortcut>

// ---------------------------------------------------------------- glyph lists

TGlyphList::TGlyphList(int AWidth, int AHeight) : TImageList(AWidth, AHeight)
{
}

int TGlyphList::AddMasked(const TBitmap* Image, TColor MaskColor)
{
    int Index = -1;
    for (size_t i = 0; i < FUsed.size(); ++i) {
        if (!FUsed[i]) {
            Index = int(i);
            break;
        }
    }
    if (Index >= 0) {
        Replace(Index, Image, MaskColor);
    } else {
        Index = TImageList::AddMasked(Image, MaskColor);
        if (Index < 0)
            return -1;
        FUsed.resize(size_t(TImageList::Count()), false);
    }
    FUsed[size_t(Index)] = true;
    ++FCount;
    return Index;
}

void TGlyphList::Delete(int Index)
{
    if (Index < 0 || size_t(Index) >= FUsed.size() || !FUsed[size_t(Index)])
        return;
    FUsed[size_t(Index)] = false;
    --FCount;
}

namespace {

std::unique_ptr<std::vector<std::unique_ptr<TGlyphList>>> GlyphCache;

} // namespace

TGlyphList* TGlyphCache::GetList(int AWidth, int AHeight)
{
    if (!GlyphCache)
        GlyphCache = std::make_unique<std::vector<std::unique_ptr<TGlyphList>>>();
    for (const auto& List : *GlyphCache)
        if (List->Width() == AWidth && List->Height() == AHeight)
            return List.get();
    GlyphCache->push_back(std::make_unique<TGlyphList>(AWidth, AHeight));
    return GlyphCache->back().get();
}

void TGlyphCache::ReturnList(TGlyphList* List)
{
    if (!List || !GlyphCache || List->Count() > 0)
        return;
    std::erase_if(*GlyphCache, [List](const auto& L) { return L.get() == List; });
    if (GlyphCache->empty())
        GlyphCache.reset();
}

int TGlyphCache::ListCount()
{
    return GlyphCache ? int(GlyphCache->size()) : 0;
}

// ---------------------------------------------------------------- button glyph

TButtonGlyph::TButtonGlyph() = default;

TButtonGlyph::~TButtonGlyph()
{
    Invalidate();
}

void TButtonGlyph::Invalidate()
{
    for (int& Index : FIndexs) {
        if (Index >= 0 && FGlyphList)
            FGlyphList->Delete(Index);
        Index = -1;
    }
    TGlyphCache::ReturnList(FGlyphList);
    FGlyphList = nullptr;
}

void TButtonGlyph::SetGlyph(const TBitmap* Value)
{
    Invalidate();
    if (!Value || Value->Empty()) {
        FOriginal.reset();
        return;
    }
    FOriginal = std::make_unique<TBitmap>();
    FOriginal->Assign(*Value);
    FTransparentColor = Value->TransparentColor();
    const int W = Value->Width(), H = Value->Height();
    if (H > 0 && W % H == 0) {
        const int N = W / H;
        FNumGlyphs = N >= 5 || N < 1 ? 1 : N;
    }
}

void TButtonGlyph::SetNumGlyphs(int Value)
{
    Value = std::clamp(Value, 1, 4);
    if (Value == FNumGlyphs)
        return;
    Invalidate();
    FNumGlyphs = Value;
}

int TButtonGlyph::FrameWidth() const
{
    return FOriginal ? FOriginal->Width() / FNumGlyphs : 0;
}

int TButtonGlyph::FrameHeight() const
{
    return FOriginal ? FOriginal->Height() : 0;
}

int TButtonGlyph::CreateButtonGlyph(TfrButtonState State)
{
    if (Empty())
        return -1;
    // A strip without a down frame shows its up frame while down.
    if ((State == bsDown || State == bsExclusive) && int(State) >= FNumGlyphs)
        State = bsUp;
    if (FIndexs[State] >= 0)
        return FIndexs[State];
    if (!FGlyphList)
        FGlyphList = TGlyphCache::GetList(FrameWidth(), FrameHeight());
    QImage Image;
    TColor Mask = FTransparentColor;
    Build(State, Image, Mask);
    TBitmap Frame;
    Frame.LoadFromImage(Image);
    FIndexs[State] = FGlyphList->AddMasked(&Frame, Mask);
    return FIndexs[State];
}

void TButtonGlyph::Build(TfrButtonState State, QImage& Out, TColor& Mask) const
{
    const int W = FrameWidth(), H = FrameHeight();
    const int Frame = State == bsGrayed || int(State) >= FNumGlyphs ? 0 : int(State);
    const QImage Strip = FOriginal->Image().convertToFormat(QImage::Format_RGB32);
    const QRgb Transparent = ColorToQColor(FTransparentColor).rgb();
    const QRgb Face = ColorToQColor(clBtnFace).rgb();
    const QRgb Light = ColorToQColor(clBtnHighlight).rgb();
    const QRgb Shadow = ColorToQColor(clBtnShadow).rgb();
    if (State != bsDisabled && State != bsGrayed) {
        Out = Strip.copy(Frame * W, 0, W, H);
        Mask = FTransparentColor;
        return;
    }
    Mask = clBtnFace;
    if (State == bsGrayed) {
        Out = Strip.copy(0, 0, W, H);
        for (int Y = 0; Y < H; ++Y) {
            auto* Line = reinterpret_cast<QRgb*>(Out.scanLine(Y));
            for (int X = 0; X < W; ++X) {
                const QRgb P = Line[X];
                if (P == Transparent || P == Face) {
                    Line[X] = Face;
                    continue;
                }
                const int Level = (77 * qRed(P) + 150 * qGreen(P) + 29 * qBlue(P)) / 256;
                Line[X] = qRgb(Level, Level, Level);
            }
        }
        return;
    }
    Out = QImage(W, H, QImage::Format_RGB32);
    Out.fill(Face);
    if (FNumGlyphs > 1) {
        // The strip's own disabled frame: white, grey and transparent areas
        // take the button's highlight, shadow and face.
        const QImage Source = Strip.copy(W, 0, W, H);
        for (int Y = 0; Y < H; ++Y)
            for (int X = 0; X < W; ++X) {
                const QRgb P = Source.pixel(X, Y) | 0xFF000000u;
                Out.setPixel(X, Y, P == Transparent ? Face
                                   : P == qRgb(255, 255, 255) ? Light
                                   : P == qRgb(128, 128, 128) ? Shadow
                                                              : P);
            }
        return;
    }
    // One frame: the glyph's shape embossed, highlight one pixel right and
    // down under the shadow.
    const QImage Source = Strip.copy(0, 0, W, H);
    auto Ink = [&](int X, int Y) {
        const QRgb P = Source.pixel(X, Y) | 0xFF000000u;
        return P != Transparent && P != qRgb(255, 255, 255);
    };
    for (int Y = 0; Y < H; ++Y)
        for (int X = 0; X < W; ++X)
            if (Ink(X, Y) && X + 1 < W && Y + 1 < H)
                Out.setPixel(X + 1, Y + 1, Light);
    for (int Y = 0; Y < H; ++Y)
        for (int X = 0; X < W; ++X)
            if (Ink(X, Y))
                Out.setPixel(X, Y, Shadow);
}

// ---------------------------------------------------------------- speed button

namespace {

// The 8 x 8 pattern of buttons that stay down, shared by all buttons and freed
// with the last one.
int LiveButtons = 0;
std::unique_ptr<TBitmap> DownPattern;

const TBitmap* Pattern()
{
    if (!DownPattern) {
        DownPattern = std::make_unique<TBitmap>(8, 8);
        QImage I(8, 8, QImage::Format_RGB32);
        I.fill(ColorToQColor(clBtnFace));
        for (int Y = 0; Y < 8; ++Y)
            for (int X = 0; X < 8; ++X)
                if ((X % 2) == (Y % 2))
                    I.setPixel(X, Y, qRgb(255, 255, 255));
        DownPattern->LoadFromImage(I);
    }
    return DownPattern.get();
}

} // namespace

TfrSpeedButton::TfrSpeedButton(QWidget* AParent)
    : TCustomControl(AParent), FGlyph(std::make_unique<TButtonGlyph>())
{
    ++LiveButtons;
    resize(22, 22);
    setFocusPolicy(Qt::NoFocus);
}

TfrSpeedButton::~TfrSpeedButton()
{
    FGlyph.reset();
    if (--LiveButtons == 0)
        DownPattern.reset();
}

void TfrSpeedButton::SetAllowAllUp(bool Value)
{
    if (FAllowAllUp == Value)
        return;
    FAllowAllUp = Value;
    UpdateExclusive();
}

void TfrSpeedButton::SetGroupIndex(int Value)
{
    if (FGroupIndex == Value)
        return;
    FGroupIndex = Value;
    UpdateExclusive();
}

void TfrSpeedButton::SetDown(bool Value)
{
    if (FGroupIndex == 0)
        Value = false;
    if (Value == FDown)
        return;
    if (FDown && !FAllowAllUp)
        return;
    FDown = Value;
    if (isEnabled())
        FState = Value ? bsExclusive : bsUp;
    Invalidate();
    if (Value)
        UpdateExclusive();
}

void TfrSpeedButton::SetFlat(bool Value)
{
    if (FFlat == Value)
        return;
    FFlat = Value;
    Invalidate();
}

void TfrSpeedButton::SetCaption(const QString& Value)
{
    if (FCaption == Value)
        return;
    FCaption = Value;
    UpdateAccelerator();
    Invalidate();
}

void TfrSpeedButton::SetGlyph(const TBitmap* Value)
{
    FGlyph->SetGlyph(Value);
    Invalidate();
}

void TfrSpeedButton::LoadGlyph(const QString& FileName)
{
    TBitmap Bitmap;
    Bitmap.LoadFromFile(FileName);
    SetGlyph(&Bitmap);
}

void TfrSpeedButton::SetGrayedInactive(bool Value)
{
    if (FGrayedInactive == Value)
        return;
    FGrayedInactive = Value;
    Invalidate();
}

void TfrSpeedButton::SetLayout(TButtonLayout Value)
{
    if (FLayout == Value)
        return;
    FLayout = Value;
    Invalidate();
}

void TfrSpeedButton::SetMargin(int Value)
{
    if (Value == FMargin || Value < -1)
        return;
    FMargin = Value;
    Invalidate();
}

void TfrSpeedButton::SetNumGlyphs(int Value)
{
    FGlyph->SetNumGlyphs(Value);
    Invalidate();
}

void TfrSpeedButton::SetParentFont(bool Value)
{
    if (FParentFont == Value)
        return;
    FParentFont = Value;
    Invalidate();
}

void TfrSpeedButton::SetSpacing(int Value)
{
    if (FSpacing == Value)
        return;
    FSpacing = Value;
    Invalidate();
}

void TfrSpeedButton::UpdateExclusive()
{
    if (FGroupIndex == 0 || !parentWidget())
        return;
    for (auto* Other : parentWidget()->findChildren<TfrSpeedButton*>(Qt::FindDirectChildrenOnly))
        if (Other != this)
            Other->ButtonPressed(this);
}

void TfrSpeedButton::ButtonPressed(TfrSpeedButton* Sender)
{
    if (Sender->FGroupIndex != FGroupIndex)
        return;
    if (Sender->FDown && FDown) {
        FDown = false;
        if (isEnabled())
            FState = bsUp;
        Invalidate();
    }
    FAllowAllUp = Sender->FAllowAllUp;
}

void TfrSpeedButton::UpdateAccelerator()
{
    const QKeySequence Key = QKeySequence::mnemonic(FCaption);
    if (Key.isEmpty()) {
        delete FAccelerator;
        FAccelerator = nullptr;
        return;
    }
    if (!FAccelerator) {
        FAccelerator = new QShortcut(this);
        FAccelerator->setContext(Qt::WindowShortcut);
        QObject::connect(FAccelerator, &QShortcut::activated, this, [this] {
            if (isEnabled() && isVisible())
                Click();
        });
    }
    FAccelerator->setKey(Key);
}

void TfrSpeedButton::changeEvent(QEvent* Event)
{
    TCustomControl::changeEvent(Event);
    switch (Event->type()) {
    case QEvent::EnabledChange:
        if (!isEnabled()) {
            FState = bsDisabled;
            FDragging = false;
            FMouseInside = false;
        } else if (FState == bsDisabled) {
            FState = FDown && FGroupIndex != 0 ? bsExclusive : bsUp;
        }
        FGlyph->CreateButtonGlyph(FState);
        Invalidate();
        break;
    case QEvent::FontChange:
    case QEvent::PaletteChange:
    case QEvent::StyleChange:
    case QEvent::ParentChange:
        Invalidate();
        break;
    default:
        break;
    }
}

bool TfrSpeedButton::event(QEvent* Event)
{
    if (Event->type() == QEvent::ToolTip && !FShowHint)
        return true;
    return TCustomControl::event(Event);
}

// The click comes from MouseUp, after the new look is set.
void TfrSpeedButton::mouseReleaseEvent(QMouseEvent* Event)
{
    TMouseButton Button;
    switch (Event->button()) {
    case Qt::LeftButton: Button = mbLeft; break;
    case Qt::RightButton: Button = mbRight; break;
    case Qt::MiddleButton: Button = mbMiddle; break;
    default: return;
    }
    const QPoint P = Event->position().toPoint();
    try {
        MouseUp(Button, ShiftStateFromQt(Event->modifiers(), Event->buttons()), P.x(), P.y());
    } catch (const std::exception& E) {
        Application()->HandleException(E);
    }
}

void TfrSpeedButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft || !isEnabled())
        return;
    if (!FDown) {
        FState = bsDown;
        Invalidate();
    }
    FDragging = true;
}

void TfrSpeedButton::MouseMove(TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseMove(Shift, X, Y);
    if (!FDragging)
        return;
    TfrButtonState NewState = FDown ? bsExclusive : bsUp;
    if (ClientRect().contains(X, Y))
        NewState = FDown ? bsExclusive : bsDown;
    if (NewState != FState) {
        FState = NewState;
        Invalidate();
    }
}

void TfrSpeedButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseUp(Button, Shift, X, Y);
    if (!FDragging || Button != mbLeft)
        return;
    FDragging = false;
    const bool Inside = ClientRect().contains(X, Y);
    if (FGroupIndex == 0)
        FState = bsUp;
    else if (Inside)
        SetDown(!FDown);
    if (isEnabled())
        FState = FDown ? bsExclusive : bsUp;
    FMouseInside = FFlat && isEnabled() && Inside;
    Repaint();
    if (Inside)
        Click();
}

void TfrSpeedButton::DblClick()
{
    if (FDown)
        TCustomControl::DblClick();
}

void TfrSpeedButton::MouseEnter()
{
    if (!FFlat || !isEnabled() || FMouseInside)
        return;
    TCustomControl::MouseEnter();
    FMouseInside = true;
    Invalidate();
}

void TfrSpeedButton::MouseLeave()
{
    if (!FFlat || !isEnabled() || !FMouseInside)
        return;
    TCustomControl::MouseLeave();
    FMouseInside = false;
    Invalidate();
}

void TfrSpeedButton::Paint()
{
    TfrButtonState DrawState = FState;
    if (FFlat && isEnabled() && FGrayedInactive && !FMouseInside)
        DrawState = bsGrayed;
    TCanvasState Saved(Canvas());
    if (FParentFont) {
        if (auto* P = dynamic_cast<TCustomControl*>(parentWidget()))
            Canvas()->Font()->Assign(*P->Font());
        else if (auto* F = dynamic_cast<TForm*>(parentWidget()))
            Canvas()->Font()->Assign(*F->Font());
    }
    PaintFace(DrawState);
}

void TfrSpeedButton::PaintFace(TfrButtonState DrawState)
{
    TCanvas* C = Canvas();
    QRect R = ClientRect();
    const bool Pushed = DrawState == bsDown || DrawState == bsExclusive;
    const bool StaysDown = DrawState == bsExclusive || (DrawState == bsGrayed && FDown);
    bool Patterned;
    QRect Face;
    if (FFlat) {
        C->Brush()->SetColor(clBtnFace);
        C->FillRect(R);
        Patterned = isEnabled() && !FMouseInside && StaysDown;
        Face = R.adjusted(1, 1, -1, -1);
    } else {
        QRect Frame = R;
        C->DrawFrameControl(Frame, DFC_BUTTON, DFCS_BUTTONPUSH | (Pushed ? DFCS_PUSHED : 0u));
        Patterned = DrawState == bsExclusive;
        Face = R.adjusted(2, 2, -2, -2);
    }
    if (Patterned) {
        C->Brush()->SetBitmap(Pattern());
        C->FillRect(Face);
        C->Brush()->SetBitmap(nullptr);
    }
    PaintContents(DrawState, DrawState == bsDown ? R.translated(1, 1) : R);
    if (FFlat && ((isEnabled() && FMouseInside) || StaysDown)) {
        QRect Edge = R;
        C->DrawEdge(Edge, Pushed || FDown ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
    }
}

// Glyph and caption placed by Layout, Margin and Spacing; without a caption
// the glyph is centred.
void TfrSpeedButton::PaintContents(TfrButtonState DrawState, QRect Client)
{
    TCanvas* C = Canvas();
    const QSize GlyphSize = FGlyph->Empty() ? QSize(0, 0) : QSize(FGlyph->FrameWidth(), FGlyph->FrameHeight());
    QRect TextRect(0, 0, 0, 0);
    if (!FCaption.isEmpty()) {
        TextRect = QRect(0, 0, Client.width(), 0);
        C->DrawText(FCaption, TextRect, DT_CALCRECT | DT_SINGLELINE);
    }
    const QSize TextSize = FCaption.isEmpty() ? QSize(0, 0) : TextRect.size();
    int Margin = FCaption.isEmpty() ? -1 : FMargin;
    int Spacing = FCaption.isEmpty() || GlyphSize.isEmpty() ? 0 : FSpacing;
    const bool Across = FLayout == blGlyphLeft || FLayout == blGlyphRight;
    QPoint GlyphPos, TextPos;
    if (Across) {
        GlyphPos.setY((Client.height() - GlyphSize.height() + 1) / 2);
        TextPos.setY((Client.height() - TextSize.height() + 1) / 2);
    } else {
        GlyphPos.setX((Client.width() - GlyphSize.width() + 1) / 2);
        TextPos.setX((Client.width() - TextSize.width() + 1) / 2);
    }
    const int Room = Across ? Client.width() : Client.height();
    const int GlyphLen = Across ? GlyphSize.width() : GlyphSize.height();
    const int TextLen = Across ? TextSize.width() : TextSize.height();
    if (Margin == -1) {
        if (Spacing == -1) {
            Margin = (Room - GlyphLen - TextLen) / 3;
            Spacing = Margin;
        } else {
            Margin = (Room - (GlyphLen + Spacing + TextLen) + 1) / 2;
        }
    } else if (Spacing == -1) {
        Spacing = (Room - (Margin + GlyphLen) - TextLen) / 2;
    }
    switch (FLayout) {
    case blGlyphLeft:
        GlyphPos.setX(Margin);
        TextPos.setX(GlyphPos.x() + GlyphSize.width() + Spacing);
        break;
    case blGlyphRight:
        GlyphPos.setX(Client.width() - Margin - GlyphSize.width());
        TextPos.setX(GlyphPos.x() - Spacing - TextSize.width());
        break;
    case blGlyphTop:
        GlyphPos.setY(Margin);
        TextPos.setY(GlyphPos.y() + GlyphSize.height() + Spacing);
        break;
    case blGlyphBottom:
        GlyphPos.setY(Client.height() - Margin - GlyphSize.height());
        TextPos.setY(GlyphPos.y() - Spacing - TextSize.height());
        break;
    }
    GlyphPos += Client.topLeft();
    TextPos += Client.topLeft();

    const int Index = FGlyph->CreateButtonGlyph(DrawState);
    if (Index >= 0)
        FGlyph->GlyphList()->Draw(C, GlyphPos.x(), GlyphPos.y(), Index);
    if (FCaption.isEmpty())
        return;
    QRect Bounds(TextPos, TextSize);
    C->Brush()->SetStyle(bsClear);
    const unsigned Format = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
    if (DrawState == bsDisabled) {
        QRect Light = Bounds.translated(1, 1);
        C->Font()->SetColor(clBtnHighlight);
        C->DrawText(FCaption, Light, Format);
        C->Font()->SetColor(clBtnShadow);
    }
    C->DrawText(FCaption, Bounds, Format);
}

void TfrSpeedButton::DrawGlyph(TCanvas* ACanvas, int X, int Y, bool AEnabled)
{
    const int Index = FGlyph->CreateButtonGlyph(AEnabled ? bsUp : bsDisabled);
    if (!ACanvas || Index < 0)
        return;
    TCanvasState Saved(ACanvas);
    ACanvas->Brush()->SetColor(clBtnFace);
    ACanvas->FillRect(QRect(X, Y, FGlyph->FrameWidth(), FGlyph->FrameHeight()));
    FGlyph->GlyphList()->Draw(ACanvas, X, Y, Index);
}

// ---------------------------------------------------------------- combo edit

TfrComboEdit::TfrComboEdit(QWidget* AParent) : QLineEdit(AParent)
{
    FPanel = new TCustomControl(this);
    FButton = new TfrSpeedButton(FPanel);
    FButton->OnClick = [this](QObject*) {
        if (OnButtonClick)
            OnButtonClick(this);
    };
    resize(width(), 21);
}

void TfrComboEdit::resizeEvent(QResizeEvent* Event)
{
    QLineEdit::resizeEvent(Event);
    const int H = height();
    FPanel->setGeometry(width() - H + 2, 2, H - 4, H - 4);
    FButton->setGeometry(0, 0, H - 4, H - 4);
    // The text ends before the button.
    setTextMargins(0, 0, H + 2, 0);
}

// Enter and Escape reach the window's default and cancel buttons first.
void TfrComboEdit::keyPressEvent(QKeyEvent* Event)
{
    const int Key = Event->key();
    if ((Key == Qt::Key_Return || Key == Qt::Key_Enter || Key == Qt::Key_Escape) && window() != this) {
        QKeyEvent Copy(Event->type(), Key, Event->modifiers(), Event->text());
        QCoreApplication::sendEvent(window(), &Copy);
    }
    QLineEdit::keyPressEvent(Event);
    Event->accept();
}
