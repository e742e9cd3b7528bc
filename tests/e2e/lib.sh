# Shared helpers of the end-to-end tests: source it, build databases with tamberlyne, play them
# with `tamber --headless`, then check the output lines, the exit status and screenshot pixels.
#
#   source "$(dirname "$0")/lib.sh"
#   e2e_build "$E2E_SOURCE/demo" "$E2E_TMP/demo.db"
#   e2e_play "$E2E_TMP/demo.db" <<'SCRIPT'
#   click 540 420
#   screenshot card2.png
#   SCRIPT
#   e2e_expect_output <<'LINES'
#   Button 3 : Clicked( )
#   LINES
#   e2e_expect_pixel card2.png 10 10 '#FFFFFF'
#   e2e_done
#
# ctest sets TAMBER and TAMBERLYNE; run by hand, the programs of ./build are used. Every test
# runs in its own temporary folder ($E2E_TMP, also the current folder), removed at the end.
set -euo pipefail

E2E_SOURCE=${TAMBER_SOURCE_DIR:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)}
E2E_BUILD=${TAMBER_BINARY_DIR:-$E2E_SOURCE/build}
TAMBER=${TAMBER:-$E2E_BUILD/programs/tamber/tamber}
TAMBERLYNE=${TAMBERLYNE:-$E2E_BUILD/tools/tamberlyne/tamberlyne}
E2E_NAME=$(basename "$0" .sh)
E2E_TMP=$(mktemp -d "${TMPDIR:-/tmp}/e2e-$E2E_NAME.XXXXXX")
E2E_OUT=$E2E_TMP/.stdout
E2E_ERR=$E2E_TMP/.stderr
E2E_STATUS=0
trap 'rm -rf "$E2E_TMP"' EXIT
cd "$E2E_TMP"

for program in "$TAMBER" "$TAMBERLYNE"; do
    [[ -x $program ]] || { echo "$E2E_NAME: $program is not built" >&2; exit 1; }
done

# Ends the test with a message on standard error.
e2e_fail() {
    echo "$E2E_NAME: FAIL: $*" >&2
    if [[ -s $E2E_OUT ]]; then echo "--- standard output:" >&2; cat "$E2E_OUT" >&2; fi
    if [[ -s $E2E_ERR ]]; then echo "--- standard error:" >&2; cat "$E2E_ERR" >&2; fi
    exit 1
}

e2e_done() {
    echo "$E2E_NAME: ok"
}

# e2e_build PROJECT_DIR OUT.db: builds a database from a project folder.
e2e_build() {
    "$TAMBERLYNE" build "$1" -o "$2" >"$E2E_TMP/.build.out" 2>&1 ||
        { cat "$E2E_TMP/.build.out" >&2; e2e_fail "tamberlyne build $1 failed"; }
}

# e2e_project DIR START FILE.json...: writes DIR/project.json listing the Interface files, with
# START as the start Interface (no caption, frame style 0).
e2e_project() {
    local dir=$1 start=$2 files
    shift 2
    files=$(printf '"%s", ' "$@")
    mkdir -p "$dir"
    printf '{ "format": 1, "start": { "interface": "%s", "caption": "", "frameStyle": 0 },\n  "interfaces": [ %s ] }\n' \
        "$start" "${files%, }" >"$dir/project.json"
}

# e2e_tamberlyne ARGS...: runs a tamberlyne verb that must succeed; its output goes to stdout.
e2e_tamberlyne() {
    "$TAMBERLYNE" "$@" 2>"$E2E_TMP/.tamberlyne.err" ||
        { cat "$E2E_TMP/.tamberlyne.err" >&2; e2e_fail "tamberlyne $* failed"; }
}

