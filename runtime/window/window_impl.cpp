// The window's widgets, controls, event queue and timer.
#include "runtime/window/window_impl.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScreen>
#include <QStatusBar>
#include <QVBoxLayout>
#include <algorithm>

#include "runtime/errors.h"
#include "runtime/fatal.h"
#include "runtime/window/picture_files.h"
#include "runtime/window/screen_text.h"
#include "runtime/window/window_errors.h"
#include "runtime/window/window_options.h"

namespace quillery {
namespace {

// The client area: absolute placement of controls, sized from the layout.
class ClientArea final : public QWidget {
  public:
    explicit ClientArea(QSize hint) : hint_(hint) {}
    QSize sizeHint() const override { return hint_; }

  private:
    QSize hint_;
};

}  // namespace

int keyCodeOf(int qtKey, Qt::KeyboardModifiers modifiers) {
    int code = 0;
    switch (qtKey) {
        case Qt::Key_Tab:
            code = KEY::Tab;
            break;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            code = KEY::Enter;
            break;
        case Qt::Key_Escape:
            code = KEY::Esc;
            break;
        case Qt::Key_Space:
            code = KEY::Space;
            break;
        case Qt::Key_PageUp:
            code = KEY::PgUp;
            break;
        case Qt::Key_PageDown:
            code = KEY::PgDn;
            break;
        case Qt::Key_End:
            code = KEY::End;
            break;
        case Qt::Key_Home:
            code = KEY::Home;
            break;
        case Qt::Key_Left:
            code = KEY::Left;
            break;
        case Qt::Key_Up:
            code = KEY::Up;
            break;
        case Qt::Key_Right:
            code = KEY::Right;
            break;
        case Qt::Key_Down:
            code = KEY::Down;
            break;
        case Qt::Key_Insert:
            code = KEY::Insert;
            break;
        case Qt::Key_Delete:
            code = KEY::Delete;
            break;
        default:
            if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F12) {
                code = KEY::F1 + (qtKey - Qt::Key_F1);
            } else if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) ||
                       (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)) {
                code = qtKey;  // the letters and digits keep their ASCII codes
            }
    }
    if (code == 0) return 0;
    if (modifiers & Qt::ShiftModifier) code |= KEY::Shift;
    if (modifiers & Qt::ControlModifier) code |= KEY::Ctrl;
    if (modifiers & Qt::AltModifier) code |= KEY::Alt;
    return code;
}

WindowFrame::WindowFrame(WindowImpl& window) : window_(window), routes_(window) {}

bool WindowFrame::event(QEvent* event) {
    if (window_.isOpen() && routes_.handle(event)) return true;
    return QMainWindow::event(event);
}

void WindowFrame::closeEvent(QCloseEvent* event) {
    // The program decides: the close box only asks, through EVENT:CloseWindow.
    event->ignore();
    if (window_.isOpen()) window_.post(EVENT::CloseWindow, 0);
}

void WindowFrame::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    if (window_.isOpen() && isVisible()) window_.post(EVENT::Sized, 0);
}

void WindowFrame::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && window_.isOpen()) {
        window_.post(isActiveWindow() ? EVENT::GainFocus : EVENT::LoseFocus, 0);
    }
}

bool WindowFrame::eventFilter(QObject* watched, QEvent* event) {
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget == nullptr || !window_.isOpen()) return false;
    if (routes_.handle(event)) return true;
    switch (event->type()) {
        case QEvent::KeyPress: {
            const auto* key = static_cast<QKeyEvent*>(event);
            const int code = keyCodeOf(key->key(), key->modifiers());
            return code != 0 && window_.alertInput(widget, code);
        }
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick: {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            const bool twice = event->type() == QEvent::MouseButtonDblClick;
            int code = 0;
            if (mouse->button() == Qt::LeftButton) code = twice ? KEY::MouseLeft2 : KEY::MouseLeft;
            if (mouse->button() == Qt::RightButton)
                code = twice ? KEY::MouseRight2 : KEY::MouseRight;
            return code != 0 && window_.alertInput(widget, code);
        }
        default:
            return false;
    }
}

