// Code page 437 text of OEM tables converted field by field and memo by memo.
#include "storage/oem_text.h"

#include <algorithm>

#include "runtime/codepage.h"

namespace quillery::storage {
namespace {

using CharMap = unsigned char (*)(unsigned char);

unsigned char fromOem(unsigned char c) {
    return cp437ToCp1252(c);
}
unsigned char toOem(unsigned char c) {
    return cp1252ToCp437(c);
}

// The characters of one string element: all of a fixed or zero-terminated string (the zero
// byte maps to itself), the counted text after a length-prefixed string's length byte.
void convertElement(std::uint8_t type, std::span<std::uint8_t> element, CharMap map) {
    if (element.empty()) return;
    std::span<std::uint8_t> text = element;
    if (type == FieldType::kLengthPrefixedString) {
        // The length comes from the buffer or the file and may claim more than the field holds.
        const std::size_t n = std::min<std::size_t>(element[0], element.size() - 1);
        text = element.subspan(1, n);
    }
    for (auto& b : text)
        b = map(b);
}

// Calls `visit(type, offset, size)` for each element of each string field inside `length`.
template <class Visit>
void forEachTextElement(const TableDefinition& definition, std::size_t length, Visit&& visit) {
    for (const FieldDescription& f : definition.fields) {
        if (!holdsText(f.type)) continue;
        if (std::size_t{f.offset} + f.size > length) continue;
        const bool even = f.elements > 1 && f.size % f.elements == 0;
        const std::size_t elementSize = even ? f.size / f.elements : f.size;
        if (elementSize == 0) continue;
        for (std::size_t at = 0; at + elementSize <= f.size; at += elementSize)
            visit(f.type, f.offset + at, elementSize);
    }
}

}  // namespace

bool holdsText(std::uint8_t type) {
    return type == FieldType::kFixedString || type == FieldType::kZeroTerminatedString ||
           type == FieldType::kLengthPrefixedString;
}

void recordTextFromOem(const TableDefinition& definition, std::span<std::uint8_t> record) {
    forEachTextElement(definition, record.size(),
                       [&](std::uint8_t type, std::size_t offset, std::size_t size) {
                           convertElement(type, record.subspan(offset, size), fromOem);
                       });
}

void recordTextToOem(const TableDefinition& definition, std::span<std::uint8_t> record,
                     std::span<const std::uint8_t> stored) {
    Bytes asRead;
    forEachTextElement(definition, record.size(),
                       [&](std::uint8_t type, std::size_t offset, std::size_t size) {
                           const auto element = record.subspan(offset, size);
                           if (offset + size <= stored.size()) {
                               const auto kept = stored.subspan(offset, size);
                               asRead.assign(kept.begin(), kept.end());
                               convertElement(type, asRead, fromOem);
                               if (std::equal(asRead.begin(), asRead.end(), element.begin())) {
                                   std::copy(kept.begin(), kept.end(), element.begin());
                                   return;
                               }
                           }
                           convertElement(type, element, toOem);
                       });
}

bool memoHoldsText(const MemoDescription& memo) {
    return (memo.flags & (MemoFlag::kBinary | MemoFlag::kBlob)) == 0;
}

void memoTextFromOem(const TableDefinition& definition, std::vector<Bytes>& memos) {
    for (std::size_t m = 0; m < memos.size() && m < definition.memos.size(); ++m) {
        if (!memoHoldsText(definition.memos[m])) continue;
        for (auto& b : memos[m])
            b = fromOem(b);
    }
}

std::vector<Bytes> memoTextToOem(const TableDefinition& definition,
                                 const std::vector<Bytes>& memos) {
    std::vector<Bytes> out = memos;
    for (std::size_t m = 0; m < out.size() && m < definition.memos.size(); ++m) {
        if (!memoHoldsText(definition.memos[m])) continue;
        for (auto& b : out[m])
            b = toOem(b);
    }
    return out;
}

}  // namespace quillery::storage
