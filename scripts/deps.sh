#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the program need,
# skipping those already present. Sourced by run.sh and test.sh.

# The packages, by their real (not virtual) names: dpkg reports a virtual
# name as not installed, which would run apt-get on every start.
tesmir_deps_packages() {
  echo build-essential cmake pkg-config \
    qt6-base-dev qt6-base-dev-tools qt6-svg-dev libqt6printsupport6 libgl-dev \
    libxlsxwriter-dev libminizip-dev \
    libgtest-dev libgmock-dev libbenchmark-dev \
    desktop-file-utils appstream dpkg-dev lintian \
    qt6-translations-l10n \
    unzip fonts-dejavu-core locales poppler-utils \
    xvfb xauth \
    clang-format
}

# Prints the packages that are not installed, one a line.
tesmir_missing_deps() {
  local p
  for p in $(tesmir_deps_packages); do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
      echo "$p"
    fi
  done
}

tesmir_install_deps() {
  local missing
  mapfile -t missing < <(tesmir_missing_deps)
  local sudo=""
  if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
  fi
  if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing missing packages: ${missing[*]}"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
  fi
  # The spreadsheet export is tested under a Russian locale (decimal comma).
  if ! locale -a 2>/dev/null | grep -qi '^ru_RU\.utf-\?8$'; then
    echo "Generating the ru_RU.UTF-8 locale"
    $sudo localedef -i ru_RU -c -f UTF-8 ru_RU.UTF-8 || echo "warning: could not generate ru_RU.UTF-8" >&2
  fi
}
