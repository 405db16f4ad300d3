// The commands of vornelle-cli as functions, so tests can run them in-process.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace vornelle::cli {

struct Output {
    std::string json;   // one line on standard output
    std::string error;  // the French message on standard error
};

using Options = std::map<std::string, std::string>;

std::string jsonString(const std::string& s);

// generate DRAWING.fra NAME --scale --depth --note [--feed-in] [--feed-out]
int generate(const std::vector<std::string>& args, const Options& options, Output& out);

// import-dxf DRAWING.dxf NAME / import-dat PROFILE.dat NAME
int importDrawing(bool dxf, const std::vector<std::string>& args, const Options& options, Output& out);

// play CUT.def [--trace FILE]
int play(const std::vector<std::string>& args, const Options& options, Output& out);

}  // namespace vornelle::cli
