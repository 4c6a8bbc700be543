#!/usr/bin/env bash
# Runs `lumo` in a temporary folder: usage: lumo_test.sh PATH-TO-LUMO ASSETS-FOLDER
set -uo pipefail
lumo=$1
assets=$2
work=$(mktemp -d)
trap 'chmod -R u+w "$work"; rm -rf "$work"' EXIT
cd "$work" || exit 1
# The user's own parameter files must not stand in for missing ones.
export XDG_CONFIG_HOME="$work/config"
failures=0

fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
# expect STATUS STDOUT-PATTERN STDERR-TEXT -- COMMAND...: exit status exact, standard output
# matched by grep -E (empty: must be empty), standard error exact.
expect() {
  local status=$1 out=$2 err=$3; shift 4
  "$@" >out.txt 2>err.txt
  local got=$?
  [ "$got" -eq "$status" ] || fail "$*: exit $got, wanted $status"
  if [ -z "$out" ]; then [ ! -s out.txt ] || fail "$*: unexpected output: $(head -3 out.txt)"
  else grep -Eq -- "$out" out.txt || fail "$*: output lacks '$out'"; fi
  [ "$(cat err.txt)" = "$err" ] || fail "$*: error '$(cat err.txt)', wanted '$err'"
}

cp "$assets/DefPara.ini" "$assets/NotePara.ini" .

# defaults with the shipped assets: 3,536 bytes that show prints.
expect 0 "" "" -- "$lumo" defaults -o a.lumo
[ "$(stat -c %s a.lumo)" -eq 3536 ] || fail "defaults wrote $(stat -c %s a.lumo) bytes"
expect 0 '^Scene 1: "SCENE1"$' "" -- "$lumo" show a.lumo
grep -q '^Scene 4: "SCENE4"$' out.txt || fail "show lacks scene 4"
grep -q 'Trigger Pad-1: *Assign Type=Note, CC/Note Number=36 (C2),.*MIDI Channel=10$' out.txt || fail "show: pad 1"
grep -q '^  Piano Key CC# Ch: Global$' out.txt || fail "show: piano key channel"
grep -q '^  Key Transpose: 0$' out.txt || fail "show: transpose"
[ "$(grep -c '^  Key-25: ' out.txt)" -eq 4 ] || fail "show: key 25 in every scene"
expect 0 '"KonbCCNumber": \[' "" -- "$lumo" show --json a.lumo
grep -q '"SceneName": "SCENE2"' out.txt || fail "show --json: scene name"

# A second run keeps the first file as the backup beside it.
expect 0 "" "" -- "$lumo" defaults -o a.lumo
cmp -s a.lumo a.BAK || fail "defaults over an existing file: no backup"

# Without the parameter files the built-in copies give the same scenes, after the error.
mkdir bare && (cd bare && "$lumo" defaults -o b.lumo 2>err.txt; echo $? >status.txt)
[ "$(cat bare/status.txt)" -eq 0 ] || fail "defaults without parameter files failed"
[ "$(cat bare/err.txt)" = "lumo: Cannot open file \"$work/bare/DefPara.ini\". No such file or directory" ] \
  || fail "defaults without parameter files: '$(cat bare/err.txt)'"
cmp -s a.lumo bare/b.lumo || fail "built-in defaults differ from the shipped files"

# Short, long, missing and read-only files.
head -c 1000 a.lumo >short.lumo
expect 1 "" "lumo: Read beyond end of file." -- "$lumo" show short.lumo
{ cat a.lumo; printf 'extra'; } >long.lumo
expect 0 '^Scene 1: "SCENE1"$' "" -- "$lumo" show long.lumo
expect 1 "" "lumo: File not found." -- "$lumo" show missing.lumo
cp a.lumo ro.lumo && chmod 444 ro.lumo
expect 0 '^Scene 1: "SCENE1"$' "" -- "$lumo" show ro.lumo

