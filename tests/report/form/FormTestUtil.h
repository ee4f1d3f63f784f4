// Shared helpers of the report form tests: golden file paths, a compact text
// rendering of a loaded report, and recording of the engine's messages.
#pragma once

#include "platform/gui/ModalSeam.h"
#include "platform/rtl/Classes.h"
#include "platform/rtl/Streams.h"
#include "report/engine/FR_BandView.h"
#include "report/engine/FR_Class.h"
#include "report/engine/FR_Dict.h"
#include "report/engine/FR_Globals.h"
#include "report/engine/FR_LineView.h"
#include "report/engine/FR_MemoView.h"
#include "report/engine/FR_Page.h"
#include "report/engine/FR_PictureView.h"
#include "report/engine/FR_SubReportView.h"

#include <QFile>
#include <gtest/gtest.h>
#include <QStringList>

namespace formtest {

inline QString Golden(const QString& Name)
{
    return QStringLiteral(TB_TEST_DATA "/form/") + Name;
}

inline QByteArray ReadGolden(const QString& Name)
{
    QFile File(Golden(Name));
    if (!File.open(QIODevice::ReadOnly))
        return {};
    return File.readAll();
}

inline QString Lines(const TStrings& List)
{
    return List.ToStringList().join(u'|');
}

inline QString DescribeView(TfrView* V)
{
    QString S = QStringLiteral("%1 %2 #%3 @%4,%5,%6,%7 fl=%8 fr=%9/%10/%11/%12 fill=%13")
                    .arg(V->ClassName(), V->Name())
                    .arg(V->ObjectType())
                    .arg(V->Left()).arg(V->Top()).arg(V->Width()).arg(V->Height())
                    .arg(V->Flags()).arg(V->FrameTyp()).arg(V->FrameWidth())
                    .arg(V->FrameColor(), 0, 16).arg(V->FrameStyle())
                    .arg(V->FillColor(), 0, 16);
    S += QStringLiteral(" fmt=%1 '%2' memo=%3 script=%4 vis=%5 restr=%6 tag=%7 gap=%8,%9 ba=%10")
             .arg(V->Format(), 0, 16).arg(V->FormatStr(), Lines(*V->Memo()), Lines(*V->Script()))
             .arg(V->Visible()).arg(V->Restrictions()).arg(V->Tag())
             .arg(V->GapX()).arg(V->GapY()).arg(V->BandAlign());
    if (auto* M = dynamic_cast<TfrMemoView*>(V)) {
        const TFont* F = M->Font();
        S += QStringLiteral(" font=%1/%2/%3/%4/%5 al=%6 hl=%7/%8/%9 '%10' sp=%11,%12")
                 .arg(F->Name()).arg(F->Size()).arg(GetFontStyleBits(F->Style()))
                 .arg(static_cast<uint32_t>(F->Color()), 0, 16).arg(F->Charset()).arg(M->Alignment())
                 .arg(M->Highlight().FontStyle).arg(M->Highlight().FontColor, 0, 16)
                 .arg(M->Highlight().FillColor, 0, 16).arg(M->HighlightCondition())
                 .arg(M->LineSpacing()).arg(M->CharSpacing());
    } else if (auto* B = dynamic_cast<TfrBandView*>(V)) {
        S += QStringLiteral(" band=%1 child=%2 cols=%3,%4,%5,%6 master=%7")
                 .arg(B->BandType()).arg(B->ChildBand()).arg(B->Columns()).arg(B->ColumnWidth())
                 .arg(B->ColumnGap()).arg(B->NewColumnAfter()).arg(B->Master());
    } else if (auto* P = dynamic_cast<TfrPictureView*>(V)) {
        S += QStringLiteral(" pict=%1/%2 blob=%3")
                 .arg(P->Picture()->Kind()).arg(P->Picture()->Data().size()).arg(P->BlobType());
    } else if (auto* R = dynamic_cast<TfrSubReportView*>(V)) {
        S += QStringLiteral(" sub=%1").arg(R->SubPage());
    }
    return S;
}

inline QString DescribePage(TfrPage* P)
{
    return QStringLiteral("page %1 type=%2 paper=%3/%4x%5 o=%6 bin=%7 m=%8,%9,%10,%11 prev=%12 um=%13"
                          " cols=%14 gap=%15 border=%16 caption=%17 color=%18 form=%19,%20,%21,%22"
                          " pos=%23 script=%24")
        .arg(P->Name).arg(P->PageType).arg(P->Size).arg(P->Width).arg(P->Height)
        .arg(P->Orientation).arg(P->Bin)
        .arg(P->LeftMargin).arg(P->TopMargin).arg(P->RightMargin).arg(P->BottomMargin)
        .arg(P->PrintToPrevPage).arg(P->UseMargins).arg(P->Columns).arg(P->ColumnGap)
        .arg(P->BorderStyle).arg(P->Caption).arg(P->Color, 0, 16)
        .arg(P->FormLeft).arg(P->FormTop).arg(P->FormWidth).arg(P->FormHeight)
        .arg(P->Position).arg(Lines(P->Script));
}

inline QString DescribeDict(const TfrVariables& L)
{
    QStringList Items;
    for (int i = 0; i < L.Count(); ++i)
        Items << L.GetName(i) + u'=' + L.GetValue(i).AsString();
    return Items.join(u';');
}

// Every page, view, dictionary list and the information block, one per line.
inline QStringList Describe(TfrReport& R)
{
    QStringList Out;
    Out << QStringLiteral("printer=%1 default=%2 double=%3")
               .arg(R.PrinterName()).arg(R.PrintToDefault()).arg(R.DoublePass());
    for (int i = 0; i < R.Pages()->Count(); ++i) {
        TfrPage* P = R.Pages()->Pages(i);
        Out << DescribePage(P);
        for (int k = 0; k < P->Count(); ++k)
            Out << QStringLiteral("  ") + DescribeView(P->Objects(k));
    }
    TfrDataDictionary* D = R.Dictionary();
    Out << QStringLiteral("vars=") + DescribeDict(D->Variables);
    Out << QStringLiteral("fields=") + DescribeDict(D->FieldAliases);
    Out << QStringLiteral("sources=") + DescribeDict(D->BandDataSourceAliases);
    Out << QStringLiteral("info=%1|%2|%3|%4.%5.%6.%7 pw=%8 prot=%9 mark=%10")
               .arg(R.ReportComment, R.ReportName, R.ReportAutor, R.ReportVersionMajor,
                    R.ReportVersionMinor, R.ReportVersionRelease, R.ReportVersionBuild,
                    R.ReportPassword)
               .arg(R.ReportPasswordProtected).arg(R.ReportMark);
    return Out;
}

// Records the engine's messages ("Caption:Text") for the lifetime of the
// object and answers the password question with a fixed text (or cancels).
class TMessageRecorder
{
public:
    TMessageRecorder()
        : FHandlers(nullptr, [this](const TMessageRequest& Message) {
              Messages << Message.Caption + u':' + Message.Text;
              EXPECT_EQ(Message.Icon, miError);
              return mrOk;
          })
    {
        frPasswordQuery = [this](QString& Password) {
            ++PasswordAsked;
            if (!AnswerPassword)
                return false;
            Password = this->Password;
            return true;
        };
    }
    ~TMessageRecorder()
    {
        frPasswordQuery = nullptr;
    }
    QStringList Messages;
    bool AnswerPassword = false;
    QString Password;
    int PasswordAsked = 0;

private:
    TModalHandlers FHandlers;
};

} // namespace formtest
