// The preview's commands: keys, paging, prepared report files, printing, page
// setup, editing pages, context help and finding text.
#include "report/engine/FR_Preview.h"

#include "platform/gui/Application.h"
#include "platform/gui/FileDialogs.h"
#include "platform/gui/Menus.h"
#include "platform/gui/ModalSeam.h"
#include "platform/gui/StdCtrls.h"
#include "platform/rtl/SysUtils.h"
#include "report/engine/FR_Class.h"
#include "report/engine/FR_Ctrls.h"
#include "report/engine/FR_EMFPages.h"
#include "report/engine/FR_Globals.h"
#include "report/engine/FR_Page.h"
#include "report/engine/FR_PreviewSearch.h"
#include "report/engine/FR_PrintDlg.h"
#include "report/engine/FR_Prntr.h"
#include "report/engine/FR_Utils.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPageLayout>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrinter>
#include <QRadioButton>

#include <cmath>
#include <optional>

namespace {

// Margins are layout pixels on the page and hundredths of a millimetre in the
// dialog (a millimetre is 18/5 pixels); both ways round, so that confirming
// the dialog unchanged keeps them.
int PixelsToHundredths(int Pixels)
{
    return RoundInt(Pixels * 500.0 / 18);
}

int HundredthsToPixels(int Hundredths)
{
    return RoundInt(Hundredths * 18.0 / 500);
}

// Qt's page-setup dialog offers its own list of papers and shows the first
// of them for a paper it does not list (a custom size, or a table paper Qt
// sizes otherwise), which an OK would then take: such a paper is shown as the
// dialog's "Custom" entry with the sheet's width and height, as a user enters
// it. What was put there is kept, to tell afterwards whether the user changed it.
struct TShownPaper
{
    int Entry = -1;
    double Width = 0;
    double Height = 0;
};

struct TPaperControls
{
    QComboBox* Papers;
    QDoubleSpinBox* Width;
    QDoubleSpinBox* Height;
    QComboBox* Units;
};

std::optional<TPaperControls> PaperControls(const QPageSetupDialog& Dialog)
{
    TPaperControls C{Dialog.findChild<QComboBox*>(QStringLiteral("pageSizeCombo")),
                     Dialog.findChild<QDoubleSpinBox*>(QStringLiteral("pageWidth")),
                     Dialog.findChild<QDoubleSpinBox*>(QStringLiteral("pageHeight")),
                     Dialog.findChild<QComboBox*>(QStringLiteral("unitCombo"))};
    if (!C.Papers || !C.Width || !C.Height || !C.Units)
        return std::nullopt;
    return C;
}

TShownPaper ShowPaperAsGiven(const QPageSetupDialog& Dialog, const QPageLayout& Layout)
{
    const auto C = PaperControls(Dialog);
    if (!C || C->Papers->currentData().value<QPageSize>().isEquivalentTo(Layout.pageSize()))
        return {};
    // The entry without a size of its own.
    int Custom = C->Papers->count() - 1;
    while (Custom >= 0 && C->Papers->itemData(Custom).isValid())
        --Custom;
    if (Custom < 0)
        return {};
    const auto Unit = static_cast<QPageSize::Unit>(C->Units->currentData().value<QPageLayout::Unit>());
    QSizeF Sheet = Layout.pageSize().size(Unit);
    if (Layout.orientation() == QPageLayout::Landscape)
        Sheet.transpose();
    C->Papers->setCurrentIndex(Custom);
    C->Width->setValue(Sheet.width());
    C->Height->setValue(Sheet.height());
    // Read back: the dialog may have put a standard size it finds close by.
    return {Custom, C->Width->value(), C->Height->value()};
}

// The paper still as ShowPaperAsGiven put it, turned or not.
bool StillShown(const QPageSetupDialog& Dialog, const TShownPaper& Shown)
{
    const auto C = PaperControls(Dialog);
    if (!C || Shown.Entry < 0 || C->Papers->currentIndex() != Shown.Entry)
        return false;
    const double W = C->Width->value();
    const double H = C->Height->value();
    return (W == Shown.Width && H == Shown.Height) || (W == Shown.Height && H == Shown.Width);
}

// The paper chosen in Qt's dialog: a table paper by its code, any other by its size.
void TakePaper(TDeviceMode& Mode, const QPageSize& Size)
{
    const int Code = Size.windowsId();
    if (Code > 0 && Code < dmpCustom && FindStandardPaper(Code)) {
        Mode.PaperSize = Code;
        Mode.Fields &= ~uint32_t(dmfPaperLength | dmfPaperWidth);
        return;
    }
    const QSizeF MM = PageSizeMillimeters(Size);
    Mode.PaperSize = dmpCustom;
    Mode.Fields |= dmfPaperLength | dmfPaperWidth;
    Mode.PaperWidth = RoundInt(MM.width() * 10);
    Mode.PaperLength = RoundInt(MM.height() * 10);
}

// Qt's page-setup dialog over the platform printer's paper.
bool QtPageSetup(TDeviceMode& Mode, QMargins& Margins)
{
    if (Headless())
        return false;
    TPrinter* Platform = Printer();
    QPrinter Device(QPrinter::HighResolution);
    if (Platform->PrinterIndex() >= 0)
        Device.setPrinterName(Platform->DeviceName());
    else
        Device.setOutputFormat(QPrinter::PdfFormat);
    const bool Custom = (Mode.Fields & (dmfPaperLength | dmfPaperWidth)) || Mode.PaperSize == dmpCustom;
    const QPageSize Size = PaperCodePageSize(Custom ? dmpCustom : Mode.PaperSize, Mode.PaperWidth, Mode.PaperLength);
    Device.setPageLayout(QPageLayout(Size,
                                     Mode.Orientation == dmoLandscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                                     QMarginsF(Margins.left() / 100.0, Margins.top() / 100.0,
                                               Margins.right() / 100.0, Margins.bottom() / 100.0),
                                     QPageLayout::Millimeter));
    QPageSetupDialog Dialog(&Device);
    const TShownPaper Shown = ShowPaperAsGiven(Dialog, Device.pageLayout());
    if (Dialog.exec() != QDialog::Accepted)
        return false;
    const QPageLayout Chosen = Device.pageLayout();
    // A paper left as it was keeps its code and its size to the tenth.
    const QSizeF Given = PageSizeMillimeters(Size);
    const QSizeF Taken = PageSizeMillimeters(Chosen.pageSize());
    const bool Kept = Shown.Entry >= 0 ? StillShown(Dialog, Shown)
                                       : std::abs(Given.width() - Taken.width()) < 0.05
                                             && std::abs(Given.height() - Taken.height()) < 0.05;
    if (!Kept)
        TakePaper(Mode, Chosen.pageSize());
    Mode.Orientation = Chosen.orientation() == QPageLayout::Landscape ? dmoLandscape : dmoPortrait;
    const QMarginsF M = Chosen.margins(QPageLayout::Millimeter);
    Margins = QMargins(RoundInt(M.left() * 100), RoundInt(M.top() * 100), RoundInt(M.right() * 100), RoundInt(M.bottom() * 100));
    return true;
}

// Ends the help mode at the next press of a mouse button anywhere.
class THelpModeFilter : public QObject
{
public:
    THelpModeFilter(QObject* Parent, std::function<void()> AOnPress) : QObject(Parent), FOnPress(std::move(AOnPress)) {}

protected:
    bool eventFilter(QObject*, QEvent* Event) override
    {
        if (Event->type() != QEvent::MouseButtonPress)
            return false;
        // There is no help file to show a control's context from.
        FOnPress();
        return true;
    }

private:
    std::function<void()> FOnPress;
};

} // namespace

