// Comma-separated rows: the reader against a table of inputs, its malformed-quote reports, and
// the writer read back.
#include "app/csv_format.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace quillery {
namespace {

using Fields = std::vector<std::string>;

struct ParseCase {
    const char* name;
    std::string text;
    std::vector<std::pair<int, Fields>> rows;  // line, fields
};

std::vector<std::pair<int, Fields>> parsed(std::string_view text) {
    std::vector<CsvRow> rows;
    CsvProblem problem;
    EXPECT_TRUE(parseCsv(text, rows, problem)) << problem.text();
    std::vector<std::pair<int, Fields>> out;
    for (const CsvRow& row : rows)
        out.emplace_back(row.line, row.fields);
    return out;
}

TEST(CsvFormat, ReadsEveryFormOfRow) {
    const std::vector<ParseCase> cases = {
        {"plain LF", "a,b\nc,d\n", {{1, {"a", "b"}}, {2, {"c", "d"}}}},
        {"CRLF", "a,b\r\nc,d\r\n", {{1, {"a", "b"}}, {2, {"c", "d"}}}},
        {"lone CR", "a\rb\r", {{1, {"a"}}, {2, {"b"}}}},
        {"no final line end", "a,b\nc,d", {{1, {"a", "b"}}, {2, {"c", "d"}}}},
        {"byte order mark", "\xEF\xBB\xBFx,y\n", {{1, {"x", "y"}}}},
        {"empty fields", ",,\n,x,\n", {{1, {"", "", ""}}, {2, {"", "x", ""}}}},
        {"quoted comma", "\"a,b\",c\n", {{1, {"a,b", "c"}}}},
        {"doubled quotes", "\"say \"\"hi\"\"\",\"\"\"\"\n", {{1, {"say \"hi\"", "\""}}}},
        {"quoted empty", "\"\",x\n", {{1, {"", "x"}}}},
        {"embedded LF counts lines", "\"a\nb\",c\nd\n", {{1, {"a\nb", "c"}}, {3, {"d"}}}},
        {"embedded CRLF kept", "\"a\r\nb\r\n\",c\r\nd\r\n", {{1, {"a\r\nb\r\n", "c"}}, {4, {"d"}}}},
        {"blanks kept", " a , b \n", {{1, {" a ", " b "}}}},
        {"trailing blank lines dropped", "a\n\n\r\n\n", {{1, {"a"}}}},
        {"inner blank line kept", "a\n\nb\n", {{1, {"a"}}, {2, {""}}, {3, {"b"}}}},
        {"quoted empty line at the end kept", "a\n\"\"\n", {{1, {"a"}}, {2, {""}}}},
        {"empty text", "", {}},
        {"only a byte order mark", "\xEF\xBB\xBF", {}},
        {"bytes pass through",
         std::string("\xC3\xA9\x00z\n", 5),
         {{1, {std::string("\xC3\xA9\x00z", 4)}}}},
    };
    for (const ParseCase& c : cases) {
        EXPECT_EQ(parsed(c.text), c.rows) << c.name;
    }
}

TEST(CsvFormat, ReportsMalformedQuotesAtTheRowsFirstLine) {
    struct BadCase {
        std::string text;
        std::string report;
        std::size_t rowsBefore;
    };
    const std::vector<BadCase> cases = {
        {"a\nb\"c\n", "line 2: quote inside an unquoted value", 1},
        {"a\n\"b\"c,d\n", "line 2: text after the closing quote of a value", 1},
        {"a\n\"b\" ,d\n", "line 2: text after the closing quote of a value", 1},
        {"a\nx,\"multi\nline\nnever closed\n",
         "line 2: quoted value not closed before the end of "
         "the file",
         1},
        {"\"a\nb\",c\n\"d\ne\"f\n", "line 3: text after the closing quote of a value", 1},
    };
    for (const BadCase& c : cases) {
        std::vector<CsvRow> rows;
        CsvProblem problem;
        EXPECT_FALSE(parseCsv(c.text, rows, problem)) << c.text;
        EXPECT_EQ(problem.text(), c.report) << c.text;
        EXPECT_EQ(rows.size(), c.rowsBefore) << c.text;
    }
}

TEST(CsvFormat, QuotesOnlyWhatNeedsIt) {
    EXPECT_EQ(csvField("plain"), "plain");
    EXPECT_EQ(csvField(""), "");
    EXPECT_EQ(csvField("a,b"), "\"a,b\"");
    EXPECT_EQ(csvField("say \"hi\""), "\"say \"\"hi\"\"\"");
    EXPECT_EQ(csvField("two\r\nlines"), "\"two\r\nlines\"");
    EXPECT_EQ(csvField("cr\ronly"), "\"cr\ronly\"");
    EXPECT_EQ(csvField(" lead"), "\" lead\"");
    EXPECT_EQ(csvField("trail "), "\"trail \"");
    EXPECT_EQ(csvField("in side"), "in side");
}

TEST(CsvFormat, WrittenRowsReadBackUnchanged) {
    const std::vector<Fields> rows = {
        {"a", "", "b,c", "\"", "x\r\ny", " z ", "\n"},
        {""},
        {"", ""},
        {"last"},
    };
    std::string text;
    for (const Fields& row : rows)
        appendCsvRow(text, row);
    EXPECT_EQ(text.substr(0, text.find("\r\n\"\"")),
              "a,,\"b,c\",\"\"\"\",\"x\r\ny\",\" z \",\"\n\"");

    std::vector<CsvRow> back;
    CsvProblem problem;
    ASSERT_TRUE(parseCsv(text, back, problem)) << problem.text();
    ASSERT_EQ(back.size(), rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i)
        EXPECT_EQ(back[i].fields, rows[i]) << i;
    EXPECT_EQ(back[1].line, 4);  // the first row spans three lines
}

TEST(CsvFormat, AnyBytesReadSafelyAndWhatIsReadWritesBack) {
    // Texts made of the characters that matter to the reader, in every mix.
    const std::string alphabet = std::string("\",\r\na \xEF\xBB\xBF\xC3", 10) + '\0';
    std::uint64_t state = 12345;
    const auto nextRandom = [&] {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        return static_cast<std::size_t>(state >> 33);
    };
    std::size_t readOk = 0;
    for (int round = 0; round < 5000; ++round) {
        std::string text;
        const std::size_t length = nextRandom() % 40;
        for (std::size_t i = 0; i < length; ++i)
            text += alphabet[nextRandom() % alphabet.size()];

        std::vector<CsvRow> rows;
        CsvProblem problem;
        const int lines = 1 + static_cast<int>(std::count(text.begin(), text.end(), '\n') +
                                               std::count(text.begin(), text.end(), '\r'));
        if (!parseCsv(text, rows, problem)) {
            EXPECT_GE(problem.line, 1) << text;
            EXPECT_LE(problem.line, lines) << text;
            continue;
        }
        ++readOk;
        std::string written;
        for (const CsvRow& row : rows)
            appendCsvRow(written, row.fields);
        std::vector<CsvRow> again;
        ASSERT_TRUE(parseCsv(written, again, problem)) << problem.text();
        ASSERT_EQ(again.size(), rows.size()) << text;
        for (std::size_t i = 0; i < rows.size(); ++i)
            EXPECT_EQ(again[i].fields, rows[i].fields);
    }
    EXPECT_GT(readOk, 1000u);
}

}  // namespace
}  // namespace quillery
