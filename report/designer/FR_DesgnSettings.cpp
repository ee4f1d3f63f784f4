// Designer settings kept per user, the setters that apply them to the window,
// the unit conversion, and the designer, report and dictionary option commands.
#include "report/designer/FR_Desgn.h"

#include "platform/gui/StdCtrls.h"
#include "platform/rtl/IniFiles.h"
#include "platform/rtl/SysUtils.h"
#include "report/designer/FR_About.h"
#include "report/designer/FR_Dopt.h"
#include "report/designer/FR_DsOpt.h"
#include "report/designer/FR_DsgPage.h"
#include "report/engine/FR_Class.h"
#include "report/engine/FR_Ctrls.h"
#include "report/engine/FR_Dock.h"
#include "report/engine/FR_Globals.h"
#include "report/engine/FR_Locale.h"
#include "report/engine/FR_Passw.h"
#include "report/engine/FR_Prntr.h"
#include "report/engine/FR_Utils.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>

#include <algorithm>
#include <vector>

namespace {

const QString Section = QStringLiteral("Form\\TfrDesignerForm");

} // namespace

void TfrDesignerForm::LoadDesignerSettings()
{
    TRegIniFile Ini(frRegRootKey);
    // A value written by hand or by another version that the window cannot
    // use takes its default.
    const int Grid = Ini.ReadInteger(Section, QStringLiteral("GridSize"), 4);
    SetGridSize(Grid == 4 || Grid == 8 || Grid == 18 ? Grid : 4);
    SetGridAlign(Ini.ReadBool(Section, QStringLiteral("GridAlign"), true));
    SetShowGrid(Ini.ReadBool(Section, QStringLiteral("GridShow"), true));
    const int U = Ini.ReadInteger(Section, QStringLiteral("Units"), 0);
    SetUnits(U >= 0 && U <= 2 ? U : 0);
    SetGrayButtons(Ini.ReadBool(Section, QStringLiteral("GrayButtons"), false));
    EditAfterInsert = Ini.ReadBool(Section, QStringLiteral("EditAfterInsert"), true);
    const int Sel = Ini.ReadInteger(Section, QStringLiteral("Selection"), 1);
    Selection = Sel == 0 || Sel == 1 ? Sel : 1;
    const int Pos = Ini.ReadInteger(Section, QStringLiteral("PagePosition"), 5);
    PagePosition = Pos >= 3 && Pos <= 5 ? Pos : 5;
    frShowBandTitles = Ini.ReadBool(Section, QStringLiteral("BandTitles"), true);
    LocaleInstance()->LocalizedPropNames = Ini.ReadBool(Section, QStringLiteral("LocalizedPropNames"), false);
    UnlimitedHeight = Ini.ReadBool(Section, QStringLiteral("UnlimitedHeight"), false);
    DisableUndo = Ini.ReadBool(Section, QStringLiteral("DisableUndo"), false);
    SyntaxHighlight = Ini.ReadBool(Section, QStringLiteral("SyntaxHighlight"), true);
    CreateMemoEditor();

    // Every bar goes back to its place before any dock closes up a row.
    const std::initializer_list<TfrDock*> Docks = {frDock1, frDock2, frDock3, frDock4};
    const std::initializer_list<TfrToolBar*> Bars = {Panel1, Panel2, Panel3, Panel4, Panel5, Panel6};
    for (TfrDock* D : Docks)
        D->BeginUpdate();
    for (TfrToolBar* T : Bars)
        T->RestoreState();
    Panel6->setMinimumSize(26, 26);
    if (Panel6->findChildren<TfrSpeedButton*>(QString(), Qt::FindDirectChildrenOnly).size() < 2)
        Panel6->SetVisible(false);
    for (TfrDock* D : Docks)
        D->EndUpdate();
    // A bar stored over another one (an earlier version saved such places)
    // takes a row of its own at the end of its dock.
    std::vector<TfrToolBar*> Placed;
    for (TfrToolBar* T : Bars) {
        if (!T->Dock() || T->isHidden())
            continue;
        if (std::any_of(Placed.begin(), Placed.end(), [T](TfrToolBar* U) {
                return U->Dock() == T->Dock() && U->geometry().intersects(T->geometry());
            }))
            T->AddToDock(T->Dock());
        Placed.push_back(T);
    }
    RestoreFormPosition(this);
}

