// The report of a host service that the host lacks: names the host program,
// the service and the plug-in, and lets the user abort or ignore.
#include <windows.h>

#include <cstdint>

#include "binding/binding.h"
#include "frame/hostServices.h"
#include "frame/plugin.h"

namespace {

// Mazovia code page: ł 0x92, ą 0x86, ż 0xA7, ć 0x8D, Ż 0xA1, Ł 0x9C, Ą 0x8F.
// 0x02 and 0x01 open and close a marked stretch in the host's markup.
constexpr char messageFormat[] =
    "W module \x02%s\x01\n"
    "brak wpisu \x02%s\x01\n"
    "Wywo\x92" "ano z wtyczki \x02%s\x01.\n"
    "\n"
    "B\x92\x86" "d ten mo\xA7" "na zignorowa\x8D lecz dalsza praca\n"
    "programu w tych warunkach mo\xA7" "e by\x8D niebezpieczna.\n"
    "\n"
    "Konieczna jest aktualizacja programu!";
constexpr int placeholderBytes = 3 * 2;
static_assert(sizeof(messageFormat) - 1 - placeholderBytes == 182);

constexpr char systemCaption[] = "POWA\xA1NY B\x9C\x8F" "D WTYCZKI";
constexpr char hostCaption[] = "Powa\xA7ny b\x92\x86" "d wtyczki";
constexpr char unknownModule[] = "<nieznany>";
constexpr char hostBoxName[] = "_messageBox@12";

constexpr std::uint32_t hostBoxStyle = 0x700C0;
constexpr std::int16_t hostAnswerIgnore = 20486;
constexpr UINT systemBoxStyle = MB_ABORTRETRYIGNORE | MB_ICONERROR | MB_TASKMODAL;

// Buffer sizes of the report.
constexpr int moduleSize = 300, serviceSize = 104, nameSize = 104, captionSize = 104,
              messageSize = 512;
// What the message leaves for the module name and the service text together.
constexpr int variableRoom =
    messageSize - (sizeof(messageFormat) - 1 - placeholderBytes) - (sizeof(displayName) - 1) - 1;
static_assert(variableRoom == 313);

int length(const char* text) {
    int n = 0;
    while (text[n]) ++n;
    return n;
}

// Copies at most size - 1 bytes and terminates.
void copyCut(char* destination, const char* source, int size) {
    int n = 0;
    for (; n < size - 1 && source[n]; ++n) destination[n] = source[n];
    destination[n] = 0;
}

// Cuts a path in place to its last `room` bytes behind "...": its end names
// the program.
void keepTail(char* path, int room) {
    int n = length(path);
    if (n <= room) return;
    int from = n - (room - 3);
    path[0] = path[1] = path[2] = '.';
    for (int i = 3; i <= room; ++i) path[i] = path[from + i - 3];
}

// Copies a path, cut to its end when it does not fit.
void copyTail(char* destination, const char* source, int size) {
    int n = length(source);
    const char* from = n < size ? source : source + n - (size - 4);
    int at = 0;
    if (from != source) destination[at++] = '.', destination[at++] = '.', destination[at++] = '.';
    while (*from) destination[at++] = *from++;
    destination[at] = 0;
}

void decimal(char* text, std::uint32_t number) {
    char digits[10];
    int n = 0;
    do digits[n++] = static_cast<char>('0' + number % 10);
    while (number /= 10);
    while (n) *text++ = digits[--n];
    *text = 0;
}

void replaceByte(char* text, char from, char to) {
    for (; *text; ++text)
        if (*text == from) *text = to;
}

// The report calls services through their slots; a slot that holds null (the
// service is being reported right now) or whose service ended must not be called.
template <std::uint16_t number>
bool callable() {
    constexpr int index = [] {
        for (int i = 0; i < serviceSlotCount; ++i)
            if (serviceSlotNumbers[i] == number) return i;
        return -1;
    }();
    static_assert(index >= 0, "the service is declared");
    return *static_cast<void* volatile*>(&serviceSlots[index]) != nullptr &&
           !serviceEnded(&serviceSlots[index]);
}

bool sameText(const char* a, const char* b) {
    while (*a && *a == *b) ++a, ++b;
    return *a == *b;
}

}  // namespace

extern "C" std::int32_t __stdcall reportMissingService(ServiceId service, const char* moduleName) {
    char module[moduleSize];
    if (moduleName) {
        copyTail(module, moduleName, moduleSize);
    } else {
        DWORD got = GetModuleFileNameA(nullptr, module, moduleSize);
        if (got == 0)
            lstrcpyA(module, unknownModule);
        else
            module[got < moduleSize ? got : moduleSize - 1] = 0;
    }

    bool byName = service >= firstServiceName;
    char serviceText[serviceSize];
    if (byName)
        copyCut(serviceText, reinterpret_cast<const char*>(service), serviceSize);
    else
        decimal(serviceText, static_cast<std::uint32_t>(service));
    keepTail(module, variableRoom - 1 - length(serviceText));

    char name[nameSize];
    char message[messageSize];
    wsprintfA(message, messageFormat, module, serviceText, copyDisplayName(name));
    char caption[captionSize];
    lstrcpyA(caption, systemCaption);

    replaceByte(message, '\x01', ' ');
    replaceByte(message, '\x02', ' ');
    if (callable<52158>()) {
        convertText(message, message, 1, 3);
        convertText(caption, caption, 1, 3);
    }

    if (byName && !sameText(reinterpret_cast<const char*>(service), hostBoxName) &&
        callable<52028>()) {
        auto answer = static_cast<std::int16_t>(messageBox(hostCaption, message, hostBoxStyle));
        return answer == hostAnswerIgnore ? 1 : 0;
    }
    int answer;
    do answer = MessageBoxA(nullptr, message, caption, systemBoxStyle);
    while (answer == IDRETRY);
    return answer == IDIGNORE ? 1 : 0;
}
