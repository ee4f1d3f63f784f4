#include "report/engine/FR_DBFields.h"

#include "platform/db/DataSet.h"
#include "platform/rtl/Classes.h"
#include "report/engine/FR_Class.h"
#include "report/engine/FR_DBSet.h"
#include "report/engine/FR_Globals.h"
#include "report/engine/FR_Page.h"
#include "report/engine/FR_Utils.h"

std::function<int(const TfrBand* Band)> frBandType;
std::function<TfrDataset*(const TfrBand* Band)> frBandDataSource;

namespace {

QObject* ReportOwner()
{
    return CurReport ? CurReport->parent() : nullptr;
}

// Cut at each point; a part that begins with a double quote takes the rest.
QStringList SplitPath(const QString& Text)
{
    QStringList Parts;
    QString Rest = Text;
    for (;;) {
        const qsizetype Point = Rest.startsWith(u'"') ? -1 : Rest.indexOf(u'.');
        if (Point < 0) {
            Parts << Rest;
            return Parts;
        }
        Parts << Rest.left(Point);
        Rest = Rest.mid(Point + 1);
    }
}

} // namespace

TfrDataset* FindDataSource(const QString& Name, std::unique_ptr<TfrDataset>& Owned)
{
    Owned.reset();
    if (!Name.isEmpty() && Name[0] >= u'1' && Name[0] <= u'9') {
        auto Rows = std::make_unique<TdaZeveDataset>();
        Rows->SetRangeEnd(reCount);
        Rows->SetRangeEndCount(StrToInt(Name));
        Owned = std::move(Rows);
        return Owned.get();
    }
    return qobject_cast<TfrDataset*>(FindComponentByPath(ReportOwner(), Name));
}

TfrDataset* GetDataSource(const QString& Name, std::unique_ptr<TfrDataset>& Owned)
{
    TfrDataset* Source = FindDataSource(Name, Owned);
    if (Source)
        Source->Init();
    return Source;
}

int DefaultDataBandType(int BandType)
{
    if ((BandType >= 0 && BandType <= 6) || BandType == 16 || BandType == 17)
        return 5;
    if (BandType == 8 || BandType == 9)
        return 8;
    if (BandType == 11 || BandType == 12)
        return 11;
    if (BandType == 19 || BandType == 20)
        return 19;
    return -1;
}

TDataSet* GetDefaultDataSet()
{
    TfrDataset* Source = CurReport ? CurReport->Dataset() : nullptr;
    if (CurBand && CurPage && CurPage->PageType == ptReport && frBandType && frBandDataSource) {
        const int Type = DefaultDataBandType(frBandType(CurBand));
        if (Type >= 0) {
            const TfrBand* Band = CurPage->Bands[Type];
            Source = Band ? frBandDataSource(Band) : nullptr;
        }
    }
    auto* DB = qobject_cast<TfrDBDataSet*>(Source);
    return DB ? DB->GetDataSet() : nullptr;
}

Variant GetFieldValue(TField* Field)
{
    TDataSet* D = Field->DataSet();
    if (D && !D->Active())
        D->Open();
    if (Field->Lookup())
        return Field->DisplayText();
    if (!Field->IsNull())
        return Field->AsVariant();
    if (IsStringFieldType(Field->DataType()))
        return QString();
    if (Field->DataType() == ftBoolean)
        return false;
    return 0;
}

void GetDataSetAndField(const QString& Text, TDataSet*& DataSet, QString& FieldName)
{
    const QStringList Parts = SplitPath(Text);
    FieldName.clear();
    QString Field;
    switch (Parts.size()) {
    case 1:
        Field = Text;
        break;
    case 2:
    case 3:
    case 4:
        DataSet = qobject_cast<TDataSet*>(
            FindComponentByPath(ReportOwner(), QStringList(Parts.begin(), Parts.end() - 1).join(u'.')));
        Field = Parts.last();
        break;
    default:
        DataSet = nullptr;
        return;
    }
    Field = StripQuotes(Field);
    if (!DataSet)
        return;
    TStringList Names;
    GetDataSetFieldNames(DataSet, Names);
    if (Names.IndexOf(Field) >= 0)
        FieldName = Field;
}

bool FieldIsNull(const QString& Name)
{
    TDataSet* DataSet = CurReport && CurReport->UseDefaultDataSetName() ? GetDefaultDataSet() : nullptr;
    QString FieldName;
    GetDataSetAndField(Name, DataSet, FieldName);
    if (!DataSet || FieldName.isEmpty())
        return true;
    if (!DataSet->Active())
        DataSet->Open();
    return DataSet->FieldByName(FieldName)->IsNull();
}

void GetDataSetFieldNames(TDataSet* DataSet, TStrings& List)
{
    if (!DataSet)
        return;
    try {
        if (DataSet->FieldCount() > 0) {
            DataSet->GetFieldNames(&List);
            return;
        }
        TStringList Names;
        const TFieldDefs* Defs = DataSet->FieldDefs();
        for (int i = 0; i < Defs->Count(); ++i)
            Names.Add(Defs->Items(i).Name);
        List.Assign(Names);
    } catch (const Exception&) {
        // The list stays as it was.
    }
}

TBookmark frGetBookmark(TDataSet* DataSet)
{
    return DataSet->GetBookmark();
}

void frGotoBookmark(TDataSet* DataSet, const TBookmark& Bookmark)
{
    DataSet->GotoBookmark(Bookmark);
}

void frFreeBookmark(TDataSet* DataSet, TBookmark& Bookmark)
{
    DataSet->FreeBookmark(Bookmark);
}

bool frIsBookmarksEqual(TDataSet* DataSet, const TBookmark& A, const TBookmark& B)
{
    return DataSet->CompareBookmarks(A, B) == 0;
}
