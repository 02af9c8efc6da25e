#!/usr/bin/env python3
"""Start-up benchmark of the Windows program under Wine: seconds from the process start to its
window being mapped on the X display, for

  - the bare window: bench_janela_minima_win32.exe, a class, one window, a message loop;
  - the fair yardstick: the same program after the database work tolvaneGestor.exe cannot avoid,
    through the same gds32.dll (load, attach, the presence test of the version column, commit);
  - tolvaneGestor.exe on a workstation with its ERP files, database and update folder
    (tests/e2e_windows/estacao.py);

in alternating rounds in one warm Wine prefix of its own; medians, spread and ratios.

    bench/inicio_windows/medir.py <Windows build folder> [rounds, default 11] [--perfil]
                                  [--antes=<another tolvaneGestor.exe>] [--servidor]

The build's architecture picks the loader: wine64 for a 64-bit build (PE32+), whose bridge
reaches the embedded engine of the Linux client; Wine's 32-bit loader for the release (PE32),
whose i386 client has no embedded engine, so the database then lies on a Firebird server of the
benchmark's own (tests/database/servidor_firebird.sh). Needs the build's targets tolvaneGestor,
tolvaneAtualizador, bench_janela_minima_win32 and tolvane_ponte_gds32; Xvfb, trayer, xdotool.
--perfil then starts the yardstick and tolvaneGestor.exe 5 times more each with Wine's relay of
the calls that mark the steps of a start (MARCAS) and prints the medians of when each step came
and when the window was mapped (README.md). --antes adds another build
of the program (an earlier commit's, say) to the rounds, on a workstation of its own. --servidor
puts the database on the server for a 64-bit build too, as the 32-bit run has it."""

import os
import re
import shutil
import statistics
import struct
import subprocess
import sys
import tempfile
import time

RAIZ = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
ARGUMENTOS = [a for a in sys.argv[1:] if not a.startswith("--")]
PERFIL = "--perfil" in sys.argv[1:]
EM_SERVIDOR = "--servidor" in sys.argv[1:]
ANTES = next((a.split("=", 1)[1] for a in sys.argv[1:] if a.startswith("--antes=")), None)
BUILD = os.path.abspath(ARGUMENTOS[0] if ARGUMENTOS else os.path.join(RAIZ, "build",
                                                                       "windows-x86"))
RODADAS = int(ARGUMENTOS[1]) if len(ARGUMENTOS) > 1 else 11
EXE = os.path.join(BUILD, "src/gui/win32/tolvaneGestor.exe")
MINIMA = os.path.join(BUILD, "bench/inicio_windows/bench_janela_minima_win32.exe")
PREFIXO = os.path.join(RAIZ, "tests", "wine", "prefixo.sh")
SERVIDOR_FIREBIRD = os.path.join(RAIZ, "tests", "database", "servidor_firebird.sh")


def bits_pe(caminho):
    """32 or 64: the PE optional header's magic (0x10b PE32, 0x20b PE32+)."""
    with open(caminho, "rb") as f:
        cabecalho = f.read(4096)
    pe = struct.unpack_from("<I", cabecalho, 0x3C)[0]
    magico = struct.unpack_from("<H", cabecalho, pe + 24)[0]
    return {0x10B: 32, 0x20B: 64}[magico]


BITS = bits_pe(EXE)
CARREGADOR = "/usr/lib/wine/wine64" if BITS == 64 else "/usr/lib/wine/wine"
ESTADO = tempfile.mkdtemp(prefix="bench-inicio-", dir=os.path.join(BUILD, "wine"))
os.environ.update({
    "TOLVANE_WINE_ESTADO": ESTADO,
    "TOLVANE_INSPETOR": os.path.join(BUILD, "tests/e2e_windows/inspetor.exe"),
    "TOLVANE_EXE": EXE,
    "TOLVANE_ATUALIZADOR": os.path.join(BUILD, "src/updater/tolvaneAtualizador.exe"),
    "TOLVANE_PONTE_GDS32": os.path.join(BUILD, "wine/gds32.dll"),
})
sys.path.insert(0, os.path.join(RAIZ, "tests", "e2e_windows"))


