// A horizontal or vertical line: a one-edge frame that can stretch with its
// band. Its record is the common part only.
#pragma once

#include "report/engine/FR_View.h"

class TfrLineView : public TfrStretcheable
{
public:
    TfrLineView();
    ~TfrLineView() override;

    QString ClassName() const override { return QStringLiteral("TfrLineView"); }

    // A view no wider than high becomes a vertical line (width 0, left edge),
    // any other a horizontal one (height 0, top edge).
    void Draw(TCanvas* ACanvas) override;
    QRegion GetClipRgn(bool Extended) override;
    int CalcHeight() override { return Height(); }
    int MinHeight() override { return 1; }
    int RemainHeight() override { return 0; }
    void SaveToFR3(TStream& Stream) override;

    void RegisterProperties() override;
};
