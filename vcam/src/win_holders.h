// Tiny owners of Win32 resources: a critical section with its scoped lock, and a kernel handle.
#pragma once

#include "vcam_headers.h"

namespace vcam {

class CriticalSection {
  public:
    CriticalSection() { InitializeCriticalSection(&section_); }
    ~CriticalSection() { DeleteCriticalSection(&section_); }
    CriticalSection(const CriticalSection&) = delete;
    CriticalSection& operator=(const CriticalSection&) = delete;
    void Enter() { EnterCriticalSection(&section_); }
    void Leave() { LeaveCriticalSection(&section_); }

  private:
    CRITICAL_SECTION section_;
};

class Lock {
  public:
    explicit Lock(CriticalSection& section) : section_(section) { section_.Enter(); }
    ~Lock() { section_.Leave(); }
    Lock(const Lock&) = delete;
    Lock& operator=(const Lock&) = delete;

  private:
    CriticalSection& section_;
};

class Handle {
  public:
    Handle() = default;
    explicit Handle(HANDLE h) : handle_(h == INVALID_HANDLE_VALUE ? nullptr : h) {}
    ~Handle() { Reset(); }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    HANDLE Get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }
    void Reset(HANDLE h = nullptr) {
        if (handle_)
            CloseHandle(handle_);
        handle_ = h == INVALID_HANDLE_VALUE ? nullptr : h;
    }

  private:
    HANDLE handle_ = nullptr;
};

// Holds a named mutex shared by every process of the prefix for as long as it lives, so that the
// read-modify-write of a shared file by two processes cannot interleave.
class NamedMutexLock {
  public:
    explicit NamedMutexLock(const wchar_t* name) : mutex_(CreateMutexW(nullptr, FALSE, name)) {
        if (mutex_)
            WaitForSingleObject(mutex_.Get(), 5000);
    }
    ~NamedMutexLock() {
        if (mutex_)
            ReleaseMutex(mutex_.Get());
    }
    NamedMutexLock(const NamedMutexLock&) = delete;
    NamedMutexLock& operator=(const NamedMutexLock&) = delete;

  private:
    Handle mutex_;
};

} // namespace vcam
