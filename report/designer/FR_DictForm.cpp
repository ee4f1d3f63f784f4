#include "report/designer/FR_DictForm.h"

#include "platform/gui/Dialogs.h"
#include "platform/gui/StdCtrls.h"
#include "platform/rtl/GbkText.h"
#include "report/designer/FR_DsgLists.h"
#include "report/designer/FR_Expr.h"
#include "report/designer/FR_Var.h"
#include "report/designer/FR_Vared.h"
#include "report/engine/FR_Class.h"
#include "report/engine/FR_Ctrls.h"
#include "report/engine/FR_DBFields.h"
#include "report/engine/FR_DSet.h"
#include "report/engine/FR_Dict.h"
#include "report/engine/FR_Globals.h"
#include "report/engine/FR_Utils.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDropEvent>
#include <QEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTabWidget>
#include <QTreeWidget>

namespace {

// The report being edited is the current report while the dialog asks the
// dictionary's lists, which look for components from its owner.
class TReportScope
{
public:
    explicit TReportScope(TfrReport* Report) : FSaved(CurReport)
    {
        if (Report)
            CurReport = Report;
    }
    ~TReportScope() { CurReport = FSaved; }
    TReportScope(const TReportScope&) = delete;
    TReportScope& operator=(const TReportScope&) = delete;

private:
    TfrReport* FSaved;
};

// Calls a handler for events of one control.
class TEventHook : public QObject
{
public:
    TEventHook(QObject* Target, std::function<bool(QEvent*)> Handler)
        : QObject(Target), FHandler(std::move(Handler))
    {
        Target->installEventFilter(this);
    }
    bool eventFilter(QObject*, QEvent* Event) override { return FHandler(Event); }

private:
    std::function<bool(QEvent*)> FHandler;
};

int IconOf(int Kind)
{
    switch (Kind) {
    case dnRoot: return liCategory;
    case dnDataSet: return liDataSet;
    case dnField: return liField;
    case dnRefused:
    case dnExcludedField: return liDelete;
    case dnCategory: return liCategory;
    case dnVariable: return liVariable;
    case dnDataSource: return liDataSource;
    default: return liNone;
    }
}

int KindOf(const QTreeWidgetItem* Node)
{
    return Node ? Node->data(0, frNodeKindRole).toInt() : dnRoot;
}

QString NameOf(const QTreeWidgetItem* Node)
{
    return Node ? Node->data(0, frNodeNameRole).toString() : QString();
}

QString AliasOf(const QTreeWidgetItem* Node)
{
    return Node ? Node->data(0, frNodeAliasRole).toString() : QString();
}

// A node shows its name, and " {alias}" when it has one.
void SetNode(QTreeWidgetItem* Node, int Kind, const QString& Name, const QString& Alias = QString())
{
    Node->setData(0, frNodeKindRole, Kind);
    Node->setData(0, frNodeNameRole, Name);
    Node->setData(0, frNodeAliasRole, Alias);
    Node->setData(0, frIconRole, IconOf(Kind));
    Node->setText(0, Alias.isEmpty() ? Name : Name + QStringLiteral(" {") + Alias + u'}');
}

QTreeWidgetItem* NewNode(QTreeWidgetItem* Parent, int Kind, const QString& Name, const QString& Alias = QString())
{
    auto* Node = new QTreeWidgetItem(Parent);
    SetNode(Node, Kind, Name, Alias);
    return Node;
}

QString VariableKey(const QTreeWidgetItem* Node)
{
    return KindOf(Node) == dnCategory ? u' ' + NameOf(Node) : NameOf(Node);
}

QTreeWidget* NewTree(QWidget* Parent)
{
    auto* Tree = new QTreeWidget(Parent);
    Tree->setHeaderHidden(true);
    Tree->setItemDelegate(new TfrIconDelegate(Tree));
    Tree->setEditTriggers(QAbstractItemView::NoEditTriggers);
    return Tree;
}

TfrSpeedButton* NewToolButton(QWidget* Parent, int Glyph, const QString& Caption = QString())
{
    auto* B = new TfrSpeedButton(Parent);
    if (Caption.isEmpty())
        B->SetGlyph(frListGlyph(Glyph));
    else
        B->SetCaption(Caption);
    B->resize(25, 25);
    return B;
}

void SortedInsert(QListWidget* List, const QString& Name, int Icon)
{
    int Row = 0;
    while (Row < List->count() && QString::compare(List->item(Row)->text(), Name, Qt::CaseInsensitive) < 0)
        ++Row;
    auto* Item = new QListWidgetItem(Name);
    Item->setData(frIconRole, Icon);
    List->insertItem(Row, Item);
}

void DeleteEntry(TfrVariables& List, const QString& Name)
{
    if (const int i = List.IndexOf(Name); i >= 0)
        List.Delete(i);
}

} // namespace

