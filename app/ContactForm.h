// TFormContact: one contact record, a dated note about a regular customer,
// created or edited. The list of a customer's contacts shows the head, the
// first 120 characters of the note. The caller fills the public fields before
// ShowModal; mrOk means the record was stored.
#pragma once

#include "app/SaveChecks.h"
#include "platform/gui/Forms.h"

class QAction;
class QDateEdit;
class QLineEdit;
class TMemo;
class TSpeedButton;

class TFormContact : public TForm
{
public:
    explicit TFormContact(QWidget* AOwner = nullptr);

    // Set by the caller before every showing.
    QString ContactMode;  // "新增" for a new record; anything else edits ContactIndex
    int ContactIndex = 0;
    int ContactUser = 0;  // the customer's CustomerIndex

    QLineEdit* Edit1;
    QDateEdit* DateTimePicker1;
    TMemo* Memo1;
    QAction* ActionYes;
    QAction* ActionCancel;
    TSpeedButton* SpeedButton1;
    TSpeedButton* SpeedButton2;

    void FormShow(QObject* Sender);
    void ActionYesExecute(QObject* Sender);
    void ActionCancelExecute(QObject* Sender);

    // The first 120 characters of Text, never half a character.
    static QString ContactHead(const QString& Text);

private:
    bool IsNew() const { return ContactMode == QStringLiteral("新增"); }
    void StoreNew();
    void StoreEdit();

    TRowImage FRow; // the record shown for editing
};

extern TFormContact* FormContact;
