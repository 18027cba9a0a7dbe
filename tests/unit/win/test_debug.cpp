#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "TempDir.h"
#include "classlib/AnsiString.h"
#include "core/Udebug.h"

namespace {

const char kStart[] = "== START LOG ==\r\n";

size_t FileCount(const TempDir& dir) {
    size_t count = 0;
    WIN32_FIND_DATAA fd;
    HANDLE find = FindFirstFileA(dir.File("*").c_str(), &fd);
    if (find == INVALID_HANDLE_VALUE) return 0;
    do {
        if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ++count;
    } while (FindNextFileA(find, &fd));
    FindClose(find);
    return count;
}

// Another process's hold on the log: reading, no write sharing.
HANDLE HoldFile(const AnsiString& path) {
    return CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

AnsiString SystemText(DWORD code) {
    char* buffer = nullptr;
    DWORD len = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), reinterpret_cast<LPSTR>(&buffer),
        0, nullptr);
    AnsiString text = len ? AnsiString(buffer, len) : AnsiString();
    if (buffer) LocalFree(buffer);
    return text;
}

// Listens on the system's debug output (the DBWIN_BUFFER protocol) and keeps what this process
// writes there.
class DebugOutputCapture {
public:
    DebugOutputCapture() {
        mapping_ = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 4096,
                                      "DBWIN_BUFFER");
        view_ = static_cast<const char*>(MapViewOfFile(mapping_, FILE_MAP_READ, 0, 0, 0));
        bufferReady_ = CreateEventA(nullptr, FALSE, FALSE, "DBWIN_BUFFER_READY");
        dataReady_ = CreateEventA(nullptr, FALSE, FALSE, "DBWIN_DATA_READY");
        stop_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        synced_ = CreateEventA(nullptr, FALSE, FALSE, nullptr);
        InitializeCriticalSection(&lock_);
        thread_ = CreateThread(nullptr, 0, Run, this, 0, nullptr);
        SetEvent(bufferReady_);
    }
    ~DebugOutputCapture() {
        SetEvent(stop_);
        WaitForSingleObject(thread_, INFINITE);
        for (HANDLE h : {thread_, synced_, stop_, dataReady_, bufferReady_}) CloseHandle(h);
        UnmapViewOfFile(view_);
        CloseHandle(mapping_);
        DeleteCriticalSection(&lock_);
    }
    // Everything written since the last call. A marker written last tells when the listener
    // has caught up.
    std::vector<AnsiString> Take() {
        OutputDebugStringA(kMarker);
        EXPECT_EQ(WaitForSingleObject(synced_, 5000), WAIT_OBJECT_0) << "debug output not seen";
        EnterCriticalSection(&lock_);
        std::vector<AnsiString> texts;
        texts.swap(texts_);
        LeaveCriticalSection(&lock_);
        return texts;
    }

private:
    static constexpr const char* kMarker = "--capture sync--";
    static DWORD WINAPI Run(void* arg) {
        auto* self = static_cast<DebugOutputCapture*>(arg);
        HANDLE waits[2] = {self->dataReady_, self->stop_};
        while (WaitForMultipleObjects(2, waits, FALSE, INFINITE) == WAIT_OBJECT_0) {
            DWORD pid = *reinterpret_cast<const DWORD*>(self->view_);
            AnsiString text = self->view_ + sizeof(DWORD);
            if (pid == GetCurrentProcessId()) {
                if (text == kMarker) {
                    SetEvent(self->synced_);
                } else {
                    EnterCriticalSection(&self->lock_);
                    self->texts_.push_back(text);
                    LeaveCriticalSection(&self->lock_);
                }
            }
            SetEvent(self->bufferReady_);
        }
        return 0;
    }
    HANDLE mapping_, bufferReady_, dataReady_, stop_, synced_, thread_;
    const char* view_;
    CRITICAL_SECTION lock_;
    std::vector<AnsiString> texts_;
};

// Ends every line the viewer tests send: other test programs running meanwhile on the same
// desktop find the viewer window too and send it their own lines.
const AnsiString& OwnTag() {
    static const AnsiString tag = Format(" #%lu", GetCurrentProcessId());
    return tag;
}

// A top-level "Tindral Debug View" window on its own thread with its own message loop; it keeps
// only the lines that carry this process's tag.
class ViewerWindow {
public:
    struct Received {
        AnsiString bytes;  // cbData bytes of lpData
        ULONG_PTR data;
        WPARAM wParam;
    };

