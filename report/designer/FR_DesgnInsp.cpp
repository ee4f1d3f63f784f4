// The designer's side of the object inspector and the fields window: filling
// the inspector from the selection, applying its edits to every selected
// object through the one change path, and placing both tool windows.
#include "report/designer/FR_Desgn.h"

#include "platform/gui/Application.h"
#include "platform/gui/ComCtrls.h"
#include "platform/rtl/IniFiles.h"
#include "report/designer/FR_DsgPage.h"
#include "report/designer/FR_InsFields.h"
#include "report/designer/FR_Insp.h"
#include "report/engine/FR_BandView.h"
#include "report/engine/FR_Class.h"
#include "report/engine/FR_Dock.h"
#include "report/engine/FR_Globals.h"
#include "report/engine/FR_Page.h"
#include "report/engine/FR_Utils.h"

#include <QScopedValueRollback>
#include <QTimer>
#include <algorithm>
#include <tuple>
#include <utility>

bool InspectorBusy = false;

namespace {

const QString InspSection = QStringLiteral("Form\\TfrInspForm");
const QString FieldsSection = QStringLiteral("Form\\TfrInsFieldsForm");

// The objects the inspector shows: the selected views, or the page.
std::vector<TfrObject*> InspectedObjects(TfrPage* Page)
{
    std::vector<TfrObject*> Objects;
    for (int i = 0; i < Page->Count(); ++i)
        if (Page->Objects(i)->Selected())
            Objects.push_back(Page->Objects(i));
    if (Objects.empty())
        Objects.push_back(Page);
    return Objects;
}

} // namespace

double TfrDesignerForm::ToUnits(double Pixels) const
{
    switch (Units) {
    case 1: return Pixels / 18 * 5;
    case 2: return Pixels / 18 * 5 / 25.4;
    default: return Pixels;
    }
}

double TfrDesignerForm::FromUnits(double Value) const
{
    switch (Units) {
    case 1: return Value / 5 * 18;
    case 2: return 25.4 * Value / 5 * 18;
    default: return Value;
    }
}

// ---------------------------------------------------------------- creation

void TfrDesignerForm::CreateInspector()
{
    if (InspForm)
        return;
    InspForm = new TfrInspForm(this);
    InspForm->ClearProperties();
    InspForm->OnModify = [this](int Index) { ApplyProperty(Index); };
    InspForm->OnSelectionChanged = [this](const QString& Name) { SelectObject(Name); };
    InspForm->OnGetObjects = [this](QStringList& Objects) {
        for (int i = 0; Page && i < Page->Count(); ++i)
            Objects << Page->Objects(i)->Name();
        for (int n = 1; n <= CurReport->Pages()->Count(); ++n)
            Objects << QStringLiteral("Page%1").arg(n);
    };
    InspForm->OnHeightChanged = [this](QObject*) { ArrangeToolWindows(); };

    RestoreFormPosition(InspForm);
    TRegIniFile Reg(frRegRootKey);
    InspForm->SetSplitPos(std::max(20, Reg.ReadInteger(InspSection, QStringLiteral("SplitPos"), 75)));
    if (Reg.ReadBool(InspSection, QStringLiteral("isVisible"), true) && isVisible())
        InspForm->show();
    if (Flag() && Reg.ReadBool(FieldsSection, QStringLiteral("isVisible"), true) && isVisible())
        ShowFieldsWindow(true);
    FillInspector();
}

void TfrDesignerForm::SaveInspectorSettings()
{
    if (!InspForm)
        return;
    TRegIniFile Reg(frRegRootKey);
    Reg.WriteBool(InspSection, QStringLiteral("isVisible"), InspForm->isVisible());
    Reg.WriteInteger(InspSection, QStringLiteral("SplitPos"), InspForm->SplitPos());
    Reg.WriteBool(FieldsSection, QStringLiteral("isVisible"), frInsFieldsForm && frInsFieldsForm->isVisible());
    SaveFormPosition(InspForm);
}

// ---------------------------------------------------------------- filling

void TfrDesignerForm::FillInspectorLater()
{
    if (std::exchange(InspectorRefillPending, true))
        return;
    QTimer::singleShot(0, this, [this] {
        if (InspectorRefillPending)
            FillInspector();
    });
}

