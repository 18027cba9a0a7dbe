#!/usr/bin/env bash
# Fails when a program imports a DLL outside the system's own set, or a function Windows 2000 or
# XP does not export, C runtime included (the list and the rules: scripts/windows-imports.txt).
# Such a program is refused by the loader there before it runs a line.
#   scripts/check-imports.sh PROGRAM...
# OBJDUMP and CC name the tools of the programs' target (i686 MinGW unless set).
# A made-up program with each kind of fault is checked first and must be caught, so that the
# check cannot pass by reading nothing.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
list=$root/scripts/windows-imports.txt
objdump=${OBJDUMP:-i686-w64-mingw32-objdump}
cc=${CC:-i686-w64-mingw32-gcc}
[ $# -gt 0 ] || { echo "usage: $0 PROGRAM..." >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The made-up program: a DLL of later Windows versions, listed functions of XP and Vista, one only
# the headers know to be later, and a C runtime function Windows 2000's runtime lacks.
cat > "$work/faulty.c" <<'C'
#define _WIN32_WINNT 0x0600
#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>
#include <bcrypt.h>
#include <time.h>
static LONG CALLBACK Handler(EXCEPTION_POINTERS* info) { (void)info; return 0; }
int main(void) {
    UCHAR byte;
    ULONG taken;
    struct addrinfo* found = NULL;
    AddVectoredExceptionHandler(1, Handler);
    GetQueuedCompletionStatusEx(NULL, NULL, 0, &taken, 0, FALSE);
    BCryptGenRandom(NULL, &byte, 1, BCRYPT_USE_SYSTEM_PREFERRED_RNG);
    if (getaddrinfo("localhost", NULL, NULL, &found) == 0) freeaddrinfo(found);
    return (int)(GetTickCount64() + _time64(NULL));
}
C
"$cc" -o "$work/faulty.exe" "$work/faulty.c" -lbcrypt -lws2_32
programs=("$work/faulty.exe" "$@")

# Each program's imports: "DLL FUNCTION" for each by name, "DLL #ORDINAL" for each by ordinal.
for i in "${!programs[@]}"; do
  "$objdump" -p "${programs[$i]}" | awk '
    /^The Import Tables/ { inside = 1; next }
    /^[^ \t]/ { inside = 0 }
    !inside { next }
    /^\tDLL Name: / { dll = $3; next }
    /^\t[0-9a-f]+\t/ { print dll, ($3 == "<none>" ? "#" $2 : $3) }' > "$work/imports.$i"
done

# One probe of all functions imported from DLLs with headers: which are not declared for
# Windows 2000. The headers in the list's order (winsock2.h before windows.h).
awk 'NR == FNR { if ($1 == "dll" && NF > 2) has[toupper($2)] = 1; next }
     has[toupper($1)] && $2 !~ /^#/ { print $2 }' "$list" "$work"/imports.* | sort -u > "$work/names"
{
  awk '$1 == "dll" { for (i = 3; i <= NF; i++) if (!seen[$i]++) print "#include <" $i ">" }' "$list"
  echo "void* probe[] = {"
  sed 's/.*/  (void*)\&&,/' "$work/names"
  echo "};"
} > "$work/probe.c"
: > "$work/undeclared"
if ! LC_ALL=C "$cc" -D_WIN32_WINNT=0x0500 -DWINVER=0x0500 -fsyntax-only "$work/probe.c" \
     2> "$work/probe.log"; then
  sed -n "s/.*'\([A-Za-z0-9_]*\)' undeclared.*/\1/p" "$work/probe.log" | sort -u > "$work/undeclared"
  if [ ! -s "$work/undeclared" ]; then
    echo "the declarations could not be probed:"
    cat "$work/probe.log"
    exit 1
  fi
fi

# The problems of one program, one a line.
problems() {
  awk -v name="$(basename "$1")" '
    FILENAME == ARGV[1] {
      if ($1 == "dll") allowed[toupper($2)] = 1
      if ($1 == "lacks") since[$2] = $3
      if ($1 == "exports") for (i = 3; i <= NF; i++) exported[toupper($2), $i] = held[toupper($2)] = 1
      next
    }
    FILENAME == ARGV[2] { undeclared[$1] = 1; next }
    {
      dll = toupper($1)
      if (dll == "KERNEL32.DLL") kernel = 1
      if (!(dll in allowed)) {
        if (!(dll in told)) print name ": imports " $1 ", not one of the system DLLs of Windows 2000 and XP"
        told[dll] = 1
      } else if ($2 ~ /^#/) {
        print name ": imports " $1 " ordinal " substr($2, 2) ", which cannot be checked by name"
      } else if ($2 in since) {
        print name ": imports " $2 " from " $1 ", which Windows has only from " since[$2] " on"
      } else if ($2 in undeclared) {
        print name ": imports " $2 " from " $1 ", which the headers do not declare for Windows 2000"
      } else if ((dll in held) && !((dll, $2) in exported)) {
        print name ": imports " $2 " from " $1 ", not one Windows 2000'"'"'s copy is known to export"
      }
    }
    END { if (!kernel) print name ": no import of KERNEL32.dll read; is it a 32-bit Windows program?" }' \
    "$list" "$work/undeclared" "$2"
}

problems "${programs[0]}" "$work/imports.0" > "$work/faulty.out"
for expected in "imports bcrypt.dll, not one of" \
                "AddVectoredExceptionHandler from KERNEL32.dll, which Windows has only from XP on" \
                "GetTickCount64 from KERNEL32.dll, which Windows has only from Vista on" \
                "GetQueuedCompletionStatusEx from KERNEL32.dll, which the headers do not declare" \
                "getaddrinfo from WS2_32.dll, which Windows has only from XP on" \
                "_time64 from msvcrt.dll, not one Windows 2000's copy is known to export"; do
  if ! grep -qF "$expected" "$work/faulty.out"; then
    echo "the check missed a fault of a made-up program (\"$expected\"); it said:"
    cat "$work/faulty.out"
    exit 1
  fi
done

status=0
for ((i = 1; i < ${#programs[@]}; i++)); do
  problems "${programs[$i]}" "$work/imports.$i" > "$work/out"
  if [ -s "$work/out" ]; then
    cat "$work/out"
    status=1
  else
    echo "$(basename "${programs[$i]}"): imports only what Windows 2000 and XP export:" \
         "$(wc -l < "$work/imports.$i") functions from" \
         "$(cut -d' ' -f1 "$work/imports.$i" | sort -u | paste -sd' ')"
  fi
done
exit $status