# File names are bytes, UTF-8 or not.
expect 0 "" "" -- "$lumo" defaults -o $'caf\xe9.lumo'
expect 0 '^Scene 1: "SCENE1"$' "" -- "$lumo" show $'caf\xe9.lumo'
expect 0 "" "" -- "$lumo" pack $'caf\xe9.lumo' -o $'image\xff.bin'
[ "$(stat -c %s $'image\xff.bin')" -eq 916 ] || fail "pack to a byte name"
# A FIFO is neither waited on nor replaced.
mkfifo fifo.lumo
expect 1 "" "lumo: File access denied." -- timeout 5 "$lumo" show fifo.lumo
expect 1 "" "lumo: File access denied." -- "$lumo" defaults -o fifo.lumo
[ -p fifo.lumo ] || fail "the FIFO was replaced"
# Past the file-size limit (1 KiB) the save fails with its error and leaves nothing behind.
expect 1 "" "lumo: I/O error 27." -- bash -c 'ulimit -f 1; exec "$0" defaults -o big.lumo' "$lumo"
[ -z "$(find . -name 'big*' -o -name '.lumo-*')" ] || fail "file-size limit left $(ls -A)"

# diff: equal files, then one knob and one name changed.
expect 0 "" "" -- "$lumo" diff a.lumo long.lumo
cp a.lumo c.lumo
printf '\x4a' | dd of=c.lumo bs=1 seek=$((884 + 80)) conv=notrunc status=none
printf 'X' | dd of=c.lumo bs=1 seek=1 conv=notrunc status=none
expect 1 '^scene 2, Konb-1, KonbCCNumber: 20 -> 74$' "" -- "$lumo" diff a.lumo c.lumo
grep -q '^scene 1, Common, SceneName: "SCENE1" -> "XCENE1"$' out.txt || fail "diff: name line"
[ "$(wc -l <out.txt)" -eq 2 ] || fail "diff: $(wc -l <out.txt) lines, wanted 2"
expect 1 "" "lumo: short.lumo: Read beyond end of file." -- "$lumo" diff a.lumo short.lumo

# The shown forms of the 32-bit extremes: bend speed 2147483647 + 1, transpose -2147483648 - 13.
cp a.lumo edge.lumo
printf '\xff\xff\xff\x7f\x00\x00\x00\x80' | dd of=edge.lumo bs=1 seek=24 conv=notrunc status=none
expect 0 '^  Pitch Bend Speed: 2147483648$' "" -- "$lumo" show edge.lumo
grep -q '^  Key Transpose: -2147483661$' out.txt || fail "show: transpose of -2147483648"
expect 1 '^scene 1, Common, BendSpeed: 2 -> 2147483648$' "" -- "$lumo" diff a.lumo edge.lumo

# check: the defaults are clean; Konb-2 of scene 3 on Konb-1's CC 20, then Konb-1 on CC 200.
expect 0 "" "" -- "$lumo" check a.lumo
cp a.lumo d.lumo
printf '\x14' | dd of=d.lumo bs=1 seek=$((2 * 884 + 84)) conv=notrunc status=none
expect 1 '^scene 3: Konb-1 and Konb-2 both send CC 20 on channel 1$' "" -- "$lumo" check d.lumo
[ "$(wc -l <out.txt)" -eq 1 ] || fail "check: $(wc -l <out.txt) lines, wanted 1"
printf '\xc8' | dd of=d.lumo bs=1 seek=$((2 * 884 + 80)) conv=notrunc status=none
expect 1 '^scene 3: Konb-1 sends CC 200, outside 0-127$' "" -- "$lumo" check d.lumo
expect 1 "" "lumo: Read beyond end of file." -- "$lumo" check short.lumo
for args in "check" "check a.lumo d.lumo" "check --all a.lumo"; do
  # shellcheck disable=SC2086
  "$lumo" $args >/dev/null 2>err.txt
  [ $? -eq 2 ] && grep -q '^lumo: ' err.txt || fail "lumo $args: not a usage error"
done

