#include "report/designer/FR_Desgn.h"
#include "report/designer/FR_DsgLists.h"

#include "platform/gui/Application.h"
#include "platform/gui/ComCtrls.h"
#include "platform/gui/FileDialogs.h"
#include "platform/gui/InputBox.h"
#include "platform/gui/Menus.h"
#include "platform/gui/Screen.h"
#include "report/designer/FR_AttrE.h"
#include "report/designer/FR_Combo.h"
#include "report/designer/FR_GEdit.h"
#include "report/designer/FR_DsgPage.h"
#include "report/designer/FR_Edit.h"
#include "report/designer/FR_Edit1.h"
#include "report/designer/FR_Expr.h"
#include "report/designer/FR_Flds.h"
#include "report/designer/FR_InsFields.h"
#include "report/designer/FR_Insp.h"
#include "report/designer/FR_PageF.h"
#include "report/engine/FR_Class.h"
#include "report/engine/FR_Control.h"
#include "report/engine/FR_Dock.h"
#include "report/engine/FR_Globals.h"
#include "report/engine/FR_Page.h"
#include "report/engine/FR_SubReportView.h"
#include "report/engine/FR_Utils.h"

#include <QComboBox>
#include <QFileInfo>
#include <QFontInfo>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>

TfrLastUsed frLastUsed;
bool KeepTool = false;
bool ToolbarBusy = false;

