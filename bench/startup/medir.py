#!/usr/bin/env python3
"""Start-up benchmark: from the spawn of the program to the map of its main window, and its
resident memory then, side by side with the yardstick in one run on one private Xvfb (trayer as
the tray host, no window manager, so that every top-level window maps as a child of the root and
bench_mapa sees it from the X server's own events).

The yardstick is bench_janela_minima: a minimal Qt 6 window of the main window's size, with
the program's database work done the shortest way first (dlopen of the client, attach, the
presence query); beside it the same with one caption on the window, which shows what the first
text drawn costs any Qt program. Runs alternate between the sides, round by round, with the side that goes first
taking turns. Measured with the database embedded (a bare path: the engine runs inside the
process) and on a Firebird server on this machine, with 0, 1 and 20 certificates in the personal
store, and once with 100 other top-level windows on the display (the single-instance guard reads
them all). Then the CPU time the program uses idle in the tray.

    bench/startup/medir.py <Release build folder> [--rodadas 31] [--antes <build folder>]
                           [--ocioso 60]

--antes: a build of an earlier version, measured in the same rounds (before and after under the
same conditions). Goals (benchmark figures, never tests): at most 1.2x the yardstick embedded,
1.35x with a server, 1.25x with 20 certificates; resident memory at most 1.3x."""

import argparse
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

RAIZ = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
argumentos = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
argumentos.add_argument("build")
argumentos.add_argument("--rodadas", type=int, default=31)
argumentos.add_argument("--antes")
argumentos.add_argument("--ocioso", type=int, default=60)
argumentos.add_argument("--so", help="only the configurations whose label contains this text")
ARGS = argumentos.parse_args()
BUILD = os.path.abspath(ARGS.build)
os.environ.setdefault("TOLVANE_EXE", os.path.join(BUILD, "src/gui/qt/tolvaneGestor"))
os.environ.setdefault("TOLVANE_FERRAMENTA_X11", os.path.join(BUILD, "tests/e2e/ferramenta_x11"))
os.environ.setdefault("TOLVANE_ATUALIZADOR", os.path.join(BUILD, "src/updater/tolvaneAtualizador"))
sys.path.insert(0, os.path.join(RAIZ, "tests", "e2e"))

from ambiente import Ambiente  # noqa: E402
from tela import Tela  # noqa: E402

MAPA = os.path.join(BUILD, "bench/startup/bench_mapa")
MINIMA = os.path.join(BUILD, "bench/startup/bench_janela_minima")
TITULO = "tolvane Gestor"
TITULO_MINIMA = "janela minima"


def carga():
    return "load %.1f" % os.getloadavg()[0]


def medir(env, cwd, titulo, comando, janelas):
    extra = ["--janelas", str(janelas)] if janelas else []
    r = subprocess.run([MAPA] + extra + [titulo] + comando, env=env, cwd=cwd,
                       capture_output=True, text=True, timeout=120)
    if r.returncode != 0:
        raise RuntimeError(f"{comando[0]}: {r.stderr.strip()}")
    ms, rss = r.stdout.split()
    return float(ms), int(rss)


def certificados(pasta, quantos):
    """quantos PKCS#12 files without password (RSA 2048, as the usual A1 certificates), made by
    the openssl command as a user exports them."""
    shutil.rmtree(pasta, ignore_errors=True)
    os.makedirs(pasta, mode=0o700)
    if not quantos:
        return
    with tempfile.TemporaryDirectory() as t:
        chave = os.path.join(t, "chave.pem")
        subprocess.run(["openssl", "genrsa", "-out", chave, "2048"], check=True,
                       capture_output=True)
        for i in range(quantos):
            cert = os.path.join(t, f"{i}.pem")
            subprocess.run(["openssl", "req", "-x509", "-key", chave, "-days", "30", "-subj",
                            f"/C=BR/O=ICP-Brasil/CN=EMPRESA {i:02d} LTDA:123456780001{i:02d}",
                            "-out", cert], check=True, capture_output=True)
            destino = os.path.join(pasta, f"certificado-{i:02d}.pfx")
            subprocess.run(["openssl", "pkcs12", "-export", "-inkey", chave, "-in", cert,
                            "-out", destino, "-passout", "pass:"], check=True,
                           capture_output=True)
            os.chmod(destino, 0o600)


