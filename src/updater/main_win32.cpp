#include "platform/win32/utf16.h"

#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "platform/apartamento_com.h"
#include "platform/biblioteca.h"
#include "updater/atualizador.h"

namespace {

// The command line after the program's own name, as one text: the program hands the tags over
// as one line with nothing quoted (LerArgumentos splits it), and a name with blanks must not be
// cut apart by the C runtime's rules. The name ends at its closing quote, or else at the first
// blank, as the system reads it.
std::vector<std::string> LinhaDeComando() {
  std::wstring_view linha = GetCommandLineW();
  std::size_t i = 0;
  if (!linha.empty() && linha.front() == L'"') {
    i = linha.find(L'"', 1);
    i = i == std::wstring_view::npos ? linha.size() : i + 1;
  } else {
    while (i < linha.size() && linha[i] != L' ' && linha[i] != L'\t') ++i;
  }
  linha.remove_prefix(i);
  return {tolvane::DeUtf16(linha)};
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  tolvane::RestringirBuscaBibliotecas();
  // The shell starts the program again, and Windows asks for COM on a thread that calls it.
  const tolvane::ApartamentoCom com;
  try {
    return tolvane::ExecutarAtualizador(LinhaDeComando(), std::cerr);
  } catch (const std::exception& e) {
    // Memory exhausted, or a system call refused beyond the updater's own checks: nothing has
    // been replaced.
    std::cerr << "tolvaneAtualizador: " << e.what() << "\n";
    return tolvane::kSaidaFalhou;
  }
}
