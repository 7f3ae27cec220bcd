#!/usr/bin/env bash
# Checks scripts/x86.sh's decisions on every road, with stand-ins for the kernel's answer,
# apt-get and dpkg (nothing is installed): a kernel that refuses 32-bit programs, a package index
# out of step once (retried, then installed), one that stays out of step (reported, no failure)
# and an install that leaves no 32-bit loader. Also checks that the real kernel probe answers.
set -eu
cd "$(dirname "$0")/.."
. scripts/x86.sh
fake=$(mktemp -d)
trap 'rm -rf "$fake"' EXIT
failures=0
check() { # what, expected, actual
  if [ "$2" = "$3" ]; then return; fi
  echo "x86-test: $1: expected [$2], got [$3]"
  failures=$((failures + 1))
}

cat >"$fake/dpkg" <<EOF
#!/usr/bin/env bash
echo "dpkg \$*" >>"$fake/calls"
case \$1 in
  -s) exit 1 ;;
  --print-foreign-architectures) [ -f "$fake/i386" ] && echo i386; exit 0 ;;
  --add-architecture) touch "$fake/i386" ;;
esac
EOF
# apt-get whose update fails, as with an i386 index out of step, as many times as $fake/fails says.
cat >"$fake/apt-get" <<EOF
#!/usr/bin/env bash
echo "apt-get \$1" >>"$fake/calls"
if [ "\$1" = update ] && [ "\$(cat "$fake/fails")" -gt 0 ]; then
  echo \$((\$(cat "$fake/fails") - 1)) >"$fake/fails"
  echo "E: Failed to fetch http://deb.debian.org/debian/dists/bookworm/main/binary-i386/Packages.xz  File has unexpected size (8068136 != 8068320). Mirror sync in progress?" >&2
  exit 100
fi
EOF
chmod +x "$fake/dpkg" "$fake/apt-get"
export RV_X86_DPKG=$fake/dpkg RV_X86_APT_GET=$fake/apt-get RV_X86_RETRY_PAUSE=0

road() { # kernel answer, index failures, loader → "yes" or the reason; the calls in $fake/calls
  rm -f "$fake/calls" "$fake/i386"
  echo "$2" >"$fake/fails"
  if RV_X86_KERNEL=$1 RV_X86_WINE_LOADER=$3 rv_x86_ready >/dev/null; then echo yes; else echo "$RV_X86_WHY"; fi
}
calls() { if [ -f "$fake/calls" ]; then tr '\n' ',' <"$fake/calls"; fi; }

check "a kernel without 32-bit support" "the kernel was declared unable to run 32-bit programs (RV_X86_KERNEL=no)" \
  "$(road no 0 /bin/true)"
check "nothing is installed then" "" "$(calls)"
check "an index out of step once" yes "$(road yes 1 /bin/true)"
check "it is retried once and installed" \
  "dpkg -s wine32:i386,dpkg --print-foreign-architectures,dpkg --add-architecture i386,apt-get update,apt-get update,apt-get install," "$(calls)"
check "an index that stays out of step" \
  "installing 32-bit Wine failed twice (E: Failed to fetch http://deb.debian.org/debian/dists/bookworm/main/binary-i386/Packages.xz  File has unexpected size (8068136 != 8068320). Mirror sync in progress?)" \
  "$(road yes 5 /bin/true)"
check "it is tried twice, no more" "dpkg -s wine32:i386,dpkg --print-foreign-architectures,dpkg --add-architecture i386,apt-get update,apt-get update," "$(calls)"
check "an install without the 32-bit loader" "wine32:i386 is installed but $fake/none is missing" "$(road yes 0 "$fake/none")"
RV_X86_WHY="why"
check "the line printed when x86 does not run" \
  "x86: the x86 test suite and example host did NOT run: why. The x86 build was compiled and linked only." \
  "$(rv_x86_not_run_line)"

# The real probe: either answer is right, but it must give one, with a reason when it is no.
unset RV_X86_KERNEL
if rv_x86_kernel_runs_32bit; then kernel=yes; else kernel="no: $RV_X86_KERNEL_WHY"; fi
case $kernel in yes | "no: "?*) ;; *) check "the kernel probe" "yes or no with a reason" "$kernel" ;; esac

[ $failures -eq 0 ] || exit 1
echo "x86-test: the x86 checks decide as they should (this kernel: $kernel)"
