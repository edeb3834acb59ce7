// paint_tests: GoogleTest with a QGuiApplication (offscreen) and the Song
// face substitutes in place, as the programs have them.
#include <gtest/gtest.h>

#include <QGuiApplication>

#include "printing/qt/Fonts.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  InstallFontSubstitutes();
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
