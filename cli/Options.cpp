#include "cli/Options.h"

#include <algorithm>
#include <optional>

#include "app/StartNumber.h"
#include "app/tResStr.h"
#include "base/AsciiText.h"
#include "core/IdentifierForm.h"
#include "core/RecordTypes.h"

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

std::string UpperCase(std::string text) {
    for (char& c : text) c = AsciiUpper(c);
    return text;
}

// The message for a start number that is refused (which one, as shown), and what one may be.
std::string StartNumberRefused(std::string_view which) {
    return FillIn(rsOngeldigBeginnummer,
                  {which, std::to_string(kLowestStartNumber), std::to_string(kHighestStartNumber)});
}

// One --type value before the start numbers are settled: a run without its own start number takes
// the one of --start.
struct PendingRun {
    JobRun run;
    bool ownStart = false;
};

// The fields of "TYPE:START:PREFIX:WIDTH", as many as are given.
std::vector<std::string_view> Fields(std::string_view value) {
    std::vector<std::string_view> fields;
    for (std::size_t from = 0;;) {
        const std::size_t colon = value.find(':', from);
        fields.push_back(value.substr(from, colon == std::string_view::npos ? std::string_view::npos : colon - from));
        if (colon == std::string_view::npos) return fields;
        from = colon + 1;
    }
}

enum class OptionId { Type, All, Check, Start, DryRun, Map, Keep, Order, Quiet, Help, Version };

struct OptionSpec {
    OptionId id;
    char shortName;  // '\0' when there is none
    std::string_view longName;
    bool takesValue;
};

constexpr OptionSpec kOptionSpecs[] = {
    {OptionId::Type, 't', "type", true},     {OptionId::All, 'a', "all", false},
    {OptionId::Check, 'c', "check", false},  {OptionId::Start, 's', "start", true},
    {OptionId::DryRun, 'n', "dry-run", false}, {OptionId::Map, 'm', "map", true},
    {OptionId::Keep, 'k', "keep", true},     {OptionId::Order, '\0', "order", true},
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
            case OptionId::All: options_.allTypes = true; return true;
            case OptionId::Check: options_.check = true; return true;
            case OptionId::Start:
                if (start_) return Fail(FillIn(rsOptieEenKeer, {DisplayName(spec)}));
                start_ = ReadWholeStartNumber(value);
                if (!start_) return Fail(StartNumberRefused(Shown(value)));
                return true;
            case OptionId::DryRun: options_.dryRun = true; return true;
            case OptionId::Map:
                if (!options_.mapFile.empty()) return Fail(FillIn(rsOptieEenKeer, {DisplayName(spec)}));
                if (value.empty()) return Fail(FillIn(rsVerwachtBestandsnaam, {DisplayName(spec)}));
                if (value == kStdStream) return Fail(std::string(rsLijstNietNaarStandaard.text));
                options_.mapFile = std::string(value);
                return true;
            case OptionId::Keep:
                if (!options_.keepFile.empty()) return Fail(FillIn(rsOptieEenKeer, {DisplayName(spec)}));
                if (value.empty()) return Fail(FillIn(rsVerwachtBestandsnaam, {DisplayName(spec)}));
                options_.keepFile = std::string(value);
                return true;
            case OptionId::Order: {
                if (order_) return Fail(FillIn(rsOptieEenKeer, {DisplayName(spec)}));
                order_ = NumberingOrderNamed(value);
                if (!order_) return Fail(FillIn(rsOngeldigeVolgorde, {Shown(value)}));
                options_.order = *order_;
                return true;
            }
            case OptionId::Quiet: options_.quiet = true; return true;
            case OptionId::Help: options_.action = Options::Action::ShowHelp; return false;
            case OptionId::Version: options_.action = Options::Action::ShowVersion; return false;
        }
        return Fail(std::string(rsInterneFout.text));
    }

    bool Fail(std::string message) {
        if (!error_) error_ = UsageError{std::move(message)};
        return false;
    }

    void AddPositional(std::string_view arg) { positionals_.emplace_back(arg); }

    ParseResult Finish() {
        if (error_) return *error_;
        if (options_.action != Options::Action::Run) return options_;

        if (options_.allTypes && !pending_.empty()) return UsageError{std::string(rsAllesOfType.text)};
        const bool checkAlone = options_.check && !options_.allTypes && pending_.empty();
        if (positionals_.empty()) {
            return UsageError{std::string(checkAlone ? rsInvoerOntbreekt.text : rsBeideOntbreken.text)};
        }
        if (positionals_.size() == 1 && !checkAlone) return UsageError{std::string(rsUitvoerOntbreekt.text)};
        const std::size_t wanted = checkAlone ? 1 : 2;
        if (positionals_.size() > wanted) return UsageError{FillIn(rsTeVeelArgumenten, {Shown(positionals_[wanted])})};
        options_.input = positionals_[0];
        if (!checkAlone) options_.output = positionals_[1];
        const std::int32_t sharedStart = start_.value_or(1);
        options_.allTypesStart = sharedStart;
        if (pending_.empty() && !options_.allTypes && !checkAlone) pending_.push_back({RunFor(*RecordChoiceForTag("INDI"), 1)});
        for (PendingRun& pending : pending_) {
            if (!pending.ownStart) pending.run.startNumber = sharedStart;
            pending.run.order = options_.order;
            options_.runs.push_back(std::move(pending.run));
        }
        return options_;
    }

