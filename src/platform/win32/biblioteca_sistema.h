#pragma once

#include <memory>
#include <string>

#include "core/erro.h"
#include "platform/biblioteca.h"

namespace tolvane {

// A library of Windows itself, loaded from the system folder for a table of its functions
// (cliente_crypt32.h, cliente_winhttp.h). Every failure, the library that cannot be loaded or a
// function it lacks, is an error made by AErro, of the kind that the table's callers report,
// naming the library and what is missing.
class BibliotecaSistema {
 public:
  using FabricaErro = Erro (*)(const std::string&);

  // Loads ANome from the system folder; throws AErro("Não foi possível carregar a biblioteca do
  // sistema <name> (<the system's text>)") when it cannot.
  BibliotecaSistema(const char* ANome, FabricaErro AErro)
      : FNome(ANome),
        FErro(AErro),
        FBiblioteca(std::make_unique<Biblioteca>(ANome, OrigemBiblioteca::Sistema)) {
    if (!FBiblioteca->Carregada())
      throw FErro(std::string("Não foi possível carregar a biblioteca do sistema ") + FNome + " (" +
                  FBiblioteca->ErroCarga() + ")");
  }

  // ADestino := the function AFuncao, typed by its prototype; throws AErro("A biblioteca do
  // sistema <name> não tem a função <function>") when the library lacks it.
  template <class F>
  void Resolver(const char* AFuncao, F& ADestino) const {
    ADestino = FBiblioteca->Funcao<F>(AFuncao);
    if (!ADestino)
      throw FErro(std::string("A biblioteca do sistema ") + FNome + " não tem a função " + AFuncao);
  }

 private:
  const char* FNome;
  FabricaErro FErro;
  std::unique_ptr<Biblioteca> FBiblioteca;  // kept in place while the object moves
};

}  // namespace tolvane
