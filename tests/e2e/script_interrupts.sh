# A handler that never ends: `key Ctrl+Break` next in the script stops it silently; without it,
# --script-timeout stops it and says so on standard error. Either way the player goes on.
source "$(dirname "$0")/lib.sh"

mkdir -p loop/interfaces
e2e_project loop Main interfaces/main.json
cat >loop/interfaces/main.json <<'JSON'
{ "name": "Main", "attributes": { "CardWidth": 200, "CardHeight": 100, "BackColor": "#FFFFFF" },
  "script": [ "Opened ( ) {", "\tWhile ( 1 )", "\t\tA = A + 1", "\tEndWhile", "}", "" ],
  "cards": [ { "elements": [] } ] }
JSON
e2e_build loop loop.db

e2e_play --trace --script-timeout 60 loop.db <<'SCRIPT'
key Ctrl+Break
screenshot after.png
SCRIPT
e2e_expect_status 0
e2e_expect_output <<'LINES'
Parent : Opened( )
Parent : Closed( )
LINES
[[ ! -s $E2E_ERR ]] || e2e_fail "Ctrl+Break is not an error"
e2e_expect_pixel after.png 512 384 '#FFFFFF'

e2e_play --script-timeout 0.2 loop.db <<<'screenshot after.png'
e2e_expect_status 0
e2e_expect_error 'ran longer than 0.2 seconds and was stopped'
e2e_expect_pixel after.png 512 384 '#FFFFFF'
e2e_done
