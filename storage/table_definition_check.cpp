// Item-by-item comparison of a stored table definition with the declared one.
#include "storage/table_definition_check.h"

#include <string>

#include "runtime/errors.h"

namespace quillery::storage {

namespace {

// Walks both definitions in stream order; the first numeric difference is the one reported.
class Comparison {
  public:
    template <typename T>
    void number(const char* what, std::size_t index, T stored, T declared) {
        if (stored == declared || !firstDifference_.empty()) return;
        firstDifference_ = std::string(what) + " " + std::to_string(index) + ": stored " +
                           std::to_string(stored) + ", declared " + std::to_string(declared);
    }
    void string(const DefinitionString& stored, const DefinitionString& declared) {
        if (stored != declared) stringsDiffer_ = true;
    }
    bool numbersDiffer() const { return !firstDifference_.empty(); }

    DefinitionMatch result() const {
        DefinitionMatch match;
        match.stringsDiffer = stringsDiffer_;
        if (numbersDiffer()) {
            match.status = Status::error(ErrorCode::kInvalidRecordDeclaration,
                                         "definition differs: " + firstDifference_);
        }
        return match;
    }

  private:
    std::string firstDifference_;
    bool stringsDiffer_ = false;
};

void compareFields(Comparison& c, const TableDefinition& s, const TableDefinition& d) {
    for (std::size_t i = 0; i < s.fields.size(); ++i) {
        const FieldDescription& a = s.fields[i];
        const FieldDescription& b = d.fields[i];
        c.number("field type", i, a.type, b.type);
        c.number("field offset", i, a.offset, b.offset);
        c.string(a.name, b.name);
        c.number("field elements", i, a.elements, b.elements);
        c.number("field size", i, a.size, b.size);
        c.number("field item 1", i, a.carried[0], b.carried[0]);
        c.number("field item 2", i, a.carried[1], b.carried[1]);
        if (hasDecimalItems(a.type) && hasDecimalItems(b.type)) {
            c.number("field digits", i, a.digits, b.digits);
            c.number("field places", i, a.places, b.places);
        }
        if (hasTextItems(a.type) && hasTextItems(b.type)) {
            c.number("field text item", i, a.textNumber, b.textNumber);
            c.string(a.text, b.text);
        }
    }
}

void compareMemos(Comparison& c, const TableDefinition& s, const TableDefinition& d) {
    for (std::size_t i = 0; i < s.memos.size(); ++i) {
        c.string(s.memos[i].name, d.memos[i].name);
        c.string(s.memos[i].secondName, d.memos[i].secondName);
        c.number("memo size", i, s.memos[i].size, d.memos[i].size);
    }
}

void compareKeys(Comparison& c, const TableDefinition& s, const TableDefinition& d) {
    constexpr std::uint8_t kCompared = static_cast<std::uint8_t>(~KeyFlag::kDeclared10);
    for (std::size_t i = 0; i < s.keys.size(); ++i) {
        const KeyDescription& a = s.keys[i];
        const KeyDescription& b = d.keys[i];
        c.string(a.name, b.name);
        c.string(a.secondName, b.secondName);
        c.number("key flags", i, a.flags & kCompared, b.flags & kCompared);
        c.number("key component count", i, a.components.size(), b.components.size());
        if (a.components.size() != b.components.size()) continue;
        for (std::size_t j = 0; j < a.components.size(); ++j) {
            c.number("key component field", i, a.components[j].field, b.components[j].field);
            c.number("key component flags", i, a.components[j].flags, b.components[j].flags);
        }
    }
}

}  // namespace

DefinitionMatch compareDefinitions(const TableDefinition& stored, const TableDefinition& declared) {
    Comparison c;
    c.number("version", 0, stored.version, declared.version);
    c.number("record length", 0, stored.recordLength, declared.recordLength);
    c.number("field count", 0, stored.fields.size(), declared.fields.size());
    c.number("memo count", 0, stored.memos.size(), declared.memos.size());
    c.number("key count", 0, stored.keys.size(), declared.keys.size());
    // With the counts equal the lists can be walked side by side.
    if (!c.numbersDiffer()) {
        compareFields(c, stored, declared);
        compareMemos(c, stored, declared);
        compareKeys(c, stored, declared);
    }
    return c.result();
}

DefinitionMatch checkStoredDefinition(std::span<const std::uint8_t> storedStream,
                                      const TableDeclaration& declaration) {
    TableDefinition stored;
    if (auto status = parseDefinition(storedStream, stored); !status.ok()) {
        return {std::move(status), false};
    }
    TableDefinition declared;
    if (auto status = definitionOf(declaration, declared); !status.ok()) {
        return {std::move(status), false};
    }
    return compareDefinitions(stored, declared);
}

}  // namespace quillery::storage