TfrDictForm::TfrDictForm()
    : TForm(nullptr), FVars(std::make_unique<TfrVariables>()), FFieldAliases(std::make_unique<TfrVariables>()),
      FBandAliases(std::make_unique<TfrVariables>())
{
    setObjectName(QStringLiteral("frDictForm"));
    SetPosition(poScreenCenter);
    SetBorderStyle(bsSizeable);
    SetClientSize(489, 401);
    SetCaption(LoadEngineString(53340));

    PageControl1 = new QTabWidget(this);
    TabSheet1 = new QWidget(PageControl1);
    TabSheet2 = new QWidget(PageControl1);
    TabSheet3 = new QWidget(PageControl1);
    PageControl1->addTab(TabSheet1, LoadEngineString(53341));
    PageControl1->addTab(TabSheet2, LoadEngineString(53342));
    PageControl1->addTab(TabSheet3, LoadEngineString(53343));
    Button1 = new TButton(this);
    Button1->SetCaption(LoadEngineString(55000));
    Button1->SetModalResult(mrOk);
    Button1->SetDefault(true);
    Button2 = new TButton(this);
    Button2->SetCaption(LoadEngineString(55001));
    Button2->SetModalResult(mrCancel);
    Button2->SetCancel(true);

    // Variables page.
    Label3 = new QLabel(LoadEngineString(53344), TabSheet1);
    Label4 = new QLabel(LoadEngineString(53345), TabSheet1);
    VarTree = NewTree(TabSheet1);
    Label3->setBuddy(VarTree);
    LabelEdit = new QLineEdit(VarTree->viewport());
    LabelEdit->hide();
    ValCombo = new QComboBox(TabSheet1);
    ValCombo->setItemDelegate(new TfrIconDelegate(ValCombo));
    Label4->setBuddy(ValCombo);
    ValList = frNewIconList(TabSheet1, 15);
    ExprCB = new QCheckBox(LoadEngineString(53346), TabSheet1);
    ExprEdit = new TfrComboEdit(TabSheet1);
    ExprEdit->Button()->SetCaption(QStringLiteral("..."));
    NewCategoryBtn = NewToolButton(TabSheet1, liCategory);
    NewVarBtn = NewToolButton(TabSheet1, liNew);
    EditBtn = NewToolButton(TabSheet1, liEdit);
    DelBtn = NewToolButton(TabSheet1, liDelete);
    EditListBtn = NewToolButton(TabSheet1, liEditList);
    TfrSpeedButton* VarButtons[] = {NewCategoryBtn, NewVarBtn, EditBtn, DelBtn, EditListBtn};
    for (int i = 0; i < 5; ++i)
        VarButtons[i]->SetHint(LoadEngineString(53347 + i));
    CreateAliasPages();
    BindVariablesPage();
    BindAliasPages();

    OnShow = [this](QObject*) { FormShow(); };
    OnResize = [this](QObject*) { FormResize(); };
    OnCloseQuery = [this](QObject*, bool& CanClose) {
        if (ModalResult() == mrOk)
            CanClose = Button1Click();
    };
    FormResize();
}

void TfrDictForm::CreateAliasPages()
{
    // Field aliases page.
    Label1 = new QLabel(LoadEngineString(53353), TabSheet2);
    AllTablesLB = frNewIconList(TabSheet2, 15);
    AllTablesLB->setSelectionMode(QAbstractItemView::ExtendedSelection);
    FieldAliasesTree = NewTree(TabSheet2);
    frSpeedButton1 = NewToolButton(TabSheet2, 0, QStringLiteral(">"));
    frSpeedButton2 = NewToolButton(TabSheet2, 0, QStringLiteral("<"));
    frSpeedButton3 = NewToolButton(TabSheet2, 0, QStringLiteral(">>"));
    frSpeedButton4 = NewToolButton(TabSheet2, 0, QStringLiteral("<<"));
    GroupBox1 = new QGroupBox(LoadEngineString(53354), TabSheet2);
    Label2 = new QLabel(LoadEngineString(53355), GroupBox1);
    Edit1 = new QLineEdit(GroupBox1);
    Label2->setBuddy(Edit1);
    CB1 = new QCheckBox(LoadEngineString(53356), GroupBox1);

    // Band data sources page.
    Label6 = new QLabel(LoadEngineString(53358), TabSheet3);
    AllBandsLB = frNewIconList(TabSheet3, 15);
    AllBandsLB->setSelectionMode(QAbstractItemView::ExtendedSelection);
    BandDSTree = NewTree(TabSheet3);
    frSpeedButton5 = NewToolButton(TabSheet3, 0, QStringLiteral(">"));
    frSpeedButton6 = NewToolButton(TabSheet3, 0, QStringLiteral("<"));
    frSpeedButton7 = NewToolButton(TabSheet3, 0, QStringLiteral(">>"));
    frSpeedButton8 = NewToolButton(TabSheet3, 0, QStringLiteral("<<"));
    GroupBox2 = new QGroupBox(LoadEngineString(53354), TabSheet3);
    Label5 = new QLabel(LoadEngineString(53355), GroupBox2);
    Edit2 = new QLineEdit(GroupBox2);
    Label5->setBuddy(Edit2);
}

void TfrDictForm::BindVariablesPage()
{
    QObject::connect(VarTree, &QTreeWidget::currentItemChanged, this, [this] { VarTreeChange(); });
    new TEventHook(VarTree, [this](QEvent* E) {
        if (E->type() != QEvent::KeyPress || LabelEdit->isVisible())
            return false;
        auto* K = static_cast<QKeyEvent*>(E);
        const int Key = K->key() == Qt::Key_Insert ? VK_INSERT : K->key() == Qt::Key_Delete ? VK_DELETE
                        : K->key() == Qt::Key_Return || K->key() == Qt::Key_Enter ? VK_RETURN
                        : K->key() == Qt::Key_Escape ? VK_ESCAPE : 0;
        if (Key == 0)
            return false;
        TShiftState Shift;
        if (K->modifiers() & Qt::ControlModifier)
            Shift << ssCtrl;
        VarTreeKeyDown(Key, Shift);
        return true;
    });
    new TEventHook(LabelEdit, [this](QEvent* E) {
        if (E->type() == QEvent::KeyPress) {
            const int Key = static_cast<QKeyEvent*>(E)->key();
            if (Key == Qt::Key_Return || Key == Qt::Key_Enter || Key == Qt::Key_Escape) {
                EndLabelEdit(Key != Qt::Key_Escape);
                VarTree->setFocus();
                return true;
            }
        } else if (E->type() == QEvent::FocusOut) {
            EndLabelEdit(true);
        }
        return false;
    });
    NewCategoryBtn->OnClick = [this](QObject*) { NewCategoryBtnClick(); };
    NewVarBtn->OnClick = [this](QObject*) { NewVarBtnClick(); };
    EditBtn->OnClick = [this](QObject*) { EditBtnClick(); };
    DelBtn->OnClick = [this](QObject*) { DelBtnClick(); };
    EditListBtn->OnClick = [this](QObject*) { EditListBtnClick(); };
    QObject::connect(ValCombo, &QComboBox::activated, this, [this] { ValComboClick(); });
    QObject::connect(ValList, &QListWidget::itemClicked, this, [this] { ValListClick(); });
    QObject::connect(ExprCB, &QCheckBox::toggled, this, [this] { ExprCBClick(); });
    QObject::connect(ExprEdit, &QLineEdit::textEdited, this, [this] {
        if (!FEditNode)
            ExprEditEnter();
    });
    new TEventHook(ExprEdit, [this](QEvent* E) {
        if (E->type() == QEvent::FocusIn)
            ExprEditEnter();
        else if (E->type() == QEvent::FocusOut)
            ExprEditExit();
        return false;
    });
    ExprEdit->OnButtonClick = [this](QObject*) { ExprEditButtonClick(); };
}

