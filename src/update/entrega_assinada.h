#pragma once

#include <string>

#include "platform/publicador.h"

namespace tolvane {

// What a program hands over to at an update: the updater to start, or why it does not hand over.
struct Entrega {
  std::string Atualizador;  // the file to start; empty when refused
  std::string Recusa;       // empty, or the reason: one Portuguese sentence naming the file
};

// A program without a publisher (AFonte, else Publicador::DoProgramaAtual) hands over to
// AAtualizador in the update folder, as it always did. A program with one hands over only when the
// server copy ACopiaServidor and the updater both carry its signature; the updater is first copied
// into a private folder (CopiarParaPastaPrivada) and the copy is checked and started, so nobody
// can change it between the check and the start. A refusal leaves no copy behind; a publisher
// that cannot be read, or a copy that cannot be made, is a refusal with that error's text.
Entrega PrepararEntrega(const FontePublicador& AFonte, const std::string& AAtualizador,
                        const std::string& ACopiaServidor);

}  // namespace tolvane
