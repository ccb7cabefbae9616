// Command-line options. Each part of the simulator registers the options it
// owns with a table of OptionDefs; parseOptions applies them in order.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

// What an option is for; --help and the README list the options by group.
enum class OptionGroup {
    running,      // running and answering
    ledger,       // ledger and date
    hostVersion,  // host version and missing services
    faults,       // faults of the host and of the plug-in
    scripting,    // scripting and transcript
};

struct OptionDef {
    OptionGroup group;
    const char* name;       // "--ledger"
    const char* valueName;  // "FILE", or nullptr for a flag
    const char* help;
    // Applies the option; returns false with a message for a bad value.
    // Null for what main reads before the options (--then, @FILE): listed only.
    bool (*apply)(const char* value, std::string& error);
};

void registerOptions(const OptionDef* defs, std::size_t count);

struct OptionRegistration {
    template <std::size_t N>
    explicit OptionRegistration(const OptionDef (&defs)[N]) {
        registerOptions(defs, N);
    }
};

bool parseOptions(int argc, char** argv, std::string& error);
std::string usageText();

// Helpers for option values.
bool parseInteger(const char* text, long long low, long long high, long long& value);
// The items of a comma-separated list, empty ones kept ("" is one empty item).
std::vector<std::string> splitList(const char* value);
