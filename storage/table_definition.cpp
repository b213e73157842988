// The definition stream: writing it, reading it back from untrusted bytes, and its blocks.
#include "storage/table_definition.h"

#include <algorithm>

#include "runtime/errors.h"

namespace quillery::storage {

namespace {

class StreamWriter {
  public:
    void u8(std::uint8_t v) { bytes_.push_back(v); }
    void u16(std::uint16_t v) {
        bytes_.push_back(static_cast<std::uint8_t>(v & 0xFF));
        bytes_.push_back(static_cast<std::uint8_t>(v >> 8));
    }
    void string(const DefinitionString& s) {
        // A text ends at its first zero byte, since the zero byte ends it in the stream too.
        const std::string_view text =
            s ? std::string_view(s->data(), std::min(s->size(), s->find('\0'))) : "";
        if (!s) {
            u8(0x00);
            u8(0x01);
        } else if (text.empty()) {
            u8(0x00);
            u8(0x00);
        } else {
            bytes_.insert(bytes_.end(), text.begin(), text.end());
            u8(0x00);
        }
    }
    std::vector<std::uint8_t> take() { return std::move(bytes_); }

  private:
    std::vector<std::uint8_t> bytes_;
};

// Reads the stream front to back; once a read runs past the end every later read fails too.
class StreamReader {
  public:
    explicit StreamReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    bool u8(std::uint8_t& v) {
        if (!have(1)) return false;
        v = bytes_[at_++];
        return true;
    }
    bool u16(std::uint16_t& v) {
        if (!have(2)) return false;
        v = static_cast<std::uint16_t>(bytes_[at_] | (bytes_[at_ + 1] << 8));
        at_ += 2;
        return true;
    }
    bool string(DefinitionString& s) {
        if (!have(1)) return false;
        if (bytes_[at_] == 0) {
            if (!have(2)) return false;
            const std::uint8_t marker = bytes_[at_ + 1];
            if (marker > 1) return fail();
            at_ += 2;
            s = marker == 0 ? DefinitionString(std::string()) : std::nullopt;
            return true;
        }
        const auto begin = bytes_.begin() + static_cast<std::ptrdiff_t>(at_);
        const auto end = std::find(begin, bytes_.end(), std::uint8_t{0});
        if (end == bytes_.end()) return fail();
        s = std::string(begin, end);
        at_ = static_cast<std::size_t>(end - bytes_.begin()) + 1;
        return true;
    }
    std::size_t position() const { return at_; }
    std::size_t remaining() const { return bytes_.size() - at_; }

  private:
    bool have(std::size_t n) {
        if (failed_ || remaining() < n) return fail();
        return true;
    }
    bool fail() {
        failed_ = true;
        return false;
    }

