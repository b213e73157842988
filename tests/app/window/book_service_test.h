// The main window's tests that look books up: the program pointed at a book service of our own
// on the loopback address, which knows the books of serveTheLibrary().
#pragma once

#include "tests/app/book_service_server.h"
#include "tests/app/window/main_window_support.h"

namespace quillery::testing {

class BookServiceTest : public MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        server_.serveTheLibrary();
        qputenv("QUILLERY_LOOKUP_URL", server_.address().toUtf8());
    }
    void TearDown() override {
        qunsetenv("QUILLERY_LOOKUP_URL");
        MainWindowTest::TearDown();
    }
    BookServiceServer server_;
};

}  // namespace quillery::testing
