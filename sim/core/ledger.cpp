#include "sim/core/ledger.h"

#include <cmath>
#include <set>

#include "sim/core/codepage.h"
#include "sim/core/dates.h"
#include "sim/core/json.h"

namespace sim {
namespace {

using Kind = JsonValue::Kind;

struct Refusal {
    std::string message;
};

class Checker {
public:
    explicit Checker(std::string_view sourceName) : source_(sourceName) {}

    [[noreturn]] void refuse(const JsonValue& at, const std::string& path, const std::string& rule) const {
        throw Refusal{source_ + ":" + std::to_string(at.line) + ":" + std::to_string(at.column) + ": " +
                      (path.empty() ? "ledger" : path) + ": " + rule};
    }

    // The members of an object, refusing names the rules do not know.
    const JsonValue& object(const JsonValue& value, const std::string& path,
                            std::initializer_list<std::string_view> known) const {
        if (value.kind != Kind::object) refuse(value, path, "must be an object");
        for (const JsonMember& member : value.members) {
            bool isKnown = false;
            for (std::string_view k : known) isKnown = isKnown || k == member.name;
            if (!isKnown) refuse(member.value, join(path, member.name), "unknown field");
        }
        return value;
    }

    // A name from the file may hold any character: its control characters are
    // shown escaped, so that a refusal stays one line and never drives the
    // user's terminal.
    static std::string join(const std::string& path, std::string_view name) {
        std::string shown;
        for (char c : name) {
            auto byte = static_cast<unsigned char>(c);
            if (byte >= 0x20 && byte != 0x7F) {
                shown += c;
                continue;
            }
            static const char digits[] = "0123456789abcdef";
            shown += "\\u00";
            shown += digits[byte >> 4];
            shown += digits[byte & 15];
        }
        return path.empty() ? shown : path + "." + shown;
    }
    static std::string index(const std::string& path, std::size_t i) {
        return path + "[" + std::to_string(i) + "]";
    }

    double amount(const JsonValue& owner, const std::string& path, std::string_view name) const {
        const JsonValue* value = owner.member(name);
        if (!value) return 0.0;
        if (value->kind != Kind::number) refuse(*value, join(path, name), "must be a number");
        if (value->numberOutOfRange || !std::isfinite(value->number))
            refuse(*value, join(path, name), "must be a finite number within the range of a double");
        return value->number;
    }

    std::int16_t int16(const JsonValue& owner, const std::string& path, std::string_view name) const {
        const JsonValue* value = owner.member(name);
        if (!value) return 0;
        if (!isIntegerIn(*value, -32768.0, 32767.0))
            refuse(*value, join(path, name), "must be a signed 16-bit integer");
        return static_cast<std::int16_t>(value->number);
    }

    // 32-bit fields take signed or unsigned values; they are stored as their 32 bits.
    std::uint32_t int32(const JsonValue& owner, const std::string& path, std::string_view name) const {
        const JsonValue* value = owner.member(name);
        if (!value) return 0;
        if (!isIntegerIn(*value, -2147483648.0, 4294967295.0))
            refuse(*value, join(path, name), "must be a 32-bit integer (-2147483648 to 4294967295)");
        auto wide = static_cast<std::int64_t>(value->number);
        return static_cast<std::uint32_t>(wide);
    }

    // A text in the Mazovia code page, without control characters.
    std::string text(const JsonValue& owner, const std::string& path, std::string_view name,
                     std::size_t limit = 0) const {
        const JsonValue* value = owner.member(name);
        if (!value) return {};
        if (value->kind != Kind::text) refuse(*value, join(path, name), "must be a text");
        std::size_t bad = 0;
        std::optional<std::string> mazovia = utf8ToMazovia(value->text, &bad);
        if (!mazovia) refuse(*value, join(path, name), "has a character the Mazovia code page lacks");
        for (unsigned char c : *mazovia)
            if (c < 0x20 || c == 0x7F)
                refuse(*value, join(path, name), "must not contain control characters");
        if (limit && mazovia->size() > limit)
            refuse(*value, join(path, name), "must be at most " + std::to_string(limit) + " characters");
        return *mazovia;
    }

    std::string date(const JsonValue& owner, const std::string& path, std::string_view name,
                     bool required) const {
        const JsonValue* value = owner.member(name);
        if (!value) {
            if (required) refuse(owner, join(path, name), "is missing (a date YYYYMMDD)");
            return {};
        }
        if (value->kind != Kind::text || !dayOfDateText(value->text))
            refuse(*value, join(path, name), "must be a date YYYYMMDD");
        return value->text;
    }

