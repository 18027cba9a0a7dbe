// The class library's exception: what its users throw and the application shows.
#pragma once

#include <exception>

#include "AnsiString.h"

class Exception : public std::exception {
public:
    explicit Exception(const AnsiString& message) : Message(message) {}
    const char* what() const noexcept override { return Message.c_str(); }
    AnsiString Message;
};

// Text comparison ignoring case, as the system's locale sees it; 0 when equal.
int AnsiCompareText(const AnsiString& a, const AnsiString& b);

// The text of the exception being caught: its message, or "Unknown exception" for one that is
// no std::exception. Only in a catch block.
AnsiString CaughtExceptionText();
