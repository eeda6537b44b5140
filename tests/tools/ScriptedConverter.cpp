// A stand-in for the converter whose behaviour a test chooses, one step at a
// time, so every way a converter can behave can be run for real.
//
//   reelhound_scripted_converter --script STEP...
//   reelhound_scripted_converter -i SCRIPTFILE ... OUTPUT   (the converter's own argument list)
//
// In the second form the source file holds the steps, one a line, and the last
// of 17 arguments is the output path. Steps:
//
//   err=TEXT       write TEXT to standard error at once (escapes \n \r \t \\ \xHH)
//   out=TEXT       the same on standard output
//   sleep=MS       pause
//   flood=BYTES    write BYTES of progress lines ending in "\r" to standard error
//   read-stdin     read standard input to its end, then report what came
//   env            report the number of environment variables
//   args           report each argument on a line of its own
//   output=PATH    the file that write-output writes
//   write-output=BYTES  write BYTES to the output file
//   exit=CODE      exit with CODE (after the last step: 0)
//   abort          crash with SIGABRT
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include <unistd.h>

extern char** environ;

namespace {

void writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = write(fd, bytes.data(), bytes.size());
        if (written <= 0)
            std::_Exit(3);
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
}

void report(const std::string& text) {
    writeAll(STDERR_FILENO, text);
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

std::string unescape(std::string_view text) {
    std::string bytes;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            bytes += text[i];
            continue;
        }
        const char code = text[++i];
        switch (code) {
        case 'n':
            bytes += '\n';
            break;
        case 'r':
            bytes += '\r';
            break;
        case 't':
            bytes += '\t';
            break;
        case 'x':
            if (i + 2 < text.size() && hexDigit(text[i + 1]) >= 0 && hexDigit(text[i + 2]) >= 0) {
                bytes += static_cast<char>(hexDigit(text[i + 1]) * 16 + hexDigit(text[i + 2]));
                i += 2;
            } else {
                bytes += "\\x";
            }
            break;
        default:
            bytes += code;
        }
    }
    return bytes;
}

long long number(std::string_view text) {
    return std::atoll(std::string(text).c_str());
}

void flood(long long total) {
    std::string buffer;
    long long frame = 0;
    while (total > 0) {
        buffer.clear();
        while (buffer.size() < 64 * 1024) {
            buffer += "frame=" + std::to_string(++frame) +
                      " fps=25 q=2.0 size=    1024kB time=00:00:01.00 bitrate= 500.0kbits/s\r";
        }
        const auto chunk = static_cast<std::size_t>(std::min<long long>(total, buffer.size()));
        writeAll(STDERR_FILENO, std::string_view(buffer).substr(0, chunk));
        total -= static_cast<long long>(chunk);
    }
}

struct Run {
    std::vector<std::string> arguments;
    std::string outputPath;
};

void runStep(std::string_view step, Run& run) {
    const auto equals = step.find('=');
    const std::string_view name = step.substr(0, equals);
    const std::string_view value =
        equals == std::string_view::npos ? std::string_view() : step.substr(equals + 1);

    if (name == "err") {
        writeAll(STDERR_FILENO, unescape(value));
    } else if (name == "out") {
        writeAll(STDOUT_FILENO, unescape(value));
    } else if (name == "sleep") {
        std::this_thread::sleep_for(std::chrono::milliseconds(number(value)));
    } else if (name == "flood") {
        flood(number(value));
    } else if (name == "read-stdin") {
        char buffer[4096];
        long long total = 0;
        ssize_t got = 0;
        while ((got = read(STDIN_FILENO, buffer, sizeof buffer)) > 0)
            total += got;
        report("stdin: " + std::to_string(total) + " bytes, " +
               (got == 0 ? "end of file" : "error") + "\n");
    } else if (name == "env") {
        int count = 0;
        for (char** entry = environ; *entry != nullptr; ++entry)
            ++count;
        report("environment: " + std::to_string(count) + " variables\n");
    } else if (name == "args") {
        for (std::size_t i = 0; i < run.arguments.size(); ++i)
            report("arg " + std::to_string(i + 1) + ": " + run.arguments[i] + "\n");
    } else if (name == "output") {
        run.outputPath = std::string(value);
    } else if (name == "write-output") {
        std::ofstream output(run.outputPath, std::ios::binary);
        output << std::string(static_cast<std::size_t>(number(value)), 'x');
        if (!output.flush()) {
            report("could not write " + run.outputPath + "\n");
            std::exit(4);
        }
    } else if (name == "exit") {
        std::exit(static_cast<int>(number(value)));
    } else if (name == "abort") {
        std::abort();
    } else if (!name.empty()) {
        report("unknown step: " + std::string(step) + "\n");
        std::exit(2);
    }
}

} // namespace

int main(int argc, char** argv) {
    Run run;
    run.arguments.assign(argv + 1, argv + argc);

    std::vector<std::string> steps;
    if (!run.arguments.empty() && run.arguments.front() == "--script") {
        steps.assign(run.arguments.begin() + 1, run.arguments.end());
    } else {
        std::string scriptPath;
        for (std::size_t i = 0; i + 1 < run.arguments.size(); ++i) {
            if (run.arguments[i] == "-i")
                scriptPath = run.arguments[i + 1];
        }
        if (run.arguments.size() == 17)
            run.outputPath = run.arguments.back();
        std::ifstream script(scriptPath);
        if (!script) {
            report(scriptPath + ": No such file or directory\n");
            return 1;
        }
        for (std::string line; std::getline(script, line);)
            steps.push_back(line);
    }

    for (const auto& step : steps)
        runStep(step, run);
    return 0;
}
