// The PDF file a print job writes. The pages go to a temporary file beside the target, and the
// target is replaced only once the whole file is known to be written: a failed job leaves no
// broken PDF and the earlier file as it was. A target that is a protected file (the catalogue
// being printed, by device and inode, whatever the name), a folder or a device is refused, and
// so is an existing file that is not a PDF unless replacing it was asked for.
#pragma once

#include <sys/types.h>
#include <string>
#include <vector>

namespace quillery::report {

class PdfOutput {
  public:
    PdfOutput() = default;
    ~PdfOutput();  // removes the temporary file if the output was not committed
    PdfOutput(const PdfOutput&) = delete;
    PdfOutput& operator=(const PdfOutput&) = delete;

    // Output may never go to `path` (nor to another name of the same file).
    void protect(const std::string& path);
    // An existing file that is not a PDF may be replaced.
    void allowReplacingAnyFile(bool allow) { replaceAny_ = allow; }

    // Whether `target` may be written: false, with failure() set, when it is a protected
    // file, a folder, or an existing file that is not a PDF and may not be replaced.
    bool mayWrite(const std::string& target);
    // Checks `target` as mayWrite does and makes the temporary file beside it.
    bool begin(const std::string& target);
    // The file the job writes until commit.
    const std::string& temporaryName() const { return temporary_; }
    // Checks that the temporary file holds a whole PDF, flushes it to the disk and renames it
    // onto the target. On failure the temporary file is removed and failure() says why.
    bool commit();
    // Removes the temporary file; the target is left as it was.
    void abandon();
    // Records that `step` of the job failed ("page 3 could not be started"): commit then
    // refuses. The failure names the system's reason when one is known, else the step.
    void failStep(const std::string& step);

    const std::string& target() const { return target_; }
    // mayWrite refused the target only because it is a file that is not a PDF.
    bool refusedAsNotPdf() const { return notPdf_ && !replaceAny_; }
    const std::string& failure() const { return failure_; }

  private:
    bool fail(const std::string& reason);
    // Why writing the temporary file failed, as far as the system tells: empty if unknown.
    std::string systemReason() const;

    struct FileId {
        dev_t device;
        ino_t inode;
    };
    std::vector<FileId> protected_;
    bool replaceAny_ = false;
    bool notPdf_ = false;
    std::string target_;
    std::string temporary_;
    int signalHandle_ = -1;
    mode_t mode_ = 0;
    std::string failure_;
};

// Whether the file at `path` begins as a PDF does.
bool looksLikePdf(const std::string& path);

}  // namespace quillery::report
