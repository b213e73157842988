// Queues: ordering of keyed adds and gets, positions, deletes, errors and the state they leave,
// the change count, and the read-only access of displays.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "runtime/char_tables.h"
#include "runtime/dates.h"
#include "runtime/errors.h"
#include "runtime/fixed_string.h"
#include "runtime/queue.h"
#include "runtime/queue_memory.h"
#include "runtime/runtime_options.h"
#include "tests/common/fatal_capture.h"

namespace quillery {
namespace {

struct NameRecord {
    FixedString<10> NAME;
    std::int32_t SEQ;
};

// The runtime's options with the clock fixed at a time of 8 December 2026.
RuntimeOptions clockAt(int hours, int minutes, int seconds, int hundredths) {
    RuntimeOptions options = runtimeOptions();
    options.clock = [=] {
        LocalDateTime t;
        t.year = 2026;
        t.month = 12;
        t.day = 8;
        t.hours = hours;
        t.minutes = minutes;
        t.seconds = seconds;
        t.milliseconds = hundredths * 10;
        return t;
    };
    return options;
}

class QueueTest : public ::testing::Test {
  protected:
    void SetUp() override {
        clearError();
        setClockAt(13, 5, 0, 0);
    }
    void TearDown() override {
        clock_.reset();
        setCharTables(CharTables::defaults());
        clearError();
    }

    // Fixes the clock until the test ends.
    void setClockAt(int hours, int minutes, int seconds, int hundredths) {
        clock_.emplace(clockAt(hours, minutes, seconds, hundredths));
    }

    // Adds NAME = each of `names` with key `key`, SEQ numbering the arrivals from 1.
    void addNames(const std::vector<std::string>& names, int key) {
        for (const std::string& name : names) {
            rec.NAME = name;
            rec.SEQ = ++arrivals;
            ADD(q, {key});
            ASSERT_EQ(errorCode(), 0) << name;
        }
    }
    // The queue's rows as NAME/SEQ, read through GET.
    std::vector<std::string> rows() {
        std::vector<std::string> out;
        const NameRecord saved = rec;
        for (std::uint32_t i = 1, n = RECORDS(q); i <= n; ++i) {
            GET(q, i);
            out.push_back(rec.NAME.str() + "/" + std::to_string(rec.SEQ));
        }
        rec = saved;
        return out;
    }
    void expectError(int code, const std::string& text) {
        EXPECT_EQ(errorCode(), code);
        EXPECT_EQ(errorText(), text);
    }