# Help and wrong usage.
expect 0 'defaults -o FILE' "" -- "$lumo" --help
grep -q 'diff A B' out.txt || fail "--help lacks diff"
expect 0 '^usage: lumo show FILE \[--json\]$' "" -- "$lumo" help show
expect 0 '^usage: lumo defaults -o FILE$' "" -- "$lumo" defaults --help
for args in "" "bogus" "show" "show a.lumo b.lumo" "show --yaml a.lumo" "defaults" "defaults -o" \
            "diff a.lumo" "help bogus" "monitor --scene 5" "monitor --scene" "monitor a.lumo b.lumo"; do
  # shellcheck disable=SC2086
  "$lumo" $args >/dev/null 2>err.txt
  status=$?
  [ "$status" -eq 2 ] || fail "lumo $args: exit $status, wanted 2"
  grep -q '^lumo: ' err.txt || fail "lumo $args: no 'lumo: ' error"
done

# export and import: the same bytes back, random ones included; a refused text writes nothing.
expect 0 "" "" -- "$lumo" export a.lumo -o a.json
grep -q '^      "KonbCCNumber": \[20, 21, 22, 23\],$' a.json || fail "export: knob numbers"
expect 0 "" "" -- "$lumo" import a.json -o a2.lumo
cmp -s a.lumo a2.lumo || fail "import of an export differs"
head -c 3536 /dev/urandom >r.lumo
expect 0 "" "" -- "$lumo" export r.lumo -o r.json
expect 0 "" "" -- "$lumo" import r.json -o r2.lumo
cmp -s r.lumo r2.lumo || fail "random bytes: import of the export differs"
expect 0 "" "" -- "$lumo" export $'caf\xe9.lumo' -o $'caf\xe9.json'
expect 0 "" "" -- "$lumo" import $'caf\xe9.json' -o $'caf\xe9 2.lumo'
cmp -s $'caf\xe9.lumo' $'caf\xe9 2.lumo' || fail "names that are not UTF-8: import of the export differs"
ln -s a.lumo a-link.lumo
"$lumo" export a.lumo -o a-link.lumo 2>err.txt
[ $? -eq 2 ] && grep -q "OUT.json is FILE itself" err.txt || fail "export onto its own file through a link"
sed '0,/"SCENE1"/s//"LIVE"/' a.json >live.json
cp a.lumo live.lumo
expect 0 "" "" -- "$lumo" import live.json -o live.lumo
cmp -s a.lumo live.BAK || fail "import over a file: no backup"
expect 0 '^LIVE$' "" -- "$lumo" get live.lumo 1 Common SceneName
sed 's/"KonbCCNumber": \[20, 21, 22, 23\]/"KonbCCNumber": [20, 4294967296, 22, 23]/' a.json >big.json
expect 1 "" "lumo: big.json: scene 1, Konb-2, KonbCCNumber: 4294967296 is beyond 32 bits (-2147483648 .. 2147483647)" \
  -- "$lumo" import big.json -o new.lumo
head -c 100 a.json >broken.json
expect 1 "" "lumo: broken.json: line 7, column 8: unterminated string" -- "$lumo" import broken.json -o new.lumo
expect 1 "" "lumo: missing.json: No such file or directory." -- "$lumo" import missing.json -o new.lumo
[ ! -e new.lumo ] || fail "a refused import wrote a file"

# get and set: stored values; set saves with a backup and writes nothing for an equal value.
cp a.lumo s.lumo
expect 0 '^20$' "" -- "$lumo" get s.lumo 2 Konb-1 KonbCCNumber
expect 0 "" "" -- "$lumo" set s.lumo 2 Konb-1 KonbCCNumber 74
expect 1 '^scene 2, Konb-1, KonbCCNumber: 20 -> 74$' "" -- "$lumo" diff a.lumo s.lumo
[ "$(wc -l <out.txt)" -eq 1 ] || fail "set changed more than one value"
cmp -s a.lumo s.BAK || fail "set: no backup"
expect 0 "" "" -- "$lumo" set s.lumo 2 konb-1 konbccnumber 74
cmp -s a.lumo s.BAK || fail "set of an equal value replaced the backup"
expect 0 '^9$' "" -- "$lumo" get s.lumo 4 Pad-3 PadMIDICh
expect 0 "" "lumo: warning: -1 is outside the editor's range 0 .. 127 of PadONValue; stored as given" \
  -- "$lumo" set s.lumo 4 "Trigger Pad-3" PadONValue -1
