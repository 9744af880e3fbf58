# "&Picture Grabbing": a grab of a generated site on a loopback web server in a private network,
# the thumbnails after the refresh, paging, the folder dialog, a keyword-only grab that asks the
# loopback server for the search page, the settings saved at "E&xit", and a second opening.
name="grab window"
GRAB_PORT=8080
GRAB_SITE="$SMOKE_TMP/site"
GRAB_LOG="$SMOKE_TMP/http.log"
GRAB_DIR="$SMOKE_TMP/downloads"

# The web server in a private network that the program believes online. Not `-m http.server`,
# whose start looks its own address up (a name server without an answer stalls it).
grab_network() {
    : >"$GRAB_LOG"
    private_network online "$GRAB_LOG" python3 -u -c '
import functools, http.server, socketserver, sys
class Server(http.server.ThreadingHTTPServer):
    def server_bind(self):
        socketserver.TCPServer.server_bind(self)
        self.server_name, self.server_port = self.server_address[:2]
handler = functools.partial(http.server.SimpleHTTPRequestHandler, directory=sys.argv[2])
server = Server(("127.0.0.1", int(sys.argv[1])), handler)
print("Serving HTTP on", sys.argv[1], flush=True)
server.serve_forever()' "$GRAB_PORT" "$GRAB_SITE" || return 1
    wait_line 5 'Serving HTTP' "$GRAB_LOG" && return 0
    echo "the web server did not start: $(tail -n 3 "$GRAB_LOG")" >&2
    return 1
}
grab_stop() { private_network_stop; }
grab_gone() { ! grab_up; }
box_up() { window_up 'Tivlo 2\.3'; }
box_gone() { ! box_up; }
# at X Y BUTTON: a click at client coordinates of the grab window.
at() { click $((GX + $1)) $((GY + $2)) "${3:-1}"; }

# The site: pictures of the four types, each of its own colour, linked from one page.
mkdir -p "$GRAB_SITE" "$GRAB_DIR"
colours=(red lime blue yellow magenta cyan orange)
types=(bmp gif jpg png bmp gif jpg)
page=""
for i in "${!colours[@]}"; do
    convert -size 160x100 "xc:${colours[$i]}" "$GRAB_SITE/p$i.${types[$i]}"
    page="$page<img src=\"p$i.${types[$i]}\">"
done
echo "<html><body>$page</body></html>" >"$GRAB_SITE/index.html"
folder=$(win_path "$GRAB_DIR")
store=$(expected_defaults | grep -v '^ResSetting\\Download_File_Folder=')
reg_put_store "$store
ResSetting\\Download_File_Folder=$folder (REG_SZ)"

if ! grab_network; then
    not_ok "$name" "no private network for the web server"
    return
fi
export TIVLO_SEARCH_HOST="127.0.0.1:$GRAB_PORT"
if ! start_and_open p 'Resource Grabbing Setting' 15; then
    not_ok "$name" "no grab window from the tray: $TRAY_WHY"
    grab_stop
    return
fi
sleep 1
read -r GX GY < <(grab_origin)
screenshot "$SMOKE_TMP/opened.png" && keep_file "$SMOKE_TMP/opened.png" grab-opened.png

# "Websites:" box and "&Grab Now".
at 500 166
xdotool type --delay 20 "http://127.0.0.1:$GRAB_PORT/index.html"
at 76 241
if ! wait_for 60 box_up; then
    screenshot "$SMOKE_TMP/nobox.png" && keep_file "$SMOKE_TMP/nobox.png"
    not_ok "$name" "no \"All links have been parsed !\" within 60 s; requests: $(grep -c GET "$GRAB_LOG")"
    grab_stop
    return
fi
press Return
wait_for 5 box_gone
# The next refresh lists what the grab saved.
sleep 11
screenshot "$SMOKE_TMP/thumbs.png" && keep_file "$SMOKE_TMP/thumbs.png" grab-thumbnails.png
files=$(cd "$GRAB_DIR" && ls | LC_ALL=C sort | tr '\n' ' ')
want="Catch00000.bmp Catch00000.gif Catch00000.jpg Catch00000.png Catch00001.bmp Catch00001.gif Catch00001.jpg "
# Each slot's centre shows a picture, not the black strip.
shown=0
for k in 0 1 2 3 4; do
    px=$(convert "$SMOKE_TMP/thumbs.png" -crop "1x1+$((GX + 65 + 126 * k))+$((GY + 368))" -format '%[hex:p{0,0}]' info: 2>/dev/null)
    [ "${px:0:6}" != 000000 ] && shown=$((shown + 1))
done

at 475 284  # "Next >"
sleep 2
screenshot "$SMOKE_TMP/page2.png" && keep_file "$SMOKE_TMP/page2.png" grab-page2.png
p2=0
for k in 0 1 2; do
    px=$(convert "$SMOKE_TMP/page2.png" -crop "1x1+$((GX + 65 + 126 * k))+$((GY + 368))" -format '%[hex:p{0,0}]' info: 2>/dev/null)
    [ "${px:0:6}" != 000000 ] && p2=$((p2 + 1))
