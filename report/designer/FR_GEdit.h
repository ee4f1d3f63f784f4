// The picture editor of a picture view: load, clear or paste a picture and see
// it before it replaces the view's.
#pragma once

#include "report/engine/FR_ClassDesigner.h"

#include <memory>

class QGroupBox;
class QScrollArea;
class TButton;
class TCustomControl;
class TOpenDialog;
class TfrPicture;

class TfrGEditorForm : public TfrObjEditorForm
{
public:
    TfrGEditorForm();
    ~TfrGEditorForm() override;

    // Edits the picture of View (a picture view); the modal result.
    TModalResult ShowEditor(TfrView* View) override;

    QGroupBox* GroupBox1;
    TButton* Button3;   // load
    TButton* Button4;   // clear
    QScrollArea* ScrollBox1;
    TCustomControl* PB1;
    TButton* Button1;
    TButton* Button2;
    TOpenDialog* OpenDialog1;
    // The picture being edited (kept in the view's own stored form).
    TfrPicture* Image1() const { return FImage1.get(); }

    void BitBtn1Click();
    void Button4Click();
    void FormKeyDown(int& Key, TShiftState Shift);
    void PB1Paint();

private:
    std::unique_ptr<TfrPicture> FImage1;
};
