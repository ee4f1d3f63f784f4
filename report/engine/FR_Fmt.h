// The display-format dialog of a memo view's values. Format packs the choice
// into 32 bits: category in bits 24-27, format within the category in bits
// 16-23, decimal digits in bits 8-15 and the decimal separator's character in
// bits 0-7; FormatStr is the custom format text.
#pragma once

#include "platform/gui/Forms.h"

#include <cstdint>

class QLabel;
class QLineEdit;
class QListWidget;
class TButton;

class TfrFmtForm : public TForm
{
public:
    explicit TfrFmtForm(QWidget* AOwner = nullptr);

    uint32_t Format() const { return FFormat; }
    void SetFormat(uint32_t Value) { FFormat = Value; }
    QString FormatStr() const { return FFormatStr; }
    void SetFormatStr(const QString& Value) { FFormatStr = Value; }

    QListWidget* CatLB;
    QListWidget* TypeLB;
    QLabel* Label1;
    QLineEdit* DecEdit;
    QLabel* Label2;
    QLineEdit* SplEdit;
    QLabel* Label3;
    QLineEdit* FormatEdit;
    TButton* Button1;
    TButton* Button2;

protected:
    bool eventFilter(QObject* Watched, QEvent* Event) override;

private:
    void FormActivate();
    void FillTypes(int Category);
    void ShowPanels();
    void FormClose();

    uint32_t FFormat = 0;
    QString FFormatStr;
    bool FFilling = false;
};