def medir(desktop, programa, titulo, env, cwd, saida=subprocess.DEVNULL, verificar=False):
    inicio = time.monotonic()
    p = subprocess.Popen([CARREGADOR, programa], env=env, cwd=cwd, stdin=subprocess.DEVNULL,
                         stdout=saida, stderr=saida)
    while not desktop.x("xdotool", "search", "--onlyvisible", "--name", f"^{titulo}$"):
        if p.poll() is not None:
            raise RuntimeError(f"{programa} ended ({p.returncode}) without a window {titulo!r}")
        if time.monotonic() - inicio > 60:
            raise RuntimeError(f"no window {titulo!r} within 60 s")
    decorrido = time.monotonic() - inicio
    if verificar and not desktop.com_classe("TfrmPrincipal", visivel=True):
        visiveis = [(j["classe"], j["texto"]) for j in desktop.janelas() if j["visivel"]]
        p.kill()
        raise RuntimeError(f"{programa} shows no main window: {visiveis}")
    p.kill()
    p.wait()
    # Its window gone from the display before the next start, which may look for the same title.
    fim = time.monotonic() + 10
    while (desktop.x("xdotool", "search", "--onlyvisible", "--name", f"^{titulo}$")
           and time.monotonic() < fim):
        time.sleep(0.05)
    return decorrido


# The calls that mark the steps of a start, traced by Wine's relay with their time: (step, the
# call's line in the log).
FUNCOES_MARCADAS = ("user32.CreateWindowExW;user32.ShowWindow;user32.GetMessageW;"
                    "gds32.isc_attach_database;gds32.isc_commit_transaction;"
                    "kernel32.GetPrivateProfileStringW;shell32.Shell_NotifyIconW")
MARCAS = [
    ("libraries loaded and started (the first call traced)",
     r"Call (user32|gds32|KERNEL32|shell32)\."),
    ("application window created", r"Call user32\.CreateWindowExW\(.*\"TApplication\""),
    ("main window created", r"Call user32\.CreateWindowExW\(.*\"TfrmPrincipal\""),
    ("its controls and tray window built", r"Call user32\.CreateWindowExW\(.*\"TTrayIcon\""),
    ("configuration read", r"Call KERNEL32\.GetPrivateProfileStringW"),
    ("gds32.dll loaded", r"Loaded L?\"[^\"]*gds32\.dll\""),
    ("attached", r"Ret  gds32\.isc_attach_database"),
    ("presence test committed", r"Ret  gds32\.isc_commit_transaction"),
    ("crypt32.dll loaded (certificate list)", r"Loaded L?\"[^\"]*crypt32\.dll\""),
    ("tray icon added", r"Call shell32\.Shell_NotifyIconW"),
    ("window shown", r"Call user32\.ShowWindow\(\w+,00000001\)"),
    ("message loop entered", r"Call user32\.GetMessageW"),
]


def perfil(desktop, programa, titulo, env, cwd, vezes=5):
    """Starts under Wine's relay of FUNCOES_MARCADAS, with timestamps: when each step of MARCAS
    came, in ms from the first line of the log, and when the window was mapped, in ms from the
    process start; medians."""
    desktop.wine("reg", "add", r"HKCU\Software\Wine\Debug", "/v", "RelayInclude", "/t",
                 "REG_SZ", "/d", FUNCOES_MARCADAS, "/f")
    passos, janelas = {}, []
    for vez in range(vezes):
        registro = os.path.join(ESTADO, f"perfil-{vez}.log")
        with open(registro, "wb") as saida:
            janelas.append(medir(desktop, programa, titulo,
                                 dict(env, WINEDEBUG="+timestamp,+loaddll,+relay"), cwd, saida))
        zero, achados = None, {}
        with open(registro, encoding="utf-8", errors="replace") as f:
            for linha in f:
                m = re.match(r"\s*(\d+)\.(\d+):", linha)
                if not m:
                    continue
                ms = int(m.group(1)) * 1000 + int(m.group(2))
                zero = ms if zero is None else zero
                for passo, padrao in MARCAS:
                    if passo not in achados and re.search(padrao, linha):
                        achados[passo] = ms - zero
        for passo, ms in achados.items():
            passos.setdefault(passo, []).append(ms)
    print(f"{os.path.basename(programa)} ({titulo!r}), medians of {vezes} traced starts:")
    for passo, _ in MARCAS:
        if passo in passos:
            print(f"{statistics.median(passos[passo]):7.0f} ms  {passo}")
    print(f"{statistics.median(janelas) * 1000:7.0f} ms  window mapped (from the process start)")


