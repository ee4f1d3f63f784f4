// The read-only lists of the business windows: whole rows selected, titles
// centred, and with footers the sum list kept on.
#pragma once

#include <QRect>
#include <initializer_list>

class QWidget;
class TDataSource;
class TDBGridEh;

struct TListColumn
{
    const char* Field;
    const char* Title; // UTF-8
    int Width;
};

enum class TListCells { Default, Centred };

TDBGridEh* NewListGrid(QWidget* Parent, const char* Name, const QRect& Bounds, TDataSource* Source,
                       std::initializer_list<TListColumn> Columns, bool Footer,
                       TListCells Cells = TListCells::Default);
