#pragma once
// Where the tests of lumaro.exe find the programs and controller files they use; given on
// the test program's command line by CTest (Unix paths, reached through Wine's Z: drive).
//
//   --lumaro=PATH      the lumaro.exe under test
//   --cli=PATH         the lumaro-cli.exe of the same build
//   --variants=DIR     the same program built with other version blocks
//   --lans=DIR         controller files for lumaro-sim
//   --dpi=N            the display DPI that the Wine prefix was given (default 96)

#include <string>

namespace lumaro::apptest {

struct AppTestSettings {
    std::string lumaroProgram;
    std::string cliProgram;
    std::string variantDirectory;
    std::string lanDirectory;
    int dpi = 96;
};

const AppTestSettings& Settings();
// Reads the options above from what GoogleTest left of the command line; false, with the
// reason printed, for an unknown one. A test that needs a missing one fails by itself.
bool ReadSettings(int argc, char** argv);

}  // namespace lumaro::apptest
