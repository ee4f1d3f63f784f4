// The band types offered when a band is inserted; types the page cannot take
// (a second title, page header, ...) are disabled.
#pragma once

#include "platform/gui/Forms.h"

#include <vector>

class QGroupBox;
class QRadioButton;
class TButton;

class TfrBandTypesForm : public TForm
{
public:
    TfrBandTypesForm();

    // Set by the designer before showing: the page is a subreport's page.
    bool IsSubreport = false;
    int SelectedTyp = 0;

    void FormShow();
    QRadioButton* TypeButton(int BandType) const { return FButtons.at(BandType); }

    QGroupBox* GB1;
    TButton* Button1;
    TButton* Button2;

private:
    std::vector<QRadioButton*> FButtons;
};
