#pragma once

// Owners of the GDI objects and icons the window makes: each handle is freed
// once, when its owner goes or takes another. Move-only, as
// std::unique_ptr is.

#include <windows.h>

#include <utility>

namespace kalvetor::win32 {

template <typename Handle, void (*free)(Handle)>
class ScopedHandle {
public:
    ScopedHandle() = default;
    explicit ScopedHandle(Handle handle) : handle_(handle) {}
    ScopedHandle(ScopedHandle&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
    ScopedHandle& operator=(ScopedHandle&& other) noexcept {
        if (this != &other) {
            reset();
            handle_ = std::exchange(other.handle_, nullptr);
        }
        return *this;
    }
    ScopedHandle(const ScopedHandle&) = delete;
    ScopedHandle& operator=(const ScopedHandle&) = delete;
    ~ScopedHandle() { reset(); }

    Handle get() const { return handle_; }

    void reset() {
        if (handle_ != nullptr) {
            free(std::exchange(handle_, nullptr));
        }
    }

private:
    Handle handle_ = nullptr;
};

template <typename Object>
void deleteGdiObject(Object object) {
    DeleteObject(object);
}

inline void destroyIcon(HICON icon) {
    DestroyIcon(icon);
}

// A font, brush, pen or bitmap.
template <typename Object>
using ScopedGdiObject = ScopedHandle<Object, &deleteGdiObject<Object>>;
using ScopedIcon = ScopedHandle<HICON, &destroyIcon>;

}  // namespace kalvetor::win32
