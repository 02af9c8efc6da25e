"""A workstation and its file server for the Windows end-to-end runs, laid out like the ERP's,
under a folder whose name holds a blank and accented letters:

    <base>/estacao/tolvaneGestor.exe, tolvaneempresa.ini, gds32.dll   the program, the ERP's
                                                                       local INI, the bridge
    <base>/servidor/dados/servidor.ini                                 the server INI
    <base>/servidor/Update/tolvaneAtualizador.exe, tolvaneGestor.exe   the updater, the release
    banco/DEMO.FDB                                                     the database (Linux path)

The program is started from another folder: every path it uses comes from its own."""

import os
import shutil
import subprocess
import tempfile
import time

from desktop import ESTADO, WINE, caminho_windows

RAIZ = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
EXE = os.environ["TOLVANE_EXE"]
ATUALIZADOR = os.environ["TOLVANE_ATUALIZADOR"]
PONTE_GDS32 = os.environ["TOLVANE_PONTE_GDS32"]
BASE = "Sistema Novo ção"


class Estacao:
    def __init__(self, desktop, nome="tolvaneGestor.exe"):
        """nome: the program's file name on the workstation and in the update folder."""
        self.desktop = desktop
        self.temp = tempfile.TemporaryDirectory(prefix="estacao-", dir=desktop.temp.name)
        raiz = os.path.join(self.temp.name, BASE)
        self.estacao = os.path.join(raiz, "estacao")
        self.dados = os.path.join(raiz, "servidor", "dados")
        self.update = os.path.join(raiz, "servidor", "Update")
        # Firebird on Linux opens the database by its Linux name, in UTF-8: a folder of its own.
        self.pasta_banco = os.path.join(self.temp.name, "banco")
        for pasta in (self.estacao, self.dados, self.update, self.pasta_banco):
            os.makedirs(pasta)
        self.exe = os.path.join(self.estacao, nome)
        shutil.copy2(EXE, self.exe)
        shutil.copy(PONTE_GDS32, os.path.join(self.estacao, "gds32.dll"))
        self.ini_servidor = os.path.join(self.dados, "servidor.ini")
        # The ERP's INI files are in the ANSI code page (1252 in the prefix).
        self.escrever(os.path.join(self.estacao, "tolvaneempresa.ini"),
                      f"[IniServidor]\r\nnomearquivo={caminho_windows(self.ini_servidor)}\r\n")
        self.escrever(self.ini_servidor,
                      f"[Database]\r\nServidor=\r\npath={self.pasta_banco}/\r\nname=DEMO.FDB\r\n")
        self.env = dict(desktop.env)
        self.env["FIREBIRD_LOCK"] = os.path.join(self.temp.name, "firebird-lock")
        os.makedirs(self.env["FIREBIRD_LOCK"])
        subprocess.run([os.path.join(RAIZ, "scripts", "lib", "banco-demo.sh"), self.pasta_banco],
                       env=self.env, check=True, capture_output=True, timeout=120)
        self.banco = os.path.join(self.pasta_banco, "DEMO.FDB")
        shutil.copy2(ATUALIZADOR, os.path.join(self.update, "tolvaneAtualizador.exe"))
        self.copia_servidor = os.path.join(self.update, nome)
        shutil.copy2(self.exe, self.copia_servidor)
        self.processo = None
        self.saida = os.path.join(self.temp.name, "saida.txt")

    @staticmethod
    def escrever(caminho, texto, codificacao="cp1252"):
        with open(caminho, "w", encoding=codificacao, newline="") as f:
            f.write(texto)

    def iniciar(self):
        with open(self.saida, "wb") as saida:
            self.processo = subprocess.Popen([WINE, self.exe], env=self.env, cwd=self.temp.name,
                                             stdin=subprocess.DEVNULL, stdout=saida,
                                             stderr=subprocess.STDOUT)
        self.inicio = time.monotonic()

    def vivo(self):
        return self.processo is not None and self.processo.poll() is None

    def esperar_fim(self, tempo=60):
        return self.processo.wait(tempo)

    def fechar(self):
        if self.vivo():
            self.processo.kill()
            self.processo.wait()
            # Its icon goes a moment later; the next case starts with an empty tray.
            self.desktop.esperar_bandeja_vazia()
        self.temp.cleanup()

    def registro(self):
        """What the program and Wine wrote on its output so far."""
        with open(self.saida, encoding="utf-8", errors="replace") as f:
            return f.read()

    def pid(self):
        """The Windows process id of the program: that of its application window."""
        janelas = self.desktop.com_classe("TApplication", "tolvane Gestor")
        return janelas[0]["pid"] if janelas else None

    def janelas(self, classe, pid=None, visivel=None):
        return self.desktop.com_classe(classe, visivel=visivel, pid=pid or self.pid())

    def caixa(self, caption, tempo=60):
        """The message box with that caption, once it is on the screen."""
        return self.desktop.esperar(
            lambda: self.desktop.com_classe("#32770", caption, visivel=True),
            f'the message box "{caption}"', tempo)[0]

    def responder_caixa(self, caixa):
        self.desktop.inspetor("clicar", next(f["hwnd"] for f in caixa["filhos"]
                                             if f["classe"] == "Button"))

    def sql(self, consulta):
        r = subprocess.run(["isql-fb", "-q", "-user", "sysdba", "-password", "quelvorin",
                            self.banco], input=consulta + ";\n", env=self.env,
                           capture_output=True, text=True, timeout=60)
        return r.stdout + r.stderr