void TfrDictForm::BindAliasPages()
{
    QObject::connect(FieldAliasesTree, &QTreeWidget::itemExpanded, this,
                     [this](QTreeWidgetItem* Node) { FieldAliasesTreeExpanding(Node); });
    QObject::connect(FieldAliasesTree, &QTreeWidget::currentItemChanged, this, [this] { FieldAliasesTreeChange(); });
    QObject::connect(CB1, &QCheckBox::toggled, this, [this] { CB1Click(); });
    QObject::connect(AllTablesLB, &QListWidget::itemDoubleClicked, this, [this] { frSpeedButton1Click(); });
    frSpeedButton1->OnClick = [this](QObject*) { frSpeedButton1Click(); };
    frSpeedButton2->OnClick = [this](QObject*) { frSpeedButton2Click(); };
    frSpeedButton3->OnClick = [this](QObject*) { frSpeedButton3Click(); };
    frSpeedButton4->OnClick = [this](QObject*) { frSpeedButton4Click(); };
    QObject::connect(BandDSTree, &QTreeWidget::currentItemChanged, this, [this] { BandDSTreeChange(); });
    QObject::connect(AllBandsLB, &QListWidget::itemDoubleClicked, this, [this] { frSpeedButton5Click(); });
    frSpeedButton5->OnClick = [this](QObject*) { frSpeedButton5Click(); };
    frSpeedButton6->OnClick = [this](QObject*) { frSpeedButton6Click(); };
    frSpeedButton7->OnClick = [this](QObject*) { frSpeedButton7Click(); };
    frSpeedButton8->OnClick = [this](QObject*) { frSpeedButton8Click(); };
    // Enter in an alias box goes back to the tree, Enter in a tree to the box;
    // Space in the field tree toggles the exclusion.
    auto EnterHook = [this](QWidget* From, QWidget* To, bool Space) {
        new TEventHook(From, [this, From, To, Space](QEvent* E) {
            if (E->type() == QEvent::FocusOut && From == Edit1)
                Edit1Exit();
            else if (E->type() == QEvent::FocusOut && From == Edit2)
                Edit2Exit();
            if (E->type() != QEvent::KeyPress)
                return false;
            const int Key = static_cast<QKeyEvent*>(E)->key();
            if (Key == Qt::Key_Return || Key == Qt::Key_Enter) {
                To->setFocus();
                return true;
            }
            if (Space && Key == Qt::Key_Space) {
                CB1->toggle();
                return true;
            }
            return false;
        });
    };
    EnterHook(FieldAliasesTree, Edit1, true);
    EnterHook(Edit1, FieldAliasesTree, false);
    EnterHook(BandDSTree, Edit2, false);
    EnterHook(Edit2, BandDSTree, false);

    // Drags: the tree takes items of its list, the list nodes of its tree.
    auto DropHook = [](QAbstractItemView* Target, QAbstractItemView* Source, std::function<void()> Act) {
        Source->setDragDropMode(QAbstractItemView::DragOnly);
        Target->viewport()->setAcceptDrops(true);
        new TEventHook(Target->viewport(), [Source, Act](QEvent* E) {
            if (E->type() != QEvent::DragEnter && E->type() != QEvent::DragMove && E->type() != QEvent::Drop)
                return false;
            auto* D = static_cast<QDropEvent*>(E);
            if (D->source() != Source) {
                D->ignore();
                return true;
            }
            D->acceptProposedAction();
            if (E->type() == QEvent::Drop)
                Act();
            return true;
        });
    };
    DropHook(FieldAliasesTree, AllTablesLB, [this] { frSpeedButton1Click(); });
    DropHook(AllTablesLB, FieldAliasesTree, [this] { frSpeedButton2Click(); });
    DropHook(BandDSTree, AllBandsLB, [this] { frSpeedButton5Click(); });
    DropHook(AllBandsLB, BandDSTree, [this] { frSpeedButton6Click(); });
}

TfrDictForm::~TfrDictForm() = default;

TfrDataDictionary* TfrDictForm::Dict() const
{
    return Doc->Dictionary();
}

