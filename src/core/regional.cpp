#include "core/regional.h"

#include <cctype>
#include <cstdio>
#include <optional>

#include "core/erro.h"
#include "core/texto.h"

// The C library's strftime and strptime are not used: the Windows build has no strptime, and
// the text must read back exactly as it was written, with the names and designators of the
// settings in hand rather than those of the process locale.

namespace tolvane {

namespace {

struct Conversao {
  std::size_t Inicio = 0;  // offset of "%"
  std::size_t Fim = 0;     // offset after the conversion letter
  char Letra = 0;
  bool SemPreenchimento = false;
};

// Next conversion at or after APos, flags and the E/O modifiers skipped.
std::optional<Conversao> ProximaConversao(std::string_view APadrao, std::size_t APos) {
  for (std::size_t i = APos; i < APadrao.size(); ++i) {
    if (APadrao[i] != '%') continue;
    Conversao c;
    c.Inicio = i;
    std::size_t j = i + 1;
    while (j < APadrao.size() && (APadrao[j] == '-' || APadrao[j] == '_' || APadrao[j] == '0' ||
                                  APadrao[j] == '^' || APadrao[j] == '#')) {
      if (APadrao[j] == '-' || APadrao[j] == '_') c.SemPreenchimento = true;
      ++j;
    }
    if (j < APadrao.size() && (APadrao[j] == 'E' || APadrao[j] == 'O')) ++j;
    if (j >= APadrao.size()) return std::nullopt;
    c.Letra = APadrao[j];
    c.Fim = j + 1;
    return c;
  }
  return std::nullopt;
}

// Composite conversions spelled out, so the rest deals with single fields only.
std::string ExpandirCompostos(std::string_view APadrao, std::string_view AFormatoAmPm) {
  std::string r;
  std::size_t pos = 0;
  while (auto c = ProximaConversao(APadrao, pos)) {
    r.append(APadrao.substr(pos, c->Inicio - pos));
    switch (c->Letra) {
      case 'D':
        r += "%m/%d/%y";
        break;
      case 'F':
        r += "%Y-%m-%d";
        break;
      case 'T':
        r += "%H:%M:%S";
        break;
      case 'R':
        r += "%H:%M";
        break;
      case 'r':
        r += AFormatoAmPm.empty() ? std::string("%I:%M:%S %p") : std::string(AFormatoAmPm);
        break;
      default:
        r.append(APadrao.substr(c->Inicio, c->Fim - c->Inicio));
    }
    pos = c->Fim;
  }
  r.append(APadrao.substr(pos));
  return r;
}

std::string Numero(int AValor, int ALargura, bool ASemPreenchimento) {
  char buf[16];
  if (ASemPreenchimento)
    std::snprintf(buf, sizeof buf, "%d", AValor);
  else
    std::snprintf(buf, sizeof buf, "%0*d", ALargura, AValor);
  return buf;
}

// Day of the week, 0 = Sunday (Sakamoto's method).
int DiaDaSemana(int y, int m, int d) {
  static constexpr int t[] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
  if (m < 3) y -= 1;
  return (y + y / 4 - y / 100 + y / 400 + t[m - 1] + d) % 7;
}

bool SoPontuacao(std::string_view ATexto) {
  if (ATexto.empty()) return false;
  for (char ch : ATexto)
    if (std::isalnum(static_cast<unsigned char>(ch)) || static_cast<unsigned char>(ch) >= 0x80 ||
        ch == ' ')
      return false;
  return true;
}

std::string Designador(const DataHora& AValor, const ConfiguracaoRegional& ACfg) {
  return AValor.Hora < 12 ? ACfg.Am : ACfg.Pm;
}

std::string HoraComDesignador(const DataHora& AValor, const ConfiguracaoRegional& ACfg,
                              bool ASegundos) {
  int hora = AValor.Hora;
  if (ACfg.Relogio12Horas) {
    hora %= 12;
    if (hora == 0) hora = 12;
  }
  std::string t =
      Numero(hora, 2, !ACfg.HoraComZero) + ACfg.SeparadorHora + Numero(AValor.Minuto, 2, false);
  if (ASegundos) t += ACfg.SeparadorHora + Numero(AValor.Segundo, 2, false);
  if (!ACfg.Relogio12Horas) return t;
  const std::string designador = Designador(AValor, ACfg);
  if (designador.empty()) return t;
  return ACfg.DesignadorAntes ? designador + " " + t : t + " " + designador;
}

// A reader over the text, matching one pattern piece at a time.
class Leitor {
 public:
  explicit Leitor(std::string_view ATexto) : FTexto(ATexto) {}

