# The demo's control card on a 24-bit and an 8-bit screen, compared control by control with
# the kept pictures in images/. After a deliberate change of the look, look at the new
# screenshots and keep them: E2E_UPDATE_IMAGES=1 bash tests/e2e/demo_controls.sh
source "$(dirname "$0")/lib.sh"

kept=$E2E_SOURCE/tests/e2e/images
e2e_build "$E2E_SOURCE/demo" demo.db

# Screen rectangles (X Y WIDTH HEIGHT) of the card's Buttons, list and combo box and of the
# Background's three Buttons; the Card starts at (81, 99) on a 640x480 screen.
areas=(
    "97 171 111 21" "97 193 111 21" "97 215 111 21" "97 245 111 21" "97 267 111 21"
    "97 297 25 25" "137 297 71 25" "225 171 150 124" "393 171 150 22"
    "93 379 81 29" "281 379 81 29" "469 379 81 29"
)

for depth in 24 8; do
    # Back from the first Card wraps to the last, the control card; there choose Medium, clear
    # Sound, pick Banana, and the combo box's Green.
    e2e_play --screen "640x480x$depth" demo.db <<SCRIPT
wait 100
click 133 393
click 117 203
click 117 255
click 260 222
click 535 182
click 450 224
wait 50
screenshot card-$depth.png
SCRIPT
    [[ -f card-$depth.png ]] || e2e_fail "no screenshot at depth $depth"
    if [[ ${E2E_UPDATE_IMAGES-} == 1 ]]; then
        cp "card-$depth.png" "$kept/demo-controls-$depth.png"
        echo "$E2E_NAME: kept $kept/demo-controls-$depth.png"
        continue
    fi
    for area in "${areas[@]}"; do
        # shellcheck disable=SC2086
        if ! "$TAMBERLYNE" compare "$kept/demo-controls-$depth.png" "card-$depth.png" $area \
            --diff "diff-$depth.png" >"$E2E_TMP/.compare" 2>&1; then
            cat "$E2E_TMP/.compare" >&2
            cp "card-$depth.png" "diff-$depth.png" "${TMPDIR:-/tmp}/" 2>/dev/null || true
            e2e_fail "the $depth-bit screen differs from the kept picture in $area" \
                "(new screenshot and diff copied to ${TMPDIR:-/tmp})"
        fi
    done
done
e2e_done
