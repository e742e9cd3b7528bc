# Scripts on the Background reach the current Card's elements ("Rectangle "Mark" :" is the one
# of the Card shown) and open a modal floating child Interface of their own layer by name. A modal child's window is
# made afresh, and its Interface loaded again, on every "Open": its user event and its handlers
# must still be there exactly once.
source "$(dirname "$0")/lib.sh"

mkdir proj
cat >proj/project.json <<'JSON'
{ "format": 1, "start": { "interface": "Main", "caption": "", "frameStyle": 0 },
  "interfaces": [ "main.json", "panel.json" ] }
JSON
cat >proj/panel.json <<'JSON'
{ "name": "Panel", "attributes": { "CardWidth": 160, "CardHeight": 120, "BackColor": "#FFFF00" },
  "userEvents": [ { "name": "Ping", "params": [ { "type": "Long", "name": "Count" } ] } ],
  "script": [ "Opened ( ) {", "\tA = A + 1", "\tMessageBox( \"Opened \" + A, \"Panel\", 0, 0 )", "}",
    "Ping ( ) {", "\tMessageBox( \"Ping \" + Count, \"Panel\", 0, 0 )", "}",
    "Closed ( ) {", "\tMessageBox( \"Closed\", \"Panel\", 0, 0 )", "}", "" ],
  "cards": [ { "elements": [
    { "type": "Rectangle", "id": 1, "rect": [0, 0, 40, 40], "attributes": { "MouseEvents": true },
      "script": [ "MouseUp ( ) {", "\tParent : Close( )", "}", "" ] } ] } ] }
JSON
cat >proj/main.json <<'JSON'
{ "name": "Main", "attributes": { "CardWidth": 640, "CardHeight": 480, "BackColor": "#FFFFFF" },
  "background": { "elements": [
    { "type": "Rectangle", "id": 1, "rect": [0, 440, 80, 40], "attributes": { "MouseEvents": true },
      "script": [ "MouseUp ( ) {", "\tRectangle \"Mark\" : Hide( )", "\tBackground Interface \"Panel\" : Open( )",
        "\tBackground Interface \"Panel\" : Ping( A )", "}", "" ] },
    { "type": "Rectangle", "id": 2, "rect": [80, 440, 80, 40], "attributes": { "MouseEvents": true },
      "script": [ "MouseUp ( ) {", "\tParent : LoadCard( 2 )", "\tParent : NextCard( )", "}", "" ] },
    { "type": "Interface", "id": 9, "name": "Panel", "rect": [300, 300, 10, 10],
      "attributes": { "Media": "Panel", "Display": "Floating", "Modal": true, "WinLeft": 100, "WinTop": 50 } } ] },
  "cards": [
    { "elements": [ { "type": "Rectangle", "id": 4, "name": "Mark", "rect": [200, 200, 40, 40],
        "attributes": { "ShowFill": true, "FillColor": "#FF0000" } } ] },
    { "elements": [ { "type": "Rectangle", "id": 5, "name": "Mark", "rect": [300, 200, 40, 40],
        "attributes": { "ShowFill": true, "FillColor": "#0000FF" } } ] } ] }
JSON
e2e_build proj main.db

e2e_play --screen 640x480 --trace main.db <<'SCRIPT'
screenshot start.png
click 10 450
screenshot first.png
click 110 60
click 90 450
screenshot second.png
click 10 450
screenshot third.png
SCRIPT
e2e_expect_status 0
# Each Card's "Mark" hides in turn; the panel shows at (100, 50) while open.
e2e_expect_pixel start.png 220 220 '#FF0000'
e2e_expect_pixel first.png 220 220 '#FFFFFF'
e2e_expect_pixel first.png 200 100 '#FFFF00'
e2e_expect_pixel second.png 200 100 '#FFFFFF'
e2e_expect_pixel second.png 320 220 '#0000FF'
e2e_expect_pixel third.png 320 220 '#FFFFFF'
e2e_expect_pixel third.png 200 100 '#FFFF00'
# The Panel's handlers run once per event in its own script, before the event is posted to the
# element in Main; "A" counts the openings. The user's closing of the windows ends the run.
e2e_expect_output <<'LINES'
Parent : Opened( )
Rectangle 1 : MouseDown( X = 10, Y = 10 )
Rectangle 1 : MouseUp( X = 10, Y = 10 )
Rectangle 4 : Hidden( )
Method Called ->> Hide
Interface 9 : Opened( )
MessageBox [Panel] Opened 1 -> OK
Method Called ->> Open
Interface 9 : Ping( Count = 1 )
MessageBox [Panel] Ping 1 -> OK
Interface 9 : Opened( )
Interface 9 : Ping( Count = 1 )
Rectangle 1 : MouseDown( X = 10, Y = 10 )
Rectangle 1 : MouseUp( X = 10, Y = 10 )
Interface 9 : Closed( )
MessageBox [Panel] Closed -> OK
Method Called ->> Close
Interface 9 : Closed( )
Rectangle 2 : MouseDown( X = 10, Y = 10 )
Rectangle 2 : MouseUp( X = 10, Y = 10 )
Method Called ->> LoadCard
Parent : CurrentCardChanged( From = 1, To = 2 )
Method Called ->> NextCard
Rectangle 1 : MouseDown( X = 10, Y = 10 )
Rectangle 1 : MouseUp( X = 10, Y = 10 )
Rectangle 5 : Hidden( )
Method Called ->> Hide
Interface 9 : Opened( )
MessageBox [Panel] Opened 2 -> OK
Method Called ->> Open
Interface 9 : Ping( Count = 2 )
MessageBox [Panel] Ping 2 -> OK
Interface 9 : Opened( )
Interface 9 : Ping( Count = 2 )
Interface 9 : Closed( )
MessageBox [Panel] Closed -> OK
Interface 9 : Closed( )
Parent : Closed( )
LINES
e2e_done
