#include <gtest/gtest.h>

#include "riichi/random.h"

namespace zv::riichi {
namespace {

// The generator's numbers are part of every recorded game: the same seed
// must give the same sequence on every machine.
TEST(RandomTest, SequenceIsFixedForASeed) {
    Random a(42), b(42);
    for (int i = 0; i < 100; ++i) EXPECT_EQ(a.Next(), b.Next());
    Random c(0);
    EXPECT_EQ(c.Next(), 0xE220A8397B1DCDAFull);
}

}  // namespace
}  // namespace zv::riichi
