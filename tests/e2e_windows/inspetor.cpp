// The end-to-end tests' eyes and hands on the Windows desktop under Wine: a console program that
// lists what a user sees and acts as a user would, one command per run.
//   inspetor listar                every top-level window with its child controls, as JSON lines
//   inspetor clicar <hwnd>         a click on the button or check box (BN_CLICKED to its parent)
//   inspetor escolher <hwnd> <n>   item n of a combo box chosen, as the user picks it
//   inspetor fechar <hwnd>         the window's close box (WM_CLOSE)
//   inspetor restaurar <hwnd>      "Restore" on a taskbar button (WM_SYSCOMMAND SC_RESTORE)
//   inspetor menu <letra>          the item of the open pop-up menu with that access key
//   inspetor area <hwnd>           the work area of the window's screen, as a JSON list
//   inspetor hospedar <classe> <titulo> <segundos>
//                                  a hidden top-level window of that class and title, kept for
//                                  that long (another program's application window)
//   inspetor postar <hwnd> <mensagem> <wparam> <lparam>
//                                  a message posted to the window (numbers in decimal)
//   inspetor entrada               the foreground thread's input state, as a JSON line: its
//                                  foreground, active, focus and capture windows
// Handles are written and read in hexadecimal. Exit code 0 when the command was carried out.

#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

std::string Utf8(const std::wstring& ATexto) {
  if (ATexto.empty()) return {};
  const int n = WideCharToMultiByte(CP_UTF8, 0, ATexto.data(), static_cast<int>(ATexto.size()),
                                    nullptr, 0, nullptr, nullptr);
  std::string r(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, ATexto.data(), static_cast<int>(ATexto.size()), r.data(), n,
                      nullptr, nullptr);
  return r;
}

std::string Json(const std::wstring& ATexto) {
  std::string r = "\"";
  for (unsigned char c : Utf8(ATexto)) {
    if (c == '"' || c == '\\') {
      r += '\\';
      r += static_cast<char>(c);
    } else if (c < 0x20) {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\u%04x", c);
      r += buf;
    } else {
      r += static_cast<char>(c);
    }
  }
  return r + "\"";
}

std::wstring Classe(HWND AJanela);

// A question to a window of another process, given up after a moment when its program is busy
// (the notice's wait blocks it for seconds): -1 then.
LRESULT Perguntar(HWND AJanela, UINT AMensagem, WPARAM AW = 0, LPARAM AL = 0) {
  DWORD_PTR r = 0;
  if (!SendMessageTimeoutW(AJanela, AMensagem, AW, AL, SMTO_ABORTIFHUNG, 250, &r)) return -1;
  return static_cast<LRESULT>(r);
}

std::wstring Texto(HWND AJanela) {
  // The text the window system keeps for the window: it reads without asking the window, so a
  // window whose program is blocked (the notice's wait) still shows it. Edit fields and combo
  // boxes keep theirs inside: those are asked with WM_GETTEXT, which reaches other processes.
  const std::wstring classe = Classe(AJanela);
  if (classe == L"Edit" || classe == L"ComboBox") {
    const LRESULT n = Perguntar(AJanela, WM_GETTEXTLENGTH);
    if (n < 0) return {};
    std::wstring r(static_cast<std::size_t>(n) + 1, L'\0');
    const LRESULT lidos =
        Perguntar(AJanela, WM_GETTEXT, r.size(), reinterpret_cast<LPARAM>(r.data()));
    r.resize(static_cast<std::size_t>(lidos < 0 ? 0 : lidos));
    return r;
  }
  wchar_t buf[4096] = {};
  const int n = InternalGetWindowText(AJanela, buf, 4096);
  return std::wstring(buf, static_cast<std::size_t>(n > 0 ? n : 0));
}

std::wstring Classe(HWND AJanela) {
  wchar_t buf[256] = {};
  GetClassNameW(AJanela, buf, 256);
  return buf;
}

std::string Retangulo(const RECT& R) {
  char buf[96];
  std::snprintf(buf, sizeof buf, "[%ld,%ld,%ld,%ld]", R.left, R.top, R.right - R.left,
                R.bottom - R.top);
  return buf;
}

