// The run sequence of the generator: parameters, configuration, connection,
// download file, terminal, writer, exit status.
#pragma once

// Path of the configuration file, relative to the working directory.
inline constexpr const char *kConfigPath = "../../files/querandol.ini";

// Runs the generator for a command line and returns the process exit status:
// 0 when the file was built, -1 when it was not (a statement that does not fit
// the statement buffer ends the process with 1 before this returns).
int RunGenerator(int argc, char **argv);
