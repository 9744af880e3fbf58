# A program left idle maps none of the DLLs that only its features use (network, sound, common
# controls and dialogs, GDI+, the imaging component); its tray clock needs only the picture
# objects of OLE.
name="idle: no feature DLL is mapped"
if ! start_and_wait_icons 40; then
    not_ok "$name" "the two tray icons did not appear within 40 s"
    return
fi
sleep 5  # a few ticks of every timer
pid=$(tivlo_pids | head -n 1)
mapped=$(grep -oE '[^/ ]+\.(dll|drv)$' "/proc/$pid/maps" 2>/dev/null | tr 'A-Z' 'a-z' | sort -u)
if [ -z "$mapped" ]; then
    not_ok "$name" "no module list for the program"
    return
fi
unwanted=$(grep -xE '(wininet|ws2_32|winmm|comdlg32|comctl32|gdiplus|windowscodecs)\.dll' <<<"$mapped" | tr '\n' ' ')
if [ -n "$unwanted" ]; then
    not_ok "$name" "mapped: $unwanted"
else
    ok "$name" "$(wc -l <<<"$mapped") modules, none of them"
fi
