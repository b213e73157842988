// Queue ordering checked against simple models: keyed adds against a stable sort of the same
// rows, keyed gets against a linear scan, and the field comparisons one type at a time.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "runtime/errors.h"
#include "runtime/fixed_string.h"
#include "runtime/queue.h"
#include "runtime/queue_compare.h"

namespace quillery {
namespace {

// --- Field comparisons ---

struct RealCase {
    double a;
    double b;
    int expected;
};

TEST(QueueCompareTest, RealsWithinFiftyBinaryOrdersCountAsEqual) {
    const RealCase cases[] = {
        {1.0, 1.0, 0},
        {1.0, 2.0, -1},
        {2.0, 1.0, 1},
        {1.0, 1.0 + std::ldexp(1.0, -52), 0},
        {1.0, 1.0 + std::ldexp(1.0, -51), 0},   // 51 orders below: equal
        {1.0, 1.0 + std::ldexp(1.0, -50), -1},  // 50 orders below: not
        {1.0 + std::ldexp(1.0, -50), 1.0, 1},
        {std::ldexp(1.0, 60), std::ldexp(1.0, 60) + std::ldexp(1.0, 9), 0},
        {std::ldexp(1.0, 60), std::ldexp(1.0, 60) + std::ldexp(1.0, 10), -1},
        {std::ldexp(1.0, -100), std::ldexp(1.0, -100) + std::ldexp(1.0, -152), 0},
        {std::ldexp(1.0, -100), std::ldexp(1.0, -100) + std::ldexp(1.0, -149), -1},
        // Zero counts as 1.0 would, but the other value's own exponent still has to allow it.
        {0.0, std::ldexp(1.0, -60), -1},
        {std::ldexp(1.0, -60), 0.0, 1},
        {0.0, 0.0, 0},
        {-0.0, 0.0, 0},
        {-1.0, 1.0, -1},
        {-3.5, -3.25, -1},
    };
    for (const RealCase& c : cases) {
        EXPECT_EQ(compareQueueReals(c.a, c.b), c.expected) << c.a << " vs " << c.b;
    }
}

struct Mixed {
    std::uint8_t BYTE;
    std::int16_t SMALL;
    std::int32_t BIG;
    double REAL;
    FixedString<4> TEXT;
};

TEST(QueueCompareTest, EachTypeComparesByItsValue) {
    Mixed a{}, b{};
    Queue q(a, {&Mixed::BYTE, &Mixed::SMALL, &Mixed::BIG, &Mixed::REAL, &Mixed::TEXT});
    auto bytes = [](const Mixed& m) { return reinterpret_cast<const unsigned char*>(&m); };
    a.BYTE = 200;  // unsigned: above 100
    b.BYTE = 100;
    EXPECT_GT(compareQueueField(q.field(1), bytes(a), bytes(b)), 0);
    a.SMALL = -1;
    b.SMALL = 1;
    EXPECT_LT(compareQueueField(q.field(2), bytes(a), bytes(b)), 0);
    a.BIG = INT32_MIN;
    b.BIG = INT32_MAX;
    EXPECT_LT(compareQueueField(q.field(3), bytes(a), bytes(b)), 0);
    EXPECT_GT(compareQueueField(q.field(3), bytes(b), bytes(a)), 0);
    a.BIG = b.BIG = 5;
    EXPECT_EQ(compareQueueField(q.field(3), bytes(a), bytes(b)), 0);
    a.REAL = 0.1 + 0.2;  // differs from 0.3 in the last bit only
    b.REAL = 0.3;
    EXPECT_EQ(compareQueueField(q.field(4), bytes(a), bytes(b)), 0);
    a.TEXT = "ab";
    b.TEXT = "ab ";
    EXPECT_EQ(compareQueueField(q.field(5), bytes(a), bytes(b)), 0);
    b.TEXT = "ab!";
    EXPECT_LT(compareQueueField(q.field(5), bytes(a), bytes(b)), 0);
    b.TEXT = "B";
    EXPECT_GT(compareQueueField(q.field(5), bytes(a), bytes(b)), 0);  // case-sensitive
}

// --- Random queues against a stable sort ---

struct Row {
    FixedString<5> TEXT;
    std::int16_t SMALL;
    std::int32_t BIG;
    std::uint8_t BYTE;
    double REAL;
    std::int32_t SEQ;
};

// The model's own ordering: text by unsigned bytes (the default collation), numbers by value.
int modelField(const Row& a, const Row& b, int n) {
    auto sign = [](auto x, auto y) { return x < y ? -1 : (x > y ? 1 : 0); };
    switch (n) {
        case 1: {
            const int c = std::memcmp(a.TEXT.data, b.TEXT.data, 5);  // memcmp is unsigned
            return c < 0 ? -1 : (c > 0 ? 1 : 0);
        }
        case 2:
            return sign(a.SMALL, b.SMALL);
        case 3:
            return sign(a.BIG, b.BIG);
        case 4:
            return sign(a.BYTE, b.BYTE);
        case 5:
            return sign(a.REAL, b.REAL);
        default:
            return sign(a.SEQ, b.SEQ);
    }
}

int modelCompare(const Row& a, const Row& b, const std::vector<int>& keys) {
    for (int key : keys) {
        const int c = modelField(a, b, std::abs(key));
        if (c != 0) return key < 0 ? -c : c;
    }
    return 0;
}

class RandomRows {
  public:
    explicit RandomRows(unsigned seed) : rng_(seed) {}

