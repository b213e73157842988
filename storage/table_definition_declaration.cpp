// From a program's file declaration to the table definition stored for it.
#include "storage/table_definition_declaration.h"

#include <cstdlib>
#include <string>
#include <vector>

#include "runtime/errors.h"

namespace quillery::storage {

namespace {

Status badDeclaration(std::string message) {
    return Status::error(ErrorCode::kInvalidRecordDeclaration, std::move(message));
}

DefinitionString textOf(std::optional<std::string_view> s) {
    if (!s) return std::nullopt;
    return std::string(*s);
}

// Lays the fields out one after another. A group opens a span its members must fill exactly;
// groups may nest.
Status layOutFields(const TableDeclaration& declaration, std::vector<FieldDescription>& fields) {
    std::uint32_t cursor = 0;
    std::vector<std::uint32_t> openGroupEnds;
    auto closeFilledGroups = [&]() -> bool {
        while (!openGroupEnds.empty() && cursor >= openGroupEnds.back()) {
            if (cursor > openGroupEnds.back()) return false;
            openGroupEnds.pop_back();
        }
        return true;
    };
    for (const auto& d : declaration.fields) {
        FieldDescription f;
        f.type = d.type;
        f.offset = static_cast<std::uint16_t>(cursor);
        f.name = std::string(d.name);
        f.elements = d.elements;
        f.size = d.width;
        f.carried = d.carried;
        if (hasDecimalItems(d.type)) {
            f.digits = d.digits;
            f.places = d.places;
        }
        if (hasTextItems(d.type)) {
            f.textNumber = d.textNumber;
            f.text = textOf(d.text);
        }
        if (cursor + d.width > declaration.recordLength) {
            return badDeclaration("field " + std::string(d.name) + " lies past the record's end");
        }
        if (d.type == FieldType::kGroup) {
            openGroupEnds.push_back(cursor + d.width);
        } else {
            cursor += d.width;
        }
        if (!closeFilledGroups()) {
            return badDeclaration("field " + std::string(d.name) + " crosses its group's end");
        }
        fields.push_back(std::move(f));
    }
    if (!openGroupEnds.empty()) return badDeclaration("a group's members do not fill it");
    return Status::success();
}

Status describeKey(const KeyDeclaration& d, const std::vector<FieldDescription>& fields,
                   KeyDescription& key) {
    key.name = std::string(d.name);
    key.secondName = textOf(d.secondName);
    key.flags = keyFlagsOf(d.attributes, d.components.size());
    for (const std::int16_t declared : d.components) {
        const int number = std::abs(static_cast<int>(declared));
        if (number < 1 || static_cast<std::size_t>(number) > fields.size()) {
            return badDeclaration("key " + std::string(d.name) + " names field " +
                                  std::to_string(declared));
        }
        const FieldDescription& field = fields[static_cast<std::size_t>(number - 1)];
        if (field.elements > 1) {
            return Status::error(ErrorCode::kInvalidFieldTypeDescriptor,
                                 "key " + std::string(d.name) + " is on an array field");
        }
        key.components.push_back({static_cast<std::uint16_t>(number - 1),
                                  declared < 0 ? kDescendingComponent : std::uint16_t{0}});
    }
    return Status::success();
}

}  // namespace

std::uint8_t keyFlagsOf(std::uint16_t attributes, std::size_t componentCount) {
    std::uint8_t flags = 0;
    if (attributes & KeyAttribute::kDuplicates) flags |= KeyFlag::kDuplicates;
    if (attributes & KeyAttribute::kOptional) flags |= KeyFlag::kOptional;
    if (attributes & KeyAttribute::kCaseInsensitive) flags |= KeyFlag::kCaseInsensitive;
    if (attributes & KeyAttribute::kDeclared08) flags |= KeyFlag::kDeclared08;
    if (attributes & KeyAttribute::kDeclared10) flags |= KeyFlag::kDeclared10;
    if (attributes & KeyAttribute::kIndex) {
        flags |= KeyFlag::kIndex;
        if (componentCount == 0) flags |= KeyFlag::kRuntimeIndex;
    }
    return flags;
}

Status definitionOf(const TableDeclaration& declaration, TableDefinition& out) {
    if (declaration.recordLength > kMaxRecordLength) {
        return badDeclaration("record length over " + std::to_string(kMaxRecordLength));
    }
    if (declaration.keys.size() > kMaxKeys) return badDeclaration("too many keys");
    if (declaration.memos.size() > kMaxMemos) return badDeclaration("too many memos");
    if (declaration.fields.size() > 0xFFFF) return badDeclaration("too many fields");

    TableDefinition definition;
    definition.recordLength = static_cast<std::uint16_t>(declaration.recordLength);
    if (auto status = layOutFields(declaration, definition.fields); !status.ok()) return status;
    for (const auto& d : declaration.memos) {
        definition.memos.push_back({std::string(d.name), textOf(d.secondName), d.size, d.flags});
    }
    for (const auto& d : declaration.keys) {
        KeyDescription key;
        if (auto status = describeKey(d, definition.fields, key); !status.ok()) return status;
        definition.keys.push_back(std::move(key));
    }
    definition.version = definitionVersion(definition.memos);
    out = std::move(definition);
    return Status::success();
}

}  // namespace quillery::storage
