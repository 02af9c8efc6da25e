#!/usr/bin/env python3
"""HTTPS test server that answers like the tax-classification consultation service.

    servidor_https.py --pasta DIR [--modo mutuo|opcional|sem-cliente|nao-confiavel|proxy|
                                          proxy-http|expirado|outro-host]
                      [--tls-maximo 1.0|1.1|1.2|1.3] [--porta N] [--fundo NOME]
    servidor_https.py --pasta DIR --parar NOME

On its first start in DIR, and again once the material is 20 days old (it is valid for 30), it
makes with the openssl command its test key material (all of it generated, nothing kept in the
repository):
  ca.pem, ca.key                       test CA; the client trusts it via TOLVANE_CLASSTRIB_CA
  servidor.pem, servidor.key           server certificate for 127.0.0.1 and localhost (test CA)
  outra-ca.pem, outra-ca.key           a CA that nobody trusts
  servidor-estranho.pem, .key          server certificate from the other CA
  cliente.pem (certificate and key), cliente.p12 (no password)
                                       client certificate from the test CA,
                                       CN "EMPRESA TESTE LTDA:12345678000199"
  cliente-estranho.p12                 client certificate from the other CA, CN "CERTIFICADO ESTRANHO"

Modes: "mutuo" (default) requires a client certificate from the test CA; "opcional" asks for one
but also serves a client that sends none; "sem-cliente" asks for none; "nao-confiavel" presents
the server certificate of the other CA and asks for none; "expirado" and "outro-host" present
the expired certificate and the one for another host name (all three ask for no client
certificate); "proxy" is an HTTPS proxy that only tunnels CONNECT requests, asks every client for
a certificate (optional) and appends one line per tunnel to DIR/proxy.log: "tunel <host:port>
certificado: <common name of the client certificate it was given, empty for none>";
"proxy-http" is the same proxy in plain HTTP, as WinHTTP speaks to a proxy: it logs "tunel
<host:port>" per tunnel and "pedido <method> <target>" for any other request, which it refuses.

The server speaks TLS 1.2 up to --tls-maximo (default 1.3); a maximum of 1.0 or 1.1 makes it
speak that version only (a client that asks for 1.2 or newer must refuse it).

Listens on 127.0.0.1 (port N, or a free one) and prints "PORTA <port>" on stdout when ready. It
ends on SIGTERM or SIGINT, and also when its standard input is a pipe that closes. With
--fundo NOME it runs detached instead (for a CTest fixture): the command returns once the server
listens, having written its port to DIR/NOME.porta and its pid to DIR/NOME.pid, and the server's
errors go to DIR/NOME.log; --parar NOME stops it.

The first segment S of the request path chooses the answer, read at every request:
  DIR/respostas/S.status   the status code (default 200)
  DIR/respostas/S.corpo    the body, bytes as they are (default: empty)
  DIR/respostas/S.fluxo    when present: no Content-Length, the body ends when the connection
                           closes (a streamed answer whose size nobody announces)
  S = "eco"                200 and text lines "caminho: <path and query>", "accept: <header>",
                           "serie: <client certificate serial, hex>", "cn: <its common name>"
  S = "fechar"             closes the connection without answering
  S = "silencio"           reads the request and never answers (until the client gives up)
  S = "meio"               announces 1000 bytes, sends 10 and closes the connection
  S = "redir-http"         302 to the same path under "ok" on http:// (same host and port)
  S = "redir-outro"        302 to the same path under "ok" on https://, same port, the other
                           host name (localhost when asked as 127.0.0.1, else 127.0.0.1)
  S = "redir-eco"          302 to the same path under "eco", as a path only (same server)
"""

import argparse
import fcntl
import http.server
import os
import select
import signal
import socket
import ssl
import stat
import subprocess
import sys
import threading
import time
import urllib.parse

# The key material is valid for 30 days; a folder whose material is older than this gets new.
RENOVAR_APOS = 20 * 24 * 3600

