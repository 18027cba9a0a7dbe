// The window tests' input server (xtestd.c) on a virtual display of its own: whom it serves,
// and what an X error or a window not shown at its point does to the request and those after.
#include <gtest/gtest.h>
// after gtest, some of whose names (None) are X11's macros
#include <X11/Xlib.h>
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/inotify.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <string>
#include <vector>

extern char** environ;

namespace {

pid_t Spawn(std::vector<std::string> args, const posix_spawn_file_actions_t* actions = nullptr) {
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(&a[0]);
    argv.push_back(nullptr);
    pid_t pid = -1;
    return posix_spawnp(&pid, argv[0], actions, nullptr, argv.data(), environ) == 0 ? pid : -1;
}

int Stop(pid_t pid) {
    int status = -1;
    if (pid > 0 && kill(pid, SIGTERM) == 0) waitpid(pid, &status, 0);
    return status;
}

// A line read from fd within timeoutMs, without its newline; "" when none came.
std::string ReadLine(int fd, int timeoutMs = 20000) {
    std::string line;
    for (char c;;) {
        pollfd ready = {fd, POLLIN, 0};
        if (poll(&ready, 1, timeoutMs) != 1 || read(fd, &c, 1) != 1 || c == '\n') return line;
        line += c;
    }
}

// The display, the server on it and a window of this test's own.
class InputServer : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        // Xvfb names its display on a pipe once it takes connections.
        int named[2];
        ASSERT_EQ(pipe(named), 0);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, named[1], 3);
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
        xvfb_ = Spawn({"Xvfb", "-displayfd", "3", "-screen", "0", "640x480x24", "-nolisten", "tcp"},
                      &actions);
        posix_spawn_file_actions_destroy(&actions);
        close(named[1]);
        std::string number = ReadLine(named[0]);
        close(named[0]);
        ASSERT_FALSE(number.empty()) << "no Xvfb";
        setenv("DISPLAY", (":" + number).c_str(), 1);
        display_ = XOpenDisplay(nullptr);
        ASSERT_TRUE(display_ != nullptr);

        char dir[] = "/tmp/xtestd_test.XXXXXX";  // made for this user alone
        ASSERT_TRUE(mkdtemp(dir));
        dir_ = dir;
        xtestd_ = Start(dir_ + "/xtestd");
        std::ifstream file(dir_ + "/xtestd");
        ASSERT_TRUE(file >> port_ >> secret_);
    }
    static void TearDownTestSuite() {
        Stop(xtestd_);
        if (display_) XCloseDisplay(display_);
        Stop(xvfb_);
        if (!dir_.empty()) std::system(("rm -rf " + dir_).c_str());
    }

    // xtestd started with its file at path; it is there once the server listens.
    static pid_t Start(const std::string& path) {
        std::string dir = path.substr(0, path.rfind('/'));
        int watch = inotify_init1(IN_CLOEXEC);
        inotify_add_watch(watch, dir.c_str(), IN_MOVED_TO);
        pid_t pid = Spawn({XTESTD, path});
        pollfd moved = {watch, POLLIN, 0};
        if (access(path.c_str(), F_OK) != 0) poll(&moved, 1, 10000);
        close(watch);
        return pid;
    }

    // A connection with the lines sent on it, or -1.
    static int Send(const std::string& lines) {
        int s = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address = {};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = htons(static_cast<uint16_t>(port_));
        if (connect(s, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 ||
            write(s, lines.data(), lines.size()) != static_cast<ssize_t>(lines.size())) {
            close(s);
            return -1;
        }
        shutdown(s, SHUT_WR);
        return s;
    }
    // The answers on a connection until it closes, or one takes longer than the server's
    // longest wait.
    static std::vector<std::string> Answers(int s) {
        std::vector<std::string> answers;
        for (std::string a; s >= 0 && !(a = ReadLine(s)).empty();) answers.push_back(a);
        if (s >= 0) close(s);
        return answers;
    }
    static std::vector<std::string> Ask(const std::string& lines) { return Answers(Send(lines)); }
    static std::vector<std::string> AskAdmitted(const std::string& lines) {
        return Ask(Admitted(lines));
    }
    static std::string Admitted(const std::string& lines) {
        return "token " + secret_ + "\n" + lines;
    }

    struct Pointer {
        int x, y;
        bool left;  // the left button down
    };
    static Pointer Where() {
        Window root, child;
        int x = 0, y = 0, wx, wy;
        unsigned mask = 0;
        XQueryPointer(display_, DefaultRootWindow(display_), &root, &child, &x, &y, &wx, &wy,
                      &mask);
        return {x, y, (mask & Button1Mask) != 0};
    }
    // An X window of the test at 100, 100 (200 square), not yet shown.
    static Window MakeWindow() {
        Window w =
            XCreateSimpleWindow(display_, DefaultRootWindow(display_), 100, 100, 200, 200, 0, 0, 0);
        XSync(display_, False);
        return w;
    }
    static std::string WindowLine(Window w) {
        char line[80];
        snprintf(line, sizeof(line), "window 150 150 %lx\n", static_cast<unsigned long>(w));
        return line;
    }

    static pid_t xvfb_, xtestd_;
    static Display* display_;
    static std::string dir_, secret_;
    static int port_;
};

