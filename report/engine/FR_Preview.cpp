// The preview window: its panels and buttons, connecting a report, the view
// set-up, page layout per zoom mode, scrolling and the embeddable panel.
#include "report/engine/FR_Preview.h"

#include "platform/gui/Application.h"
#include "platform/gui/FileDialogs.h"
#include "platform/gui/Menus.h"
#include "platform/gui/StdCtrls.h"
#include "platform/rtl/IniFiles.h"
#include "report/engine/FR_Class.h"
#include "report/engine/FR_ClassDesigner.h"
#include "report/engine/FR_Ctrls.h"
#include "report/engine/FR_Dock.h"
#include "report/engine/FR_EMFPages.h"
#include "report/engine/FR_Prntr.h"
#include "report/engine/FR_Utils.h"

#include <QEvent>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>

namespace {

// What the last preview showed; the next one starts there.
double LastScale = 1.0;
uint8_t LastZoomMode = zmPercent;

constexpr int ToolHeight = 28;
constexpr int BarExtent = 16;

// ---------------------------------------------------------------- glyphs

// A 16 x 16 picture on olive, which the button leaves out.
std::unique_ptr<TBitmap> Glyph(const std::function<void(QPainter&)>& Draw, int W = 16, int H = 16)
{
    QImage I(W, H, QImage::Format_RGB32);
    I.fill(ColorToQColor(clOlive));
    {
        QPainter P(&I);
        Draw(P);
    }
    auto B = std::make_unique<TBitmap>();
    B->LoadFromImage(I);
    B->SetTransparentColor(clOlive);
    B->SetTransparent(true);
    return B;
}

void Magnifier(QPainter& P, int X, int Y)
{
    P.setPen(QPen(Qt::black, 2));
    P.drawLine(X + 7, Y + 7, X + 11, Y + 11);
    P.setPen(Qt::black);
    P.setBrush(QColor(200, 230, 255));
    P.drawEllipse(X, Y, 8, 8);
}

void Sheet(QPainter& P, int X, int Y, int W, int H)
{
    P.setPen(Qt::black);
    P.setBrush(Qt::white);
    P.drawRect(X, Y, W, H);
    P.setPen(QColor(128, 128, 128));
    for (int Line = Y + 3; Line < Y + H - 1; Line += 2)
        P.drawLine(X + 2, Line, X + W - 2, Line);
}

std::unique_ptr<TBitmap> ToolGlyph(int Kind)
{
    switch (Kind) {
    case 0:   // zoom
        return Glyph([](QPainter& P) { Magnifier(P, 2, 2); });
    case 1:   // open
        return Glyph([](QPainter& P) {
            P.setPen(Qt::black);
            P.setBrush(QColor(255, 220, 100));
            P.drawRect(1, 4, 12, 9);
            P.setBrush(QColor(230, 180, 40));
            P.drawPolygon(QPolygon({QPoint(1, 13), QPoint(4, 7), QPoint(15, 7), QPoint(13, 13)}));
        });
    case 2:   // save
        return Glyph([](QPainter& P) {
            P.setPen(Qt::black);
            P.setBrush(QColor(0, 0, 128));
            P.drawRect(1, 1, 13, 13);
            P.setBrush(Qt::white);
            P.drawRect(3, 1, 9, 5);
            P.setBrush(QColor(192, 192, 192));
            P.drawRect(4, 9, 7, 5);
        });
    case 3:   // print
        return Glyph([](QPainter& P) {
            Sheet(P, 4, 1, 8, 6);
            P.setPen(Qt::black);
            P.setBrush(QColor(192, 192, 192));
            P.drawRect(1, 7, 14, 6);
            P.fillRect(12, 9, 2, 1, QColor(0, 160, 0));
        });
    case 4:   // page setup
        return Glyph([](QPainter& P) {
            Sheet(P, 2, 1, 11, 14);
            P.setPen(QPen(QColor(0, 0, 192), 1, Qt::DotLine));
            P.setBrush(Qt::NoBrush);
            P.drawRect(4, 3, 7, 10);
        });
    case 5:   // find
        return Glyph([](QPainter& P) {
            Sheet(P, 1, 1, 10, 13);
            Magnifier(P, 5, 5);
        });
    case 6:   // help
        return Glyph([](QPainter& P) {
            QFont F = P.font();
            F.setPixelSize(14);
            F.setBold(true);
            P.setFont(F);
            P.setPen(QColor(0, 0, 192));
            P.drawText(QRect(0, 0, 16, 16), Qt::AlignCenter, QStringLiteral("?"));
        });
    case 7:   // exit: an open door
        return Glyph([](QPainter& P) {
            P.setPen(Qt::black);
            P.setBrush(QColor(128, 64, 0));
            P.drawRect(3, 1, 9, 14);
            P.setBrush(QColor(220, 160, 80));
            P.drawPolygon(QPolygon({QPoint(3, 1), QPoint(8, 3), QPoint(8, 16), QPoint(3, 15)}));
        });
    default:  // page up (8) and page down (9)
        return Glyph(
            [Kind](QPainter& P) {
                for (int Row = 0; Row < 4; ++Row) {
                    const int Y = Kind == 8 ? 4 - Row : 2 + Row;
                    P.fillRect(Row + 1, Y, 7 - 2 * Row, 1, Qt::black);
                }
            },
            9, 8);
    }
}

TfrSpeedButton* ToolButton(QWidget* Parent, int Kind, int Width = 25)
{
    auto* B = new TfrSpeedButton(Parent);
    B->SetFlat(true);
    B->SetGlyph(ToolGlyph(Kind).get());
    B->resize(Width, 25);
    return B;
}

// An etched vertical line between groups of tool buttons.
TCustomControl* Separator(QWidget* Parent)
{
    auto* S = new TCustomControl(Parent);
    S->resize(8, 25);
    S->OnPaint = [](TCustomControl* Self) {
        TCanvas* C = Self->Canvas();
        C->Brush()->SetColor(clBtnFace);
        C->FillRect(Self->ClientRect());
        C->Pen()->SetColor(clBtnShadow);
        C->MoveTo(3, 2);
        C->LineTo(3, Self->height() - 2);
        C->Pen()->SetColor(clBtnHighlight);
        C->MoveTo(4, 2);
        C->LineTo(4, Self->height() - 2);
    };
    return S;
}

TCustomControl* Panel(QWidget* Parent, TAlign Align)
{
    auto* P = new TCustomControl(Parent);
    SetControlAlign(P, Align);
    P->OnResize = [P](QObject*) { AlignControls(P, P->rect()); };
    return P;
}

} // namespace

