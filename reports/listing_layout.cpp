// The listings' report layouts, built once from the listing table. Positions are thousandths of
// an inch from the top left of their band.
#include "reports/listing_layout.h"

#include <array>
#include <memory>

#include "app/catalogue_globals.h"
#include "reports/listing_table.h"

namespace quillery {

namespace {

// Positions of the use variables.
enum Use : int {
    kLastName = 1,
    kFirstName,
    kCategory,
    kTitle,
    kIsbn,
    kOther,
    kCondition,
    kLocation,
    kRating,
    kPubDate,
    kPrintDate,
    kBuyDate,
    kEdition,
    kValue,
    kContents,
};

constexpr FontChoice kReportFont{"Arial", 10};
// Where detail bands go. The page header's grey box with the column headings reaches down to
// 2687, so the first book of a page starts below it; five books (5 x 1375) still fit above the
// footer at 9700.
constexpr Rect kBody{1000, 2700, 6000, 7000};
constexpr FontChoice kEmphasis{"Arial", 12, FontStyle::kBold};
constexpr std::int32_t kHeadingGrey = 0xE1E1E1;

constexpr ControlLayout heading(std::string_view caption, Rect at, unsigned flags = 0) {
    return {.kind = ControlKind::String, .text = caption, .at = at, .flags = flags};
}

// On the grey box, in three columns: left, middle, and right-aligned to 5896.
constexpr unsigned kRightColumn = ControlFlag::kRight;
constexpr ControlLayout kColumnHeadings[] = {
    heading("LAST NAME", {115, 677, 938, 167}),
    heading("FIRST NAME", {2813, 677, 1396, 167}),
    heading("CATEGORY", {5083, 677, 813, 167}, kRightColumn),
    heading("TITLE", {115, 854, 1396, 167}),
    heading("ISBN", {2813, 865, 542, 167}),
    heading("OTHER", {5385, 865, 510, 167}, kRightColumn),
    heading("CONDITION", {115, 1021, 1052, 167}),
    heading("LOCATION", {2813, 1042, 740, 167}),
    heading("RATING", {5365, 1042, 531, 167}, kRightColumn),
    heading("PUBLISHER'S DATE", {125, 1208, 1323, 167}),
    heading("PRINT DATE", {2813, 1219, 990, 167}),
    heading("BUY DATE", {5146, 1219, 750, 167}, kRightColumn),
    heading("EDITION", {2813, 1385, 573, 167}),
    heading("VALUE", {5208, 1396, 688, 167}, kRightColumn),
};

ControlLayout field(int use, std::string_view picture, Rect at, FontChoice font = {},
                    unsigned flags = 0) {
    return {.kind = ControlKind::String,
            .at = at,
            .picture = picture,
            .use = use,
            .font = font,
            .flags = flags};
}

void addHeader(std::vector<ControlLayout>& c, const Listing& listing) {
    const bool author = listing.emphasised == EmphasisedField::Author;
    c.push_back({.kind = ControlKind::Header, .at = {1000, 1000, 6000, 1938}});
    c.push_back({.kind = ControlKind::Image, .text = "BOOK.BMP", .at = {1000, 21, 400, 400}});
    c.push_back({.kind = ControlKind::String,
                 .text = listing.title,
                 .at = {1573, 63, 1688, 354},
                 .font = {"Impact", 22}});
    c.push_back(
        {.kind = ControlKind::String,
         .text = listing.subtitle,
         .at = author ? Rect{3333, 167, 1344, 260} : Rect{3208, 156, listing.subtitleWidth, 260},
         .font = {"Arial", 16, FontStyle::kBold}});
    c.push_back({.kind = ControlKind::Box,
                 .at = {10, 635, 5979, 1052},
                 .color = kHeadingGrey,
                 .fill = kHeadingGrey});
    for (const ControlLayout& heading : kColumnHeadings)
        c.push_back(heading);
}

void addDetail(std::vector<ControlLayout>& c, EmphasisedField emphasised) {
    using E = EmphasisedField;
    constexpr unsigned kRight = ControlFlag::kRight;
    const bool author = emphasised == E::Author;
    const auto font = [&](E which, FontChoice usual = {}) {
        return emphasised == which ? kEmphasis : usual;
    };
    c.push_back({.kind = ControlKind::Detail, .field = kListingDetail, .at = {0, 0, 6000, 1375}});
    c.push_back({.kind = ControlKind::Line, .at = {94, 31, 5792, 0}});
    c.push_back(field(kLastName, "s30", {94, 104, author ? 2250 : 2010, 188}, font(E::Author)));
    c.push_back(field(kFirstName, "s20", {2802, 94, 1469, author ? 208 : 198}, font(E::Author)));
    c.push_back(
        field(kCategory, "s24",
              emphasised == E::Category ? Rect{4510, 94, 1396, 198} : Rect{4510, 104, 1396, 167},
              font(E::Category), kRight));
    const FontChoice titleFont =
        emphasised == E::Title ? FontChoice{"Arial", 12, FontStyle::kBold | FontStyle::kItalic}
                               : FontChoice{"Arial", 10, FontStyle::kItalic};
    const Rect titleAt = author                   ? Rect{94, 302, 2573, 156}
                         : emphasised == E::Title ? Rect{94, 281, 2573, 219}
                                                  : Rect{94, 292, 2573, 177};
    c.push_back(field(kTitle, "s30", titleAt, titleFont));
    c.push_back(
        field(kIsbn, "s13",
              emphasised == E::Isbn ? Rect{2802, 271, 1396, 219} : Rect{2802, 302, 1396, 167},
              font(E::Isbn)));
    c.push_back(
        field(kOther, "s20",
              emphasised == E::Other ? Rect{4490, 302, 1417, 198} : Rect{4510, 302, 1396, 167},
              font(E::Other), kRight));
    c.push_back(field(kCondition, "s15", {94, 490, 1208, 208}, font(E::Condition)));
    c.push_back(field(kLocation, "s18", {2802, 490, 1438, 208}, font(E::Location)));
    c.push_back(
        field(kRating, "s1",
              emphasised == E::Rating ? Rect{5667, 479, 240, 208} : Rect{5667, 510, 240, 167},
              font(E::Rating), kRight));
    c.push_back(field(kPubDate, "s15", {94, 677, 1219, 208}, font(E::PubDate)));
    c.push_back(field(kPrintDate, "s15", {2802, 677, 1396, 208}, font(E::PrintDate)));
    c.push_back(field(kBuyDate, "s15", {4438, 677, 1469, 208}, font(E::BuyDate), kRight));
    c.push_back(field(kEdition, "s15", {2802, 865, 1125, 208}, font(E::Edition)));
    c.push_back(field(kValue, "s15", {4688, 865, 1219, 208}, font(E::Value), kRight));
    c.push_back({.kind = ControlKind::Text,
                 .at = {427, 1188, 5063, 156},
                 .use = kContents,
                 .font = {"Arial", 8, FontStyle::kItalic}});
}

void addFooter(std::vector<ControlLayout>& c) {
    c.push_back({.kind = ControlKind::Footer, .at = {1000, 9700, 6000, 198}});
    c.push_back({.kind = ControlKind::String,
                 .at = {5250, 31, 698, 135},
                 .picture = "pPage <<<#p",
                 .font = {"Arial", 8},
                 .flags = ControlFlag::kPageNumber});
}

struct BuiltLayout {
    std::vector<ControlLayout> controls;
    WindowLayout layout;
};

std::unique_ptr<BuiltLayout> build(const Listing& listing) {
    auto built = std::make_unique<BuiltLayout>();
    addHeader(built->controls, listing);
    addDetail(built->controls, listing.emphasised);
    addFooter(built->controls);
    built->layout = WindowLayout{.module = listing.procedure,
                                 .structure = "REPORT",
                                 .at = kBody,
                                 .font = kReportFont,
                                 .controls = built->controls};
    return built;
}

}  // namespace

const WindowLayout& listingReportLayout(std::size_t listing) {
    static const auto layouts = [] {
        std::array<std::unique_ptr<BuiltLayout>, kListingCount> all;
        for (std::size_t i = 0; i < kListingCount; ++i)
            all[i] = build(listingTable()[i]);
        return all;
    }();
    return layouts[listing]->layout;
}

std::vector<UseVariable> listingReportUses() {
    return {use(QLY.LASTNAME), use(QLY.FIRSTNAME), use(QLY.CATEGORY),  use(QLY.TITLE),
            use(QLY.ISBN),     use(QLY.OTHER),     use(QLY.CONDITION), use(QLY.LOCATION),
            use(QLY.RATING),   use(QLY.PUBDATE),   use(QLY.PRINTDATE), use(QLY.BUYDATE),
            use(QLY.EDITION),  use(QLY.VALUE),     use(QLY.CONTENTS)};
}

}  // namespace quillery
