#include "store/SaveWatch.h"

#include <gtest/gtest.h>

namespace {

TEST(SaveWatch, EachRunOfFailuresIsToldOnceAndFilesAreWatchedApart) {
    SaveWatch watch;
    const struct {
        SaveTarget target;
        bool written;
        bool tell;
        bool anyFailing;
    } steps[] = {
        {SaveTarget::Notes, true, false, false},    // all well: nothing to say
        {SaveTarget::Notes, false, true, true},     // the first failure is told
        {SaveTarget::Notes, false, false, true},    // retries that fail are not
        {SaveTarget::Settings, false, true, true},  // another file is told on its own
        {SaveTarget::Notes, true, false, true},     // success says nothing
        {SaveTarget::Settings, true, false, false},
        {SaveTarget::Notes, false, true, true},  // a new run of failures is told again
        {SaveTarget::Backup, false, true, true},
        {SaveTarget::Backup, false, false, true},
    };
    int n = 0;
    for (const auto& s : steps) {
        EXPECT_EQ(watch.Record(s.target, s.written), s.tell) << "step " << n;
        EXPECT_EQ(watch.Failing(s.target), !s.written) << "step " << n;
        EXPECT_EQ(watch.AnyFailing(), s.anyFailing) << "step " << n;
        ++n;
    }
}

}  // namespace
