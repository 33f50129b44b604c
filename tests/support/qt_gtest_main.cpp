// GoogleTest entry for suites that need Qt's event loop.
#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char** argv) {
  // Headless unless told otherwise; test listing runs at build time too.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  QApplication app(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
