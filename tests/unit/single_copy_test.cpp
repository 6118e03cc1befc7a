#include "common/single_copy.h"

#include <gtest/gtest.h>

#include <tuple>

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

TEST(SingleCopy, AnAskedLockIsHeldWhenItOpensOrMayNotBeOpened) {
    const std::tuple<const char*, bool, unsigned long, bool> cases[] = {
        {"opened", true, 0, true},
        {"made by an elevated copy", false, 5, true},
        {"none", false, 2, false},
    };
    for (const auto& [context, opened, error, held] : cases) {
        EXPECT_EQ(AskedLockIsHeld(opened, error), held) << context;
    }
}

TEST(SingleCopy, TheSessionsLockStandsInOnlyWhenNoLockOfEverySessionExists) {
    struct Case {
        const char* context;
        bool made;
        unsigned long make_error;
        unsigned long open_error;
        bool session_lock;
    };
    const Case cases[] = {
        {"made", true, 0, 0, false},
        {"made by a copy in another session", true, 183, 0, false},
        {"refused, and none exists: no right to make one", false, 5, 2, true},
        {"refused, and one exists this process may not open", false, 5, 5, false},
        {"not made for another reason", false, 1450, 2, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(UseTheSessionLockInstead(c.made, c.make_error, c.open_error), c.session_lock)
            << c.context;
    }
}

}  // namespace
}  // namespace zv
