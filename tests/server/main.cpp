// The loopback test server as a command, for the Wine checks:
//   tivlo-testserver FOLDER PORTFILE
// serves FOLDER over http and https, writes its certificate (DER) into PORTFILE.der, then
// "PORT RESETPORT HTTPSPORT" into PORTFILE, and runs until killed.
#include <csignal>
#include <cstdio>
#include <fstream>

#include "tests/server/loopback_server.h"

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s FOLDER PORTFILE\n", argv[0]);
        return 2;
    }
    std::signal(SIGPIPE, SIG_IGN);
    static testserver::LoopbackServer server(argv[1], true);
    const std::string portFile = argv[2];
    std::ofstream(portFile + ".der", std::ios::binary) << server.certificateDer();
    {
        std::ofstream out(portFile + ".tmp");
        out << server.port() << " " << server.resetPort() << " " << server.httpsPort() << "\n";
    }
    std::rename((portFile + ".tmp").c_str(), portFile.c_str());
    server.wait();
    return 0;
}
