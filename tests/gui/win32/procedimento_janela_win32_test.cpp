// An error that leaves a handler of a Win32 window: the window procedure shows it with the
// default error display (the title as caption, the error icon, the error's text with its final
// period), nothing crosses the procedure into the system's code, and the program goes on.
#include <windows.h>
#undef MessageBox

#include <gtest/gtest.h>

#include <functional>
#include <new>
#include <string>
#include <string_view>
#include <vector>

#include "app/janela.h"
#include "app/layouts.h"
#include "core/erro.h"
#include "core/texto.h"
#include "falha_alocacao.h"
#include "gui/win32/aplicacao_win32.h"
#include "gui/win32/janela_win32.h"
#include "gui/win32/procedimento_janela.h"
#include "gui/win32/texto_janela.h"

namespace tolvane {
namespace {

// A message box as the user saw it.
struct CaixaVista {
  std::wstring Titulo;
  std::wstring Texto;
  bool IconeErro = false;
};

// While it lives, each message box of this thread is read when it becomes active and closed with
// OK, as a user would; the box's modal loop takes the click, and the call that showed it returns.
class CaixasDaThread {
 public:
  CaixasDaThread() : FGancho(SetWindowsHookExW(WH_CBT, Gancho, nullptr, GetCurrentThreadId())) {
    FAtual = this;
  }
  ~CaixasDaThread() { FAtual = nullptr; }
  CaixasDaThread(const CaixasDaThread&) = delete;
  CaixasDaThread& operator=(const CaixasDaThread&) = delete;

  bool Observando() const { return FGancho != nullptr; }
  const std::vector<CaixaVista>& Vistas() const { return FVistas; }

