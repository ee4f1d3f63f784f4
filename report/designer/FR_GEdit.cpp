#include "report/designer/FR_GEdit.h"

#include "platform/gui/Clipbrd.h"
#include "platform/gui/Controls.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/FileDialogs.h"
#include "platform/gui/StdCtrls.h"
#include "report/engine/FR_PictureView.h"
#include "report/engine/FR_Utils.h"

#include <QBuffer>
#include <QGroupBox>
#include <QScrollArea>

TfrGEditorForm::TfrGEditorForm()
    : FImage1(std::make_unique<TfrPicture>())
{
    setObjectName(QStringLiteral("frGEditorForm"));
    SetBorderStyle(bsDialog);
    SetPosition(poScreenCenter);
    SetClientSize(336, 282);
    SetKeyPreview(true);
    SetCaption(LoadEngineString(53460));
    GroupBox1 = new QGroupBox(this);
    GroupBox1->setGeometry(8, 4, 320, 238);
    ScrollBox1 = new QScrollArea(GroupBox1);
    ScrollBox1->setGeometry(8, 16, 304, 182);
    PB1 = new TCustomControl;
    PB1->setObjectName(QStringLiteral("PB1"));
    PB1->resize(300, 178);
    ScrollBox1->setWidget(PB1);
    PB1->OnPaint = [this](TCustomControl*) { PB1Paint(); };
    Button3 = new TButton(GroupBox1);
    Button3->SetCaption(LoadEngineString(53462));
    Button3->setGeometry(8, 204, 75, 25);
    Button3->OnClick = [this](QObject*) { BitBtn1Click(); };
    Button4 = new TButton(GroupBox1);
    Button4->SetCaption(LoadEngineString(53463));
    Button4->setGeometry(88, 204, 75, 25);
    Button4->OnClick = [this](QObject*) { Button4Click(); };
    Button1 = new TButton(this);
    Button1->SetCaption(LoadEngineString(55000));
    Button1->SetModalResult(mrOk);
    Button1->SetDefault(true);
    Button1->setGeometry(172, 250, 75, 25);
    Button2 = new TButton(this);
    Button2->SetCaption(LoadEngineString(55001));
    Button2->SetModalResult(mrCancel);
    Button2->SetCancel(true);
    Button2->setGeometry(252, 250, 75, 25);
    OpenDialog1 = new TOpenDialog(this);
    OnKeyDown = [this](QObject*, int& Key, TShiftState Shift) { FormKeyDown(Key, Shift); };
}

TfrGEditorForm::~TfrGEditorForm() = default;

TModalResult TfrGEditorForm::ShowEditor(TfrView* View)
{
    auto* Picture = dynamic_cast<TfrPictureView*>(View);
    if (!Picture)
        return mrCancel;
    FImage1->Assign(*Picture->Picture());
    const TModalResult Result = ShowModal();
    if (Result == mrOk) {
        if (frDesigner)
            frDesigner->BeforeChange();
        Picture->Picture()->Assign(*FImage1);
    }
    return Result;
}

void TfrGEditorForm::BitBtn1Click()
{
    OpenDialog1->SetFilter(LoadEngineString(55216) + QStringLiteral(" (*.bmp *.jpg *.ico *.wmf *.emf)|*.bmp;*.jpg;*.ico;*.wmf;*.emf|")
                           + LoadEngineString(55221) + QStringLiteral("|*.*"));
    if (!OpenDialog1->Execute())
        return;
    // A file that is no picture is said; the picture being edited stays.
    try {
        FImage1->LoadFromFile(OpenDialog1->FileName());
    } catch (const Exception& E) {
        ShowError(E.Message());
    }
    PB1->Invalidate();
}

void TfrGEditorForm::Button4Click()
{
    FImage1->Clear();
    PB1->Invalidate();
}

void TfrGEditorForm::FormKeyDown(int& Key, TShiftState Shift)
{
    if ((Key == VK_INSERT && Shift.Contains(ssShift)) || (Key == 'V' && Shift.Contains(ssCtrl))) {
        // Only a picture replaces the one being edited.
        const QImage Pasted = Clipboard()->AsPicture();
        if (!Pasted.isNull()) {
            QByteArray Bytes;
            QBuffer Buffer(&Bytes);
            Buffer.open(QIODevice::WriteOnly);
            Pasted.convertToFormat(QImage::Format_RGB888).save(&Buffer, "BMP");
            FImage1->Assign(gkBitmap, Bytes);
        }
    }
    PB1->Invalidate();
}

void TfrGEditorForm::PB1Paint()
{
    TCanvas* C = PB1->Canvas();
    const QRect R = PB1->rect();
    C->Brush()->SetColor(clWindow);
    C->Brush()->SetStyle(bsSolid);
    C->FillRect(R);
    if (FImage1->Empty()) {
        const QString None = LoadEngineString(55076);
        C->Font()->SetColor(clWindowText);
        C->Brush()->SetStyle(bsClear);
        C->TextOut((R.width() - C->TextWidth(None)) / 2, 100, None);
        return;
    }
    if (FImage1->Kind() == gkMetafile) {
        // No metafile renderer here: a frame stands for it over the whole box.
        TCanvasState State(C);
        C->Pen()->SetColor(clGray);
        C->Pen()->SetStyle(psDot);
        C->Brush()->SetStyle(bsClear);
        C->Rectangle(R);
        return;
    }
    const QImage& Image = FImage1->Image();
    if (Image.width() <= R.width() && Image.height() <= R.height())
        C->DrawImage((R.width() - Image.width()) / 2, (R.height() - Image.height()) / 2, Image);
    else
        C->StretchDrawImage(R, Image);
}
