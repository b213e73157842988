// Realistic catalogue entries made up from a seed, for tests and benchmarks: the same seed
// always gives the same records.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "app/quillery_record.h"

namespace quillery {

class CatalogueGenerator {
  public:
    explicit CatalogueGenerator(std::uint64_t seed);

    // The next record in file order. Most are current entries; now and then an entry comes as
    // a superseded version (`DELETED` = 1) followed by its current version with the same
    // creation stamp, as a save in the main window leaves them. Names are never both blank,
    // derived keys are formed by BUILDKEYS, stamps rise through the file.
    QuilleryRecord next();

  private:
    std::uint64_t random();
    std::size_t below(std::size_t n);  // 0 .. n-1
    bool chance(unsigned percent);
    template <typename Table>
    const std::string& pick(const Table& table);

    QuilleryRecord makeEntry();
    std::string makeTitle();
    std::string makeContents(const QuilleryRecord& entry);
    std::string makeIsbn();
    std::string makeBuyDate(int year);
    void advanceClock();

    std::uint64_t state_;
    std::int32_t day_;   // day number of the last creation stamp
    std::int32_t time_;  // its time of day
    bool havePending_ = false;
    QuilleryRecord pending_;  // the current version owed after a superseded one
};

// `count` records from CatalogueGenerator(seed).
std::vector<QuilleryRecord> generateCatalogue(std::size_t count, std::uint64_t seed);

}  // namespace quillery
