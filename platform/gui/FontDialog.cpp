#include "platform/gui/FontDialog.h"

#include "platform/gui/Forms.h"

#include <QFontDatabase>
#include <QFontDialog>
#include <QFontInfo>
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
    // It lists the families the machine has: a name it does not list
    // ("Arial", drawn here by a family of the same metrics) would leave it on
    // another family. It starts on the family the name is drawn with.
    if (!QFontDatabase::families().contains(Start.family(), Qt::CaseInsensitive))
        Start.setFamily(QFontInfo(Start).family());
    Start.setPointSize(std::max(1, FFont->Size()));
    Start.setBold(FFont->Style().Contains(fsBold));
    Start.setItalic(FFont->Style().Contains(fsItalic));
    Start.setUnderline(FFont->Style().Contains(fsUnderline));
    Start.setStrikeOut(FFont->Style().Contains(fsStrikeOut));
    Chooser->setCurrentFont(Start);
    // What it shows at first may differ from the font (a name it draws with
    // another family, a style the family lacks): what the user leaves as shown
    // keeps the font's own value.
    const QFont Shown = Chooser->currentFont();
    QObject::connect(Chooser, &QDialog::accepted, &Form, [&Form] { Form.SetModalResult(mrOk); });
    QObject::connect(Chooser, &QDialog::rejected, &Form, [&Form] { Form.SetModalResult(mrCancel); });
    Form.SetCaption(Chooser->windowTitle());
    Form.resize(Chooser->sizeHint());
    if (Form.ShowModal() != mrOk)
        return false;
    const QFont Chosen = Chooser->currentFont();
    if (PlainFontFamily(Chosen.family()) != PlainFontFamily(Shown.family()))
        FFont->SetName(PlainFontFamily(Chosen.family()));
    if (Chosen.pointSize() > 0 && Chosen.pointSize() != Shown.pointSize())
        FFont->SetSize(Chosen.pointSize());
    TFontStyles Style = FFont->Style();
    const std::pair<TFontStyle, bool (QFont::*)() const> Parts[] = {
        {fsBold, &QFont::bold}, {fsItalic, &QFont::italic}, {fsUnderline, &QFont::underline},
        {fsStrikeOut, &QFont::strikeOut}};
    for (const auto& [Part, Has] : Parts) {
        if ((Chosen.*Has)() == (Shown.*Has)())
            continue;
        if ((Chosen.*Has)())
            Style << Part;
        else
            Style >> Part;
    }
    FFont->SetStyle(Style);
    return true;
}
