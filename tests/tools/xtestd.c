/* The window tests' mouse and keyboard: a small server on the loopback address that makes
 * input on the X display through the X server's test extension, so that it reaches the programs
 * under Wine as a user's input does. It writes its port to the file named by its argument once
 * it listens. Each line a request, each answered by one line once the X server holds the input:
 *
 *   window X Y W       once the X window W (or the window holding it) is the one shown at X, Y
 *                      of the screen: a window the program has shown is mapped a moment later
 *   move X Y           the pointer to X, Y of the screen
 *   button B 1|0       mouse button B pressed (1) or released (0)
 *   key NAME 1|0       the key of the X key name NAME ("Return", "a", "Shift_L") pressed or
 * released
 *
 * Answers: "ok", or "error" and why. */
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/socket.h>
#include <unistd.h>

/* The child of the root window that holds window, or None. */
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

/* Waits up to 10 s for the window shown at x, y to be the one holding want. */
static int WaitForWindowAt(Display* display, int x, int y, Window want) {
    Window root = DefaultRootWindow(display);
    want = TopLevel(display, want);
    for (int i = 0; i < 1000; ++i) {
        int cx, cy;
        Window child = None;
        XTranslateCoordinates(display, root, root, x, y, &cx, &cy, &child);
        if (child != None && child == want) return 1;
        usleep(10000);
    }
    return 0;
}

static const char* Perform(Display* display, const char* line) {
    char name[64];
    int a = 0, b = 0;
    unsigned long w = 0;
    int ok;
    if (sscanf(line, "window %d %d %lx", &a, &b, &w) == 3) {
        if (!WaitForWindowAt(display, a, b, (Window)w))
            return "error the window is not shown there";
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
    /* Answered once the server has made the events. */
    XSync(display, False);
    return "ok";
}

static void Serve(Display* display, int client) {
    char buffer[1024];
    size_t used = 0;
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
            char answer[80];
            snprintf(answer, sizeof(answer), "%s\n", Perform(display, start));
            if (write(client, answer, strlen(answer)) < 0) return;
            start = end + 1;
        }
        used -= (size_t)(start - buffer);
        memmove(buffer, start, used);
        if (used == sizeof(buffer) - 1) return; /* a line longer than any request */
    }
}

int main(int argc, char** argv) {
    if (argc != 2) {
        fprintf(stderr, "usage: xtestd PORTFILE\n");
        return 2;
    }
    signal(SIGPIPE, SIG_IGN);
    Display* display = XOpenDisplay(NULL);
    int event, error, major, minor;
    if (!display || !XTestQueryExtension(display, &event, &error, &major, &minor)) {
        fprintf(stderr, "xtestd: no X display with the test extension\n");
        return 1;
    }
    int listener = socket(AF_INET, SOCK_STREAM, 0);
    struct sockaddr_in address;
    memset(&address, 0, sizeof(address));
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof(address);
    if (listener < 0 || bind(listener, (struct sockaddr*)&address, sizeof(address)) != 0 ||
        listen(listener, 16) != 0 ||
        getsockname(listener, (struct sockaddr*)&address, &length) != 0) {
        perror("xtestd");
        return 1;
    }
    /* The port file appears whole: written aside, then renamed. */
    char temporary[4096];
    snprintf(temporary, sizeof(temporary), "%s.tmp", argv[1]);
    FILE* file = fopen(temporary, "w");
    if (!file || fprintf(file, "%d\n", ntohs(address.sin_port)) < 0 || fclose(file) != 0 ||
        rename(temporary, argv[1]) != 0) {
        perror("xtestd");
        return 1;
    }
    for (;;) {
        int client = accept(listener, NULL, NULL);
        if (client < 0) continue;
        Serve(display, client);
        close(client);
    }
}
