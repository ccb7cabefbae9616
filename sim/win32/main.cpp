// vantreo-sim: loads the plug-in as the host does, offers it the host's
// services, fires events through the hook chain, and unloads it.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "sim/win32/console.h"
#include "sim/win32/host.h"
#include "sim/win32/ledgerAccess.h"
#include "sim/win32/options.h"
#include "sim/win32/registry.h"
#include "sim/win32/transcript.h"

namespace {

int loadCalls = 1;
bool nullNameBuffer = false;
bool unloadFirst = false;
bool endReport = false;
SessionResetRegistration resetLoadOptions([] {
    loadCalls = 1;
    nullNameBuffer = false;
    unloadFirst = false;
    endReport = false;
    closeTranscript();
});

bool applyPlugin(const char* value, std::string&) {
    host.pluginPath = value;
    return true;
}

bool applyAnswer(const char* value, std::string& error) {
    std::string v = value;
    if (v != "yes" && v != "no") {
        error = "expected yes or no";
        return false;
    }
    if (host.mode == RunMode::Interactive) host.mode = RunMode::Answer;
    host.answerYes = v == "yes";
    return true;
}

bool applyRows(const char*, std::string&) {
    host.mode = RunMode::Rows;
    host.answerYes = true;
    return true;
}

bool applyWithout(const char* value, std::string& error) {
    for (const std::string& item : splitList(value)) {
        long long v;
        if (!parseInteger(item.c_str(), 1, 0xFFFF, v)) {
            error = "\"" + item + "\" is not a service number";
            return false;
        }
        withholdService(static_cast<std::uint16_t>(v));
    }
    return true;
}

bool applyTranscript(const char* value, std::string& error) {
    if (!openTranscript(value)) {
        error = std::string("cannot write ") + value;
        return false;
    }
    return true;
}

bool applyLoadCalls(const char* value, std::string& error) {
    long long v;
    if (!parseInteger(value, 1, 10, v)) {
        error = "expected 1 to 10";
        return false;
    }
    loadCalls = static_cast<int>(v);
    return true;
}

bool applyNullName(const char*, std::string&) {
    nullNameBuffer = true;
    return true;
}

bool applyUnloadFirst(const char*, std::string&) {
    unloadFirst = true;
    return true;
}

bool applyHelp(const char*, std::string&) {
    writeOut(usageText());
    std::exit(exitOk);
}

bool applyEndReport(const char*, std::string&) {
    endReport = true;
    return true;
}

const OptionDef options[] = {
    {OptionGroup::running, "--answer", "yes|no", "non-interactive: fire events, answer the question, unload",
     applyAnswer},
    {OptionGroup::running, "--rows", nullptr,
     "non-interactive: answer yes and print the list's rows on standard output", applyRows},
    {OptionGroup::running, "--plugin", "DLL",
     "the plug-in to load (default: korvandilek.dll beside vantreo-sim.exe)", applyPlugin},
    {OptionGroup::running, "--help", nullptr, "show this text", applyHelp},
    {OptionGroup::hostVersion, "--without", "N[,N...]", "the host lacks these service numbers", applyWithout},
    {OptionGroup::scripting, "--load-calls", "N", "make the load call N times (default 1)", applyLoadCalls},
    {OptionGroup::scripting, "--null-name", nullptr, "make the load call with a null name buffer",
     applyNullName},
    {OptionGroup::scripting, "--unload-first", nullptr, "make an unload call before the load call",
     applyUnloadFirst},
    {OptionGroup::scripting, "--transcript", "FILE",
     "write every service call, callback request and event to FILE", applyTranscript},
    {OptionGroup::scripting, "--end-report", nullptr,
     "at the session's end one line on standard error: faults, state flags at start and end, rows "
     "listed, blocks and scans left",
     applyEndReport},
    // Read by main before the options.
    {OptionGroup::scripting, "--then", nullptr,
     "end one session's options and start the next, the plug-in loaded afresh", nullptr},
    {OptionGroup::scripting, "@FILE", nullptr,
     "options read from FILE, one per line (--then too), blank lines ignored: for more than a "
     "command line holds (32,767 characters)",
     nullptr},
};
OptionRegistration optionRegistration(options);

std::string defaultPluginPath() {
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
    std::string p(path, n);
    auto slash = p.find_last_of("\\/");
    return (slash == std::string::npos ? std::string() : p.substr(0, slash + 1)) + "korvandilek.dll";
}

std::int32_t loadCall(char* nameBuffer) {
    std::int32_t result = 0;
    transcript("load pluginEntry(callback, %s)", nameBuffer ? "name buffer" : "null");
    callPlugin("the load call", [&] { result = host.entry(&hostCallback, nameBuffer); });
    transcript("load -> %d", result);
    if (nameBuffer) {
        nameBuffer[63] = '\0';
        transcript("name %s", quoted(nameBuffer).c_str());
    }
    return result;
}

void unloadCall() {
    std::int32_t result = 0;
    transcript("unload pluginEntry(null, name buffer)");
    char buffer[64];
    std::memset(buffer, 0xCC, sizeof buffer);
    callPlugin("the unload call", [&] { result = host.entry(nullptr, buffer); });
    transcript("unload -> %d", result);
    bool untouched = true;
    for (char c : buffer) untouched = untouched && c == static_cast<char>(0xCC);
    if (!untouched) transcript("unload wrote into the name buffer");
}

void unload() {
    unloadCall();
    FreeLibrary(host.plugin);
    host.plugin = nullptr;
    transcript("freed");
}


// One session: load the plug-in, run the main job, unload. Returns the exit status.
int runSessionSteps(int argc, char** argv) {
    std::string error;
    bool parsed = parseOptions(argc, argv, error);
    host.stateFlagsAtStart = host.stateFlags;
    if (!parsed) {
        complain("%s", error.c_str());
        return exitUsage;
    }
    if (!runStartupSteps(error)) {
        complain("%s", error.c_str());
        return exitLedger;
    }
    if (host.pluginPath.empty()) host.pluginPath = defaultPluginPath();

    host.plugin = LoadLibraryA(host.pluginPath.c_str());
    if (!host.plugin) {
        complain("cannot load the plug-in %s (error %lu)", host.pluginPath.c_str(), GetLastError());
        return exitNotLoadable;
    }
    host.entry = reinterpret_cast<PluginEntry>(
        reinterpret_cast<void*>(GetProcAddress(host.plugin, MAKEINTRESOURCEA(30001))));
    if (!host.entry) {
        complain("%s has no export with ordinal 30001", host.pluginPath.c_str());
        FreeLibrary(host.plugin);
        return exitNotLoadable;
    }
    transcript("loaded %s", host.pluginPath.c_str());

    try {
        if (unloadFirst) unloadCall();
        char nameBuffer[64];
        std::int32_t result = 0;
        for (int i = 0; i < loadCalls; ++i) {
            std::memset(nameBuffer, 0xCC, sizeof nameBuffer);
            result = loadCall(nullNameBuffer ? nullptr : nameBuffer);
        }
        if (result != 0) {
            unload();
            complain("the plug-in refused to work with this host (pluginEntry returned %d)", result);
            return exitRefused;
        }
        int status = exitOk;
        if (host.mode == RunMode::Interactive) status = runInteractive();
        else runScripted();
        // A host that goes on after faults (--on-fault continue) still
        // counts the plug-in as loaded, so it ends it as usual.
        unload();
        return status;
    } catch (const SessionEnd& end) {
        // A fault in the plug-in: its state is not to be trusted, so no unload call.
        FreeLibrary(host.plugin);
        host.plugin = nullptr;
        transcript("freed after a fault");
        return end.status;
    }
}

int runSession(int argc, char** argv) {
    int status = runSessionSteps(argc, argv);
    return host.faults ? exitPluginFault : status;
}

void writeEndReport() {
    std::string list = host.faultsBeforeList < 0
                           ? std::string("no list")
                           : formatted("%d rows listed after %d faults", host.rowsListed, host.faultsBeforeList);
    writeErr(formatted("[end] %d faults, state flags 0x%04X -> 0x%04X, %s, %lu blocks held, %lu scans open\n",
                       host.faults, host.stateFlagsAtStart, host.stateFlags, list.c_str(),
                       static_cast<unsigned long>(hostBlocksHeld()),
                       static_cast<unsigned long>(hostScansOpen())));
}

// "@FILE" stands for the lines of FILE, one option or value each, as a
// compiler takes a response file; blank lines are skipped and a file may
// name another.
bool expandOptionFiles(const std::vector<std::string>& in, std::vector<std::string>& out, int depth,
                       std::string& error) {
    constexpr int maxDepth = 16;
    for (const std::string& arg : in) {
        if (arg.size() < 2 || arg[0] != '@') {
            out.push_back(arg);
            continue;
        }
        std::string path = arg.substr(1);
        if (depth >= maxDepth) {
            error = "option files nested more than 16 deep at " + arg;
            return false;
        }
        std::ifstream file(path, std::ios::binary);
        if (!file) {
            error = "cannot read the option file " + path;
            return false;
        }
        std::vector<std::string> lines;
        for (std::string line; std::getline(file, line);) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            if (line.find_first_not_of(" \t") != std::string::npos) lines.push_back(line);
        }
        if (file.bad()) {
            error = "cannot read the option file " + path;
            return false;
        }
        if (!expandOptionFiles(lines, out, depth + 1, error)) return false;
    }
    return true;
}

}  // namespace

