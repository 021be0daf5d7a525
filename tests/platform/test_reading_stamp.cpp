#include "platform/reading_stamp.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

struct stat Status(timespec modified, timespec changed)
{
    struct stat info = {};
    info.st_dev = 8;
    info.st_ino = 1234;
    info.st_size = 500;
    info.st_mtim = modified;
    info.st_ctim = changed;
    return info;
}

// A reading is trusted on the stamps alone once the latest of its times, its
// second rounded up, lies two seconds before the reading began.
TEST(ReadingStamp, HoldsOnlyForTheSameStampsOlderThanATickWhenTheReadingBegan)
{
    const struct
    {
        const char *what;
        timespec modified, changed, start;
        bool holds;
    } ages[] = {
        {"old", {100, 500}, {100, 700}, {103, 0}, true},
        {"just too new", {100, 500}, {100, 700}, {102, 999999999}, false},
        {"changed later than modified", {100, 0}, {101, 1}, {103, 500}, false},
        {"changed later, old enough", {100, 0}, {101, 1}, {104, 0}, true},
        {"modified later than changed", {102, 0}, {100, 0}, {104, 999999999}, false},
        {"read before its times", {200, 0}, {200, 0}, {100, 0}, false},
    };
    for (const auto &age : ages) {
        SCOPED_TRACE(age.what);
        const struct stat info = Status(age.modified, age.changed);
        EXPECT_EQ(ReadingStamp(info, age.start).Holds(info), age.holds);
    }

    const struct stat read = Status({100, 500}, {100, 700});
    const ReadingStamp stamp(read, {200, 0});
    const struct
    {
        const char *what;
        std::function<void(struct stat &)> change;
    } changes[] = {
        {"device", [](struct stat &s) { ++s.st_dev; }},
        {"inode", [](struct stat &s) { ++s.st_ino; }},
        {"size", [](struct stat &s) { --s.st_size; }},
        {"modified, a nanosecond", [](struct stat &s) { ++s.st_mtim.tv_nsec; }},
        {"changed, a second", [](struct stat &s) { ++s.st_ctim.tv_sec; }},
    };
    EXPECT_TRUE(stamp.Holds(read));
    for (const auto &change : changes) {
        SCOPED_TRACE(change.what);
        struct stat now = read;
        change.change(now);
        EXPECT_FALSE(stamp.Holds(now));
    }
    EXPECT_FALSE(ReadingStamp().Holds(read)) << "no reading holds for nothing";
}

} // namespace
