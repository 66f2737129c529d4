#include <QApplication>

#include <gtest/gtest.h>

// Widget and clipboard tests need an application object before any test runs.
int main(int argc, char** argv) {
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