TfrPageSetupCall frPageSetupDialog;

// ---------------------------------------------------------------- window

TfrPreviewForm::TfrPreviewForm(QWidget* AOwner) : TForm(AOwner)
{
    setObjectName(QStringLiteral("frPreviewForm"));
    SetCaption(QStringLiteral("Print preview"));
    SetClientSize(800, 600);
    setWindowState(Qt::WindowMaximized);
    SetKeyPreview(true);

    ToolPanel = Panel(this, alTop);
    ToolPanel->resize(800, ToolHeight);
    ZoomBtn = ToolButton(ToolPanel, 0, 72);
    ZoomBtn->SetCaption(QStringLiteral("100%"));
    Sep1 = Separator(ToolPanel);
    LoadBtn = ToolButton(ToolPanel, 1);
    SaveBtn = ToolButton(ToolPanel, 2);
    PrintBtn = ToolButton(ToolPanel, 3);
    PageSetupBtn = ToolButton(ToolPanel, 4);
    Sep2 = Separator(ToolPanel);
    FindBtn = ToolButton(ToolPanel, 5);
    HelpBtn = ToolButton(ToolPanel, 6);
    HelpBtn->SetGroupIndex(1);
    HelpBtn->SetAllowAllUp(true);
    Sep3 = Separator(ToolPanel);
    ExitBtn = ToolButton(ToolPanel, 7);

    PreviewPanel = Panel(this, alClient);
    BPanel = Panel(PreviewPanel, alBottom);
    BPanel->resize(800, BarExtent + 1);
    Label1 = new QLabel(BPanel);
    Label1->resize(110, BarExtent);
    SetControlAlign(Label1, alLeft);
    Label2 = new QLabel(BPanel);
    Label2->resize(110, BarExtent);
    SetControlAlign(Label2, alLeft);
    HScrollBar = new TScrollBar(sbHorizontal, BPanel);
    SetControlAlign(HScrollBar, alClient);
    RPanel = Panel(PreviewPanel, alRight);
    RPanel->resize(BarExtent, 400);
    PgDown = ToolButton(RPanel, 9, BarExtent);
    PgDown->resize(BarExtent, BarExtent);
    SetControlAlign(PgDown, alBottom);
    PgUp = ToolButton(RPanel, 8, BarExtent);
    PgUp->resize(BarExtent, BarExtent);
    PgUp->move(0, 0);
    SetControlAlign(PgUp, alBottom);
    VScrollBar = new TScrollBar(sbVertical, RPanel);
    SetControlAlign(VScrollBar, alClient);
    VScrollBar->SetParams(0, 0, 32000);
    VScrollBar->SetSmallChange(10);
    VScrollBar->SetLargeChange(200);
    HScrollBar->SetParams(0, 0, 32000);
    HScrollBar->SetSmallChange(10);
    HScrollBar->SetLargeChange(200);
    ScrollBox1 = Panel(PreviewPanel, alClient);
    ScrollBox1->setFocusPolicy(Qt::StrongFocus);
    PaintBox = new TfrPBox(this, ScrollBox1);
    SetControlAlign(PaintBox, alClient);

    CreateProcMenu();
    OpenDialog = new TOpenDialog(this);
    SaveDialog = new TSaveDialog(this);
    SaveDialog->SetOverwritePrompt(true);
    Localize();
    ArrangeTools();

    ZoomBtn->OnClick = [this](QObject*) { ZoomBtnClick(); };
    LoadBtn->OnClick = [this](QObject*) { LoadBtnClick(); };
    SaveBtn->OnClick = [this](QObject*) { SaveBtnClick(); };
    PrintBtn->OnClick = [this](QObject*) { PrintBtnClick(); };
    PageSetupBtn->OnClick = [this](QObject*) { PageSetupBtnClick(); };
    FindBtn->OnClick = [this](QObject*) { FindBtnClick(); };
    HelpBtn->OnClick = [this](QObject*) { HelpBtnClick(); };
    ExitBtn->OnClick = [this](QObject*) { ExitBtnClick(); };
    PgUp->OnClick = [this](QObject*) { PgUpClick(); };
    PgDown->OnClick = [this](QObject*) { PgDownClick(); };
    HScrollBar->OnChange = [this](QObject*) { HScrollBarChange(); };
    VScrollBar->OnChange = [this](QObject*) { VScrollBarChange(); };
    OnResize = [this](QObject*) { AlignControls(this, rect()); };
    OnKeyDown = [this](QObject*, int& Key, TShiftState Shift) { FormKeyDown(Key, Shift); };
    OnShow = [this](QObject*) {
        Localize();
        RestoreFormPosition(this);
    };
    OnClose = [this](QObject*, TCloseAction& Action) {
        SaveFormPosition(this);
        EndHelpMode();
        Action = caFree;
    };
}

