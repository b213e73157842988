// `print --pages DIR`: the listing's page image files copied into a folder as page-0001.wmf,
// page-0002.wmf, ... The folder then holds this listing's pages alone: page files of an earlier
// run are all replaced, a folder holding any other file is refused before anything is written,
// and the pages written are removed again when the command fails.
#pragma once

#include <string>
#include <vector>

namespace quillery {

class PageFolderCopy {
  public:
    explicit PageFolderCopy(std::string folder) : folder_(std::move(folder)) {}

    // Makes the folder when missing, or checks that it holds only page files. False, with
    // failure() set, when it cannot be used.
    bool prepare();
    // Removes the earlier page files, then copies `pages` in page order. On failure the pages
    // written are removed again and failure() names the file and the reason.
    bool copy(const std::vector<std::string>& pages);
    // Removes the pages copy() wrote.
    void removeWritten();

    const std::string& failure() const { return failure_; }

  private:
    bool fail(const std::string& what, const std::string& path, int osError);

    std::string folder_;
    std::vector<std::string> earlierPages_;
    std::vector<std::string> written_;
    std::string failure_;
};

// "page-0001.wmf" for page 1.
std::string pageCopyName(std::size_t page);
// Whether `name` is a page file name pageCopyName gives.
bool isPageCopyName(const std::string& name);

}  // namespace quillery
