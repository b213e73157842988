// The walk of the structural checker.
#include "storage/checker.h"

#include <map>
#include <set>
#include <sstream>

#include "storage/entry_kinds.h"
#include "storage/page_codec.h"

namespace quillery::storage {
namespace {

std::string hex(ByteView bytes) {
    static const char* digits = "0123456789ABCDEF";
    std::string out;
    for (std::size_t i = 0; i < bytes.size() && i < 16; ++i) {
        out += digits[bytes[i] >> 4];
        out += digits[bytes[i] & 15];
    }
    if (bytes.size() > 16) out += "...";
    return out;
}

const char* defectText(PageDefect d) {
    switch (d) {
        case PageDefect::kOffsetField:
            return "its offset field is wrong";
        case PageDefect::kSizeAgainstZone:
            return "its stored length does not match its zone";
        case PageDefect::kLengths:
            return "its length fields are inconsistent";
        case PageDefect::kDecompression:
            return "its compressed body does not decode";
        case PageDefect::kEntryEncoding:
            return "its entries do not decode";
        case PageDefect::kEntryOrder:
            return "its entries are out of order";
        case PageDefect::kNone:
            break;
    }
    return "fault";
}

class Walker {
  public:
    Walker(DataFile& file, CheckReport& report) : file_(file), report_(report) {}

    void run() {
        const FileHeader& h = file_.header();
        checkHeader(h);
        if (h.root < 0) return;
        PageContent root;
        if (!load(h.root, root)) return;
        report_.depth = root.level + 1;
        walk(h.root, root, root.level, true);
        std::uint64_t total = 0;
        for (int n = 1; n <= kSizeClasses; ++n)
            total += (h.zoneEnd[n] - h.zoneStart[n]) / n;
        if (total != report_.pages)
            finding("the zones hold " + std::to_string(total) + " pages but the tree reaches " +
                    std::to_string(report_.pages));
        checkCounts();
    }

  private:
    void finding(std::string text) { report_.findings.push_back(std::move(text)); }

    void checkHeader(const FileHeader& h) {
        const Status valid = validateHeader(h, file_.fileSize());
        if (!valid.ok()) finding(valid.message());
        if (file_.hasChanges()) finding("the file has uncommitted changes");
        if (!file_.readingThroughLog() && h.root >= 0) {
            if (h.logStart != h.logEnd)
                finding("header: a pending log is still named");
            else if (h.logStart != h.committedEnd())
                finding("header: the log fields are not the committed end of file");
        }
        for (int n = 2; n <= kSizeClasses; ++n) {
            const std::int64_t pages =
                (static_cast<std::int64_t>(h.zoneEnd[n]) - h.zoneStart[n]) / n;
            const std::int64_t gap = static_cast<std::int64_t>(h.zoneStart[n]) - h.zoneEnd[n - 1];
            if (pages <= 1 && gap != 0)
                finding("zone " + std::to_string(n) + " is not compacted against the zone below");
            if (pages > 1 && gap >= n)
                finding("zone " + std::to_string(n) + " leaves a gap of a whole page below it");
        }
    }

    bool load(PageNumber p, PageContent& content) {
        const std::string name = "page " + std::to_string(p);
        if (!visited_.insert(p).second) {
            finding(name + " is referenced more than once");
            return false;
        }
        Bytes image;
        const Status read = file_.readStoredPage(p, image);
        if (!read.ok()) {
            finding(name + ": " + read.message());
            return false;
        }
        const PageDefect defect = parsePageImage(image, pageOffset(p), content);
        if (defect != PageDefect::kNone) {
            finding(name + ": " + defectText(defect));
            return false;
        }
        ++report_.pages;
        const std::size_t stored = loadLe16(&image[0x04]);
        for (std::size_t i = stored; i < image.size(); ++i) {
            if (image[i] != kPaddingByte) {
                finding(name + ": padding byte at " + std::to_string(i) + " is not B0");
                break;
            }
        }
        // The stored form must be the one this engine writes: same compression choice, same
        // shared prefixes, same bytes.
        Bytes rebuilt;
        if (!tryBuildPageImage(content, rebuilt)) {
            finding(name + ": its entries do not fit a page");
        } else if (rebuilt.size() == image.size()) {
            patchPageImage(rebuilt, pageOffset(p), content.children);
            if (rebuilt != image) finding(name + ": stored bytes differ from their canonical form");
        } else {
            finding(name + ": stored in " + std::to_string(image.size() / kPageUnit) +
                    " units but its canonical form takes " +
                    std::to_string(rebuilt.size() / kPageUnit));
        }
        return true;
    }

