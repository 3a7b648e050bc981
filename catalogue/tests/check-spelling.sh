#!/bin/sh
# Spell-checks the catalogue's texts (UTF-8) with hunspell's Bulgarian
# dictionary. Words it does not know but that are right (proper names, old
# spellings of titles, abbreviations, the one Latin t) are listed in
# accepted-words.dic. hunspell prints the words it does not know in the
# locale's character set: in C.UTF-8, so that no LANG (the C locale, ASCII)
# still lets it print Cyrillic.
#   check-spelling.sh <content-dir> <accepted-words.dic>
set -eu
content=$1
accepted=$2

unknown=$(cat "$content"/title.txt "$content"/introduction.txt "$content"/entries.txt "$content"/other-openings.txt \
    | sed -e 's/{names}//' -e 's/|/ /' \
    | LC_ALL=C.UTF-8 hunspell -d bg_BG -i utf-8 -p "$accepted" -l \
    | sort -u)

if [ -n "$unknown" ]; then
    echo "Words hunspell does not know (fix them, or add right ones to $accepted):"
    echo "$unknown"
    exit 1
fi
echo "spelling: no unknown words"