void TfrDesignerForm::SaveDesignerSettings()
{
    {
        TRegIniFile Ini(frRegRootKey);
        Ini.WriteBool(Section, QStringLiteral("GridShow"), GridShow);
        Ini.WriteBool(Section, QStringLiteral("GridAlign"), GridAlign);
        Ini.WriteInteger(Section, QStringLiteral("GridSize"), GridSizeX);
        Ini.WriteInteger(Section, QStringLiteral("Units"), Units);
        Ini.WriteBool(Section, QStringLiteral("GrayButtons"), GrayButtons);
        Ini.WriteBool(Section, QStringLiteral("EditAfterInsert"), EditAfterInsert);
        Ini.WriteInteger(Section, QStringLiteral("Selection"), Selection);
        Ini.WriteInteger(Section, QStringLiteral("PagePosition"), PagePosition);
        Ini.WriteBool(Section, QStringLiteral("BandTitles"), frShowBandTitles);
        Ini.WriteBool(Section, QStringLiteral("LocalizedPropNames"), LocaleInstance()->LocalizedPropNames);
        Ini.WriteBool(Section, QStringLiteral("UnlimitedHeight"), UnlimitedHeight);
        Ini.WriteBool(Section, QStringLiteral("DisableUndo"), DisableUndo);
        Ini.WriteBool(Section, QStringLiteral("SyntaxHighlight"), SyntaxHighlight);
    }
    // All are saved before any is hidden: hiding a bar closes up its row,
    // which would move the bars below it before they are saved.
    const std::initializer_list<TfrToolBar*> Bars = {Panel1, Panel2, Panel3, Panel4, Panel5, Panel6};
    for (TfrToolBar* T : Bars)
        if (T != Panel6 || Flag())
            T->SaveState();
    for (TfrToolBar* T : Bars)
        if (T != Panel6 || Flag())
            T->SetVisible(false);
    SaveFormPosition(this);
}

// ---------------------------------------------------------------- setters

void TfrDesignerForm::SetGridSize(int Value)
{
    if (GridSizeX == Value && GridSizeY == Value)
        return;
    GridSizeX = GridSizeY = Value;
    RedrawPage();
}

void TfrDesignerForm::SetShowGrid(bool Value)
{
    if (auto* B = SpeedButton(QStringLiteral("GB1")))
        B->SetDown(Value);
    if (GridShow == Value)
        return;
    GridShow = Value;
    RedrawPage();
}

void TfrDesignerForm::SetGridAlign(bool Value)
{
    if (auto* B = SpeedButton(QStringLiteral("GB2")))
        B->SetDown(Value);
    GridAlign = Value;
}

void TfrDesignerForm::SetUnits(int Value)
{
    Units = Value;
    // The inspector shows lengths in the units and reads what is typed in them.
    RefreshInspectorAndStatus();
}

void TfrDesignerForm::SetGrayButtons(bool Value)
{
    GrayButtons = Value;
    for (TfrToolBar* T : {Panel1, Panel2, Panel3, Panel4, Panel5, Panel6})
        for (TfrSpeedButton* B : T->findChildren<TfrSpeedButton*>())
            B->SetGrayedInactive(Value);
}

TfrSpeedButton* TfrDesignerForm::SpeedButton(const QString& Name) const
{
    return findChild<TfrSpeedButton*>(Name);
}

// ---------------------------------------------------------------- option commands

