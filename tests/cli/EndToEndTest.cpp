// Runs the built halvern-cli on files in a fresh folder and looks at what it leaves behind.
#include <gtest/gtest.h>

#include "base/ProgramVersion.h"
#include "tests/cli/CliFolder.h"

#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

using halvern::testing::CliFolder;
using halvern::testing::ReadFile;
using halvern::testing::WriteFile;
using Outcome = halvern::testing::CliOutcome;

const std::string& Example() {
    static const std::string text = ReadFile(fs::path(HALVERN_SOURCE_DIR) / "examples" / "voorbeeld.ged");
    return text;
}

// What renumbering the given types one after the other must give, worked out independently of the
// program: the records of each type are numbered in the order of their "0 @X@ TAG" lines, and every
// @...@ token that names one of them is replaced.
struct Form {
    std::string tag;
    std::string prefix;
    int width = 5;
    int start = 1;
};

std::string Expected(std::string text, const std::vector<Form>& types) {
    for (const auto& [tag, prefix, width, start] : types) {
        std::map<std::string, std::string> renamed;
        int serial = start;  // a record defined twice keeps its first serial and uses up two
        std::istringstream lines(text);
        for (std::string line; std::getline(lines, line);) {
            const std::size_t close = line.find('@', 3);
            const std::string after = close == std::string::npos ? "" : line.substr(close + 1, tag.size() + 2);
            if (line.starts_with("0 @") && (after == " " + tag + "\r" || after == " " + tag + " ")) {
                char digits[16];
                std::snprintf(digits, sizeof digits, "%0*d", width, serial++);
                renamed.emplace(line.substr(2, close - 1), "@" + prefix + digits + "@");
            }
        }
        std::string result;
        for (std::size_t pos = 0; pos < text.size();) {
            const std::size_t close = text[pos] == '@' ? text.find('@', pos + 1) : std::string::npos;
            const auto hit = close == std::string::npos ? renamed.end() : renamed.find(text.substr(pos, close - pos + 1));
            if (hit != renamed.end()) {
                result += hit->second;
                pos = close + 1;
            } else {
                result += text[pos++];
            }
        }
        text = result;
    }
    return text;
}

class CliRun : public CliFolder {
protected:
    void SetUp() override {
        CliFolder::SetUp();
        WriteFile(At("in.ged"), Example());
    }
    std::string Name(const std::string& leaf) const { return At(leaf).string(); }
};

const std::vector<Form> kIndiThenFam = {{"INDI", "I"}, {"FAM", "F"}};

TEST_F(CliRun, RenumbersIndividualsThenFamiliesByteForByte) {
    const Outcome run = Run({"-t", "INDI", "-t", "fam", "in.ged", "uit.ged"});
    ASSERT_EQ(run.status, 0) << run.err;
    const std::string result = ReadFile(At("uit.ged"));
    EXPECT_EQ(result, Expected(Example(), kIndiThenFam));
    // A few lines looked at directly: Jan de Vries (@I12@) comes first, his family (@F9@) too.
    EXPECT_NE(result.find("0 @I00001@ INDI\r\n1 NAME Jan /de Vries/\r\n"), std::string::npos);
    EXPECT_NE(result.find("0 @F00001@ FAM\r\n1 HUSB @I00001@\r\n1 WIFE @I00002@\r\n"), std::string::npos);
    EXPECT_NE(result.find("0 @I00020@ INDI\r\n1 NAME Daan /de Vries/\r\n"), std::string::npos);
    EXPECT_NE(result.find("1 NOTE @N8@\r\n"), std::string::npos);
    EXPECT_EQ(result.find("@I12@"), std::string::npos);
    EXPECT_EQ(ReadFile(At("in.ged")), Example());
    EXPECT_EQ(run.out.substr(0, 35), "aantal INDI : 20\naantal FAM : 6\n00:");
    EXPECT_EQ(run.err, "");
}

