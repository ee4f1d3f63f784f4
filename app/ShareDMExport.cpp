// TShareDataModule: the spreadsheet export of the query lists.
#include "app/ShareDM.h"

#include "app/PublicFunction.h"
#include "app/XlsxWriter.h"
#include "grid/DBGridEh.h"
#include "platform/db/DataSet.h"
#include "platform/db/DataSource.h"
#include "platform/db/Field.h"
#include "platform/gui/Screen.h"
#include "platform/gui/Shell.h"
#include "platform/rtl/Classes.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

namespace {

bool IsDateField(const TField* Field)
{
    const TFieldType T = Field->DataType();
    return T == ftDate || T == ftTime || T == ftDateTime;
}

bool IsNumberField(const TField* Field)
{
    switch (Field->DataType()) {
    case ftSmallint: case ftInteger: case ftWord: case ftFloat: case ftCurrency: case ftBCD: case ftAutoInc:
    case ftLargeint:
        return true;
    default:
        return false;
    }
}

// One cell of a data row, as the column shows it.
void WriteCell(TXlsxWriter& Sheet, int Row, int Col, TColumnEh* Column)
{
    TField* Field = Column->Field();
    if (!Field || Field->IsNull())
        return;
    const QString Text = Field->Text();
    const int Key = Column->KeyList()->Count() > 0 ? Column->KeyList()->IndexOf(Text) : -1;
    if (Key >= 0 && Key < Column->PickList()->Count())
        Sheet.WriteString(Row, Col, Column->PickList()->Strings(Key));
    else if (IsDateField(Field)) {
        if (!Text.isEmpty())
            Sheet.WriteDateTime(Row, Col, Field->AsDateTime(), Text.size() > 10);
    } else if (IsNumberField(Field))
        Sheet.WriteNumber(Row, Col, Field->AsFloat());
    else
        Sheet.WriteString(Row, Col, Text);
}

// A free name beside the others of the same second.
QString FreeName(const QString& Folder, const QString& Stem)
{
    QString Name = Folder + u'/' + Stem + QStringLiteral(".xlsx");
    for (int N = 2; QFile::exists(Name); ++N)
        Name = Folder + u'/' + Stem + QStringLiteral("(%1).xlsx").arg(N);
    return Name;
}

} // namespace

void TShareDataModule::ExportGridToExcel(TDBGridEh* Grid)
{
    TDataSet* Data = Grid->DataSource() ? Grid->DataSource()->DataSet() : nullptr;
    if (!Data || !Data->Active())
        return;
    const int Rows = Data->RecordCount();
    if (Rows > TXlsxWriter::MaxRows - 3) {
        ShowMessage(QStringLiteral("列表超过%1行，无法导出到Excel").arg(TXlsxWriter::MaxRows - 3));
        return;
    }
    QString Folder = ExportFolder.isEmpty() ? QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)
                                            : ExportFolder;
    // The documents folder is named even on a desktop that never made it.
    if (!QDir().mkpath(Folder))
        Folder = QDir::homePath();
    const QString Stem = (Grid->objectName() == QStringLiteral("DBGridEh1") ? QStringLiteral("财务报表")
                                                                           : QStringLiteral("业务报表"))
                         + u'-' + FormatDateTime(QStringLiteral("yyyymmdd-hhnnss"), Now());
    const QString Partial = Folder + QStringLiteral("/~") + Stem + QStringLiteral(".xlsx.part");

    Screen()->SetCursor(crAppStart);
    bool Written = false;
    {
        TXlsxWriter Sheet(Partial);
        Sheet.WriteString(0, 0, QStringLiteral("日期:") + FormatDateTime(QStringLiteral("yyyy\"年\"mm\"月\"dd\"日\""), Now()));
        QList<TColumnEh*> Visible;
        for (int I = 0; I < Grid->Columns()->Count(); ++I)
            if (Grid->Columns(I)->Visible())
                Visible << Grid->Columns(I);
        for (int C = 0; C < Visible.size(); ++C)
            Sheet.WriteString(2, C, Visible[C]->Title()->Caption());
        // The rows are walked out of the grid's sight; it is put back where it was.
        const TBookmark Here = Data->GetBookmark();
        Data->DisableControls();
        try {
            int Row = 3;
            for (Data->First(); !Data->Eof(); Data->Next(), ++Row)
                for (int C = 0; C < Visible.size(); ++C)
                    WriteCell(Sheet, Row, C, Visible[C]);
        } catch (...) {
            if (Data->BookmarkValid(Here))
                Data->GotoBookmark(Here);
            Data->EnableControls();
            Screen()->SetCursor(crDefault);
            QFile::remove(Partial);
            throw;
        }
        if (Data->BookmarkValid(Here))
            Data->GotoBookmark(Here);
        Data->EnableControls();
        Written = Sheet.Close();
    }
    const QString FileName = FreeName(Folder, Stem);
    if (!Written || !QFile::rename(Partial, FileName)) {
        QFile::remove(Partial);
        Screen()->SetCursor(crDefault);
        ShowMessage(QStringLiteral("建立Excel文件不成功，请重试!") + u'\n' + FileName);
        return;
    }
    Screen()->SetCursor(crDefault);
    if (!ShellOpen(FileName))
        ShowMessage(QStringLiteral("Excel文件已保存在：") + FileName);
}
