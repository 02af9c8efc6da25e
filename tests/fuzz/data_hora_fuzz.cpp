// The regional date-and-time reader of the update comparison, on any text and a few regional
// settings: it either refuses the text with the conversion error or gives a valid value that
// reads back to itself once written out again (the comparison relies on that).
#include <cstdint>
#include <string>
#include <string_view>

#include "core/data_hora.h"
#include "core/erro.h"
#include "core/regional.h"
#include "verificar.h"

namespace {

using tolvane::fuzz::Falhar;

tolvane::ConfiguracaoRegional Regional(const char* AData, const char* AHora, const char* AAmPm,
                                       const char* AAm, const char* APm) {
  auto cfg = tolvane::ConfiguracaoDePadroes(AData, AHora, AAmPm, AAm, APm);
  cfg.NomesMeses = {"janeiro", "fevereiro", "março",    "abril",   "maio",     "junho",
                    "julho",   "agosto",    "setembro", "outubro", "novembro", "dezembro"};
  cfg.NomesMesesAbreviados = {"jan", "fev", "mar", "abr", "mai", "jun",
                              "jul", "ago", "set", "out", "nov", "dez"};
  cfg.NomesDias = {"domingo", "segunda", "terça", "quarta", "quinta", "sexta", "sábado"};
  cfg.NomesDiasAbreviados = {"dom", "seg", "ter", "qua", "qui", "sex", "sáb"};
  return cfg;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* AData, std::size_t ATamanho) {
  static const tolvane::ConfiguracaoRegional kConfiguracoes[] = {
      Regional("%d/%m/%Y", "%T", "", "", ""),
      Regional("%m/%d/%Y", "%r", "%I:%M:%S %p", "AM", "PM"),
      Regional("%-d/%-m/%y", "%p %I:%M:%S %Z", "%p %I:%M:%S %Z", "manhã", "tarde"),
      Regional("%Y년 %m월 %d일", "%H시 %M분 %S초", "%p %I시 %M분 %S초", "오전", "오후"),
      Regional("%A %e %B %Y", "%k:%M:%S", "%k:%M:%S", "", ""),
      Regional("%d.%m.%Y", "%H:%M", "", "", ""),
  };
  const std::string_view texto(reinterpret_cast<const char*>(AData), ATamanho);
  for (const auto& cfg : kConfiguracoes) {
    tolvane::DataHora valor{};
    try {
      valor = tolvane::LerDataHoraGeral(texto, cfg);
    } catch (const tolvane::Erro& e) {
      if (e.Classe() != "EConvertError") Falhar("unexpected error kind", texto);
      continue;
    }
    if (!tolvane::EhDataHoraValida(valor)) Falhar("no real date and time", texto);
    const std::string escrito = tolvane::FormatarDataHoraGeral(valor, cfg);
    try {
      if (tolvane::LerDataHoraGeral(escrito, cfg) != valor) Falhar("reads back differently", texto);
    } catch (const tolvane::Erro&) {
      Falhar("its own text is refused", texto);
    }
  }
  return 0;
}
