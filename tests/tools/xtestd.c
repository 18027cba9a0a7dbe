/* The window tests' mouse and keyboard: a small server that makes input on the X display
 * through the X server's test extension, so that it reaches the programs under Wine as a
 * user's input does.
 *
 * Only the test it serves may use it. It listens on the loopback address (Wine's Winsock has
 * no Unix sockets) and writes "PORT SECRET" into the file named by its argument, which must lie
 * in a directory of its own user that no one else may enter; a connection is served only once
 * its first line is "token SECRET". Each later line a request, each answered by one line once
 * the X server holds the input:
 *
 *   window X Y W       once the X window W (or the window holding it) is the one shown at X, Y
 *                      of the screen: a window the program has shown is mapped a moment later
 *   move X Y           the pointer to X, Y of the screen
 *   button B 1|0       mouse button B pressed (1) or released (0)
 *   key NAME 1|0       the key of the X key name NAME ("Return", "a", "Shift_L") pressed or
 *                      released
 *
 * Answers: "ok", or "error" and why. Once a window is not shown where asked, the connection's
 * later requests are refused: a click meant for it would land on whatever is there. */
#define _GNU_SOURCE /* accept4 */
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <arpa/inet.h>
#include <errno.h>
#include <fcntl.h>
#include <libgen.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/random.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

enum { kSecretBytes = 16, kWindowWaitMs = 10000, kIdleClientSeconds = 5 };

static char secret[2 * kSecretBytes + 1];

/* The code of the last X error since it was cleared. Xlib's own handler would end the server:
 * a window closed just before it is checked is no reason to stop serving. */
static int lastXError;

static int NoteXError(Display* display, XErrorEvent* event) {
    (void)display;
    lastXError = event->error_code;
    return 0;
}

static const char* XErrorAnswer(Display* display) {
    static char answer[160];
    char text[100];
    XGetErrorText(display, lastXError, text, sizeof(text));
    snprintf(answer, sizeof(answer), "error X error: %s", text);
    return answer;
}

/* The child of the root window that holds window, or None (an X error: no such window). */
static Window TopLevel(Display* display, Window window) {
    Window root, parent, *children;
    unsigned count;
    for (;;) {
        if (!XQueryTree(display, window, &root, &parent, &children, &count)) return None;
        if (children) XFree(children);
        if (parent == root || parent == None) return window;
        window = parent;
    }
}

static long long NowMs(void) {
    struct timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return (long long)now.tv_sec * 1000 + now.tv_nsec / 1000000;
}

/* Whether the top-level window want is the one shown at x, y; looked at again whenever a
 * top-level window is mapped, unmapped, moved or restacked, for up to kWindowWaitMs. */
static int WaitForWindowAt(Display* display, int x, int y, Window want) {
    Window root = DefaultRootWindow(display);
    XSelectInput(display, root, SubstructureNotifyMask);
    long long deadline = NowMs() + kWindowWaitMs;
    int shown = 0;
    for (;;) {
        XEvent event;
        while (XPending(display)) XNextEvent(display, &event);
        int cx, cy;
        Window child = None;
        XTranslateCoordinates(display, root, root, x, y, &cx, &cy, &child);
        shown = child != None && child == want;
        long long left = deadline - NowMs();
        if (shown || left <= 0) break;
        /* Events read with that answer came before it: looked at already. */
        struct pollfd pending = {ConnectionNumber(display), POLLIN, 0};
        if (QLength(display) == 0 && poll(&pending, 1, (int)left) < 0 && errno != EINTR) break;
    }
    XSelectInput(display, root, NoEventMask);
    XSync(display, True);
    return shown;
}

static const char* Perform(Display* display, const char* line) {
    char name[64];
    int a = 0, b = 0;
    unsigned long w = 0;
    int ok;
    lastXError = 0;
    if (sscanf(line, "window %d %d %lx", &a, &b, &w) == 3) {
        Window want = TopLevel(display, (Window)w);
        if (want == None) return lastXError ? XErrorAnswer(display) : "error no such window";
        if (!WaitForWindowAt(display, a, b, want)) return "error the window is not shown there";
        return "ok";
    } else if (sscanf(line, "move %d %d", &a, &b) == 2) {
        ok = XTestFakeMotionEvent(display, -1, a, b, CurrentTime);
    } else if (sscanf(line, "button %d %d", &a, &b) == 2) {
        ok = XTestFakeButtonEvent(display, (unsigned)a, b != 0, CurrentTime);
    } else if (sscanf(line, "key %63s %d", name, &b) == 2) {
        KeySym sym = XStringToKeysym(name);
        KeyCode code = sym == NoSymbol ? 0 : XKeysymToKeycode(display, sym);
        if (!code) return "error no such key";
        ok = XTestFakeKeyEvent(display, code, b != 0, CurrentTime);
    } else {
        return "error unknown request";
    }
    if (!ok) return "error refused";
    /* Answered once the server has made the events (or refused them). */
    XSync(display, False);
    return lastXError ? XErrorAnswer(display) : "ok";
}