void TfrDesignerForm::FillInspector()
{
    InspectorRefillPending = false;
    if (InspectorBusy || !InspForm)
        return;
    InspForm->ClearProperties();
    InspForm->CurObject = nullptr;
    InspForm->ObjectName.clear();
    // Without a page there is nothing to show, and nothing it showed may stay:
    // the page and its views may be freed next.
    if (!Page) {
        InspForm->ItemsChanged();
        return;
    }
    const std::vector<TfrObject*> Objects = InspectedObjects(Page);
    const bool PageShown = Objects.front() == Page;
    for (TfrObject* O : Objects)
        O->RegisterProperties();

    // Names every object has; records without a kind hold nothing to edit.
    QStringList Names;
    const TfrObject* First = Objects.front();
    for (int i = 0; i < First->PropCount(); ++i) {
        const TfrPropRec& R = First->PropRec(i);
        if (R.PropType == 0 || (Objects.size() > 1 && (R.PropType & PropOneObject)))
            continue;
        // Views of one kind register the same list in the same order, so the
        // record at the same place is nearly always the one; search otherwise.
        const bool Common = std::all_of(Objects.begin(), Objects.end(), [&R, i](const TfrObject* O) {
            return (i < O->PropCount() && O->PropRec(i).PropName == R.PropName) || O->FindPropRec(R.PropName);
        });
        if (Common && !Names.contains(R.PropName))
            Names << R.PropName;
    }
    Names.sort();
    if (PageShown) {
        InspForm->CurObject = Page;
        InspForm->ObjectName = QStringLiteral("Page%1").arg(CurPageIndex() + 1);
    } else if (Objects.size() == 1) {
        auto* V = static_cast<TfrView*>(Objects.front());
        InspForm->CurObject = V;
        InspForm->ObjectName = V->Name();
    }

    PropValues = QStringList(Names.size(), QStringLiteral("-"));
    std::vector<Variant> Values(Names.size());
    for (qsizetype n = 0; n < Names.size(); ++n) {
        const TfrPropRec* R = First->FindPropRec(Names[n]);
        if ((R->PropType & PropHasEditor) && !(R->PropType & PropString)) {
            Values[n] = Variant(u'(' + Names[n] + u')');
            PropValues[n] = Values[n].AsString();
            continue;
        }
        Values[n] = Objects.front()->GetPropValue(Names[n]);
        PropValues[n] = Values[n].AsString();
        // The first object that differs leaves the row empty.
        for (TfrObject* O : Objects)
            if (O != Objects.front() && PropValues[n] != O->GetPropValue(Names[n]).AsString()) {
                Values[n] = Variant();
                PropValues[n].clear();
                break;
            }
    }

    const bool Converted = Units != 0 && Page->PageType == ptReport;
    for (qsizetype n = 0; n < Names.size(); ++n) {
        const TfrPropRec* R = First->FindPropRec(Names[n]);
        uint16_t Kind = R->PropType;
        Variant V = Values[n];
        if (Kind & PropSize) {
            if (!V.IsEmpty())
                V = Converted ? FloatToStrF(ToUnits(V.AsFloat()), TFloatFormat::ffFixed, 4, 2)
                              : FloatToStrF(ToUnits(V.AsFloat()), TFloatFormat::ffGeneral, 4, 0);
            if (Kind == PropSize)
                Kind = Converted ? PropFloat : PropInteger;
        }
        InspForm->AddProperty(Names[n], V, Kind, R->PropEditor, R->EnumNames, R->EnumValues);
    }
    InspForm->ItemsChanged();
}

// ---------------------------------------------------------------- applying

bool TfrDesignerForm::IsValidNewName(const QString& Name) const
{
    if (Name.isEmpty() || !(Name[0].isLetter() || Name[0] == u'_'))
        return false;
    for (const QChar C : Name)
        if (!(C.isLetterOrNumber() || C == u'_'))
            return false;
    return !CurReport->FindObject(Name);
}

