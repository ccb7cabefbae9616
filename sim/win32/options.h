// Command-line options. Each part of the simulator registers the options it
// owns with a table of OptionDefs; parseOptions applies them in order.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

struct OptionDef {
    const char* name;       // "--ledger"
    const char* valueName;  // "FILE", or nullptr for a flag
    const char* help;
    // Applies the option; returns false with a message for a bad value.
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
