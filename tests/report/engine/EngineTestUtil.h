// Templates built in code over in-memory datasets, and prepared pages as
// text: "page|view@top:text" per printed view, and a trace of the bands as
// they end ("band@top" with the page number).
#pragma once

#include "platform/db/MemDataSet.h"
#include "platform/db/Field.h"
#include "platform/gui/ModalSeam.h"
#include "report/engine/FR_BandView.h"
#include "report/engine/FR_Class.h"
#include "report/engine/FR_DBSet.h"
#include "report/engine/FR_EMFPages.h"
#include "report/engine/FR_Globals.h"
#include "report/engine/FR_MemoView.h"
#include "report/engine/FR_Page.h"
#include "report/engine/FR_SubReportView.h"
#include "report/engine/FR_Band.h"
#include "report/engine/FR_Dict.h"
#include "report/engine/FR_Prepare.h"

#include <QStringList>
#include <gtest/gtest.h>

namespace enginetest {

class TEngineTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Form.setObjectName("Form");
        Report = new TfrReport(&Form);
        Report->SetName("Report1");
        Report->SetShowProgress(false);
        Report->Pages()->Add();
        Page->LeftMargin = 20;
        Page->TopMargin = 10;
        Page->RightMargin = 20;
        Page->BottomMargin = Page->PrnInfo.PaperHeightPx - 310;   // bottom bound 310
        Report->OnEndBand = [this](TfrBand* Band) {
            Trace << QStringLiteral("%1:%2@%3").arg(PageNo + 1).arg(Band->Name).arg(Band->Y);
        };
    }

public:
    // A dataset "Name" with the given rows (cells split at ","): string
    // fields, or integer ones named with ":i"; and its data source "frName".
    TMemDataSet* Data(const QString& Name, const QStringList& Fields, const QStringList& Rows)
    {
        auto* D = new TMemDataSet(&Form);
        D->setObjectName(Name);
        QList<bool> Numeric;
        for (const QString& F : Fields) {
            Numeric << F.endsWith(QStringLiteral(":i"));
            D->FieldDefs()->Add(F.section(u':', 0, 0), Numeric.last() ? ftInteger : ftString, Numeric.last() ? 0 : 40);
        }
        D->Open();
        for (const QString& Row : Rows) {
            QList<Variant> Values;
            const QStringList Cells = Row.split(u',');
            for (int i = 0; i < Fields.size(); ++i)
                Values << (Numeric[i] ? Variant(Cells.value(i).toInt()) : Variant(Cells.value(i)));
            D->AppendRecord(Values);
        }
        D->First();
        auto* Source = new TfrDBDataSet(&Form);
        Source->SetName("fr" + Name);
        Source->SetDataSet(D);
        return D;
    }

    TfrBandView* Band(int Type, const QString& Name, int Top, int Height, const QString& Source = {},
                      TfrPage* On = nullptr)
    {
        auto View = CreateViewByType(gtBand, {});
        auto* B = static_cast<TfrBandView*>(View.get());
        B->SetName(Name);
        B->SetBandType(Type);
        B->SetBounds(0, Top, 700, Height);
        B->SetFormatStr(Source);
        B->SetFlags(0);
        (On ? On : Page)->Add(std::move(View));
        return B;
    }

    TfrMemoView* Memo(const QString& Name, int Top, const QString& Text, int Left = 20, int Height = 18,
                      TfrPage* On = nullptr)
    {
        auto View = CreateViewByType(gtMemo, {});
        auto* M = static_cast<TfrMemoView*>(View.get());
        M->SetName(Name);
        M->SetBounds(Left, Top, 150, Height);
        M->Memo()->SetText(Text);
        M->SetFlags(0);
        (On ? On : Page)->Add(std::move(View));
        return M;
    }

    // Every printed view of every prepared page: "page|name@top:text".
    QStringList Pages() const
    {
        QStringList Out;
        TfrEMFPages* P = Report->EMFPages();
        for (int i = 0; i < P->Count(); ++i) {
            P->ObjectsToPage(i);
            TfrPage* Obj = P->Items(i)->PageObject.get();
            for (int v = 0; Obj && v < Obj->Count(); ++v) {
                TfrView* V = Obj->Objects(v);
                QString Text = V->Memo()->Text();
                Text.remove(QChar(1));
                Text = Text.trimmed().replace(QStringLiteral("\r\n"), QStringLiteral("/"));
                Out << QStringLiteral("%1|%2@%3:%4").arg(i + 1).arg(V->Name()).arg(V->Top()).arg(Text.trimmed());
            }
        }
        return Out;
    }

    // The printed texts in order, joined by blanks.
    std::string Texts() const
    {
        QStringList Out;
        for (const QString& Entry : Pages())
            Out << Entry.section(u':', 1);
        return Out.join(u' ').toStdString();
    }

    // The report's first page, looked up at every use: preparing a report
    // loads it back from its saved form, which makes its pages and views anew.
    struct TFirstPage
    {
        TfrReport* const* Report;
        TfrPage* operator->() const { return (*Report)->Pages()->Pages(0); }
        operator TfrPage*() const { return operator->(); }
    };

    QObject Form;
    TfrReport* Report = nullptr;
    TFirstPage Page{&Report};
    QStringList Trace;
};

} // namespace enginetest
