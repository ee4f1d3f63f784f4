// Marks where another page of the report is inserted as a subreport.
#pragma once

#include "report/engine/FR_View.h"

class TfrSubReportView : public TfrView
{
public:
    TfrSubReportView();
    ~TfrSubReportView() override;

    QString ClassName() const override { return QStringLiteral("TfrSubReportView"); }

    // Index (from 0) of the page this view inserts.
    int SubPage() const { return FSubPage; }
    void SetSubPage(int Value) { FSubPage = Value; }

    // A white box with the view's name; the subreport adds no menu items.
    void Draw(TCanvas* ACanvas) override;
    void DefinePopupMenu(TPopupMenu* Popup) override { (void)Popup; }

    void LoadFromStream(TStream& Stream) override;
    void SaveToStream(TStream& Stream) override;
    void SaveToFR3(TStream& Stream) override;

protected:
    bool HasFrameProperties() const override { return false; }

private:
    int FSubPage = 0;
};
