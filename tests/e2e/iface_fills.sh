# Background fills: solid, gradient (row arithmetic truncating toward zero), stretched and tiled
# pictures, each the start Interface of the same database in turn.
source "$(dirname "$0")/lib.sh"

# A 2 x 2 24-bit picture: red, green on top, blue, yellow below (rows stored bottom first).
printf 'BM\x46\0\0\0\0\0\0\0\x36\0\0\0\x28\0\0\0\x02\0\0\0\x02\0\0\0\x01\0\x18\0\0\0\0\0\x10\0\0\0' >fills.bmp
printf '\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0' >>fills.bmp
printf '\xFF\0\0\0\xFF\xFF\0\0\0\0\xFF\0\xFF\0\0\0' >>fills.bmp

mkdir fills
cp fills.bmp fills/quad.bmp
interface() { # NAME ATTRIBUTES
    printf '{ "name": "%s", "attributes": { "CardWidth": 640, "CardHeight": 480, %s }, "cards": [ { "elements": [] } ] }' "$1" "$2" \
        >"fills/$1.json"
}
interface Solid '"BackColor": "#336699"'
interface Gradient '"Background": "Gradient", "BackColor": "#0AC800", "BackGradient": "#FA0007"'
interface Stretched '"Background": "Stretched Picture", "BackBitmap": "quad.bmp"'
interface Tiled '"Background": "Tiled Picture", "BackBitmap": "quad.bmp"'
e2e_project fills Solid Solid.json Gradient.json Stretched.json Tiled.json
e2e_build fills fills.db

shoot() { # INTERFACE
    e2e_start_record fills.db 0 "" "$1"
    e2e_play --screen 640x480 fills.db <<<"screenshot $1.png"
    e2e_expect_status 0
}

shoot Solid
e2e_expect_pixel Solid.png 0 0 '#336699'
e2e_expect_pixel Solid.png 639 479 '#336699'

# Row y: back + (gradient - back) * y / 480 per channel, truncated toward zero; green falls, so
# row 1 keeps 200 (200 - 0.42) and row 3 has 199 (200 - 1.25), where flooring would give 199, 198.
shoot Gradient
e2e_expect_pixel Gradient.png 0 0 '#0AC800'
e2e_expect_pixel Gradient.png 639 1 '#0AC800'
e2e_expect_pixel Gradient.png 639 3 '#0BC700'
e2e_expect_pixel Gradient.png 5 240 '#826403'
e2e_expect_pixel Gradient.png 5 479 '#F90106'

shoot Stretched
e2e_expect_pixel Stretched.png 0 0 '#FF0000'
e2e_expect_pixel Stretched.png 319 239 '#FF0000'
e2e_expect_pixel Stretched.png 320 239 '#00FF00'
e2e_expect_pixel Stretched.png 319 240 '#0000FF'
e2e_expect_pixel Stretched.png 639 479 '#FFFF00'

shoot Tiled
e2e_expect_pixel Tiled.png 0 0 '#FF0000'
e2e_expect_pixel Tiled.png 1 0 '#00FF00'
e2e_expect_pixel Tiled.png 0 1 '#0000FF'
e2e_expect_pixel Tiled.png 3 3 '#FFFF00'
e2e_expect_pixel Tiled.png 638 478 '#FF0000'
e2e_done
