# Set-up of tivlo_check_missing_dlls, sourced by smoke/case.sh: the DLLs its features load at
# first use are disabled for its run.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:+$WINEDLLOVERRIDES;}wininet,ws2_32,winmm,comdlg32,comctl32,ole32,oleaut32=d"
