// Reports: composing printed bands into pages, kept as page image files in preview mode or sent
// to the printer.
#include "report_engine/report.h"

#include <QFile>

#include "report_engine/core/metafile_reader.h"
#include "report_engine/metafile_player.h"
#include "report_engine/report_impl.h"
#include "runtime/errors.h"
#include "runtime/queue.h"
#include "runtime/window/window_errors.h"

namespace quillery {

using namespace report;

namespace {

bool isBand(ControlKind kind) {
    return kind == ControlKind::Detail || kind == ControlKind::Header ||
           kind == ControlKind::Footer || kind == ControlKind::Form;
}

BandBox boxOf(const ControlLayout& band) {
    BandBox box;
    box.width = band.at.width;
    box.height = band.at.height;
    box.keepWithNext = band.flags & ControlFlag::kKeepWithNext;
    box.keepEnd = band.flags & ControlFlag::kKeepEnd;
    box.noVerticalSpace = band.flags & ControlFlag::kNoVerticalSpace;
    box.across = band.flags & ControlFlag::kAcross;
    return box;
}

}  // namespace

ReportImpl::ReportImpl(const WindowLayout& layout, std::vector<UseVariable> uses)
    : layout_(layout), uses_(std::move(uses)) {
    registerPageImagePictures();
    for (const ControlLayout& control : layout.controls) {
        if (isBand(control.kind)) {
            bands_.push_back(Band{&control, {}});
        } else if (!bands_.empty()) {
            bands_.back().controls.push_back(&control);
            if (control.use > 0) bands_.back().constant = false;
        }
    }
}

ReportImpl::~ReportImpl() {
    close();
}

const ReportImpl::Band* ReportImpl::bandOf(ControlKind kind, int field) const {
    for (const Band& band : bands_) {
        if (band.band->kind == kind && (field == 0 || band.band->field == field)) return &band;
    }
    return nullptr;
}

BandPicture ReportImpl::render(const Band* band) {
    if (!band) return {};
    return renderBand(band->controls, BandContext{uses_, layout_.font, pictures_});
}

ReportImpl::SharedPicture ReportImpl::renderShared(const Band* band) {
    if (!band || !band->constant) return std::make_shared<const BandPicture>(render(band));
    SharedPicture& kept = constantBands_[band];
    if (!kept) kept = std::make_shared<const BandPicture>(render(band));
    return kept;
}

void ReportImpl::open() {
    if (open_) fatalWindowError(ReportError::kAlreadyOpen);
    open_ = true;
    pageError_ = 0;
    printFailed_ = false;
    failure_.clear();
    printer_ = std::make_unique<ReportPrinter>(pdfFile_);
    for (const std::string& path : protectedFiles_)
        printer_->protectFile(path);
    printer_->allowReplacingAnyFile(replaceAnyFile_);
    geometry_ = printer_->geometry();
    composer_ = std::make_unique<PageComposer>(layout_.at.width, layout_.at.height, *this);
    if (!geometry_.valid()) {
        postError(ReportError::kPrinterDevice);
        failPages(ReportError::kPrinterDevice, "no printer can be used");
    }
}

void ReportImpl::failPages(int code, const std::string& why) {
    if (pageError_ != 0) return;
    pageError_ = code;
    failure_ = why;
}

void ReportImpl::failPrint(const std::string& why) {
    printFailed_ = true;
    if (failure_.empty()) failure_ = why;
}

void ReportImpl::print(int field) {
    if (!open_) fatalWindowError(WindowError::kNotOpen);
    const Band* band = bandOf(ControlKind::Detail, field);
    if (!band || pageError_ != 0) return;
    const int token = nextToken_++;
    printed_[token] =
        Printed{band->band->flags, render(band), renderShared(bandOf(ControlKind::Header)),
                renderShared(bandOf(ControlKind::Footer))};
    composer_->add(token, boxOf(*band->band));
}

void ReportImpl::endPage() {
    if (!open_) fatalWindowError(WindowError::kNotOpen);
    if (pageError_ == 0) composer_->endPage();
}

void ReportImpl::draw(const BandPicture& picture, const ControlLayout& at) {
    drawBand(picture, at.at.x, at.at.y, pageCount() + 1, geometry_, *page_);
}

void ReportImpl::beginPage(int firstToken) {
    page_ = std::make_unique<MetafileWriter>(geometry_.width(), geometry_.height());
    const auto first = printed_.find(firstToken);
    if (first == printed_.end() || (first->second.flags & ControlFlag::kSuppressHeaderFooter))
        return;
    if (const Band* form = bandOf(ControlKind::Form)) {
        if (!form_) form_ = render(form);  // the same on every page
        draw(*form_, *form->band);
    }
    if (const Band* header = bandOf(ControlKind::Header); header && first->second.header)
        draw(*first->second.header, *header->band);
}

void ReportImpl::placeBand(int token, int x, int y) {
    auto found = printed_.find(token);
    if (found == printed_.end()) return;
    drawBand(found->second.detail, layout_.at.x + x, layout_.at.y + y, pageCount() + 1, geometry_,
             *page_);
    pageFooter_ = std::move(found->second.footer);
    lastFlags_ = found->second.flags;
    printed_.erase(found);
}

void ReportImpl::endPage(int) {
    const Band* footer = bandOf(ControlKind::Footer);
    if (footer && pageFooter_ && !(lastFlags_ & ControlFlag::kSuppressHeaderFooter))
        draw(*pageFooter_, *footer->band);
    const bool tooLarge = page_->recordTooLarge();
    const std::vector<std::uint8_t> image = pageImageBytes(geometry_.width(), geometry_.height(),
                                                           geometry_.unitsPerInch, page_->finish());
    page_.reset();
    // A record too large for a page image is left out; the rest of the page is kept.
    if (tooLarge) postError(ReportError::kRecordTooLarge);
    if (previewOn())
        keepPageImage(image);
    else
        printPage(image);
}

void ReportImpl::keepPageImage(const std::vector<std::uint8_t>& pageImage) {
    const auto name = files_.write(pageImage, preview_.field.size);
    if (!name) {
        failPages(errorCode(), files_.failure());
        return;
    }
    preview_.field.setText(*name);
    ADD(*preview_.queue);
}

bool ReportImpl::startPrintJob() {
    if (printer_->jobStarted()) return true;
    if (printFailed_) return false;
    if (!geometry_.valid() || !printer_->startJob(QString::fromStdString(documentName_))) {
        failPrint(printer_->failure());
        postError(ReportError::kPrinterDevice);
        return false;
    }
    return true;
}

void ReportImpl::printPage(const std::vector<std::uint8_t>& pageImage) {
    if (!startPrintJob()) return;
    auto page = readPageImage(pageImage);
    QPainter& painter = printer_->startPage();
    if (page) playPageImage(painter, *page, printableAreaTarget(page->header));
}

QRectF ReportImpl::printableAreaTarget(const PlaceableHeader& header) const {
    // Shifted by the negative margins: the page's printable area lands on the printer's.
    const double scale =
        static_cast<double>(geometry_.unitsPerInch) / std::max<int>(1, header.unitsPerInch);
    return QRectF(-geometry_.marginLeft, -geometry_.marginTop, header.width() * scale,
                  header.height() * scale);
}

void ReportImpl::setPreview(const PreviewQueue& queue) {
    preview_ = queue;
    previewing_ = queue.queue != nullptr && queue.field.bound();
}

void ReportImpl::flush() {
    previewing_ = false;
    Queue* queue = preview_.queue;
    if (!queue || !open_) return;
    while (RECORDS(*queue) > 0) {
        GET(*queue, 1);
        auto page = loadPageImageFile(QFile::decodeName(preview_.field.text().c_str()).trimmed());
        if (page && startPrintJob())
            playPageImage(printer_->startPage(), *page, printableAreaTarget(page->header));
        DELETE(*queue);
    }
}

void ReportImpl::close() {
    if (printer_ && printer_->jobStarted() && !printer_->endJob()) failPrint(printer_->failure());
    printer_.reset();
    files_.deleteAll();
    preview_ = PreviewQueue{};
    previewing_ = false;
    composer_.reset();
    page_.reset();
    printed_.clear();
    form_.reset();
    constantBands_.clear();
    pageFooter_.reset();
    open_ = false;
}

Report::Report(const WindowLayout& layout, std::initializer_list<UseVariable> uses)
    : Report(layout, std::vector<UseVariable>(uses)) {}

Report::Report(const WindowLayout& layout, std::vector<UseVariable> uses)
    : impl_(std::make_unique<ReportImpl>(layout, std::move(uses))) {}

Report::~Report() = default;

std::string Report::name() const {
    return impl_->name();
}
bool Report::isOpen() const {
    return impl_->isOpen();
}
void Report::printToFile(const QString& path) {
    impl_->setPdfFile(path);
}
int Report::pageCount() const {
    return impl_->pageCount();
}
int Report::pageError() const {
    return impl_->pageError();
}
bool Report::printFailed() const {
    return impl_->printFailed();
}
std::string Report::failure() const {
    return impl_->failure();
}
void Report::protectFile(const std::string& path) {
    impl_->protectFile(path);
}
void Report::allowReplacingAnyFile(bool allow) {
    impl_->allowReplacingAnyFile(allow);
}

void OPEN(Report& report) {
    report.impl().open();
}
void PRINT(Report& report, int band) {
    report.impl().print(band);
}
void ENDPAGE(Report& report) {
    report.impl().endPage();
}
void CLOSE(Report& report) {
    report.impl().close();
}

void PRINT(Window&, int) {
    fatalWindowError(ReportError::kPrintNeedsReport);
}
void ENDPAGE(Window&) {
    fatalWindowError(ReportError::kEndPageNeedsReport);
}
void POST(Report&, EventCode, int) {
    fatalWindowError(ReportError::kEventPostedToReport);
}

ReportPropertyRef& ReportPropertyRef::operator=(const PropValue& value) {
    ReportImpl& impl = report_.impl();
    switch (prop_) {
        case ReportProp::Text:
            impl.setDocumentName(value.text());
            break;
        case ReportProp::Flush:
            if (value.number() != 0) impl.flush();
            break;
        case ReportProp::Preview:
            break;  // takes a queue and its field
    }
    return *this;
}

ReportPropertyRef& ReportPropertyRef::operator=(const PreviewQueue& queue) {
    if (prop_ == ReportProp::Preview) report_.impl().setPreview(queue);
    return *this;
}

PropValue ReportPropertyRef::get() const {
    const ReportImpl& impl = report_.impl();
    switch (prop_) {
        case ReportProp::Text:
            return PropValue(impl.documentName());
        case ReportProp::Flush:
            return PropValue(impl.previewOn() ? 0 : 1);
        case ReportProp::Preview:
            return PropValue(impl.previewOn() ? 1 : 0);
    }
    return {};
}

ReportPropertyRef PROP(Report& report, ReportProp prop) {
    return ReportPropertyRef(report, prop);
}

}  // namespace quillery