// ---------------------------------------------------------------- keys and paging

void TfrPreviewForm::FormKeyDown(int& Key, TShiftState Shift)
{
    const bool Ctrl = Shift.Contains(ssCtrl);
    auto Move = [](TScrollBar* Bar, int By) { Bar->SetPosition(Bar->Position() + By); };
    switch (Key) {
    case VK_UP: Move(VScrollBar, -VScrollBar->SmallChange()); break;
    case VK_DOWN: Move(VScrollBar, VScrollBar->SmallChange()); break;
    case VK_LEFT: Move(HScrollBar, -HScrollBar->SmallChange()); break;
    case VK_RIGHT: Move(HScrollBar, HScrollBar->SmallChange()); break;
    case VK_PRIOR:
        if (Ctrl)
            PgUpClick();
        else
            Move(VScrollBar, -VScrollBar->LargeChange());
        break;
    case VK_NEXT:
        if (Ctrl)
            PgDownClick();
        else
            Move(VScrollBar, VScrollBar->LargeChange());
        break;
    case VK_SPACE: ZoomBtnClick(); break;
    case VK_ESCAPE: ExitBtnClick(); break;
    case VK_HOME:
        if (!Ctrl)
            return;
        CurPage = 1;
        VScrollBar->SetPosition(0);
        CurPage = 1;
        ShowPageNum();
        break;
    case VK_END:
        if (!Ctrl)
            return;
        CurPage = std::max(1, PageCount());
        SetToCurPage();
        break;
    case VK_F3:
        if (FindText.isEmpty())
            return;
        if (CurPage - 1 != FindPage) {
            FindPage = CurPage - 1;
            FindRecord = 0;
        }
        FindNext();
        break;
    default:
        if (!Ctrl)
            return;
        if (Key == 'O')
            LoadBtnClick();
        else if (Key == 'S')
            SaveBtnClick();
        else if (Key == 'P') {
            if (PrintBtn->Enabled())
                PrintBtnClick();
        } else if (Key == 'F')
            FindBtnClick();
        else if (Key == 'E') {
            if (EditingAllowed())
                EditPageClick();
        } else
            return;
    }
    Key = 0;
}

