// The table of the thirteen listings.
#include "reports/listing_table.h"

namespace quillery {

namespace {

using E = EmphasisedField;
using K = QuilleryKey;

constexpr std::array<Listing, kListingCount> kListings{{
    {"AUTHORREPORT", "author", K::AUTHORKEY, "Quillery -", "by Author", 1344, E::Author,
     "a last name"},
    {"TITLEREPORT", "title", K::TITLEKEYKEY, "Quillery", "- By Title", 1344, E::Title, "a title"},
    {"LOCATIONREPORT", "location", K::LOCATIONKEY, "Quillery", "- By Location", 1458, E::Location,
     "a location"},
    {"CATEGORYREPORT", "category", K::CATEGORYKEY, "Quillery", "- By Category", 1490, E::Category,
     "a category"},
    {"RANKINGREPORT", "rating", K::RATINGKEY, "Quillery", "- By Rating", 1344, E::Rating,
     "a rating"},
    {"CONDITIONREPORT", "condition", K::CONDITIONKEY, "Quillery", "- By Condition", 1563,
     E::Condition, "a condition"},
    {"VALUEREPORT", "value", K::VALUEKEY, "Quillery", "- By Value", 1344, E::Value, "a value"},
    {"ISBNREPORT", "isbn", K::ISBNKEY, "Quillery", "- By ISBN", 1344, E::Isbn, "an ISBN"},
    {"EDITIONREPORT", "edition", K::EDITIONKEY, "Quillery", "- By Edition", 1344, E::Edition,
     "an edition"},
    {"PUBDATEREPORT", "pubdate", K::PUBDATEKEY, "Quillery", "- By Publisher's Date", 2281,
     E::PubDate, "a publisher's date"},
    {"BUYDATEREPORT", "buydate", K::BUYDATEKEY, "Quillery", "- By Buy Date", 1531, E::BuyDate,
     "a buy date"},
    {"PRINTDATEREPORT", "printdate", K::PRINTDATEKEY, "Quillery", "- By Print Date", 1594,
     E::PrintDate, "a print date"},
    {"OTHERREPORT", "other", K::OTHERKEY, "Quillery", "- By Other", 1344, E::Other,
     "an \"other\" entry"},
}};

char lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

std::string nothingToPrintText(const Listing& listing) {
    return "There is nothing to print: no book has " + std::string(listing.missing) + ".";
}

const std::array<Listing, kListingCount>& listingTable() {
    return kListings;
}

std::optional<std::size_t> listingNamed(std::string_view toolName) {
    for (std::size_t i = 0; i < kListings.size(); ++i) {
        const std::string_view name = kListings[i].toolName;
        if (name.size() != toolName.size()) continue;
        bool same = true;
        for (std::size_t c = 0; c < name.size() && same; ++c)
            same = lower(toolName[c]) == name[c];
        if (same) return i;
    }
    return std::nullopt;
}

}  // namespace quillery
