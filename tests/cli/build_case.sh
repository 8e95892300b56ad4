#!/bin/sh
# Runs one `glyphkit-cli build` case in a scratch folder and prints what the
# tool printed, then "status N", then "file N bytes" or "no file".
#   build_case.sh CASE TOOL...   (TOOL: the console tool, run under Wine)
set -u
case_name=$1
shift
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
out="$dir/out.kfd"
gothic="IPAゴシック"
# The first n kanji from U+4E00 on that code page 932 can express.
kanji() {
    python3 -c "import sys; sys.stdout.write(''.join(c for c in map(chr, range(0x4E00, 0x9FA0)) if len(c.encode('cp932', 'ignore')) == 2)[:$1])"
}
case $case_name in
    # "ABC": 3 records and 3 glyphs of 41 x 30 dots (6 x 30 = 180 bytes each).
    abc) "$@" build --face "$gothic" --size 10 --name X --text ABC --out "$out" 2>&1 ;;
    no_name) "$@" build --face "$gothic" --size 10 --name "" --text A --out "$out" 2>&1 ;;
    # 33 bytes in code page 932, and characters it cannot hold: refused as the form refuses them.
    name_of_33_bytes) "$@" build --face "$gothic" --size 10 --name "Aああああああああああああああああ" --text A --out "$out" 2>&1 ;;
    name_outside_code_page) "$@" build --face "$gothic" --size 10 --name "한글" --text A --out "$out" 2>&1 ;;
    name_with_tab) "$@" build --face "$gothic" --size 10 --name "$(printf 'A\tB')" --text A --out "$out" 2>&1 ;;
    name_with_escape) "$@" build --face "$gothic" --size 10 --name "$(printf 'A\033')" --text A --out "$out" 2>&1 ;;
    # Only a plain number is an ID; the port is never opened for another.
    id_with_sign) "$@" build --face "$gothic" --size 10 --name X --text A --out "$out" >/dev/null &&
        "$@" download "$out" --id +7 --port 20 2>&1 ;;
    end_below_start) "$@" build --face "$gothic" --size 10 --name X --range 100-98 --out "$out" 2>&1 ;;
    nothing) "$@" build --face "$gothic" --size 10 --name X --out "$out" 2>&1 ;;
    # Line breaks only pass the emptiness check and give no characters.
    line_breaks) "$@" build --face "$gothic" --size 10 --name X --text "$(printf '\r\n\r\n')" --out "$out" 2>&1 ;;
    # 4950 kanji that code page 932 has, plus one-byte codes from the range.
    five_thousand) "$@" build --face "$gothic" --size 10 --name X --text "$(kanji 4950)" \
        --range 33-82 --out "$out" 2>&1 ;;
    too_many) "$@" build --face "$gothic" --size 10 --name X --text "$(kanji 4950)" \
        --range 33-83 --out "$out" 2>&1 ;;
    # What show says the saved registration takes of the printer's memory.
    memory) "$@" build --face "$gothic" --size 10 --name X --text "$(kanji 100)" --out "$out" \
        >/dev/null && "$@" show "$out" 2>&1 | grep '^memory=' ;;
    *) echo "unknown case $case_name"; exit 2 ;;
esac
echo "status $?"
if [ -e "$out" ]; then echo "file $(wc -c <"$out") bytes"; else echo "no file"; fi
