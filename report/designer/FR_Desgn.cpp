#include "report/designer/FR_Desgn.h"

#include "platform/gui/Application.h"
#include "platform/gui/InputBox.h"
#include "platform/gui/Menus.h"
#include "platform/gui/Screen.h"
#include "report/designer/FR_DsgPage.h"
#include "report/engine/FR_Class.h"
#include "report/engine/FR_Control.h"
#include "report/engine/FR_Dock.h"
#include "report/engine/FR_Globals.h"
#include "report/engine/FR_Page.h"
#include "report/engine/FR_SubReportView.h"
#include "report/engine/FR_Utils.h"

#include <QFileInfo>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabBar>
#include <QWheelEvent>

TfrLastUsed frLastUsed;
bool KeepTool = false;

namespace {

int RegisterCount = 0;

// Tool glyphs: our own small drawings on olive, which buttons leave out.
std::unique_ptr<TBitmap> Glyph(const std::function<void(QPainter&)>& Draw)
{
    QImage I(16, 16, QImage::Format_RGB32);
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

std::unique_ptr<TBitmap> LetterGlyph(const QString& Text, bool Bold = false)
{
    return Glyph([&](QPainter& P) {
        QFont F(QStringLiteral("Sans"), 8);
        F.setBold(Bold);
        P.setFont(F);
        P.setPen(Qt::black);
        P.drawText(QRect(0, 0, 16, 16), Qt::AlignCenter, Text);
    });
}

std::unique_ptr<TBitmap> ObjectGlyph(int Tag)
{
    return Glyph([Tag](QPainter& P) {
        P.setPen(Qt::black);
        switch (Tag) {
        case -1: // arrow
            P.setBrush(Qt::black);
            P.drawPolygon(QPolygon({QPoint(4, 2), QPoint(4, 13), QPoint(7, 10), QPoint(10, 14), QPoint(11, 13),
                                    QPoint(9, 9), QPoint(12, 9)}));
            break;
        case 0: // memo
            P.setBrush(Qt::white);
            P.drawRect(1, 3, 13, 10);
            P.drawText(QRect(1, 3, 14, 11), Qt::AlignCenter, QStringLiteral("A"));
            break;
        case 2: // band
            P.setBrush(QColor(192, 192, 192));
            P.drawRect(1, 5, 13, 6);
            break;
        case 1: // picture
            P.setBrush(QColor(200, 230, 255));
            P.drawRect(1, 2, 13, 11);
            P.setBrush(QColor(0, 128, 0));
            P.drawPolygon(QPolygon({QPoint(2, 12), QPoint(6, 6), QPoint(9, 10), QPoint(11, 8), QPoint(13, 12)}));
            break;
        case 3: // subreport
            P.setBrush(Qt::white);
            P.drawRect(1, 1, 9, 11);
            P.drawRect(5, 4, 9, 11);
            break;
        case 4: // line
            P.setPen(QPen(Qt::black, 2));
            P.drawLine(2, 13, 13, 2);
            break;
        default:
            P.setBrush(QColor(255, 255, 192));
            P.drawEllipse(2, 2, 11, 11);
            break;
        }
    });
}

TfrToolBar* ToolBar(QWidget* Owner, const QString& Name, TfrDock* Dock)
{
    auto* T = new TfrToolBar(Owner);
    T->setObjectName(Name);
    T->AddToDock(Dock);
    return T;
}

TfrTBButton* Button(TfrToolBar* Bar, const QString& Name, std::unique_ptr<TBitmap> Image)
{
    auto* B = new TfrTBButton(Bar);
    B->setObjectName(Name);
    B->SetGlyph(Image.get());
    B->resize(22, 22);
    return B;
}

void Separator(TfrToolBar* Bar)
{
    auto* S = new TfrTBSeparator(Bar);
    S->resize(8, 22);
}

} // namespace

// ---------------------------------------------------------------- unit start-up

void frRegisterDesigner()
{
    if (RegisterCount++ > 0)
        return;
    DesignerClass = [](uint8_t Flag) { return new TfrDesignerForm(Flag); };
    GridBitmap = std::make_unique<TBitmap>(8, 8);
    frLastUsed = TfrLastUsed();
    KeepTool = false;
    frRegRootKey = QStringLiteral("Software\\Pagewright\\") + Application()->Title();
}

void frUnregisterDesigner()
{
    if (RegisterCount == 0 || --RegisterCount > 0)
        return;
    DesignerClass = nullptr;
    GridBitmap.reset();
    frLastUsed.FontName.clear();
}

// ---------------------------------------------------------------- window

TfrDesignerForm::TfrDesignerForm(uint8_t AFlag)
    : TfrReportDesigner(AFlag)
{
    setObjectName(QStringLiteral("frDesignerForm"));
    SetClientSize(900, 640);
    FormCreate();
    OnShow = [this](QObject*) { FormShow(); };
    OnResize = [this](QObject*) { FormResize(); };
    SetKeyPreview(true);
    OnKeyDown = [this](QObject*, int& Key, TShiftState Shift) { FormKeyDown(Key, Shift); };
}

TfrDesignerForm::~TfrDesignerForm()
{
    FormDestroy();
}

void TfrDesignerForm::FormCreate()
{
    frDock1 = new TfrDock(this, alTop);
    frDock2 = new TfrDock(this, alLeft);
    frDock3 = new TfrDock(this, alBottom);
    frDock4 = new TfrDock(this, alRight);
    StatusBar1 = new TCustomControl(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->resize(900, 20);
    SetControlAlign(StatusBar1, alBottom);
    StatusBar1->OnPaint = [this](TCustomControl*) { PaintStatusBar(); };

    auto* Client = new QWidget(this);
    SetControlAlign(Client, alClient);
    Tab1 = new QTabBar(Client);
    Tab1->setObjectName(QStringLiteral("Tab1"));
    Tab1->setShape(QTabBar::RoundedNorth);
    Tab1->setExpanding(false);
    ScrollBox1 = new QScrollArea(Client);
    ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
    ScrollBox1->setBackgroundRole(QPalette::Dark);
    ScrollHost = new QWidget;
    ScrollHost->setAutoFillBackground(false);
    ScrollBox1->setWidget(ScrollHost);
    ScrollBox1->setWidgetResizable(false);
    ScrollBox1->verticalScrollBar()->setSingleStep(8);
    QObject::connect(Tab1, &QTabBar::currentChanged, this, [this](int Index) { Tab1Change(Index); });

    PageView = new TfrDesignerPage(ScrollHost, this);
    PageView->ResetMouseState();

    BuildToolBars();
    Localize();
    WireEditCommands();
    Popup1 = new TPopupMenu(this);

    auto Relayout = [this, Client] {
        AlignControls(this, rect());
        Tab1->setGeometry(0, 0, Client->width(), Tab1->sizeHint().height());
        ScrollBox1->setGeometry(0, Tab1->height(), Client->width(), Client->height() - Tab1->height());
    };
    Relayout();
    OnResizeLayout = Relayout;
}

void TfrDesignerForm::BuildToolBars()
{
    Panel2 = ToolBar(this, QStringLiteral("Panel2"), frDock1);
    auto* FileBtn1 = Button(Panel2, QStringLiteral("FileBtn1"), LetterGlyph(QStringLiteral("N")));
    auto* FileBtn2 = Button(Panel2, QStringLiteral("FileBtn2"), LetterGlyph(QStringLiteral("O")));
    FileBtn3 = Button(Panel2, QStringLiteral("FileBtn3"), LetterGlyph(QStringLiteral("S")));
    auto* FileBtn4 = Button(Panel2, QStringLiteral("FileBtn4"), LetterGlyph(QStringLiteral("P")));
    Separator(Panel2);
    for (const char* Name : {"CutB", "CopyB", "PstB"})
        Button(Panel2, QString::fromLatin1(Name), LetterGlyph(QString::fromLatin1(Name).left(1)))->SetEnabled(false);
    Separator(Panel2);
    for (const char* Name : {"UndoB", "RedoB", "ZB1", "ZB2", "SelAllB"})
        Button(Panel2, QString::fromLatin1(Name), LetterGlyph(QString::fromLatin1(Name).left(1)))->SetEnabled(false);
    Separator(Panel2);
    auto* PgB1 = Button(Panel2, QStringLiteral("PgB1"), LetterGlyph(QStringLiteral("+")));
    auto* PgB2 = Button(Panel2, QStringLiteral("PgB2"), LetterGlyph(QStringLiteral("-")));
    auto* PgB3 = Button(Panel2, QStringLiteral("PgB3"), LetterGlyph(QStringLiteral("#")));
    auto* PgB4 = Button(Panel2, QStringLiteral("PgB4"), LetterGlyph(QStringLiteral("D")));
    Separator(Panel2);
    auto* GB1 = Button(Panel2, QStringLiteral("GB1"), LetterGlyph(QStringLiteral(":")));
    GB1->SetAllowAllUp(true);
    GB1->SetGroupIndex(2);
    GB1->OnClick = [this, GB1](QObject*) { SetShowGrid(GB1->Down()); };
    auto* GB2 = Button(Panel2, QStringLiteral("GB2"), LetterGlyph(QStringLiteral("#")));
    GB2->SetAllowAllUp(true);
    GB2->SetGroupIndex(3);
    GB2->OnClick = [this, GB2](QObject*) { SetGridAlign(GB2->Down()); };
    Separator(Panel2);
    ExitB = Button(Panel2, QStringLiteral("ExitB"), LetterGlyph(QStringLiteral("X")));
    ExitB->resize(60, 22);
    ExitB->OnClick = [this](QObject*) { SetModalResult(mrOk); };
    FlagButtons = {FileBtn1, FileBtn2, FileBtn4, PgB1, PgB2, PgB3, PgB4};
    PgB3->OnClick = [this](QObject*) { PageOptions(); };

    Panel3 = ToolBar(this, QStringLiteral("Panel3"), frDock1);
    for (const char* Name : {"AlB1", "AlB2", "AlB3", "AlB5", "AlB6", "AlB7", "AlB8", "AlB4"})
        Button(Panel3, QString::fromLatin1(Name), LetterGlyph(QStringLiteral("≡")))->SetEnabled(false);
    Separator(Panel3);
    Button(Panel3, QStringLiteral("FnB1"), LetterGlyph(QStringLiteral("B"), true))->SetEnabled(false);
    Button(Panel3, QStringLiteral("FnB2"), LetterGlyph(QStringLiteral("I")))->SetEnabled(false);
    Button(Panel3, QStringLiteral("FnB3"), LetterGlyph(QStringLiteral("U")))->SetEnabled(false);

    Panel1 = ToolBar(this, QStringLiteral("Panel1"), frDock1);
    for (const char* Name : {"FrB1", "FrB2", "FrB3", "FrB4", "FrB5", "FrB6", "ClB1", "ClB3", "StB1"})
        Button(Panel1, QString::fromLatin1(Name), LetterGlyph(QStringLiteral("□")))->SetEnabled(false);

    Panel4 = ToolBar(this, QStringLiteral("Panel4"), frDock2);
    Panel4->SetOrientation(toVertOnly);
    const std::pair<const char*, int> Tools[] = {{"OB1", -1}, {"OB2", 0}, {"OB3", 2}, {"OB4", 1}, {"OB5", 3}, {"OB6", 4}};
    for (const auto& [Name, Tag] : Tools) {
        auto* B = Button(Panel4, QString::fromLatin1(Name), ObjectGlyph(Tag));
        B->SetTag(Tag);
        B->SetGroupIndex(1);
        FObjectButtons.push_back(B);
    }
    for (size_t i = 0; i < frAddIns.size(); ++i) {
        auto* B = Button(Panel4, QStringLiteral("AddIn%1").arg(i), ObjectGlyph(10));
        bool Ok = false;
        const int Id = frAddIns[i].ButtonHint.toInt(&Ok);
        B->SetHint(Ok ? LoadEngineString(Id) : frAddIns[i].ButtonHint);
        B->SetTag(10 + static_cast<int>(i));
        B->SetGroupIndex(1);
        B->SetGrayedInactive(false);
        // Dialog controls show only on dialog pages.
        auto Probe = frAddIns[i].Creator ? frAddIns[i].Creator() : nullptr;
        B->setProperty("DialogControl", dynamic_cast<TfrControl*>(Probe.get()) != nullptr);
        B->setVisible(!B->property("DialogControl").toBool());
        FObjectButtons.push_back(B);
    }
    for (TfrTBButton* B : FObjectButtons)
        B->OnMouseDown = [this](QObject*, TMouseButton, TShiftState Shift, int, int) {
            KeepTool = Shift.Contains(ssShift);
            PageView->SetCursor(crDefault);
        };
    FObjectButtons.front()->OnClick = [](QObject*) { KeepTool = false; };

    Panel5 = ToolBar(this, QStringLiteral("Panel5"), frDock4);
    Panel5->SetOrientation(toVertOnly);
    for (int i = 1; i <= 10; ++i)
        Button(Panel5, QStringLiteral("Align%1").arg(i), LetterGlyph(QStringLiteral("|")))->SetEnabled(false);

    Panel6 = ToolBar(this, QStringLiteral("Panel6"), frDock1);
    if (Flag()) {
        auto* B = Button(Panel6, QStringLiteral("InsFields"), LetterGlyph(QStringLiteral("F")));
        B->SetHint(LoadEngineString(55305));
    }
    for (TfrToolBar* T : {Panel1, Panel2, Panel3, Panel4, Panel5, Panel6})
        T->AdjustBounds();
    for (TfrDock* D : {frDock1, frDock2, frDock3, frDock4})
        D->AdjustBounds();
}

void TfrDesignerForm::Localize()
{
    FTitleText = LoadEngineString(53080);
    const std::pair<TfrToolBar*, int> Bars[] = {{Panel1, 53081}, {Panel2, 53082}, {Panel3, 53083},
                                                {Panel4, 53084}, {Panel5, 53085}, {Panel6, 53086}};
    for (const auto& [Bar, Id] : Bars)
        Bar->SetCaption(LoadEngineString(Id));
    const std::pair<const char*, int> Hints[] = {
        {"FileBtn1", 53087}, {"FileBtn2", 53088}, {"FileBtn3", 53089}, {"FileBtn4", 53090}, {"CutB", 53091},
        {"CopyB", 53092}, {"PstB", 53093}, {"UndoB", 53094}, {"RedoB", 53095}, {"ZB1", 53096}, {"ZB2", 53097},
        {"SelAllB", 53098}, {"PgB1", 53099}, {"PgB2", 53100}, {"PgB3", 53101}, {"PgB4", 53193}, {"GB1", 53102},
        {"GB2", 53103}, {"ExitB", 53106}, {"AlB1", 53107}, {"AlB2", 53108}, {"AlB3", 53109}, {"AlB4", 53110},
        {"AlB5", 53111}, {"AlB6", 53112}, {"AlB7", 53113}, {"AlB8", 53114}, {"FnB1", 53115}, {"FnB2", 53116},
        {"FnB3", 53117}, {"FrB1", 53122}, {"FrB2", 53123}, {"FrB3", 53124}, {"FrB4", 53125}, {"FrB5", 53126},
        {"FrB6", 53127}, {"ClB1", 53128}, {"ClB3", 53129}, {"StB1", 53191}, {"OB1", 53132}, {"OB2", 53133},
        {"OB3", 53134}, {"OB4", 53135}, {"OB5", 53136}, {"OB6", 53137}};
    for (const auto& [Name, Id] : Hints)
        if (auto* B = findChild<TfrSpeedButton*>(QString::fromLatin1(Name)))
            B->SetHint(LoadEngineString(Id));
    for (int i = 1; i <= 10; ++i)
        if (auto* B = findChild<TfrSpeedButton*>(QStringLiteral("Align%1").arg(i)))
            B->SetHint(LoadEngineString(53137 + i));
    ExitB->SetCaption(LoadEngineString(53105));
}

void TfrDesignerForm::FormShow()
{
    QImage Pencil(32, 32, QImage::Format_ARGB32);
    Pencil.fill(Qt::transparent);
    {
        QPainter P(&Pencil);
        P.setPen(QPen(Qt::black, 1));
        P.setBrush(QColor(255, 220, 120));
        P.drawPolygon(QPolygon({QPoint(0, 15), QPoint(3, 8), QPoint(12, 0), QPoint(15, 3), QPoint(6, 12)}));
    }
    Screen()->SetCursors(crPencil, QCursor(QPixmap::fromImage(Pencil), 0, 15));
    for (TfrSpeedButton* B : FlagButtons)
        B->SetEnabled(Flag() != 0);
    if (TfrTBButton* B = ToolButton(gtBand))
        B->SetEnabled(Flag() != 0);
    if (TfrTBButton* B = ToolButton(gtSubReport))
        B->SetEnabled(Flag() != 0);
    FileBtn3->SetEnabled(true);
    ClearUndoBuffer();
    ClearRedoBuffer();
    SetModified(false);
    frLastUsed.FontName = QStringLiteral("Arial");
    frLastUsed.FontSize = 10;
    SetCurPage(0);
    SetFileName(Flag() ? CurReport->FileName() : LoadEngineString(55209));
    UnselectAll();
    PageView->ResetMouseState();
    PressTool(-1);
    if (auto* GB1 = findChild<TfrSpeedButton*>(QStringLiteral("GB1")))
        GB1->SetDown(GridShow);
    if (auto* GB2 = findChild<TfrSpeedButton*>(QStringLiteral("GB2")))
        GB2->SetDown(GridAlign);
    FormResize();
    UpdateStatus();
}

void TfrDesignerForm::FormResize()
{
    if (FDestroying)
        return;
    if (OnResizeLayout)
        OnResizeLayout();
    ScrollBox1->horizontalScrollBar()->setValue(0);
    ScrollBox1->verticalScrollBar()->setValue(0);
    PageView->PlacePage();
}

void TfrDesignerForm::FormDestroy()
{
    if (FDestroying)
        return;
    FDestroying = true;
    ClearUndoBuffer();
    ClearRedoBuffer();
    // A prepared page edited from the preview keeps the report's own name.
    if (Flag() && CurReport)
        CurReport->SetFileName(FFileName);
    if (DialogPageForm) {
        PageView->setParent(ScrollHost);
        delete DialogPageForm;
        DialogPageForm = nullptr;
    }
    Page = nullptr;
}

// ---------------------------------------------------------------- engine operations

bool TfrDesignerForm::GetModified()
{
    return FModified;
}

void TfrDesignerForm::SetModified(bool Value)
{
    FModified = Value;
    FileBtn3->SetEnabled(true);
}

void TfrDesignerForm::BeforeChange()
{
    AddUndoAction(acEdit);
}

void TfrDesignerForm::AfterChange()
{
    RedrawPage();
    SelectionChanged();
}

void TfrDesignerForm::RedrawPage()
{
    PageView->DrawSelected(1);
    PageView->PaintViews(10000);
    PageView->update();
}

void TfrDesignerForm::SelectObject(const QString& ObjName)
{
    if (!Page)
        return;
    if (TfrView* V = Page->FindObject(ObjName)) {
        PageView->DrawSelected(1);
        UnselectAll();
        SetViewSelected(V, true);
        RefView = V;
        PageView->ComputeSelectionBounds();
        RedrawPage();
        SelectionChanged();
        return;
    }
    // Only "Page" + the number of an existing page turns the page.
    if (!ObjName.startsWith(QStringLiteral("Page"), Qt::CaseInsensitive))
        return;
    bool Ok = false;
    const int Number = ObjName.mid(4).toInt(&Ok);
    if (Ok && Number >= 1 && Number <= CurReport->Pages()->Count())
        SetCurPage(Number - 1);
}

QString TfrDesignerForm::InsertDBField()
{
    // The fields dialog joins with the data dictionary.
    return QString();
}

QString TfrDesignerForm::InsertExpression()
{
    const QString Text = InputBox(LoadEngineString(53080), QString(), QString());
    if (Text.isEmpty())
        return QString();
    if (Text.startsWith(u'[') && Text.endsWith(u']') && Text.indexOf(u'[', 1) < 0)
        return Text;
    return QLatin1Char('[') + Text + QLatin1Char(']');
}

// ---------------------------------------------------------------- change path

TfrView* TfrDesignerForm::InsertView(std::unique_ptr<TfrView> View)
{
    TfrView* V = View.get();
    Page->Add(std::move(View));
    AddUndoAction(acInsert);
    return V;
}

// ---------------------------------------------------------------- pages

bool TfrDesignerForm::CurPageIsSubReport() const
{
    for (int p = 0; p < CurReport->Pages()->Count(); ++p) {
        TfrPage* Pg = CurReport->Pages()->Pages(p);
        for (int i = 0; i < Pg->Count(); ++i)
            if (auto* S = dynamic_cast<TfrSubReportView*>(Pg->Objects(i)); S && S->SubPage() == FCurPageIndex)
                return true;
    }
    return false;
}

void TfrDesignerForm::FlipObjectButtons(bool DialogControls)
{
    FDialogButtons = DialogControls;
    for (TfrTBButton* B : FObjectButtons) {
        if (B->Tag() == -1)
            continue;
        B->setVisible(B->property("DialogControl").toBool() == DialogControls);
        B->resize(22, 22);
    }
    Panel4->AdjustBounds();
    frDock2->AdjustBounds();
}

void TfrDesignerForm::SetCurPage(int Index)
{
    if (!CurReport || Index < 0 || Index >= CurReport->Pages()->Count())
        return;
    PageView->DrawSelected(1);
    FCurPageIndex = Index;
    Page = CurReport->Pages()->Pages(Index);
    FCurPageType = Page->PageType;
    CurPage = Page;
    if (FCurPageType == ptDialog && !DialogPageForm) {
        if (!FDialogButtons)
            FlipObjectButtons(true);
        DialogPageForm = new TForm(nullptr);
        DialogPageForm->setObjectName(QStringLiteral("frPageForm"));
        DialogPageForm->OnCloseQuery = [](QObject*, bool& CanClose) { CanClose = false; };
        PageView->setParent(DialogPageForm);
        PageView->SetColor(clBtnFace);
        PageView->show();
    } else if (FCurPageType == ptReport && DialogPageForm) {
        DialogPageForm->OnResize = nullptr;
        if (FDialogButtons)
            FlipObjectButtons(false);
        PageView->setParent(ScrollHost);
        PageView->SetColor(clWhite);
        PageView->show();
        delete DialogPageForm;
        DialogPageForm = nullptr;
    }
    if (DialogPageForm) {
        DialogPageForm->OnResize = nullptr;
        DialogPageForm->setGeometry(Page->FormLeft, Page->FormTop, Page->FormWidth, Page->FormHeight);
        DialogPageForm->SetCaption(Page->Caption);
        PageView->SetColor(static_cast<TColor>(Page->Color));
        PageView->setGeometry(DialogPageForm->rect());
        DialogPageForm->OnResize = [this](QObject*) {
            if (!Page || !DialogPageForm)
                return;
            Page->FormLeft = DialogPageForm->x();
            Page->FormTop = DialogPageForm->y();
            Page->FormWidth = DialogPageForm->width();
            Page->FormHeight = DialogPageForm->height();
            PageView->setGeometry(DialogPageForm->rect());
            SetModified(true);
        };
        if (isVisible())
            DialogPageForm->show();
    }
    ScrollBox1->horizontalScrollBar()->setValue(0);
    ScrollBox1->verticalScrollBar()->setValue(0);
    PageView->PlacePage();
    UpdatePageTabs();
    ResetSelection();
    PageView->Invalidate();
    PageView->update();
}

void TfrDesignerForm::UpdatePageTabs()
{
    const QSignalBlocker Block(Tab1);
    while (Tab1->count() > CurReport->Pages()->Count())
        Tab1->removeTab(Tab1->count() - 1);
    for (int i = 0; i < CurReport->Pages()->Count(); ++i) {
        const QString Caption = QStringLiteral("Page%1").arg(i + 1);
        if (i < Tab1->count())
            Tab1->setTabText(i, Caption);
        else
            Tab1->addTab(Caption);
    }
    Tab1->setCurrentIndex(FCurPageIndex);
}

void TfrDesignerForm::Tab1Change(int Index)
{
    if (Index >= 0 && Index != FCurPageIndex)
        SetCurPage(Index);
}

void TfrDesignerForm::SetFileName(const QString& Name)
{
    FFileName = Name;
    SetCaption(FTitleText + QStringLiteral(" - ") + QFileInfo(Name).fileName());
}

// ---------------------------------------------------------------- selection

void TfrDesignerForm::UnselectAll()
{
    for (int i = 0; Page && i < Page->Count(); ++i)
        Page->Objects(i)->SetSelected(false);
    SelCount = 0;
    RefView = nullptr;
    MultiSel = false;
}

void TfrDesignerForm::ResetSelection()
{
    UnselectAll();
    PageView->CornerIndex = -1;
    SelectionChanged();
}

void TfrDesignerForm::UpdateStatus()
{
    if (SelCount == 1 && Page) {
        const TfrView* V = Page->Objects(LastSelectedIndex());
        FStatusPos = QStringLiteral("%1; %2  %3 x %4").arg(V->Left()).arg(V->Top()).arg(V->Width()).arg(V->Height());
    } else if (SelCount == 0) {
        FStatusPos.clear();
    }
    StatusBar1->Invalidate();
    StatusBar1->update();
}

void TfrDesignerForm::ShowPosition(const QString& Text)
{
    FStatusPos = Text;
    StatusBar1->Invalidate();
    StatusBar1->update();
}

void TfrDesignerForm::PaintStatusBar()
{
    TCanvas* C = StatusBar1->Canvas();
    C->Brush()->SetColor(clBtnFace);
    C->FillRect(StatusBar1->ClientRect());
    const int Widths[3] = {75, 230, 50};
    QString Texts[3];
    Texts[0] = QStringLiteral("Pixels");
    Texts[1] = FStatusPos;
    Texts[2] = SelectionText();
    int X = 0;
    for (int i = 0; i < 3; ++i) {
        QRect R = Rect(X, 2, X + Widths[i] - 2, StatusBar1->height());
        C->DrawEdge(R, BDR_SUNKENOUTER, BF_RECT);
        C->Brush()->SetStyle(bsClear);
        C->TextOut(X + 3, 4, Texts[i]);
        C->Brush()->SetStyle(bsSolid);
        X += Widths[i];
    }
}

// ---------------------------------------------------------------- tools

int TfrDesignerForm::ToolTag() const
{
    for (TfrTBButton* B : FObjectButtons)
        if (B->Down())
            return B->Tag();
    return -1;
}

TfrTBButton* TfrDesignerForm::ToolButton(int Tag) const
{
    for (TfrTBButton* B : FObjectButtons)
        if (B->Tag() == Tag)
            return B;
    return nullptr;
}

void TfrDesignerForm::PressTool(int Tag)
{
    if (TfrTBButton* B = ToolButton(Tag))
        B->SetDown(true);
    if (Tag == -1)
        KeepTool = false;
}

void TfrDesignerForm::ShowViewEditor(TfrView* View, bool MemoEditor)
{
    if (MemoEditor && frMemoEditor) {
        frMemoEditor();
        return;
    }
    if (View && !(View->Restrictions() & frrfDontEditContents))
        View->ShowEditor();
}

void TfrDesignerForm::PageOptions()
{
    // The page options dialog joins with the page commands.
}

void TfrDesignerForm::ShowPopup(int X, int Y)
{
    delete Popup1;
    Popup1 = new TPopupMenu(this);
    const int Ids[] = {53148, 53149, 53150, 53151, 53152, 53153};
    for (int Id : Ids)
        Popup1->Items()->Add(LoadEngineString(Id))->SetEnabled(false);
    if (SelCount == 1 && Page)
        Page->Objects(LastSelectedIndex())->DefinePopupMenu(Popup1);
    Popup1->Popup(X, Y);
}
