# Shared by scripts/test and scripts/demo: packages, locales, build.

RAIZ=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; fi

# Packages to build and run the program on Debian 12.
PACOTES_PROGRAMA=(
  build-essential cmake pkg-config
  qt6-base-dev libgl-dev libxcb1-dev libx11-xcb-dev
  libjpeg62-turbo-dev libpng-dev
  libcurl4-openssl-dev libssl-dev openssl ca-certificates
  firebird-dev libfbclient2 firebird3.0-server firebird3.0-utils
  xdg-user-dirs locales
)
# What the tests add: the test runner, displays, a window manager, a tray host, tools that drive
# the program from outside, the Windows cross-compilers (the 32-bit release and the 64-bit build)
# and Wine to run the suites (wine64-tools builds the tests' gds32 bridge, with libwine-dev:i386,
# gcc-multilib and the i386 client for its 32-bit build), lnkinfo to read Windows shortcuts back,
# osslsigncode to sign the test releases with a test publisher's certificate, clang for the fuzz
# targets and clang-tidy for the static checks, and the servers the tests start.
PACOTES_TESTE=(
  libgtest-dev googletest clang-format
  xvfb xauth openbox trayer xdotool x11-utils xclip imagemagick
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix wine64 wine64-tools
  gcc-multilib libwine-dev:i386 libfbclient2:i386
  python3 desktop-file-utils liblnk-utils osslsigncode
  clang clang-tidy
)

# Installs what is missing, with one apt-get update before.
instalar_pacotes() {
  local faltam=()
  local p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || faltam+=("$p")
  done
  [ ${#faltam[@]} -eq 0 ] && return 0
  echo "== installing: ${faltam[*]}"
  export DEBIAN_FRONTEND=noninteractive
  # Packages of the other architecture (":i386") need it known to dpkg before the update.
  if [[ " ${faltam[*]}" == *:i386* ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
    $SUDO dpkg --add-architecture i386
  fi
  $SUDO apt-get update -q
  $SUDO apt-get install -y -q --no-install-recommends "${faltam[@]}"
}

# Locales that the regional-settings tests and the demo use.
LOCALES=(pt_BR.UTF-8 en_US.UTF-8 de_DE.UTF-8 zh_HK.UTF-8)
gerar_locales() {
  local falta=0 l
  for l in "${LOCALES[@]}"; do
    locale -a 2>/dev/null | grep -qi "^${l%.UTF-8}.utf8$" || falta=1
  done
  [ $falta -eq 0 ] && return 0
  for l in "${LOCALES[@]}"; do
    if ! grep -q "^${l} UTF-8" /etc/locale.gen 2>/dev/null; then
      echo "${l} UTF-8" | $SUDO tee -a /etc/locale.gen >/dev/null
    fi
  done
  $SUDO locale-gen >/dev/null
}

NUCLEOS=$(nproc 2>/dev/null || echo 2)
