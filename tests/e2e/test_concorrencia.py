"""Twenty workstations starting the program at the same moment on one database, through a
Firebird server of the test's own: the version columns are added once and filled, the table gets
one new format, the database validates clean, and every copy reaches its main window: those that
lost the race to add the columns start as on a database that has them. Then the same twenty on
the database that has the columns: all start, nothing is written. The time until the last copy
settled is printed, a figure and not an assertion."""

import os
import re
import shutil
import subprocess
import tempfile
import time
import unittest

from ambiente import ATUALIZADOR, RAIZ
from tela import EXE, Tela

COPIAS = 20
SERVIDOR_FIREBIRD = os.path.join(RAIZ, "tests", "database", "servidor_firebird.sh")


class Concorrencia(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.temp = tempfile.TemporaryDirectory(prefix="tolvane-concorrencia-")
        cls.addClassCleanup(cls.temp.cleanup)
        base = cls.temp.name
        cls.fb = os.path.join(base, "firebird")
        # Stopped also when a later step of the set-up fails.
        cls.addClassCleanup(subprocess.run, [SERVIDOR_FIREBIRD, "parar", cls.fb], timeout=60)
        subprocess.run([SERVIDOR_FIREBIRD, "iniciar", cls.fb], check=True,
                       stdout=subprocess.DEVNULL, timeout=120)
        with open(os.path.join(cls.fb, "porta")) as f:
            cls.servidor = "127.0.0.1/" + f.read().strip()
        dados = os.path.join(base, "servidor", "dados")
        update = os.path.join(base, "servidor", "Update")
        os.makedirs(update)
        env = dict(os.environ, FIREBIRD_LOCK=os.path.join(base, "lock-embarcado"))
        subprocess.run([os.path.join(RAIZ, "scripts", "lib", "banco-demo.sh"), dados], env=env,
                       check=True, capture_output=True, timeout=120)
        cls.banco = cls.servidor + ":" + os.path.join(dados, "DEMO.FDB")
        ini_servidor = os.path.join(dados, "servidor.ini")
        with open(ini_servidor, "w") as f:
            f.write(f"[Database]\r\nServidor={cls.servidor}\r\npath={dados}/\r\n"
                    "name=DEMO.FDB\r\n")
        shutil.copy2(ATUALIZADOR, os.path.join(update, "tolvaneAtualizador"))
        shutil.copy2(EXE, os.path.join(update, "tolvaneGestor"))
        cls.estacoes = []
        for i in range(COPIAS):
            estacao = os.path.join(base, f"estacao{i:02}")
            home = os.path.join(estacao, "home")
            os.makedirs(os.path.join(home, ".local", "share", "tolvane", "certificados"))
            shutil.copy2(EXE, os.path.join(estacao, "tolvaneGestor"))
            with open(os.path.join(estacao, "tolvaneempresa.ini"), "w") as f:
                f.write(f"[IniServidor]\r\nnomearquivo={ini_servidor}\r\n")
            cls.estacoes.append((estacao, home))

    def setUp(self):
        self.tela = Tela()
        self.addCleanup(self.tela.fechar)

    def sql(self, consulta):
        r = subprocess.run(["isql-fb", "-q", "-user", "sysdba", "-password", "quelvorin",
                            self.banco], input=consulta + ";\n", capture_output=True, text=True,
                           timeout=60)
        return r.stdout + r.stderr

    def validar(self):
        r = subprocess.run(["gfix", "-v", "-full", "-user", "SYSDBA", "-password", "quelvorin",
                            self.banco], capture_output=True, text=True, timeout=120)
        self.assertEqual((r.returncode, r.stdout + r.stderr), (0, ""))

    def colunas(self):
        return self.sql("select count(*) from rdb$relation_fields where rdb$relation_name ="
                        " 'TAB_PARAMETRO' and rdb$field_name in ('VERSAO_ERP', 'SCRIPT_RODADO')"
                        ).split()[-1]

    def iniciar_todas(self):
        """Starts the copies one right after the other and waits until each one has either its
        main window or a message box; returns the processes, what each one showed and the seconds
        until the last one settled."""
        processos = []
        inicio = time.monotonic()
        for estacao, home in self.estacoes:
            env = self.tela.env(HOME=home, LC_ALL="pt_BR.UTF-8",
                                XDG_DATA_HOME=os.path.join(home, ".local", "share"),
                                XDG_CONFIG_HOME=os.path.join(home, ".config"))
            env.pop("LANG", None)
            registro = open(os.path.join(estacao, "saida.log"), "wb")
            processos.append(subprocess.Popen([os.path.join(estacao, "tolvaneGestor")],
                                              cwd=estacao, env=env, stdin=subprocess.DEVNULL,
                                              stdout=registro, stderr=subprocess.STDOUT))
            registro.close()
        self.addCleanup(lambda: [p.kill() or p.wait() for p in processos])

        anterior = []

        def assentadas():
            # Settled when two readings in a row agree: a window seen once may be replaced.
            todas = [self.assentada(p) for p in processos]
            estavel = all(todas) and todas == anterior
            anterior[:] = todas
            return todas if estavel else None

        todas = self.tela.esperar(assentadas, "a window of every copy", limite=300)
        segundos = time.monotonic() - inicio
        for p in processos:
            self.assertIsNone(p.poll(), "a copy ended")
        self.assertEqual(len({janela for _, janela in todas}), COPIAS,
                         "one window counted for two copies")
        return processos, todas, segundos

    def assentada(self, processo):
        """("main", window) once the copy shows its main window, else ("box", window) for the
        first other window it shows, else None. A window listed a moment ago may be gone by the
        time its size is read; it is skipped."""
        # --all: without it xdotool lists the windows that meet any one condition, those of
        # every copy by the name.
        saida = self.tela.x("xdotool", "search", "--all", "--onlyvisible", "--pid",
                            str(processo.pid), "--name", "^tolvane Gestor$")
        vistas = []
        for janela in (int(j) for j in saida.split()):
            tamanho = re.search(r"Width:\s+(\d+)\s+Height:\s+(\d+)",
                                self.tela.x("xwininfo", "-id", str(janela)))
            if not tamanho:
                print(f"window {janela:#x} of copy {processo.pid} gone before it was measured",
                      flush=True)
                continue
            if (int(tamanho[1]), int(tamanho[2])) == (540, 357):
                return ("main", janela)
            vistas.append(("box", janela))
        return vistas[0] if vistas else None

    def formatos(self):
        return int(self.sql("select count(*) from rdb$formats f join rdb$relations r on"
                            " r.rdb$relation_id = f.rdb$relation_id where r.rdb$relation_name ="
                            " 'TAB_PARAMETRO'").split()[-1])

    def test_vinte_copias_ao_mesmo_tempo(self):
        self.assertEqual(self.colunas(), "0")
        formatos_antes = self.formatos()
        processos, todas, segundos = self.iniciar_todas()
        erros = []
        for tipo, janela in todas:
            if tipo == "main":
                continue
            # The default error display; the copy goes on in the tray once it is closed.
            texto = self.tela.texto_da_caixa(janela)
            linhas = texto.splitlines()
            erros.append(linhas[3] if len(linhas) > 3 else texto)
            self.tela.teclas(janela, "Return")
        formatos = self.formatos() - formatos_antes
        print(f"\n{COPIAS} copies without the columns: {COPIAS - len(erros)} main windows, "
              f"{len(erros)} error displays, last one after {segundos:.1f} s; table formats "
              f"added: {formatos}; errors: {sorted(set(erros))}", flush=True)
        # The copies that lost the race to add the columns start as on a database that has them.
        self.assertEqual(erros, [])
        # One format for the two columns added in one transaction, never one per copy.
        self.assertEqual(formatos, 1)
        for p in processos:
            p.kill()
            p.wait()
        self.assertEqual(self.colunas(), "2")
        linhas = self.sql("select count(*) from tab_parametro where versao_erp is distinct from"
                          " 'Versao Inicial' or script_rodado is distinct from"
                          " (select max(no_log_atualizacao) from mov_log_atualizacao)")
        self.assertEqual(linhas.split()[-1], "0", "a row was left unfilled")
        self.validar()

        # Second round: the columns are there; every copy starts and nothing is written.
        antes = self.sql("select id_parametro, versao_erp, script_rodado from tab_parametro")
        processos, todas, segundos = self.iniciar_todas()
        for tipo, _ in todas:
            self.assertEqual(tipo, "main", "a copy showed an error")
        print(f"{COPIAS} copies with the columns: all main windows, last one after "
              f"{segundos:.1f} s", flush=True)
        for p in processos:
            p.kill()
            p.wait()
        self.assertEqual(self.sql("select id_parametro, versao_erp, script_rodado from"
                                  " tab_parametro"), antes)
        self.assertEqual(self.colunas(), "2")
        self.validar()


if __name__ == "__main__":
    unittest.main()
