"""The self-update driven from outside: the notice and the hand-over to the updater, the failed
start of the updater, the post-update tasks, and the whole loop with the project's updater."""

import os
import re
import signal
import stat
import subprocess
import time
import unittest

from ambiente import Ambiente
from tela import Tela
from test_shell import janela_de_tamanho

# The workstation and the server lie under a folder with a blank and non-ASCII letters: the
# updater's arguments, the messages and the launcher carry them.
BASE = "Sistema Novo ção"
AVISO = "Aviso do Sistema"
REGUA = "---------------------------\n"


def processos_do_programa(exe):
    """Running processes of the executable (a zombie has no exe link and does not count)."""
    pids = []
    for nome in os.listdir("/proc"):
        if not nome.isdigit():
            continue
        try:
            alvo = os.readlink(f"/proc/{nome}/exe")
        except OSError:
            continue
        if alvo in (exe, exe + " (deleted)"):
            pids.append(int(nome))
    return pids


def tornar_mais_nova(caminho, referencia, conteudo=None):
    """Gives the server copy a time two minutes after the workstation's (and new bytes)."""
    if conteudo is not None:
        with open(caminho, "wb") as f:
            f.write(conteudo)
        os.chmod(caminho, 0o755)
    momento = os.stat(referencia).st_mtime_ns + 120 * 10**9
    os.utime(caminho, ns=(momento, momento))