std::string Handle(HWND AJanela) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "\"%llx\"",
                static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(AJanela)));
  return buf;
}

// The items of a combo box or of a tab control, and which one is chosen.
std::string Itens(HWND AJanela, const std::wstring& AClasse) {
  std::string r;
  if (AClasse == L"ComboBox") {
    const auto n = Perguntar(AJanela, CB_GETCOUNT, 0, 0);
    r += ",\"itens\":[";
    for (LRESULT i = 0; i < n; ++i) {
      const auto tam = Perguntar(AJanela, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0);
      if (tam < 0) break;
      std::wstring item(static_cast<std::size_t>(tam) + 1, L'\0');
      Perguntar(AJanela, CB_GETLBTEXT, static_cast<WPARAM>(i),
                reinterpret_cast<LPARAM>(item.data()));
      item.resize(static_cast<std::size_t>(tam));
      r += (i ? "," : "") + Json(item);
    }
    r += "],\"escolhido\":" + std::to_string(Perguntar(AJanela, CB_GETCURSEL, 0, 0));
  } else if (AClasse == L"SysTabControl32") {
    // The tab texts live in the other process: only their count and the current one.
    r += ",\"paginas\":" + std::to_string(Perguntar(AJanela, 0x1304 /* TCM_GETITEMCOUNT */, 0, 0));
    r += ",\"escolhido\":" + std::to_string(Perguntar(AJanela, 0x130B /* TCM_GETCURSEL */, 0, 0));
  } else if (AClasse == L"Button") {
    r += ",\"marcado\":" + std::to_string(Perguntar(AJanela, BM_GETCHECK, 0, 0));
  }
  return r;
}

std::string Descrever(HWND AJanela) {
  const std::wstring classe = Classe(AJanela);
  RECT r{};
  GetWindowRect(AJanela, &r);
  DWORD pid = 0;
  GetWindowThreadProcessId(AJanela, &pid);
  std::string s = "{\"hwnd\":" + Handle(AJanela) + ",\"classe\":" + Json(classe) +
                  ",\"texto\":" + Json(Texto(AJanela)) + ",\"rect\":" + Retangulo(r) +
                  ",\"visivel\":" + (IsWindowVisible(AJanela) ? "true" : "false") +
                  ",\"habilitada\":" + (IsWindowEnabled(AJanela) ? "true" : "false") +
                  ",\"pid\":" + std::to_string(pid) +
                  ",\"id\":" + std::to_string(GetDlgCtrlID(AJanela)) +
                  ",\"pai\":" + Handle(GetParent(AJanela)) + Itens(AJanela, classe);
  return s;
}

BOOL CALLBACK ListarFilho(HWND AJanela, LPARAM AFilhos) {
  reinterpret_cast<std::vector<HWND>*>(AFilhos)->push_back(AJanela);
  return TRUE;
}

BOOL CALLBACK ListarTopo(HWND AJanela, LPARAM) {
  std::string linha = Descrever(AJanela);
  RECT cliente{};
  GetClientRect(AJanela, &cliente);
  linha += ",\"cliente\":" + Retangulo(cliente);
  linha += ",\"dono\":" + Handle(GetWindow(AJanela, GW_OWNER));
  linha += ",\"estilo\":" + std::to_string(GetWindowLongW(AJanela, GWL_STYLE));
  std::vector<HWND> filhos;
  EnumChildWindows(AJanela, ListarFilho, reinterpret_cast<LPARAM>(&filhos));
  linha += ",\"filhos\":[";
  for (std::size_t i = 0; i < filhos.size(); ++i)
    linha += (i ? "," : "") + Descrever(filhos[i]) + "}";
  linha += "]}";
  std::printf("%s\n", linha.c_str());
  return TRUE;
}

HWND LerHandle(const wchar_t* ATexto) {
  return reinterpret_cast<HWND>(static_cast<UINT_PTR>(std::wcstoull(ATexto, nullptr, 16)));
}

