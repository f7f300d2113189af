// A reference held for the length of one call: released when the holder goes out of scope.
#pragma once

namespace platform {

template <class Handle> class Held {
  public:
    Held() = default;
    explicit Held(Handle handle) : handle_(handle) {}
    Held(const Held&) = delete;
    Held& operator=(const Held&) = delete;
    ~Held() { Reset(); }

    Handle Get() const { return handle_; }
    // For the out parameter of a query; whatever was held is released first.
    Handle* Receive() {
        Reset();
        return &handle_;
    }
    void Reset() {
        if (handle_) {
            Release(handle_);
            handle_ = nullptr;
        }
    }
    explicit operator bool() const { return handle_ != nullptr; }

  private:
    Handle handle_ = nullptr;
};

} // namespace platform
