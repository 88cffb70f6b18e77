// The test program's entry: one application object (the program's own) for
// every window test, on the offscreen platform unless the caller chose
// another.
#include "ui/common/application.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    longhand::Application app(argc, argv);
    return RUN_ALL_TESTS();
}
