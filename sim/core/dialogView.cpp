#include "sim/core/dialogView.h"

#include <algorithm>

#include "sim/core/codepage.h"
#include "sim/core/markup.h"

namespace sim {
namespace {

std::u32string unicodeOf(std::string_view mazovia) {
    std::u32string text;
    for (char c : mazovia) text += mazoviaToUnicode(static_cast<unsigned char>(c));
    return text;
}

Paint paintOf(Markup markup, Paint normal) {
    switch (markup) {
    case Markup::highlight: return Paint::highlight;
    case Markup::keyLabel: return Paint::keyLabel;
    default: return normal;
    }
}

void drawList(Screen& screen, Rect area, const ListState& list, const RowSource& rows) {
    fillRect(screen, area, Paint::list);
    for (int line = 0; line < area.height; ++line) {
        int row = list.top + line;
        if (row >= list.count) break;
        Paint paint = row == list.selected ? Paint::selection : Paint::list;
        if (row == list.selected) fillRect(screen, {area.x, area.y + line, area.width, 1}, paint);
        // Rows start one column inside the list's left edge.
        putText(screen, area.x + 1, area.y + line, unicodeOf(rows(row)), paint, area.width - 1);
    }
    // Scroll marks just right of the list, where more rows lie out of view.
    if (list.top > 0) putCell(screen, area.x + area.width, area.y, U'▲', Paint::window);
    if (list.top + area.height < list.count)
        putCell(screen, area.x + area.width, area.y + area.height - 1, U'▼', Paint::window);
}

void drawButton(Screen& screen, Rect area, std::string_view text) {
    fillRect(screen, area, Paint::button);
    int width = static_cast<int>(plainText(text).size());
    putMarkedText(screen, area.x + std::max((area.width - width) / 2, 0), area.y, text, Paint::button, area.width);
}

}  // namespace

void putMarkedText(Screen& screen, int x, int y, std::string_view mazovia, Paint normal, int maxWidth) {
    for (const MarkedRun& run : markedRuns(mazovia)) {
        int n = putText(screen, x, y, run.text, paintOf(run.markup, normal), maxWidth);
        x += n;
        maxWidth -= n;
    }
}

Rect placeDialog(const Screen& screen, const DialogRecord& dialog) {
    if (dialog.x == 0 && dialog.y == 0) return centredRect(screen, dialog.width, dialog.height);
    return {dialog.x, dialog.y, dialog.width, dialog.height};
}

const DialogRecord* listControl(const DialogDescription& description) {
    for (const DialogRecord& control : description.controls)
        if (control.kind == dialogKind::list) return &control;
    return nullptr;
}

const DialogRecord* controlForKey(const DialogDescription& description, std::uint16_t key) {
    for (const DialogRecord& control : description.controls)
        if (control.key != 0 && control.key == key) return &control;
    return nullptr;
}

void drawDialog(Screen& screen, const DialogDescription& description, const ListState& list,
                const RowSource& rows) {
    Rect frame = placeDialog(screen, description.dialog);
    fillRect(screen, frame, Paint::window);
    drawShadow(screen, frame);
    drawFrame(screen, frame, Paint::frame, plainText(description.dialog.text));
    for (const DialogRecord& c : description.controls) {
        Rect area{frame.x + c.x, frame.y + c.y, c.width, c.height};
        switch (c.kind) {
        case dialogKind::text: putMarkedText(screen, area.x, area.y, c.text, Paint::heading, area.width); break;
        case dialogKind::field:
            fillRect(screen, area, Paint::field);
            putMarkedText(screen, area.x, area.y, c.text, Paint::field, area.width);
            break;
        case dialogKind::list: drawList(screen, area, list, rows); break;
        case dialogKind::button: drawButton(screen, area, c.text); break;
        default: putMarkedText(screen, area.x, area.y, c.text, Paint::text, area.width); break;
        }
    }
}

}  // namespace sim
