// The engine's side of a window: its widgets, its controls by field number, its event queue
// and timer. Shared by the accept loop, the operations, the controls and the scripted driver.
#pragma once

#include <QEventLoop>
#include <QFont>
#include <QLabel>
#include <QMainWindow>
#include <QPointer>
#include <QTimer>
#include <deque>
#include <map>
#include <memory>
#include <set>
#include <vector>

#include "runtime/window/control.h"
#include "runtime/window/keyboard_routes.h"
#include "runtime/window/window.h"
#include "runtime/window/window_font.h"

namespace quillery {

class WindowImpl;

// One event waiting for the loop body.
struct PendingEvent {
    EventCode event = EVENT::None;
    int field = 0;
    int key = 0;
    RejectReason reason = RejectReason::None;
};

// The top-level widget: turns closing, resizing, activation and alerted input into events.
class WindowFrame final : public QMainWindow {
    Q_OBJECT
  public:
    explicit WindowFrame(WindowImpl& window);

  protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    WindowImpl& window_;
    KeyboardRoutes routes_;
};

class WindowImpl {
  public:
    enum class State { Created, Open, Closed };

    WindowImpl(Window& owner, const WindowLayout& layout, std::vector<UseVariable> uses);
    ~WindowImpl();

    Window& owner() { return owner_; }
    const WindowLayout& layout() const { return layout_; }
    std::string name() const { return layout_.name(); }
    State state() const { return state_; }
    bool isOpen() const { return state_ == State::Open; }

    WindowFrame* frame() const { return frame_; }
    QWidget* client() const { return client_; }
    const QFont& font() const { return font_; }
    const DialogUnits& units() const { return units_; }

    void open();
    void close();

    // Controls.
    Control* control(int field) const;
    const std::vector<std::unique_ptr<Control>>& controls() const { return controls_; }
    Control& createControl(const ControlLayout& layout);
    void destroyControl(int field);
    // The widget a control of `parentField` is placed in: the tool bar's, else the client.
    QWidget* containerFor(int parentField) const;
    // Re-applies shown and enabled states (after a tab change).
    void applyStates();
    void displayAll();
    void refreshLists();

    // Events. A user's gesture on a control, or a request to close, first completes what
    // was typed into the control that has the focus, so its EVENT:Accepted comes first.
    void post(EventCode event, int field, int key = 0, RejectReason reason = RejectReason::None);
    // Queues an event as it stands: the program's own POST.
    void enqueue(EventCode event, int field, int key = 0, RejectReason reason = RejectReason::None);
    // The field number of the control that `widget` belongs to; 0 for none.
    int fieldOf(const QWidget* widget) const;
    // Completes the typing in the focused control unless it is `exceptField`.
    void settleFocus(int exceptField);
    bool hasEvent() const { return !queue_.empty(); }
    PendingEvent takeEvent();
    void setWaiting(QEventLoop* loop) { waiting_ = loop; }
    // Set once EVENT:CloseWindow has reached the loop body; the next ACCEPT ends the loop.
    bool closeDelivered = false;

    // Timer.
    void setTimerPeriod(int hundredths);
    int timerPeriod() const { return timerPeriod_; }
    void fireTimer();
    void applyTimerMode();

    // A control got the keyboard focus: EVENT:Selected, unless the focus only came back with
    // the window to the control that last had it.
    void focusArrived(int field, Qt::FocusReason reason);

    // Input alerts: a key or click on a control whose field (or the window) alerts it.
    std::set<int>& windowAlerts() { return windowAlerts_; }
    bool alertInput(QWidget* source, int key);

    // Status bar zones, from 1.
    void setStatusText(int zone, const QString& text);
    QString statusText(int zone) const;

    // Size in dialog units of the client area.
    int clientWidthUnits() const;
    // Height of the client area and the tool bars above it.
    int clientHeightUnits() const;
    int toolbarPixels() const;
    void setMinimumWidthUnits(int units);
    // Counts the tool bars, as the window's height does.
    void setMinimumHeightUnits(int units);
    // Gives the client area `width` x `height` pixels, the frame following; a program's own
    // size change applies whether or not the user may resize the window.
    void resizeClient(int width, int height);

    QString iconName;

  private:
    void buildFrame();
    void buildStatusBar();

    Window& owner_;
    WindowLayout layout_;
    std::vector<UseVariable> uses_;
    State state_ = State::Created;
    QPointer<WindowFrame> frame_;
    QWidget* client_ = nullptr;
    QFont font_;
    DialogUnits units_;
    std::vector<std::unique_ptr<Control>> controls_;
    std::map<int, Control*> byField_;
    std::deque<PendingEvent> queue_;
    QEventLoop* waiting_ = nullptr;
    QTimer timer_;
    int timerPeriod_ = 0;
    std::set<int> windowAlerts_;
    std::vector<QLabel*> zones_;
    int lastFocusField_ = 0;
};

// Height in dialog units of a tool bar whose layout gives none.
inline constexpr int kDefaultToolbarHeight = 18;

// The widget property naming the field a widget shows.
inline constexpr const char* kFieldProperty = "quilleryField";

// The KEY:: code of a key press; 0 for keys without one.
int keyCodeOf(int qtKey, Qt::KeyboardModifiers modifiers);

}  // namespace quillery
