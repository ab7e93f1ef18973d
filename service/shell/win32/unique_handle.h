// Move-only owners of kernel and user objects, each with the release call that
// matches how it was acquired.
#pragma once

#include <windows.h>

#include <utility>

template <typename T, typename Traits> class UniqueAny {
public:
    UniqueAny() = default;
    explicit UniqueAny(T value) : value_(value) {}
    UniqueAny(const UniqueAny&) = delete;
    UniqueAny& operator=(const UniqueAny&) = delete;
    UniqueAny(UniqueAny&& other) noexcept : value_(std::exchange(other.value_, Traits::Invalid())) {}
    UniqueAny& operator=(UniqueAny&& other) noexcept {
        if (this != &other)
            Reset(std::exchange(other.value_, Traits::Invalid()));
        return *this;
    }
    ~UniqueAny() { Reset(); }

    T Get() const { return value_; }
    explicit operator bool() const { return value_ != Traits::Invalid(); }
    void Reset(T value = Traits::Invalid()) {
        if (value_ != Traits::Invalid())
            Traits::Release(value_);
        value_ = value;
    }
    T Release() { return std::exchange(value_, Traits::Invalid()); }

private:
    T value_ = Traits::Invalid();
};

// CreateEvent, CreateMutex, CreateThread, OpenProcess, DuplicateHandle: NULL when absent.
struct KernelHandleTraits {
    static HANDLE Invalid() { return nullptr; }
    static void Release(HANDLE h) { CloseHandle(h); }
};
using UniqueHandle = UniqueAny<HANDLE, KernelHandleTraits>;

struct MenuTraits {
    static HMENU Invalid() { return nullptr; }
    static void Release(HMENU h) { DestroyMenu(h); }
};
using UniqueMenu = UniqueAny<HMENU, MenuTraits>;

struct WinEventHookTraits {
    static HWINEVENTHOOK Invalid() { return nullptr; }
    static void Release(HWINEVENTHOOK h) { UnhookWinEvent(h); }
};
using UniqueWinEventHook = UniqueAny<HWINEVENTHOOK, WinEventHookTraits>;

struct DeviceNotifyTraits {
    static HDEVNOTIFY Invalid() { return nullptr; }
    static void Release(HDEVNOTIFY h) { UnregisterDeviceNotification(h); }
};
using UniqueDeviceNotify = UniqueAny<HDEVNOTIFY, DeviceNotifyTraits>;

// LoadLibraryEx handles; lang.dll is never released (its texts are read once), so
// this owner is for the libraries we only borrow a function from.
struct ModuleTraits {
    static HMODULE Invalid() { return nullptr; }
    static void Release(HMODULE h) { FreeLibrary(h); }
};
using UniqueModule = UniqueAny<HMODULE, ModuleTraits>;
