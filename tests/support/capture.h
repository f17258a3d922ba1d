// Capturing what the code under test prints on standard output.
#pragma once

#include <cstdio>
#include <functional>
#include <string>

// Everything `call` writes to standard output, byte for byte.
std::string CaptureStdout(const std::function<void()> &call);

// The whole content of an open stream, read from its start.
std::string ReadWholeStream(std::FILE *file);
