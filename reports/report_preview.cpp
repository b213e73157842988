// The report preview: a grid of thumbnails or one page zoomed, and the loop that answers its
// menus, tool bar and fields. Only the pages shown are loaded, so paging through a long listing
// costs the same as through a short one.
#include "reports/report_preview.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>
#include <string>

#include "reports/jump_to_page.h"
#include "reports/preview_layout.h"
#include "reports/select_display.h"
#include "runtime/window/window.h"
#include "support/request_globals.h"

namespace quillery {

namespace R = reportpreview;

namespace {

constexpr int kZoomCursor = 32515;
constexpr int kMinimumWidth = 315;
constexpr int kCellGap = 3;
constexpr std::int32_t kWhite = 0xFFFFFF;
constexpr std::int32_t kBlack = 0x000000;

constexpr char kPopupText[] = "-No Zoom|-|-Page Width|-50%|-75%|-100%|-200%|-300%";
// Where each item's mark stands in kPopupText, counting from 0.
constexpr int kPopupMarks[] = {0, 11, 23, 28, 33, 39, 45};

std::string pagesText(std::int32_t first, std::int32_t last, std::int32_t count) {
    if (first == last) return "Page " + std::to_string(first) + " of " + std::to_string(count);
    return "Pages " + std::to_string(first) + "-" + std::to_string(last) + " of " +
           std::to_string(count);
}

class Preview {
  public:
    explicit Preview(PageImageQueue& pages) : pages_(pages) {}
    void run();

  private:
    bool zoomed() const { return !ZOOMNOZOOM; }
    bool* zoomFlag(int n) {  // n from 0: No Zoom ... 300 %
        bool* flags[] = {&ZOOMNOZOOM, &ZOOMPAGEWIDTH, &ZOOM50, &ZOOM75,
                         &ZOOM100,    &ZOOM200,       &ZOOM300};
        return flags[n];
    }
    // The zoom flags from 0, No Zoom, to 6, 300 %.
    static constexpr int kNoZoom = 0;
    static constexpr int kPageWidth = 1;
    // Shows the pages at zoom `n` alone: the grid for kNoZoom, else one page.
    void zoomTo(int n);
    void accepted(int field);
    void alertKey(int field);
    void zoomPopup();
    void rejected(int field);
    void CLEARZOOMVALUES();
    void GETNEXTPAGE();
    void GETPREVPAGE();
    void CHANGEDISPLAY();
    void CREATETHUMBNAILS();
    void DESTROYTHUMBNAILS();
    void POSITIONTHUMBNAILS();
    void FILLTHUMBNAILS();
    void CREATEZOOMCONTROL();
    void DESTROYZOOMCONTROL();
    void CONFIGUREZOOMRATIO();
    void FILLZOOMCONTROL();

