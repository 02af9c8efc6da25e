#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tolvane {

// The client-certificate selector of the HTTP request object, the part that is the same on every
// system: how the selector text reads and which certificate it chooses.

// The subject text of a selector "CURRENT_USER\MY\<text>", "<location>\<text>" or "<text>".
// Raises ErroOle ("EOleException") for a location or store other than the current user's
// personal store ("MY", also called "Personal"), letter case ignored.
std::string TextoAssuntoSeletor(const std::string& ASeletor);

// The matching rule: true when ATexto is empty, or when the certificate's subject (its attribute
// values joined by ", ") or its simple display name contains ATexto, letter case ignored (Unicode
// simple lower case; a byte of ill-formed UTF-8 matches only itself). Only a certificate with a
// private key can match; EscolherCertificado says which of those that match is presented.
bool CertificadoCorresponde(std::string_view AAssunto, std::string_view ANomeSimples,
                            std::string_view ATexto);

// What the choice weighs in a certificate of the store that has a private key and matches.
struct CandidatoCertificado {
  // The current time lies within the certificate's validity period.
  bool ValidoHoje = false;
  // The purposes listed by its Extended Key Usage extension, as object identifiers in dotted
  // form ("1.3.6.1.5.5.7.3.2"); no value when the certificate has no such extension. An
  // extension that cannot be read lists nothing.
  std::optional<std::vector<std::string>> UsosEstendidos;
};

// True when the certificate is valid today and may authenticate a client: it has no Extended
// Key Usage extension, or one that lists clientAuth or anyExtendedKeyUsage.
bool CandidatoPreferido(const CandidatoCertificado& ACandidato);

// Which of the matching certificates, given in the store's order, is presented: the first that
// CandidatoPreferido takes, else the first of all (a user who renewed a certificate keeps the
// expired one beside it, under the same name). No value for an empty list. A store may stop
// gathering candidates at the first preferred one: no later one is chosen.
std::optional<std::size_t> EscolherCertificado(std::span<const CandidatoCertificado> ACandidatos);

}  // namespace tolvane