void TfrDictForm::FormResize()
{
    const int W = width(), H = height();
    PageControl1->setGeometry(4, 4, W - 8, H - 42);
    Button1->setGeometry(W - 164, H - 33, 75, 25);
    Button2->setGeometry(W - 83, H - 33, 75, 25);
    const int PW = W - 14, PH = H - 72;

    // Variables: the tree takes what the right column leaves.
    const int RightW = 200, RightX = PW - RightW - 8;
    const int TreeH = PH - 20 - 64;
    Label3->setGeometry(8, 4, 200, 16);
    VarTree->setGeometry(8, 20, RightX - 16, TreeH);
    Label4->setGeometry(RightX, 4, RightW, 16);
    ValCombo->setGeometry(RightX, 20, RightW, 22);
    ValList->setGeometry(RightX, 46, RightW, TreeH + 26 - 26);
    TfrSpeedButton* VarButtons[] = {NewCategoryBtn, NewVarBtn, EditBtn, DelBtn, EditListBtn};
    for (int i = 0; i < 5; ++i)
        VarButtons[i]->move(8 + i * 27 + (i == 4 ? 8 : 0), 20 + TreeH + 4);
    ExprCB->setGeometry(8, PH - 32, 100, 20);
    ExprEdit->setGeometry(110, PH - 33, PW - 118, 21);

    // The alias pages: list, buttons, tree with the alias box under it.
    const int ListW = (PW - 60) / 2, TreeX = 8 + ListW + 40, TreeW = PW - TreeX - 8;
    QListWidget* Lists[] = {AllTablesLB, AllBandsLB};
    QTreeWidget* Trees[] = {FieldAliasesTree, BandDSTree};
    QLabel* Labels[] = {Label1, Label6};
    QGroupBox* Groups[] = {GroupBox1, GroupBox2};
    TfrSpeedButton* Moves[2][4] = {{frSpeedButton1, frSpeedButton2, frSpeedButton3, frSpeedButton4},
                                   {frSpeedButton5, frSpeedButton6, frSpeedButton7, frSpeedButton8}};
    for (int p = 0; p < 2; ++p) {
        const int GroupH = p == 0 ? 72 : 50;
        Labels[p]->setGeometry(8, 4, ListW, 16);
        Lists[p]->setGeometry(8, 20, ListW, PH - 28);
        for (int i = 0; i < 4; ++i)
            Moves[p][i]->move(8 + ListW + 7, 40 + i * 30 + (i >= 2 ? 10 : 0));
        Trees[p]->setGeometry(TreeX, 20, TreeW, PH - 28 - GroupH - 4);
        Groups[p]->setGeometry(TreeX, PH - 8 - GroupH, TreeW, GroupH);
    }
    Label2->setGeometry(8, 22, 40, 16);
    Edit1->setGeometry(50, 20, GroupBox1->width() - 58, 21);
    CB1->setGeometry(8, 46, GroupBox1->width() - 16, 20);
    Label5->setGeometry(8, 22, 40, 16);
    Edit2->setGeometry(50, 20, GroupBox2->width() - 58, 21);
}

void TfrDictForm::FormShow()
{
    if (!Doc)
        return;
    TReportScope Scope(Doc);
    FVars->Assign(Dict()->Variables);
    FFieldAliases->Assign(Dict()->FieldAliases);
    FBandAliases->Assign(Dict()->BandDataSourceAliases);
    FillVarTree();
    FillFieldAliases();
    FillBandDataSources();

    TStringList Names;
    Dict()->GetDataSetList(Names);
    ValCombo->clear();
    for (int i = 0; i < Names.Count(); ++i) {
        ValCombo->addItem(Names.Strings(i));
        ValCombo->setItemData(i, liDataSet, frIconRole);
    }
    ValCombo->addItem(LoadEngineString(55075));
    ValCombo->setItemData(ValCombo->count() - 1, liSystem, frIconRole);
    ValCombo->setCurrentIndex(0);
    ValComboClick();
    ExprCBClick();
    VarTreeChange();
    VarTree->setFocus();
}

bool TfrDictForm::Button1Click()
{
    EndLabelEdit(true);
    ExprEditExit();
    if (!Edit1Exit() || !Edit2Exit())
        return false;
    Dict()->Variables.Assign(*FVars);
    Dict()->FieldAliases.Assign(*FFieldAliases);
    Dict()->BandDataSourceAliases.Assign(*FBandAliases);
    return true;
}

// ---------------------------------------------------------------- variables

bool TfrDictForm::IsPlaceholderTree() const
{
    return VarTree->topLevelItemCount() == 1 && KindOf(VarTree->topLevelItem(0)) == dnNoVariables;
}

void TfrDictForm::AddPlaceholder()
{
    auto* Node = new QTreeWidgetItem(VarTree);
    SetNode(Node, dnNoVariables, LoadEngineString(55076));
    VarTree->setRootIsDecorated(false);
    ExprCB->setEnabled(false);
}

void TfrDictForm::FillVarTree()
{
    FSuppress = true;
    FEditNode = nullptr;
    EndLabelEdit(false);
    VarTree->clear();
    QTreeWidgetItem* Category = nullptr;
    for (int i = 0; i < FVars->Count(); ++i) {
        const QString Name = FVars->GetName(i);
        if (Name.startsWith(u' ')) {
            Category = new QTreeWidgetItem(VarTree);
            SetNode(Category, dnCategory, Name.mid(1));
        } else if (Category) {
            NewNode(Category, dnVariable, Name);
        }
    }
    if (VarTree->topLevelItemCount() == 0) {
        AddPlaceholder();
    } else {
        VarTree->setRootIsDecorated(true);
        ExprCB->setEnabled(true);
    }
    VarTree->expandAll();
    VarTree->setCurrentItem(VarTree->topLevelItem(0));
    FSuppress = false;
}

void TfrDictForm::VarTreeChange()
{
    if (FSuppress)
        return;
    ExprEditExit();
    QTreeWidgetItem* Node = VarTree->currentItem();
    const int Kind = KindOf(Node);
    if (Kind != dnCategory && Kind != dnVariable)
        return;
    FSuppress = true;
    ExprCB->setEnabled(Kind == dnVariable);
    if (Kind != dnVariable)
        ExprCB->setChecked(false);
    FSuppress = false;
    ShowValue(VarToStr(FVars->GetVariable(VariableKey(Node))));
}

