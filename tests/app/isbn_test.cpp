// ISBNs as they arrive from people, scanners and exports: tidied, told apart, checked, turned
// into ISBN-13s on request; and an import's look over them, duplicates included.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/exchange/isbn_review.h"
#include "app/isbn.h"

namespace quillery {
namespace {

struct Case {
    std::string given;
    std::string tidied;
    IsbnForm form;
    std::string problem;
};

TEST(Isbn, EveryFormIsToldApartAndEveryFaultSaid) {
    const std::vector<Case> cases{
        {"9780140449136", "9780140449136", IsbnForm::kIsbn13, ""},
        {"978-0-14-044913-6", "9780140449136", IsbnForm::kIsbn13, ""},
        {" 978 0 14 044913 6 ", "9780140449136", IsbnForm::kIsbn13, ""},
        {"0-14-044913-2", "0140449132", IsbnForm::kIsbn10, ""},
        {"080442957x", "080442957X", IsbnForm::kIsbn10, ""},
        {"979-10-90636-07-1", "9791090636071", IsbnForm::kIsbn13, ""},
        {"", "", IsbnForm::kEmpty, ""},
        {" - ", "", IsbnForm::kEmpty, ""},
        {"978-0-14-044913-7", "9780140449137", IsbnForm::kBadCheck,
         "the check digit of 9780140449137 is wrong; it should be 6"},
        {"0140449133", "0140449133", IsbnForm::kBadCheck,
         "the check digit of 0140449133 is wrong; it should be 2"},
        {"978014044913", "978014044913", IsbnForm::kBadLength,
         "978014044913 has 12 characters; an ISBN has 10 or 13"},
        {"97801404491366", "97801404491366", IsbnForm::kBadLength,
         "97801404491366 has 14 characters; an ISBN has 10 or 13"},
        {"1234567890123", "1234567890123", IsbnForm::kBadLength,
         "1234567890123 is no ISBN-13: it must begin 978 or 979"},
        {"978014044913X", "978014044913X", IsbnForm::kBadLength,
         "978014044913X is no ISBN: only an ISBN-10 ends in X"},
        {"ISBN 0140449132", "ISBN 0140449132", IsbnForm::kNotAnIsbn,
         "\"ISBN 0140449132\" is not an ISBN: only digits, hyphens and a final X"},
        {"01404X9132", "01404X9132", IsbnForm::kNotAnIsbn,
         "\"01404X9132\" is not an ISBN: only digits, hyphens and a final X"},
    };
    for (const Case& c : cases) {
        const TidiedIsbn isbn = tidyIsbn(c.given);
        EXPECT_EQ(isbn.text, c.tidied) << c.given;
        EXPECT_EQ(isbn.form, c.form) << c.given;
        EXPECT_EQ(isbnProblem(isbn), c.problem) << c.given;
    }
}

TEST(Isbn, CheckDigitsAgreeWithASimpleModelOverManyNumbers) {
    // Changing any one digit of a valid ISBN must make it invalid: the weights see every place.
    const std::string valid13 = "9780140449136";
    const std::string valid10 = "0140449132";
    for (const std::string& valid : {valid13, valid10}) {
        for (std::size_t place = 0; place + 1 < valid.size(); ++place) {
            for (char digit = '0'; digit <= '9'; ++digit) {
                if (digit == valid[place] || (valid.size() == 13 && place < 3)) continue;
                std::string changed = valid;
                changed[place] = digit;
                EXPECT_EQ(tidyIsbn(changed).form, IsbnForm::kBadCheck) << changed;
            }
        }
    }
}

TEST(Isbn, AnIsbn10BecomesItsIsbn13AndNothingElseChanges) {
    EXPECT_EQ(isbn13Of("0140449132"), "9780140449136");
    EXPECT_EQ(isbn13Of("0-8044-2957-X"), "9780804429573");
    EXPECT_EQ(tidyIsbn(isbn13Of("080442957X")).form, IsbnForm::kIsbn13);
    EXPECT_EQ(isbn13Of("0140449133"), "0140449133");  // a wrong check digit stays as it is
    EXPECT_EQ(isbn13Of("9780140449136"), "9780140449136");
}

QuilleryRecord book(std::string_view title, std::string_view last, std::string_view isbn) {
    QuilleryRecord record{};
    record.TITLE = title;
    record.LASTNAME = last;
    record.ISBN = isbn;
    return record;
}

TEST(IsbnReview, AnImportSaysWhatItChangedDoubtsAndFindsTwice) {
    exchange::IsbnIndex catalogue;
    catalogue.add(book("The Salt Road", "Varga", "9780140449136"));
    catalogue.add(book("No Number", "Ode", ""));

    exchange::ExchangeImport imported;
    imported.records = {book("Salt Road, Again", "Varga", "0140449132"),
                        book("Lantern Hours", "Ibsen", "0140449133"),
                        book("Second Lantern", "Ibsen", "0140449133"), book("Plain", "Moss", "")};
    imported.lines = {2, 3, 4, 5};
    exchange::reviewImportedIsbns(imported, catalogue, {.toIsbn13 = true});

    EXPECT_EQ(imported.records[0].ISBN.str(), "9780140449136");
    EXPECT_EQ(imported.records[1].ISBN.str(), "0140449133");
    EXPECT_EQ(imported.report.lines(),
              (std::vector<std::string>{
                  "line 2: Salt Road, Again: ISBN 0140449132 stored as its ISBN-13 9780140449136",
                  "line 2: Salt Road, Again: ISBN 9780140449136 is already that of The Salt Road "
                  "by Varga",
                  "line 3: Lantern Hours: ISBN: the check digit of 0140449133 is wrong; it should "
                  "be 2",
                  "line 4: Second Lantern: ISBN: the check digit of 0140449133 is wrong; it "
                  "should be 2",
                  "line 4: Second Lantern: ISBN 0140449133 is already that of Lantern Hours by "
                  "Ibsen",
              }));
    EXPECT_EQ(imported.report.booksNamed(), 3u);
}

TEST(IsbnReview, WithoutTheOptionAnIsbn10StaysAsGiven) {
    exchange::ExchangeImport imported;
    imported.records = {book("Salt Road", "Varga", "0140449132")};
    exchange::reviewImportedIsbns(imported, {}, {});
    EXPECT_EQ(imported.records[0].ISBN.str(), "0140449132");
    EXPECT_TRUE(imported.report.lines().empty());
}

}  // namespace
}  // namespace quillery
