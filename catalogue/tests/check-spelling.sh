#!/bin/sh
# Spell-checks the catalogue's texts (UTF-8) with hunspell's Bulgarian
# dictionary. Words it does not know but that are right (proper names, old
# spellings of titles, abbreviations, the one Latin t) are listed in
# accepted-words.dic.
#   check-spelling.sh <content-dir> <accepted-words.dic>
set -eu
content=$1
accepted=$2

unknown=$(cat "$content"/title.txt "$content"/introduction.txt "$content"/entries.txt "$content"/other-openings.txt \
    | sed -e 's/{names}//' -e 's/|/ /' \
    | hunspell -d bg_BG -i utf-8 -p "$accepted" -l \
    | sort -u)

if [ -n "$unknown" ]; then
    echo "Words hunspell does not know (fix them, or add right ones to $accepted):"
    echo "$unknown"
    exit 1
fi
echo "spelling: no unknown words"
