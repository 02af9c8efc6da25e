#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <thread>

#include "platform/espera_programa.h"
#include "platform/posix/espera_pai.h"

namespace tolvane {
namespace {

using namespace std::chrono_literals;

// A stand-in for the program (the parent) and the updater (its child): the parent ends after
// AVidaDoPai or, with no value, lives until the test kills it; the child waits for it with
// ALimite and hands its answer back through a pipe. Returns the child's answer: '1' the parent
// ended, '0' the limit passed, anything else a failed setup.
char EsperarPaiFicticio(std::optional<std::chrono::milliseconds> AVidaDoPai,
                        std::chrono::milliseconds ALimite) {
  int canal[2];
  if (::pipe(canal) != 0) return 'E';
  const pid_t pai = ::fork();
  if (pai == 0) {
    const pid_t eu = ::getpid();
    if (::fork() == 0) {
      ::close(canal[0]);
      const char resposta = EsperarFimDoPai(eu, ALimite) ? '1' : '0';
      ::_exit(::write(canal[1], &resposta, 1) == 1 ? 0 : 1);
    }
    ::close(canal[0]);
    ::close(canal[1]);
    if (AVidaDoPai)
      std::this_thread::sleep_for(*AVidaDoPai);
    else
      for (;;) ::pause();
    ::_exit(0);
  }
  ::close(canal[1]);
  char resposta = 'E';
  if (::read(canal[0], &resposta, 1) != 1) resposta = 'X';
  ::close(canal[0]);
  ::kill(pai, SIGKILL);
  ::waitpid(pai, nullptr, 0);
  return resposta;
}

TEST(EsperarFimDoPai, ParentEndingSoonIsSeen) { EXPECT_EQ(EsperarPaiFicticio(100ms, 60s), '1'); }

TEST(EsperarFimDoPai, ParentThatGoesOnRunningEndsTheWaitAtTheLimit) {
  EXPECT_EQ(EsperarPaiFicticio(std::nullopt, 200ms), '0');
}

TEST(EsperarFimDoPai, ParentGoneBeforeTheCallIsNoWait) {
  // The pid of a process that is not our parent: the wait ends at once, even with no time left.
  EXPECT_TRUE(EsperarFimDoPai(::getppid() + 1, 0ms));
  EXPECT_FALSE(EsperarFimDoPai(::getppid(), 0ms));
}

TEST(PaiExecutando, RecognisesTheParentByItsExecutableFile) {
  const std::string esteTeste = std::filesystem::read_symlink("/proc/self/exe").string();
  const pid_t filho = ::fork();
  if (filho == 0) {
    // The child's parent is this test program: it runs esteTeste, not /bin/sh.
    const bool reconhece = PaiExecutando(esteTeste) == std::optional<pid_t>(::getppid());
    const bool recusa = !PaiExecutando("/bin/sh").has_value();
    const bool semEspera = EsperarFimPrograma("/bin/sh", 0ms);
    ::_exit((reconhece ? 0 : 1) | (recusa ? 0 : 2) | (semEspera ? 0 : 4));
  }
  int estado = 0;
  ASSERT_EQ(::waitpid(filho, &estado, 0), filho);
  ASSERT_TRUE(WIFEXITED(estado));
  EXPECT_EQ(WEXITSTATUS(estado) & 1, 0) << "parent running this file not recognised";
  EXPECT_EQ(WEXITSTATUS(estado) & 2, 0) << "parent taken for a program it does not run";
  EXPECT_EQ(WEXITSTATUS(estado) & 4, 0) << "waited for a parent that is not the program";
}

}  // namespace
}  // namespace tolvane
