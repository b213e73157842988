// The list's column orders over generated books with blanks, duplicates, names in odd case and
// superseded versions: against a plain sort of the books, and against `quillery-data list --key`
// reading the same key of the same file.
#include "app/column_orders.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "app/tools/catalogue_store.h"
#include "app/tools/tool_run.h"
#include "runtime/char_tables.h"
#include "runtime/codepage.h"
#include "runtime/dates.h"
#include "tests/app/generated_catalogue.h"

namespace quillery {
namespace {

constexpr BookColumn kEveryColumn[] = {
    BookColumn::Author,    BookColumn::Title,   BookColumn::Category, BookColumn::Rating,
    BookColumn::Location,  BookColumn::Value,   BookColumn::Isbn,     BookColumn::PubDate,
    BookColumn::Condition, BookColumn::BuyDate, BookColumn::Edition,  BookColumn::PrintDate,
    BookColumn::Other,
};

// The model's view of a column: the field, and what orders equal fields.
std::string fieldOf(const QuilleryRecord& r, BookColumn column) {
    switch (column) {
        case BookColumn::Author:
            return r.LASTNAME.str();
        case BookColumn::Title:
            return r.TITLE.str();
        case BookColumn::Category:
            return r.CATEGORY.str();
        case BookColumn::Rating:
            return r.RATING.str();
        case BookColumn::Location:
            return r.LOCATION.str();
        case BookColumn::Value:
            return r.VALUE.str();
        case BookColumn::Isbn:
            return r.ISBN.str();
        case BookColumn::PubDate:
            return r.PUBDATE.str();
        case BookColumn::Condition:
            return r.CONDITION.str();
        case BookColumn::BuyDate:
            return r.BUYDATE.str();
        case BookColumn::Edition:
            return r.EDITION.str();
        case BookColumn::PrintDate:
            return r.PRINTDATE.str();
        case BookColumn::Other:
            return r.OTHER.str();
    }
    return {};
}
std::string tieOf(const QuilleryRecord& r, BookColumn column) {
    if (column == BookColumn::Author) return r.NAMEKEY.str();
    if (column == BookColumn::Title) return r.TITLEKEY.str();
    return {};
}
std::string upper(std::string text) {
    for (char& c : text)
        c = static_cast<char>(toUpperChar(static_cast<unsigned char>(c)));
    return text;
}

// A plain sort of the current books: by the field, case-blind; under Author and Title by the
// name or title key next; otherwise in the rows' order. Blank fields last, in the rows' order.
std::vector<std::int32_t> modelOrder(const std::map<std::int32_t, QuilleryRecord>& books,
                                     const std::vector<std::int32_t>& rows, BookColumn column,
                                     SortDirection direction) {
    std::vector<std::int32_t> held, blank;
    for (const std::int32_t p : rows)
        (fieldOf(books.at(p), column).empty() ? blank : held).push_back(p);
    const auto compare = [&](std::int32_t a, std::int32_t b) {
        const QuilleryRecord& x = books.at(a);
        const QuilleryRecord& y = books.at(b);
        const int byField = collateCompare(upper(fieldOf(x, column)), upper(fieldOf(y, column)));
        return byField != 0 ? byField
                            : collateCompare(upper(tieOf(x, column)), upper(tieOf(y, column)));
    };
    std::stable_sort(held.begin(), held.end(), [&](std::int32_t a, std::int32_t b) {
        return direction == SortDirection::Ascending ? compare(a, b) < 0 : compare(a, b) > 0;
    });
    held.insert(held.end(), blank.begin(), blank.end());
    return held;
}

std::vector<std::int32_t> positionsIn(const std::vector<std::int32_t>& rows,
                                      const std::vector<std::size_t>& order) {
    std::vector<std::int32_t> positions;
    for (const std::size_t row : order)
        positions.push_back(rows[row]);
    return positions;
}

class ColumnOrders : public testing::GeneratedCatalogue {
  protected:
    std::vector<std::int32_t> ordered(const std::vector<std::int32_t>& rows, BookColumn column,
                                      SortDirection direction) {
        const std::optional<ColumnOrder> order = readColumnOrder(column, direction);
        EXPECT_TRUE(order.has_value()) << errorText();
        if (!order) return {};
        return positionsIn(rows, orderedRows(rows, *order));
    }
};

TEST_F(ColumnOrders, EveryColumnBothWaysMatchesAPlainSortAndLeavesTheBufferAlone) {
    write(testing::variedBooks(1500, 24));
    // The list's rows in an order of their own (newest first), which equal books keep.
    std::vector<std::int32_t> rows = currentPositions();
    std::reverse(rows.begin(), rows.end());
    QLY = book(rows[7]);
    const QuilleryRecord shown = QLY;
    for (const BookColumn column : kEveryColumn) {
        for (const SortDirection direction :
             {SortDirection::Ascending, SortDirection::Descending}) {
            SCOPED_TRACE(static_cast<int>(column) * 2 + static_cast<int>(direction));
            EXPECT_EQ(ordered(rows, column, direction),
                      modelOrder(filed(), rows, column, direction));
        }
    }
    EXPECT_EQ(std::memcmp(&QLY, &shown, sizeof shown), 0);
}

TEST_F(ColumnOrders, RanksTellEqualValuesBlanksAndSupersededVersionsApart) {
    QuilleryRecord a, b, c, d, e;
    a.LASTNAME = "smith";
    a.FIRSTNAME = "John";
    a.TITLE = "Tales";
    a.VALUE = "$5.00";
    b = a;
    b.LASTNAME = "SMITH";
    b.FIRSTNAME = "Anne";
    c = a;  // the same book twice: equal in every column
    d = a;
    d.LASTNAME.clear();  // no entry in the author key
    d.VALUE.clear();
    e = a;
    e.VALUE = "$37.00";
    for (QuilleryRecord* r : {&a, &b, &c, &d, &e})
        BUILDKEYS(*r);
    write({a, b, c, d, e});
    const std::vector<std::int32_t> p = currentPositions();  // a b c d e
    const std::int32_t replaced = p[4];
    const std::int32_t newValue = save(replaced, [&] {
        QuilleryRecord edited = e;
        edited.VALUE = "$1.00";
        return edited;
    }());

    const std::optional<ColumnOrder> byAuthor =
        readColumnOrder(BookColumn::Author, SortDirection::Ascending);
    ASSERT_TRUE(byAuthor.has_value());
    // Smith, Anne before Smith, John whatever the case of Smith; a and c the same book.
    EXPECT_LT(byAuthor->rankOf(p[1]), byAuthor->rankOf(p[0]));
    EXPECT_EQ(byAuthor->rankOf(p[0]), byAuthor->rankOf(p[2]));
    EXPECT_EQ(byAuthor->rankOf(p[3]), byAuthor->blankRank());
    EXPECT_EQ(byAuthor->rankOf(replaced), byAuthor->blankRank());  // superseded: not ranked
    EXPECT_EQ(byAuthor->rankedBooks(), 4u);
    EXPECT_EQ(byAuthor->rankOf(-1), byAuthor->blankRank());

    // Value is text: "$1.00" < "$37.00" < "$5.00"; descending reverses all but the blank.
    const std::vector<std::int32_t> rows{p[0], p[1], p[2], p[3], newValue};
    EXPECT_EQ(ordered(rows, BookColumn::Value, SortDirection::Ascending),
              (std::vector<std::int32_t>{newValue, p[0], p[1], p[2], p[3]}));
    EXPECT_EQ(ordered(rows, BookColumn::Value, SortDirection::Descending),
              (std::vector<std::int32_t>{p[0], p[1], p[2], newValue, p[3]}));
    EXPECT_EQ(columnText(book(newValue), BookColumn::Value), "$1.00");
    EXPECT_EQ(columnText(book(p[1]), BookColumn::Author), "SMITH, Anne");
    EXPECT_EQ(columnText(book(p[3]), BookColumn::Author), "John");
}

TEST_F(ColumnOrders, AgreeWithTheCommandLineToolReadingTheSameKey) {
    write(testing::variedBooks(800, 2412));
    CLOSE(QUILLERY);
    const std::string file = path();
    auto store = tools::makeCatalogueStore();
    std::map<BookColumn, std::vector<std::string>> listed;
    for (const BookColumn column : kEveryColumn) {
        const std::string name(shortKeyName(keyOfColumn(column)));
        const std::vector<std::string_view> args{"list", "--key", name, file};
        std::istringstream in;
        std::ostringstream out, err;
        ASSERT_EQ(tools::runQuilleryData(args, *store, in, out, err, {dayNumberOf(2026, 12, 9), 1}),
                  0)
            << err.str();
        std::istringstream lines(out.str());
        for (std::string line; std::getline(lines, line);)
            listed[column].push_back(line);
    }
    open();
    const std::vector<std::int32_t> rows = currentPositions();
    for (const BookColumn column : kEveryColumn) {
        SCOPED_TRACE(static_cast<int>(column));
        const std::optional<ColumnOrder> order = readColumnOrder(column, SortDirection::Ascending);
        ASSERT_TRUE(order.has_value());
        // The tool lists the books the key holds, equal values in file order; the list ranks
        // the same books in the same groups of equal values (Author and Title order each group
        // further by the name or title key).
        std::vector<std::string> mine;
        std::vector<std::size_t> groupStarts;
        std::string lastValue;
        for (const std::int32_t position : positionsIn(rows, orderedRows(rows, *order))) {
            if (order->rankOf(position) == order->blankRank()) break;
            const QuilleryRecord& r = book(position);
            const std::string value = upper(fieldOf(r, column));
            if (mine.empty() || collateCompare(value, lastValue) != 0)
                groupStarts.push_back(mine.size());
            lastValue = value;
            mine.push_back(cp1252ToUtf8(r.TITLE.str()) + "\t" +
                           cp1252ToUtf8(columnText(r, BookColumn::Author)));
        }
        ASSERT_EQ(mine.size(), listed[column].size());
        if (column != BookColumn::Author && column != BookColumn::Title) {
            EXPECT_EQ(mine, listed[column]);
            continue;
        }
        groupStarts.push_back(mine.size());
        EXPECT_GT(groupStarts.size(), 20u);  // many groups, most of several books
        for (std::size_t g = 0; g + 1 < groupStarts.size(); ++g) {
            const auto from = static_cast<std::ptrdiff_t>(groupStarts[g]);
            const auto to = static_cast<std::ptrdiff_t>(groupStarts[g + 1]);
            std::vector<std::string> ours(mine.begin() + from, mine.begin() + to);
            std::vector<std::string> tools(listed[column].begin() + from,
                                           listed[column].begin() + to);
            std::sort(ours.begin(), ours.end());
            std::sort(tools.begin(), tools.end());
            EXPECT_EQ(ours, tools) << "group from row " << from;
        }
    }
}

}  // namespace
}  // namespace quillery
