#include "comum/porta_livre.h"

#ifdef _WIN32
#include <winsock2.h>
#else
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#endif

#include <stdexcept>
#include <string>

namespace tolvane::teste {

#ifdef _WIN32
using Soquete = SOCKET;
using TamanhoEndereco = int;
constexpr Soquete kSemSoquete = INVALID_SOCKET;
void Fechar(Soquete A) { closesocket(A); }
#else
using Soquete = int;
using TamanhoEndereco = socklen_t;
constexpr Soquete kSemSoquete = -1;
void Fechar(Soquete A) { close(A); }
#endif

int PortaLivre() {
#ifdef _WIN32
  WSADATA dados;
  if (WSAStartup(MAKEWORD(2, 2), &dados) != 0) throw std::runtime_error("no free port: WSAStartup");
#endif
  const Soquete s = socket(AF_INET, SOCK_STREAM, 0);
  if (s == kSemSoquete) throw std::runtime_error("no free port: socket failed");
  sockaddr_in endereco{};
  endereco.sin_family = AF_INET;
  endereco.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  TamanhoEndereco tamanho = sizeof endereco;
  const bool tomada = bind(s, reinterpret_cast<sockaddr*>(&endereco), sizeof endereco) == 0 &&
                      getsockname(s, reinterpret_cast<sockaddr*>(&endereco), &tamanho) == 0;
  Fechar(s);
  if (!tomada) throw std::runtime_error("no free port");
  return ntohs(endereco.sin_port);
}

}  // namespace tolvane::teste
