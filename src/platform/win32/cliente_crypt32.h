#pragma once

#include <memory>

#include "platform/win32/handle_unico.h"
#include "platform/win32/utf16.h"

// After windows.h, which utf16.h includes.
#include <wincrypt.h>

namespace tolvane {

// The functions of crypt32.dll (CryptoAPI) that the personal store, the HTTPS request and the
// check of an update's publisher call, each typed by its prototype in wincrypt.h and resolved
// once, when the library loads. Nothing links against crypt32.dll: it is not one of the libraries
// Windows always takes from its own folder, so an import would be looked for beside the program
// first, in the ERP's folder that every user may write to. Loaded from the system folder only
// (OrigemBiblioteca::Sistema).
struct ClienteCrypt32 {
  decltype(&::CertOpenSystemStoreA) CertOpenSystemStoreA = nullptr;
  decltype(&::CertOpenStore) CertOpenStore = nullptr;
  decltype(&::CertCloseStore) CertCloseStore = nullptr;
  decltype(&::CertEnumCertificatesInStore) CertEnumCertificatesInStore = nullptr;
  decltype(&::CertFindCertificateInStore) CertFindCertificateInStore = nullptr;
  decltype(&::CertGetNameStringA) CertGetNameStringA = nullptr;
  decltype(&::CertGetCertificateContextProperty) CertGetCertificateContextProperty = nullptr;
  decltype(&::CertVerifyTimeValidity) CertVerifyTimeValidity = nullptr;
  decltype(&::CertGetEnhancedKeyUsage) CertGetEnhancedKeyUsage = nullptr;
  decltype(&::CertDuplicateCertificateContext) CertDuplicateCertificateContext = nullptr;
  decltype(&::CertFreeCertificateContext) CertFreeCertificateContext = nullptr;
  // The publisher of a signed update (publicador.h).
  decltype(&::CertCreateCertificateContext) CertCreateCertificateContext = nullptr;
  decltype(&::CertComparePublicKeyInfo) CertComparePublicKeyInfo = nullptr;
  decltype(&::CertGetNameStringW) CertGetNameStringW = nullptr;
};

// crypt32.dll from the system folder, loaded on the first call and kept until the process ends.
// Throws Erro("EOSError", ...) naming the library and the reason when it cannot be loaded, or
// naming the function it lacks; a later call tries again.
const ClienteCrypt32& CarregarClienteCrypt32();

// A certificate store, closed (flags 0) when it goes.
inline void FecharRepositorio(HCERTSTORE A) noexcept {
  CarregarClienteCrypt32().CertCloseStore(A, 0);
}
using RepositorioPtr = HandleUnico<HCERTSTORE, FecharRepositorio>;

// A certificate context, freed when it goes.
inline void LiberarCertificado(PCCERT_CONTEXT A) noexcept {
  CarregarClienteCrypt32().CertFreeCertificateContext(A);
}
using CertificadoPtr = HandleUnico<PCCERT_CONTEXT, LiberarCertificado>;

}  // namespace tolvane
