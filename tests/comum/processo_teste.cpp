#include "comum/processo_teste.h"

#ifdef _WIN32
#include <windows.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "comum/espera_teste.h"
#include "core/caminho.h"
#include "core/utf8.h"
#else
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cstring>

extern char** environ;
#endif

#include <stdexcept>

#include "comum/arquivos_teste.h"

namespace tolvane::teste {

#ifdef _WIN32

namespace {

std::wstring Largo(const std::string& AUtf8) {
  const std::u16string r = Utf16DeUtf8(AUtf8);
  return std::wstring(r.begin(), r.end());
}

// One argument quoted by the rules CommandLineToArgvW reads back (Wine splits a Linux program's
// command line by them too).
std::wstring Citado(const std::wstring& AArgumento) {
  if (!AArgumento.empty() && AArgumento.find_first_of(L" \t\n\v\"") == std::wstring::npos)
    return AArgumento;
  std::wstring r = L"\"";
  std::size_t barras = 0;
  for (wchar_t c : AArgumento) {
    if (c == L'\\') {
      ++barras;
      continue;
    }
    r.append(c == L'"' ? barras * 2 + 1 : barras, L'\\');
    barras = 0;
    r += c;
  }
  r.append(barras * 2, L'\\');
  return r + L"\"";
}

struct Handle {
  HANDLE H = INVALID_HANDLE_VALUE;
  ~Handle() {
    if (H != INVALID_HANDLE_VALUE && H != nullptr) CloseHandle(H);
  }
};

HANDLE ArquivoHerdado(const std::wstring& ANome, DWORD AAcesso, DWORD ACriacao) {
  SECURITY_ATTRIBUTES herdado{sizeof herdado, nullptr, TRUE};
  return CreateFileW(ANome.c_str(), AAcesso, FILE_SHARE_READ | FILE_SHARE_WRITE, &herdado, ACriacao,
                     FILE_ATTRIBUTE_NORMAL, nullptr);
}

int ExecutarWindows(const std::string& APrograma, const std::vector<std::string>& AArgumentos,
                    const std::string& ASaida, const std::string& AErros) {
  std::wstring linha = Citado(Largo(APrograma));
  for (const auto& a : AArgumentos) linha += L" " + Citado(Largo(a));
  Handle entrada, saida, erros;
  entrada.H = ArquivoHerdado(L"NUL", GENERIC_READ, OPEN_EXISTING);
  saida.H = ArquivoHerdado(Largo(ASaida), GENERIC_WRITE, CREATE_ALWAYS);
  if (!AErros.empty()) erros.H = ArquivoHerdado(Largo(AErros), GENERIC_WRITE, CREATE_ALWAYS);
  STARTUPINFOW si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdInput = entrada.H;
  si.hStdOutput = saida.H;
  si.hStdError = AErros.empty() ? saida.H : erros.H;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(Largo(APrograma).c_str(), linha.data(), nullptr, nullptr, TRUE, 0, nullptr,
                      nullptr, &si, &pi))
    throw std::runtime_error("cannot start " + APrograma + ": error " +
                             std::to_string(GetLastError()));
  Handle processo, linhaExecucao;
  processo.H = pi.hProcess;
  linhaExecucao.H = pi.hThread;
  DWORD codigo = 0;
  if (WaitForSingleObject(pi.hProcess, INFINITE) != WAIT_OBJECT_0 ||
      !GetExitCodeProcess(pi.hProcess, &codigo))
    return -1;
  return static_cast<int>(codigo);
}

// Wine starts a Linux program, but its handle ends at once and carries no exit status: a shell
// runs it and writes the status to a file of its own, which is waited for.
int ExecutarLinux(const std::string& APrograma, const std::vector<std::string>& AArgumentos,
                  const std::string& ASaida, const std::string& AErros) {
  const std::string fim = ASaida + ".fim";
  std::vector<std::string> argumentos = {
      "-c",
      "saida=$1 erros=$2 fim=$3; shift 3; if [ -z \"$erros\" ]; then \"$@\" >\"$saida\" 2>&1; "
      "else \"$@\" >\"$saida\" 2>\"$erros\"; fi; echo $? >\"$fim.tmp\" && mv \"$fim.tmp\" "
      "\"$fim\"",
      "sh",
      ASaida,
      AErros,
      fim,
      APrograma};
  argumentos.insert(argumentos.end(), AArgumentos.begin(), AArgumentos.end());
  std::wstring linha = L"/bin/sh";
  for (const auto& a : argumentos) linha += L" " + Citado(Largo(a));
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(L"/bin/sh", linha.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                      &pi))
    throw std::runtime_error("cannot start /bin/sh for " + APrograma + ": error " +
                             std::to_string(GetLastError()));
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  // The limit only bounds a hang.
  if (!EsperarArquivo(fim, std::chrono::minutes(5)))
    throw std::runtime_error(APrograma + " did not end within 5 minutes");
  const std::string status = LerArquivo(fim);
  std::filesystem::remove(CaminhoDe(fim));
  return std::stoi(status);
}

}  // namespace

