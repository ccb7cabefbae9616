// The groups of the OS binding tests; each loads its own copy of the plug-in.
#pragma once

void runDelayRoutingTests();
void runGuardTests();
void runReportTests();
void runNullReturnTests();
void runWithheldServiceTests();
void runProbeTests();
