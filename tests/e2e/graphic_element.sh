# A Graphic element stretching an 8 x 8 picture ten times over, with an area hot link, a hot link
# on a canvas rectangle and an animation that moves the rectangle: what clicks raise before and
# after the animation, and what the screen shows.
source "$(dirname "$0")/lib.sh"

mkdir -p project/interfaces project/media
e2e_solid_bmp 255 255 0 project/media/map.bmp
# Two links: link 7 is the area (6, 0) 2 x 2, link 9 the canvas object 3.
{
    printf '\x02\x00\x00\x00'
    printf '\x00\x06\x00\x00\x00\x00\x00\x00\x00\x02\x00\x00\x00\x02\x00\x00\x00\x07\x00\x00\x00'
    printf '\x01\x03\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x09\x00\x00\x00'
} >project/media/map.hots
printf '\x01\x00\x00\x00' >project/media/map.mode
printf 'CANVAS (8 8) { OBJECT { RECT 3 { ForeColor 0xFF0000 FillColor 0xFF0000 (0 4 3 7) } }
 EVENTGROUP { EVENT "Slide" TRUE { MOVE (3 (4 0)) } } }\0' >project/media/map.objs
cat >project/project.json <<'JSON'
{
  "format": 1,
  "start": { "interface": "Main", "caption": "Graphic", "frameStyle": 0 },
  "media": [ { "name": "Map", "file": "media/map.bmp", "hots": "media/map.hots", "mode": "media/map.mode",
               "parts": [ { "tag": "Objs", "file": "media/map.objs" } ] } ],
  "interfaces": [ "interfaces/main.json" ]
}
JSON
cat >project/interfaces/main.json <<'JSON'
{
  "name": "Main",
  "attributes": { "CardWidth": 400, "CardHeight": 300 },
  "cards": [
    { "elements": [
      { "type": "Graphic", "id": 1, "name": "Map", "rect": [0, 0, 79, 79],
        "attributes": { "Media": "Map", "Display": "Stretch" } },
      { "type": "Button", "id": 2, "name": "Go", "rect": [200, 0, 80, 20],
        "script": [ "Clicked ( ) {", "\tGraphic \"Map\" : Animate( \"slide\" )", "}", "" ] }
    ] }
  ]
}
JSON
e2e_build project graphic.db

e2e_play --trace --screen 400x300 graphic.db <<'SCRIPT'
screenshot before.png
move 30 30
move 65 5
move 70 5
click 65 5
click 10 50
click 210 10
screenshot after.png
click 10 50
move 150 150
move 50 50
click 50 50
SCRIPT
e2e_expect_status 0
e2e_expect_pixel before.png 5 5 '#FFFF00'
e2e_expect_pixel before.png 15 55 '#0000FF'
e2e_expect_pixel before.png 55 55 '#FFFF00'
e2e_expect_pixel after.png 15 55 '#FFFF00'
e2e_expect_pixel after.png 55 55 '#0000FF'
# Coming onto the area link announces it once; the picture positions are the view's divided by
# ten. A click without a move announces nothing; leaving the view does, for the next link reached.
# After the animation the rectangle stands four pixels further right.
e2e_expect_output <<'LINES'
Parent : Opened( )
Graphic 1 : OverHotLink( Name = "" )
Graphic 1 : HotLinkClicked( Name = "", X = 6, Y = 0 )
Graphic 1 : HotLinkClicked( Name = "", X = 1, Y = 5 )
Button 2 : Clicked( )
Graphic 1 : AnimationEnded( )
Method Called ->> Animate
Graphic 1 : OverHotLink( Name = "" )
Graphic 1 : HotLinkClicked( Name = "", X = 5, Y = 5 )
Parent : Closed( )
LINES
e2e_done