    NameRecord rec;
    Queue q{rec, {&NameRecord::NAME, &NameRecord::SEQ}};
    int arrivals = 0;
    std::optional<ScopedRuntimeOptions> clock_;
};

// --- Ordering and searching ---

TEST_F(QueueTest, KeyedAddsKeepEqualKeysInArrivalOrder) {
    std::vector<std::uint32_t> pointers;
    for (const char* name : {"B", "A", "B", "C"}) {
        rec.NAME = name;
        rec.SEQ = ++arrivals;
        ADD(q, {+1});
        pointers.push_back(POINTER(q));
    }
    EXPECT_EQ(rows(), (std::vector<std::string>{"A/2", "B/1", "B/3", "C/4"}));
    EXPECT_EQ(pointers, (std::vector<std::uint32_t>{1, 1, 3, 4}));
}

TEST_F(QueueTest, DescendingKeyReversesOrderButNotArrival) {
    addNames({"B", "A", "B", "C"}, -1);
    EXPECT_EQ(POINTER(q), 1u);
    EXPECT_EQ(rows(), (std::vector<std::string>{"C/4", "B/1", "B/3", "A/2"}));
}

TEST_F(QueueTest, KeyedGetFindsTheFirstOfEqualEntries) {
    addNames({"B", "A", "B", "C", "B"}, +1);
    rec.NAME = "B";
    rec.SEQ = 99;
    GET(q, {+1});
    EXPECT_EQ(errorCode(), 0);
    EXPECT_EQ(POINTER(q), 2u);
    EXPECT_EQ(rec.SEQ, 1);
    EXPECT_EQ(rec.NAME, "B");
}

TEST_F(QueueTest, KeyedGetFindsFirstEqualWhereverTheSearchLands) {
    // Runs of equal keys of every length at every place, so the search stops on every member.
    for (int before = 0; before < 5; ++before) {
        for (int run = 1; run < 9; ++run) {
            FREE(q);
            std::vector<std::string> names(static_cast<std::size_t>(before), "A");
            names.insert(names.end(), static_cast<std::size_t>(run), "M");
            names.insert(names.end(), 3, "Z");
            addNames(names, +1);
            rec.NAME = "M";
            GET(q, {+1});
            EXPECT_EQ(POINTER(q), static_cast<std::uint32_t>(before + 1)) << before << "," << run;
        }
    }
}

TEST_F(QueueTest, KeyedGetForAnAbsentKeyLeavesBufferAndPointer) {
    addNames({"B", "A", "B", "C"}, +1);
    GET(q, 3);
    rec.NAME = "BB";
    rec.SEQ = 77;
    GET(q, {+1});
    expectError(30, "Entry Not Found");
    EXPECT_EQ(rec.NAME, "BB");
    EXPECT_EQ(rec.SEQ, 77);
    EXPECT_EQ(POINTER(q), 3u);
}

TEST_F(QueueTest, TextOrderIsCaseSensitiveAndIgnoresTrailingBlanks) {
    addNames({"abc", "XYZ", "ABC", "ABC   ", "0"}, +1);
    EXPECT_EQ(rows(), (std::vector<std::string>{"0/5", "ABC/3", "ABC/4", "XYZ/2", "abc/1"}));
    rec.NAME = "ABC";
    GET(q, {+1});
    EXPECT_EQ(POINTER(q), 2u);
}

TEST_F(QueueTest, TextComparesThroughTheCollationTable) {
    CharTables tables = CharTables::defaults();
    for (int c = 'a'; c <= 'z'; ++c)
        tables.collation[c] = static_cast<std::uint8_t>(c - 'a' + 'A');
    setCharTables(tables);
    addNames({"b", "A", "B", "a"}, +1);
    EXPECT_EQ(rows(), (std::vector<std::string>{"A/2", "a/4", "b/1", "B/3"}));
    rec.NAME = "b";
    GET(q, {+1});
    EXPECT_EQ(rec.SEQ, 1);
}

TEST_F(QueueTest, SecondKeyBreaksTiesAndZeroEndsTheKeyList) {
    const std::pair<const char*, int> adds[] = {{"B", 2}, {"A", 9}, {"B", 1}, {"B", 3}};
    for (const auto& [name, seq] : adds) {
        rec.NAME = name;
        rec.SEQ = seq;
        ADD(q, {+1, -2});
    }
    EXPECT_EQ(rows(), (std::vector<std::string>{"A/9", "B/3", "B/2", "B/1"}));
    // Keys after a 0 are not read, not even checked.
    rec.NAME = "B";
    rec.SEQ = 0;
    GET(q, {+1, 0, +99});
    EXPECT_EQ(errorCode(), 0);
    EXPECT_EQ(rec.SEQ, 3);
}

TEST_F(QueueTest, EmptyKeyListAppends) {
    addNames({"C", "A", "B"}, 0);
    EXPECT_EQ(rows(), (std::vector<std::string>{"C/1", "A/2", "B/3"}));
    EXPECT_EQ(POINTER(q), 3u);
}

TEST_F(QueueTest, AppendKeepsArrivalOrder) {
    for (const char* name : {"Z", "A", "M"}) {
        rec.NAME = name;
        rec.SEQ = ++arrivals;
        ADD(q);
        EXPECT_EQ(POINTER(q), static_cast<std::uint32_t>(arrivals));
    }
    EXPECT_EQ(rows(), (std::vector<std::string>{"Z/1", "A/2", "M/3"}));
}

TEST_F(QueueTest, EntriesAreCopiesOfTheWholeBuffer) {
    rec.NAME = "ONE";
    rec.SEQ = 1;
    ADD(q);
    rec.NAME = "TWO";
    rec.SEQ = 2;
    GET(q, 1);
    EXPECT_EQ(rec.NAME.view(), "ONE       ");
    EXPECT_EQ(rec.SEQ, 1);
    EXPECT_EQ(POINTER(q), 1u);
}

// --- Deleting and freeing ---

TEST_F(QueueTest, DeleteRemovesThePointerEntryAndPointerThenNamesTheNext) {
    addNames({"A", "B", "C", "D"}, +1);
    GET(q, 2);
    DELETE(q);
    EXPECT_EQ(errorCode(), 0);
    EXPECT_EQ(POINTER(q), 2u);
    EXPECT_EQ(rows(), (std::vector<std::string>{"A/1", "C/3", "D/4"}));
    GET(q, 2);
    DELETE(q);
    DELETE(q);
    EXPECT_EQ(rows(), (std::vector<std::string>{"A/1"}));
    EXPECT_EQ(RECORDS(q), 1u);
}

TEST_F(QueueTest, DeletingRowsWhileWalkingFromTheFirstRow) {
    // The way the main window removes every row of one record: the walk does not advance
    // after a removal.
    addNames({"A", "B", "A", "C", "A"}, 0);
    for (std::uint32_t i = 1; i <= RECORDS(q);) {
        GET(q, i);
        if (rec.NAME == "A") {
            DELETE(q);
        } else {
            ++i;
        }
    }
    EXPECT_EQ(rows(), (std::vector<std::string>{"B/2", "C/4"}));
}

TEST_F(QueueTest, FreeEmptiesTheQueueAndItStartsAgain) {
    addNames({"A", "B"}, +1);
    FREE(q);
    EXPECT_EQ(RECORDS(q), 0u);
    GET(q, 1);
    expectError(30, "Entry Not Found");
    rec.NAME = "C";
    ADD(q);
    EXPECT_EQ(RECORDS(q), 1u);
    EXPECT_EQ(POINTER(q), 1u);
}

TEST_F(QueueTest, NeverUsedQueueHasNoRecordsAndPointerZero) {
    EXPECT_EQ(q.recordCount(), 0u);
    EXPECT_EQ(RECORDS(q), 0u);
    EXPECT_EQ(POINTER(q), 0u);
}

// --- Failures and the state they leave ---

TEST_F(QueueTest, GetPositionZeroPostsNotFoundAndClearsPointer) {
    addNames({"A", "B"}, +1);
    GET(q, 2);
    rec.NAME = "KEEP";
    GET(q, 0);
    expectError(30, "Entry Not Found");
    EXPECT_EQ(rec.NAME, "KEEP");
    EXPECT_EQ(POINTER(q), 0u);
}

TEST_F(QueueTest, GetBeyondTheEndOrNegativeLeavesBufferAndPointer) {
    addNames({"A", "B"}, +1);
    const std::int64_t positions[] = {3,         1000,      -1,        -2,
                                      INT32_MIN, INT64_MIN, INT64_MAX, std::int64_t{1} << 32};
    for (std::int64_t position : positions) {
        GET(q, 1);
        rec.NAME = "KEEP";
        rec.SEQ = 55;
        GET(q, position);
        expectError(30, "Entry Not Found");
        EXPECT_EQ(rec.NAME, "KEEP") << position;
        EXPECT_EQ(rec.SEQ, 55);
        EXPECT_EQ(POINTER(q), 1u) << position;
    }
}

TEST_F(QueueTest, KeyedGetWithoutKeysOrOnAnEmptyQueueFails) {
    rec.NAME = "A";
    GET(q, {+1});
    expectError(30, "Entry Not Found");
    EXPECT_EQ(POINTER(q), 0u);
    addNames({"A"}, +1);
    GET(q, {});
    expectError(30, "Entry Not Found");
    GET(q, {0, +1});
    expectError(30, "Entry Not Found");
    EXPECT_EQ(POINTER(q), 1u);
    EXPECT_EQ(rec.SEQ, 1);
}

TEST_F(QueueTest, DeleteWithoutAValidPointerLeavesTheQueue) {
    DELETE(q);  // never used: POINTER is 0
    expectError(30, "Entry Not Found");
    addNames({"A", "B"}, +1);
    const std::uint32_t count = q.changeCount();
    GET(q, 0);
    DELETE(q);
    expectError(30, "Entry Not Found");
    GET(q, 2);
    DELETE(q);  // POINTER stays 2, now past the end
    EXPECT_EQ(errorCode(), 0);
    DELETE(q);
    expectError(30, "Entry Not Found");
    EXPECT_EQ(rows(), (std::vector<std::string>{"A/1"}));
    EXPECT_EQ(q.changeCount(), count + 1);
}

TEST_F(QueueTest, KeyFieldOutsideTheRecordSkipsTheWholeOperation) {
    addNames({"A", "B"}, +1);
    GET(q, 2);
    const std::uint32_t count = q.changeCount();
    const std::vector<std::vector<int>> badKeys = {{+3}, {-3}, {+1, +3}, {-1, -7}, {INT32_MIN}};
    for (const std::vector<int>& keys : badKeys) {
        rec.NAME = "A";
        rec.SEQ = 40;
        ADD(q, keys);
        expectError(75, "Invalid Field Type Descriptor");
        EXPECT_EQ(RECORDS(q), 2u);
        GET(q, keys);
        expectError(75, "Invalid Field Type Descriptor");
        EXPECT_EQ(rec.NAME, "A");
        EXPECT_EQ(rec.SEQ, 40);
        EXPECT_EQ(POINTER(q), 2u);
    }
    EXPECT_EQ(q.changeCount(), count);
    EXPECT_EQ(rows(), (std::vector<std::string>{"A/1", "B/2"}));
}

// Memory that runs out after a set number of allocations.
int allocationsLeft = 0;
void* limitedAllocate(std::size_t size) {
    if (allocationsLeft == 0) return nullptr;
    --allocationsLeft;
    return standardQueueMemory().allocate(size);
}

class ScarceMemory {
  public:
    explicit ScarceMemory(int allocations) : scope_(scarce(allocations)) {}

