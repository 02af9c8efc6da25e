#pragma once

// Test support of the update module: temporary folders, file times, a recording application
// object and running helper programs.

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "core/aplicacao.h"
#include "core/data_hora.h"

namespace tolvane::teste {

namespace fs = std::filesystem;

// A fresh folder under the system's temporary folder, removed with everything in it.
class PastaTemporaria {
 public:
  PastaTemporaria();
  ~PastaTemporaria();
  PastaTemporaria(const PastaTemporaria&) = delete;
  PastaTemporaria& operator=(const PastaTemporaria&) = delete;
  const std::string& Caminho() const { return FCaminho; }
  std::string operator/(const std::string& ANome) const { return FCaminho + "/" + ANome; }

 private:
  std::string FCaminho;
};

// Sets an environment variable (or removes it, with no value) and puts the old state back.
class VariavelAmbiente {
 public:
  VariavelAmbiente(const char* ANome, const std::optional<std::string>& AValor);
  ~VariavelAmbiente();
  VariavelAmbiente(const VariavelAmbiente&) = delete;
  VariavelAmbiente& operator=(const VariavelAmbiente&) = delete;

 private:
  std::string FNome;
  std::optional<std::string> FAntigo;
};

// Writes a file with the content, making its folders; sets the mode when given.
void GravarArquivo(const std::string& ACaminho, const std::string& AConteudo,
                   std::optional<fs::perms> AModo = std::nullopt);
std::string LerArquivo(const std::string& ACaminho);

// Sets a file's modification (and access) time to a local time.
void DefinirDataLocal(const std::string& ACaminho, const DataHora& AData);

// Runs a program to its end, its standard output and error into ASaida; returns its exit status
// (-1 when it could not run or did not end normally).
int Executar(const std::string& APrograma, const std::vector<std::string>& AArgumentos,
             const std::string& ASaida);

// What the recording application saw, in order, as readable lines.
using Registro = std::vector<std::string>;

// Thrown by the recording application's EncerrarProcesso, so that a test sees the end.
struct FimDoProcesso {
  int Codigo;
};

// A recording application object: message boxes, notices and the end of the process are
// written to the record; message boxes answer OK.
class AplicacaoGravadora : public Aplicacao {
 public:
  AplicacaoGravadora(Registro& ARegistro, std::string AExeName)
      : FRegistro(ARegistro), FExeName(std::move(AExeName)) {}

  std::string Title() const override { return FTitulo; }
  void SetTitle(const std::string& ATitulo) override { FTitulo = ATitulo; }
  bool ShowMainForm() const override { return true; }
  void SetShowMainForm(bool) override {}
  std::string ExeName() const override { return FExeName; }
  bool Terminated() const override { return false; }
  void ProcessMessages() override {}
  void Terminate() override { FRegistro.push_back("Terminate"); }
  int MessageBox(const std::string& ATexto, const std::string& ACaption, unsigned AFlags) override;
  void MostrarAviso(const std::string& ATexto, bool AComConfirmacao,
                    bool AFecharAutomatico) override;
  [[noreturn]] void EncerrarProcesso(int ACodigoSaida) override;

 private:
  Registro& FRegistro;
  std::string FExeName;
  std::string FTitulo = "tolvane Gestor";
};

}  // namespace tolvane::teste
