#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include <gsl/narrow>

#include "common/CodeTable.hpp"
#include "common/Fnv1aHash.hpp"
#include "common/ModelCodeTable.hpp"

namespace corv::common {
namespace {

TEST(Fnv1aHash, MatchesTheReferenceValues) {
    EXPECT_EQ(fnv1a64(""), 0xcbf29ce484222325ull);
    EXPECT_EQ(fnv1a64("a"), 0xaf63dc4c8601ec8cull);
    EXPECT_EQ(fnv1a64("foobar"), 0x85944171f73967e8ull);
}

TEST(CodeTable, GivesIndexesInOrderOfFirstUseWithTheEmptyTextFirst) {
    CodeTable table;
    EXPECT_EQ(table.intern(""), 0);
    EXPECT_EQ(table.intern("KLM"), 1);
    EXPECT_EQ(table.intern("DLH"), 2);
    EXPECT_EQ(table.intern("KLM"), 1);
    EXPECT_EQ(table.size(), 3u);
    EXPECT_EQ(table.text(0), "");
    EXPECT_EQ(table.text(2), "DLH");
    EXPECT_EQ(table.find("DLH"), CodeIndex{2});
    EXPECT_EQ(table.find("BAW"), std::nullopt);
    EXPECT_EQ(table.size(), 3u);  // find adds nothing
    EXPECT_THROW(table.text(3), std::out_of_range);
}

TEST(CodeTable, RefusesTheTextBeyondSixteenBits) {
    CodeTable table;
    for (int i = 1; i < 65536; ++i)
        ASSERT_EQ(table.intern(std::to_string(i)), i);
    EXPECT_THROW(table.intern("one too many"), gsl::narrowing_error);
    EXPECT_EQ(table.intern("65535"), 65535);
    EXPECT_EQ(table.text(65535), "65535");
}

TEST(CodeTable, ThreadsInterningTheSameTextsAgreeOnTheirIndexes) {
    CodeTable table;
    std::vector<std::vector<CodeIndex>> seen(4);
    std::vector<std::thread> threads;
    for (auto& indexes : seen) {
        threads.emplace_back([&table, &indexes] {
            for (int i = 0; i < 2000; ++i)
                indexes.push_back(table.intern("T" + std::to_string(i)));
        });
    }
    for (auto& thread : threads)
        thread.join();
    EXPECT_EQ(table.size(), 2001u);
    for (const auto& indexes : seen) {
        EXPECT_EQ(indexes, seen.front());
    }
    for (int i = 0; i < 2000; ++i)
        EXPECT_EQ(table.text(seen.front()[i]), "T" + std::to_string(i));
}

TEST(ModelCodeTable, AppliesFixesOnlyOnceFixingHasStarted) {
    ModelCodeTable models;
    EXPECT_EQ(models.intern("B738"), 1);
    ASSERT_TRUE(models.addFix("B38", "B738"));
    EXPECT_EQ(models.intern("B38"), 2);  // not yet fixing: the wrong code gets an index

    ModelCodeTable fixed;
    fixed.intern("B738");
    fixed.addFix("B38", "B738");
    fixed.addFix("A20N", "A320");
    fixed.startFixing();
    EXPECT_EQ(fixed.intern("B38"), 1);
    EXPECT_EQ(fixed.find("B38"), std::nullopt);
    // The correct code of a fix gets its index on first use, under its own text.
    const CodeIndex a320 = fixed.intern("A20N");
    EXPECT_EQ(fixed.text(a320), "A320");
    EXPECT_EQ(fixed.intern("A320"), a320);
}

TEST(ModelCodeTable, KeepsTheFirstFixOfAWrongCode) {
    ModelCodeTable models;
    EXPECT_TRUE(models.addFix("B38", "B738"));
    EXPECT_FALSE(models.addFix("B38", "B38M"));
    EXPECT_EQ(models.fixOf("B38"), "B738");
    EXPECT_EQ(models.fixOf("B738"), std::nullopt);
    EXPECT_EQ(models.fixCount(), 1u);
}

}  // namespace
}  // namespace corv::common
