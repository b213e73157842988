// A recursive-descent JSON reader over a string view.
#include "app/exchange/json_reader.h"

#include <cstdint>

#include "app/exchange/export_text.h"

namespace quillery::exchange {

namespace {

constexpr int kDeepestNesting = 64;

class JsonParser {
  public:
    explicit JsonParser(std::string_view text) : text_(text) {}

    bool parseDocument(JsonValue& value, CsvProblem& problem) {
        if (!parseValue(value, 0)) return report(problem);
        skipBlanks();
        if (pos_ < text_.size()) {
            fault("text after the end of the JSON value");
            return report(problem);
        }
        return true;
    }

  private:
    bool report(CsvProblem& problem) {
        problem = CsvProblem{line_, error_};
        return false;
    }
    bool fault(std::string message) {
        if (error_.empty()) error_ = std::move(message);
        return false;
    }

    void skipBlanks() {
        while (pos_ < text_.size()) {
            const char c = text_[pos_];
            if (c == '\n') ++line_;
            if (c != ' ' && c != '\t' && c != '\r' && c != '\n') return;
            ++pos_;
        }
    }

    bool literal(std::string_view word, JsonValue& value, JsonValue::Kind kind) {
        if (text_.substr(pos_, word.size()) != word) return fault("not a JSON value");
        pos_ += word.size();
        value.kind = kind;
        value.text = kind == JsonValue::Kind::kBool ? std::string(word) : std::string();
        return true;
    }

    bool parseValue(JsonValue& value, int depth) {
        if (depth > kDeepestNesting) return fault("values nested too deeply");
        skipBlanks();
        value.line = line_;
        if (pos_ >= text_.size()) return fault("the JSON text ends where a value should be");
        switch (text_[pos_]) {
            case '{':
                return parseObject(value, depth);
            case '[':
                return parseArray(value, depth);
            case '"':
                value.kind = JsonValue::Kind::kString;
                return parseString(value.text);
            case 't':
                return literal("true", value, JsonValue::Kind::kBool);
            case 'f':
                return literal("false", value, JsonValue::Kind::kBool);
            case 'n':
                return literal("null", value, JsonValue::Kind::kNull);
            default:
                return parseNumber(value);
        }
    }

    bool parseNumber(JsonValue& value) {
        const std::size_t start = pos_;
        while (pos_ < text_.size() &&
               std::string_view("+-0123456789.eE").find(text_[pos_]) != std::string_view::npos) {
            ++pos_;
        }
        if (pos_ == start) return fault("not a JSON value");
        value.kind = JsonValue::Kind::kNumber;
        value.text = text_.substr(start, pos_ - start);
        return true;
    }

    bool expect(char c, std::string_view what) {
        skipBlanks();
        if (pos_ >= text_.size() || text_[pos_] != c) return fault("expected " + std::string(what));
        ++pos_;
        return true;
    }

    bool parseObject(JsonValue& value, int depth) {
        value.kind = JsonValue::Kind::kObject;
        ++pos_;
        skipBlanks();
        if (pos_ < text_.size() && text_[pos_] == '}') return ++pos_, true;
        for (;;) {
            skipBlanks();
            std::string name;
            if (pos_ >= text_.size() || text_[pos_] != '"') return fault("expected a member name");
            if (!parseString(name) || !expect(':', "':' after a member name")) return false;
            JsonValue member;
            if (!parseValue(member, depth + 1)) return false;
            value.names.push_back(std::move(name));
            value.values.push_back(std::move(member));
            skipBlanks();
            if (pos_ < text_.size() && text_[pos_] == ',') {
                ++pos_;
                continue;
            }
            return expect('}', "',' or '}' in an object");
        }
    }

    bool parseArray(JsonValue& value, int depth) {
        value.kind = JsonValue::Kind::kArray;
        ++pos_;
        skipBlanks();
        if (pos_ < text_.size() && text_[pos_] == ']') return ++pos_, true;
        for (;;) {
            JsonValue item;
            if (!parseValue(item, depth + 1)) return false;
            value.items.push_back(std::move(item));
            skipBlanks();
            if (pos_ < text_.size() && text_[pos_] == ',') {
                ++pos_;
                continue;
            }
            return expect(']', "',' or ']' in a list");
        }
    }

    bool hex4(std::uint32_t& unit) {
        if (pos_ + 4 > text_.size()) return fault("a \\u escape needs four hex digits");
        unit = 0;
        for (int i = 0; i < 4; ++i) {
            const char c = text_[pos_++];
            unit <<= 4;
            if (c >= '0' && c <= '9')
                unit |= c - '0';
            else if (c >= 'a' && c <= 'f')
                unit |= c - 'a' + 10;
            else if (c >= 'A' && c <= 'F')
                unit |= c - 'A' + 10;
            else
                return fault("a \\u escape needs four hex digits");
        }
        return true;
    }

    bool parseEscape(std::string& out) {
        if (pos_ >= text_.size()) return fault("a string is not closed");
        const char c = text_[pos_++];
        switch (c) {
            case '"':
            case '\\':
            case '/':
                out += c;
                return true;
            case 'b':
                out += '\b';
                return true;
            case 'f':
                out += '\f';
                return true;
            case 'n':
                out += '\n';
                return true;
            case 'r':
                out += '\r';
                return true;
            case 't':
                out += '\t';
                return true;
            case 'u': {
                std::uint32_t unit = 0;
                if (!hex4(unit)) return false;
                if (unit >= 0xD800 && unit <= 0xDBFF && text_.substr(pos_, 2) == "\\u") {
                    pos_ += 2;
                    std::uint32_t low = 0;
                    if (!hex4(low)) return false;
                    if (low < 0xDC00 || low > 0xDFFF) return fault("a broken surrogate pair");
                    unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
                } else if (unit >= 0xD800 && unit <= 0xDFFF) {
                    return fault("a broken surrogate pair");
                }
                appendUtf8(out, static_cast<char32_t>(unit));
                return true;
            }
            default:
                return fault("an unknown escape in a string");
        }
    }

    bool parseString(std::string& out) {
        ++pos_;  // the opening quote
        for (;;) {
            if (pos_ >= text_.size()) return fault("a string is not closed");
            const char c = text_[pos_++];
            if (c == '"') return true;
            if (c == '\\') {
                if (!parseEscape(out)) return false;
                continue;
            }
            if (c == '\n') ++line_;
            out += c;
        }
    }

    std::string_view text_;
    std::size_t pos_ = 0;
    int line_ = 1;
    std::string error_;
};

}  // namespace

const JsonValue* JsonValue::member(std::string_view name) const {
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (names[i] == name) return &values[i];
    }
    return nullptr;
}

std::string JsonValue::flattened() const {
    if (kind == Kind::kObject) {
        if (const JsonValue* shown = member("text")) return shown->flattened();
    }
    if (kind != Kind::kArray && kind != Kind::kObject) return text;
    std::string joined;
    const auto append = [&](const JsonValue& each) {
        const std::string part = each.flattened();
        if (part.empty()) return;
        if (!joined.empty()) joined += ", ";
        joined += part;
    };
    for (const JsonValue& item : items)
        append(item);
    for (const JsonValue& value : values)
        append(value);
    return joined;
}

bool parseJson(std::string_view text, JsonValue& value, CsvProblem& problem) {
    value = JsonValue{};
    return JsonParser(text).parseDocument(value, problem);
}

}  // namespace quillery::exchange