void TfrPreviewForm::CreateProcMenu()
{
    ProcMenu = new TPopupMenu(this);
    for (int Tag : {200, 150, 100, 75, 50, 25, 10, 0, int(zmPageWidth), int(zmWholePage), int(zmTwoPages)}) {
        if (Tag == 0) {
            ProcMenu->Items()->Add(QStringLiteral("-"));
            continue;
        }
        TMenuItem* Item = ProcMenu->Items()->Add(QString::number(Tag) + u'%',
                                                 [this, Tag](QObject*) { ZoomMenuClick(Tag); });
        Item->SetTag(Tag);
        FZoomItems.push_back(Item);
    }
    EditSeparator = ProcMenu->Items()->Add(QStringLiteral("-"));
    EditPageItem = ProcMenu->Items()->Add(QString(), [this](QObject*) { EditPageClick(); });
    AddPageItem = ProcMenu->Items()->Add(QString(), [this](QObject*) { AddPageClick(); });
    DelPageItem = ProcMenu->Items()->Add(QString(), [this](QObject*) { DelPageClick(); });
}

TfrPreviewForm::~TfrPreviewForm()
{
    EndHelpMode();
    QObject::disconnect(FReportGone);
}

void TfrPreviewForm::Localize()
{
    FZoomItems[7]->SetCaption(LoadEngineString(53020));
    FZoomItems[8]->SetCaption(LoadEngineString(53021));
    FZoomItems[9]->SetCaption(LoadEngineString(53022));
    EditPageItem->SetCaption(LoadEngineString(53029));
    AddPageItem->SetCaption(LoadEngineString(53030));
    DelPageItem->SetCaption(LoadEngineString(53031));
    ZoomBtn->SetHint(LoadEngineString(53024));
    LoadBtn->SetHint(LoadEngineString(53025));
    SaveBtn->SetHint(LoadEngineString(53026));
    PrintBtn->SetHint(LoadEngineString(53027));
    FindBtn->SetHint(LoadEngineString(53028));
    HelpBtn->SetHint(LoadEngineString(53032));
    ExitBtn->SetHint(LoadEngineString(53023));
}

