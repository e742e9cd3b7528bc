# Card navigation: wrapping, clamping, "CurrentCardChanged" and the shown Card, driven by
# rectangles on the Background whose mouse handlers call the navigation methods.
source "$(dirname "$0")/lib.sh"

e2e_project nav Main main.json
# One clickable rectangle per method along the bottom edge, 80 pixels each; each Card shows one
# coloured square at (100, 100).
button() { # ID X HANDLER-STATEMENT
    printf '{ "type": "Rectangle", "id": %s, "rect": [%s, 440, 70, 40], "attributes": { "MouseEvents": true },
      "script": [ "MouseUp ( ) {", "\\t%s", "}", "" ] }' "$1" "$2" "$3"
}
card() { # ID COLOUR
    printf '{ "elements": [ { "type": "Rectangle", "id": %s, "rect": [100, 100, 50, 50],
      "attributes": { "FillColor": "%s", "ShowFill": true, "ShowLine": false } } ] }' "$1" "$2"
}
cat >nav/main.json <<JSON
{ "name": "Main",
  "attributes": { "CardWidth": 640, "CardHeight": 480, "BackColor": "#FFFFFF" },
  "background": { "elements": [
    $(button 1 0 'Parent : PreviousCard( )'),
    $(button 2 80 'Parent : NextCard( )'),
    $(button 3 160 'Parent : FirstCard( )'),
    $(button 4 240 'Parent : LastCard( )'),
    $(button 5 320 'Parent : CurrentCard = 7'),
    $(button 6 400 'Parent : CurrentCard = 0')
  ] },
  "cards": [ $(card 20 '#FF0000'), $(card 21 '#00FF00'), $(card 22 '#0000FF') ] }
JSON
e2e_build nav nav.db

e2e_play --screen 640x480 --trace nav.db <<'SCRIPT'
screenshot card1.png
click 10 450
screenshot previous.png
click 90 450
screenshot next.png
click 250 450
click 170 450
click 330 450
click 410 450
click 170 450
SCRIPT
e2e_expect_status 0
e2e_expect_lines 'CurrentCardChanged' <<'LINES'
Parent : CurrentCardChanged( From = 1, To = 3 )
Parent : CurrentCardChanged( From = 3, To = 1 )
Parent : CurrentCardChanged( From = 1, To = 3 )
Parent : CurrentCardChanged( From = 3, To = 1 )
Parent : CurrentCardChanged( From = 1, To = 3 )
Parent : CurrentCardChanged( From = 3, To = 1 )
Parent : CurrentCardChanged( From = 1, To = 1 )
LINES
e2e_expect_pixel card1.png 120 120 '#FF0000'
e2e_expect_pixel previous.png 120 120 '#0000FF'
e2e_expect_pixel next.png 120 120 '#FF0000'
e2e_expect_pixel next.png 200 120 '#FFFFFF'
e2e_done
