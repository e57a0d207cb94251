#!/usr/bin/env bash
# Runs vxprog.exe under Wine on a file whose name lies outside the ANSI code page (932 with a
# Japanese locale): the arguments must reach the program as UTF-16 and the file must be found
# under exactly that name. Usage: wine_vxprog_test.sh VXPROG.EXE WORKDIR
set -euo pipefail
top="$(cd "$(dirname "$0")/../.." && pwd)"
exe="$(realpath "$1")"
work="$2"
rm -rf "$work"
mkdir -p "$work"
cd "$work"

name=$'r\u00e9sum\u00e9-\u30c6\u30b9\u30c8.su'  # "résumé-テスト.su": é has no code page 932 byte
fail() { echo "FAIL: $*" >&2; exit 1; }
run() { "$top/tools/wine-run" "$exe" "$@" | tr -d '\r'; }

run new "$name"
[ -f "$name" ] || fail "new did not create '$name': $(ls)"
[ "$(stat -c %s "$name")" = 34580 ] || fail "new wrote $(stat -c %s "$name") bytes"

out="$(run set "$name" A 0 SEND CHR 41 B1)"
[ "$out" = " SEND CHR 41 b1 " ] || fail "set printed '$out'"

out="$(run list "$name" --program a --chars --code JIS8)"
expected=$'[A] 512 lines, cursor 0\n0000 SEND CHR A \uff71 '
[ "$out" = "$expected" ] || fail "list printed '$out'"

set +e
run check "$name" --program Z >/dev/null 2>&1
code=$?
set -e
[ "$code" = 2 ] || fail "a usage error exited with $code"
echo "vxprog.exe handles '$name'"
