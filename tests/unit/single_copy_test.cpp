#include "common/single_copy.h"

#include <gtest/gtest.h>

namespace zv {
namespace {

TEST(SingleCopy, ALockThatExistsOrMayNotBeOpenedIsAnotherCopys) {
    struct Case {
        const char* context;
        bool opened;
        unsigned long error;
        bool another_copy;
    };
    const Case cases[] = {
        {"made by this copy", true, 0, false},
        {"already made by a running copy", true, 183, true},
        {"made by an elevated copy, opened at the user's level", false, 5, true},
        {"not made for another reason", false, 1450, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(AnotherCopyHoldsTheLock(c.opened, c.error), c.another_copy) << c.context;
    }
}

}  // namespace
}  // namespace zv
