// TFormLogin: the login window. The user picks one of sixteen salesmen or one
// of the four fixed roles and types the password; a successful login fills
// the session (CurrentRole, CurrentUser, CurrentRange, CurrentSlot) and ends
// the window with mrOk. It also guards user management with the
// administrator's password. Shaping the main window for the role is
// TFormMain's ApplyLogin.
#pragma once

#include "platform/gui/Forms.h"

#include <array>

class QFrame;
class QLabel;
class TImage;
class TSpeedButton;

class TFormLogin : public TForm
{
public:
    explicit TFormLogin(QWidget* AOwner = nullptr);
    ~TFormLogin() override;

    static constexpr int ManCount = 16;

    TImage* ImageTitle;
    TImage* ImageUp1;
    TImage* ImageUp2;
    TImage* ImageUp4;
    QFrame* PanelMen;
    QLabel* LabelMen;
    // Man1 to Man16 in button order: button N logs in as PowerIndex N.
    std::array<TSpeedButton*, ManCount> Man{};
    QFrame* PanelRoles;
    QLabel* LabelRoles;
    TSpeedButton* ManManage;
    TSpeedButton* SpeedButton1; // 财务主管
    TSpeedButton* SpeedButton2; // 财务总监
    TSpeedButton* SpeedButton3; // 管理员
    TSpeedButton* SpeedButton4; // 总经理

    // Captions and faces of the sixteen buttons from the Power rows 1 to 16.
    void LoadUserButtons();
    // The login of the salesman of button N (1..16).
    void SalesmanLogin(int N);
    // The login of one of the four fixed roles.
    void RoleLogin(const QString& Role);

    // Handlers.
    void FormShow(QObject* Sender);
    void ActionManageExecute(QObject* Sender);
    void Action1Execute(QObject* Sender);
    void Action2Execute(QObject* Sender);
    void Action3Execute(QObject* Sender);
    void Action4Execute(QObject* Sender);
    void ImageTitleClick(QObject* Sender);
    void ImageUp1Click(QObject* Sender);
    void ImageUp2Click(QObject* Sender);
    void ImageUp4Click(QObject* Sender);
    // Hover: Image is the picture under the mouse, nullptr for the empty area.
    void HoverPicture(TImage* Image);
    // Whether a banner picture shows its coloured state.
    bool PictureColoured(const TImage* Image) const;

    // The product page opened by ImageUp2.
    static QString ProductPage();

private:
    void BuildBanner();
    void BuildMen();
    void BuildRoles();
    void BindHandlers();
    // Asks the password for a Power row found by name; true when it matches.
    bool CheckRolePassword(const QString& Role, const QString& Caption, const QString& Prompt);
    void LoadPictureState(int Picture, bool Coloured);

    std::array<TImage*, 4> FPictures{};
    std::array<bool, 4> FColoured{};
};

extern TFormLogin* FormLogin;