private:
    // TYPE[:START[:PREFIX[:WIDTH]]]: an empty field keeps its default.
    bool AddType(std::string_view value) {
        const std::vector<std::string_view> fields = Fields(value);
        if (fields.size() > 4) return Fail(FillIn(rsTeVeelVelden, {Shown(value)}));
        std::string tag(fields[0]);
        if (!IsRecordTag(tag)) return Fail(FillIn(rsOngeldigType, {Shown(fields[0])}));
        // The known types in any letter case ("indi"); a program's own tag exactly as typed.
        if (DefaultPrefix(UpperCase(tag))) tag = UpperCase(tag);
        PendingRun pending{JobRun{tag, IdentifierForm{}, 1}};
        if (fields.size() > 1 && !fields[1].empty()) {
            const std::optional<std::int32_t> start = ReadWholeStartNumber(fields[1]);
            if (!start) return Fail(StartNumberRefused(FillIn(rsBij, {Shown(fields[1]), Shown(tag)})));
            pending.run.startNumber = *start;
            pending.ownStart = true;
        }
        if (fields.size() > 2 && !fields[2].empty()) {
            if (!IsValidPrefix(fields[2])) {
                return Fail(FillIn(rsOngeldigVoorvoegsel, {Shown(fields[2]), std::to_string(kMaxPrefixLength)}));
            }
            pending.run.form.prefix = std::string(fields[2]);
        } else if (const std::optional<std::string_view> prefix = DefaultPrefix(tag)) {
            pending.run.form.prefix = std::string(*prefix);
        } else {
            return Fail(FillIn(rsGeenVoorvoegsel, {Shown(tag), tag}));
        }
        if (fields.size() > 3 && !fields[3].empty()) {
            const std::optional<std::int32_t> width = ReadWholeStartNumber(fields[3]);
            if (!width || !IsValidSerialWidth(*width)) return Fail(FillIn(rsOngeldigeBreedte, {Shown(fields[3])}));
            pending.run.form.width = *width;
        }
        pending_.push_back(std::move(pending));
        return true;
    }

    Options options_;
    std::vector<PendingRun> pending_;
    std::optional<std::int32_t> start_;
    std::optional<NumberingOrder> order_;
    std::vector<std::string> positionals_;
    std::optional<UsageError> error_;
};

// Feeds every argument to the parser, stopping at the first one that ends the parse.
void ReadArguments(Parser& parser, std::span<const std::string_view> args) {
    bool optionsEnded = false;
    std::size_t i = 0;
    // The argument after the current one, as the value of an option that takes one.
    const auto nextArgument = [&](const OptionSpec& spec) -> std::optional<std::string_view> {
        if (i + 1 < args.size()) return args[++i];
        parser.Fail(FillIn(rsVerwachtWaarde, {DisplayName(spec)}));
        return std::nullopt;
    };

    for (; i < args.size(); ++i) {
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
                parser.Fail(FillIn(rsOnbekendeOptie, {Shown("--" + std::string(name))}));
                return;
            }
            std::optional<std::string_view> value = std::string_view();
            if (equals != std::string_view::npos) {
                if (!spec->takesValue) {
                    parser.Fail(FillIn(rsGeenWaarde, {DisplayName(*spec)}));
                    return;
                }
                value = body.substr(equals + 1);
            } else if (spec->takesValue) {
                value = nextArgument(*spec);
            }
            if (!value || !parser.Apply(*spec, *value)) return;
            continue;
        }

        // One or more short options in one argument ("-nq"); a value is the rest of the argument
        // ("-tFAM") or, when nothing is left of it, the next argument ("-t FAM", also "-s -5").
        for (std::size_t pos = 1; pos < arg.size(); ++pos) {
            const OptionSpec* spec = FindShort(arg[pos]);
            if (!spec) {
                parser.Fail(FillIn(rsOnbekendeOptie, {Shown(std::string("-") + arg[pos])}));
                return;
            }
            if (!spec->takesValue) {
                if (!parser.Apply(*spec, {})) return;
                continue;
            }
            const std::optional<std::string_view> value =
                pos + 1 < arg.size() ? arg.substr(pos + 1) : nextArgument(*spec);
            if (!value || !parser.Apply(*spec, *value)) return;
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
