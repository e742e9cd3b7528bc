# A floating child Interface opened, closed and opened again from its parent's script: it shows
# at the parent's client origin plus "WinLeft"/"WinTop" and is hidden, not destroyed, by "Close".
source "$(dirname "$0")/lib.sh"

e2e_project child Main main.json panel.json
cat >child/panel.json <<'JSON'
{ "name": "Panel", "attributes": { "CardWidth": 160, "CardHeight": 120, "BackColor": "#FFFF00" },
  "cards": [ { "elements": [] } ] }
JSON
cat >child/main.json <<'JSON'
{ "name": "Main",
  "attributes": { "CardWidth": 640, "CardHeight": 480, "BackColor": "#FFFFFF" },
  "cards": [ { "elements": [
    { "type": "Rectangle", "id": 1, "rect": [0, 440, 80, 40], "attributes": { "MouseEvents": true },
      "script": [ "MouseUp ( ) {", "\tInterface 9 : Open( )", "}", "" ] },
    { "type": "Rectangle", "id": 2, "rect": [80, 440, 80, 40], "attributes": { "MouseEvents": true },
      "script": [ "MouseUp ( ) {", "\tInterface 9 : Close( )", "}", "" ] },
    { "type": "Interface", "id": 9, "rect": [300, 300, 10, 10],
      "attributes": { "Media": "Panel", "Display": "Floating", "WinLeft": 100, "WinTop": 50 } } ] } ] }
JSON
e2e_build child child.db

e2e_play --screen 640x480 --trace child.db <<'SCRIPT'
screenshot before.png
click 10 450
screenshot opened.png
click 90 450
screenshot closed.png
click 10 450
screenshot reopened.png
SCRIPT
e2e_expect_status 0
e2e_expect_pixel before.png 110 60 '#FFFFFF'
e2e_expect_pixel opened.png 110 60 '#FFFF00'
e2e_expect_pixel opened.png 259 169 '#FFFF00'
e2e_expect_pixel opened.png 260 170 '#FFFFFF'
e2e_expect_pixel closed.png 110 60 '#FFFFFF'
e2e_expect_pixel reopened.png 110 60 '#FFFF00'
# Each event of the child runs in the Panel's script, then (posted) in the element's script in
# Main; at the end the user's closing of the windows closes the child too.
e2e_expect_output <<'LINES'
Parent : Opened( )
Rectangle 1 : MouseDown( X = 10, Y = 10 )
Rectangle 1 : MouseUp( X = 10, Y = 10 )
Interface 9 : Opened( )
Method Called ->> Open
Interface 9 : Opened( )
Rectangle 2 : MouseDown( X = 10, Y = 10 )
Rectangle 2 : MouseUp( X = 10, Y = 10 )
Interface 9 : Closed( )
Method Called ->> Close
Interface 9 : Closed( )
Rectangle 1 : MouseDown( X = 10, Y = 10 )
Rectangle 1 : MouseUp( X = 10, Y = 10 )
Interface 9 : Opened( )
Method Called ->> Open
Interface 9 : Opened( )
Interface 9 : Closed( )
Interface 9 : Closed( )
Parent : Closed( )
LINES
e2e_done
