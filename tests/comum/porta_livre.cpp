#include "comum/porta_livre.h"

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <string>

namespace tolvane::teste {

int PortaLivre() {
  const int s = socket(AF_INET, SOCK_STREAM, 0);
  if (s < 0) throw std::runtime_error("no free port: " + std::string(std::strerror(errno)));
  sockaddr_in endereco{};
  endereco.sin_family = AF_INET;
  endereco.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t tamanho = sizeof endereco;
  const bool tomada = bind(s, reinterpret_cast<sockaddr*>(&endereco), sizeof endereco) == 0 &&
                      getsockname(s, reinterpret_cast<sockaddr*>(&endereco), &tamanho) == 0;
  close(s);
  if (!tomada) throw std::runtime_error("no free port");
  return ntohs(endereco.sin_port);
}

}  // namespace tolvane::teste
