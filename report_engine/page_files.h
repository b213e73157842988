// The page image files of a report: each created new in the system's temporary folder (never
// an existing name, never through a link), and all deleted, last created first, when the
// report is disposed of or the program ends, a fatal error included.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quillery::report {

// Page image files are named "QRPxxxx.TMP" (four hex digits) in the temporary folder.
inline constexpr char kPageFilePrefix[] = "QRP";
inline constexpr char kPageFileExtension[] = ".TMP";

class PageFiles {
  public:
    PageFiles();
    ~PageFiles();
    PageFiles(const PageFiles&) = delete;
    PageFiles& operator=(const PageFiles&) = delete;

    // Writes `bytes` to a new file and returns its full name. A name longer than
    // `longestName` is not used (whoever keeps the name could not hold it whole). On failure
    // nothing is left behind, the error is posted as the current error (the operating system's
    // error, or 45 for a name too long) with the file's name, and nothing is returned.
    std::optional<std::string> write(const std::vector<std::uint8_t>& bytes,
                                     std::size_t longestName);

    // Deletes every file written, last first.
    void deleteAll();

    const std::vector<std::string>& names() const { return names_; }

  private:
    std::vector<std::string> names_;
};

}  // namespace quillery::report
