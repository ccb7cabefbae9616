// A small strict JSON reader (RFC 8259) for the simulator's ledger files:
// UTF-8 only, no comments, no trailing commas, no duplicate keys; every value
// remembers its line and column so that errors can say where they are.
#pragma once
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace sim {

struct JsonMember;

struct JsonValue {
    enum class Kind { null, boolean, number, text, array, object };
    Kind kind = Kind::null;
    bool boolean = false;
    double number = 0.0;
    bool numberOutOfRange = false;  // too large or too small for a double
    std::string text;               // the string's value, UTF-8
    std::vector<JsonValue> elements;
    std::vector<JsonMember> members;  // in file order
    int line = 0;
    int column = 0;

    const JsonValue* member(std::string_view key) const;
};

struct JsonMember {
    std::string name;
    JsonValue value;
};

struct JsonError {
    int line;
    int column;
    std::string message;
};

std::variant<JsonValue, JsonError> parseJson(std::string_view text);

const char* jsonKindName(JsonValue::Kind kind);

}  // namespace sim