/* Whether line is "token " and the secret; every byte compared, however early one differs. */
static int Admits(const char* line) {
    static const char prefix[] = "token ";
    if (strncmp(line, prefix, sizeof(prefix) - 1) != 0) return 0;
    line += sizeof(prefix) - 1;
    if (strlen(line) != sizeof(secret) - 1) return 0;
    unsigned char differ = 0;
    for (size_t i = 0; i < sizeof(secret) - 1; ++i) differ |= (unsigned char)(line[i] ^ secret[i]);
    return differ == 0;
}

static int Answer(int client, const char* text) {
    char line[200];
    int n = snprintf(line, sizeof(line), "%s\n", text);
    return write(client, line, (size_t)n) == n;
}

static void Serve(Display* display, int client) {
    char buffer[1024];
    size_t used = 0;
    int admitted = 0, windowMissed = 0;
    for (;;) {
        ssize_t n = read(client, buffer + used, sizeof(buffer) - 1 - used);
        if (n <= 0) return;
        used += (size_t)n;
        buffer[used] = '\0';
        char* start = buffer;
        char* end;
        while ((end = strchr(start, '\n')) != NULL) {
            *end = '\0';
            if (end > start && end[-1] == '\r') end[-1] = '\0';
            if (!admitted) {
                admitted = Admits(start);
                if (!Answer(client, admitted ? "ok" : "error not allowed") || !admitted) return;
            } else if (windowMissed) {
                if (!Answer(client, "error not sent: the window was not shown there")) return;
            } else {
                const char* answer = Perform(display, start);
                windowMissed = strncmp(start, "window ", 7) == 0 && strcmp(answer, "ok") != 0;
                if (!Answer(client, answer)) return;
            }
            start = end + 1;
        }
        used -= (size_t)(start - buffer);
        memmove(buffer, start, used);
        if (used == sizeof(buffer) - 1) return; /* a line longer than any request */
    }
}

/* Whether the directory holding path belongs to this user alone. */
static int InPrivateDirectory(const char* path) {
    char copy[4096];
    snprintf(copy, sizeof(copy), "%s", path);
    struct stat info;
    return stat(dirname(copy), &info) == 0 && S_ISDIR(info.st_mode) &&
           info.st_uid == geteuid() && (info.st_mode & 077) == 0;
}

static int MakeSecret(void) {
    unsigned char bytes[kSecretBytes];
    if (getrandom(bytes, sizeof(bytes), 0) != (ssize_t)sizeof(bytes)) return 0;
    for (size_t i = 0; i < sizeof(bytes); ++i) snprintf(secret + 2 * i, 3, "%02x", bytes[i]);
    return 1;
}

/* "PORT SECRET" in the file, which appears whole (written aside, then renamed), for its owner
 * only. */
static int Publish(const char* path, int port) {
    char temporary[4096];
    snprintf(temporary, sizeof(temporary), "%s.tmp", path);
    int fd = open(temporary, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW, 0600);
    if (fd < 0) return 0;
    char text[64];
    int n = snprintf(text, sizeof(text), "%d %s\n", port, secret);
    int ok = write(fd, text, (size_t)n) == n;
    return close(fd) == 0 && ok && rename(temporary, path) == 0;
}

int main(int argc, char** argv) {
    if (argc != 2) {
        fprintf(stderr, "usage: xtestd FILE (in a directory of this user's alone)\n");
        return 2;
    }
    if (!InPrivateDirectory(argv[1])) {
        fprintf(stderr, "xtestd: the directory of %s is not this user's alone\n", argv[1]);
        return 2;
    }
    signal(SIGPIPE, SIG_IGN);
    Display* display = XOpenDisplay(NULL);
    int event, error, major, minor;
    if (!display || !XTestQueryExtension(display, &event, &error, &major, &minor)) {
        fprintf(stderr, "xtestd: no X display with the test extension\n");
        return 1;
    }
    XSetErrorHandler(NoteXError);
    int listener = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    struct sockaddr_in address;
    memset(&address, 0, sizeof(address));
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof(address);
    if (!MakeSecret() || listener < 0 ||
        bind(listener, (struct sockaddr*)&address, sizeof(address)) != 0 ||
        listen(listener, 16) != 0 ||
        getsockname(listener, (struct sockaddr*)&address, &length) != 0 ||
        !Publish(argv[1], ntohs(address.sin_port))) {
        perror("xtestd");
        return 1;
    }
    for (;;) {
        int client = accept4(listener, NULL, NULL, SOCK_CLOEXEC);
        if (client < 0) continue;
        /* One client at a time: one that connects and says nothing is not waited for long. */
        struct timeval idle = {kIdleClientSeconds, 0};
        setsockopt(client, SOL_SOCKET, SO_RCVTIMEO, &idle, sizeof(idle));
        Serve(display, client);
        close(client);
    }
}
