#!/usr/bin/env bash
# The mutual-TLS test server (tests/classtrib/servidor_https.py, mode "mutuo") for the Windows
# suites, in the background, so that the Windows programs reach it as https://localhost:<port>:
#   servidor_https.sh iniciar <folder>   makes the key material in <folder>, starts the server
#                                        and writes its port to <folder>/porta; adds
#                                        cliente-rsa.p12, the client certificate for Wine, and
#                                        renovado-expirado.p12 and renovado.p12, an expired
#                                        certificate and its renewal under one subject
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

# SHA-1 fingerprint of the certificate in the PEM file $1, hexadecimal in upper case.
impressao() {
  openssl x509 -in "$1" -noout -fingerprint -sha1 | sed 's/.*=//; s/://g'
}

# A renewed certificate kept beside the expired one, as users keep them: CN "EMPRESA RENOVADA
# LTDA:98765432000110", valid in January 2020 (openssl req cannot date one in the past; the ca
# command can, with a database of its own here) and again for 30 days from now, both of the test
# CA and with the key of cliente-rsa (Wine's PFXImportCertStore puts every key it imports into
# the user's one default key container, where another key would replace the first). Wine lists
# a registry store in descending order of the certificates' SHA-1 fingerprints, whatever the
# order they were added in (it reads the registry keys, named by fingerprint, in order and puts
# each at the head of its list), so the pair is made again until the renewal's fingerprint sorts
# below the expired one's; the Windows test checks that order before it relies on it.
certificados_renovados() {
  local pasta=$1
  local assunto="/C=BR/O=ICP-Brasil/CN=EMPRESA RENOVADA LTDA:98765432000110"
  (
    export LC_ALL=C
    cd "$pasta" &&
      cat >renovado.cnf <<'FIM' &&
[ca_renovado]
database = renovado-indice.txt
new_certs_dir = renovado-emitidos
serial = renovado-serie.txt
default_md = sha256
policy = politica
unique_subject = no
copy_extensions = none
[politica]
countryName = optional
organizationName = optional
commonName = supplied
[cliente]
basicConstraints = CA:FALSE
keyUsage = critical,digitalSignature
extendedKeyUsage = clientAuth
FIM
      mkdir -p renovado-emitidos && : >renovado-indice.txt && echo 2000 >renovado-serie.txt &&
      openssl req -new -key cliente-rsa.key -utf8 -subj "$assunto" -out renovado.csr || exit 1
    # Each try makes both anew (the ca command takes the next serial number): half of them give
    # the order wanted.
    local tentativa
    for tentativa in $(seq 64); do
      openssl ca -batch -config renovado.cnf -name ca_renovado -extensions cliente -utf8 \
        -startdate 20200101000000Z -enddate 20200201000000Z -cert ca.pem -keyfile ca.key \
        -notext -in renovado.csr -out renovado-expirado.pem &&
        openssl req -x509 -config openssl.cnf -extensions cliente -utf8 -key cliente-rsa.key \
          -out renovado.pem -days 30 -CA ca.pem -CAkey ca.key -subj "$assunto" || exit 1
      [[ $(impressao renovado.pem) < $(impressao renovado-expirado.pem) ]] && break
    done
    [[ $(impressao renovado.pem) < $(impressao renovado-expirado.pem) ]] &&
      openssl pkcs12 -export -in renovado-expirado.pem -inkey cliente-rsa.key \
        -out renovado-expirado.p12 -passout pass: &&
      openssl pkcs12 -export -in renovado.pem -inkey cliente-rsa.key -out renovado.p12 \
        -passout pass:
  ) >"$pasta/openssl-renovado.log" 2>&1
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
      if [ ! "$pasta/renovado.p12" -nt "$pasta/cliente-rsa.p12" ] &&
        ! certificados_renovados "$pasta"; then
        parar "$pasta"
        falhar "could not make the renewed certificates: $(cat "$pasta/openssl-renovado.log")"
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
