// Paper codes as Qt page sizes.
#include "platform/gui/Printers.h"

#include <QSizeF>
#include <gtest/gtest.h>

TEST(Printers, EveryPaperCodeMapsToItsSizeWithinATenth)
{
    for (const TPaperSizeInfo& P : StandardPaperSizes()) {
        if (P.Code == dmpCustom)
            continue;
        SCOPED_TRACE(P.Code);
        // Qt snaps page sizes to whole points and keeps the #10 envelope at
        // its own 4.12 inches: within a point (3.5 tenths) there.
        const double Tolerance = P.Code == 20 ? 3.5 : 1;
        const QSizeF MM = PageSizeMillimeters(PaperCodePageSize(P.Code));
        EXPECT_NEAR(MM.width() * 10, P.Width, Tolerance);
        EXPECT_NEAR(MM.height() * 10, P.Height, Tolerance);
    }
    EXPECT_FALSE(PaperCodePageSize(dmpCustom).isValid());
    EXPECT_NEAR(PageSizeMillimeters(PaperCodePageSize(dmpCustom, 1234, 567)).width(), 123.4, 0.01);
}