    const JsonValue* array(const JsonValue& owner, const std::string& path, std::string_view name,
                           bool required) const {
        const JsonValue* value = owner.member(name);
        if (!value) {
            if (required) refuse(owner, join(path, name), "is missing (an array)");
            return nullptr;
        }
        if (value->kind != Kind::array) refuse(*value, join(path, name), "must be an array");
        return value;
    }

private:
    static bool isIntegerIn(const JsonValue& value, double low, double high) {
        return value.kind == Kind::number && !value.numberOutOfRange && std::isfinite(value.number) &&
               std::floor(value.number) == value.number && value.number >= low && value.number <= high;
    }

    std::string source_;
};

LedgerSlot readSlot(const Checker& check, const JsonValue& value, const std::string& path) {
    check.object(value, path, {"key", "amount"});
    LedgerSlot slot;
    slot.key = check.int16(value, path, "key");
    slot.amount = check.amount(value, path, "amount");
    return slot;
}

LedgerDocument readDocument(const Checker& check, const JsonValue& value, const std::string& path) {
    check.object(value, path,
                 {"number", "date", "paidAmount", "documentAmount", "paymentDays", "viewKind", "documentId",
                  "viewRef", "slots"});
    LedgerDocument document;
    document.number = check.text(value, path, "number", documentNumberLimit);
    document.date = check.date(value, path, "date", true);
    document.paidAmount = check.amount(value, path, "paidAmount");
    document.documentAmount = check.amount(value, path, "documentAmount");
    document.paymentDays = check.int16(value, path, "paymentDays");
    document.viewKind = check.int16(value, path, "viewKind");
    document.documentId = check.int32(value, path, "documentId");
    document.viewRef = check.int32(value, path, "viewRef");
    if (const JsonValue* slots = check.array(value, path, "slots", false)) {
        std::string slotsPath = Checker::join(path, "slots");
        if (slots->elements.size() > slotsPerDocument)
            check.refuse(slots->elements[slotsPerDocument], slotsPath, "must have at most 4 slots");
        for (std::size_t i = 0; i < slots->elements.size(); ++i)
            document.slots[i] = readSlot(check, slots->elements[i], Checker::index(slotsPath, i));
    }
    return document;
}

LedgerCounterparty readCounterparty(const Checker& check, const JsonValue& value, const std::string& path) {
    check.object(value, path, {"number", "name", "paidTotal", "dueTotal", "documents"});
    LedgerCounterparty counterparty;
    counterparty.number = check.int16(value, path, "number");
    counterparty.name = check.text(value, path, "name");
    counterparty.paidTotal = check.amount(value, path, "paidTotal");
    counterparty.dueTotal = check.amount(value, path, "dueTotal");
    if (const JsonValue* documents = check.array(value, path, "documents", false)) {
        std::string documentsPath = Checker::join(path, "documents");
        for (std::size_t i = 0; i < documents->elements.size(); ++i)
            counterparty.documents.push_back(
                readDocument(check, documents->elements[i], Checker::index(documentsPath, i)));
    }
    return counterparty;
}

Ledger readTop(const Checker& check, const JsonValue& top) {
    check.object(top, "", {"today", "counterparties"});
    Ledger ledger;
    ledger.today = check.date(top, "", "today", false);
    const JsonValue* counterparties = check.array(top, "", "counterparties", true);
    // A counterparty's number names its document file: two with one number
    // would share a file.
    std::set<std::int16_t> numbers;
    for (std::size_t i = 0; i < counterparties->elements.size(); ++i) {
        std::string path = Checker::index("counterparties", i);
        const JsonValue& value = counterparties->elements[i];
        ledger.counterparties.push_back(readCounterparty(check, value, path));
        if (!numbers.insert(ledger.counterparties.back().number).second) {
            const JsonValue* number = value.member("number");
            check.refuse(number ? *number : value, Checker::join(path, "number"),
                         "must differ from the numbers of the counterparties before it");
        }
    }
    return ledger;
}

}  // namespace

std::variant<Ledger, std::string> readLedger(std::string_view json, std::string_view sourceName) {
    auto parsed = parseJson(json);
    if (auto* error = std::get_if<JsonError>(&parsed))
        return std::string(sourceName) + ":" + std::to_string(error->line) + ":" +
               std::to_string(error->column) + ": " + error->message;
    try {
        return readTop(Checker(sourceName), std::get<JsonValue>(parsed));
    } catch (const Refusal& refusal) {
        return refusal.message;
    }
}

}  // namespace sim
