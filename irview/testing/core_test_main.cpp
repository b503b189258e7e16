// Entry point of the viewer's tests without a window: a QCoreApplication,
// so that queued calls from worker threads arrive in processEvents().
#include <gtest/gtest.h>

#include <QCoreApplication>

int main(int argc, char* argv[]) {
  QCoreApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
