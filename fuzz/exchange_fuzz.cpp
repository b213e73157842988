// libFuzzer target: arbitrary bytes read as every import format there is (the services'
// exports and the catalogue's own CSV). Each read must give entries or a problem with its
// line; entries must be ones the catalogue keeps, and writing them out again must work in every
// format that writes. Anything else is a crash the sanitizers report.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "app/exchange/exchange_format.h"
#include "runtime/dates.h"

namespace {

using namespace quillery;
using namespace quillery::exchange;

const QuilleryStamp kNow{dayNumberOf(2026, 12, 8), 1};

void check(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    detectExchangeFormat(bytes);
    for (const ExchangeFormat format : exchangeFormats(false)) {
        const ExchangeImport read = readExchange(format, bytes, kNow);
        if (!read.ok()) {
            check(read.records.empty() && read.problem->line >= 0);
            continue;
        }
        for (const QuilleryRecord& record : read.records)
            check(!record.NAMEKEY.isBlank() || !record.TITLEKEY.isBlank());
        for (const ExchangeFormat out : exchangeFormats(true))
            writeExchange(out, read.records);
    }
    return 0;
}
