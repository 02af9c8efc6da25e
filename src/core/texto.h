#pragma once

#include <string>
#include <string_view>

namespace tolvane {

// Texts are UTF-8 inside the system. Where the system counts characters, it counts code points.

// The text without the characters of code 32 or lower at both ends (blanks and controls).
std::string_view AparaControles(std::string_view ATexto);

// True when the text is empty after AparaControles: "blank" in the system's rules.
bool EhBranco(std::string_view ATexto);

// Every blank (U+0020) replaced by the section sign U+00A7, so that a folder travels on a
// command line without quotes; DecodificarBrancos turns every section sign back into a blank.
std::string CodificarBrancos(std::string_view ATexto);
std::string DecodificarBrancos(std::string_view ATexto);

// The message of the default error display: a "." is added when the last character comes after
// "." in character order (so "texto" gets one; "texto.", "texto!" and "texto " do not).
std::string ComPontoFinal(std::string_view AMensagem);

// The text with the letters A to Z in lower case and every other byte as it is: for names that
// protocols, stores and file systems compare regardless of case (a media type, a host name, an
// extension), never for the user's words.
std::string MinusculasAscii(std::string_view ATexto);

// True when the texts are equal but for the letter case of A to Z.
bool IguaisSemCaixaAscii(std::string_view A, std::string_view B);

// Number of characters (code points) of a UTF-8 text.
std::size_t ContarCaracteres(std::string_view ATexto);

// The text without its last N characters (all of it gone when it has N or fewer).
std::string_view SemUltimosCaracteres(std::string_view ATexto, std::size_t N);

// The first N characters of the text (all of it when it is shorter).
std::string_view PrimeirosCaracteres(std::string_view ATexto, std::size_t N);

}  // namespace tolvane
