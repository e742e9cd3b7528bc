# Labels, shapes, pictures, an edit box paired with a list and a scroll bar, played headless:
# what they draw, and what typing and clicking raise.
source "$(dirname "$0")/lib.sh"

# e2e_region_has FILE.png X0 Y0 X1 Y1 '#RRGGBB': some pixel of the rectangle has the colour.
e2e_region_has() {
    local file=$1 x0=$2 y0=$3 x1=$4 y1=$5 color=${6^^} x y
    local points=()
    for ((y = y0; y < y1; ++y)); do
        for ((x = x0; x < x1; ++x)); do
            points+=("$x" "$y")
        done
    done
    local colors
    colors=$(e2e_pixel "$file" "${points[@]}")
    grep -qxF "$color" <<<"$colors" || e2e_fail "no $color pixel in ($x0, $y0)-($x1, $y1) of $file"
}

mkdir -p show/interfaces show/media
e2e_solid_bmp 255 255 0 show/media/yellow.bmp
e2e_project show Elements interfaces/elements.json
cat >show/interfaces/elements.json <<'JSON'
{
  "name": "Elements",
  "attributes": { "CardWidth": 640, "CardHeight": 480, "BackColor": "#FFFFFF" },
  "cards": [ { "elements": [
    { "type": "Rectangle", "id": 1, "name": "Box", "rect": [20, 20, 100, 60],
      "attributes": { "ShowFill": true, "FillColor": "#FF0000", "LineColor": "#0000FF" } },
    { "type": "Rectangle", "id": 2, "name": "Nothing", "rect": [140, 20, 60, 60],
      "attributes": { "ShowLine": false, "ShowFill": false } },
    { "type": "Line", "id": 3, "name": "Rule", "rect": [220, 20, 5, 100], "attributes": { "LineColor": "#00FF00" } },
    { "type": "Picture", "id": 4, "name": "Pic", "rect": [260, 20, 0, 0], "attributes": { "Bitmap": "../media/yellow.bmp" } },
    { "type": "String", "id": 5, "name": "Label", "rect": [20, 100, 180, 40],
      "attributes": { "Text": "HHHH", "TextSize": 24, "TextStyle": "Bold", "ShadowXOffset": 3, "ShadowYOffset": 3,
                      "ShadowColor": "#FF00FF" } },
    { "type": "ListBox", "id": 6, "name": "Fruit", "rect": [20, 160, 150, 80], "items": [ "Apple", "apricot", "Banana" ] },
    { "type": "EditBox", "id": 7, "name": "Word", "rect": [200, 160, 150, 25],
      "attributes": { "ListBox : Word Select": "Fruit" } },
    { "type": "ScrollBar", "id": 8, "name": "Bar", "rect": [20, 260, 200, 16], "attributes": { "Max": 10 } }
  ] } ]
}
JSON
e2e_build show show.db

e2e_play --trace --screen 640x480 show.db <<'SCRIPT'
screenshot shown.png
click 275 172
type b
screenshot typed.png
key Backspace
type x
screenshot cleared.png
click 219 268
click 219 268
screenshot scrolled.png
SCRIPT
e2e_expect_status 0
# Typing looks each text up in the list: b is Banana (3), the empty text the first item, x nothing.
e2e_expect_output <<'LINES'
Parent : Opened( )
EditBox 7 : GotFocus( )
ListBox 6 : SelectionChanged( SelectedNum = 3 )
EditBox 7 : Changed( Text = "b" )
ListBox 6 : SelectionChanged( SelectedNum = 1 )
EditBox 7 : Changed( Text = "" )
ListBox 6 : SelectionChanged( SelectedNum = 0 )
EditBox 7 : Changed( Text = "x" )
EditBox 7 : LostFocus( )
ScrollBar 8 : PositionChanged( Position = 1 )
ScrollBar 8 : PositionChanged( Position = 2 )
Parent : Closed( )
LINES

white='#FFFFFF' red='#FF0000' blue='#0000FF' green='#00FF00' yellow='#FFFF00'
# The rectangle: outlined in blue, filled red; the one with neither line nor fill draws nothing.
e2e_expect_pixel shown.png 20 20 "$blue"
e2e_expect_pixel shown.png 60 50 "$red"
e2e_expect_pixel shown.png 140 20 "$white"
e2e_expect_pixel shown.png 170 50 "$white"
# The 5 x 100 line is vertical, down the middle of its frame.
e2e_expect_pixel shown.png 222 70 "$green"
e2e_expect_pixel shown.png 220 70 "$white"
# The picture, placed without a size, is its own 8 x 8 centred on (260, 20).
e2e_expect_pixel shown.png 256 16 "$yellow"
e2e_expect_pixel shown.png 263 23 "$yellow"
e2e_expect_pixel shown.png 264 24 "$white"
# The label in black over its magenta shadow.
e2e_region_has shown.png 20 100 120 140 '#000000'
e2e_region_has shown.png 20 100 120 145 '#FF00FF'

# On a 256-colour screen the picture is converted against the palette and keeps its colour.
e2e_play --screen 640x480x8 show.db <<<'screenshot shown8.png'
e2e_expect_status 0
e2e_expect_pixel shown8.png 256 16 "$yellow"
e2e_expect_pixel shown8.png 60 50 "$red"
e2e_expect_pixel shown8.png 222 70 "$green"
e2e_done
