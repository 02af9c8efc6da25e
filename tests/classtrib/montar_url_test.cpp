#include <gtest/gtest.h>

#include "classtrib/conformidade_facil.h"
#include "comum/variavel_ambiente.h"

namespace tolvane {

// Reaches the client's private parts for the tests.
class TConformidadeFacilTeste {
 public:
  static std::string MontarUrl(const TConformidadeFacil& ACliente, const std::string& ACst,
                               const std::string& ANomeCst) {
    return ACliente.MontarUrl(ACst, ANomeCst);
  }
  static const std::string& Certificado(const TConformidadeFacil& A) { return A.FCertificado; }
  static const std::string& BaseUrl(const TConformidadeFacil& A) { return A.FBaseUrl; }
};

namespace {

using teste::VariavelAmbiente;

struct CasoUrl {
  const char* Rotulo;
  std::string Cst;
  std::string NomeCst;
  std::string Esperado;  // what follows FBaseUrl
};

const CasoUrl kCasosUrl[] = {
    {"CodigoSimples", "000", "", "/classTrib?Cst=000"},
    {"AmbosVazios", "", "", "/classTrib"},
    {"CodigoSoDeBrancos", "   ", "", "/classTrib"},
    {"CodigoSoDeControles", "\t\r\n\x01", "", "/classTrib"},
    {"NomeQuandoCodigoBranco", " ", "Tributação integral",
     "/classTrib?NomeCst=Tributa%C3%A7%C3%A3o%20integral"},
    {"CodigoTemPrecedencia", "200", "Alíquota reduzida", "/classTrib?Cst=200"},
    {"NomeSoDeBrancos", "", " \t ", "/classTrib"},
    {"BrancosDoCodigoMantidos", " 000 ", "", "/classTrib?Cst=%20000%20"},
    {"BrancosDoNomeMantidos", "", "\tIsenção ", "/classTrib?NomeCst=%09Isen%C3%A7%C3%A3o%20"},
    {"ReservadosCodificados", "", "a&b#c%d+e/f?g=h",
     "/classTrib?NomeCst=a%26b%23c%25d%2Be%2Ff%3Fg%3Dh"},
    {"NaoReservadosMantidos", "AZaz09-._~", "", "/classTrib?Cst=AZaz09-._~"},
    {"EspacoInseparavelNaoEhBranco", "\xC2\xA0", "", "/classTrib?Cst=%C2%A0"},
};

class MontarUrl : public testing::TestWithParam<CasoUrl> {};

TEST_P(MontarUrl, QueryUrl) {
  const VariavelAmbiente url("TOLVANE_CLASSTRIB_URL", std::nullopt);
  const TConformidadeFacil cliente("Certificado");
  EXPECT_EQ(TConformidadeFacilTeste::MontarUrl(cliente, GetParam().Cst, GetParam().NomeCst),
            "https://cff.svrs.rs.gov.br/api/v1/consultas" + GetParam().Esperado);
}

INSTANTIATE_TEST_SUITE_P(Tabela, MontarUrl, testing::ValuesIn(kCasosUrl),
                         [](const auto& AInfo) { return std::string(AInfo.param.Rotulo); });

TEST(TConformidadeFacil, CreateKeepsTheSelectorAndTakesTheBaseFromTheEnvironment) {
  {
    const VariavelAmbiente url("TOLVANE_CLASSTRIB_URL", std::nullopt);
    const TConformidadeFacil cliente(" Empresa\\Filial ");
    EXPECT_EQ(TConformidadeFacilTeste::Certificado(cliente), "CURRENT_USER\\MY\\ Empresa\\Filial ");
    EXPECT_EQ(TConformidadeFacilTeste::BaseUrl(cliente), std::string(kBaseUrlConformidadeFacil));
  }
  {
    const VariavelAmbiente url("TOLVANE_CLASSTRIB_URL", "https://127.0.0.1:8443/api/v1/consultas");
    const TConformidadeFacil cliente("");
    EXPECT_EQ(TConformidadeFacilTeste::Certificado(cliente), "CURRENT_USER\\MY\\");
    EXPECT_EQ(TConformidadeFacilTeste::MontarUrl(cliente, "000", ""),
              "https://127.0.0.1:8443/api/v1/consultas/classTrib?Cst=000");
  }
  {
    const VariavelAmbiente url("TOLVANE_CLASSTRIB_URL", "");
    EXPECT_EQ(TConformidadeFacilTeste::BaseUrl(TConformidadeFacil("x")),
              std::string(kBaseUrlConformidadeFacil));
  }
}

}  // namespace
}  // namespace tolvane
