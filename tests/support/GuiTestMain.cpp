// The entry point of the widget tests: one application object, on the
// offscreen platform unless another is chosen, for every test of the program.
#include <gtest/gtest.h>

#include <QApplication>

#include "support/TestSupport.h"

int main(int argc, char** argv)
{
    velta::test::useOffscreenPlatform();
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
