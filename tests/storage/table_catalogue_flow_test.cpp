// The file statements in the order the main window uses them on a catalogue-shaped file: open,
// create when missing with a blank header record, the purge inside a transaction, a save that
// rewrites the old version and adds the new one, and a save whose change fails.
#include <gtest/gtest.h>

#include "tests/storage/file_test_support.h"

namespace quillery::storage::testing {
namespace {

constexpr std::size_t kDeleteKey = 1;
constexpr std::size_t kAuthorKey = 3;

class CatalogueFlowTest : public ::testing::Test {
  protected:
    void SetUp() override { file.setName(dir.file("Quillery.QLY")); }

    // Open for reading and writing, denying writes; create with a blank header when missing.
    void openCatalogue() {
        OPEN(*file, kReadWriteDenyWrite);
        if (errorCode() != ErrorCode::kFileNotFound) return;
        CREATE(*file);
        ASSERT_EQ(errorCode(), 0);
        OPEN(*file, kReadWriteDenyWrite);
        ASSERT_EQ(errorCode(), 0);
        CLEAR(*file);
        file.setInt32(Book::CREATEDDATE, 80000);
        ADD(*file);
        ASSERT_EQ(errorCode(), 0);
        CLOSE(*file);
        OPEN(*file, kReadWriteDenyWrite);
        ASSERT_EQ(errorCode(), 0);
    }
    void addBook(std::string_view last, std::string_view first, std::string_view title,
                 std::uint8_t deleted) {
        CLEAR(*file);
        file.setText(Book::LASTNAME, 20, last);
        file.setText(Book::FIRSTNAME, 20, first);
        file.setText(Book::TITLE, 45, title);
        file.buffer()[Book::DELETED] = deleted;
        ADD(*file);
        ASSERT_EQ(errorCode(), 0);
    }
    // The purge and rebuild: skip the header, delete superseded and nameless records.
    std::vector<std::string> purge() {
        std::vector<std::string> kept;
        LOGOUT(1, *file);
        EXPECT_EQ(errorCode(), 0);
        SET(*file);
        NEXT(*file);
        EXPECT_EQ(errorCode(), 0);
        for (NEXT(*file); errorCode() == 0; NEXT(*file)) {
            const bool nameless =
                file.text(Book::LASTNAME, 20).empty() && file.text(Book::FIRSTNAME, 20).empty();
            if (file.buffer()[Book::DELETED] != 0 || nameless) {
                DELETE(*file);
                EXPECT_EQ(errorCode(), 0);
            } else {
                kept.push_back(file.text(Book::TITLE, 45));
            }
        }
        EXPECT_EQ(errorCode(), ErrorCode::kRecordNotAvailable);
        COMMIT();
        EXPECT_EQ(errorCode(), 0);
        return kept;
    }

    ScratchDir dir;
    DeclaredFile file{kBookFields, kBookKeys, Book::kLength};
};

TEST_F(CatalogueFlowTest, MissingCatalogueIsCreatedWithABlankHeaderRecord) {
    openCatalogue();
    EXPECT_EQ(RECORDS(*file), 1u);
    // Only the creation key holds the blank header.
    EXPECT_EQ(RECORDS(keyOf(*file, 0)), 1u);
    for (std::size_t k = 1; k < 16; ++k)
        EXPECT_EQ(RECORDS(keyOf(*file, k)), 0u) << k;
    SET(*file);
    NEXT(*file);
    EXPECT_EQ(file.int32(Book::CREATEDDATE), 80000);
    EXPECT_EQ(POSITION(*file), 2u);
}

TEST_F(CatalogueFlowTest, PurgeDeletesSupersededAndNamelessRecords) {
    openCatalogue();
    addBook("Austen", "Jane", "Emma", 0);
    addBook("Austen", "Jane", "Emma (old)", 1);
    addBook("", "", "No author", 0);
    addBook("", "Anon", "Beowulf", 0);
    EXPECT_EQ(RECORDS(*file) - RECORDS(keyOf(*file, kDeleteKey)), 4u);
    EXPECT_EQ(purge(), (std::vector<std::string>{"Emma", "Beowulf"}));
    CLOSE(*file);
    openCatalogue();
    EXPECT_EQ(RECORDS(*file), 3u);
    EXPECT_EQ(RECORDS(keyOf(*file, kDeleteKey)), 0u);
    EXPECT_EQ(RECORDS(keyOf(*file, kAuthorKey)), 1u);  // Beowulf has no last name
    CLOSE(*file);
    EXPECT_TRUE(checkFileOnDisk(dir.file("Quillery.QLY")).clean());
}

TEST_F(CatalogueFlowTest, SaveRewritesTheOldVersionAndAddsTheNewOne) {
    openCatalogue();
    addBook("austen", "Jane", "Emma", 0);
    const std::uint32_t old = POSITION(*file);
    const std::vector<std::uint8_t> current = file.buffer();
    file.setText(Book::TITLE, 45, "Persuasion");
    const std::vector<std::uint8_t> edited = file.buffer();

    LOGOUT(1, *file);
    file.buffer() = current;
    file.buffer()[Book::DELETED] = 1;
    GET(*file, old);
    file.buffer() = current;
    file.buffer()[Book::DELETED] = 1;
    PUT(*file);
    ASSERT_EQ(errorCode(), 0);
    file.buffer() = edited;
    ADD(*file);
    ASSERT_EQ(errorCode(), 0);
    const std::uint32_t added = POSITION(*file);
    COMMIT();
    ASSERT_EQ(errorCode(), 0);

    EXPECT_EQ(RECORDS(*file), 3u);
    EXPECT_EQ(RECORDS(keyOf(*file, kDeleteKey)), 1u);
    // Both versions are in the author key, equal values in record order, case ignored.
    SET(keyOf(*file, kAuthorKey));
    NEXT(*file);
    EXPECT_EQ(POSITION(*file), old);
    EXPECT_EQ(file.buffer()[Book::DELETED], 1);
    NEXT(*file);
    EXPECT_EQ(POSITION(*file), added);
    EXPECT_EQ(file.text(Book::TITLE, 45), "Persuasion");
    NEXT(*file);
    EXPECT_EQ(errorCode(), ErrorCode::kRecordNotAvailable);
}

TEST_F(CatalogueFlowTest, FailedPutEndsTheSaveWithNothingWritten) {
    openCatalogue();
    addBook("Austen", "Jane", "Emma", 0);
    CLOSE(*file);
    const auto before = fileBytes(dir.file("Quillery.QLY"));
    openCatalogue();
    LOGOUT(1, *file);
    PUT(*file);  // nothing read since the open: no current record
    EXPECT_EQ(errorCode(), ErrorCode::kRecordNotAvailable);
    ROLLBACK();
    EXPECT_EQ(errorCode(), 0);
    CLOSE(*file);
    EXPECT_EQ(fileBytes(dir.file("Quillery.QLY")), before);
}

}  // namespace
}  // namespace quillery::storage::testing
