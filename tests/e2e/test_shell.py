"""The application shell driven from outside: guard, main window, tray menu, information window."""

import os
import re
import signal
import subprocess
import time
import unittest

from ambiente import Ambiente
from tela import ALTURA, LARGURA, Tela


def janela_de_tamanho(tela, nome, largura, altura, externo=False):
    """A visible window of that name whose client area (or, with externo, its outer window,
    frame included) has that size."""
    medida = tela.moldura if externo else tela.geometria
    for j in tela.janelas(nome):
        if medida(j)[2:] == (largura, altura):
            return j
    return None


def area_de_trabalho(tela):
    """The screen less the panels, as the window manager announces it (all of it without one)."""
    m = re.search(r"=\s*(\d+), (\d+), (\d+), (\d+)", tela.x("xprop", "-root", "_NET_WORKAREA"))
    return tuple(int(v) for v in m.groups()) if m else (0, 0, LARGURA, ALTURA)


class Shell(unittest.TestCase):
    bandeja = True

    def setUp(self):
        self.tela = Tela(bandeja=self.bandeja)
        self.addCleanup(self.tela.fechar)

    def programa(self, **env):
        p = Ambiente(self.tela, **env)
        self.addCleanup(p.fechar)
        return p

    def janela_principal(self):
        janela = self.tela.esperar(
            lambda: janela_de_tamanho(self.tela, "tolvane Gestor", 540, 357), "the main window")
        time.sleep(0.5)  # let the program finish bringing it to the front before typing
        return janela

    def test_other_station_running_warns_and_ends_without_icon(self):
        self.tela.janela_estrangeira("TApplication", "TOLVANE ASSISTENTE")
        p = self.programa()
        p.iniciar()
        caixa = self.tela.esperar_janela("Aviso do sistema")
        self.assertEqual(self.tela.texto_da_caixa(caixa),
                         "---------------------------\nAviso do sistema\n"
                         "---------------------------\n"
                         "Já existe uma estação do tolvane Assistente em execução.\n"
                         "---------------------------\nOK   \n---------------------------\n")
        self.assertIsNone(self.tela.icone_bandeja())
        self.assertEqual(self.tela.janelas("tolvane Gestor", visiveis=False), [])
        self.tela.teclas(caixa, "Return")
        codigo, _, _ = p.esperar_fim()
        self.assertEqual(codigo, 0)

    def test_windows_that_are_not_the_guard_do_not_stop_the_start(self):
        # A copy of this program, and the right title under another class, are not the guard.
        self.tela.janela_estrangeira("TApplication", "tolvane Gestor")
        self.tela.janela_estrangeira("OutraClasse", "tolvane Assistente", mapear=True)
        p = self.programa()
        p.iniciar()
        principal = self.janela_principal()
        # The designed place is the outer window's, the size the client area's.
        self.assertEqual(self.tela.moldura(principal)[:2], (764, 175))
        self.assertEqual(self.tela.geometria(principal)[2:], (540, 357))
        self.assertIsNotNone(self.tela.esperar(self.tela.icone_bandeja, "the tray icon"))
        self.assertEqual(self.tela.janelas("Aviso do sistema"), [])

    def test_application_window_can_be_found_like_the_guard_finds_others(self):
        p = self.programa()
        p.iniciar()
        self.janela_principal()
        aplicacao = [j for j in self.tela.arvore()
                     if j[1] == "tolvane Gestor" and j[2] == '"tolvaneGestor" "TApplication"']
        self.assertEqual(len(aplicacao), 1)
        self.assertFalse(self.tela.mapeada(aplicacao[0][0]))

    def test_minimise_hides_to_the_tray_and_activation_restores(self):
        p = self.programa()
        p.iniciar()
        principal = self.janela_principal()
        # "Minimizar" is on the page "Controle": next page, then the first control in tab order.
        self.tela.teclas(principal, "ctrl+Tab", "Tab", "space")
        self.tela.esperar(lambda: not self.tela.mapeada(principal), "the main window to hide")
        self.assertTrue(p.vivo())
        self.assertIsNotNone(self.tela.icone_bandeja())

        aplicacao = self.tela.janelas("tolvane Gestor", visiveis=False)
        aplicacao = [j for j in aplicacao if self.tela.geometria(j)[2:] == (1, 1) and
                     "TApplication" in self.tela.x("xprop", "-id", str(j), "WM_CLASS")][0]
        # An activation request, as a window manager's pager or "xdotool windowactivate" sends it.
        self.tela.x("xprop", "-root", "-f", "_NET_SUPPORTED", "32a", "-set", "_NET_SUPPORTED",
                    "_NET_ACTIVE_WINDOW")
        self.tela.x("xdotool", "windowactivate", str(aplicacao))
        self.tela.esperar(lambda: self.tela.mapeada(principal), "the main window to come back")
        self.assertFalse(self.tela.mapeada(aplicacao))

        # The window comes back as it left: page "Controle", the focus on "Minimizar".
        self.tela.teclas(principal, "space")
        self.tela.esperar(lambda: not self.tela.mapeada(principal), "the main window to hide")
        self.tela.x("xdotool", "windowmap", str(aplicacao))
        self.tela.esperar(lambda: self.tela.mapeada(principal), "the main window to come back")
        self.tela.esperar(lambda: not self.tela.mapeada(aplicacao), "the application window to hide")

    def test_information_window_shows_the_executable_date_and_sair_ends_with_it_open(self):
        p = self.programa()
        data = time.mktime((2024, 3, 25, 14, 37, 13, 0, 0, -1))
        os.utime(p.exe, (0, data))
        os.utime(p.copia_servidor, (0, data))  # the release on the server is the same
        p.iniciar()
        self.janela_principal()
        self.tela.menu_bandeja("a")
        sobre = self.tela.esperar(lambda: janela_de_tamanho(self.tela, "tolvane Gestor", 490, 208),
                                  "the information window")
        # Centred, frame included, in the work area.
        ax, ay, al, aa = area_de_trabalho(self.tela)
        mx, my, ml, ma = self.tela.esperar(lambda: self.tela.moldura(sobre), "its frame")
        self.assertLessEqual(abs((mx + ml / 2) - (ax + al / 2)), 1, (mx, my, ml, ma))
        self.assertLessEqual(abs((my + ma / 2) - (ay + aa / 2)), 1, (mx, my, ml, ma))
        # What the user sees: the logo and the texts, not an unpainted area.
        cx, cy, _, _ = self.tela.geometria(sobre)
        self.assertGreater(self.tela.cores_na_area(cx, cy, 490, 208), 16)
        # The version label is selectable: a triple click puts its text on the X selection.
        x, y, _, _ = self.tela.geometria(sobre)
        self.tela.x("xdotool", "mousemove", str(x + 180), str(y + 82), "click", "--repeat", "3",
                    "--delay", "80", "1")
        texto = self.tela.esperar(lambda: self.tela.x("xclip", "-selection", "primary", "-o"),
                                  "the selected version text", 5)
        self.assertEqual(texto, "Versão: 25/03/2024 14:37")

        # A second choice opens a second window on top of the first.
        self.tela.menu_bandeja("a")
        self.tela.esperar(lambda: len([j for j in self.tela.janelas("tolvane Gestor")
                                       if self.tela.geometria(j)[2:] == (490, 208)]) == 2,
                          "a second information window")
        self.tela.menu_bandeja("s")
        codigo, _, _ = p.esperar_fim()
        self.assertEqual(codigo, 0)
        self.assertIsNone(self.tela.icone_bandeja())

    def test_closing_the_main_window_ends_the_program(self):
        p = self.programa()
        p.iniciar()
        principal = self.janela_principal()
        self.tela.pedir_fechar(principal)
        codigo, _, _ = p.esperar_fim()
        self.assertEqual(codigo, 0)

    def test_the_end_of_the_session_ends_the_program(self):
        # SIGTERM, as at log-off or shutdown, once the database client is loaded.
        p = self.programa()
        p.iniciar()
        self.janela_principal()
        p.processo.send_signal(signal.SIGTERM)
        codigo, _, _ = p.esperar_fim()
        self.assertEqual(codigo, 0)

    def test_the_icon_comes_back_when_the_tray_host_restarts(self):
        p = self.programa()
        p.iniciar()
        self.janela_principal()
        self.tela.esperar(self.tela.icone_bandeja, "the tray icon")
        self.tela.trayer.terminate()
        self.tela.trayer.wait()
        self.tela.esperar(lambda: self.tela.icone_bandeja() is None, "the tray host to go")
        self.tela.iniciar_bandeja()
        self.tela.esperar(self.tela.icone_bandeja, "the tray icon in the new tray host")
        self.tela.menu_bandeja("s")
        codigo, _, _ = p.esperar_fim()
        self.assertEqual(codigo, 0)


