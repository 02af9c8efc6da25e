"""The Windows desktop of the end-to-end runs: the Wine prefix and display that the CTest fixture
PrefixoWine made (tests/wine/prefixo.sh), a tray host on that display, and the inspector
(inspetor.cpp) that lists what is on the screen and acts as a user. Wine's output always goes
to files: its services keep pipes open after a program ends."""

import json
import os
import re
import subprocess
import tempfile
import time

WINE = "/usr/lib/wine/wine64"
ESTADO = os.environ["TOLVANE_WINE_ESTADO"]
INSPETOR = os.environ["TOLVANE_INSPETOR"]


def ambiente_wine():
    """The environment of the prefix, as tests/wine/prefixo.sh wrote it."""
    env = {k: v for k, v in os.environ.items()
           if k != "LANGUAGE" and not k.startswith("LC_")}
    with open(os.path.join(ESTADO, "ambiente"), encoding="utf-8") as f:
        for linha in f:
            m = re.match(r"export (\w+)='?(.*?)'?$", linha.strip())
            if m:
                env[m.group(1)] = m.group(2)
    return env


# The notification the shell sends the program when its icon is pressed: the callback message
# the program gives its icon (gui/win32/bandeja_win32.cpp), the icon's id, the mouse message.
NOTIFICACAO_ICONE = 0x8000 + 10
WM_RBUTTONDOWN = 0x0204


def caminho_windows(caminho):
    """A Linux path as the Windows programs name it: the Linux root is drive Z:."""
    return "Z:" + os.path.abspath(caminho).replace("/", "\\")


