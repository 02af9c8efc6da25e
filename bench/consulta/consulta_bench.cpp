// Benchmark, not a test: the test query against the local HTTPS test server (a new TLS
// handshake with a client certificate every time) next to a minimal libcurl program doing the
// same GET with the same certificate and server; then the save of a 240 KB answer.
// Usage: bench_consulta [repetitions, default 40]

#include <curl/curl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <iostream>
#include <string>
#include <vector>

#include "classtrib/arquivo_retorno.h"
#include "classtrib/conformidade_facil.h"
#include "classtrib/resposta_exemplo.h"
#include "classtrib/servidor_https.h"
#include "comum/arquivos_teste.h"
#include "comum/variavel_ambiente.h"
#include "curl_minimo.h"

namespace {

using namespace tolvane;
using Relogio = std::chrono::steady_clock;

double Milissegundos(const std::function<void()>& AAcao) {
  const auto inicio = Relogio::now();
  AAcao();
  return std::chrono::duration<double, std::milli>(Relogio::now() - inicio).count();
}

double Mediana(std::vector<double> AValores) {
  std::sort(AValores.begin(), AValores.end());
  const std::size_t n = AValores.size();
  return n % 2 ? AValores[n / 2] : (AValores[n / 2 - 1] + AValores[n / 2]) / 2;
}

}  // namespace

int main(int argc, char** argv) {
  const int repeticoes = argc > 1 ? std::max(30, std::atoi(argv[1])) : 40;
  curl_global_init(CURL_GLOBAL_DEFAULT);

  teste::PastaTemporaria material;
  teste::ServidorHttps servidor(material.Caminho(), "mutuo");
  const std::string resposta = teste::RespostaClassTribExemplo();
  teste::DefinirResposta(material.Caminho(), "bench", 200, resposta);

  teste::PastaTemporaria dados;
  std::filesystem::create_directories(dados / "tolvane/certificados");
  std::filesystem::copy_file(material / "cliente.p12", dados / "tolvane/certificados/cliente.p12");
  const teste::VariavelAmbiente xdg("XDG_DATA_HOME", dados.Caminho());
  const teste::VariavelAmbiente ca("TOLVANE_CLASSTRIB_CA", material / "ca.pem");
  const teste::VariavelAmbiente url("TOLVANE_CLASSTRIB_URL", servidor.BaseUrl("bench"));
  const std::string urlCompleta = servidor.BaseUrl("bench") + "/classTrib?Cst=000";
  const std::string certificado = material / "cliente.p12";
  const std::string caTeste = material / "ca.pem";

  auto consulta = [&] {
    if (TConformidadeFacil("EMPRESA TESTE").ConsultarClassTribPorCst("000").size() !=
        resposta.size())
      throw std::runtime_error("resposta diferente");
  };
  auto minima = [&] {
    std::size_t tamanho = 0;
    if (ConsultaCurlMinima(urlCompleta.c_str(), certificado.c_str(), caTeste.c_str(), &tamanho) !=
            200 ||
        tamanho != resposta.size())
      throw std::runtime_error("a consulta mínima falhou");
  };

  for (int i = 0; i < 3; ++i) {
    consulta();
    minima();
  }
  std::vector<double> tConsulta, tMinima;
  for (int i = 0; i < repeticoes; ++i) {
    // Alternated, so that both see the same machine load.
    tConsulta.push_back(Milissegundos(consulta));
    tMinima.push_back(Milissegundos(minima));
  }
  const double mConsulta = Mediana(tConsulta);
  const double mMinima = Mediana(tMinima);

  teste::PastaTemporaria executavel;
  const std::string arquivo = executavel / "RetornoClassTrib.json";
  std::vector<double> tSalvar, tConteudo;
  for (int i = 0; i < repeticoes; ++i) {
    tSalvar.push_back(Milissegundos([&] { SalvarArquivoRetorno(resposta, arquivo); }));
    tConteudo.push_back(Milissegundos([&] {
      if (ConteudoArquivoRetorno(resposta).empty()) throw std::runtime_error("vazio");
    }));
  }

  std::printf("consulta de teste (%zu bytes, TLS novo com certificado de cliente), %d vezes cada\n",
              resposta.size(), repeticoes);
  std::printf("  TConformidadeFacil::ConsultarClassTribPorCst  mediana %8.2f ms\n", mConsulta);
  std::printf("  libcurl mínimo (C)                             mediana %8.2f ms\n", mMinima);
  std::printf("  razão                                                   %8.2fx (meta <= 1.10x)\n",
              mConsulta / mMinima);
  std::printf("gravação da resposta de %zu bytes\n", resposta.size());
  std::printf("  SalvarArquivoRetorno (com fsync e rename)      mediana %8.2f ms\n",
              Mediana(tSalvar));
  std::printf("  só as linhas em CR LF (sem disco)               mediana %8.2f ms\n",
              Mediana(tConteudo));
  curl_global_cleanup();
  return 0;
}
