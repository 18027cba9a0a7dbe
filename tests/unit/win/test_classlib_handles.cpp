// The holders: kernel handles closed once, events, named mutexes let go by their holder (also
// after a wait that found them abandoned), GDI objects and memory contexts.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <utility>

#include "classlib/Handles.h"

namespace {

bool IsOpen(HANDLE handle) {
    DWORD flags = 0;
    return GetHandleInformation(handle, &flags) != FALSE;
}

struct ThreadCall {
    std::function<DWORD()> body;
    DWORD result = 0;
};

DWORD WINAPI RunCall(LPVOID param) {
    auto* call = static_cast<ThreadCall*>(param);
    call->result = call->body();
    return 0;
}

// Runs body on a thread of its own and returns its answer once that thread has ended.
DWORD OnOtherThread(std::function<DWORD()> body) {
    ThreadCall call{std::move(body)};
    TKernelHandle thread(CreateThread(nullptr, 0, RunCall, &call, 0, nullptr));
    EXPECT_TRUE(thread);
    EXPECT_EQ(WaitForSingleObject(thread.Get(), 5000), WAIT_OBJECT_0);
    return call.result;
}

}  // namespace

TEST(ClasslibHandles, KernelHandleIsClosedOnceByWhoeverHoldsItLast) {
    HANDLE raw = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    {
        TKernelHandle held(raw);
        TKernelHandle moved(std::move(held));
        EXPECT_FALSE(held);
        EXPECT_EQ(moved.Get(), raw);
        EXPECT_TRUE(IsOpen(raw));
    }
    EXPECT_FALSE(IsOpen(raw));

    HANDLE first = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE second = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    TKernelHandle held(first);
    held.Reset(second);
    EXPECT_FALSE(IsOpen(first));
    EXPECT_EQ(held.Release(), second);
    held.Reset();  // holds nothing: closes nothing
    EXPECT_TRUE(IsOpen(second));
    CloseHandle(second);
    EXPECT_FALSE(TKernelHandle(INVALID_HANDLE_VALUE));
}

TEST(ClasslibHandles, EventsResetThemselvesUnlessManual) {
    TEvent autoReset;
    EXPECT_FALSE(autoReset.Wait(0));
    autoReset.Set();
    EXPECT_TRUE(autoReset.Wait(0));
    EXPECT_FALSE(autoReset.Wait(0));  // the first wait took it

    TEvent manual(true);
    manual.Set();
    EXPECT_TRUE(manual.Wait(0));
    EXPECT_TRUE(manual.Wait(0));
    manual.Reset();
    EXPECT_FALSE(manual.Wait(0));

    TEvent signalled(true, true);
    HANDLE both[2] = {autoReset, signalled};
    EXPECT_EQ(WaitForMultipleObjects(2, both, FALSE, 0), WAIT_OBJECT_0 + 1);
}

TEST(ClasslibHandles, NamedMutexIsLetGoByItsHolderAlsoWhenFoundAbandoned) {
    AnsiString name = Format("WlTestMutex%lu", GetCurrentProcessId());
    auto otherGets = [&name] {
        return OnOtherThread([&name] {
            TMutex mutex(name);
            return mutex.Wait(0);
        });
    };
    TMutex first(name);
    ASSERT_TRUE(first);
    EXPECT_FALSE(first.Existed());
    EXPECT_TRUE(TMutex(name).Existed());

    EXPECT_EQ(first.Wait(0), WAIT_OBJECT_0);
    EXPECT_EQ(otherGets(), static_cast<DWORD>(WAIT_TIMEOUT));
    first.Unlock();
    EXPECT_EQ(otherGets(), WAIT_OBJECT_0);
    {
        TMutex owner(name);
        EXPECT_EQ(owner.Wait(0), WAIT_OBJECT_0);
    }  // owned when its holder went
    EXPECT_EQ(otherGets(), WAIT_OBJECT_0);

    // A thread that ends owning it leaves it abandoned; whoever gets it next owns it all the
    // same and must let it go.
    OnOtherThread([&name] {
        HANDLE raw = OpenMutexA(SYNCHRONIZE, FALSE, name.c_str());
        DWORD result = WaitForSingleObject(raw, 0);
        CloseHandle(raw);
        return result;
    });
    {
        TMutex next(name);
        EXPECT_EQ(next.Wait(0), static_cast<DWORD>(WAIT_ABANDONED));
    }
    EXPECT_EQ(otherGets(), WAIT_OBJECT_0);
}

TEST(ClasslibHandles, GdiObjectsGoOnceNoMemoryContextHoldsThem) {
    HBRUSH raw = CreateSolidBrush(RGB(1, 2, 3));
    {
        TGdiObject<HBRUSH> brush(raw);
        EXPECT_EQ(GetObjectType(raw), static_cast<DWORD>(OBJ_BRUSH));
    }
    EXPECT_EQ(GetObjectType(raw), 0u);

    HDC screen = GetDC(nullptr);
    TGdiObject<HBITMAP> bitmap(CreateCompatibleBitmap(screen, 8, 8));
    ReleaseDC(nullptr, screen);
    ASSERT_TRUE(bitmap);
    TMemoryDC other(nullptr);
    ASSERT_TRUE(other);
    {
        TMemoryDC dc(nullptr);
        dc.Select(bitmap.Get());
        // A bitmap is in one context at a time.
        EXPECT_EQ(SelectObject(other.Handle(), bitmap.Get()), nullptr);
    }
    // The memory context put it out again before it went.
    HGDIOBJ original = SelectObject(other.Handle(), bitmap.Get());
    EXPECT_NE(original, nullptr);
    SelectObject(other.Handle(), original);
}
