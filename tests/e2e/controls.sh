# Buttons, list boxes and combo boxes clicked and typed through a real Interface: radio groups,
# check boxes, a replaced link, list methods and selection rules, items from a Text medium,
# multiple selection and the combo box's notifications.
source "$(dirname "$0")/lib.sh"

mkdir -p project/interfaces project/media
printf 'one\r\n\r\ntwo\r' >project/media/lines.txt
cat >project/project.json <<'JSON'
{
  "format": 1,
  "start": { "interface": "Controls", "caption": "Controls", "frameStyle": 0 },
  "media": [ { "name": "Lines", "file": "media/lines.txt" } ],
  "interfaces": [ "interfaces/controls.json" ]
}
JSON
# The Card starts at the screen's top left corner (frame style 0 on a 400x300 screen).
cat >project/interfaces/controls.json <<'JSON'
{
  "name": "Controls",
  "attributes": { "CardWidth": 400, "CardHeight": 300 },
  "background": { "elements": [
    { "type": "Button", "id": 3, "name": "R3", "rect": [0, 40, 80, 20],
      "attributes": { "Style": "RadioButton", "Group": "a" } }
  ] },
  "cards": [
    { "elements": [
      { "type": "Button", "id": 1, "name": "R1", "rect": [0, 0, 80, 20],
        "attributes": { "Style": "RadioButton", "Group": "a", "State": "Down" } },
      { "type": "Button", "id": 2, "name": "R2", "rect": [0, 20, 80, 20],
        "attributes": { "Style": "3dRadioButton", "Group": "A" } },
      { "type": "Button", "id": 4, "name": "Check", "rect": [0, 70, 80, 20],
        "attributes": { "Style": "CheckBox" } },
      { "type": "Button", "id": 5, "name": "Report", "rect": [0, 100, 80, 20],
        "script": [ "Clicked ( ) {",
          "\tS = \"R \" + Button \"R1\" : State + Button \"R2\" : State + Background Button \"R3\" : State + \" C \" + Button \"Check\" : State",
          "\tMessageBox( S, \"Report\", 0, 0 )", "}", "" ] },
      { "type": "Button", "id": 6, "name": "Lists", "rect": [0, 130, 80, 20],
        "script": [ "Clicked ( ) {",
          "\tS = \"Find \" + ListBox \"Fruit\" : FindItem( \"AP\" ) + ListBox \"Fruit\" : FindItem( \"apr\" ) + ListBox \"Fruit\" : FindItem( \"Applesauce\" )",
          "\tListBox \"Fruit\" : InsertSortedItem( \"avocado\" )",
          "\tListBox \"Fruit\" : InsertItem( \"x\", 99 )",
          "\tListBox \"Fruit\" : InsertItem( \"y\", 0 )",
          "\tS = S + \" Items \" + ListBox \"Fruit\" : GetItem( 1 ) + ListBox \"Fruit\" : GetItem( 4 ) + ListBox \"Fruit\" : GetItem( 6 ) + ListBox \"Fruit\" : NumItems",
          "\tS = S + \" Lines \" + ListBox \"Lines\" : NumItems + ListBox \"Lines\" : GetItem( 2 )",
          "\tMessageBox( S, \"Lists\", 0, 0 )", "}", "" ] },
      { "type": "Button", "id": 7, "name": "Select", "rect": [0, 160, 80, 20],
        "script": [ "Clicked ( ) {",
          "\tListBox \"Three\" : SelectedNum = 0",
          "\tListBox \"Three\" : SelectedNum = 99",
          "\tListBox \"Three\" : SelectedNum = 3",
          "\tMessageBox( \"Selected \" + ListBox \"Three\" : SelectedNum, \"Select\", 0, 0 )", "}", "" ] },
      { "type": "Button", "id": 8, "name": "Go", "rect": [0, 190, 80, 20],
        "attributes": { "Audio : Play": "Chime", "Interface : Next Card": -1 } },
      { "type": "Audio", "id": 9, "name": "Chime", "rect": [0, 280, 10, 10] },
      { "type": "ListBox", "id": 10, "name": "Fruit", "rect": [100, 0, 90, 64], "items": [ "Apple", "apricot", "Banana" ] },
      { "type": "ListBox", "id": 11, "name": "Lines", "rect": [100, 70, 90, 44], "attributes": { "Media": "Lines" } },
      { "type": "ListBox", "id": 12, "name": "Three", "rect": [100, 120, 90, 64], "items": [ "a", "b", "c" ] },
      { "type": "ListBox", "id": 13, "name": "Multi", "rect": [200, 0, 90, 124],
        "items": [ "1", "2", "3", "4", "5", "6" ], "attributes": { "MultiSelect": true } },
      { "type": "ComboBox", "id": 14, "name": "Combo", "rect": [200, 140, 120, 22],
        "items": [ "red", "green", "blue" ], "attributes": { "Editable": true } }
    ] },
    { "elements": [] }
  ]
}
JSON
e2e_build project controls.db

e2e_play --trace --screen 400x300 controls.db <<'SCRIPT'
# R2 ("A") releases R1 and R3 ("a"); the check box is clicked twice, then once more.
click 10 30
click 10 80
click 10 80
click 10 80
click 10 110
click 10 140
click 10 170
# Items 2 and 5 of the multiple-selection list (rows of 20 pixels below a 1-pixel border).
click 240 31
click 240 91
# Drop the combo box, pick green, type in its field.
click 312 151
click 250 194
click 230 151
type !
click 10 200
SCRIPT
e2e_expect_status 0
e2e_expect_output <<'LINES'
Parent : Opened( )
Button 2 : Clicked( )
Button 4 : Clicked( )
Button 4 : Clicked( )
Button 4 : Clicked( )
Button 5 : Clicked( )
MessageBox [Report] R 010 C 1 -> OK
Button 6 : Clicked( )
Method Called ->> FindItem
Method Called ->> FindItem
Method Called ->> FindItem
Method Called ->> InsertSortedItem
Method Called ->> InsertItem
Method Called ->> InsertItem
Method Called ->> GetItem
Method Called ->> GetItem
Method Called ->> GetItem
Method Called ->> GetItem
MessageBox [Lists] Find 120 Items yavocadox6 Lines 2two -> OK
Button 7 : Clicked( )
ListBox 12 : SelectionChanged( SelectedNum = 3 )
MessageBox [Select] Selected 3 -> OK
ListBox 13 : GotFocus( )
ListBox 13 : SelectionChanged( SelectedNum = 2 )
ListBox 13 : SelectionChanged( SelectedNum = 2 )
ListBox 13 : SelectionChanged( SelectedNum = 5 )
ListBox 13 : LostFocus( )
ComboBox 14 : GotFocus( )
ComboBox 14 : DropDown( )
ComboBox 14 : PullUp( )
ComboBox 14 : SelectionChanged( SelectedNum = 2 )
ComboBox 14 : EditChanged( )
ComboBox 14 : LostFocus( )
Parent : CurrentCardChanged( From = 1, To = 2 )
Button 8 : Clicked( )
Parent : Closed( )
LINES
e2e_done
