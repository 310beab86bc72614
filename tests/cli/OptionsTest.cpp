#include "cli/Options.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace halvern::cli {
namespace {

ParseResult Parse(std::vector<std::string_view> args) { return ParseArguments(args); }

Options ParseOk(std::vector<std::string_view> args) {
    ParseResult result = Parse(args);
    if (const auto* error = std::get_if<UsageError>(&result)) {
        ADD_FAILURE() << "unexpected usage error: " << error->message;
        return {};
    }
    return std::get<Options>(result);
}

std::string ParseError(std::vector<std::string_view> args) {
    ParseResult result = Parse(args);
    if (const auto* error = std::get_if<UsageError>(&result)) return error->message;
    ADD_FAILURE() << "expected a usage error";
    return {};
}

// "INDI:1 FAM:100" for the runs of a command line.
std::string Runs(std::vector<std::string_view> args) {
    std::string text;
    for (const JobRun& run : ParseOk(args).runs) {
        if (!text.empty()) text += ' ';
        text += run.tag + ':' + std::to_string(run.startNumber);
    }
    return text;
}

TEST(ParseArguments, DefaultsToOneIndividualRunFromOne) {
    const Options options = ParseOk({"in.ged", "uit.ged"});
    EXPECT_EQ(options.action, Options::Action::Run);
    EXPECT_EQ(options.input, "in.ged");
    EXPECT_EQ(options.output, "uit.ged");
    EXPECT_EQ(Runs({"in.ged", "uit.ged"}), "INDI:1");
    EXPECT_TRUE(options.mapFile.empty());
    EXPECT_FALSE(options.dryRun);
    EXPECT_FALSE(options.quiet);
}

TEST(ParseArguments, TypesInOrderWithSharedAndOwnStartNumbers) {
    EXPECT_EQ(Runs({"-t", "fam", "-t", "Note:5", "-s", "100", "a", "b"}), "FAM:100 NOTE:5");
    EXPECT_EQ(Runs({"-s", "100", "-t", "INDI", "-t", "INDI", "a", "b"}), "INDI:100 INDI:100");
    EXPECT_EQ(Runs({"--type=sour:$10", "--type", "FAM:-3", "a", "b"}), "SOUR:16 FAM:-3");
    EXPECT_EQ(Runs({"-tINDI:", "-s", "7", "a", "b"}), "INDI:7");  // an empty field keeps its default
    EXPECT_EQ(Runs({"-t", "fam:12:34", "a", "b"}), "FAM:12");
}

TEST(ParseArguments, AnyRecordTypeInTheUsersOwnForm) {
    const struct {
        std::vector<std::string_view> args;
        std::string tag, prefix;
        int width;
        std::int32_t start;
    } cases[] = {
        {{"-t", "repo", "a", "b"}, "REPO", "R", 5, 1},
        {{"-t", "OBJE:1:M:4", "a", "b"}, "OBJE", "M", 4, 1},
        {{"-t", "SNOTE::Nt_", "-s", "9", "a", "b"}, "SNOTE", "Nt_", 5, 9},
        {{"-t", "_PLAC:3:PL:2", "a", "b"}, "_PLAC", "PL", 2, 3},
        {{"-t", "SUBN:::1", "a", "b"}, "SUBN", "B", 1, 1},
    };
    for (const auto& c : cases) {
        const Options options = ParseOk(c.args);
        ASSERT_EQ(options.runs.size(), 1u);
        EXPECT_EQ(options.runs[0].tag, c.tag);
        EXPECT_EQ(options.runs[0].form.prefix, c.prefix);
        EXPECT_EQ(options.runs[0].form.width, c.width);
        EXPECT_EQ(options.runs[0].startNumber, c.start);
    }
    // --all and --check ask for no run of their own; --check alone takes no output.
    EXPECT_TRUE(ParseOk({"--all", "a", "b"}).allTypes);
    EXPECT_TRUE(ParseOk({"--all", "a", "b"}).runs.empty());
    const Options check = ParseOk({"-c", "a"});
    EXPECT_TRUE(check.check && check.runs.empty() && check.output.empty());
    EXPECT_EQ(ParseOk({"-c", "-t", "FAM", "a", "b"}).runs.size(), 1u);
}

TEST(ParseArguments, StartNumberSpellings) {
    EXPECT_EQ(Runs({"-s", "-5", "a", "b"}), "INDI:-5");
    EXPECT_EQ(Runs({"-s-5", "a", "b"}), "INDI:-5");
    EXPECT_EQ(Runs({"--start=-5", "a", "b"}), "INDI:-5");
    EXPECT_EQ(Runs({"--start", "0x10", "a", "b"}), "INDI:16");
    // The range of a signed 32-bit number, however it is written; past it the number is refused.
    EXPECT_EQ(Runs({"-s", "-2147483648", "-t", "FAM", "-t", "NOTE:$7FFFFFFF", "a", "b"}), "FAM:-2147483648 NOTE:2147483647");
    for (const std::string_view number : {"2147483648", "-2147483649", "$80000000", "0x100000000", "99999999999"}) {
        EXPECT_EQ(ParseError({"-s", number, "a", "b"}).substr(0, 20), "ongeldig beginnummer") << number;
        const std::string type = "INDI:" + std::string(number);
        EXPECT_EQ(ParseError({"-t", type, "a", "b"}).substr(0, 20), "ongeldig beginnummer") << number;
    }
}

TEST(ParseArguments, FlagsClustersAndValues) {
    const Options clustered = ParseOk({"-nqm", "lijst.tsv", "a", "b"});
    EXPECT_TRUE(clustered.dryRun);
    EXPECT_TRUE(clustered.quiet);
    EXPECT_EQ(clustered.mapFile, "lijst.tsv");
    EXPECT_EQ(Runs({"-qtFAM:3", "a", "b"}), "FAM:3");
    const Options longForms = ParseOk({"--dry-run", "--quiet", "--map=x.tsv", "a", "b"});
    EXPECT_TRUE(longForms.dryRun && longForms.quiet);
    EXPECT_EQ(longForms.mapFile, "x.tsv");
    EXPECT_TRUE(ParseOk({"a", "-n", "b"}).dryRun);  // options may follow the files
}

TEST(ParseArguments, StandardStreamsAndEndOfOptions) {
    const Options streams = ParseOk({"-", "-"});
    EXPECT_EQ(streams.input, "-");
    EXPECT_EQ(streams.output, "-");
    const Options ended = ParseOk({"-n", "--", "-t", "--help"});
    EXPECT_TRUE(ended.dryRun);
    EXPECT_EQ(ended.input, "-t");
    EXPECT_EQ(ended.output, "--help");
    EXPECT_EQ(ParseOk({"", " "}).output, " ");  // blank names are the run checks' business
}

TEST(ParseArguments, HelpAndVersionNeedNoFiles) {
    EXPECT_EQ(ParseOk({"-h"}).action, Options::Action::ShowHelp);
    EXPECT_EQ(ParseOk({"--help"}).action, Options::Action::ShowHelp);
    EXPECT_EQ(ParseOk({"a", "b", "c", "-h", "--onzin"}).action, Options::Action::ShowHelp);
    EXPECT_EQ(ParseOk({"-nh"}).action, Options::Action::ShowHelp);
    EXPECT_EQ(ParseOk({"--version"}).action, Options::Action::ShowVersion);
    EXPECT_FALSE(ParseError({"--onzin", "-h"}).empty());  // the first problem wins
}

TEST(ParseArguments, UsageErrors) {
    EXPECT_EQ(ParseError({}), "invoer- en uitvoerbestand ontbreken");
    EXPECT_EQ(ParseError({"a"}), "uitvoerbestand ontbreekt");
    EXPECT_EQ(ParseError({"a", "b", "c"}), "te veel argumenten: 'c'");
    EXPECT_EQ(ParseError({"-x", "a", "b"}), "onbekende optie '-x'");
    EXPECT_EQ(ParseError({"--typ=FAM", "a", "b"}), "onbekende optie '--typ'");
    EXPECT_EQ(ParseError({"a", "b", "-t"}), "optie -t/--type verwacht een waarde");
    EXPECT_EQ(ParseError({"a", "b", "--start"}), "optie -s/--start verwacht een waarde");
    EXPECT_EQ(ParseError({"--dry-run=ja", "a", "b"}), "optie -n/--dry-run neemt geen waarde");
    EXPECT_EQ(ParseError({"--version=2"}), "optie --version neemt geen waarde");
    EXPECT_EQ(ParseError({"-t", ":5", "a", "b"}), "ongeldig recordtype ''");
    EXPECT_EQ(ParseError({"-t", "IN DI", "a", "b"}), "ongeldig recordtype 'IN DI'");
    EXPECT_EQ(ParseError({"-t", "_PLAC", "a", "b"}),
              "recordtype '_PLAC' heeft geen standaardvoorvoegsel; geef er een op, bijvoorbeeld _PLAC:1:X");
    // Numbers, prefixes and widths are read completely or refused.
    EXPECT_EQ(ParseError({"-t", "INDI:-25 ", "a", "b"}),
              "ongeldig beginnummer '-25 ' bij 'INDI'; kies een geheel getal van -2147483648 tot 2147483647 (ook $1F of 0x1F)");
    EXPECT_TRUE(ParseError({"-s", "abc", "a", "b"}).starts_with("ongeldig beginnummer 'abc'; kies"));
    EXPECT_TRUE(ParseError({"-s", "  ", "a", "b"}).starts_with("ongeldig beginnummer '  '; kies"));
    EXPECT_EQ(ParseError({"-t", "OBJE:1:M-", "a", "b"}),
              "ongeldig voorvoegsel 'M-'; gebruik 1 tot 20 tekens uit A-Z, a-z, 0-9 en _");
    EXPECT_EQ(ParseError({"-t", "OBJE:1:M:10", "a", "b"}), "ongeldige breedte '10'; kies 1 tot 9");
    EXPECT_EQ(ParseError({"-t", "OBJE:1:M:4:5", "a", "b"}),
              "te veel velden in 'OBJE:1:M:4:5'; gebruik TYPE:BEGIN:VOORVOEGSEL:BREEDTE");
    EXPECT_EQ(ParseError({"-a", "-t", "INDI", "a", "b"}), "-a/--all en -t/--type gaan niet samen");
    EXPECT_EQ(ParseError({"--check"}), "invoerbestand ontbreekt");
    EXPECT_EQ(ParseError({"-s", "1", "-s", "1", "a", "b"}), "optie -s/--start mag maar een keer gegeven worden");
    EXPECT_EQ(ParseError({"-m", "x", "-m", "y", "a", "b"}), "optie -m/--map mag maar een keer gegeven worden");
    EXPECT_EQ(ParseError({"-m", "", "a", "b"}), "optie -m/--map verwacht een bestandsnaam");
    EXPECT_EQ(ParseError({"-m", "-", "a", "b"}), "de vertaallijst gaat naar een bestand, niet naar '-'");
    // Control bytes of an argument never reach the terminal.
    EXPECT_EQ(ParseError({"--\x1b[2J", "a", "b"}), "onbekende optie '--?[2J'");
}

// Random command lines from option-like pieces: every parse ends in a usable result or an error.
TEST(ParseArguments, NeverFailsOnArbitraryArguments) {
    const std::vector<std::string> pieces = {"-", "--", "-t", "-s", "-m", "-n", "-q", "-h", "--type=", "--map",
                                             "INDI:", "fam:$", ":", "=", "-tNOTE:-1", "-nqt", "x", "",
                                             "--start=", "\xff", std::string(1, '\0'), "-\x01"};
    std::mt19937 random(20240314);
    for (int round = 0; round < 5000; ++round) {
        std::vector<std::string> storage(random() % 7);
        for (std::string& arg : storage) arg = pieces[random() % pieces.size()] + pieces[random() % pieces.size()];
        const std::vector<std::string_view> args(storage.begin(), storage.end());
        const ParseResult result = ParseArguments(args);
        if (const auto* options = std::get_if<Options>(&result); options && options->action == Options::Action::Run) {
            EXPECT_FALSE(options->runs.empty());
        } else if (const auto* error = std::get_if<UsageError>(&result)) {
            for (const char c : error->message) EXPECT_GE(static_cast<unsigned char>(c), 32);
        }
    }
}

}  // namespace
}  // namespace halvern::cli
