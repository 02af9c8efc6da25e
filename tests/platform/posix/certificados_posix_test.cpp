// The personal certificate store on Linux: a folder of PKCS#12 and PEM files under XDG_DATA_HOME.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <optional>

#include "classtrib/gerador_certificados.h"
#include "comum/arquivos_teste.h"
#include "comum/espera_teste.h"
#include "comum/texto_teste.h"
#include "comum/variavel_ambiente.h"
#include "core/erro.h"
#include "platform/certificados.h"
#include "platform/posix/credencial_openssl.h"

namespace tolvane {
namespace {

using teste::Atributo;
using teste::FormatoTeste;
using teste::GeradorCertificados;
using teste::ModeloCertificado;
using teste::PastaTemporaria;
using teste::VariavelAmbiente;

// The personal store of a fresh user: XDG_DATA_HOME in a temporary folder, UTF-8 as the
// locale's character set.
class Repositorio : public testing::Test {
 protected:
  PastaTemporaria FDados;
  VariavelAmbiente FXdg{"XDG_DATA_HOME", FDados.Caminho()};
  VariavelAmbiente FLocal{"LC_ALL", "C.UTF-8"};
  std::string FPasta = FDados / "tolvane/certificados";

  void Criar() { std::filesystem::create_directories(FPasta); }
};

struct ArquivoDoRepositorio {
  const char* Nome;
  ModeloCertificado Modelo;
  FormatoTeste Formato;
  std::optional<std::string> NomeListado;  // none: the file is skipped
};

TEST_F(Repositorio, SimpleDisplayNamesInFileNameOrder) {
  Criar();
  const std::string longo = "A" + teste::Repetir("Ç", 300);  // 601 bytes, kept whole
  const ArquivoDoRepositorio arquivos[] = {
      {"14-longo.p12", {{{"CN", longo}}}, FormatoTeste::Pkcs12, longo},
      {"01-cn.p12",
       {{{"C", "BR"}, {"O", "ICP-Brasil"}, {"CN", "EMPRESA TESTE LTDA:12345678000199"}}},
       FormatoTeste::Pkcs12,
       "EMPRESA TESTE LTDA:12345678000199"},
      {"02-so-o.pfx",
       {{{"C", "BR"}, {"O", "Somente Organização SA"}}},
       FormatoTeste::Pkcs12,
       "Somente Organização SA"},
      {"03-ou-antes-de-o.P12",
       {{{"O", "Organização"}, {"OU", "Financeiro"}}},
       FormatoTeste::Pkcs12,
       "Financeiro"},
      {"04-so-email.p12",
       {{{"C", "BR"}, {"emailAddress", "fiscal@empresa.com.br"}}},
       FormatoTeste::Pkcs12,
       "fiscal@empresa.com.br"},
      {"05-vazio-com-email-alternativo.p12",
       {{}, {"san@empresa.com.br"}},
       FormatoTeste::Pkcs12,
       "san@empresa.com.br"},
      {"06-vazio-com-diretorio-alternativo.p12",
       {{}, {"outro@empresa.com.br"}, {{"CN", "Nome no Diretório"}}},
       FormatoTeste::Pkcs12,
       "Nome no Diretório"},
      {"07-so-pais.p12", {{{"C", "BR"}}}, FormatoTeste::Pkcs12, "BR"},
      {"08-nao-ascii.p12",
       {{{"CN", "JOÃO DA SILVA ÇÉ 中文"}}},
       FormatoTeste::Pkcs12,
       "JOÃO DA SILVA ÇÉ 中文"},
      {"09-duplicado.p12",
       {{{"CN", "Empresa Duplicada"}}, {}, {}, 9},
       FormatoTeste::Pkcs12,
       "Empresa Duplicada"},
      {"10-duplicado.p12",
       {{{"CN", "Empresa Duplicada"}}, {}, {}, 10},
       FormatoTeste::Pkcs12,
       "Empresa Duplicada"},
      {"11-pem.pem",
       {{{"CN", "Certificado em PEM"}}},
       FormatoTeste::PemComChave,
       "Certificado em PEM"},
      {"13-controles.p12",
       {{{"CN", "Empresa\tCom\x01Controles\x7F"}}},
       FormatoTeste::Pkcs12,
       "Empresa\tCom\x01Controles\x7F"},
      {"15-nul.p12",
       {{{"CN", std::string("Antes\0Depois", 12)}}},
       FormatoTeste::Pkcs12,
       std::string("Antes\0Depois", 12)},
      {"16-sem-chave.crt", {{{"CN", "Sem Chave"}}}, FormatoTeste::PemSemChave, "Sem Chave"},
      {"17-der.cer", {{{"CN", "Certificado DER"}}}, FormatoTeste::Der, "Certificado DER"},
      {"18-outra-extensao.txt", {{{"CN", "Ignorado"}}}, FormatoTeste::PemComChave, std::nullopt},
      {"20-cadeia.pem", {{{"CN", "Cadeia em PEM"}}}, FormatoTeste::PemCadeia, "Cadeia em PEM"},
      {"21-legado.p12",
       {{{"CN", "Exportado em RC2"}}},
       FormatoTeste::Pkcs12Legado,
       "Exportado em RC2"},
      {"22-com-ca.p12", {{{"CN", "Depois da CA"}}}, FormatoTeste::Pkcs12ComCa, "Depois da CA"},
      {"23-com-ca-sem-id.pfx",
       {{{"CN", "Sem localKeyID"}}},
       FormatoTeste::Pkcs12ComCaSemId,
       "Sem localKeyID"},
      {"24-com-senha.p12", {{{"CN", "Com Senha"}}}, FormatoTeste::Pkcs12ComSenha, std::nullopt},
      {"25-senha-sem-cifra.p12",
       {{{"CN", "Com Senha e Sem Cifra"}}},
       FormatoTeste::Pkcs12ComSenhaSemCifra,
       std::nullopt},
  };
  const GeradorCertificados gerador;
  for (const auto& a : arquivos) gerador.Gravar(a.Modelo, a.Formato, FPasta + "/" + a.Nome);
  teste::EscreverArquivo(FPasta + "/12-quebrado.p12", "isto não é um PKCS#12");
  teste::EscreverArquivo(FPasta + "/12-quebrado.pem", "-----BEGIN CERTIFICATE-----\nAAAA\n");
  std::filesystem::create_directory(FPasta + "/19-pasta.p12");

  std::vector<std::pair<std::string, std::string>> esperados;
  for (const auto& a : arquivos)
    if (a.NomeListado) esperados.emplace_back(a.Nome, *a.NomeListado);
  std::sort(esperados.begin(), esperados.end());
  std::vector<std::string> nomes;
  for (const auto& e : esperados) nomes.push_back(e.second);

  EXPECT_EQ(NomesCertificadosPessoais(), nomes);
}

// The list reads no key; the query reads it: each file that holds one presents the certificate
// it is listed by, with the key that belongs to it.
TEST_F(Repositorio, QueryPresentsTheListedCertificateWithItsKey) {
  Criar();
  const struct {
    const char* Nome;
    FormatoTeste Formato;
  } arquivos[] = {
      {"Em PKCS12", FormatoTeste::Pkcs12},
      {"Em PEM", FormatoTeste::PemComChave},
      {"Cadeia em PEM", FormatoTeste::PemCadeia},
      {"Exportado em RC2", FormatoTeste::Pkcs12Legado},
      {"Depois da CA", FormatoTeste::Pkcs12ComCa},
      {"Sem localKeyID", FormatoTeste::Pkcs12ComCaSemId},
      {"Com Senha", FormatoTeste::Pkcs12ComSenha},
  };
  const GeradorCertificados gerador;
  int i = 0;
  for (const auto& a : arquivos)
    gerador.Gravar(
        {{{"CN", a.Nome}}}, a.Formato,
        FPasta + "/" + std::to_string(++i) +
            (a.Formato == FormatoTeste::PemComChave || a.Formato == FormatoTeste::PemCadeia
                 ? ".pem"
                 : ".p12"));
  for (const auto& a : arquivos) {
    SCOPED_TRACE(a.Nome);
    const auto credencial = CredencialPorAssunto(a.Nome);
    if (a.Formato == FormatoTeste::Pkcs12ComSenha) {
      EXPECT_FALSE(credencial.has_value());
      continue;
    }
    ASSERT_TRUE(credencial.has_value());
    const X509_NAME* assunto = X509_get_subject_name(credencial->Certificado.get());
    char cn[64] = {};
    X509_NAME_get_text_by_NID(assunto, NID_commonName, cn, sizeof cn);
    EXPECT_STREQ(cn, a.Nome);
    EXPECT_EQ(X509_check_private_key(credencial->Certificado.get(), credencial->Chave.get()), 1);
  }
}

TEST_F(Repositorio, MissingFolderIsAnEmptyStore) {
  EXPECT_TRUE(NomesCertificadosPessoais().empty());
}

// The folder holds private keys without a password: made by the program, it is the user's alone,
// whatever the umask.
TEST_F(Repositorio, MissingFolderIsCreatedForTheUserAlone) {
  const mode_t anterior = umask(0);
  EXPECT_TRUE(NomesCertificadosPessoais().empty());
  umask(anterior);
  std::error_code ec;
  EXPECT_EQ(std::filesystem::status(FPasta, ec).permissions(), std::filesystem::perms::owner_all)
      << (ec ? ec.message() : "");
}

TEST_F(Repositorio, UnreadableFolderIsTheSystemError) {
  std::filesystem::create_directories(FDados / "tolvane");
  teste::EscreverArquivo(FPasta, "um arquivo onde a pasta deveria estar");
  const Erro e = teste::ErroLancado([] { NomesCertificadosPessoais(); });
  EXPECT_EQ(e.Classe(), "EOSError");
  EXPECT_EQ(e.Mensagem(), "System Error.  Code: 20.\r\nNot a directory");
}

TEST_F(Repositorio, RelativeXdgDataHomeFallsBackToTheHomeFolder) {
  PastaTemporaria casa;
  const VariavelAmbiente home("HOME", casa.Caminho());
  const VariavelAmbiente xdg("XDG_DATA_HOME", "relativo");
  std::filesystem::create_directories(casa / ".local/share/tolvane/certificados");
  GeradorCertificados().Gravar({{{"CN", "Na Pasta Pessoal"}}}, FormatoTeste::Pkcs12,
                               casa / ".local/share/tolvane/certificados/a.p12");
  EXPECT_EQ(NomesCertificadosPessoais(), std::vector<std::string>{"Na Pasta Pessoal"});
}

}  // namespace
}  // namespace tolvane
