// The plug-in's OS binding under Wine: delay-load routing, the import guards,
// the missing-service report and its null returns. Each group loads its own
// copy of korvandilek.dll, so slots and import cells start as the loader
// leaves them.
#include "tests/wine/osBinding/support.h"
#include "tests/wine/osBinding/tests.h"

int main() {
    // Before anything binds MessageBoxA: boxes go to the scripted stand-in.
    installBoxStandIn();
    runDelayRoutingTests();
    runProbeTests();
    runGuardTests();
    runNullReturnTests();
    runReportTests();
    runWithheldServiceTests();
    return reportChecks("osBinding");
}
