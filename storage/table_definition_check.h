// The check made at open: does the definition stored in the data file match the program's
// declaration? Numbers must match (error 47); names may differ.
#pragma once

#include <cstdint>
#include <span>

#include "storage/table_definition.h"
#include "storage/table_definition_declaration.h"

namespace quillery::storage {

struct DefinitionMatch {
    // Error 47 when a number differs: version, record length, counts, field types, offsets,
    // sizes and the other numeric items, key flags (0x10 apart), components. Memo flags are
    // not compared.
    Status status;
    // Some name or other string differs; not an error.
    bool stringsDiffer = false;
};

DefinitionMatch compareDefinitions(const TableDefinition& stored, const TableDefinition& declared);

// Reads a stored definition stream and compares it with `declaration`: error 36 when the
// stored bytes are damaged, the declaration's own error (47 or 75) when it cannot be laid out,
// otherwise as compareDefinitions.
DefinitionMatch checkStoredDefinition(std::span<const std::uint8_t> storedStream,
                                      const TableDeclaration& declaration);

}  // namespace quillery::storage
