// The Linux rule of a signed update at the program's hand-over, with a test publisher's key: the
// release and the updater must carry its signature, and the updater that starts is a checked copy
// in a private folder.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "comum/aplicacao_gravadora.h"
#include "comum/arquivos_teste.h"
#include "comum/chave_teste.h"
#include "comum/localidade_teste.h"
#include "comum/variavel_ambiente.h"
#include "update/entrega_assinada.h"
#include "update/modulo_atualizacao.h"

namespace tolvane {
namespace {

using namespace teste;
namespace fs = std::filesystem;

enum class Assinatura { Nenhuma, Publicador, Outro, ByteMudado };

class EntregaAssinada : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(LocaleInstalado("pt_BR.UTF-8"));
    EscreverArquivo(FExecutavel, "programa em uso", fs::perms::owner_all);
    DefinirDataLocal(FExecutavel, {2024, 1, 15, 10, 20, 30});
    EscreverArquivo(FIniServidor, "");
  }

  void Escrever(const std::string& ACaminho, const std::string& ABytes, Assinatura AAssinatura) {
    EscreverArquivo(ACaminho, ABytes, fs::perms::owner_all);
    if (AAssinatura == Assinatura::Publicador || AAssinatura == Assinatura::ByteMudado)
      FChave.AssinarArquivo(ACaminho);
    if (AAssinatura == Assinatura::Outro) ChaveTeste().AssinarArquivo(ACaminho);
    if (AAssinatura == Assinatura::ByteMudado) EscreverArquivo(ACaminho, "X" + ABytes.substr(1));
  }

  PastaTemporaria FPasta;
  VariavelAmbiente FLocale{"LC_ALL", "pt_BR.UTF-8"};
  VariavelAmbiente FTemp{"TMPDIR", FPasta / "tmp"};
  const std::string FExecutavel = FPasta / "estacao/tolvaneGestor";
  const std::string FIniServidor = FPasta / "servidor/Dados/servidor.ini";
  const std::string FAtualizacao = FPasta / "servidor/Update";
  const ChaveTeste FChave;
  AplicacaoGravadora FAplicacao{FExecutavel};
};

TEST_F(EntregaAssinada, HandsOverOnlyToACheckedCopyOfASignedUpdaterAndRelease) {
  struct Caso {
    const char* Rotulo;
    bool ComPublicador;
    Assinatura Release;
    Assinatura Atualizador;
    const char* Recusa;  // nullptr: hands over
  };
  const Caso casos[] = {
      {"same_publisher", true, Assinatura::Publicador, Assinatura::Publicador, nullptr},
      {"unsigned_release", true, Assinatura::Nenhuma, Assinatura::Publicador,
       "O arquivo {U}/tolvaneGestor não tem assinatura digital: falta {U}/tolvaneGestor.sig."},
      {"release_by_another_key", true, Assinatura::Outro, Assinatura::Publicador,
       "A assinatura digital {U}/tolvaneGestor.sig não confere: o arquivo {U}/tolvaneGestor foi "
       "alterado depois de assinado ou não foi assinado com a chave de publicação deste programa."},
      {"one_byte_changed", true, Assinatura::ByteMudado, Assinatura::Publicador,
       "A assinatura digital {U}/tolvaneGestor.sig não confere: o arquivo {U}/tolvaneGestor foi "
       "alterado depois de assinado ou não foi assinado com a chave de publicação deste programa."},
      {"updater_by_another_key", true, Assinatura::Publicador, Assinatura::Outro,
       "A assinatura digital {U}/tolvaneAtualizador.sig não confere: o arquivo "
       "{U}/tolvaneAtualizador foi alterado depois de assinado ou não foi assinado com a chave de "
       "publicação deste programa."},
      {"no_publisher_checks_nothing", false, Assinatura::Nenhuma, Assinatura::Nenhuma, nullptr},
  };
  for (const auto& c : casos) {
    SCOPED_TRACE(c.Rotulo);
    fs::remove_all(FAtualizacao);
    fs::remove_all(FPasta / "tmp");
    fs::create_directories(FPasta / "tmp");
    FAplicacao.Registro.clear();
    Escrever(FAtualizacao + "/tolvaneGestor", "nova versão", c.Release);
    DefinirDataLocal(FAtualizacao + "/tolvaneGestor", {2024, 2, 1, 8, 0, 0});
    Escrever(FAtualizacao + "/tolvaneAtualizador", "#!/bin/sh\n", c.Atualizador);

    std::string iniciado;
    ModuloAtualizacao modulo(
        FAplicacao,
        [&](const std::string& APrograma, const std::vector<std::string>&) {
          iniciado = APrograma;
          return std::string();
        },
        [&]() -> std::optional<Publicador> {
          if (!c.ComPublicador) return std::nullopt;
          return Publicador::DeChavePem(FChave.PublicaPem());
        });
    modulo.DefinirCaminhosAtualizacao(FIniServidor);
    try {
      modulo.VerificarAtualizacao(nullptr, 1);
    } catch (const FimDoProcesso& f) {
      EXPECT_EQ(f.Codigo, 0);
    }

    const std::vector<std::string> privadas = EntradasDaPasta(FPasta / "tmp");
    if (c.Recusa) {
      std::string recusa = c.Recusa;
      for (auto p = recusa.find("{U}"); p != std::string::npos; p = recusa.find("{U}"))
        recusa.replace(p, 3, FAtualizacao);
      EXPECT_EQ(FAplicacao.Registro,
                std::vector<std::string>{"MessageBox(Aviso do Sistema, 48): Falha na atualização "
                                         "do aplicativo. " +
                                         recusa + "\rO Sistema continuará com a versão atual."});
      EXPECT_EQ(iniciado, "");
      EXPECT_EQ(privadas, std::vector<std::string>{}) << "a refused copy is left behind";
    } else if (!c.ComPublicador) {
      EXPECT_EQ(iniciado, FAtualizacao + "/tolvaneAtualizador");
      EXPECT_EQ(privadas, std::vector<std::string>{});
    } else {
      // The copy, in a folder of its own that only this user may enter, is what starts.
      ASSERT_EQ(privadas.size(), 1u);
      const std::string pasta = FPasta / ("tmp/" + privadas[0]);
      EXPECT_EQ(iniciado, pasta + "/tolvaneAtualizador");
      EXPECT_EQ(LerArquivo(iniciado), "#!/bin/sh\n");
      EXPECT_EQ(fs::status(pasta).permissions(), fs::perms::owner_all);
      EXPECT_EQ(FAplicacao.Registro.back(), "EncerrarProcesso(0)");
    }
  }
}

TEST_F(EntregaAssinada, APublisherThatCannotBeReadRefusesWithTheReason) {
  const std::string atualizador = FAtualizacao + "/tolvaneAtualizador";
  Escrever(atualizador, "#!/bin/sh\n", Assinatura::Publicador);
  const Entrega e = PrepararEntrega(
      [] { return std::optional<Publicador>(Publicador::DeChavePem("não é uma chave")); },
      atualizador, atualizador);
  EXPECT_EQ(e.Atualizador, "");
  EXPECT_EQ(e.Recusa, "A chave de publicação não é uma chave pública Ed25519 em PEM.");
}

}  // namespace
}  // namespace tolvane