expect 0 '^-1$' "" -- "$lumo" get s.lumo 4 pad-3 PadONValue
expect 0 "" "" -- "$lumo" set s.lumo 3 Common SceneName ab
expect 0 '^ab$' "" -- "$lumo" get s.lumo 3 Common SceneName
expect 1 "" "lumo: File not found." -- "$lumo" set missing.lumo 1 Common BendSpeed 1
cp s.lumo s-before.lumo
for args in "export s.lumo -o ./s.lumo" "set s.lumo 5 Common BendSpeed 1" "set s.lumo 1 Knob-1 KonbCCNumber 1" "set s.lumo 1 Konb-1 PadCCNumber 1" \
            "set s.lumo 1 Common BendSpeed x" "set s.lumo 1 Common BendSpeed 2147483648" "set s.lumo 1 Common BendSpeed"; do
  # shellcheck disable=SC2086
  "$lumo" $args >/dev/null 2>err.txt
  status=$?
  [ "$status" -eq 2 ] || fail "lumo $args: exit $status, wanted 2"
  grep -q '^lumo: ' err.txt || fail "lumo $args: no 'lumo: ' error"
done
cmp -s s.lumo s-before.lumo || fail "a refused command changed the file"
"$lumo" get s.lumo 1 Knob-1 KonbCCNumber 2>err.txt
grep -q 'the controls are Common, Group Common-1 .. Group Common-4, Konb-1 .. Konb-4, .*Key-1 .. Key-25' err.txt \
  || fail "get: valid controls not listed"
"$lumo" get s.lumo 1 Slider-2 KonbCCNumber 2>err.txt
grep -q "^lumo: Slider-2 has no field 'KonbCCNumber'; its fields are SliderEnable, SliderCCNumber, SliderURValue, SliderLLValue$" \
  err.txt || fail "get: valid fields not listed"

# An export is no scene file: set, import -o and defaults -o leave it, show/get/diff/check say so.
cp a.json keep.json
text_form="lumo: keep.json: this is the JSON text form of a scene file; 'lumo import keep.json -o FILE' turns it back into one"
expect 1 "" "$text_form" -- "$lumo" set keep.json 1 Konb-1 KonbCCNumber 31
expect 1 "" "lumo: keep.json holds JSON text; no scene file is saved over it" -- "$lumo" import a.json -o keep.json
expect 1 "" "lumo: keep.json holds JSON text; no scene file is saved over it" -- "$lumo" defaults -o keep.json
for command in "show keep.json" "get keep.json 1 Common BendSpeed" "diff a.lumo keep.json" "check keep.json"; do
  # shellcheck disable=SC2086
  "$lumo" $command >/dev/null 2>err.txt
  [ $? -eq 1 ] && grep -q "JSON text form of a scene file; 'lumo import keep.json" err.txt || fail "lumo $command on JSON text"
done
cmp -s a.json keep.json && [ ! -e keep.BAK ] || fail "a JSON text was replaced or backed up"

# Parameter files, imports and images are regular files, read at once; one over 1 MiB is refused.
mkdir odd && cd odd || exit 1
cp ../NotePara.ini . && mkfifo DefPara.ini
expect 0 "" "lumo: Cannot open file \"$work/odd/DefPara.ini\". Not a regular file" -- timeout 5 "$lumo" defaults -o x.lumo
rm DefPara.ini && head -c $((1024 * 1024 + 1)) /dev/zero | tr '\0' 'x' >DefPara.ini
expect 0 "" "lumo: Cannot open file \"$work/odd/DefPara.ini\". Larger than 1 MiB" -- "$lumo" defaults -o x.lumo
mkfifo in.json
expect 1 "" "lumo: in.json: Not a regular file." -- timeout 5 "$lumo" import in.json -o y.lumo
expect 1 "" "lumo: in.json: Not a regular file." -- timeout 5 "$lumo" unpack in.json --onto x.lumo -o y.lumo
cd .. || exit 1

