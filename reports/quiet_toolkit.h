// The toolkit as a command-line run uses it: drawing offscreen, its own warnings kept off the
// user's terminal (the command says what went wrong in its own words), and nothing of it left
// in the temporary folder.
#pragma once

#include <QApplication>
#include <memory>
#include <string>

namespace quillery {

class QuietToolkit {
  public:
    QuietToolkit();
    ~QuietToolkit();
    QuietToolkit(const QuietToolkit&) = delete;
    QuietToolkit& operator=(const QuietToolkit&) = delete;

  private:
    QtMessageHandler previous_;
    std::string runtimeFolder_;
    int signalHandle_ = -1;
};

// The application object the report engine needs to draw, unless one exists already.
// Requires: a QuietToolkit stands while it lives.
std::unique_ptr<QApplication> applicationIfNeeded();

}  // namespace quillery