// The visible tool controls from the left, in their order.
void TfrPreviewForm::ArrangeTools()
{
    int X = 2;
    for (QWidget* W : std::initializer_list<QWidget*>{ZoomBtn, Sep1, LoadBtn, SaveBtn, PrintBtn, PageSetupBtn, Sep2,
                                                     FindBtn, HelpBtn, Sep3, ExitBtn}) {
        if (W->isHidden())
            continue;
        W->move(X, 1);
        X += W->width();
    }
}

bool TfrPreviewForm::event(QEvent* Event)
{
    if (Event->type() == QEvent::WindowActivate) {
        Application()->SetHelpFile(QStringLiteral("DAzeve.hlp"));
        ScrollBox1->setFocus();
    } else if (Event->type() == QEvent::WindowDeactivate) {
        Application()->SetHelpFile(SavedHelpFile);
    }
    return TForm::event(Event);
}

// ---------------------------------------------------------------- report

void TfrPreviewForm::Connect(TfrReport* AReport)
{
    if (Report != AReport) {
        QObject::disconnect(FReportGone);
        // Taken pages name their report: they go with it.
        FReportGone = QObject::connect(AReport, &QObject::destroyed, this, [this] {
            EMFPages.reset();
            if (isVisible())
                Close();
        });
    }
    Report = AReport;
    auto Pages = std::make_unique<TfrEMFPages>(AReport);
    Pages->TakeFrom(*AReport->EMFPages());
    EMFPages = std::move(Pages);
}

void TfrPreviewForm::Disconnect()
{
    if (Report && EMFPages)
        Report->EMFPages()->TakeFrom(*EMFPages);
}

void TfrPreviewForm::ShowReport(TfrReport* AReport)
{
    Connect(AReport);
    SetupButtons();
    InitView(true);
    HScrollBar->SetPosition(0);
    VScrollBar->SetPosition(0);
    SavedHelpFile = Application()->HelpFile();
    if (AReport->ModalPreview())
        ShowModal();
    else
        Show();
}

int TfrPreviewForm::PageCount() const
{
    return EMFPages ? EMFPages->Count() : 0;
}