# Output that cannot be written fails the command; --version; usage on standard error.
# The full device (1,7) of our own, where we may make one.
if mknod full c 1 7 2>/dev/null; then
  "$lumo" show a.lumo >full 2>err.txt
  [ $? -eq 1 ] && [ "$(cat err.txt)" = "lumo: standard output: No space left on device" ] || fail "show >full: '$(cat err.txt)'"
fi
"$lumo" show a.lumo >&- 2>err.txt
[ $? -eq 1 ] && [ "$(cat err.txt)" = "lumo: standard output: Bad file descriptor" ] || fail "show >&-: '$(cat err.txt)'"
# As 'show | head' once head has gone, with SIGPIPE ignored: a pipe whose reader is closed.
mkfifo pipe.fifo
bash -c 'trap "" PIPE; exec 3<>pipe.fifo 4>pipe.fifo 3<&-; exec "$0" show a.lumo >&4' "$lumo" 2>err.txt
status=$?
[ "$status" -eq 1 ] && [ "$(cat err.txt)" = "lumo: standard output: Broken pipe" ] || fail "show | head: exit $status, '$(cat err.txt)'"
expect 0 '^lumo [0-9]+\.[0-9]+\.[0-9]+$' "" -- "$lumo" --version
"$lumo" >out.txt 2>err.txt
[ $? -eq 2 ] && [ ! -s out.txt ] && grep -q '^usage: lumo \[--verbose\] COMMAND' err.txt || fail "lumo without arguments: usage not on standard error"
mkfifo out.fifo
expect 1 "" "lumo: out.fifo: OUT.json must be a regular file; '-o -' writes to standard output" -- timeout 5 "$lumo" export a.lumo -o out.fifo
expect 0 '^      "KonbCCNumber": \[20, 21, 22, 23\],$' "" -- "$lumo" export a.lumo -o -
cmp -s out.txt a.json || fail "export -o - differs from the file"

# One parser for every command: an option given twice or unknown is wrong usage, with the usage
# of that command; "--output=FILE" and "--" work everywhere.
for args in "show a.lumo --json --json" "export a.lumo -o x.json --output y.json" "import a.json -o x.lumo -o y.lumo" \
            "check --json a.lumo" "diff a.lumo a.lumo --controller --controller" "render a.lumo -o x.png --all --all"; do
  # shellcheck disable=SC2086
  "$lumo" $args >out.txt 2>err.txt
  status=$?
  command=${args%% *}
  [ "$status" -eq 2 ] && grep -q "^usage: lumo $command " err.txt && [ ! -s out.txt ] || fail "lumo $args: exit $status, '$(head -1 err.txt)'"
done
expect 0 "" "" -- "$lumo" export a.lumo --output=eq.json
cmp -s eq.json a.json || fail "--output=FILE"
expect 0 "" "" -- "$lumo" set s.lumo 3 Common SceneName -- -AB-
expect 0 '^-AB-$' "" -- "$lumo" get s.lumo 3 Common SceneName

# Only JSON: raw control characters, unknown escapes and numbers JSON does not have.
for case in 's/"SCENE1"/"SC\tE"/|line 5, column 23: a control character in a text must be written as \u0009' \
            's/"SCENE1"/"SC\\x41"/|line 5, column 23: "\x" is no JSON escape' \
            's/"BendSpeed": 1,/"BendSpeed": 1.,/|line 8, column 20: "1." is no JSON number'; do
  sed "${case%%|*}" a.json >strict.json
  expect 1 "" "lumo: strict.json: ${case#*|}" -- "$lumo" import strict.json -o strict.lumo
done
[ ! -e strict.lumo ] || fail "a text that is no JSON was imported"

