// A small reader of JSON text, enough for a service's export: objects keep their members in
// file order, and every value knows the line it starts on so a reader can name it.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/csv_format.h"

namespace quillery::exchange {

struct JsonValue {
    enum class Kind { kNull, kBool, kNumber, kString, kArray, kObject };
    Kind kind = Kind::kNull;
    int line = 1;
    std::string text;  // a string's UTF-8, a number as written, "true" or "false"
    std::vector<JsonValue> items;
    // An object's members: names[i] names values[i]. (Two lists, as a list of pairs would need
    // JsonValue complete here.)
    std::vector<std::string> names;
    std::vector<JsonValue> values;

    // The member named `name` of an object; nullptr when there is none.
    const JsonValue* member(std::string_view name) const;
    // The value as one line of text: a string or number as it stands, a list's values joined
    // with ", ", an object by its "text" member or else its values joined likewise.
    std::string flattened() const;
};

// The value `text` holds, or the first fault ("line N: ..."). Nesting deeper than a service
// writes is refused rather than followed.
bool parseJson(std::string_view text, JsonValue& value, CsvProblem& problem);

}  // namespace quillery::exchange
