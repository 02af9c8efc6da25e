#include "gui/win32/aplicacao_win32.h"

#include <algorithm>
#include <cstdio>

#include "app/formulario.h"
#include "gui/win32/bandeja_win32.h"
#include "gui/win32/janela_win32.h"

namespace tolvane {

namespace {

// Runs the actions that Postar queued, one per message, after the messages already waiting.
constexpr UINT kMensagemPostada = WM_APP + 1;

}  // namespace

AplicacaoWin32::AplicacaoWin32(HINSTANCE AInstancia) : FInstancia(AInstancia) {
  INITCOMMONCONTROLSEX controles{sizeof controles, ICC_TAB_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controles);
  // Made here and not in Initialize: the single-instance guard's box, before Initialize, is
  // owned by it.
  const wchar_t* classe =
      ClasseJanela(ParaUtf16(kClasseJanelaAplicacao), ProcedimentoJanela<AplicacaoWin32>);
  // Zero size and never painted: it stands for the program on the taskbar only.
  FJanelaAplicacao.reset(CreateWindowExW(
      0, classe, L"", WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX,
      GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 0, 0, nullptr, nullptr,
      FInstancia, this));
  if (FJanelaAplicacao) {
    const auto icone = LoadIconW(FInstancia, MAKEINTRESOURCEW(1));
    SendMessageW(FJanelaAplicacao.get(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icone));
  }
}

AplicacaoWin32::~AplicacaoWin32() {
  // The windows go before the application window that owns them, COM after both.
  LiberarForms();
  FJanelaAplicacao.reset();
}

void AplicacaoWin32::Initialize() { FCom = std::make_unique<ApartamentoCom>(); }

const wchar_t* AplicacaoWin32::ClasseJanela(const std::wstring& ANome, WNDPROC AProcedimento) {
  const auto [it, nova] = FClasses.insert(ANome);
  if (nova) {
    WNDCLASSEXW classe{};
    classe.cbSize = sizeof classe;
    classe.lpfnWndProc = AProcedimento;
    classe.hInstance = FInstancia;
    classe.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW;
    classe.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    classe.lpszClassName = it->c_str();
    RegisterClassExW(&classe);
  }
  return it->c_str();
}

void AplicacaoWin32::DefinirTituloJanelaAplicacao(const std::string& ATitulo) {
  SetWindowTextW(FJanelaAplicacao.get(), ParaUtf16(ATitulo).c_str());
}

LRESULT AplicacaoWin32::Tratar(UINT AMensagem, WPARAM AW, LPARAM AL) {
  HWND janela = FJanelaAplicacao.get();
  switch (AMensagem) {
    case kMensagemPostada:
      ExecutarPostados();
      return 0;
    case WM_SYSCOMMAND:
      // The restore rule: the taskbar button's "Restore" brings the main window back. The
      // application window itself is restored first: minimised (Win+M, "Show the desktop"), it
      // would keep the program iconic on the taskbar under a visible main window.
      if ((AW & 0xFFF0) == SC_RESTORE) {
        DefWindowProcW(janela, AMensagem, AW, AL);
        RestaurarMainForm();
        return 0;
      }
      break;
    case WM_ACTIVATE:
      // The application window stands for the program: activating it (its taskbar button)
      // activates the window the user last worked in.
      if (LOWORD(AW) != WA_INACTIVE) {
        HWND ultima = GetLastActivePopup(janela);
        if (ultima && ultima != janela && IsWindowVisible(ultima) && IsWindowEnabled(ultima)) {
          SetActiveWindow(ultima);
          return 0;
        }
      }
      break;
    case WM_CLOSE:
      // "Close" on the taskbar button's menu closes the main window, which ends the program.
      if (MainForm())
        PostMessageW(static_cast<JanelaWin32&>(MainForm()->Window()).Handle(), WM_CLOSE, 0, 0);
      return 0;
    case WM_SETTINGCHANGE:
      // The regional settings are read at each use (platform/regional.h): a change announced here
      // is seen by the next version text or file date without more.
      break;
    default:
      break;
  }
  return DefWindowProcW(janela, AMensagem, AW, AL);
}

void AplicacaoWin32::Postar(std::function<void()> AAcao) {
  FPostados.push_back(std::move(AAcao));
  PostMessageW(FJanelaAplicacao.get(), kMensagemPostada, 0, 0);
}

void AplicacaoWin32::ExecutarPostados() {
  if (FPostados.empty()) return;
  std::function<void()> acao = std::move(FPostados.front());
  FPostados.pop_front();
  acao();
}

void AplicacaoWin32::Despachar(MSG& AMensagem) {
  // Tab, the arrows, Escape and the access keys inside the system's windows, as in a dialog.
  if (HWND raiz = AMensagem.hwnd ? GetAncestor(AMensagem.hwnd, GA_ROOT) : nullptr) {
    const bool nossa = std::any_of(FJanelas.begin(), FJanelas.end(),
                                   [&](const JanelaWin32* j) { return j->Handle() == raiz; });
    if (nossa && IsDialogMessageW(raiz, &AMensagem)) return;
  }
  TranslateMessage(&AMensagem);
  DispatchMessageW(&AMensagem);
}

void AplicacaoWin32::ProcessMessages() {
  MSG m;
  while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
    if (m.message == WM_QUIT) {
      FTerminated = true;
      continue;
    }
    Despachar(m);
  }
}

