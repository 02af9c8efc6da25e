// Start-up's database work against isql-fb doing the same on the same database file: attach
// (embedded engine, bare path) and the parameter-table step, on a database without the two
// columns and on one that has them. Each run is a fresh process on a fresh copy of the database,
// so both sides pay the process start, the client library and the engine's start-up. Prints the
// medians and their ratio (goal: at most 1.1).
//
//   bench_database <work folder> [runs per side]     the benchmark
//   bench_database --uma <database>                  one run of the program's side
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/erro.h"
#include "database/banco_dados.h"
#include "database/versao_parametro.h"

extern char** environ;

namespace tolvane {
namespace {

namespace fs = std::filesystem;

// The program's side: what ConectarBancoDados, the parameter-table step and DesconectarBancoDados
// do.
int UmaExecucao(const char* ABanco) {
  std::setlocale(LC_ALL, "");
  try {
    ConexaoBanco conexao;
    TransacaoBanco transacao;
    ConfigurarBancoDados(conexao, transacao, ABanco);
    conexao.Abrir();
    VerificarVersaoParametro(conexao);
    conexao.Fechar();
    return 0;
  } catch (const Erro& e) {
    std::fprintf(stderr, "%s: %s\n", e.Classe().c_str(), e.Mensagem().c_str());
    return 1;
  }
}

// Runs a program to its end, its output to the file; returns the wall time in milliseconds.
double Cronometrar(const std::vector<std::string>& AArgumentos, const std::string& ASaida) {
  posix_spawn_file_actions_t acoes;
  posix_spawn_file_actions_init(&acoes);
  posix_spawn_file_actions_addopen(&acoes, 1, ASaida.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  posix_spawn_file_actions_adddup2(&acoes, 1, 2);
  std::vector<std::string> argumentos = AArgumentos;
  std::vector<char*> argv;
  for (auto& a : argumentos) argv.push_back(a.data());
  argv.push_back(nullptr);
  const auto inicio = std::chrono::steady_clock::now();
  pid_t pid = 0;
  const int rc = posix_spawnp(&pid, argv[0], &acoes, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&acoes);
  if (rc != 0) throw std::runtime_error(std::string("cannot start ") + argv[0]);
  int estado = 0;
  waitpid(pid, &estado, 0);
  const auto fim = std::chrono::steady_clock::now();
  if (!WIFEXITED(estado) || WEXITSTATUS(estado) != 0) {
    std::ifstream saida(ASaida);
    std::string texto((std::istreambuf_iterator<char>(saida)), {});
    throw std::runtime_error(std::string(argv[0]) + " failed:\n" + texto);
  }
  return std::chrono::duration<double, std::milli>(fim - inicio).count();
}

void Escrever(const fs::path& ACaminho, const std::string& ATexto) {
  std::ofstream arquivo(ACaminho, std::ios::trunc);
  arquivo << ATexto;
  if (!arquivo) throw std::runtime_error("cannot write " + ACaminho.string());
}

double Mediana(std::vector<double> AValores) {
  std::sort(AValores.begin(), AValores.end());
  const std::size_t n = AValores.size();
  return n % 2 ? AValores[n / 2] : (AValores[n / 2 - 1] + AValores[n / 2]) / 2;
}

const std::string kTabelas =
    "create table tab_parametro (id_parametro integer not null primary key,"
    " razao_social varchar(60), cnpj char(18), dt_cadastro date);\n"
    "insert into tab_parametro values (1, 'Matriz', '12.345.678/0001-90', '2019-03-01');\n"
    "insert into tab_parametro values (2, 'Filial', '12.345.678/0002-71', '2021-07-15');\n"
    "insert into tab_parametro values (3, 'Filial Norte', null, null);\n"
    "create table mov_log_atualizacao (no_log_atualizacao integer not null primary key,"
    " descricao varchar(100));\n"
    "insert into mov_log_atualizacao values (101, 'script 101');\n"
    "insert into mov_log_atualizacao values (117, 'script 117');\n"
    "commit;\n";

std::string Presenca(const char* ACampo) {
  return " sELECT r.* FROM RDB$RELATION_fields r" + std::string(16, ' ') + "where" +
         std::string(48, ' ') + "r.RDB$relation_name ='TAB_PARAMETRO' and  r.RDB$field_name = '" +
         ACampo + "';\n";
}

// isql-fb running the statements the program runs, in the same transaction settings.
std::string ScriptIsql(const fs::path& ABanco, bool AColunasAusentes) {
  std::string s = "set autoddl off;\nconnect '" + ABanco.string() +
                  "' user 'sysdba' password 'quelvorin';\n"
                  "set transaction read write isolation level read committed record_version "
                  "no wait;\n" +
                  Presenca("VERSAO_ERP");
  if (AColunasAusentes)
    s += Presenca("SCRIPT_RODADO") +
         "alter table tab_parametro add script_rodado integer;\n"
         "alter table tab_parametro add VERSAO_ERP varchar(30);\n"
         "commit retain;\n"
         " update tab_parametro a set a.script_rodado = (select max(a.no_log_atualizacao) from "
         "mov_log_atualizacao a);\n"
         "commit retain;\n"
         " update tab_parametro a set a.VERSAO_ERP = 'Versao Inicial';\n"
         "commit retain;\n";
  return s + "commit;\nquit;\n";
}

int Bench(const char* APrograma, const fs::path& APasta, int ARepeticoes) {
  fs::create_directories(APasta);
  const fs::path ausentes = APasta / "ausentes.fdb";
  const fs::path presentes = APasta / "presentes.fdb";
  const fs::path banco = APasta / "banco.fdb";
  const std::string saida = (APasta / "saida.txt").string();
  fs::remove(ausentes);
  fs::remove(presentes);
  Escrever(APasta / "criar.sql",
           "create database '" + ausentes.string() + "' user 'sysdba';\n" + kTabelas);
  Cronometrar({"isql-fb", "-q", "-b", "-i", (APasta / "criar.sql").string()}, saida);
  fs::copy_file(ausentes, presentes);
  Cronometrar({APrograma, "--uma", presentes.string()}, saida);

  std::printf("%-18s %8s %8s %7s\n", "path", "program", "isql-fb", "ratio");
  bool dentro = true;
  for (const bool colunasAusentes : {true, false}) {
    const fs::path& modelo = colunasAusentes ? ausentes : presentes;
    Escrever(APasta / "passo.sql", ScriptIsql(banco, colunasAusentes));
    std::vector<double> programa, isql;
    for (int i = 0; i < ARepeticoes; ++i) {
      // Alternating which side goes first keeps a drift of the machine off one side.
      for (int lado = 0; lado < 2; ++lado) {
        fs::copy_file(modelo, banco, fs::copy_options::overwrite_existing);
        if ((lado + i) % 2 == 0)
          programa.push_back(Cronometrar({APrograma, "--uma", banco.string()}, saida));
        else
          isql.push_back(
              Cronometrar({"isql-fb", "-q", "-b", "-i", (APasta / "passo.sql").string()}, saida));
      }
    }
    const double p = Mediana(programa), q = Mediana(isql);
    dentro = dentro && p / q <= 1.1;
    std::printf("%-18s %6.1fms %6.1fms %6.2fx\n",
                colunasAusentes ? "columns missing" : "columns present", p, q, p / q);
  }
  std::printf("medians of %d runs per side; goal <= 1.10x: %s\n", ARepeticoes,
              dentro ? "met" : "NOT met");
  return 0;
}

}  // namespace
}  // namespace tolvane

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "--uma") == 0) return tolvane::UmaExecucao(argv[2]);
  if (argc < 2 || argc > 3) {
    std::fprintf(stderr, "usage: %s <work folder> [runs per side] | --uma <database>\n", argv[0]);
    return 2;
  }
  try {
    const std::filesystem::path programa = std::filesystem::canonical("/proc/self/exe");
    return tolvane::Bench(programa.c_str(), argv[1], argc == 3 ? std::atoi(argv[2]) : 21);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
}
