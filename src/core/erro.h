#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace tolvane {

// The one error type of the system: the kind name of the failure ("EIBInterBaseError",
// "EOSError", "EConvertError", ...) and its message text, both as the user will see them.
class Erro : public std::runtime_error {
 public:
  Erro(std::string AClasse, const std::string& AMensagem)
      : std::runtime_error(AMensagem), FClasse(std::move(AClasse)) {}

  // Kind name, shown by messages that name the failure's kind ("<kind>: <text>").
  const std::string& Classe() const noexcept { return FClasse; }

  // Message text, UTF-8.
  std::string Mensagem() const { return what(); }

 private:
  std::string FClasse;
};

// Each kind of error is built in one place, so its name and the shape of its text cannot drift.

// A system's text for an error code as the error messages show it: without trailing blanks,
// control characters and periods.
std::string TextoSistemaAparado(std::string_view ATexto);

// "EOSError": "System Error.  Code: <code>.\r\n<system text, trimmed>", or "A call to an OS
// function failed" when the code is 0.
Erro ErroSistemaOperacional(int ACodigo, std::string_view ATextoSistema);

// "EOSError" with a message of the system's own (the updater's texts).
Erro ErroSistemaComMensagem(const std::string& AMensagem);

// "EFCreateError": "Cannot create file \"<path>\". <system text, trimmed>".
Erro ErroCriacaoArquivo(std::string_view ACaminho, std::string_view ATextoSistema);

// "EWriteError": "Stream write error".
Erro ErroEscritaFluxo();

// "EConvertError" with the message.
Erro ErroConversao(const std::string& AMensagem);

// "EConvertError": "Invalid argument to date encode", a file time that is no valid date.
Erro ErroCodificacaoData();

// "EIBClientError", a failure the database client component itself reports.
Erro ErroClienteInterBase(const std::string& AMensagem);

// "EOleException", a failure an automation object reports (the HTTP request object's).
Erro ErroOle(const std::string& AMensagem);

// "EOleSysError": an automation object that could not be created.
Erro ErroOleSistema(const std::string& AMensagem);

// "EIntfCastError": "Interface not supported".
Erro ErroInterfaceNaoSuportada();

// "Exception", the plain kind the system's own messages raise.
Erro ErroGeral(const std::string& AMensagem);

// "EParametro": a command line the updater refuses.
Erro ErroParametro(const std::string& AMensagem);

// A platform service that this system has no implementation of yet: "Exception" with
// "<service>: não disponível neste sistema".
Erro ErroNaoDisponivel(std::string_view AServico);

}  // namespace tolvane
