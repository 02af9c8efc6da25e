#!/usr/bin/env bash
# A Firebird 3 server of the tests' own, never the machine's service:
#   servidor_firebird.sh iniciar <folder>   copies the installed server's root into <folder>, gives
#                                           it its own configuration, a new security database
#                                           (SYSDBA password "quelvorin"), lock folder and a free
#                                           port on 127.0.0.1, starts it and writes the port to
#                                           <folder>/porta
#   servidor_firebird.sh parar <folder>     stops the server started there, by its pid
# Debian 12 packages: firebird3.0-server firebird3.0-utils python3.
set -euo pipefail

RAIZ_INSTALADA=/usr/lib/x86_64-linux-gnu/firebird/3.0
SERVIDOR=/usr/sbin/firebird
SENHA=quelvorin

falhar() {
  echo "servidor_firebird.sh: $*" >&2
  exit 1
}

# A zombie still answers kill -0: a process counts as running only when it is not one.
rodando() {
  local estado
  estado=$(awk '{print $3}' "/proc/$1/stat" 2>/dev/null) || return 1
  [ "$estado" != Z ]
}

parar() {
  local pasta=$1 pid
  [ -f "$pasta/pid" ] || return 0
  pid=$(cat "$pasta/pid")
  if rodando "$pid"; then
    kill "$pid" 2>/dev/null || true
    for _ in $(seq 100); do rodando "$pid" || break; sleep 0.1; done
    if rodando "$pid"; then kill -9 "$pid" 2>/dev/null || true; fi
  fi
  rm -f "$pasta/pid" "$pasta/porta"
}

iniciar() {
  local pasta=$1
  for f in "$RAIZ_INSTALADA/firebird.conf" "$SERVIDOR"; do
    [ -e "$f" ] || falhar "missing $f (packages firebird3.0-server firebird3.0-utils)"
  done
  command -v isql-fb >/dev/null || falhar "isql-fb missing (package firebird3.0-utils)"
  command -v python3 >/dev/null || falhar "python3 missing"

  parar "$pasta"
  rm -rf "$pasta"
  mkdir -p "$pasta/lock"
  local raiz=$pasta/raiz
  # Links kept: a dereferencing copy makes the server crash at start.
  cp -a "$RAIZ_INSTALADA" "$raiz"
  rm "$raiz/firebird.conf" "$raiz/databases.conf"
  cp "$(readlink -f "$RAIZ_INSTALADA/firebird.conf")" "$raiz/firebird.conf"
  cp "$(readlink -f "$RAIZ_INSTALADA/databases.conf")" "$raiz/databases.conf"
  chmod u+w "$raiz/firebird.conf" "$raiz/databases.conf"

  local porta
  porta=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
  sed -i '/^[[:space:]]*\(RemoteServicePort\|RemoteBindAddress\|SecurityDatabase\)[[:space:]]*=/d' \
    "$raiz/firebird.conf"
  # A security database of its own, made new rather than copied from the machine's (which only
  # root and the firebird group may read), so that any user can run the tests.
  printf '\nRemoteServicePort = %s\nRemoteBindAddress = 127.0.0.1\nSecurityDatabase = %s\n' \
    "$porta" "$pasta/security3.fdb" >>"$raiz/firebird.conf"
  echo "create database '$pasta/security3.fdb' user 'SYSDBA';
        create user SYSDBA password '$SENHA' using plugin Srp; commit;" |
    FIREBIRD=$raiz FIREBIRD_LOCK=$pasta/lock isql-fb -q -b >"$pasta/isql.log" 2>&1 ||
    falhar "could not make the security database: $(cat "$pasta/isql.log")"

  FIREBIRD=$raiz FIREBIRD_LOCK=$pasta/lock setsid "$SERVIDOR" </dev/null >"$pasta/servidor.log" 2>&1 &
  echo $! >"$pasta/pid"

  for _ in $(seq 100); do
    if (: <"/dev/tcp/127.0.0.1/$porta") 2>/dev/null; then
      echo "$porta" >"$pasta/porta"
      echo "Firebird server of the tests on 127.0.0.1:$porta (pid $(cat "$pasta/pid"))"
      return 0
    fi
    rodando "$(cat "$pasta/pid")" || break
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