    PageImageQueue& pages_;
    std::int32_t CURRENTPAGE = 1;
    std::int32_t PAGESACROSS = 1;
    std::int32_t PAGESDOWN = 1;
    std::int32_t DISPLAYEDPAGESACROSS = 0;
    std::int32_t DISPLAYEDPAGESDOWN = 0;
    bool ZOOMNOZOOM = false;
    bool ZOOMPAGEWIDTH = false;
    bool ZOOM50 = false;
    bool ZOOM75 = false;
    bool ZOOM100 = false;
    bool ZOOM200 = false;
    bool ZOOM300 = false;
    double ZOOMRATIO = 1;
    std::int32_t IMAGECOUNT = 0;
    std::int32_t IMAGEWIDTH = 0;
    std::int32_t IMAGEHEIGHT = 0;
    double IMAGEASPECTRATIO = 1;
    std::int32_t THUMBNAILSPRESENT = 0;
    bool ZOOMPRESENT = false;
    bool print_ = false;
    bool done_ = false;
};

// The preview lies over the window it was opened from, at that window's size, so the pages
// have room; opened from no window, it takes most of the screen.
void placePreview(QWidget& preview, const Window* owner) {
    constexpr double kShareOfScreen = 0.85;
    const QWidget* ownerWidget = owner != nullptr ? owner->widget() : nullptr;
    QScreen* screen = ownerWidget != nullptr && ownerWidget->screen() != nullptr
                          ? ownerWidget->screen()
                          : QGuiApplication::primaryScreen();
    if (screen == nullptr) return;
    const QRect available = screen->availableGeometry();
    QRect area;
    if (ownerWidget != nullptr && ownerWidget->isVisible()) {
        area = ownerWidget->geometry().intersected(available);
    } else {
        area = QRect(QPoint(), (QSizeF(available.size()) * kShareOfScreen).toSize());
        area.moveCenter(available.center());
    }
    if (area.width() >= preview.minimumWidth() && area.height() > 0) preview.setGeometry(area);
}

void Preview::run() {
    Window* owner = currentWindow();
    Window window(kPreviewLayout, {use(CURRENTPAGE), use(PAGESACROSS), use(PAGESDOWN),
                                   use(ZOOMNOZOOM), use(ZOOMPAGEWIDTH), use(ZOOM50), use(ZOOM75),
                                   use(ZOOM100), use(ZOOM200), use(ZOOM300)});
    if (QWidget* preview = window.widget()) placePreview(*preview, owner);
    OPEN(window);
    PROP(0, Prop::MinWidth) = kMinimumWidth;
    CREATE(R::kMeasureImage, ControlKind::Image);
    PROP(R::kMeasureImage, Prop::Text) = pages_.pageFile(1);
    IMAGEWIDTH = std::max(1, static_cast<int>(PROP(R::kMeasureImage, Prop::ImageWidth)));
    IMAGEHEIGHT = std::max(1, static_cast<int>(PROP(R::kMeasureImage, Prop::ImageHeight)));
    IMAGEASPECTRATIO = static_cast<double>(IMAGEHEIGHT) / IMAGEWIDTH;
    DESTROY(R::kMeasureImage);
    IMAGECOUNT = static_cast<std::int32_t>(pages_.pageCount());
    if (IMAGECOUNT == 1) {
        DISABLE(R::CURRENTPAGE, R::PAGESDOWN);
        DISABLE(R::VIEWMENU);
    } else {
        PROP(R::CURRENTPAGE, Prop::RangeHigh) = IMAGECOUNT;
        PROP(R::CURRENTPAGE, Prop::Tip) =
            "Enter a page number from 1 to " + std::to_string(IMAGECOUNT);
    }
    ALERT(0, KEY::PgUp);
    ALERT(0, KEY::PgDn);
    zoomTo(kNoZoom);
    while (!done_ && ACCEPT(window)) {
        const int field = FIELD();
        switch (EVENT()) {
            case EVENT::Accepted:
                accepted(field);
                break;
            case EVENT::NewSelection:
                if (field == R::CURRENTPAGE) {
                    CHANGEDISPLAY();
                } else if (field == R::PAGESACROSS || field == R::PAGESDOWN) {
                    zoomTo(kNoZoom);  // a new grid size shows the grid
                }
                break;
            case EVENT::Rejected:
                rejected(field);
                break;
            case EVENT::AlertKey:
                alertKey(field);
                break;
            case EVENT::Sized:
                CHANGEDISPLAY();
                break;
            default:
                break;
        }
    }
    CLOSE(window);
    GLOBALRESPONSE = print_ ? RequestCompleted : RequestCancelled;
}

void Preview::accepted(int field) {
    switch (field) {
        case R::PRINT:
        case R::PRINTBUTTON:
            print_ = true;
            done_ = true;
            break;
        case R::EXIT:
        case R::EXITBUTTON:
            done_ = true;
            break;
        case R::NEXT:
            GETNEXTPAGE();
            CHANGEDISPLAY();
            break;
        case R::PREVIOUS:
            GETPREVPAGE();
            CHANGEDISPLAY();
            break;
        case R::JUMP:
            CURRENTPAGE = PREVIEW_JUMPTOPAGE(CURRENTPAGE, IMAGECOUNT);
            CHANGEDISPLAY();
            break;
        case R::CHANGEDISPLAY:
            PREVIEW_SELECTDISPLAY(PAGESACROSS, PAGESDOWN);
            CHANGEDISPLAY();
            break;
        case R::ZOOMBUTTON:
            zoomPopup();
            break;
        case R::CURRENTPAGE:
            CHANGEDISPLAY();
            break;
        case R::PAGESACROSS:
        case R::PAGESDOWN:
            zoomTo(kNoZoom);  // a typed grid size counts as a new one, as the arrows' does
            break;
        default:
            if (field >= R::ZOOMNOZOOM && field <= R::ZOOM300) zoomTo(field - R::ZOOMNOZOOM);
            break;
    }
}

void Preview::alertKey(int field) {
    if (KEYCODE() == KEY::PgUp) {
        POST(EVENT::Accepted, R::PREVIOUS);
    } else if (KEYCODE() == KEY::PgDn) {
        POST(EVENT::Accepted, R::NEXT);
    } else if (KEYCODE() == KEY::MouseLeft && field == R::kZoomImage) {
        zoomTo(kNoZoom);
    } else if (KEYCODE() == KEY::MouseLeft && field >= R::kFirstCellImage &&
               field < R::kFirstCellImage + THUMBNAILSPRESENT) {
        CURRENTPAGE += field - R::kFirstCellImage;
        zoomTo(kPageWidth);
    }
}

void Preview::zoomTo(int n) {
    CLEARZOOMVALUES();
    *zoomFlag(n) = true;
    CHANGEDISPLAY();
}

void Preview::zoomPopup() {
    std::string text = kPopupText;
    for (int n = 0; n < 7; ++n) {
        if (*zoomFlag(n)) text[static_cast<std::size_t>(kPopupMarks[n])] = '+';
    }
    const int chosen = POPUP(text);
    if (chosen < 1 || chosen > 7) return;
    zoomTo(chosen - 1);
}

void Preview::rejected(int field) {
    std::int32_t* value = field == R::CURRENTPAGE   ? &CURRENTPAGE
                          : field == R::PAGESACROSS ? &PAGESACROSS
                          : field == R::PAGESDOWN   ? &PAGESDOWN
                                                    : nullptr;
    if (!value) return;
    *value = REJECTCODE() == RejectReason::AboveRange
                 ? static_cast<int>(PROP(field, Prop::RangeHigh))
                 : static_cast<int>(PROP(field, Prop::RangeLow));
    CHANGEDISPLAY();
}

void Preview::CLEARZOOMVALUES() {
    for (int n = 0; n < 7; ++n)
        *zoomFlag(n) = false;
}

void Preview::GETNEXTPAGE() {
    if (!zoomed()) {
        if (CURRENTPAGE + THUMBNAILSPRESENT <= IMAGECOUNT) CURRENTPAGE += THUMBNAILSPRESENT;
    } else if (CURRENTPAGE < IMAGECOUNT) {
        ++CURRENTPAGE;
    }
}

void Preview::GETPREVPAGE() {
    if (!zoomed()) {
        CURRENTPAGE = std::max(1, CURRENTPAGE - THUMBNAILSPRESENT);
    } else if (CURRENTPAGE > 1) {
        --CURRENTPAGE;
    }
}

void Preview::CHANGEDISPLAY() {
    if (!zoomed()) {
        if (ZOOMPRESENT) DESTROYZOOMCONTROL();
        if (PAGESACROSS != DISPLAYEDPAGESACROSS || PAGESDOWN != DISPLAYEDPAGESDOWN) {
            if (THUMBNAILSPRESENT > 0) DESTROYTHUMBNAILS();
            CREATETHUMBNAILS();
            DISPLAYEDPAGESACROSS = PAGESACROSS;
            DISPLAYEDPAGESDOWN = PAGESDOWN;
        }
        POSITIONTHUMBNAILS();
        FILLTHUMBNAILS();
        PROP(0, Prop::StatusText, 3) = "No Zoom";
    } else {
        if (THUMBNAILSPRESENT > 0) DESTROYTHUMBNAILS();
        if (!ZOOMPRESENT) CREATEZOOMCONTROL();
        FILLZOOMCONTROL();
        DISPLAYEDPAGESACROSS = 0;
        DISPLAYEDPAGESDOWN = 0;
    }
    DISPLAY(R::ZOOMNOZOOM, R::ZOOM300);
    DISPLAY(R::CURRENTPAGE, R::PAGESDOWN);
}

void Preview::CREATETHUMBNAILS() {
    const std::int32_t THUMBNAILSREQUIRED = PAGESACROSS * PAGESDOWN;
    for (int k = 0; k < THUMBNAILSREQUIRED; ++k) {
        CREATE(R::kFirstCellBox + k, ControlKind::Box);
        CREATE(R::kFirstCellImage + k, ControlKind::Image);
    }
    THUMBNAILSPRESENT = THUMBNAILSREQUIRED;
}

void Preview::DESTROYTHUMBNAILS() {
    HIDE(R::kFirstCellBox, R::kLastCellControl);
    DESTROY(R::kFirstCellBox, R::kLastCellControl);
    THUMBNAILSPRESENT = 0;
}

void Preview::POSITIONTHUMBNAILS() {
    const int TOTALXSEPARATION = (PAGESACROSS - 1) * kCellGap + 2;
    const int TOTALYSEPARATION = (PAGESDOWN - 1) * kCellGap + 2;
    const int width = PROP(0, Prop::Width);
    const int height = PROP(0, Prop::Height);
    int THUMBNAILWIDTH = std::max(1, (width - TOTALXSEPARATION) / PAGESACROSS);
    int THUMBNAILHEIGHT =
        std::max(1, (height - kPreviewToolbarHeight - TOTALYSEPARATION) / PAGESDOWN);
    const double THUMBNAILASPECTRATIO = static_cast<double>(THUMBNAILHEIGHT) / THUMBNAILWIDTH;
    if (IMAGEASPECTRATIO > THUMBNAILASPECTRATIO)
        THUMBNAILWIDTH = static_cast<int>(THUMBNAILHEIGHT / IMAGEASPECTRATIO);
    else
        THUMBNAILHEIGHT = static_cast<int>(THUMBNAILWIDTH * IMAGEASPECTRATIO);
    for (int k = 0; k < THUMBNAILSPRESENT; ++k) {
        const int column = k % PAGESACROSS;
        const int row = k / PAGESACROSS;
        const int x = 1 + column * (THUMBNAILWIDTH + kCellGap);
        const int y = 1 + row * (THUMBNAILHEIGHT + kCellGap);
        for (const int control : {R::kFirstCellBox + k, R::kFirstCellImage + k}) {
            PROP(control, Prop::X) = x;
            PROP(control, Prop::Y) = y;
            PROP(control, Prop::Width) = THUMBNAILWIDTH;
            PROP(control, Prop::Height) = THUMBNAILHEIGHT;
        }
        PROP(R::kFirstCellBox + k, Prop::Color) = kBlack;
        PROP(R::kFirstCellBox + k, Prop::Fill) = kWhite;
        PROP(R::kFirstCellImage + k, Prop::Cursor) = kZoomCursor;
        ALERT(R::kFirstCellImage + k, KEY::MouseLeft);
    }
}

void Preview::FILLTHUMBNAILS() {
    for (int k = 0; k < THUMBNAILSPRESENT; ++k) {
        const std::int32_t PROCESSEDPAGE = CURRENTPAGE + k;
        const int box = R::kFirstCellBox + k;
        const int image = R::kFirstCellImage + k;
        if (PROCESSEDPAGE <= IMAGECOUNT) {
            PROP(image, Prop::Text) = pages_.pageFile(static_cast<std::size_t>(PROCESSEDPAGE));
            UNHIDE(box);
            UNHIDE(image);
        } else {
            HIDE(box);
            HIDE(image);
        }
    }
    if (IMAGECOUNT > 1) {
        if (CURRENTPAGE == 1)
            DISABLE(R::PREVIOUS);
        else
            ENABLE(R::PREVIOUS);
        if (CURRENTPAGE + THUMBNAILSPRESENT > IMAGECOUNT)
            DISABLE(R::NEXT);
        else
            ENABLE(R::NEXT);
    }
    const std::int32_t last = THUMBNAILSPRESENT > 1
                                  ? std::min(CURRENTPAGE + THUMBNAILSPRESENT - 1, IMAGECOUNT)
                                  : CURRENTPAGE;
    PROP(0, Prop::StatusText, 2) = pagesText(CURRENTPAGE, last, IMAGECOUNT);
}

void Preview::CREATEZOOMCONTROL() {
    CREATE(R::kZoomImage, ControlKind::Image);
    PROP(R::kZoomImage, Prop::X) = 0;
    PROP(R::kZoomImage, Prop::Y) = 0;
    PROP(R::kZoomImage, Prop::Width) = static_cast<int>(PROP(0, Prop::Width));
    PROP(R::kZoomImage, Prop::Height) =
        std::max(1, static_cast<int>(PROP(0, Prop::Height)) - kPreviewToolbarHeight);
    PROP(R::kZoomImage, Prop::HScroll) = 1;
    PROP(R::kZoomImage, Prop::VScroll) = 1;
    PROP(R::kZoomImage, Prop::Fill) = kWhite;
    PROP(R::kZoomImage, Prop::Cursor) = kZoomCursor;
    ALERT(R::kZoomImage, KEY::MouseLeft);
    UNHIDE(R::kZoomImage);
    ZOOMPRESENT = true;
}

void Preview::DESTROYZOOMCONTROL() {
    HIDE(R::kZoomImage);
    DESTROY(R::kZoomImage);
    ZOOMPRESENT = false;
}

void Preview::CONFIGUREZOOMRATIO() {
    struct Zoom {
        bool* flag;
        double ratio;
        const char* text;
    };
    const Zoom zooms[] = {{&ZOOM50, 0.5, "Zoom (50%)"},
                          {&ZOOM75, 0.75, "Zoom (75%)"},
                          {&ZOOM100, 1.0, "Zoom (100%)"},
                          {&ZOOM200, 2.0, "Zoom (200%)"},
                          {&ZOOM300, 3.0, "Zoom (300%)"}};
    if (ZOOMPAGEWIDTH) {
        ZOOMRATIO = static_cast<double>(static_cast<int>(PROP(0, Prop::Width))) / IMAGEWIDTH;
        PROP(R::kZoomImage, Prop::HScroll) = 0;
        PROP(0, Prop::StatusText, 3) = "Zoom (Page Width)";
        return;
    }
    for (const Zoom& zoom : zooms) {
        if (!*zoom.flag) continue;
        ZOOMRATIO = zoom.ratio;
        PROP(R::kZoomImage, Prop::HScroll) = 1;
        PROP(0, Prop::StatusText, 3) = zoom.text;
    }
}

void Preview::FILLZOOMCONTROL() {
    CONFIGUREZOOMRATIO();
    PROP(R::kZoomImage, Prop::Text) = pages_.pageFile(static_cast<std::size_t>(CURRENTPAGE));
    PROP(0, Prop::StatusText, 2) = pagesText(CURRENTPAGE, CURRENTPAGE, IMAGECOUNT);
    PROP(R::kZoomImage, Prop::PictureWidth) = static_cast<int>(IMAGEWIDTH * ZOOMRATIO);
    PROP(R::kZoomImage, Prop::PictureHeight) = static_cast<int>(IMAGEHEIGHT * ZOOMRATIO);
}

}  // namespace

void REPORTPREVIEW(PageImageQueue& pages) {
    Preview(pages).run();
}

}  // namespace quillery
