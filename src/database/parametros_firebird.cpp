#include "database/parametros_firebird.h"

#include <ibase.h>

#include "core/erro.h"
#include "platform/codificacao.h"

namespace tolvane {

std::string MontarDpb(const std::vector<std::string>& AParametros) {
  std::string dpb(1, static_cast<char>(isc_dpb_version1));
  for (const std::string& parametro : AParametros) {
    const std::size_t igual = parametro.find('=');
    const std::string nome = parametro.substr(0, igual);
    char item = 0;
    if (nome == "user_name")
      item = isc_dpb_user_name;
    else if (nome == "password")
      item = isc_dpb_password;
    else
      throw ErroClienteInterBase("DPB Constant (" + nome + ") is unknown");
    const std::string valor =
        ParaAnsi(igual == std::string::npos ? std::string() : parametro.substr(igual + 1));
    if (valor.size() > 255)
      throw ErroClienteInterBase("DPB Constant (" + nome + ") value is too long");
    dpb += item;
    dpb += static_cast<char>(valor.size());
    dpb += valor;
  }
  return dpb;
}

std::string MontarTpb(const std::vector<std::string>& AParametros) {
  std::string tpb(1, static_cast<char>(isc_tpb_version3));
  for (const std::string& nome : AParametros) {
    if (nome == "read_committed")
      tpb += static_cast<char>(isc_tpb_read_committed);
    else if (nome == "rec_version")
      tpb += static_cast<char>(isc_tpb_rec_version);
    else if (nome == "nowait")
      tpb += static_cast<char>(isc_tpb_nowait);
    else
      throw ErroClienteInterBase("TPB Constant (" + nome + ") is unknown");
  }
  return tpb;
}

}  // namespace tolvane