void TfrPreviewForm::PgUpClick()
{
    if (CurPage <= 1)
        return;
    --CurPage;
    SetToCurPage();
}

void TfrPreviewForm::PgDownClick()
{
    if (CurPage >= PageCount())
        return;
    ++CurPage;
    SetToCurPage();
}

void TfrPreviewForm::ExitBtnClick()
{
    if (InModal())
        SetModalResult(mrOk);
    else
        Close();
}

// ---------------------------------------------------------------- files

void TfrPreviewForm::LoadBtnClick()
{
    if (!Report)
        return;
    OpenDialog->SetFilter(LoadEngineString(55211) + QStringLiteral(" (*.frp)|*.frp"));
    if (!OpenDialog->Execute())
        return;
    // The report holds an empty list while we are connected; a file it cannot
    // read leaves it so, and the pages shown stay.
    if (!Report->LoadPreparedReport(OpenDialog->FileName()))
        return;
    Connect(Report);
    InitView(true);
}

void TfrPreviewForm::SaveBtnClick()
{
    if (!Report || PageCount() == 0)
        return;
    SaveDialog->SetFilter(LoadEngineString(55211) + QStringLiteral(" (*.frp)|*.frp"));
    if (!SaveDialog->Execute())
        return;
    const QString Name = AddFileExt(SaveDialog->FileName(), QStringLiteral(".frp"));
    Disconnect();
    try {
        Report->SavePreparedReport(Name);
    } catch (const Exception& E) {
        frShowError(E.Message());
    }
    Connect(Report);
}

// ---------------------------------------------------------------- printing

void TfrPreviewForm::PrintBtnClick()
{
    if (!Report || PageCount() == 0 || !PrintBtn->Enabled())
        return;
    TfrPrinter* Prn = frPrinter();
    const int OldIndex = Prn->PrinterIndex;
    QString Pages;
    int Copies = Report->DefaultCopies();
    bool Collate = Report->DefaultCollate();
    uint8_t Parity = 0;
    if (Report->ShowPrintDialog()) {
        TfrPrintForm Dialog;
        Dialog.E1->setText(QString::number(Copies));
        Dialog.CollateCB->setChecked(Collate);
        if (Dialog.ShowModal() != mrOk)
            return;
        Pages = Dialog.PageNumbers(CurPage);
        Copies = Dialog.Copies();
        Collate = Dialog.CollateCB->isChecked();
        Parity = static_cast<uint8_t>(std::max(0, Dialog.CB2->currentIndex()));
    }
    if (Report->RebuildPrinter() && Prn->PrinterIndex != OldIndex && Report->CanRebuild()) {
        if (!Report->ChangePrinter(OldIndex, Prn->PrinterIndex))
            return;
        Disconnect();
        Report->PrepareReport();
        Connect(Report);
    }
    TPrinter* Platform = Prn->Printer();
    if (!Platform)
        return;
    if (Prn->IsVirtual()) {
        // The virtual printer writes a PDF file: ask where.
        TSaveDialog Pdf;
        Pdf.SetFilter(QStringLiteral("PDF (*.pdf)|*.pdf"));
        Pdf.SetDefaultExt(QStringLiteral("pdf"));
        Pdf.SetFileName((Report->Title().isEmpty() ? LoadEngineString(55209) : Report->Title()) +
                        QStringLiteral(".pdf"));
        Pdf.SetOverwritePrompt(true);
        if (!Pdf.Execute())
            return;
        Platform->SetOutputFileName(AddFileExt(Pdf.FileName(), QStringLiteral(".pdf")));
    } else {
        Platform->SetOutputFileName(QString());
    }
    Disconnect();
    Report->PrintPreparedReport(Pages, Copies, Collate, Parity);
    Connect(Report);
    InitView(false);
}

