#include "command_line.h"

#include "catalogue/unit_models.h"
#include "ports/port_device.h"
#include "serial/network_address.h"
#include "text/visible_text.h"

#include <QCommandLineParser>

#include <cstdio>

namespace quvex::cli {

namespace {

// kLineLeft: the line's options are taken and mean nothing, so that one set of options (an
// alias's, a script's) may lead every command.
enum Accepts {
    kModel = 1,
    kJson = 2,
    kOutput = 4,
    kLine = 8,
    kProbe = 16,
    kAll = 32,
    kStore = 64,
    kKeep = 128,
    kAt = 256,
    kShow = 512,
    kLineLeft = 1024,
    kEvery = 2047
};

struct CommandForm
{
    Command command;
    const char *name;
    const char *arguments; // as the usage line shows them
    const char *argument_about;
    int least; // arguments
    int most;  // -1: any number
    int accepts;
    const char *about;
};

const CommandForm kCommands[] = {
    {Command::Detect, "detect", "", "", 0, 0, kLine | kJson,
     "Prints the unit's model code and name, separated by a tab."},
    {Command::Read, "read", "", "", 0, 0, kLine | kModel | kOutput,
     "Backs the unit up: reads every item of its model and writes a settings file, the same bytes as\n"
     "the panel's File > Save, to standard output or to FILE (replaced only when the read is complete)."},
    {Command::Write, "write", "FILE", "A settings file.", 1, 1, kLine | kModel | kAll,
     "Restores the settings file FILE as the panel's File > Open does: its items in file order, each\n"
     "read back, the unit's video mode restored. Then lists the items whose read-back differs:\n"
     "name, file value, unit value, separated by tabs. Lines that name no item of the file's model\n"
     "are not sent; standard error names them.\n"
     "With --all, into every unit of the file's model on every numbered port and every port the system\n"
     "reports, all at once. One line a port: its number (else its device), the unit's name, and\n"
     "\"written\", \"written; read back otherwise: \" and those items, \"another model, left alone\", \"no\n"
     "answer\" or what failed. Only units of the file's model count: the exit status is the worst of\n"
     "theirs, 2 when there is none."},
    {Command::Diff, "diff", "FILE", "A settings file.", 1, 1, kLine | kModel | kJson,
     "Reads the unit and lists the items whose value differs from the settings file FILE: name, file\n"
     "value, unit value, separated by tabs. Nothing is written. Empty and unknown values are not\n"
     "compared. A line that names no item of the file's model is listed as its name, a tab and\n"
     "\"not an item of\" with the model code."},
    {Command::Get, "get", "NAME...", "Items' names, each one argument.", 1, -1, kLine | kModel | kJson,
     "Prints the unit's value of each item, name and value separated by a tab; an option item's value\n"
     "is the position of its option, from 0. NAME is the item's name as the panel's list shows it,\n"
     "mode prefix included ('Flicker Red.', 'PO\\Out H-Centre:'), or the same without its spaces."},
    {Command::Set, "set", "NAME=VALUE...", "An item's name, \"=\" and the value to send.", 1, -1, kLine | kModel,
     "Sends each value to the unit, reads it back and prints what the unit holds, as get does. VALUE\n"
     "is a decimal number, less than 1e15 in magnitude and of at most 15 significant digits; for an\n"
     "option item the position of its option, from 0."},
    {Command::Store, "store", "", "", 0, 0, kLine, "Makes the unit keep its current settings (Store Settings)."},
    {Command::Reset, "reset", "", "", 0, 0, kLine, "Resets the unit and ends once the unit has acknowledged it."},
    {Command::Ports, "ports", "", "", 0, 0, kJson | kProbe | kLineLeft,
     "Lists the serial ports there are, one line each: its port number (\"-\" when it has none), its\n"
     "device and what the system says it is, separated by tabs. With --probe each port that opens is\n"
     "asked which unit it has, with the read-only queries of detect, all ports at once; a fourth column\n"
     "gives the model's code, \"no answer\", \"answers, but not as a QUVEX unit\", or why the port did\n"
     "not open. The last column is the name given to the port's unit in the Units window (empty: none)."},
    {Command::Backup, "backup", "", "", 0, 0, kLine | kJson | kAll | kStore | kKeep,
     "Keeps the unit's settings file in the backup store as a new version when it differs from the\n"
     "newest one there; with --all every unit the store knows and every numbered port that answers as\n"
     "a QUVEX unit, all at once. One line a unit: port, model, and \"new version\", \"unchanged\", \"no\n"
     "unit\" (a port without one) or why it failed. Exit status 2 when a unit could not be backed up."},
    {Command::Changes, "changes", "", "", 0, 0, kLine | kAll | kStore,
     "Lists what changed on the unit since its newest version in the backup store: item, value then,\n"
     "value now, separated by tabs (with --all every unit the store knows, port and model first).\n"
     "Exit status 0 none, 1 some, 2 a unit unreachable, 3 no backup yet: a monitor's OK, WARNING,\n"
     "CRITICAL and UNKNOWN."},
    {Command::History, "history", "", "", 0, 0, kLine | kAll | kStore | kShow,
     "Lists the unit's versions in the backup store, oldest first: time (UTC) and how many items it\n"
     "changed from the one before. With --show TIME prints that version's settings file."},
    {Command::Restore, "restore", "", "", 0, 0, kLine | kStore | kAt,
     "Writes the unit's newest version in the backup store (or the one at TIME) back into it, as\n"
     "write does."},
};

constexpr auto kAbout =
    "Backs up, restores, compares and adjusts a QUVEX scan-converter unit on a serial line, with the\n"
    "control panel's own exchanges and settings file.\n"
    "\n"
    "Commands (quvexctl COMMAND --help tells more):\n"
    "  detect               print the unit's model code and name\n"
    "  read [-o FILE]       back the unit up into a settings file\n"
    "  write [--all] FILE   restore a settings file into the unit, or every unit of its model\n"
    "  diff FILE            list the items whose value differs from a settings file\n"
    "  get NAME...          print items' values\n"
    "  set NAME=VALUE...    send items' values, then print them as read back\n"
    "  store                make the unit keep its settings\n"
    "  reset                reset the unit\n"
    "  ports [--probe]      list the serial ports, and with --probe the unit on each\n"
    "  backup [--all]       keep the unit's settings in the backup store, when they changed\n"
    "  changes [--all]      list what changed since the newest backup\n"
    "  history [--all]      list the versions in the backup store\n"
    "  restore [--at TIME]  write a version from the backup store back into the unit\n"
    "\n"
    "Exit status: 0 done (diff: no difference); 1 differences found, or file lines that name no\n"
    "item; 2 the unit did not answer, refused an item or is another model than the file; 3 bad\n"
    "usage, an unknown item name, a value that cannot be sent exactly, or a file that cannot be\n"
    "read or written.";

const QCommandLineOption kPort(QStringLiteral("port"),
                               QStringLiteral("Serial port number N, as the panel numbers ports (default 1)."),
                               QStringLiteral("N"));
const QCommandLineOption
    kDevice(QStringLiteral("device"),
            QStringLiteral("The serial device at PATH, or tcp://HOST:PORT for a unit behind a serial device server "
                           "(raw TCP), instead of a port number."),
            QStringLiteral("PATH"));
const QCommandLineOption
    kModelOption(QStringLiteral("model"),
                 QStringLiteral("The unit's model: QVL, QVM, QVMX, QVMK, QK1, QK2, or auto to ask the unit (default)."),
                 QStringLiteral("CODE"), QStringLiteral("auto"));
const QCommandLineOption kJsonOption(QStringLiteral("json"),
                                     QStringLiteral("Print JSON instead of tab-separated lines."));
const QCommandLineOption
    kTraceOption(QStringLiteral("trace"),
                 QStringLiteral("Write the wire log to standard error: every line sent, every answer and every event, "
                                "each with its time in ms."));
const QCommandLineOption kProbeOption(QStringLiteral("probe"),
                                      QStringLiteral("Ask every port that opens which unit it has."));
const QCommandLineOption
    kReadOnlyOption(QStringLiteral("read-only"),
                    QStringLiteral("Refuse set, write, store and reset before anything is sent (exit status 3)."));
const QCommandLineOption kOutputOption({QStringLiteral("o"), QStringLiteral("output")},
                                       QStringLiteral("Write the settings file to FILE instead of standard output "
                                                      "(- is standard output)."),
                                       QStringLiteral("FILE"));

const QCommandLineOption kAllOption(QStringLiteral("all"), QStringLiteral("Every unit instead of one."));
const QCommandLineOption kStoreOption({QStringLiteral("to"), QStringLiteral("store")},
                                      QStringLiteral("The backup store in DIR instead of the user's own."),
                                      QStringLiteral("DIR"));
const QCommandLineOption kKeepOption(QStringLiteral("keep"), QStringLiteral("Keep the newest N versions (default 30)."),
                                     QStringLiteral("N"), QStringLiteral("30"));
const QCommandLineOption kAtOption(QStringLiteral("at"), QStringLiteral("The version of TIME, as history prints it."),
                                   QStringLiteral("TIME"));
const QCommandLineOption kShowOption(QStringLiteral("show"),
                                     QStringLiteral("Print the version of TIME, as history prints it."),
                                     QStringLiteral("TIME"));

bool changes_unit(Command command)
{
    return command == Command::Write || command == Command::Set || command == Command::Store
           || command == Command::Reset || command == Command::Restore;
}

// why names what was given as text::visible() shows it.
int refuse(const QString &why, bool hint = true)
{
    std::fprintf(stderr, "quvexctl: %s%s\n", why.toLocal8Bit().constData(), hint ? " (try --help)" : "");
    return kExitUsage;
}

int print_help(const QCommandLineParser &parser, const QString &usage)
{
    // Qt's usage line names the program as it was started, path and all.
    QString text = parser.helpText();
    text.replace(0, text.indexOf(u'\n'), QStringLiteral("Usage: quvexctl [options] ") + usage);
    std::fputs(text.toLocal8Bit().constData(), stdout);
    return std::fflush(stdout) == 0 ? kExitSuccess : kExitUsage;
}

bool wants_help(const QCommandLineParser &parser)
{
    return parser.isSet(QStringLiteral("help")) || parser.isSet(QStringLiteral("help-all"));
}

void add_options(QCommandLineParser &parser, int accepts)
{
    parser.addHelpOption();
    // The wire log goes with the commands that talk over the line.
    if (accepts & kLine) {
        parser.addOptions({kPort, kDevice, kTraceOption, kReadOnlyOption});
    } else if (accepts & kLineLeft) {
        for (QCommandLineOption left : {kPort, kDevice, kTraceOption, kReadOnlyOption}) {
            left.setFlags(QCommandLineOption::HiddenFromHelp);
            parser.addOption(left);
        }
    }
    if (accepts & kModel)
        parser.addOption(kModelOption);
    if (accepts & kJson)
        parser.addOption(kJsonOption);
    if (accepts & kOutput)
        parser.addOption(kOutputOption);
    if (accepts & kProbe)
        parser.addOption(kProbeOption);
    const std::pair<int, const QCommandLineOption *> store_options[] = {
        {kAll, &kAllOption}, {kStore, &kStoreOption}, {kKeep, &kKeepOption}, {kAt, &kAtOption}, {kShow, &kShowOption}};
    for (const auto &[flag, option] : store_options) {
        if (accepts & flag)
            parser.addOption(*option);
    }
}

// 0 for a code no model has.
int model_index(const QString &code)
{
    for (int i = 1; i < catalogue::kUnitModelCount; ++i) {
        if (catalogue::unit_models()[static_cast<std::size_t>(i)].code == code)
            return i;
    }
    return 0;
}

// The options of the backup store's commands.
std::variant<Invocation, int> store_options(const QCommandLineParser &parser, int accepts, Invocation call)
{
    call.all = (accepts & kAll) && parser.isSet(kAllOption);
    if (call.all && (parser.isSet(kPort) || parser.isSet(kDevice) || call.trace))
        return refuse(QStringLiteral("--all does not go with --port, --device or --trace"));
    call.store = (accepts & kStore) ? parser.value(kStoreOption) : QString();
    if ((accepts & kStore) && parser.isSet(kStoreOption) && call.store.isEmpty())
        return refuse(QStringLiteral("--to wants a folder"));
    if (accepts & kKeep) {
        bool ok = false;
        call.keep = parser.value(kKeepOption).toInt(&ok);
        if (!ok || call.keep < 1)
            return refuse(
                QStringLiteral("--keep wants a number of at least 1, not \"%1\"").arg(parser.value(kKeepOption)));
    }
    for (const QCommandLineOption *option : {&kAtOption, &kShowOption}) {
        if ((accepts & (option == &kAtOption ? kAt : kShow)) && parser.isSet(*option))
            call.at = parser.value(*option);
    }
    if (call.all && !call.at.isEmpty())
        return refuse(QStringLiteral("--show is for one unit, not --all"));
    if (call.all && call.model != 0)
        return refuse(QStringLiteral("--all asks each unit its model: it does not go with --model"));
    return call;
}

} // namespace

std::variant<Invocation, int> parse_command_line(const QStringList &arguments)
{
    // The command word is the first argument that is neither an option nor an option's value;
    // options may stand before or after it, so every option is known here.
    QCommandLineParser finder;
    add_options(finder, kEvery);
    finder.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    finder.setApplicationDescription(QString::fromLatin1(kAbout));
    if (!finder.parse(arguments))
        return refuse(text::visible(finder.errorText()));
    if (finder.positionalArguments().isEmpty())
        return wants_help(finder) ? print_help(finder, QStringLiteral("COMMAND [arguments]"))
                                  : refuse(QStringLiteral("no command given"));

    const QString word = finder.positionalArguments().constFirst();
    const CommandForm *form = nullptr;
    for (const CommandForm &candidate : kCommands) {
        if (word == QLatin1String(candidate.name))
            form = &candidate;
    }
    if (!form)
        return refuse(QStringLiteral("unknown command \"%1\"").arg(text::visible(word)));

    QCommandLineParser parser;
    add_options(parser, form->accepts);
    parser.setApplicationDescription(QString::fromLatin1(form->about));
    const QString synopsis = QString::fromLatin1(form->arguments);
    if (!synopsis.isEmpty())
        parser.addPositionalArgument(synopsis, QString::fromLatin1(form->argument_about));
    if (!parser.parse(arguments))
        return refuse(text::visible(parser.errorText()));
    if (wants_help(parser))
        return print_help(parser, (word + u' ' + synopsis).trimmed());

    Invocation call;
    call.command = form->command;
    call.arguments = parser.positionalArguments().mid(1);
    if (call.arguments.size() < form->least || (form->most >= 0 && call.arguments.size() > form->most))
        return refuse(*form->arguments ? QStringLiteral("%1 wants %2").arg(word, QString::fromLatin1(form->arguments))
                                       : QStringLiteral("%1 takes no arguments").arg(word));
    const bool line = form->accepts & (kLine | kLineLeft);
    if (line && parser.isSet(kPort) && parser.isSet(kDevice))
        return refuse(QStringLiteral("--port and --device do not go together"));
    if (line && parser.isSet(kPort)) {
        bool ok = false;
        call.port = parser.value(kPort).toInt(&ok);
        // Port numbers are 16-bit, as the panel's port box takes them.
        if (!ok || call.port < 1 || call.port > 32767)
            return refuse(QStringLiteral("--port wants a number from 1 to 32767, not \"%1\"")
                              .arg(text::visible(parser.value(kPort))));
    }
    call.device = line ? parser.value(kDevice) : QString();
    if (line && parser.isSet(kDevice) && call.device.isEmpty())
        return refuse(QStringLiteral("--device wants a path"));
    // The message says what to give; no help says more.
    if (ports::is_network_target(call.device) && !serial::parse_network_address(call.device))
        return refuse(serial::not_a_network_address(call.device), false);
    if (form->accepts & kModel) {
        const QString code = parser.value(kModelOption);
        call.model = code == QLatin1String("auto") ? 0 : model_index(code);
        if (call.model == 0 && code != QLatin1String("auto"))
            return refuse(QStringLiteral("unknown model \"%1\"").arg(text::visible(code)));
    }
    call.read_only = (form->accepts & kLine) && parser.isSet(kReadOnlyOption);
    // Before the port is opened: a script that must never write gets nothing sent.
    if (call.read_only && changes_unit(call.command))
        return refuse(QStringLiteral("%1 changes the unit, which --read-only refuses").arg(word));
    call.json = (form->accepts & kJson) && parser.isSet(kJsonOption);
    call.trace = (form->accepts & kLine) && parser.isSet(kTraceOption);
    call.probe = (form->accepts & kProbe) && parser.isSet(kProbeOption);
    if (form->accepts & kOutput) {
        call.output = parser.value(kOutputOption);
        if (parser.isSet(kOutputOption) && call.output.isEmpty())
            return refuse(QStringLiteral("-o wants a file name"));
        if (call.output == QLatin1String("-"))
            call.output.clear();
    }
    return store_options(parser, form->accepts, call);
}

} // namespace quvex::cli
