#include "report/designer/FR_DsOpt.h"

#include "platform/gui/StdCtrls.h"
#include "platform/rtl/IniFiles.h"
#include "report/designer/FR_Combo.h"
#include "report/engine/FR_Dock.h"
#include "report/engine/FR_Globals.h"
#include "report/engine/FR_Utils.h"

#include <QCheckBox>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTabWidget>

namespace {

QCheckBox* Check(QWidget* Parent, int Id, int X, int Y)
{
    auto* B = new QCheckBox(LoadEngineString(Id).remove(u'&'), Parent);
    B->setGeometry(X, Y, 300, 18);
    return B;
}

QRadioButton* Radio(QWidget* Parent, int Id, int X, int Y)
{
    auto* B = new QRadioButton(LoadEngineString(Id).remove(u'&'), Parent);
    B->setGeometry(X, Y, 140, 18);
    return B;
}

QGroupBox* Group(QWidget* Parent, int Id, int X, int Y, int W, int H)
{
    auto* G = new QGroupBox(LoadEngineString(Id), Parent);
    G->setGeometry(X, Y, W, H);
    return G;
}

QLabel* Label(QWidget* Parent, int Id, int X, int Y, int W)
{
    auto* L = new QLabel(LoadEngineString(Id), Parent);
    L->setGeometry(X, Y, W, 18);
    return L;
}

// A font size as the size boxes take it: a whole number from 1 to 999; 0 for
// anything else.
int FontSizeOf(const TfrComboBox* Box)
{
    bool Ok = false;
    const int Size = Box->currentText().trimmed().toInt(&Ok);
    return Ok && Size >= 1 && Size <= 999 ? Size : 0;
}

TfrComboBox* SizeBox(QWidget* Parent, int X, int Y)
{
    auto* B = new TfrComboBox(Parent);
    B->setEditable(true);
    for (int Size : {8, 9, 10, 11, 12, 14})
        B->addItem(QString::number(Size));
    B->setGeometry(X, Y, 50, 21);
    return B;
}

TfrFontComboBox* FontBox(QWidget* Parent, int X, int Y)
{
    auto* B = new TfrFontComboBox(Parent);
    B->SetMRURegKey(QStringLiteral("\\Software\\Pagewright\\MRUFont"));
    B->SetShowMRU(false);
    B->PopulateList();
    B->setGeometry(X, Y, 170, 21);
    return B;
}

void SelectText(QComboBox* Box, const QString& Text)
{
    const int At = Box->findText(Text, Qt::MatchFixedString);
    if (At >= 0)
        Box->setCurrentIndex(At);
    else
        Box->setEditText(Text);
}

void ShowSample(QLabel* Sample, const TfrFontComboBox* Name, const TfrComboBox* Size)
{
    const int Points = FontSizeOf(Size);
    if (Points == 0)
        return;
    QFont F(Name->currentText());
    F.setPointSize(Points);
    Sample->setFont(F);
}

} // namespace

QString TfrDesOptionsForm::RegSection()
{
    return QStringLiteral("Form\\TfrDesignerForm");
}

