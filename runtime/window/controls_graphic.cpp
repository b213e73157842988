// Controls that mostly show things: tool bars, group frames, boxes, lines, progress bars and
// image controls.
#include <QFrame>
#include <QGroupBox>
#include <QPainter>
#include <QProgressBar>
#include <QScrollArea>

#include "runtime/window/control.h"
#include "runtime/window/picture_files.h"
#include "runtime/window/screen_text.h"
#include "runtime/window/use_format.h"
#include "runtime/window/window_impl.h"

namespace quillery {
namespace {

QColor colorOf(std::int32_t rgb) {
    return QColor::fromRgb(static_cast<QRgb>(rgb));
}

class ToolbarControl final : public Control {
  public:
    using Control::Control;
    void build() override {
        auto* strip = new QFrame(window_.frame());
        strip->setFrameShape(QFrame::StyledPanel);
        strip->setFixedHeight(
            window_.units().toPixelsY(at_.height > 0 ? at_.height : kDefaultToolbarHeight));
        widget_ = strip;
        adopt(strip);
    }
};

// A group without a caption is a plain frame on the window's own background, where styles
// would shade its inside.
class GroupFrame final : public QGroupBox {
  public:
    using QGroupBox::QGroupBox;

  protected:
    void paintEvent(QPaintEvent* event) override {
        if (!title().isEmpty()) {
            QGroupBox::paintEvent(event);
            return;
        }
        QPainter painter(this);
        painter.setPen(palette().color(QPalette::Mid));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
};

class GroupControl final : public Control {
  public:
    using Control::Control;
    void build() override {
        box_ = new GroupFrame(toScreen(text_), parentWidget());
        widget_ = box_;
        adopt(box_);
    }
    void setText(const std::string& text) override {
        text_ = text;
        box_->setTitle(toScreen(text));
    }

  private:
    QGroupBox* box_ = nullptr;
};

// A rectangle with a border and a fill, both optional.
class BoxWidget final : public QWidget {
  public:
    using QWidget::QWidget;
    std::int32_t border = kNoColor;
    std::int32_t fill = kNoColor;

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        if (fill != kNoColor) painter.fillRect(rect(), colorOf(fill));
        if (border != kNoColor) {
            painter.setPen(colorOf(border));
            painter.drawRect(rect().adjusted(0, 0, -1, -1));
        }
    }
};

class BoxControl final : public Control {
  public:
    using Control::Control;
    void build() override {
        box_ = new BoxWidget(parentWidget());
        box_->border = layout_.color == kNoColor ? 0x000000 : layout_.color;
        box_->fill = layout_.fill;
        widget_ = box_;
        adopt(box_);
    }
    bool setProp(Prop prop, int index, const PropValue& value) override {
        if (prop == Prop::Fill) {
            box_->fill = static_cast<std::int32_t>(value.integer());
            box_->update();
            return true;
        }
        if (prop == Prop::Color) {
            box_->border = static_cast<std::int32_t>(value.integer());
            box_->update();
            return true;
        }
        return Control::setProp(prop, index, value);
    }
    std::optional<PropValue> prop(Prop prop, int index) const override {
        if (prop == Prop::Fill) return PropValue(box_->fill);
        if (prop == Prop::Color) return PropValue(box_->border);
        return Control::prop(prop, index);
    }

  private:
    BoxWidget* box_ = nullptr;
};

class LineControl final : public Control {
  public:
    using Control::Control;
    void build() override {
        auto* line = new QFrame(parentWidget());
        line->setFrameShape(at_.width >= at_.height ? QFrame::HLine : QFrame::VLine);
        line->setFrameShadow(QFrame::Sunken);
        widget_ = line;
        adopt(line);
    }
};

class ProgressControl final : public Control {
  public:
    using Control::Control;
    void build() override {
        bar_ = new QProgressBar(parentWidget());
        bar_->setRange(layout_.low, layout_.high);
        bar_->setValue(layout_.low);
        bar_->setTextVisible(false);
        widget_ = bar_;
        adopt(bar_);
    }
    void display() override {
        if (use_.bound()) bar_->setValue(static_cast<int>(use_.number()));
    }
    bool setProp(Prop prop, int index, const PropValue& value) override {
        const int n = static_cast<int>(value.integer());
        switch (prop) {
            case Prop::Progress:
                bar_->setValue(n);
                return true;
            case Prop::RangeLow:
                bar_->setMinimum(n);
                return true;
            case Prop::RangeHigh:
                bar_->setMaximum(n);
                return true;
            default:
                return Control::setProp(prop, index, value);
        }
    }
    std::optional<PropValue> prop(Prop prop, int index) const override {
        switch (prop) {
            case Prop::Progress:
                return PropValue(bar_->value());
            case Prop::RangeLow:
                return PropValue(bar_->minimum());
            case Prop::RangeHigh:
                return PropValue(bar_->maximum());
            default:
                return Control::prop(prop, index);
        }
    }

