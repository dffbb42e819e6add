#include <gtest/gtest.h>

#include <stdexcept>

#include "sim/DefinitionData.hpp"

namespace corv::sim {
namespace {

TEST(DefinitionData, VariablesComeBackInTheirOrderAndSizes) {
    DefinitionWriter writer;
    writer.float64(52.3086).int64(1).string32("PH-BXA").stringV("Boeing 737-800 KLM").float64(-0.5);
    EXPECT_EQ(writer.bytes().size(), 8u + 8 + 32 + 19 + 8);

    DefinitionReader reader(writer.bytes());
    EXPECT_EQ(reader.float64(), 52.3086);
    EXPECT_EQ(reader.int64(), 1);
    EXPECT_EQ(reader.string32(), "PH-BXA");
    EXPECT_EQ(reader.stringV(), "Boeing 737-800 KLM");
    EXPECT_EQ(reader.float64(), -0.5);
    EXPECT_EQ(reader.remaining(), 0u);
    EXPECT_THROW(reader.int64(), std::out_of_range);
}

TEST(DefinitionData, FixedStringsAreCutAndOpenStringsMustEnd) {
    DefinitionWriter writer;
    writer.string32(std::string(40, 'x'));
    EXPECT_EQ(DefinitionReader(writer.bytes()).string32(), std::string(31, 'x'));

    const std::byte unterminated[] = {std::byte{'a'}, std::byte{'b'}};
    DefinitionReader reader(unterminated);
    EXPECT_THROW(reader.stringV(), std::out_of_range);
}

}  // namespace
}  // namespace corv::sim
