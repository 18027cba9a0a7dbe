// Holders of the system's handles and kernel objects: what a unit makes, opens or enters is
// closed, freed or left by its holder, also when an exception unwinds past it.
#pragma once

#include <windows.h>

#include "AnsiString.h"

// Owns one handle and closes it with Traits::Close; Traits::Valid tells a handle from the empty
// values (null, and for kernel handles INVALID_HANDLE_VALUE).
template <class Traits>
class THandleHolder {
public:
    using Type = typename Traits::Type;

    THandleHolder() = default;
    explicit THandleHolder(Type handle) : handle_(handle) {}
    ~THandleHolder() { Reset(); }
    THandleHolder(THandleHolder&& other) noexcept : handle_(other.Release()) {}
    THandleHolder& operator=(THandleHolder&& other) noexcept {
        if (this != &other) Reset(other.Release());
        return *this;
    }
    THandleHolder(const THandleHolder&) = delete;
    THandleHolder& operator=(const THandleHolder&) = delete;

    Type Get() const { return handle_; }
    explicit operator bool() const { return Traits::Valid(handle_); }
    // Closes the handle held, then holds the new one.
    void Reset(Type handle = Type()) {
        Type old = handle_;
        handle_ = handle;
        if (Traits::Valid(old)) Traits::Close(old);
    }
    // Gives the handle up without closing it.
    Type Release() {
        Type handle = handle_;
        handle_ = Type();
        return handle;
    }

private:
    Type handle_ = Type();
};

struct TKernelHandleTraits {
    using Type = HANDLE;
    static bool Valid(HANDLE handle) { return handle && handle != INVALID_HANDLE_VALUE; }
    static void Close(HANDLE handle) { CloseHandle(handle); }
};
using TKernelHandle = THandleHolder<TKernelHandleTraits>;

template <class T>
struct TGdiObjectTraits {
    using Type = T;
    static bool Valid(T object) { return object != nullptr; }
    static void Close(T object) { DeleteObject(object); }
};
// A pen, brush, font, bitmap or region; deleted only once no context has it selected.
template <class T = HGDIOBJ>
using TGdiObject = THandleHolder<TGdiObjectTraits<T>>;

// An event, made unsignalled unless asked; auto-reset (a Set wakes one wait) unless manual.
// Throws when the system cannot make one.
class TEvent {
public:
    explicit TEvent(bool manualReset = false, bool signalled = false);

    HANDLE Handle() const { return handle_.Get(); }
    // Where the system's calls want the handle (waits on several objects).
    operator HANDLE() const { return handle_.Get(); }
    void Set() const { SetEvent(handle_.Get()); }
    void Reset() const { ResetEvent(handle_.Get()); }
    // True when it was signalled within timeoutMs.
    bool Wait(DWORD timeoutMs = INFINITE) const;

private:
    TKernelHandle handle_;
};

// A named mutex, made (or opened, when another process made it) without being owned. A wait
// that gets it makes it owned until Unlock or the holder goes.
class TMutex {
public:
    explicit TMutex(const AnsiString& name);
    ~TMutex() { Unlock(); }
    TMutex(const TMutex&) = delete;
    TMutex& operator=(const TMutex&) = delete;

    explicit operator bool() const { return static_cast<bool>(handle_); }
    HANDLE Handle() const { return handle_.Get(); }
    // The system's word on the making: ERROR_ALREADY_EXISTS when it was there before, the
    // error when it could not be made (the holder is then empty).
    DWORD CreateError() const { return createError_; }
    bool Existed() const { return createError_ == ERROR_ALREADY_EXISTS; }
    // The wait's result; after WAIT_OBJECT_0 and WAIT_ABANDONED the mutex is owned.
    DWORD Wait(DWORD timeoutMs = INFINITE);
    void Unlock();

private:
    TKernelHandle handle_;
    DWORD createError_ = 0;
    bool owned_ = false;
};

class TCriticalSection {
public:
    TCriticalSection() { InitializeCriticalSection(&section_); }
    ~TCriticalSection() { DeleteCriticalSection(&section_); }
    TCriticalSection(const TCriticalSection&) = delete;
    TCriticalSection& operator=(const TCriticalSection&) = delete;

    void Enter() { EnterCriticalSection(&section_); }
    void Leave() { LeaveCriticalSection(&section_); }

private:
    CRITICAL_SECTION section_;
};

// Holds a critical section from here to the end of the scope.
class TScopedLock {
public:
    explicit TScopedLock(TCriticalSection& section) : section_(section) { section_.Enter(); }
    ~TScopedLock() { section_.Leave(); }
    TScopedLock(const TScopedLock&) = delete;
    TScopedLock& operator=(const TScopedLock&) = delete;

private:
    TCriticalSection& section_;
};

// A memory context compatible with another (null: the screen). What Select put in is taken out
// again before the context goes, so the objects can be deleted after it.
class TMemoryDC {
public:
    explicit TMemoryDC(HDC compatible) : dc_(CreateCompatibleDC(compatible)) {}
    ~TMemoryDC() {
        if (!dc_) return;
        if (original_) SelectObject(dc_, original_);
        DeleteDC(dc_);
    }
    TMemoryDC(const TMemoryDC&) = delete;
    TMemoryDC& operator=(const TMemoryDC&) = delete;

    HDC Handle() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }
    void Select(HGDIOBJ object) {
        HGDIOBJ previous = SelectObject(dc_, object);
        if (!original_) original_ = previous;
    }

private:
    HDC dc_;
    HGDIOBJ original_ = nullptr;
};
