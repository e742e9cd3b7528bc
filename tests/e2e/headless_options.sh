# Headless runs: --time sets the virtual clock, `wait` fires every due timer in order, `answer`
# answers the next message box only, --data-dir holds the string files, --screen 8-bit works.
source "$(dirname "$0")/lib.sh"

mkdir -p clock/interfaces
e2e_project clock Main interfaces/main.json
cat >clock/interfaces/main.json <<'JSON'
{ "name": "Main", "attributes": { "CardWidth": 200, "CardHeight": 100, "BackColor": "#FFFFFF",
                                   "TimerInterval": 500, "TimerCycles": true },
  "script": [ "Opened ( ) {",
              "\tS = GetDate( 0, 0 ) + \" \" + GetTime( 1, 1 )",
              "\tS1 = MessageBox( S, \"Now\", 0, 0 )",
              "\tSaveString( \"notes\", \"last\", S )",
              "\tParent : TimerStart( 7 )",
              "}",
              "Timer ( ) {",
              "\tS1 = MessageBox( GetTime( 1, 1 ), \"Tick\", 1, 1 )",
              "}", "" ],
  "cards": [ { "elements": [] } ] }
JSON
e2e_build clock clock.db

e2e_play --trace --time "2024-02-29 23:59:58" --data-dir "$E2E_TMP/data" clock.db <<'SCRIPT'
answer Cancel
wait 1200
SCRIPT
e2e_expect_status 0
e2e_expect_output <<'LINES'
Parent : Opened( )
MessageBox [Now] February 29, 2024 23:59:58 -> OK
Method Called ->> TimerStart
Parent : Timer( Ticks = 500, TimerID = 7 )
MessageBox [Tick] 23:59:58 -> Cancel
Parent : Timer( Ticks = 1000, TimerID = 7 )
MessageBox [Tick] 23:59:59 -> Yes
Parent : Closed( )
LINES
[[ -f data/zd/notes ]] || e2e_fail "SaveString did not write into the --data-dir folder"

# Without --time the clock starts at 2000-01-01 00:00:00; on an 8-bit screen the window is
# drawn through the palette and the screenshot still shows its colours.
e2e_play --screen 640x480x8 --data-dir "$E2E_TMP/data" clock.db <<<'screenshot palette.png'
e2e_expect_line 'MessageBox [Now] January 1, 2000 00:00:00 -> OK'
e2e_expect_pixel palette.png 320 240 '#FFFFFF'

# --time is for headless runs only.
e2e_run "$TAMBER" --time "2024-02-29 23:59:58" clock.db
e2e_expect_status 2
e2e_expect_error '--time needs --headless'
e2e_done
