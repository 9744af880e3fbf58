# Set-up of tivlo_check_missing_dlls, sourced by smoke/case.sh: the DLLs its features load at
# first use are disabled for the check alone. Not through WINEDLLOVERRIDES: Wine's own processes
# that the check starts (its desktop among them) would inherit it and could die at start.
for dll in wininet ws2_32 winmm comdlg32 comctl32 ole32 oleaut32; do
    wine_t 60 reg add 'HKCU\Software\Wine\AppDefaults\tivlo_check_missing_dlls.exe\DllOverrides' \
        /v "$dll" /t REG_SZ /d "" /f >/dev/null 2>&1 || return 1
done
