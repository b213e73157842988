// The thirteen listings of the catalogue: each is the one report procedure over its own key,
// with its own subtitle and emphasised field. Everything that differs between them is here.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "app/quillery_record.h"

namespace quillery {

// The detail field printed in 12-point bold by a listing.
enum class EmphasisedField {
    Author,  // last and first name
    Title,
    Location,
    Category,
    Rating,
    Condition,
    Value,
    Isbn,
    Edition,
    PubDate,
    BuyDate,
    PrintDate,
    Other,
};

struct Listing {
    std::string_view procedure;  // "AUTHORREPORT"
    std::string_view toolName;   // quillery-data print --listing NAME
    QuilleryKey key;
    std::string_view title;     // page header title
    std::string_view subtitle;  // page header subtitle
    int subtitleWidth;          // thousandths of an inch
    EmphasisedField emphasised;
    std::string_view missing;  // what no book has when the listing is empty: "a last name"
};

inline constexpr std::size_t kListingCount = 13;

// In the order of the "&Reports" menu.
const std::array<Listing, kListingCount>& listingTable();

// "There is nothing to print: no book has a last name.": said when no book is in the listing.
std::string nothingToPrintText(const Listing& listing);

// The listing of a quillery-data name ("author", "isbn"...), case-insensitive.
std::optional<std::size_t> listingNamed(std::string_view toolName);

}  // namespace quillery
