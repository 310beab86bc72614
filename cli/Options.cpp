#include "cli/Options.h"

#include <optional>

#include "app/StartNumber.h"

namespace halvern::cli {

namespace {

// An argument echoed in a message, with control bytes shown as '?' so that a stray escape
// sequence on the command line cannot play tricks with the terminal.
std::string Shown(std::string_view arg) {
    std::string text = "'";
    for (const char c : arg) {
        const auto byte = static_cast<unsigned char>(c);
        text += (byte < 32 || byte == 127) ? '?' : c;
    }
    text += '\'';
    return text;
}

// One --type value before the start numbers are settled: a run without its own start number takes
// the one of --start.
struct PendingRun {
    RecordChoice choice;
    std::optional<std::int32_t> ownStart;
};

enum class OptionId { Type, Start, DryRun, Map, Quiet, Help, Version };

struct OptionSpec {
    OptionId id;
    char shortName;  // '\0' when there is none
    std::string_view longName;
    bool takesValue;
};

constexpr OptionSpec kOptionSpecs[] = {
    {OptionId::Type, 't', "type", true},     {OptionId::Start, 's', "start", true},
    {OptionId::DryRun, 'n', "dry-run", false}, {OptionId::Map, 'm', "map", true},
    {OptionId::Quiet, 'q', "quiet", false},  {OptionId::Help, 'h', "help", false},
    {OptionId::Version, '\0', "version", false},
};

const OptionSpec* FindShort(char name) {
    for (const OptionSpec& spec : kOptionSpecs) {
        if (spec.shortName != '\0' && spec.shortName == name) return &spec;
    }
    return nullptr;
}

const OptionSpec* FindLong(std::string_view name) {
    for (const OptionSpec& spec : kOptionSpecs) {
        if (spec.longName == name) return &spec;
    }
    return nullptr;
}

// "-t/--type", or "--version" for an option without a short name.
std::string DisplayName(const OptionSpec& spec) {
    std::string name;
    if (spec.shortName != '\0') name.append("-").append(1, spec.shortName).append("/");
    return name.append("--").append(spec.longName);
}

// Collects the options one at a time; the first problem found is kept and ends the parse.
class Parser {
public:
    // Returns false when parsing must stop: an error, or a request for help or the version.
    bool Apply(const OptionSpec& spec, std::string_view value) {
        switch (spec.id) {
            case OptionId::Type: return AddType(value);
            case OptionId::Start:
                if (startText_) return Fail("optie -s/--start mag maar een keer gegeven worden");
                startText_ = std::string(value);
                return true;
            case OptionId::DryRun: options_.dryRun = true; return true;
            case OptionId::Map:
                if (!options_.mapFile.empty()) return Fail("optie -m/--map mag maar een keer gegeven worden");
                if (value.empty()) return Fail("optie -m/--map verwacht een bestandsnaam");
                if (value == kStdStream) return Fail("de vertaallijst gaat naar een bestand, niet naar '-'");
                options_.mapFile = std::string(value);
                return true;
            case OptionId::Quiet: options_.quiet = true; return true;
            case OptionId::Help: options_.action = Options::Action::ShowHelp; return false;
            case OptionId::Version: options_.action = Options::Action::ShowVersion; return false;
        }
        return Fail("interne fout bij het lezen van de opties");
    }

    bool Fail(std::string message) {
        if (!error_) error_ = UsageError{std::move(message)};
        return false;
    }

    void AddPositional(std::string_view arg) { positionals_.emplace_back(arg); }

    ParseResult Finish() {
        if (error_) return *error_;
        if (options_.action != Options::Action::Run) return options_;

        if (positionals_.empty()) return UsageError{"invoer- en uitvoerbestand ontbreken"};
        if (positionals_.size() == 1) return UsageError{"uitvoerbestand ontbreekt"};
        if (positionals_.size() > 2) return UsageError{"te veel argumenten: " + Shown(positionals_[2])};
        options_.input = positionals_[0];
        options_.output = positionals_[1];

        const std::int32_t sharedStart = startText_ ? ReadStartNumber(*startText_) : 1;
        if (pending_.empty()) pending_.push_back({*RecordChoiceForTag("INDI"), std::nullopt});
        for (const PendingRun& run : pending_) {
            options_.runs.push_back({run.choice, run.ownStart.value_or(sharedStart)});
        }
        return options_;
    }

private:
    bool AddType(std::string_view value) {
        const std::size_t colon = value.find(':');
        const std::string_view tag = value.substr(0, colon);
        const std::optional<RecordChoice> choice = RecordChoiceForTag(tag);
        if (!choice) {
            return Fail("onbekend recordtype " + Shown(tag) + "; kies INDI, FAM, NOTE of SOUR");
        }
        PendingRun run{*choice, std::nullopt};
        // Like the choice dialog's number box: what follows ':' is read leniently, blank gives 1.
        if (colon != std::string_view::npos) run.ownStart = ReadStartNumber(value.substr(colon + 1));
        pending_.push_back(run);
        return true;
    }

    Options options_;
    std::vector<PendingRun> pending_;
    std::optional<std::string> startText_;
    std::vector<std::string> positionals_;
    std::optional<UsageError> error_;
};

// Feeds every argument to the parser, stopping at the first one that ends the parse.
void ReadArguments(Parser& parser, std::span<const std::string_view> args) {
    bool optionsEnded = false;

    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view arg = args[i];

        if (optionsEnded || arg.size() < 2 || arg[0] != '-') {  // "-" too: a standard stream
            parser.AddPositional(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }

        if (arg.starts_with("--")) {
            const std::string_view body = arg.substr(2);
            const std::size_t equals = body.find('=');
            const std::string_view name = body.substr(0, equals);
            const OptionSpec* spec = FindLong(name);
            if (!spec) {
                parser.Fail("onbekende optie " + Shown("--" + std::string(name)));
                return;
            }
            std::string_view value;
            if (equals != std::string_view::npos) {
                if (!spec->takesValue) {
                    parser.Fail("optie " + DisplayName(*spec) + " neemt geen waarde");
                    return;
                }
                value = body.substr(equals + 1);
            } else if (spec->takesValue) {
                if (i + 1 == args.size()) {
                    parser.Fail("optie " + DisplayName(*spec) + " verwacht een waarde");
                    return;
                }
                value = args[++i];
            }
            if (!parser.Apply(*spec, value)) return;
            continue;
        }

        // One or more short options in one argument ("-nq"); a value is the rest of the argument
        // ("-tFAM") or, when nothing is left of it, the next argument ("-t FAM", also "-s -5").
        for (std::size_t pos = 1; pos < arg.size(); ++pos) {
            const OptionSpec* spec = FindShort(arg[pos]);
            if (!spec) {
                parser.Fail("onbekende optie " + Shown(std::string("-") + arg[pos]));
                return;
            }
            if (!spec->takesValue) {
                if (!parser.Apply(*spec, {})) return;
                continue;
            }
            std::string_view value = arg.substr(pos + 1);
            if (value.empty()) {
                if (i + 1 == args.size()) {
                    parser.Fail("optie " + DisplayName(*spec) + " verwacht een waarde");
                    return;
                }
                value = args[++i];
            }
            if (!parser.Apply(*spec, value)) return;
            break;
        }
    }
}

}  // namespace

ParseResult ParseArguments(std::span<const std::string_view> args) {
    Parser parser;
    ReadArguments(parser, args);
    return parser.Finish();
}

}  // namespace halvern::cli