def main():
    subprocess.run([PREFIXO, "iniciar", ESTADO, os.path.join(BUILD, "wine", "dlls")], check=True,
                   stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL)
    servidor = os.path.join(ESTADO, "firebird")
    try:
        from desktop import Desktop  # noqa: E402
        from estacao import Estacao  # noqa: E402
        desktop = Desktop()
        endereco = None
        if BITS == 32 or EM_SERVIDOR:
            subprocess.run([SERVIDOR_FIREBIRD, "iniciar", servidor], check=True,
                           stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL)
            with open(os.path.join(servidor, "porta"), encoding="ascii") as f:
                endereco = f"127.0.0.1/{f.read().strip()}"

        def preparar(estacao):
            """The workstation's connection string, on the server when there is one."""
            if not endereco:
                return estacao.banco
            estacao.escrever(estacao.ini_servidor, f"[Database]\r\nServidor={endereco}\r\n"
                             f"path={estacao.pasta_banco}/\r\nname=DEMO.FDB\r\n")
            return f"{endereco}:{estacao.banco}"

        estacao = Estacao(desktop)
        banco = preparar(estacao)
        # Beside the program and its gds32.dll, as the program is.
        minima = os.path.join(estacao.estacao, "janela_minima.exe")
        shutil.copy2(MINIMA, minima)
        com_banco = dict(estacao.env, TOLVANE_BANCO_MINIMA=banco)
        programas = [
            ("bare window", minima, "janela minima", desktop.env),
            ("window + database (yardstick)", minima, "janela minima", com_banco),
            ("tolvaneGestor.exe", estacao.exe, "tolvane Gestor", estacao.env),
        ]
        if ANTES:
            antes = Estacao(desktop)
            preparar(antes)
            # The same program in the update folder too: no update is offered.
            for destino in (antes.exe, antes.copia_servidor):
                shutil.copy2(ANTES, destino)
            programas.append(("tolvaneGestor.exe --antes", antes.exe, "tolvane Gestor",
                              antes.env))
        tempos = {nome: [] for nome, *_ in programas}
        # One of each first, not counted: the prefix's services start with the first program,
        # and the program's first start adds the version columns to the database. What the
        # program shows must be its main window: an error box bears its title too.
        for nome, programa, titulo, env in programas:
            medir(desktop, programa, titulo, env, estacao.temp.name,
                  verificar=titulo == "tolvane Gestor")
        for rodada in range(RODADAS):
            # Each round in another order, so that no program always follows the same one.
            for i in range(len(programas)):
                nome, programa, titulo, env = programas[(i + rodada) % len(programas)]
                tempos[nome].append(medir(desktop, programa, titulo, env, estacao.temp.name))
        print(f"{BITS}-bit build, {CARREGADOR}, database "
              f"{'on a Firebird server' if endereco else 'embedded'}, {RODADAS} rounds")
        print(f"{'':32s}{'median':>8s}{'min':>8s}{'max':>8s}")
        for nome, t in tempos.items():
            print(f"{nome:32s}{statistics.median(t):8.3f}{min(t):8.3f}{max(t):8.3f}")
        nu, mb, mg, *ma = (statistics.median(t) for t in tempos.values())
        print(f"ratios: tolvaneGestor / yardstick {mg / mb:.2f}   tolvaneGestor / bare "
              f"{mg / nu:.2f}   yardstick / bare {mb / nu:.2f}" +
              (f"   --antes / yardstick {ma[0] / mb:.2f}" if ma else ""))
        if PERFIL:
            perfil(desktop, minima, "janela minima", com_banco, estacao.temp.name)
            perfil(desktop, estacao.exe, "tolvane Gestor", estacao.env, estacao.temp.name)
        if ANTES:
            antes.fechar()
        estacao.fechar()
        desktop.fechar()
    finally:
        subprocess.run([SERVIDOR_FIREBIRD, "parar", servidor], stdin=subprocess.DEVNULL,
                       stdout=subprocess.DEVNULL)
        subprocess.run([PREFIXO, "parar", ESTADO], stdin=subprocess.DEVNULL,
                       stdout=subprocess.DEVNULL)
        shutil.rmtree(ESTADO, ignore_errors=True)


if __name__ == "__main__":
    main()