TfrDesOptionsForm::TfrDesOptionsForm(QWidget* AOwner) : TForm(AOwner)
{
    setObjectName(QStringLiteral("frDesOptionsForm"));
    SetBorderStyle(bsDialog);
    SetPosition(poScreenCenter);
    SetClientSize(353, 411);
    SetCaption(LoadEngineString(53280));
    PageControl1 = new QTabWidget(this);
    PageControl1->setGeometry(8, 8, 337, 364);
    BuildDesignerSheet();
    BuildEditorSheet();
    Button1 = new TButton(this);
    Button1->SetCaption(LoadEngineString(55000));
    Button1->SetModalResult(mrOk);
    Button1->SetDefault(true);
    Button1->setGeometry(190, 380, 75, 25);
    Button2 = new TButton(this);
    Button2->SetCaption(LoadEngineString(55001));
    Button2->SetModalResult(mrCancel);
    Button2->SetCancel(true);
    Button2->setGeometry(270, 380, 75, 25);

    {
        TRegIniFile Ini(frRegRootKey);
        SelectText(TextFontNameCB, Ini.ReadString(RegSection(), QStringLiteral("TextFontName"), QStringLiteral("Arial")));
        SelectText(TextFontSizeCB, Ini.ReadString(RegSection(), QStringLiteral("TextFontSize"), QStringLiteral("10")));
        SelectText(ScriptFontNameCB,
                   Ini.ReadString(RegSection(), QStringLiteral("ScriptFontName"), QStringLiteral("Courier New")));
        SelectText(ScriptFontSizeCB, Ini.ReadString(RegSection(), QStringLiteral("ScriptFontSize"), QStringLiteral("10")));
        const bool UseDefault = Ini.ReadBool(RegSection(), QStringLiteral("UseDefaultFont"), true);
        ERB1->setChecked(UseDefault);
        ERB2->setChecked(!UseDefault);
    }
    ERB1Click();
    TextFontNameCBChange();
    ScriptFontNameCBChange();

    // A size the boxes cannot take keeps the dialog open.
    OnCloseQuery = [this](QObject*, bool& CanClose) {
        if (ModalResult() == mrOk && (FontSizeOf(TextFontSizeCB) == 0 || FontSizeOf(ScriptFontSizeCB) == 0)) {
            frShowError(LoadEngineString(55680));
            PageControl1->setCurrentWidget(Tab2);
            CanClose = false;
        }
    };
    OnHide = [this](QObject*) { FormHide(); };
}

void TfrDesOptionsForm::BuildDesignerSheet()
{
    Tab1 = new QWidget;
    PageControl1->addTab(Tab1, LoadEngineString(53281));
    QGroupBox* Grid = Group(Tab1, 53282, 6, 4, 321, 92);
    CB1 = Check(Grid, 53286, 8, 22);
    CB1->resize(150, 18);
    CB2 = Check(Grid, 53287, 8, 44);
    CB2->resize(150, 18);
    QGroupBox* Size = Group(Grid, 53285, 164, 12, 150, 74);
    RB1 = Radio(Size, 53289, 8, 18);
    RB2 = Radio(Size, 53290, 8, 36);
    RB3 = Radio(Size, 53291, 8, 54);
    QGroupBox* Units = Group(Tab1, 53284, 6, 100, 156, 76);
    RB6 = Radio(Units, 53294, 8, 18);
    RB7 = Radio(Units, 53295, 8, 36);
    RB8 = Radio(Units, 53296, 8, 54);
    QGroupBox* Position = Group(Tab1, 53300, 168, 100, 159, 76);
    RB9 = Radio(Position, 53301, 8, 18);
    RB10 = Radio(Position, 53302, 8, 36);
    RB11 = Radio(Position, 53303, 8, 54);
    QGroupBox* Other = Group(Tab1, 53297, 6, 180, 321, 148);
    CB3 = Check(Other, 53288, 8, 20);
    CB4 = Check(Other, 53298, 8, 40);
    CB5 = Check(Other, 53299, 8, 60);
    CB6 = new QCheckBox(Other);
    CB6->setGeometry(8, 80, 18, 18);
    Label1 = new QLabel(LoadEngineString(53293).remove(u'&'), Other);
    Label1->setGeometry(27, 80, 286, 18);
    Label1->installEventFilter(this);
    CB7 = Check(Other, 53311, 8, 100);
    CB8 = Check(Other, 55652, 8, 120);
}

