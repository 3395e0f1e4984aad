// Test start-up as the program's own: Windows Sockets 2.0 and apartment-threaded OLE.
#include <winsock2.h>
#include <ole2.h>
#include <windows.h>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  WSADATA data = {};
  if (WSAStartup(MAKEWORD(2, 0), &data) != 0) return 2;
  if (FAILED(OleInitialize(nullptr))) return 3;
  const int result = RUN_ALL_TESTS();
  OleUninitialize();
  WSACleanup();
  return result;
}
