# Handler headers written with parameters or spread over lines run as their plain form, reading
# the event's values; a build refuses headers that could never run and says where they are.
source "$(dirname "$0")/lib.sh"

mkdir headers
cat >headers/project.json <<'JSON'
{ "format": 1, "start": { "interface": "Main", "caption": "", "frameStyle": 0 },
  "interfaces": [ "main.json" ] }
JSON
cat >headers/main.json <<'JSON'
{ "name": "Main",
  "attributes": { "CardWidth": 640, "CardHeight": 480 },
  "cards": [ { "elements": [
    { "type": "Rectangle", "id": 2, "rect": [100, 100, 100, 100], "attributes": { "MouseEvents": true },
      "script": [ "MouseDown(X,Y)", "{", "\tMessageBox( \"down \" + X + \",\" + Y, \"Down\", 0, 0 )", "}",
        "MouseUp ( X, Y ) {", "\tA = X * 1000 + Y", "\tMessageBox( \"up \" + Str( A ), \"Up\", 0, 0 )", "}", "" ] } ] } ] }
JSON
e2e_build headers headers.db

e2e_play --screen 640x480 --trace headers.db <<<'click 130 170'
e2e_expect_status 0
grep -F -e 'Rectangle 2 : Mouse' -e 'MessageBox' "$E2E_OUT" | grep -v -F -e Within -e Enter >lines.txt || true
diff -u - lines.txt <<'LINES' || e2e_fail "handler output differs (- expected, + actual)"
Rectangle 2 : MouseDown( X = 30, Y = 70 )
MessageBox [Down] down 30,70 -> OK
Rectangle 2 : MouseUp( X = 30, Y = 70 )
MessageBox [Up] up 30070 -> OK
LINES

# The stored script holds the plain headers.
e2e_tamberlyne export headers.db exported >/dev/null
grep -rqF 'MouseDown ( ) {' exported || e2e_fail "the exported script keeps the header as written"

sed -i 's/"MouseUp ( X, Y ) {"/"mouseup ( X, Y ) {"/' headers/main.json
if "$TAMBERLYNE" build headers -o bad.db >build.out 2>&1; then
    e2e_fail "a build with a handler that never runs succeeded"
fi
grep -F 'main.json' build.out | grep -F 'line 5' | grep -qF '"mouseup" never runs' ||
    { cat build.out >&2; e2e_fail "the build error does not name the file, line and handler"; }
e2e_done