    ViewerWindow() {
        ready_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        hanging_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        release_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        thread_ = CreateThread(nullptr, 0, Run, this, 0, nullptr);
        WaitForSingleObject(ready_, 10000);
    }
    ~ViewerWindow() {
        Close();
        for (HANDLE h : {thread_, release_, hanging_, ready_}) CloseHandle(h);
    }
    bool Exists() const { return hwnd_ != nullptr; }
    // Stops pumping messages until Release.
    void Hang() {
        PostMessageA(hwnd_, WM_APP, 0, 0);
        WaitForSingleObject(hanging_, 10000);
    }
    // A send that timed out is still delivered later, with its data long gone: ignore it.
    void Release() {
        InterlockedExchange(&ignore_, 1);
        SetEvent(release_);
    }
    void Close() {
        if (!hwnd_) return;
        Release();
        PostMessageA(hwnd_, WM_CLOSE, 0, 0);
        WaitForSingleObject(thread_, 10000);
        hwnd_ = nullptr;
    }
    // Filled by the window's thread inside the send, read after the send returned.
    std::vector<Received> received;

private:
    static DWORD WINAPI Run(void* arg) {
        auto* self = static_cast<ViewerWindow*>(arg);
        WNDCLASSA wc = {};
        wc.lpfnWndProc = Proc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "UdebugTestViewer";
        RegisterClassA(&wc);  // fails harmlessly when registered by an earlier viewer
        self->hwnd_ =
            CreateWindowExA(0, wc.lpszClassName, "Tindral Debug View", WS_OVERLAPPEDWINDOW, 0, 0,
                            200, 100, nullptr, nullptr, wc.hInstance, self);
        SetEvent(self->ready_);
        MSG msg;
        while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
        return 0;
    }
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
        if (msg == WM_NCCREATE) {
            auto* cs = reinterpret_cast<CREATESTRUCTA*>(lParam);
            SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
        }
        auto* self = reinterpret_cast<ViewerWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
        switch (msg) {
            case WM_COPYDATA:
                if (!InterlockedCompareExchange(&self->ignore_, 0, 0)) {
                    auto* cds = reinterpret_cast<COPYDATASTRUCT*>(lParam);
                    AnsiString bytes(static_cast<const char*>(cds->lpData), cds->cbData);
                    if (bytes.find(OwnTag() + AnsiString(1, '\0')) != AnsiString::npos)
                        self->received.push_back({bytes, cds->dwData, wParam});
                }
                return TRUE;
            case WM_APP:
                SetEvent(self->hanging_);
                WaitForSingleObject(self->release_, INFINITE);
                return 0;
            case WM_DESTROY:
                PostQuitMessage(0);
                return 0;
        }
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
    HANDLE ready_, hanging_, release_, thread_;
    HWND hwnd_ = nullptr;
    volatile LONG ignore_ = 0;
};

using Mode = DebugLogFile::OpenMode;

TEST(DebugLogFile, WritesNothingWithoutAnExistingLogFile) {
    TempDir dir;
    for (Mode mode : {Mode::WithFallback, Mode::OwnFileOnly}) {
        DebugLogFile log;
        EXPECT_FALSE(log.Open(dir.File("Prog.Log"), mode));
        EXPECT_FALSE(log.IsOpen());
        EXPECT_EQ(log.Handle, INVALID_HANDLE_VALUE);
        log.WriteLine("lost");
    }
    EXPECT_EQ(FileCount(dir), 0u);
}

TEST(DebugLogFile, AppendsStartLineAndLinesEndingInCrLf) {
    TempDir dir;
    const AnsiString path = dir.File("Prog.Log");
    TempDir::WriteFile(path, "earlier run\r\n");
    const AnsiString longText(5000, 'x');
    {
        DebugLogFile log;
        ASSERT_TRUE(log.Open(path));
        EXPECT_EQ(log.Path, path);
        log.WriteLine("first");
        log.WriteLine("");
        log.WriteLine(longText);
        EXPECT_EQ(TempDir::ReadFile(path),
                  "earlier run\r\n" + AnsiString(kStart) + "first\r\n\r\n" + longText + "\r\n");
        log.Close();
        EXPECT_FALSE(log.IsOpen());
        log.WriteLine("after close");
    }
    EXPECT_EQ(TempDir::ReadFile(path).find("after close"), AnsiString::npos);
    EXPECT_EQ(FileCount(dir), 1u);
}

