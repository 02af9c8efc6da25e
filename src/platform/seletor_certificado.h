#pragma once

#include <string>
#include <string_view>

namespace tolvane {

// The client-certificate selector of the HTTP request object, the part that is the same on every
// system: how the selector text reads and which certificate it chooses.

// The subject text of a selector "CURRENT_USER\MY\<text>", "<location>\<text>" or "<text>".
// Raises ErroOle ("EOleException") for a location or store other than the current user's
// personal store ("MY", also called "Personal"), letter case ignored.
std::string TextoAssuntoSeletor(const std::string& ASeletor);

// The matching rule: true when ATexto is empty, or when the certificate's subject (its attribute
// values joined by ", ") or its simple display name contains ATexto, letter case ignored (Unicode
// simple lower case; a byte of ill-formed UTF-8 matches only itself). The store takes the first
// certificate, in its order, that has a private key and matches.
bool CertificadoCorresponde(std::string_view AAssunto, std::string_view ANomeSimples,
                            std::string_view ATexto);

}  // namespace tolvane
