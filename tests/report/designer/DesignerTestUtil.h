// A designer window on a report made in code: pages from short texts
// ("Memo1 10,10 96x20 sel", "Band1 band 0,40 600x40", "Line1 line 0,0 40x0",
// "Stamp1 addin 0,0 80x24" of the first registered add-in),
// mouse gestures from event texts ("D 10,10; M 14,10 Alt; U 30,10") and the
// page read back as text.
#pragma once

#include "platform/gui/InputBox.h"
#include "platform/gui/ModalSeam.h"
#include "platform/rtl/IniFiles.h"
#include "report/designer/FR_Desgn.h"
#include "report/designer/FR_DsgPage.h"
#include "report/engine/FR_BandView.h"
#include "report/engine/FR_Class.h"
#include "report/engine/FR_Globals.h"
#include "report/engine/FR_Page.h"
#include "TestText.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>
#include <ostream>

namespace designertest {

class TDesignerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // Settings go to a folder of the test's own.
        TRegIniFile::SetStorageFolder(Settings.path());
        frRegisterDesigner();
        CurReport = &Report;
        Report.Pages()->Add();
    }
    void TearDown() override
    {
        Designer.reset();
        CurReport = nullptr;
        CurPage = nullptr;
        frUnregisterDesigner();
        TRegIniFile::SetStorageFolder(QString());
    }

    // Opens the window on the report as the engine does, without a loop.
    void Open(uint8_t Flag = 1)
    {
        Designer = std::make_unique<TfrDesignerForm>(Flag);
        frDesigner = Designer.get();
        Designer->resize(900, 640);
        Designer->FormShow();
    }

    TfrPage* Page() const { return Report.Pages()->Pages(0); }

    // Views on the designer's current page.
    void Build(const QString& Text)
    {
        for (const QString& Item : Text.split(u';', Qt::SkipEmptyParts)) {
            const QStringList F = Item.simplified().split(u' ');
            const bool Band = F.contains(QStringLiteral("band")), Line = F.contains(QStringLiteral("line"));
            const bool AddIn = F.contains(QStringLiteral("addin")), Pic = F.contains(QStringLiteral("pic"));
            auto V = AddIn ? CreateViewByType(gtAddIn, frAddIns.at(0).ClassName)
                           : CreateViewByType(Band ? gtBand : Line ? gtLine : Pic ? gtPicture : gtMemo, QString());
            V->SetName(F[0]);
            const bool Kind = Band || Line || AddIn || Pic;
            const QStringList Pos = F[Kind ? 2 : 1].split(u','), Size = F[Kind ? 3 : 2].split(u'x');
            V->SetBounds(Pos[0].toInt(), Pos[1].toInt(), Size[0].toInt(), Size[1].toInt());
            if (F.contains(QStringLiteral("sel"))) {
                V->SetSelected(true);
                ++SelCount;
            }
            for (const QString& W : F)
                if (W.startsWith(QStringLiteral("r")) && W.size() > 1 && W[1].isDigit())
                    V->SetRestrictions(static_cast<uint16_t>(W.mid(1).toInt()));
                else if (auto* B = dynamic_cast<TfrBandView*>(V.get()); B && W.startsWith(QStringLiteral("bt")))
                    B->SetBandType(W.mid(2).toInt());
                else if (B && W.startsWith(QStringLiteral("child=")))
                    B->SetChildBand(W.mid(6));
                else if (W.startsWith(QStringLiteral("text=")))
                    V->Memo()->Add(W.mid(5));
            Designer->Page->Add(std::move(V));
        }
        Designer->PageView->ComputeSelectionBounds();
        Designer->RedrawPage();
    }

    // "D x,y", "M x,y", "U x,y", each optionally followed by Alt, Shift or Ctrl.
    void Run(const QString& Events)
    {
        TfrDesignerPage* P = Designer->PageView;
        for (const QString& E : Events.split(u';', Qt::SkipEmptyParts)) {
            const QStringList F = E.simplified().split(u' ');
            const QStringList XY = F[1].split(u',');
            const int X = XY[0].toInt(), Y = XY[1].toInt();
            TShiftState Shift;
            if (F.contains(QStringLiteral("Alt")))
                Shift << ssAlt;
            if (F.contains(QStringLiteral("Shift")))
                Shift << ssShift;
            if (F.contains(QStringLiteral("Ctrl")))
                Shift << ssCtrl;
            if (F[0] == u"D")
                P->MouseDown(mbLeft, Shift << ssLeft, X, Y);
            else if (F[0] == u"R")
                P->MouseDown(mbRight, Shift << ssRight, X, Y);
            else if (F[0] == u"M")
                P->MouseMove(P->Down ? Shift << ssLeft : Shift, X, Y);
            else if (F[0] == u"U")
                P->MouseUp(mbLeft, Shift, X, Y);
        }
    }

    QString PageText() const
    {
        QStringList L;
        for (int i = 0; i < Page()->Count(); ++i) {
            const TfrView* V = Page()->Objects(i);
            L << QStringLiteral("%1 %2,%3 %4x%5%6").arg(V->Name()).arg(V->Left()).arg(V->Top()).arg(V->Width())
                     .arg(V->Height()).arg(V->Selected() ? QStringLiteral(" sel") : QString());
        }
        return L.join(QStringLiteral("; "));
    }

    // The undo records: kind and the names of the views each covers.
    QString Records() const
    {
        QStringList L;
        const TfrUndoBuffer& B = Designer->UndoBuffer();
        for (int r = 0; r < B.Count(); ++r) {
            QStringList Names;
            for (const TfrUndoEntry& E : B.Records(r).Entries) {
                const int i = Page()->FindObjectByID(E.ID);
                Names << (E.Copy ? E.Copy->Name() : i >= 0 ? Page()->Objects(i)->Name() : QStringLiteral("?"));
            }
            L << QString::number(B.Records(r).Action) + u':' + Names.join(u',');
        }
        return L.join(QStringLiteral("; "));
    }

    QTemporaryDir Settings;
    TfrReport Report;
    std::unique_ptr<TfrDesignerForm> Designer;
};

} // namespace designertest
