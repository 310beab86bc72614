// The manual page against the program: the same options as --help, the exit codes of ExitCodes.h.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "cli/ExitCodes.h"

namespace {

std::string HelpOutput() {
    std::string text;
    FILE* const pipe = ::popen(HALVERN_CLI " --help", "r");
    if (pipe == nullptr) return text;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) text.append(buffer, n);
    ::pclose(pipe);
    return text;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// The words of text that name an option: "-x", "--word" or "--" alone (a trailing comma dropped).
std::set<std::string> OptionWords(const std::string& text) {
    std::set<std::string> options;
    std::istringstream words(text);
    for (std::string word; words >> word;) {
        if (word.ends_with(",")) word.pop_back();
        const bool shortOption = word.size() == 2 && word[0] == '-' && word[1] != '-';
        const bool longOption = word.starts_with("--") && word.find_first_not_of("-abcdefghijklmnopqrstuvwxyz") ==
                                                              std::string::npos;
        if (shortOption || longOption) options.insert(word);
    }
    return options;
}

// The options that --help lists: in its "Opties:" block, what stands before the description.
std::set<std::string> HelpOptions(const std::string& help) {
    std::set<std::string> options;
    bool inBlock = false;
    for (const std::string& line : Lines(help)) {
        if (line == "Opties:") {
            inBlock = true;
        } else if (inBlock && line.empty()) {
            break;
        } else if (inBlock && line.find_first_not_of(' ') != std::string::npos &&
                   line[line.find_first_not_of(' ')] == '-') {
            const std::size_t start = line.find_first_not_of(' ');
            const std::size_t gap = line.find("  ", start);
            const std::set<std::string> named = OptionWords(line.substr(start, gap - start));
            options.insert(named.begin(), named.end());
        }
    }
    return options;
}

// The man page's source with groff's escapes for minus and fonts taken out.
std::vector<std::string> ManLines() {
    std::ifstream in(HALVERN_SOURCE_DIR "/cli/halvern-cli.1");
    std::ostringstream text;
    text << in.rdbuf();
    std::vector<std::string> lines = Lines(text.str());
    for (std::string& line : lines) {
        std::string plain;
        for (std::size_t i = 0; i < line.size(); ++i) {
            if (line.compare(i, 2, "\\-") == 0) {
                plain += '-';
                ++i;
            } else if (line.compare(i, 2, "\\f") == 0 && i + 2 < line.size()) {
                i += 2;
            } else if (line[i] != '"') {
                plain += line[i];
            }
        }
        line = plain;
    }
    return lines;
}

// The tag lines (the line after each .TP) of one section of the man page.
std::vector<std::string> TagLines(const std::vector<std::string>& man, const std::string& section) {
    std::vector<std::string> tags;
    bool inSection = false;
    for (std::size_t i = 0; i < man.size(); ++i) {
        if (man[i].starts_with(".SH ")) inSection = man[i] == ".SH " + section;
        if (inSection && man[i] == ".TP" && i + 1 < man.size()) tags.push_back(man[i + 1]);
    }
    return tags;
}

TEST(ManPage, ListsExactlyTheOptionsOfHelp) {
    const std::set<std::string> help = HelpOptions(HelpOutput());
    ASSERT_GE(help.size(), 10u) << "--help could not be read";
    std::set<std::string> man;
    for (const std::string& tag : TagLines(ManLines(), "OPTIES")) {
        const std::set<std::string> named = OptionWords(tag.substr(tag.find(' ') + 1));
        man.insert(named.begin(), named.end());
    }
    EXPECT_EQ(man, help);
}

TEST(ManPage, ListsEveryExitCode) {
    std::set<std::string> listed;
    for (const std::string& tag : TagLines(ManLines(), "AFSLUITSTATUS")) listed.insert(tag.substr(tag.find(' ') + 1));
    std::set<std::string> codes;
    for (const int code : {halvern::cli::kExitDone, halvern::cli::kExitUsage, halvern::cli::kExitBadInput,
                           halvern::cli::kExitRunRefused, halvern::cli::kExitWriteFailed, halvern::cli::kExitProblems}) {
        codes.insert(std::to_string(code));
    }
    EXPECT_EQ(listed, codes);
}

TEST(ManPage, HasTheUsualSections) {
    std::vector<std::string> sections;
    for (const std::string& line : ManLines()) {
        if (line.starts_with(".SH ")) sections.push_back(line.substr(4));
    }
    EXPECT_EQ(sections, (std::vector<std::string>{"NAAM", "OVERZICHT", "BESCHRIJVING", "OPTIES", "AFSLUITSTATUS",
                                                  "OMGEVING", "VOORBEELDEN", "ZIE OOK"}));
}

}  // namespace
