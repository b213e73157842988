// A catalogue file of generated books, written and changed through the program's own file
// statements, with the books kept beside it by record position: what the list's orders and
// filter are checked against.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "app/build_keys.h"
#include "app/catalogue_globals.h"
#include "app/quillery_file.h"
#include "app/testing/catalogue_generator.h"
#include "runtime/errors.h"
#include "storage/file_statements.h"

namespace quillery::testing {

// Generated books with what a real shelf also has: blank fields, names in odd case, books
// without a last name or a title, exact duplicates, and the generator's superseded versions.
inline std::vector<QuilleryRecord> variedBooks(std::size_t count, std::uint64_t seed) {
    std::vector<QuilleryRecord> books = generateCatalogue(count, seed);
    for (std::size_t i = 0; i < books.size(); ++i) {
        QuilleryRecord& b = books[i];
        if (i % 7 == 1) b.VALUE.clear();
        if (i % 5 == 2) b.ISBN.clear();
        if (i % 11 == 3) b.CATEGORY.clear();
        if (i % 6 == 4) b.RATING.clear();
        if (i % 9 == 5) b.LOCATION.clear();
        if (i % 13 == 6) b.LASTNAME = b.LASTNAME.str() == "Smith" ? "SMITH" : "smith";
        if (i % 17 == 7) b.LASTNAME.clear();  // a first name only (given one below if blank)
        if (i % 19 == 8) b.TITLE.clear();
        if (i % 23 == 9) b.CATEGORY = "poetry";  // beside "Poetry" from the generator
        if (b.LASTNAME.isBlank() && b.FIRSTNAME.isBlank()) b.FIRSTNAME = "Anon";
        BUILDKEYS(b);
        if (i % 29 == 10) books.push_back(b);  // an exact duplicate, further on
    }
    return books;
}

class GeneratedCatalogue : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() /
               ("quillery_" +
                std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override {
        CLOSE(QUILLERY);
        std::filesystem::remove_all(dir_);
    }

    std::string path() const { return (dir_ / "Books.QLY").string(); }

    // Creates the catalogue with a blank header record and `books`, and leaves it open.
    void write(const std::vector<QuilleryRecord>& books) {
        QUILLERYFILE = path();
        CREATE(QUILLERY);
        ASSERT_EQ(errorCode(), 0) << errorText();
        open();
        LOGOUT(1, QUILLERY);
        CLEAR(QUILLERY);
        ADD(QUILLERY);
        header_ = static_cast<std::int32_t>(POSITION(QUILLERY));
        for (const QuilleryRecord& b : books) {
            QLY = b;
            ADD(QUILLERY);
            ASSERT_EQ(errorCode(), 0) << errorText();
            filed_[static_cast<std::int32_t>(POSITION(QUILLERY))] = b;
        }
        COMMIT();
        ASSERT_EQ(errorCode(), 0) << errorText();
    }
    void open() {
        OPEN(QUILLERY);
        ASSERT_EQ(errorCode(), 0) << errorText();
    }

    // A save as the main window makes it: the old version kept marked, the new one added.
    // Returns the new version's position.
    std::int32_t save(std::int32_t position, const QuilleryRecord& edited) {
        put(position, 1);
        QLY = edited;
        BUILDKEYS();
        ADD(QUILLERY);
        EXPECT_EQ(errorCode(), 0) << errorText();
        const auto added = static_cast<std::int32_t>(POSITION(QUILLERY));
        filed_[added] = QLY;
        return added;
    }
    // Marks the version at `position` deleted (1) or current again (0).
    void put(std::int32_t position, std::uint8_t deleted) {
        GET(QUILLERY, position);
        ASSERT_EQ(errorCode(), 0) << errorText();
        QLY.DELETED = deleted;
        PUT(QUILLERY);
        ASSERT_EQ(errorCode(), 0) << errorText();
        filed_[position].DELETED = deleted;
    }

    // The current books by position, in file order.
    std::vector<std::int32_t> currentPositions() const {
        std::vector<std::int32_t> positions;
        for (const auto& [position, book] : filed_)
            if (book.DELETED == 0) positions.push_back(position);
        return positions;
    }
    const QuilleryRecord& book(std::int32_t position) const { return filed_.at(position); }
    const std::map<std::int32_t, QuilleryRecord>& filed() const { return filed_; }

    std::filesystem::path dir_;
    std::int32_t header_ = 0;

  private:
    std::map<std::int32_t, QuilleryRecord> filed_;  // every record but the header, by position
};

}  // namespace quillery::testing
