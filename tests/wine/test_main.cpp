// The in-process tests' entry point, with the common controls loaded as the program loads them.
#include <gtest/gtest.h>

#include "winui/hardening.h"

int main(int argc, char** argv) {
    winui::LoadCommonControls();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
