// The notice watcher's thread.
#include "support/notice_watcher.h"

namespace velmorin::test {

NoticeWatcher::NoticeWatcher() {
    stop_ = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    thread_ = ::CreateThread(nullptr, 0, Watch, this, 0, nullptr);
}

NoticeWatcher::~NoticeWatcher() {
    Boxes();
    ::CloseHandle(stop_);
}

DWORD WINAPI NoticeWatcher::Watch(LPVOID self) {
    auto* watcher = static_cast<NoticeWatcher*>(self);
    while (::WaitForSingleObject(watcher->stop_, 0) == WAIT_TIMEOUT) {
        if (HWND box = WaitForMessageBox(::GetCurrentProcessId(), 100)) {
            watcher->boxes_.push_back(ReadMessageBox(box));
            DismissMessageBox(box);
        }
    }
    return 0;
}

const std::vector<MessageBoxSeen>& NoticeWatcher::Boxes() {
    if (thread_ != nullptr) {
        ::SetEvent(stop_);
        ::WaitForSingleObject(thread_, INFINITE);
        ::CloseHandle(thread_);
        thread_ = nullptr;
    }
    return boxes_;
}

}  // namespace velmorin::test
