#include "classtrib/consulta_teste.h"

#include "classtrib/arquivo_retorno.h"
#include "classtrib/conformidade_facil.h"
#include "platform/nomes.h"

namespace tolvane {

std::string ExecutarConsultaTeste(const std::string& ANomeCertificado,
                                  const std::string& APastaExecutavel) {
  const TConformidadeFacil cliente(ANomeCertificado);
  const std::string resposta = cliente.ConsultarClassTribPorCst("000");
  std::string caminho = JuntarCaminho(APastaExecutavel, kNomeArquivoRetorno);
  SalvarArquivoRetorno(resposta, caminho);
  return caminho;
}

}  // namespace tolvane
