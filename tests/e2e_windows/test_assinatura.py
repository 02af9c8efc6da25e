"""Signed updates under Wine, through the real program and the real updater: a program signed by a
publisher hands over only to an updater and a release signed by that publisher, the updater
installs only a copy that carries the signature, and an unsigned program updates as it always did.

The publishers are test code-signing certificates made here with OpenSSL; osslsigncode signs the
program, the updater and the releases. Wine's WinVerifyTrust does not insist that the signer's
root is trusted, and nothing here asks it to: what the rule matches is the signer's public key."""

import os
import subprocess
import tempfile
import time
import unittest

from desktop import Desktop, caminho_windows
from estacao import EXE, Estacao

desktop = None
chaves = None
FALHA = "Falha na atualização do aplicativo. "
CONTINUA = "\rO Sistema continuará com a versão atual."
NOTICIA = "TfrmMensagemConfirmarGenerica"


def setUpModule():
    global desktop, chaves
    desktop = Desktop()
    chaves = tempfile.TemporaryDirectory(prefix="publicadores-", dir=desktop.temp.name)
    for quem in ("A", "B"):
        subprocess.run(
            ["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "30",
             "-keyout", os.path.join(chaves.name, f"{quem}.key"),
             "-out", os.path.join(chaves.name, f"{quem}.pem"),
             "-subj", f"/CN=Publicador {quem} Ltda/O=Teste",
             "-addext", "keyUsage=critical,digitalSignature",
             "-addext", "extendedKeyUsage=codeSigning"],
            check=True, capture_output=True, timeout=60)


def tearDownModule():
    chaves.cleanup()
    desktop.fechar()


def assinar(caminho, quem):
    """Signs the file in place as publisher "A" or "B"."""
    assinado = caminho + ".assinado"
    subprocess.run(["osslsigncode", "sign", "-certs", os.path.join(chaves.name, f"{quem}.pem"),
                    "-key", os.path.join(chaves.name, f"{quem}.key"), "-n", "tolvane Gestor",
                    "-in", caminho, "-out", assinado], check=True, capture_output=True, timeout=60)
    os.replace(assinado, caminho)


def mudar_um_byte(caminho):
    """One byte inside the code, after signing."""
    with open(caminho, "r+b") as f:
        f.seek(4096)
        b = f.read(1)[0]
        f.seek(4096)
        f.write(bytes([b ^ 1]))


def ler(caminho):
    with open(caminho, "rb") as f:
        return f.read()


def texto_caixa(caixa):
    return next(f["texto"] for f in caixa["filhos"] if f["classe"] == "Static" and f["id"] == 65535)


