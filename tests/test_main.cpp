#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv) {
    // No display and no sound card are needed by any test.
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
