#include "core/texto.h"

#include "core/utf8.h"

namespace tolvane {

namespace {

constexpr std::string_view kSinalParagrafo = "\xC2\xA7";  // U+00A7 in UTF-8

// Byte offset of the start of the character that ends the text.
std::size_t InicioUltimoCaractere(std::string_view ATexto) {
  std::size_t i = ATexto.size();
  while (i > 0) {
    --i;
    if (!EhByteContinuacao(static_cast<unsigned char>(ATexto[i]))) break;
  }
  return i;
}

}  // namespace

std::string MinusculasAscii(std::string_view ATexto) {
  std::string r(ATexto);
  for (char& c : r)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return r;
}

bool IguaisSemCaixaAscii(std::string_view A, std::string_view B) {
  return A.size() == B.size() && MinusculasAscii(A) == MinusculasAscii(B);
}

std::string_view AparaControles(std::string_view ATexto) {
  std::size_t inicio = 0;
  std::size_t fim = ATexto.size();
  while (inicio < fim && static_cast<unsigned char>(ATexto[inicio]) <= 32) ++inicio;
  while (fim > inicio && static_cast<unsigned char>(ATexto[fim - 1]) <= 32) --fim;
  return ATexto.substr(inicio, fim - inicio);
}

bool EhBranco(std::string_view ATexto) { return AparaControles(ATexto).empty(); }

std::string CodificarBrancos(std::string_view ATexto) {
  std::string r;
  r.reserve(ATexto.size());
  for (char c : ATexto) {
    if (c == ' ')
      r += kSinalParagrafo;
    else
      r += c;
  }
  return r;
}

std::string DecodificarBrancos(std::string_view ATexto) {
  std::string r;
  r.reserve(ATexto.size());
  for (std::size_t i = 0; i < ATexto.size(); ++i) {
    if (ATexto.substr(i, kSinalParagrafo.size()) == kSinalParagrafo) {
      r += ' ';
      i += kSinalParagrafo.size() - 1;
    } else {
      r += ATexto[i];
    }
  }
  return r;
}

std::string ComPontoFinal(std::string_view AMensagem) {
  std::string r(AMensagem);
  // Any character of more than one byte lies above "." as well.
  if (!r.empty() && static_cast<unsigned char>(r[InicioUltimoCaractere(r)]) > '.') r += '.';
  return r;
}

std::size_t ContarCaracteres(std::string_view ATexto) {
  std::size_t n = 0;
  for (char c : ATexto)
    if (!EhByteContinuacao(static_cast<unsigned char>(c))) ++n;
  return n;
}

std::string_view SemUltimosCaracteres(std::string_view ATexto, std::size_t N) {
  std::string_view r = ATexto;
  for (std::size_t k = 0; k < N && !r.empty(); ++k) r = r.substr(0, InicioUltimoCaractere(r));
  return r;
}

std::string_view PrimeirosCaracteres(std::string_view ATexto, std::size_t N) {
  std::size_t i = 0;
  std::size_t vistos = 0;
  while (i < ATexto.size()) {
    if (!EhByteContinuacao(static_cast<unsigned char>(ATexto[i]))) {
      if (vistos == N) break;
      ++vistos;
    }
    ++i;
  }
  return ATexto.substr(0, i);
}

}  // namespace tolvane
