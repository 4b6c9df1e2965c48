#!/usr/bin/env bash
# Installs the Debian packages that one use of the source tree needs, and no more. Profiles:
#   run      build and start the program (the default)
#   test     run + GoogleTest and the tools of the display tests
#   bench    run + Google Benchmark and muparser
#   asan     test + the distribution's clang and its sanitizer runtimes
#   fuzz     run + the distribution's clang and libFuzzer
#   package  run + what the Debian package build calls
#   fresh    what scripts/test-fresh-debian.sh needs to make a fresh Debian root
# Usage: install-deps.sh [profile]...
# Idempotent: only missing packages are installed; sudo is used only when not root.
# A word "a|b" stands for packages that are named differently in different releases: it is met when
# any of them is installed, otherwise the first that apt-cache offers is installed. No release is
# named here, and no compiler version: `clang` is whatever clang the release ships.
set -euo pipefail

profile_packages() {
  case "$1" in
    run)
      echo build-essential cmake ninja-build qt6-base-dev qt6-svg-dev libgl-dev libxcb1-dev libedit-dev \
        qt6-wayland ;;
    test)
      profile_packages run
      echo libgtest-dev libgmock-dev xvfb xauth imagemagick fonts-dejavu-core openbox xdotool x11-utils \
        weston ;;
    bench)
      profile_packages run
      echo libbenchmark-dev libmuparser-dev 'pkgconf|pkg-config' ;;
    asan)
      profile_packages test
      echo clang libclang-rt-dev ;;
    fuzz)
      profile_packages run
      echo clang libclang-rt-dev ;;
    package)
      profile_packages run
      echo file ;;
    fresh)
      echo debootstrap debian-archive-keyring ;;
    *)
      echo "install-deps.sh: unknown profile '$1' (run, test, bench, asan, fuzz, package, fresh)" >&2
      return 2 ;;
  esac
}

installed() {
  dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'
}

# The first of the alternatives that the package lists offer, or nothing.
offered() {
  local name
  for name in "$@"; do
    if apt-cache policy "$name" 2>/dev/null | grep -q '^ *Candidate: [^(]'; then
      echo "$name"
      return 0
    fi
  done
  return 1
}

words=()
for profile in "${@:-run}"; do
  listed=$(profile_packages "$profile" | tr "\n" " ") || exit 2
  read -r -a more <<<"$listed"
  words+=("${more[@]}")
done
# Profiles share packages; each is looked at once.
read -r -a words <<<"$(printf '%s\n' "${words[@]}" | sort -u | tr '\n' ' ')"

missing=()
choices=()
for word in "${words[@]}"; do
  IFS='|' read -r -a alternatives <<<"$word"
  met=""
  for p in "${alternatives[@]}"; do
    if installed "$p"; then met=1; break; fi
  done
  [ -n "$met" ] && continue
  if [ ${#alternatives[@]} -eq 1 ]; then
    missing+=("$word")
  else
    choices+=("$word")
  fi
done

if [ ${#missing[@]} -eq 0 ] && [ ${#choices[@]} -eq 0 ]; then
  exit 0
fi

sudo=""
if [ "$(id -u)" -ne 0 ]; then
  sudo="sudo"
fi
$sudo apt-get update -qq
# Alternatives are decided after the update, against the package lists the install will use.
for word in "${choices[@]}"; do
  IFS='|' read -r -a alternatives <<<"$word"
  if ! pick=$(offered "${alternatives[@]}"); then
    echo "install-deps.sh: none of ${alternatives[*]} is offered by apt" >&2
    exit 1
  fi
  missing+=("$pick")
done
echo "Installing missing packages: ${missing[*]}"
# Through env: sudo drops the caller's environment, and a debconf question must not wait for an answer.
$sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
