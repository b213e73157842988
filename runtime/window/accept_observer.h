// A hook into the accept loop for scripted sessions: told each time a loop is about to wait
// for its window's next event, so it can play the next user action into the real widgets. It is
// installed through the window engine's options (runtime/window/window_options.h).
#pragma once

namespace quillery {

class Window;

class AcceptObserver {
  public:
    virtual ~AcceptObserver() = default;
    // The loop of `window` has no event to deliver. The observer acts (or throws to stop the
    // program under test); the loop then looks again.
    virtual void waiting(Window& window) = 0;
};

}  // namespace quillery