namespace {

// The page fields that its layout rows change, to be put back when a value is refused.
auto LayoutFields(TfrPage* P)
{
    return std::tie(P->Size, P->Width, P->Height, P->Orientation, P->UseMargins, P->LeftMargin, P->TopMargin,
                    P->RightMargin, P->BottomMargin, P->ColumnGap, P->Columns);
}

TfrPageLayout LayoutOf(const TfrPage* P)
{
    TfrPageLayout L;
    L.Size = P->Size;
    L.Width = P->Width;
    L.Height = P->Height;
    L.Landscape = P->Orientation == poLandscape;
    L.UseMargins = P->UseMargins != 0;
    L.Margins[0] = P->LeftMargin;
    L.Margins[1] = P->TopMargin;
    L.Margins[2] = P->RightMargin;
    L.Margins[3] = P->BottomMargin;
    L.ColumnGap = P->ColumnGap;
    L.Columns = P->Columns;
    return L;
}

// Whether giving View the value Value (pixels for a position or size) keeps
// it within the limits the designer draws in.
bool KeepsWithinLimits(const TfrView* View, const QString& Name, bool Size, const Variant& Value)
{
    if (Name == u"Columns" && dynamic_cast<const TfrBandView*>(View))
        return Value.AsFloat() >= 0 && Value.AsFloat() <= frMaxBandColumns;
    if (Name == u"GapX" || Name == u"GapY" || Name == u"LineSpacing" || Name == u"CharSpacing")
        return frWithinCoordRange(Value.AsFloat());
    if (!Size)
        return true;
    const double Px = Value.AsFloat();
    double L = View->Left(), T = View->Top(), W = View->Width(), H = View->Height();
    if (Name == u"Left")
        L = Px;
    else if (Name == u"Top")
        T = Px;
    else if (Name == u"Width")
        W = Px;
    else if (Name == u"Height")
        H = Px;
    return frWithinCoordRange(Px) && frWithinCoordRange(L + W) && frWithinCoordRange(T + H);
}

} // namespace

void TfrDesignerForm::ApplyProperty(int Index)
{
    if (!InspForm || !Page)
        return;
    const QString Name = InspForm->GetItemName(Index);
    const QString Text = InspForm->GetItemText(Index);
    Variant Value;
    try {
        Value = InspForm->GetItemValue(Index);
    } catch (const EConvertError&) {
        return;
    }
    const std::vector<TfrObject*> Objects = InspectedObjects(Page);
    const TfrPropRec* Rec = Objects.front()->FindPropRec(Name);
    const bool Size = Rec && (Rec->PropType & PropSize);
    const bool Applied = Objects.front() == Page
                             ? ApplyPageProperty(Name, Text, Size ? Variant(FromUnits(Value.AsFloat())) : Value)
                             : ApplyViewProperty(Objects, Name, Text, Size, Value);
    if (!Applied)
        return;
    UpdatePageTabs();
    if (frInsFieldsForm)
        frInsFieldsForm->RefreshData();
    AfterChange();
}

bool TfrDesignerForm::ApplyPageProperty(const QString& Name, const QString& Text, const Variant& Value)
{
    const bool TypeChange = Name.compare(QStringLiteral("Type"), Qt::CaseInsensitive) == 0;
    if (TypeChange && Page->Count() > 0) {
        if (Application()->MessageBox(LoadEngineString(55436), LoadEngineString(55437), 52) != IDYES) {
            FillInspector();
            return false;
        }
        Page->Clear();
        // The history named views that are gone now.
        ClearUndoBuffer();
        ClearRedoBuffer();
    }
    // A report page takes only the paper, margins and columns its page
    // options would take.
    const auto Before = std::apply([](const auto&... F) { return std::make_tuple(F...); }, LayoutFields(Page));
    try {
        Page->SetPropValue(Name, Value);
    } catch (const Exception&) {
        LayoutFields(Page) = Before;
        frRaiseInvalidValue(Text);
    }
    if (Page->PageType == ptReport && !TypeChange && LayoutFields(Page) != Before) {
        if (const QString Error = frPageLayoutError(LayoutOf(Page)); !Error.isEmpty()) {
            LayoutFields(Page) = Before;
            throw EConvertError(Error);
        }
    }
    SetModified(true);
    Page->ChangePaper(Page->Size, Page->Width, Page->Height, Page->Bin, Page->Orientation);
    const QScopedValueRollback Busy(InspectorBusy, !TypeChange || InspectorBusy);
    SetCurPage(CurPageIndex());
    return true;
}

