#pragma once

#include <string>
#include <string_view>

namespace tolvane {

inline constexpr std::string_view kNomeArquivoRetorno = "RetornoClassTrib.json";

// The test query of the button "Testar Consulta": queries the classifications of CST "000" with
// the certificate ANomeCertificado (the combo box's text, as it is), saves the answer as
// "RetornoClassTrib.json" in APastaExecutavel (the running executable's folder, with or without
// its final separator) and returns the saved file's full path, for the message
// "Arquivo salvo em:\r\n" + path. Raises the query's errors (TConformidadeFacil) and the file's
// ("EFCreateError", "EWriteError"); after any failure an earlier answer file is unchanged.
std::string ExecutarConsultaTeste(const std::string& ANomeCertificado,
                                  const std::string& APastaExecutavel);

}  // namespace tolvane
