#pragma once

// The messages of SubstituirExecutavel (platform/substituicao_executavel.h), the same on every
// system; each system supplies the cause in its own words.

#include <string>

namespace tolvane::textos_substituicao {

inline std::string Origem(const std::string& AOrigem) {
  return "A cópia do servidor \"" + AOrigem + "\"";
}
inline std::string OrigemAusente(const std::string& AOrigem) {
  return Origem(AOrigem) + " não existe.";
}
inline std::string OrigemIlegivel(const std::string& AOrigem, const std::string& ACausa) {
  return Origem(AOrigem) + " não pôde ser lida: " + ACausa + ".";
}
inline std::string OrigemPasta(const std::string& AOrigem) {
  return Origem(AOrigem) + " é uma pasta, não um arquivo.";
}
inline std::string OrigemIrregular(const std::string& AOrigem) {
  return Origem(AOrigem) + " não é um arquivo comum.";
}
inline std::string OrigemMudou(const std::string& AOrigem) {
  return Origem(AOrigem) +
         " mudou enquanto era copiada; tente de novo quando ela estiver completa.";
}
inline std::string PastaAusente(const std::string& APasta) {
  return "A pasta do executável \"" + APasta + "\" não existe.";
}
inline std::string DestinoPasta(const std::string& ADestino) {
  return "O executável \"" + ADestino + "\" está ocupado: no lugar dele há uma pasta.";
}
inline std::string CopiaNaoCriada(const std::string& APasta, const std::string& ACausa) {
  return "Não foi possível criar a nova cópia na pasta do executável \"" + APasta +
         "\": " + ACausa + ".";
}
inline std::string SemEspaco(const std::string& APasta) {
  return "Não há espaço livre na pasta do executável \"" + APasta + "\" para a nova cópia.";
}
inline std::string CopiaNaoGravada(const std::string& APasta, const std::string& ACausa) {
  return "Não foi possível gravar a nova cópia na pasta do executável \"" + APasta +
         "\": " + ACausa + ".";
}
inline std::string NaoSubstituido(const std::string& ADestino, const std::string& ACausa) {
  return "Não foi possível substituir o executável \"" + ADestino + "\": " + ACausa + ".";
}

}  // namespace tolvane::textos_substituicao
