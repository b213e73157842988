// OPEN, CLOSE, the accept loop and the queries about its current event.
//
// Each window whose loop has run has a frame holding its current event. Leaving a loop with
// break leaves its frame behind (the event stays current, as the statement after the loop may
// still ask for it); the frame goes when the window closes, or when an outer window's loop
// runs again.
#include <QCoreApplication>
#include <algorithm>

#include "runtime/window/accept_observer.h"
#include "runtime/window/window.h"
#include "runtime/window/window_errors.h"
#include "runtime/window/window_impl.h"
#include "runtime/window/window_options.h"

namespace quillery {
namespace {

struct LoopFrame {
    Window* window;
    PendingEvent current;
};

struct LoopState {
    std::vector<LoopFrame> frames;
    std::vector<Window*> activeOrder;  // open windows, the current one last
    int keyCode = 0;
};

LoopState& state() {
    static LoopState s;
    return s;
}

const PendingEvent* currentEvent() {
    auto& frames = state().frames;
    return frames.empty() ? nullptr : &frames.back().current;
}

void dropFramesFrom(Window* window) {
    auto& frames = state().frames;
    auto it = std::find_if(frames.begin(), frames.end(),
                           [window](const LoopFrame& f) { return f.window == window; });
    frames.erase(it, frames.end());
}

void makeCurrent(Window* window) {
    auto& order = state().activeOrder;
    order.erase(std::remove(order.begin(), order.end(), window), order.end());
    order.push_back(window);
}

void forget(Window* window) {
    auto& order = state().activeOrder;
    order.erase(std::remove(order.begin(), order.end(), window), order.end());
    dropFramesFrom(window);
}

LoopFrame& frameFor(Window* window) {
    auto& frames = state().frames;
    auto it = std::find_if(frames.begin(), frames.end(),
                           [window](const LoopFrame& f) { return f.window == window; });
    if (it == frames.end()) {
        frames.push_back(LoopFrame{window, {}});
        return frames.back();
    }
    // Loops nested inside this one have ended.
    frames.erase(it + 1, frames.end());
    return frames.back();
}

}  // namespace

Window* currentWindow() {
    auto& order = state().activeOrder;
    return order.empty() ? nullptr : order.back();
}

void OPEN(Window& window) {
    window.impl().open();
    makeCurrent(&window);
}

void CLOSE(Window& window) {
    window.impl().close();
    forget(&window);
    // The window underneath takes the keyboard again; on a desktop without a window manager
    // nothing else would give it back.
    if (Window* below = currentWindow(); below != nullptr && below->isOpen())
        below->widget()->activateWindow();
}

// Called by ~Window.
void forgetWindow(Window* window) {
    forget(window);
}

bool ACCEPT(Window& window) {
    WindowImpl& impl = window.impl();
    if (impl.state() == WindowImpl::State::Created) {
        fatalWindowError(WindowError::kAcceptNeedsWindow);
    }
    LoopFrame* frame = &frameFor(&window);
    auto leave = [&] {
        dropFramesFrom(&window);
        return false;
    };
    if (!impl.isOpen() || impl.closeDelivered) return leave();
    makeCurrent(&window);
    frame->current = {};
    while (!impl.hasEvent()) {
        impl.refreshLists();
        if (!impl.isOpen()) return leave();
        if (AcceptObserver* observer = windowOptions().acceptObserver) {
            observer->waiting(window);
            QCoreApplication::processEvents();
            frame = &frameFor(&window);
            continue;
        }
        QEventLoop loop;
        impl.setWaiting(&loop);
        loop.exec();
        impl.setWaiting(nullptr);
        frame = &frameFor(&window);
    }
    if (!impl.isOpen()) return leave();
    frame->current = impl.takeEvent();
    if (frame->current.event == EVENT::CloseWindow) impl.closeDelivered = true;
    if (frame->current.key != 0) state().keyCode = frame->current.key;
    return true;
}

bool ACCEPT() {
    Window* window = currentWindow();
    if (window == nullptr) fatalWindowError(WindowError::kAcceptNeedsWindow);
    return ACCEPT(*window);
}

void refuseClose() {
    if (Window* window = currentWindow()) window->impl().closeDelivered = false;
}

EventCode EVENT() {
    const PendingEvent* event = currentEvent();
    return event ? event->event : EVENT::None;
}

int FIELD() {
    const PendingEvent* event = currentEvent();
    return event ? event->field : 0;
}

int ACCEPTED() {
    const PendingEvent* event = currentEvent();
    return event && event->event == EVENT::Accepted ? event->field : 0;
}

int KEYCODE() {
    return state().keyCode;
}

void SETKEYCODE(int key) {
    state().keyCode = key;
}

RejectReason REJECTCODE() {
    const PendingEvent* event = currentEvent();
    return event && event->event == EVENT::Rejected ? event->reason : RejectReason::None;
}

int CHOICE(int field) {
    Window* window = currentWindow();
    if (window == nullptr) return 0;
    if (field == 0) field = FIELD();
    const Control* control = window->impl().control(field);
    return control ? control->choice() : 0;
}

}  // namespace quillery
