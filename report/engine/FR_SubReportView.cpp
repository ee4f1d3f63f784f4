#include "report/engine/FR_SubReportView.h"

#include "platform/rtl/Streams.h"
#include "report/engine/FR_Globals.h"
#include "report/engine/FR_Utils.h"

void frRegisterSubReportView()
{
    frRegisterViewClass(gtSubReport, QStringLiteral("TfrSubReportView"),
                        [] { return std::make_unique<TfrSubReportView>(); });
}

TfrSubReportView::TfrSubReportView()
{
    FBaseName = QStringLiteral("SubReport");
    FObjectType = gtSubReport;
}

TfrSubReportView::~TfrSubReportView() = default;

void TfrSubReportView::LoadFromStream(TStream& Stream)
{
    TfrView::LoadFromStream(Stream);
    FSubPage = Stream.ReadI32();
}

void TfrSubReportView::SaveToStream(TStream& Stream)
{
    TfrView::SaveToStream(Stream);
    Stream.WriteI32(FSubPage);
}

void TfrSubReportView::Draw(TCanvas* ACanvas)
{
    ApplyBandAlign(ACanvas);
    SetFrameWidth(1.0f);
    TfrDrawScope Scope(this);
    if (DisableDrawing)
        return;
    TCanvasState State(ACanvas);
    ACanvas->Font()->SetName(QStringLiteral("Arial"));
    ACanvas->Font()->SetSize(8);
    ACanvas->Font()->SetStyle({});
    ACanvas->Font()->SetColor(clBlack);
    ACanvas->Font()->SetCharset(DefaultCharset());
    ACanvas->Pen()->SetColor(clBlack);
    ACanvas->Pen()->SetWidth(1);
    ACanvas->Pen()->SetStyle(psSolid);
    ACanvas->Brush()->SetColor(clWhite);
    ACanvas->Rectangle(Left(), Top(), Left() + Width() + 1, Top() + Height() + 1);
    ACanvas->Brush()->SetStyle(bsClear);
    ACanvas->TextRect(DrawRect(), Left() + 2, Top() + 2, Name());
}
