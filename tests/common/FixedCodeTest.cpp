#include <gtest/gtest.h>

#include <stdexcept>

#include "common/FixedCode.hpp"

namespace corv::common {
namespace {

TEST(FixedCode, AcceptsCodesAndUpperCasesThem) {
    EXPECT_EQ(FixedCode<4>("EHAM").view(), "EHAM");
    EXPECT_EQ(FixedCode<4>("ks3a").view(), "KS3A");
    EXPECT_EQ(FixedCode<3>("ams").view(), "AMS");
    EXPECT_EQ(FixedCode<4>("EGLL"), FixedCode<4>("egll"));
    EXPECT_LT(FixedCode<4>("EDDF"), FixedCode<4>("EHAM"));
}

TEST(FixedCode, RejectsWrongLengthOrCharacters) {
    for (const char* bad : {"", "EHA", "EHAMX", "EH-M", "EH M", "\xC3\x84HAM"}) {
        SCOPED_TRACE(bad);
        EXPECT_THROW(FixedCode<4>{bad}, std::invalid_argument);
    }
    try {
        FixedCode<3>("A1-");
        FAIL() << "no exception";
    } catch (const std::invalid_argument& e) {
        EXPECT_STREQ(e.what(), "'A1-' FixedCode: invalid string (length/charset)");
    }
}

TEST(FixedCode, EmptyCodePrintsAsFourBlanks) {
    EXPECT_TRUE(FixedCode<4>().empty());
    EXPECT_EQ(fmt::format("[{}]", FixedCode<4>()), "[    ]");
    EXPECT_EQ(fmt::format("[{}]", FixedCode<3>("LHR")), "[LHR]");
}

}  // namespace
}  // namespace corv::common