CONFIGURACAO = """\
[req]
distinguished_name = dn
prompt = no
[dn]
CN = tolvane
[ca]
basicConstraints = critical,CA:TRUE
keyUsage = critical,keyCertSign,cRLSign
subjectKeyIdentifier = hash
[servidor]
basicConstraints = CA:FALSE
keyUsage = critical,digitalSignature
extendedKeyUsage = serverAuth
subjectAltName = IP:127.0.0.1,DNS:localhost
[outro_host]
basicConstraints = CA:FALSE
keyUsage = critical,digitalSignature
extendedKeyUsage = serverAuth
subjectAltName = DNS:servico.invalido
[ca_teste]
database = indice.txt
new_certs_dir = .
serial = serie.txt
default_md = sha256
policy = politica
copy_extensions = none
[politica]
commonName = supplied
[cliente]
basicConstraints = CA:FALSE
keyUsage = critical,digitalSignature
extendedKeyUsage = clientAuth
"""


def openssl(pasta, *argumentos):
    subprocess.run(["openssl", *argumentos], cwd=pasta, check=True,
                   stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)


def certificado(pasta, nome, assunto, extensoes, ca=None):
    comando = ["req", "-x509", "-config", "openssl.cnf", "-extensions", extensoes, "-utf8",
               "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1", "-noenc",
               "-keyout", nome + ".key", "-out", nome + ".pem", "-days", "30", "-subj", assunto]
    if ca:
        comando += ["-CA", ca + ".pem", "-CAkey", ca + ".key"]
    openssl(pasta, *comando)


def pkcs12(pasta, nome):
    openssl(pasta, "pkcs12", "-export", "-in", nome + ".pem", "-inkey", nome + ".key",
            "-out", nome + ".p12", "-passout", "pass:")


def gerar_material(pasta):
    os.makedirs(os.path.join(pasta, "respostas"), exist_ok=True)
    with open(os.path.join(pasta, ".gerando"), "w") as trava:
        fcntl.flock(trava, fcntl.LOCK_EX)
        # Made again well before its 30 days end, for a folder that lives on (the demo's).
        ca = os.path.join(pasta, "ca.pem")
        if (os.path.exists(os.path.join(pasta, "servidor-expirado.pem"))
                and time.time() - os.path.getmtime(ca) < RENOVAR_APOS):
            return
        with open(os.path.join(pasta, "openssl.cnf"), "w") as cnf:
            cnf.write(CONFIGURACAO)
        certificado(pasta, "ca", "/CN=Tolvane CA de Teste", "ca")
        certificado(pasta, "outra-ca", "/CN=CA Desconhecida", "ca")
        certificado(pasta, "servidor", "/CN=127.0.0.1", "servidor", "ca")
        certificado(pasta, "servidor-estranho", "/CN=127.0.0.1", "servidor", "outra-ca")
        certificado(pasta, "cliente", "/C=BR/O=ICP-Brasil/CN=EMPRESA TESTE LTDA:12345678000199",
                    "cliente", "ca")
        pkcs12(pasta, "cliente")
        with open(os.path.join(pasta, "cliente.pem"), "ab") as pem, \
                open(os.path.join(pasta, "cliente.key"), "rb") as chave:
            pem.write(chave.read())
        os.chmod(os.path.join(pasta, "cliente.pem"), 0o600)
        certificado(pasta, "cliente-estranho", "/CN=CERTIFICADO ESTRANHO", "cliente", "outra-ca")
        pkcs12(pasta, "cliente-estranho")
        certificado(pasta, "servidor-outro-host", "/CN=servico.invalido", "outro_host", "ca")
        expirado(pasta)