# copy-scene: all 884 bytes of a scene (stale name bytes too), within one file or through a link,
# saved with a backup; an unchanged target is not written.
cp a.lumo c.lumo
"$lumo" set c.lumo 1 Common SceneName AB 2>/dev/null
cp c.lumo c-before.lumo
expect 0 "" "" -- "$lumo" copy-scene c.lumo 1 c.lumo 3
cmp -s <(head -c 884 c.lumo) <(tail -c +1769 c.lumo | head -c 884) || fail "copy-scene: scene 3 is not scene 1"
cmp -s <(head -c 1768 c.lumo) <(head -c 1768 c-before.lumo) || fail "copy-scene changed other scenes"
cmp -s c-before.lumo c.BAK || fail "copy-scene: no backup"
cp c.lumo c-after.lumo
expect 0 "" "" -- "$lumo" copy-scene c.lumo 3 c.lumo 1
cmp -s c-before.lumo c.BAK || fail "copy-scene of equal bytes wrote the file"
cp a.lumo d.lumo && ln -s d.lumo d-link.lumo
expect 0 "" "" -- "$lumo" copy-scene c.lumo 1 d-link.lumo 4
[ -L d-link.lumo ] || fail "copy-scene replaced the link"
cmp -s <(head -c 884 c.lumo) <(tail -c 884 d.lumo) || fail "copy-scene through a link"
"$lumo" copy-scene c.lumo 1 d.lumo 5 2>err.txt; [ $? -eq 2 ] || fail "copy-scene to scene 5: not a usage error"
[ "$(head -1 err.txt)" = "lumo: TO must be 1, 2, 3 or 4, not '5'" ] || fail "copy-scene to scene 5: '$(head -1 err.txt)'"
expect 1 "" "lumo: missing.lumo: File not found." -- "$lumo" copy-scene missing.lumo 1 d.lumo 2

# render: without a display, the picture by the output's extension, the PDF a page per scene.
# A desktop session has a runtime folder; without one Qt's GUI start-up says so on stderr.
mkdir -m 700 runtime && export XDG_RUNTIME_DIR="$work/runtime"
(unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM; "$lumo" render a.lumo -o pic.png --scene 2 --mode 0 2>err.txt) \
  || fail "render png: $(cat err.txt)"
file pic.png | grep -q 'PNG image data, 713 x 306' || fail "render png: $(file pic.png)"
expect 0 "" "" -- "$lumo" render a.lumo -o sheet.pdf --all
[ "$(head -c 5 sheet.pdf)" = "%PDF-" ] || fail "render pdf: not a PDF"
for args in "a.lumo -o pic.jpg" "a.lumo -o pic.png --all" "a.lumo -o pic.png --mode 8" "a.lumo -o s.pdf --scene 1 --all" "a.lumo"; do
  "$lumo" render $args >/dev/null 2>err.txt; status=$?
  [ "$status" -eq 2 ] || fail "lumo render $args: exit $status, wanted 2"
done
expect 1 "" "lumo: missing.lumo: File not found." -- "$lumo" render missing.lumo -o x.png
[ ! -e x.png ] || fail "render of a missing file wrote a picture"

# Logs: none by default (every expect above wants its standard error exact); --verbose and
# QT_LOGGING_RULES turn them on without changing the command's own messages.
"$lumo" --verbose defaults -o logged.lumo 2>err.txt
grep -q '^lumo.file: parameter file ".*/DefPara.ini"$' err.txt || fail "--verbose: no parameter file logged"
"$lumo" --verbose show missing.lumo >/dev/null 2>err.txt
grep -q '^lumo.file: open "missing.lumo" failed: "File not found."$' err.txt || fail "--verbose: no failed open logged"
[ "$(tail -1 err.txt)" = "lumo: File not found." ] || fail "--verbose: the error message changed"
QT_LOGGING_RULES="lumo.file.debug=true" "$lumo" defaults -o logged.lumo 2>err.txt
grep -q '^lumo.file: saved 3536 bytes to "logged.lumo"' err.txt || fail "QT_LOGGING_RULES: no save logged"
grep -q '^lumo.app' err.txt && fail "QT_LOGGING_RULES: a category not asked for logged"

if [ "$failures" -ne 0 ]; then echo "$failures failure(s)"; exit 1; fi
echo "all lumo checks passed"