void TfrPreviewForm::PageSetupBtnClick()
{
    if (!Report || PageCount() == 0)
        return;
    TfrPrinter* Prn = frPrinter();
    TPrinter* Platform = Prn->Printer();
    if (!Platform)
        return;
    // The virtual printer's paper is the engine printer's own; the PDF writer
    // under it only follows.
    TDeviceMode Mode;
    if (Prn->IsVirtual()) {
        Mode.Fields = dmfPaperSize | dmfOrientation;
        Mode.PaperSize = Prn->PaperSize;
        Mode.Orientation = Prn->Orientation == 1 ? dmoLandscape : dmoPortrait;
        if (Prn->PaperSize == frCustomPaper) {
            // The sheet as the pages have it: a landscape sheet is the
            // dialog's paper turned, whichever side is the longer.
            const bool Landscape = Prn->Orientation == 1;
            Mode.Fields |= dmfPaperLength | dmfPaperWidth;
            Mode.PaperWidth = Landscape ? Prn->PaperHeight : Prn->PaperWidth;
            Mode.PaperLength = Landscape ? Prn->PaperWidth : Prn->PaperHeight;
        }
    } else {
        Platform->GetDeviceMode(Mode);
    }
    const int32_t* M = EMFPages->Items(0)->PageMargins;
    QMargins Margins(PixelsToHundredths(M[0]), PixelsToHundredths(M[1]), PixelsToHundredths(M[2]),
                     PixelsToHundredths(M[3]));
    if (!(frPageSetupDialog ? frPageSetupDialog(Mode, Margins) : QtPageSetup(Mode, Margins)))
        return;
    if (Prn->IsVirtual()) {
        const bool Landscape = Mode.Orientation == dmoLandscape;
        Prn->PaperSize = Mode.PaperSize;
        Prn->Orientation = Landscape ? 1 : 0;
        if (Mode.PaperSize == dmpCustom) {
            Prn->PaperWidth = Landscape ? Mode.PaperLength : Mode.PaperWidth;
            Prn->PaperHeight = Landscape ? Mode.PaperWidth : Mode.PaperLength;
        }
        Prn->ApplySettings();
    } else {
        Platform->SetDeviceMode(Mode);
        Prn->Refresh();
    }
    for (int i = 0; i < Report->Pages()->Count(); ++i) {
        TfrPage* Page = Report->Pages()->Pages(i);
        if (Page->PageType != ptReport)
            continue;
        Page->LeftMargin = HundredthsToPixels(Margins.left());
        Page->TopMargin = HundredthsToPixels(Margins.top());
        Page->RightMargin = HundredthsToPixels(Margins.right());
        Page->BottomMargin = HundredthsToPixels(Margins.bottom());
        // A custom paper keeps its size; a table paper is known by its code.
        const bool Custom = Prn->PaperSize == frCustomPaper;
        Page->ChangePaper(Prn->PaperSize, Custom ? Prn->PaperWidth : 0, Custom ? Prn->PaperHeight : 0, Prn->Bin,
                          Prn->Orientation == 1 ? poLandscape : poPortrait);
    }
    Disconnect();
    Report->PrepareReport();
    Connect(Report);
    InitView(true);
}

// ---------------------------------------------------------------- editing pages

void TfrPreviewForm::EditPageClick()
{
    if (!EditingAllowed() || PageCount() == 0)
        return;
    Disconnect();
    Report->EditPreparedPage(CurPage - 1);
    Connect(Report);
    InitView(false);
}

void TfrPreviewForm::AddPageClick()
{
    if (!EditingAllowed() || !EMFPages || Report->Pages()->Count() == 0)
        return;
    EMFPages->Insert(CurPage - 1, Report->Pages()->Pages(0));
    InitView(false);
}

void TfrPreviewForm::DelPageClick()
{
    if (PageCount() <= 1)
        return;
    if (Application()->MessageBox(LoadEngineString(55005), LoadEngineString(55006), MB_YESNO | MB_ICONQUESTION) !=
        IDYES)
        return;
    EMFPages->Delete(CurPage - 1);
    InitView(true);
}

// ---------------------------------------------------------------- help