void TfrDictForm::ShowValue(const QString& Value)
{
    TReportScope Scope(Doc);
    const int System = ValCombo->count() - 1;
    auto SelectCombo = [this](int Index) {
        if (ValCombo->currentIndex() != Index) {
            ValCombo->setCurrentIndex(Index);
            ValComboClick();
        }
    };
    auto SelectRow = [this](int Row) {
        const QSignalBlocker Block(ValList);
        ValList->setCurrentRow(Row);
    };
    bool Listed = false;
    // The point before a quoted field name: the field may hold points itself.
    qsizetype Point = Value.lastIndexOf(u'.');
    if (Value.size() >= 2 && Value.endsWith(u'"')) {
        const qsizetype Quote = Value.lastIndexOf(u'"', -2);
        if (Quote > 0 && Value[Quote - 1] == u'.')
            Point = Quote - 1;
    }
    if (Point >= 0) {
        const QString DataSet = Value.left(Point);
        QString Field = Value.mid(Point + 1);
        if (Field.size() >= 2 && Field.startsWith(u'"') && Field.endsWith(u'"'))
            Field = Field.mid(1, Field.size() - 2);
        for (int i = 0; i < System && !Listed; ++i) {
            if (!SameText(Dict()->GetRealDataSetName(ValCombo->itemText(i)), DataSet))
                continue;
            SelectCombo(i);
            for (int r = 1; r < ValList->count() && !Listed; ++r)
                if (SameText(RealFieldName(DataSet, ValList->item(r)->text()), Field)) {
                    SelectRow(r);
                    Listed = true;
                }
        }
    }
    if (!Listed && !Value.trimmed().isEmpty()) {
        for (int Entry = 0; Entry < 9 && !Listed; ++Entry)
            if (Entry != 1 && SameText(Value.trimmed(), frSpecialName(Entry))) {
                SelectCombo(System);
                SelectRow(Entry == 0 ? 1 : Entry);
                Listed = true;
            }
        if (!Listed) {
            SelectRow(0);
            FSuppress = true;
            ExprCB->setChecked(true);
            FSuppress = false;
            ExprEdit->setText(Value);
            EnableControls({ExprEdit}, true);
            return;
        }
    }
    if (!Listed)
        SelectRow(0);
    FSuppress = true;
    ExprCB->setChecked(false);
    FSuppress = false;
    ExprEdit->clear();
    EnableControls({ExprEdit}, false);
}

QString TfrDictForm::RealFieldName(const QString& DataSet, const QString& Shown) const
{
    // A field listed by its alias has the entry "dataset.field"; one listed by
    // name is that name, points and all.
    const QString Key = Dict()->GetRealDataSetName(Shown);
    if (Key != Shown && Key.startsWith(DataSet + u'.', Qt::CaseInsensitive))
        return Key.mid(DataSet.size() + 1);
    return Shown;
}

void TfrDictForm::ValComboClick()
{
    TReportScope Scope(Doc);
    const QSignalBlocker Block(ValList);
    ValList->clear();
    frAddListItem(ValList, LoadEngineString(55076), liNone);
    const int Index = ValCombo->currentIndex();
    if (Index < 0)
        return;
    if (Index == ValCombo->count() - 1) {
        for (const QString& Text : frSystemVariableTexts())
            frAddListItem(ValList, Text, liSystem);
        return;
    }
    TStringList Fields;
    Dict()->GetFieldList(ValCombo->itemText(Index), Fields);
    for (int i = 0; i < Fields.Count(); ++i)
        frAddListItem(ValList, Fields.Strings(i), liField);
}

void TfrDictForm::ValListClick()
{
    FSuppress = true;
    ExprCB->setChecked(false);
    FSuppress = false;
    EnableControls({ExprEdit}, false);
    ExprEdit->clear();
    FEditNode = nullptr;
    QTreeWidgetItem* Node = VarTree->currentItem();
    const int Row = ValList->currentRow();
    if (KindOf(Node) != dnVariable || Row < 0)
        return;
    TReportScope Scope(Doc);
    QString Value;
    if (Row > 0 && ValCombo->currentIndex() == ValCombo->count() - 1) {
        Value = frSpecialName(Row == 1 ? 0 : Row);
    } else if (Row > 0) {
        const QString DataSet = Dict()->GetRealDataSetName(ValCombo->currentText());
        Value = DataSet + QStringLiteral(".\"") + RealFieldName(DataSet, ValList->item(Row)->text()) + u'"';
    }
    FVars->SetVariable(NameOf(Node), Value);
}

void TfrDictForm::ExprCBClick()
{
    EnableControls({ExprEdit}, ExprCB->isChecked());
    if (!ExprCB->isChecked()) {
        ExprEdit->clear();
        if (!FSuppress) {
            {
                const QSignalBlocker Block(ValList);
                ValList->setCurrentRow(0);
            }
            ValListClick();
        }
    } else if (!FSuppress) {
        if (!VarTree->hasFocus())
            ExprEdit->setFocus();
        const QSignalBlocker Block(ValList);
        ValList->setCurrentRow(0);
    }
}

void TfrDictForm::ExprEditEnter()
{
    FEditNode = VarTree->currentItem();
}

void TfrDictForm::ExprEditExit()
{
    if (FEditNode && KindOf(FEditNode) == dnVariable && ExprEdit->isEnabled())
        FVars->SetVariable(NameOf(FEditNode), ExprEdit->text());
    FEditNode = nullptr;
}

