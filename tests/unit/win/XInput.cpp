// clang-format off
#include <winsock2.h>  // before windows.h
// clang-format on
#include "XInput.h"

#include <algorithm>
#include <fstream>

namespace xinput {
namespace {

// The X key name of a virtual key; empty for one the tests do not press.
std::string KeyName(WORD vk) {
    if (vk >= '0' && vk <= '9') return std::string(1, static_cast<char>(vk));
    if (vk >= 'A' && vk <= 'Z') return std::string(1, static_cast<char>(vk - 'A' + 'a'));
    static const struct {
        WORD vk;
        const char* name;
    } kNames[] = {
        {VK_BACK, "BackSpace"},
        {VK_TAB, "Tab"},
        {VK_RETURN, "Return"},
        {VK_ESCAPE, "Escape"},
        {VK_SPACE, "space"},
        {VK_PRIOR, "Prior"},
        {VK_NEXT, "Next"},
        {VK_END, "End"},
        {VK_HOME, "Home"},
        {VK_LEFT, "Left"},
        {VK_UP, "Up"},
        {VK_RIGHT, "Right"},
        {VK_DOWN, "Down"},
        {VK_INSERT, "Insert"},
        {VK_DELETE, "Delete"},
        {VK_SHIFT, "Shift_L"},
        {VK_LSHIFT, "Shift_L"},
        {VK_CONTROL, "Control_L"},
        {VK_LCONTROL, "Control_L"},
        {VK_MENU, "Alt_L"},
        {VK_LMENU, "Alt_L"},
        {VK_DECIMAL, "KP_Decimal"},
        {VK_OEM_1, "semicolon"},
        {VK_OEM_PLUS, "equal"},
        {VK_OEM_COMMA, "comma"},
        {VK_OEM_MINUS, "minus"},
        {VK_OEM_PERIOD, "period"},
        {VK_OEM_2, "slash"},
        {VK_OEM_3, "grave"},
        {VK_OEM_4, "bracketleft"},
        {VK_OEM_5, "backslash"},
        {VK_OEM_6, "bracketright"},
        {VK_OEM_7, "apostrophe"},
    };
    for (const auto& n : kNames)
        if (n.vk == vk) return n.name;
    return "";
}

thread_local std::string lastError;

bool Fail(const std::string& why) {
    lastError = why;
    return false;
}

// The input server's port and secret, from the file WL_XTESTD_FILE names ("PORT SECRET").
bool Server(int& port, std::string& secret) {
    char path[MAX_PATH] = {};
    DWORD length = GetEnvironmentVariableA("WL_XTESTD_FILE", path, sizeof(path));
    if (length == 0 || length >= sizeof(path)) return Fail("no input server: WL_XTESTD_FILE unset");
    std::ifstream file(path);
    if (!(file >> port >> secret)) return Fail(std::string("no input server in ") + path);
    return true;
}

// The requests (a line each) sent to the input server after its secret; true when each was
// answered "ok", else the first other answer is the last error.
bool Request(const std::string& requests) {
    static const bool started = [] {
        WSADATA data;
        return WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }();
    int port = 0;
    std::string secret;
    if (!started) return Fail("no Winsock");
    if (!Server(port, secret)) return false;
    const std::string lines = "token " + secret + "\n" + requests;
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (s == INVALID_SOCKET) return Fail("no socket");
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<u_short>(port));
    bool ok = connect(s, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0;
    for (size_t sent = 0; ok && sent < lines.size();) {
        int n = send(s, lines.data() + sent, static_cast<int>(lines.size() - sent), 0);
        ok = n > 0;
        sent += ok ? static_cast<size_t>(n) : 0;
    }
    const auto expected = static_cast<size_t>(std::count(lines.begin(), lines.end(), '\n'));
    std::string answers;
    while (ok && static_cast<size_t>(std::count(answers.begin(), answers.end(), '\n')) < expected) {
        char buffer[256];
        int n = recv(s, buffer, sizeof(buffer), 0);
        ok = n > 0;
        if (ok) answers.append(buffer, static_cast<size_t>(n));
    }
    int error = WSAGetLastError();
    closesocket(s);
    // A refusal may end the connection: its answer first.
    for (size_t at = 0, end; (end = answers.find('\n', at)) != std::string::npos; at = end + 1)
        if (answers.compare(at, end - at, "ok") != 0)
            return Fail("the input server answered \"" + answers.substr(at, end - at) + "\"");
    if (!ok)
        return Fail("the input server did not answer (Winsock error " + std::to_string(error) +
                    ")");
    return true;
}

bool NoKey(WORD vk) {
    return Fail("no X key name for virtual key " + std::to_string(vk));
}

std::string Move(POINT p) {
    return "move " + std::to_string(p.x) + " " + std::to_string(p.y) + "\n";
}

// Waits for the X window of the window the system shows at p, if it has one: the X server maps
// a window some time after the program has shown it, and a click before would reach the desktop.
std::string WindowAt(POINT p) {
    HWND shown = GetAncestor(WindowFromPoint(p), GA_ROOT);
    auto x =
        reinterpret_cast<ULONG_PTR>(shown ? GetPropA(shown, "__wine_x11_whole_window") : nullptr);
    if (!x) return "";
    char line[80];
    wsprintfA(line, "window %ld %ld %lx\n", p.x, p.y, static_cast<unsigned long>(x));
    return line;
}

std::string LeftButtonLine(bool down) {
    return down ? "button 1 1\n" : "button 1 0\n";
}

std::string KeyLine(const std::string& name, bool down) {
    return "key " + name + (down ? " 1\n" : " 0\n");
}

// A key pressed and released, Shift around it where asked.
std::string Stroke(const std::string& name, bool shift) {
    std::string lines;
    if (shift) lines += KeyLine("Shift_L", true);
    lines += KeyLine(name, true) + KeyLine(name, false);
    if (shift) lines += KeyLine("Shift_L", false);
    return lines;
}

}  // namespace

bool Click(POINT screen) {
    return Request(WindowAt(screen) + Move(screen) + LeftButtonLine(true) + LeftButtonLine(false));
}

bool MoveTo(POINT screen) {
    return Request(WindowAt(screen) + Move(screen));
}

bool Key(WORD vk, bool up) {
    std::string name = KeyName(vk);
    return name.empty() ? NoKey(vk) : Request(KeyLine(name, !up));
}

bool Press(WORD vk, bool shift) {
    std::string name = KeyName(vk);
    return name.empty() ? NoKey(vk) : Request(Stroke(name, shift));
}

bool Type(const std::string& text) {
    std::string lines;
    for (char c : text) {
        SHORT scan = VkKeyScanA(c);
        std::string name = scan == -1 ? "" : KeyName(LOBYTE(scan));
        if (name.empty() || (scan & 0x600))  // no Ctrl or Alt characters
            return Fail(std::string("no key types '") + c + "'");
        lines += Stroke(name, (scan & 0x100) != 0);
    }
    return text.empty() || Request(lines);
}

std::string LastError() {
    return lastError;
}

}  // namespace xinput
