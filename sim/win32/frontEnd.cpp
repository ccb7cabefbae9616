#include "sim/win32/frontEnd.h"

#include <deque>
#include <string>
#include <vector>

#include "sim/core/keys.h"
#include "sim/win32/host.h"
#include "sim/win32/options.h"
#include "sim/win32/terminal.h"
#include "sim/win32/transcript.h"

namespace {

std::vector<Layer> layers;
bool terminalOpen;
std::deque<std::uint16_t> scriptedKeys;
EventNote note;

// A fault in plug-in code skips the destructors of the windows open at the
// time; the next session starts from a clean screen.
SessionResetRegistration resetFrontEnd([] {
    layers.clear();
    scriptedKeys.clear();
    note = {};
    if (terminalOpen) closeFrontEnd();
});

bool applyKeys(const char* value, std::string& error) {
    for (const std::string& name : splitList(value)) {
        auto code = sim::pcKey::fromName(name);
        if (!code) {
            error = "\"" + name + "\" is no key (up, down, pgup, pgdn, home, end, f1 to f10, enter, esc, "
                    "a letter, or a code such as 0x3F00)";
            return false;
        }
        scriptedKeys.push_back(*code);
    }
    return true;
}

const OptionDef options[] = {
    {OptionGroup::running, "--keys", "LIST",
     "non-interactive: keys for the dialogs and views, e.g. down,f5,esc (each is also a host event)",
     applyKeys},
};
OptionRegistration optionRegistration(options);

}  // namespace

LayerScope::LayerScope(Layer layer) { layers.push_back(std::move(layer)); }
LayerScope::~LayerScope() {
    if (!layers.empty()) layers.pop_back();
}

bool openFrontEnd() {
    terminalOpen = openTerminal();
    return terminalOpen;
}

void closeFrontEnd() {
    if (terminalOpen) closeTerminal();
    terminalOpen = false;
}

bool frontEndInteractive() { return terminalOpen; }

void refreshScreen() {
    if (!terminalOpen) return;
    sim::Screen screen = blankTerminalScreen();
    for (const Layer& layer : layers) layer(screen);
    presentScreen(screen);
}

std::int16_t fireHostEvent(std::int16_t code) {
    std::int16_t result = static_cast<std::int16_t>(fireEvent(code));
    note = {true, code, result};
    return result;
}

std::optional<std::uint16_t> nextKey() {
    std::uint16_t key;
    if (terminalOpen) {
        key = readTerminalKey();
    } else {
        if (scriptedKeys.empty()) return std::nullopt;
        key = scriptedKeys.front();
        scriptedKeys.pop_front();
    }
    transcript("key %s", sim::pcKey::nameOf(key).c_str());
    return static_cast<std::uint16_t>(fireHostEvent(static_cast<std::int16_t>(key)));
}

EventNote lastEvent() { return note; }