# e2e_start_record DB FRAME_STYLE CAPTION NAME [NAME800 NAME1024 NAME1280]: writes "MMStart" 0.
e2e_start_record() {
    local db=$1 style=$2 file=$E2E_TMP/.mmstart
    shift 2
    printf "\\$(printf %03o $((style & 255)))\\$(printf %03o $(((style >> 8) & 255)))" >"$file"
    local text i
    for i in 1 2 3 4 5; do
        text=${1-}
        (($# > 0)) && shift
        printf "\\$(printf %03o $((${#text} + 1)))%s\\000" "$text" >>"$file"
    done
    e2e_tamberlyne put "$db" MMStart 0 "$file" >/dev/null
}

# e2e_play ARGS... < SCRIPT: runs `tamber --headless --events -` with the arguments (options and
# database words) and the automation script on standard input. Keeps the output lines and the
# exit status for the checks below; never fails by itself. Without a script on standard input
# (a terminal), the script is empty.
e2e_play() {
    E2E_STATUS=0
    if [[ -t 0 ]]; then
        "$TAMBER" --headless --events - "$@" </dev/null >"$E2E_OUT" 2>"$E2E_ERR" || E2E_STATUS=$?
    else
        "$TAMBER" --headless --events - "$@" >"$E2E_OUT" 2>"$E2E_ERR" || E2E_STATUS=$?
    fi
}

# e2e_run PROGRAM ARGS...: like e2e_play for any program (a bundled player, tamber without
# --headless options); standard input is passed on.
e2e_run() {
    E2E_STATUS=0
    "$@" >"$E2E_OUT" 2>"$E2E_ERR" || E2E_STATUS=$?
}

# e2e_expect_output < LINES: standard output of the last run is exactly these lines.
e2e_expect_output() {
    local expected=$E2E_TMP/.expected
    cat >"$expected"
    diff -u "$expected" "$E2E_OUT" >"$E2E_TMP/.diff" ||
        { cat "$E2E_TMP/.diff" >&2; e2e_fail "standard output differs (- expected, + actual)"; }
}

# e2e_expect_line LINE: the last run printed this exact line.
e2e_expect_line() {
    grep -qxF -- "$1" "$E2E_OUT" || e2e_fail "no line: $1"
}

# e2e_expect_no_line LINE: the last run did not print this exact line.
e2e_expect_no_line() {
    ! grep -qxF -- "$1" "$E2E_OUT" || e2e_fail "unexpected line: $1"
}

# e2e_expect_lines REGEX < LINES: the lines of the last run's output that match REGEX (grep -E)
# are exactly these.
e2e_expect_lines() {
    local expected=$E2E_TMP/.expected
    cat >"$expected"
    grep -E -- "$1" "$E2E_OUT" >"$E2E_TMP/.matched" || true
    diff -u "$expected" "$E2E_TMP/.matched" >"$E2E_TMP/.diff" ||
        { cat "$E2E_TMP/.diff" >&2; e2e_fail "output lines matching $1 differ (- expected, + actual)"; }
}

# e2e_expect_error TEXT: standard error of the last run contains TEXT.
e2e_expect_error() {
    grep -qF -- "$1" "$E2E_ERR" || e2e_fail "standard error lacks: $1"
}

# e2e_expect_status N: the last run's exit status.
e2e_expect_status() {
    [[ $E2E_STATUS == "$1" ]] || e2e_fail "exit status $E2E_STATUS, expected $1"
}

# e2e_pixel FILE.png X Y: prints the pixel's colour as #RRGGBB.
e2e_pixel() {
    e2e_tamberlyne pixel "$@"
}

# e2e_expect_pixel FILE.png X Y '#RRGGBB'
e2e_expect_pixel() {
    [[ -f $1 ]] || e2e_fail "no screenshot $1"
    local actual
    actual=$(e2e_pixel "$1" "$2" "$3")
    [[ ${actual^^} == "${4^^}" ]] || e2e_fail "pixel ($2, $3) of $1 is $actual, expected $4"
}

# e2e_solid_bmp R G B FILE: a 24-bit BMP file of 8 x 8 pixels of one colour (three decimal bytes):
# the 14-byte file header (246 bytes, pixels at 54), the 40-byte information header, 192 bytes
# of rows.
e2e_solid_bmp() {
    local pixel i
    pixel="\\x$(printf %02x "$3")\\x$(printf %02x "$2")\\x$(printf %02x "$1")"
    {
        printf 'BM\xf6\x00\x00\x00\x00\x00\x00\x00\x36\x00\x00\x00'
        printf '\x28\x00\x00\x00\x08\x00\x00\x00\x08\x00\x00\x00\x01\x00\x18\x00'
        printf '\x00\x00\x00\x00\xc0\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00'
        printf '\x00\x00\x00\x00\x00\x00\x00\x00'
        for ((i = 0; i < 64; ++i)); do
            printf "$pixel"
        done
    } >"$4"
}
