// The host's message box. Without a terminal it prints the box on standard
// error and answers the plug-in's question as --answer says.
#include <cstdint>
#include <string>

#include "sim/core/codepage.h"
#include "sim/win32/console.h"
#include "sim/win32/host.h"
#include "sim/win32/registry.h"
#include "sim/win32/transcript.h"

// Interactive front end's box; returns the answer code.
std::int32_t interactiveMessageBox(const char* caption, const char* text, std::uint32_t style);

namespace {

extern "C" std::int32_t __stdcall simMessageBox(const char* caption, const char* text,
                                                std::uint32_t style) {
    std::int32_t answer;
    if (style == questionStyle) host.questionAsked = true;
    if (host.mode == RunMode::Interactive) {
        answer = interactiveMessageBox(caption, text, style);
    } else {
        writeErr("[message] " + sim::mazoviaToUtf8(caption ? caption : "") + "\n" +
                 sim::mazoviaToUtf8(text ? text : "") + "\n");
        answer = style == questionStyle && !host.answerYes ? answerNoCode : answerYesCode;
    }
    transcript("52028 messageBox(%s, %s, 0x%X) -> 0x%04X", quoted(caption).c_str(),
               quoted(text).c_str(), style, static_cast<unsigned>(answer));
    // Only the low half is defined.
    return static_cast<std::int32_t>(0x7E7E0000u | static_cast<std::uint16_t>(answer));
}

const ServiceDef services[] = {
    {52028, "_messageBox@12", reinterpret_cast<void*>(&simMessageBox)},
};
ServiceRegistration registration(services);

}  // namespace