ProgramaEmExecucao::ProgramaEmExecucao(const std::string& APrograma,
                                       const std::vector<std::string>& AArgumentos) {
  std::wstring linha = Citado(Largo(APrograma));
  for (const auto& a : AArgumentos) linha += L" " + Citado(Largo(a));
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(Largo(APrograma).c_str(), linha.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      nullptr, &si, &pi))
    throw std::runtime_error("cannot start " + APrograma + ": error " +
                             std::to_string(GetLastError()));
  CloseHandle(pi.hThread);
  FProcesso = pi.hProcess;
}

ProgramaEmExecucao::~ProgramaEmExecucao() {
  TerminateProcess(FProcesso, 1);
  WaitForSingleObject(FProcesso, 60000);
  CloseHandle(FProcesso);
}

int Executar(const std::string& APrograma, const std::vector<std::string>& AArgumentos,
             const std::string& ASaida, const std::string& AErros) {
  const bool windows =
      APrograma.size() > 4 && (APrograma.ends_with(".exe") || APrograma.ends_with(".EXE"));
  return windows ? ExecutarWindows(APrograma, AArgumentos, ASaida, AErros)
                 : ExecutarLinux(APrograma, AArgumentos, ASaida, AErros);
}

#else

int Executar(const std::string& APrograma, const std::vector<std::string>& AArgumentos,
             const std::string& ASaida, const std::string& AErros) {
  std::vector<char*> argv{const_cast<char*>(APrograma.c_str())};
  for (const auto& a : AArgumentos) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t acoes;
  posix_spawn_file_actions_init(&acoes);
  posix_spawn_file_actions_addopen(&acoes, 1, ASaida.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (AErros.empty())
    posix_spawn_file_actions_adddup2(&acoes, 1, 2);
  else
    posix_spawn_file_actions_addopen(&acoes, 2, AErros.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  pid_t pid = 0;
  const int rc = posix_spawnp(&pid, APrograma.c_str(), &acoes, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&acoes);
  if (rc != 0) throw std::runtime_error("cannot start " + APrograma + ": " + std::strerror(rc));
  int estado = 0;
  if (waitpid(pid, &estado, 0) != pid || !WIFEXITED(estado)) return -1;
  return WEXITSTATUS(estado);
}

#endif

Execucao ExecutarLendo(const std::string& APrograma, const std::vector<std::string>& AArgumentos,
                       const std::string& APasta) {
#ifdef _WIN32
  const std::string pasta = APasta + "\\";
#else
  const std::string pasta = APasta + "/";
#endif
  const std::string saida = pasta + "saida.txt";
  const std::string erros = pasta + "erros.txt";
  Execucao r;
  r.Codigo = Executar(APrograma, AArgumentos, saida, erros);
  r.Saida = LerArquivo(saida);
  r.Erros = LerArquivo(erros);
  return r;
}

}  // namespace tolvane::teste
