// Random inserts, replacements and deletes against a std::map model, with commits and reopens
// between rounds; after every commit the checker must pass and the contents equal the model.
#include <gtest/gtest.h>
#include <ostream>

#include "tests/storage/storage_test_support.h"

namespace quillery::storage {
namespace {

using testing::Model;

// Keys mostly short with a shared prefix (like a table's entries), sizes from tiny to the limit.
Bytes randomKey(std::mt19937& rng) {
    std::uniform_int_distribution<int> shape(0, 9);
    Bytes key = {0, 0, 0, 1, 0xF3};
    const int s = shape(rng);
    std::size_t length = s < 7 ? 4 : (s < 9 ? 20 : 200);
    Bytes tail = testing::randomBytes(rng, length);
    if (s == 0) tail.assign(length, 0x20);  // runs that compress
    key.insert(key.end(), tail.begin(), tail.end());
    return key;
}

Bytes randomData(std::mt19937& rng, std::size_t keyLength) {
    std::uniform_int_distribution<int> shape(0, 99);
    const int s = shape(rng);
    std::size_t length;
    if (s < 50)
        length = std::uniform_int_distribution<std::size_t>(0, 40)(rng);
    else if (s < 90)
        length = std::uniform_int_distribution<std::size_t>(40, 600)(rng);
    else if (s < 98)
        length = std::uniform_int_distribution<std::size_t>(600, 6000)(rng);
    else
        length = kMaxEntryLength - keyLength;
    Bytes data = testing::randomBytes(rng, length);
    if (s % 3 == 0)
        std::fill(data.begin(), data.begin() + static_cast<std::ptrdiff_t>(data.size() / 2), 0xB0);
    return data;
}

struct Round {
    std::uint32_t seed;
    int rounds;
    int operationsPerRound;
};

void PrintTo(const Round& r, std::ostream* os) {
    *os << "seed " << r.seed;
}

class DifferentialTest : public ::testing::TestWithParam<Round> {};

TEST_P(DifferentialTest, TreeMatchesModelAcrossCommitsAndReopens) {
    const Round plan = GetParam();
    std::mt19937 rng(plan.seed);
    auto disk = std::make_shared<MemoryDisk>();
    auto file = testing::openOn(disk);
    Model model;
    for (int round = 0; round < plan.rounds; ++round) {
        Tree tree(*file);
        for (int op = 0; op < plan.operationsPerRound; ++op) {
            const int what = std::uniform_int_distribution<int>(0, 9)(rng);
            if (what < 6 || model.empty()) {
                Bytes key = randomKey(rng);
                Bytes data = randomData(rng, key.size());
                const bool fresh = !model.contains(key);
                const Status s = tree.insert(key, data);
                ASSERT_EQ(s.ok(), fresh);
                if (fresh) model[key] = data;
            } else if (what < 7) {
                auto it = model.begin();
                std::advance(it,
                             std::uniform_int_distribution<std::size_t>(0, model.size() - 1)(rng));
                Bytes data = randomData(rng, it->first.size());
                tree.put(it->first, data);
                it->second = data;
            } else {
                auto it = model.begin();
                std::advance(it,
                             std::uniform_int_distribution<std::size_t>(0, model.size() - 1)(rng));
                ASSERT_TRUE(tree.erase(it->first).ok());
                model.erase(it);
                Bytes missing = randomKey(rng);
                if (!model.contains(missing)) {
                    ASSERT_EQ(tree.erase(missing).code(), 30);
                }
            }
        }
        ASSERT_TRUE(file->commit().ok());
        testing::expectClean(*file);
        ASSERT_TRUE(testing::sameContents(testing::contentsOf(*file), model)) << "round " << round;
        if (round % 3 == 2) {
            file.reset();
            file = testing::openOn(disk);
            testing::expectClean(*file);
            ASSERT_TRUE(testing::sameContents(testing::contentsOf(*file), model))
                << "after reopen, round " << round;
        }
    }
    // Delete everything: the tree collapses to an empty root leaf and the zones to one page.
    {
        Tree tree(*file);
        for (const auto& [key, data] : model)
            ASSERT_TRUE(tree.erase(key).ok());
    }
    ASSERT_TRUE(file->commit().ok());
    testing::expectClean(*file);
    EXPECT_TRUE(testing::contentsOf(*file).empty());
    EXPECT_EQ(file->header().committedEnd(), kPageAreaOffset + kPageUnit);
}

INSTANTIATE_TEST_SUITE_P(Seeds, DifferentialTest,
                         ::testing::Values(Round{1, 12, 400}, Round{2, 30, 60}, Round{3, 6, 1500},
                                           Round{4, 40, 10}));

// Point searches against the model: exact, ceiling, strict floor and the scoped variants.
TEST(TreeSearch, SearchesAgreeWithModel) {
    std::mt19937 rng(7);
    auto file = testing::openOn(std::make_shared<MemoryDisk>());
    Tree tree(*file);
    Model model;
    for (int i = 0; i < 3000; ++i) {
        Bytes key = randomKey(rng);
        key[3] = static_cast<std::uint8_t>(1 + i % 3);  // three tables
        Bytes data = testing::randomBytes(rng, 30);
        if (tree.insert(key, data).ok()) model[key] = data;
    }
    ASSERT_TRUE(file->commit().ok());
    TreeCursor cursor(*file);
    for (int i = 0; i < 500; ++i) {
        Bytes probe = randomKey(rng);
        probe[3] = static_cast<std::uint8_t>(1 + i % 4);
        const auto ceiling = model.lower_bound(probe);
        ASSERT_EQ(cursor.seekCeiling(probe), ceiling != model.end());
        if (ceiling != model.end()) {
            ASSERT_EQ(Bytes(cursor.key().begin(), cursor.key().end()), ceiling->first);
        }
        const bool hasFloor = ceiling != model.begin();
        ASSERT_EQ(cursor.seekStrictFloor(probe), hasFloor);
        if (hasFloor) {
            ASSERT_EQ(Bytes(cursor.key().begin(), cursor.key().end()), std::prev(ceiling)->first);
        }
        Scope scope{0, 0, 0, probe[3], 0xF3};
        const bool inTable = ceiling != model.end() && inScope(ceiling->first, scope);
        ASSERT_EQ(ceilingInScope(cursor, scope, probe), inTable);
    }
    // First and last of each table, and nothing for a table without entries.
    for (std::uint8_t t = 1; t <= 4; ++t) {
        Scope scope{0, 0, 0, t, 0xF3};
        const auto first = model.lower_bound(Bytes(scope.begin(), scope.end()));
        const bool any = first != model.end() && inScope(first->first, scope);
        ASSERT_EQ(firstInScope(cursor, scope), any);
        if (any) {
            EXPECT_EQ(Bytes(cursor.key().begin(), cursor.key().end()), first->first);
        }
        Scope next = scope;
        next[4] = 0xF4;
        const auto last = std::prev(model.lower_bound(Bytes(next.begin(), next.end())));
        ASSERT_EQ(lastInScope(cursor, scope), any);
        if (any) {
            EXPECT_EQ(Bytes(cursor.key().begin(), cursor.key().end()), last->first);
        }
    }
    // Walking backwards visits the model in reverse.
    std::vector<Bytes> backwards;
    for (bool more = cursor.seekLast(); more; more = cursor.previous())
        backwards.emplace_back(cursor.key().begin(), cursor.key().end());
    std::vector<Bytes> expected;
    for (auto it = model.rbegin(); it != model.rend(); ++it)
        expected.push_back(it->first);
    EXPECT_EQ(backwards, expected);
}

// A cursor whose tree changed under it continues after its last key.
TEST(TreeSearch, CursorContinuesAfterChanges) {
    auto file = testing::openOn(std::make_shared<MemoryDisk>());
    Tree tree(*file);
    for (int i = 0; i < 2000; i += 2) {
        Bytes key = {
            0, 0, 0, 1, 0xF3, static_cast<std::uint8_t>(i >> 8), static_cast<std::uint8_t>(i)};
        ASSERT_TRUE(tree.insert(key, Bytes(100, 'x')).ok());
    }
    TreeCursor cursor(*file);
    ASSERT_TRUE(cursor.seekFirst());
    int seen = 1;
    while (cursor.next()) {
        ++seen;
        if (seen == 10) {
            const Bytes odd = {0, 0, 0, 1, 0xF3, 0x07, 0xCF};
            ASSERT_TRUE(tree.insert(odd, {}).ok());
        }
    }
    EXPECT_EQ(seen, 1001);
}

}  // namespace
}  // namespace quillery::storage
