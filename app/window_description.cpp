// The rules derived from the window description: centring, focus order and keys.
#include "app/window_description.h"

#include <algorithm>

namespace velmorin {
namespace {

struct KeyBinding {
    KeyChord chord;
    KeyAction action;
};

constexpr KeyBinding kKeyBindings[] = {
    {{VK_TAB, false, false, false}, KeyAction::NextControl},
    {{VK_TAB, false, true, false}, KeyAction::PreviousControl},
    {{VK_ESCAPE, false, false, false}, KeyAction::CloseWindow},
};

}  // namespace

POINT CentredOrigin(int screenWidth, int screenHeight, int width, int height) {
    return POINT{(screenWidth - width) / 2, (screenHeight - height) / 2};
}

bool TakesFocus(ControlKind kind) { return kind == ControlKind::PushButton; }

std::vector<std::size_t> FocusOrder(std::span<const WindowEntry> entries, bool (*usable)(std::size_t entry)) {
    std::vector<std::size_t> order;
    for (std::size_t i = entries.size(); i-- > 1;) {
        const WindowEntry& entry = entries[i];
        if (entry.visible && !entry.disabled && entry.tabStop && TakesFocus(entry.kind) && usable(i)) {
            order.push_back(i);
        }
    }
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return entries[a].tabOrder < entries[b].tabOrder; });
    return order;
}

std::size_t StepFocus(const std::vector<std::size_t>& order, std::size_t current, bool forward) {
    if (order.empty()) return 0;
    const auto at = std::find(order.begin(), order.end(), current);
    if (at == order.end()) return forward ? order.front() : order.back();
    const std::size_t position = static_cast<std::size_t>(at - order.begin());
    const std::size_t next = forward ? (position + 1) % order.size() : (position + order.size() - 1) % order.size();
    return order[next];
}

KeyAction ActionForKey(KeyChord chord) {
    for (const KeyBinding& binding : kKeyBindings) {
        const KeyChord& c = binding.chord;
        if (c.virtualKey == chord.virtualKey && c.ctrl == chord.ctrl && c.shift == chord.shift && c.alt == chord.alt) {
            return binding.action;
        }
    }
    return KeyAction::None;
}

}  // namespace velmorin