void TfrPreviewForm::HelpBtnClick()
{
    if (FHelpFilter)
        return;
    HelpBtn->SetDown(true);
    QGuiApplication::setOverrideCursor(Qt::WhatsThisCursor);
    FHelpFilter = new THelpModeFilter(this, [this] { EndHelpMode(); });
    qApp->installEventFilter(FHelpFilter);
}

void TfrPreviewForm::EndHelpMode()
{
    if (!FHelpFilter)
        return;
    qApp->removeEventFilter(FHelpFilter);
    FHelpFilter->deleteLater();
    FHelpFilter = nullptr;
    QGuiApplication::restoreOverrideCursor();
    HelpBtn->SetDown(false);
}

// ---------------------------------------------------------------- find

void TfrPreviewForm::FindBtnClick()
{
    if (PageCount() == 0)
        return;
    TfrPreviewSearchForm Dialog;
    if (Dialog.ShowModal() != mrOk)
        return;
    CaseSensitive = Dialog.CB1->isChecked();
    FindText = CaseSensitive ? Dialog.Edit1->text() : Dialog.Edit1->text().toUpper();
    if (Dialog.RB1->isChecked()) {
        FindPage = 0;
        FindRecord = 0;
    } else if (CurPage - 1 != FindPage) {
        FindPage = CurPage - 1;
        FindRecord = 0;
    }
    FindNext();
}

int TfrPreviewForm::SearchPage(int Index, QRect& Hit)
{
    TfrPageInfo& Info = *EMFPages->Items(Index);
    const TfrPrnInfo& P = Info.PagePrnInfo;
    if (P.PaperWidthPx <= 0 || P.PaperHeightPx <= 0)
        return -1;
    TfrDrawRecorder Device(QSize(P.PaperWidthPx, P.PaperHeightPx));
    {
        QPainter Painter(&Device);
        TCanvas Canvas(&Painter);
        Info.OnScreen = true;
        // The page as the box shows it at 100 %, so the hit lands on the text.
        EMFPages->Draw(Index, &Canvas, ContentRect(Index, QRect(0, 0, P.PaperWidthPx, P.PaperHeightPx)));
    }
    const int Record = frFindTextRecord(Device.Records(), FindText, CaseSensitive, FindRecord);
    if (Record < 0) {
        Info.OnScreen = false;
        EMFPages->Draw(Index, PaintBox->Canvas(), QRect());
        return -1;
    }
    Hit = Device.Records()[Record].Rect;
    return Record;
}

void TfrPreviewForm::FindNext()
{
    if (PageCount() == 0 || FindText.isEmpty())
        return;
    PaintAllowed = false;
    Found = false;
    for (; FindPage < PageCount(); ++FindPage) {
        QRect Hit;
        const int Record = SearchPage(FindPage, Hit);
        if (Record >= 0) {
            Found = true;
            FoundRect = Hit;
            FindRecord = Record + 1;
            break;
        }
        FindRecord = 0;
    }
    PaintAllowed = true;
    if (Found)
        ShowFound(FoundRect);
}

void TfrPreviewForm::ShowFound(const QRect& Hit)
{
    const int Page = FindPage + 1;
    const QRect& PageRect = EMFPages->Items(FindPage)->PageRect;
    const QRect R(PageRect.left() + RoundInt(Hit.left() * Scale), PageRect.top() + RoundInt(Hit.top() * Scale),
                  RoundInt(Hit.width() * Scale), RoundInt(Hit.height() * Scale));
    int V = PageRect.top() - 10;
    if (RectBottom(R) - V > PaintBox->height())
        V = RectBottom(R) - PaintBox->height();
    int H = PageRect.left() - 10;
    if (RectRight(R) - H > PaintBox->width())
        H = RectRight(R) - PaintBox->width();
    HScrollBar->SetPosition(std::max(0, H));
    VScrollBar->SetPosition(std::max(0, V));
    CurPage = Page;
    ShowPageNum();
    Application()->ProcessMessages();
    PaintBox->Repaint();
    // One XOR line per row: drawn again, it would give the pixels back.
    TCanvas* C = PaintBox->Canvas();
    TCanvasState State(C);
    C->Pen()->SetMode(pmXor);
    C->Pen()->SetColor(clWhite);
    const QRect OnBox = R.translated(OfsX, OfsY);
    for (int Y = OnBox.top(); Y < RectBottom(OnBox); ++Y) {
        C->MoveTo(OnBox.left(), Y);
        C->LineTo(RectRight(OnBox), Y);
    }
}
