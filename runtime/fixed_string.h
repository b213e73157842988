// A fixed-length, blank-padded text field of N single-byte (Windows-1252) characters with no
// terminator: the form every text field of records and queues takes in memory and on disk.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

namespace quillery {

template <std::size_t N>
struct FixedString {
    static_assert(N > 0);
    char data[N];

    FixedString() { clear(); }
    FixedString(std::string_view text) { assign(text); }  // NOLINT: fields take texts freely
    FixedString& operator=(std::string_view text) {
        assign(text);
        return *this;
    }

    static constexpr std::size_t size() { return N; }

    // Copies `text` left-justified: cut when longer, padded with blanks when shorter.
    void assign(std::string_view text) {
        const std::size_t n = std::min(text.size(), N);
        if (n > 0) std::memcpy(data, text.data(), n);  // an empty view may have no data at all
        std::memset(data + n, ' ', N - n);
    }
    void clear() { std::memset(data, ' ', N); }

    // The whole field, trailing blanks included.
    std::string_view view() const { return std::string_view(data, N); }
    // The field without its trailing blanks.
    std::string_view clipped() const {
        std::size_t n = N;
        while (n > 0 && data[n - 1] == ' ')
            --n;
        return std::string_view(data, n);
    }
    std::string str() const { return std::string(clipped()); }
    bool isBlank() const { return clipped().empty(); }

    // Equal when equal but for trailing blanks.
    friend bool operator==(const FixedString& a, const FixedString& b) {
        return std::memcmp(a.data, b.data, N) == 0;
    }
    friend bool operator==(const FixedString& a, std::string_view b) {
        std::size_t n = b.size();
        while (n > 0 && b[n - 1] == ' ')
            --n;
        return a.clipped() == b.substr(0, n);
    }
};

}  // namespace quillery
