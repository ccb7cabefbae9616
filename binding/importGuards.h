// Register-preserving guards in front of the operating system's imports.
#pragma once

extern "C" void installImportGuards();
