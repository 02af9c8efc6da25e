#pragma once

#include <string>
#include <string_view>

namespace tolvane {

// The master-folder hint: a text file of this name in the update folder. Its first line names
// the master folder that the program, after an update of the ERP's own executables, copies missing
// executables from. UTF-8 (a byte-order mark is allowed), else the ANSI code page; blanks and
// control codes around the line are dropped. No file: no master folder.
inline constexpr std::string_view kArquivoDicaPastaMestre = "pastamestre.txt";

// The master folder named by the hint in APastaAtualizacao; empty when there is no hint. Throws
// Erro "EOSError" when the hint is there but cannot be read (a folder, no permission).
std::string LerDicaPastaMestre(const std::string& APastaAtualizacao);

// Text of the update marker: section "configuracao", key "pastamestre". Plain ASCII when the
// master folder is; otherwise UTF-8 with a byte-order mark, or UTF-16LE with a byte-order mark
// when AEmUtf16 (the Windows profile reader takes a file without a mark for the ANSI code page).
std::string ConteudoMarcador(std::string_view APastaMestre, bool AEmUtf16);

// Text of the failure marker: section "falha", key "motivo" with AMotivo on one line (line breaks
// become blanks), encoded as ConteudoMarcador does.
std::string ConteudoMarcadorFalha(std::string_view AMotivo, bool AEmUtf16);

// Writes the failure marker NomeMarcadorFalha(ANomeExecutavel) in APastaExecutavel through the
// whole-file replacement; an older one is replaced. Throws its Erro when it cannot be written.
void GravarMarcadorFalha(const std::string& APastaExecutavel, const std::string& ANomeExecutavel,
                         std::string_view AMotivo);

// Writes the update marker NomeMarcadorAtualizacao(ANomeExecutavel) in APastaExecutavel through
// the whole-file replacement (SubstituirArquivo), so the program never reads half a marker and two
// updaters in one folder never write through one temporary file. An older marker is replaced.
// Throws Erro "EOSError" when it cannot be written (no temporary file is left behind).
void GravarMarcadorAtualizacao(const std::string& APastaExecutavel,
                               const std::string& ANomeExecutavel, const std::string& APastaMestre);

}  // namespace tolvane
