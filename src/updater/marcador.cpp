#include "updater/marcador.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <system_error>

#include "core/utf8.h"

#include "core/caminho.h"
#include "core/erro.h"
#include "core/texto.h"
#include "platform/codificacao.h"
#include "platform/nomes.h"
#include "platform/substituicao_arquivo.h"

namespace tolvane {

namespace {

constexpr std::string_view kMarcaUtf8 = "\xEF\xBB\xBF";

bool EhAscii(std::string_view ATexto) {
  for (char c : ATexto)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
}

}  // namespace

std::string LerDicaPastaMestre(const std::string& APastaAtualizacao) {
  const std::string caminho = JuntarCaminho(APastaAtualizacao, kArquivoDicaPastaMestre);
  std::error_code ec;
  const auto estado = std::filesystem::status(CaminhoDe(caminho), ec);
  if (estado.type() == std::filesystem::file_type::not_found) return {};
  if (ec)
    throw ErroSistemaComMensagem("Não foi possível ler \"" + caminho + "\": " + ec.message() + ".");
  if (std::filesystem::is_directory(estado))
    throw ErroSistemaComMensagem("\"" + caminho + "\" é uma pasta, não um arquivo de texto.");
  std::ifstream arquivo(CaminhoDe(caminho), std::ios::binary);
  std::string linha;
  if (!arquivo || (!std::getline(arquivo, linha) && !arquivo.eof()))
    throw ErroSistemaComMensagem("Não foi possível ler \"" + caminho +
                                 "\": " + std::strerror(errno) + ".");
  std::string_view texto = linha;
  if (texto.starts_with(kMarcaUtf8)) texto.remove_prefix(kMarcaUtf8.size());
  texto = AparaControles(texto);
  return EhUtf8Valido(texto) ? std::string(texto) : DeAnsi(texto);
}

namespace {

// An INI text as the program's profile reader takes it on this platform.
std::string CodificarIni(const std::string& ATexto, bool AEmUtf16) {
  if (EhAscii(ATexto)) return ATexto;
  if (AEmUtf16) return "\xFF\xFE" + BytesUtf16leDeUtf8(ATexto);
  return std::string(kMarcaUtf8) + ATexto;
}

}  // namespace

std::string ConteudoMarcador(std::string_view APastaMestre, bool AEmUtf16) {
  return CodificarIni("[configuracao]\npastamestre=" + std::string(APastaMestre) + "\n", AEmUtf16);
}

std::string ConteudoMarcadorFalha(std::string_view AMotivo, bool AEmUtf16) {
  std::string motivo(AMotivo);
  for (char& c : motivo)
    if (c == '\r' || c == '\n') c = ' ';
  return CodificarIni("[falha]\nmotivo=" + motivo + "\n", AEmUtf16);
}

void GravarMarcadorFalha(const std::string& APastaExecutavel, const std::string& ANomeExecutavel,
                         std::string_view AMotivo) {
  SubstituirArquivo(JuntarCaminho(APastaExecutavel, NomeMarcadorFalha(ANomeExecutavel)),
                    ConteudoMarcadorFalha(AMotivo, kIniEmUtf16));
}

void GravarMarcadorAtualizacao(const std::string& APastaExecutavel,
                               const std::string& ANomeExecutavel,
                               const std::string& APastaMestre) {
  const std::string destino =
      JuntarCaminho(APastaExecutavel, NomeMarcadorAtualizacao(ANomeExecutavel));
  try {
    SubstituirArquivo(destino, ConteudoMarcador(APastaMestre, kIniEmUtf16));
  } catch (const Erro& e) {
    throw ErroSistemaComMensagem("Não foi possível gravar o marcador de atualização \"" + destino +
                                 "\": " + e.Mensagem() + ".");
  }
}

}  // namespace tolvane
