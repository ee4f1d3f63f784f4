#include "app/ListGrid.h"

#include "grid/DBGridEh.h"
#include "grid/DBSumLst.h"

TDBGridEh* NewListGrid(QWidget* Parent, const char* Name, const QRect& Bounds, TDataSource* Source,
                       std::initializer_list<TListColumn> Columns, bool Footer, TListCells Cells)
{
    auto* Grid = new TDBGridEh(Parent);
    Grid->setObjectName(QString::fromLatin1(Name));
    Grid->setGeometry(Bounds);
    Grid->SetReadOnly(true);
    Grid->SetOptions(Grid->Options() << dgRowSelect);
    if (Footer) {
        Grid->SetFooterRowCount(1);
        Grid->SumList()->SetActive(true);
    }
    for (const TListColumn& C : Columns) {
        TColumnEh* Column = Grid->Columns()->Add();
        Column->SetFieldName(QString::fromLatin1(C.Field));
        Column->Title()->SetCaption(QString::fromUtf8(C.Title));
        Column->Title()->SetAlignment(taCenter);
        if (Cells == TListCells::Centred)
            Column->SetAlignment(taCenter);
        Column->SetWidth(C.Width);
    }
    Grid->SetDataSource(Source);
    return Grid;
}
