#include "image/image_file.h"

#include <gtest/gtest.h>

using namespace imaging;

// GDI+ runs for the whole test program, as it does for the whole program run.
int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    std::uintptr_t token = 0;
    StartGdiplus(token);
    int result = RUN_ALL_TESTS();
    StopGdiplus(token);
    return result;
}