    void walk(PageNumber p, const PageContent& page, int level, bool isRoot) {
        const std::string name = "page " + std::to_string(p);
        if (page.level != level) {
            finding(name + " is on level " + std::to_string(page.level) + ", expected " +
                    std::to_string(level));
            return;
        }
        if (page.entries.empty() && !(isRoot && page.level == 0))
            finding(name + " holds no entries");
        if (page.level == 0) {
            for (const Entry& e : page.entries) {
                if (havePrevious_ && compareBytes(previous_, e.key()) >= 0)
                    finding(name + ": key " + hex(e.key()) + " does not follow " + hex(previous_));
                previous_.assign(e.key().begin(), e.key().end());
                havePrevious_ = true;
                ++report_.entries;
                countEntry(e);
            }
            return;
        }
        for (std::size_t i = 0; i < page.entries.size(); ++i) {
            const PageNumber childNumber = page.children[i];
            PageContent child;
            if (file_.header().classOf(childNumber) == 0) {
                finding(name + ": child " + std::to_string(childNumber) + " is in no zone");
                continue;
            }
            if (!load(childNumber, child)) continue;
            if (child.entries.empty()) {
                finding("page " + std::to_string(childNumber) + " holds no entries");
                continue;
            }
            if (compareBytes(child.entries.front().key(), page.entries[i].key()) != 0)
                finding(name + ": separator " + hex(page.entries[i].key()) +
                        " differs from the lowest key " + hex(child.entries.front().key()) +
                        " of page " + std::to_string(childNumber));
            walk(childNumber, child, level - 1, false);
        }
    }

    void countEntry(const Entry& e) {
        const ByteView key = e.key();
        if (key.size() < 5 || key[0] >= EntryKind::kTableName) return;
        const TableNumber table = loadBe32(key.data());
        const std::uint8_t kind = key[4];
        if (kind == EntryKind::kMetadata && key.size() == 6) {
            Metadata m;
            if (decodeMetadata(e.data(), m))
                metadata_[{table, key[5]}] = m;
            else
                finding("metadata entry " + hex(key) + " is not 8 bytes");
            return;
        }
        if (kind == EntryKind::kRecord || kind < 0xF0) ++counted_[{table, kind}];
    }

    void checkCounts() {
        for (const auto& [subject, m] : metadata_) {
            if (subject.second != EntryKind::kRecord && m.buildMark != 0) continue;  // incomplete
            const auto found = counted_.find(subject);
            const std::uint32_t actual = found == counted_.end() ? 0 : found->second;
            if (actual != m.count)
                finding("table " + std::to_string(subject.first) + " subject " +
                        std::to_string(subject.second) + ": metadata counts " +
                        std::to_string(m.count) + " entries, the tree holds " +
                        std::to_string(actual));
        }
    }

    DataFile& file_;
    CheckReport& report_;
    std::set<PageNumber> visited_;
    Bytes previous_;
    bool havePrevious_ = false;
    std::map<std::pair<TableNumber, std::uint8_t>, Metadata> metadata_;
    std::map<std::pair<TableNumber, std::uint8_t>, std::uint32_t> counted_;
};

}  // namespace

std::string CheckReport::text() const {
    if (findings.empty()) return "no faults found\n";
    std::ostringstream out;
    for (const std::string& f : findings)
        out << f << '\n';
    return out.str();
}

CheckReport checkDataFile(DataFile& file) {
    CheckReport report;
    Walker(file, report).run();
    return report;
}

}  // namespace quillery::storage
