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
#include <QPainter>

namespace {

// Our template icon: a report sheet with coloured bands.
QIcon TemplateIcon()
{
    QPixmap P(32, 32);
    P.fill(Qt::transparent);
    QPainter G(&P);
    G.setPen(Qt::black);
    G.setBrush(Qt::white);
    G.drawRect(5, 1, 22, 29);
    const QColor Bands[] = {QColor(0xF2, 0xA5, 0x41), QColor(0x9C, 0xC3, 0xE6), QColor(0x9C, 0xC3, 0xE6),
                            QColor(0x5B, 0x9B, 0x55)};
    G.setPen(Qt::NoPen);
    for (int i = 0; i < 4; ++i) {
        G.setBrush(Bands[i]);
        G.drawRect(8, 4 + i * 6, i == 0 || i == 3 ? 16 : 12, 4);
    }
    return QIcon(P);
}

} // namespace

TfrTemplForm::TfrTemplForm(QWidget* AOwner) : TForm(AOwner)
{
    setObjectName(QStringLiteral("frTemplForm"));
    SetBorderStyle(bsDialog);
    SetPosition(poScreenCenter);
    SetClientSize(460, 265);
    SetCaption(LoadEngineString(53318));
    LB1 = new QListWidget(this);
    LB1->setGeometry(8, 8, 250, 249);
    LB1->setViewMode(QListView::IconMode);
    LB1->setIconSize(QSize(32, 32));
    LB1->setGridSize(QSize(76, 64));
    LB1->setMovement(QListView::Static);
    LB1->setResizeMode(QListView::Adjust);
    LB1->setWordWrap(true);
    LB1->setSortingEnabled(true);
    ImageList1 = TemplateIcon();
    auto* Group = new QGroupBox(LoadEngineString(53319), this);
    Group->setGeometry(266, 8, 186, 212);
    Image1 = new TImage(Group);
    Image1->setGeometry(8, 18, 170, 90);
    Image1->SetCenter(true);
    Memo1 = new TMemo(Group);
    Memo1->setGeometry(8, 112, 170, 92);
    Memo1->setReadOnly(true);
    Memo1->setFrameShape(QFrame::NoFrame);
    QPalette Face = Memo1->palette();
    Face.setColor(QPalette::Base, Face.color(QPalette::Button));
    Memo1->setPalette(Face);
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
    return Item ? Item->data(Qt::UserRole).toString() : QString();
}

void TfrTemplForm::FormActivate()
{
    LB1->clear();
    // Any letter case of the extension and hidden files too; the real name
    // is kept, since the file system tells "B.FRT" from "B.frt".
    const QString Folder = TemplateFolder();
    const QFileInfoList Files = QDir(Folder).entryInfoList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QFileInfo& F : Files) {
        const QString Name = F.fileName();
        if (!Name.endsWith(QStringLiteral(".frt"), Qt::CaseInsensitive))
            continue;
        auto* Item = new QListWidgetItem(ImageList1, Name.chopped(4));
        Item->setData(Qt::UserRole, Folder + Name);
        LB1->addItem(Item);
    }
    LB1->setCurrentRow(-1);
    Memo1->clear();
    Image1->Picture()->SetGraphic(nullptr);
    Image1->update();
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
    Reader.LoadTemplate(Item->data(Qt::UserRole).toString(), &Comment, &Picture, false);
    QString Text = Comment.Text();
    while (Text.endsWith(u'\n') || Text.endsWith(u'\r'))
        Text.chop(1);
    Memo1->setPlainText(Text);
    if (Picture.isNull()) {
        Image1->Picture()->SetGraphic(nullptr);
    } else {
        auto B = std::make_unique<TBitmap>();
        B->LoadFromImage(Picture);
        Image1->Picture()->SetGraphic(std::move(B));
    }
    Image1->update();
}