TEST(DebugLogFile, HeldLogFallsBackToTheNextNewNumberedFile) {
    TempDir dir;
    const AnsiString path = dir.File("Prog.Log");
    TempDir::WriteFile(path, "");
    HANDLE held = HoldFile(path);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);

    DebugLogFile first;
    ASSERT_TRUE(first.Open(path));
    first.WriteLine("one");
    EXPECT_EQ(TempDir::ReadFile(dir.File("Prog_000.Log")), AnsiString(kStart) + "one\r\n");
    EXPECT_EQ(TempDir::ReadFile(path), "");

    DebugLogFile second;  // _000 exists and is open
    ASSERT_TRUE(second.Open(path));
    second.WriteLine("two");
    EXPECT_EQ(TempDir::ReadFile(dir.File("Prog_001.Log")), AnsiString(kStart) + "two\r\n");

    first.Close();  // a free numbered file is still never reused
    DebugLogFile third;
    ASSERT_TRUE(third.Open(path));
    EXPECT_EQ(TempDir::ReadFile(dir.File("Prog_000.Log")), AnsiString(kStart) + "one\r\n");
    EXPECT_EQ(TempDir::ReadFile(dir.File("Prog_002.Log")), kStart);

    // A log held only by this program's own open log counts as held too.
    third.Close();
    second.Close();
    CloseHandle(held);
    DebugLogFile main;
    ASSERT_TRUE(main.Open(path));
    DebugLogFile other;
    ASSERT_TRUE(other.Open(path));
    EXPECT_EQ(TempDir::ReadFile(dir.File("Prog_003.Log")), kStart);
    EXPECT_EQ(TempDir::ReadFile(path), kStart);
}

TEST(DebugLogFile, NumberedNamesEndAt99) {
    TempDir dir;
    const AnsiString path = dir.File("Prog.Log");
    TempDir::WriteFile(path, "");
    for (int i = 0; i < 99; ++i) TempDir::WriteFile(dir.File(Format("Prog_%03d.Log", i)), "");
    HANDLE held = HoldFile(path);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    DebugLogFile last;
    ASSERT_TRUE(last.Open(path));
    EXPECT_EQ(TempDir::ReadFile(dir.File("Prog_099.Log")), kStart);
    DebugLogFile none;
    EXPECT_FALSE(none.Open(path));
    EXPECT_FALSE(none.IsOpen());
    CloseHandle(held);
    EXPECT_EQ(FileCount(dir), 101u);
}

TEST(DebugLogFile, OwnFileOnlyModeHasNoNoticeAndNoNumberedNames) {
    TempDir dir;
    DebugOutputCapture output;
    const AnsiString path = dir.File("Svc.Log");
    TempDir::WriteFile(path, "");
    {
        DebugLogFile log;
        ASSERT_TRUE(log.Open(path, Mode::OwnFileOnly));
        log.WriteLine("svc");
        EXPECT_EQ(TempDir::ReadFile(path), AnsiString(kStart) + "svc\r\n");
    }
    EXPECT_TRUE(output.Take().empty());

    HANDLE held = HoldFile(path);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    DebugLogFile log;
    EXPECT_FALSE(log.Open(path, Mode::OwnFileOnly));
    CloseHandle(held);
    EXPECT_EQ(FileCount(dir), 1u);

    // The monitor's mode announces the open on the debug output.
    DebugLogFile monitor;
    ASSERT_TRUE(monitor.Open(path));
    EXPECT_EQ(output.Take(), std::vector<AnsiString>{"open log file"});
}

// The program's functions, writing through the global log opened on a temp file.
class GlobalLog : public ::testing::Test {
protected:
    void SetUp() override {
        path = dir.File("Prog.Log");
        TempDir::WriteFile(path, "");
        CloseDebugLog();
        ASSERT_TRUE(GlobalDebugLog().Open(path));
        output.Take();  // drop the open notice
    }
    void TearDown() override { CloseDebugLog(); }
    // The lines after the start line.
    AnsiString Lines() const {
        AnsiString text = TempDir::ReadFile(path);
        const size_t start = sizeof kStart - 1;
        if (text.compare(0, start, kStart) != 0) return "<no start line> " + text;
        return text.substr(start);
    }

    TempDir dir;
    AnsiString path;
    DebugOutputCapture output;
};

