#include <gtest/gtest.h>

#include "child_process.h"

int main(int argc, char** argv) {
  if (RunChildScenario(argc, argv)) return 0;
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
