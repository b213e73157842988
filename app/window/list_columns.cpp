// The list's columns and the person's choice of them.
#include "app/window/list_columns.h"

#include <algorithm>

namespace quillery {

namespace {

constexpr ListColumnInfo kColumns[] = {
    {BookColumn::Author, "Author", "Author", 110},
    {BookColumn::Title, "Title", "Title", 160},
    {BookColumn::Category, "Category", "Category", 70},
    {BookColumn::Rating, "Rating", "Rating", 30},
    {BookColumn::Location, "Location", "Location", 70},
    {BookColumn::Value, "Value", "Value", 45},
    {BookColumn::Isbn, "ISBN", "ISBN", 60},
    {BookColumn::Condition, "Condition", "Condition", 55},
    {BookColumn::PubDate, "Publish Date", "PublishDate", 55},
    {BookColumn::BuyDate, "Buy Date", "BuyDate", 50},
    {BookColumn::Edition, "Edition", "Edition", 55},
    {BookColumn::PrintDate, "Print Date", "PrintDate", 50},
    {BookColumn::Other, "Other", "Other", 60},
};

std::size_t tablePlace(BookColumn column) {
    for (std::size_t i = 0; i < std::size(kColumns); ++i)
        if (kColumns[i].column == column) return i;
    return std::size(kColumns);
}

void sortByTable(ColumnChoice& choice) {
    std::sort(choice.begin(), choice.end(),
              [](BookColumn a, BookColumn b) { return tablePlace(a) < tablePlace(b); });
    choice.erase(std::unique(choice.begin(), choice.end()), choice.end());
}

}  // namespace

std::span<const ListColumnInfo> listColumnTable() {
    return kColumns;
}

const ListColumnInfo& listColumnInfo(BookColumn column) {
    return kColumns[std::min(tablePlace(column), std::size(kColumns) - 1)];
}

ColumnChoice defaultColumnChoice() {
    return {BookColumn::Author, BookColumn::Title,    BookColumn::Category,
            BookColumn::Rating, BookColumn::Location, BookColumn::Value};
}

std::string columnChoiceText(const ColumnChoice& choice) {
    std::string text;
    for (const BookColumn column : choice) {
        if (!text.empty()) text += ',';
        text += listColumnInfo(column).name;
    }
    return text;
}

std::optional<ColumnChoice> parseColumnChoice(std::string_view text) {
    ColumnChoice choice;
    while (!text.empty()) {
        const std::size_t comma = text.find(',');
        const std::string_view name = text.substr(0, comma);
        const auto* info = std::find_if(std::begin(kColumns), std::end(kColumns),
                                        [&](const ListColumnInfo& c) { return c.name == name; });
        if (info == std::end(kColumns)) return std::nullopt;
        choice.push_back(info->column);
        text = comma == std::string_view::npos ? std::string_view{} : text.substr(comma + 1);
    }
    if (choice.empty()) return std::nullopt;
    sortByTable(choice);
    return choice;
}

ColumnChoice toggledColumn(const ColumnChoice& choice, BookColumn column) {
    ColumnChoice toggled = choice;
    const auto shown = std::find(toggled.begin(), toggled.end(), column);
    if (shown == toggled.end()) {
        toggled.push_back(column);
    } else if (toggled.size() > 1) {
        toggled.erase(shown);
    }
    sortByTable(toggled);
    return toggled;
}

std::string columnFormat(const ColumnChoice& choice) {
    std::string format;
    for (const BookColumn column : choice) {
        const ListColumnInfo& info = listColumnInfo(column);
        if (!format.empty()) format += '|';
        format += std::to_string(info.width) + (info.rightAligned ? "R(2)" : "L(2)") + "|M~" +
                  std::string(info.heading) + "~";
    }
    return format;
}

}  // namespace quillery
