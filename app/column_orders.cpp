// Column orders read through the catalogue's keys: one pass over a key, grouping the books whose
// key values are equal, with Author and Title telling equal names and titles apart by the rest
// of their derived keys.
#include "app/column_orders.h"

#include <algorithm>
#include <string>
#include <utility>

#include "app/catalogue_globals.h"
#include "app/quillery_file.h"
#include "runtime/char_tables.h"
#include "runtime/errors.h"
#include "storage/file_statements.h"

namespace quillery {

namespace {

// The field a column's key is on, with its padding: a key compares whole fields.
std::string_view keyField(const QuilleryRecord& r, BookColumn column) {
    switch (column) {
        case BookColumn::Author:
            return r.LASTNAME.view();
        case BookColumn::Title:
            return r.TITLE.view();
        case BookColumn::Category:
            return r.CATEGORY.view();
        case BookColumn::Rating:
            return r.RATING.view();
        case BookColumn::Location:
            return r.LOCATION.view();
        case BookColumn::Value:
            return r.VALUE.view();
        case BookColumn::Isbn:
            return r.ISBN.view();
        case BookColumn::PubDate:
            return r.PUBDATE.view();
        case BookColumn::Condition:
            return r.CONDITION.view();
        case BookColumn::BuyDate:
            return r.BUYDATE.view();
        case BookColumn::Edition:
            return r.EDITION.view();
        case BookColumn::PrintDate:
            return r.PRINTDATE.view();
        case BookColumn::Other:
            return r.OTHER.view();
    }
    return {};
}

// The derived key that orders books the column's key holds equal; empty for columns whose
// equal books keep the list's usual order.
std::string_view tieField(const QuilleryRecord& r, BookColumn column) {
    if (column == BookColumn::Author) return r.NAMEKEY.view();
    if (column == BookColumn::Title) return r.TITLEKEY.view();
    return {};
}

// A text as a case-insensitive key holds it: each character upper-cased, then ranked through
// the collation table, so that equal key values are equal strings here and compare alike.
void caseBlindValue(std::string_view text, std::string& out) {
    out.resize(text.size());
    const CharTables& tables = charTables();
    for (std::size_t i = 0; i < text.size(); ++i)
        out[i] =
            static_cast<char>(tables.collation[tables.upper[static_cast<unsigned char>(text[i])]]);
}

struct RankedBook {
    std::uint32_t position;
    std::uint32_t rank;
};

// Books whose key values are equal, gathered while the key is read; with a tie field they are
// ranked among themselves by it. The tie fields (all of one width) sit side by side in one
// buffer, so gathering a group makes no allocation per book.
class EqualValues {
  public:
    void add(std::uint32_t position, std::string_view tie) {
        width_ = tie.size();
        members_.push_back({position, static_cast<std::uint32_t>(members_.size())});
        caseBlindValue(tie, scratch_);
        ties_ += scratch_;
    }
    bool empty() const { return members_.empty(); }

    // Ranks the gathered books from `next` on and returns the rank after theirs.
    std::uint32_t rankInto(std::vector<RankedBook>& out, std::uint32_t next) {
        const auto tieOf = [&](const Member& m) {
            return std::string_view(ties_).substr(m.slot * width_, width_);
        };
        if (width_ > 0) {
            std::stable_sort(members_.begin(), members_.end(),
                             [&](const Member& a, const Member& b) { return tieOf(a) < tieOf(b); });
        }
        for (std::size_t i = 0; i < members_.size(); ++i) {
            if (i > 0 && tieOf(members_[i]) != tieOf(members_[i - 1])) ++next;
            out.push_back({members_[i].position, next});
        }
        members_.clear();
        ties_.clear();
        return next + 1;
    }

