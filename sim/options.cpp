#include "sim/options.h"

#include <QCommandLineParser>

#include <cstdio>

namespace quvex::sim {

namespace {

constexpr auto kAbout =
    "Plays one QUVEX scan-converter unit on a pseudo-terminal, for trying the panel without "
    "hardware.\n"
    "On start it prints exactly one line to stdout:\n"
    "  quvex-sim: <MODEL> on <pseudo-terminal device path>\n"
    "then serves until SIGINT or SIGTERM. When --vanish-after plugs the unit in again, one more such\n"
    "line names the new device (which may have the old path).\n"
    "Faults: --silent obeys but never answers; --drop loses every Nth line unseen; "
    "--answer-unknown refuses everything; --chatter talks between exchanges; --vanish-after "
    "pulls the adapter once; --wrong-baud answers at another baud rate than the panel's; --garble "
    "obeys a line but garbles its answer.";

std::nullopt_t fail(const QString &message, int &exit_code)
{
    std::fprintf(stderr, "quvex-sim: %s (try --help)\n", qPrintable(message));
    exit_code = 2;
    return std::nullopt;
}

bool read_count(const QCommandLineParser &parser, const QString &name, int minimum, int &out, int &exit_code)
{
    if (!parser.isSet(name))
        return true;
    bool ok = false;
    const int value = parser.value(name).toInt(&ok);
    if (!ok || value < minimum) {
        fail(QStringLiteral("--%1 wants a whole number of at least %2, not \"%3\"")
                 .arg(name)
                 .arg(minimum)
                 .arg(parser.value(name)),
             exit_code);
        return false;
    }
    out = value;
    return true;
}

} // namespace

std::optional<Options> parse_options(const QStringList &arguments, int &exit_code)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QString::fromLatin1(kAbout));
    parser.addHelpOption();
    parser.addOptions({
        {"model", "Unit to play: QVL, QVM, QVMX, QVMK, QK1 or QK2 (default QVM).", "CODE", "QVM"},
        {"no-pacing", "Send answers at once instead of at 9600 baud."},
        {"delay", "Wait this long before each answer.", "MS"},
        {"late", "Answer this much later, e.g. beyond the panel's 1.1 s (write) or 0.6 s (read) wait.", "MS"},
        {"silent", "Never answer."},
        {"answer-unknown", "Answer \"?\" to every line."},
        {"drop", "Lose every Nth line from the panel.", "N"},
        {"noise", "Put a stray byte before some answers."},
        {"seed", "Seed for --noise (default 1).", "N"},
        {"wrong-baud",
         "Answer as a unit set to RATE baud reaches the panel at 9600 baud: at 1200, every answer becomes "
         "bytes that are not text.",
         "RATE"},
        {"garble",
         "Obey the first line that reads LINE (e.g. VideoStd=0) but answer it with the one byte 0x9F, as a noisy "
         "line would garble its acknowledgement. Given again, it garbles one more.",
         "LINE"},
        {"chatter", "While idle, send letters unasked at 960 bytes/s; never within an exchange."},
        {"vanish-after", "Answer the Nth line, then hang up the device as a pulled adapter would, once.", "N"},
        {"vanish-for", "Stay gone this long before offering a new device (default 500).", "MS"},
        {"com", "Link comN in the panel's ports folder to the pseudo-terminal while running.", "N"},
        {"state", "Keep stored settings in FILE (read at start, written by StoreSettings).", "FILE"},
        {"trace", "Log every line received and every answer sent to stderr."},
    });
    if (!parser.parse(arguments))
        return fail(parser.errorText(), exit_code);
    if (parser.isSet("help") || parser.isSet("help-all")) {
        std::fputs(qPrintable(parser.helpText()), stdout);
        exit_code = std::fflush(stdout) == 0 ? 0 : 1;
        return std::nullopt;
    }
    if (!parser.positionalArguments().isEmpty())
        return fail("unexpected argument \"" + parser.positionalArguments().constFirst() + "\"", exit_code);

    Options options;
    const auto model = parse_model(parser.value("model").toStdString());
    if (!model)
        return fail("unknown model \"" + parser.value("model") + "\"", exit_code);
    options.model = *model;
    int seed = 1;
    if (!read_count(parser, "delay", 0, options.delay_ms, exit_code)
        || !read_count(parser, "late", 0, options.late_ms, exit_code)
        || !read_count(parser, "drop", 1, options.faults.drop_every, exit_code)
        || !read_count(parser, "seed", 0, seed, exit_code) || !read_count(parser, "com", 1, options.com, exit_code)
        || !read_count(parser, "vanish-after", 1, options.faults.vanish_after, exit_code)
        || !read_count(parser, "vanish-for", 0, options.vanish_for_ms, exit_code)
        || !read_count(parser, "wrong-baud", 50, options.faults.wrong_baud, exit_code))
        return std::nullopt;
    if (parser.isSet("vanish-for") && !parser.isSet("vanish-after"))
        return fail("--vanish-for needs --vanish-after", exit_code);
    if (parser.isSet("state") && parser.value("state").isEmpty())
        return fail("--state wants a file name", exit_code);
    options.faults.seed = std::uint32_t(seed);
    options.faults.silent = parser.isSet("silent");
    options.faults.answer_unknown = parser.isSet("answer-unknown");
    options.faults.noise = parser.isSet("noise");
    for (const QString &line : parser.values("garble"))
        options.faults.garble.push_back(line.toStdString());
    options.chatter = parser.isSet("chatter");
    options.pacing = !parser.isSet("no-pacing");
    options.state_path = parser.value("state").toStdString();
    options.trace = parser.isSet("trace");
    return options;
}

} // namespace quvex::sim
