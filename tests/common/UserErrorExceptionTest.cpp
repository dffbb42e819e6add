#include <gtest/gtest.h>

#include "common/UserErrorException.hpp"

namespace corv {
namespace {

TEST(UserErrorException, TextCarriesTheCodeExceptForCode99) {
    const UserErrorException fixable(151, "No P3D install path detected.");
    EXPECT_STREQ(fixable.what(), "151: No P3D install path detected.");
    EXPECT_EQ(fixable.code(), 151);
    EXPECT_STREQ(UserErrorException(99, "Exit first!").what(), "Exit first!");
}

}  // namespace
}  // namespace corv
