#include "AnsiString.h"

#include <cstdio>
#include <vector>

AnsiString FormatV(const char* fmt, va_list args) {
    if (!fmt) return AnsiString();
    va_list measure;
    va_copy(measure, args);
    int n = std::vsnprintf(nullptr, 0, fmt, measure);
    va_end(measure);
    if (n <= 0) return AnsiString();
    std::vector<char> buf(static_cast<size_t>(n) + 1);
    std::vsnprintf(buf.data(), buf.size(), fmt, args);
    return AnsiString(buf.data(), static_cast<size_t>(n));
}

AnsiString Format(const char* fmt, ...) {
    va_list args;
    va_start(args, fmt);
    AnsiString s = FormatV(fmt, args);
    va_end(args);
    return s;
}

static size_t LastDelimiter(const AnsiString& path) {
    return path.find_last_of("\\/:");
}

AnsiString ExtractFilePath(const AnsiString& path) {
    size_t p = LastDelimiter(path);
    return p == AnsiString::npos ? AnsiString() : path.substr(0, p + 1);
}

AnsiString ExtractFileDir(const AnsiString& path) {
    size_t p = LastDelimiter(path);
    if (p == AnsiString::npos) return AnsiString();
    // keep "C:\" whole
    if (p > 0 && path[p] != ':' && path[p - 1] != ':') return path.substr(0, p);
    return path.substr(0, p + 1);
}

AnsiString ExtractFileName(const AnsiString& path) {
    size_t p = LastDelimiter(path);
    return p == AnsiString::npos ? path : path.substr(p + 1);
}

AnsiString ChangeFileExt(const AnsiString& path, const AnsiString& ext) {
    size_t dot = path.find_last_of('.');
    size_t delim = LastDelimiter(path);
    if (dot == AnsiString::npos || (delim != AnsiString::npos && dot < delim)) return path + ext;
    return path.substr(0, dot) + ext;
}

AnsiString IncludeTrailingPathDelimiter(const AnsiString& dir) {
    if (!dir.empty() && (dir.back() == '\\' || dir.back() == '/')) return dir;
    return dir + "\\";
}

int CompareText(const AnsiString& a, const AnsiString& b) {
    auto fold = [](char c) {
        auto u = static_cast<unsigned char>(c);
        return u >= 'a' && u <= 'z' ? u - 'a' + 'A' : int(u);
    };
    size_t n = a.size() < b.size() ? a.size() : b.size();
    for (size_t i = 0; i < n; ++i) {
        int d = fold(a[i]) - fold(b[i]);
        if (d != 0) return d < 0 ? -1 : 1;
    }
    if (a.size() == b.size()) return 0;
    return a.size() < b.size() ? -1 : 1;
}
