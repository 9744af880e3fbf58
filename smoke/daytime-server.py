#!/usr/bin/env python3
"""A loopback daytime server for the smoke cases.

daytime-server.py PORT MODE LOG
  MODE reply:  answers each connection with the example line, then closes it
  MODE silent: accepts and holds each connection, never sending a byte
Each accepted connection appends "connect <unix time in ms>" to LOG.
"""
import socket
import sys
import time

REPLY = b"\n61381 26-12-07 21:45:30 00 0 0 752.7 UTC(NIST) * \n"


def main():
    port, mode, log = int(sys.argv[1]), sys.argv[2], sys.argv[3]
    server = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
    server.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    server.bind(("127.0.0.1", port))
    server.listen(8)
    with open(log, "a") as f:
        f.write("listening %d\n" % port)
    held = []
    while True:
        conn, _ = server.accept()
        with open(log, "a") as f:
            f.write("connect %d\n" % int(time.time() * 1000))
        if mode == "reply":
            conn.sendall(REPLY)
            conn.close()
        else:
            held.append(conn)


if __name__ == "__main__":
    main()
