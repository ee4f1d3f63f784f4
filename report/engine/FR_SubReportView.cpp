#include "report/engine/FR_SubReportView.h"

#include "platform/rtl/Streams.h"

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