TEST_F(CliRun, StandardStreamsCarryOnlyTheDocument) {
    const Outcome piped = Run({"-t", "INDI", "-t", "FAM", "-", "-"}, Example());
    ASSERT_EQ(piped.status, 0) << piped.err;
    EXPECT_EQ(piped.out, Expected(Example(), kIndiThenFam));
    EXPECT_EQ(piped.err.substr(0, 32), "aantal INDI : 20\naantal FAM : 6\n");

    const Outcome fromFile = Run({"-q", "-s", "$10", "in.ged", "-"});
    ASSERT_EQ(fromFile.status, 0) << fromFile.err;
    EXPECT_NE(fromFile.out.find("0 @I00016@ INDI\r\n1 NAME Jan /de Vries/"), std::string::npos);
    EXPECT_EQ(fromFile.err, "");
}

TEST_F(CliRun, DryRunAndQuiet) {
    WriteFile(At("uit.ged"), "oud");
    const Outcome dry = Run({"-n", "-m", "lijst.tsv", "in.ged", "uit.ged"});
    EXPECT_EQ(dry.status, 0);
    EXPECT_EQ(dry.out.substr(0, 54), "aantal INDI : 20\nproefdraaien: er is niets geschreven\n");
    EXPECT_EQ(ReadFile(At("uit.ged")), "oud");
    EXPECT_FALSE(fs::exists(At("lijst.tsv")));

    const Outcome quiet = Run({"-q", "in.ged", "stil.ged"});
    EXPECT_EQ(quiet.status, 0);
    EXPECT_EQ(quiet.out + quiet.err, "");
    EXPECT_EQ(ReadFile(At("stil.ged")), Expected(Example(), {{"INDI", "I"}}));
}

TEST_F(CliRun, MapListsEveryRenamedIdentifier) {
    const Outcome run = Run({"-q", "-t", "INDI", "-t", "FAM:7", "-m", "lijst.tsv", "in.ged", "uit.ged"});
    ASSERT_EQ(run.status, 0) << run.err;
    const std::string map = ReadFile(At("lijst.tsv"));
    EXPECT_EQ(std::count(map.begin(), map.end(), '\n'), 26);
    EXPECT_TRUE(map.starts_with("INDI\t@I12@\t@I00001@\t\nINDI\t@I7@\t@I00002@\t\nINDI\t@I31@\t@I00003@\t\n"));
    EXPECT_TRUE(map.ends_with("INDI\t@I62@\t@I00020@\t\nFAM\t@F9@\t@F00007@\t\n"
                              "FAM\t@F3@\t@F00008@\t\nFAM\t@F14@\t@F00009@\t\nFAM\t@F5@\t@F00010@\t\n"
                              "FAM\t@F21@\t@F00011@\t\nFAM\t@F30@\t@F00012@\t\n"));
}

