// The table layer against a simple model: random adds, changes, deletes and gets on a
// catalogue-shaped file, with every key read forward and backward after each round, the file
// closed and reopened between rounds and the structural check run on it.
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

class BookModelTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(definitionOf(*file, definition).ok());
        path = dir.file("books.QLY");
        createAndOpen(file, path);
    }

    std::string pick(std::initializer_list<std::string_view> words) {
        std::uniform_int_distribution<std::size_t> d(0, words.size() - 1);
        return std::string(words.begin()[d(rng)]);
    }
    void randomRecord() {
        auto& b = file.buffer();
        std::fill(b.begin(), b.end(), std::uint8_t{' '});
        b[Book::DELETED] = static_cast<std::uint8_t>(rng() % 2);
        file.setInt32(Book::CREATEDDATE, static_cast<std::int32_t>(rng() % 7) - 3);
        file.setInt32(Book::CREATEDTIME, static_cast<std::int32_t>(rng() % 3));
        file.setInt32(Book::CHANGEDDATE, static_cast<std::int32_t>(rng()));
        file.setInt32(Book::CHANGEDTIME, 0);
        b[Book::LISTBYTITLE] = 0;
        file.setText(Book::LASTNAME, 20, pick({"", "smith", "Smith", "jones", "Brown", "brown"}));
        file.setText(Book::FIRSTNAME, 20, pick({"", "ann", "Bob"}));
        file.setText(Book::TITLE, 45, pick({"", "Emma", "emma", "Ulysses", "Zama", "a"}));
        file.setText(Book::CATEGORY, 24, pick({"", "Fiction", "fiction", "Poetry"}));
        file.setText(Book::RATING, 1, pick({"", "A", "b", "5"}));
        file.setText(Book::ISBN, 13, pick({"", "123", "0-14"}));
        file.setText(Book::PUBDATE, 15, pick({"", "1900", "1815"}));
        file.setText(Book::OTHER, 20, pick({"", "x", "X y"}));
        file.setText(Book::CONDITION, 15, pick({"", "good", "fair"}));
        file.setText(Book::LOCATION, 18, pick({"", "shelf 1", "Shelf 1", "attic"}));
        file.setText(Book::BUYDATE, 15, pick({"", "2001"}));
        file.setText(Book::EDITION, 15, pick({"", "1st", "2nd"}));
        file.setText(Book::PRINTDATE, 15, pick({"", "1999", "2000"}));
        file.setText(Book::VALUE, 15, pick({"", "$5", "$50"}));
        file.setText(Book::CONTENTS, 1000, std::string(rng() % 1000, 'c'));
    }

    std::uint32_t position() {
        EXPECT_EQ(file.call(Op::kPosition), 0);
        return static_cast<std::uint32_t>(file.lastAnswer);
    }
    std::uint32_t randomExisting() {
        auto it = model.begin();
        std::advance(it, static_cast<long>(rng() % model.size()));
        return it->first;
    }

    // The expected order of key `k`: records with an entry, by encoded value then number.
    std::vector<std::uint32_t> expectedOrder(std::size_t k) {
        KeyLayout layout;
        EXPECT_TRUE(keyLayoutOf(definition, k, layout));
        std::vector<std::pair<Bytes, std::uint32_t>> rows;
        for (const auto& [record, image] : model) {
            if (hasNoKeyEntry(layout, image)) continue;
            Bytes value;
            EXPECT_TRUE(encodeKeyValue(layout, image, value));
            rows.emplace_back(value, record);
        }
        std::sort(rows.begin(), rows.end());
        std::vector<std::uint32_t> order;
        for (const auto& row : rows)
            order.push_back(row.second);
        return order;
    }

    std::vector<std::uint32_t> readKey(std::size_t k, int operation) {
        EXPECT_EQ(file.call(Op::kSetKeyOrder, 0, k), 0);
        std::vector<std::uint32_t> order;
        while (file.call(operation) == 0) {
            order.push_back(position());
            EXPECT_EQ(file.buffer(), model[order.back()]) << "record " << order.back();
        }
        return order;
    }

    void randomStep() {
        const int what = model.empty() ? 0 : static_cast<int>(rng() % 7);
        switch (what) {
            case 0:
            case 1:
            case 6: {
                randomRecord();
                ASSERT_EQ(file.call(Op::kAdd), 0) << lastDriverDetail();
                model[position()] = file.buffer();
                break;
            }
            case 2: {
                const auto r = randomExisting();
                ASSERT_EQ(file.call(Op::kGetByNumber, r), 0);
                ASSERT_EQ(file.buffer(), model[r]);
                const Image contents(file.buffer().begin() + Book::CONTENTS, file.buffer().end());
                randomRecord();
                if (rng() % 2)
                    std::copy(contents.begin(), contents.end(),
                              file.buffer().begin() + Book::CONTENTS);
                ASSERT_EQ(file.call(Op::kPut), 0) << lastDriverDetail();
                model[r] = file.buffer();
                break;
            }
            case 3: {
                const auto r = randomExisting();
                ASSERT_EQ(file.call(Op::kGetByNumber, r), 0);
                ASSERT_EQ(file.call(Op::kDelete), 0);
                model.erase(r);
                EXPECT_EQ(file.call(Op::kGetByNumber, r), ErrorCode::kRecordNotFound);
                break;
            }
            case 4: {
                const auto r = randomExisting();
                const std::size_t k = rng() % 16;
                file.buffer() = model[r];
                const auto order = expectedOrder(k);
                if (std::find(order.begin(), order.end(), r) == order.end()) break;
                ASSERT_EQ(file.call(Op::kGetByKey, 0, k), 0);
                // The first record in key order with an equal value.
                KeyLayout layout;
                ASSERT_TRUE(keyLayoutOf(definition, k, layout));
                Bytes want, got;
                ASSERT_TRUE(encodeKeyValue(layout, model[r], want));
                ASSERT_TRUE(encodeKeyValue(layout, file.buffer(), got));
                EXPECT_EQ(got, want);
                const auto first = std::find_if(order.begin(), order.end(), [&](auto rec) {
                    Bytes v;
                    EXPECT_TRUE(encodeKeyValue(layout, model[rec], v));
                    return v == want;
                });
                EXPECT_EQ(position(), *first);
                break;
            }
            default: {
                const auto r = randomExisting();
                ASSERT_EQ(file.call(Op::kGetByNumber, r), 0);
                EXPECT_EQ(file.buffer(), model[r]);
                break;
            }
        }
    }

    void verifyEverything() {
        ASSERT_EQ(file.call(Op::kRecords), 0);
        EXPECT_EQ(static_cast<std::size_t>(file.lastAnswer), model.size());
        ASSERT_EQ(file.call(Op::kSetFileOrder), 0);
        std::vector<std::uint32_t> fileOrder;
        while (file.call(Op::kNext) == 0)
            fileOrder.push_back(position());
        std::vector<std::uint32_t> expected;
        for (const auto& entry : model)
            expected.push_back(entry.first);
        EXPECT_EQ(fileOrder, expected);
        for (std::size_t k = 0; k < 16; ++k) {
            const auto order = expectedOrder(k);
            EXPECT_EQ(readKey(k, Op::kNext), order) << "key " << k;
            auto backward = readKey(k, Op::kPrevious);
            std::reverse(backward.begin(), backward.end());
            EXPECT_EQ(backward, order) << "key " << k;
            ASSERT_EQ(file.call(Op::kKeyEntries, 0, k), 0);
            EXPECT_EQ(static_cast<std::size_t>(file.lastAnswer), order.size()) << "key " << k;
        }
    }

    ScratchDir dir;
    DeclaredFile file{kBookFields, kBookKeys, Book::kLength};
    TableDefinition definition;
    std::string path;
    std::map<std::uint32_t, Image> model;
    std::mt19937 rng{20261208};
};

TEST_F(BookModelTest, RandomOperationsMatchTheModelAcrossReopens) {
    for (int round = 0; round < 8; ++round) {
        for (int step = 0; step < 120; ++step) {
            randomStep();
            if (HasFatalFailure()) return;
        }
        verifyEverything();
        ASSERT_EQ(file.call(Op::kClose), 0);
        const CheckReport report = checkFileOnDisk(path);
        EXPECT_TRUE(report.clean()) << "round " << round << ": " << report.text();
        ASSERT_EQ(file.call(Op::kOpen, kReadWriteDenyWrite), 0);
    }
    verifyEverything();
    EXPECT_GT(model.size(), 150u);  // enough records for index pages above the leaves
}

}  // namespace
}  // namespace quillery::storage::testing
