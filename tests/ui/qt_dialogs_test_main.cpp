#include <gtest/gtest.h>

#include <QApplication>

// The widget tests run on Qt's offscreen platform unless told otherwise, also
// when the test runner only lists them. What Qt's file dialog remembers between
// runs goes to the build tree, not to the user's settings.
int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  qputenv("XDG_CONFIG_HOME", IDENTSTRIP_TEST_CONFIG_HOME);
  QApplication application(argc, argv);
  return RUN_ALL_TESTS();
}
