// gedcom-gen N OUTFILE [--seed S] [--crlf]: writes a generated GEDCOM file with N individuals.
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>
#include <string_view>

#include "core/Document.h"
#include "tests/support/GedcomGenerator.h"

namespace {

int Usage() {
    std::fputs("usage: gedcom-gen N OUTFILE [--seed S] [--crlf]\n", stderr);
    return 2;
}

bool ParseNumber(const char* text, unsigned long long& value) {
    char* end = nullptr;
    value = std::strtoull(text, &end, 10);
    return end != text && *end == '\0' && text[0] != '-';
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) return Usage();
    halvern::testsupport::GedcomOptions options;
    unsigned long long number = 0;
    if (!ParseNumber(argv[1], number)) return Usage();
    options.individuals = static_cast<std::size_t>(number);
    for (int i = 3; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--crlf") {
            options.crlf = true;
        } else if (argument == "--seed" && i + 1 < argc && ParseNumber(argv[i + 1], number)) {
            options.seed = number;
            ++i;
        } else {
            return Usage();
        }
    }
    try {
        halvern::SaveDocument(argv[2], halvern::testsupport::GenerateGedcom(options));
    } catch (const std::exception& error) {
        std::fprintf(stderr, "gedcom-gen: %s: %s\n", argv[2], error.what());
        return 1;
    }
    return 0;
}
