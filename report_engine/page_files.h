// The page image files of a report. Each report keeps its pages in a private folder of its own
// inside the temporary folder (report_engine/report_options.h; made with mode 0700, locked while
// the report lives), so pages of one run are never mixed with another's and never reached through a
// link. The files and the folder are removed when the report is disposed of, when the program ends
// (a fatal error included) and when SIGINT, SIGTERM or SIGHUP ends it; the folders of runs that
// ended any other way are removed by the next run.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quillery::report {

// Page image files are named "QRPxxxx.TMP" (four hex digits) in the report's page folder,
// which is named "qpages-" and six random characters.
inline constexpr char kPageFilePrefix[] = "QRP";
inline constexpr char kPageFileExtension[] = ".TMP";
inline constexpr char kPageFolderPrefix[] = "qpages-";

class PageFiles {
  public:
    PageFiles();
    ~PageFiles();
    PageFiles(const PageFiles&) = delete;
    PageFiles& operator=(const PageFiles&) = delete;

    // Writes `bytes` to the next page file and returns its full name. A name longer than
    // `longestName` is not used (whoever keeps the name could not hold it whole). On failure
    // nothing is left behind, the error is posted as the current error (the operating system's
    // error, or 45 for a name too long) with the file's or folder's name, failure() says what
    // went wrong in words, and nothing is returned.
    std::optional<std::string> write(const std::vector<std::uint8_t>& bytes,
                                     std::size_t longestName);

    // Deletes every file written, last first, then the folder.
    void deleteAll();

    const std::vector<std::string>& names() const { return names_; }
    // The last failure of write, naming the file or folder and the reason; empty if none.
    const std::string& failure() const { return failure_; }

  private:
    bool makeFolder();
    std::nullopt_t fail(int osError, const std::string& what, const std::string& name);

    std::string folder_;
    int folderFd_ = -1;
    int signalHandle_ = -1;
    unsigned nextNumber_ = 1;
    std::vector<std::string> names_;
    std::string failure_;
};

// Removes the page folders in the temporary folder that belong to runs which have ended without
// removing them (killed, or the machine stopped). Folders of running programs are left alone.
void removeAbandonedPageFolders();

}  // namespace quillery::report