WindowImpl::WindowImpl(Window& owner, const WindowLayout& layout, std::vector<UseVariable> uses)
    : owner_(owner), layout_(layout), uses_(std::move(uses)) {
    font_ = fontOf(layout_.font.family.empty() ? FontChoice{"MS Sans Serif", 8} : layout_.font,
                   QApplication::font());
    if (layout_.font.points == 0) font_.setPointSize(8);
    units_ = DialogUnits(font_);
    QObject::connect(&timer_, &QTimer::timeout, [this] { post(EVENT::Timer, 0); });
    timerPeriod_ = layout_.timer;
    iconName = toScreen(layout_.icon);
    buildFrame();
}

WindowImpl::~WindowImpl() {
    timer_.stop();
    if (frame_) frame_->hide();
    // Controls look each other up while they go (a tab leaves its sheet): forget the lookup
    // first and take them down in reverse order of creation.
    byField_.clear();
    while (!controls_.empty()) {
        std::unique_ptr<Control> last = std::move(controls_.back());
        controls_.pop_back();
    }
    delete frame_.data();
}

void WindowImpl::buildFrame() {
    frame_ = new WindowFrame(*this);
    frame_->setObjectName(QString::fromStdString(name()));
    frame_->setFont(font_);
    frame_->setWindowTitle(toScreen(layout_.text));
    if (layout_.flags & WindowFlag::kNoCaption) {
        frame_->setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    } else if (layout_.flags & WindowFlag::kDialog) {
        frame_->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                               Qt::WindowCloseButtonHint);
    }
    if (!layout_.icon.empty()) frame_->setWindowIcon(iconOf(layout_.icon));

    auto* column = new QWidget(frame_);
    auto* columnLayout = new QVBoxLayout(column);
    columnLayout->setContentsMargins(0, 0, 0, 0);
    columnLayout->setSpacing(0);
    // The layout's height counts the tool bars; the client area has the rest.
    int toolbarUnits = 0;
    for (const ControlLayout& control : layout_.controls) {
        if (control.kind == ControlKind::Toolbar) {
            toolbarUnits += control.at.height > 0 ? control.at.height : kDefaultToolbarHeight;
        }
    }
    client_ = new ClientArea(
        units_.toPixels(layout_.at.width, std::max(0, layout_.at.height - toolbarUnits)));
    client_->setObjectName("client");
    client_->installEventFilter(frame_);
    QPalette palette = client_->palette();
    if (layout_.fill != kNoColor) {
        palette.setColor(QPalette::Window, QColor::fromRgb(static_cast<QRgb>(layout_.fill)));
    } else if (layout_.flags & WindowFlag::kGrey) {
        palette.setColor(QPalette::Window, QColor(192, 192, 192));
    }
    client_->setPalette(palette);
    client_->setAutoFillBackground(true);
    columnLayout->addWidget(client_, 1);
    frame_->setCentralWidget(column);

    for (const ControlLayout& control : layout_.controls)
        createControl(control);
    // Tool bars go above the client area, in layout order.
    int row = 0;
    for (const auto& control : controls_) {
        if (control->kind() == ControlKind::Toolbar && control->widget() != nullptr) {
            columnLayout->insertWidget(row++, control->widget());
        }
    }
    buildStatusBar();

    const QSize client = client_->sizeHint();
    if (layout_.flags & WindowFlag::kResizable) {
        client_->setMinimumSize(0, 0);
        frame_->resize(frame_->sizeHint().expandedTo(client));
    } else {
        client_->setFixedSize(client);
        frame_->adjustSize();
        frame_->setFixedSize(frame_->sizeHint());
    }
    applyStates();
}

void WindowImpl::buildStatusBar() {
    if (!(layout_.flags & WindowFlag::kStatusBar)) return;
    auto* bar = frame_->statusBar();
    bar->setSizeGripEnabled(layout_.flags & WindowFlag::kResizable);
    std::vector<int> widths(layout_.statusZones.begin(), layout_.statusZones.end());
    if (widths.empty()) widths.push_back(-1);
    for (int width : widths) {
        auto* zone = new QLabel(bar);
        zone->setFrameShape(QFrame::Panel);
        zone->setFrameShadow(QFrame::Sunken);
        if (width < 0) {
            bar->addWidget(zone, 1);
        } else {
            zone->setFixedWidth(units_.toPixelsX(width));
            bar->addWidget(zone);
        }
        zones_.push_back(zone);
    }
}

