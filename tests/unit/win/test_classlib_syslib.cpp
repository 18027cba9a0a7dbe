// The system libraries the class library loads at run time come from the system folder, never
// from beside the program, where a download folder may hold anything.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "TempDir.h"
#include "classlib/SystemLibrary.h"

namespace {

const char* const kLibraries[] = {"comctl32.dll", "riched20.dll", "comdlg32.dll"};

std::string FolderOf(const std::string& path) {
    size_t slash = path.find_last_of('\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

std::string ModulePath(HMODULE module) {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(module, path, MAX_PATH);
    return path;
}

bool IsSystemFolder(const std::string& folder) {
    char system[MAX_PATH] = {};
    GetSystemDirectoryA(system, MAX_PATH);
    return lstrcmpiA(folder.c_str(), system) == 0;
}

TEST(SystemLibrary, ComesFromTheSystemFolder) {
    for (const char* name : kLibraries) {
        HMODULE module = LoadSystemLibrary(name);
        ASSERT_NE(module, nullptr) << name;
        EXPECT_TRUE(IsSystemFolder(FolderOf(ModulePath(module)))) << ModulePath(module);
        FreeLibrary(module);
    }
    EXPECT_EQ(LoadSystemLibrary("no such library.dll"), nullptr);
}

TEST(SystemLibrary, OnePlantedBesideTheProgramIsNotTheOneLoaded) {
    // A program in a package folder with DLLs of the system libraries' names beside it.
    TempDir dir;
    std::string bin = FolderOf(ModulePath(nullptr));
    std::string program = dir.File("setup.exe");
    ASSERT_TRUE(CopyFileA((bin + "\\test_syslib_probe.exe").c_str(), program.c_str(), FALSE));
    for (const char* name : kLibraries)
        ASSERT_TRUE(CopyFileA((bin + "\\test_planted.dll").c_str(), dir.File(name).c_str(), FALSE));
    std::string loaded = dir.File("loaded.txt");
    std::string command = "\"" + program + "\" " + loaded;
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    ASSERT_TRUE(CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr,
                               dir.Path().c_str(), &startup, &process));
    DWORD waited = WaitForSingleObject(process.hProcess, 30000);
    if (waited != WAIT_OBJECT_0) TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    ASSERT_EQ(waited, WAIT_OBJECT_0) << "the probe did not end";

    std::string text = TempDir::ReadFile(loaded);
    for (const char* name : kLibraries) {
        std::string key = std::string(name) + "=";
        size_t at = text.find(key);
        ASSERT_NE(at, std::string::npos) << text;
        at += key.size();
        std::string path = text.substr(at, text.find('\n', at) - at);
        EXPECT_TRUE(IsSystemFolder(FolderOf(path))) << name << " came from \"" << path << "\"";
    }
}

}  // namespace
