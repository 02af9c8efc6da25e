#include "platform/cabecalho_pe.h"

#include <cstdint>

namespace tolvane {

namespace {

// Offsets and values of the PE format (winnt.h), which every field is little-endian in.
constexpr std::size_t kPosicaoELfanew = 0x3C;
constexpr std::size_t kTamanhoAssinatura = 4;         // "PE\0\0"
constexpr std::size_t kTamanhoCabecalhoArquivo = 20;  // IMAGE_FILE_HEADER
constexpr std::uint16_t kMaquinaI386 = 0x014C;
constexpr std::uint16_t kMaquinaAmd64 = 0x8664;
constexpr std::uint16_t kMaquinaArm = 0x01C0;
constexpr std::uint16_t kMaquinaThumb = 0x01C2;
constexpr std::uint16_t kMaquinaArmNt = 0x01C4;
constexpr std::uint16_t kMaquinaArm64 = 0xAA64;
constexpr std::uint16_t kArquivoDll = 0x2000;  // IMAGE_FILE_DLL
constexpr std::uint16_t kMagico32 = 0x010B;    // IMAGE_NT_OPTIONAL_HDR32_MAGIC
constexpr std::uint16_t kMagico64 = 0x020B;    // IMAGE_NT_OPTIONAL_HDR64_MAGIC

std::uint16_t Ler16(std::string_view ABytes, std::size_t APosicao) {
  return static_cast<std::uint16_t>(static_cast<unsigned char>(ABytes[APosicao]) |
                                    static_cast<unsigned char>(ABytes[APosicao + 1]) << 8);
}

std::uint32_t Ler32(std::string_view ABytes, std::size_t APosicao) {
  return static_cast<std::uint32_t>(Ler16(ABytes, APosicao)) |
         static_cast<std::uint32_t>(Ler16(ABytes, APosicao + 2)) << 16;
}

ArquiteturaPe Arquitetura(std::uint16_t AMaquina) {
  switch (AMaquina) {
    case kMaquinaI386:
      return ArquiteturaPe::X86;
    case kMaquinaAmd64:
      return ArquiteturaPe::X64;
    case kMaquinaArm:
    case kMaquinaThumb:
    case kMaquinaArmNt:
      return ArquiteturaPe::Arm;
    case kMaquinaArm64:
      return ArquiteturaPe::Arm64;
    default:
      return ArquiteturaPe::Outra;
  }
}

// The magic the optional header of a machine's images carries; 0 when either width may be.
std::uint16_t MagicoEsperado(ArquiteturaPe AArquitetura) {
  switch (AArquitetura) {
    case ArquiteturaPe::X86:
    case ArquiteturaPe::Arm:
      return kMagico32;
    case ArquiteturaPe::X64:
    case ArquiteturaPe::Arm64:
      return kMagico64;
    case ArquiteturaPe::Outra:
      break;
  }
  return 0;
}

// How the sentences name an architecture: "de 32 bits", "para ARM de 64 bits" ...
const char* NomeArquitetura(ArquiteturaPe AArquitetura) {
  switch (AArquitetura) {
    case ArquiteturaPe::X86:
      return "de 32 bits";
    case ArquiteturaPe::X64:
      return "de 64 bits";
    case ArquiteturaPe::Arm:
      return "para ARM de 32 bits";
    case ArquiteturaPe::Arm64:
      return "para ARM de 64 bits";
    case ArquiteturaPe::Outra:
      break;
  }
  return "de outra arquitetura";
}

}  // namespace

std::optional<CabecalhoPe> LerCabecalhoPe(std::string_view AInicio) {
  if (AInicio.size() < kPosicaoELfanew + 4 || AInicio.substr(0, 2) != "MZ") return std::nullopt;
  const std::size_t pe = Ler32(AInicio, kPosicaoELfanew);
  // Up to the optional header's magic. Compared by subtraction: an e_lfanew near 4 GiB must not
  // wrap around on a 32-bit build.
  if (pe > AInicio.size() ||
      AInicio.size() - pe < kTamanhoAssinatura + kTamanhoCabecalhoArquivo + 2)
    return std::nullopt;
  const std::size_t cabecalho = pe + kTamanhoAssinatura;
  const std::size_t opcional = cabecalho + kTamanhoCabecalhoArquivo;
  if (AInicio.substr(pe, kTamanhoAssinatura) != std::string_view("PE\0\0", 4)) return std::nullopt;
  const std::uint16_t tamanhoOpcional = Ler16(AInicio, cabecalho + 16);
  const std::uint16_t magico = Ler16(AInicio, opcional);
  CabecalhoPe r;
  r.Arquitetura = Arquitetura(Ler16(AInicio, cabecalho));
  r.Biblioteca = (Ler16(AInicio, cabecalho + 18) & kArquivoDll) != 0;
  const std::uint16_t esperado = MagicoEsperado(r.Arquitetura);
  if (tamanhoOpcional < 2 ||
      (esperado ? magico != esperado : magico != kMagico32 && magico != kMagico64))
    return std::nullopt;
  return r;
}

ArquiteturaPe ArquiteturaDoPrograma() noexcept {
#if defined(__x86_64__) || defined(_M_X64)
  return ArquiteturaPe::X64;
#elif defined(__i386__) || defined(_M_IX86)
  return ArquiteturaPe::X86;
#elif defined(__aarch64__) || defined(_M_ARM64)
  return ArquiteturaPe::Arm64;
#elif defined(__arm__) || defined(_M_ARM)
  return ArquiteturaPe::Arm;
#else
  return ArquiteturaPe::Outra;
#endif
}

std::string DescreverBibliotecaInutilizavel(std::string_view ACaminho, std::string_view AInicio,
                                            ArquiteturaPe APrograma) {
  const std::string arquivo = "O arquivo " + std::string(ACaminho);
  const auto cabecalho = LerCabecalhoPe(AInicio);
  if (!cabecalho || !cabecalho->Biblioteca) return arquivo + " não é uma biblioteca do Windows.";
  if (cabecalho->Arquitetura == APrograma) return "";
  return arquivo + " é uma biblioteca " + NomeArquitetura(cabecalho->Arquitetura) +
         ", e este programa é " + NomeArquitetura(APrograma) + ".";
}

}  // namespace tolvane
