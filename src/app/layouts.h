#pragma once

#include <string_view>

#include "app/layout.h"

namespace tolvane {

// The designed layouts of the system's three windows.
const LayoutJanela& LayoutFrmPrincipal();
const LayoutJanela& LayoutFrmSobre();
const LayoutJanela& LayoutFrmMensagemConfirmarGenerica();

// The names of the controls that the forms reach, given here once for the layouts and the forms
// alike. A name the window does not have is a fault that the forms' tests report.
namespace frm_principal {
inline constexpr std::string_view kBitBtn1 = "BitBtn1";  // "&Minimizar"
inline constexpr std::string_view kBitBtn2 = "BitBtn2";  // "Testar Consulta"
inline constexpr std::string_view kCbListaCertificado = "cbListaCertificado";
inline constexpr std::string_view kPopupMenu1 = "PopupMenu1";  // the tray icon's menu
inline constexpr std::string_view kSobreotolvaneAssistente1 = "SobreotolvaneAssistente1";
inline constexpr std::string_view kSair1 = "Sair1";
}  // namespace frm_principal

namespace frm_sobre {
inline constexpr std::string_view kLblVersao = "lblVersao";
inline constexpr std::string_view kBtnFechar = "btnFechar";
}  // namespace frm_sobre

namespace frm_mensagem_confirmar_generica {
inline constexpr std::string_view kLblMensagem = "lblMensagem";
inline constexpr std::string_view kCkbConcordo = "ckbConcordo";
inline constexpr std::string_view kPanel1 = "Panel1";
inline constexpr std::string_view kBtnOk = "btnOk";
}  // namespace frm_mensagem_confirmar_generica

}  // namespace tolvane