void AplicacaoWin32::ExecutarLaco() {
  while (!FTerminated) {
    MSG m;
    const BOOL r = GetMessageW(&m, nullptr, 0, 0);
    if (r == 0 || r == -1) {
      FTerminated = true;
      break;
    }
    Despachar(m);
  }
}

bool AplicacaoWin32::LacoModal(JanelaWin32& AJanela, const std::function<bool()>& AFechada) {
  // The other visible windows of the system take no input while this one is open; the tray
  // icon's window is not one of them, so the icon and its menu keep working.
  std::vector<HWND> desabilitadas;
  for (JanelaWin32* j : FJanelas)
    if (j != &AJanela && IsWindowVisible(j->Handle()) && IsWindowEnabled(j->Handle())) {
      EnableWindow(j->Handle(), FALSE);
      desabilitadas.push_back(j->Handle());
    }
  FModais.push_back(&AJanela);
  bool pedidoFim = false;
  while (!AFechada() && !FTerminated) {
    MSG m;
    const BOOL r = GetMessageW(&m, nullptr, 0, 0);
    if (r == 0 || r == -1) {
      FTerminated = true;
      pedidoFim = true;
      break;
    }
    Despachar(m);
  }
  FModais.erase(std::find(FModais.begin(), FModais.end(), &AJanela));
  // Enabled again before the modal window hides, so that the activation goes back to them.
  for (HWND h : desabilitadas)
    if (IsWindow(h)) EnableWindow(h, TRUE);
  // Windows' own modal loops around this one (a menu, a message box) end on the request too.
  if (pedidoFim) PostQuitMessage(0);
  return FTerminated;
}

HWND AplicacaoWin32::DonoModal() const {
  return FModais.empty() ? FJanelaAplicacao.get() : FModais.back()->Handle();
}

void AplicacaoWin32::Terminate() {
  // The request on the GUI thread's queue: the caller runs on to its end, and the loop that takes
  // it (a modal window's or Run's) stops.
  PostQuitMessage(0);
}

int AplicacaoWin32::MessageBox(const std::string& ATexto, const std::string& ACaption,
                               unsigned AFlags) {
  // Owned by the system's active window, else by the application window; the box disables its
  // owner while it is open and gives the focus back when it closes.
  HWND dono = GetActiveWindow();
  if (!dono) dono = FJanelaAplicacao.get();
  return MessageBoxW(dono, ParaUtf16(ATexto).c_str(), ParaUtf16(ACaption).c_str(), AFlags);
}

void AplicacaoWin32::EncerrarProcesso(int ACodigoSaida) {
  std::fflush(nullptr);
  ExitProcess(static_cast<UINT>(ACodigoSaida));
}

std::unique_ptr<Janela> AplicacaoWin32::CriarJanela(const LayoutJanela& ALayout,
                                                    EventosJanela& AEventos) {
  return std::make_unique<JanelaWin32>(*this, ALayout, AEventos);
}

std::unique_ptr<Bandeja> AplicacaoWin32::CriarBandeja(Janela& AJanela, std::string_view AMenu) {
  auto& janela = static_cast<JanelaWin32&>(AJanela);
  return std::make_unique<BandejaWin32>(*this, janela, janela.Menu(AMenu));
}

void AplicacaoWin32::Sleep(int AMilissegundos) {
  // What was painted before the wait must be on the screen during it.
  GdiFlush();
  ::Sleep(static_cast<DWORD>(AMilissegundos));
}

void AplicacaoWin32::Registrar(JanelaWin32& AJanela) { FJanelas.push_back(&AJanela); }

void AplicacaoWin32::Remover(JanelaWin32& AJanela) {
  std::erase(FJanelas, &AJanela);
  std::erase(FModais, &AJanela);
  AtualizarBotaoTarefas();
}

void AplicacaoWin32::AtualizarBotaoTarefas() {
  HWND app = FJanelaAplicacao.get();
  if (!app) return;
  const bool algumaVisivel = std::any_of(FJanelas.begin(), FJanelas.end(), [](const auto* j) {
    return IsWindowVisible(j->Handle()) != FALSE;
  });
  if (algumaVisivel != (IsWindowVisible(app) != FALSE))
    ShowWindow(app, algumaVisivel ? SW_SHOWNOACTIVATE : SW_HIDE);
}

}  // namespace tolvane
