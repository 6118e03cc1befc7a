// The access rights the registry port asks for: the 64-bit view is named under WOW64 only.
#include <gtest/gtest.h>

#include "sysconfig/registry_view.h"

namespace zv {
namespace {

TEST(RegistryViewTest, NamesThe64BitViewOnlyUnderWow64) {
    struct Case {
        const char* process;
        bool wow64;
        uint32_t create;
        uint32_t open;
    };
    for (const Case& c : {Case{"64-bit, or 32-bit on 32-bit Windows", false, 0x3F, 0x02000000},
                          Case{"32-bit on 64-bit Windows", true, 0x13F, 0x02000100}}) {
        RegistryAccess access = RegistryAccessFor(c.wow64);
        EXPECT_EQ(access.create, c.create) << c.process;
        EXPECT_EQ(access.open, c.open) << c.process;
    }
}

}  // namespace
}  // namespace zv
