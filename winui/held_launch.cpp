#include "winui/held_launch.h"

#include <new>
#include <utility>
#include <vector>

namespace winui {

namespace {

struct HeldThread {
    HeldKey key;
    UniqueHandle thread;
};

// The held threads, shared by the user-interface thread and the gate watchers: whoever
// takes a thread out under the lock is the one that resumes it, so none is resumed twice
// and no handle is used after it was closed.
class Registry {
public:
    Registry() { InitializeCriticalSection(&lock_); }
    Registry(const Registry&) = delete;
    Registry& operator=(const Registry&) = delete;

    HeldKey Add(UniqueHandle thread) {
        EnterCriticalSection(&lock_);
        const HeldKey key = ++lastKey_;
        held_.push_back({key, std::move(thread)});
        LeaveCriticalSection(&lock_);
        return key;
    }

    // Resumes the thread held under `key`, or every one when `key` is 0.
    void Resume(HeldKey key) {
        EnterCriticalSection(&lock_);
        for (auto it = held_.begin(); it != held_.end();) {
            if (key != 0 && it->key != key) {
                ++it;
                continue;
            }
            ResumeThread(it->thread.get());
            it = held_.erase(it);
        }
        LeaveCriticalSection(&lock_);
    }

private:
    CRITICAL_SECTION lock_;
    HeldKey lastKey_ = 0;
    std::vector<HeldThread> held_;
};

Registry& TheRegistry() {
    static Registry registry;
    return registry;
}

struct Watch {
    HeldKey key;
    UniqueHandle gate;
    DWORD limitMs;
};

DWORD WINAPI WatchGate(void* parameter) {
    Watch* watch = static_cast<Watch*>(parameter);
    WaitForSingleObject(watch->gate.get(), watch->limitMs);
    TheRegistry().Resume(watch->key);
    delete watch;
    return 0;
}

}  // namespace

HeldKey Hold(UniqueHandle thread) { return TheRegistry().Add(std::move(thread)); }

void ReleaseWhenEnded(HeldKey key, UniqueHandle gate, DWORD limitMs) {
    Watch* watch = new (std::nothrow) Watch{key, std::move(gate), limitMs};
    // A watcher does nothing but wait: a small stack will do.
    const HANDLE watcher =
        watch ? CreateThread(nullptr, 64 * 1024, WatchGate, watch, STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr)
              : nullptr;
    if (watcher) {
        CloseHandle(watcher);
        return;
    }
    delete watch;
    Release(key);
}

void Release(HeldKey key) {
    if (key != 0) TheRegistry().Resume(key);
}

void ReleaseAllHeld() { TheRegistry().Resume(0); }

}  // namespace winui
