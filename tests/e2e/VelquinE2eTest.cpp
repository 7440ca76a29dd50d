// The end-to-end test program: pixels as the program itself sees them, whatever the prefix's
// DPI, and COM for the accessibility queries of the suite in VelquinApp.cpp.
#include <gtest/gtest.h>
#include <objbase.h>

int main(int argc, char** argv) {
  SetProcessDPIAware();
  CoInitialize(nullptr);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
