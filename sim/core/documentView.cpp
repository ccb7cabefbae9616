#include "sim/core/documentView.h"

#include <algorithm>
#include <cstring>

#include "sim/core/codepage.h"
#include "sim/core/dates.h"
#include "sim/core/moneyText.h"

namespace sim {
namespace {

std::uint32_t getUint32(const Record& record, std::size_t offset) {
    std::uint32_t value;
    std::memcpy(&value, record.data() + offset, sizeof value);
    return value;
}

// A NUL-terminated text field, at most limit bytes.
std::string textField(const Record& record, std::size_t offset, std::size_t limit) {
    const char* start = reinterpret_cast<const char*>(record.data() + offset);
    return std::string(start, strnlen(start, std::min(limit, record.size() - offset)));
}

std::string shownDate(const std::string& stored) {
    char text[shownDateSize];
    formatStoredDate(text, stored.c_str());
    return std::string(text, strnlen(text, sizeof text));
}

std::string documentNumber(const Record& record) {
    return mazoviaToUtf8(textField(record, documentField::number, documentField::date - documentField::number));
}

std::string counterpartyName(const HostTables& tables, std::int16_t number) {
    for (const Record& record : tables.counterparties) {
        if (getInt16(record, counterpartyField::number) != number) continue;
        std::string name(reinterpret_cast<const char*>(record.data() + counterpartyField::name),
                         counterpartyField::nameWidth);
        name.erase(name.find_last_not_of(' ') + 1);
        return mazoviaToUtf8(name);
    }
    return "?";
}

std::string kindName(std::int32_t viewKind) {
    switch (viewKind) {
    case 1: return "faktura";
    case 2: return "wpłata";
    case 3: return "korekta";
    default: return "rodzaj " + std::to_string(viewKind);
    }
}

// The number of the document in the same file whose identifier's low half is key.
std::string referredDocument(const std::vector<Record>& file, std::int16_t key) {
    for (const Record& other : file)
        if (static_cast<std::int16_t>(getUint32(other, documentField::documentId)) == key)
            return documentNumber(other);
    return "dokument " + std::to_string(key);
}

}  // namespace

std::optional<DocumentView> documentView(const HostTables& tables, std::int32_t viewKind, std::uint32_t viewRef,
                                         std::uint32_t documentId) {
    namespace f = documentField;
    for (const auto& [number, file] : tables.documentFiles) {
        for (const Record& record : file) {
            if (getUint32(record, f::documentId) != documentId) continue;
            DocumentView view;
            view.title = kindName(viewKind) + " " + documentNumber(record);
            auto add = [&](std::string label, std::string value) {
                view.fields.emplace_back(std::move(label), std::move(value));
            };
            add("Kontrahent", counterpartyName(tables, number) + " (nr " + std::to_string(number) + ")");
            std::string date = textField(record, f::date, storedDateSize);
            add("Data dokumentu", shownDate(date));
            std::int16_t days = getInt16(record, f::paymentDays);
            std::string due = date + std::string(storedDateSize, '\0');
            addDaysInPlace(due.data(), days);
            add("Termin płatności", std::to_string(days) + " dni, do " + shownDate(due.c_str()));
            double amount = getDouble(record, f::documentAmount), paid = getDouble(record, f::paidAmount);
            add("Kwota dokumentu", moneyText(amount));
            add("Zapłacono", moneyText(paid));
            add("Saldo", moneyText(paid - amount));
            auto ownKey = static_cast<std::int16_t>(documentId);
            for (std::size_t j = 0; j < slotsPerDocument; ++j) {
                std::int16_t key = getInt16(record, f::slotKey + f::slotKeyStride * j);
                if (key != 0)
                    add("Rozlicza", referredDocument(file, key) + ": " +
                                        moneyText(getDouble(record, f::slotAmount + 8 * j)));
            }
            for (const Record& other : file)
                for (std::size_t j = 0; j < slotsPerDocument; ++j)
                    if (&other != &record && getInt16(other, f::slotKey + f::slotKeyStride * j) == ownKey)
                        add("Rozliczony przez", documentNumber(other) + ": " +
                                                    moneyText(getDouble(other, f::slotAmount + 8 * j)));
            add("Identyfikator", std::to_string(documentId) + " (widok " + std::to_string(viewKind) + ", " +
                                     std::to_string(viewRef) + ")");
            return view;
        }
    }
    return std::nullopt;
}

void drawDocumentView(Screen& screen, const DocumentView& view) {
    std::size_t labelWidth = 0, valueWidth = 0;
    for (const auto& [label, value] : view.fields) {
        labelWidth = std::max(labelWidth, fromUtf8(label).size());
        valueWidth = std::max(valueWidth, fromUtf8(value).size());
    }
    int width = std::max(static_cast<int>(labelWidth + valueWidth) + 8, static_cast<int>(fromUtf8(view.title).size()) + 6);
    width = std::min(std::max(width, 40), std::max(screen.width - 2, 10));
    int height = static_cast<int>(view.fields.size()) + 6;
    Rect frame = centredRect(screen, width, height);
    fillRect(screen, frame, Paint::window);
    drawShadow(screen, frame);
    drawFrame(screen, frame, Paint::frame, fromUtf8(view.title));
    int y = frame.y + 2;
    for (const auto& [label, value] : view.fields) {
        putText(screen, frame.x + 2, y, fromUtf8(label + ":"), Paint::heading);
        putText(screen, frame.x + 4 + static_cast<int>(labelWidth), y, fromUtf8(value), Paint::text,
                width - 6 - static_cast<int>(labelWidth));
        ++y;
    }
    int hint = frame.x + width - 14;
    putText(screen, hint, frame.y + height - 2, U"Esc", Paint::keyLabel);
    putText(screen, hint + 3, frame.y + height - 2, U" zamknij", Paint::window);
}

std::string documentViewText(const DocumentView& view) {
    std::string text = view.title + "\n";
    for (const auto& [label, value] : view.fields) text += label + ": " + value + "\n";
    return text;
}

}  // namespace sim
