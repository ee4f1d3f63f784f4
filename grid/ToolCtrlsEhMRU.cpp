// The MRU list: remembered entries and their drop-down list box.
#include "grid/ToolCtrlsEh.h"

#include "platform/gui/StdCtrls.h"
#include "platform/gui/SystemMetrics.h"
#include "platform/rtl/Classes.h"

namespace {

// Blanks and control characters off both ends.
QString TrimControls(const QString& S)
{
    qsizetype Begin = 0, End = S.size();
    while (Begin < End && S[Begin].unicode() <= 32)
        ++Begin;
    while (End > Begin && S[End - 1].unicode() <= 32)
        --End;
    return S.mid(Begin, End - Begin);
}

} // namespace

TMRUListEh::TMRUListEh(void* AOwner) : FOwner(AOwner), FItems(std::make_unique<TStringList>()) {}

TMRUListEh::~TMRUListEh() = default;

void TMRUListEh::SetActive(bool Value)
{
    if (FActive == Value)
        return;
    FActive = Value;
    if (OnActiveChanged)
        OnActiveChanged(this);
}

void TMRUListEh::SetItems(const TStrings& Value)
{
    FItems->Assign(Value);
}

void TMRUListEh::SetLimit(int Value)
{
    Value = std::max(0, Value);
    if (FLimit == Value)
        return;
    FLimit = Value;
    Trim();
}

void TMRUListEh::Trim()
{
    FItems->BeginUpdate();
    while (FItems->Count() > FLimit)
        FItems->Delete(0);
    FItems->EndUpdate();
}

void TMRUListEh::Add(const QString& Text)
{
    const QString S = TrimControls(Text);
    if (S.isEmpty())
        return;
    const Qt::CaseSensitivity Case = FCaseSensitive ? Qt::CaseSensitive : Qt::CaseInsensitive;
    for (int i = 0; i < FItems->Count(); ++i) {
        if (FItems->Strings(i).compare(S, Case) == 0) {
            FItems->Move(i, FItems->Count() - 1);
            return;
        }
    }
    FItems->Add(S);
    Trim();
}

bool TMRUListEh::FilterItem(const QString& Item, const QString& Typed) const
{
    bool Accept = Item.left(Typed.size()).compare(Typed, FCaseSensitive ? Qt::CaseSensitive : Qt::CaseInsensitive)
        == 0;
    if (OnFilterItem)
        OnFilterItem(const_cast<TMRUListEh*>(this), Item, Accept);
    return Accept;
}

void TMRUListEh::DropDown(bool Show)
{
    if (OnSetDropDown)
        OnSetDropDown(this, Show);
}

void TMRUListEh::Assign(const TMRUListEh& Source)
{
    if (&Source == this)
        return;
    SetActive(Source.FActive);
    FItems->Assign(*Source.FItems);
    SetLimit(Source.FLimit);
    FRows = Source.FRows;
    FCaseSensitive = Source.FCaseSensitive;
}

// ---------------------------------------------------------------- TMRUListboxEh

TMRUListboxEh::TMRUListboxEh(QWidget* AOwner) : TPopupListboxEh(AOwner)
{
    Items()->SetSorted(true);
}

// Along the right edge, below a top grip or above a bottom one.
void TMRUListboxEh::PlaceScrollBar()
{
    const int B = BorderWidth();
    const int W = ScrollBarWidth();
    int Top = B, Bottom = height() - B;
    if (SizeGrip()->isVisible() && SizeGrip()->Corner() == 1)
        Top = SizeGrip()->geometry().bottom() + 1;
    else if (SizeGrip()->isVisible() && SizeGrip()->Corner() == 2)
        Bottom = SizeGrip()->geometry().top();
    ListScrollBar()->setGeometry(width() - B - W, Top, W, std::max(0, Bottom - Top));
}