  bool Fim() const { return FPos == FTexto.size(); }

  bool Literal(std::string_view ALiteral) {
    for (char ch : ALiteral) {
      if (ch == ' ') {  // a blank in the pattern takes any run of blanks
        if (FPos >= FTexto.size() || FTexto[FPos] != ' ') return false;
        while (FPos < FTexto.size() && FTexto[FPos] == ' ') ++FPos;
        continue;
      }
      if (FPos >= FTexto.size() || FTexto[FPos] != ch) return false;
      ++FPos;
    }
    return true;
  }

  std::optional<int> Inteiro(int AMaxDigitos) {
    while (FPos < FTexto.size() && FTexto[FPos] == ' ') ++FPos;
    int valor = 0;
    int n = 0;
    while (n < AMaxDigitos && FPos < FTexto.size() &&
           std::isdigit(static_cast<unsigned char>(FTexto[FPos]))) {
      valor = valor * 10 + (FTexto[FPos] - '0');
      ++FPos;
      ++n;
    }
    if (n == 0) return std::nullopt;
    return valor;
  }

  // Index of the longest name that stands here, letter case of ASCII letters ignored.
  template <std::size_t N>
  std::optional<int> Nome(const std::array<std::string, N>& ANomes) {
    std::optional<int> achado;
    std::size_t melhor = 0;
    for (std::size_t k = 0; k < N; ++k) {
      const auto& nome = ANomes[k];
      if (nome.empty() || nome.size() <= melhor || FPos + nome.size() > FTexto.size()) continue;
      if (IguaisSemCaixaAscii(FTexto.substr(FPos, nome.size()), nome)) {
        achado = static_cast<int>(k);
        melhor = nome.size();
      }
    }
    if (achado) FPos += melhor;
    return achado;
  }

