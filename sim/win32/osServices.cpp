// Services behind the plug-in's operating-system binding: process creation,
// which the plug-in's CreateProcessA import is sent to, and the conversion of
// the missing-service report's texts for the operating system's box.
#include <cstdint>
#include <string>

#include "sim/core/codepage.h"
#include "sim/win32/registry.h"
#include "sim/win32/transcript.h"

namespace {

// The host decides which programs a plug-in may start: this one starts none
// and says so, as CreateProcessA would for a missing program.
extern "C" std::int32_t __stdcall simStartProcess(const char* application, char* commandLine,
                                                   void*, void*, std::int32_t, std::uint32_t,
                                                   void*, const char*, void*, void*) {
    transcript("52005 startProcess(%s, %s) -> 0", quoted(application).c_str(),
               quoted(commandLine).c_str());
    return 0;
}

// (destination, source, 1, 3): Mazovia to Windows-1250; the two may be one buffer.
extern "C" void __stdcall simConvertText(char* destination, const char* source, std::int32_t from,
                                         std::int32_t to) {
    std::string text = source ? source : "";
    std::string converted = from == 1 && to == 3 ? sim::mazoviaToWindows1250(text) : text;
    transcript("52158 convertText(%s, %d, %d)", quoted(source).c_str(), from, to);
    converted.copy(destination, converted.size());
    destination[converted.size()] = '\0';
}

const ServiceDef services[] = {
    {52005, "_startProcess@40", reinterpret_cast<void*>(&simStartProcess)},
    {52158, "_convertText@16", reinterpret_cast<void*>(&simConvertText)},
};
ServiceRegistration registration(services);

}  // namespace
