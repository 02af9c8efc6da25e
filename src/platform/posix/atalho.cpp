#include "platform/atalho.h"

#include "core/erro.h"
#include "platform/posix/entrada_desktop.h"
#include "platform/substituicao_arquivo.h"

namespace tolvane {

namespace {

std::string ConteudoLancador(const std::string& ADestino, const std::string& ADescricao) {
  return "[Desktop Entry]\n"
         "Type=Application\n"
         "Version=1.0\n"
         "Name=" +
         ValorEntrada(ADescricao) + "\nComment=" + ValorEntrada(ADescricao) +
         "\nExec=" + ValorEntrada(ArgumentoExec(ADestino)) + "\nTerminal=false\n";
}

}  // namespace

std::string_view ExtensaoAtalho() { return ".desktop"; }

bool GravarAtalho(const std::string& AArquivo, const std::string& ADestino,
                  const std::string& ADescricao) {
  // Written whole and renamed over the old one: a desktop never shows a half-written launcher,
  // and an old one stays whole when the write fails.
  try {
    SubstituirArquivo(AArquivo, ConteudoLancador(ADestino, ADescricao), true);
    return true;
  } catch (const Erro&) {
    return false;
  }
}

}  // namespace tolvane