// Sessions are separated by --then; with more than one, each is announced and
// its exit status reported on both streams, and the last status is the exit status.
int main(int argc, char** argv) {
    std::vector<std::string> args;
    std::string error;
    if (!expandOptionFiles(std::vector<std::string>(argv + 1, argv + argc), args, 0, error)) {
        complain("%s", error.c_str());
        return exitUsage;
    }
    std::vector<std::vector<char*>> sessions(1, std::vector<char*>{argv[0]});
    for (std::string& arg : args) {
        if (arg == "--then") sessions.push_back({argv[0]});
        else sessions.back().push_back(arg.data());
    }
    int status = exitOk;
    for (std::size_t i = 0; i < sessions.size(); ++i) {
        resetSession();
        bool announce = sessions.size() > 1;
        if (announce) {
            writeOut(formatted("=== session %u\n", static_cast<unsigned>(i + 1)));
            writeErr(formatted("=== session %u\n", static_cast<unsigned>(i + 1)));
        }
        status = runSession(static_cast<int>(sessions[i].size()), sessions[i].data());
        endSession();
        if (endReport) writeEndReport();
        if (announce) {
            writeOut(formatted("=== session %u exit %d\n", static_cast<unsigned>(i + 1), status));
            writeErr(formatted("=== session %u exit %d\n", static_cast<unsigned>(i + 1), status));
        }
        closeTranscript();
    }
    return status;
}
