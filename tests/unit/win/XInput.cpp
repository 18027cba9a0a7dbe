// clang-format off
#include <winsock2.h>  // before windows.h
// clang-format on
#include "XInput.h"

#include <algorithm>
#include <cstdlib>

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

int Port() {
    static const int port = [] {
        const char* text = getenv("WL_XTESTD_PORT");
        return text ? atoi(text) : 0;
    }();
    return port;
}

// The requests (a line each) sent to the input server; true when each was answered "ok".
bool Request(const std::string& lines) {
    static const bool started = [] {
        WSADATA data;
        return WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }();
    if (!started || !Port() || lines.empty()) return false;
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (s == INVALID_SOCKET) return false;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<u_short>(Port()));
    bool ok = connect(s, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0;
    for (size_t sent = 0; ok && sent < lines.size();) {
        int n = send(s, lines.data() + sent, static_cast<int>(lines.size() - sent), 0);
        ok = n > 0;
        sent += ok ? static_cast<size_t>(n) : 0;
    }
    size_t expected = 0;
    for (char c : lines) expected += c == '\n';
    std::string answers;
    while (ok && static_cast<size_t>(std::count(answers.begin(), answers.end(), '\n')) < expected) {
        char buffer[256];
        int n = recv(s, buffer, sizeof(buffer), 0);
        ok = n > 0;
        if (ok) answers.append(buffer, static_cast<size_t>(n));
    }
    closesocket(s);
    std::string allOk;
    for (size_t i = 0; i < expected; ++i) allOk += "ok\n";
    return ok && answers == allOk;
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
    return !name.empty() && Request(KeyLine(name, !up));
}

bool Press(WORD vk, bool shift) {
    std::string name = KeyName(vk);
    return !name.empty() && Request(Stroke(name, shift));
}

bool Type(const std::string& text) {
    std::string lines;
    for (char c : text) {
        SHORT scan = VkKeyScanA(c);
        std::string name = scan == -1 ? "" : KeyName(LOBYTE(scan));
        if (name.empty() || (scan & 0x600)) return false;  // no Ctrl or Alt characters
        lines += Stroke(name, (scan & 0x100) != 0);
    }
    return text.empty() || Request(lines);
}

}  // namespace xinput
