// A long session of a person keeping books, compared step by step with a simple model of what
// that person expects: the entries kept, the order they are listed in, and what Undo brings
// back.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/window/comment_window.h"
#include "app/window/display_quillery.h"
#include "app/window/find_books.h"
#include "tests/app/window/main_window_support.h"

namespace quillery::testing {
namespace {

using namespace script;
namespace W = displayquillery;

struct Entry {
    std::string last, first, title, category, note;
    // How the list shows it in author order.
    std::string row() const {
        if (last.empty() && first.empty()) return title;
        std::string key = last;
        if (!first.empty()) key += ", " + first;
        return (key + " (" + title + ")").substr(0, 50);
    }
    bool operator==(const Entry&) const = default;
};

// The person's view: the entries there are, the one selected, and the states Undo goes back to.
class Model {
  public:
    explicit Model(std::vector<Entry> entries) : entries_(std::move(entries)) {}

    std::vector<std::string> rows() const {
        std::vector<std::string> rows;
        for (const Entry& e : entries_)
            rows.push_back(e.row());
        std::stable_sort(rows.begin(), rows.end());
        return rows;
    }
    // The entry shown at `row` of the list (from 1).
    Entry& at(int row) {
        const std::string wanted = rows()[static_cast<std::size_t>(row - 1)];
        return *std::find_if(entries_.begin(), entries_.end(),
                             [&](const Entry& e) { return e.row() == wanted; });
    }
    int rowOf(const Entry& e) const {
        const auto r = rows();
        return static_cast<int>(std::find(r.begin(), r.end(), e.row()) - r.begin()) + 1;
    }
    // A change the person can undo.
    void change(const std::function<void(std::vector<Entry>&)>& f) {
        undo_.push_back(entries_);
        f(entries_);
    }
    void undo() {
        entries_ = undo_.back();
        undo_.pop_back();
    }
    // The catalogue read again: earlier changes can no longer be undone.
    void reread() { undo_.clear(); }
    const std::vector<Entry>& entries() const { return entries_; }

