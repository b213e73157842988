// Filtering the list as a text is typed, against a plain substring scan of each book's record
// image with Find's rules, over generated books: key by key, under both case rules, on a tab's
// rows and on all of them, with saves, deletions and undos between the key presses.
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <map>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "app/book_text_index.h"
#include "app/typed_filter.h"
#include "runtime/char_tables.h"
#include "tests/app/generated_catalogue.h"

namespace quillery {
namespace {

std::string upperCased(std::string text) {
    const std::array<std::uint8_t, 256>& upper = charTables().upper;
    for (char& c : text)
        c = static_cast<char>(upper[static_cast<unsigned char>(c)]);
    return text;
}

// A whole record image as Find searches it, upper-cased when case is ignored. The numbers
// (deleted flag at 0, the stamps at 143 to 158, the list flag at 344) are not text and read as
// zero bytes.
std::string modelImage(const QuilleryRecord& record, CaseRule rule) {
    std::string image(reinterpret_cast<const char*>(&record), sizeof record);
    image[0] = '\0';
    std::fill(image.begin() + 143, image.begin() + 159, '\0');
    image[344] = '\0';
    return rule == CaseRule::IgnoreCase ? upperCased(image) : image;
}

// Find's text: trailing blanks dropped, upper-cased when case is ignored; cut to the longest
// the filter answers.
std::string modelText(std::string text, CaseRule rule) {
    text = text.substr(0, kLongestSearchText);
    while (!text.empty() && text.back() == ' ')
        text.pop_back();
    return rule == CaseRule::IgnoreCase ? upperCased(text) : text;
}

class TypedFilterOverBooks : public testing::GeneratedCatalogue,
                             public ::testing::WithParamInterface<CaseRule> {
  protected:
    CaseRule rule() const { return GetParam(); }

    // A plain scan of the rows' record images; the images are made again after a change.
    std::vector<std::uint32_t> modelRows(const std::vector<std::int32_t>& rows,
                                         const std::string& typed) {
        const std::string text = modelText(typed, rule());
        std::vector<std::uint32_t> matches;
        for (std::size_t i = 0; i < rows.size(); ++i) {
            auto image = images_.find(rows[i]);
            if (image == images_.end())
                image = images_.emplace(rows[i], modelImage(book(rows[i]), rule())).first;
            if (image->second.find(text) != std::string::npos) matches.push_back(i);
        }
        return matches;
    }
    void changed() { images_.clear(); }

    std::map<std::int32_t, std::string> images_;

    // Types `word` key by key, checking every answer; returns how many rows the last one held.
    std::size_t typeChecked(TypedFilter& filter, const BookTextIndex& index,
                            const std::vector<std::int32_t>& rows, const std::string& word) {
        std::size_t last = 0;
        for (std::size_t n = 1; n <= word.size(); ++n) {
            const std::string typed = word.substr(0, n);
            const std::vector<std::uint32_t>& answer = filter.rowsHolding(index, rows, typed);
            EXPECT_EQ(answer, modelRows(rows, typed)) << "typing \"" << typed << "\"";
            last = answer.size();
        }
        return last;
    }

    // Texts people type: pieces of the books' fields (names, titles, keys, notes), in the case
    // written or not, some across a field's end into the next; and a few made up.
    std::vector<std::string> typedWords(std::size_t count) {
        std::vector<std::string> words{"Orwell", "orwell", "Tales (",  ", J",      "8",
                                       "É",      "é",      "Harbour ", "  Lisbon", "no such book"};
        std::mt19937 random(2024);
        const std::vector<std::int32_t> current = currentPositions();
        while (words.size() < count) {
            const QuilleryRecord& r = book(current[random() % current.size()]);
            const std::string image(reinterpret_cast<const char*>(&r), sizeof r);
            const std::size_t at = 1 + random() % 560;  // text fields before the contents
            std::string word = image.substr(at, 1 + random() % 14);
            if (word.find('\0') != std::string::npos || word.front() == ' ') continue;
            if (random() % 3 == 0) {
                for (char& c : word)
                    c = static_cast<char>(toLowerChar(static_cast<unsigned char>(c)));
            }
            words.push_back(word);
        }
        return words;
    }
};

TEST_P(TypedFilterOverBooks, AnswersAsAPlainScanKeyByKeyOnEveryTabAndThroughChanges) {
    std::vector<QuilleryRecord> books = testing::variedBooks(900, 77);
    // Notes with long runs of blanks, which the index keeps shorter than the record does.
    books[3].CONTENTS = "x" + std::string(38, ' ') + "y" + std::string(60, ' ') + "z";
    books[4].CONTENTS = std::string(100, ' ') + "Orwell" + std::string(39, ' ') + "end";
    books[3].DELETED = books[4].DELETED = 0;
    write(books);
    BookTextIndex index(rule());
    ASSERT_TRUE(index.fillFromCatalogue());
    EXPECT_EQ(index.size(), currentPositions().size());
    EXPECT_FALSE(index.holds(header_));

    std::vector<std::string> words = typedWords(40);
    // Texts at the length of the runs the index keeps, one key at a time, over every book.
    TypedFilter filter;
    for (const std::string& edge :
         {"x" + std::string(38, ' ') + "y", "y" + std::string(39, ' ') + "z",
          "y" + std::string(40, ' ') + "z", std::string(39, ' ') + "Orwell",
          "Orwell" + std::string(39, ' ') + "e", "Orwell" + std::string(34, ' ') + "end"})
        EXPECT_GT(typeChecked(filter, index, currentPositions(), edge), 0u);

    std::vector<std::int32_t> all = currentPositions();
    std::vector<std::int32_t> poetry;  // a tab's rows, newest first
    for (auto p = all.rbegin(); p != all.rend(); ++p)
        if (book(*p).CATEGORY.str() == "Poetry") poetry.push_back(*p);
    ASSERT_GT(poetry.size(), 10u);

    std::size_t matched = 0;
    for (std::size_t w = 0; w < words.size(); ++w) {
        SCOPED_TRACE(words[w]);
        const std::vector<std::int32_t>& rows = w % 4 == 3 ? poetry : all;
        matched += typeChecked(filter, index, rows, words[w]) > 0;
        if (w % 10 != 5) continue;
        // A change in the middle of typing: the next key press must see it.
        const std::string half = words[w].substr(0, words[w].size() / 2 + 1);
        typeChecked(filter, index, all, half);
        const std::int32_t saved = all[w * 7 % all.size()];
        QuilleryRecord edited = book(saved);
        edited.TITLE = words[w].substr(0, 45);  // now holds the word
        const std::int32_t added = save(saved, edited);
        index.reread(saved);
        index.reread(added);
        const std::int32_t deleted = all[w * 11 % all.size()];
        put(deleted, 1);
        index.reread(deleted);
        changed();
        all = currentPositions();
        EXPECT_EQ(filter.rowsHolding(index, all, words[w]), modelRows(all, words[w]));
        EXPECT_TRUE(index.bookHolds(added, searchText(words[w], rule())));
        // Undo both: the deleted book back, the save's old version back and its new one gone.
        put(deleted, 0);
        put(added, 1);
        put(saved, 0);
        for (const std::int32_t p : {deleted, added, saved})
            index.reread(p);
        changed();
        all = currentPositions();
        typeChecked(filter, index, all, words[w]);
    }
    EXPECT_GT(matched, words.size() / 2);  // the words mostly find books: the scan is no stub
    EXPECT_EQ(index.size(), currentPositions().size());
}

TEST_P(TypedFilterOverBooks, NarrowsOnlyWhileTheIndexAndTheRowsStayAsTheyWere) {
    QuilleryRecord a, b, c;
    a.LASTNAME = "Orwell";
    a.TITLE = "Animal Farm";
    b.LASTNAME = "Orwin";
    b.TITLE = "Letters";
    c.LASTNAME = "Greene";
    c.TITLE = "Brighton Rock";
    for (QuilleryRecord* r : {&a, &b, &c})
        BUILDKEYS(*r);
    write({a, b, c});
    BookTextIndex index(rule());
    ASSERT_TRUE(index.fillFromCatalogue());
    const std::vector<std::int32_t> rows = currentPositions();
    TypedFilter filter;
    EXPECT_EQ(filter.rowsHolding(index, rows, "Orw"), (std::vector<std::uint32_t>{0, 1}));
    // Another program's change to Greene's book, at the same position: the rows are the same,
    // the answer to "Orwe" must still find it.
    c.TITLE = "Orwell's Essays";
    BUILDKEYS(c);
    index.put(rows[2], c);
    EXPECT_EQ(filter.rowsHolding(index, rows, "Orwe"), (std::vector<std::uint32_t>{0, 2}));
    // Other rows (a tab without Orwell), then a shorter text: searched afresh each time.
    const std::vector<std::int32_t> tab{rows[2], rows[1]};
    EXPECT_EQ(filter.rowsHolding(index, tab, "Orwe"), (std::vector<std::uint32_t>{0}));
    EXPECT_EQ(filter.rowsHolding(index, tab, "Or"), (std::vector<std::uint32_t>{0, 1}));
    EXPECT_EQ(filter.rowsHolding(index, tab, "Or  "), (std::vector<std::uint32_t>{0, 1}));
    EXPECT_EQ(filter.rowsHolding(index, tab, "  "), (std::vector<std::uint32_t>{0, 1}));
    // Case as typed finds no "orwell"; ignoring case finds both books that hold it.
    EXPECT_EQ(filter.rowsHolding(index, rows, "orwell").size(),
              rule() == CaseRule::IgnoreCase ? 2u : 0u);
    // A superseded version is let go; a gone position too.
    c.DELETED = 1;
    index.put(rows[2], c);
    index.reread(9999);
    EXPECT_EQ(index.size(), 2u);
    EXPECT_EQ(filter.rowsHolding(index, rows, "Orw"), (std::vector<std::uint32_t>{0, 1}));
}

INSTANTIATE_TEST_SUITE_P(CaseRules, TypedFilterOverBooks,
                         ::testing::Values(CaseRule::MatchCase, CaseRule::IgnoreCase),
                         [](const auto& info) {
                             return info.param == CaseRule::IgnoreCase ? "IgnoringCase"
                                                                       : "MatchingCase";
                         });

TEST(SearchText, IsFindsTextCutToTheLongestAnsweredExactly) {
    EXPECT_EQ(searchText("Orwell  ", CaseRule::MatchCase), "Orwell");
    EXPECT_EQ(searchText("  orwell", CaseRule::IgnoreCase), "  ORWELL");
    EXPECT_EQ(searchText("   ", CaseRule::MatchCase), "");
    EXPECT_EQ(searchText(std::string(50, 'a'), CaseRule::MatchCase),
              std::string(kLongestSearchText, 'a'));
}

}  // namespace
}  // namespace quillery
