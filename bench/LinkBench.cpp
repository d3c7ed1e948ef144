// bench/link: the real vq3 against the real vq3 sim over a pseudo-terminal, the whole commands, start-up and
// memory of both programs. Prints the rows of the benchmark table: measurement | value | target | met.
#include "EchoFloor.h"
#include "Processes.h"
#include "Table.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>
#include <stdexcept>
#include <thread>

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace qm::bench
{

namespace
{

/// One character on the 4800-baud line, 8N1, in milliseconds.
constexpr double kCharacterMs = 10.0 * 1000.0 / 4800.0;
constexpr int kWriteBytes = 129;

struct Setup
{
    std::string build;
    std::string examples;
    std::string work;
    int runs = 10;

    std::string vq3() const { return build + "/vq3"; }
    std::string config() const { return examples + "/tracking.vq3"; }
    std::string image() const { return work + "/unit.bin"; }
};

/// A running vq3 sim and the terminal it answers on.
class Sim
{
public:
    Sim(const Setup& setup, bool lineRate) : Sim(setup, std::string(lineRate ? "--line-rate" : "")) {}
    /// A unit with the one option given ("" for none).
    Sim(const Setup& setup, const std::string& option)
        : m_process(option.empty() ? std::vector<std::string>{setup.vq3(), "sim", "--image", setup.image()}
                                   : std::vector<std::string>{setup.vq3(), "sim", "--image", setup.image(), option},
                    {}, true)
    {
        const auto line = m_process.readLine(5'000);
        if (!line)
            throw std::runtime_error("vq3 sim did not name its terminal");
        m_path = *line;
    }
    const std::string& path() const { return m_path; }

private:
    Process m_process;
    std::string m_path;
};

struct TraceLine
{
    double ms = 0;
    bool sent = false;
    int byte = 0;
};

std::vector<TraceLine> readTrace(const std::string& path)
{
    std::vector<TraceLine> lines;
    std::ifstream file(path);
    std::string text;
    while (std::getline(file, text)) {
        std::istringstream words(text);
        TraceLine line;
        std::string direction;
        words >> line.ms >> direction >> std::hex >> line.byte;
        line.sent = direction == "->";
        lines.push_back(line);
    }
    return lines;
}

/// The time of one transaction in a trace: from its command byte going out to the last byte received before the
/// transaction's last byte is followed by anything the program sends next (a write's read-back "U", a probe), in
/// milliseconds (negative when not found). A read is its last "U" (the one before is the identification); a
/// write is its first "D" (its image bytes can hold a "D" too) and the 128 bytes after it.
double transactionMs(const std::vector<TraceLine>& trace, int command)
{
    const std::size_t sent = command == 'D' ? static_cast<std::size_t>(kWriteBytes) : 1;
    std::size_t first = trace.size();
    for (std::size_t i = 0; i < trace.size(); ++i) {
        if (trace[i].sent && trace[i].byte == command) {
            first = i;
            if (command == 'D')
                break;
        }
    }
    if (first == trace.size())
        return -1;
    double end = -1;
    std::size_t sentSoFar = 0;
    for (std::size_t i = first; i < trace.size(); ++i) {
        if (trace[i].sent && ++sentSoFar > sent)
            break;
        if (!trace[i].sent)
            end = trace[i].ms;
    }
    return end < 0 ? -1 : end - trace[first].ms;
}

struct CommandRun
{
    double wallMs = 0;
    double transactionMs = 0;
    long maxRssKb = 0;
};

/// Runs vq3 with the arguments against the terminal; the transaction is timed from the trace when traced.
CommandRun runVq3(const Setup& setup, std::vector<std::string> arguments, int command, bool traced)
{
    const std::string tracePath = setup.work + "/trace.txt";
    std::vector<std::string> argv{setup.vq3()};
    if (traced) {
        argv.push_back("--trace");
        argv.push_back(tracePath);
    }
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    Process vq3(argv);
    const auto finished = vq3.wait();
    if (finished.status != 0)
        throw std::runtime_error("vq3 " + arguments.front() + " ended with status " + std::to_string(finished.status));
    CommandRun run{millisecondsBetween(vq3.started(), finished.end), 0, finished.maxRssKb};
    if (traced)
        run.transactionMs = transactionMs(readTrace(tracePath), command);
    return run;
}

/// Runs a program with its standard output into a new file; returns the milliseconds from its start to its end.
double timedRun(const std::vector<std::string>& argv, const std::string& outputFile)
{
    // A file emptied and written again is flushed to the disk when it is closed (ext4's guard for programs that
    // replace a file in place), which would measure the disk; a new file is not.
    ::unlink(outputFile.c_str());
    Process program(argv, {}, false, outputFile);
    const auto finished = program.wait();
    if (finished.status != 0)
        throw std::runtime_error(argv.front() + " ended with status " + std::to_string(finished.status));
    return millisecondsBetween(program.started(), finished.end);
}

std::vector<std::string> writeArguments(const Setup& setup, const Sim& sim)
{
    return {"write", setup.config(), "--port", sim.path()};
}

std::vector<std::string> readArguments(const Sim& sim)
{
    return {"read", "--port", sim.path()};
}

void lineRateTransactions(const Setup& setup, Table& table)
{
    Sim sim(setup, true);
    std::vector<double> writes;
    std::vector<double> reads;
    std::vector<double> plainWrites;
    std::string stream = "D" + std::string(128, '\0');
    for (int i = 0; i < setup.runs; ++i) {
        writes.push_back(runVq3(setup, writeArguments(setup, sim), 'D', true).transactionMs);
        reads.push_back(runVq3(setup, readArguments(sim), 'U', true).transactionMs);
        plainWrites.push_back(echoPacedWriteMs(sim.path(), stream));
    }
    const double writeBound = 2 * kWriteBytes * kCharacterMs;
    const double readBound = (1 + 131) * kCharacterMs;
    table.ratio("sim --line-rate: minimal client's write / bound", median(plainWrites) / writeBound, 1.03,
                median(plainWrites), writeBound);
    table.ratio("vq3 write transaction / line-rate bound", median(writes) / writeBound, 1.03, median(writes),
                writeBound);
    table.plain("vq3 write transaction / minimal client's write", median(writes) / median(plainWrites));
    table.ratio("vq3 read transaction / line-rate bound", median(reads) / readBound, 1.03, median(reads), readBound);
}

void wholeCommands(const Setup& setup, Table& table)
{
    Sim sim(setup, true);
    std::vector<double> identifies;
    std::vector<double> reads;
    std::vector<double> writes;
    long rss = 0;
    for (int i = 0; i < setup.runs; ++i) {
        identifies.push_back(runVq3(setup, {"identify", "--port", sim.path()}, 0, false).wallMs);
        reads.push_back(runVq3(setup, readArguments(sim), 0, false).wallMs);
        const auto write = runVq3(setup, writeArguments(setup, sim), 0, false);
        writes.push_back(write.wallMs);
        rss = std::max(rss, write.maxRssKb);
    }
    const double identifyBound = (2 + 132) * kCharacterMs;
    const double readBound = (2 + 132 + 132) * kCharacterMs;
    // The write reads the unit back to verify it: one more request and reply.
    const double writeBound = (2 + 132 + 2 * kWriteBytes + 132) * kCharacterMs;
    table.ratio("vq3 identify, start to exit / wire bound", median(identifies) / identifyBound, 1.10,
                median(identifies), identifyBound);
    table.ratio("vq3 read, start to exit / wire bound", median(reads) / readBound, 1.10, median(reads), readBound);
    table.ratio("vq3 write, start to exit / wire bound", median(writes) / writeBound, 1.10, median(writes), writeBound);
    table.atMost("vq3 write peak resident memory (MB)", static_cast<double>(rss) / 1024, 15);
}

void hostOverhead(const Setup& setup, Table& table)
{
    Sim sim(setup, false);
    std::vector<double> writes;
    std::vector<double> floors;
    for (int i = 0; i < setup.runs; ++i) {
        writes.push_back(runVq3(setup, writeArguments(setup, sim), 'D', true).transactionMs);
        floors.push_back(echoLoopMs(kWriteBytes));
    }
    const double write = median(writes);
    const double floor = median(floors);
    table.plain("poll() echo loop, 129 round trips (ms)", floor);
    table.plain("vq3 write without pacing, per echoed byte (us)", write * 1000 / kWriteBytes);
    table.ratio("vq3 write without pacing / poll() echo loop", write / floor, 1.5, write, floor);
}

void compileCommand(const Setup& setup, Table& table)
{
    std::vector<double> times;
    long rss = 0;
    for (int i = 0; i < setup.runs; ++i) {
        const auto run = runVq3(setup, {"compile", setup.config(), "-o", setup.work + "/compiled.bin"}, 0, false);
        times.push_back(run.wallMs);
        rss = std::max(rss, run.maxRssKb);
    }
    table.atMost("vq3 compile, start to exit (ms)", median(times), 20);
    table.atMost("vq3 compile peak resident memory (MB)", static_cast<double>(rss) / 1024, 15);

    // Side by side with a plain C++ program that reads the same file and writes the same output file (standard
    // output into it, so neither syncs the disk and only the programs' own costs differ), alternating.
    const std::string output = setup.work + "/compiled-stdout.bin";
    std::vector<double> compiles;
    std::vector<double> floors;
    for (int i = 0; i < 3 * setup.runs; ++i) {
        compiles.push_back(timedRun({setup.vq3(), "compile", setup.config()}, output));
        floors.push_back(timedRun({setup.build + "/bench/file_floor", setup.config()}, output));
    }
    table.plain("plain C++ program reading and writing the same files (ms)", median(floors));
    table.ratio("vq3 compile, start to exit / plain C++ program", median(compiles) / median(floors), 2,
                median(compiles), median(floors));
}

std::map<std::string, std::string> desktopEnvironment(const Setup& setup, const std::string& port)
{
    return {{"QT_QPA_PLATFORM", "offscreen"},        {"QUELLMARK_COM1", port},        {"XDG_RUNTIME_DIR", setup.work},
            {"XDG_DATA_HOME", setup.work + "/data"}, {"XDG_CONFIG_HOME", setup.work}, {"HOME", setup.work}};
}

/// A terminal whose far side only watches for the first byte.
struct WatchedTerminal
{
    int master = -1;
    int slave = -1;
    std::string path;

    WatchedTerminal()
    {
        master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0)
            throw std::runtime_error("no pseudo-terminal");
        termios settings{};
        ::tcgetattr(master, &settings);
        ::cfmakeraw(&settings);
        ::tcsetattr(master, TCSANOW, &settings);
        path = ::ptsname(master);
        slave = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    }
    ~WatchedTerminal()
    {
        ::close(slave);
        ::close(master);
    }
    WatchedTerminal(const WatchedTerminal&) = delete;
    WatchedTerminal& operator=(const WatchedTerminal&) = delete;

    /// Waits for the first byte; returns when it came, or nothing after timeoutMs.
    std::optional<Clock::time_point> firstByte(int timeoutMs)
    {
        pollfd ready{master, POLLIN, 0};
        if (::poll(&ready, 1, timeoutMs) != 1 || (ready.revents & POLLIN) == 0)
            return std::nullopt;
        const auto when = Clock::now();
        char byte = 0;
        if (::read(master, &byte, 1) != 1)
            return std::nullopt;
        return when;
    }
};

void desktopStart(const Setup& setup, Table& table)
{
    const std::string quellmark = setup.build + "/quellmark";
    std::vector<double> firstProbes;
    for (int i = 0; i < setup.runs; ++i) {
        WatchedTerminal terminal;
        Process program({quellmark}, desktopEnvironment(setup, terminal.path));
        const auto probe = terminal.firstByte(5'000);
        if (probe)
            firstProbes.push_back(millisecondsBetween(program.started(), *probe));
        program.stop();
    }
    table.atMost("quellmark first probe byte after start (ms)", median(firstProbes), 600);

    Sim sim(setup, false);
    long idle = 0;
    {
        Process program({quellmark}, desktopEnvironment(setup, sim.path()));
        std::this_thread::sleep_for(std::chrono::seconds(2));
        idle = program.peakRssKb();
        program.stop();
    }
    table.atMost("quellmark peak resident memory, idle (MB)", static_cast<double>(idle) / 1024, 80);
}

/// A device that floods the port far faster than the line: vq3 read until its time-out, and the desktop program for
/// 15 s, in which the identification times out and its box stays up while the flood goes on.
void floodingDevice(const Setup& setup, Table& table)
{
    Sim sim(setup, "--flood");
    Process read({setup.vq3(), "read", "--port", sim.path()});
    const Finished finished = read.wait();
    table.atMost("vq3 read peak resident memory, flooding device (MB)", static_cast<double>(finished.maxRssKb) / 1024,
                 15);
    Process program({setup.build + "/quellmark"}, desktopEnvironment(setup, sim.path()));
    std::this_thread::sleep_for(std::chrono::seconds(15));
    const long peak = program.peakRssKb();
    program.stop();
    table.atMost("quellmark peak resident memory, flooding device, box up (MB)", static_cast<double>(peak) / 1024, 80);
}

/// The instrumented desktop program against the line-rate unit: start-up, read and write, handler times.
void desktopSession(const Setup& setup, Table& table)
{
    Sim sim(setup, true);
    std::vector<double> shown;
    std::map<std::string, double> worst;
    for (int i = 0; i < setup.runs; ++i) {
        auto environment = desktopEnvironment(setup, sim.path());
        environment["QM_BENCH_SPAWNED_NS"] = std::to_string(monotonicNs());
        Process program({setup.build + "/bench/desktop_bench"}, environment, true);
        const auto output = program.readAll();
        if (program.wait().status != 0)
            throw std::runtime_error("desktop_bench failed:\n" + output);
        std::istringstream lines(output);
        std::string name;
        double value = 0;
        while (lines >> name >> value) {
            if (name == "shown_idle_ms")
                shown.push_back(value);
            else
                worst[name] = std::max(worst[name], value);
        }
    }
    table.atMost("quellmark shown and idle after start (ms)", median(shown), 300);
    table.atMost("longest event-thread hold, start-up (ms)", worst["hold_startup_ms"], 16);
    table.atMost("longest event-thread hold, read (ms)", worst["hold_read_ms"], 16);
    table.atMost("longest event-thread hold, write (ms)", worst["hold_write_ms"], 16);
    table.plain("most processor time in one hold, start-up (ms)", worst["cpu_startup_ms"]);
    table.plain("most processor time in one hold, read (ms)", worst["cpu_read_ms"]);
    table.plain("most processor time in one hold, write (ms)", worst["cpu_write_ms"]);
    table.plain("quellmark construction before the event loop (ms)", worst["construction_ms"]);
    table.plain("quellmark redraw of every control after an event (ms)", worst["draw_ms"]);
    table.atMost("quellmark peak resident memory, during a write (MB)", worst["rss_write_kb"] / 1024, 80);
}

} // namespace

} // namespace qm::bench

int main(int argc, char** argv)
{
    using namespace qm::bench;
    if (argc < 3) {
        std::cerr << "usage: link_bench BUILD EXAMPLES [RUNS]\n";
        return 2;
    }
    Setup setup{argv[1], argv[2], {}, argc > 3 ? std::atoi(argv[3]) : 10};
    char folder[] = "/tmp/qm-bench-XXXXXX";
    if (::mkdtemp(folder) == nullptr)
        return 1;
    setup.work = folder;
    Table table(std::cout);
    try {
        Process compile({setup.vq3(), "compile", setup.config(), "-o", setup.image()});
        if (compile.wait().status != 0)
            throw std::runtime_error("vq3 compile failed");
        // The desktop programs keep their initialization file next to themselves: one that needs no first-run
        // answers.
        for (const std::string& programFolder : {setup.build, setup.build + "/bench"}) {
            const std::string ini = programFolder + "/vq3.ini";
            if (::access(ini.c_str(), F_OK) != 0)
                std::ofstream(ini, std::ios::binary)
                    << "1\r\nN0CALL\r\n0\r\n0\r\n6\r\n2\r\nFALSE\r\nReserved\r\nReserved\r\nReserved\r\n";
        }
        lineRateTransactions(setup, table);
        wholeCommands(setup, table);
        hostOverhead(setup, table);
        compileCommand(setup, table);
        desktopStart(setup, table);
        desktopSession(setup, table);
        floodingDevice(setup, table);
    } catch (const std::exception& failure) {
        std::cerr << "link_bench: " << failure.what() << '\n';
        std::system(("rm -rf " + setup.work).c_str());
        return 1;
    }
    std::system(("rm -rf " + setup.work).c_str());
    return table.allMet() ? 0 : 3;
}
