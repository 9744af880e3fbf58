// The loopback test server as a command, for the Wine checks:
//   tivlo-testserver FOLDER PORTFILE
// serves FOLDER, writes "PORT RESETPORT" into PORTFILE, and runs until killed.
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
    static testserver::LoopbackServer server(argv[1]);
    {
        std::ofstream out(std::string(argv[2]) + ".tmp");
        out << server.port() << " " << server.resetPort() << "\n";
    }
    std::rename((std::string(argv[2]) + ".tmp").c_str(), argv[2]);
    server.wait();
    return 0;
}
