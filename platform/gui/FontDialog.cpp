#include "platform/gui/FontDialog.h"

#include "platform/gui/Forms.h"

#include <QFontDialog>
#include <QVBoxLayout>

TFontDialog::TFontDialog(QObject* AOwner) : QObject(AOwner), FFont(std::make_unique<TFont>())
{
}

TFontDialog::~TFontDialog() = default;

bool TFontDialog::Execute()
{
    TForm Form;
    Form.setObjectName(QStringLiteral("FontDialog"));
    Form.SetBorderStyle(bsDialog);
    Form.SetPosition(poScreenCenter);
    auto* Chooser = new QFontDialog(&Form);
    Chooser->setOption(QFontDialog::DontUseNativeDialog);
    Chooser->setWindowFlags(Qt::Widget);
    auto* Layout = new QVBoxLayout(&Form);
    Layout->setContentsMargins(0, 0, 0, 0);
    Layout->addWidget(Chooser);
    // The chooser speaks points; the font keeps pixels at its resolution.
    QFont Start(FFont->Name());
    Start.setPointSize(std::max(1, FFont->Size()));
    Start.setBold(FFont->Style().Contains(fsBold));
    Start.setItalic(FFont->Style().Contains(fsItalic));
    Start.setUnderline(FFont->Style().Contains(fsUnderline));
    Start.setStrikeOut(FFont->Style().Contains(fsStrikeOut));
    Chooser->setCurrentFont(Start);
    QObject::connect(Chooser, &QDialog::accepted, &Form, [&Form] { Form.SetModalResult(mrOk); });
    QObject::connect(Chooser, &QDialog::rejected, &Form, [&Form] { Form.SetModalResult(mrCancel); });
    Form.SetCaption(Chooser->windowTitle());
    Form.resize(Chooser->sizeHint());
    if (Form.ShowModal() != mrOk)
        return false;
    const QFont Chosen = Chooser->currentFont();
    FFont->SetName(PlainFontFamily(Chosen.family()));
    if (Chosen.pointSize() > 0)
        FFont->SetSize(Chosen.pointSize());
    TFontStyles Style;
    if (Chosen.bold())
        Style << fsBold;
    if (Chosen.italic())
        Style << fsItalic;
    if (Chosen.underline())
        Style << fsUnderline;
    if (Chosen.strikeOut())
        Style << fsStrikeOut;
    FFont->SetStyle(Style);
    return true;
}
