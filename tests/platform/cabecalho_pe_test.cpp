// The kind of a Windows image read from its first bytes, and the sentence that tells the user why
// a file found in place of a library cannot be loaded.
#include "platform/cabecalho_pe.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace tolvane {
namespace {

constexpr std::uint16_t kI386 = 0x014C, kAmd64 = 0x8664, kArm64 = 0xAA64, kIa64 = 0x0200;
constexpr std::uint16_t kDll = 0x2102, kExe = 0x0102;  // IMAGE_FILE_DLL or not, among others
constexpr std::uint16_t kPe32 = 0x010B, kPe64 = 0x020B;

void Gravar16(std::string& ABytes, std::size_t APosicao, std::uint32_t AValor) {
  ABytes[APosicao] = static_cast<char>(AValor & 0xFF);
  ABytes[APosicao + 1] = static_cast<char>(AValor >> 8 & 0xFF);
}

// The start of an image as a linker writes it: the DOS header with e_lfanew, the "PE\0\0"
// signature there, the file header and a whole optional header of the magic's width.
std::string Imagem(std::uint16_t AMaquina, std::uint16_t ACaracteristicas, std::uint16_t AMagico) {
  constexpr std::size_t pe = 0x80;
  const std::uint16_t tamanhoOpcional = AMagico == kPe64 ? 0xF0 : 0xE0;
  std::string r(pe + 24 + tamanhoOpcional, '\0');
  r[0] = 'M';
  r[1] = 'Z';
  Gravar16(r, 0x3C, pe);
  r.replace(pe, 4, std::string("PE\0\0", 4));
  Gravar16(r, pe + 4, AMaquina);
  Gravar16(r, pe + 20, tamanhoOpcional);
  Gravar16(r, pe + 22, ACaracteristicas);
  Gravar16(r, pe + 24, AMagico);
  return r;
}

std::string ComELfanew(std::string ABytes, std::uint32_t AELfanew) {
  Gravar16(ABytes, 0x3C, AELfanew & 0xFFFF);
  Gravar16(ABytes, 0x3E, AELfanew >> 16);
  return ABytes;
}

TEST(CabecalhoPe, TheSentenceSaysWhyTheFileCannotBeLoaded) {
  const std::string dll32 = Imagem(kI386, kDll, kPe32);
  const std::string dll64 = Imagem(kAmd64, kDll, kPe64);
  const std::string naoBiblioteca = "O arquivo C:\\ERP\\gds32.dll não é uma biblioteca do Windows.";
  struct Caso {
    const char* Rotulo;
    std::string Bytes;
    ArquiteturaPe Programa;
    std::string Frase;
  };
  const Caso casos[] = {
      {"32-bit library, 64-bit program", dll32, ArquiteturaPe::X64,
       "O arquivo C:\\ERP\\gds32.dll é uma biblioteca de 32 bits, e este programa é de 64 bits."},
      {"64-bit library, 32-bit program", dll64, ArquiteturaPe::X86,
       "O arquivo C:\\ERP\\gds32.dll é uma biblioteca de 64 bits, e este programa é de 32 bits."},
      {"ARM64 library, 64-bit program", Imagem(kArm64, kDll, kPe64), ArquiteturaPe::X64,
       "O arquivo C:\\ERP\\gds32.dll é uma biblioteca para ARM de 64 bits, e este programa é de "
       "64 bits."},
      {"library of an unknown machine", Imagem(kIa64, kDll, kPe64), ArquiteturaPe::X86,
       "O arquivo C:\\ERP\\gds32.dll é uma biblioteca de outra arquitetura, e este programa é de "
       "32 bits."},
      {"32-bit library, 32-bit program", dll32, ArquiteturaPe::X86, ""},
      {"64-bit library, 64-bit program", dll64, ArquiteturaPe::X64, ""},
      {"program of the same architecture", Imagem(kI386, kExe, kPe32), ArquiteturaPe::X86,
       naoBiblioteca},
      {"text file", "[Database]\r\nServidor=erp\r\n", ArquiteturaPe::X86, naoBiblioteca},
      {"empty file", "", ArquiteturaPe::X86, naoBiblioteca},
      {"only \"MZ\"", "MZ", ArquiteturaPe::X86, naoBiblioteca},
      {"cut before the optional header's magic", dll64.substr(0, 0x80 + 24 + 1), ArquiteturaPe::X86,
       naoBiblioteca},
      {"DOS program without a PE header",
       ComELfanew(std::string(0x100, 'x').replace(0, 2, "MZ"), 0x40), ArquiteturaPe::X86,
       naoBiblioteca},
      {"e_lfanew beyond the end", ComELfanew(dll32, 0xFFFFFFF0u), ArquiteturaPe::X64,
       naoBiblioteca},
      {"magic of the other width", Imagem(kI386, kDll, kPe64), ArquiteturaPe::X64, naoBiblioteca},
  };
  for (const Caso& c : casos)
    EXPECT_EQ(DescreverBibliotecaInutilizavel("C:\\ERP\\gds32.dll", c.Bytes, c.Programa), c.Frase)
        << c.Rotulo;
}

}  // namespace
}  // namespace tolvane