int Clicar(HWND ABotao) {
  if (!IsWindow(ABotao)) return 2;
  if ((GetWindowLongW(ABotao, GWL_STYLE) & 0x0F) == BS_AUTOCHECKBOX)
    SendMessageW(
        ABotao, BM_SETCHECK,
        SendMessageW(ABotao, BM_GETCHECK, 0, 0) == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED, 0);
  // Posted: the click may open a modal window, whose loop must not hold this program.
  return PostMessageW(GetParent(ABotao), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(ABotao), BN_CLICKED),
                      reinterpret_cast<LPARAM>(ABotao))
             ? 0
             : 1;
}

int Escolher(HWND ACombo, int AItem) {
  if (SendMessageW(ACombo, CB_SETCURSEL, static_cast<WPARAM>(AItem), 0) != AItem) return 1;
  PostMessageW(GetParent(ACombo), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(ACombo), CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(ACombo));
  return 0;
}

// The open pop-up menu's item whose access key is ALetra, typed as a user would. (The menu's
// items live in the other process: their texts cannot be read from here.)
int EscolherMenu(wchar_t ALetra) {
  HWND menu = FindWindowW(L"#32768", nullptr);
  if (!menu || !IsWindowVisible(menu)) return 2;
  PostMessageW(menu, WM_CHAR, ALetra, 0);
  return 0;
}

int Hospedar(const wchar_t* AClasse, const wchar_t* ATitulo, int ASegundos) {
  WNDCLASSW classe{};
  classe.lpfnWndProc = DefWindowProcW;
  classe.hInstance = GetModuleHandleW(nullptr);
  classe.lpszClassName = AClasse;
  if (!RegisterClassW(&classe)) return 1;
  HWND janela = CreateWindowExW(0, AClasse, ATitulo, WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                classe.hInstance, nullptr);
  if (!janela) return 1;
  std::printf("%llx\n", static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(janela)));
  std::fflush(stdout);
  const ULONGLONG fim = GetTickCount64() + static_cast<ULONGLONG>(ASegundos) * 1000;
  while (GetTickCount64() < fim) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
    MSG m;
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&m);
  }
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return 64;
  const std::wstring comando = argv[1];
  if (comando == L"listar") {
    EnumWindows(ListarTopo, 0);
    return 0;
  }
  if (comando == L"clicar" && argc == 3) return Clicar(LerHandle(argv[2]));
  if (comando == L"escolher" && argc == 4) return Escolher(LerHandle(argv[2]), _wtoi(argv[3]));
  if (comando == L"fechar" && argc == 3)
    return PostMessageW(LerHandle(argv[2]), WM_CLOSE, 0, 0) ? 0 : 1;
  if (comando == L"restaurar" && argc == 3)
    return PostMessageW(LerHandle(argv[2]), WM_SYSCOMMAND, SC_RESTORE, 0) ? 0 : 1;
  if (comando == L"menu" && argc == 3) return EscolherMenu(argv[2][0]);
  if (comando == L"area" && argc == 3) {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (!GetMonitorInfoW(MonitorFromWindow(LerHandle(argv[2]), MONITOR_DEFAULTTOPRIMARY), &monitor))
      return 1;
    std::printf("%s\n", Retangulo(monitor.rcWork).c_str());
    return 0;
  }
  if (comando == L"hospedar" && argc == 5) return Hospedar(argv[2], argv[3], _wtoi(argv[4]));
  if (comando == L"postar" && argc == 6)
    return PostMessageW(LerHandle(argv[2]), static_cast<UINT>(_wtoi(argv[3])),
                        static_cast<WPARAM>(_wtoi64(argv[4])),
                        static_cast<LPARAM>(_wtoi64(argv[5])))
               ? 0
               : 1;
  if (comando == L"entrada") {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(0, &info)) return 1;
    std::printf("{\"primeiro_plano\": %s, \"ativa\": %s, \"foco\": %s, \"captura\": %s}\n",
                Handle(GetForegroundWindow()).c_str(), Handle(info.hwndActive).c_str(),
                Handle(info.hwndFocus).c_str(), Handle(info.hwndCapture).c_str());
    return 0;
  }
  return 64;
}
