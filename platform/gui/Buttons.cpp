#include "platform/gui/Buttons.h"

#include "platform/gui/Application.h"
#include "platform/gui/Forms.h"

#include <QIcon>
#include <QPixmap>

TBitBtn::TBitBtn(QWidget* AParent) : TButton(AParent), FGlyph(std::make_unique<TBitmap>())
{
    // Connected after the base's handler: a close button closes once OnClick ran.
    QObject::connect(this, &QPushButton::clicked, this, [this] {
        if (FKind != bkClose)
            return;
        if (auto* Form = dynamic_cast<TForm*>(window()))
            Form->Close();
    });
}

TBitBtn::~TBitBtn() = default;

void TBitBtn::SetKind(TBitBtnKind Value)
{
    struct TKindInfo
    {
        const char16_t* Caption;
        TModalResult Result;
    };
    static const TKindInfo Info[] = {
        {u"", mrNone},      {u"确定", mrOk},   {u"取消", mrCancel}, {u"帮助", mrNone},
        {u"是", mrYes},     {u"否", mrNo},     {u"关闭", mrNone},   {u"中止", mrAbort},
        {u"重试", mrRetry}, {u"忽略", mrIgnore}, {u"全部", mrAll},
    };
    FKind = Value;
    if (Value == bkCustom)
        return;
    const TKindInfo& I = Info[static_cast<int>(Value)];
    SetCaption(QString::fromUtf16(I.Caption));
    SetModalResult(I.Result);
    if (Value == bkOK || Value == bkYes)
        SetDefault(true);
    if (Value == bkCancel || Value == bkNo)
        SetCancel(true);
}

void TBitBtn::SetNumGlyphs(int Value)
{
    FNumGlyphs = std::clamp(Value, 1, 4);
    GlyphChanged();
}

void TBitBtn::LoadGlyph(const QString& FileName)
{
    FGlyph->LoadFromFile(FileName);
    GlyphChanged();
}

void TBitBtn::GlyphChanged()
{
    if (FGlyph->Empty()) {
        setIcon(QIcon());
        return;
    }
    FGlyph->SetTransparent(true);
    const QImage All = FGlyph->ToImage();
    const int W = All.width() / FNumGlyphs;
    QIcon Icon;
    Icon.addPixmap(QPixmap::fromImage(All.copy(0, 0, W, All.height())), QIcon::Normal);
    if (FNumGlyphs >= 2)
        Icon.addPixmap(QPixmap::fromImage(All.copy(W, 0, W, All.height())), QIcon::Disabled);
    setIcon(Icon);
    setIconSize(QSize(W, All.height()));
}

// ---------------------------------------------------------------- TSpeedButton

namespace {

QIcon GlyphIcon(TBitmap* Glyph)
{
    if (Glyph->Empty())
        return QIcon();
    Glyph->SetTransparent(true);
    return QIcon(QPixmap::fromImage(Glyph->ToImage()));
}

} // namespace

TSpeedButton::TSpeedButton(QWidget* AParent) : QToolButton(AParent), FGlyph(std::make_unique<TBitmap>())
{
    setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    // One button of a group is down: pressing one lets the others up.
    QObject::connect(this, &QToolButton::toggled, this, [this](bool Checked) {
        if (!Checked || FGroupIndex <= 0 || !parentWidget())
            return;
        for (TSpeedButton* B : parentWidget()->findChildren<TSpeedButton*>(Qt::FindDirectChildrenOnly)) {
            if (B != this && B->FGroupIndex == FGroupIndex)
                B->setChecked(false);
        }
    });
    QObject::connect(this, &QToolButton::clicked, this, [this] {
        try {
            if (OnClick)
                OnClick(this);
        } catch (const std::exception& E) {
            Application()->HandleException(E);
        }
    });
}

TSpeedButton::~TSpeedButton() = default;

void TSpeedButton::GlyphChanged()
{
    setIcon(GlyphIcon(FGlyph.get()));
    if (!FGlyph->Empty())
        setIconSize(QSize(FGlyph->Width(), FGlyph->Height()));
    setToolButtonStyle(text().isEmpty() ? Qt::ToolButtonIconOnly
                       : FLayout == blGlyphTop ? Qt::ToolButtonTextUnderIcon
                                               : Qt::ToolButtonTextBesideIcon);
}

void TSpeedButton::LoadGlyph(const QString& FileName)
{
    FGlyph->LoadFromFile(FileName);
    GlyphChanged();
}

void TSpeedButton::SetLayout(TButtonLayout Value)
{
    FLayout = Value;
    GlyphChanged();
}

void TSpeedButton::SetGroupIndex(int Value)
{
    FGroupIndex = Value;
    setCheckable(Value > 0);
}

void TSpeedButton::SetDown(bool Value)
{
    if (FGroupIndex > 0)
        setChecked(Value);
}

void TSpeedButton::Click()
{
    if (isEnabled())
        click();
}
