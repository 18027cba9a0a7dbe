// The parts of the class library that need no window: the text of whatever exception was
// caught.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>

#include "classlib/SysUtils.h"

TEST(ClasslibClasses, CaughtExceptionTextNamesWhatWasThrown) {
    const struct {
        std::function<void()> toss;
        std::string text;
    } cases[] = {
        {[] { throw Exception("Profile not stored"); }, "Profile not stored"},
        {[] { throw std::runtime_error("socket closed"); }, "socket closed"},
        {[] { throw 42; }, "Unknown exception"},
    };
    for (const auto& c : cases) {
        try {
            c.toss();
            ADD_FAILURE() << "nothing thrown";
        } catch (...) {
            EXPECT_EQ(CaughtExceptionText(), c.text);
        }
    }
}
