"""The operating-system functions the plug-in may import at load time."""

# KERNEL32.dll at load time: the functions behind the import guards, the
# process creation that goes to the host, the string routines of the delay-load
# routing and the report, and the unwinder.
KERNEL32_LOAD_TIME = frozenset((
    "AllocConsole", "GetACP", "GetCommandLineA", "GetCurrentProcess", "GetCurrentThread",
    "GetCurrentThreadId", "GetEnvironmentStrings", "GetLastError", "GetLogicalDrives",
    "GetOEMCP", "GetVersion", "TlsAlloc", "CloseHandle", "DeleteCriticalSection",
    "DeleteFileA", "EnterCriticalSection", "ExitProcess", "FindClose", "FlushFileBuffers",
    "FreeLibrary", "GetDriveTypeA", "GetFileAttributesA", "GetFileType", "GetLocalTime",
    "GetModuleHandleA", "GetStartupInfoA", "GetStdHandle", "GetSystemTime",
    "GetTimeZoneInformation", "GlobalFree", "GlobalMemoryStatus", "GlobalLock", "GlobalUnlock",
    "HeapDestroy", "InitializeCriticalSection", "LeaveCriticalSection", "LoadLibraryA",
    "LocalFree", "RemoveDirectoryA", "ResumeThread", "SetConsoleTitleA",
    "SetCurrentDirectoryA", "SetEndOfFile", "SetHandleCount", "SetLastError", "SetSystemTime",
    "SetUnhandledExceptionFilter", "Sleep", "TlsFree", "TlsGetValue",
    "UnhandledExceptionFilter", "Beep", "CreateDirectoryA", "FileTimeToLocalFileTime",
    "FindFirstFileA", "FindNextFileA", "GetConsoleMode", "GetConsoleScreenBufferInfo",
    "GetCurrentDirectoryA", "GetExitCodeProcess", "GetNumberOfConsoleInputEvents",
    "GetProcAddress", "LocalAlloc", "MoveFileA", "SetConsoleCtrlHandler",
    "SetConsoleCursorInfo", "SetConsoleCursorPosition", "SetConsoleMode",
    "SetConsoleScreenBufferSize", "SetEnvironmentVariableA", "SetFileAttributesA",
    "SetStdHandle", "SetThreadPriority", "TerminateProcess", "TlsSetValue",
    "WaitForSingleObject", "FileTimeToDosDateTime", "GetEnvironmentVariableA",
    "GetModuleFileNameA", "HeapAlloc", "HeapCreate", "HeapFree", "HeapSize",
    "SetConsoleWindowInfo", "VirtualFree", "GetFullPathNameA", "HeapReAlloc",
    "PeekConsoleInputA", "RaiseException", "ReadConsoleInputA", "SetFilePointer",
    "VirtualAlloc", "FillConsoleOutputAttribute", "FillConsoleOutputCharacterA",
    "GetDiskFreeSpaceA", "LockFile", "ReadFile", "ScrollConsoleScreenBufferA",
    "WriteConsoleOutputA", "WriteFile", "UnlockFile", "CreateFileMappingA", "CreateThread",
    "MultiByteToWideChar", "CreateFileA", "DuplicateHandle", "GetVolumeInformationA",
    "WideCharToMultiByte", "CreateProcessA", "lstrcmpA", "lstrcmpiA", "lstrcpyA", "RtlUnwind",
))
assert len(KERNEL32_LOAD_TIME) == 113
