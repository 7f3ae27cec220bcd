#!/usr/bin/env bash
# Whether this machine can run the x86 build, and the 32-bit Wine it needs. Sourced by
# scripts/test.sh; run on its own it prints the verdict (for trying the checks):
#
#   scripts/x86.sh            "x86 runs here" or the one line saying why it does not
#
# rv_x86_ready sets RV_X86_WHY to one plain sentence when it answers no. Overrides, to exercise
# each road on any machine:
#   RV_X86_KERNEL=yes|no      take this as the kernel's answer instead of trying a 32-bit program
#   RV_X86_APT_GET, RV_X86_DPKG
#                             the commands used in place of apt-get and dpkg (a stand-in that
#                             fails the way a package index out of step does, say)
#   RV_X86_RETRY_PAUSE        seconds between the first attempt and the retry (default 10)
#   RV_X86_WINE_LOADER        the 32-bit Wine loader the install must leave (/usr/lib/wine/wine)

RV_X86_WINE_LOADER=${RV_X86_WINE_LOADER:-/usr/lib/wine/wine}

# Whether the kernel starts a 32-bit x86 program: a 96-byte static i386 executable that only
# exits with status 42 (mov eax,1; mov ebx,42; int 0x80). A kernel without 32-bit support
# refuses it ("Exec format error").
rv_x86_kernel_runs_32bit() {
  case ${RV_X86_KERNEL:-} in
    yes) return 0 ;;
    no) RV_X86_KERNEL_WHY="the kernel was declared unable to run 32-bit programs (RV_X86_KERNEL=no)"; return 1 ;;
  esac
  local probe status
  probe=$(mktemp "${TMPDIR:-/tmp}/rv-x86-probe.XXXXXX")
  printf '%b' '\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00' \
    '\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00' \
    '\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00' \
    '\x00\x00\x00\x00\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08' \
    '\x00\x80\x04\x08\x60\x00\x00\x00\x60\x00\x00\x00\x05\x00\x00\x00' \
    '\x00\x10\x00\x00\xb8\x01\x00\x00\x00\xbb\x2a\x00\x00\x00\xcd\x80' >"$probe"
  chmod +x "$probe"
  status=0
  "$probe" 2>/dev/null || status=$?
  rm -f "$probe"
  [ "$status" -eq 42 ] && return 0
  if [ "$status" -eq 126 ]; then
    RV_X86_KERNEL_WHY="this machine's kernel cannot run 32-bit programs (a static i386 test program was refused: Exec format error)"
  else
    RV_X86_KERNEL_WHY="a static i386 test program did not run as expected on this kernel (exit status $status)"
  fi
  return 1
}

# Runs one package step, retrying once after a pause when it fails (a package index can be
# out of step for a moment, as the i386 index once was). Prints nothing on success; on the
# second failure leaves the step's last error line in RV_X86_STEP_ERROR.
rv_x86_step() {
  local output attempt
  for attempt in 1 2; do
    if output=$("$@" 2>&1); then return 0; fi
    RV_X86_STEP_ERROR=$(printf '%s\n' "$output" | grep -E '^(E|W|Err):' | tail -n 1)
    [ -n "$RV_X86_STEP_ERROR" ] || RV_X86_STEP_ERROR=$(printf '%s\n' "$output" | tail -n 1)
    [ "$attempt" -eq 1 ] && sleep "${RV_X86_RETRY_PAUSE:-10}"
  done
  return 1
}

rv_x86_sudo() {
  if [ "$(id -u)" -ne 0 ]; then sudo "$@"; else "$@"; fi
}

# Installs 32-bit Wine (the i386 architecture and wine32:i386) unless it is there.
rv_x86_install_wine32() {
  local apt=${RV_X86_APT_GET:-apt-get} dpkg=${RV_X86_DPKG:-dpkg}
  if "$dpkg" -s wine32:i386 2>/dev/null | grep -q '^Status: install ok installed'; then return 0; fi
  echo "Installing 32-bit Wine (wine32:i386) for the x86 suite"
  export DEBIAN_FRONTEND=noninteractive
  if ! "$dpkg" --print-foreign-architectures | grep -qx i386; then
    rv_x86_sudo "$dpkg" --add-architecture i386 ||
      { RV_X86_INSTALL_WHY="adding the i386 architecture failed"; return 1; }
  fi
  # The index and the install are retried together: a failed install may need the index anew.
  rv_x86_update_and_install() {
    rv_x86_sudo "$apt" update -qq && rv_x86_sudo "$apt" install -y -qq --no-install-recommends wine32:i386
  }
  if ! rv_x86_step rv_x86_update_and_install; then
    RV_X86_INSTALL_WHY="installing 32-bit Wine failed twice (${RV_X86_STEP_ERROR:-no message})"
    return 1
  fi
  [ -x "$RV_X86_WINE_LOADER" ] ||
    { RV_X86_INSTALL_WHY="wine32:i386 is installed but $RV_X86_WINE_LOADER is missing"; return 1; }
}

# Yes when the x86 suite can run here (installing 32-bit Wine if needed); no with RV_X86_WHY.
rv_x86_ready() {
  RV_X86_WHY=
  if ! rv_x86_kernel_runs_32bit; then
    RV_X86_WHY="$RV_X86_KERNEL_WHY"
    return 1
  fi
  if ! rv_x86_install_wine32; then
    RV_X86_WHY="$RV_X86_INSTALL_WHY"
    return 1
  fi
}

# The one line test.sh prints when the x86 suite does not run.
rv_x86_not_run_line() {
  echo "x86: the x86 test suite and example host did NOT run: $RV_X86_WHY. The x86 build was compiled and linked only."
}

if [ "${BASH_SOURCE[0]}" = "$0" ]; then
  set -eu
  if rv_x86_ready; then echo "x86 runs here (32-bit Wine: $RV_X86_WINE_LOADER)"; else rv_x86_not_run_line; fi
fi
