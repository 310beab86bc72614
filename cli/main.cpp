#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "cli/CliMain.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>

#include "base/WideText.h"
#else
#include <unistd.h>
#endif

#ifdef _WIN32
// The arguments come as UTF-16 (the program is linked with -municode), so every name Windows can
// hold reaches the program; it works with their UTF-8 form.
int wmain(int argc, wchar_t** argv) {
    // Documents are bytes: no line-end translation on the standard streams.
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
    const bool errIsTerminal = _isatty(_fileno(stderr)) != 0;
    std::vector<std::string> texts;
    for (int i = 1; i < argc; ++i) texts.push_back(halvern::Utf8FromWide(argv[i]));
    const std::vector<std::string_view> args(texts.begin(), texts.end());
    return halvern::cli::CliMain(args, {stdin, stdout, stderr, errIsTerminal});
}
#else
int main(int argc, char** argv) {
    const bool errIsTerminal = isatty(fileno(stderr)) != 0;
    const std::vector<std::string_view> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    return halvern::cli::CliMain(args, {stdin, stdout, stderr, errIsTerminal});
}
#endif
