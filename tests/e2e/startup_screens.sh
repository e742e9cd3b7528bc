# The start Interface: chosen by the screen's width, centred with its caption, or full-screen
# without one when a side matches the screen.
source "$(dirname "$0")/lib.sh"

mkdir -p show/interfaces
cat >show/project.json <<'JSON'
{
  "format": 1,
  "start": { "interface": "Main", "interface1024": "Big", "caption": "Tour", "frameStyle": 2 },
  "interfaces": [ "interfaces/main.json", "interfaces/big.json", "interfaces/tall.json" ]
}
JSON
for spec in "main Main 400 300 #FF0000" "big Big 1000 700 #00FF00" "tall Tall 300 600 #0000FF"; do
    read -r file name width height color <<<"$spec"
    cat >"show/interfaces/$file.json" <<JSON
{ "name": "$name", "attributes": { "CardWidth": $width, "CardHeight": $height, "BackColor": "$color" },
  "cards": [ { "elements": [] } ] }
JSON
done
e2e_build show show.db

red='#FF0000' green='#00FF00' blue='#0000FF' desktop='#008080' caption='#000080' border='#000000'

# 1024 wide: the 1024 name wins. The frame's corner is at ((1024-1000)/2, (768-700)/2).
e2e_play --trace --screen 1024x768 show.db <<<'screenshot big.png'
e2e_expect_output <<'LINES'
Parent : Opened( )
Parent : Closed( )
LINES
e2e_expect_pixel big.png 11 300 "$desktop"
e2e_expect_pixel big.png 12 300 "$border"
e2e_expect_pixel big.png 500 33 "$desktop"
e2e_expect_pixel big.png 500 34 "$border"
e2e_expect_pixel big.png 500 45 "$caption"
e2e_expect_pixel big.png 500 400 "$green"

# 1152 wide (no name of its own) and 800 wide (an empty name): the general start Interface.
e2e_play --screen 1152x864 show.db <<<'screenshot main.png'
e2e_expect_pixel main.png 375 432 "$desktop"
e2e_expect_pixel main.png 376 432 "$border"
e2e_expect_pixel main.png 576 432 "$red"
e2e_play --screen 800x600 show.db <<<'screenshot small.png'
e2e_expect_pixel small.png 199 300 "$desktop"
e2e_expect_pixel small.png 400 300 "$red"

# As high as the screen but narrower: full-screen, no frame and no caption bar.
e2e_start_record show.db 2 "Tour" Tall
e2e_play --screen 800x600 show.db <<<'screenshot tall.png'
e2e_expect_status 0
e2e_expect_pixel tall.png 400 0 "$blue"
e2e_expect_pixel tall.png 400 599 "$blue"

# `quit` closes the Interface window: the program ends and the rest of the script is not run.
e2e_play --trace --screen 800x600 show.db <<'SCRIPT'
quit
screenshot late.png
SCRIPT
e2e_expect_status 0
e2e_expect_output <<'LINES'
Parent : Opened( )
Parent : Closed( )
LINES
[[ ! -e late.png ]] || e2e_fail "commands after the window closed still ran"
e2e_done
