// 8-bit text of the class library; plain std::string underneath.
#pragma once

#include <cstdarg>
#include <string>

using AnsiString = std::string;

// printf-style formatting into a string of whatever length the result needs.
AnsiString Format(const char* fmt, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;
AnsiString FormatV(const char* fmt, va_list args);

// Texts compared with the letters a to z taken as A to Z and every other byte as it is (the
// comparison of names the driver's store keeps as registry keys); <0, 0, >0.
int CompareText(const AnsiString& a, const AnsiString& b);

// Path helpers over '\\' and '/' separators.
AnsiString ExtractFileDir(const AnsiString& path);   // without trailing delimiter
AnsiString ExtractFilePath(const AnsiString& path);  // with trailing delimiter
AnsiString ExtractFileName(const AnsiString& path);
AnsiString ChangeFileExt(const AnsiString& path, const AnsiString& ext);
AnsiString IncludeTrailingPathDelimiter(const AnsiString& dir);
