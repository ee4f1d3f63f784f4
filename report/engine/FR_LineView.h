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

    void RegisterProperties() override;
};
