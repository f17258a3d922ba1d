// Running the built programs as a caller would, and scratch directories.
#pragma once

#include <string>
#include <vector>

struct ProgramResult {
    int exitStatus;  // 0 to 255, or -1 when the program did not exit normally
    std::string out; // everything written to standard output, byte for byte
    std::string err; // everything written to standard error
};

// Runs `program` with `args` in the working directory `cwd`, feeding `input`
// to its standard input.
// `environment` entries NAME=VALUE are set in addition to the inherited ones.
ProgramResult RunProgram(const std::string &program, const std::vector<std::string> &args,
                         const std::string &cwd, const std::string &input = "",
                         const std::vector<std::string> &environment = {});

// A fresh directory under the system's temporary directory, removed with its
// content when the object goes.
class ScratchDir {
  public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir &) = delete;
    ScratchDir &operator=(const ScratchDir &) = delete;
    const std::string &path() const {
        return path_;
    }
    std::string operator/(const std::string &name) const {
        return path_ + "/" + name;
    }

  private:
    std::string path_;
};

void WriteBytes(const std::string &path, const std::string &bytes);
std::string ReadBytes(const std::string &path);
bool FileExists(const std::string &path);
void MakeDirs(const std::string &path);