done

# "Change Folder": the dialog opens; Escape keeps the folder. (Wine does not preselect a
# folder of its Z: drive, so Enter there would choose the desktop instead.)
dialog_up() { window_up 'Browse for Folder'; }
dialog_gone() { ! dialog_up; }
folder_ok="no (no dialog)"
# One click only: the dialog's owner is the hidden main form, not this window, so a second
# click would raise this window over a dialog that is slow to come and open another one.
at 464 90
if wait_for 30 dialog_up; then
    sleep 1
    screenshot "$SMOKE_TMP/folder.png" && keep_file "$SMOKE_TMP/folder.png" grab-folder-dialog.png
    # A loaded machine maps the dialog before it takes the keyboard, so the first Escape can
    # be lost; this window has no use for one.
    folder_ok="no (Escape left the dialog open)"
    # Keys go to the window under the pointer.
    read -r DX DY DW DH < <(window_geometry 'Browse for Folder') && mouse_to $((DX + DW / 2)) $((DY + 10))
    for _ in 1 2 3; do
        press Escape
        if wait_for 5 dialog_gone; then folder_ok=yes; break; fi
    done
fi

# A keyword-only grab (the website emptied) asks the loopback server for the search page.
search_ok=no
xdotool mousemove --sync $((GX + 500)) $((GY + 166)) click --repeat 2 1  # selects the address
press BackSpace
at 500 194
xdotool type --delay 20 "cats"
at 76 241
wait_for 10 box_up && press Return  # the restart question: Yes
for _ in $(seq 20); do
    grep -q 'GET /search?&q=picture+cats&btnG=' "$GRAB_LOG" && { search_ok=yes; break; }
    sleep 0.5
done
sleep 1
screenshot "$SMOKE_TMP/search.png" && keep_file "$SMOKE_TMP/search.png" grab-search.png
wait_for 20 box_up && press Return  # the crawl's end
wait_for 5 box_gone

at 566 241  # "E&xit"
wait_for 5 grab_gone
saved=$(reg_dump | grep -E '^(Image|ResSetting)\\' | tr '\n' ';')

# A second opening from the tray, by a click on "&Picture Grabbing" (the second row of 17
# pixels). A key would not do under Wine: closing the window made Wine activate the shell's
# taskbar, which took the X input focus, and Wine gives a key to the thread of the window
# holding that focus, where Windows gives it to the foreground thread that the tray menu's
# owner became.
again="no (no tray menu)"
if open_tray_menu; then
    click $((mxx + mw / 2)) $((myy + 28)) 1
    again="no (no window)"
    if wait_for 10 grab_up; then
        sleep 2
        read -r GX GY < <(grab_origin)
        screenshot "$SMOKE_TMP/again.png" && keep_file "$SMOKE_TMP/again.png" grab-reopened.png
        shown_again=0
        for k in 0 1 2 3 4; do
            px=$(convert "$SMOKE_TMP/again.png" -crop "1x1+$((GX + 65 + 126 * k))+$((GY + 368))" -format '%[hex:p{0,0}]' info: 2>/dev/null)
            [ "${px:0:6}" != 000000 ] && shown_again=$((shown_again + 1))
        done
        at 566 241
        if ! wait_for 5 grab_gone; then
            again="no (\"E&xit\" left the window open)"
        elif [ "$shown_again" -ne 5 ]; then
            again="no ($shown_again thumbnails)"
        else
            again=yes
        fi
    fi
fi
after=$(reg_dump | grep 'Download_File_Folder' | sed 's/.*=//; s/ (REG_SZ)//')
[ "$folder_ok" = yes ] && [ "$after" != "$folder" ] && folder_ok="no (folder now $after)"
grab_stop
keep_file "$GRAB_LOG" http.log

if [ "$files" != "$want" ]; then
    not_ok "$name" "downloaded files: $files"
elif [ "$shown" -ne 5 ] || [ "$p2" -ne 2 ]; then
    not_ok "$name" "thumbnails: $shown on page 1 (want 5), $p2 on page 2 (want 2)"
elif [ "$(printf %s "$saved" | tr ';' '\n' | grep -c .)" -ne 13 ]; then
    not_ok "$name" "saved values: $saved"
elif [ "$folder_ok" != yes ]; then
    not_ok "$name" "folder dialog: $folder_ok"
elif [ "$search_ok" != yes ]; then
    not_ok "$name" "no search request: $(grep GET "$GRAB_LOG" | tail -n 2 | tr '\n' ';')"
elif [ "$again" != yes ]; then
    not_ok "$name" "second opening from the tray: $again"
else
    ok "$name" "7 pictures grabbed, 5 + 2 thumbnails, folder dialog kept the folder, search requested, 13 values saved, opened again with 5 thumbnails"
fi
