// The contents note of an imported book: the user's own private note first, as it stands,
// then one labelled part for each value the catalogue has no field for ("Review: ...",
// "Shelves: ..."), each on lines of its own and always in the order of the labels below, so a
// note that went out through any export comes back the same. Line breaks are CR LF, as the
// note window keeps them. The same layout read back gives the parts again for an export.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quillery::exchange {

// The labels of the parts, as they read in the note.
namespace NoteLabel {
inline constexpr std::string_view kAuthorRole = "Author's role";
inline constexpr std::string_view kAdditionalAuthors = "Additional authors";
inline constexpr std::string_view kShelves = "Shelves";
inline constexpr std::string_view kTags = "Tags";
inline constexpr std::string_view kSubjects = "Subjects";
inline constexpr std::string_view kCollections = "Collections";
inline constexpr std::string_view kSeries = "Series";
inline constexpr std::string_view kPublication = "Publication";
inline constexpr std::string_view kPages = "Pages";
inline constexpr std::string_view kFirstPublished = "First published";
inline constexpr std::string_view kLanguages = "Languages";
inline constexpr std::string_view kSummary = "Summary";
inline constexpr std::string_view kFromWhere = "From where";
inline constexpr std::string_view kOwnedCopies = "Owned copies";
inline constexpr std::string_view kConditionDescription = "Condition description";
inline constexpr std::string_view kBcid = "BCID";
inline constexpr std::string_view kRecommendedFor = "Recommended for";
inline constexpr std::string_view kRecommendedBy = "Recommended by";
inline constexpr std::string_view kDateStarted = "Date started";
inline constexpr std::string_view kDateRead = "Date read";
inline constexpr std::string_view kReadCount = "Read count";
inline constexpr std::string_view kComments = "Comments";
inline constexpr std::string_view kSpoiler = "Spoiler";
inline constexpr std::string_view kReview = "Review";
}  // namespace NoteLabel

class ContentsNote {
  public:
    // The private note that opens the note, unlabelled.
    void setPrivateText(std::string_view text) { privateText_ = text; }
    // Adds a part; an empty value adds nothing.
    void add(std::string_view label, std::string_view value);

    // The note, UTF-8, parts in the order of their labels.
    std::string text() const;
    // The private text and every part whose label is not among `carried` (the labels an
    // export has columns of its own for), for an export's one free-text column.
    std::string textWithout(std::initializer_list<std::string_view> carried) const;

    // The parts of `note` under the known labels above; what comes before the first of them is
    // the private text.
    static ContentsNote read(std::string_view note);
    const std::string& privateText() const { return privateText_; }
    // The value of `label`; empty when the note has no such part.
    std::string value(std::string_view label) const;

  private:
    std::string privateText_;
    std::vector<std::pair<std::string, std::string>> parts_;
};

// Line breaks of an exported value (HTML <br> in any of its forms, LF, CR LF) as CR LF.
std::string lineBreaksFromExport(std::string_view text);
// CR LF line breaks as "<br/>", so a value takes one line of an export file.
std::string lineBreaksAsHtml(std::string_view text);

}  // namespace quillery::exchange