 private:
  // Named CALLBACKs rather than lambdas: the 32-bit build's hooks and enumerators are stdcall.
  static LRESULT CALLBACK Gancho(int ACodigo, WPARAM AW, LPARAM AL) {
    HWND janela = reinterpret_cast<HWND>(AW);
    if (ACodigo == HCBT_ACTIVATE && FAtual && Classe(janela) == L"#32770") {
      CaixaVista vista{TextoJanela(janela), {}, false};
      EnumChildWindows(janela, LerFilho, reinterpret_cast<LPARAM>(&vista));
      FAtual->FVistas.push_back(vista);
      PostMessageW(janela, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    }
    return CallNextHookEx(nullptr, ACodigo, AW, AL);
  }

  // The box's icon and its text are its static controls.
  static BOOL CALLBACK LerFilho(HWND AFilho, LPARAM AL) {
    auto* vista = reinterpret_cast<CaixaVista*>(AL);
    if (Classe(AFilho) != L"Static") return TRUE;
    if ((GetWindowLongPtrW(AFilho, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
      vista->IconeErro = reinterpret_cast<HICON>(SendMessageW(AFilho, STM_GETICON, 0, 0)) ==
                         LoadIconW(nullptr, MAKEINTRESOURCEW(32513));  // IDI_ERROR
    else if (vista->Texto.empty())
      vista->Texto = TextoJanela(AFilho);
    return TRUE;
  }

  static std::wstring Classe(HWND AJanela) {
    wchar_t classe[64]{};
    GetClassNameW(AJanela, classe, 64);
    return classe;
  }

  static inline CaixasDaThread* FAtual = nullptr;
  HandleUnico<HHOOK, UnhookWindowsHookEx> FGancho;
  std::vector<CaixaVista> FVistas;
};

// A form that notes which of its controls were clicked.
struct Cliques : EventosJanela {
  std::vector<std::string> Controles;
  void Click(std::string_view AControle) noexcept override { Controles.emplace_back(AControle); }
  bool CloseQuery() noexcept override { return true; }
  void FormClose() noexcept override {}
};

// The device context of a window, released at the end.
struct ContextoJanela {
  HWND Janela;
  HDC Dc = GetDC(Janela);
  ~ContextoJanela() { ReleaseDC(Janela, Dc); }
};

TEST(ProcedimentoJanelaWin32, AnErrorLeavingAFormWindowsHandlerIsShownAndTheWindowGoesOn) {
  AplicacaoWin32 aplicacao(GetModuleHandleW(nullptr));
  aplicacao.Initialize();  // COM, for the pictures
  aplicacao.SetTitle("tolvane Gestor");
  Cliques eventos;
  const auto janela = aplicacao.CriarJanela(LayoutFrmSobre(), eventos);
  auto& win32 = static_cast<JanelaWin32&>(*janela);
  HWND h = win32.Handle();
  HWND rotulo = win32.JanelaControle("RxLabel1");  // drawn by the window: the shadowed title
  HWND botao = win32.JanelaControle("btnFechar");
  ASSERT_NE(h, nullptr);
  ASSERT_NE(rotulo, nullptr);
  ASSERT_NE(botao, nullptr);
  janela->Show();
  const ContextoJanela contexto{rotulo};
  DRAWITEMSTRUCT desenho{ODT_STATIC,
                         static_cast<UINT>(GetDlgCtrlID(rotulo)),
                         0,
                         ODA_DRAWENTIRE,
                         0,
                         rotulo,
                         contexto.Dc,
                         {},
                         0};
  GetClientRect(rotulo, &desenho.rcItem);
  const auto desenhar = [&] {
    return SendMessageW(h, WM_DRAWITEM, desenho.CtlID, reinterpret_cast<LPARAM>(&desenho));
  };

  CaixasDaThread caixas;
  ASSERT_TRUE(caixas.Observando());
  {
    // Memory runs out while the window draws the label.
    const teste::FalhaAlocacao falha;
    desenhar();
    ASSERT_TRUE(falha.Aconteceu()) << "the handler allocated nothing";
  }
  ASSERT_EQ(caixas.Vistas().size(), 1u) << "no box for the error";
  const CaixaVista& caixa = caixas.Vistas()[0];
  EXPECT_EQ(caixa.Titulo, L"tolvane Gestor");
  EXPECT_EQ(caixa.Texto, ParaUtf16(ComPontoFinal(std::bad_alloc().what())));
  EXPECT_TRUE(caixa.IconeErro);

  // The window goes on: the label is drawn, the button reaches the form.
  EXPECT_EQ(desenhar(), TRUE);
  SendMessageW(h, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(botao), BN_CLICKED),
               reinterpret_cast<LPARAM>(botao));
  EXPECT_EQ(eventos.Controles, std::vector<std::string>{"btnFechar"});
  EXPECT_EQ(caixas.Vistas().size(), 1u);
}

// A window of its own class on the frontend's one window procedure, as the tray icon's window
// and the application window are: the handler throws what it is given at kFalhar and answers
// kResposta to kResponder.
class JanelaQueFalha {
 public:
  static constexpr UINT kFalhar = WM_APP;
  static constexpr UINT kResponder = WM_APP + 1;
  static constexpr LRESULT kResposta = 7;

  JanelaQueFalha(AplicacaoWin32& AAplicacao, std::function<void()> AFalha)
      : FAplicacao(AAplicacao), FFalha(std::move(AFalha)) {
    const wchar_t* classe =
        AAplicacao.ClasseJanela(L"TJanelaQueFalha", ProcedimentoJanela<JanelaQueFalha>);
    FJanela.reset(CreateWindowExW(0, classe, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                  AAplicacao.Instancia(), this));
  }

  HWND Handle() const { return FJanela.get(); }
  LRESULT Tratar(UINT AMensagem, WPARAM AW, LPARAM AL) {
    if (AMensagem == kFalhar) FFalha();
    if (AMensagem == kResponder) return kResposta;
    return DefWindowProcW(FJanela.get(), AMensagem, AW, AL);
  }
  Aplicacao& AplicacaoDaJanela() { return FAplicacao; }

 private:
  AplicacaoWin32& FAplicacao;
  std::function<void()> FFalha;
  JanelaUnica FJanela;
};

TEST(ProcedimentoJanelaWin32, WhatLeavesAHandlerIsShownAndTheWindowGoesOn) {
  struct Caso {
    const char* Nome;
    std::function<void()> Falha;
    const wchar_t* Texto;
  };
  const Caso casos[] = {
      {"the system's error", [] { throw ErroGeral("Falha ao ler o arquivo"); },
       L"Falha ao ler o arquivo."},
      {"an exception of no standard type", [] { throw 42; }, L"Erro desconhecido."},
  };
  for (const Caso& caso : casos) {
    SCOPED_TRACE(caso.Nome);
    AplicacaoWin32 aplicacao(GetModuleHandleW(nullptr));
    aplicacao.SetTitle("tolvane Gestor");
    JanelaQueFalha janela(aplicacao, caso.Falha);
    HWND h = janela.Handle();
    ASSERT_NE(h, nullptr);
    CaixasDaThread caixas;
    ASSERT_TRUE(caixas.Observando());

    EXPECT_EQ(SendMessageW(h, JanelaQueFalha::kFalhar, 0, 0), 0);
    ASSERT_EQ(caixas.Vistas().size(), 1u) << "no box for the error";
    EXPECT_EQ(caixas.Vistas()[0].Titulo, L"tolvane Gestor");
    EXPECT_EQ(caixas.Vistas()[0].Texto, caso.Texto);
    EXPECT_TRUE(caixas.Vistas()[0].IconeErro);
    EXPECT_EQ(SendMessageW(h, JanelaQueFalha::kResponder, 0, 0), JanelaQueFalha::kResposta);
  }
}

}  // namespace
}  // namespace tolvane
