#include <cstdio>
#include <string_view>
#include <vector>

#include "cli/CliMain.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#else
#include <unistd.h>
#endif

int main(int argc, char** argv) {
    bool errIsTerminal = false;
#ifdef _WIN32
    // Documents are bytes: no line-end translation on the standard streams.
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
    errIsTerminal = _isatty(_fileno(stderr)) != 0;
#else
    errIsTerminal = isatty(fileno(stderr)) != 0;
#endif
    const std::vector<std::string_view> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    return halvern::cli::CliMain(args, {stdin, stdout, stderr, errIsTerminal});
}
