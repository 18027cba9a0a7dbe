#include "SystemLibrary.h"

#include "AnsiString.h"

HMODULE LoadSystemLibrary(const char* name) {
    char folder[MAX_PATH];
    UINT length = GetSystemDirectoryA(folder, sizeof(folder));
    if (length == 0 || length >= sizeof(folder)) return nullptr;
    AnsiString path(folder, length);
    if (path.back() != '\\') path += '\\';
    path += name;
    // With a full path this flag searches the library's folder, not the program's, for what
    // the library loads in turn; Windows 2000 has it.
    return LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}
