// The print dialog: where and what to print before a prepared report goes to
// the printer. Choosing a printer makes it the engine printer's current one at
// once (so that its properties can be set); any answer but OK puts back the
// printer that was current when the dialog was made. The caller sets E1 and
// CollateCB from the report's defaults and reads the page list, the copies,
// CB2's index (0 all, 1 odd, 2 even pages) and CollateCB afterwards.
#pragma once

#include "platform/gui/Forms.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class TButton;
class TImage;
class TfrSpeedButton;

class TfrPrintForm : public TForm
{
public:
    explicit TfrPrintForm(QWidget* AOwner = nullptr);

    // Empty for all pages, the current page's number, or the list typed in E2.
    QString PageNumbers(int CurrentPage) const;
    // E1 as a number of copies: anything but a whole number of at least 1 is one.
    int Copies() const;

    QGroupBox* GroupBox1;
    QLabel* Label4;
    TImage* Image1;          // the printer picture of CB1's items
    QComboBox* CB1;
    TButton* PropButton;
    QGroupBox* GroupBox2;
    QRadioButton* RB1;
    QRadioButton* RB2;
    QRadioButton* RB3;
    QLineEdit* E2;
    QLabel* Label2;
    QGroupBox* GroupBox3;
    QLabel* Label1;
    QLineEdit* E1;
    TCustomControl* Panel1;
    TfrSpeedButton* frSpeedButton1;   // up
    TfrSpeedButton* frSpeedButton2;   // down
    QCheckBox* CollateCB;
    QLabel* Label3;
    TCustomControl* PB1;
    TImage* CollateImg;
    TImage* NonCollateImg;
    QLabel* Label5;
    QComboBox* CB2;
    TButton* Button1;
    TButton* Button2;

protected:
    bool eventFilter(QObject* Watched, QEvent* Event) override;

private:
    void CB1Click();
    void PropButtonClick();
    void FormClose();
    void SpeedButtonClick(int Step);
    void PB1Paint();

    int FOldIndex = 0;
    bool FFilling = false;
};
