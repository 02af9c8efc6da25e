#include "platform/substituicao_arquivo.h"

#include <algorithm>
#include <memory>
#include <random>

#include "core/erro.h"
#include "platform/erro_sistema.h"
#include "platform/win32/utf16.h"

namespace tolvane {

namespace {

struct FechaHandle {
  void operator()(HANDLE A) const { CloseHandle(A); }
};
using HandlePtr = std::unique_ptr<std::remove_pointer_t<HANDLE>, FechaHandle>;

// The temporary file is deleted unless it has been moved into place.
class ArquivoTemporario {
 public:
  ArquivoTemporario() = default;
  ~ArquivoTemporario() {
    if (!FCaminho.empty()) DeleteFileW(FCaminho.c_str());
  }
  ArquivoTemporario(const ArquivoTemporario&) = delete;
  ArquivoTemporario& operator=(const ArquivoTemporario&) = delete;

  void Definir(std::wstring ACaminho) { FCaminho = std::move(ACaminho); }
  const std::wstring& Caminho() const { return FCaminho; }
  void Entregue() { FCaminho.clear(); }

 private:
  std::wstring FCaminho;
};

Erro ErroCriacao(const std::string& ACaminho, DWORD ACodigo) {
  return ErroCriacaoArquivo(ACaminho, TextoErroSistema(static_cast<int>(ACodigo)));
}

}  // namespace

// Any file can be started by its name on Windows: AExecutavel changes nothing there.
void SubstituirArquivo(const std::string& ACaminho, std::string_view AConteudo, bool) {
  std::random_device aleatorio;
  ArquivoTemporario temporario;
  HandlePtr arquivo;
  for (int tentativa = 0;; ++tentativa) {
    std::wstring nome = ParaUtf16(NomeTemporarioAoLado(ACaminho, aleatorio()));
    // CREATE_NEW: a file already at that name is never written through.
    const HANDLE h = CreateFileW(nome.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h != INVALID_HANDLE_VALUE) {
      arquivo.reset(h);
      temporario.Definir(std::move(nome));
      break;
    }
    const DWORD e = GetLastError();
    if (e != ERROR_FILE_EXISTS || tentativa == 99) throw ErroCriacao(ACaminho, e);
  }

  const char* dados = AConteudo.data();
  std::size_t resta = AConteudo.size();
  while (resta > 0) {
    DWORD escritos = 0;
    const auto bloco = static_cast<DWORD>(std::min<std::size_t>(resta, 1 << 20));
    if (!WriteFile(arquivo.get(), dados, bloco, &escritos, nullptr) || escritos == 0)
      throw ErroEscritaFluxo();
    dados += escritos;
    resta -= escritos;
  }
  if (!FlushFileBuffers(arquivo.get()) || !CloseHandle(arquivo.release())) throw ErroEscritaFluxo();
  if (!MoveFileExW(temporario.Caminho().c_str(), ParaUtf16(ACaminho).c_str(),
                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    throw ErroCriacao(ACaminho, GetLastError());
  temporario.Entregue();
}

}  // namespace tolvane
