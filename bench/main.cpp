// SPDX-License-Identifier: GPL-3.0-or-later
// The game's benchmarks. Timings of the play screen and the editor run in
// this process on the offscreen platform; start-up and peak memory are taken
// from separate processes in the X server given with --display, each against
// a bare Qt program timed in the same run. Prints a table, writes the JSON
// file when asked, and exits with 1 when a budget is missed.
//
//   veltrano_bench --display :N --game PATH --bare PATH [--json PATH] [--quick]
//                  [--only screen,editor,solver,cpu,start,memory]
//   veltrano_bench --check
//
// --check judges only the answers of the winnability check on the big maps,
// without windows or a display, and no timing is a budget: a wrong answer is
// a fault of the game wherever it runs, a slow one only on a busy machine.

#include "AnimationBench.h"
#include "EditorBench.h"
#include "Forms.h"
#include "MapTextBox.h"
#include "MemoryProbe.h"
#include "ProgramDir.h"
#include "Report.h"
#include "Samples.h"
#include "ScreenBench.h"
#include "SolverBench.h"
#include "StartClock.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <cstring>
#include <memory>

namespace {

// Starts this program as the memory probe, in a process of its own.
constexpr char MemoryProbeFlag[] = "--memory-probe";
constexpr char CheckFlag[] = "--check";

// How many times each piece of work is repeated; --quick cuts them down for
// a look at the figures, not for the record.
struct Runs
{
    int loadscreen = 1000;
    int step = 3000;
    int floor = 1000;
    int keystroke = 500;
    int paste = 10;
    int starts = 40;
    int memory = 3;
    double aboutSeconds = 10;
    int checks = 5;
};

QTextStream &out()
{
    static QTextStream stream(stdout);
    return stream;
}

void progress(const QString &text)
{
    out() << "  " << text << Qt::endl;
}

QJsonObject spread(const Samples &samples)
{
    return {{QStringLiteral("runs"), qint64(samples.count())},
            {QStringLiteral("median_ms"), samples.medianMs()},
            {QStringLiteral("min_ms"), samples.minimumMs()},
            {QStringLiteral("p10_ms"), samples.quantileMs(0.1)},
            {QStringLiteral("p90_ms"), samples.quantileMs(0.9)},
            // Processor time: runs far slower on the wall clock than here
            // were interrupted by other programs, not slow themselves.
            {QStringLiteral("cpu_median_ms"), samples.cpuQuantileMs(0.5)},
            {QStringLiteral("cpu_p90_ms"), samples.cpuQuantileMs(0.9)}};
}

Figure timing(const QString &key, const QString &title, const Samples &samples, std::optional<double> budgetMs)
{
    return Figure{key, title, samples.medianMs(), QStringLiteral("ms"), budgetMs, samples.medianMs(), spread(samples)};
}

double median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

QJsonArray toJson(const std::vector<double> &values)
{
    QJsonArray array;
    for (const double value : values)
        array.append(value);
    return array;
}

void measureScreen(Forms &forms, const Runs &runs, Report &report)
{
    progress(QStringLiteral("play screen: building level 20, stepping, the floor"));
    ScreenBench bench(forms);
    const Samples build = bench.loadscreen(runs.loadscreen);
    const Samples step = bench.step(runs.step);
    const Samples floor = ScreenBench::floor(runs.floor);
    if (!bench.problem().isEmpty())
        report.addProblem(bench.problem());

    report.add(timing(QStringLiteral("loadscreen"), QStringLiteral("build level 20 + its repaint"), build, 0.5));
    report.add(timing(QStringLiteral("step"), QStringLiteral("arrow-key step + repaint"), step, 0.2));
    report.add(timing(QStringLiteral("floor"), QStringLiteral("floor: 256 drawPixmap, bare loop"), floor, {}));
    report.add(Figure{QStringLiteral("step_over_floor"), QStringLiteral("step / floor"),
                      step.medianMs() / floor.medianMs(), QStringLiteral("x"), {}, {}, {}});
    report.add(Figure{QStringLiteral("loadscreen_over_floor"), QStringLiteral("build / floor"),
                      build.medianMs() / floor.medianMs(), QStringLiteral("x"), {}, {}, {}});
}

void measureEditor(Forms &forms, const Runs &runs, Report &report)
{
    progress(QStringLiteral("editor: a keystroke on a full map"));
    EditorBench bench(forms);
    const Samples keystroke = bench.keystroke(runs.keystroke);
    if (!bench.problem().isEmpty())
        report.addProblem(bench.problem());
    report.add(timing(QStringLiteral("editor_keystroke"), QStringLiteral("editor keystroke: check + redraw"),
                      keystroke, 1.0));

    // A paste is one change of the map box however long it is, so the
    // editor answers it in about the time one check of the result takes.
    // The most the box takes is timed in its costliest shape, every
    // character a row of its own; a megabyte is refused.
    progress(QStringLiteral("editor: pasting 10,000 digits, the most the map box takes, and a megabyte"));
    const Samples digits = bench.paste(EditorBench::codes(10000, 0), runs.paste);
    const Samples most = bench.paste(QString(MapTextBox::MaxLength, u'\n'), runs.paste);
    const Samples megabyte = bench.paste(EditorBench::codes(1000000, 16), runs.paste);
    if (!bench.problem().isEmpty())
        report.addProblem(bench.problem());
    report.add(timing(QStringLiteral("editor_paste_10k"), QStringLiteral("editor paste, 10,000 digits"), digits, 300));
    report.add(timing(QStringLiteral("editor_paste_most"),
                      QStringLiteral("editor paste, %1 line breaks").arg(MapTextBox::MaxLength), most, 300));
    report.add(timing(QStringLiteral("editor_paste_1mb"), QStringLiteral("editor paste, 1 MB: refused"), megabyte,
                      5000));
}

// With timingGates false the check's times are figures without a budget;
// its answers are judged either way.
void measureSolver(const Runs &runs, bool timingGates, Report &report)
{
    progress(QStringLiteral("winnability check: %1 runs on each of three big maps").arg(runs.checks));
    const struct
    {
        const char *key;
        const char *file;
        const char *title;
    } maps[] = {
        {"c4_full16", "c4_full16_cash250.lvl", "16 x 16, 250 banknotes, 4 clocks"},
        {"c4_w68", "c4_w68_cash395.lvl", "68 x 17 maze, 395 banknotes, 4 clocks"},
        {"full16", "full16_cash254.lvl", "16 x 16 full of banknotes"},
    };
    SolverBench bench;
    for (const auto &map : maps) {
        const SolverBench::Result result = bench.check(QString::fromLatin1(map.file), runs.checks);
        const QString key = QString::fromLatin1(map.key);
        const QString title = QString::fromLatin1(map.title);
        report.add(timing(QStringLiteral("check_") + key, QStringLiteral("check: ") + title, result.samples,
                          timingGates ? std::optional<double>(500) : std::nullopt));
        if (result.overBound)
            report.add(Figure{QStringLiteral("route_over_bound_") + key,
                              QStringLiteral("route / lower bound: ") + title, *result.overBound,
                              QStringLiteral("x"), SolverBench::MostOverBound, {}, {}});
    }
    for (const QString &problem : bench.problems())
        report.addProblem(problem);
}

void measureAnimations(Forms &forms, const Runs &runs, Report &report)
{
    AnimationBench bench(forms);
    const auto figure = [](const QString &key, const QString &title, const AnimationBench::Use &use) {
        return Figure{key,
                      title,
                      use.percentOfCore,
                      QStringLiteral("% core"),
                      3.0,
                      {},
                      {{QStringLiteral("cpu_s"), use.cpuSeconds}, {QStringLiteral("wall_s"), use.wallSeconds}}};
    };
    progress(QStringLiteral("about screen: %1 s of credits").arg(runs.aboutSeconds));
    report.add(figure(QStringLiteral("cpu_about"), QStringLiteral("CPU, about screen animating"),
                      bench.about(runs.aboutSeconds)));
    progress(QStringLiteral("end-of-game display: 17.5 s"));
    report.add(figure(QStringLiteral("cpu_end_display"), QStringLiteral("CPU, end-of-game display"),
                      bench.endDisplay()));
    if (!bench.problem().isEmpty())
        report.addProblem(bench.problem());
}

// The game copied into a directory of its own: whatever it writes beside
// itself lands there and not in the build tree.
QString privateCopy(const QString &game, const QTemporaryDir &dir)
{
    const QString copy = dir.filePath(QStringLiteral("veltrano"));
    if (!QFile::copy(game, copy))
        return {};
    return copy;
}

// One start of a program, tried again when a neighbour slowed the machine so
// much that its window was missed.
std::optional<StartClock::Start> timedStart(StartClock &clock, const QString &program, const QString &title)
{
    for (int attempt = 0; attempt < 3; ++attempt) {
        if (const std::optional<StartClock::Start> start = clock.measure(program, title))
            return start;
    }
    return std::nullopt;
}

void measureStart(const QString &display, const QString &game, const QString &bare, const Runs &runs,
                  Report &report)
{
    progress(QStringLiteral("start-up: %1 runs each of the game and the bare program").arg(runs.starts));
    StartClock clock(display);
    const QTemporaryDir gameDir;
    const QString gameCopy = privateCopy(game, gameDir);
    if (!clock.isReady() || gameCopy.isEmpty()) {
        report.addProblem(QStringLiteral("start-up: no X server with the damage extension at %1, or no game to copy")
                              .arg(display));
        return;
    }
    const QString gameTitle = QStringLiteral("Main Menu");
    const QString bareTitle = QStringLiteral("Bare Label");
    // The first start of each may still load libraries from disk; it is
    // reported apart and left out of the medians.
    const std::optional<StartClock::Start> firstGame = timedStart(clock, gameCopy, gameTitle);
    const std::optional<StartClock::Start> firstBare = timedStart(clock, bare, bareTitle);
    std::vector<double> gameMs, gameMappedMs, gameCpuMs, bareMs, bareMappedMs, bareCpuMs, pairRatios;
    for (int run = 0; run < runs.starts; ++run) {
        // Alternating which goes first spreads a neighbour's load over both.
        const bool gameFirst = run % 2 == 0;
        for (int turn = 0; turn < 2; ++turn) {
            const bool isGame = (turn == 0) == gameFirst;
            const std::optional<StartClock::Start> start =
                isGame ? timedStart(clock, gameCopy, gameTitle) : timedStart(clock, bare, bareTitle);
            if (!start) {
                report.addProblem(isGame ? QStringLiteral("start-up: the main menu never showed")
                                         : QStringLiteral("start-up: the bare program's label never showed"));
                return;
            }
            (isGame ? gameMs : bareMs).push_back(start->drawnMs);
            (isGame ? gameMappedMs : bareMappedMs).push_back(start->mappedMs);
            (isGame ? gameCpuMs : bareCpuMs).push_back(start->cpuMs);
        }
        pairRatios.push_back(gameMs.back() / bareMs.back());
    }
    const auto details = [](const std::vector<double> &drawn, const std::vector<double> &mapped,
                            const std::vector<double> &cpu, const std::optional<StartClock::Start> &first) {
        return QJsonObject{{QStringLiteral("runs_ms"), toJson(drawn)},
                           {QStringLiteral("min_ms"), *std::min_element(drawn.begin(), drawn.end())},
                           {QStringLiteral("mapped_median_ms"), median(mapped)},
                           {QStringLiteral("cpu_median_ms"), median(cpu)},
                           {QStringLiteral("first_ms"), first ? first->drawnMs : 0}};
    };
    const double gameMedian = median(gameMs);
    const double bareMedian = median(bareMs);
    report.add(Figure{QStringLiteral("start_game"), QStringLiteral("start to main menu drawn"), gameMedian,
                      QStringLiteral("ms"), {}, gameMedian, details(gameMs, gameMappedMs, gameCpuMs, firstGame)});
    report.add(Figure{QStringLiteral("start_bare"), QStringLiteral("start to bare label drawn"), bareMedian,
                      QStringLiteral("ms"), {}, bareMedian, details(bareMs, bareMappedMs, bareCpuMs, firstBare)});
    // Two starts taken one right after the other share the machine's load,
    // so the ratio within each pair varies less than the starts themselves.
    report.add(Figure{QStringLiteral("start_ratio"), QStringLiteral("start-up, game / bare"), gameMedian / bareMedian,
                      QStringLiteral("x"), 1.3, {},
                      {{QStringLiteral("pair_ratio_median"), median(pairRatios)},
                       {QStringLiteral("cpu_ratio"), median(gameCpuMs) / median(bareCpuMs)}}});
}

// Runs a program in the X server and reads the number it prints.
std::optional<double> printedNumber(const QString &program, const QStringList &arguments, const QString &display)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DISPLAY"), display);
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return std::nullopt;
    bool ok = false;
    const double value = process.readAllStandardOutput().trimmed().toDouble(&ok);
    return ok ? std::optional<double>(value) : std::nullopt;
}