class SemBandeja(Shell):
    bandeja = False

    def test_without_a_tray_the_window_still_works_and_it_says_so_once(self):
        p = self.programa()
        p.iniciar()
        principal = self.janela_principal()
        self.tela.pedir_fechar(principal)
        codigo, _, erros = p.esperar_fim()
        self.assertEqual(codigo, 0)
        self.assertEqual(erros.count("no system tray"), 1, erros)


# The tray-only cases make no sense without a tray host.
for nome in ("test_other_station_running_warns_and_ends_without_icon",
             "test_minimise_hides_to_the_tray_and_activation_restores",
             "test_information_window_shows_the_executable_date_and_sair_ends_with_it_open",
             "test_windows_that_are_not_the_guard_do_not_stop_the_start",
             "test_application_window_can_be_found_like_the_guard_finds_others",
             "test_closing_the_main_window_ends_the_program",
             "test_the_end_of_the_session_ends_the_program",
             "test_the_icon_comes_back_when_the_tray_host_restarts"):
    setattr(SemBandeja, nome, None)


class SemTela(unittest.TestCase):
    def test_without_a_display_it_says_so_and_fails(self):
        env = dict(os.environ)
        env.pop("DISPLAY", None)
        r = subprocess.run([os.environ["TOLVANE_EXE"]], env=env, capture_output=True, text=True,
                           timeout=30)
        self.assertNotEqual(r.returncode, 0)
        self.assertIn("cannot open the X display", r.stderr)


if __name__ == "__main__":
    unittest.main()
