// main() of the GUI tests: widgets need the application object.
#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
