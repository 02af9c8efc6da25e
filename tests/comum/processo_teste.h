#pragma once

#include <string>
#include <vector>

namespace tolvane::teste {

// Runs a program to its end (looked up in PATH when the name has no "/"), its standard output
// into the file ASaida and its standard error into AErros, or into ASaida too when AErros is
// empty. Returns its exit status, or -1 when it did not end normally; throws when it could not
// be started. On Windows (under Wine) a program whose name does not end in ".exe" is a Linux
// program, and its files are paths the Linux side reads too (see PastaTemporaria).
int Executar(const std::string& APrograma, const std::vector<std::string>& AArgumentos,
             const std::string& ASaida, const std::string& AErros = "");

// What a program run to its end by Executar gave: its exit status and both of its streams,
// written meanwhile to "saida.txt" and "erros.txt" in APasta.
struct Execucao {
  int Codigo = -1;
  std::string Saida;
  std::string Erros;
};
Execucao ExecutarLendo(const std::string& APrograma, const std::vector<std::string>& AArgumentos,
                       const std::string& APasta);

#ifdef _WIN32
// A Windows program started with its arguments and not waited for, so that its executable is in
// use meanwhile; ended, and waited for, at the latest when the object goes.
class ProgramaEmExecucao {
 public:
  ProgramaEmExecucao(const std::string& APrograma, const std::vector<std::string>& AArgumentos);
  ~ProgramaEmExecucao();
  ProgramaEmExecucao(const ProgramaEmExecucao&) = delete;
  ProgramaEmExecucao& operator=(const ProgramaEmExecucao&) = delete;

 private:
  void* FProcesso = nullptr;  // the process's HANDLE
};
#endif

}  // namespace tolvane::teste
