#!/usr/bin/env python3
"""Start-up benchmark of the Windows program under Wine: seconds from the process start to the
main window being mapped on the X display, for tolvaneGestor.exe (on a workstation with its ERP
files, database through the tests' gds32 bridge, and update folder) and for a minimal Win32
window program, interleaved in one warm Wine prefix of its own; medians and their ratio.

    bench/inicio_windows/medir.py <windows-x64 build folder> [runs, default 11]"""

import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

RAIZ = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
BUILD = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else
                        os.path.join(RAIZ, "build", "windows-x64"))
RODADAS = int(sys.argv[2]) if len(sys.argv) > 2 else 11
ESTADO = tempfile.mkdtemp(prefix="bench-inicio-", dir=os.path.join(BUILD, "wine"))
os.environ.update({
    "TOLVANE_WINE_ESTADO": ESTADO,
    "TOLVANE_INSPETOR": os.path.join(BUILD, "tests/e2e_windows/inspetor.exe"),
    "TOLVANE_EXE": os.path.join(BUILD, "src/gui/win32/tolvaneGestor.exe"),
    "TOLVANE_ATUALIZADOR": os.path.join(BUILD, "src/updater/tolvaneAtualizador.exe"),
    "TOLVANE_PONTE_GDS32": os.path.join(BUILD, "wine/gds32.dll"),
})
MINIMA = os.path.join(BUILD, "bench/inicio_windows/bench_janela_minima_win32.exe")
PREFIXO = os.path.join(RAIZ, "tests", "wine", "prefixo.sh")
sys.path.insert(0, os.path.join(RAIZ, "tests", "e2e_windows"))


def medir(desktop, programa, titulo, env, cwd):
    inicio = time.monotonic()
    p = subprocess.Popen(["/usr/lib/wine/wine64", programa], env=env, cwd=cwd,
                         stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                         stderr=subprocess.DEVNULL)
    while not desktop.x("xdotool", "search", "--onlyvisible", "--name", f"^{titulo}$"):
        if time.monotonic() - inicio > 60:
            raise RuntimeError(f"no window {titulo!r} within 60 s")
    decorrido = time.monotonic() - inicio
    p.kill()
    p.wait()
    return decorrido


def main():
    subprocess.run([PREFIXO, "iniciar", ESTADO, os.path.join(BUILD, "wine", "dlls")], check=True,
                   stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL)
    try:
        from desktop import Desktop  # noqa: E402
        from estacao import Estacao  # noqa: E402
        desktop = Desktop()
        estacao = Estacao(desktop)
        gestor, minima = [], []
        # One of each first, not counted: the prefix's services start with the first program.
        medir(desktop, MINIMA, "janela minima", desktop.env, estacao.temp.name)
        medir(desktop, estacao.exe, "tolvane Gestor", estacao.env, estacao.temp.name)
        for _ in range(RODADAS):
            minima.append(medir(desktop, MINIMA, "janela minima", desktop.env, estacao.temp.name))
            gestor.append(medir(desktop, estacao.exe, "tolvane Gestor", estacao.env,
                                estacao.temp.name))
        mg, mm = statistics.median(gestor), statistics.median(minima)
        print(f"tolvaneGestor.exe: median {mg:.3f} s over {RODADAS} runs "
              f"(min {min(gestor):.3f}, max {max(gestor):.3f})")
        print(f"minimal Win32 window: median {mm:.3f} s (min {min(minima):.3f}, "
              f"max {max(minima):.3f})")
        print(f"ratio {mg / mm:.2f}")
        estacao.fechar()
        desktop.fechar()
    finally:
        subprocess.run([PREFIXO, "parar", ESTADO], stdin=subprocess.DEVNULL,
                       stdout=subprocess.DEVNULL)
        shutil.rmtree(ESTADO, ignore_errors=True)


if __name__ == "__main__":
    main()
