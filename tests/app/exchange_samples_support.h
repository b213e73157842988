// What the exchange tests share: the moment their imports are stamped with, and the bytes of a
// hand-written sample export.
#pragma once

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "app/quillery_record.h"
#include "runtime/dates.h"

namespace quillery::exchange {

inline const QuilleryStamp kNow{dayNumberOf(2026, 12, 8), 15 * 360000 + 1};

inline std::string sample(const std::string& name) {
    std::ifstream file(std::string(QUILLERY_EXCHANGE_SAMPLES) + "/" + name, std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    EXPECT_FALSE(bytes.str().empty()) << name;
    return bytes.str();
}

}  // namespace quillery::exchange