void TfrDesignerForm::N14Click()
{
    TfrDesOptionsForm F;
    F.CB1->setChecked(GridShow);
    F.CB2->setChecked(GridAlign);
    F.CB8->setChecked(DisableUndo);
    F.CB9->setChecked(SyntaxHighlight);
    (GridSizeX == 18 ? F.RB3 : GridSizeX == 8 ? F.RB2 : F.RB1)->setChecked(true);
    F.CB6->setChecked(Selection == 1);
    (Units == 2 ? F.RB8 : Units == 1 ? F.RB7 : F.RB6)->setChecked(true);
    F.CB3->setChecked(!GrayButtons);
    F.CB4->setChecked(EditAfterInsert);
    F.CB5->setChecked(frShowBandTitles);
    (PagePosition == 3 ? F.RB10 : PagePosition == 4 ? F.RB11 : F.RB9)->setChecked(true);
    F.CB7->setChecked(LocaleInstance()->LocalizedPropNames);
    if (F.ShowModal() != mrOk)
        return;
    SetShowGrid(F.CB1->isChecked());
    SetGridAlign(F.CB2->isChecked());
    DisableUndo = F.CB8->isChecked();
    // Records kept from before would be replayed over the changes made since.
    if (DisableUndo) {
        ClearUndoBuffer();
        ClearRedoBuffer();
    }
    SyntaxHighlight = F.CB9->isChecked();
    CreateMemoEditor();
    SetGridSize(F.RB1->isChecked() ? 4 : F.RB2->isChecked() ? 8 : 18);
    Selection = F.CB6->isChecked() ? 1 : 0;
    SetUnits(F.RB6->isChecked() ? 0 : F.RB7->isChecked() ? 1 : 2);
    PagePosition = F.RB9->isChecked() ? 5 : F.RB10->isChecked() ? 3 : 4;
    SetGrayButtons(!F.CB3->isChecked());
    EditAfterInsert = F.CB4->isChecked();
    frShowBandTitles = F.CB5->isChecked();
    LocaleInstance()->LocalizedPropNames = F.CB7->isChecked();
    SetCurPage(CurPageIndex());
}

void TfrDesignerForm::N8Click()
{
    TfrReport* R = CurReport;
    TfrDocOptForm F;
    F.CB1->setChecked(!R->PrintToDefault());
    F.CB2->setChecked(R->DoublePass());
    TfrPrinter* Prn = frPrinter();
    for (int i = 0; i < Prn->Printers.Count(); ++i)
        F.LB1->addItem(Prn->Printers.Strings(i));
    F.LB1->setCurrentRow(Prn->PrinterIndex);
    F.E1->setText(R->ReportName);
    F.E2->setText(R->ReportAutor);
    F.M1->setPlainText(R->ReportComment);
    F.E3->setText(R->ReportVersionMajor);
    F.E4->setText(R->ReportVersionMinor);
    F.E5->setText(R->ReportVersionRelease);
    F.E6->setText(R->ReportVersionBuild);
    F.CB3->setChecked(R->ReportPasswordProtected);
    F.LM1->setText(DateTimeToStr(R->ReportCreateDate));
    F.LM2->setText(DateTimeToStr(R->ReportLastChange));
    if (F.ShowModal() == mrOk) {
        R->SetPrintToDefault(!F.CB1->isChecked());
        R->SetDoublePass(F.CB2->isChecked());
        // No printer chosen in the list keeps the report's printer.
        const int Chosen = F.LB1->currentRow();
        if (Chosen >= 0 && Chosen != Prn->PrinterIndex)
            R->ChangePrinter(Prn->PrinterIndex, Chosen);
        SetModified(true);
        R->ReportName = F.E1->text();
        R->ReportAutor = F.E2->text();
        R->ReportComment = F.M1->toPlainText();
        R->ReportVersionMajor = F.E3->text();
        R->ReportVersionMinor = F.E4->text();
        R->ReportVersionRelease = F.E5->text();
        R->ReportVersionBuild = F.E6->text();
        if (!R->ReportPasswordProtected && F.CB3->isChecked()) {
            TfrPasswForm P;
            if (P.ShowModal() != mrOk) {
                R->ReportPassword.clear();
                F.CB3->setChecked(false);
            } else {
                const QString First = P.E1->text();
                P.L1->setText(P.L2->text());
                P.E1->clear();
                if (P.ShowModal() != mrOk) {
                    F.CB3->setChecked(false);
                } else if (P.E1->text() != First) {
                    F.CB3->setChecked(false);
                    frShowError(LoadEngineString(55684));
                } else {
                    R->ReportPassword = First;
                }
            }
        }
        R->ReportPasswordProtected = F.CB3->isChecked();
        if (!R->ReportPasswordProtected)
            R->ReportPassword.clear();
    }
    SetCurPage(CurPageIndex());
}

void TfrDesignerForm::N34Click()
{
    TfrAboutForm F;
    F.ShowModal();
}