  private:
    QProgressBar* bar_ = nullptr;
};

// Draws a picture fitted to its size.
class PictureView final : public QWidget {
  public:
    using QWidget::QWidget;
    std::shared_ptr<const PictureSource> picture;
    QColor background;

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        if (background.isValid()) painter.fillRect(rect(), background);
        if (picture) picture->paint(painter, QRectF(rect()));
    }
};

// An image control: the picture stretched over the control, or drawn at a size of its own
// inside scroll bars.
class ImageControl final : public Control {
  public:
    using Control::Control;

    void build() override {
        area_ = new QScrollArea(parentWidget());
        area_->setFrameShape(QFrame::NoFrame);
        area_->setWidgetResizable(true);
        area_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        view_ = new PictureView;
        area_->setWidget(view_);
        setScroll(Qt::Horizontal, layout_.flags & ControlFlag::kHScroll);
        setScroll(Qt::Vertical, layout_.flags & ControlFlag::kVScroll);
        widget_ = area_;
        adopt(area_);
        adopt(view_);
        view_->setProperty(kFieldProperty, field());
        if (!text_.empty())
            setText(text_);
        else if (!icon_.empty())
            setText(icon_);
    }

    void place() override {
        Control::place();
        if (at_.width <= 0 || at_.height <= 0) {
            const QSize natural = view_->picture ? view_->picture->naturalSize() : QSize();
            QRect r = area_->geometry();
            if (at_.width <= 0) r.setWidth(natural.width());
            if (at_.height <= 0) r.setHeight(natural.height());
            area_->setGeometry(r);
        }
    }

    void setText(const std::string& name) override {
        text_ = name;
        // A picture that cannot be had shows nothing; the program goes on.
        view_->picture = loadPicture(name);
        view_->update();
        place();
    }
    void setIcon(const std::string& name) override { setText(name); }

    bool setProp(Prop prop, int index, const PropValue& value) override {
        const int n = static_cast<int>(value.integer());
        switch (prop) {
            case Prop::PictureWidth:
                pictureSize_.setWidth(n);
                applyPictureSize();
                return true;
            case Prop::PictureHeight:
                pictureSize_.setHeight(n);
                applyPictureSize();
                return true;
            case Prop::HScroll:
                setScroll(Qt::Horizontal, n != 0);
                return true;
            case Prop::VScroll:
                setScroll(Qt::Vertical, n != 0);
                return true;
            case Prop::Fill:
                view_->background = n < 0 ? QColor() : colorOf(n);
                view_->update();
                return true;
            default:
                return Control::setProp(prop, index, value);
        }
    }
    std::optional<PropValue> prop(Prop prop, int index) const override {
        const DialogUnits& du = window_.units();
        const QSize natural = view_->picture ? view_->picture->naturalSize() : QSize(0, 0);
        switch (prop) {
            case Prop::ImageWidth:
                return PropValue(du.toUnitsX(natural.width()));
            case Prop::ImageHeight:
                return PropValue(du.toUnitsY(natural.height()));
            case Prop::PictureWidth:
                return PropValue(pictureSize_.width());
            case Prop::PictureHeight:
                return PropValue(pictureSize_.height());
            default:
                return Control::prop(prop, index);
        }
    }

  private:
    void setScroll(Qt::Orientation orientation, bool on) {
        const auto policy = on ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff;
        if (orientation == Qt::Horizontal)
            area_->setHorizontalScrollBarPolicy(policy);
        else
            area_->setVerticalScrollBarPolicy(policy);
    }

    void applyPictureSize() {
        const DialogUnits& du = window_.units();
        if (pictureSize_.width() > 0 && pictureSize_.height() > 0) {
            area_->setWidgetResizable(false);
            view_->resize(du.toPixelsX(pictureSize_.width()), du.toPixelsY(pictureSize_.height()));
        } else {
            area_->setWidgetResizable(true);
        }
    }

    QScrollArea* area_ = nullptr;
    PictureView* view_ = nullptr;
    QSize pictureSize_{0, 0};
};

// Report bands have nothing to show in a window.
class BandControl final : public Control {
  public:
    using Control::Control;
    void build() override {}
};

}  // namespace

std::unique_ptr<Control> makeGraphicControl(WindowImpl& window, const ControlLayout& layout,
                                            UseVariable use) {
    switch (layout.kind) {
        case ControlKind::Toolbar:
            return std::make_unique<ToolbarControl>(window, layout, use);
        case ControlKind::Group:
            return std::make_unique<GroupControl>(window, layout, use);
        case ControlKind::Box:
            return std::make_unique<BoxControl>(window, layout, use);
        case ControlKind::Line:
            return std::make_unique<LineControl>(window, layout, use);
        case ControlKind::Progress:
            return std::make_unique<ProgressControl>(window, layout, use);
        case ControlKind::Image:
            return std::make_unique<ImageControl>(window, layout, use);
        default:
            return std::make_unique<BandControl>(window, layout, use);
    }
}

}  // namespace quillery
