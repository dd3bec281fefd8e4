// qta1-sim: runs a scenario script against the headless plug-in and a
// simulated node and prints the trace. "qta1-sim -" reads the script from
// standard input. Exit code 0, or 2 on a scenario error (reported as the
// last line of the output) or when the script cannot be read.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <string>

#include "scenario.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: qta1-sim SCRIPT | -\n", stderr);
        return qta1::kScenarioError;
    }
    const std::string path = argv[1];
    std::string script;
    if (path == "-") {
        script.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
    } else {
        std::ifstream file(path, std::ios::binary);
        if (!file) {
            std::fprintf(stderr, "qta1-sim: cannot read %s\n", path.c_str());
            return qta1::kScenarioError;
        }
        std::ostringstream bytes;
        bytes << file.rdbuf();
        script = bytes.str();
    }
    std::string output;
    const int code = qta1::RunScenario(script, path == "-" ? "stdin" : path, output);
    std::fwrite(output.data(), 1, output.size(), stdout);
    return code;
}
