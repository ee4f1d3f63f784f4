// The designer options dialog on two sheets: grid, units, buttons, page
// position and undo on "Designer"; the memo editors' fonts and the syntax
// highlight on "Editor". The designer fills the first sheet and takes it back
// on OK; the editor fonts are read from and written to the registry here,
// written only on OK.
#pragma once

#include "platform/gui/Forms.h"

class QCheckBox;
class QLabel;
class QRadioButton;
class QTabWidget;
class TButton;
class TfrComboBox;
class TfrFontComboBox;

class TfrDesOptionsForm : public TForm
{
public:
    explicit TfrDesOptionsForm(QWidget* AOwner = nullptr);

    // Registry section of the editor fonts, under the designer's root key.
    static QString RegSection();

    QTabWidget* PageControl1;
    QWidget* Tab1;
    QWidget* Tab2;
    QCheckBox* CB1;   // show grid
    QCheckBox* CB2;   // align to grid
    QCheckBox* CB3;   // coloured buttons
    QCheckBox* CB4;   // editing after insert
    QCheckBox* CB5;   // band titles
    QCheckBox* CB6;   // contents while moving, captioned by Label1
    QLabel* Label1;
    QCheckBox* CB7;   // localized property names
    QCheckBox* CB8;   // disable undo
    QCheckBox* CB9;   // syntax highlight
    QRadioButton* RB1;   // grid 4, 8, 18
    QRadioButton* RB2;
    QRadioButton* RB3;
    QRadioButton* RB6;   // pixels, mm, inches
    QRadioButton* RB7;
    QRadioButton* RB8;
    QRadioButton* RB9;   // centre, left, right
    QRadioButton* RB10;
    QRadioButton* RB11;
    QRadioButton* ERB1;  // the object's own font in the text editor
    QRadioButton* ERB2;  // a fixed font
    QLabel* Label2;
    TfrFontComboBox* TextFontNameCB;
    QLabel* Label3;
    TfrComboBox* TextFontSizeCB;
    QLabel* SampleTextPanel;
    TfrFontComboBox* ScriptFontNameCB;
    TfrComboBox* ScriptFontSizeCB;
    QLabel* SampleScriptPanel;
    TButton* Button1;
    TButton* Button2;

    void Label1Click();
    // The fixed-font boxes are usable only with ERB2.
    void ERB1Click();
    // The samples take the chosen name and size; a size that is not a whole
    // number from 1 to 999 leaves the sample as it is.
    void TextFontNameCBChange();
    void ScriptFontNameCBChange();
    // With OK: the five registry values.
    void FormHide();

protected:
    bool eventFilter(QObject* Watched, QEvent* Event) override;

private:
    void BuildDesignerSheet();
    void BuildEditorSheet();
};