class Desktop:
    def __init__(self):
        self.env = ambiente_wine()
        self.temp = tempfile.TemporaryDirectory(prefix="e2e-windows-", dir=ESTADO)
        registro = os.path.join(self.temp.name, "trayer.log")
        with open(registro, "wb") as saida:
            self.trayer = subprocess.Popen(
                ["trayer", "--edge", "bottom", "--align", "right", "--widthtype", "request",
                 "--heighttype", "pixel", "--height", "30", "--transparent", "false"],
                env=self.env, stdin=subprocess.DEVNULL, stdout=saida, stderr=subprocess.STDOUT)

        def painel():
            if self.trayer.poll() is not None:
                with open(registro, encoding="utf-8", errors="replace") as f:
                    raise AssertionError(f"trayer ended ({self.trayer.returncode}): {f.read()}")
            return '("panel" "trayer")' in self.x("xwininfo", "-root", "-tree")

        self.esperar(painel, "the tray host")

    def fechar(self):
        self.trayer.kill()
        self.trayer.wait()
        self.temp.cleanup()

    def x(self, *args):
        r = subprocess.run(args, env=self.env, stdin=subprocess.DEVNULL, capture_output=True,
                           text=True, timeout=30)
        return r.stdout

    def wine(self, *args, timeout=60):
        """Runs a Windows program to its end: (exit code, its output)."""
        with tempfile.TemporaryFile(dir=self.temp.name) as saida:
            r = subprocess.run([WINE, *args], env=self.env, stdin=subprocess.DEVNULL,
                               stdout=saida, stderr=subprocess.STDOUT, timeout=timeout)
            saida.seek(0)
            return r.returncode, saida.read().decode("utf-8", "replace")

    def inspetor(self, *args):
        codigo, saida = self.wine(INSPETOR, *args)
        if codigo != 0:
            raise AssertionError(f"inspetor {' '.join(args)} failed ({codigo}): {saida}")
        return saida

    def janelas(self):
        """Every top-level window, each with its child controls ("filhos")."""
        return [json.loads(linha) for linha in self.inspetor("listar").splitlines()
                if linha.startswith("{")]

    @staticmethod
    def esperar(condicao, o_que, tempo=60):
        fim = time.monotonic() + tempo
        while True:
            r = condicao()
            if r:
                return r
            if time.monotonic() > fim:
                raise AssertionError(f"timed out waiting for {o_que}")
            time.sleep(0.3)

    def icones_bandeja(self):
        """The centres of the icons docked in the tray host's panel. Wine docks each icon as a
        window of its explorer.exe inside the panel."""
        linhas = self.x("xwininfo", "-root", "-tree").splitlines()
        icones = []
        for i, linha in enumerate(linhas):
            if '("panel" "trayer")' not in linha:
                continue
            recuo = len(linha) - len(linha.lstrip())
            for descendente in linhas[i + 1:]:
                if len(descendente) - len(descendente.lstrip()) <= recuo:
                    break
                m = re.search(r'"explorer\.exe"\)\s+(\d+)x(\d+)\+\S+\s+\+(-?\d+)\+(-?\d+)',
                              descendente)
                if m and int(m.group(1)) > 4 and int(m.group(2)) > 4:
                    largura, altura, x, y = map(int, m.groups())
                    icones.append((x + largura // 2, y + altura // 2))
        return icones

    def icone_bandeja(self):
        """The centre of the program's icon: the only one docked, or None while there is none (or
        still the icon of another program besides)."""
        icones = self.icones_bandeja()
        return icones[0] if len(icones) == 1 else None

    def esperar_bandeja_vazia(self, tempo=20):
        """Waits until no icon is docked: a killed program's icon goes a moment after it, once
        Wine's explorer hears that its window is gone. Returns the icons that stay (those of
        programs still running)."""
        fim = time.monotonic() + tempo
        while (icones := self.icones_bandeja()) and time.monotonic() < fim:
            time.sleep(0.3)
        return icones

    def estado(self):
        """What the screen shows, for a message: the docked icons, the visible windows, the
        foreground thread's input, the X windows of the tray and a screenshot. A part that cannot
        be had says why instead."""
        def parte(obter):
            try:
                return obter()
            except (AssertionError, OSError, subprocess.SubprocessError) as e:
                return f"(not available: {e})"

        visiveis = parte(lambda: [(j["classe"], j["texto"], j["pid"]) for j in self.janelas()
                                  if j["visivel"]])
        entrada = parte(lambda: self.inspetor("entrada").strip())
        arvore = parte(lambda: [linha.strip() for linha in
                                self.x("xwininfo", "-root", "-tree").splitlines()
                                if "explorer.exe" in linha or "trayer" in linha])
        return (f"docked icons {parte(self.icones_bandeja)}, visible windows {visiveis}, "
                f"the foreground thread's input {entrada}, "
                f"X windows of the tray and of Wine's explorer {arvore}, "
                f"screenshot {parte(lambda: self.foto('falha-' + time.strftime('%H%M%S')))}")

    def menu_bandeja(self, letra):
        """Presses the right button on the icon: the menu opens on the press and stays open when
        the button is released; then the item with the access key given is chosen."""
        # A press that comes while Wine still lays out a newly docked icon gets lost: a few
        # tries, each one a whole press and release.
        for tentativa in range(3):
            x, y = self.esperar(self.icone_bandeja, "the tray icon")
            if tentativa:
                # Again from outside the icon, with time for Wine to see the pointer come in.
                self.x("xdotool", "mousemove", "640", "512", "sleep", "0.5", "mousemove", str(x),
                       str(y), "sleep", "0.5")
            self.x("xdotool", "mousemove", str(x), str(y), "mousedown", "3")
            try:
                self.esperar(lambda: self.com_classe("#32768", visivel=True),
                             "the tray menu on the button's press", 10)
                break
            except AssertionError:
                pass
            finally:
                self.x("xdotool", "mouseup", "3")
        else:
            # Now and then, under Wine, no press on the docked icon reaches the program however
            # often it comes (in 3 of 16 runs here; the cause is not known, what the screen showed
            # is printed). The shell's notification of the press is then posted to the program's
            # tray window, and the run says so.
            print(f"\nthe presses on the tray icon did not reach the program: {self.estado()}; "
                  "the shell's notification of a press is posted instead", flush=True)
            janelas = self.com_classe("TTrayIcon")
            if len(janelas) != 1:
                raise AssertionError(f"not one tray window of the program: {janelas}")
            self.inspetor("postar", janelas[0]["hwnd"], str(NOTIFICACAO_ICONE), "1",
                          str(WM_RBUTTONDOWN))
            self.esperar(lambda: self.com_classe("#32768", visivel=True),
                         "the tray menu on the press's notification", 10)
        time.sleep(0.3)
        if not self.com_classe("#32768", visivel=True):
            raise AssertionError("releasing the right button closed the tray menu")
        self.inspetor("menu", letra)
        self.esperar(lambda: not self.com_classe("#32768", visivel=True), "the tray menu to close",
                     20)

    def com_classe(self, classe, texto=None, visivel=None, pid=None):
        return [j for j in self.janelas() if j["classe"] == classe
                and (texto is None or j["texto"] == texto)
                and (visivel is None or j["visivel"] == visivel)
                and (pid is None or j["pid"] == pid)]

    def foto(self, nome):
        """A screenshot of the whole display, kept beside the build for people to look at."""
        pasta = os.path.join(ESTADO, "fotos")
        os.makedirs(pasta, exist_ok=True)
        caminho = os.path.join(pasta, nome + ".png")
        subprocess.run(["import", "-window", "root", caminho], env=self.env,
                       stdin=subprocess.DEVNULL, capture_output=True, timeout=60)
        return caminho

    def cores(self, x, y, largura, altura):
        """How many colours a rectangle of the screen shows now."""
        r = subprocess.run(["import", "-window", "root", "-crop", f"{largura}x{altura}+{x}+{y}",
                            "-format", "%k", "info:"], env=self.env, stdin=subprocess.DEVNULL,
                           capture_output=True, text=True, timeout=60)
        return int(r.stdout.strip() or 0)


def filho(janela, classe, texto=None):
    """The child control of the window with that class (and text)."""
    achados = [f for f in janela["filhos"] if f["classe"] == classe
               and (texto is None or f["texto"] == texto)]
    if not achados:
        raise AssertionError(f"no {classe} {texto!r} in {janela['classe']}: "
                             f"{[(f['classe'], f['texto']) for f in janela['filhos']]}")
    return achados[0]