namespace {

// New memos take "Arial", as the delivered templates do, when the font system
// takes that name (Liberation Sans stands in for it on Linux); otherwise the
// default sans face, never just the first family of the list.
QString DefaultMemoFontName()
{
    const QString Arial = QStringLiteral("Arial");
    const QString Resolved = QFontInfo(QFont(Arial)).family();
    const QString Unknown = QFontInfo(QFont(QStringLiteral("Tallybridge No Such Family"))).family();
    if (Resolved.compare(Arial, Qt::CaseInsensitive) == 0 || Resolved != Unknown)
        return Arial;
    return QFontInfo(QFont(QStringLiteral("sans-serif"))).family();
}

int RegisterCount = 0;

// Sends the wheel over the page to the scroll box's vertical bar, 8 pixels a
// notch, down scrolls down.
class TWheelRouter : public QObject
{
public:
    TWheelRouter(QObject* AOwner, QScrollArea* ABox) : QObject(AOwner), FBox(ABox) {}

protected:
    bool eventFilter(QObject*, QEvent* Event) override
    {
        if (Event->type() != QEvent::Wheel)
            return false;
        const int Notches = static_cast<QWheelEvent*>(Event)->angleDelta().y() / 120;
        QScrollBar* Bar = FBox->verticalScrollBar();
        Bar->setValue(Bar->value() - Notches * 8);
        return true;
    }

private:
    QScrollArea* FBox;
};

std::unique_ptr<TBitmap> LetterGlyph(const QString& Text, bool Bold = false)
{
    return frDrawnGlyph([&](QPainter& P) {
        QFont F(QStringLiteral("Sans"), 8);
        F.setBold(Bold);
        P.setFont(F);
        P.setPen(Qt::black);
        P.drawText(QRect(0, 0, 16, 16), Qt::AlignCenter, Text);
    });
}

std::unique_ptr<TBitmap> ObjectGlyph(int Tag)
{
    return frDrawnGlyph([Tag](QPainter& P) {
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

template <class TCombo = TfrComboBox>
TCombo* Combo(TfrToolBar* Bar, const QString& Name, int Width)
{
    auto* C = new TCombo(Bar);
    C->setObjectName(Name);
    C->resize(Width, 21);
    // Placed along the bar; without it the bar would stand it on end.
    SetControlAlign(C, alLeft);
    return C;
}

// A hint or caption that is a number stands for the resource string of that id.
QString HintText(const QString& Text)
{
    bool Ok = false;
    const int Id = Text.toInt(&Ok);
    return Ok ? LoadEngineString(Id) : Text;
}

// The six line styles: solid, dash, dot, dash-dot, dash-dot-dot, double.
std::unique_ptr<TBitmap> LineStyleGlyph(int Index)
{
    return frDrawnGlyph([Index](QPainter& P) {
        const Qt::PenStyle Styles[] = {Qt::SolidLine, Qt::DashLine, Qt::DotLine, Qt::DashDotLine,
                                       Qt::DashDotDotLine, Qt::SolidLine};
        P.setPen(QPen(Qt::black, 1, Styles[Index]));
        if (Index == 5) {
            P.drawLine(1, 6, 14, 6);
            P.drawLine(1, 9, 14, 9);
        } else {
            P.drawLine(1, 8, 14, 8);
        }
    });
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
    ClearClipboardList();
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
    BuildMenus();
    BuildPopupMenus();
    SetControlAlign(MainMenu1->MenuBar(), alTop);
    frDock1 = new TfrDock(this, alTop);
    frDock2 = new TfrDock(this, alLeft);
    frDock3 = new TfrDock(this, alBottom);
    frDock4 = new TfrDock(this, alRight);
    // Tool bars remember their dock by name.
    frDock1->setObjectName(QStringLiteral("frDock1"));
    frDock2->setObjectName(QStringLiteral("frDock2"));
    frDock3->setObjectName(QStringLiteral("frDock3"));
    frDock4->setObjectName(QStringLiteral("frDock4"));
    StatusBar1 = new TStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->resize(900, 20);
    SetControlAlign(StatusBar1, alBottom);
    for (int Width : {75, 230, 50})
        StatusBar1->AddPanel(Width);
    StatusBar1->OnMouseDown = [this](QObject*, TMouseButton, TShiftState, int X, int) { FStatusDownX = X; };
    StatusBar1->OnDblClick = [this](QObject*) {
        if (FStatusDownX < 0 || FStatusDownX >= StatusBar1->Panels(0).Width)
            return;
        SetUnits((Units + 1) % 3);
    };

    auto* Client = new QWidget(this);
    SetControlAlign(Client, alClient);
    Tab1 = new TTabControl(Client);
    Tab1->setObjectName(QStringLiteral("Tab1"));
    Tab1->setShape(QTabBar::RoundedNorth);
    Tab1->setExpanding(false);
    ScrollBox1 = new TScrollBox(Client);
    ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
    ScrollBox1->setBackgroundRole(QPalette::Dark);
    ScrollHost = new QWidget;
    ScrollHost->setAutoFillBackground(false);
    ScrollBox1->setWidget(ScrollHost);
    ScrollBox1->verticalScrollBar()->setSingleStep(8);
    Tab1->OnChange = [this](QObject*) { Tab1Change(Tab1->TabIndex()); };

    PageView = new TfrDesignerPage(ScrollHost, this);
    PageView->ResetMouseState();
    auto* Router = new TWheelRouter(this, ScrollBox1);
    for (QObject* Target : {static_cast<QObject*>(this), static_cast<QObject*>(ScrollBox1->viewport()),
                            static_cast<QObject*>(PageView)})
        Target->installEventFilter(Router);

    BuildToolBars();
    BuildFormatBars();
    BuildObjectBars();
    BuildLinePanel();
    DrawToolGlyphs();
    Localize();
    CreateMemoEditor();
    ToolbarBusy = true;
    FFirstShow = true;
    AddExtraTools();
    MainMenu1->Rebuild();
    MainMenu1->SetAutoHotkeys(false);
    MainMenu1->SetAutoLineReduction(false);
    Tab1->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(Tab1, &QTabBar::customContextMenuRequested, this, [this](const QPoint& P) {
        const QPoint G = Tab1->mapToGlobal(P);
        Popup2->Popup(G.x(), G.y());
        MakeOwnerDrawn(Popup2->ShownMenu());
    });
    WireEditCommands();
    BuildCommands();

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
    auto L = [](const char* Text) { return LetterGlyph(QString::fromUtf8(Text)); };
    Panel2 = ToolBar(this, QStringLiteral("Panel2"), frDock1);
    FileBtn1 = Button(Panel2, QStringLiteral("FileBtn1"), L("N"));
    FileBtn2 = Button(Panel2, QStringLiteral("FileBtn2"), L("O"));
    FileBtn3 = Button(Panel2, QStringLiteral("FileBtn3"), L("S"));
    FileBtn4 = Button(Panel2, QStringLiteral("FileBtn4"), L("P"));
    Separator(Panel2);
    CutB = Button(Panel2, QStringLiteral("CutB"), L("C"));
    CopyB = Button(Panel2, QStringLiteral("CopyB"), L("C"));
    PstB = Button(Panel2, QStringLiteral("PstB"), L("P"));
    Separator(Panel2);
    UndoB = Button(Panel2, QStringLiteral("UndoB"), L("↶"));
    RedoB = Button(Panel2, QStringLiteral("RedoB"), L("↷"));
    ZB1 = Button(Panel2, QStringLiteral("ZB1"), L("Z"));
    ZB2 = Button(Panel2, QStringLiteral("ZB2"), L("z"));
    SelAllB = Button(Panel2, QStringLiteral("SelAllB"), L("A"));
    for (TfrTBButton* B : {CutB, CopyB, PstB, UndoB, RedoB, ZB1, ZB2, SelAllB})
        B->SetEnabled(false);
    Separator(Panel2);
    PgB1 = Button(Panel2, QStringLiteral("PgB1"), L("+"));
    PgB2 = Button(Panel2, QStringLiteral("PgB2"), L("-"));
    PgB3 = Button(Panel2, QStringLiteral("PgB3"), L("#"));
    PgB4 = Button(Panel2, QStringLiteral("PgB4"), L("D"));
    Separator(Panel2);
    GB1 = Button(Panel2, QStringLiteral("GB1"), L(":"));
    GB1->SetAllowAllUp(true);
    GB1->SetGroupIndex(2);
    GB1->OnClick = [this](QObject*) { SetShowGrid(GB1->Down()); };
    GB2 = Button(Panel2, QStringLiteral("GB2"), L("#"));
    GB2->SetAllowAllUp(true);
    GB2->SetGroupIndex(3);
    GB2->OnClick = [this](QObject*) { SetGridAlign(GB2->Down()); };
    GB3 = Button(Panel2, QStringLiteral("GB3"), L("⌗"));
    Separator(Panel2);
    ExitB = Button(Panel2, QStringLiteral("ExitB"), L("X"));
    ExitB->resize(60, 22);
    // Modal, the window ends with mrOk after the close query; else it closes.
    ExitB->OnClick = [this](QObject*) { InModal() ? SetModalResult(mrOk) : Close(); };
    HelpBtn = Button(Panel2, QStringLiteral("HelpBtn"), L("?"));
    FlagButtons = {FileBtn1, FileBtn2, FileBtn4, PgB1, PgB2, PgB3, PgB4};
}

// "Text" and "Rectangle": formatting buttons and combos, off until a
// selection gives them something to format.
void TfrDesignerForm::BuildFormatBars()
{
    auto L = [](const char* Text) { return LetterGlyph(QString::fromUtf8(Text)); };
    Panel3 = ToolBar(this, QStringLiteral("Panel3"), frDock1);
    AlB1 = Button(Panel3, QStringLiteral("AlB1"), L("⇤"));
    AlB2 = Button(Panel3, QStringLiteral("AlB2"), L("⇥"));
    AlB3 = Button(Panel3, QStringLiteral("AlB3"), L("≡"));
    AlB8 = Button(Panel3, QStringLiteral("AlB8"), L("☰"));
    AlB5 = Button(Panel3, QStringLiteral("AlB5"), L("↕"));
    AlB6 = Button(Panel3, QStringLiteral("AlB6"), L("⤒"));
    AlB7 = Button(Panel3, QStringLiteral("AlB7"), L("⤓"));
    AlB4 = Button(Panel3, QStringLiteral("AlB4"), L("⟲"));
    Separator(Panel3);
    FnB1 = Button(Panel3, QStringLiteral("FnB1"), LetterGlyph(QStringLiteral("B"), true));
    FnB2 = Button(Panel3, QStringLiteral("FnB2"), L("I"));
    FnB3 = Button(Panel3, QStringLiteral("FnB3"), L("U"));
    Separator(Panel3);
    C3 = Combo(Panel3, QStringLiteral("C3"), 44);
    for (int Size : {5, 6, 7, 8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72})
        C3->addItem(QString::number(Size));
    C2 = Combo<TfrFontComboBox>(Panel3, QStringLiteral("C2"), 130);
    ClB2 = Button(Panel3, QStringLiteral("ClB2"), L("A"));
    HlB1 = Button(Panel3, QStringLiteral("HlB1"), L("H"));
    for (TfrTBButton* B : {AlB1, AlB2, AlB3, AlB4, AlB5, AlB6, AlB7, AlB8, FnB1, FnB2, FnB3, ClB2, HlB1})
        B->SetEnabled(false);
    C2->setEnabled(false);
    C3->setEnabled(false);

    Panel1 = ToolBar(this, QStringLiteral("Panel1"), frDock1);
    FrB1 = Button(Panel1, QStringLiteral("FrB1"), L("▔"));
    FrB2 = Button(Panel1, QStringLiteral("FrB2"), L("▏"));
    FrB3 = Button(Panel1, QStringLiteral("FrB3"), L("▁"));
    FrB4 = Button(Panel1, QStringLiteral("FrB4"), L("▕"));
    Separator(Panel1);
    FrB5 = Button(Panel1, QStringLiteral("FrB5"), L("□"));
    FrB6 = Button(Panel1, QStringLiteral("FrB6"), L("⬚"));
    Separator(Panel1);
    ClB1 = Button(Panel1, QStringLiteral("ClB1"), L("▒"));
    ClB3 = Button(Panel1, QStringLiteral("ClB3"), L("▣"));
    StB1 = Button(Panel1, QStringLiteral("StB1"), L("┅"));
    C4 = Combo(Panel1, QStringLiteral("C4"), 48);
    for (const char* Width : {"0,1", "0,5", "1", "1,5", "2", "3", "4", "5", "6", "7", "8", "9", "10"})
        C4->addItem(QString::fromLatin1(Width));
    for (TfrTBButton* B : {FrB1, FrB2, FrB3, FrB4, FrB5, FrB6, ClB1, ClB3, StB1})
        B->SetEnabled(false);
    C4->setEnabled(false);
}

// "Objects", "Alignment" and the "Tools" bar the extra tools fill.
void TfrDesignerForm::BuildObjectBars()
{
    auto L = [](const char* Text) { return LetterGlyph(QString::fromUtf8(Text)); };
    Panel4 = ToolBar(this, QStringLiteral("Panel4"), frDock2);
    Panel4->SetOrientation(toVertOnly);
    TfrTBButton** ObjectButtons[] = {&OB1, &OB2, &OB3, &OB4, &OB5, &OB6};
    const int Tags[] = {-1, 0, 2, 1, 3, 4};
    for (int i = 0; i < 6; ++i) {
        auto* B = Button(Panel4, QStringLiteral("OB%1").arg(i + 1), ObjectGlyph(Tags[i]));
        B->SetTag(Tags[i]);
        B->SetGroupIndex(1);
        *ObjectButtons[i] = B;
        FObjectButtons.push_back(B);
    }
    for (size_t i = 0; i < frAddIns.size(); ++i) {
        auto* B = Button(Panel4, QStringLiteral("AddIn%1").arg(i), ObjectGlyph(10));
        B->SetHint(HintText(frAddIns[i].ButtonHint));
        B->SetTag(10 + static_cast<int>(i));
        B->SetGroupIndex(1);
        B->SetGrayedInactive(false);
        // Dialog controls show only on dialog pages.
        B->setProperty("DialogControl", frAddIns[i].IsControl != 0);
        B->setVisible(frAddIns[i].IsControl == 0);
        FObjectButtons.push_back(B);
    }
    for (TfrTBButton* B : FObjectButtons)
        B->OnMouseDown = [this](QObject*, TMouseButton, TShiftState Shift, int, int) {
            KeepTool = Shift.Contains(ssShift);
            PageView->SetCursor(crDefault);
        };
    OB1->OnClick = [](QObject*) { KeepTool = false; };

    Panel5 = ToolBar(this, QStringLiteral("Panel5"), frDock4);
    Panel5->SetOrientation(toVertOnly);
    TfrTBButton** AlignButtons[] = {&Align1, &Align2, &Align3, &Align4, &Align5,
                                    &Align6, &Align7, &Align8, &Align9, &Align10};
    for (int i = 0; i < 10; ++i) {
        *AlignButtons[i] = Button(Panel5, QStringLiteral("Align%1").arg(i + 1), L("|"));
        (*AlignButtons[i])->SetEnabled(false);
    }

    Panel6 = ToolBar(this, QStringLiteral("Panel6"), frDock1);
    Panel6->setMinimumSize(26, 26);
    for (TfrToolBar* T : {Panel1, Panel2, Panel3, Panel4, Panel5})
        T->AdjustBounds();
}

// Extra tools: "Insert DB fields" first, then the engine's tool list, each as
// a menu item under MastMenu and a button in Panel6.
void TfrDesignerForm::AddExtraTools()
{
    auto Add = [this](const QString& Caption, std::unique_ptr<TBitmap> Image, std::function<void()> OnClick) {
        TMenuItem* Item = MastMenu->Add(Caption, [OnClick](QObject*) {
            if (OnClick)
                OnClick();
        });
        Item->setObjectName(QStringLiteral("Tool%1").arg(MastMenu->Count()));
        MastMenu->SetEnabled(true);
        auto* B = Button(Panel6, Item->objectName(), std::move(Image));
        B->SetFlat(true);
        B->SetTag(36);
        B->SetHint(Caption);
        B->OnClick = [Item](QObject*) { Item->Click(); };
        return Item;
    };
    if (Flag()) {
        // Its handler joins with the fields window; the button follows the item.
        InsFieldsItem = Add(LoadEngineString(55305), LetterGlyph(QStringLiteral("F")), nullptr);
        InsFieldsItem->OnClick = nullptr;
        for (const TfrToolInfo& Tool : frTools) {
            auto Image = std::make_unique<TBitmap>();
            if (!Tool.Glyph.isNull())
                Image->LoadFromImage(Tool.Glyph);
            Add(HintText(Tool.Caption), std::move(Image), Tool.OnClick);
        }
    }
    Panel6->AdjustBounds();
    for (TfrDock* D : {frDock1, frDock2, frDock3, frDock4})
        D->AdjustBounds();
}

void TfrDesignerForm::BuildMenus()
{
    MainMenu1 = new TMainMenu(this);
    MainMenu1->setObjectName(QStringLiteral("MainMenu1"));
    TMenuItem* Root = MainMenu1->Items();
    auto Item = [](TMenuItem* Parent, const char* Name) {
        TMenuItem* I = Parent->Add(QString());
        I->setObjectName(QString::fromLatin1(Name));
        return I;
    };
    auto Line = [](TMenuItem* Parent) { Parent->Add(QStringLiteral("-")); };
    FileMenu = Item(Root, "FileMenu");
    N23 = Item(FileMenu, "N23");
    N19 = Item(FileMenu, "N19");
    N20 = Item(FileMenu, "N20");
    N17 = Item(FileMenu, "N17");
    Line(FileMenu);
    N42 = Item(FileMenu, "N42");
    N8 = Item(FileMenu, "N8");
    N25 = Item(FileMenu, "N25");
    N39 = Item(FileMenu, "N39");
    Line(FileMenu);
    N10 = Item(FileMenu, "N10");
    N10->OnClick = [this](QObject*) { InModal() ? SetModalResult(mrOk) : Close(); };

    EditMenu = Item(Root, "EditMenu");
    N46 = Item(EditMenu, "N46");
    N48 = Item(EditMenu, "N48");
    Line(EditMenu);
    N11 = Item(EditMenu, "N11");
    N12 = Item(EditMenu, "N12");
    N13 = Item(EditMenu, "N13");
    N27 = Item(EditMenu, "N27");
    N28 = Item(EditMenu, "N28");
    N36 = Item(EditMenu, "N36");
    Line(EditMenu);
    N29 = Item(EditMenu, "N29");
    N15 = Item(EditMenu, "N15");
    N30 = Item(EditMenu, "N30");
    Line(EditMenu);
    N32 = Item(EditMenu, "N32");
    N33 = Item(EditMenu, "N33");

    ToolMenu = Item(Root, "ToolMenu");
    N37 = Item(ToolMenu, "N37");
    TMenuItem** Pans[] = {&Pan1, &Pan2, &Pan3, &Pan4, &Pan5, &Pan6, &Pan7, &Pan8};
    // Tags follow the windows they toggle: Pan5 the inspector, Pan6 Panel5.
    const int PanTags[] = {0, 1, 2, 3, 5, 4, 6, 7};
    for (int i = 0; i < 8; ++i) {
        *Pans[i] = Item(N37, QStringLiteral("Pan%1").arg(i + 1).toLatin1().constData());
        (*Pans[i])->SetTag(PanTags[i]);
        (*Pans[i])->OnClick = [this](QObject* Sender) { Pan2Click(static_cast<TMenuItem*>(Sender)); };
    }
    N37->OnClick = [this](QObject*) { N37Click(); };
    MastMenu = Item(ToolMenu, "MastMenu");
    MastMenu->SetEnabled(false);
    N14 = Item(ToolMenu, "N14");
    Line(ToolMenu);
    N22 = Item(ToolMenu, "N22");
    N35 = Item(ToolMenu, "N35");
    N34 = Item(ToolMenu, "N34");

    OpenDialog1 = new TOpenDialog(this);
    SaveDialog1 = new TSaveDialog(this);
    SaveDialog1->SetOverwritePrompt(true);
}

void TfrDesignerForm::BuildPopupMenus()
{
    auto Item = [](TMenuItem* Parent, const char* Name) {
        TMenuItem* I = Parent->Add(QString());
        I->setObjectName(QString::fromLatin1(Name));
        return I;
    };
    Popup1 = new TPopupMenu(this);
    Popup1->setObjectName(QStringLiteral("Popup1"));
    N2 = Item(Popup1->Items(), "N2");
    N1 = Item(Popup1->Items(), "N1");
    N3 = Item(Popup1->Items(), "N3");
    N5 = Item(Popup1->Items(), "N5");
    N16 = Item(Popup1->Items(), "N16");
    Popup1->Items()->Add(QStringLiteral("-"));
    N6 = Item(Popup1->Items(), "N6");

    Popup2 = new TPopupMenu(this);
    Popup2->setObjectName(QStringLiteral("Popup2"));
    N41 = Item(Popup2->Items(), "N41");
    N43 = Item(Popup2->Items(), "N43");
    N44 = Item(Popup2->Items(), "N44");
    N45 = Item(Popup2->Items(), "N45");
    // The tab menu runs whatever its edit-menu twin runs at the time.
    const std::pair<TMenuItem*, TMenuItem*> Twins[] = {{N41, N29}, {N43, N30}, {N44, N25}, {N45, N15}};
    for (const auto& [Copy, Source] : Twins)
        Copy->OnClick = [Source](QObject* Sender) {
            if (Source->OnClick)
                Source->OnClick(Sender);
        };
}

void TfrDesignerForm::BuildLinePanel()
{
    LinePanel = new TCustomControl(this);
    LinePanel->setObjectName(QStringLiteral("LinePanel"));
    LinePanel->resize(28, 6 * 22 + 6);
    for (int i = 0; i < 6; ++i) {
        auto* B = new TfrSpeedButton(LinePanel);
        B->setObjectName(QStringLiteral("LineStyle%1").arg(i + 1));
        B->SetTag(25 + i);
        B->SetFlat(true);
        B->SetGlyph(LineStyleGlyph(i).get());
        B->setGeometry(3, 3 + 22 * i, 22, 22);
        LineStyleButtons[i] = B;
    }
    LinePanel->hide();

    Panel7 = new TCustomControl(this);
    Panel7->setObjectName(QStringLiteral("Panel7"));
    Panel7->resize(220, 16);
    PBox1 = new TCustomControl(Panel7);
    PBox1->setObjectName(QStringLiteral("PBox1"));
    PBox1->setGeometry(0, 0, 220, 16);
    Panel7->hide();
}

void TfrDesignerForm::Localize()
{
    FTitleText = LoadEngineString(53080);
    const std::pair<TfrToolBar*, int> Bars[] = {{Panel1, 53081}, {Panel2, 53082}, {Panel3, 53083},
                                                {Panel4, 53084}, {Panel5, 53085}, {Panel6, 53086}};
    for (const auto& [Bar, Id] : Bars)
        Bar->SetCaption(LoadEngineString(Id));
    const std::pair<QWidget*, int> Hints[] = {
        {FileBtn1, 53087}, {FileBtn2, 53088}, {FileBtn3, 53089}, {FileBtn4, 53090}, {CutB, 53091},
        {CopyB, 53092}, {PstB, 53093}, {UndoB, 53094}, {RedoB, 53095}, {ZB1, 53096}, {ZB2, 53097},
        {SelAllB, 53098}, {PgB1, 53099}, {PgB2, 53100}, {PgB3, 53101}, {PgB4, 53193}, {GB1, 53102},
        {GB2, 53103}, {GB3, 53104}, {HelpBtn, 53032}, {ExitB, 53106}, {AlB1, 53107}, {AlB2, 53108},
        {AlB3, 53109}, {AlB4, 53110}, {AlB5, 53111}, {AlB6, 53112}, {AlB7, 53113}, {AlB8, 53114},
        {FnB1, 53115}, {FnB2, 53116}, {FnB3, 53117}, {ClB2, 53118}, {HlB1, 53119}, {C3, 53120},
        {C2, 53121}, {FrB1, 53122}, {FrB2, 53123}, {FrB3, 53124}, {FrB4, 53125}, {FrB5, 53126},
        {FrB6, 53127}, {ClB1, 53128}, {ClB3, 53129}, {C4, 53130}, {StB1, 53191}, {OB1, 53132},
        {OB2, 53133}, {OB3, 53134}, {OB4, 53135}, {OB5, 53136}, {OB6, 53137}};
    for (const auto& [Control, Id] : Hints)
        Control->setToolTip(LoadEngineString(Id));
    TfrTBButton* AlignButtons[] = {Align1, Align2, Align3, Align4, Align5, Align6, Align7, Align8, Align9, Align10};
    for (int i = 0; i < 10; ++i)
        AlignButtons[i]->SetHint(LoadEngineString(53138 + i));
    ExitB->SetCaption(LoadEngineString(53105));

    const std::pair<TMenuItem*, int> Captions[] = {
        {N2, 53148}, {N1, 53149}, {N3, 53150}, {N5, 53151}, {N16, 53152}, {N6, 53153},
        {FileMenu, 53154}, {N23, 53155}, {N19, 53156}, {N20, 53157}, {N42, 53158}, {N8, 53159},
        {N25, 53160}, {N39, 53161}, {N10, 53162}, {EditMenu, 53163}, {N46, 53164}, {N48, 53165},
        {N11, 53166}, {N12, 53167}, {N13, 53168}, {N27, 53169}, {N28, 53170}, {N36, 53171},
        {N29, 53172}, {N30, 53173}, {N32, 53174}, {N33, 53175}, {ToolMenu, 53176}, {N37, 53177},
        {MastMenu, 53178}, {N14, 53179}, {Pan1, 53180}, {Pan2, 53181}, {Pan3, 53182}, {Pan4, 53183},
        {Pan5, 53184}, {Pan6, 53185}, {Pan7, 53186}, {Pan8, 53450}, {N34, 53187}, {N17, 53188},
        {N22, 53189}, {N35, 53190}, {N15, 53192}};
    for (const auto& [Item, Id] : Captions)
        Item->SetCaption(LoadEngineString(Id));
    const std::pair<TMenuItem*, TMenuItem*> Twins[] = {{N41, N29}, {N43, N30}, {N44, N25}, {N45, N15}};
    for (const auto& [Copy, Source] : Twins)
        Copy->SetCaption(Source->Caption());
    MainMenu1->Rebuild();
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
    Panel7->hide();

    const bool Designing = Flag() != 0;
    for (QObject* C : std::initializer_list<QObject*>{FileBtn1, N23, FileBtn4, N39, OB3, OB5, FileBtn2, N19, PgB1, N29,
                                                      N41, PgB4, N15, N45, PgB2, N30, N43, PgB3, N25, N44, N42, N8})
        EnableControl(C, Designing);
    for (QObject* C : std::initializer_list<QObject*>{FileBtn3, N17, N20})
        EnableControl(C, true);

    ClearUndoBuffer();
    ClearRedoBuffer();
    SetModified(false);
    CurReport->SetChangedInDesigner(false);
    ToolbarBusy = true;
    DocMode = dmDesigning;

    frLastUsed.FontName = DefaultMemoFontName();
    frLastUsed.FontSize = 10;

    SetCurPage(0);
    if (DialogPageForm)
        DialogPageForm->show();
    SetFileName(Designing ? CurReport->FileName() : LoadEngineString(55209));
    FAskNameOnSave = Designing && CurReport->ViewsSkipped();

    UnselectAll();
    PageView->ResetMouseState();
    SelectionChanged();
    // The tool bars now follow the (empty) selection: their clicks count again.
    ToolbarBusy = false;
    PressTool(-1);
    LinePanel->hide();
    UpdateStatus();

    LoadDesignerSettings();
    GB1->SetDown(GridShow);
    GB2->SetDown(GridAlign);
    FormResize();
    InstallEditorHooks();
    if (FFirstShow)
        InitOwnerDrawMenus();
    CreateInspector();
    FFirstShow = false;
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
    Panel7->setGeometry(StatusBar1->x() + 75 + 230 + 50, StatusBar1->y() + 3, Panel7->width(), Panel7->height());
    Panel7->raise();
    Panel7->show();
}

void TfrDesignerForm::FormDestroy()
{
    if (FDestroying)
        return;
    FDestroying = true;
    ClearUndoBuffer();
    ClearRedoBuffer();
    delete MemoEditor;
    MemoEditor = nullptr;
    SaveInspectorSettings();
    delete InspForm;
    InspForm = nullptr;
    if (Flag())
        ShowFieldsWindow(false);
    SaveDesignerSettings();
    // A prepared page edited from the preview keeps the report's own name.
    if (Flag() && CurReport)
        CurReport->SetFileName(FFileName);
    if (DialogPageForm) {
        DialogPageForm->OnResize = nullptr;
        DialogPageForm->hide();
        PageView->setParent(ScrollHost);
        delete DialogPageForm;
        DialogPageForm = nullptr;
    }
    OnResizeLayout = nullptr;
    // The hooks point at this window: nothing may call them once it is gone.
    for (TfrPropEditor* Hook : {&frMemoEditor, &frPictureEditor, &frTagEditor, &frRestrictionsEditor,
                                &frHighlightEditor, &frFieldEditor, &frDataSourceEditor, &frCrossDataSourceEditor,
                                &frGroupEditor, &frFontEditor, &frDisplayFormatEditor})
        *Hook = nullptr;
    Page = nullptr;
}

// ---------------------------------------------------------------- engine operations

bool TfrDesignerForm::GetModified()
{
    return CurReport ? CurReport->Modified() : FModified;
}

void TfrDesignerForm::SetModified(bool Value)
{
    if (CurReport) {
        CurReport->SetModified(Value);
        if (Value && Flag())
            CurReport->SetChangedInDesigner(true);
    }
    FModified = Value;
    FileBtn3->SetEnabled(Value);
    N20->SetEnabled(FileBtn3->Enabled());
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
    TfrFieldsForm Form;
    if (Form.ShowModal() != mrOk || Form.DBField.isEmpty())
        return QString();
    return QLatin1Char('[') + Form.DBField + QLatin1Char(']');
}

QString TfrDesignerForm::InsertExpression()
{
    TfrExprForm Form;
    if (Form.ShowModal() != mrOk)
        return QString();
    const QString Text = Form.Text();
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
        DialogPageForm = new TfrPageForm(this);
        DialogPageForm->OnCloseQuery = [](QObject*, bool& CanClose) { CanClose = false; };
        DialogPageForm->OnKeyDown = [this](QObject*, int& Key, TShiftState Shift) { DialogPageKeyDown(Key, Shift); };
        DialogPageForm->setWindowIcon(windowIcon());
        PageView->setParent(DialogPageForm);
        PageView->SetColor(clBtnFace);
        PageView->show();
    } else if (FCurPageType == ptReport && DialogPageForm) {
        DialogPageForm->OnResize = nullptr;
        DialogPageForm->OnKeyDown = nullptr;
        DialogPageForm->OnCloseQuery = nullptr;
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
    // One pass of every view onto a throw-away canvas readies what the views
    // measure on their first draw, so the first repaint is not slower.
    if (GridBitmap) {
        DocMode = dmDesigning;
        TCanvas* C = GridBitmap->Canvas();
        for (int i = 0; i < Page->Count(); ++i)
            Page->Objects(i)->Draw(C);
    }
    PageView->Invalidate();
    PageView->update();
}

void TfrDesignerForm::ReleasePage()
{
    UnselectAll();
    PageView->SplitLeft = PageView->SplitRight = nullptr;
    Page = nullptr;
    FillInspector();
    UpdateStatus();
    PBox1->Invalidate();
}

void TfrDesignerForm::UpdatePageTabs()
{
    const QSignalBlocker Block(Tab1);
    while (Tab1->count() > CurReport->Pages()->Count())
        Tab1->removeTab(Tab1->count() - 1);
    for (int i = 0; i < CurReport->Pages()->Count(); ++i) {
        const QString Caption = PageTabName(i);
        if (i < Tab1->count())
            Tab1->setTabText(i, Caption);
        else
            Tab1->addTab(Caption);
    }
    Tab1->SetTabIndex(FCurPageIndex);
}

void TfrDesignerForm::Tab1Change(int Index)
{
    if (Index >= 0 && Index != FCurPageIndex)
        SetCurPage(Index);
}

void TfrDesignerForm::SetFileName(const QString& Name)
{
    FFileName = Name;
    FAskNameOnSave = false;
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
    StatusBar1->SetPanelText(0, LoadEngineString(55330 + std::clamp(Units, 0, 2)));
    if (SelCount == 1 && Page) {
        const TfrView* V = Page->Objects(LastSelectedIndex());
        ShowPosition(QStringLiteral("%1; %2  %3 x %4").arg(V->Left()).arg(V->Top()).arg(V->Width()).arg(V->Height()));
    } else if (SelCount == 0) {
        ShowPosition(QString());
    }
    StatusBar1->SetPanelText(2, SelectionText());
}

void TfrDesignerForm::ShowPosition(const QString& Text)
{
    StatusBar1->SetPanelText(1, Text);
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
    if (MemoEditor) {
        ShowMemoEditor(View);
        return;
    }
    if (View && View->ObjectType() == gtBand) {
        ShowBandEditor(View);
        return;
    }
    if (View && !(View->Restrictions() & frrfDontEditContents))
        View->ShowEditor();
}

void TfrDesignerForm::CreateMemoEditor()
{
    if (MemoEditor && (dynamic_cast<TfrEditorForm*>(MemoEditor) != nullptr) == SyntaxHighlight)
        return;
    delete MemoEditor;
    if (SyntaxHighlight)
        MemoEditor = new TfrEditorForm(this);
    else
        MemoEditor = new TfrEditorForm1(this);
}

void TfrDesignerForm::ShowMemoEditor(TfrView* View)
{
    CreateMemoEditor();   // the kind follows SyntaxHighlight however it was changed
    if (View && MemoEditor && MemoEditor->ShowEditor(View) == mrOk)
        RedrawPage();
}

void TfrDesignerForm::ShowPopup(int X, int Y)
{
    Popup1Popup();
    Popup1->Popup(X, Y);
    MakeOwnerDrawn(Popup1->ShownMenu());
}

// ---------------------------------------------------------------- commands of the window

void TfrDesignerForm::EnableControl(QObject* Control, bool Enabled)
{
    if (auto* Item = qobject_cast<TMenuItem*>(Control))
        Item->SetEnabled(Enabled);
    else if (auto* W = qobject_cast<QWidget*>(Control))
        W->setEnabled(Enabled);
}

void TfrDesignerForm::SelectAll()
{
    if (!Page)
        return;
    PageView->DrawSelected(1);
    for (int i = 0; i < Page->Count(); ++i)
        SetViewSelected(Page->Objects(i), true);
    RefView = nullptr;
    PageView->ComputeSelectionBounds();
    RedrawPage();
    SelectionChanged();
}

void TfrDesignerForm::N37Click()
{
    Pan5->SetChecked(InspForm && InspForm->isVisible());
    Pan8->SetChecked(frInsFieldsForm != nullptr);
    const std::pair<TMenuItem*, TfrToolBar*> Bars[] = {{Pan1, Panel1}, {Pan2, Panel2}, {Pan3, Panel3},
                                                       {Pan4, Panel4}, {Pan6, Panel5}, {Pan7, Panel6}};
    for (const auto& [Item, Bar] : Bars)
        Item->SetChecked(Bar->IsVisible());
}

void TfrDesignerForm::Pan2Click(TMenuItem* Item)
{
    TfrToolBar* Bars[] = {Panel1, Panel2, Panel3, Panel4, Panel5, nullptr, Panel6};
    const int Tag = Item->Tag();
    if (Tag == 5 || Tag == 7) {
        // The inspector and the fields window.
        Item->SetChecked(!Item->Checked());
        if (Tag == 5 && InspForm)
            InspForm->setVisible(Item->Checked());
        else if (Tag == 7)
            ShowFieldsWindow(Item->Checked());
        return;
    }
    if (Tag < 0 || Tag > 6 || !Bars[Tag])
        return;
    Item->SetChecked(!Item->Checked());
    TfrToolBar* Bar = Bars[Tag];
    if (!Bar->Floating() && Item->Checked())
        if (auto* Dock = dynamic_cast<TfrDock*>(Bar->parentWidget())) {
            // Shown again at the end of its dock.
            const bool Horz = Dock->Align() == alTop || Dock->Align() == alBottom;
            Bar->move(Horz ? Dock->width() : 0, Horz ? 0 : Dock->height());
        }
    Bar->SetVisible(Item->Checked());
    if (auto* Dock = dynamic_cast<TfrDock*>(Bar->parentWidget()))
        Dock->AdjustBounds();
}

void TfrDesignerForm::DialogPageKeyDown(int& Key, TShiftState Shift)
{
    if (Shift.Contains(ssCtrl) && !Shift.Contains(ssShift) && !Shift.Contains(ssAlt)) {
        switch (Key) {
        case 'C': Key = VK_INSERT; break;
        case 'X': Key = VK_DELETE; Shift = TShiftState{ssShift}; break;
        case 'V': Key = VK_INSERT; Shift = TShiftState{ssShift}; break;
        case 'A': SelectAll(); break;
        default: break;
        }
    }
    FormKeyDown(Key, Shift);
}

// ---- editor hooks

void TfrDesignerForm::InstallEditorHooks()
{
    frMemoEditor = [this] { MemoEditorHook(); };
    frPictureEditor = [this] { PictureEditorHook(); };
    frTagEditor = [this] { TagEditorHook(); };
    frRestrictionsEditor = [this] { RestrictionsEditorHook(); };
    frHighlightEditor = [this] { HighlightEditorHook(); };
    frFieldEditor = [this] { FieldEditorHook(); };
    frDataSourceEditor = [this] { BandEditorHook(); };
    frCrossDataSourceEditor = [this] { VBandEditorHook(); };
    frGroupEditor = [this] { GroupEditorHook(); };
    frFontEditor = [this] { FontEditorHook(); };
    frDisplayFormatEditor = [this] { DisplayFormatEditorHook(); };
}

// The editors behind the engine's hooks.
void TfrDesignerForm::PictureEditorHook()
{
    if (SelCount != 1 || !Page)
        return;
    TfrGEditorForm F;
    if (F.ShowEditor(Page->Objects(LastSelectedIndex())) == mrOk)
        RedrawPage();
}

// From the memo editor: the view it edits (lent through CurView); else the
// sole selected view.
void TfrDesignerForm::TagEditorHook()
{
    TfrView* View = MemoEditor && MemoEditor->isVisible() ? CurView : nullptr;
    if (!View && SelCount == 1 && Page)
        View = Page->Objects(LastSelectedIndex());
    if (!View)
        return;
    TfrAttrEditorForm F;
    frEditAttributes(F, View);
}

// The topmost selected view; with none, the view a page's script lends
// through CurView.
void TfrDesignerForm::MemoEditorHook()
{
    TfrView* View = nullptr;
    for (int i = Page ? Page->Count() - 1 : -1; i >= 0 && !View; --i)
        if (Page->Objects(i)->Selected())
            View = Page->Objects(i);
    ShowMemoEditor(View ? View : CurView);
}

void TfrDesignerForm::HighlightEditorHook()
{
    if (HlB1->OnClick)
        HlB1->OnClick(HlB1);
}

void TfrDesignerForm::FieldEditorHook()
{
    if (SelCount != 1 || !Page)
        return;
    const QString Field = InsertDBField();
    if (Field.isEmpty())
        return;
    TfrView* V = Page->Objects(LastSelectedIndex());
    BeforeChange();
    V->SetPropValue(QStringLiteral("DataField"), Field);
    AfterChange();
}
