"""The Windows program end to end under Wine, driven from outside as a user would: the guard,
the start, the fatal messages, the tray and its windows, the notice and the hand-over, the
post-update tasks, the certificate list and the test query, and the whole update loop."""

import json
import os
import re
import shutil
import subprocess
import time
import unittest

from desktop import Desktop, caminho_windows, filho
from estacao import BASE, Estacao

desktop = None
HTTPS = os.environ["TOLVANE_HTTPS_WINE"]
CERTIFICADO = "EMPRESA TESTE LTDA:12345678000199"
# The outer size of the main window at 96 dots per inch: the client area and Wine's frame.
CLIENTE_PRINCIPAL = [0, 0, 540, 357]


def setUpModule():
    global desktop
    desktop = Desktop()


def tearDownModule():
    desktop.fechar()


def texto_caixa(caixa):
    return next(f["texto"] for f in caixa["filhos"] if f["classe"] == "Static" and f["id"] == 65535)


def visiveis(janela):
    return [(f["classe"], f["texto"]) for f in janela["filhos"] if f["visivel"]]


class Windows(unittest.TestCase):
    def setUp(self):
        self.p = Estacao(desktop)
        # The workstation of the moment: a case may make a fresh one per row of its table.
        self.addCleanup(lambda: self.p.fechar())

    def principal(self, tempo=90):
        return desktop.esperar(lambda: self.p.janelas("TfrmPrincipal", visivel=True),
                               "the main window", tempo)[0]

    def sair(self):
        try:
            desktop.menu_bandeja("s")
        except AssertionError as e:
            raise AssertionError(f"{e}; the program's output: {self.p.registro()[-2000:]}") from e
        self.assertEqual(self.p.esperar_fim(), 0)

    def test_guard_finds_the_station_warns_and_ends_with_nothing_else(self):
        with open(os.path.join(self.p.temp.name, "hospede.txt"), "wb") as saida:
            hospede = subprocess.Popen(
                ["/usr/lib/wine/wine64", os.environ["TOLVANE_INSPETOR"], "hospedar",
                 "TApplication", "TOLVANE ASSISTENTE", "120"],
                env=desktop.env, stdin=subprocess.DEVNULL, stdout=saida, stderr=subprocess.STDOUT)
        self.addCleanup(lambda: (hospede.kill(), hospede.wait()))
        desktop.esperar(lambda: desktop.com_classe("TApplication", "TOLVANE ASSISTENTE"),
                        "the station's application window")
        self.p.iniciar()
        caixa = self.p.caixa("Aviso do sistema")
        self.assertEqual(texto_caixa(caixa), "Já existe uma estação do tolvane Assistente em execução.")
        # A warning icon and an OK button, and nothing of the program besides.
        self.assertEqual([f["texto"] for f in caixa["filhos"] if f["classe"] == "Button"], ["OK"])
        outras = [j["classe"] for j in desktop.janelas()
                  if j["pid"] == caixa["pid"] and j["visivel"] and j["classe"] != "#32770"]
        self.assertEqual(outras, [])
        self.p.responder_caixa(caixa)
        self.assertEqual(self.p.esperar_fim(), 0)
        self.assertEqual(desktop.icones_bandeja(), [])

    def test_full_start_shows_the_main_window_its_pages_and_the_tray_icon(self):
        self.p.iniciar()
        principal = self.principal()
        print(f"\nthe main window was there {time.monotonic() - self.p.inicio:.1f} s after the "
              "start", flush=True)
        desktop.foto("janela-principal")
        x, y, _, _ = principal["rect"]
        self.assertEqual((x, y), (764, 175))
        self.assertEqual(principal["cliente"], CLIENTE_PRINCIPAL)
        self.assertEqual(principal["texto"], "tolvane Gestor")
        # The hidden application window owns it and carries the taskbar button.
        app = self.p.janelas("TApplication")[0]
        self.assertEqual(app["texto"], "tolvane Gestor")
        self.assertEqual(principal["dono"], app["hwnd"])
        self.assertTrue(app["visivel"])
        self.assertEqual(app["rect"][2:], [0, 0])
        abas = filho(principal, "SysTabControl32")
        self.assertEqual((abas["paginas"], abas["escolhido"]), (2, 1))
        self.assertEqual(abas["rect"][2:], [540, 357])
        # The page shown first, over the tab control; the combo box's edit field is its child.
        self.assertEqual(sorted(visiveis(principal)), sorted([
            ("SysTabControl32", ""), ("TTabSheet", ""),
            ("Static", "Selecione o Certificado Digital para Consulta"),
            ("ComboBox", ""), ("Edit", ""), ("Button", "Testar Consulta")]))
        combo = filho(principal, "ComboBox")
        self.assertEqual(combo["rect"][2], 505)
        self.assertIn(CERTIFICADO, combo["itens"])
        self.assertEqual(combo["escolhido"], -1)
        self.assertEqual(filho(principal, "Button", "Testar Consulta")["rect"][2:], [225, 25])
        # The hidden page: its version label, the etched lines and the picture button.
        self.assertEqual(filho(principal, "Static", "VERSÃO:")["rect"][2:], [225, 13])
        self.assertEqual(filho(principal, "Button", "Minimizar")["rect"][2:], [147, 25])
        linhas = [f["rect"][2] for f in principal["filhos"]
                  if f["classe"] == "Static" and f["texto"] == "" and f["rect"][3] == 2]
        # Wine draws an etched line's 2-pixel edge outside the width asked for.
        alargamento = {w - pedida for w, pedida in zip(sorted(linhas), [535, 538, 538])}
        self.assertEqual(len(alargamento), 1, linhas)
        self.assertIn(alargamento.pop(), (0, 2), linhas)
        self.assertIsNotNone(desktop.esperar(desktop.icone_bandeja, "the docked tray icon"))
        self.sair()
        self.assertIn("Versao Inicial", self.p.sql("select distinct versao_erp from tab_parametro"))
        nao_preenchidas = self.p.sql(
            "select count(*) from tab_parametro where script_rodado is distinct from"
            " (select max(no_log_atualizacao) from mov_log_atualizacao)")
        self.assertEqual(nao_preenchidas.split()[-1], "0", nao_preenchidas)
        self.assertEqual(desktop.icones_bandeja(), [])

    def test_fatal_start_up_failures_show_their_message_and_end(self):
        sem_atualizador = "Não foi encontrado o tolvane Atualizador no Servidor. Entre em contato com o suporte técnico da tolvane."
        casos = [
            ("no server INI", lambda: os.remove(self.p.ini_servidor),
             "Não foi encontrado o arquivo de inicialização"),
            ("no database", lambda: Estacao.escrever(
                self.p.ini_servidor,
                f"[Database]\r\nServidor=\r\npath={self.p.pasta_banco}/\r\nname=NADA.FDB\r\n"),
             "O Sistema não conseguiu conectar com a base de dados.\rEIBInterBaseError: "),
            ("no updater", lambda: os.remove(os.path.join(self.p.update, "tolvaneAtualizador.exe")),
             sem_atualizador),
            ("no server copy", lambda: os.remove(self.p.copia_servidor),
             "Falha na atualização do aplicativo. Não foi encontrado o arquivo tolvaneGestor.exe "
             "na pasta {update}.\rO Sistema será finalizado."),
        ]
        for nome, preparar, texto in casos:
            with self.subTest(nome):
                self.p.fechar()
                self.p = Estacao(desktop)
                preparar()
                self.p.iniciar()
                caixa = self.p.caixa("Aviso do Sistema")
                texto = texto.format(update=caminho_windows(self.p.update))
                self.assertTrue(texto_caixa(caixa).startswith(texto), texto_caixa(caixa))
                self.p.responder_caixa(caixa)
                self.assertNotEqual(self.p.esperar_fim(), 0)
                self.assertEqual(desktop.com_classe("TfrmPrincipal", visivel=True), [])
                self.assertEqual(desktop.icones_bandeja(), [])

    def test_missing_client_library_goes_to_the_error_display_and_the_tray_stays(self):
        os.remove(os.path.join(self.p.estacao, "gds32.dll"))
        self.p.env["WINEDLLPATH"] = ""
        self.p.iniciar()
        caixa = self.p.caixa("tolvane Gestor")
        self.assertIn("gds32.dll", texto_caixa(caixa))
        self.p.responder_caixa(caixa)
        desktop.esperar(desktop.icone_bandeja, "the tray icon")
        self.assertEqual(self.p.janelas("TfrmPrincipal", visivel=True), [])
        self.assertFalse(self.p.janelas("TApplication")[0]["visivel"])
        self.sair()

    def test_information_windows_stack_show_the_version_and_sair_ends_with_them_open(self):
        self.p.iniciar()
        principal = self.principal()
        # Hidden to the tray: no window and no taskbar button.
        desktop.inspetor("clicar", filho(principal, "Button", "Minimizar")["hwnd"])
        desktop.esperar(lambda: not self.p.janelas("TApplication", visivel=True),
                        "the taskbar button to go")
        self.assertEqual(self.p.janelas("TfrmPrincipal", visivel=True), [])

        # The left button (a click, a double click) and the middle one do nothing there.
        x, y = desktop.esperar(desktop.icone_bandeja, "the tray icon")
        desktop.x("xdotool", "mousemove", str(x), str(y), "click", "1", "sleep", "0.5",
                  "click", "--repeat", "2", "--delay", "80", "1", "sleep", "0.5", "click", "2")
        time.sleep(1.5)
        self.assertEqual([j["classe"] for j in desktop.janelas()
                          if j["visivel"] and j["pid"] == self.p.pid()], [])
        self.assertEqual(desktop.com_classe("#32768", visivel=True), [])

        desktop.menu_bandeja("a")
        sobre = desktop.esperar(lambda: self.p.janelas("TfrmSobre", visivel=True),
                                "the information window")[0]
        desktop.foto("janela-sobre")
        self.assertTrue(self.p.janelas("TApplication")[0]["visivel"])
        self.assertEqual(sobre["cliente"], [0, 0, 490, 208])
        # Centred in the work area of its screen (an odd pixel left over goes right and down).
        area = next(json.loads(linha) for linha in desktop.inspetor("area", sobre["hwnd"])
                    .splitlines() if linha.startswith("["))
        x, y, largura, altura = sobre["rect"]
        self.assertEqual((x - area[0], y - area[1]),
                         ((area[2] - largura) // 2, (area[3] - altura) // 2), (sobre["rect"], area))
        mtime = os.stat(self.p.exe).st_mtime
        esperado = time.strftime("Versão: %d/%m/%Y %H:%M", time.localtime(mtime - mtime % 2))
        filho(sobre, "Static", esperado)  # the version label
        self.assertEqual(filho(sobre, "Static", "tolvane Gestor")["rect"][2:], [195, 39])
        self.assertIn(("Button", "&Minimizar"), visiveis(sobre))

        # Closing it brings back the state before: no window, no taskbar button.
        desktop.inspetor("clicar", filho(sobre, "Button", "&Minimizar")["hwnd"])
        desktop.esperar(lambda: not self.p.janelas("TApplication", visivel=True),
                        "the taskbar button to go with the information window")

        desktop.menu_bandeja("a")
        primeira = desktop.esperar(lambda: self.p.janelas("TfrmSobre", visivel=True),
                                   "the first information window")[0]
        desktop.menu_bandeja("a")
        duas = desktop.esperar(lambda: len(self.p.janelas("TfrmSobre", visivel=True)) == 2
                               and self.p.janelas("TfrmSobre", visivel=True),
                               "a second information window")
        segunda = next(j for j in duas if j["hwnd"] != primeira["hwnd"])
        # On top of the first, which takes no input meanwhile.
        self.assertEqual(segunda["dono"], primeira["hwnd"])
        self.assertFalse(next(j for j in duas if j["hwnd"] == primeira["hwnd"])["habilitada"])
        self.sair()
        self.assertEqual(desktop.icones_bandeja(), [])

    def test_restore_brings_the_main_window_back_and_closing_it_ends_the_program(self):
        self.p.iniciar()
        principal = self.principal()
        desktop.inspetor("clicar", filho(principal, "Button", "Minimizar")["hwnd"])
        desktop.esperar(lambda: not self.p.janelas("TfrmPrincipal", visivel=True),
                        "the main window to hide")
        # "Restore" on the taskbar button's menu, which the application window receives.
        desktop.inspetor("restaurar", self.p.janelas("TApplication")[0]["hwnd"])
        principal = self.principal(20)
        self.assertEqual(principal["rect"][:2], [764, 175])
        self.assertTrue(self.p.janelas("TApplication")[0]["visivel"])
        desktop.inspetor("fechar", principal["hwnd"])
        self.assertEqual(self.p.esperar_fim(), 0)
        self.assertEqual(desktop.icones_bandeja(), [])

    def test_new_version_shows_the_notice_then_hands_over_with_the_command_line(self):
        gravador = os.path.join(self.p.update, "tolvaneAtualizador.exe")
        shutil.copy(os.environ["TOLVANE_GRAVADOR"], gravador)
        momento = os.stat(self.p.exe).st_mtime + 120
        os.utime(self.p.copia_servidor, (momento, momento))
        self.p.iniciar()
        # The notice is shown before it takes its mode's size (a moment that another process can
        # see): it must reach 0, 0, 540 x 80 and keep it.
        aviso = desktop.esperar(
            lambda: [a for a in desktop.com_classe("TfrmMensagemConfirmarGenerica", visivel=True)
                     if a["rect"] == [0, 0, 540, 80]],
            "the notice at 0, 0, 540 x 80", 90)[0]
        visto = time.monotonic()
        self.assertEqual(aviso["texto"], "Aviso do Sistema")
        self.assertEqual(visiveis(aviso), [(
            "Static", "AVISO: Existe uma nova versão do aplicativo tolvaneGestor. A atualização "
            "será feita automaticamente. Aguarde...")])
        # The text is on the screen as soon as the notice is, and still a moment later (on a
        # loaded machine the five seconds may be over by then).
        desktop.esperar(lambda: desktop.cores(0, 30, 540, 40) > 2, "the notice's text drawn", 3)
        time.sleep(max(0.0, visto + 1.5 - time.monotonic()))
        desktop.foto("aviso")
        ainda = desktop.com_classe("TfrmMensagemConfirmarGenerica", visivel=True)
        if ainda:
            self.assertEqual(ainda[0]["rect"], [0, 0, 540, 80])
            self.assertGreater(desktop.cores(0, 30, 540, 40), 2, "the notice is one flat colour")
        self.assertEqual(self.p.esperar_fim(40), 0)
        linha_arquivo = os.path.join(self.p.update, "linha de comando.txt")
        desktop.esperar(lambda: os.path.exists(linha_arquivo), "the updater's record")
        with open(linha_arquivo, encoding="utf-8") as f:
            linha = f.read()
        parametros = (f"@F1 @M{caminho_windows(self.p.update).replace(' ', '§')} "
                      f"@E{caminho_windows(self.p.estacao).replace(' ', '§')} "
                      "@AtolvaneGestor.exe")
        self.assertTrue(linha.endswith(" " + parametros), linha)
        programa = linha[:-len(parametros) - 1].strip('"')
        self.assertEqual(programa.lower(), caminho_windows(gravador).lower())

    def test_update_markers_leave_the_desktop_shortcut_and_go(self):
        marcadores = [os.path.join(self.p.estacao, n)
                      for n in ("Exec-tolvaneGestor.ini", "Exec-tolvaneGestor.exe")]
        Estacao.escrever(marcadores[0], "[configuracao]\r\npastamestre=\r\n")
        Estacao.escrever(marcadores[1], "")
        usuario = os.path.join(desktop.env["WINEPREFIX"], "drive_c", "users",
                               subprocess.run(["id", "-un"], capture_output=True,
                                              text=True).stdout.strip())
        atalho = os.path.join(usuario, "Desktop", "Novo tolvaneGestor.lnk")
        if os.path.exists(atalho):
            os.remove(atalho)
        self.p.iniciar()
        self.principal()
        self.assertEqual([m for m in marcadores if os.path.exists(m)], [])
        saida = subprocess.run(["lnkinfo", atalho], capture_output=True, text=True,
                               timeout=60).stdout
        self.assertRegex(saida, r"Description\s*:\s*tolvaneGestor\n")
        self.assertIn(caminho_windows(self.p.exe).split("\\")[-1], saida)
        self.assertIn(BASE, saida)
        self.sair()

    def test_as_the_erp_executable_it_copies_the_master_folders_executables(self):
        # Run under the ERP's own name, after an update the program copies to the update folder
        # the master folder's executables (any letter case of ".exe") that it lacks, with their
        # dates; nothing else, and nothing there is replaced.
        self.p.fechar()
        self.p = Estacao(desktop, "tolvaneEmpresa.exe")
        mestre = os.path.join(self.p.temp.name, "Pasta Mestre ção")
        os.makedirs(mestre)
        for nome, conteudo in (("Outro Programa.EXE", b"MZ outro"), ("leia.txt", b"texto"),
                               ("tolvaneEmpresa.exe", b"MZ da pasta mestre")):
            with open(os.path.join(mestre, nome), "wb") as f:
                f.write(conteudo)
        os.utime(os.path.join(mestre, "Outro Programa.EXE"), (1600000000, 1600000000))
        with open(self.p.copia_servidor, "rb") as f:
            copia_antes = f.read()
        marcadores = [os.path.join(self.p.estacao, n)
                      for n in ("Exec-tolvaneEmpresa.ini", "Exec-tolvaneEmpresa.exe")]
        Estacao.escrever(marcadores[0],
                         f"[configuracao]\r\npastamestre={caminho_windows(mestre)}\r\n")
        Estacao.escrever(marcadores[1], "")
        self.p.iniciar()
        self.principal()
        self.assertEqual([m for m in marcadores if os.path.exists(m)], [])
        copiado = os.path.join(self.p.update, "Outro Programa.EXE")
        with open(copiado, "rb") as f:
            self.assertEqual(f.read(), b"MZ outro")
        self.assertEqual(os.stat(copiado).st_mtime, 1600000000)
        self.assertEqual(sorted(os.listdir(self.p.update)),
                         ["Outro Programa.EXE", "tolvaneAtualizador.exe", "tolvaneEmpresa.exe"])
        with open(self.p.copia_servidor, "rb") as f:
            self.assertEqual(f.read(), copia_antes)
        self.sair()

    def test_certificate_list_and_test_query_save_the_answer_or_show_the_error(self):
        with open(os.path.join(HTTPS, "porta"), encoding="utf-8") as f:
            porta = f.read().strip()
        self.p.env["TOLVANE_CLASSTRIB_URL"] = f"https://localhost:{porta}/e2ewin/api/v1/consultas"
        respostas = os.path.join(HTTPS, "respostas")
        os.makedirs(respostas, exist_ok=True)

        def responder(status, corpo):
            Estacao.escrever(os.path.join(respostas, "e2ewin.status"), str(status), "ascii")
            with open(os.path.join(respostas, "e2ewin.corpo"), "wb") as f:
                f.write(corpo)

        self.p.iniciar()
        principal = self.principal()
        combo = filho(principal, "ComboBox")
        indice = combo["itens"].index(CERTIFICADO)
        botao = filho(principal, "Button", "Testar Consulta")["hwnd"]
        caminho = os.path.join(self.p.estacao, "RetornoClassTrib.json")

        responder(200, "[{\"CST\":\"000\",\"Descricao\":\"Tributação integral\"}]\n".encode())
        desktop.inspetor("escolher", combo["hwnd"], str(indice))
        desktop.inspetor("clicar", botao)
        caixa = self.p.caixa("tolvane Gestor")
        self.assertEqual(texto_caixa(caixa), "Arquivo salvo em:\r\n" + caminho_windows(caminho))
        with open(caminho, "rb") as f:
            self.assertEqual(f.read(), "[{\"CST\":\"000\",\"Descricao\":\"Tributação integral\"}]\r\n"
                             .encode("cp1252"))
        self.p.responder_caixa(caixa)
        desktop.esperar(lambda: not desktop.com_classe("#32770", visivel=True), "the box to close")

        # A refused query: the default error display with the status and the body; the answer
        # saved before stays.
        responder(500, b"falha interna")
        desktop.inspetor("clicar", botao)
        caixa = self.p.caixa("tolvane Gestor")
        self.assertEqual(texto_caixa(caixa), "Erro HTTP 500: falha interna.")
        with open(caminho, "rb") as f:
            self.assertTrue(f.read().startswith(b"[{"))
        self.p.responder_caixa(caixa)
        self.sair()

    def test_whole_update_loop_replaces_restarts_and_stops_there(self):
        with open(self.p.exe, "rb") as f:
            nova = f.read() + b"\0a newer release\n"
        with open(self.p.copia_servidor, "wb") as f:
            f.write(nova)
        momento = os.stat(self.p.exe).st_mtime + 120
        os.utime(self.p.copia_servidor, (momento, momento))
        atalho_desktop = os.path.join(desktop.env["WINEPREFIX"], "drive_c", "users",
                                      subprocess.run(["id", "-un"], capture_output=True,
                                                     text=True).stdout.strip(), "Desktop",
                                      "Novo tolvaneGestor.lnk")
        if os.path.exists(atalho_desktop):
            os.remove(atalho_desktop)
        self.p.iniciar()
        desktop.esperar(lambda: desktop.com_classe("TfrmMensagemConfirmarGenerica", visivel=True),
                        "the notice", 90)
        self.assertEqual(self.p.esperar_fim(60), 0)
        # The new start: its main window, and no second notice.
        principal = desktop.esperar(lambda: desktop.com_classe("TfrmPrincipal", visivel=True),
                                    "the main window of the new start", 120)[0]
        print(f"\nthe whole update loop took {time.monotonic() - self.p.inicio:.1f} s", flush=True)
        self.assertEqual(desktop.com_classe("TfrmMensagemConfirmarGenerica", visivel=True), [])
        with open(self.p.exe, "rb") as f:
            self.assertTrue(f.read() == nova, "the executable was not replaced")
        self.assertEqual(int(os.stat(self.p.exe).st_mtime), int(os.stat(self.p.copia_servidor).st_mtime))
        self.assertTrue(os.path.exists(atalho_desktop))
        self.assertEqual([n for n in ("Exec-tolvaneGestor.ini", "Exec-tolvaneGestor.exe")
                          if os.path.exists(os.path.join(self.p.estacao, n))], [])
        self.assertEqual(len(desktop.com_classe("TfrmPrincipal", visivel=True)), 1)
        # The restarted program is not our child: it ends through its own menu.
        desktop.menu_bandeja("s")
        desktop.esperar(lambda: not desktop.com_classe("TfrmPrincipal", pid=principal["pid"]),
                        "the restarted program to end")


if __name__ == "__main__":
    unittest.main()
