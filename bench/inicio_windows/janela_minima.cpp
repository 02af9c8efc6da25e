// The yardsticks of the Windows start-up benchmark: one window of the main window's size and
// place, its class registered and a message loop, and nothing else. With TOLVANE_BANCO_MINIMA set
// to a database name, the window first does the database work that tolvaneGestor.exe cannot avoid
// at its start, through the same gds32.dll: load the client, attach, the presence test of the
// parameter table's version column, commit. A failure ends the process with code 1 and no window.

#include <windows.h>

#include <ibase.h>

#include <string>
#include <vector>

namespace {

LRESULT CALLBACK Procedimento(HWND AJanela, UINT AMensagem, WPARAM AW, LPARAM AL) {
  if (AMensagem == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcW(AJanela, AMensagem, AW, AL);
}

template <typename F>
F Funcao(HMODULE ABiblioteca, const char* ANome) {
  return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(ABiblioteca, ANome)));
}

// The program's statement, blanks aside, and its connection and transaction parameters.
constexpr char kTestePresenca[] =
    "select r.* from RDB$RELATION_FIELDS r where r.RDB$RELATION_NAME = 'TAB_PARAMETRO' and "
    "r.RDB$FIELD_NAME = 'VERSAO_ERP'";
constexpr char kTpb[] = {isc_tpb_version3, isc_tpb_read_committed, isc_tpb_rec_version,
                         isc_tpb_nowait};

// The transaction existence block of isc_start_multiple, as the client library reads it.
struct BlocoTransacao {
  isc_db_handle* Banco;
  int TamanhoTpb;
  const char* Tpb;
};

bool TrabalhoBanco(const std::string& ABanco) {
  HMODULE gds = LoadLibraryW(L"gds32.dll");
  if (!gds) return false;
  const auto anexar = Funcao<decltype(&isc_attach_database)>(gds, "isc_attach_database");
  const auto iniciar = Funcao<decltype(&isc_start_multiple)>(gds, "isc_start_multiple");
  const auto alocar =
      Funcao<decltype(&isc_dsql_allocate_statement)>(gds, "isc_dsql_allocate_statement");
  const auto preparar = Funcao<decltype(&isc_dsql_prepare)>(gds, "isc_dsql_prepare");
  const auto descrever = Funcao<decltype(&isc_dsql_describe)>(gds, "isc_dsql_describe");
  const auto executar = Funcao<decltype(&isc_dsql_execute)>(gds, "isc_dsql_execute");
  const auto buscar = Funcao<decltype(&isc_dsql_fetch)>(gds, "isc_dsql_fetch");
  const auto liberar = Funcao<decltype(&isc_dsql_free_statement)>(gds, "isc_dsql_free_statement");
  const auto confirmar = Funcao<decltype(&isc_commit_transaction)>(gds, "isc_commit_transaction");
  if (!anexar || !iniciar || !alocar || !preparar || !descrever || !executar || !buscar ||
      !liberar || !confirmar)
    return false;

  const std::string dpb = std::string{isc_dpb_version1, isc_dpb_user_name, 6} + "sysdba" +
                          std::string{isc_dpb_password, 9} + "quelvorin";
  ISC_STATUS_ARRAY s;
  isc_db_handle banco = 0;
  isc_tr_handle transacao = 0;
  isc_stmt_handle comando = 0;
  BlocoTransacao bloco{&banco, sizeof kTpb, kTpb};
  if (anexar(s, 0, ABanco.c_str(), &banco, static_cast<short>(dpb.size()), dpb.data()) ||
      iniciar(s, &transacao, 1, &bloco) || alocar(s, &banco, &comando))
    return false;
  // Every column of the row, as the program's statement object fetches it.
  std::vector<char> memoria(XSQLDA_LENGTH(1));
  auto* saida = reinterpret_cast<XSQLDA*>(memoria.data());
  saida->version = SQLDA_VERSION1;
  saida->sqln = 1;
  if (preparar(s, &transacao, &comando, 0, kTestePresenca, SQL_DIALECT_V6, saida)) return false;
  if (saida->sqld > saida->sqln) {
    const short n = saida->sqld;
    memoria.assign(XSQLDA_LENGTH(n), 0);
    saida = reinterpret_cast<XSQLDA*>(memoria.data());
    saida->version = SQLDA_VERSION1;
    saida->sqln = n;
    if (descrever(s, &comando, SQL_DIALECT_V6, saida)) return false;
  }
  std::vector<std::vector<char>> dados(static_cast<std::size_t>(saida->sqld));
  std::vector<short> nulos(dados.size());
  for (std::size_t i = 0; i < dados.size(); ++i) {
    XSQLVAR& v = saida->sqlvar[i];
    dados[i].resize(static_cast<std::size_t>(v.sqllen) + 2);
    v.sqldata = dados[i].data();
    v.sqlind = &nulos[i];
  }
  if (executar(s, &transacao, &comando, SQL_DIALECT_V6, nullptr)) return false;
  while (buscar(s, &comando, SQL_DIALECT_V6, saida) == 0) {
  }
  return liberar(s, &comando, DSQL_drop) == 0 && confirmar(s, &transacao) == 0;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE AInstancia, HINSTANCE, PWSTR, int) {
  char banco[MAX_PATH * 2];
  const DWORD n = GetEnvironmentVariableA("TOLVANE_BANCO_MINIMA", banco, sizeof banco);
  if (n > 0 && n < sizeof banco && !TrabalhoBanco(banco)) return 1;
  WNDCLASSW classe{};
  classe.lpfnWndProc = Procedimento;
  classe.hInstance = AInstancia;
  classe.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  classe.lpszClassName = L"JanelaMinima";
  RegisterClassW(&classe);
  RECT r{0, 0, 540, 357};
  AdjustWindowRect(&r, WS_CAPTION | WS_SYSMENU, FALSE);
  HWND janela =
      CreateWindowExW(0, L"JanelaMinima", L"janela minima", WS_CAPTION | WS_SYSMENU, 764, 175,
                      r.right - r.left, r.bottom - r.top, nullptr, nullptr, AInstancia, nullptr);
  ShowWindow(janela, SW_SHOWNORMAL);
  MSG m;
  while (GetMessageW(&m, nullptr, 0, 0) > 0) {
    TranslateMessage(&m);
    DispatchMessageW(&m);
  }
  return 0;
}
