# The multimedia control on MCI: a .wav and an .mp3 open with their length, play, and their
# end shows in the mode read at a status event; a missing file and a text named .wav fail
# with an error and leave no device open.
name="music files play to their end through the multimedia control"
PLAYER=$SMOKE_EXE_DIR/tivlo_mciplay.exe

# A null sound device: MCI plays into it (faster than real time).
printf 'pcm.!default { type null }\nctl.!default { type null }\n' >"$HOME/.asoundrc"
sox -q -n -r 44100 -c 2 "$SMOKE_TMP/tune.wav" synth 2 sine 440 &&
    lame --silent -b 128 "$SMOKE_TMP/tune.wav" "$SMOKE_TMP/tune.mp3" ||
    { not_ok "$name" "sox or lame made no sound files"; return; }
echo "not a sound" >"$SMOKE_TMP/notes.wav"
wav=$(win_path "$SMOKE_TMP/tune.wav")
mp3=$(win_path "$SMOKE_TMP/tune.mp3")
text=$(win_path "$SMOKE_TMP/notes.wav")
gone=$(win_path "$SMOKE_TMP/gone.wav")

out=$(cd "$SMOKE_EXE_DIR" && wine_t 120 "$PLAYER" "$wav" "$mp3" "$gone" "$text" 2>>"$SMOKE_TMP/wine.log" | tr -d '\r')
smoke_log "$out"
line_of() { printf '%s\n' "$out" | grep -F -- "$1: "; }

for f in "$wav" "$mp3"; do
    l=$(line_of "$f")
    kind=${f##*.}
    length=$(sed -n 's/.*: length \([0-9]*\) ms.*/\1/p' <<<"$l")
    if [ -n "$length" ] && [ "$length" -ge 1900 ] && [ "$length" -le 2100 ]; then
        ok "a .$kind opens with its length" "$length ms"
    else
        not_ok "a .$kind opens with its length" "${l:-no line}"
    fi
    case "$l" in
        *"mode after open 525, ended after "*" status events (mode 525)")
            ok "a .$kind plays to its end, found by the mode" "${l##*ended after }" ;;
        *) not_ok "a .$kind plays to its end, found by the mode" "${l:-no line}" ;;
    esac
done
for f in "$gone" "$text"; do
    l=$(line_of "$f")
    case "$l" in
        *": error "*", mode 524")
            ok "$(basename "${f//\\//}") fails with an error and no device open" "${l#*: error }" ;;
        *) not_ok "$(basename "${f//\\//}") fails with an error and no device open" "${l:-no line}" ;;
    esac
done