 private:
  std::string_view FTexto;
  std::size_t FPos = 0;
};

bool LerData(Leitor& ALeitor, const ConfiguracaoRegional& ACfg, DataHora& AValor) {
  const std::string_view padrao = ACfg.FormatoData;
  std::size_t pos = 0;
  while (auto c = ProximaConversao(padrao, pos)) {
    if (!ALeitor.Literal(padrao.substr(pos, c->Inicio - pos))) return false;
    std::optional<int> v;
    switch (c->Letra) {
      case 'd':
      case 'e':
        if (!(v = ALeitor.Inteiro(2))) return false;
        AValor.Dia = *v;
        break;
      case 'm':
        if (!(v = ALeitor.Inteiro(2))) return false;
        AValor.Mes = *v;
        break;
      case 'Y':
        if (!(v = ALeitor.Inteiro(4))) return false;
        AValor.Ano = *v;
        break;
      case 'y':
        if (!(v = ALeitor.Inteiro(2))) return false;
        AValor.Ano = *v < 69 ? 2000 + *v : 1900 + *v;
        break;
      case 'B':
        if (!(v = ALeitor.Nome(ACfg.NomesMeses))) return false;
        AValor.Mes = *v + 1;
        break;
      case 'b':
      case 'h':
        if (!(v = ALeitor.Nome(ACfg.NomesMesesAbreviados))) return false;
        AValor.Mes = *v + 1;
        break;
      case 'A':
        if (!ALeitor.Nome(ACfg.NomesDias)) return false;
        break;
      case 'a':
        if (!ALeitor.Nome(ACfg.NomesDiasAbreviados)) return false;
        break;
      case '%':
        if (!ALeitor.Literal("%")) return false;
        break;
      default:
        if (!ALeitor.Literal(padrao.substr(c->Inicio, c->Fim - c->Inicio))) return false;
    }
    pos = c->Fim;
  }
  return ALeitor.Literal(padrao.substr(pos));
}

bool LerDesignador(Leitor& ALeitor, const ConfiguracaoRegional& ACfg, std::optional<bool>& APm) {
  const std::array<std::string, 2> nomes{ACfg.Am, ACfg.Pm};
  auto v = ALeitor.Nome(nomes);
  if (!v) return false;
  APm = *v == 1;
  return true;
}

bool LerHora(Leitor& ALeitor, const ConfiguracaoRegional& ACfg, DataHora& AValor) {
  const bool comDesignador = ACfg.Relogio12Horas && !(ACfg.Am.empty() && ACfg.Pm.empty());
  std::optional<bool> pm;
  if (comDesignador && ACfg.DesignadorAntes &&
      !(LerDesignador(ALeitor, ACfg, pm) && ALeitor.Literal(" ")))
    return false;
  auto hora = ALeitor.Inteiro(2);
  if (!hora || !ALeitor.Literal(ACfg.SeparadorHora)) return false;
  auto minuto = ALeitor.Inteiro(2);
  if (!minuto) return false;
  int segundo = 0;
  if (ACfg.ComSegundos) {
    if (!ALeitor.Literal(ACfg.SeparadorHora)) return false;
    auto s = ALeitor.Inteiro(2);
    if (!s) return false;
    segundo = *s;
  }
  if (comDesignador && !ACfg.DesignadorAntes &&
      !(ALeitor.Literal(" ") && LerDesignador(ALeitor, ACfg, pm)))
    return false;
  int h = *hora;
  if (ACfg.Relogio12Horas) {
    if (h < 1 || h > 12) return false;
    h %= 12;
    if (pm.value_or(false)) h += 12;
  }
  AValor.Hora = h;
  AValor.Minuto = *minuto;
  AValor.Segundo = segundo;
  return true;
}

}  // namespace

ConfiguracaoRegional ConfiguracaoDePadroes(std::string_view AFormatoData,
                                           std::string_view AFormatoHora,
                                           std::string_view AFormatoHoraAmPm, std::string_view AAm,
                                           std::string_view APm) {
  ConfiguracaoRegional cfg;
  if (!AFormatoData.empty()) cfg.FormatoData = ExpandirCompostos(AFormatoData, AFormatoHoraAmPm);

  const std::string hora = ExpandirCompostos(
      AFormatoHora.empty() ? std::string_view("%H:%M:%S") : AFormatoHora, AFormatoHoraAmPm);
  std::optional<Conversao> convHora, convMinuto;
  bool designadorVisto = false;
  cfg.ComSegundos = false;
  std::size_t pos = 0;
  while (auto c = ProximaConversao(hora, pos)) {
    switch (c->Letra) {
      case 'H':
      case 'k':
      case 'I':
      case 'l':
        if (!convHora) {
          convHora = c;
          cfg.Relogio12Horas = c->Letra == 'I' || c->Letra == 'l';
          cfg.HoraComZero = !c->SemPreenchimento && (c->Letra == 'H' || c->Letra == 'I');
          cfg.DesignadorAntes = designadorVisto;
        }
        break;
      case 'M':
        if (!convMinuto) convMinuto = c;
        break;
      case 'S':
        cfg.ComSegundos = true;
        break;
      case 'p':
      case 'P':
        designadorVisto = true;
        break;
      default:
        break;
    }
    pos = c->Fim;
  }
  if (convHora && convMinuto && convMinuto->Inicio > convHora->Fim) {
    const auto separador =
        std::string_view(hora).substr(convHora->Fim, convMinuto->Inicio - convHora->Fim);
    // Settings whose fields carry words ("14시 37분") have no separator of their own.
    if (SoPontuacao(separador)) cfg.SeparadorHora = std::string(separador);
  }
  cfg.Am = std::string(AAm);
  cfg.Pm = std::string(APm);
  if (cfg.Relogio12Horas && cfg.Am.empty() && cfg.Pm.empty()) {
    cfg.Am = "AM";
    cfg.Pm = "PM";
  }
  return cfg;
}

std::string FormatarData(const DataHora& AValor, const ConfiguracaoRegional& ACfg) {
  const std::string_view padrao = ACfg.FormatoData;
  std::string r;
  std::size_t pos = 0;
  const auto nome = [](const std::string& ANome, int AIndice) {
    return ANome.empty() ? std::to_string(AIndice) : ANome;
  };
  while (auto c = ProximaConversao(padrao, pos)) {
    r.append(padrao.substr(pos, c->Inicio - pos));
    switch (c->Letra) {
      case 'd':
        r += Numero(AValor.Dia, 2, c->SemPreenchimento);
        break;
      case 'e':
        r += c->SemPreenchimento ? Numero(AValor.Dia, 1, true)
                                 : (AValor.Dia < 10 ? " " : "") + std::to_string(AValor.Dia);
        break;
      case 'm':
        r += Numero(AValor.Mes, 2, c->SemPreenchimento);
        break;
      case 'Y':
        r += Numero(AValor.Ano, 4, c->SemPreenchimento);
        break;
      case 'y':
        r += Numero(AValor.Ano % 100, 2, c->SemPreenchimento);
        break;
      case 'B':
        r += nome(ACfg.NomesMeses[AValor.Mes - 1], AValor.Mes);
        break;
      case 'b':
      case 'h':
        r += nome(ACfg.NomesMesesAbreviados[AValor.Mes - 1], AValor.Mes);
        break;
      case 'A':
        r += ACfg.NomesDias[DiaDaSemana(AValor.Ano, AValor.Mes, AValor.Dia)];
        break;
      case 'a':
        r += ACfg.NomesDiasAbreviados[DiaDaSemana(AValor.Ano, AValor.Mes, AValor.Dia)];
        break;
      case '%':
        r += '%';
        break;
      default:
        r.append(padrao.substr(c->Inicio, c->Fim - c->Inicio));
    }
    pos = c->Fim;
  }
  r.append(padrao.substr(pos));
  return r;
}

std::string FormatarHoraLonga(const DataHora& AValor, const ConfiguracaoRegional& ACfg) {
  return HoraComDesignador(AValor, ACfg, ACfg.ComSegundos);
}

std::string FormatarHoraMinutos(const DataHora& AValor, const ConfiguracaoRegional& ACfg) {
  return HoraComDesignador(AValor, ACfg, false);
}

std::string FormatarDataHoraGeral(const DataHora& AValor, const ConfiguracaoRegional& ACfg) {
  std::string r = FormatarData(AValor, ACfg);
  if (AValor.Hora != 0 || AValor.Minuto != 0 || AValor.Segundo != 0)
    r += " " + FormatarHoraLonga(AValor, ACfg);
  return r;
}

DataHora LerDataHoraGeral(std::string_view ATexto, const ConfiguracaoRegional& ACfg) {
  DataHora v;
  Leitor leitor(AparaControles(ATexto));
  bool ok = LerData(leitor, ACfg, v);
  if (ok && !leitor.Fim()) ok = leitor.Literal(" ") && LerHora(leitor, ACfg, v) && leitor.Fim();
  if (!ok || !EhDataHoraValida(v))
    throw ErroConversao("'" + std::string(ATexto) + "' is not a valid date and time");
  return v;
}

}  // namespace tolvane
