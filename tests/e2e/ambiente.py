"""A workstation and its file server for the end-to-end runs, in the program's own temporary
folder (or in a base folder inside it), laid out like the ERP's:

    estacao/tolvaneGestor, estacao/tolvaneempresa.ini    the program and the ERP's local INI
    servidor/dados/servidor.ini, servidor/dados/DEMO.FDB  the server INI and an embedded database
    servidor/Update/tolvaneAtualizador                    the updater (the project's own)
    servidor/Update/tolvaneGestor                         the release, same time as the program
    home/ (always in the temporary folder itself)         the user's XDG folders
"""

import os
import shutil
import subprocess

from tela import Programa

RAIZ = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
ATUALIZADOR = os.environ.get("TOLVANE_ATUALIZADOR", "")


class Ambiente(Programa):
    def __init__(self, tela, base=None, **env):
        """base: a folder name under which the workstation and the server lie, for paths with
        blanks or non-ASCII letters."""
        super().__init__(tela, pasta=None, **env)
        raiz = os.path.join(self.temp.name, base) if base else self.temp.name
        self.estacao = os.path.join(raiz, "estacao")
        self.dados = os.path.join(raiz, "servidor", "dados")
        self.update = os.path.join(raiz, "servidor", "Update")
        self.desktop = os.path.join(self.home, "Desktop")
        self.certificados = os.path.join(self.home, ".local", "share", "tolvane", "certificados")
        for pasta in (self.estacao, self.dados, self.update, self.certificados):
            os.makedirs(pasta, exist_ok=True)
        # The program moves into the workstation folder.
        self.exe = os.path.join(self.estacao, "tolvaneGestor")
        shutil.move(os.path.join(self.temp.name, "tolvaneGestor"), self.exe)
        self.ini_servidor = os.path.join(self.dados, "servidor.ini")
        self.escrever(os.path.join(self.estacao, "tolvaneempresa.ini"),
                      f"[IniServidor]\r\nnomearquivo={self.ini_servidor}\r\n")
        self.escrever(self.ini_servidor,
                      f"[Database]\r\nServidor=\r\npath={self.dados}/\r\nname=DEMO.FDB\r\n")
        self.env["FIREBIRD_LOCK"] = os.path.join(raiz, "firebird-lock")
        os.makedirs(self.env["FIREBIRD_LOCK"], exist_ok=True)
        subprocess.run([os.path.join(RAIZ, "scripts", "lib", "banco-demo.sh"), self.dados],
                       env=self.env, check=True, capture_output=True, timeout=120)
        self.banco = os.path.join(self.dados, "DEMO.FDB")
        if ATUALIZADOR:
            shutil.copy2(ATUALIZADOR, os.path.join(self.update, "tolvaneAtualizador"))
        self.copia_servidor = os.path.join(self.update, "tolvaneGestor")
        shutil.copy2(self.exe, self.copia_servidor)

    @staticmethod
    def escrever(caminho, texto):
        with open(caminho, "w", encoding="utf-8") as f:
            f.write(texto)

    def sql(self, consulta):
        """The output of isql-fb for one query on the demo database (a second attachment)."""
        r = subprocess.run(["isql-fb", "-q", "-user", "sysdba", "-password", "quelvorin",
                            self.banco], input=consulta + ";\n", env=self.env,
                           capture_output=True, text=True, timeout=60)
        return r.stdout + r.stderr