void TfrDictForm::ExprEditButtonClick()
{
    ExprEditEnter();
    TfrExprForm Form;
    Form.ExprMemo->setPlainText(ExprEdit->text());
    if (Form.ShowModal() == mrOk) {
        ExprEdit->setText(Form.Text());
        ExprEditExit();
    }
}

void TfrDictForm::NewCategoryBtnClick()
{
    int n = 1;
    while (FVars->IndexOf(QStringLiteral(" Category%1").arg(n)) >= 0)
        ++n;
    const QString Name = QStringLiteral("Category%1").arg(n);
    ExprEditExit();
    FSuppress = true;
    if (IsPlaceholderTree()) {
        delete VarTree->takeTopLevelItem(0);
        VarTree->setRootIsDecorated(true);
        ExprCB->setEnabled(true);
    }
    FVars->SetVariable(u' ' + Name, QString());
    auto* Node = new QTreeWidgetItem(VarTree);
    SetNode(Node, dnCategory, Name);
    FSuppress = false;
    VarTree->setCurrentItem(Node);
    StartLabelEdit(Node);
}

void TfrDictForm::NewVarBtnClick()
{
    QTreeWidgetItem* Node = VarTree->currentItem();
    if (!Node || IsPlaceholderTree())
        return;
    QTreeWidgetItem* Category = KindOf(Node) == dnVariable ? Node->parent() : Node;
    if (KindOf(Category) != dnCategory)
        return;
    int n = 1;
    while (FVars->IndexOf(QStringLiteral("Variable%1").arg(n)) >= 0)
        ++n;
    const QString Name = QStringLiteral("Variable%1").arg(n);
    ExprEditExit();
    const int Next = VarTree->indexOfTopLevelItem(Category) + 1;
    if (Next >= VarTree->topLevelItemCount()) {
        FVars->SetVariable(Name, QString());
    } else {
        const int Position = FVars->IndexOf(VariableKey(VarTree->topLevelItem(Next)));
        FVars->Insert(Position, Name);
        FVars->SetValue(FVars->IndexOf(Name), QString());
    }
    auto* Child = NewNode(Category, dnVariable, Name);
    Category->setExpanded(true);
    VarTree->setCurrentItem(Child);
    StartLabelEdit(Child);
}

void TfrDictForm::EditBtnClick()
{
    if (!IsPlaceholderTree() && VarTree->currentItem())
        StartLabelEdit(VarTree->currentItem());
}

void TfrDictForm::StartLabelEdit(QTreeWidgetItem* Node)
{
    EndLabelEdit(true);
    FLabelNode = Node;
    VarTree->scrollToItem(Node);
    const QRect R = VarTree->visualItemRect(Node);
    LabelEdit->setGeometry(R.left() + 18, R.top(), std::max(120, VarTree->viewport()->width() - R.left() - 22),
                           std::max(R.height(), 20));
    LabelEdit->setText(NameOf(Node));
    LabelEdit->selectAll();
    LabelEdit->show();
    LabelEdit->setFocus();
}

void TfrDictForm::EndLabelEdit(bool Accept)
{
    if (!FLabelNode)
        return;
    QTreeWidgetItem* Node = FLabelNode;
    FLabelNode = nullptr;
    LabelEdit->hide();
    if (Accept && LabelEdit->text() != NameOf(Node))
        VarTreeEdited(Node, LabelEdit->text());
}

void TfrDictForm::VarTreeEdited(QTreeWidgetItem* Node, const QString& Text)
{
    const int Kind = KindOf(Node);
    if (Kind != dnCategory && Kind != dnVariable)
        return;
    const QString OldKey = VariableKey(Node);
    const QString NewKey = Kind == dnCategory ? u' ' + Text : Text;
    // A refused name leaves the label as it was.
    if (Text.trimmed().isEmpty() || !GbkCanEncode(Text) || (Kind == dnVariable && !frValidVariableName(Text)))
        return;
    if (!SameText(NewKey, OldKey) && FVars->IndexOf(NewKey) >= 0)
        return;
    if (FEditNode == Node)
        ExprEditExit();
    FVars->SetName(FVars->IndexOf(OldKey), NewKey);
    SetNode(Node, Kind, Text);
}

void TfrDictForm::DelBtnClick()
{
    QTreeWidgetItem* Node = VarTree->currentItem();
    const int Kind = KindOf(Node);
    if (IsPlaceholderTree() || (Kind != dnCategory && Kind != dnVariable))
        return;
    EndLabelEdit(false);
    ExprEditExit();
    const int Index = FVars->IndexOf(VariableKey(Node));
    if (Index >= 0) {
        FVars->Delete(Index);
        while (Kind == dnCategory && Index < FVars->Count() && !FVars->GetName(Index).startsWith(u' '))
            FVars->Delete(Index);
    }
    FSuppress = true;
    delete Node;
    if (VarTree->topLevelItemCount() == 0)
        AddPlaceholder();
    FSuppress = false;
    VarTreeChange();
}

void TfrDictForm::VarTreeKeyDown(int Key, TShiftState Shift)
{
    const bool Editing = LabelEdit->isVisible();
    if (Key == VK_INSERT) {
        if (!Shift.Contains(ssCtrl) && VarTree->currentItem() && !IsPlaceholderTree())
            NewVarBtnClick();
        else
            NewCategoryBtnClick();
    } else if (Key == VK_DELETE && !Editing) {
        DelBtnClick();
    } else if (Key == VK_RETURN) {
        EditBtnClick();
    } else if (Key == VK_ESCAPE && !Editing) {
        Button2->Click();
    }
}

void TfrDictForm::EditListBtnClick()
{
    EndLabelEdit(true);
    ExprEditExit();
    TfrVaredForm Form;
    Form.Doc = FVars.get();
    if (Form.ShowModal() == mrOk) {
        FillVarTree();
        VarTreeChange();
    }
}