void WindowImpl::open() {
    if (state_ == State::Open) {
        fatalWindowError(WindowError::kAlreadyOpen);
    }
    // A window opened while another is open belongs to that one's procedure: it is modal.
    if (currentWindow() != nullptr && currentWindow() != &owner_) {
        frame_->setWindowModality(Qt::ApplicationModal);
    }
    displayAll();
    refreshLists();
    applyStates();
    if (layout_.flags & WindowFlag::kCentered) {
        if (QScreen* screen = QGuiApplication::primaryScreen()) {
            QRect area = screen->availableGeometry();
            frame_->move(area.center() - frame_->rect().center());
        }
    }
    state_ = State::Open;
    closeDelivered = false;
    lastFocusField_ = 0;
    queue_.clear();
    post(EVENT::OpenWindow, 0);
    frame_->show();
    frame_->activateWindow();
    applyTimerMode();
}

void WindowImpl::close() {
    if (state_ != State::Open) return;
    // Let pending paint work finish before the window goes.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    state_ = State::Closed;
    timer_.stop();
    frame_->hide();
    queue_.clear();
    if (waiting_ != nullptr) waiting_->quit();
}

Control* WindowImpl::control(int field) const {
    if (field == 0) return nullptr;
    auto it = byField_.find(field);
    return it == byField_.end() ? nullptr : it->second;
}

Control& WindowImpl::createControl(const ControlLayout& layout) {
    UseVariable use;
    if (layout.use > 0 && static_cast<std::size_t>(layout.use) <= uses_.size()) {
        use = uses_[static_cast<std::size_t>(layout.use - 1)];
    }
    if (layout.field != 0) destroyControl(layout.field);
    controls_.push_back(makeControl(*this, layout, use));
    Control& control = *controls_.back();
    if (layout.field != 0) byField_[layout.field] = &control;
    control.build();
    control.place();
    control.applyState();
    return control;
}

void WindowImpl::destroyControl(int field) {
    Control* victim = control(field);
    if (victim == nullptr) return;
    byField_.erase(field);
    // Out of the list first: its destructor may walk the list (a tab leaving its sheet).
    std::unique_ptr<Control> doomed;
    for (auto it = controls_.begin(); it != controls_.end(); ++it) {
        if (it->get() == victim) {
            doomed = std::move(*it);
            controls_.erase(it);
            break;
        }
    }
    doomed.reset();
}

QWidget* WindowImpl::containerFor(int parentField) const {
    for (Control* parent = control(parentField); parent != nullptr;
         parent = control(parent->layout().parent)) {
        if (parent->kind() == ControlKind::Toolbar && parent->widget() != nullptr) {
            return parent->widget();
        }
        if (parent->layout().parent == parent->field()) break;
    }
    return client_;
}

void WindowImpl::applyStates() {
    for (const auto& control : controls_)
        control->applyState();
}

void WindowImpl::displayAll() {
    for (const auto& control : controls_)
        control->display();
}

void WindowImpl::refreshLists() {
    for (const auto& control : controls_)
        control->refresh();
}

namespace {

// The events a user's gesture raises on another control than the one being typed into, or on
// the window as a request to leave it. Focus, timer and size events only report.
bool isGesture(EventCode event) {
    if (event == EVENT::CloseWindow || event == EVENT::CloseDown) return true;
    return isFieldEvent(event) && event != EVENT::Selected;
}

}  // namespace

void WindowImpl::post(EventCode event, int field, int key, RejectReason reason) {
    if (state_ != State::Open) return;
    if (isGesture(event)) settleFocus(isFieldEvent(event) ? field : 0);
    enqueue(event, field, key, reason);
}

void WindowImpl::settleFocus(int exceptField) {
    // The window's focus widget, whether or not the window is active: a click on the close
    // box or on another window's button does not take it away.
    const int field = fieldOf(frame_->focusWidget());
    if (field == 0 || field == exceptField) return;
    if (Control* focused = control(field)) focused->settle();
}

