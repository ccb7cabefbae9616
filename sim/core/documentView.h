// The host's document view: one document of table 36 with its counterparty,
// amounts, due date and settlements, as showDocument opens it.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "sim/core/screen.h"
#include "sim/core/tables.h"

namespace sim {

struct DocumentView {
    std::string title;                                       // UTF-8
    std::vector<std::pair<std::string, std::string>> fields;  // label and value, UTF-8
};

// The document with this identifier, or nothing when no document file holds
// it. viewKind and viewRef are shown as the host's reference.
std::optional<DocumentView> documentView(const HostTables& tables, std::int32_t viewKind, std::uint32_t viewRef,
                                         std::uint32_t documentId);
void drawDocumentView(Screen& screen, const DocumentView& view);
// The view as lines of text: the title, then "label: value" lines.
std::string documentViewText(const DocumentView& view);

}  // namespace sim
