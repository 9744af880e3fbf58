# Set-up of tivlo_check_network, sourced by smoke/case.sh: the name its look-up case asks for
# (localhost, where no name server is asked for it; otherwise the case connects by address).
export_loopback_name
