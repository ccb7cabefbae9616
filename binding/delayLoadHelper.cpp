// The delay-load mechanism: binds a delay-imported function on its first call.
// The toolchain's own helper keeps the module handle with an inline exchange;
// this one takes the atomic exchange from QATOM.dll, as the host expects of
// its plug-ins.
#include <windows.h>
#include <delayimp.h>

extern "C" IMAGE_DOS_HEADER __ImageBase;

// QATOM.dll's InterlockedExchange, read from its import cell.
extern "C" LONG(WINAPI* const qatomExchange)(LONG volatile* target, LONG value) __asm__(
    "__imp__InterlockedExchange@8");

namespace {

template <typename T>
T* atRva(RVA rva) {
    return reinterpret_cast<T*>(reinterpret_cast<char*>(&__ImageBase) + rva);
}

FARPROC notify(unsigned notification, DelayLoadInfo& info) {
    PfnDliHook hook = __pfnDliNotifyHook2;
    return hook ? hook(notification, &info) : nullptr;
}

}  // namespace

extern "C" FARPROC WINAPI __delayLoadHelper2(PCImgDelayDescr descriptor, FARPROC* cell) {
    auto* moduleCell = atRva<HMODULE>(descriptor->rvaHmod);
    auto* cells = atRva<FARPROC>(descriptor->rvaIAT);
    const IMAGE_THUNK_DATA& entry = atRva<IMAGE_THUNK_DATA>(descriptor->rvaINT)[cell - cells];

    DelayLoadInfo info = {};
    info.cb = sizeof info;
    info.pidd = descriptor;
    info.ppfn = cell;
    info.szDll = atRva<const char>(descriptor->rvaDLLName);
    info.dlp.fImportByName = !IMAGE_SNAP_BY_ORDINAL32(entry.u1.Ordinal);
    if (info.dlp.fImportByName)
        info.dlp.szProcName =
            reinterpret_cast<LPCSTR>(atRva<IMAGE_IMPORT_BY_NAME>(entry.u1.AddressOfData)->Name);
    else
        info.dlp.dwOrdinal = IMAGE_ORDINAL32(entry.u1.Ordinal);
    info.hmodCur = *moduleCell;

    DWORD failure = 0;
    FARPROC function = notify(dliStartProcessing, info);
    if (!function) {
        HMODULE module = info.hmodCur;
        if (!module) {
            module = reinterpret_cast<HMODULE>(notify(dliNotePreLoadLibrary, info));
            if (!module) module = LoadLibraryA(info.szDll);
            if (module) {
                // A second loader of the same library on another thread: keep one
                // reference only.
                auto previous = reinterpret_cast<HMODULE>(qatomExchange(
                    reinterpret_cast<LONG volatile*>(moduleCell), reinterpret_cast<LONG>(module)));
                if (previous == module) FreeLibrary(module);
            }
        }
        info.hmodCur = module;
        if (!module) {
            failure = VcppException(ERROR_SEVERITY_ERROR, ERROR_MOD_NOT_FOUND);
        } else {
            function = notify(dliNotePreGetProcAddress, info);
            if (!function) function = GetProcAddress(module, info.dlp.szProcName);
            if (!function) failure = VcppException(ERROR_SEVERITY_ERROR, ERROR_PROC_NOT_FOUND);
        }
    }

    if (failure) {
        // No failure hook: the platform's exception, with the record as its
        // parameter; a handler that continues may have put an address in pfnCur.
        info.dwLastError = GetLastError();
        PDelayLoadInfo parameter[1] = {&info};
        RaiseException(failure, 0, 1, reinterpret_cast<ULONG_PTR*>(parameter));
        function = info.pfnCur;
        if (!function) return nullptr;
    }

    *cell = function;
    info.pfnCur = function;
    info.dwLastError = 0;
    notify(dliNoteEndProcessing, info);
    return function;
}
