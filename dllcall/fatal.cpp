// The fatal-error report, and the allocation functions that raise it when memory
// cannot be had (the C++ runtime's own would end the program without a word).
#include "fatal.h"

#include <windows.h>

#include <cstdlib>
#include <new>

#include "dllcall/dll_commands.h"
#include "platform/ansi_text.h"
#include "platform/process_state.h"

namespace velmorin {

std::string FatalErrorText(int code, std::string_view message) {
    std::string text = "运行时出错!\r\n\r\n";
    if (code != 0) {
        text += "错误代码：";
        text += std::to_string(code);
        text += "\r\n\r\n";
    }
    if (!message.empty()) {
        text += "错误信息：";
        text += message;
        text += "\r\n";
    }
    return text;
}

void ReportFatalError(int code, std::string_view message) {
    static bool reporting = false;
    if (reporting) ::ExitProcess(static_cast<UINT>(-1));  // a failure while reporting one
    reporting = true;
    const std::string text = FatalErrorText(code, message);
    ::MessageBoxA(nullptr, text.c_str(), "错误", MB_OK | MB_ICONERROR);
    ReleaseDllCommands();
    StopOle();
    ::ExitProcess(static_cast<UINT>(-1));
}

namespace {

[[noreturn]] void ReportAllocationFailure(std::size_t size) {
    // Built without the heap: the heap is what just failed.
    char digits[16];
    int length = 0;
    auto value = static_cast<long long>(static_cast<int>(size));
    const bool negative = value < 0;
    if (negative) value = -value;
    do {
        digits[length++] = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value != 0);
    char message[96];
    std::size_t out = 0;
    constexpr std::string_view pattern = kAllocationFailed;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == '%' && i + 1 < pattern.size() && pattern[i + 1] == 'd') {
            if (negative) message[out++] = '-';
            while (length > 0) message[out++] = digits[--length];
            ++i;
        } else {
            message[out++] = pattern[i];
        }
    }
    ReportFatalError(0, std::string_view(message, out));
}

void* Allocate(std::size_t size) {
    if (void* block = std::malloc(size == 0 ? 1 : size)) return block;
    ReportAllocationFailure(size);
}

}  // namespace
}  // namespace velmorin

void* operator new(std::size_t size) {
    return velmorin::Allocate(size);
}
void* operator new[](std::size_t size) {
    return velmorin::Allocate(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return std::malloc(size == 0 ? 1 : size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return std::malloc(size == 0 ? 1 : size);
}
void operator delete(void* block) noexcept {
    std::free(block);
}
void operator delete[](void* block) noexcept {
    std::free(block);
}
void operator delete(void* block, std::size_t) noexcept {
    std::free(block);
}
void operator delete[](void* block, std::size_t) noexcept {
    std::free(block);
}
