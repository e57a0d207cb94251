#!/usr/bin/env bash
# The bundled sample as text: importing its own export changes no byte, exporting again gives the
# same text, and no line of it (all written by vxprog set, as the editor writes them) is .raw.
# Usage: sample_round_trip_test.sh VXPROG WORKDIR
set -euo pipefail
top="$(cd "$(dirname "$0")/../.." && pwd)"
vxprog="$(realpath "$1")"
work="$2"
rm -rf "$work"
mkdir -p "$work"
cd "$work"
fail() { echo "FAIL: $*" >&2; exit 1; }

"$top/tools/make-sample" "$vxprog" sample.su
cp sample.su copy.su
"$vxprog" export sample.su > sample.vxp
if grep -q '^\.raw' sample.vxp; then fail "the sample exports lines as .raw: $(grep '^\.raw' sample.vxp)"; fi
[ "$(grep -vc '^#\|^\[\|^$' sample.vxp)" -eq 56 ] || fail "the sample exports $(grep -vc '^#\|^\[\|^$' sample.vxp) lines"
"$vxprog" import copy.su sample.vxp
cmp sample.su copy.su || fail "importing the sample's export changed the file"
"$vxprog" export copy.su | sed '1s/copy\.su$/sample.su/' | cmp - sample.vxp || fail "the second export differs"
# Each program alone, through standard input.
for p in A B C D; do
  "$vxprog" export sample.su --program "$p" | "$vxprog" import copy.su - --program "$p"
done
cmp sample.su copy.su || fail "importing program by program changed the file"
echo "sample round trip passed"
