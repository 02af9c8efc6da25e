// tolvaneFumaca: calls every platform service once, in a temporary folder of its own, and prints
// one line per service with what it answered. The exit code is the number of services that
// failed, so 0 means every one of them answered on this system.
//
//   tolvaneFumaca            the whole round
//   tolvaneFumaca --filho F  what the program-start check starts: writes F and ends

#include <chrono>
#include <exception>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <string>
#include <thread>
#include <vector>

#include "core/caminho.h"
#include "core/erro.h"
#include "platform/apartamento_com.h"
#include "platform/area_trabalho.h"
#include "platform/arquivos.h"
#include "platform/atalho.h"
#include "platform/biblioteca.h"
#include "platform/certificados.h"
#include "platform/codificacao.h"
#include "platform/erro_sistema.h"
#include "platform/espera_programa.h"
#include "platform/janelas.h"
#include "platform/nomes.h"
#include "platform/perfil.h"
#include "platform/processo.h"
#include "platform/regional.h"
#include "platform/requisicao_http.h"
#include "platform/substituicao_arquivo.h"
#include "platform/substituicao_executavel.h"

namespace tolvane {

namespace {

namespace fs = std::filesystem;

// A folder of the round's own, removed at the end.
class PastaRodada {
 public:
  PastaRodada()
      : FCaminho(fs::temp_directory_path() /
                 CaminhoDe(
                     "tolvaneFumaca-" +
                     std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()))) {
    fs::create_directories(FCaminho);
  }
  ~PastaRodada() {
    std::error_code ec;
    fs::remove_all(FCaminho, ec);
  }
  PastaRodada(const PastaRodada&) = delete;
  PastaRodada& operator=(const PastaRodada&) = delete;

  std::string operator/(const std::string& ANome) const {
    return JuntarCaminho(TextoDe(FCaminho), ANome);
  }

