// The font dialog of the classic API: Execute shows Qt's font chooser inside
// a modal window (TForm "FontDialog"), so it runs through the modal seam; a
// test's form handler finds the QFontDialog child, picks a font and answers.
// On OK Font takes each of name, size and style that the user changed in the
// chooser; what was left as shown keeps the font's own value (a stored
// "Arial" stays "Arial"). Colour and character set, which the Qt chooser does
// not offer, stay as they were.
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
