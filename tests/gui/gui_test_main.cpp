// SPDX-License-Identifier: MIT
// Entry of every GUI test binary: one QApplication for all tests of the binary.
#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("beugwerk-gui-test"));
  return RUN_ALL_TESTS();
}