def expirado(pasta):
    """A server certificate of the test CA whose validity ended in 2020 (openssl req cannot
    date one in the past; the ca command can)."""
    with open(os.path.join(pasta, "indice.txt"), "w"):
        pass
    with open(os.path.join(pasta, "serie.txt"), "w") as serie:
        serie.write("1000\n")
    openssl(pasta, "req", "-new", "-config", "openssl.cnf", "-newkey", "ec", "-pkeyopt",
            "ec_paramgen_curve:prime256v1", "-noenc", "-keyout", "servidor-expirado.key",
            "-out", "servidor-expirado.csr", "-subj", "/CN=127.0.0.1")
    openssl(pasta, "ca", "-batch", "-config", "openssl.cnf", "-name", "ca_teste", "-extensions",
            "servidor", "-startdate", "20200101000000Z", "-enddate", "20200201000000Z",
            "-cert", "ca.pem", "-keyfile", "ca.key", "-notext", "-in", "servidor-expirado.csr",
            "-out", "servidor-expirado.pem")


def ler(caminho, padrao):
    try:
        with open(caminho, "rb") as arquivo:
            return arquivo.read()
    except FileNotFoundError:
        return padrao


class Consulta(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def log_message(self, *argumentos):
        pass

    def do_GET(self):
        # A server must take a request target in absolute form too (RFC 9112, 3.2.2): Wine's
        # WinHTTP sends one inside a proxy's tunnel, where Windows sends the path alone.
        alvo = urllib.parse.urlsplit(self.path)
        if alvo.scheme:
            self.path = urllib.parse.urlunsplit(("", "", alvo.path or "/", alvo.query, ""))
        segmento = self.path.split("?", 1)[0].lstrip("/").split("/", 1)[0]
        if segmento == "fechar":
            self.close_connection = True
            return
        if segmento == "silencio":
            esperar_fim(self.connection, 600)
            self.close_connection = True
            return
        if segmento == "meio":
            self.send_response(200)
            self.send_header("Content-Length", "1000")
            self.end_headers()
            self.wfile.write(b'{"parcial":')
            self.wfile.flush()
            self.close_connection = True
            return
        if segmento in ("redir-http", "redir-outro", "redir-eco"):
            porta = self.server.server_address[1]
            pedido = (self.headers.get("Host") or "").rsplit(":", 1)[0]
            outro = "127.0.0.1" if pedido == "localhost" else "localhost"
            destino = {"redir-http": "http://%s:%d" % (pedido, porta),
                       "redir-outro": "https://%s:%d" % (outro, porta),
                       "redir-eco": ""}[segmento]
            alvo = "eco" if segmento == "redir-eco" else "ok"
            self.send_response(302)
            self.send_header("Location", destino + self.path.replace(segmento, alvo, 1))
            self.send_header("Content-Length", "0")
            self.end_headers()
            return
        fluxo = False
        if segmento == "eco":
            status, corpo = 200, self.eco()
        else:
            respostas = os.path.join(self.server.pasta, "respostas")
            status = int(ler(os.path.join(respostas, segmento + ".status"), b"200").strip())
            corpo = ler(os.path.join(respostas, segmento + ".corpo"), b"")
            fluxo = os.path.exists(os.path.join(respostas, segmento + ".fluxo"))
        self.send_response(status)
        self.send_header("Content-Type", "application/json; charset=utf-8")
        if status == 204 or status == 304 or status < 200:
            self.end_headers()
            return
        if fluxo:
            self.send_header("Connection", "close")
            self.close_connection = True
        else:
            self.send_header("Content-Length", str(len(corpo)))
        self.end_headers()
        visao = memoryview(corpo)
        for inicio in range(0, len(corpo), 1 << 20):
            self.wfile.write(visao[inicio:inicio + (1 << 20)])

    def eco(self):
        serie, cn = "", ""
        certificado = self.connection.getpeercert()
        if certificado:
            serie = certificado.get("serialNumber", "")
            for rdn in certificado.get("subject", ()):
                for campo, valor in rdn:
                    if campo == "commonName" and not cn:
                        cn = valor
        linhas = ["caminho: " + self.path, "accept: " + (self.headers.get("Accept") or ""),
                  "serie: " + serie, "cn: " + cn]
        return ("\n".join(linhas) + "\n").encode("utf-8")


def nome_comum(conexao):
    for rdn in (conexao.getpeercert() or {}).get("subject", ()):
        for campo, valor in rdn:
            if campo == "commonName":
                return valor
    return ""


class Tunel(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def log_message(self, *argumentos):
        pass

    def registrar(self, linha):
        with open(os.path.join(self.server.pasta, "proxy.log"), "a") as registro:
            registro.write(linha + "\n")

    # A plain-HTTP proxy has no certificate to ask for; what a client sends it other than a
    # CONNECT would travel in the clear, so it is logged and refused.
    def recusar(self):
        self.registrar("pedido %s %s" % (self.command, self.path))
        self.send_error(405)

    do_GET = do_POST = do_HEAD = recusar

    def do_CONNECT(self):
        if isinstance(self.connection, ssl.SSLSocket):
            self.registrar("tunel %s certificado: %s" % (self.path, nome_comum(self.connection)))
        else:
            self.registrar("tunel %s" % self.path)
        host, porta = self.path.rsplit(":", 1)
        try:
            alvo = socket.create_connection((host, int(porta)), timeout=60)
        except OSError:
            self.send_error(502)
            return
        self.send_response(200, "Connection established")
        self.end_headers()
        self.close_connection = True
        with alvo:
            while True:
                pendente = isinstance(self.connection, ssl.SSLSocket) and self.connection.pending()
                prontos = [self.connection] if pendente else \
                    select.select([self.connection, alvo], [], [], 60)[0]
                if not prontos:
                    return
                for origem in prontos:
                    dados = origem.recv(65536)
                    if not dados:
                        return
                    (alvo if origem is self.connection else self.connection).sendall(dados)


def esperar_fim(conexao, segundos=5):
    prazo = time.monotonic() + segundos
    try:
        while time.monotonic() < prazo:
            prontos, _, _ = select.select([conexao.fileno()], [], [], prazo - time.monotonic())
            if not prontos or not os.read(conexao.fileno(), 65536):
                return
    except OSError:
        pass


class Servidor(http.server.ThreadingHTTPServer):
    daemon_threads = True

    def __init__(self, endereco, contexto, pasta, tratador=Consulta):
        super().__init__(endereco, tratador)
        self.contexto = contexto
        self.pasta = pasta

    # The handshake runs in the connection's own thread, so a client that fails it (no or a
    # wrong client certificate) cannot stall the others.
    def finish_request(self, request, client_address):
        request.settimeout(60)
        # Like production web servers: no Nagle delay between the header and body writes.
        request.setsockopt(socket.IPPROTO_TCP, socket.TCP_NODELAY, 1)
        if self.contexto is None:
            return super().finish_request(request, client_address)
        try:
            tls = self.contexto.wrap_socket(request, server_side=True,
                                            do_handshake_on_connect=False)
        except (ssl.SSLError, OSError):
            return
        try:
            tls.do_handshake()
        except (ssl.SSLError, OSError):
            # Keep the connection until the client has read the alert and closed it: closing at
            # once may reset it first, and the client would report the reset instead.
            esperar_fim(tls)
            tls.close()
            return
        try:
            self.RequestHandlerClass(tls, client_address, self)
        except (ssl.SSLError, OSError):
            pass
        finally:
            tls.close()

    def handle_error(self, request, client_address):
        pass


VERSOES_TLS = {"1.0": ssl.TLSVersion.TLSv1, "1.1": ssl.TLSVersion.TLSv1_1,
               "1.2": ssl.TLSVersion.TLSv1_2, "1.3": ssl.TLSVersion.TLSv1_3}


def parar(pasta, nome):
    arquivo = os.path.join(pasta, nome + ".pid")
    try:
        with open(arquivo) as pid:
            os.kill(int(pid.read()), signal.SIGTERM)
    except (FileNotFoundError, ProcessLookupError):
        pass
    for extensao in (".pid", ".porta"):
        try:
            os.remove(os.path.join(pasta, nome + extensao))
        except FileNotFoundError:
            pass


def desligar_do_terminal(pasta, nome, porta):
    """Forks the listening server: the parent writes the files of --fundo, prints the port and
    returns True (its work is done); the child, in a session of its own and with none of the
    parent's output (CTest waits for those pipes to close), returns False and goes on serving."""
    filho = os.fork()
    if filho:
        with open(os.path.join(pasta, nome + ".pid"), "w") as pid:
            pid.write("%d\n" % filho)
        with open(os.path.join(pasta, nome + ".porta"), "w") as arquivo:
            arquivo.write("%d\n" % porta)
        print("PORTA %d" % porta, flush=True)
        return True
    os.setsid()
    nulo = os.open(os.devnull, os.O_RDWR)
    registro = os.open(os.path.join(pasta, nome + ".log"), os.O_WRONLY | os.O_CREAT | os.O_TRUNC)
    os.dup2(nulo, 0)
    os.dup2(nulo, 1)
    os.dup2(registro, 2)
    return False


def main():
    parametros = argparse.ArgumentParser()
    parametros.add_argument("--pasta", required=True)
    parametros.add_argument("--modo", default="mutuo",
                            choices=["mutuo", "opcional", "sem-cliente", "nao-confiavel", "proxy",
                                     "proxy-http", "expirado", "outro-host"])
    parametros.add_argument("--tls-maximo", default="1.3", choices=list(VERSOES_TLS))
    parametros.add_argument("--porta", type=int, default=0)
    parametros.add_argument("--fundo", metavar="NOME")
    parametros.add_argument("--parar", metavar="NOME")
    args = parametros.parse_args()
    pasta = os.path.abspath(args.pasta)
    if args.parar:
        parar(pasta, args.parar)
        return 0
    try:
        gerar_material(pasta)
    except subprocess.CalledProcessError as erro:
        sys.stderr.write("openssl falhou: %s\n%s" % (erro.cmd, erro.stderr.decode(errors="replace")))
        return 1

    contexto = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
    maximo = VERSOES_TLS[args.tls_maximo]
    if maximo < ssl.TLSVersion.TLSv1_2:
        # OpenSSL 3 refuses TLS 1.0 and 1.1 at its default security level, the server's side too.
        contexto.set_ciphers("DEFAULT:@SECLEVEL=0")
        contexto.minimum_version = maximo
    else:
        contexto.minimum_version = ssl.TLSVersion.TLSv1_2
    contexto.maximum_version = maximo
    nome = {"nao-confiavel": "servidor-estranho", "expirado": "servidor-expirado",
            "outro-host": "servidor-outro-host"}.get(args.modo, "servidor")
    contexto.load_cert_chain(os.path.join(pasta, nome + ".pem"), os.path.join(pasta, nome + ".key"))
    if args.modo in ("mutuo", "opcional", "proxy"):
        contexto.verify_mode = ssl.CERT_REQUIRED if args.modo == "mutuo" else ssl.CERT_OPTIONAL
        contexto.load_verify_locations(os.path.join(pasta, "ca.pem"))

    if args.modo == "proxy-http":
        contexto = None
    servidor = Servidor(("127.0.0.1", args.porta), contexto, pasta,
                        Tunel if args.modo.startswith("proxy") else Consulta)
    porta = servidor.server_address[1]
    # Already listening: a client that comes before the fork is served by the child.
    if args.fundo and desligar_do_terminal(pasta, args.fundo, porta):
        return 0
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(0))
    signal.signal(signal.SIGINT, lambda *_: sys.exit(0))
    threading.Thread(target=servidor.serve_forever, daemon=True).start()
    print("PORTA %d" % porta, flush=True)
    if stat.S_ISFIFO(os.fstat(0).st_mode):
        while sys.stdin.buffer.read(4096):
            pass
    else:
        while True:
            signal.pause()
    return 0


if __name__ == "__main__":
    sys.exit(main())