  private:
    struct Member {
        std::uint32_t position;
        std::uint32_t slot;  // where its tie field is in ties_
    };
    std::vector<Member> members_;
    std::string ties_;
    std::string scratch_;
    std::size_t width_ = 0;
};

}  // namespace

QuilleryKey keyOfColumn(BookColumn column) {
    switch (column) {
        case BookColumn::Author:
            return QuilleryKey::AUTHORKEY;
        case BookColumn::Title:
            return QuilleryKey::TITLEKEYKEY;
        case BookColumn::Category:
            return QuilleryKey::CATEGORYKEY;
        case BookColumn::Rating:
            return QuilleryKey::RATINGKEY;
        case BookColumn::Location:
            return QuilleryKey::LOCATIONKEY;
        case BookColumn::Value:
            return QuilleryKey::VALUEKEY;
        case BookColumn::Isbn:
            return QuilleryKey::ISBNKEY;
        case BookColumn::PubDate:
            return QuilleryKey::PUBDATEKEY;
        case BookColumn::Condition:
            return QuilleryKey::CONDITIONKEY;
        case BookColumn::BuyDate:
            return QuilleryKey::BUYDATEKEY;
        case BookColumn::Edition:
            return QuilleryKey::EDITIONKEY;
        case BookColumn::PrintDate:
            return QuilleryKey::PRINTDATEKEY;
        case BookColumn::Other:
            return QuilleryKey::OTHERKEY;
    }
    return QuilleryKey::AUTHORKEY;
}

std::string columnText(const QuilleryRecord& record, BookColumn column) {
    if (column != BookColumn::Author) {
        const std::string_view field = keyField(record, column);
        return std::string(field.substr(0, field.find_last_not_of(' ') + 1));
    }
    std::string text(record.LASTNAME.clipped());
    if (!record.FIRSTNAME.isBlank()) {
        if (!text.empty()) text += ", ";
        text += record.FIRSTNAME.clipped();
    }
    return text;
}

std::uint32_t ColumnOrder::rankOf(std::int32_t position) const {
    if (position < 0 || static_cast<std::size_t>(position) >= rankByPosition_.size())
        return blankRank_;
    return rankByPosition_[static_cast<std::size_t>(position)];
}

// Fills a ColumnOrder from the books ranked in ascending key order.
class ColumnOrderBuilder {
  public:
    static ColumnOrder build(BookColumn column, SortDirection direction,
                             const std::vector<RankedBook>& ranked, std::uint32_t ranks) {
        ColumnOrder order;
        order.column_ = column;
        order.direction_ = direction;
        order.blankRank_ = ranks;
        order.rankedBooks_ = ranked.size();
        std::uint32_t highest = 0;
        for (const RankedBook& book : ranked)
            highest = std::max(highest, book.position);
        order.rankByPosition_.assign(ranked.empty() ? 0 : highest + 1, ranks);
        for (const RankedBook& book : ranked) {
            order.rankByPosition_[book.position] =
                direction == SortDirection::Ascending ? book.rank : ranks - 1 - book.rank;
        }
        return order;
    }
};

std::optional<ColumnOrder> readColumnOrder(BookColumn column, SortDirection direction) {
    const QuilleryRecord shown = QLY;
    std::vector<RankedBook> ranked;
    EqualValues equal;
    std::string value;
    std::string previous;
    std::uint32_t next = 0;
    SET(keyOf(QUILLERY, keyOfColumn(column)));
    for (NEXT(QUILLERY); errorCode() == ErrorCode::kNone; NEXT(QUILLERY)) {
        if (QLY.DELETED != 0) continue;
        caseBlindValue(keyField(QLY, column), value);
        if (!equal.empty() && value != previous) next = equal.rankInto(ranked, next);
        std::swap(previous, value);
        equal.add(POSITION(QUILLERY), tieField(QLY, column));
    }
    const bool readToEnd = errorCode() == ErrorCode::kRecordNotAvailable;
    QLY = shown;
    if (!readToEnd) return std::nullopt;
    if (!equal.empty()) next = equal.rankInto(ranked, next);
    return ColumnOrderBuilder::build(column, direction, ranked, next);
}

std::vector<std::size_t> orderedRows(std::span<const std::int32_t> positions,
                                     const ColumnOrder& order) {
    std::vector<std::pair<std::uint32_t, std::size_t>> keyed;
    keyed.reserve(positions.size());
    for (std::size_t i = 0; i < positions.size(); ++i)
        keyed.emplace_back(order.rankOf(positions[i]), i);
    std::sort(keyed.begin(), keyed.end());  // the row index settles equal ranks: a stable order
    std::vector<std::size_t> rows;
    rows.reserve(keyed.size());
    for (const auto& [rank, row] : keyed)
        rows.push_back(row);
    return rows;
}

}  // namespace quillery