def comparar(rotulo, lados, janelas=0):
    """lados: (name, env, cwd, title, command) in the order of the first round."""
    amostras = {nome: [] for nome, *_ in lados}
    for lado in lados:  # one warm-up start each: caches, and the columns the program adds
        medir(lado[1], lado[2], lado[3], lado[4], janelas)
    carga_inicio = carga()
    for rodada in range(ARGS.rodadas):
        k = rodada % len(lados)
        for nome, env, cwd, titulo, comando in lados[k:] + lados[:k]:
            amostras[nome].append(medir(env, cwd, titulo, comando, janelas))
    referencia = amostras[lados[0][0]]
    tr = statistics.median(t for t, _ in referencia)
    rr = statistics.median(r for _, r in referencia)
    print(f"{rotulo} ({ARGS.rodadas} rounds; {carga_inicio} at the start, {carga()} at the end)")
    for nome, valores in amostras.items():
        t = statistics.median(v for v, _ in valores)
        r = statistics.median(v for _, v in valores)
        print(f"  {nome:<22} {t:7.1f} ms  {t / tr:5.2f}x    RSS {r / 1024:6.1f} MiB "
              f"{r / rr:5.2f}x")
    sys.stdout.flush()


def main():
    tela = Tela(bandeja=True, gerenciador=False)
    ambiente = Ambiente(tela)
    env = dict(ambiente.env, QT_QPA_PLATFORM="xcb")
    lados_programa = [("tolvaneGestor", ambiente.exe)]
    if ARGS.antes:
        # The earlier build in a workstation folder of its own, with the same INI and the same
        # modification time as the server's copy, so that neither sees a new version.
        estacao = os.path.join(ambiente.temp.name, "estacao-antes")
        os.makedirs(estacao)
        exe = os.path.join(estacao, "tolvaneGestor")
        shutil.copy2(os.path.join(os.path.abspath(ARGS.antes), "src/gui/qt/tolvaneGestor"), exe)
        shutil.copy2(os.path.join(ambiente.estacao, "tolvaneempresa.ini"), estacao)
        instante = os.stat(ambiente.copia_servidor).st_mtime
        os.utime(exe, (instante, instante))
        lados_programa.insert(0, ("tolvaneGestor (antes)", exe))
    servidor = os.path.join(ambiente.temp.name, "servidor-firebird")
    script = os.path.join(RAIZ, "tests", "database", "servidor_firebird.sh")
    banco = ambiente.banco
    configuracoes = []
    for certs in (0, 1, 20):
        configuracoes.append((f"embedded, {certs} certificates", "embarcado", certs, 0))
    configuracoes.append(("embedded, 0 certificates, 100 windows", "embarcado", 0, 100))
    for certs in (0, 1, 20):
        configuracoes.append((f"server, {certs} certificates", "servidor", certs, 0))
    if ARGS.so:
        configuracoes = [c for c in configuracoes if ARGS.so in c[0]]
    print(f"{os.cpu_count()} cores; {carga()} before the first run")
    try:
        servidor_ativo = False
        for rotulo, modo, certs, janelas in configuracoes:
            if modo == "servidor" and not servidor_ativo:
                subprocess.run([script, "iniciar", servidor], check=True, capture_output=True)
                servidor_ativo = True
                with open(os.path.join(servidor, "porta")) as f:
                    porta = f.read().strip()
                Ambiente.escrever(ambiente.ini_servidor,
                                  f"[Database]\r\nServidor=127.0.0.1/{porta}\r\n"
                                  f"path={ambiente.dados}/\r\nname=DEMO.FDB\r\n")
                banco = f"127.0.0.1/{porta}:{ambiente.banco}"
            certificados(ambiente.certificados, certs)
            lados = [("yardstick", env, ambiente.estacao, TITULO_MINIMA, [MINIMA, banco]),
                     ("yardstick + caption", env, ambiente.estacao, TITULO_MINIMA,
                      [MINIMA, "--legenda", banco])]
            lados += [(nome, env, os.path.dirname(exe), TITULO, [exe])
                      for nome, exe in lados_programa]
            comparar(rotulo, lados, janelas)

        if ARGS.ocioso:
            certificados(ambiente.certificados, 1)
            ambiente.iniciar()
            subprocess.run(["xdotool", "search", "--sync", "--onlyvisible", "--name",
                            f"^{TITULO}$"], env=tela.env(), capture_output=True, timeout=60)
            time.sleep(2)
            antes = cpu_ms(ambiente.processo.pid)
            time.sleep(ARGS.ocioso)
            depois = cpu_ms(ambiente.processo.pid)
            print(f"CPU time over {ARGS.ocioso} s idle in the tray: {depois - antes:.0f} ms "
                  f"(goal <= 10 ms per minute)")
    finally:
        subprocess.run([script, "parar", servidor], capture_output=True)
        ambiente.fechar()
        tela.fechar()


def cpu_ms(pid):
    with open(f"/proc/{pid}/stat") as f:
        campos = f.read().rsplit(")", 1)[1].split()
    return (int(campos[11]) + int(campos[12])) * 1000 / os.sysconf("SC_CLK_TCK")


if __name__ == "__main__":
    main()
