// Test helpers for the main window at work: catalogues written and read back through the
// storage engine, beside the window that has them open, and the usual script steps.
#pragma once

#include <gtest/gtest.h>

#include <QDir>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTreeView>
#include <string>
#include <vector>

#include "app/build_keys.h"
#include "app/catalogue_globals.h"
#include "app/quillery_file.h"
#include "app/quillery_record.h"
#include "app/tools/catalogue_store.h"
#include "app/window/main_window_layout.h"
#include "app/window/program_start.h"
#include "runtime/dates.h"
#include "runtime/errors.h"
#include "runtime/runtime_options.h"
#include "runtime/window/message_box.h"
#include "runtime/window/testing/test_driver.h"
#include "runtime/window/window.h"
#include "storage/access_mode.h"
#include "storage/file_statements.h"

namespace quillery::testing {

inline constexpr char kMainWindow[] = "DISPLAYQUILLERY$QUICKWINDOW";
inline constexpr char kSplash[] = "BOOKSPLASH$WINDOW";

// The folder where tests leave screenshots for people to look at.
inline QString outputDirectory() {
    QString dir = qEnvironmentVariable("QUILLERY_TEST_OUTPUT");
    if (dir.isEmpty()) dir = QDir::tempPath() + "/quillery-test-output";
    QDir().mkpath(dir);
    return dir;
}

// The splash shows first, at every start; its timer running out lets the main window on.
inline script::Action dismissSplash() {
    return script::timer(1).in(kSplash);
}

// A book entry with its derived keys formed.
inline QuilleryRecord book(std::string_view last, std::string_view first, std::string_view title,
                           std::string_view category = {}) {
    QuilleryRecord r;
    r.LASTNAME = last;
    r.FIRSTNAME = first;
    r.TITLE = title;
    r.CATEGORY = category;
    r.setCREATED({80000, 100});
    r.setCHANGED({80000, 100});
    BUILDKEYS(r);
    return r;
}

// A record as the file holds it, with its position.
struct StoredRecord {
    std::int32_t position = 0;
    QuilleryRecord record;
    std::string title() const { return record.TITLE.str(); }
    bool current() const { return record.DELETED == 0; }
};

// Writes a catalogue holding a blank header record and `entries`, in that order.
inline void writeCatalogue(const std::string& path, const std::vector<QuilleryRecord>& entries) {
    auto store = tools::makeCatalogueStore();
    ASSERT_TRUE(store->create(path).ok()) << path;
    ASSERT_TRUE(store->begin().ok());
    QuilleryRecord header;
    header.setCREATED({80000, 1});
    ASSERT_TRUE(store->add(header).ok());
    for (const QuilleryRecord& r : entries)
        ASSERT_TRUE(store->add(r).ok());
    ASSERT_TRUE(store->commit().ok());
    store->close();
}

// Every record of the catalogue `path` in file order, header included. It reads through a
// declaration of its own, so it works while the main window has the catalogue open.
inline std::vector<StoredRecord> fileRecords(const std::string& path) {
    std::vector<StoredRecord> records;
    COPYFILE = path;
    OPEN(QUILLERYCOPY,
         storage::AccessMode::kDenyNone);  // read only, sharing with the window's open
    EXPECT_EQ(errorCode(), 0) << errorText();
    SET(QUILLERYCOPY);
    for (NEXT(QUILLERYCOPY); errorCode() == 0; NEXT(QUILLERYCOPY))
        records.push_back({static_cast<std::int32_t>(POSITION(QUILLERYCOPY)), COPYRECORD});
    CLOSE(QUILLERYCOPY);
    return records;
}

// The titles of the current entries (the header record left out), in file order.
inline std::vector<std::string> currentTitles(const std::string& path) {
    std::vector<std::string> titles;
    const std::vector<StoredRecord> records = fileRecords(path);
    for (std::size_t i = 1; i < records.size(); ++i)
        if (records[i].current()) titles.push_back(records[i].title());
    return titles;
}

// The structural and key check quillery-data runs; empty when the file is sound.
inline std::vector<std::string> catalogueFaults(const std::string& path) {
    auto store = tools::makeCatalogueStore();
    std::vector<std::string> faults;
    if (!store->open(path, tools::StoreAccess::kReadOnly).ok()) return {"cannot open " + path};
    (void)store->check(faults);
    store->close();
    return faults;
}

// The rows the entry list shows, as the user sees them.
inline std::vector<std::string> listedRows(Window& window) {
    DISPLAY(displayquillery::BOOKLIST);
    auto* view = qobject_cast<QTreeView*>(window.controlWidget(displayquillery::BOOKLIST));
    std::vector<std::string> rows;
    if (view == nullptr) return rows;
    for (int i = 0; i < view->model()->rowCount(); ++i)
        rows.push_back(view->model()->index(i, 0).data().toString().toStdString());
    return rows;
}

// The text of the list's selected row; empty when none is selected.
inline std::string selectedRow() {
    return PROP(displayquillery::BOOKLIST, Prop::Text).text();
}

// The texts of the sheet's tabs as shown, left to right, and the selected one.
inline std::vector<std::string> tabTexts(Window& window) {
    std::vector<std::string> texts;
    auto* bar = window.controlWidget(displayquillery::SHEET)->findChild<QTabBar*>();
    for (int i = 0; bar != nullptr && i < bar->count(); ++i)
        if (bar->isTabVisible(i)) texts.push_back(bar->tabText(i).toStdString());
    return texts;
}
inline std::string selectedTab(Window& window) {
    auto* bar = window.controlWidget(displayquillery::SHEET)->findChild<QTabBar*>();
    return bar == nullptr ? std::string() : bar->tabText(bar->currentIndex()).toStdString();
}

inline bool disabled(int field) {
    return PROP(field, Prop::Disable).number() != 0;
}

// Each test works in a folder of its own, the program's current folder.
class MainWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(folder_.isValid());
        previous_ = QDir::currentPath();
        QDir::setCurrent(folder_.path());
        initialiseGlobals();  // as the program starts
    }
    void TearDown() override { QDir::setCurrent(previous_); }

    std::string path(const std::string& name) const {
        return (folder_.path() + "/" + QString::fromStdString(name)).toStdString();
    }

  private:
    QTemporaryDir folder_;
    QString previous_;
};

}  // namespace quillery::testing

namespace quillery::testing {

// A clock that shows `at` until moved on: stamps written by the window are then known.
class SteppedClock {
  public:
    SteppedClock() : scope_(showingAt()) {}
    LocalDateTime at{2026, 12, 8, 10, 0, 0, 0};
    QuilleryStamp stamp() const { return {TODAY(), CLOCK()}; }

  private:
    RuntimeOptions showingAt() {
        RuntimeOptions options = runtimeOptions();
        options.clock = [this] { return at; };
        return options;
    }

    ScopedRuntimeOptions scope_;
};

}  // namespace quillery::testing
