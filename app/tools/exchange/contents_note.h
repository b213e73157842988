// The contents note of an imported book: the user's own private note first, as it stands,
// then one labelled part for each value the catalogue has no field for ("Review: ...",
// "Shelves: ..."), each on lines of its own. Line breaks are CR LF, as the note window keeps
// them. The same layout read back gives the parts again for an export.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quillery::exchange {

// The labels of the parts, as they read in the note.
namespace NoteLabel {
inline constexpr std::string_view kAdditionalAuthors = "Additional authors";
inline constexpr std::string_view kShelves = "Shelves";
inline constexpr std::string_view kTags = "Tags";
inline constexpr std::string_view kCollections = "Collections";
inline constexpr std::string_view kPublication = "Publication";
inline constexpr std::string_view kPages = "Pages";
inline constexpr std::string_view kFirstPublished = "First published";
inline constexpr std::string_view kDateRead = "Date read";
inline constexpr std::string_view kReadCount = "Read count";
inline constexpr std::string_view kComments = "Comments";
inline constexpr std::string_view kReview = "Review";
}  // namespace NoteLabel

class ContentsNote {
  public:
    // The private note that opens the note, unlabelled.
    void setPrivateText(std::string_view text) { privateText_ = text; }
    // Adds a part; an empty value adds nothing.
    void add(std::string_view label, std::string_view value);

    // The note, UTF-8, parts in the order they were added.
    std::string text() const;

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
