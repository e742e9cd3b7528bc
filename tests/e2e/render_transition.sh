# tamberlyne render-transition: the frames of a wipe over the demo's logo, and the last frame
# of every effect is the picture that render-bmp shows.
source "$(dirname "$0")/lib.sh"

logo=$E2E_SOURCE/demo/media/logo.bmp
e2e_tamberlyne render-bmp "$logo" logo.png
e2e_run "$TAMBERLYNE" render-transition "$logo" "Left to Right Wipe" wipe
e2e_expect_status 0
e2e_expect_line 'wrote 4 frames of "Left to Right Wipe" to wipe (48x32, 4 steps, 24-bit screen)'
# The logo is 48 wide: strips at 0, 16 and 32, then the final copy.
[[ $(e2e_pixel wipe/frame-000.png 20 16) == "#000000" ]] || e2e_fail "the second strip shows too early"
[[ $(e2e_pixel wipe/frame-001.png 20 16) == "$(e2e_pixel logo.png 20 16)" ]] ||
    e2e_fail "the second strip is not the logo"
for effect in $(seq 0 22); do
    e2e_tamberlyne render-transition "$logo" "$effect" "effect$effect" --frames 3
    last=$(ls "effect$effect" | sort | tail -n 1)
    "$TAMBERLYNE" compare "effect$effect/$last" logo.png >/dev/null ||
        e2e_fail "effect $effect does not end with the picture"
done
e2e_done
