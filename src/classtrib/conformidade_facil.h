#pragma once

#include <string>
#include <string_view>

namespace tolvane {

// The service's base address. TOLVANE_CLASSTRIB_URL, when set and not empty, takes its place (a
// test or staging server, e.g. "https://127.0.0.1:8443/api/v1/consultas").
inline constexpr std::string_view kBaseUrlConformidadeFacil =
    "https://cff.svrs.rs.gov.br/api/v1/consultas";

// Client of the tax administration's tax-classification consultation service ("API Conformidade
// Fácil"). Each query is one HTTPS GET of the resource "/classTrib" with the header Accept
// "application/json" and the client certificate named at creation; the answer, a JSON document,
// is returned as text without any parsing. Failures raise tolvane::Erro:
//  - transport (connection, TLS, client certificate, time-out, an answer over 64 MiB): "Erro ao
//    consultar API Conformidade Fácil: " followed by the transport's message;
//  - any status other than 200 (other 2xx included): "Erro HTTP <status>: <the whole body>".
class TConformidadeFacil {
 public:
  // Create: the selector "CURRENT_USER\MY\" + ANomeCertificado, unchanged, and the base address.
  // Contacts nothing.
  explicit TConformidadeFacil(const std::string& ANomeCertificado);

  // All classifications: the bare "/classTrib" resource.
  std::string ConsultarClassTrib() const;
  // Classifications for a CST code ("000"): "?Cst=<code>", or the bare resource when the code
  // is blank.
  std::string ConsultarClassTribPorCst(const std::string& ACst) const;
  // Classifications by CST name: "?NomeCst=<name>", or the bare resource when the name is blank.
  std::string ConsultarClassTribPorNomeCst(const std::string& ANomeCst) const;

 private:
  friend class TConformidadeFacilTeste;

  // The request URL: FBaseUrl + "/classTrib", then "?Cst=" + the code when the code is not
  // blank, else "?NomeCst=" + the name when the name is not blank. Blank: nothing left after
  // removing the characters of code 32 or lower at both ends; the value sent is the argument
  // itself (its blanks kept), percent-encoded as UTF-8 with RFC 3986's unreserved characters
  // (letters, digits, "-", ".", "_", "~") left as they are.
  std::string MontarUrl(const std::string& ACst, const std::string& ANomeCst) const;
  std::string Consultar(const std::string& AUrl) const;

  std::string FCertificado;
  std::string FBaseUrl;
};

}  // namespace tolvane
