// Reading on in file order and in key order while the file changes between reads: each NEXT and
// PREVIOUS must find what a search from the last position would, whether the reader steps on
// from where it stood or has to search again after an add, change or delete.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>

#include "storage/key_encoding.h"
#include "storage/table_definition.h"
#include "tests/storage/file_test_support.h"

namespace quillery::storage::testing {
namespace {

namespace Op = Operation;
using Image = std::vector<std::uint8_t>;
using Entry = std::pair<Bytes, std::uint32_t>;  // key value, record

class SequenceSteppingTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(definitionOf(*file, definition).ok());
        createAndOpen(file, dir.file("steps.QLY"));
        // The author key: duplicates allowed, kept up to date on every change.
        ASSERT_TRUE(keyLayoutOf(definition, key, layout));
        ASSERT_TRUE(layout.allowsDuplicates());
        ASSERT_EQ(layout.flags & (KeyFlag::kIndex | KeyFlag::kRuntimeIndex), 0);
    }

    void fill() {
        auto& b = file.buffer();
        std::fill(b.begin(), b.end(), std::uint8_t{' '});
        b[Book::LISTBYTITLE] = 0;
        static constexpr std::string_view kNames[] = {"adams", "Brown", "brown", "Cole", "dunn"};
        for (std::size_t offset : {Book::LASTNAME, Book::TITLE, Book::CATEGORY, Book::LOCATION})
            file.setText(offset, 15, kNames[rng() % 5]);
        file.setText(Book::FIRSTNAME, 20, kNames[rng() % 5]);
        file.setText(Book::CONTENTS, 1000, std::string(rng() % 300, 'q'));
    }
    std::uint32_t position() {
        EXPECT_EQ(file.call(Op::kPosition), 0);
        return static_cast<std::uint32_t>(file.lastAnswer);
    }
    bool entryOf(const Image& image, std::uint32_t record, Entry& out) {
        if (hasNoKeyEntry(layout, image)) return false;
        EXPECT_TRUE(encodeKeyValue(layout, image, out.first));
        out.second = record;
        return true;
    }
    std::vector<Entry> keyOrder() {
        std::vector<Entry> rows;
        for (const auto& [record, image] : model) {
            Entry e;
            if (entryOf(image, record, e)) rows.push_back(e);
        }
        std::sort(rows.begin(), rows.end());
        return rows;
    }
    // The record the model says the next read gives; 0 for the end.
    std::uint32_t expectedInFile(bool forward, std::uint32_t current) {
        if (forward) {
            const auto it = model.upper_bound(current);
            return it == model.end() ? 0 : it->first;
        }
        auto it = model.lower_bound(current);
        return it == model.begin() ? 0 : std::prev(it)->first;
    }
    std::uint32_t expectedInKey(bool forward, const Entry& last) {
        const auto rows = keyOrder();
        if (forward) {
            const auto it = std::upper_bound(rows.begin(), rows.end(), last);
            return it == rows.end() ? 0 : it->second;
        }
        auto it = std::lower_bound(rows.begin(), rows.end(), last);
        return it == rows.begin() ? 0 : std::prev(it)->second;
    }

    // Adds, changes or deletes a record; the current record moves with it.
    void change() {
        const int what = model.size() < 4 ? 0 : static_cast<int>(rng() % 3);
        if (what == 0) {
            fill();
            ASSERT_EQ(file.call(Op::kAdd), 0);
            model[position()] = file.buffer();
            return;
        }
        auto it = model.begin();
        std::advance(it, static_cast<long>(rng() % model.size()));
        const std::uint32_t r = it->first;
        ASSERT_EQ(file.call(Op::kGetByNumber, r), 0);
        if (what == 1) {
            fill();
            ASSERT_EQ(file.call(Op::kPut), 0);
            model[r] = file.buffer();
        } else {
            ASSERT_EQ(file.call(Op::kDelete), 0);
            model.erase(r);
        }
    }

    ScratchDir dir;
    DeclaredFile file{kBookFields, kBookKeys, Book::kLength};
    TableDefinition definition;
    KeyLayout layout;
    std::size_t key = 3;
    std::map<std::uint32_t, Image> model;
    std::mt19937 rng{8121};
};

TEST_F(SequenceSteppingTest, FileOrderFollowsTheModelThroughChangesAndEndTests) {
    for (int i = 0; i < 40; ++i)
        change();
    ASSERT_EQ(file.call(Op::kSetFileOrder), 0);
    std::uint32_t current = 0;
    bool started = false;
    int reads = 0;
    for (int step = 0; step < 1500; ++step) {
        const unsigned what = rng() % 10;
        if (what == 0) {
            change();
            if (HasFatalFailure()) return;
            current = position();
            continue;
        }
        const bool forward = what < 6;
        if (what == 9) {
            // The end tests look ahead without reading or moving.
            ASSERT_EQ(file.call(forward ? Op::kEndTest : Op::kBeginningTest), 0);
            continue;
        }
        const std::uint32_t want = started   ? expectedInFile(forward, current)
                                   : forward ? (model.empty() ? 0 : model.begin()->first)
                                             : (model.empty() ? 0 : model.rbegin()->first);
        const int answer = file.call(forward ? Op::kNext : Op::kPrevious);
        if (want == 0) {
            EXPECT_EQ(answer, ErrorCode::kRecordNotAvailable) << "step " << step;
            ASSERT_EQ(file.call(Op::kSetFileOrder), 0);
            started = false;
            continue;
        }
        ASSERT_EQ(answer, 0) << "step " << step;
        current = position();
        ASSERT_EQ(current, want) << "step " << step;
        EXPECT_EQ(file.buffer(), model[current]);
        started = true;
        ++reads;
    }
    EXPECT_GT(reads, 500);
}

TEST_F(SequenceSteppingTest, KeyOrderFollowsTheModelThroughChangesAndEndTests) {
    for (int i = 0; i < 40; ++i)
        change();
    ASSERT_EQ(file.call(Op::kSetKeyOrder, 0, key), 0);
    std::optional<Entry> last;
    int reads = 0;
    for (int step = 0; step < 1500; ++step) {
        const unsigned what = rng() % 10;
        if (what == 0) {
            change();
            if (HasFatalFailure()) return;
            continue;
        }
        const bool forward = what < 6;
        if (what == 9) {
            ASSERT_EQ(file.call(forward ? Op::kEndTest : Op::kBeginningTest), 0);
            continue;
        }
        const auto rows = keyOrder();
        const std::uint32_t want = last           ? expectedInKey(forward, *last)
                                   : rows.empty() ? 0
                                   : forward      ? rows.front().second
                                                  : rows.back().second;
        const int answer = file.call(forward ? Op::kNext : Op::kPrevious);
        if (want == 0) {
            EXPECT_EQ(answer, ErrorCode::kRecordNotAvailable) << "step " << step;
            ASSERT_EQ(file.call(Op::kSetKeyOrder, 0, key), 0);
            last.reset();
            continue;
        }
        ASSERT_EQ(answer, 0) << "step " << step;
        const std::uint32_t got = position();
        ASSERT_EQ(got, want) << "step " << step;
        EXPECT_EQ(file.buffer(), model[got]);
        Entry e;
        ASSERT_TRUE(entryOf(model[got], got, e));
        last = e;
        ++reads;
    }
    EXPECT_GT(reads, 500);
}

}  // namespace
}  // namespace quillery::storage::testing