    std::span<const std::uint8_t> bytes_;
    std::size_t at_ = 0;
    bool failed_ = false;
};

Status damaged(const StreamReader& reader, const char* what) {
    return Status::error(ErrorCode::kInvalidDataFile, std::string("damaged table definition: ") +
                                                          what + " at byte " +
                                                          std::to_string(reader.position()));
}

// Smallest stream sizes of one description, to refuse absurd counts before allocating.
constexpr std::size_t kMinFieldBytes = 13;
constexpr std::size_t kMinMemoBytes = 8;
constexpr std::size_t kMinKeyBytes = 7;
constexpr std::size_t kMinComponentBytes = 4;

bool readField(StreamReader& r, FieldDescription& f) {
    if (!(r.u8(f.type) && r.u16(f.offset) && r.string(f.name) && r.u16(f.elements) &&
          r.u16(f.size) && r.u16(f.carried[0]) && r.u16(f.carried[1]))) {
        return false;
    }
    if (hasDecimalItems(f.type) && !(r.u8(f.digits) && r.u8(f.places))) return false;
    if (hasTextItems(f.type) && !(r.u16(f.textNumber) && r.string(f.text))) return false;
    return true;
}

bool readMemo(StreamReader& r, MemoDescription& m) {
    return r.string(m.name) && r.string(m.secondName) && r.u16(m.size) && r.u16(m.flags);
}

bool readKey(StreamReader& r, KeyDescription& k) {
    std::uint16_t count = 0;
    if (!(r.string(k.name) && r.string(k.secondName) && r.u8(k.flags) && r.u16(count))) {
        return false;
    }
    if (std::size_t{count} * kMinComponentBytes > r.remaining()) return false;
    k.components.resize(count);
    for (auto& c : k.components) {
        if (!(r.u16(c.field) && r.u16(c.flags))) return false;
    }
    return true;
}

}  // namespace

std::uint16_t definitionVersion(std::span<const MemoDescription> memos) {
    const bool blob = std::any_of(memos.begin(), memos.end(), [](const MemoDescription& m) {
        return (m.flags & MemoFlag::kBlob) != 0;
    });
    return blob ? 2 : 1;
}

bool hasDecimalItems(std::uint8_t type) {
    return type == FieldType::kPackedDecimal || type == FieldType::kDecimal;
}

bool hasTextItems(std::uint8_t type) {
    return type == FieldType::kFixedString || type == FieldType::kZeroTerminatedString ||
           type == FieldType::kLengthPrefixedString;
}

std::vector<std::uint8_t> encodeDefinition(const TableDefinition& d) {
    StreamWriter w;
    w.u16(d.version);
    w.u16(d.recordLength);
    w.u16(static_cast<std::uint16_t>(d.fields.size()));
    w.u16(static_cast<std::uint16_t>(d.memos.size()));
    w.u16(static_cast<std::uint16_t>(d.keys.size()));
    for (const auto& f : d.fields) {
        w.u8(f.type);
        w.u16(f.offset);
        w.string(f.name);
        w.u16(f.elements);
        w.u16(f.size);
        w.u16(f.carried[0]);
        w.u16(f.carried[1]);
        if (hasDecimalItems(f.type)) {
            w.u8(f.digits);
            w.u8(f.places);
        }
        if (hasTextItems(f.type)) {
            w.u16(f.textNumber);
            w.string(f.text);
        }
    }
    for (const auto& m : d.memos) {
        w.string(m.name);
        w.string(m.secondName);
        w.u16(m.size);
        w.u16(m.flags);
    }
    for (const auto& k : d.keys) {
        w.string(k.name);
        w.string(k.secondName);
        w.u8(k.flags);
        w.u16(static_cast<std::uint16_t>(k.components.size()));
        for (const auto& c : k.components) {
            w.u16(c.field);
            w.u16(c.flags);
        }
    }
    return w.take();
}

Status parseDefinition(std::span<const std::uint8_t> stream, TableDefinition& out) {
    StreamReader r(stream);
    std::uint16_t fieldCount = 0;
    std::uint16_t memoCount = 0;
    std::uint16_t keyCount = 0;
    if (!(r.u16(out.version) && r.u16(out.recordLength) && r.u16(fieldCount) && r.u16(memoCount) &&
          r.u16(keyCount))) {
        return damaged(r, "header cut short");
    }
    const std::size_t least =
        fieldCount * kMinFieldBytes + memoCount * kMinMemoBytes + keyCount * kMinKeyBytes;
    if (least > r.remaining()) return damaged(r, "counts larger than the stream");

    out.fields.assign(fieldCount, FieldDescription{});
    for (auto& f : out.fields) {
        if (!readField(r, f)) return damaged(r, "field description");
    }
    out.memos.assign(memoCount, MemoDescription{});
    for (auto& m : out.memos) {
        if (!readMemo(r, m)) return damaged(r, "memo description");
    }
    out.keys.assign(keyCount, KeyDescription{});
    for (auto& k : out.keys) {
        if (!readKey(r, k)) return damaged(r, "key description");
    }
    if (r.remaining() != 0) return damaged(r, "bytes after the last description");
    return Status::success();
}

Status joinDefinitionBlocks(std::span<const std::vector<std::uint8_t>> blocks,
                            std::vector<std::uint8_t>& stream) {
    stream.clear();
    for (std::size_t i = 0; i < blocks.size(); ++i) {
        const std::size_t n = blocks[i].size();
        const bool last = i + 1 == blocks.size();
        if (n == 0 || n > kDefinitionBlockSize || (!last && n != kDefinitionBlockSize)) {
            return Status::error(ErrorCode::kInvalidDataFile, "damaged table definition: block " +
                                                                  std::to_string(i) + " holds " +
                                                                  std::to_string(n) + " bytes");
        }
        stream.insert(stream.end(), blocks[i].begin(), blocks[i].end());
    }
    return Status::success();
}

bool keyLayoutOf(const TableDefinition& definition, std::size_t keyIndex, KeyLayout& out) {
    if (keyIndex >= definition.keys.size()) return false;
    const KeyDescription& key = definition.keys[keyIndex];
    KeyLayout layout;
    layout.flags = key.flags;
    for (const auto& c : key.components) {
        if (c.field >= definition.fields.size()) return false;
        const FieldDescription& f = definition.fields[c.field];
        layout.segments.push_back({f.type, f.offset, f.size, c.descending()});
    }
    if (!layout.fitsRecord(definition.recordLength)) return false;
    out = std::move(layout);
    return true;
}

}  // namespace quillery::storage
