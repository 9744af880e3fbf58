# Set-up of tivlo_check_network, sourced by smoke/case.sh: the name its look-up case asks for.
# localhost where this machine's hosts file has it, so that no name server is asked; a bare
# chroot has no hosts file, and the case then connects by address.
if getent -s files ahostsv4 localhost 2>/dev/null | grep -q '^127\.'; then
    export TIVLO_CHECK_LOOPBACK_NAME=localhost
else
    unset TIVLO_CHECK_LOOPBACK_NAME
fi