bool TfrPreviewForm::EditingAllowed() const
{
    return DesignerClass && Report && Report->ModifyPrepared();
}

void TfrPreviewForm::SetupButtons()
{
    if (!Report)
        return;
    const TfrPreviewButtons Buttons = Report->PreviewButtons();
    const bool InWindow = ToolPanel->parentWidget() == this;
    ZoomBtn->setHidden(!(Buttons & pbZoom));
    LoadBtn->setHidden(!(Buttons & pbLoad));
    SaveBtn->setHidden(!(Buttons & pbSave));
    PrintBtn->setHidden(!(Buttons & pbPrint));
    FindBtn->setHidden(!(Buttons & pbFind));
    HelpBtn->setHidden(!(Buttons & pbHelp) || !InWindow);
    ExitBtn->setHidden(!(Buttons & pbExit) || !InWindow);
    PageSetupBtn->setHidden(!(Buttons & pbPageSetup));
    Sep1->setHidden(ZoomBtn->isHidden());
    Sep3->setHidden(FindBtn->isHidden() && HelpBtn->isHidden());
    // The virtual printer counts: it prints to PDF.
    PrintBtn->SetEnabled(frPrinter()->Printers.Count() > 0);
    PageSetupBtn->SetEnabled(PrintBtn->Enabled());
    const bool Editing = EditingAllowed();
    for (TMenuItem* Item : {EditSeparator, EditPageItem, AddPageItem, DelPageItem})
        Item->SetVisible(Editing);
    switch (Report->InitialZoom()) {
    case pzPageWidth: LastZoomMode = zmPageWidth; break;
    case pzOnePage: LastZoomMode = zmWholePage; break;
    case pzTwoPages: LastZoomMode = zmTwoPages; break;
    case pzDefault: break;
    }
    bool Gray = Report->GrayedButtons();
    if (DesignerClass)
        Gray = TRegIniFile(QStringLiteral("Software\\Pagewright\\") + Application()->Title())
                   .ReadBool(QStringLiteral("Form\\TfrDesignerForm"), QStringLiteral("GrayButtons"), Gray);
    for (TfrSpeedButton* B : {ZoomBtn, LoadBtn, SaveBtn, PrintBtn, PageSetupBtn, FindBtn, HelpBtn, ExitBtn})
        B->SetGrayedInactive(Gray);
    ArrangeTools();
}

// ---------------------------------------------------------------- view

void TfrPreviewForm::CheckZoomItem()
{
    const int Percent = RoundInt(Scale * 100);
    for (TMenuItem* Item : FZoomItems)
        Item->SetChecked(ZoomMode == zmPercent ? Item->Tag() == Percent && Item->Tag() >= 10
                                               : Item->Tag() == ZoomMode);
}

void TfrPreviewForm::InitView(bool Reset)
{
    Scale = LastScale;
    ZoomMode = LastZoomMode;
    CheckZoomItem();
    if (Reset) {
        CurPage = 1;
        OfsX = OfsY = LastHPos = LastVPos = 0;
        HScrollBar->SetPosition(0);
        VScrollBar->SetPosition(0);
    }
    CurPage = std::clamp(CurPage, 1, std::max(1, PageCount()));
    ShowPageNum();
    FormResize();
    for (int i = 0; i < PageCount(); ++i) {
        EMFPages->Items(i)->OnScreen = false;
        EMFPages->Draw(i, PaintBox->Canvas(), QRect());
    }
    DelPageItem->SetEnabled(PageCount() > 1);
    PaintBox->Repaint();
}

