// TFormUser2: the choice of a salesman's face among the 39 pictures
// "Faces/1.bmp" to "Faces/39.bmp", nine to a row, each with a radio button.
#pragma once

#include "platform/gui/Forms.h"

#include <array>

class QRadioButton;
class TBitBtn;
class TImage;

class TFormUser2 : public TForm
{
public:
    explicit TFormUser2(QWidget* AOwner = nullptr);

    static constexpr int FaceCount = 39;

    // In and out: the picture's path relative to the program folder.
    QString FacePicture;

    // Image1 to Image39 and RadioButton1 to RadioButton39 in number order.
    std::array<TImage*, FaceCount> Images{};
    std::array<QRadioButton*, FaceCount> RadioButtons{};
    TBitBtn* BitBtn1;
    TBitBtn* BitBtn2;

    // "Faces/N.bmp" for face N (1..39).
    static QString FacePath(int N);

    void FormShow(QObject* Sender);
    void BitBtn1Click(QObject* Sender);
};

extern TFormUser2* FormUser2;