TEST_F(CliRun, HelpVersionAndUsage) {
    const Outcome help = Run({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_TRUE(help.out.starts_with("Gebruik: halvern-cli [opties] INVOER UITVOER\n"));
    const Outcome version = Run({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "halvern-cli " HALVERN_VERSION_TEXT "\n");

    for (const auto& args : std::vector<std::vector<std::string>>{{}, {"in.ged"}, {"-x", "in.ged", "uit.ged"}}) {
        const Outcome usage = Run(args);
        EXPECT_EQ(usage.status, 1);
        EXPECT_TRUE(usage.err.starts_with("halvern-cli: ")) << usage.err;
        EXPECT_NE(usage.err.find("\nGebruik: halvern-cli"), std::string::npos);
        EXPECT_EQ(usage.out, "");
    }
}

TEST_F(CliRun, DoubleDashEndsTheOptionsSoNamesMayStartWithADash) {
    WriteFile(At("-x.ged"), Example());
    const Outcome run = Run({"-q", "-t", "FAM", "--", "-x.ged", "-y.ged"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(ReadFile(At("-y.ged")), Expected(Example(), {{"FAM", "F"}}));
    EXPECT_EQ(run.out + run.err, "");

    // Without "--" the same name is an unknown option, told under the program's name.
    const Outcome refused = Run({"-x.ged", "uit.ged"});
    EXPECT_EQ(refused.status, 1);
    EXPECT_TRUE(refused.err.starts_with("halvern-cli: onbekende optie '-x'\n")) << refused.err;
    EXPECT_FALSE(fs::exists(At("uit.ged")));
}

TEST_F(CliRun, UnusableInputIsRefusedWithStatusTwo) {
    fs::create_directory(At("map"));
    WriteFile(At("nul.ged"), std::string("0 HEAD\r\n\0\r\n0 TRLR\r\n", 18));
    WriteFile(At("leeg.ged"), " \r\n\t\r\n");
    const struct {
        std::vector<std::string> args;
        std::string stdinBytes;
        std::string message;
    } cases[] = {
        {{"weg.ged", "uit.ged"}, "", "Het bestand \"weg.ged\" kan niet geopend worden: het bestaat niet."},
        {{"map", "uit.ged"}, "", "Het bestand \"map\" kan niet geopend worden: het is een map."},
        {{"", "uit.ged"}, "", "Er is geen bestand opgegeven om te openen."},
        {{"nul.ged", "uit.ged"}, "", "Verkeert bestandsformaat."},
        {{"-", "uit.ged"}, std::string("0 HEAD\0", 7), "Verkeert bestandsformaat."},
        {{"leeg.ged", "uit.ged"}, "", "Er zijn geen gegevens om te hernummeren."},
        {{"-", "-"}, "\r\n", "Er zijn geen gegevens om te hernummeren."},
    };
    for (const auto& c : cases) {
        const Outcome run = Run(c.args, c.stdinBytes);
        EXPECT_EQ(run.status, 2) << c.message;
        EXPECT_EQ(run.err, "halvern-cli: " + c.message + "\n");
        EXPECT_EQ(run.out, "");
        EXPECT_FALSE(fs::exists(At("uit.ged")));
    }
}

TEST_F(CliRun, NeverWritesOverTheInput) {
    fs::create_symlink(At("in.ged"), At("link.ged"));
    fs::create_directory(At("sub"));
    const std::string same = "halvern-cli: Het invoerbestand heeft dezelfde naam als het uitvoerbestand.\n";
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"in.ged", "in.ged"}, {"in.ged", "link.ged"}, {"in.ged", Name("in.ged")}, {"in.ged", "sub/../in.ged"}}) {
        const Outcome run = Run(args);
        EXPECT_EQ(run.status, 1) << args[1];
        EXPECT_EQ(run.err, same);
    }
    const Outcome blank = Run({"in.ged", " "});
    EXPECT_EQ(blank.status, 1);
    EXPECT_EQ(blank.err, "halvern-cli: Er is geen bestand opgegeven om de gegevens in op te slaan.\n");
    for (const std::string map : {"in.ged", "uit.ged", "./uit.ged"}) {
        const Outcome run = Run({"-m", map, "in.ged", "uit.ged"});
        EXPECT_EQ(run.status, 1) << map;
        EXPECT_EQ(run.err, "halvern-cli: de vertaallijst mag niet hetzelfde bestand zijn als de invoer of de uitvoer\n");
    }
    EXPECT_EQ(ReadFile(At("in.ged")), Example());
    EXPECT_FALSE(fs::exists(At("uit.ged")));
}

TEST_F(CliRun, RefusedRunLeavesEveryFileAsItWas) {
    // 20001 individuals from -10000 on: -10000 and 10000 would both end in "10000".
    std::string many = "0 HEAD\r\n";
    for (int i = 0; i <= 20000; ++i) many += "0 @P" + std::to_string(i) + "@ INDI\r\n";
    many += "0 TRLR\r\n";
    WriteFile(At("veel.ged"), many);
    WriteFile(At("uit.ged"), "bestaand");

    const Outcome run = Run({"-t", "FAM", "-t", "INDI", "-s", "-10000", "-m", "lijst.tsv", "veel.ged", "uit.ged"});
    EXPECT_EQ(run.status, 3);
    EXPECT_EQ(run.err, "halvern-cli: De nieuwe nummers zouden dubbel voorkomen; er is niets hernummerd.\n");
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(ReadFile(At("uit.ged")), "bestaand");
    EXPECT_FALSE(fs::exists(At("lijst.tsv")));
    EXPECT_EQ(Run({"-q", "-s", "-9999", "veel.ged", "uit.ged"}).status, 0);  // one fewer fits
}

TEST_F(CliRun, FailedWriteGivesStatusFour) {
    const Outcome output = Run({"-m", "lijst.tsv", "in.ged", "geen/uit.ged"});
    EXPECT_EQ(output.status, 4);
    EXPECT_TRUE(output.err.starts_with("halvern-cli: geen/uit.ged: ")) << output.err;
    EXPECT_TRUE(output.err.ends_with(".\n"));
    EXPECT_EQ(std::count(output.err.begin(), output.err.end(), '\n'), 1);
    EXPECT_EQ(output.out, "");
    EXPECT_FALSE(fs::exists(At("lijst.tsv")));

    // A map that cannot be written leaves the output as it was, written as it is made or whole.
    WriteFile(At("uit.ged"), "oud");
    for (const std::string made : {"-q", "-qctINDI"}) {
        const Outcome map = Run({made, "-m", "geen/lijst.tsv", "in.ged", "uit.ged"});
        EXPECT_EQ(map.status, 4);
        EXPECT_TRUE(map.err.starts_with("halvern-cli: geen/lijst.tsv: ")) << map.err;
        EXPECT_EQ(ReadFile(At("uit.ged")), "oud") << made;
        EXPECT_EQ(Entries(), (std::vector<std::string>{"in.ged", "uit.ged"}));
    }
}

TEST_F(CliRun, EveryRecordTypeInTheUsersOwnForm) {
    // NOTE and SNOTE share the prefix N: SNOTE goes on after NOTE, whose record defined twice uses
    // up two serials.
    std::string notes = Example();
    notes.insert(notes.find("0 TRLR"), "0 @N8@ NOTE nogmaals\r\n0 @G1@ SNOTE gedeeld\r\n1 NOTE @N2@\r\n0 @G2@ SNOTE\r\n");
    WriteFile(At("notities.ged"), notes);
    const struct {
        std::vector<std::string> args;
        std::vector<Form> forms;
        std::string input = "in.ged";
    } cases[] = {
        {{"--all"}, {{"INDI", "I"}, {"FAM", "F"}, {"NOTE", "N"}, {"SOUR", "S"}, {"REPO", "R"}, {"OBJE", "O"}, {"SUBM", "U"}}},
        {{"-t", "OBJE::M:4", "-t", "repo:1:Archief_:1"}, {{"OBJE", "M", 4}, {"REPO", "Archief_", 1}}},
        {{"-t", "subm:::9", "-t", "SOUR:1:Bron"}, {{"SUBM", "U", 9}, {"SOUR", "Bron"}}},
        {{"-a", "-s", "$64"},
         {{"INDI", "I", 5, 100}, {"FAM", "F", 5, 100}, {"NOTE", "N", 5, 100}, {"SNOTE", "N", 5, 103},
          {"SOUR", "S", 5, 100}, {"REPO", "R", 5, 100}, {"OBJE", "O", 5, 100}, {"SUBM", "U", 5, 100}},
         "notities.ged"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args = c.args;
        args.insert(args.end(), {c.input, "uit.ged"});
        const Outcome run = Run(args);
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(ReadFile(At("uit.ged")), Expected(ReadFile(At(c.input)), c.forms)) << c.args[0];
    }
}

TEST_F(CliRun, ANewIdentifierThatIsTakenAlreadyIsRefused) {
    // @I00002@ is a reference without a record: after the run it would name the second individual.
    WriteFile(At("los.ged"), "0 HEAD\r\n0 @A@ INDI\r\n0 @B@ INDI\r\n0 @N1@ NOTE zie @I00002@\r\n1 REFN @I00002@\r\n0 TRLR\r\n");
    const Outcome run = Run({"los.ged", "uit.ged"});
    EXPECT_EQ(run.status, 3);
    EXPECT_EQ(run.err, "halvern-cli: Een nieuw nummer staat al in het bestand; er is niets hernummerd. (@I00002@)\n");
    EXPECT_FALSE(fs::exists(At("uit.ged")));
    EXPECT_EQ(Run({"-t", "INDI:3", "los.ged", "uit.ged"}).status, 0) << "from 3 no new identifier is taken";
}

TEST_F(CliRun, TheReportFindsWhatIsPlantedAndNothingInACleanFile) {
    WriteFile(At("fout.ged"),
              "0 HEAD\n0 @I1@ INDI\n1 FAMS @F1@\n0 @I2@ INDI\n1 FAMC @F9@\n0 @F1@ FAM\n1 HUSB @I1@\n"
              "0 @F1@ FAM\n0 @N1@ NOTE over niemand\n0 @S1@ SOUR\n1 REPO @VOID@\n0 TRLR\n");
    const Outcome found = Run({"--check", "fout.ged"});
    EXPECT_EQ(found.status, 5);
    EXPECT_EQ(found.out,
              "aantal records per type:\n  INDI : 2\n  FAM : 2\n  NOTE : 1\n  SOUR : 1\n"
              "verwijzingen naar een identificatie die geen record heeft:\n  regel 5: @F9@\n"
              "identificaties die meer dan een record hebben:\n  @F1@ op regel 6, 8\n"
              "records waar niets naar verwijst (personen niet meegeteld: die staan vaak op zichzelf):\n"
              "  NOTE @N1@ op regel 9\n  SOUR @S1@ op regel 10\n"
              "2 problemen gevonden\n");
    EXPECT_EQ(Entries(), (std::vector<std::string>{"fout.ged", "in.ged"})) << "nothing written";

    const Outcome clean = Run({"-c", "in.ged"});
    EXPECT_EQ(clean.status, 0) << clean.out;
    EXPECT_TRUE(clean.out.ends_with("geen problemen gevonden\n")) << clean.out;
    // With runs: the report reads the renumbered text, and the output is written.
    const Outcome after = Run({"-c", "-q", "--all", "in.ged", "uit.ged"});
    EXPECT_EQ(after.status, 0) << after.err;
    EXPECT_NE(after.out.find("  OBJE @O00002@ op regel"), std::string::npos) << after.out;
    EXPECT_TRUE(fs::exists(At("uit.ged")));
}

}  // namespace

// A UTF-16 file's map and report name its identifiers in UTF-8, as the file has them (a surrogate
// pair as its one character, unit 0 as the map's \x00, a lone surrogate as U+FFFD), while the
// renumbered file keeps every unit it does not renumber, the lone surrogate too.
TEST_F(CliRun, AUtf16FilesMapAndReportAreUtf8) {
    const auto utf16le = [](std::u16string_view text) {
        std::string bytes;
        for (const char16_t unit : text) bytes += {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
        return bytes;
    };
    const std::u16string lone = u"1 ASSO @\xD800@\n0 TRLR\n";
    using namespace std::string_literals;  // the literal's unit 0 belongs to it
    WriteFile(At("utf16.ged"), utf16le(u"\xFEFF" u"0 HEAD\n0 @\U0001F600@ INDI\n0 @a\0b@ INDI\n"s + lone));
    const Outcome run = Run({"-q", "-c", "-t", "INDI", "-m", "lijst.tsv", "utf16.ged", "uit.ged"});
    EXPECT_EQ(run.status, 5) << run.err;
    EXPECT_EQ(ReadFile(At("lijst.tsv")), "INDI\t@\xF0\x9F\x98\x80@\t@I00001@\t\nINDI\t@a\\x00b@\t@I00002@\t\n");
    EXPECT_EQ(run.out, "aantal records per type:\n  INDI : 2\n"
                       "verwijzingen naar een identificatie die geen record heeft:\n  regel 4: @\xEF\xBF\xBD@\n"
                       "1 probleem gevonden\n");
    EXPECT_EQ(ReadFile(At("uit.ged")), utf16le(u"\xFEFF" u"0 HEAD\n0 @I00001@ INDI\n0 @I00002@ INDI\n" + lone));
}

namespace {

// --keep: lists that cannot be used end with 2 and name their line, a kept number that stands in
// the file as something else ends with 3; --order: one case per order on a small file.
TEST_F(CliRun, KeptListsAndOrders) {
    WriteFile(At("klein.ged"), "0 HEAD\n1 CHAR UTF-8\n0 @P10@ INDI\n1 NAME Jan /de Vries/\n0 @P2@ INDI\n"
                               "1 NAME \xC3\x89mile /\xC3\x89mst/\n0 @P7@ INDI\n1 NAME Anna /Bakker/\n0 @X1@ FAM\n1 HUSB @P10@\n0 TRLR\n");
    const struct {
        std::string list;
        int status;
        std::string message;  // a part of standard error
    } lists[] = {
        {"INDI\t@P2@\n", 2, "lijst.tsv: Regel 1 van de lijst heeft geen drie of vier velden"},
        {"\nINDI\t@P2@\t@I1@\tU\tV\n", 2, "Regel 2 van de lijst heeft geen drie of vier velden"},
        {"IN DI\t@P2@\t@I1@\n", 2, "Regel 1 van de lijst noemt geen recordtype maar \"IN DI\""},
        {"INDI\tP2\t@I1@\n", 2, "Regel 1 van de lijst heeft \"P2\" waar een nummer als @I1@ hoort"},
        {"INDI\t@P2@\t@I1@\nINDI\t@P7@\t@I1@\n", 2, "Regel 2 van de lijst geeft het nummer \"@I1@\" aan een tweede"},
        {"INDI\t@P2@\t@I1@\nINDI\t@P2@\t@I2@\n", 2, "Regel 2 van de lijst geeft het oude nummer \"@P2@\" een tweede"},
        {"INDI\t@P2@\t@I1@\tU\nINDI\t@P7@\t@I2@\tU\n", 2, "unieke code \"U\" een tweede nieuw nummer; regel 1"},
        {"INDI\t@P2@\t@X1@\n", 3, "Een nieuw nummer staat al in het bestand; er is niets hernummerd. (@X1@)"},
        {"INDI\t@P2@\t@I00009@\nFAM\t@X1@\t@F00001@\n", 0, ""},
    };
    for (const auto& c : lists) {
        WriteFile(At("lijst.tsv"), c.list);
        const Outcome run = Run({"-q", "-k", "lijst.tsv", "klein.ged", "uit.ged"});
        EXPECT_EQ(run.status, c.status) << c.list;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
    }
    // The kept @I00009@ stays and the others follow it.
    EXPECT_EQ(ReadFile(At("uit.ged")).substr(20, 54), "0 @I00010@ INDI\n1 NAME Jan /de Vries/\n0 @I00009@ INDI\n");
    const Outcome missing = Run({"-k", "geen.tsv", "klein.ged", "uit.ged"});
    EXPECT_EQ(missing.status, 2);
    EXPECT_NE(missing.err.find("\"geen.tsv\" kan niet geopend worden: het bestaat niet."), std::string::npos);
    EXPECT_EQ(Run({"--order", "naam", "klein.ged", "uit.ged"}).status, 1);

    const struct {
        std::string order;
        std::string ids;  // the new identifiers of P10, P2, P7 in the file's order
    } orders[] = {{"definition", "123"}, {"old", "312"}, {"name", "321"}};
    for (const auto& c : orders) {
        ASSERT_EQ(Run({"-q", "--order", c.order, "-t", "INDI::P:1", "klein.ged", "uit.ged"}).status, 0);
        std::string ids;
        for (std::size_t at = ReadFile(At("uit.ged")).find("0 @P"); at != std::string::npos;
             at = ReadFile(At("uit.ged")).find("0 @P", at + 1)) {
            ids += ReadFile(At("uit.ged"))[at + 4];
        }
        EXPECT_EQ(ids, c.ids) << c.order;
    }
}

}  // namespace