void TfrPreviewForm::FormResize()
{
    if (PageCount() == 0)
        return;
    const int BoxW = PaintBox->width();
    const int BoxH = PaintBox->height();
    const TfrPrnInfo& First = EMFPages->Items(std::clamp(CurPage, 1, PageCount()) - 1)->PagePrnInfo;
    const int W0 = First.PaperWidthPx;
    const int H0 = First.PaperHeightPx;
    if (W0 <= 0 || H0 <= 0)
        return;
    PaintAllowed = false;
    switch (ZoomMode) {
    case zmPageWidth: Scale = (BoxW - 20.0) / W0; break;
    case zmWholePage: Scale = (BoxH - 20.0) / H0; break;
    case zmTwoPages: Scale = (BoxW - 30.0) / (2.0 * W0); break;
    default: break;
    }
    if (Scale <= 0)
        Scale = 0.01;   // a box too small for any page still lays them out
    ZoomBtn->SetCaption(QString::number(RoundInt(Scale * 100)) + u'%');

    auto Scaled = [this](int Index) {
        const TfrPrnInfo& P = EMFPages->Items(Index)->PagePrnInfo;
        return QSize(RoundInt(P.PaperWidthPx * Scale), RoundInt(P.PaperHeightPx * Scale));
    };
    int PerRow = 0;
    int InRow = 0;
    int X = 10;
    for (int i = 0; i < PageCount(); ++i) {
        const int W = Scaled(i).width();
        if (X + W + 10 <= BoxW) {
            ++InRow;
            X += W + 10;
        } else {
            // The page that does not fit only closes the row.
            PerRow = std::max(PerRow, InRow);
            InRow = 0;
            X = 10;
        }
    }
    PerRow = std::max({PerRow, InRow, 1});
    if (ZoomMode == zmWholePage)
        PerRow = 1;
    else if (ZoomMode == zmTwoPages)
        PerRow = 2;

    int Y = 10;
    int Right = 0;
    int Bottom = 0;
    for (int i = 0; i < PageCount();) {
        X = 10;
        int RowHeight = 0;
        for (int k = 0; k < PerRow && i < PageCount(); ++k, ++i) {
            const QSize S = Scaled(i);
            const int Left = PerRow == 1 && BoxW > S.width() ? (BoxW - S.width()) / 2 : X;
            EMFPages->Items(i)->PageRect = QRect(Left, Y, S.width(), S.height());
            X += S.width() + 10;
            RowHeight = std::max(RowHeight, S.height());
            Right = std::max(Right, Left + S.width());
            Bottom = std::max(Bottom, Y + S.height());
        }
        Y += RowHeight + 10;
    }
    const int HMax = std::max(0, Right - BoxW + 10);
    const int VMax = std::max(0, Bottom - BoxH + 10);
    HScrollBar->SetParams(std::min(HScrollBar->Position(), HMax), 0, HMax);
    HScrollBar->setEnabled(HMax > 0);
    VScrollBar->SetParams(std::min(VScrollBar->Position(), VMax), 0, VMax);
    VScrollBar->setEnabled(VMax > 0);
    SetToCurPage();
    PaintAllowed = true;
}

void TfrPreviewForm::ShowPageNum()
{
    if (OnPageChanged)
        OnPageChanged(this, CurPage);
    Label1->setText(LoadEngineString(55004) + u' ' + QString::number(CurPage) + u'/' +
                    QString::number(PageCount()));
}

void TfrPreviewForm::SetToCurPage()
{
    if (PageCount() == 0)
        return;
    const int Page = std::clamp(CurPage, 1, PageCount());
    VScrollBar->SetPosition(EMFPages->Items(Page - 1)->PageRect.top() - 10);
    // A page near the end may not reach the top; it is still the one asked for.
    CurPage = Page;
    ShowPageNum();
}

void TfrPreviewForm::HScrollBarChange()
{
    const int Pos = HScrollBar->Position();
    const int Dx = LastHPos - Pos;
    OfsX = -Pos;
    LastHPos = Pos;
    if (PaintAllowed && Dx != 0) {
        PaintBox->ScrollWindow(Dx, 0, PaintBox->ClientRect(), PaintBox->ClientRect());
        PaintBox->Update();
    }
}

