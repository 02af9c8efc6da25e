#include "updater/estado_arquivo.h"

#include <gtest/gtest.h>

namespace tolvane::teste {

struct stat Estado(const std::string& ACaminho) {
  struct stat st {};
  if (::lstat(ACaminho.c_str(), &st) != 0) ADD_FAILURE() << "missing: " << ACaminho;
  return st;
}

}  // namespace tolvane::teste
