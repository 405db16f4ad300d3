// Runs vornelle-cli as a user would, in a home folder of its own, for the command-line tests:
// exit code, standard output and error, and the configuration the tests start from.
#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <array>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "base/numbers.h"
#include "config/configmachine.h"
#include "cutfile/toolfields.h"
#include "port/backends/simulatedmachine.h"
#include "testsupport.h"

namespace {
struct CliRun {
    int code;
    std::string out, err;
};

inline CliRun cli(const std::string& home, const std::string& args) {
    vornelle::test::TempDir tmp;
    std::string cmd = "cd '" + home + "' && VORNELLE_HOME='" + home + "data' " + CLI_PATH + " " + args +
                      " >'" + tmp.file("out") + "' 2>'" + tmp.file("err") + "'";
    int status = std::system(cmd.c_str());
    return {WEXITSTATUS(status), vornelle::test::slurp(tmp.file("out")),
            vornelle::test::slurp(tmp.file("err"))};
}

const char* kConfig =
    "\"200\",\"200\",\"400\",\"0,01\",\"20\",\"10\",\"2\",\"1\",\"5\",\"1\",\"2\",\"4\",\"8\",\"16\",\"32\","
    "\"64\","
    "\"128\",\"2\",\"3\",\"4\",\"5\",\"6\",\"7\",\"8\",\"9\",0,0,1\r\n";

const std::string kSquareAndCircle = vornelle::test::squareSample();

// The home's data folder, configured with kConfig.
inline void configureHome(const vornelle::test::TempDir& home) {
    std::filesystem::create_directories(home.file("data"));
    vornelle::test::spit(home.file("data/vrnl1.cfg"), kConfig);
}

// The plunges of a played cut: the X and Y steps where Z leaves 0, decoded from the trace of
// port bytes with the wiring the tool page takes from the configuration.
inline std::vector<std::array<long, 2>> plunges(const std::string& home, const std::string& trace) {
    vornelle::ConfigRead read = vornelle::lisconfig(home + "data/");
    EXPECT_TRUE(read.ok());
    vornelle::ToolFields t = vornelle::toolFieldsFrom(read.config);
    vornelle::Wiring w;
    for (int a = 0; a < 3; ++a) {
        w.dir[a] = static_cast<int>(vornelle::leadingNumberOr0(t.weights[2 * a]));
        w.clk[a] = static_cast<int>(vornelle::leadingNumberOr0(t.weights[2 * a + 1]));
    }
    w.inv[0] = read.config.invX == 1;
    w.inv[1] = read.config.invY == 1;
    w.inv[2] = read.config.invZ == 1;
    vornelle::SimulatedMachine m;
    m.setRecording(false);
    m.setWiring(w);
    std::ifstream f(trace);
    std::vector<std::array<long, 2>> out;
    int v;
    while (f >> v) {
        long z = m.position(2);
        m.Write_Port_Bit(888, static_cast<int16_t>(v));
        if (z == 0 && m.position(2) != 0) out.push_back({m.position(0), m.position(1)});
    }
    EXPECT_EQ(m.position(2), 0);
    return out;
}
}  // namespace
