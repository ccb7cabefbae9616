#include "sim/core/json.h"

#include "sim/core/codepage.h"

#include <charconv>
#include <cstdint>
#include <limits>

namespace sim {
namespace {

constexpr int maximumDepth = 64;

struct Failure {
    JsonError error;
};

class Reader {
public:
    explicit Reader(std::string_view text) : text_(text) {}

    JsonValue document() {
        if (text_.substr(0, 3) == "\xEF\xBB\xBF") advance(3);  // a UTF-8 byte order mark
        skipBlanks();
        JsonValue value = parseValue(0);
        skipBlanks();
        if (position_ != text_.size()) fail("unexpected text after the end of the document");
        return value;
    }

private:
    [[noreturn]] void fail(std::string message) { throw Failure{{line_, column_, std::move(message)}}; }

    bool atEnd() const { return position_ >= text_.size(); }
    char peek() const { return atEnd() ? '\0' : text_[position_]; }

    void advance(std::size_t count = 1) {
        while (count-- && !atEnd()) {
            unsigned char c = static_cast<unsigned char>(text_[position_++]);
            if (c == '\n') {
                ++line_;
                column_ = 1;
            } else if ((c & 0xC0) != 0x80) {
                ++column_;  // columns count characters, not bytes
            }
        }
    }

    void skipBlanks() {
        while (!atEnd() && (peek() == ' ' || peek() == '\t' || peek() == '\n' || peek() == '\r')) advance();
    }

    void expect(char c, const char* what) {
        if (peek() != c) fail(std::string("expected ") + what);
        advance();
    }

    JsonValue parseValue(int depth) {
        if (depth > maximumDepth) fail("nested too deeply");
        JsonValue value;
        value.line = line_;
        value.column = column_;
        char c = peek();
        if (c == '{') {
            parseObject(value, depth);
        } else if (c == '[') {
            parseArray(value, depth);
        } else if (c == '"') {
            value.kind = JsonValue::Kind::text;
            value.text = parseString();
        } else if (c == '-' || (c >= '0' && c <= '9')) {
            value.kind = JsonValue::Kind::number;
            value.number = parseNumber(value.numberOutOfRange);
        } else if (literal("true")) {
            value.kind = JsonValue::Kind::boolean;
            value.boolean = true;
        } else if (literal("false")) {
            value.kind = JsonValue::Kind::boolean;
        } else if (literal("null")) {
            value.kind = JsonValue::Kind::null;
        } else if (atEnd()) {
            fail("unexpected end of the document");
        } else {
            fail("expected a value");
        }
        return value;
    }

    bool literal(std::string_view word) {
        if (text_.substr(position_, word.size()) != word) return false;
        advance(word.size());
        return true;
    }

    void parseObject(JsonValue& value, int depth) {
        value.kind = JsonValue::Kind::object;
        advance();
        skipBlanks();
        if (peek() == '}') {
            advance();
            return;
        }
        for (;;) {
            skipBlanks();
            if (peek() != '"') fail("expected a member name in quotes");
            int keyLine = line_, keyColumn = column_;
            std::string key = parseString();
            for (const auto& member : value.members)
                if (member.name == key) {
                    line_ = keyLine;
                    column_ = keyColumn;
                    fail("member \"" + key + "\" appears twice");
                }
            skipBlanks();
            expect(':', "':' after a member name");
            skipBlanks();
            value.members.push_back(JsonMember{std::move(key), parseValue(depth + 1)});
            skipBlanks();
            if (peek() == ',') {
                advance();
                continue;
            }
            expect('}', "',' or '}' in an object");
            return;
        }
    }

    void parseArray(JsonValue& value, int depth) {
        value.kind = JsonValue::Kind::array;
        advance();
        skipBlanks();
        if (peek() == ']') {
            advance();
            return;
        }
        for (;;) {
            skipBlanks();
            value.elements.push_back(parseValue(depth + 1));
            skipBlanks();
            if (peek() == ',') {
                advance();
                continue;
            }
            expect(']', "',' or ']' in an array");
            return;
        }
    }

    unsigned hexDigit() {
        char c = peek();
        unsigned digit;
        if (c >= '0' && c <= '9')
            digit = static_cast<unsigned>(c - '0');
        else if (c >= 'a' && c <= 'f')
            digit = static_cast<unsigned>(c - 'a' + 10);
        else if (c >= 'A' && c <= 'F')
            digit = static_cast<unsigned>(c - 'A' + 10);
        else
            fail("expected four hexadecimal digits after \\u");
        advance();
        return digit;
    }

    char32_t escapedUnit() {
        unsigned unit = 0;
        for (int i = 0; i < 4; ++i) unit = unit * 16 + hexDigit();
        return unit;
    }

