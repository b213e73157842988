// Properties every picture keeps, checked over many generated pictures and values: FORMAT gives
// exactly the picture's length (or nothing for an invalid picture), and no picture text or typed
// text, however odd, makes compiling, formatting or deformatting misbehave.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "runtime/picture.h"
#include "tests/runtime/picture_test_support.h"

namespace quillery {
namespace {

using testing::PinnedPictureTest;

// Picture texts built from the parts pictures are made of, now and then with a character put
// in or taken out, so that most are valid and the rest are near misses.
std::string randomPicture(std::mt19937& random) {
    auto pick = [&random](std::initializer_list<const char*> options) {
        return std::string(options.begin()[random() % options.size()]);
    };
    auto number = [&random](int low, int high) {
        return std::to_string(low + static_cast<int>(random() % (high - low + 1)));
    };
    std::string picture = random() % 2 ? "@" : "";
    switch (random() % 7) {
        case 0: {
            const std::string sign = pick({"", "-", "("});
            picture += pick({"N", "n"}) + pick({"", "$", "~kr~"}) + sign +
                       pick({"", "0", "_", "*"}) + number(1, 40) +
                       pick({"", ".", "`", "_", "v", ".`", "`.", "_."}) +
                       pick({"", "0", "1", "2", "4"}) + (sign == "(" ? ")" : pick({"", "-"})) +
                       pick({"", "", "$", "~ EUR~"}) + pick({"", "B"});
            break;
        }
        case 1:
            picture += pick({"E", "e"}) + number(5, 30) + pick({"", ".", "`"}) + number(0, 6) +
                       pick({"", "B"});
            break;
        case 2:
            picture += pick({"D", "d"}) + pick({"", "0", "_", "*"}) + number(0, 19) +
                       pick({"", "<5", ">10", "<0", ">0"}) + pick({"", ".", "-", "_", "`"});
            break;
        case 3:
            picture += pick({"T", "t"}) + pick({"", "0", "_", "*"}) + number(0, 9) +
                       pick({"", ".", "-", "_", "`"});
            break;
        case 4:
        case 5: {
            const std::string letter = random() % 2 ? "P" : "K";
            picture += letter;
            for (int k = static_cast<int>(random() % 12); k > 0; --k) {
                picture += pick({"#", "<", "-", "(", ")", " ", "@", "^", "_", "?", "|", "\\", "x"});
            }
            picture += letter;
            break;
        }
        default:
            picture += pick({"S", "s"}) + number(0, 300);
            break;
    }
    if (random() % 5 == 0) {
        const std::size_t at = random() % (picture.size() + 1);
        if (random() % 2 && at < picture.size()) {
            picture.erase(at, 1);
        } else {
            picture.insert(at, 1, "0123456789.-$~<>B#Pz"[random() % 20]);
        }
    }
    return picture;
}

std::string randomText(std::mt19937& random) {
    std::uniform_int_distribution<int> length(0, 24);
    std::uniform_int_distribution<int> byte(0, 255);
    std::string text;
    for (int k = length(random); k > 0; --k) {
        // Mostly characters typed into fields, now and then any byte at all.
        const int b = byte(random);
        text.push_back(b < 200 ? " 0123456789/:.,-()$*aApPmMJanFeb"[b % 32] : static_cast<char>(b));
    }
    return text;
}

TEST_F(PinnedPictureTest, FormatAlwaysGivesThePictureLength) {
    std::mt19937 random(20261208);
    std::uniform_real_distribution<double> magnitude(-7, 12);
    std::uniform_int_distribution<std::int64_t> whole(-200000, 9000000);
    int valid = 0;
    for (int round = 0; round < 20000; ++round) {
        const std::string picture = randomPicture(random);
        const CompiledPicture* compiled = findPicture(picture);
        const double value = std::pow(10.0, magnitude(random)) * (random() % 2 ? 1 : -1);
        const std::int64_t integer = whole(random);
        const std::string text = randomText(random);
        if (compiled == nullptr) {
            EXPECT_EQ(FORMAT(value, picture), "") << picture;
            EXPECT_EQ(DEFORMAT(text, picture), "") << picture;
            continue;
        }
        ++valid;
        const std::size_t length = static_cast<std::size_t>(compiled->length);
        ASSERT_GE(compiled->length, 1) << picture;
        ASSERT_LE(compiled->length, 255) << picture;
        EXPECT_EQ(FORMAT(value, picture).size(), length) << picture << " " << value;
        EXPECT_EQ(FORMAT(integer, picture).size(), length) << picture << " " << integer;
        EXPECT_EQ(FORMAT(text, picture).size(), length) << picture << " [" << text << "]";
        (void)DEFORMAT(text, picture);
        (void)deformatNumber(text, picture);
    }
    // The generator must reach valid pictures of every kind for the property to mean much.
    EXPECT_GT(valid, 12000);
}

TEST_F(PinnedPictureTest, DeformatOfWhatFormatShowsIsStable) {
    // Reading back what a picture shows, and showing that again, gives the same text.
    std::mt19937 random(7);
    std::uniform_int_distribution<std::int64_t> day(4, 109211);
    std::uniform_int_distribution<std::int64_t> time(1, 8640000);
    std::uniform_real_distribution<double> number(-99999, 99999);
    const char* pictures[] = {"@N-12.2", "@N$(14.3)",   "@N*10", "@N-9v2", "@D2",
                              "@D4",     "@D10-",       "@D18",  "@T4",    "@T6",
                              "@T8",     "@P###-####P", "@E12.4"};
    for (const char* picture : pictures) {
        const CompiledPicture* compiled = findPicture(picture);
        ASSERT_NE(compiled, nullptr) << picture;
        for (int round = 0; round < 2000; ++round) {
            std::string shown;
            if (compiled->kind == PictureKind::Date) {
                formatInto(shown, day(random), *compiled);
            } else if (compiled->kind == PictureKind::Time) {
                formatInto(shown, time(random), *compiled);
            } else {
                formatInto(shown, std::fabs(number(random)) * (round % 2 ? 1 : -1), *compiled);
            }
            std::string again;
            formatInto(again, deformatNumber(shown, *compiled), *compiled);
            ASSERT_EQ(again, shown) << picture;
        }
    }
}

}  // namespace
}  // namespace quillery
