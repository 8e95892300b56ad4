#!/bin/sh
# Makes one text file, hands it to `glyphkit-cli codes` and prints what the
# tool printed followed by "status N".
#   text_file_case.sh CASE TOOL...   (TOOL: the console tool, run under Wine)
set -u
case_name=$1
shift
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
file="$dir/text.txt"
unicode=""
case $case_name in
    of_56320_bytes_is_taken) head -c 56320 /dev/zero | tr '\000' 'a' >"$file" ;;
    of_56321_bytes_is_refused) head -c 56321 /dev/zero | tr '\000' 'a' >"$file" ;;
    # "BA" and hiragana A in UTF-16 little-endian.
    in_utf16) printf 'B\000A\000\102\060' >"$file"; unicode="--unicode" ;;
    # Hiragana A and half-width katakana A in Shift_JIS, then a line break.
    in_shift_jis) printf '\202\240\261\r\n' >"$file" ;;
    missing) file="$dir/none.txt" ;;
    *) echo "unknown case $case_name"; exit 2 ;;
esac
"$@" codes --face IPAゴシック --text-file "$file" $unicode 2>&1
echo "status $?"