pid_t InputServer::xvfb_ = -1;
pid_t InputServer::xtestd_ = -1;
Display* InputServer::display_ = nullptr;
std::string InputServer::dir_, InputServer::secret_;
int InputServer::port_ = 0;

using Lines = std::vector<std::string>;

TEST_F(InputServer, ServesOnlyWhoKnowsTheSecretFromItsPrivateFile) {
    struct stat file;
    ASSERT_EQ(stat((dir_ + "/xtestd").c_str(), &file), 0);
    EXPECT_EQ(file.st_mode & 0777, 0600u);
    EXPECT_EQ(secret_.size(), 32u);

    // Without the secret, or with another, the connection ends at the first line.
    EXPECT_EQ(Ask("move 10 20\nbutton 1 1\n"), Lines{"error not allowed"});
    EXPECT_EQ(Ask("token " + std::string(32, '0') + "\nmove 10 20\n"), Lines{"error not allowed"});
    EXPECT_EQ(Ask("token " + secret_ + "0\nmove 10 20\n"), Lines{"error not allowed"});
    Pointer p = Where();
    EXPECT_FALSE(p.x == 10 && p.y == 20);
    EXPECT_FALSE(p.left);

    EXPECT_EQ(AskAdmitted("move 10 20\n"), (Lines{"ok", "ok"}));
    p = Where();
    EXPECT_EQ(p.x, 10);
    EXPECT_EQ(p.y, 20);
}

TEST_F(InputServer, WillNotStartWhereOthersMayReadItsSecret) {
    char dir[] = "/tmp/xtestd_open.XXXXXX";
    ASSERT_TRUE(mkdtemp(dir));
    chmod(dir, 0755);
    const std::string path = std::string(dir) + "/xtestd";
    posix_spawn_file_actions_t quiet;
    posix_spawn_file_actions_init(&quiet);
    posix_spawn_file_actions_addopen(&quiet, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = Spawn({XTESTD, path}, &quiet);
    posix_spawn_file_actions_destroy(&quiet);
    int status = -1;
    waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 2) << status;
    EXPECT_NE(access(path.c_str(), F_OK), 0);
    rmdir(dir);
}

// A window closed before the server looks at it: an error answered, and the server serves on.
TEST_F(InputServer, AnXErrorFailsTheRequestOnly) {
    Window closed = MakeWindow();
    XDestroyWindow(display_, closed);
    XSync(display_, False);
    Lines answers = AskAdmitted(WindowLine(closed));
    ASSERT_EQ(answers.size(), 2u);
    EXPECT_EQ(answers[1].rfind("error X error: BadWindow", 0), 0u) << answers[1];

    EXPECT_EQ(AskAdmitted("move 30 40\n"), (Lines{"ok", "ok"}));
    EXPECT_EQ(Where().x, 30);
}

// A click meant for a window that is not shown at its point within the server's wait (10 s) is
// not made; one for a window shown while the server waits is, as soon as it shows.
TEST_F(InputServer, AClickIsMadeOnlyOnTheWindowItIsFor) {
    Window w = MakeWindow();
    const std::string click = "move 150 150\nbutton 1 1\nbutton 1 0\n";
    EXPECT_EQ(AskAdmitted(WindowLine(w) + click),
              (Lines{"ok", "error the window is not shown there",
                     "error not sent: the window was not shown there",
                     "error not sent: the window was not shown there",
                     "error not sent: the window was not shown there"}));
    Pointer p = Where();
    EXPECT_FALSE(p.x == 150 && p.y == 150);
    EXPECT_FALSE(p.left);

    int asked = Send(Admitted(WindowLine(w) + "move 150 150\nbutton 1 1\n"));
    timespec start, end;
    clock_gettime(CLOCK_MONOTONIC, &start);
    XMapWindow(display_, w);
    XSync(display_, False);
    EXPECT_EQ(Answers(asked), (Lines{"ok", "ok", "ok", "ok"}));
    clock_gettime(CLOCK_MONOTONIC, &end);
    EXPECT_LT(end.tv_sec - start.tv_sec, 5);
    p = Where();
    EXPECT_EQ(p.x, 150);
    EXPECT_TRUE(p.left);
    EXPECT_EQ(AskAdmitted("button 1 0\n"), (Lines{"ok", "ok"}));
    XDestroyWindow(display_, w);
    XSync(display_, False);
}

}  // namespace