    // One UTF-8 sequence copied as it stands, after checking it is well formed.
    void copyUtf8Sequence(std::string& out) {
        auto byte = [&](std::size_t i) -> unsigned char {
            return position_ + i < text_.size() ? static_cast<unsigned char>(text_[position_ + i]) : 0;
        };
        unsigned char lead = byte(0);
        int length;
        char32_t c;
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
            c = lead & 0x1F;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            c = lead & 0x0F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            c = lead & 0x07;
        } else {
            fail("invalid UTF-8");
        }
        for (int i = 1; i < length; ++i) {
            if ((byte(i) & 0xC0) != 0x80) fail("invalid UTF-8");
            c = (c << 6) | (byte(i) & 0x3F);
        }
        if ((length == 3 && c < 0x800) || (length == 4 && (c < 0x10000 || c > 0x10FFFF)) ||
            (c >= 0xD800 && c <= 0xDFFF))
            fail("invalid UTF-8");
        out.append(text_.substr(position_, static_cast<std::size_t>(length)));
        advance(static_cast<std::size_t>(length));
    }

    std::string parseString() {
        advance();  // the opening quote
        std::string out;
        for (;;) {
            if (atEnd()) fail("unterminated string");
            unsigned char c = static_cast<unsigned char>(peek());
            if (c == '"') {
                advance();
                return out;
            }
            if (c < 0x20) fail("control character in a string (write it as an escape)");
            if (c >= 0x80) {
                copyUtf8Sequence(out);
                continue;
            }
            if (c != '\\') {
                out += static_cast<char>(c);
                advance();
                continue;
            }
            advance();
            char e = peek();
            advance();
            switch (e) {
                case '"': out += '"'; break;
                case '\\': out += '\\'; break;
                case '/': out += '/'; break;
                case 'b': out += '\b'; break;
                case 'f': out += '\f'; break;
                case 'n': out += '\n'; break;
                case 'r': out += '\r'; break;
                case 't': out += '\t'; break;
                case 'u': {
                    char32_t unit = escapedUnit();
                    if (unit >= 0xDC00 && unit <= 0xDFFF) fail("lone low surrogate in \\u escape");
                    if (unit >= 0xD800 && unit <= 0xDBFF) {
                        if (!literal("\\u")) fail("high surrogate without its low half");
                        char32_t low = escapedUnit();
                        if (low < 0xDC00 || low > 0xDFFF) fail("high surrogate without its low half");
                        unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
                    }
                    sim::appendUtf8(out, unit);
                    break;
                }
                default: fail("unknown escape in a string");
            }
        }
    }

    double parseNumber(bool& outOfRange) {
        std::size_t start = position_;
        if (peek() == '-') advance();
        if (peek() == '0') {
            advance();
        } else if (peek() >= '1' && peek() <= '9') {
            while (peek() >= '0' && peek() <= '9') advance();
        } else {
            fail("expected a digit");
        }
        if (peek() == '.') {
            advance();
            if (!(peek() >= '0' && peek() <= '9')) fail("expected a digit after the decimal point");
            while (peek() >= '0' && peek() <= '9') advance();
        }
        if (peek() == 'e' || peek() == 'E') {
            advance();
            if (peek() == '+' || peek() == '-') advance();
            if (!(peek() >= '0' && peek() <= '9')) fail("expected a digit in the exponent");
            while (peek() >= '0' && peek() <= '9') advance();
        }
        double number = 0.0;
        const char* first = text_.data() + start;
        const char* last = text_.data() + position_;
        auto [end, error] = std::from_chars(first, last, number);
        if (error == std::errc::result_out_of_range) {
            outOfRange = true;  // beyond a double: the ledger's rules refuse it
            number = *first == '-' ? -std::numeric_limits<double>::infinity()
                                   : std::numeric_limits<double>::infinity();
        } else if (error != std::errc() || end != last) {
            fail("malformed number");
        }
        return number;
    }

    std::string_view text_;
    std::size_t position_ = 0;
    int line_ = 1;
    int column_ = 1;
};

}  // namespace

const JsonValue* JsonValue::member(std::string_view key) const {
    for (const auto& m : members)
        if (m.name == key) return &m.value;
    return nullptr;
}

std::variant<JsonValue, JsonError> parseJson(std::string_view text) {
    try {
        return Reader(text).document();
    } catch (const Failure& failure) {
        return failure.error;
    }
}

const char* jsonKindName(JsonValue::Kind kind) {
    switch (kind) {
        case JsonValue::Kind::null: return "null";
        case JsonValue::Kind::boolean: return "a truth value";
        case JsonValue::Kind::number: return "a number";
        case JsonValue::Kind::text: return "a text";
        case JsonValue::Kind::array: return "an array";
        case JsonValue::Kind::object: return "an object";
    }
    return "a value";
}

}  // namespace sim