 private:
  fs::path FCaminho;
};

std::string Ler(const std::string& ACaminho) {
  std::ifstream f(CaminhoDe(ACaminho), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

void Escrever(const std::string& ACaminho, const std::string& ABytes) {
  std::ofstream(CaminhoDe(ACaminho), std::ios::binary) << ABytes;
}

// Runs one check: "<service>: <answer>" when it answers, "<service>: FALHA <kind>: <text>" when it
// raises. Returns 1 for a failure.
int Verificar(const char* AServico, const std::function<std::string()>& AVerificacao) {
  try {
    const std::string resposta = AVerificacao();
    std::cout << AServico << ": " << resposta << "\n";
    return 0;
  } catch (const Erro& e) {
    std::cout << AServico << ": FALHA " << e.Classe() << ": " << e.Mensagem() << "\n";
  } catch (const std::exception& e) {
    std::cout << AServico << ": FALHA " << e.what() << "\n";
  }
  return 1;
}

int Rodada() {
  const PastaRodada pasta;
  int falhas = 0;
  const std::string exe = CaminhoExecutavel();

  falhas += Verificar("perfil", [&] {
    Escrever(pasta / "a.ini", "[Secao]\nChave = \"valor\"\n");
    std::string v = LerPerfil(pasta / "a.ini", "secao", "CHAVE");
    if (v != "valor") throw ErroGeral("lido \"" + v + "\"");
    return v;
  });
  falhas += Verificar("arquivos", [&] {
    const auto data = DataModificacaoArquivo(exe);
    if (exe.empty() || !data) throw ErroGeral("sem caminho ou data do executável");
    return exe + ", " + std::to_string(data->Ano) + "-" + std::to_string(data->Mes);
  });
  falhas += Verificar("regional", [] { return "data " + LerConfiguracaoRegional().FormatoData; });
  falhas += Verificar("codificacao", [] {
    std::string v = DeAnsi(ParaAnsi("Acao"));
    if (v != "Acao") throw ErroGeral("ida e volta deu \"" + v + "\"");
    return v;
  });
  falhas += Verificar("biblioteca", [] {
    const Biblioteca b(kBibliotecaFirebird, OrigemBiblioteca::ProgramaOuSistema);
    return std::string(kBibliotecaFirebird) +
           (b.Carregada() ? " carregada" : " ausente: " + b.ErroCarga());
  });
  falhas += Verificar("certificados", [] {
    return std::to_string(NomesCertificadosPessoais().size()) + " certificado(s)";
  });
  falhas += Verificar("requisicao_http", [] {
    std::string ordem;
    try {
      RequisicaoHttp().Send();
      throw ErroGeral("Send antes de Open não falhou");
    } catch (const Erro& e) {
      if (e.Classe() != "EOleException") throw;
      ordem = "Send antes de Open: " + e.Mensagem();
    }
    // A whole request, so that the transport is loaded: nothing listens on port 1 here.
    RequisicaoHttp r;
    r.Open("https://127.0.0.1:1/classTrib");
    try {
      r.Send();
    } catch (const Erro& e) {
      return ordem + "; porta fechada: " + e.Mensagem();
    }
    throw ErroGeral("a porta fechada respondeu");
  });
  falhas += Verificar("processo", [&] {
    const std::string marca = pasta / "filho.txt";
    const std::string falha = IniciarPrograma(exe, {"--filho", marca});
    if (!falha.empty()) throw ErroGeral(falha);
    for (int i = 0; i < 600 && !fs::exists(CaminhoDe(marca)); ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    if (Ler(marca) != "filho") throw ErroGeral("o programa iniciado não respondeu");
    return std::string("iniciado");
  });
  falhas += Verificar("area_trabalho", [] { return PastaAreaTrabalho(); });
  falhas += Verificar("janelas", [] {
    // Nobody makes a window of this class: the search must answer, and answer no.
    if (ExisteJanela("TolvaneFumacaSemJanela", "nenhuma")) throw ErroGeral("achou o que não há");
    return std::string("nenhuma janela");
  });
  falhas += Verificar("atalho", [&] {
    std::string arquivo = pasta / ("Novo teste" + std::string(ExtensaoAtalho()));
    if (!GravarAtalho(arquivo, exe, "teste")) throw ErroGeral("não gravou " + arquivo);
    return arquivo;
  });
  falhas += Verificar("substituicao_arquivo", [&] {
    SubstituirArquivo(pasta / "s.txt", "um");
    SubstituirArquivo(pasta / "s.txt", "dois");
    if (Ler(pasta / "s.txt") != "dois") throw ErroGeral("conteúdo errado");
    return std::string("substituído");
  });
  falhas += Verificar("espera_programa", [&] {
    // The round's own executable is not what started it: nothing to wait for.
    if (!EsperarFimPrograma(pasta / "nenhum", std::chrono::milliseconds(100)))
      throw ErroGeral("esperou um programa que não existe");
    return std::string("nada a esperar");
  });
  falhas += Verificar("substituicao_executavel", [&] {
    fs::create_directories(CaminhoDe(pasta / "destino"));
    SubstituirExecutavel(exe, pasta / "destino", "copia" + std::string(kSufixoExecutavel));
    return std::string("copiado");
  });
  falhas += Verificar("erro_sistema", [] { return ErroSistemaOperacional(2).Mensagem(); });
  std::cout << falhas << " falha(s)\n";
  return falhas;
}

}  // namespace

}  // namespace tolvane

int main(int argc, char** argv) {
  // As the programs do, before anything else loads a library.
  tolvane::RestringirBuscaBibliotecas();
  const std::vector<std::string> argumentos = tolvane::ArgumentosDoPrograma(argc, argv);
  if (argumentos.size() == 2 && argumentos[0] == "--filho") {
    // Whole or not at all: the round reads it as soon as it appears.
    tolvane::SubstituirArquivo(argumentos[1], "filho");
    return 0;
  }
  const tolvane::ApartamentoCom com;  // the shell link is a COM object
  return tolvane::Rodada();
}
