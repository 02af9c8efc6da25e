#include "platform/substituicao_executavel.h"

#include <vector>

#include "core/erro.h"
#include "platform/erro_sistema.h"
#include "platform/nomes.h"
#include "platform/textos_substituicao.h"
#include "platform/win32/arquivo_temporario.h"

namespace tolvane {

namespace {

namespace textos = textos_substituicao;

[[noreturn]] void Falhar(const std::string& AMensagem) { throw ErroSistemaComMensagem(AMensagem); }

std::string Causa(DWORD ACodigo) {
  const std::string texto = TextoErroSistema(static_cast<int>(ACodigo));
  return texto.empty() ? "erro " + std::to_string(ACodigo) : texto;
}

bool SemEspaco(DWORD ACodigo) {
  return ACodigo == ERROR_DISK_FULL || ACodigo == ERROR_HANDLE_DISK_FULL;
}

bool MesmoConteudoProvavel(const BY_HANDLE_FILE_INFORMATION& A,
                           const BY_HANDLE_FILE_INFORMATION& B) {
  return A.nFileSizeHigh == B.nFileSizeHigh && A.nFileSizeLow == B.nFileSizeLow &&
         CompareFileTime(&A.ftLastWriteTime, &B.ftLastWriteTime) == 0;
}

// The source opened for reading, with its state; anything but a file on a disk is refused.
// Shared for reading only: a copy still being written on the server cannot be opened.
HandleKernelUnico AbrirOrigem(const std::string& AOrigem, BY_HANDLE_FILE_INFORMATION& AEstado) {
  const std::wstring origem = ParaUtf16(AOrigem);
  const DWORD atributos = GetFileAttributesW(origem.c_str());
  if (atributos == INVALID_FILE_ATTRIBUTES) {
    const DWORD e = GetLastError();
    if (e == ERROR_FILE_NOT_FOUND || e == ERROR_PATH_NOT_FOUND || e == ERROR_INVALID_NAME)
      Falhar(textos::OrigemAusente(AOrigem));
    Falhar(textos::OrigemIlegivel(AOrigem, Causa(e)));
  }
  if (atributos & FILE_ATTRIBUTE_DIRECTORY) Falhar(textos::OrigemPasta(AOrigem));
  HandleKernelUnico arquivo;
  const HANDLE h = CreateFileW(origem.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                               OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (h == INVALID_HANDLE_VALUE) Falhar(textos::OrigemIlegivel(AOrigem, Causa(GetLastError())));
  arquivo.reset(h);
  if (GetFileType(h) != FILE_TYPE_DISK || !GetFileInformationByHandle(h, &AEstado) ||
      (AEstado.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
    Falhar(textos::OrigemIrregular(AOrigem));
  return arquivo;
}

}  // namespace

void SubstituirExecutavel(const std::string& AOrigem, const std::string& APastaDestino,
                          const std::string& ANome, const ConferenciaCopia& AConferir) {
  BY_HANDLE_FILE_INFORMATION estado{};
  const HandleKernelUnico origem = AbrirOrigem(AOrigem, estado);

  const std::string destino = JuntarCaminho(APastaDestino, ANome);
  const DWORD pasta = GetFileAttributesW(ParaUtf16(APastaDestino).c_str());
  if (pasta == INVALID_FILE_ATTRIBUTES || !(pasta & FILE_ATTRIBUTE_DIRECTORY))
    Falhar(textos::PastaAusente(APastaDestino));
  const DWORD antigo = GetFileAttributesW(ParaUtf16(destino).c_str());
  if (antigo != INVALID_FILE_ATTRIBUTES && (antigo & FILE_ATTRIBUTE_DIRECTORY))
    Falhar(textos::DestinoPasta(destino));

  ArquivoTemporario copia;
  if (const DWORD e = copia.Criar(destino)) Falhar(textos::CopiaNaoCriada(APastaDestino, Causa(e)));

  std::vector<char> bloco(1 << 16);
  unsigned long long copiados = 0;
  for (;;) {
    DWORD lidos = 0;
    if (!ReadFile(origem.get(), bloco.data(), static_cast<DWORD>(bloco.size()), &lidos, nullptr))
      Falhar(textos::OrigemIlegivel(AOrigem, Causa(GetLastError())));
    if (lidos == 0) break;
    if (const DWORD e = copia.Gravar(bloco.data(), lidos)) {
      if (SemEspaco(e)) Falhar(textos::SemEspaco(APastaDestino));
      Falhar(textos::CopiaNaoGravada(APastaDestino, Causa(e)));
    }
    copiados += lidos;
  }
  BY_HANDLE_FILE_INFORMATION depois{};
  const unsigned long long tamanho =
      (static_cast<unsigned long long>(estado.nFileSizeHigh) << 32) | estado.nFileSizeLow;
  if (!GetFileInformationByHandle(origem.get(), &depois) ||
      !MesmoConteudoProvavel(estado, depois) || copiados != tamanho)
    Falhar(textos::OrigemMudou(AOrigem));

  // The server copy's times, so that the program's next comparison of the two copies finds them
  // equal.
  DWORD e = 0;
  if (!SetFileTime(copia.Handle(), nullptr, &estado.ftLastAccessTime, &estado.ftLastWriteTime))
    e = GetLastError();
  if (e == 0) e = copia.Fechar();
  if (e != 0) {
    if (SemEspaco(e)) Falhar(textos::SemEspaco(APastaDestino));
    Falhar(textos::CopiaNaoGravada(APastaDestino, Causa(e)));
  }
  if (AConferir) {
    const std::string recusa = AConferir(copia.Caminho());
    if (!recusa.empty()) Falhar(recusa);
  }
  if (const DWORD m = copia.ColocarNoLugar()) Falhar(textos::NaoSubstituido(destino, Causa(m)));
}

}  // namespace tolvane
