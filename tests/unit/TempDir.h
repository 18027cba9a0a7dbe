// A fresh folder under the system's temp folder, removed with its files.
#pragma once

#include <windows.h>

#include <string>

class TempDir {
public:
    TempDir() {
        char base[MAX_PATH];
        GetTempPathA(MAX_PATH, base);
        static LONG counter = 0;
        path_ = std::string(base) + "wltest_" + std::to_string(GetCurrentProcessId()) + "_" +
                std::to_string(InterlockedIncrement(&counter));
        CreateDirectoryA(path_.c_str(), nullptr);
    }
    ~TempDir() { Remove(path_); }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    // path of a file inside, with '\'
    std::string File(const std::string& name) const { return path_ + "\\" + name; }
    const std::string& Path() const { return path_; }

    // A program that has just read the file may still hold it open as it ends.
    static void WriteFile(const std::string& path, const std::string& text) {
        HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                               nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        DWORD n = 0;
        ::WriteFile(h, text.data(), static_cast<DWORD>(text.size()), &n, nullptr);
        CloseHandle(h);
    }
    static std::string ReadFile(const std::string& path) {
        HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                               nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE) return std::string();
        std::string text;
        char buf[4096];
        DWORD n = 0;
        while (::ReadFile(h, buf, sizeof(buf), &n, nullptr) && n > 0) text.append(buf, n);
        CloseHandle(h);
        return text;
    }
    static bool Exists(const std::string& path) {
        return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
    }

private:
    static void Remove(const std::string& dir) {
        WIN32_FIND_DATAA fd;
        HANDLE h = FindFirstFileA((dir + "\\*").c_str(), &fd);
        if (h != INVALID_HANDLE_VALUE) {
            do {
                std::string name = fd.cFileName;
                if (name == "." || name == "..") continue;
                std::string p = dir + "\\" + name;
                if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                    Remove(p);
                else
                    DeleteFileA(p.c_str());
            } while (FindNextFileA(h, &fd));
            FindClose(h);
        }
        RemoveDirectoryA(dir.c_str());
    }
    std::string path_;
};

// The folder of the running test program, with '\': the programs and the
// stand-in library are built beside it.
inline std::string BinDir() {
    char buf[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, buf, sizeof(buf));
    std::string path(buf, n);
    return path.substr(0, path.find_last_of("\\/") + 1);
}

// Removes a registry key with everything below it.
inline void DeleteRegistryTree(HKEY parent, const std::string& path) {
    HKEY key;
    if (RegOpenKeyExA(parent, path.c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return;
    char name[256];
    for (;;) {
        DWORD len = sizeof(name);
        if (RegEnumKeyExA(key, 0, name, &len, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        DeleteRegistryTree(key, name);
    }
    RegCloseKey(key);
    RegDeleteKeyA(parent, path.c_str());
}
