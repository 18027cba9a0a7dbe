// The wiring helpers of the class library that need no window: handlers bound to members,
// records owned by type, and the text of whatever exception was caught.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>

#include "classlib/Classes.h"

namespace {

struct Handlers {
    int clicks = 0;
    void Click(TObject*) { ++clicks; }
    void KeyPress(TObject*, char& key) { key = key == 'x' ? 0 : static_cast<char>(key - 32); }
    int Twice(int value) { return 2 * value; }
};
struct MoreHandlers : Handlers {};

struct Counted {
    explicit Counted(int& frees) : frees(frees) {}
    ~Counted() { ++frees; }
    int& frees;
};

}  // namespace

TEST(ClasslibClasses, BindPassesArgumentsThroughToTheMember) {
    MoreHandlers handlers;  // a member of a base class, called on the derived object
    std::function<void(TObject*)> click = Bind(&handlers, &Handlers::Click);
    click(nullptr);
    click(nullptr);
    EXPECT_EQ(handlers.clicks, 2);

    // A reference argument reaches the member as the same object: the caller sees the change.
    std::function<void(TObject*, char&)> keyPress = Bind(&handlers, &Handlers::KeyPress);
    char key = 'a';
    keyPress(nullptr, key);
    EXPECT_EQ(key, 'A');
    key = 'x';
    keyPress(nullptr, key);
    EXPECT_EQ(key, 0);

    EXPECT_EQ(Bind(&handlers, &Handlers::Twice)(21), 42);
}

TEST(ClasslibClasses, OwnedRecordIsFreedOnceAndOnlyGivenAsItsOwnType) {
    int frees = 0;
    {
        TOwnedRecord record;
        EXPECT_TRUE(record.Empty());
        record.Set(std::make_unique<Counted>(frees));
        EXPECT_NE(record.Get<Counted>(), nullptr);
        EXPECT_EQ(record.Get<int>(), nullptr);  // another type: nothing
        record.Set(std::make_unique<Counted>(frees));
        EXPECT_EQ(frees, 1);  // the one replaced
        TOwnedRecord moved(std::move(record));
        EXPECT_EQ(frees, 1);
        EXPECT_NE(moved.Get<Counted>(), nullptr);
        moved.Clear();
        EXPECT_EQ(frees, 2);
        EXPECT_EQ(moved.Get<Counted>(), nullptr);
        moved.Set(std::make_unique<Counted>(frees));
    }
    EXPECT_EQ(frees, 3);  // the last with its holder
}

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
