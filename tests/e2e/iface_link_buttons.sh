# The link buttons of a child Interface: the Button named by "Button : Next Card" is disabled on
# the child's last Card (its clicks then do nothing) and enabled again elsewhere, although
# "NextCard" itself wraps.
source "$(dirname "$0")/lib.sh"

e2e_project links Main main.json pages.json
cat >links/pages.json <<'JSON'
{ "name": "Pages", "attributes": { "CardWidth": 200, "CardHeight": 150 },
  "cards": [ { "elements": [] }, { "elements": [] }, { "elements": [] } ] }
JSON
cat >links/main.json <<'JSON'
{ "name": "Main",
  "attributes": { "CardWidth": 640, "CardHeight": 480 },
  "cards": [ { "elements": [
    { "type": "Interface", "id": 9, "rect": [20, 20, 200, 150],
      "attributes": { "Media": "Pages", "Button : Next Card": 31, "Button : Previous Card": 32 } },
    { "type": "Button", "id": 31, "name": "Next", "rect": [300, 400, 80, 30],
      "script": [ "Clicked ( ) {", "\tInterface 9 : NextCard( )", "}", "" ] },
    { "type": "Button", "id": 32, "name": "Previous", "rect": [400, 400, 80, 30],
      "script": [ "Clicked ( ) {", "\tInterface 9 : PreviousCard( )", "}", "" ] } ] } ] }
JSON
e2e_build links links.db

e2e_play --screen 640x480 --trace links.db <<'SCRIPT'
click 340 415
click 340 415
click 340 415
click 440 415
click 340 415
SCRIPT
e2e_expect_status 0
# Each change of the child runs in its own script, then posted in the element's.
e2e_expect_lines 'Clicked|CurrentCardChanged' <<'LINES'
Button 31 : Clicked( )
Interface 9 : CurrentCardChanged( From = 1, To = 2 )
Interface 9 : CurrentCardChanged( From = 1, To = 2 )
Button 31 : Clicked( )
Interface 9 : CurrentCardChanged( From = 2, To = 3 )
Interface 9 : CurrentCardChanged( From = 2, To = 3 )
Button 32 : Clicked( )
Interface 9 : CurrentCardChanged( From = 3, To = 2 )
Interface 9 : CurrentCardChanged( From = 3, To = 2 )
Button 31 : Clicked( )
Interface 9 : CurrentCardChanged( From = 2, To = 3 )
Interface 9 : CurrentCardChanged( From = 2, To = 3 )
LINES
e2e_done
