#pragma once

#include <string>
#include <string_view>

namespace tolvane {

// Names of files and paths that differ between the systems. The constants are defined by the
// implementation the build picks (platform/posix/nomes.cpp, platform/win32/nomes.cpp): Windows
// keeps the names the ERP's workstations know ("tolvaneGestor.exe", "\\", "gds32.dll"); Linux
// drops the suffix.

// The executable suffix: ".exe" on Windows, "" on Linux.
extern const std::string_view kSufixoExecutavel;

// The folder separator of the paths the system builds: '\\' on Windows, '/' on Linux.
extern const char kSeparador;

// The characters that lead a name taken from outside (a command line) out of its folder: "/" on
// Linux; "/", "\\" and ":" (a drive or a stream) on Windows.
extern const std::string_view kSeparadoresNome;

// Whether the INI files the system writes are UTF-16 with a byte-order mark (Windows, whose
// profile reader takes a file without one for the ANSI code page) rather than UTF-8 (Linux).
extern const bool kIniEmUtf16;

// File name of the Firebird client library, loaded at run time: "gds32.dll" on Windows,
// "libfbclient.so.2" on Linux (Debian package libfbclient2).
extern const char* const kBibliotecaFirebird;

// "tolvaneAtualizador" with the platform's suffix: the updater in the update folder.
std::string NomeAtualizador();

// The update marker for an executable name: "Exec-" + the name with every suffix (".exe",
// letter case respected) replaced by ".ini"; with no suffix on the platform, ".ini" is appended.
std::string NomeMarcadorAtualizacao(std::string_view ANomeExecutavel);

// The second marker: "Exec-" + the executable name.
std::string NomeSegundoMarcador(std::string_view ANomeExecutavel);

// The failure marker the updater leaves beside the executable when it replaced nothing: "Exec-" +
// the name without the platform's suffix + ".falha" (an INI file; section "falha", key
// "motivo"). Its name never meets the other two markers, whatever the name's letter case.
std::string NomeMarcadorFalha(std::string_view ANomeExecutavel);

// Where the updater puts the failure's reason for the program it starts again when the failure
// marker cannot be written.
inline constexpr const char* kVariavelFalhaAtualizacao = "TOLVANE_FALHA_ATUALIZACAO";

// The executable name without the platform's suffix (on Windows, without its last four characters).
std::string NomeSemSufixo(std::string_view ANomeExecutavel);

// A folder and a name inside it, with the platform's separator between them (none added when the
// folder already ends with one, as a root folder does; "/" counts as one on every system).
std::string JuntarCaminho(std::string_view APasta, std::string_view ANome);

}  // namespace tolvane