bool TfrDesignerForm::ApplyViewProperty(const std::vector<TfrObject*>& Objects, const QString& Name,
                                        const QString& Text, bool Size, const Variant& Value)
{
    const bool Rename = Name == u"Name";
    if (Rename && !IsValidNewName(Value.AsString())) {
        FillInspector();
        return false;
    }
    // The value each view takes is checked before the change is recorded,
    // so that a refused value leaves neither a change nor an undo step.
    Variant Pixels = Value;
    try {
        if (Size && Page->PageType == ptReport)
            Pixels = FromUnits(Value.AsFloat());
        for (TfrObject* O : Objects)
            if (!KeepsWithinLimits(static_cast<TfrView*>(O), Name, Size, Pixels))
                frRaiseInvalidValue(Text);
    } catch (const EVariantError&) {
        frRaiseInvalidValue(Text);
    }
    const int64_t Recorded = FUndoBuffer.Added();
    Rename ? RecordRename() : AddUndoAction(acEdit);
    try {
        for (TfrObject* O : Objects) {
            auto* V = static_cast<TfrView*>(O);
            const uint16_t R = V->Restrictions();
            if ((Name == u"Left" || Name == u"Top") && (R & frrfDontMove))
                continue;
            if ((Name == u"Width" || Name == u"Height") && (R & frrfDontSize))
                continue;
            if (Rename) {
                if (R & frrfDontModify)
                    continue;
                for (int i = 0; i < Page->Count(); ++i)
                    if (auto* B = dynamic_cast<TfrBandView*>(Page->Objects(i))) {
                        if (B->ChildBand() == V->Name())
                            B->SetChildBand(Value.AsString());
                        if (B->Master() == V->Name())
                            B->SetMaster(Value.AsString());
                    }
            }
            V->SetPropValue(Name, Pixels);
        }
    } catch (const Exception&) {
        // Whatever a view refused half way, the views go back as they were
        // and the step that recorded them goes with them.
        if (FUndoBuffer.Added() != Recorded)
            DropLastRecord();
        frRaiseInvalidValue(Text);
    }
    PageView->ComputeSelectionBounds();
    return true;
}

// ---------------------------------------------------------------- fields window

void TfrDesignerForm::ShowFieldsWindow(bool Visible)
{
    if (!Visible) {
        delete frInsFieldsForm;
        return;
    }
    if (!frInsFieldsForm) {
        auto* F = new TfrInsFieldsForm(this);
        F->OnHeightChanged = [this](QObject*) { ArrangeToolWindows(); };
        F->show();
    } else {
        frInsFieldsForm->show();
        frInsFieldsForm->Grow();
    }
    frInsFieldsForm->activateWindow();
}

void TfrDesignerForm::ArrangeToolWindows()
{
    TfrInsFieldsForm* F = frInsFieldsForm;
    if (!F || !InspForm || !InspForm->isVisible())
        return;
    const QRect Fr = F->frameGeometry(), In = InspForm->frameGeometry();
    const auto Within = [&Fr](int Y) { return Y >= Fr.top() && Y <= Fr.bottom(); };
    if (!Within(In.top()) && !Within(In.bottom()))
        return;
    const QPoint Origin = ScrollBox1->viewport()->mapToGlobal(QPoint(0, 0));
    const int Top = Origin.y() - 1, Height = ScrollBox1->height() - 2;
    const bool FieldsBelow = Fr.top() > In.top();
    const int FieldsTop = FieldsBelow ? Top + Height - Fr.height() : Top;
    F->move(Fr.left(), FieldsTop);
    const bool Collapsed = InspForm->ClientHeight() < 20;
    const int InspHeight = Collapsed ? 0 : std::max(0, Height - Fr.height());
    InspForm->move(In.left(), FieldsBelow ? Top : Top + Fr.height());
    InspForm->resize(InspForm->width(), InspHeight);
}