void WindowImpl::enqueue(EventCode event, int field, int key, RejectReason reason) {
    if (state_ != State::Open) return;
    // A timer or a resize that has not been handled yet stands for the later ones too.
    if (event == EVENT::Timer || event == EVENT::Sized) {
        for (const auto& pending : queue_) {
            if (pending.event == event) return;
        }
    }
    queue_.push_back(PendingEvent{event, isFieldEvent(event) ? field : 0, key, reason});
    if (waiting_ != nullptr) waiting_->quit();
}

PendingEvent WindowImpl::takeEvent() {
    PendingEvent event = queue_.front();
    queue_.pop_front();
    return event;
}

void WindowImpl::setTimerPeriod(int hundredths) {
    timerPeriod_ = std::max(0, hundredths);
    applyTimerMode();
}

void WindowImpl::applyTimerMode() {
    if (state_ == State::Open && timerPeriod_ > 0 && !windowOptions().manualTimers) {
        timer_.start(timerPeriod_ * 10);
    } else {
        timer_.stop();
    }
}

void WindowImpl::fireTimer() {
    post(EVENT::Timer, 0);
}

void WindowImpl::focusArrived(int field, Qt::FocusReason reason) {
    const bool returning = reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason;
    if (returning && field == lastFocusField_) return;
    lastFocusField_ = field;
    post(EVENT::Selected, field);
}

int WindowImpl::fieldOf(const QWidget* widget) const {
    for (const QWidget* w = widget; w != nullptr && w != frame_; w = w->parentWidget()) {
        const QVariant tag = w->property(kFieldProperty);
        if (tag.isValid()) return tag.toInt();
    }
    return 0;
}

bool WindowImpl::alertInput(QWidget* source, int key) {
    const int field = fieldOf(source);
    const int plainKey = key & 0xFF;
    auto alerted = [&](const std::set<int>& keys) {
        return keys.count(key) > 0 || keys.count(plainKey) > 0;
    };
    if (Control* c = control(field); c != nullptr && alerted(c->alertKeys())) {
        post(EVENT::AlertKey, field, key);
        return true;
    }
    if (alerted(windowAlerts_)) {
        post(EVENT::AlertKey, field, key);
        return true;
    }
    return false;
}

void WindowImpl::setStatusText(int zone, const QString& text) {
    if (zone < 1 || static_cast<std::size_t>(zone) > zones_.size()) return;
    zones_[static_cast<std::size_t>(zone - 1)]->setText(text);
}

QString WindowImpl::statusText(int zone) const {
    if (zone < 1 || static_cast<std::size_t>(zone) > zones_.size()) return {};
    return zones_[static_cast<std::size_t>(zone - 1)]->text();
}

int WindowImpl::clientWidthUnits() const {
    return units_.toUnitsX(client_->width());
}
int WindowImpl::clientHeightUnits() const {
    // Tool bars stand inside the window's area, as the layouts' sizes count them.
    return units_.toUnitsY(client_->height() + toolbarPixels());
}

int WindowImpl::toolbarPixels() const {
    int pixels = 0;
    for (const auto& control : controls_) {
        if (control->kind() == ControlKind::Toolbar && control->widget() != nullptr &&
            !control->hidden()) {
            pixels += control->widget()->height();
        }
    }
    return pixels;
}

void WindowImpl::resizeClient(int width, int height) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    const QSize frame(frame_->width() - client_->width() + width,
                      frame_->height() - client_->height() + height);
    if (layout_.flags & WindowFlag::kResizable) {
        frame_->resize(frame);
    } else {
        // A fixed window's sizes are pinned at both ends; move the pins with the change.
        client_->setFixedSize(width, height);
        frame_->setFixedSize(frame);
    }
}

void WindowImpl::setMinimumWidthUnits(int units) {
    const int extra = frame_->width() - client_->width();
    frame_->setMinimumWidth(units_.toPixelsX(units) + extra);
}

void WindowImpl::setMinimumHeightUnits(int units) {
    const int extra = frame_->height() - client_->height() - toolbarPixels();
    frame_->setMinimumHeight(units_.toPixelsY(units) + extra);
}

}  // namespace quillery
