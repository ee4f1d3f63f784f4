#include "report/designer/FR_Newrp.h"

#include "platform/gui/Application.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/StdCtrls.h"
#include "platform/rtl/Classes.h"
#include "platform/rtl/SysUtils.h"
#include "report/designer/FR_Desgn.h"
#include "report/engine/FR_Class.h"
#include "report/engine/FR_Utils.h"

#include <QDir>
#include <QGroupBox>
#include <QListWidget>
#include <QPlainTextEdit>

TfrTemplForm::TfrTemplForm(QWidget* AOwner) : TForm(AOwner)
{
    setObjectName(QStringLiteral("frTemplForm"));
    SetBorderStyle(bsDialog);
    SetPosition(poScreenCenter);
    SetClientSize(460, 265);
    SetCaption(LoadEngineString(53318));
    LB1 = new QListWidget(this);
    LB1->setGeometry(8, 8, 250, 249);
    LB1->setSortingEnabled(true);
    auto* Group = new QGroupBox(LoadEngineString(53319), this);
    Group->setGeometry(266, 8, 186, 212);
    Image1 = new TImage(Group);
    Image1->setGeometry(8, 18, 170, 90);
    Image1->SetCenter(true);
    Memo1 = new QPlainTextEdit(Group);
    Memo1->setGeometry(8, 112, 170, 92);
    Memo1->setReadOnly(true);
    Memo1->setFrameShape(QFrame::NoFrame);
    Button1 = new TButton(this);
    Button1->SetCaption(LoadEngineString(55000));
    Button1->SetModalResult(mrOk);
    Button1->SetDefault(true);
    Button1->setGeometry(296, 232, 75, 25);
    Button2 = new TButton(this);
    Button2->SetCaption(LoadEngineString(55001));
    Button2->SetModalResult(mrCancel);
    Button2->SetCancel(true);
    Button2->setGeometry(377, 232, 75, 25);
    QObject::connect(LB1, &QListWidget::currentRowChanged, this, [this] { ListBox1Click(); });
    QObject::connect(LB1, &QListWidget::itemDoubleClicked, this, [this] {
        if (Button1->isEnabled())
            SetModalResult(mrOk);
    });
    OnShow = [this](QObject*) { FormActivate(); };
}

QString TfrTemplForm::TemplateFolder()
{
    QString Dir = TemplateDir.isEmpty() ? ExtractFilePath(Application()->ExeName()) : TemplateDir;
    if (!Dir.endsWith(u'/'))
        Dir += u'/';
    return Dir;
}

QString TfrTemplForm::TemplName() const
{
    QListWidgetItem* Item = LB1->currentItem();
    return Item ? TemplateFolder() + Item->text() + QStringLiteral(".frt") : QString();
}

void TfrTemplForm::FormActivate()
{
    LB1->clear();
    const QFileInfoList Files = QDir(TemplateFolder()).entryInfoList({QStringLiteral("*.frt")}, QDir::Files);
    for (const QFileInfo& F : Files)
        LB1->addItem(F.completeBaseName());
    LB1->setCurrentRow(-1);
    Memo1->clear();
    Image1->Picture()->SetGraphic(nullptr);
    Button1->setEnabled(false);
}

void TfrTemplForm::ListBox1Click()
{
    QListWidgetItem* Item = LB1->currentItem();
    Button1->setEnabled(Item != nullptr);
    if (!Item)
        return;
    // Only the description and the picture are read; the report stays.
    TfrReport Reader;
    TStringList Comment;
    QImage Picture;
    Reader.LoadTemplate(TemplateFolder() + Item->text() + QStringLiteral(".frt"), &Comment, &Picture, false);
    Memo1->setPlainText(Comment.Text());
    if (Picture.isNull()) {
        Image1->Picture()->SetGraphic(nullptr);
    } else {
        auto B = std::make_unique<TBitmap>();
        B->LoadFromImage(Picture);
        Image1->Picture()->SetGraphic(std::move(B));
    }
    Image1->update();
}
