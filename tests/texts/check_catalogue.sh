#!/usr/bin/env bash
# The catalogue and its translations: the template is what velquin_texts writes from the
# catalogue; every PO file of po/LINGUAS compiles under msgfmt --check, translates every id of
# the template and no id it lacks, with nothing fuzzy; and no source outside the catalogue
# holds a sentence a player would read. Then each check is shown to fail on a broken copy.
# Usage: check_catalogue.sh VELQUIN_TEXTS
set -uo pipefail
texts_tool=$1
cd "$(dirname "$0")/../.."
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failed=0
fail() { echo "FAILED: $*"; failed=1; }

# One language's file against the template; prints why it fails.
check_po() {
  local po=$1 pot=$2
  msgfmt --check --check-accelerators='&' -o /dev/null "$po" || { echo "$po: msgfmt --check"; return 1; }
  msgcmp "$po" "$pot" || { echo "$po: an id of the template is missing or untranslated"; return 1; }
  msgcmp --use-untranslated "$pot" "$po" >/dev/null 2>&1 || { echo "$po: an id the template lacks (stale)"; return 1; }
  [ -z "$(msgattrib --only-fuzzy --no-obsolete "$po")" ] || { echo "$po: fuzzy entries"; return 1; }
}

"$texts_tool" pot >"$scratch/velquin.pot" || fail "velquin_texts pot"
diff -u po/velquin.pot "$scratch/velquin.pot" >/dev/null ||
  fail "po/velquin.pot is not what the catalogue gives: run velquin_texts pot > po/velquin.pot"
languages=$(grep -E '^[a-zA-Z_]+$' po/LINGUAS | sort)
[ "$languages" = "$(ls po/*.po | xargs -n1 basename | sed 's/\.po$//' | sort)" ] ||
  fail "po/LINGUAS and the PO files of po/ differ"
for language in $languages; do
  check_po "po/$language.po" po/velquin.pot || fail "$language"
done

# Sentences outside the catalogue: a string literal of two words or more in the program's
# sources. Font faces and lists of language codes are not such sentences.
sentences=$(grep -rn --include='*.cpp' --include='*.h' -E '"[A-Za-z][A-Za-z'"'"',]*( [A-Za-z'"'"',:;.!?-]+){1,}"' \
    app core discovery forms platform posix wine ZOVURFolder |
  grep -v -E '^forms/TextCatalogue\.h:|^[^:]+:[0-9]+:\s*(//|\*)' |
  grep -v -E '"(MS Sans Serif|Microsoft Sans Serif)"' | grep -v -E '"([a-z]{2,3} )+[a-z]{2,3}"')
[ -z "$sentences" ] || fail "sentences outside the catalogue:
$sentences"

# Each check made to fail: a missing id, a broken %d, an id the template lacks, a fuzzy entry.
broken() {
  local name=$1
  shift
  "$@" <po/de.po >"$scratch/$name.po" || { fail "could not make $name"; return; }
  if check_po "$scratch/$name.po" po/velquin.pot >/dev/null 2>&1; then fail "the check passed $name"; fi
}
broken missing-id awk -v RS= -v ORS='\n\n' '!/msgctxt "cmdHelp"\n/'
broken broken-format sed 's/^msgstr "Figur %d"$/msgstr "Figur %s"/'
broken stale-id sed '$a\\nmsgctxt "Gone"\nmsgid "Old"\nmsgstr "Alt"'
broken fuzzy sed 's/^msgctxt "cmdHelp"$/#, fuzzy\n&/'
# Each broken copy differs from the file it was made from.
for name in missing-id broken-format stale-id fuzzy; do
  cmp -s po/de.po "$scratch/$name.po" && fail "$name is no change"
done

[ "$failed" = 0 ] && echo "catalogue: template current, $(echo $languages | wc -w) languages complete, each check fails when broken"
exit $failed
