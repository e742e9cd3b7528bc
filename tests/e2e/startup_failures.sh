# Start-up failures: each ends the program after its message box, with exit code 0.
source "$(dirname "$0")/lib.sh"

not_found='MessageBox [TamberPlayer] The application could not find the database... -> OK'

# A missing file, and a file that is not a database.
e2e_play missing.db </dev/null
e2e_expect_output <<<"$not_found"
e2e_expect_status 0
echo "just some text, no database header" >notes.db
e2e_play notes.db </dev/null
e2e_expect_output <<<"$not_found"
[[ $(cat notes.db) == "just some text, no database header" ]] || e2e_fail "the player changed a file it could not open"

# A database without the start Interface it names.
e2e_start_record plain.db 2 "A caption" Main
e2e_play plain.db </dev/null
e2e_expect_output <<<'MessageBox [TamberPlayer] Couldn'"'"'t find an Interface object named "Main"... -> OK'
e2e_expect_status 0

# A start Interface kept in an outside file.
mkdir -p outside
cat >outside/project.json <<'JSON'
{ "format": 1, "media": [ { "name": "Outer", "type": "Interface", "files": [ "C:\\SHOW\\OUTER.INT" ] } ] }
JSON
e2e_build outside outside.db
e2e_start_record outside.db 0 "" Outer
e2e_play outside.db </dev/null
e2e_expect_output <<<'MessageBox [TamberPlayer] The Interface object named "Outer" must be internalized... -> OK'

# The word count decides: none or two words open the program file itself, which carries no
# database; one word opens it even when other options surround it.
e2e_play </dev/null
e2e_expect_output <<<"$not_found"
e2e_play plain.db plain.db </dev/null
e2e_expect_output <<<"$not_found"
e2e_play --trace plain.db --screen 800x600 </dev/null
e2e_expect_line 'MessageBox [TamberPlayer] Couldn'"'"'t find an Interface object named "Main"... -> OK'

# A database with a password the player does not know.
e2e_tamberlyne --password secret put locked.db MMStart 0 .mmstart >/dev/null
e2e_play locked.db </dev/null
e2e_expect_output <<<"MessageBox [TamberPlayer] Can't open the database without the correct password! -> OK"

# A bundled player opens the database it carries when started without a word, and the named
# database with one word.
e2e_start_record carried.db 0 "" Carried
e2e_tamberlyne bundle "$TAMBER" carried.db player >/dev/null
e2e_run ./player --headless </dev/null
e2e_expect_output <<<'MessageBox [TamberPlayer] Couldn'"'"'t find an Interface object named "Carried"... -> OK'
e2e_run ./player --headless plain.db </dev/null
e2e_expect_line 'MessageBox [TamberPlayer] Couldn'"'"'t find an Interface object named "Main"... -> OK'

# Usage errors are the program's own: standard error and status 2.
e2e_play --screen 12 plain.db </dev/null
e2e_expect_status 2
e2e_expect_error '--screen expects WxH'
printf 'wait 10\nclick 5\n' | e2e_play plain.db
e2e_expect_status 2
e2e_expect_error 'line 2: click expects X Y'
e2e_done
