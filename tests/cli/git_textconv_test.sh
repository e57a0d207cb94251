#!/usr/bin/env bash
# Makes `git diff` show setup files as text, exactly as the README describes: a .gitattributes
# naming the vxsetup driver and `git config diff.vxsetup.textconv "vxprog export"`, with vxprog
# found on PATH. Commits the sample, changes one line with vxprog, and expects git diff to show
# that line removed and added as program text. Usage: git_textconv_test.sh VXPROG WORKDIR
set -euo pipefail
top="$(cd "$(dirname "$0")/../.." && pwd)"
vxprog="$(realpath "$1")"
work="$2"
rm -rf "$work"
mkdir -p "$work/bin" "$work/repo"
ln -s "$vxprog" "$work/bin/vxprog"
export PATH="$work/bin:$PATH"
# Nothing from the user's or the system's git configuration.
export GIT_CONFIG_GLOBAL=/dev/null GIT_CONFIG_NOSYSTEM=1 HOME="$work"
fail() { echo "FAIL: $*" >&2; exit 1; }

cd "$work/repo"
git init -q .
git config user.name "vxedit test"
git config user.email "test@example.invalid"
"$top/tools/make-sample" "$vxprog" "$work/repo/sample.su"

printf '*.su diff=vxsetup\n*.sp diff=vxsetup\n' > .gitattributes
git config diff.vxsetup.textconv "vxprog export"
git add .gitattributes sample.su
git commit -qm "the sample"

# Line 3 of program A: "SEND CHR 41 54 5a 0d" ("ATZ" CR) becomes "ATH" CR.
vxprog set sample.su A 3 SEND CHR 41 54 48 0D >/dev/null
diff="$(git diff sample.su)"
echo "$diff"
grep -qx -- '-SEND CHR 41 54 5a 0d' <<<"$diff" || fail "git diff does not show the old line"
grep -qx -- '+SEND CHR 41 54 48 0d' <<<"$diff" || fail "git diff does not show the new line"
# Only that line: the comment line that names the file is alike on both sides.
changed="$(grep -c '^[-+][^-+]' <<<"$diff" || true)"
[ "$changed" -eq 2 ] || fail "git diff shows $changed changed lines"
if grep -q '^Binary files' <<<"$diff"; then fail "git diff treats the file as binary"; fi

# The same text goes back into a copy of the committed file through standard input.
git show HEAD:sample.su > committed.su
vxprog export sample.su | vxprog import committed.su -
cmp -s committed.su sample.su || fail "importing the export through stdin differs from the file"
echo "git textconv test passed"