class Atualizacao(unittest.TestCase):
    def setUp(self):
        self.tela = Tela()
        self.addCleanup(self.tela.fechar)

    def programa(self):
        p = Ambiente(self.tela, base=BASE)
        self.addCleanup(p.fechar)
        # Whatever the updater started again outlives the test's own child; it goes first.
        self.addCleanup(self.encerrar_restantes, os.path.realpath(p.exe))
        self.registro = os.path.join(p.temp.name, "saida.log")
        return p

    def encerrar_restantes(self, exe):
        for pid in processos_do_programa(exe):
            try:
                os.kill(pid, signal.SIGKILL)
            except ProcessLookupError:
                pass
        self.tela.esperar(lambda: not processos_do_programa(exe), "the program's processes to end",
                          10)

    def saida(self):
        with open(self.registro, encoding="utf-8", errors="replace") as f:
            return f.read()

    def aviso(self):
        return self.tela.esperar(lambda: janela_de_tamanho(self.tela, AVISO, 540, 80, externo=True),
                                 "the notice of a new version", 40)

    def janela_principal(self):
        return self.tela.esperar(
            lambda: janela_de_tamanho(self.tela, "tolvane Gestor", 540, 357), "the main window", 60)

    def test_new_version_shows_the_notice_then_starts_the_updater_and_ends_with_0(self):
        p = self.programa()
        # A stand-in updater: records when it ran, its directory and its arguments, one a line.
        registro = os.path.join(p.temp.name, "atualizador.txt")
        atualizador = os.path.join(p.update, "tolvaneAtualizador")
        with open(atualizador, "w", encoding="utf-8") as f:
            f.write("#!/bin/sh\n"
                    f"r='{registro}'\n"
                    '{ date +%s.%N; pwd -P; for a in "$@"; do printf "%s\\n" "$a"; done; }'
                    ' >"$r.tmp" && mv "$r.tmp" "$r"\n')
        os.chmod(atualizador, 0o755)
        tornar_mais_nova(p.copia_servidor, p.exe)

        inicio = time.time()
        p.iniciar(registro=self.registro)
        aviso = self.aviso()
        visto = time.monotonic()
        self.assertEqual(self.tela.moldura(aviso), (0, 0, 540, 80))
        # Its text is on the screen through the whole wait, early and late in it.
        x, y, largura, altura = self.tela.geometria(aviso)
        for momento in (0.5, 3.5):
            time.sleep(max(0.0, visto + momento - time.monotonic()))
            if self.tela.mapeada(aviso):
                self.assertGreater(self.tela.cores_na_area(x, y, largura, altura), 2,
                                   f"the notice is one flat colour {momento} s into the wait")
        self.tela.esperar(lambda: not self.tela.mapeada(aviso), "the notice to close", 40)
        print(f"\nthe notice was seen for {time.monotonic() - visto:.1f} s", flush=True)
        codigo, _, _ = p.esperar_fim(40)
        self.assertEqual(codigo, 0, self.saida())

        self.tela.esperar(lambda: os.path.exists(registro), "the stand-in updater's record")
        with open(registro, encoding="utf-8") as f:
            momento, pasta, *argumentos = f.read().splitlines()
        self.assertEqual(argumentos, [
            "@F1",
            "@M" + p.update.replace(" ", "§"),
            "@E" + os.path.realpath(p.estacao).replace(" ", "§"),
            "@AtolvaneGestor",
        ])
        self.assertEqual(pasta, os.path.realpath(p.temp.name))
        # The notice's five seconds lie between the start and the hand-over; a loaded machine
        # can only make that longer.
        self.assertGreaterEqual(float(momento) - inicio, 5.0)

    def test_updater_that_cannot_start_is_reported_and_ends_with_a_failure_code(self):
        p = self.programa()
        os.chmod(os.path.join(p.update, "tolvaneAtualizador"), 0o644)
        tornar_mais_nova(p.copia_servidor, p.exe)

        p.iniciar(registro=self.registro)
        aviso = self.aviso()
        self.tela.esperar(lambda: not self.tela.mapeada(aviso), "the notice to close", 40)
        caixa = self.tela.esperar(
            lambda: [j for j in self.tela.janelas(AVISO) if self.tela.moldura(j)[2:] != (540, 80)],
            "the message box", 20)[0]
        self.tela.texto_da_caixa(caixa)
        # Read as bytes: the carriage return between the sentences is part of the text.
        texto = subprocess.run(["xclip", "-selection", "clipboard", "-o"], env=self.tela.env(),
                               capture_output=True, timeout=30).stdout.decode("utf-8")
        self.assertEqual(texto, REGUA + AVISO + "\n" + REGUA +
                         "Falha na atualização do aplicativo. Não foi possível iniciar o arquivo "
                         f"tolvaneAtualizador na pasta {p.update}.\rO Sistema será finalizado.\n" +
                         REGUA + "OK   \n" + REGUA)
        self.tela.teclas(caixa, "Return")
        codigo, _, _ = p.esperar_fim()
        self.assertNotEqual(codigo, 0, self.saida())

    def test_update_marker_leaves_a_launcher_on_the_desktop_and_goes(self):
        p = self.programa()
        desktop = os.path.join(p.home, "Área de Trabalho")
        os.makedirs(desktop)
        os.makedirs(os.path.join(p.home, ".config"), exist_ok=True)
        p.escrever(os.path.join(p.home, ".config", "user-dirs.dirs"),
                   'XDG_DESKTOP_DIR="$HOME/Área de Trabalho"\n')
        lancador = os.path.join(desktop, "Novo tolvaneGestor.desktop")
        p.escrever(lancador, "an older launcher, replaced\n")
        marcadores = [os.path.join(p.estacao, n)
                      for n in ("Exec-tolvaneGestor.ini", "Exec-tolvaneGestor")]
        p.escrever(marcadores[0], "[configuracao]\r\npastamestre=\r\n")
        p.escrever(marcadores[1], "")

        p.iniciar()
        principal = self.janela_principal()
        with open(lancador, encoding="utf-8") as f:
            linhas = f.read().splitlines()
        self.assertIn("Type=Application", linhas)
        self.assertIn("Name=tolvaneGestor", linhas)
        # The path has a blank and no character to escape: it stands in quotes as it is.
        self.assertIn(f'Exec="{os.path.realpath(p.exe)}"', linhas)
        self.assertTrue(os.stat(lancador).st_mode & stat.S_IXUSR)
        r = subprocess.run(["desktop-file-validate", lancador], capture_output=True, text=True)
        self.assertEqual(r.returncode, 0, r.stdout + r.stderr)
        self.assertEqual([m for m in marcadores if os.path.exists(m)], [])
        self.assertTrue(p.vivo())
        self.assertTrue(self.tela.mapeada(principal))
        self.assertEqual(self.tela.janelas(AVISO), [])

    def test_whole_loop_with_the_updater_replaces_restarts_and_stops_there(self):
        p = self.programa()
        os.makedirs(p.desktop)
        exe = os.path.realpath(p.exe)
        with open(p.exe, "rb") as f:
            nova = f.read() + b"\0a newer release\n"
        tornar_mais_nova(p.copia_servidor, p.exe, nova)

        inicio = time.monotonic()
        p.iniciar(registro=self.registro)
        self.aviso()
        codigo, _, _ = p.esperar_fim(40)
        self.assertEqual(codigo, 0, self.saida())

        # The new start ends at its main window, or at a window "Aviso do Sistema": a second
        # notice (a second hand-over) or a message box.
        def principal_ou_aviso():
            avisos = self.tela.janelas(AVISO)
            if avisos:
                return avisos[0], True
            principal = janela_de_tamanho(self.tela, "tolvane Gestor", 540, 357)
            return (principal, False) if principal else None

        janela, aviso = self.tela.esperar(principal_ou_aviso, "the main window of the new start",
                                          60)
        if aviso:
            if self.tela.moldura(janela)[2:] == (540, 80):
                self.fail("the new start handed over again\n" + self.saida())
            self.fail("the new start stopped at a message:\n" + self.tela.texto_da_caixa(janela) +
                      self.saida())
        print(f"\nthe whole update loop took {time.monotonic() - inicio:.1f} s", flush=True)

        with open(p.exe, "rb") as f:
            self.assertTrue(f.read() == nova, "the executable was not replaced")
        self.assertEqual(os.stat(p.exe).st_mtime_ns, os.stat(p.copia_servidor).st_mtime_ns)
        self.assertTrue(os.path.exists(os.path.join(p.desktop, "Novo tolvaneGestor.desktop")))
        self.assertEqual([n for n in ("Exec-tolvaneGestor.ini", "Exec-tolvaneGestor")
                          if os.path.exists(os.path.join(p.estacao, n))], [])
        # One program runs on, the one that shows the window; nothing else is on the screen.
        self.assertEqual(len(processos_do_programa(exe)), 1, self.saida())
        self.assertEqual(self.tela.x("xdotool", "getwindowpid", str(janela)).strip(),
                         str(processos_do_programa(exe)[0]))
        self.assertTrue(self.tela.mapeada(janela))
        self.assertEqual(self.tela.janelas(AVISO), [])

    def caixa_de_falha(self):
        """The failure message of a restarted program: a window "Aviso do Sistema" that is not
        the notice."""
        return self.tela.esperar(
            lambda: [j for j in self.tela.janelas(AVISO) if self.tela.moldura(j)[2:] != (540, 80)],
            "the message of the restarted program", 90)[0]

    def test_update_the_updater_refuses_restarts_the_program_which_says_why_once(self):
        p = self.programa()
        exe = os.path.realpath(p.exe)
        with open(p.exe, "rb") as f:
            antiga = f.read()
        # The project's updater under a file-size limit below the release's size: its copy fails
        # half way, as on a full disk. The database and the lock files stay below the limit (the
        # restarted program inherits it), so the release is padded to twice the limit: a Release
        # build can be smaller than the database.
        limite = max(len(antiga) // 2, 2 * os.path.getsize(p.banco))
        nova = antiga + b"\0a newer release\n"
        tornar_mais_nova(p.copia_servidor, p.exe, nova + b"\0" * max(0, 2 * limite - len(nova)))
        atualizador = os.path.join(p.update, "tolvaneAtualizador")
        os.rename(atualizador, atualizador + ".real")
        with open(atualizador, "w", encoding="utf-8") as f:
            f.write(f"#!/bin/sh\ntrap '' XFSZ\nulimit -f {limite // 512}\n"
                    'exec "$0.real" "$@"\n')
        os.chmod(atualizador, 0o755)

        p.iniciar(registro=self.registro)
        self.aviso()
        codigo, _, _ = p.esperar_fim(40)
        self.assertEqual(codigo, 0, self.saida())

        caixa = self.caixa_de_falha()
        self.tela.texto_da_caixa(caixa)
        texto = subprocess.run(["xclip", "-selection", "clipboard", "-o"], env=self.tela.env(),
                               capture_output=True, timeout=30).stdout.decode("utf-8")
        estacao = os.path.realpath(p.estacao)
        self.assertRegex(texto, "^" + re.escape(
            REGUA + AVISO + "\n" + REGUA + "Falha na atualização do aplicativo. Não foi possível "
            f'gravar a nova cópia na pasta do executável "{estacao}": ') + "[^\r\n]+" +
            re.escape(".\rO Sistema continuará com a versão atual.\n" + REGUA + "OK   \n" +
                      REGUA) + "$")
        self.tela.teclas(caixa, "Return")
        principal = self.janela_principal()
        self.assertTrue(self.tela.mapeada(principal))
        self.assertEqual(self.tela.janelas(AVISO), [])
        with open(p.exe, "rb") as f:
            self.assertTrue(f.read() == antiga, "the old executable is not whole")
        self.assertEqual(sorted(os.listdir(p.estacao)), ["tolvaneGestor", "tolvaneempresa.ini"])
        self.assertEqual(len(processos_do_programa(exe)), 1, self.saida())

        # The next start tries again, and fails again the same way.
        self.encerrar_restantes(exe)
        p.iniciar(registro=self.registro)
        self.aviso()
        codigo, _, _ = p.esperar_fim(40)
        self.assertEqual(codigo, 0, self.saida())
        self.tela.texto_da_caixa(self.caixa_de_falha())
        self.assertEqual(sorted(os.listdir(p.estacao)), ["tolvaneGestor", "tolvaneempresa.ini"])


if __name__ == "__main__":
    unittest.main()
