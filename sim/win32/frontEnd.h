// What the host shows and what it reads, shared by the host screen, the
// message box, the dialog runner and the document view. Each window is a
// layer drawn over the ones below it. With a terminal the layers are drawn
// and keys come from the keyboard; without one (--answer, --rows) nothing is
// drawn and keys come from --keys.
#pragma once
#include <cstdint>
#include <functional>
#include <optional>

#include "sim/core/screen.h"

using Layer = std::function<void(sim::Screen&)>;

// A window on screen for the lifetime of the object.
struct LayerScope {
    explicit LayerScope(Layer layer);
    ~LayerScope();
    LayerScope(const LayerScope&) = delete;
    LayerScope& operator=(const LayerScope&) = delete;
};

// Interactive mode: takes the console over; false with a message when there
// is no console to take.
bool openFrontEnd();
void closeFrontEnd();
bool frontEndInteractive();

// Draws every layer and shows the result (nothing without a terminal).
void refreshScreen();

// The next key, fired as a host event through the hook chain; returns the
// code the chain hands back, which the host then acts on. Nothing once the
// scripted keys have run out.
std::optional<std::uint16_t> nextKey();

// The last event and what the chain made of it, for the status line.
struct EventNote {
    bool any = false;
    std::int16_t code = 0;
    std::int16_t result = 0;
};
EventNote lastEvent();
// Fires an event that is no key (the host's own), noting it like a key.
std::int16_t fireHostEvent(std::int16_t code);