void TfrDesOptionsForm::BuildEditorSheet()
{
    Tab2 = new QWidget;
    PageControl1->addTab(Tab2, LoadEngineString(53304));
    QGroupBox* Text = Group(Tab2, 53305, 6, 4, 321, 146);
    ERB1 = Radio(Text, 53306, 8, 20);
    ERB1->resize(300, 18);
    ERB2 = Radio(Text, 53307, 8, 40);
    ERB2->resize(300, 18);
    Label2 = Label(Text, 53308, 24, 64, 70);
    TextFontNameCB = FontBox(Text, 24, 82);
    Label3 = Label(Text, 53309, 204, 64, 60);
    TextFontSizeCB = SizeBox(Text, 204, 82);
    SampleTextPanel = new QLabel(QStringLiteral("AaBbYyZz"), Text);
    SampleTextPanel->setObjectName(QStringLiteral("SampleTextPanel"));
    SampleTextPanel->setFrameShape(QFrame::Panel);
    SampleTextPanel->setFrameShadow(QFrame::Sunken);
    SampleTextPanel->setAlignment(Qt::AlignCenter);
    SampleTextPanel->setGeometry(24, 108, 289, 32);
    QGroupBox* Script = Group(Tab2, 53310, 6, 154, 321, 118);
    Label(Script, 53308, 24, 20, 70);
    ScriptFontNameCB = FontBox(Script, 24, 38);
    Label(Script, 53309, 204, 20, 60);
    ScriptFontSizeCB = SizeBox(Script, 204, 38);
    SampleScriptPanel = new QLabel(QStringLiteral("AaBbYyZz"), Script);
    SampleScriptPanel->setObjectName(QStringLiteral("SampleScriptPanel"));
    SampleScriptPanel->setFrameShape(QFrame::Panel);
    SampleScriptPanel->setFrameShadow(QFrame::Sunken);
    SampleScriptPanel->setAlignment(Qt::AlignCenter);
    SampleScriptPanel->setGeometry(24, 66, 289, 42);
    QGroupBox* Highlight = Group(Tab2, 55650, 6, 276, 321, 50);
    CB9 = Check(Highlight, 55651, 8, 22);

    QObject::connect(ERB1, &QRadioButton::toggled, this, [this] { ERB1Click(); });
    TextFontNameCB->OnClick = [this](QObject*) { TextFontNameCBChange(); };
    ScriptFontNameCB->OnClick = [this](QObject*) { ScriptFontNameCBChange(); };
    QObject::connect(TextFontSizeCB, &QComboBox::currentTextChanged, this, [this] { TextFontNameCBChange(); });
    QObject::connect(ScriptFontSizeCB, &QComboBox::currentTextChanged, this, [this] { ScriptFontNameCBChange(); });
}

void TfrDesOptionsForm::Label1Click()
{
    CB6->setChecked(!CB6->isChecked());
}

void TfrDesOptionsForm::ERB1Click()
{
    EnableControls({Label2, TextFontNameCB, Label3, TextFontSizeCB}, ERB2->isChecked());
}

void TfrDesOptionsForm::TextFontNameCBChange()
{
    ShowSample(SampleTextPanel, TextFontNameCB, TextFontSizeCB);
}

void TfrDesOptionsForm::ScriptFontNameCBChange()
{
    ShowSample(SampleScriptPanel, ScriptFontNameCB, ScriptFontSizeCB);
}

void TfrDesOptionsForm::FormHide()
{
    if (ModalResult() != mrOk)
        return;
    TRegIniFile Ini(frRegRootKey);
    Ini.WriteString(RegSection(), QStringLiteral("TextFontName"), TextFontNameCB->currentText());
    Ini.WriteString(RegSection(), QStringLiteral("TextFontSize"), TextFontSizeCB->currentText().trimmed());
    Ini.WriteString(RegSection(), QStringLiteral("ScriptFontName"), ScriptFontNameCB->currentText());
    Ini.WriteString(RegSection(), QStringLiteral("ScriptFontSize"), ScriptFontSizeCB->currentText().trimmed());
    Ini.WriteBool(RegSection(), QStringLiteral("UseDefaultFont"), ERB1->isChecked());
}

bool TfrDesOptionsForm::eventFilter(QObject* Watched, QEvent* Event)
{
    // A click or a double click on the label toggles its box.
    if (Watched == Label1 && (Event->type() == QEvent::MouseButtonPress || Event->type() == QEvent::MouseButtonDblClick)) {
        Label1Click();
        return true;
    }
    return TForm::eventFilter(Watched, Event);
}