  private:
    static RuntimeOptions scarce(int allocations) {
        allocationsLeft = allocations;
        RuntimeOptions options = runtimeOptions();
        options.queueMemory.allocate = limitedAllocate;
        return options;
    }

    ScopedRuntimeOptions scope_;
};

TEST_F(QueueTest, NoMemoryForAnEntryAddsNothing) {
    addNames({"A", "C"}, +1);
    GET(q, 1);
    const std::uint32_t count = q.changeCount();
    {
        ScarceMemory none(0);
        rec.NAME = "B";
        ADD(q, {+1});
        expectError(8, "Insufficient Memory");
        ADD(q);
        expectError(8, "Insufficient Memory");
    }
    EXPECT_EQ(POINTER(q), 1u);
    EXPECT_EQ(q.changeCount(), count);
    EXPECT_EQ(rows(), (std::vector<std::string>{"A/1", "C/2"}));
}

TEST_F(QueueTest, NoMemoryForTheStorageLeavesTheQueueUnused) {
    {
        ScarceMemory none(0);
        rec.NAME = "A";
        ADD(q);
        expectError(8, "Insufficient Memory");
        EXPECT_EQ(q.recordCount(), 0u);
        EXPECT_FALSE(q.selectReadingEntry(1));
    }
    {
        ScarceMemory one(1);  // the storage, but no entry
        ADD(q);
        expectError(8, "Insufficient Memory");
        EXPECT_EQ(q.recordCount(), 0u);
    }
    ADD(q);
    EXPECT_EQ(errorCode(), 0);
    EXPECT_EQ(RECORDS(q), 1u);
}

TEST_F(QueueTest, EveryOperationClearsAStandingError) {
    addNames({"A", "B", "C"}, +1);
    const std::vector<std::pair<std::string, std::function<void()>>> operations = {
        {"ADD", [&] { ADD(q); }},
        {"ADD keyed", [&] { ADD(q, {+1}); }},
        {"GET", [&] { GET(q, 1); }},
        {"GET keyed", [&] { GET(q, {+1}); }},
        {"DELETE", [&] { DELETE(q); }},
        {"RECORDS", [&] { (void)RECORDS(q); }},
        {"POINTER", [&] { (void)POINTER(q); }},
        {"FREE", [&] { FREE(q); }},
    };
    for (const auto& [name, operation] : operations) {
        postError(ErrorCode::kRecordNotFound, "Quillery.QLY");
        operation();
        EXPECT_EQ(errorCode(), 0) << name;
        EXPECT_EQ(errorFile(), "") << name;
    }
}

// --- The change count ---

std::uint32_t seededCount(std::uint64_t clock) {
    return static_cast<std::uint32_t>((clock * 25781083ULL) & 0xFFFFFFFFULL);
}

TEST_F(QueueTest, ChangeCountStartsFromTheClockAndCountsAddsAndDeletes) {
    EXPECT_EQ(q.changeCount(), 0u);                   // no storage yet
    EXPECT_EQ(RECORDS(q), 0u);                        // creates it
    const std::uint32_t seed = seededCount(4710001);  // 13:05:00.00
    EXPECT_EQ(q.changeCount(), seed);
    addNames({"B", "A"}, +1);
    ADD(q);
    EXPECT_EQ(q.changeCount(), seed + 3);
    GET(q, 1);
    GET(q, {+1});
    (void)POINTER(q);
    EXPECT_EQ(q.changeCount(), seed + 3);
    DELETE(q);
    EXPECT_EQ(q.changeCount(), seed + 4);

    setClockAt(23, 59, 59, 99);  // 8640000: the product wraps
    FREE(q);
    EXPECT_EQ(q.changeCount(), 0u);
    rec.NAME = "X";
    ADD(q);
    EXPECT_EQ(q.changeCount(), seededCount(8640000) + 1);
}

// --- Queues declared the way the catalogue window declares them ---

struct AllRecord {
    std::int16_t POINTER;
    FixedString<50> SORTKEY;
    FixedString<50> NAMEKEY;
    FixedString<50> TITLEKEY;
    std::uint8_t KEYTYPE;
    FixedString<15> CATEGORY;
};

TEST_F(QueueTest, BrowseRowsSortByNameKeyAndKeepEveryField) {
    AllRecord ALL{};
    Queue ALLQUEUE(ALL, {&AllRecord::POINTER, &AllRecord::SORTKEY, &AllRecord::NAMEKEY,
                         &AllRecord::TITLEKEY, &AllRecord::KEYTYPE, &AllRecord::CATEGORY});
    const std::pair<std::int16_t, const char*> books[] = {
        {32767, "Smith, John (Tales)"}, {-5, ", John (Tales)"}, {12, "Smith (Tales)"}};
    for (const auto& [position, key] : books) {
        ALL.POINTER = position;
        ALL.NAMEKEY = key;
        ALL.TITLEKEY = "Tales";
        ALL.CATEGORY = "Fiction and more";  // cut to 15
        ADD(ALLQUEUE, {+3});
    }
    const std::int16_t expected[] = {-5, 12, 32767};
    for (std::uint32_t i = 1; i <= 3; ++i) {
        GET(ALLQUEUE, i);
        EXPECT_EQ(ALL.POINTER, expected[i - 1]);
        EXPECT_TRUE(ALL.SORTKEY.isBlank());
        EXPECT_EQ(ALL.KEYTYPE, 0);
        EXPECT_EQ(ALL.CATEGORY.view(), "Fiction and mor");
    }
    ALL.NAMEKEY = "Smith (Tales)";
    GET(ALLQUEUE, {+3});
    EXPECT_EQ(POINTER(ALLQUEUE), 2u);
    EXPECT_EQ(ALL.POINTER, 12);
}

TEST_F(QueueTest, CategoryListHoldsEachNameOnceInOrder) {
    struct CategoryRecord {
        FixedString<24> CATEGORY;
    } CAT;
    Queue CATEGORYQUEUE(CAT, {&CategoryRecord::CATEGORY});
    for (const char* name : {"Poetry", "Fiction", "Poetry", "Art", "Fiction"}) {
        CAT.CATEGORY = name;
        GET(CATEGORYQUEUE, {+1});
        if (errorCode() == ErrorCode::kEntryNotFound) ADD(CATEGORYQUEUE, {+1});
    }
    std::vector<std::string> names;
    for (std::uint32_t i = 1; i <= RECORDS(CATEGORYQUEUE); ++i) {
        GET(CATEGORYQUEUE, i);
        names.push_back(CAT.CATEGORY.str());
    }
    EXPECT_EQ(names, (std::vector<std::string>{"Art", "Fiction", "Poetry"}));
}

// --- Display access ---

struct RowRecord {
    std::uint8_t BYTE;
    std::int16_t SMALL;
    std::int32_t BIG;
    double REAL;
    FixedString<6> TEXT;
};

class QueueDisplayTest : public QueueTest {
  protected:
    void addRow(std::uint8_t b, std::int16_t s, std::int32_t big, double r, const char* text) {
        row.BYTE = b;
        row.SMALL = s;
        row.BIG = big;
        row.REAL = r;
        row.TEXT = text;
        ADD(rq);
    }
    RowRecord row{};
    Queue rq{
        row,
        {&RowRecord::BYTE, &RowRecord::SMALL, &RowRecord::BIG, &RowRecord::REAL, &RowRecord::TEXT}};
};

TEST_F(QueueDisplayTest, DeclarationNumbersFieldsFromOneWithTheirPlaces) {
    ASSERT_EQ(rq.fieldCount(), 5);
    EXPECT_EQ(rq.recordSize(), sizeof(RowRecord));
    const std::pair<QueueFieldType, std::size_t> expected[] = {
        {QueueFieldType::kUnsigned8, offsetof(RowRecord, BYTE)},
        {QueueFieldType::kSigned16, offsetof(RowRecord, SMALL)},
        {QueueFieldType::kSigned32, offsetof(RowRecord, BIG)},
        {QueueFieldType::kDouble, offsetof(RowRecord, REAL)},
        {QueueFieldType::kText, offsetof(RowRecord, TEXT)},
    };
    const std::size_t sizes[] = {1, 2, 4, 8, 6};
    for (int k = 1; k <= 5; ++k) {
        EXPECT_EQ(rq.field(k).type, expected[k - 1].first) << k;
        EXPECT_EQ(rq.field(k).offset, expected[k - 1].second) << k;
        EXPECT_EQ(rq.field(k).size, sizes[k - 1]) << k;
    }
    Queue spelled(row, {queueField(&RowRecord::TEXT), queueField(&RowRecord::BIG)});
    EXPECT_EQ(spelled.field(1).offset, offsetof(RowRecord, TEXT));
    EXPECT_EQ(spelled.field(2).type, QueueFieldType::kSigned32);
}

TEST_F(QueueDisplayTest, ReadsFieldsOfTheReadingEntryTypedAndAsText) {
    addRow(200, -300, -2000000000, 2.5, "ab");
    addRow(7, 32767, 42, -0.125, "xyz  z");
    ASSERT_TRUE(rq.selectReadingEntry(2));
    EXPECT_EQ(std::get<std::int32_t>(*rq.readingValue(1)), 7);
    EXPECT_EQ(std::get<std::int32_t>(*rq.readingValue(2)), 32767);
    EXPECT_EQ(std::get<std::int32_t>(*rq.readingValue(3)), 42);
    EXPECT_EQ(std::get<double>(*rq.readingValue(4)), -0.125);
    EXPECT_EQ(std::get<std::string_view>(*rq.readingValue(5)), "xyz  z");
    ASSERT_TRUE(rq.selectReadingEntry(1));
    EXPECT_EQ(rq.readingText(1), "200");
    EXPECT_EQ(rq.readingText(2), "-300");
    EXPECT_EQ(rq.readingText(3), "-2000000000");
    EXPECT_EQ(rq.readingText(4), "2.5");
    EXPECT_EQ(rq.readingText(5), "ab    ");
    EXPECT_EQ(rq.readingText(0), "");
    EXPECT_EQ(rq.readingText(6), "");
    EXPECT_FALSE(rq.readingValue(6).has_value());
}

TEST_F(QueueDisplayTest, TextIsAViewIntoTheEntryNotACopy) {
    addRow(1, 1, 1, 1, "first");
    row.TEXT = "buffer";
    ASSERT_TRUE(rq.selectReadingEntry(1));
    const std::string_view a = rq.readingText(5);
    const std::string_view b = rq.readingText(5);
    EXPECT_EQ(a, "first ");
    EXPECT_EQ(a.data(), b.data());
    EXPECT_NE(static_cast<const void*>(a.data()), static_cast<const void*>(row.TEXT.data));
}

TEST_F(QueueDisplayTest, SelectingFailsForZeroAndBeyondTheEnd) {
    EXPECT_FALSE(rq.selectReadingEntry(1));  // no storage yet
    addRow(1, 1, 1, 1, "a");
    addRow(2, 2, 2, 2, "b");
    EXPECT_FALSE(rq.selectReadingEntry(0));
    EXPECT_FALSE(rq.readingValue(1).has_value());
    EXPECT_FALSE(rq.selectReadingEntry(3));
    EXPECT_FALSE(rq.readingValue(1).has_value());
    EXPECT_TRUE(rq.selectReadingEntry(2));
    EXPECT_EQ(rq.readingText(5), "b     ");
}

TEST_F(QueueDisplayTest, ReadingDisturbsNeitherBufferNorPointerNorError) {
    addRow(1, 10, 100, 1.5, "one");
    addRow(2, 20, 200, 2.5, "two");
    addRow(3, 30, 300, 3.5, "three");
    GET(rq, 2);
    row.TEXT = "typed";
    row.BIG = -1;
    RowRecord before;
    std::memcpy(&before, &row, sizeof row);
    const std::uint32_t count = rq.changeCount();
    postError(ErrorCode::kRecordNotFound);

    EXPECT_EQ(rq.recordCount(), 3u);
    for (std::uint32_t n = 1; n <= 3; ++n) {
        ASSERT_TRUE(rq.selectReadingEntry(n));
        for (int k = 1; k <= rq.fieldCount(); ++k)
            (void)rq.readingText(k);
    }
    EXPECT_EQ(std::memcmp(&before, &row, sizeof row), 0);
    EXPECT_EQ(errorCode(), ErrorCode::kRecordNotFound);
    EXPECT_EQ(rq.changeCount(), count);
    EXPECT_EQ(POINTER(rq), 2u);
}

TEST_F(QueueDisplayTest, ReadingEntryRemovedUnderneathReadsNothing) {
    addRow(1, 1, 1, 1, "a");
    addRow(2, 2, 2, 2, "b");
    ASSERT_TRUE(rq.selectReadingEntry(2));
    GET(rq, 2);
    DELETE(rq);
    EXPECT_FALSE(rq.readingValue(5).has_value());
    EXPECT_EQ(rq.readingText(5), "");
    ASSERT_TRUE(rq.selectReadingEntry(1));
    FREE(rq);
    EXPECT_FALSE(rq.readingValue(1).has_value());
    EXPECT_EQ(rq.recordCount(), 0u);
}

// --- The ceiling ---

TEST(QueueCeilingTest, AddingBeyondAMillionEntriesIsFatal) {
    std::uint8_t byte = 0;
    Queue tiny(&byte, 1, {QueueField{QueueFieldType::kUnsigned8, 0, 1}});
    for (std::uint32_t i = 0; i < 1000000; ++i) {
        byte = static_cast<std::uint8_t>(i);
        ADD(tiny);
    }
    ASSERT_EQ(RECORDS(tiny), 1000000u);
    testing::FatalCapture capture;
    EXPECT_THROW(ADD(tiny), ProgramEnded);
    ASSERT_EQ(capture.reports().size(), 1u);
    EXPECT_EQ(capture.reports()[0], "Out of memory in WSLARRAY!");
    EXPECT_EQ(tiny.recordCount(), 1000000u);
    GET(tiny, 1000000);
    EXPECT_EQ(byte, static_cast<std::uint8_t>(999999));
    FREE(tiny);
}

}  // namespace
}  // namespace quillery
