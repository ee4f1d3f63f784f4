#include "app/User2Form.h"

#include "app/ShareDM.h"
#include "platform/gui/Buttons.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/rtl/SysUtils.h"

#include <QRadioButton>

TFormUser2* FormUser2 = nullptr;

namespace {

constexpr int PerRow = 9;
constexpr int CellWidth = 64;
constexpr int CellHeight = 68;

} // namespace

TFormUser2::TFormUser2(QWidget* AOwner) : TForm(AOwner)
{
    setObjectName(QStringLiteral("FormUser2"));
    SetCaption(QStringLiteral("选择头像"));
    SetBorderStyle(bsDialog);
    SetPosition(poScreenCenter);
    const int Rows = (FaceCount + PerRow - 1) / PerRow;
    SetClientSize(16 + PerRow * CellWidth, 12 + Rows * CellHeight + 44);
    QFont F(QStringLiteral("宋体"));
    F.setPixelSize(12);
    setFont(F);

    for (int I = 0; I < FaceCount; ++I) {
        const int Left = 8 + (I % PerRow) * CellWidth;
        const int Top = 12 + (I / PerRow) * CellHeight;
        auto* Image = new TImage(this);
        Image->setObjectName(QStringLiteral("Image%1").arg(I + 1));
        Image->setGeometry(Left + 12, Top, 40, 40);
        Image->SetStretch(true);
        Images[size_t(I)] = Image;
        auto* Radio = new QRadioButton(QStringLiteral("头像%1").arg(I + 1), this);
        Radio->setObjectName(QStringLiteral("RadioButton%1").arg(I + 1));
        Radio->setGeometry(Left + 4, Top + 42, CellWidth - 4, 20);
        RadioButtons[size_t(I)] = Radio;
    }

    const int ButtonTop = 12 + Rows * CellHeight + 6;
    BitBtn1 = new TBitBtn(this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->SetCaption(QStringLiteral("确定"));
    BitBtn1->SetDefault(true);
    BitBtn1->setGeometry(PerRow * CellWidth - 190, ButtonTop, 90, 30);
    BitBtn1->OnClick = [this](QObject* Sender) { BitBtn1Click(Sender); };
    BitBtn2 = new TBitBtn(this);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    BitBtn2->SetKind(bkCancel);
    BitBtn2->SetCaption(QStringLiteral("取消"));
    BitBtn2->setGeometry(PerRow * CellWidth - 90, ButtonTop, 90, 30);

    OnShow = [this](QObject* Sender) { FormShow(Sender); };
}

QString TFormUser2::FacePath(int N)
{
    return QStringLiteral("Faces/%1.bmp").arg(N);
}

void TFormUser2::FormShow(QObject*)
{
    for (int I = 0; I < FaceCount; ++I) {
        try {
            Images[size_t(I)]->Picture()->LoadFromFile(AppPath + FacePath(I + 1));
        } catch (const Exception&) {
            Images[size_t(I)]->Picture()->Clear();
        }
        // Exclusive radio buttons cannot all be off; a path matching none must show none.
        QRadioButton* Radio = RadioButtons[size_t(I)];
        Radio->setAutoExclusive(false);
        Radio->setChecked(FacePath(I + 1) == FacePicture);
        Radio->setAutoExclusive(true);
    }
}

void TFormUser2::BitBtn1Click(QObject*)
{
    for (int I = 0; I < FaceCount; ++I)
        if (RadioButtons[size_t(I)]->isChecked())
            FacePicture = FacePath(I + 1);
    SetModalResult(mrOk);
}
