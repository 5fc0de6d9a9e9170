#include "simulator.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr const char *Usage =
    "Usage: warmlog-devsim --link PATH [--control PATH] [--log PATH]\n"
    "                      [--temp C | --temp-byte N] [--battery V | --battery-byte N]\n"
    "                      [--drift LOW HIGH PERIOD_S] [--silent] [--flood]\n"
    "                      [--delay MS] [--ping-byte N] [--stray-every MS] [--seed N]\n"
    "                      [--double MS] [--echo]\n"
    "\n"
    "Answers like the environment monitor on a pseudo-terminal: command byte 1 with the ping\n"
    "byte, 22 with the converter byte of the temperature, 25 with the battery byte.\n"
    "\n"
    "  --link PATH         symbolic link to the current terminal (/dev/pts/N)\n"
    "  --control PATH      FIFO for control lines (default: the link's path plus \".ctl\")\n"
    "  --log PATH          append rx N, tx N, again N, echo N, drop N, plug DEVICE, unplug,\n"
    "                      ctl LINE\n"
    "  --temp C            the byte the sensor gives at C, from its data sheet (default 21.5)\n"
    "  --temp-byte N       the temperature byte itself\n"
    "  --battery V         byte round((V - 0.4) * 10) (default 4.2)\n"
    "  --battery-byte N    the battery byte itself\n"
    "  --drift L H P       temperature moving from L to H and back every P seconds\n"
    "  --silent            never answer\n"
    "  --flood             unasked bytes 0x55 as fast as the terminal takes them, not logged\n"
    "  --delay MS          answer MS milliseconds after each command\n"
    "  --ping-byte N       answer to command 1 (default 1)\n"
    "  --stray-every MS    one unasked byte 0x55 at random, on average every MS ms\n"
    "  --seed N            seed of the random stray moments\n"
    "  --double MS         send every answer a second time, MS ms after the first (0: once)\n"
    "  --echo              send every received byte straight back, as a loopback plug does\n"
    "\n"
    "Prints \"ready LINK\" once the link exists; SIGTERM, SIGINT or \"quit\" remove link and\n"
    "FIFO and end it. Control lines, one per line:\n"
    "  temp C | temp-byte N | battery V | battery-byte N | drift L H P | drift off\n"
    "  silent on | silent off | flood on | flood off | delay MS | ping-byte N\n"
    "  stray-every MS | seed N | double MS | echo on | echo off\n"
    "  stray N | unplug | plug | replug MS | quit\n";

struct Option
{
    const char *name;
    int arguments;
};

// Options that are settings take the same words as the control lines of the same name.
constexpr Option Settings[] = {
    {"temp", 1},  {"temp-byte", 1}, {"battery", 1},     {"battery-byte", 1}, {"drift", 3},
    {"delay", 1}, {"ping-byte", 1}, {"stray-every", 1}, {"seed", 1},         {"double", 1},
};

int usageError(const std::string &text)
{
    std::fprintf(stderr, "warmlog-devsim: %s\nTry warmlog-devsim --help.\n", text.c_str());
    return 2;
}

} // namespace

int main(int argc, char *argv[])
{
    devsim::Simulator::Paths paths;
    std::vector<std::vector<std::string>> settings;

    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        const auto takeValue = [&](std::string &value) {
            if (i + 1 >= argc)
                return false;
            value = argv[++i];
            return true;
        };
        if (option == "--help" || option == "-h") {
            std::fputs(Usage, stdout);
            return 0;
        }
        if (option == "--link" || option == "--control" || option == "--log") {
            std::string &path = option == "--link"      ? paths.link
                                : option == "--control" ? paths.control
                                                        : paths.log;
            if (!takeValue(path) || path.empty())
                return usageError(option + " needs a path");
            continue;
        }
        if (option == "--silent" || option == "--flood" || option == "--echo") {
            settings.push_back({option.substr(2), "on"});
            continue;
        }
        const Option *setting = nullptr;
        for (const Option &candidate : Settings) {
            if (option.size() > 2 && option.compare(0, 2, "--") == 0 &&
                option.compare(2, std::string::npos, candidate.name) == 0)
                setting = &candidate;
        }
        if (!setting)
            return usageError("unknown option " + option);
        std::vector<std::string> words{setting->name};
        for (int n = 0; n < setting->arguments; ++n) {
            if (!takeValue(words.emplace_back()))
                return usageError(option + " needs " + std::to_string(setting->arguments) +
                                  (setting->arguments == 1 ? " value" : " values"));
        }
        settings.push_back(std::move(words));
    }
    if (paths.link.empty())
        return usageError("--link is required");
    if (paths.control.empty())
        paths.control = paths.link + ".ctl";

    devsim::Simulator simulator(paths);
    for (const auto &words : settings) {
        const std::string error = simulator.apply(words);
        if (!error.empty())
            return usageError(error);
    }
    return simulator.run();
}
