// The "Insert DB fields" tool: memo views for fields of one dataset, with
// optional header memos and bands, laid out across or down the page.
#include "report/designer/FR_Desgn.h"

#include "platform/db/DataSet.h"
#include "platform/db/Field.h"
#include "report/designer/FR_DsgPage.h"
#include "report/designer/FR_IFlds.h"
#include "report/engine/FR_BandView.h"
#include "report/engine/FR_Class.h"
#include "report/engine/FR_DBSet.h"
#include "report/engine/FR_Dict.h"
#include "report/engine/FR_Globals.h"
#include "report/engine/FR_MemoView.h"
#include "report/engine/FR_Page.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QListWidget>
#include <QRadioButton>
#include <cmath>

namespace {

int TextWidthIn(const TFont* Font, const QString& Text)
{
    return QFontMetrics(Font->ToQFont()).horizontalAdvance(Text);
}

// The report adapter that reads Data: first beside it, then anywhere in the
// program's windows.
TfrDBDataSet* AdapterOf(const QObject* Data)
{
    QList<QObject*> Roots;
    if (Data->parent())
        Roots << Data->parent();
    for (QWidget* W : QApplication::topLevelWidgets())
        Roots << W;
    for (QObject* Root : Roots)
        for (TfrDBDataSet* A : Root->findChildren<TfrDBDataSet*>())
            if (A->DataSet() == Data)
                return A;
    return nullptr;
}

// The band's data source: the adapter's name, with its owner's in front when
// it lives elsewhere than the report's owner; empty without an adapter.
QString DataSourceName(const QObject* Data)
{
    const TfrDBDataSet* Adapter = AdapterOf(Data);
    if (!Adapter)
        return QString();
    const QObject* Owner = Adapter->parent();
    if (!Owner || Owner == CurReport->parent() || Owner->objectName().isEmpty())
        return Adapter->objectName();
    return Owner->objectName() + u'.' + Adapter->objectName();
}

} // namespace

void TfrDesignerForm::InsFieldsClick()
{
    if (!Page || CurPageType() != ptReport)
        return;
    TfrInsertFieldsForm F;
    if (F.ShowModal() != mrOk || !F.DataSet())
        return;
    QStringList Listed;
    for (int i = 0; i < F.FieldsL->count(); ++i)
        if (F.FieldsL->item(i)->isSelected())
            Listed << F.FieldsL->item(i)->text();
    if (Listed.isEmpty())
        return;
    const bool Horz = F.HorzRB->isChecked(), Headers = F.HeaderCB->isChecked();
    const QString DataSetName = F.DatasetCB->currentText();
    TfrDataDictionary* Dict = CurReport->Dictionary();
    auto* Data = dynamic_cast<TDataSet*>(F.DataSet());

    UnselectAll();
    const int Left = Page->GetLeftBound(), Top = Page->GetTopBound();
    int X = Left, Y = Top;
    const QSize Size = PageView->DefaultInsertSize();
    const auto NewMemo = [&](int AX, int AY, const QString& Text) {
        auto View = CreateViewByType(gtMemo, QString());
        auto* M = static_cast<TfrMemoView*>(View.get());
        M->CreateUniqueName();
        M->SetBounds(AX, AY, Size.width(), Size.height());
        if (!frLastUsed.FontName.isEmpty())
            M->Font()->SetName(frLastUsed.FontName);
        M->Font()->SetSize(frLastUsed.FontSize);
        M->Memo()->Add(Text);
        Page->Add(std::move(View));
        SetViewSelected(M, true);
        return M;
    };
    std::vector<TfrMemoView*> HeaderMemos, FieldMemos;
    for (const QString& Name : Listed) {
        QString Real = Dict->GetRealDataSetName(Name);
        Real = Real != Name ? Real.mid(Real.lastIndexOf(u'.') + 1) : Name;
        const TField* Field = Data ? Data->FindField(Real) : nullptr;
        int Chars = Field ? Field->DisplayWidth() : 0;
        if (Chars == 0 || Chars >= 256)
            Chars = 6;
        int FX = X, FY = Y, HeaderWidth = 0;
        if (Headers) {
            TfrMemoView* H = NewMemo(X, Y, Field ? Field->DisplayLabel() : Name);
            H->Font()->SetStyle(TFontStyles{TFontStyle::fsBold});
            HeaderWidth = GridSizeX * (TextWidthIn(H->Font(), H->Memo()->Strings(0) + QStringLiteral("   ")) / GridSizeX);
            H->SetWidth(HeaderWidth);
            HeaderMemos.push_back(H);
            if (Horz)
                FY = Y + 72;
            else
                FX = X + 2 * GridSizeX + HeaderWidth;
        }
        TfrMemoView* M = NewMemo(FX, FY, u'[' + DataSetName + QStringLiteral(".\"") + Name + QStringLiteral("\"]"));
        M->SetWidth(GridSizeX * (TextWidthIn(M->Font(), QStringLiteral("=")) * Chars / GridSizeX));
        FieldMemos.push_back(M);
        if (Horz)
            X += GridSizeX + std::max(M->Width(), HeaderWidth);
        else
            Y += GridSizeY + M->Height();
    }

    // Across the page: what does not fit is narrowed in proportion.
    const int Usable = Page->GetRightBound() - Left;
    if (Horz && !FieldMemos.empty()) {
        const int Needed = FieldMemos.back()->Left() + FieldMemos.back()->Width() - Left;
        if (Needed > Usable && Needed > 0) {
            const double Scale = static_cast<double>(Usable) / Needed;
            for (size_t i = 0; i < FieldMemos.size(); ++i) {
                TfrMemoView* M = FieldMemos[i];
                M->SetLeft(Left + static_cast<int>(std::nearbyint((M->Left() - Left) * Scale)));
                M->SetWidth(static_cast<int>(std::nearbyint(M->Width() * Scale)));
                if (i < HeaderMemos.size()) {
                    TfrMemoView* H = HeaderMemos[i];
                    H->SetLeft(Left + static_cast<int>(std::nearbyint((H->Left() - Left) * Scale)));
                    H->SetWidth(std::min(H->Width(), M->Width()));
                }
            }
        }
    }

    if (F.BandCB->isChecked()) {
        const auto NewBand = [&](int BandType, int BTop, int Height) {
            auto View = CreateViewByType(gtBand, QString());
            auto* B = static_cast<TfrBandView*>(View.get());
            B->SetBandType(BandType);
            B->CreateUniqueName();
            B->SetBounds(0, BTop, Page->PrnInfo.PaperWidthPx, Height);
            Page->Add(std::move(View));
            return B;
        };
        int Bottom = Top;
        for (TfrMemoView* M : FieldMemos)
            Bottom = std::max(Bottom, M->Top() + M->Height());
        TfrBandView* Master = nullptr;
        if (Headers && Horz) {
            if (!PageHasBandType(btPageHeader))
                NewBand(btPageHeader, Top, HeaderMemos.front()->Height());
            Master = NewBand(btMasterData, Top + 72, Bottom - Top - 72);
        } else {
            Master = NewBand(btMasterData, Top, Bottom - Top);
        }
        Master->SetFormatStr(DataSourceName(F.DataSet()));
        ReorderBands(Page);
    }
    SelectionChanged();
    RedrawPage();
    AddUndoAction(acInsert);
}