TEST_F(GlobalLog, TraceLinesReachTheDebugOutputViewerLinesDoNot) {
    OpenDebugLog();  // already run at start-up: must not open again
    DebugTrace("trace %d %s", 7, "seven");
    DebugPrint("viewer %d", 8);
    WriteLogLine("plain");
    EXPECT_EQ(TempDir::ReadFile(path),
              AnsiString(kStart) + "trace 7 seven\r\nviewer 8\r\nplain\r\n");
    EXPECT_EQ(output.Take(), std::vector<AnsiString>{"trace 7 seven"});

    CloseDebugLog();
    DebugTrace("no file %d", 1);
    DebugPrint("no file %d", 2);
    EXPECT_EQ(output.Take(), std::vector<AnsiString>{"no file 1"});
    EXPECT_EQ(Lines(), "trace 7 seven\r\nviewer 8\r\nplain\r\n");
}

TEST_F(GlobalLog, ErrorLinesCarryTheCodeInHexAndTheSystemText) {
    const AnsiString notFound = SystemText(ERROR_FILE_NOT_FOUND);
    const AnsiString exists = SystemText(ERROR_ALREADY_EXISTS);
    ASSERT_FALSE(notFound.empty());
    ASSERT_FALSE(exists.empty());
    ASSERT_TRUE(SystemText(0x2FFFFFFF).empty());

    DebugPrintError(ERROR_FILE_NOT_FOUND, "open %s", "a.ini");
    DebugPrintError(ERROR_ALREADY_EXISTS, nullptr);
    DebugPrintError(0x2FFFFFFF, "no text");
    const AnsiString first = "open a.ini ErrCode:2=" + notFound;
    const AnsiString second = "ErrCode:b7=" + exists;
    const AnsiString third = "no text ErrCode:2fffffff=";
    EXPECT_EQ(Lines(), first + "\r\n" + second + "\r\n" + third + "\r\n");
    EXPECT_EQ(output.Take(), (std::vector<AnsiString>{first, second, third}));
}

TEST_F(GlobalLog, ViewerLinesGoToTheViewerWindowWithTheirNul) {
    ViewerWindow viewer;
    ASSERT_TRUE(viewer.Exists());
    const AnsiString& tag = OwnTag();
    DebugPrint("viewer %d%s", 42, tag.c_str());
    SendToDebugView("raw" + tag, 5, 6);
    DebugTrace("trace only%s", tag.c_str());
    DebugPrintError(ERROR_FILE_NOT_FOUND, "error only%s", tag.c_str());

    ASSERT_EQ(viewer.received.size(), 2u);
    EXPECT_EQ(viewer.received[0].bytes, "viewer 42" + tag + AnsiString(1, '\0'));  // NUL counted
    EXPECT_EQ(viewer.received[0].data, 0u);
    EXPECT_EQ(viewer.received[0].wParam, 0u);
    EXPECT_EQ(viewer.received[1].bytes, "raw" + tag + AnsiString(1, '\0'));
    EXPECT_EQ(viewer.received[1].data, 5u);
    EXPECT_EQ(viewer.received[1].wParam, 6u);

    viewer.Close();  // closed between two lines: the next one reaches the file only
    DebugPrint("after close%s", tag.c_str());
    EXPECT_EQ(viewer.received.size(), 2u);
    EXPECT_EQ(Lines(), "viewer 42" + tag + "\r\nraw" + tag + "\r\ntrace only" + tag +
                           "\r\nerror only" + tag + " ErrCode:2=" +
                           SystemText(ERROR_FILE_NOT_FOUND) + "\r\nafter close" + tag + "\r\n");
}

DWORD WINAPI PrintWhileHung(void*) {
    DebugPrint("while hung%s", OwnTag().c_str());
    return 0;
}

TEST_F(GlobalLog, HungViewerDelaysALineOnlyUntilTheTimeOut) {
    ViewerWindow viewer;
    ASSERT_TRUE(viewer.Exists());
    viewer.Hang();
    // Printed on a thread of its own so that a send without time-out fails here instead of
    // hanging the test.
    DWORD start = GetTickCount();
    HANDLE printer = CreateThread(nullptr, 0, PrintWhileHung, nullptr, 0, nullptr);
    DWORD wait = WaitForSingleObject(printer, 5000);
    DWORD elapsed = GetTickCount() - start;
    viewer.Release();
    WaitForSingleObject(printer, INFINITE);
    CloseHandle(printer);
    EXPECT_EQ(wait, WAIT_OBJECT_0) << "DebugPrint waited for the hung viewer";
    EXPECT_GE(elapsed, 500u) << "the viewer was not reached";
    EXPECT_EQ(Lines(), "while hung" + OwnTag() + "\r\n");
}

}  // namespace