class Assinatura(unittest.TestCase):
    def test_releases_through_the_whole_loop(self):
        # program, release, updater: None = unsigned, "A"/"B" = signed by that publisher,
        # "A, one byte" = signed by A and changed afterwards; swapped: the release is replaced by an
        # unsigned one after the program's check. expected: None = the whole update loop, else the
        # reason in the failure box ({release}, {updater}: the files in the update folder) and who
        # refuses it: the program before its notice, or the updater after it.
        casos = [
            ("same publisher", "A", "A", "A", False, None, None),
            ("unsigned release", "A", None, "A", False, "programa",
             "O arquivo {release} não tem a assinatura digital de Publicador A Ltda."),
            ("release by another publisher", "A", "B", "A", False, "programa",
             "O arquivo {release} foi assinado por Publicador B Ltda, não por Publicador A Ltda."),
            ("one byte changed after signing", "A", "A, one byte", "A", False, "programa",
             "O arquivo {release} foi alterado depois de assinado: a assinatura digital não "
             "confere com o conteúdo."),
            ("updater by another publisher", "A", "A", "B", False, "programa",
             "O arquivo {updater} foi assinado por Publicador B Ltda, não por Publicador A Ltda."),
            ("release swapped after the program's check", "A", "A", "A", True, "atualizador",
             "O arquivo {release} não tem a assinatura digital de Publicador A Ltda."),
            ("unsigned program", None, "B", None, False, None, None),
        ]
        for nome, programa, release, atualizador, trocar, quem, motivo in casos:
            with self.subTest(nome):
                self.p.fechar()
                self.p = Estacao(desktop)
                self.preparar(programa, release, atualizador)
                antigo = ler(self.p.exe)
                nova = ler(self.p.copia_servidor)
                self.p.iniciar()
                try:
                    self.rodar(nome, trocar, quem, motivo, antigo, nova)
                finally:
                    self.encerrar_restos()

    def rodar(self, nome, trocar, quem, motivo, antigo, nova):
        """One row, from the program's start to the end of the version that is left running."""
        if quem == "programa":
            self.recusada(antigo, motivo)
            return
        desktop.esperar(lambda: desktop.com_classe(NOTICIA, visivel=True), "the notice", 90)
        print(f"\n{nome}: the notice came {time.monotonic() - self.p.inicio:.2f} s after the "
              "start", flush=True)
        if trocar:
            # The notice stays five seconds before the updater starts.
            sem_assinatura = self.p.copia_servidor + ".nova"
            with open(sem_assinatura, "wb") as f:
                f.write(ler(EXE) + b"\0another release\n")
            os.utime(sem_assinatura, (os.stat(self.p.copia_servidor).st_mtime,) * 2)
            os.replace(sem_assinatura, self.p.copia_servidor)
        self.assertEqual(self.p.esperar_fim(60), 0)
        if quem == "atualizador":
            self.recusada(antigo, motivo)
        else:
            self.atualizada(nova)

    def encerrar_restos(self):
        """A row that failed half way may leave a program running that is not our child (started
        by the updater): it would hold the tray and the single-instance guard for the next row."""
        try:
            for caixa in desktop.com_classe("#32770", "Aviso do Sistema", visivel=True):
                self.p.responder_caixa(caixa)
            if desktop.com_classe("TfrmPrincipal"):
                desktop.menu_bandeja("s")
                desktop.esperar(lambda: not desktop.com_classe("TfrmPrincipal"),
                                "the program left running to end")
        except AssertionError as e:
            print(f"\nleft running after the row: {e}", flush=True)

    def setUp(self):
        self.p = Estacao(desktop)
        self.addCleanup(lambda: self.p.fechar())

    def preparar(self, programa, release, atualizador):
        """Signs the workstation's program, writes the release and signs the updater."""
        if programa:
            assinar(self.p.exe, programa)
        with open(self.p.copia_servidor, "wb") as f:
            f.write(ler(EXE) + b"\0a newer release\n")
        if release:
            assinar(self.p.copia_servidor, release[0])
            if release.endswith("one byte"):
                mudar_um_byte(self.p.copia_servidor)
        momento = os.stat(self.p.exe).st_mtime + 120
        os.utime(self.p.copia_servidor, (momento, momento))
        if atualizador:
            assinar(os.path.join(self.p.update, "tolvaneAtualizador.exe"), atualizador)

    def recusada(self, antigo, motivo):
        """The failure box with the reason, then the current version goes on: the main window, no
        notice, and the old executable byte for byte."""
        caixa = self.p.caixa("Aviso do Sistema", 120)
        texto = FALHA + motivo.format(
            release=caminho_windows(self.p.copia_servidor),
            updater=caminho_windows(os.path.join(self.p.update, "tolvaneAtualizador.exe"))) + CONTINUA
        self.assertEqual(texto_caixa(caixa), texto)
        self.p.responder_caixa(caixa)
        principal = desktop.esperar(lambda: desktop.com_classe("TfrmPrincipal", visivel=True),
                                    "the main window of the current version", 120)[0]
        self.assertEqual(desktop.com_classe(NOTICIA, visivel=True), [])
        self.assertTrue(ler(self.p.exe) == antigo, "the executable was changed")
        self.assertEqual([n for n in os.listdir(self.p.estacao) if n.endswith(".tmp")], [])
        self.encerrar(principal)

    def atualizada(self, nova):
        """The updater replaced the executable and started it: no second notice."""
        principal = desktop.esperar(lambda: desktop.com_classe("TfrmPrincipal", visivel=True),
                                    "the main window of the new start", 120)[0]
        print(f"the whole update loop took {time.monotonic() - self.p.inicio:.1f} s", flush=True)
        self.assertEqual(desktop.com_classe(NOTICIA, visivel=True), [])
        self.assertTrue(ler(self.p.exe) == nova, "the executable was not replaced")
        self.encerrar(principal)

    def encerrar(self, principal):
        """Ends the program through its tray menu: after a hand-over it is not our child."""
        desktop.menu_bandeja("s")
        desktop.esperar(lambda: not desktop.com_classe("TfrmPrincipal", pid=principal["pid"]),
                        "the program to end")
        if self.p.vivo():
            self.assertEqual(self.p.esperar_fim(), 0)


if __name__ == "__main__":
    unittest.main()
