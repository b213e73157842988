// The state of one report: its bands, the printer and page, the composition in progress, the
// page image files it created and the preview binding.
#pragma once

#include <QRectF>
#include <QString>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "report_engine/band_drawing.h"
#include "report_engine/core/metafile_writer.h"
#include "report_engine/core/page_composer.h"
#include "report_engine/core/page_geometry.h"
#include "report_engine/page_files.h"
#include "report_engine/report.h"
#include "report_engine/report_printer.h"

namespace quillery {

class ReportImpl final : public report::PageSink {
  public:
    ReportImpl(const WindowLayout& layout, std::vector<UseVariable> uses);
    ~ReportImpl() override;

    std::string name() const { return layout_.name(); }
    bool isOpen() const { return open_; }

    void open();
    void print(int band);
    void endPage();
    void close();

    void setPdfFile(const QString& path) { pdfFile_ = path; }
    void protectFile(const std::string& path) { protectedFiles_.push_back(path); }
    void allowReplacingAnyFile(bool allow) { replaceAnyFile_ = allow; }
    void setDocumentName(std::string name) { documentName_ = std::move(name); }
    const std::string& documentName() const { return documentName_; }
    void setPreview(const PreviewQueue& queue);
    bool previewOn() const { return preview_.queue != nullptr && previewing_; }
    // Turns preview mode off and prints the pages its queue lists.
    void flush();

    int pageCount() const { return composer_ ? composer_->pagesEnded() : 0; }
    int pageError() const { return pageError_; }
    bool printFailed() const { return printFailed_; }
    const std::string& failure() const { return failure_; }

    // PageSink.
    void beginPage(int firstToken) override;
    void placeBand(int token, int x, int y) override;
    void endPage(int lastToken) override;

  private:
    struct Band {
        const ControlLayout* band = nullptr;
        std::vector<const ControlLayout*> controls;
        // No control shows a use variable: the band looks the same whenever it is rendered.
        bool constant = true;
    };
    using SharedPicture = std::shared_ptr<const report::BandPicture>;
    // A band as PRINT received it, with the header and footer as they stood then.
    struct Printed {
        unsigned flags = 0;
        report::BandPicture detail;
        SharedPicture header;
        SharedPicture footer;
    };

    const Band* bandOf(ControlKind kind, int field = 0) const;
    report::BandPicture render(const Band* band);
    // The header or footer as it stands now; a constant one is rendered once and shared.
    SharedPicture renderShared(const Band* band);
    void draw(const report::BandPicture& picture, const ControlLayout& at);
    bool startPrintJob();
    // Where a page image goes on a printer page: the printer's painter counts from the corner
    // of its printable area.
    QRectF printableAreaTarget(const report::PlaceableHeader& header) const;
    void printPage(const std::vector<std::uint8_t>& pageImage);
    void keepPageImage(const std::vector<std::uint8_t>& pageImage);
    void failPages(int code, const std::string& why);
    void failPrint(const std::string& why);

    const WindowLayout& layout_;
    std::vector<UseVariable> uses_;
    std::vector<Band> bands_;
    report::PictureCache pictures_;

    bool open_ = false;
    QString pdfFile_;
    std::vector<std::string> protectedFiles_;
    bool replaceAnyFile_ = false;
    std::string documentName_;
    std::unique_ptr<ReportPrinter> printer_;
    report::PageGeometry geometry_;
    std::unique_ptr<report::PageComposer> composer_;
    std::unique_ptr<report::MetafileWriter> page_;
    std::optional<report::BandPicture> form_;
    std::map<int, Printed> printed_;  // by token, until placed
    int nextToken_ = 1;
    SharedPicture pageFooter_;
    std::map<const Band*, SharedPicture> constantBands_;
    unsigned lastFlags_ = 0;

    PreviewQueue preview_;
    bool previewing_ = false;
    report::PageFiles files_;
    int pageError_ = 0;
    bool printFailed_ = false;
    std::string failure_;
};

}  // namespace quillery
