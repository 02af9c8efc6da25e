#pragma once

#include <string>
#include <string_view>

namespace tolvane {

// Names of files that differ between the Windows and the Linux build, defined once: Windows
// keeps the names the ERP's workstations know ("tolvaneGestor.exe", "\"); Linux drops the suffix.
#ifdef _WIN32
inline constexpr std::string_view kSufixoExecutavel = ".exe";
inline constexpr char kSeparador = '\\';
#else
inline constexpr std::string_view kSufixoExecutavel = "";
inline constexpr char kSeparador = '/';
#endif

// "tolvaneAtualizador" with the platform's suffix: the updater in the update folder.
std::string NomeAtualizador();

// The update marker for an executable name: "Exec-" + the name with every suffix (".exe",
// letter case respected) replaced by ".ini"; with no suffix on the platform, ".ini" is appended.
std::string NomeMarcadorAtualizacao(std::string_view ANomeExecutavel);

// The second marker: "Exec-" + the executable name.
std::string NomeSegundoMarcador(std::string_view ANomeExecutavel);

// The executable name without the platform's suffix (on Windows, without its last four characters).
std::string NomeSemSufixo(std::string_view ANomeExecutavel);

}  // namespace tolvane
