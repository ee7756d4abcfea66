// Message boxes seen from outside: top-level "#32770" windows of a process.
#include "support/message_box.h"

namespace velmorin::test {
namespace {

struct Search {
    DWORD processId;
    bool (*accept)(HWND);
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<Search*>(parameter);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId && ::IsWindowVisible(window) && search->accept(window)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

bool IsDialog(HWND window) {
    char className[32] = {};
    ::GetClassNameA(window, className, sizeof className);
    return std::string(className) == "#32770";
}

BOOL CALLBACK FindIcon(HWND child, LPARAM parameter) {
    char className[32] = {};
    ::GetClassNameA(child, className, sizeof className);
    const LONG style = ::GetWindowLongA(child, GWL_STYLE);
    if (lstrcmpiA(className, "Static") == 0 && (style & SS_TYPEMASK) == SS_ICON && ::IsWindowVisible(child) &&
        ::SendMessageA(child, STM_GETICON, 0, 0) != 0) {
        *reinterpret_cast<bool*>(parameter) = true;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

HWND FindProcessWindow(DWORD processId, bool (*accept)(HWND window)) {
    Search search{processId, accept, nullptr};
    ::EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND WaitForMessageBox(DWORD processId, DWORD timeoutMs) {
    const DWORD start = ::GetTickCount();
    for (;;) {
        if (HWND box = FindProcessWindow(processId, IsDialog)) return box;
        if (::GetTickCount() - start > timeoutMs) return nullptr;
        ::Sleep(50);
    }
}

MessageBoxSeen ReadMessageBox(HWND box) {
    MessageBoxSeen seen;
    seen.window = box;
    char buffer[1024] = {};
    ::SendMessageA(box, WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer));
    seen.caption = buffer;
    buffer[0] = 0;
    if (HWND text = ::GetDlgItem(box, 0xFFFF)) {
        ::SendMessageA(text, WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer));
        seen.text = buffer;
    }
    ::EnumChildWindows(box, FindIcon, reinterpret_cast<LPARAM>(&seen.hasIcon));
    seen.hasOwner = ::GetWindow(box, GW_OWNER) != nullptr;
    return seen;
}

void DismissMessageBox(HWND box) {
    ::PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(box, IDOK)));
    for (int i = 0; i < 200 && ::IsWindow(box) && ::IsWindowVisible(box); ++i) ::Sleep(50);
}

std::string WindowsPath(const std::string& unixPath) {
    std::string path = "Z:" + unixPath;
    for (char& c : path) {
        if (c == '/') c = '\\';
    }
    return path;
}

}  // namespace velmorin::test
