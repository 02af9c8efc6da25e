#pragma once

#include <chrono>
#include <ostream>
#include <string>
#include <vector>

#include "platform/publicador.h"

namespace tolvane {

// Exit codes of the updater.
inline constexpr int kSaidaAtualizado = 0;  // replaced, marker written, program started
inline constexpr int kSaidaFalhou = 1;      // nothing replaced; the old one started again
inline constexpr int kSaidaParametros = 2;  // command-line fault; nothing touched
inline constexpr int kSaidaIncompleta = 3;  // replaced, but the marker or the start failed

// How long the updater waits for the program that started it to end.
inline constexpr std::chrono::milliseconds kLimiteEspera = std::chrono::seconds(30);

// The updater's whole run for the arguments of its command line (see LerArgumentos): waits for
// the program to end, replaces "<@E>/<@A>" by "<@M>/<@A>" (SubstituirExecutavel), writes the update
// marker with the master folder of the hint in the update folder, makes the executable folder the
// current directory and starts the program from there, not waiting for it. Every failure and
// warning goes to AErros, one line each, beginning "tolvaneAtualizador: ". After a failed
// replacement the old executable, when there is one, is started again with the failure marker
// (NomeMarcadorFalha) beside it, or, when that cannot be written, with the reason in the
// environment variable kVariavelFalhaAtualizacao; the program then says why and goes on without
// handing over. Returns one of the exit codes above.
//
// When the updater has a publisher (AFonte, else its own signature: Publicador::DoProgramaAtual),
// the copy it has written is installed only when it carries that publisher's signature
// (Publicador::Verificar against the server copy, whose detached signature lies beside it);
// otherwise, or when the publisher cannot be read, nothing is replaced and the refusal goes the
// failed way above, its reason in the marker.
int ExecutarAtualizador(const std::vector<std::string>& AArgumentos, std::ostream& AErros,
                        std::chrono::milliseconds ALimiteEspera = kLimiteEspera,
                        const FontePublicador& AFonte = nullptr);

}  // namespace tolvane
