// Little-endian fields of page image files: a writer that appends them and a reader that takes
// them from untrusted bytes without ever reading past the end.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace quillery::report {

class ByteWriter {
  public:
    explicit ByteWriter(std::vector<std::uint8_t>& out) : out_(out) {}

    void u8(std::uint8_t v) { out_.push_back(v); }
    void u16(std::uint16_t v) {
        out_.push_back(static_cast<std::uint8_t>(v));
        out_.push_back(static_cast<std::uint8_t>(v >> 8));
    }
    void i16(std::int16_t v) { u16(static_cast<std::uint16_t>(v)); }
    void u32(std::uint32_t v) {
        u16(static_cast<std::uint16_t>(v));
        u16(static_cast<std::uint16_t>(v >> 16));
    }
    void i32(std::int32_t v) { u32(static_cast<std::uint32_t>(v)); }
    void bytes(std::span<const std::uint8_t> data) {
        out_.insert(out_.end(), data.begin(), data.end());
    }
    void text(std::string_view s) { out_.insert(out_.end(), s.begin(), s.end()); }
    void zeros(std::size_t n) { out_.insert(out_.end(), n, 0); }

  private:
    std::vector<std::uint8_t>& out_;
};

// Each read fails (returns false and leaves the value alone) when too few bytes remain; a
// failed read also fails every later one, so a sequence of reads can be checked once.
class ByteReader {
  public:
    explicit ByteReader(std::span<const std::uint8_t> data) : data_(data) {}

    bool u16(std::uint16_t& v) {
        if (!need(2)) return false;
        v = static_cast<std::uint16_t>(data_[at_] | (data_[at_ + 1] << 8));
        at_ += 2;
        return true;
    }
    bool i16(std::int16_t& v) {
        std::uint16_t u = 0;
        if (!u16(u)) return false;
        v = static_cast<std::int16_t>(u);
        return true;
    }
    bool u32(std::uint32_t& v) {
        std::uint16_t lo = 0, hi = 0;
        if (!need(4)) return false;
        u16(lo);
        u16(hi);
        v = lo | (static_cast<std::uint32_t>(hi) << 16);
        return true;
    }
    bool i32(std::int32_t& v) {
        std::uint32_t u = 0;
        if (!u32(u)) return false;
        v = static_cast<std::int32_t>(u);
        return true;
    }
    bool u8(std::uint8_t& v) {
        if (!need(1)) return false;
        v = data_[at_++];
        return true;
    }
    // The next n bytes, consumed.
    bool take(std::size_t n, std::span<const std::uint8_t>& out) {
        if (!need(n)) return false;
        out = data_.subspan(at_, n);
        at_ += n;
        return true;
    }
    bool skip(std::size_t n) {
        if (!need(n)) return false;
        at_ += n;
        return true;
    }

    bool ok() const { return ok_; }
    std::size_t position() const { return at_; }
    std::size_t remaining() const { return ok_ ? data_.size() - at_ : 0; }

  private:
    bool need(std::size_t n) {
        if (ok_ && n <= data_.size() - at_) return true;
        ok_ = false;
        return false;
    }

    std::span<const std::uint8_t> data_;
    std::size_t at_ = 0;
    bool ok_ = true;
};

}  // namespace quillery::report
