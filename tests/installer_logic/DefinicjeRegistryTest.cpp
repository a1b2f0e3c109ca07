// The installer's own registry key, which the organizer reads.
#include <string>

#include <gtest/gtest.h>

#include "common/QmxReg.h"
#include "installer/definicje.h"

TEST(DefinicjeRegistry, InstallerKeyFollowsTheDestination)
{
    DeleteRegKey(1, TarvixKey);
    WriteInstallerKey("c:\\nosnik\\kelvor.exe", "c:\\nosnik\\", "d:\\apps\\");
    const struct {
        const char *name, *value;
    } rows[] = {
        {"Exe", "c:\\nosnik\\kelvor.exe"},
        {"Source", "c:\\nosnik\\"},
        {"Destination", "d:\\apps\\"},
        {"Raport", "d:\\apps\\tarvix.qmx"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        std::string value;
        ReadRegValue(1, TarvixKey, r.name, value, "?");
        EXPECT_EQ(value, r.value);
    }
    DeleteRegKey(1, TarvixKey);
}
