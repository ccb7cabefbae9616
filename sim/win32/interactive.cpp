// Placeholder for the interactive host screen.
#include "sim/win32/console.h"
#include "sim/win32/host.h"

std::int32_t interactiveMessageBox(const char*, const char*, std::uint32_t) { return answerNoCode; }

int runInteractive() {
    complain("the interactive host screen is not available yet; use --answer yes|no");
    return exitUsage;
}
