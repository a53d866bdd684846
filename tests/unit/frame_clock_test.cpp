#include <gtest/gtest.h>

#include "util/FrameClock.h"

TEST(FrameClock, MeasuresAndCapsFrames) {
    float last = 1000.0f;
    EXPECT_FLOAT_EQ(advanceFrameClock(1016, last), 0.016f);
    EXPECT_FLOAT_EQ(last, 1016.0f);
    EXPECT_FLOAT_EQ(advanceFrameClock(1016 + 5000, last), kMaxFrameDelta) << "a stall counts as one short frame";
    EXPECT_FLOAT_EQ(last, 6016.0f) << "the stall is not carried into the next frame";
    EXPECT_FLOAT_EQ(advanceFrameClock(6016, last), 0.0f);
}