// ---------------------------------------------------------------- field aliases

void TfrDictForm::FillFieldAliases()
{
    FAliasNode = nullptr;
    FieldAliasesTree->clear();
    AllTablesLB->clear();
    auto* Root = new QTreeWidgetItem(FieldAliasesTree);
    SetNode(Root, dnRoot, LoadEngineString(53352));
    TStringList Names;
    GetComponents(CurReport->parent(), TDataSet::staticMetaObject, Names, nullptr);
    Names.Sort();
    FDataSetNames.clear();
    for (int i = 0; i < Names.Count(); ++i) {
        const QString Name = Names.Strings(i);
        if (!FindReportComponent(Name) || !Dict()->IsDataSetEnabled(Name))
            continue;
        FDataSetNames << Name;
        if (const int Entry = FFieldAliases->IndexOf(Name); Entry >= 0) {
            auto* Node = NewNode(Root, dnDataSet, Name, VarToStr(FFieldAliases->GetValue(Entry)));
            NewNode(Node, dnFieldsNotLoaded, LoadEngineString(55076));
        } else {
            frAddListItem(AllTablesLB, Name, liDataSet);
        }
    }
    Root->setExpanded(true);
    FieldAliasesTree->setCurrentItem(Root);
}

void TfrDictForm::FieldAliasesTreeExpanding(QTreeWidgetItem* Node)
{
    if (KindOf(Node) == dnRefused) {
        Node->setExpanded(false);
        return;
    }
    if (KindOf(Node) != dnDataSet || Node->childCount() == 0 ||
        KindOf(Node->child(Node->childCount() - 1)) != dnFieldsNotLoaded)
        return;
    TReportScope Scope(Doc);
    if (FAliasNode && FAliasNode->parent() == Node)
        FAliasNode = nullptr;
    qDeleteAll(Node->takeChildren());
    const QString DataSet = NameOf(Node);
    TStringList Fields;
    GetDataSetFieldNames(qobject_cast<TDataSet*>(FindReportComponent(DataSet)), Fields);
    Fields.Sort();
    for (int i = 0; i < Fields.Count(); ++i) {
        const QString Field = Fields.Strings(i);
        const int Entry = FFieldAliases->IndexOf(DataSet + u'.' + Field);
        const QString Alias = Entry >= 0 ? VarToStr(FFieldAliases->GetValue(Entry)) : QString();
        NewNode(Node, Entry >= 0 && Alias.isEmpty() ? dnExcludedField : dnField, Field, Alias);
    }
}

void TfrDictForm::FieldAliasesTreeChange()
{
    Edit1Exit();
    QTreeWidgetItem* Node = FieldAliasesTree->currentItem();
    FAliasNode = Node;
    const int Kind = KindOf(Node);
    Edit1->setText(Kind == dnRoot || Kind == dnFieldsNotLoaded ? QString()
                   : AliasOf(Node).isEmpty() ? NameOf(Node) : AliasOf(Node));
    Edit1->setModified(false);
    // An excluded field has no alias to edit.
    Edit1->setReadOnly(Kind != dnDataSet && Kind != dnField);
    FSuppress = true;
    CB1->setChecked(Kind == dnRefused || Kind == dnExcludedField);
    FSuppress = false;
}

bool TfrDictForm::StoreAlias(QLineEdit* Edit, QTreeWidgetItem* Node, TfrVariables& Aliases, const QStringList& Siblings)
{
    const int Kind = KindOf(Node);
    if (!Edit->isModified() || (Kind != dnDataSet && Kind != dnField && Kind != dnDataSource))
        return true;
    const QString Name = NameOf(Node);
    const QString Key = Kind == dnField ? NameOf(Node->parent()) + u'.' + Name : Name;
    // The name itself, or nothing, means no alias.
    QString Alias = Edit->text();
    if (Alias == Name)
        Alias.clear();
    bool Used = false;
    for (int i = 0; i < Aliases.Count() && !Alias.isEmpty(); ++i)
        Used = Used || (!SameText(Aliases.GetName(i), Key) && SameText(VarToStr(Aliases.GetValue(i)), Alias));
    for (const QString& Other : Siblings)
        Used = Used || (!Alias.isEmpty() && !SameText(Other, Name) && SameText(Other, Alias));
    if (Used) {
        ShowError(LoadEngineString(55672).arg(Alias), LoadEngineString(55206));
        Edit->setText(AliasOf(Node).isEmpty() ? Name : AliasOf(Node));
        Edit->setModified(false);
        return false;
    }
    if (Kind == dnField && Alias.isEmpty())
        DeleteEntry(Aliases, Key);
    else
        Aliases.SetVariable(Key, Alias);
    SetNode(Node, Kind, Name, Alias);
    Edit->setModified(false);
    return true;
}

bool TfrDictForm::Edit1Exit()
{
    QTreeWidgetItem* Node = FAliasNode;
    if (!Node)
        return true;
    QStringList Siblings = FDataSetNames;
    if (KindOf(Node) == dnField) {
        Siblings.clear();
        for (int i = 0; i < Node->parent()->childCount(); ++i)
            Siblings << NameOf(Node->parent()->child(i));
    }
    return StoreAlias(Edit1, Node, *FFieldAliases, Siblings);
}

void TfrDictForm::CB1Click()
{
    QTreeWidgetItem* Node = FieldAliasesTree->currentItem();
    const int Kind = KindOf(Node);
    if (FSuppress || (Kind != dnField && Kind != dnExcludedField))
        return;
    Edit1Exit();
    const QString Key = NameOf(Node->parent()) + u'.' + NameOf(Node);
    if (Kind == dnField)
        FFieldAliases->SetVariable(Key, QString());
    else
        DeleteEntry(*FFieldAliases, Key);
    SetNode(Node, Kind == dnField ? dnExcludedField : dnField, NameOf(Node));
    FieldAliasesTreeChange();
}

