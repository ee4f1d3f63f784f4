// The font dialog of the classic API: Execute shows Qt's font chooser inside
// a modal window (TForm "FontDialog"), so it runs through the modal seam; a
// test's form handler finds the QFontDialog child, picks a font and answers.
// On OK Font takes the chosen name, size and style; its colour and character
// set stay as they were, which the Qt chooser does not offer.
#pragma once

#include "platform/gui/Graphics.h"

#include <QObject>

class TFontDialog : public QObject
{
public:
    explicit TFontDialog(QObject* AOwner = nullptr);
    ~TFontDialog() override;

    TFont* Font() const { return FFont.get(); }
    bool Execute();

private:
    std::unique_ptr<TFont> FFont;
};
