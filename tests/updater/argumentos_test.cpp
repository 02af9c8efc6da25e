#include "updater/argumentos.h"

#include <gtest/gtest.h>

#include "comum/espera_teste.h"
#include "core/erro.h"
#include "platform/nomes.h"

namespace tolvane {
namespace {

struct Caso {
  const char* Rotulo;
  std::vector<std::string> Argumentos;
  // Expected folders and name, or (Falha not empty) a piece of the refusal's message.
  const char* PastaAtualizacao;
  const char* PastaExecutavel;
  const char* Nome;
  const char* Falha;
};

const Caso kCasos[] = {
    {"four_tokens_restore_blanks",
     {"@F1", "@M/srv/Sistema§Novo/Update", "@E/home/ana/Sistema§Novo", "@AtolvaneGestor"},
     "/srv/Sistema Novo/Update",
     "/home/ana/Sistema Novo",
     "tolvaneGestor",
     ""},
    {"windows_line",
     {"@F1 @MS:\\Sistema§Novo\\Update @EC:\\Sistema§Novo @Aprograma.exe"},
     "S:\\Sistema Novo\\Update",
     "C:\\Sistema Novo",
     "programa.exe",
     ""},
    {"line_name_with_blanks_stays_whole",
     {"@F1 @M/a @E/b @Ameu  programa"},
     "/a",
     "/b",
     "meu  programa",
     ""},
    {"line_extra_blanks_ignored", {"  @F1   @M/a  @E/b @Ax "}, "/a", "/b", "x", ""},
    {"line_unencoded_folder_kept_whole",
     {"@F1 @M/srv/Sistema Novo @E/b @Ax"},
     "/srv/Sistema Novo",
     "/b",
     "x",
     ""},
    {"tags_in_any_order", {"@Ax", "@E/b", "@M/a", "@F1"}, "/a", "/b", "x", ""},
    {"shell_text_quotes_and_accents_are_plain_text",
     {"@F1", "@M/srv/a\"b$(touch x)§ação'`id`", "@E/c;rm -rf ~", "@Aprog§2"},
     "/srv/a\"b$(touch x) ação'`id`",
     "/c;rm -rf ~",
     "prog§2",
     ""},
    {"no_arguments", {}, "", "", "", "Falta a etiqueta @F com o modo."},
    {"unknown_mode", {"@F2", "@M/a", "@E/b", "@Ax"}, "", "", "", "Modo desconhecido \"@F2\""},
    {"empty_mode", {"@F", "@M/a", "@E/b", "@Ax"}, "", "", "", "Modo desconhecido \"@F\""},
    {"missing_update_folder", {"@F1 @E/b @Ax"}, "", "", "", "Falta a etiqueta @M"},
    {"missing_executable_folder", {"@F1", "@M/a", "@Ax"}, "", "", "", "Falta a etiqueta @E"},
    {"missing_name", {"@F1", "@M/a", "@E/b"}, "", "", "", "Falta a etiqueta @A"},
    {"empty_name", {"@F1", "@M/a", "@E/b", "@A"}, "", "", "", "@A está sem o nome"},
    {"empty_folder", {"@F1", "@M", "@E/b", "@Ax"}, "", "", "", "@M está sem a pasta"},
    {"repeated_tag", {"@F1", "@M/a", "@M/b", "@E/b", "@Ax"}, "", "", "", "mais de uma vez"},
    {"unknown_tag", {"@F1", "@M/a", "@E/b", "@Ax", "@X1"}, "", "", "", "desconhecido \"@X1\""},
    {"text_without_tag", {"F1", "@M/a", "@E/b", "@Ax"}, "", "", "", "desconhecido \"F1\""},
    {"name_climbs_out", {"@F1", "@M/a", "@E/b", "@A../x"}, "", "", "", "separador de pastas"},
    {"name_with_folder", {"@F1 @M/a @E/b @Aa/b"}, "", "", "", "separador de pastas"},
    {"name_absolute", {"@F1", "@M/a", "@E/b", "@A/etc/passwd"}, "", "", "", "separador"},
    {"name_dot_dot", {"@F1", "@M/a", "@E/b", "@A.."}, "", "", "", "não é o nome de um arquivo"},
    {"name_dot", {"@F1", "@M/a", "@E/b", "@A."}, "", "", "", "não é o nome de um arquivo"},
    // A backslash separates folders only on Windows; on Linux it is a letter of a file name.
    {"name_with_backslash",
     {"@F1", "@M/a", "@E/b", "@Aa\\b"},
     "/a",
     "/b",
     "a\\b",
     kSeparador == '\\' ? "separador de pastas" : ""},
};

TEST(LerArgumentos, Table) {
  for (const auto& c : kCasos) {
    SCOPED_TRACE(c.Rotulo);
    if (*c.Falha) {
      {
        const Erro e = teste::ErroLancado([&] { LerArgumentos(c.Argumentos); }, "accepted");
        EXPECT_EQ(e.Classe(), "EParametro");
        EXPECT_NE(e.Mensagem().find(c.Falha), std::string::npos) << e.Mensagem();
      }
      continue;
    }
    try {
      const auto a = LerArgumentos(c.Argumentos);
      EXPECT_EQ(a.PastaAtualizacao, c.PastaAtualizacao);
      EXPECT_EQ(a.PastaExecutavel, c.PastaExecutavel);
      EXPECT_EQ(a.NomeExecutavel, c.Nome);
    } catch (const Erro& e) {
      ADD_FAILURE() << "refused: " << e.Mensagem();
    }
  }
}

}  // namespace
}  // namespace tolvane
