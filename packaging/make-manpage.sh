#!/bin/sh
# Writes the man page of `lumo` (roff, on standard output) from the tool's own help texts:
# `lumo --help` for the synopsis and overview, then `lumo help COMMAND` for every command that
# the overview lists. Nothing of the help is repeated here, so the page cannot drift from it.
# Usage: make-manpage.sh PATH-TO-LUMO VERSION
set -eu
lumo=$1
version=${2:-}

# Roff treats a backslash as an escape and a line starting with "." or "'" as a request.
escape() {
    sed -e 's/\\/\\e/g' -e "s/^\([.']\)/\\\\\&\1/" -e 's/^-/\\-/' -e 's/ -/ \\-/g'
}

overview=$("$lumo" --help)

cat <<HEAD
.TH LUMO 1 "" "vorel-lumo $version" "User Commands"
.SH NAME
lumo \\- inspect, convert and transfer the scenes of a Vorel Lumo MIDI controller
.SH DESCRIPTION
.nf
HEAD
printf '%s\n' "$overview" | escape
echo ".fi"

# Candidate command names: the first word of each indented line of the overview; a word is a
# command when `lumo help WORD` accepts it.
commands=$(printf '%s\n' "$overview" | sed -n 's/^[ \t]\{1,\}\(lumo[ \t]\{1,\}\)\{0,1\}\([a-z][a-z0-9-]*\).*/\2/p' | awk '!seen[$0]++')
first=1
for command in $commands; do
    text=$("$lumo" help "$command" 2>/dev/null) || continue
    [ -n "$text" ] || continue
    [ "$text" != "$overview" ] || continue
    if [ $first = 1 ]; then
        echo ".SH COMMANDS"
        first=0
    fi
    echo ".SS $command"
    echo ".nf"
    printf '%s\n' "$text" | escape
    echo ".fi"
done

cat <<'TAIL'
.SH FILES
.TP
.I DefPara.ini, NotePara.ini
The default parameters and the note names, read from the current folder; the shipped copies are
installed in
.IR share/vorel-lumo
under the installation prefix; the editor
.B vorel-lumo
is started there from the desktop menu.
TAIL