void TfrPreviewForm::VScrollBarChange()
{
    const int Pos = VScrollBar->Position();
    const int Dy = LastVPos - Pos;
    OfsY = -Pos;
    LastVPos = Pos;
    if (PaintAllowed && Dy != 0) {
        PaintBox->ScrollWindow(0, Dy, PaintBox->ClientRect(), PaintBox->ClientRect());
        PaintBox->Update();
    }
    const int Line = Pos + 11;
    for (int i = 0; i < PageCount(); ++i) {
        const QRect& R = EMFPages->Items(i)->PageRect;
        if (R.top() <= Line && Line < RectBottom(R)) {
            CurPage = i + 1;
            break;
        }
    }
    ShowPageNum();
}

void TfrPreviewForm::ScrollLines(int Notches)
{
    VScrollBar->SetPosition(VScrollBar->Position() - Notches * VScrollBar->SmallChange() * WheelStep);
}

// ---------------------------------------------------------------- zoom

void TfrPreviewForm::ZoomBtnClick()
{
    PopupProcMenu(ZoomBtn->mapToGlobal(QPoint(0, ZoomBtn->height())), false);
}

void TfrPreviewForm::PopupProcMenu(QPoint Global, bool WithEditing)
{
    const bool Editing = WithEditing && EditingAllowed();
    for (TMenuItem* Item : {EditSeparator, EditPageItem, AddPageItem, DelPageItem})
        Item->SetVisible(Editing);
    ProcMenu->Popup(Global.x(), Global.y());
}

void TfrPreviewForm::ZoomMenuClick(int Tag)
{
    if (Tag >= 10) {
        ZoomMode = zmPercent;
        Scale = Tag / 100.0;
    } else {
        ZoomMode = static_cast<uint8_t>(Tag);
    }
    HScrollBar->SetPosition(0);
    FormResize();
    LastScale = Scale;
    LastZoomMode = ZoomMode;
    CheckZoomItem();
    PaintBox->Repaint();
}

// ---------------------------------------------------------------- embedded panel

TfrPreview::TfrPreview(QWidget* AParent) : QWidget(AParent), FWindow(new TfrPreviewForm(this))
{
    FWindow->hide();
    FWindow->Host = this;
    FWindow->OnPageChanged = [this](QObject*, int PageNo) {
        if (OnPageChanged)
            OnPageChanged(this, PageNo);
    };
}

TfrPreview::~TfrPreview() = default;

void TfrPreview::Connect(TfrReport* Report)
{
    FWindow->PreviewPanel->setParent(this);
    FWindow->PreviewPanel->show();
    if (FShowToolbar) {
        FWindow->ToolPanel->setParent(this);
        FWindow->ToolPanel->show();
    }
    FWindow->HostMenu = FPopupMenu;
    FWindow->WheelStep = 3;
    FWindow->Connect(Report);
    FWindow->SetupButtons();
    Realign();
    FWindow->InitView(true);
}

void TfrPreview::Disconnect()
{
    FWindow->Disconnect();
}

void TfrPreview::SetScrollBars(TScrollStyle Value)
{
    FScrollBars = Value;
    FWindow->BPanel->setHidden(!(Value == ssHorizontal || Value == ssBoth));
    FWindow->RPanel->setHidden(!(Value == ssVertical || Value == ssBoth));
    AlignControls(FWindow->PreviewPanel, FWindow->PreviewPanel->rect());
}

void TfrPreview::SetShowToolbar(bool Value)
{
    FShowToolbar = Value;
    const bool Lent = FWindow->PreviewPanel->parentWidget() == this;
    FWindow->ToolPanel->setParent(Value && Lent ? static_cast<QWidget*>(this) : FWindow);
    FWindow->ToolPanel->show();
    FWindow->SetupButtons();
    Realign();
}

int TfrPreview::Page() const
{
    return FWindow->CurPage;
}

void TfrPreview::resizeEvent(QResizeEvent* Event)
{
    QWidget::resizeEvent(Event);
    Realign();
}

void TfrPreview::Realign()
{
    AlignControls(this, rect());
    FWindow->FormResize();
}
