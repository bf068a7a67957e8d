#!/usr/bin/env bash
# Self-test of tools/check-texts on a temporary folder of texts.
# Exit 0 pass, 1 fail, 77 skipped (hunspell or its Russian dictionary missing).

set -u

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd -P) || exit 1
tool=${CHECK_TEXTS:-"$here/../../tools/check-texts"}

if [[ ! -x $tool ]]; then
    echo "FAIL: $tool is missing or not executable"
    exit 1
fi

work=$(mktemp -d) || exit 1
trap 'rm -rf "$work"' EXIT

fail() {
    echo "FAIL: $*"
    echo "--- output ---"
    cat "$work/out"
    exit 1
}

# One text with a known misspelling and one word the dictionary lacks but the
# allow-list accepts (listed in lower case, used with a capital letter).
cat >"$work/allowed-words.txt" <<'TXT'
# test allow-list
чжэньский
TXT
printf 'Чжэньский ветер принёс превет из далёкой долины.\n' >"$work/Text1.txt"

"$tool" "$work" >"$work/out" 2>&1
status=$?
if ((status == 2)); then
    echo "SKIP: hunspell or the ru_RU dictionary is not installed"
    cat "$work/out"
    exit 77
fi
((status == 1)) || fail "expected exit status 1 with a misspelling, got $status"
grep -q '^превет: Text1\.txt$' "$work/out" || fail '"превет" is not reported for Text1.txt'
grep -qi 'чжэньский' "$work/out" && fail 'the allowed word is reported'

# Without the misspelling nothing is left.
printf 'Чжэньский ветер принёс привет из далёкой долины.\n' >"$work/Text1.txt"
"$tool" "$work" >"$work/out" 2>&1
status=$?
((status == 0)) || fail "expected exit status 0 without misspellings, got $status"

echo "PASS"
exit 0
