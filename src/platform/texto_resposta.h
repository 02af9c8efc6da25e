#pragma once

#include <string>
#include <string_view>

namespace tolvane {

// The text of an answer's body, as the Windows request object's ResponseText gives it: decoded by
// the character set that the Content-Type header ATipoConteudo names (its "charset" parameter,
// letter case ignored, quotes allowed), else as UTF-8. Known sets: UTF-8; UTF-16 (little-endian
// unless "UTF-16BE"; a byte-order mark is dropped); and the labels that the web reads as
// Windows-1252 ("ISO-8859-1", "latin1", "US-ASCII", "windows-1252" ...). An unknown set reads as
// UTF-8. The result is UTF-8; each invalid sequence becomes U+FFFD, NUL characters are kept.
std::string TextoResposta(std::string ACorpo, std::string_view ATipoConteudo);

}  // namespace tolvane
