// Helper of the locked-executable suite: a program that runs for the milliseconds its one
// argument gives, so that its executable is in use meanwhile.
#include <chrono>
#include <string>
#include <thread>

int main(int argc, char** argv) {
  const long ms = argc > 1 ? std::stol(argv[1]) : 60000;
  std::this_thread::sleep_for(std::chrono::milliseconds(ms));
  return 0;
}
