// The data dictionary editor: report variables by category with their values,
// dataset and field aliases, and band data-source aliases. It edits private
// copies of the three lists; only OK puts them into the dictionary, all three
// at once.
#pragma once

#include "platform/gui/Forms.h"

#include <memory>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QTabWidget;
class QTreeWidget;
class QTreeWidgetItem;
class TButton;
class TfrComboEdit;
class TfrReport;
class TfrSpeedButton;
class TfrVariables;
class TfrDataDictionary;

// Node kinds of the trees (the role frNodeKindRole).
enum TfrDictNode : int {
    dnRoot = -2,
    dnNoVariables = -1,     // "[None]" of an empty variable tree
    dnFieldsNotLoaded = 0,  // "[None]" under a dataset whose fields are not loaded
    dnDataSet = 1,
    dnField = 2,
    dnRefused = 3,
    dnExcludedField = 4,
    dnCategory = 5,
    dnVariable = 6,
    dnDataSource = 7,
};
constexpr int frNodeKindRole = Qt::UserRole + 41;
constexpr int frNodeNameRole = Qt::UserRole + 42;
constexpr int frNodeAliasRole = Qt::UserRole + 43;

class TfrDictForm : public TForm
{
public:
    TfrDictForm();
    ~TfrDictForm() override;

    // The report being edited; set before showing.
    TfrReport* Doc = nullptr;

    QTabWidget* PageControl1;
    QWidget* TabSheet1;
    QWidget* TabSheet2;
    QWidget* TabSheet3;
    TButton* Button1;
    TButton* Button2;

    // Variables page.
    QLabel* Label3;
    QLabel* Label4;
    QTreeWidget* VarTree;
    QLineEdit* LabelEdit;       // the label editor of VarTree
    QComboBox* ValCombo;
    QListWidget* ValList;
    QCheckBox* ExprCB;
    TfrComboEdit* ExprEdit;
    TfrSpeedButton* NewCategoryBtn;
    TfrSpeedButton* NewVarBtn;
    TfrSpeedButton* EditBtn;
    TfrSpeedButton* DelBtn;
    TfrSpeedButton* EditListBtn;

    // Field aliases page.
    QLabel* Label1;
    QListWidget* AllTablesLB;
    QTreeWidget* FieldAliasesTree;
    TfrSpeedButton* frSpeedButton1;
    TfrSpeedButton* frSpeedButton2;
    TfrSpeedButton* frSpeedButton3;
    TfrSpeedButton* frSpeedButton4;
    QGroupBox* GroupBox1;
    QLabel* Label2;
    QLineEdit* Edit1;
    QCheckBox* CB1;

    // Band data sources page.
    QLabel* Label6;
    QListWidget* AllBandsLB;
    QTreeWidget* BandDSTree;
    TfrSpeedButton* frSpeedButton5;
    TfrSpeedButton* frSpeedButton6;
    TfrSpeedButton* frSpeedButton7;
    TfrSpeedButton* frSpeedButton8;
    QGroupBox* GroupBox2;
    QLabel* Label5;
    QLineEdit* Edit2;

    // The copies being edited.
    TfrVariables& Vars() const { return *FVars; }
    TfrVariables& FieldAliases() const { return *FFieldAliases; }
    TfrVariables& BandAliases() const { return *FBandAliases; }

    void FormShow();
    void FormResize();
    // OK: stores pending edits (false when one is refused), then swaps the
    // copies in.
    bool Button1Click();

    void VarTreeChange();
    void VarTreeEdited(QTreeWidgetItem* Node, const QString& Text);
    void VarTreeKeyDown(int Key, TShiftState Shift);
    void StartLabelEdit(QTreeWidgetItem* Node);
    void EndLabelEdit(bool Accept);
    void NewCategoryBtnClick();
    void NewVarBtnClick();
    void EditBtnClick();
    void DelBtnClick();
    void EditListBtnClick();
    void ValComboClick();
    void ValListClick();
    void ExprCBClick();
    void ExprEditEnter();
    void ExprEditExit();
    void ExprEditButtonClick();

    void FieldAliasesTreeExpanding(QTreeWidgetItem* Node);
    void FieldAliasesTreeChange();
    bool Edit1Exit();
    void CB1Click();
    void frSpeedButton1Click();
    void frSpeedButton2Click();
    void frSpeedButton3Click();
    void frSpeedButton4Click();

    void BandDSTreeChange();
    bool Edit2Exit();
    void frSpeedButton5Click();
    void frSpeedButton6Click();
    void frSpeedButton7Click();
    void frSpeedButton8Click();

private:
    void CreateAliasPages();
    void BindVariablesPage();
    void BindAliasPages();
    TfrDataDictionary* Dict() const;
    void FillVarTree();
    void ShowValue(const QString& Value);
    // The field's own name for a row of ValList under the dataset's real name.
    QString RealFieldName(const QString& DataSet, const QString& Shown) const;
    bool IsPlaceholderTree() const;
    void AddPlaceholder();
    void FillFieldAliases();
    void FillBandDataSources();
    void MoveToTree(QListWidget* List, QTreeWidget* Tree, TfrVariables& Aliases, bool All);
    void MoveBack(QListWidget* List, QTreeWidget* Tree, TfrVariables& Aliases, bool All);
    bool StoreAlias(QLineEdit* Edit, QTreeWidgetItem* Node, TfrVariables& Aliases, const QStringList& Siblings);

    std::unique_ptr<TfrVariables> FVars;
    std::unique_ptr<TfrVariables> FFieldAliases;
    std::unique_ptr<TfrVariables> FBandAliases;
    QStringList FDataSetNames;      // the datasets the field page offers
    QStringList FDataSourceNames;   // the band data sources the band page offers
    QTreeWidgetItem* FEditNode = nullptr;      // the node ExprEdit belongs to
    QTreeWidgetItem* FLabelNode = nullptr;     // the node LabelEdit belongs to
    QTreeWidgetItem* FAliasNode = nullptr;     // the node Edit1 shows
    QTreeWidgetItem* FBandNode = nullptr;      // the node Edit2 shows
    bool FSuppress = false;
};