void TfrDictForm::MoveToTree(QListWidget* List, QTreeWidget* Tree, TfrVariables& Aliases, bool All)
{
    QTreeWidgetItem* Root = Tree->topLevelItem(0);
    int OldRow = -1;
    for (int Row = 0; Row < List->count();) {
        QListWidgetItem* Item = List->item(Row);
        if (!All && !Item->isSelected()) {
            ++Row;
            continue;
        }
        if (OldRow < 0)
            OldRow = Row;
        const QString Name = Item->text();
        Aliases.SetVariable(Name, QString());
        if (Tree == FieldAliasesTree) {
            auto* Node = NewNode(Root, dnDataSet, Name);
            NewNode(Node, dnFieldsNotLoaded, LoadEngineString(55076));
        } else {
            NewNode(Root, dnDataSource, Name);
        }
        delete List->takeItem(Row);
    }
    Root->setExpanded(true);
    Tree->setCurrentItem(Root);
    if (OldRow >= 0 && List->count() > 0)
        List->setCurrentRow(std::min(OldRow, List->count() - 1));
}

void TfrDictForm::MoveBack(QListWidget* List, QTreeWidget* Tree, TfrVariables& Aliases, bool All)
{
    QTreeWidgetItem* Root = Tree->topLevelItem(0);
    const int Kind = Tree == FieldAliasesTree ? dnDataSet : dnDataSource;
    QList<QTreeWidgetItem*> Nodes;
    if (All) {
        for (int i = 0; i < Root->childCount(); ++i)
            Nodes << Root->child(i);
    } else if (KindOf(Tree->currentItem()) == Kind) {
        Nodes << Tree->currentItem();
    }
    // Only datasets the page lists go back; entries of missing ones stay.
    for (QTreeWidgetItem* Node : Nodes) {
        const QString Name = NameOf(Node);
        for (int i = Aliases.Count() - 1; i >= 0; --i)
            if ((Kind == dnDataSet && Aliases.GetName(i).startsWith(Name + u'.', Qt::CaseInsensitive)) ||
                SameText(Aliases.GetName(i), Name))
                Aliases.Delete(i);
        SortedInsert(List, Name, Kind == dnDataSet ? liDataSet : liDataSource);
        if (FAliasNode == Node || (FAliasNode && FAliasNode->parent() == Node))
            FAliasNode = nullptr;
        if (FBandNode == Node)
            FBandNode = nullptr;
        delete Node;
    }
    Tree->setCurrentItem(Tree->currentItem() ? Tree->currentItem() : Root);
}

void TfrDictForm::frSpeedButton1Click()
{
    Edit1Exit();
    MoveToTree(AllTablesLB, FieldAliasesTree, *FFieldAliases, false);
}

void TfrDictForm::frSpeedButton2Click()
{
    Edit1Exit();
    MoveBack(AllTablesLB, FieldAliasesTree, *FFieldAliases, false);
}

void TfrDictForm::frSpeedButton3Click()
{
    Edit1Exit();
    MoveToTree(AllTablesLB, FieldAliasesTree, *FFieldAliases, true);
}

void TfrDictForm::frSpeedButton4Click()
{
    Edit1Exit();
    MoveBack(AllTablesLB, FieldAliasesTree, *FFieldAliases, true);
}

// ---------------------------------------------------------------- band data sources

void TfrDictForm::FillBandDataSources()
{
    FBandNode = nullptr;
    BandDSTree->clear();
    AllBandsLB->clear();
    auto* Root = new QTreeWidgetItem(BandDSTree);
    SetNode(Root, dnRoot, LoadEngineString(53357));
    TStringList Names;
    GetComponents(CurReport->parent(), TfrDataset::staticMetaObject, Names, nullptr);
    Names.Sort();
    FDataSourceNames.clear();
    for (int i = 0; i < Names.Count(); ++i) {
        const QString Name = Names.Strings(i);
        FDataSourceNames << Name;
        if (const int Entry = FBandAliases->IndexOf(Name); Entry >= 0)
            NewNode(Root, dnDataSource, Name, VarToStr(FBandAliases->GetValue(Entry)));
        else
            frAddListItem(AllBandsLB, Name, liDataSource);
    }
    BandDSTree->expandAll();
    BandDSTree->setCurrentItem(Root);
}

void TfrDictForm::BandDSTreeChange()
{
    Edit2Exit();
    QTreeWidgetItem* Node = BandDSTree->currentItem();
    FBandNode = Node;
    const bool Source = KindOf(Node) == dnDataSource;
    Edit2->setText(!Source ? QString() : AliasOf(Node).isEmpty() ? NameOf(Node) : AliasOf(Node));
    Edit2->setModified(false);
    Edit2->setReadOnly(!Source);
}

bool TfrDictForm::Edit2Exit()
{
    return !FBandNode || StoreAlias(Edit2, FBandNode, *FBandAliases, FDataSourceNames);
}

void TfrDictForm::frSpeedButton5Click()
{
    Edit2Exit();
    MoveToTree(AllBandsLB, BandDSTree, *FBandAliases, false);
}

void TfrDictForm::frSpeedButton6Click()
{
    Edit2Exit();
    MoveBack(AllBandsLB, BandDSTree, *FBandAliases, false);
}

void TfrDictForm::frSpeedButton7Click()
{
    Edit2Exit();
    MoveToTree(AllBandsLB, BandDSTree, *FBandAliases, true);
}

void TfrDictForm::frSpeedButton8Click()
{
    Edit2Exit();
    MoveBack(AllBandsLB, BandDSTree, *FBandAliases, true);
}
