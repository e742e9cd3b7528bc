# Mouse dispatch: hit testing with element-relative coordinates, "MouseEvents" false swallowing
# clicks, and the enter / leave / within order.
source "$(dirname "$0")/lib.sh"

e2e_project mouse Main main.json
cat >mouse/main.json <<'JSON'
{ "name": "Main",
  "attributes": { "CardWidth": 640, "CardHeight": 480, "MouseEvents": true },
  "background": { "elements": [
    { "type": "Rectangle", "id": 1, "rect": [100, 100, 100, 100], "attributes": { "MouseEvents": true } } ] },
  "cards": [ { "elements": [
    { "type": "Rectangle", "id": 2, "rect": [150, 150, 100, 100], "attributes": { "MouseEvents": true } },
    { "type": "Rectangle", "id": 3, "rect": [400, 100, 100, 100], "attributes": { "MouseEvents": false } } ] } ] }
JSON
e2e_build mouse mouse.db

e2e_play --screen 640x480 --trace mouse.db <<'SCRIPT'
move 20 30
move 110 120
move 160 170
click 160 170
move 420 130
click 420 130
move 600 400
SCRIPT
e2e_expect_status 0
# Card elements come before the Background's: (160, 170) is on Rectangle 2.
e2e_expect_lines 'Mouse' <<'LINES'
Parent : MouseWithin( X = 20, Y = 30 )
Parent : MouseLeave( X = 110, Y = 120 )
Rectangle 1 : MouseEnter( X = 10, Y = 20 )
Rectangle 1 : MouseWithin( X = 10, Y = 20 )
Rectangle 1 : MouseLeave( X = 60, Y = 70 )
Rectangle 2 : MouseEnter( X = 10, Y = 20 )
Rectangle 2 : MouseWithin( X = 10, Y = 20 )
Rectangle 2 : MouseDown( X = 10, Y = 20 )
Rectangle 2 : MouseUp( X = 10, Y = 20 )
Rectangle 2 : MouseLeave( X = 270, Y = -20 )
Parent : MouseEnter( X = 600, Y = 400 )
Parent : MouseWithin( X = 600, Y = 400 )
LINES
e2e_done
