# Set-up of tivlo_check_grab, sourced by smoke/case.sh before the program runs: a small site
# (pages, and pictures of every type made with ImageMagick), the loopback test server built
# beside the exes serving it over http and https, and where the site, the server and its
# certificate are for the program. check_end stops the server.

grab_site() {
    local d=$1
    mkdir -p "$d/pics" "$d/more" || return 1
    cat >"$d/index.html" <<'HTML'
<html><body><a href="pics/">Pictures</a> <a href="about.html#top">About</a>
<img src="logo.gif"> <a href="/t/redirect?n=1&amp;to=/more/index.html">More</a>
<a href="big.jpg"><img src="thumb.png"></a> <a href="#top">top</a> <a href="./">here</a>
</body></html>
HTML
    cat >"$d/about.html" <<'HTML'
<p>About</p><img src="logo.gif"><a href="index.html">home</a><a href="gone.html">gone</a>
HTML
    cat >"$d/pics/index.html" <<'HTML'
<img src="a.jpg"><img src="b.png"><a href="c.bmp">c</a><img src="fake.gif">
<a href="../about.html"><img src="../thumb.png"></a><a href="files.zip">zip</a>
HTML
    cat >"$d/more/index.html" <<'HTML'
<img src="d.gif"><a href="e.jpeg"><img src="e.jpeg"></a>
HTML
    echo '<html>no picture here</html>' >"$d/pics/fake.gif"
    convert -size 40x30 xc:red "$d/logo.gif" &&
        convert -size 90x60 gradient:blue-yellow "$d/thumb.png" &&
        convert -size 320x200 plasma:fractal -quality 85 "$d/big.jpg" &&
        convert -size 120x90 gradient:red-green -quality 70 "$d/pics/a.jpg" &&
        convert -size 64x64 plasma:fractal "$d/pics/b.png" &&
        convert -size 50x40 xc:green "BMP3:$d/pics/c.bmp" &&
        convert -size 33x33 xc:blue "$d/more/d.gif" &&
        convert -size 200x100 -interlace Plane gradient:white-black "$d/more/e.jpeg" || return 1
    # thumb.png counts once: inside the link to big.jpg it is that link's thumbnail and left out,
    # inside the link to a page it is taken.
    printf '%s\n' logo.gif thumb.png big.jpg pics/a.jpg pics/b.png pics/c.bmp more/d.gif \
        more/e.jpeg >"$d/expected.txt"
}

check_end() {
    [ -n "${GRAB_SERVER_PID:-}" ] && kill "$GRAB_SERVER_PID" 2>/dev/null
    GRAB_SERVER_PID=
}

grab_setup() {
    local site="$SMOKE_TMP/site" portfile="$SMOKE_TMP/server.port" i
    [ -x "$build/tivlo-testserver" ] || { echo "no $build/tivlo-testserver" >&2; return 1; }
    grab_site "$site" || { echo "the site could not be made" >&2; return 1; }
    timeout 600 "$build/tivlo-testserver" "$site" "$portfile" >"$SMOKE_TMP/server.log" 2>&1 &
    GRAB_SERVER_PID=$!
    trap 'check_end; session_end' EXIT
    for i in $(seq 100); do
        [ -s "$portfile" ] && break
        sleep 0.05
    done
    [ -s "$portfile" ] || { echo "the test server did not start" >&2; return 1; }
    export TIVLO_TEST_SERVER TIVLO_TEST_SITE=$site TIVLO_TEST_CERT=$portfile.der
    TIVLO_TEST_SERVER=$(cat "$portfile")
}

grab_setup && export_loopback_name