void measureMemory(const QString &display, const QString &bare, const Runs &runs, Report &report)
{
    progress(QStringLiteral("peak memory: %1 runs each").arg(runs.memory));
    std::vector<double> gameKiB;
    std::vector<double> bareKiB;
    for (int run = 0; run < runs.memory; ++run) {
        const std::optional<double> game =
            printedNumber(QCoreApplication::applicationFilePath(), {QString::fromLatin1(MemoryProbeFlag)}, display);
        const std::optional<double> yardstick = printedNumber(bare, {}, display);
        if (!game || !yardstick) {
            report.addProblem(QStringLiteral("peak memory: a probe did not report"));
            return;
        }
        gameKiB.push_back(*game);
        bareKiB.push_back(*yardstick);
    }
    const double game = median(gameKiB);
    const double yardstick = median(bareKiB);
    report.add(Figure{QStringLiteral("memory_game"), QStringLiteral("peak memory, 20 levels + editor"), game,
                      QStringLiteral("KiB"), {}, {}, {{QStringLiteral("runs_kib"), toJson(gameKiB)}}});
    report.add(Figure{QStringLiteral("memory_bare"), QStringLiteral("peak memory, bare label"), yardstick,
                      QStringLiteral("KiB"), {}, {}, {{QStringLiteral("runs_kib"), toJson(bareKiB)}}});
    report.add(Figure{QStringLiteral("memory_ratio"), QStringLiteral("peak memory, game / bare"), game / yardstick,
                      QStringLiteral("x"), 1.5, {}, {}});
}

