// The operating system's message boxes that the plug-in shows (the
// missing-service report, the delay-load failure). Headless Wine cannot show
// them, so before the plug-in is loaded USER32's MessageBoxA is sent to a
// stand-in that prints the box on standard error and answers from
// --box-answers, or passes it on to the platform's box.
#include <windows.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "sim/core/codepage.h"
#include "sim/win32/console.h"
#include "sim/win32/host.h"
#include "sim/win32/options.h"
#include "sim/win32/transcript.h"

namespace {

std::vector<int> scriptedAnswers;
std::size_t nextAnswer;
bool scripted;
SessionResetRegistration resetAnswers([] {
    scriptedAnswers.clear();
    nextAnswer = 0;
    scripted = false;
});

struct NamedAnswer {
    const char* name;
    int code;
};
constexpr NamedAnswer answerNames[] = {
    {"abort", IDABORT}, {"retry", IDRETRY}, {"ignore", IDIGNORE}, {"ok", IDOK}};

bool applyBoxAnswers(const char* value, std::string& error) {
    for (const std::string& item : splitList(value)) {
        const NamedAnswer* found = nullptr;
        for (const auto& a : answerNames)
            if (item == a.name) found = &a;
        if (!found) {
            error = "\"" + item + "\" is not one of abort, retry, ignore, ok";
            return false;
        }
        scriptedAnswers.push_back(found->code);
    }
    scripted = true;
    return true;
}

const OptionDef options[] = {
    {OptionGroup::hostVersion, "--box-answers", "A[,A...]",
     "answers (abort, retry, ignore, ok) for the operating system's boxes the plug-in shows, in "
     "order; abort once they run out",
     applyBoxAnswers},
};
OptionRegistration optionRegistration(options);

int WINAPI boxStandIn(HWND owner, LPCSTR text, LPCSTR caption, UINT style) {
    writeErr("[box] " + sim::windows1250ToUtf8(caption ? caption : "") + "\n" +
             sim::windows1250ToUtf8(text ? text : "") + "\n");
    int answer;
    if (!scripted)  // the platform's own box, reached past the patched entry
        answer = MessageBoxExA(owner, text, caption, style, 0);
    else
        answer = nextAnswer < scriptedAnswers.size() ? scriptedAnswers[nextAnswer++] : IDABORT;
    // The box's texts are in Windows-1250 (the report converted them for it).
    transcript("box MessageBoxA(%s, %s, 0x%X) -> %d", quoted(caption, sim::windows1250ToUnicode).c_str(),
               quoted(text, sim::windows1250ToUnicode).c_str(), style, answer);
    return answer;
}

// jmp rel32 over the start of MessageBoxA.
struct __attribute__((packed)) JumpRel32 {
    std::uint8_t opcode;  // 0xE9
    std::int32_t offset;  // from the end of the instruction
};

bool sendBoxesToStandIn(std::string& error) {
    HMODULE user32 = LoadLibraryA("user32.dll");
    auto* target = user32 ? reinterpret_cast<std::uint8_t*>(GetProcAddress(user32, "MessageBoxA")) : nullptr;
    if (!target) {
        error = "cannot find USER32's MessageBoxA";
        return false;
    }
    JumpRel32 jump = {0xE9, static_cast<std::int32_t>(reinterpret_cast<std::uintptr_t>(&boxStandIn) -
                                                      reinterpret_cast<std::uintptr_t>(target) -
                                                      sizeof(JumpRel32))};
    DWORD protection;
    if (!VirtualProtect(target, sizeof jump, PAGE_EXECUTE_READWRITE, &protection)) {
        error = "cannot patch USER32's MessageBoxA";
        return false;
    }
    std::memcpy(target, &jump, sizeof jump);
    VirtualProtect(target, sizeof jump, protection, &protection);
    FlushInstructionCache(GetCurrentProcess(), target, sizeof jump);
    return true;
}

struct Register {
    Register() { addStartupStep(sendBoxesToStandIn); }
} registerStep;

}  // namespace
