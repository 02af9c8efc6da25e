#pragma once

#include <sys/types.h>
#include <string>

namespace tolvane::teste {

// The HTTPS test server (servidor_https.py) as a child process: started on a free port of
// 127.0.0.1 with its key material in APasta (made there on the first start), stopped by the
// destructor. Throws std::runtime_error, with the server's error output, when it does not start.
class ServidorHttps {
 public:
  // AModo: "mutuo", "opcional", "sem-cliente", "nao-confiavel", "proxy", "expirado" or
  // "outro-host"; ATlsMaximo: the newest TLS version it speaks, "1.0" to "1.3"
  // (servidor_https.py).
  ServidorHttps(const std::string& APasta, const std::string& AModo,
                const std::string& ATlsMaximo = "1.3");
  ~ServidorHttps();
  ServidorHttps(const ServidorHttps&) = delete;
  ServidorHttps& operator=(const ServidorHttps&) = delete;

  int Porta() const { return FPorta; }

  // The base address for the scripted answer ACenario:
  // "https://127.0.0.1:<port>/<ACenario>/api/v1/consultas".
  std::string BaseUrl(const std::string& ACenario) const;

 private:
  void Parar();

  pid_t FPid = -1;
  int FEntrada = -1;  // the server's standard input; closing it ends the server too
  int FPorta = 0;
};

// Scripts the answer of ACenario in the server folder APasta.
void DefinirResposta(const std::string& APasta, const std::string& ACenario, int AStatus,
                     const std::string& ACorpo);

}  // namespace tolvane::teste
