# The Interface timer: a one-shot timer fires once, a cycling one every interval; Ticks count
# from "TimerStart" and the id is the one it was given.
source "$(dirname "$0")/lib.sh"

e2e_project timer Once once.json cycles.json
for spec in "Once false 4" "Cycles true 9"; do
    read -r name cycles id <<<"$spec"
    cat >"timer/${name,,}.json" <<JSON
{ "name": "$name",
  "attributes": { "CardWidth": 320, "CardHeight": 240, "TimerInterval": 500, "TimerCycles": $cycles },
  "script": [ "Opened ( ) {", "\\tParent : TimerStart( $id )", "}", "" ],
  "cards": [ { "elements": [] } ] }
JSON
done
e2e_build timer timer.db

e2e_play --trace timer.db <<<'wait 3000'
e2e_expect_status 0
e2e_expect_lines ': Timer\(' <<<'Parent : Timer( Ticks = 500, TimerID = 4 )'

e2e_start_record timer.db 0 "" Cycles
e2e_play --trace timer.db <<<'wait 2200'
e2e_expect_lines ': Timer\(' <<'LINES'
Parent : Timer( Ticks = 500, TimerID = 9 )
Parent : Timer( Ticks = 1000, TimerID = 9 )
Parent : Timer( Ticks = 1500, TimerID = 9 )
Parent : Timer( Ticks = 2000, TimerID = 9 )
LINES
e2e_done
