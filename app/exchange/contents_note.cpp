// Composing and reading the labelled contents note.
#include "app/exchange/contents_note.h"

#include <algorithm>
#include <array>

namespace quillery::exchange {

namespace {

constexpr std::array kLabels{
    NoteLabel::kAuthorRole,     NoteLabel::kAdditionalAuthors, NoteLabel::kShelves,
    NoteLabel::kTags,           NoteLabel::kSubjects,          NoteLabel::kCollections,
    NoteLabel::kSeries,         NoteLabel::kPublication,       NoteLabel::kPages,
    NoteLabel::kFirstPublished, NoteLabel::kLanguages,         NoteLabel::kSummary,
    NoteLabel::kFromWhere,      NoteLabel::kOwnedCopies,       NoteLabel::kConditionDescription,
    NoteLabel::kBcid,           NoteLabel::kRecommendedFor,    NoteLabel::kRecommendedBy,
    NoteLabel::kDateStarted,    NoteLabel::kDateRead,          NoteLabel::kReadCount,
    NoteLabel::kComments,       NoteLabel::kSpoiler,           NoteLabel::kReview,
};

std::size_t rankOf(std::string_view label) {
    for (std::size_t i = 0; i < kLabels.size(); ++i) {
        if (kLabels[i] == label) return i;
    }
    return kLabels.size();
}

constexpr std::string_view kLineBreak = "\r\n";

// The label `line` starts with ("Review: ..."), or empty.
std::string_view labelOf(std::string_view line) {
    for (std::string_view label : kLabels) {
        if (line.size() >= label.size() + 2 && line.starts_with(label) &&
            line.substr(label.size(), 2) == ": ") {
            return label;
        }
    }
    return {};
}

bool startsWithIgnoringCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
        if (lower(text[i]) != prefix[i]) return false;
    }
    return true;
}

}  // namespace

void ContentsNote::add(std::string_view label, std::string_view value) {
    if (!value.empty()) parts_.emplace_back(std::string(label), std::string(value));
}

std::string ContentsNote::text() const {
    return textWithout({});
}

std::string ContentsNote::textWithout(std::initializer_list<std::string_view> carried) const {
    auto parts = parts_;
    std::stable_sort(parts.begin(), parts.end(), [](const auto& a, const auto& b) {
        return rankOf(a.first) < rankOf(b.first);
    });
    std::string note = privateText_;
    for (const auto& [label, value] : parts) {
        if (std::find(carried.begin(), carried.end(), label) != carried.end()) continue;
        if (!note.empty()) note += kLineBreak;
        note += label + ": " + value;
    }
    return note;
}

ContentsNote ContentsNote::read(std::string_view note) {
    ContentsNote result;
    std::string* current = &result.privateText_;
    bool firstLineOfCurrent = true;
    std::size_t start = 0;
    while (start <= note.size()) {
        std::size_t end = note.find(kLineBreak, start);
        if (end == std::string_view::npos) end = note.size();
        const std::string_view line = note.substr(start, end - start);
        if (const std::string_view label = labelOf(line); !label.empty()) {
            result.parts_.emplace_back(std::string(label),
                                       std::string(line.substr(label.size() + 2)));
            current = &result.parts_.back().second;
        } else {
            if (!firstLineOfCurrent || current != &result.privateText_) *current += kLineBreak;
            *current += line;
        }
        firstLineOfCurrent = false;
        start = end + kLineBreak.size();
    }
    return result;
}

std::string ContentsNote::value(std::string_view label) const {
    for (const auto& [each, value] : parts_) {
        if (each == label) return value;
    }
    return {};
}

std::string lineBreaksFromExport(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        if (text[i] == '<' && startsWithIgnoringCase(text.substr(i), "<br")) {
            const std::size_t close = text.find('>', i);
            const std::string_view inside =
                close == std::string_view::npos ? "" : text.substr(i + 3, close - i - 3);
            if (close != std::string_view::npos &&
                inside.find_first_not_of(" /") == std::string_view::npos) {
                out += kLineBreak;
                i = close + 1;
                continue;
            }
        }
        if (text[i] == '\r' || text[i] == '\n') {
            out += kLineBreak;
            i += text.substr(i, 2) == kLineBreak ? 2 : 1;
            continue;
        }
        out.push_back(text[i++]);
    }
    return out;
}

std::string lineBreaksAsHtml(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text.substr(i, 2) == kLineBreak) {
            out += "<br/>";
            ++i;
        } else if (text[i] == '\n' || text[i] == '\r') {
            out += "<br/>";
        } else {
            out.push_back(text[i]);
        }
    }
    return out;
}

}  // namespace quillery::exchange
