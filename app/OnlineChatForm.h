// TFormOnlineChat: the ways to reach the maker (hotline, chat page, forum and
// a short message form). The message is sent by opening the message page's
// address in the user's browser; the program itself opens no connection.
#pragma once

#include "platform/gui/Forms.h"

class QAction;
class QComboBox;
class QLineEdit;
class TMemo;
class TSpeedButton;

class TFormOnlineChat : public TForm
{
public:
    explicit TFormOnlineChat(QWidget* AOwner = nullptr);

    TSpeedButton* IM;
    TSpeedButton* BBS;
    QLineEdit* Edit1;
    QLineEdit* Edit2;
    QComboBox* ComboBox1;
    TMemo* Memo1;
    TSpeedButton* Login;
    TSpeedButton* Close;
    QAction* ActionIM;
    QAction* ActionBBS;
    QAction* ActionYes;
    QAction* ActionCancel;

    // The maker's web server, the root of every page this window opens.
    static QString MakerSite();
    // The message page's address for the given values, each percent-encoded
    // as UTF-8 so that no typed character changes the address.
    static QString MessageAddress(const QString& Name, const QString& Phone,
                                  const QString& Content, const QString& SaleLink);

    void FormShow(QObject* Sender);
    void ComboBox1Change(QObject* Sender);
    void ActionIMExecute(QObject* Sender);
    void ActionBBSExecute(QObject* Sender);
    void ActionYesExecute(QObject* Sender);
    void ActionCancelExecute(QObject* Sender);

private:
    void BuildControls();
    void BuildMessageBox(QWidget* Message);
};

extern TFormOnlineChat* FormOnlineChat;
