#include "sim/win32/options.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

std::vector<OptionDef>& options() {
    static std::vector<OptionDef> all;
    return all;
}

}  // namespace

void registerOptions(const OptionDef* defs, std::size_t count) {
    options().insert(options().end(), defs, defs + count);
}

bool parseInteger(const char* text, long long low, long long high, long long& value) {
    if (!text || !*text) return false;
    errno = 0;
    char* end = nullptr;
    value = std::strtoll(text, &end, 0);
    return errno == 0 && *end == '\0' && value >= low && value <= high;
}

bool parseOptions(int argc, char** argv, std::string& error) {
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        const char* inlineValue = nullptr;
        std::string name = arg;
        if (auto eq = arg.find('='); arg.rfind("--", 0) == 0 && eq != std::string::npos) {
            name = arg.substr(0, eq);
            inlineValue = argv[i] + eq + 1;
        }
        const OptionDef* def = nullptr;
        for (const auto& d : options())
            if (d.apply && name == d.name) def = &d;
        if (!def) {
            error = "unknown option " + arg + " (see --help)";
            return false;
        }
        const char* value = inlineValue;
        if (def->valueName && !value) {
            if (i + 1 >= argc) {
                error = name + " needs a value " + def->valueName;
                return false;
            }
            value = argv[++i];
        } else if (!def->valueName && value) {
            error = name + " takes no value";
            return false;
        }
        std::string why;
        if (!def->apply(value, why)) {
            error = name + ": " + why;
            return false;
        }
    }
    return true;
}

std::string usageText() {
    struct Heading {
        OptionGroup group;
        const char* title;
    };
    static constexpr Heading headings[] = {
        {OptionGroup::running, "Running and answering"},
        {OptionGroup::ledger, "Ledger and date"},
        {OptionGroup::hostVersion, "Host version and missing services"},
        {OptionGroup::faults, "Faults"},
        {OptionGroup::scripting, "Scripting and transcript"},
    };
    std::string text =
        "usage: vantreo-sim [OPTIONS]\n"
        "Loads korvandilek.dll as the Vantreo host does and offers it the host's services.\n";
    for (const Heading& heading : headings) {
        text += std::string("\n") + heading.title + ":\n";
        // What main reads before the options (--then, @FILE) comes last.
        std::vector<const OptionDef*> listed;
        for (const auto& d : options())
            if (d.group == heading.group && d.apply) listed.push_back(&d);
        for (const auto& d : options())
            if (d.group == heading.group && !d.apply) listed.push_back(&d);
        for (const OptionDef* def : listed) {
            const OptionDef& d = *def;
            std::string head = std::string("  ") + d.name + (d.valueName ? std::string(" ") + d.valueName : "");
            if (head.size() < 28) head.resize(28, ' ');
            else head += "\n" + std::string(28, ' ');
            text += head + d.help + "\n";
        }
    }
    return text;
}

std::vector<std::string> splitList(const char* value) {
    std::vector<std::string> items(1);
    for (const char* c = value; *c; ++c) {
        if (*c == ',') items.emplace_back();
        else items.back() += *c;
    }
    return items;
}
