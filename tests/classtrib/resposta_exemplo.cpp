#include "classtrib/resposta_exemplo.h"

#include <iterator>

namespace tolvane::teste {

namespace {

struct Grupo {
  const char* Cst;
  const char* Descricao;
};

constexpr Grupo kGrupos[] = {
    {"000", "Tributação integral"},
    {"010", "Tributação com alíquotas uniformes - operações do setor financeiro"},
    {"011", "Tributação com alíquotas uniformes reduzidas"},
    {"200", "Alíquota reduzida"},
    {"210", "Alíquota reduzida com redutor de base de cálculo"},
    {"220", "Alíquota fixa"},
    {"221", "Alíquota fixa proporcional"},
    {"400", "Isenção"},
    {"410", "Imunidade e não incidência"},
    {"510", "Diferimento"},
    {"550", "Suspensão"},
    {"620", "Tributação monofásica"},
    {"800", "Transferência de crédito"},
    {"810", "Ajustes"},
    {"820", "Tributação em declaração de regime específico"},
};

constexpr const char* kDescricoes[] = {
    "Fornecimento de serviços de educação",
    "Dispositivos médicos e de acessibilidade próprios para pessoas com deficiência",
    "Produtos hortícolas, frutas e ovos",
    "Serviços de saúde humana",
    "Insumos agropecuários e aquícolas",
    "Produções artísticas, culturais, jornalísticas e audiovisuais nacionais",
    "Bens e serviços relacionados à soberania e à segurança nacional",
    "Alimentos destinados ao consumo humano",
    "Produtos de higiene pessoal e limpeza consumidos por famílias de baixa renda",
};

}  // namespace

std::string RespostaClassTribExemplo(std::size_t ATamanho) {
  constexpr std::size_t kTotalGrupos = std::size(kGrupos);
  std::string r = "[\r\n";
  std::size_t item = 0;
  for (std::size_t g = 0; g < kTotalGrupos; ++g) {
    const Grupo& grupo = kGrupos[g];
    r += "  {\r\n    \"CST\": \"";
    r += grupo.Cst;
    r += "\",\r\n    \"DescricaoCST\": \"";
    r += grupo.Descricao;
    r += "\",\r\n    \"IndIBSCBS\": true,\r\n    \"classificacoesTributarias\": [\r\n";
    const std::size_t limite = (g + 1) * ATamanho / kTotalGrupos;
    for (int k = 1; k == 1 || r.size() < limite; ++k, ++item) {
      if (k > 1) r += ",\r\n";
      std::string codigo = std::to_string(k);
      codigo = std::string(grupo.Cst) +
               std::string(3 - std::min<std::size_t>(3, codigo.size()), '0') + codigo;
      const bool reduzida = item % 3 == 0;
      r += "      {\r\n        \"cClassTrib\": \"" + codigo + "\",\r\n";
      r += "        \"DescricaoClassTrib\": \"";
      r += kDescricoes[item % std::size(kDescricoes)];
      r += "\",\r\n        \"pRedIBS\": ";
      r += reduzida ? "60.00" : "0.00";
      r += ",\r\n        \"pRedCBS\": ";
      r += reduzida ? "60.00" : "0.00";
      r += ",\r\n        \"IndTribRegular\": false,\r\n";
      r += "        \"LC214_2025\": \"Art. " + std::to_string(120 + item % 60) +
           ", § 1º, inciso II\",\r\n";
      r += "        \"dIniVig\": \"2026-01-01\",\r\n";
      r += "        \"Observacao\": \"Redação dada pela LC nº 214/2025.\\r\\nVer o anexo "
           "correspondente à operação.\"\r\n      }";
    }
    r += "\r\n    ]\r\n  }";
    r += g + 1 < kTotalGrupos ? ",\r\n" : "\r\n";
  }
  r += "]\r\n";
  return r;
}

}  // namespace tolvane::teste