// The offscreen platform cannot raise a window, and says so at every show;
// everything else Qt has to say is passed on.
void quietRaise(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (message.contains(QStringLiteral("does not support raise()")))
        return;
    QTextStream(stderr) << qFormatLogMessage(type, context, message) << Qt::endl;
}

bool hasFlag(int argc, char *argv[], const char *flag)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], flag) == 0)
            return true;
    }
    return false;
}

} // namespace

int main(int argc, char *argv[])
{
    // The timings run offscreen, where no display server adds its own noise;
    // the memory probe is started in the X server, as the game runs.
    const bool probe = hasFlag(argc, argv, MemoryProbeFlag);
    if (!probe) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        qInstallMessageHandler(quietRaise);
    }
    qputenv("QT_LOGGING_RULES", "qt.qpa.*=false");
    // The check of answers alone loads no window system at all, so it runs
    // on a machine without any display.
    const bool checkOnly = hasFlag(argc, argv, CheckFlag);
    const std::unique_ptr<QCoreApplication> app =
        checkOnly ? std::make_unique<QCoreApplication>(argc, argv) : std::make_unique<QApplication>(argc, argv);
    if (!checkOnly)
        QGuiApplication::setQuitOnLastWindowClosed(false);

    // The game's progress file goes here, never into the source tree.
    const QTemporaryDir programDir;
    ProgramDir::setPath(programDir.path());

    if (probe) {
        const std::optional<qint64> peak = MemoryProbe::runSession();
        if (!peak)
            return 1;
        out() << *peak << Qt::endl;
        return 0;
    }

    QCommandLineParser parser;
    parser.addHelpOption();
    const QCommandLineOption display(QStringLiteral("display"), QStringLiteral("X server for start-up and memory."),
                                     QStringLiteral("name"));
    const QCommandLineOption game(QStringLiteral("game"), QStringLiteral("The game's executable."),
                                  QStringLiteral("path"));
    const QCommandLineOption bare(QStringLiteral("bare"), QStringLiteral("The bare Qt program."),
                                  QStringLiteral("path"));
    const QCommandLineOption json(QStringLiteral("json"), QStringLiteral("Where to write the figures as JSON."),
                                  QStringLiteral("path"));
    const QCommandLineOption quick(QStringLiteral("quick"), QStringLiteral("Fewer runs, for a first look."));
    const QCommandLineOption check(QString::fromLatin1(CheckFlag).mid(2),
                                   QStringLiteral("Only judge the winnability check's answers, once on each big map, "
                                                  "with no timing budget and no display."));
    const QCommandLineOption only(QStringLiteral("only"),
                                  QStringLiteral("Measure only these groups: screen, editor, solver, cpu, start, memory."),
                                  QStringLiteral("groups"));
    parser.addOptions({display, game, bare, json, quick, only, check});
    parser.process(*app);

    Runs runs;
    if (parser.isSet(quick))
        runs = Runs{100, 300, 100, 50, 3, 5, 1, 3, 1};
    if (checkOnly)
        runs.checks = 1;
    QStringList groups;
    if (checkOnly)
        groups = {QStringLiteral("solver")};
    else if (parser.isSet(only))
        groups = parser.value(only).split(u',');
    const auto wanted = [&groups](const QString &group) { return groups.isEmpty() || groups.contains(group); };
    // Only the figures taken in separate processes need the X server and
    // the programs; the rest can run alone, e.g. under a profiler.
    if ((wanted(QStringLiteral("start")) || wanted(QStringLiteral("memory")))
        && (!parser.isSet(display) || !parser.isSet(game) || !parser.isSet(bare))) {
        QTextStream(stderr) << "veltrano_bench: start and memory need --display, --game and --bare" << Qt::endl;
        return 2;
    }

    Report report;
    out() << "Measuring (" << Report::machine().value(QStringLiteral("cpu_model")).toString() << ")" << Qt::endl;
    if (wanted(QStringLiteral("screen")) || wanted(QStringLiteral("editor"))) {
        Forms forms;
        if (wanted(QStringLiteral("screen")))
            measureScreen(forms, runs, report);
        if (wanted(QStringLiteral("editor")))
            measureEditor(forms, runs, report);
    }
    if (wanted(QStringLiteral("solver")))
        measureSolver(runs, !checkOnly, report);
    if (wanted(QStringLiteral("cpu"))) {
        Forms forms;
        measureAnimations(forms, runs, report);
    }
    const QString gamePath = QDir(parser.value(game)).absolutePath();
    const QString barePath = QDir(parser.value(bare)).absolutePath();
    if (wanted(QStringLiteral("start")))
        measureStart(parser.value(display), gamePath, barePath, runs, report);
    if (wanted(QStringLiteral("memory")))
        measureMemory(parser.value(display), barePath, runs, report);

    out() << Qt::endl << report.table();
    if (parser.isSet(json)) {
        if (!report.writeJson(parser.value(json))) {
            QTextStream(stderr) << "veltrano_bench: cannot write " << parser.value(json) << Qt::endl;
            return 1;
        }
        out() << "Figures written to " << parser.value(json) << Qt::endl;
    }
    return report.allMet() ? 0 : 1;
}
