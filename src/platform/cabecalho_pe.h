#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace tolvane {

// What kind of Windows image (PE) a file is, read from its headers alone: the portable half of
// telling the user why a library found on disk does not load. The loader's own error code cannot
// tell it (Wine and Windows give different codes for a library of the other architecture).

// The machine an image is built for (IMAGE_FILE_HEADER.Machine).
enum class ArquiteturaPe { X86, X64, Arm, Arm64, Outra };

struct CabecalhoPe {
  ArquiteturaPe Arquitetura = ArquiteturaPe::Outra;
  bool Biblioteca = false;  // IMAGE_FILE_DLL set: a library, not a program
};

// How many bytes from the start of a file LerCabecalhoPe looks at, at most: linkers put the
// headers in the first few hundred bytes, and a file whose headers lie beyond this is taken for
// no image at all.
constexpr std::size_t kTamanhoInicioPe = std::size_t{64} * 1024;

// Reads the headers at the start of a file: the DOS header's "MZ" and e_lfanew, the "PE\0\0"
// signature there, the file header's machine and characteristics, and the optional header's
// magic, which must agree with the machine's width (0x10b for 32 bits, 0x20b for 64). No value
// when the bytes are no such image: another kind of file, an empty or truncated one, a DOS
// program without a PE header.
std::optional<CabecalhoPe> LerCabecalhoPe(std::string_view AInicio);

// The architecture this program is built for.
ArquiteturaPe ArquiteturaDoPrograma() noexcept;

// One sentence for the user on why the file ACaminho, whose first bytes are AInicio, cannot be
// loaded as a library by a program built for APrograma:
//   "O arquivo <path> não é uma biblioteca do Windows." (no PE image, or a program rather than
//   a library), or
//   "O arquivo <path> é uma biblioteca de 64 bits, e este programa é de 32 bits." (another
//   architecture; "para ARM de 64 bits" and the like for the other machines).
// Empty when the file is a library of the program's own architecture: then its kind does not
// explain the failure.
std::string DescreverBibliotecaInutilizavel(std::string_view ACaminho, std::string_view AInicio,
                                            ArquiteturaPe APrograma);

}  // namespace tolvane
