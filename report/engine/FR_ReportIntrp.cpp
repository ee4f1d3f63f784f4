#include "report/engine/FR_ReportIntrp.h"

#include "platform/gui/Forms.h"
#include "report/engine/FR_Band.h"
#include "report/engine/FR_BandView.h"
#include "report/engine/FR_Class.h"
#include "report/engine/FR_Dict.h"
#include "report/engine/FR_Globals.h"
#include "report/engine/FR_Page.h"
#include "report/engine/FR_Pars.h"
#include "report/engine/FR_Prepare.h"
#include "report/engine/FR_Progress.h"
#include "report/engine/FR_Variables.h"
#include "report/engine/FR_View.h"

#include <QCoreApplication>
#include <QLabel>

void GetObjectAndProperty(const QString& Name, TfrObject*& Obj, QString& Prop)
{
    Obj = CurView;
    Prop = Name;
    const int Dot = static_cast<int>(Name.indexOf(u'.'));
    if (Dot >= 0) {
        const QString Left = Name.left(Dot);
        const QString Right = Name.mid(Dot + 1);
        const QString Upper = Left.toUpper();
        if (Upper.startsWith(QLatin1String("PAGE")) && Left.size() > 4 && Left[4].isDigit()) {
            bool Ok = false;
            const int Number = Left.mid(4).toInt(&Ok);
            TfrPages* Pages = CurReport ? CurReport->Pages() : nullptr;
            Obj = Ok && Pages && Number >= 1 && Number <= Pages->Count() ? Pages->Pages(Number - 1)
                                                                          : nullptr;
            Prop = Right;
        } else {
            Obj = CurReport ? CurReport->FindObject(Left) : nullptr;
            Prop = Right;
            if (!Obj) {
                if (CurView && CurView->FindPropRec(Left)) {
                    Obj = CurView;
                    Prop = Name;
                }
            }
        }
    }
    if (Obj && Obj->PropCount() == 0)
        Obj->RegisterProperties();
}

void TInterpretator::GetValue(const QString& Name, Variant& Value)
{
    TfrParser& Parser = frParser();
    if (Parser.OnGetValue)
        Parser.OnGetValue(&Parser, Name, Value);
}

void TInterpretator::DoFunction(const QString& Name, const Variant& P1, const Variant& P2,
                                const Variant& P3, Variant& Value)
{
    TfrParser& Parser = frParser();
    if (Parser.OnFunction)
        Parser.OnFunction(&Parser, Name, P1, P2, P3, Value);
}

void TInterpretator::SetValue(const QString& Name, const Variant& Value)
{
    TfrVariables& Globals = frVariables();
    if (Globals.IndexOf(Name) >= 0) {
        Globals.SetVariable(Name, Value);
        return;
    }
    if (CurReport && CurReport->Dictionary()->Variables.IndexOf(Name) >= 0) {
        CurReport->Dictionary()->Variables.SetVariable(Name, Value);
        return;
    }
    const QString Upper = Name.toUpper();
    if (Upper == u"MODALRESULT") {
        if (CurPage && CurPage->PageType == ptDialog && CurPage->Form)
            CurPage->Form->SetModalResult(static_cast<int>(Value.AsInteger()));
        return;
    }
    if (Upper == u"CURY") {
        if (frAskingFor)
            return;
        if (CurPage)
            CurPage->CurY = static_cast<int>(Value.AsInteger());
        // Breaks the script asked for come after it; the band keeps this Y
        // across them.
        if (CurBand && (CurBand->NewPagesRequested > 0 || CurBand->NewColumnsRequested > 0))
            CurBand->KeepY = true;
        return;
    }
    if (Upper == u"PROGRESS") {
        if (frAskingFor)
            return;
        frProgressForm()->Label2->setText(VarToStr(Value));
        QCoreApplication::processEvents();
        return;
    }
    TfrObject* Obj = nullptr;
    QString Prop;
    GetObjectAndProperty(Name, Obj, Prop);
    if (Obj && Obj->FindPropRec(Prop)) {
        // A script asked ahead sets the source it is asked for and nothing else.
        if (!frAskingFor || (Obj == frAskingFor->View && Prop.compare(u"DataSource", Qt::CaseInsensitive) == 0))
            Obj->SetPropValue(Prop, Value);
        return;
    }
    Globals.SetVariable(Name, Value);
}

bool TInterpretator::Terminated()
{
    return (CurReport && CurReport->Terminated()) || (MasterReport && MasterReport->Terminated());
}
