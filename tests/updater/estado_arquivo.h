#pragma once

#include <sys/stat.h>

#include <string>

namespace tolvane::teste {

// lstat that fails the test when the path is missing: the mode and nanosecond times the
// updater's tests check.
struct stat Estado(const std::string& ACaminho);

}  // namespace tolvane::teste
