#!/usr/bin/env bash
# The mutual-TLS test server (tests/classtrib/servidor_https.py, mode "mutuo") for the Windows
# suites, in the background, so that the Windows programs reach it as https://localhost:<port>:
#   servidor_https.sh iniciar <folder>   makes the key material in <folder>, starts the server
#                                        and writes its port to <folder>/porta; adds
#                                        cliente-rsa.p12, the client certificate for Wine
#   servidor_https.sh parar <folder>     stops it, by its pid
# Debian 12 packages: python3 openssl.
set -euo pipefail

SERVIDOR=$(cd "$(dirname "$0")/../classtrib" && pwd)/servidor_https.py

falhar() {
  echo "servidor_https.sh: $*" >&2
  exit 1
}

parar() {
  local pasta=$1
  if [ -f "$pasta/pid" ]; then
    kill "$(cat "$pasta/pid")" 2>/dev/null || true
    rm -f "$pasta/pid"
  fi
  rm -f "$pasta/porta"
}

# Whether every number of the RSA key in the PEM file $1 has its full length in bytes: the
# modulus and the private exponent that of the modulus, the primes, the two CRT exponents and the
# coefficient half of it (for RSA-2048: 256 and 128). Wine turns the key into a CryptoAPI blob of
# fields of fixed length, and with a number a byte short (about one key in sixty-four) the
# imported key fails to sign ("GnuTLS error: Assinatura de chave pública falhou").
chave_rsa_completa() {
  # asn1parse writes each INTEGER of the PKCS#1 key in hex without its sign byte: version, n, e,
  # d, p, q, dp, dq, qinv.
  openssl rsa -in "$1" -traditional -outform DER 2>/dev/null | openssl asn1parse -inform DER |
    awk -F: '/prim: INTEGER/ { bytes[++n] = length($NF) / 2 }
      END {
        if (n != 9 || bytes[4] != bytes[2]) exit 1
        for (i = 5; i <= 9; i++) if (bytes[i] * 2 != bytes[2]) exit 1
      }'
}

# A new RSA-2048 key in the PEM file $1 whose numbers all have their full length.
chave_rsa() {
  local tentativa
  for tentativa in $(seq 100); do
    openssl genpkey -algorithm RSA -pkeyopt rsa_keygen_bits:2048 -out "$1" || return 1
    chave_rsa_completa "$1" && return 0
    echo "RSA key $tentativa has a number shorter than its full length: made again"
  done
  echo "no RSA key with every number at full length in $tentativa tries"
  return 1
}

# Wine's PFXImportCertStore takes RSA keys only (it turns the key into a CryptoAPI RSA blob),
# while the server's client certificate has an EC key: the same subject, from the same test CA,
# with an RSA key.
certificado_rsa() {
  local pasta=$1
  # Made with the rest of the material, and kept as long as it: a new one each start would add a
  # certificate of the same name to a prefix that lives on (the demo's). A key made before its
  # numbers were checked is made again.
  [ "$pasta/cliente-rsa.p12" -nt "$pasta/ca.pem" ] && chave_rsa_completa "$pasta/cliente-rsa.key" &&
    return 0
  (
    cd "$pasta"
    chave_rsa cliente-rsa.key &&
      openssl req -x509 -config openssl.cnf -extensions cliente -utf8 -key cliente-rsa.key \
        -out cliente-rsa.pem -days 30 -CA ca.pem -CAkey ca.key \
        -subj "/C=BR/O=ICP-Brasil/CN=EMPRESA TESTE LTDA:12345678000199" &&
      openssl pkcs12 -export -in cliente-rsa.pem -inkey cliente-rsa.key -out cliente-rsa.p12 \
        -passout pass:
  ) >"$pasta/openssl-rsa.log" 2>&1
}

iniciar() {
  local pasta=$1
  command -v python3 >/dev/null || falhar "python3 missing"
  parar "$pasta"
  mkdir -p "$pasta"
  # Standard input from /dev/null: the server then runs until it is stopped.
  setsid python3 "$SERVIDOR" --pasta "$pasta" --modo mutuo </dev/null >"$pasta/saida" \
    2>"$pasta/servidor.log" &
  echo $! >"$pasta/pid"
  for _ in $(seq 600); do
    if grep -q '^PORTA ' "$pasta/saida" 2>/dev/null; then
      sed -n 's/^PORTA //p' "$pasta/saida" >"$pasta/porta"
      if ! certificado_rsa "$pasta"; then
        parar "$pasta"
        falhar "could not make the RSA client certificate: $(cat "$pasta/openssl-rsa.log")"
      fi
      echo "HTTPS test server on localhost:$(cat "$pasta/porta") (pid $(cat "$pasta/pid"))"
      return 0
    fi
    kill -0 "$(cat "$pasta/pid")" 2>/dev/null || break
    sleep 0.1
  done
  parar "$pasta"
  falhar "the server did not start: $(cat "$pasta/servidor.log")"
}

[ $# -eq 2 ] || falhar "usage: $0 iniciar|parar <folder>"
case $1 in
  iniciar) iniciar "$2" ;;
  parar) parar "$2" ;;
  *) falhar "usage: $0 iniciar|parar <folder>" ;;
esac
