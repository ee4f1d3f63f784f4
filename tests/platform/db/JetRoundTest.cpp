#include "DbTestFixture.h"

#include "platform/db/Field.h"

namespace {

class JetRound : public TDbFixture
{
};

// Round must answer for every number SQLite can hold, never throw through its C code.
TEST_F(JetRound, RoundsHalvesToEvenAndLeavesHugeValuesAlone)
{
    struct TCase
    {
        const char* Expression;
        const char* Expected;
    };
    const TCase Cases[] = {
        {"Round(2.5)", "2"},
        {"Round(3.5)", "4"},
        {"Round(-2.5)", "-2"},
        {"Round(2.675, 2)", "2.68"},
        {"Round(1e300)", "1E300"},
        {"Round(-1e19, 2)", "-1E19"},
        {"Round(9.3e18)", "9.3E18"},
        {"Round(Null) Is Null", "1"},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Expression);
        TDataSet* D = Open(QStringLiteral("Select ") + QString::fromUtf8(C.Expression) + QStringLiteral(" As R"));
        EXPECT_EQ(D->FieldByName("R")->AsString(), QString::fromUtf8(C.Expected));
    }
}

} // namespace