  private:
    std::vector<Entry> entries_;
    std::vector<std::vector<Entry>> undo_;
};

QuilleryRecord recordOf(const Entry& e) {
    QuilleryRecord r = book(e.last, e.first, e.title, e.category);
    r.CONTENTS = e.note;
    return r;
}

TEST_F(MainWindowTest, ALongSessionEndsAsThePersonExpects) {
    Model model({{"Austen", "Jane", "Emma", "Fiction", ""},
                 {"Darwin", "Charles", "Voyage of the Beagle", "Travel", ""},
                 {"Eliot", "George", "Middlemarch", "Fiction", ""},
                 {"Hardy", "Thomas", "Jude", "Fiction", ""}});
    std::vector<QuilleryRecord> start;
    for (const Entry& e : model.entries())
        start.push_back(recordOf(e));
    writeCatalogue("Books.QLY", start);

    // The script is written ahead and the model follows it as it is written, so each check
    // takes the rows the model has at its point of the script.
    ScriptedSession s;
    int checks = 0;
    int planned = 0;
    auto expectList = [&](const std::string& after) {
        ++planned;
        s.then(inspect("list after " + after, [&checks, after, rows = model.rows()](Window& w) {
                   ++checks;
                   EXPECT_EQ(listedRows(w), rows) << "after " << after;
               }).in(kMainWindow));
    };
    auto choose = [&](int row) { s.then(script::choose(W::BOOKLIST, row)); };
    // Types into the entry shown at `row` and saves it by choosing `then`.
    auto edit = [&](int row, int field, std::string value, std::string Entry::*member) {
        choose(row);
        model.change([&](std::vector<Entry>&) { model.at(row).*member = value; });
        s.then(type(field, value));
    };
    auto save = [&](const std::string& what) {
        s.then(click(W::SAVE));
        expectList("saving " + what);
    };
    auto addBook = [&](Entry e) {
        s.then(click(W::NEW));
        if (!e.last.empty()) s.then(type(W::QLY_LASTNAME, e.last));
        if (!e.first.empty()) s.then(type(W::QLY_FIRSTNAME, e.first));
        if (!e.title.empty()) s.then(type(W::QLY_TITLE, e.title));
        if (!e.category.empty()) s.then(type(W::QLY_CATEGORY, e.category));
        model.change([&](std::vector<Entry>&) {});  // the new entry's own undo step
        model.change([e](std::vector<Entry>& all) { all.push_back(e); });
        save(e.row());
    };
    auto undo = [&](const std::string& what) {
        s.then(click(W::UNDO));
        model.undo();
        expectList("undoing " + what);
    };

    s.then(dismissSplash());
    expectList("opening");
    addBook({"Woolf", "Virginia", "Orlando", "Fiction", ""});
    addBook({"Melville", "Herman", "Moby-Dick", "Sea", ""});
    edit(1, W::QLY_TITLE, "Persuasion", &Entry::title);
    save("Persuasion");
    edit(3, W::QLY_FIRSTNAME, "Mary Ann", &Entry::first);
    choose(1);  // choosing another row saves the edit
    expectList("the first name");
    s.then(click(W::DELETE));
    model.change([&](std::vector<Entry>& all) { std::erase(all, model.at(1)); });
    expectList("deleting");
    undo("the delete");
    undo("the first name");
    s.then(chooseTab(W::ALL + 2));  // Sea
    s.then(inspect("sea", [&](Window& w) {
        EXPECT_EQ(listedRows(w), std::vector<std::string>{"Melville, Herman (Moby-Dick)"});
    }));
    s.then(click(W::NEW)).then(type(W::QLY_LASTNAME, "Conrad")).then(type(W::QLY_TITLE, "Typhoon"));
    model.change([](std::vector<Entry>&) {});
    model.change([](std::vector<Entry>& all) {
        all.push_back({"Conrad", "", "Typhoon", "Sea", ""});
    });
    s.then(chooseTab(W::ALL));  // the tab change keeps the new book
    expectList("a new book kept by a tab change");
    s.then(click(W::LISTBYTITLE)).then(click(W::LISTBYTITLE));
    model.reread();
    expectList("both list modes");
    s.then(click(W::Z));
    choose(model.rowOf({"Woolf", "Virginia", "Orlando", "Fiction", ""}));
    s.then(click(W::COMMENT))
        .then(type(commentwindow::QLY_CONTENTS, "Signed copy").in("COMMENTWINDOW$WINDOW"))
        .then(click(commentwindow::OK));
    model.change([&](std::vector<Entry>& all) {
        for (Entry& e : all)
            if (e.title == "Orlando") e.note = "Signed copy";
    });
    choose(1);
    expectList("the note");
    s.then(click(W::FIND).in(kMainWindow))
        .then(type(getfindstring::FINDSTRING, "Signed").in("GETFINDSTRING$FIND"));
    s.then(inspect("found", [&](Window& w) {
               EXPECT_EQ(listedRows(w), std::vector<std::string>{"Woolf, Virginia (Orlando)"});
           }).in(kMainWindow));
    s.then(chooseTab(W::ALL));
    edit(2, W::QLY_CATEGORY, "Travel", &Entry::category);
    save("a category");
    s.then(click(W::DUPLICATE));
    model.change([](std::vector<Entry>&) {});
    s.then(type(W::QLY_TITLE, "Tess"));
    model.change([&](std::vector<Entry>& all) {
        Entry copy = model.at(2);
        copy.title = "Tess";
        all.push_back(copy);
    });
    save("a duplicate");
    addBook({"", "", "Beowulf", "Poetry", ""});
    edit(model.rowOf({"Hardy", "Thomas", "Jude", "Fiction", ""}), W::QLY_TITLE, "Jude the Obscure",
         &Entry::title);
    save("Jude");
    undo("Jude");
    s.then(click(W::NEW)).then(click(W::DELETE));  // a new entry given up at once
    model.change([](std::vector<Entry>&) {});
    expectList("a new entry given up");
    s.then(click(W::NEW)).then(click(W::UNDO));
    model.change([](std::vector<Entry>&) {});
    model.undo();
    expectList("a new entry undone");
    s.then(menu(W::FILEEXIT));

    DISPLAYQUILLERY("Books.QLY");
    EXPECT_TRUE(s.done()) << s.report();
    EXPECT_EQ(checks, planned);
    EXPECT_GE(s.windowsSeen().size(), 40u);  // steps played

    // The file holds what the model holds, the purge aside.
    std::vector<Entry> stored;
    for (const StoredRecord& r : fileRecords("Books.QLY")) {
        if (r.position == fileRecords("Books.QLY").front().position || !r.current()) continue;
        stored.push_back({r.record.LASTNAME.str(), r.record.FIRSTNAME.str(), r.record.TITLE.str(),
                          r.record.CATEGORY.str(), r.record.CONTENTS.str()});
    }
    std::vector<Entry> expected = model.entries();
    auto byRow = [](const Entry& a, const Entry& b) { return a.row() < b.row(); };
    std::sort(stored.begin(), stored.end(), byRow);
    std::sort(expected.begin(), expected.end(), byRow);
    EXPECT_EQ(stored, expected);
    EXPECT_TRUE(catalogueFaults("Books.QLY").empty());
}

}  // namespace
}  // namespace quillery::testing
