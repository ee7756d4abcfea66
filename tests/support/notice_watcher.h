// Watches on a second thread for message boxes of this process, reads each one and
// presses OK, so that code showing task-modal notices can run inside a test.
#pragma once

#include <windows.h>

#include <vector>

#include "support/message_box.h"

namespace velmorin::test {

class NoticeWatcher {
public:
    NoticeWatcher();
    NoticeWatcher(const NoticeWatcher&) = delete;
    NoticeWatcher& operator=(const NoticeWatcher&) = delete;
    ~NoticeWatcher();
    // Stops watching and returns every box seen, in order.
    const std::vector<MessageBoxSeen>& Boxes();

private:
    static DWORD WINAPI Watch(LPVOID self);
    HANDLE stop_ = nullptr;
    HANDLE thread_ = nullptr;
    std::vector<MessageBoxSeen> boxes_;
};

}  // namespace velmorin::test