    Row next(int seq) {
        // Few distinct values per field, so equal keys and long runs are common. Texts mix
        // case, digits, high characters and embedded and trailing blanks.
        static const char kLetters[] = {'A', 'a', 'B', ' ', '0', '\xE9'};
        Row r{};
        std::string text;
        const int length = pick(0, 5);
        for (int i = 0; i < length; ++i)
            text += kLetters[pick(0, 5)];
        r.TEXT = text;
        r.SMALL = static_cast<std::int16_t>(pick(-3, 3) * 10000);
        r.BIG = pick(0, 1) ? pick(-2, 2) : (pick(0, 1) ? INT32_MIN : INT32_MAX);
        r.BYTE = static_cast<std::uint8_t>(pick(0, 3) * 85);
        r.REAL = pick(-4, 4) * 0.5;
        r.SEQ = seq;
        return r;
    }
    std::vector<int> keys() {
        std::vector<int> fields = {1, 2, 3, 4, 5};
        std::shuffle(fields.begin(), fields.end(), rng_);
        fields.resize(static_cast<std::size_t>(pick(1, 4)));
        for (int& f : fields)
            f = pick(0, 1) ? f : -f;
        return fields;
    }
    int pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng_); }

  private:
    std::mt19937 rng_;
};

class QueueOrderTest : public ::testing::TestWithParam<unsigned> {
  protected:
    void SetUp() override { clearError(); }
    void TearDown() override { clearError(); }

    Row buf{};
    Queue q{buf, {&Row::TEXT, &Row::SMALL, &Row::BIG, &Row::BYTE, &Row::REAL, &Row::SEQ}};

    std::vector<Row> queueRows() {
        std::vector<Row> out;
        for (std::uint32_t i = 1, n = RECORDS(q); i <= n; ++i) {
            GET(q, i);
            out.push_back(buf);
        }
        return out;
    }
};

TEST_P(QueueOrderTest, KeyedAddsMatchAStableSortAndKeyedGetsALinearScan) {
    RandomRows random(GetParam());
    for (int round = 0; round < 4; ++round) {
        FREE(q);
        const std::vector<int> keys = random.keys();
        const int count = random.pick(1, 3000);
        std::vector<Row> added;
        for (int i = 0; i < count; ++i) {
            buf = random.next(i);
            added.push_back(buf);
            ADD(q, keys);
            ASSERT_EQ(errorCode(), 0);
            // POINTER names the new entry.
            Row check{};
            std::swap(check, buf);
            GET(q, POINTER(q));
            ASSERT_EQ(buf.SEQ, i);
        }
        std::vector<Row> model = added;
        std::stable_sort(model.begin(), model.end(),
                         [&](const Row& a, const Row& b) { return modelCompare(a, b, keys) < 0; });
        const std::vector<Row> actual = queueRows();
        ASSERT_EQ(actual.size(), model.size());
        for (std::size_t i = 0; i < model.size(); ++i) {
            ASSERT_EQ(actual[i].SEQ, model[i].SEQ) << "row " << i + 1 << " of " << count;
        }

        // Probes: rows that are there, and fresh rows that mostly are not.
        for (int probe = 0; probe < 300; ++probe) {
            const Row wanted = probe % 2
                                   ? added[static_cast<std::size_t>(random.pick(0, count - 1))]
                                   : random.next(-1);
            std::size_t expected = 0;
            while (expected < model.size() && modelCompare(wanted, model[expected], keys) != 0) {
                ++expected;
            }
            GET(q, 1);
            buf = wanted;
            buf.SEQ = -7;
            GET(q, keys);
            if (expected == model.size()) {
                EXPECT_EQ(errorCode(), 30);
                EXPECT_EQ(POINTER(q), 1u);
                EXPECT_EQ(buf.SEQ, -7);
            } else {
                ASSERT_EQ(errorCode(), 0);
                EXPECT_EQ(POINTER(q), expected + 1);
                EXPECT_EQ(buf.SEQ, model[expected].SEQ);
            }
        }
    }
}

TEST_P(QueueOrderTest, DeletesInterleavedWithKeyedAddsKeepTheOrder) {
    RandomRows random(GetParam() + 1000);
    const std::vector<int> keys = random.keys();
    std::vector<Row> model;
    for (int i = 0; i < 2000; ++i) {
        if (!model.empty() && random.pick(0, 2) == 0) {
            const auto position =
                static_cast<std::uint32_t>(random.pick(1, static_cast<int>(model.size())));
            GET(q, position);
            DELETE(q);
            ASSERT_EQ(errorCode(), 0);
            model.erase(model.begin() + (position - 1));
            continue;
        }
        buf = random.next(i);
        ADD(q, keys);
        const auto after = std::upper_bound(
            model.begin(), model.end(), buf,
            [&](const Row& a, const Row& b) { return modelCompare(a, b, keys) < 0; });
        ASSERT_EQ(POINTER(q), static_cast<std::uint32_t>(after - model.begin()) + 1);
        model.insert(after, buf);
    }
    const std::vector<Row> actual = queueRows();
    ASSERT_EQ(actual.size(), model.size());
    for (std::size_t i = 0; i < model.size(); ++i)
        EXPECT_EQ(actual[i].SEQ, model[i].SEQ);
}

INSTANTIATE_TEST_SUITE_P(Seeds, QueueOrderTest, ::testing::Values(1u, 2u, 3u, 20261208u));

}  // namespace
}  // namespace quillery
