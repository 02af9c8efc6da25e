#!/usr/bin/env python3
"""Start-up benchmark: time from process start to the main window being mapped, and the resident
memory once it is, for tolvaneGestor (on a workstation with its ERP files, database and update
folder) and for a minimal Qt Widgets program that shows one window, both measured in the same run
on the same virtual display, interleaved; medians printed as ratios. The program is measured
twice: with the database on a Firebird server on this machine (the usual set-up of the ERP's
workstations: only the client library is loaded) and with a bare path, where the embedded engine
runs inside the program. Then the CPU time the program uses over 60 s idle in the tray.

    bench/startup/medir.py <build folder> [runs, default 15] [idle seconds, default 60]

Goals: time <= 1.25x, memory <= 1.3x, idle CPU <= 10 ms per minute."""

import os
import statistics
import subprocess
import sys
import time

RAIZ = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
BUILD = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(RAIZ, "build"))
RODADAS = int(sys.argv[2]) if len(sys.argv) > 2 else 15
OCIOSO = int(sys.argv[3]) if len(sys.argv) > 3 else 60
os.environ.setdefault("TOLVANE_EXE", os.path.join(BUILD, "src/gui/qt/tolvaneGestor"))
os.environ.setdefault("TOLVANE_FERRAMENTA_X11", os.path.join(BUILD, "tests/e2e/ferramenta_x11"))
os.environ.setdefault("TOLVANE_ATUALIZADOR", os.path.join(BUILD, "src/updater/tolvaneAtualizador"))
sys.path.insert(0, os.path.join(RAIZ, "tests", "e2e"))

from ambiente import Ambiente  # noqa: E402
from tela import Tela  # noqa: E402

MINIMA = os.path.join(BUILD, "bench/startup/bench_janela_minima")


def medir(tela, comando, titulo, env, cwd):
    """Seconds until a window of that title is mapped, and the RSS in KiB then."""
    inicio = time.monotonic()
    p = subprocess.Popen(comando, env=env, cwd=cwd, stdout=subprocess.DEVNULL,
                         stderr=subprocess.DEVNULL)
    # Polled by hand: "xdotool search --sync" looks only every half second.
    while not subprocess.run(["xdotool", "search", "--onlyvisible", "--name", f"^{titulo}$"],
                             env=tela.env(), capture_output=True).stdout:
        if time.monotonic() - inicio > 60:
            raise RuntimeError(f"no window {titulo!r} within 60 s")
    decorrido = time.monotonic() - inicio
    with open(f"/proc/{p.pid}/status") as f:
        rss = next(int(l.split()[1]) for l in f if l.startswith("VmRSS:"))
    p.kill()
    p.wait()
    return decorrido, rss


def cpu_ms(pid):
    with open(f"/proc/{pid}/stat") as f:
        campos = f.read().rsplit(")", 1)[1].split()
    return (int(campos[11]) + int(campos[12])) * 1000 / os.sysconf("SC_CLK_TCK")


def comparar(tela, ambiente, rotulo):
    gestor, minima = [], []
    for _ in range(RODADAS):
        gestor.append(medir(tela, [ambiente.exe], "tolvane Gestor", ambiente.env,
                            ambiente.estacao))
        minima.append(medir(tela, [MINIMA], "janela minima", tela.env(), ambiente.estacao))
    tg, tm = statistics.median(t for t, _ in gestor), statistics.median(t for t, _ in minima)
    rg, rm = statistics.median(r for _, r in gestor), statistics.median(r for _, r in minima)
    print(f"{rotulo}: start-up to window mapped, median of {RODADAS}: tolvaneGestor "
          f"{tg * 1000:.0f} ms, minimal Qt {tm * 1000:.0f} ms, ratio {tg / tm:.2f} (goal <= 1.25)")
    print(f"{rotulo}: resident memory after start-up, median: tolvaneGestor {rg / 1024:.1f} MiB, "
          f"minimal Qt {rm / 1024:.1f} MiB, ratio {rg / rm:.2f} (goal <= 1.3)")


def main():
    tela = Tela()
    ambiente = Ambiente(tela)
    servidor = os.path.join(ambiente.temp.name, "servidor-firebird")
    script = os.path.join(RAIZ, "tests", "database", "servidor_firebird.sh")
    try:
        comparar(tela, ambiente, "embedded engine")
        subprocess.run([script, "iniciar", servidor], check=True, capture_output=True)
        with open(os.path.join(servidor, "porta")) as f:
            porta = f.read().strip()
        Ambiente.escrever(ambiente.ini_servidor, f"[Database]\r\nServidor=127.0.0.1/{porta}\r\n"
                          f"path={ambiente.dados}/\r\nname=DEMO.FDB\r\n")
        comparar(tela, ambiente, "database server")

        ambiente.iniciar()
        subprocess.run(["xdotool", "search", "--sync", "--onlyvisible", "--name",
                        "^tolvane Gestor$"], env=tela.env(), capture_output=True, timeout=60)
        time.sleep(2)
        antes = cpu_ms(ambiente.processo.pid)
        time.sleep(OCIOSO)
        depois = cpu_ms(ambiente.processo.pid)
        print(f"CPU time over {OCIOSO} s idle: {depois - antes:.0f} ms (goal <= 10 ms per minute)")
    finally:
        subprocess.run([script, "parar", servidor], capture_output=True)
        ambiente.fechar()
        tela.fechar()


if __name__ == "__main__":
    main()
