#pragma once

#include <gtest/gtest.h>

#include <string>

namespace tolvane::teste {

// Success when the C library has the locale; the failure names it and where the machine gets it
// (scripts/test generates the locales the tests use).
::testing::AssertionResult LocaleInstalado(const std::string& ANome);

}  // namespace tolvane::teste
