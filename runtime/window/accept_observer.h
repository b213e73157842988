// A hook into the accept loop for scripted sessions: told each time a loop is about to wait
// for its window's next event, so it can play the next user action into the real widgets.
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

// Installs `observer` (nullptr removes it); returns the one installed before.
AcceptObserver* setAcceptObserver(AcceptObserver* observer);

}  // namespace quillery
