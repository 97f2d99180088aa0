#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>

// Qt and the libraries under it keep some allocations for the whole process (fonts,
// the platform plugin); the leak checker is told so here, so that it applies also when
// the build lists the tests.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libQt6Core.so\n"
         "leak:libQt6Gui.so\n"
         "leak:libQt6Widgets.so\n"
         "leak:libfontconfig.so\n"
         "leak:libglib-2.0.so\n";
}

int main(int argc, char** argv) {
  // The tests need no display; a developer may still watch them with QT_QPA_PLATFORM=xcb.
  ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
