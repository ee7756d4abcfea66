// WindowDescription: the main window and its five controls as one constant table, and
// the pure rules derived from it (position, focus order, keys). Nothing here touches a
// window, so every rule can be checked on its own.
#pragma once

#include <windows.h>

#include <array>
#include <climits>
#include <cstddef>
#include <span>
#include <vector>

#include "platform/maker.h"
#include "repair/actions.h"

namespace velmorin {

enum class ControlKind { MainWindow, PushButton, TransLabel, HyperLinker };
enum class MousePointer { Default };

struct WindowEntry {
    const char* name;  // empty for the window
    ControlKind kind;
    int left, top, width, height;  // window: outer frame on the screen; control: client coordinates
    bool visible;
    bool disabled;
    bool tabStop;
    int tabOrder;  // smaller first
    MousePointer pointer;
    const char* tag;     // free text, never read
    const char* text;    // title or caption
    const char* target;  // link target; empty for everything else
    void (*click)();     // button click binding; null for everything else
};

inline constexpr int kCentred = INT_MIN;  // the window's position is worked out at creation

template <std::size_t A, std::size_t B>
constexpr std::array<char, A + B - 1> JoinTexts(const char (&first)[A], const char (&second)[B]) {
    std::array<char, A + B - 1> joined{};
    for (std::size_t i = 0; i + 1 < A; ++i) joined[i] = first[i];
    for (std::size_t i = 0; i < B; ++i) joined[A - 1 + i] = second[i];
    return joined;
}

inline constexpr auto kWindowTitle = JoinTexts("Velmorin - " VELMORIN_MAKER_NAME " ", kMakerDomain);
inline constexpr char kLabelText[] =
    "常规修复：通过CMD命令进行修复\r\n恢复正常：恢复系统正常扫描模式。\r\n完全清楚：关闭自检模式，永不自检。";

// Entry 0 is the window; entries 1..5 are its controls, in z-order (entry 1 on top).
inline constexpr WindowEntry kWindowDescription[] = {
    {"", ControlKind::MainWindow, kCentred, kCentred, 362, 149, true, false, false, 0, MousePointer::Default, "",
     kWindowTitle.data(), "", nullptr},
    {"超级链接框1", ControlKind::HyperLinker, 71, 101, 214, 16, true, false, false, 0, MousePointer::Default, "",
     kMakerDomain, kMakerWebAddress, nullptr},
    {"按钮3", ControlKind::PushButton, 8, 7, 100, 40, true, false, true, 0, MousePointer::Default, "", "常规修复", "",
     RepairCountdown},
    {"按钮2", ControlKind::PushButton, 128, 7, 100, 41, true, false, true, 0, MousePointer::Default, "", "恢复正常", "",
     RestoreBootCheck},
    {"透明标签1", ControlKind::TransLabel, 75, 56, 205, 40, true, false, false, 0, MousePointer::Default, "",
     kLabelText, "", nullptr},
    {"按钮1", ControlKind::PushButton, 248, 7, 100, 40, true, false, true, 0, MousePointer::Default, "", "完全清除", "",
     DisableBootCheck},
};
inline constexpr std::size_t kEntryCount = std::size(kWindowDescription);

inline constexpr DWORD kMainWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;  // 0x02C80000
inline constexpr DWORD kButtonStyle =
    BS_PUSHBUTTON | BS_CENTER | BS_VCENTER | BS_MULTILINE | WS_CHILD | WS_CLIPSIBLINGS | WS_TABSTOP;

// Identifier of a control: its entry index above a base, so a command maps back to it.
inline constexpr int kFirstControlId = 1000;
constexpr int ControlId(std::size_t entry) { return kFirstControlId + static_cast<int>(entry); }

// Top-left corner that centres a frame on a screen; the division rounds toward zero.
POINT CentredOrigin(int screenWidth, int screenHeight, int width, int height);

// Kinds that can hold the keyboard focus.
bool TakesFocus(ControlKind kind);

// Entry indices of the controls in focus order: qualifying controls (existing, visible,
// enabled, tab stop, focusable kind) by ascending tab-order value; equal values in the
// order of a walk from the last entry to the first. `exists` tells whether entry i is
// there and, for a live window, visible and enabled.
std::vector<std::size_t> FocusOrder(std::span<const WindowEntry> entries, bool (*usable)(std::size_t entry));

// The entry after (or before) the current one in the order, wrapping round; the first
// (or last) when the current one is not in the order. Entry 0 when the order is empty.
std::size_t StepFocus(const std::vector<std::size_t>& order, std::size_t current, bool forward);

// What a key does in the main window. Modifiers must match exactly.
enum class KeyAction { None, NextControl, PreviousControl, CloseWindow };
struct KeyChord {
    UINT virtualKey;
    bool ctrl, shift, alt;
};
KeyAction ActionForKey(KeyChord chord);

}  // namespace velmorin
