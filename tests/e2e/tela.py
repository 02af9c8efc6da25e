"""What the end-to-end tests use: a virtual display of their own with a tray host, the program
copied into a folder of its own, and the tools that drive it from outside (xdotool, xclip,
ferramenta_x11)."""

import os
import random
import re
import shutil
import subprocess
import tempfile
import time

EXE = os.environ["TOLVANE_EXE"]
FERRAMENTA_X11 = os.environ["TOLVANE_FERRAMENTA_X11"]
LARGURA, ALTURA = 1366, 768


class Tela:
    """Xvfb on a free display number, with a window manager (openbox) and trayer docked at the
    bottom right when asked. GERENCIADOR in the environment ("1" or "0") sets the default for the
    window manager, so every run that shows windows can be made with and without one."""

    def __init__(self, bandeja=True, gerenciador=None):
        self.xvfb, self.display = self._iniciar_xvfb()
        self.trayer = None
        self.openbox = None
        self.processos = []
        if gerenciador is None:
            gerenciador = os.environ.get("GERENCIADOR") == "1"
        if gerenciador:
            self.iniciar_gerenciador()
        if bandeja:
            self.iniciar_bandeja()

    def iniciar_gerenciador(self):
        """openbox, as every user has a window manager; it announces itself on the root window."""
        self.openbox = subprocess.Popen(["openbox", "--sm-disable"], env=self.env(),
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.esperar(lambda: "window id" in self.x("xprop", "-root", "_NET_SUPPORTING_WM_CHECK"),
                     "the window manager")

    def iniciar_bandeja(self):
        """trayer docked at the bottom right, as the tray host."""
        self.trayer = subprocess.Popen(
            ["trayer", "--edge", "bottom", "--align", "right", "--widthtype", "pixel",
             "--width", "120", "--heighttype", "pixel", "--height", "30",
             "--transparent", "false"],
            env=self.env(), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.esperar(lambda: self.janelas_por_classe("trayer"), "the tray host")

    @staticmethod
    def _iniciar_xvfb():
        # A display number of our own, away from the usual ones, so parallel tests and a
        # developer's own X server never meet.
        for numero in random.sample(range(200, 900), 40):
            if os.path.exists(f"/tmp/.X{numero}-lock") or os.path.exists(
                    f"/tmp/.X11-unix/X{numero}"):
                continue
            display = f":{numero}"
            xvfb = subprocess.Popen(["Xvfb", display, "-screen", "0", f"{LARGURA}x{ALTURA}x24",
                                     "-nolisten", "tcp", "-noreset"],
                                    stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            env = dict(os.environ, DISPLAY=display)
            fim = time.monotonic() + 20
            while xvfb.poll() is None and time.monotonic() < fim:
                if subprocess.run(["xdpyinfo"], env=env, capture_output=True).returncode == 0:
                    return xvfb, display
                time.sleep(0.1)
            xvfb.kill()
            xvfb.wait()
        raise RuntimeError("no virtual display could be started")

    def env(self, **extra):
        e = dict(os.environ)
        e["DISPLAY"] = self.display
        e.update(extra)
        return e

    def x(self, *args, entrada=None):
        # Bytes decoded by hand: text mode would turn a lone CR into a line feed.
        r = subprocess.run(list(args), env=self.env(), capture_output=True,
                           input=entrada.encode() if entrada else None, timeout=30)
        return r.stdout.decode("utf-8", errors="replace")

    def fechar(self):
        for p in self.processos + [self.trayer, self.openbox]:
            if p and p.poll() is None:
                p.kill()
                p.wait()
        # Ended by a signal it handles, Xvfb removes its lock file and socket; killed, it would
        # leave the display number taken for every later run on the machine.
        if self.xvfb.poll() is None:
            self.xvfb.terminate()
            try:
                self.xvfb.wait(timeout=10)
            except subprocess.TimeoutExpired:
                self.xvfb.kill()
                self.xvfb.wait()

    # Windows

    def janelas(self, nome, visiveis=True):
        args = ["xdotool", "search"] + (["--onlyvisible"] if visiveis else [])
        return [int(j) for j in self.x(*args, "--name", "^" + re.escape(nome) + "$").split()]

    def janelas_por_classe(self, classe):
        return [int(j) for j in self.x("xdotool", "search", "--class", classe).split()]

    def arvore(self):
        """Every window: (id, name, class, width, height, absolute x, absolute y, depth)."""
        linhas = []
        padrao = re.compile(r'^(\s*)(0x[0-9a-f]+) (?:"(.*)"|\(has no name\)): \((.*)\)\s+'
                            r'(\d+)x(\d+)\+-?\d+\+-?\d+\s+\+(-?\d+)\+(-?\d+)')
        for linha in self.x("xwininfo", "-root", "-tree").splitlines():
            m = padrao.match(linha)
            if m:
                linhas.append((int(m[2], 16), m[3] or "", m[4], int(m[5]), int(m[6]),
                               int(m[7]), int(m[8]), len(m[1])))
        return linhas

    def mapeada(self, janela):
        return "IsViewable" in self.x("xwininfo", "-id", str(janela))

    def geometria(self, janela):
        saida = self.x("xwininfo", "-id", str(janela))
        numero = lambda rotulo: int(re.search(rotulo + r":\s+(-?\d+)", saida)[1])
        return (numero("Absolute upper-left X"), numero("Absolute upper-left Y"),
                numero("Width"), numero("Height"))

    def moldura(self, janela):
        """The outer window as the user sees it: the client's geometry grown by the frame the
        window manager announces (none without a window manager)."""
        x, y, largura, altura = self.geometria(janela)
        extensoes = re.search(r"=\s*(\d+), (\d+), (\d+), (\d+)",
                              self.x("xprop", "-id", str(janela), "_NET_FRAME_EXTENTS"))
        if not extensoes:
            return x, y, largura, altura
        esquerda, direita, topo, base = (int(v) for v in extensoes.groups())
        return x - esquerda, y - topo, largura + esquerda + direita, altura + topo + base

    def cores_na_area(self, x, y, largura, altura):
        """How many different colours the screen shows in that area."""
        saida = subprocess.run(["import", "-window", "root", "-crop",
                                f"{largura}x{altura}+{x}+{y}", "-format", "%k", "info:"],
                               env=self.env(), capture_output=True, timeout=30)
        return int(saida.stdout.decode().strip() or 0)

    def esperar(self, condicao, descricao, limite=20):
        fim = time.monotonic() + limite
        while time.monotonic() < fim:
            valor = condicao()
            if valor:
                return valor
            time.sleep(0.1)
        raise AssertionError(f"timed out after {limite} s waiting for {descricao}")

    def esperar_janela(self, nome, limite=20, exceto=()):
        """A visible window of that name, other than those in exceto."""
        return self.esperar(lambda: [j for j in self.janelas(nome) if j not in exceto],
                            f'a window named "{nome}"', limite)[0]

    # Input

    def teclas(self, janela, *teclas):
        self.x("xdotool", "windowfocus", "--sync", str(janela))
        for t in teclas:
            self.x("xdotool", "key", "--clearmodifiers", t)
            time.sleep(0.15)

    def texto_da_caixa(self, janela):
        """A message box's text as Ctrl+C copies it."""
        # xclip stays in the background to serve what it put on the clipboard.
        subprocess.run(["xclip", "-selection", "clipboard", "-i", "/dev/null"], env=self.env(),
                       stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL, timeout=30)
        self.teclas(janela, "ctrl+c")
        return self.esperar(lambda: self.x("xclip", "-selection", "clipboard", "-o"),
                            "the message box text on the clipboard", 5)

    def icone_bandeja(self):
        """Centre of our icon inside the tray host, or None when it is not docked."""
        arvore = self.arvore()
        paineis = [j for j in arvore if j[2] == '"panel" "trayer"']
        if not paineis:
            return None
        _, _, _, pl, pa, px, py, _ = paineis[0]
        for _, nome, classe, l, a, x, y, _ in arvore:
            if (classe == '"tolvaneGestor" "tolvaneGestor"' and px <= x < px + pl
                    and py <= y < py + pa):
                return x + l // 2, y + a // 2
        return None

    def menu_bandeja(self, tecla):
        """Right-clicks the tray icon and picks the menu item by its access key."""
        x, y = self.esperar(self.icone_bandeja, "the tray icon")
        self.x("xdotool", "mousemove", str(x), str(y), "click", "3")
        time.sleep(0.5)
        self.x("xdotool", "key", tecla)

    def janela_estrangeira(self, classe, nome, mapear=False):
        """A window of another program; it lives until the test's display closes."""
        args = [FERRAMENTA_X11, "criar", classe, nome] + (["--mapear"] if mapear else [])
        p = subprocess.Popen(args, env=self.env(), stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                             text=True)
        self.processos.append(p)
        return int(p.stdout.readline())

    def pedir_fechar(self, janela):
        self.x(FERRAMENTA_X11, "fechar", str(janela))

    def foto(self, arquivo):
        self.x("import", "-window", "root", arquivo)


class Programa:
    """The program copied alone into a folder of its own, as the self-update distributes it."""

    def __init__(self, tela, pasta=None, **env):
        self.tela = tela
        self.temp = tempfile.TemporaryDirectory(prefix="tolvane-e2e-")
        self.pasta = pasta or self.temp.name
        self.home = os.path.join(self.temp.name, "home")
        os.makedirs(self.home, exist_ok=True)
        self.exe = os.path.join(self.pasta, "tolvaneGestor")
        shutil.copy2(EXE, self.exe)
        self.env = tela.env(HOME=self.home, LC_ALL="pt_BR.UTF-8", XDG_CONFIG_HOME=os.path.join(
            self.home, ".config"), XDG_DATA_HOME=os.path.join(self.home, ".local", "share"))
        self.env.pop("LANG", None)
        self.env.update(env)
        self.processo = None

    def iniciar(self, registro=None):
        """registro: a file for stdout and stderr instead of pipes. The processes the program
        starts (the updater, and the program it starts again) inherit them and outlive it; on
        pipes they would keep esperar_fim waiting for the end of the output."""
        if registro is None:
            saida = erros = subprocess.PIPE
        else:
            saida = open(registro, "ab")
            erros = subprocess.STDOUT
        try:
            self.processo = subprocess.Popen([self.exe], cwd=self.temp.name, env=self.env,
                                             stdout=saida, stderr=erros, text=True)
        finally:
            if registro is not None:
                saida.close()
        return self.processo

    def esperar_fim(self, limite=20):
        try:
            saida, erros = self.processo.communicate(timeout=limite)
        except subprocess.TimeoutExpired:
            self.processo.kill()
            raise AssertionError(f"the program did not end within {limite} s")
        return self.processo.returncode, saida, erros

    def vivo(self):
        return self.processo.poll() is None

    def fechar(self):
        if self.processo and self.processo.poll() is None:
            self.processo.kill()
            self.processo.communicate()
        self.temp.cleanup()
